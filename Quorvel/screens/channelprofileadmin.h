#ifndef CHANNELPROFILEADMIN_H
#define CHANNELPROFILEADMIN_H

#include "Managers/Contact/contact.h"
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
class ContactSelect;
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
// leaving it. Its people are managed through the contact picker: new
// followers from the address book, new administrators from the followers and
// the address book (the owner only), and followers to remove, after a
// question.
class ChannelProfileAdmin : public QWidget
{
    Q_OBJECT
public:
    enum SelectType
    {
        SelectManagers = 0,
        SelectMembers = 1,
        SelectRemoval = 2
    };
    Q_ENUM(SelectType)

    // How many followers one page of the service brings for the picker.
    static const int followerPage = 200;

    explicit ChannelProfileAdmin(QWidget* parent = nullptr);

    void setChannelInfo(ChannelInfo info);
    void setMembersProfile(ChannelMembersReply reply);
    void showProfile();
    void slideIn();
    void slideOut();
    void requestMembers();
    void requestFollowers();

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
    FlatButton* addManagerLink() const { return addManager; }
    QWidget* scrollContent() const { return board; }
    ContactSelect* contactPicker() const { return picker; }
    // What the open picker chooses for.
    SelectType pickerPurpose() const { return purpose; }
    QList<ChannelMemberProfile> followerList() const { return followers; }

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
    void deleteMemberPressed();
    void contactsChosen(QList<Contact> contacts);
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
    void openPicker(SelectType purpose);
    void sendMemberChange(Command command, const QString& member, ChannelRole::Role role);
    // The numbers of the channel's people known here (owner, administrators,
    // followers), whom the address book part of a picker leaves out.
    QStringList knownNumbers() const;
    QString userNameOf(const Contact& contact) const;

    ChannelInfo channel;
    bool loaded = false;
    // A member or role change was sent: the next update of the channel
    // brings its people again.
    bool peopleChanged = false;
    QString pendingMember;
    // Followers chosen for removal, waiting for the question's answer.
    QStringList pendingRemovals;
    QList<ChannelMemberProfile> followers;
    ChannelMemberProfile ownerProfile;
    SelectType purpose = SelectMembers;
    ContactSelect* picker = nullptr;
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
