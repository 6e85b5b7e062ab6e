#ifndef CHANNELMANAGERWIDGET_H
#define CHANNELMANAGERWIDGET_H

#include "screens/channelmemberrow.h"

class IconButton;

// The row of one channel administrator, with a delete icon when the
// viewing user owns the channel.
class ChannelManagerWidget : public ChannelMemberRow
{
    Q_OBJECT
public:
    ChannelManagerWidget(bool mayDelete, QWidget* parent = nullptr);

    void setProfile(ChannelMemberProfile profile);
    IconButton* deleteIcon() const { return remove; }

signals:
    void deleteIconPressed(ChannelMemberProfile p);

public slots:
    void deleteIconClick();

private:
    IconButton* remove;
};

#endif // CHANNELMANAGERWIDGET_H
