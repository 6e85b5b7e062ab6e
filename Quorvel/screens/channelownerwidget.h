#ifndef CHANNELOWNERWIDGET_H
#define CHANNELOWNERWIDGET_H

#include "screens/channelmemberrow.h"

class FlatButton;

// The row of a channel's owner: nickname over user name.
class ChannelOwnerWidget : public ChannelMemberRow
{
    Q_OBJECT
public:
    explicit ChannelOwnerWidget(QWidget* parent = nullptr);

    void setProfile(ChannelMemberProfile profile);

private:
    FlatButton* changeOwner;
};

#endif // CHANNELOWNERWIDGET_H
