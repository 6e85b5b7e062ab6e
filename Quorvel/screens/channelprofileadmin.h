#ifndef CHANNELPROFILEADMIN_H
#define CHANNELPROFILEADMIN_H

#include "Managers/command.h"
#include "model/channelinfo.h"
#include "model/channelmemberprofile.h"
#include "model/channelmembersreply.h"
#include "widgets/popupwarning.h"

#include <QMap>
#include <QVariant>
#include <QWidget>

class ChannelManagerWidget;
class ChannelOwnerWidget;
class CustomScrollArea;
class EditChannel;
class FlatButton;
class IconButton;
class Label;
class PanelSlider;
class QLabel;
class QVBoxLayout;

// The panel that shows a channel to its owner or an administrator: the
// channel's face, its owner and administrators, editing, and deleting or
// leaving it.
class ChannelProfileAdmin : public QWidget
{
    Q_OBJECT
public:
    enum SelectType
    {
        SelectManagers = 0,
        SelectMembers = 1
    };
    Q_ENUM(SelectType)

    explicit ChannelProfileAdmin(QWidget* parent = nullptr);

    void setChannelInfo(ChannelInfo info);
    void setMembersProfile(ChannelMembersReply reply);
    void showProfile();
    void slideIn();
    void slideOut();
    void requestMembers();

    ChannelInfo getChannelInfo() const { return channel; }
    bool membersLoaded() const { return loaded; }
    QList<ChannelManagerWidget*> managerRows() const { return managers.values(); }
    ChannelOwnerWidget* ownerRow() const { return owner; }
    EditChannel* editPopup() const { return editor; }
    QLabel* nameLabel() const { return name; }
    QLabel* idLabel() const { return identifier; }
    QLabel* membersLabel() const { return members; }
    QLabel* descriptionLabel() const { return description; }
    Label* avatarLabel() const { return avatar; }
    FlatButton* editLink() const { return edit; }
    FlatButton* deleteLink() const { return remove; }
    FlatButton* addMemberButton() const { return addMember; }
    FlatButton* deleteMemberButton() const { return deleteMember; }
    QWidget* scrollContent() const { return board; }

signals:
    void command(Command cm, QVariant var);
    void needSelectContacts(QString srcID, ChannelProfileAdmin::SelectType command,
                            QStringList SelectedContact);

public slots:
    void backButtonPressed();
    void hideWidget();
    void EditChannelPressed();
    void DeleteChannelPressed();
    void AckForWarningReceive();
    void AddManagerPressed();
    void addMemberPressed();
    void deleteAdminPressed(ChannelMemberProfile p);
    void warningAnswered(PopUpWarning::response response, QString applicator);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showChannel(const ChannelInfo& info);
    void removeManagers();
    void placeChildren();
    void ask(const QString& text);
    QString applicator() const;

    ChannelInfo channel;
    bool loaded = false;
    // A member or role change was sent: the next update of the channel
    // brings its people again.
    bool peopleChanged = false;
    QString pendingMember;
    QMap<QString, ChannelManagerWidget*> managers;
    EditChannel* editor;
    PanelSlider* slider;
    QWidget* header;
    QLabel* title;
    IconButton* back;
    FlatButton* edit;
    FlatButton* remove;
    CustomScrollArea* scroll;
    QWidget* board;
    QVBoxLayout* boardLayout;
    QWidget* info;
    Label* avatar;
    QLabel* name;
    QLabel* identifier;
    QLabel* members;
    FlatButton* addMember;
    FlatButton* deleteMember;
    QLabel* descriptionHead;
    QLabel* description;
    QLabel* ownerHead;
    ChannelOwnerWidget* owner;
    QLabel* managersHead;
    QWidget* managersStrip;
    FlatButton* addManager;
};

#endif // CHANNELPROFILEADMIN_H
