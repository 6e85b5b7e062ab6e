#ifndef CHANNELABSTRACTWIDGET_H
#define CHANNELABSTRACTWIDGET_H

#include "model/channelinfo.h"

#include <QWidget>

class FlatButton;
class QLabel;
class StaticFile;

// One channel in a category of the directory: avatar, name, description
// and the follow button, which says "Visit" for a channel the user follows
// (its click then opens the channel).
class ChannelAbstractWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelAbstractWidget(QWidget* parent = nullptr);
    ~ChannelAbstractWidget() override;

    void setChannelInfo(ChannelInfo info);
    void setFollowed(bool followed);
    bool isFollowed() const;
    ChannelInfo getChannelInfo() const { return channel; }
    QLabel* nameLabel() const { return name; }
    QLabel* descriptionLabel() const { return description; }
    FlatButton* followButton() const { return follow; }
    FlatButton* visitButton() const { return visit; }

signals:
    void channelWidgetClicked(ChannelInfo chinfo);
    void followClicked(ChannelInfo channelInfo);
    void visitClicked(ChannelInfo channelInfo);

public slots:
    void imageReady(const QImage& image);
    void clickedFollow();
    void clickedVisit();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEvent*) override {}

private:
    void placeChildren();

    ChannelInfo channel;
    QLabel* name;
    QLabel* description;
    QLabel* avatar;
    StaticFile* file;
    FlatButton* follow;
    FlatButton* visit;
};

#endif // CHANNELABSTRACTWIDGET_H
