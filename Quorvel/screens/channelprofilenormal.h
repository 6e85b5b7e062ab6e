#ifndef CHANNELPROFILENORMAL_H
#define CHANNELPROFILENORMAL_H

#include "Managers/command.h"
#include "model/channelinfo.h"
#include "widgets/popupwarning.h"

#include <QVariant>
#include <QWidget>

class CheckBox;
class FlatButton;
class IconButton;
class Label;
class PanelSlider;
class QLabel;

// The panel that shows a channel to one of its followers: avatar, name,
// "@" id, member count and description, the mute switch and leaving.
class ChannelProfileNormal : public QWidget
{
    Q_OBJECT
public:
    explicit ChannelProfileNormal(QWidget* parent = nullptr);

    void setChannelInfo(ChannelInfo info);
    ChannelInfo getChannelInfo() const { return channel; }
    void showProfile();
    void slideIn();
    void slideOut();
    // The channel's face, right-aligned: the avatar at the right margin and
    // the given lines beside it from the top. Returns where the next row
    // starts: 20 below the lines, or 10 below the avatar when it is lower.
    static int placeFace(int width, QWidget* avatar, std::initializer_list<QLabel*> lines);

    QLabel* nameLabel() const { return name; }
    QLabel* idLabel() const { return identifier; }
    QLabel* membersLabel() const { return members; }
    QLabel* descriptionLabel() const { return description; }
    QLabel* descriptionHeading() const { return descriptionHead; }
    Label* avatarLabel() const { return avatar; }
    CheckBox* muteSwitch() const { return mute; }
    FlatButton* leaveLink() const { return leave; }
    IconButton* backButton() const { return back; }

signals:
    void command(Command cm, QVariant var);

public slots:
    void backButtonPressed();
    void hideWidget();
    void LeaveChannelPressed();
    void AckForWarningReceive(PopUpWarning::response response, QString applicator);
    void notificationSelected();
    void notificationUnselected();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString applicator() const;
    void placeChildren();

    ChannelInfo channel;
    PanelSlider* slider;
    QWidget* header;
    IconButton* back;
    QLabel* title;
    FlatButton* leave;
    QWidget* content;
    Label* avatar;
    QLabel* name;
    QLabel* identifier;
    QLabel* members;
    QLabel* descriptionHead;
    QLabel* description;
    QLabel* config;
    CheckBox* mute;
};

#endif // CHANNELPROFILENORMAL_H
