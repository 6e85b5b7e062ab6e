#ifndef GROUPPROFILE_H
#define GROUPPROFILE_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/groupmember.h"
#include "widgets/popupwarning.h"

#include <QHash>
#include <QVariant>
#include <QWidget>

class AvatarViewer;
class ChatMember;
class CheckBox;
class ContactSelect;
class EditGroup;
class FlatButton;
class PanelSlider;
class QLabel;
class QVBoxLayout;
class UploadFile;

// The panel over a group's chat window: picture, name, notifications, the
// history and leave links, and the managers and members as rows from which
// the user may remove people or open their profiles. The owner and managers
// also edit the name and the picture, add members from the user's contacts
// and make members managers, both through one contact picker. The rows
// follow every members answer: people who left go, changed roles move,
// changed names show.
class GroupProfile : public QWidget
{
    Q_OBJECT
public:
    explicit GroupProfile(QWidget* parent = nullptr);
    ~GroupProfile() override;

    void setGroupInfo(const GroupInfo& group);
    void updateGroupInfo(const GroupInfo& group);
    void setGroupInfoMembers(const GroupInfoMembers& members);
    void showProfile();
    void slideIn();
    void slideOut();
    // Uploads the picture as the group's new one; the dialog's answer in
    // the program, a test's file in tests.
    void changePicture(const QString& path);

    GroupInfo getGroupInfo() const { return group; }
    QList<ChatMember*> managerRows() const;
    QList<ChatMember*> memberRows() const;
    QLabel* nameLabel() const { return name; }
    FlatButton* addManagerLink() const { return addManager; }
    FlatButton* addMemberButton() const { return addMember; }
    FlatButton* changePictureButton() const { return changePictureLink; }
    // The picker of the last add-member or add-manager click; none before.
    ContactSelect* contactPicker() const { return picker; }
    FlatButton* editLink() const { return edit; }
    FlatButton* deleteHistoryLink() const { return deleteHistory; }
    FlatButton* leaveLink() const { return leave; }
    CheckBox* notificationSwitch() const { return notifications; }
    EditGroup* nameEditor() const { return editor; }
    UploadFile* currentUploader() const { return uploader; }

signals:
    void command(Command cm, QVariant var);
    // "See profile" on a member's row: the member as a contact (the user's
    // own entry when the member is one of the user's contacts).
    void memberProfileRequested(Contact member);

public slots:
    void backButtonPressed();
    void hideWidget();
    void DeleteHistoryPressed();
    void DeleteGroupListPressed();
    void warningPopupResponse(PopUpWarning::response res, QString applicator);
    void EditGroupPressed();
    void GroupEdited(QString NewName);
    void ChangeImagePressed();
    void AddManagerPressed();
    void AddContactPressed();
    void contactsPicked(QList<Contact> contacts);
    void memberProfileClicked(QString userID);
    void uploadImageFinish(QString filePath, QString id, QString fileUrl, QString thumbnailUrl);
    void uploadError(QString filePath, int error, QString message);
    void selectedAdmin(QList<QString> numbers);
    void selectedNormalUser(QList<QString> numbers);
    void chatMemberDeleteClicked(QString userID);
    void getNotifChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class Picking
    {
        Nothing,
        Members,
        Managers
    };

    void showGroup(const GroupInfo& value, bool setPictureKind);
    void showControlsByRole();
    // nobody: what the picker says when no one is left to choose.
    void openPicker(Picking use, const QString& title, const QString& confirm,
                    const QString& nobody, const QList<Contact>& contacts);
    void placeRow(const GroupMember& member);
    ChatMember* rowOf(QVBoxLayout* list, const QString& userId) const;
    Contact contactOf(const GroupMember& member) const;
    bool isManager() const { return role == GroupRole::OWNER || role == GroupRole::ADMIN; }
    void ask(const QString& message, const QString& applicator);
    void removeRow(QVBoxLayout* list, const QString& userId);
    static QList<ChatMember*> rowsOf(QVBoxLayout* list);

    GroupInfo group;
    GroupRole::Role role = GroupRole::NONE;
    QHash<QString, GroupMember> managers;
    QHash<QString, GroupMember> members;
    QString thumbnailPath;
    QString chosenPicture;
    UploadFile* uploader = nullptr;
    Picking picking = Picking::Nothing;
    ContactSelect* picker = nullptr;
    PanelSlider* slider;
    EditGroup* editor;
    AvatarViewer* picture;
    QLabel* name;
    FlatButton* edit;
    FlatButton* addManager;
    FlatButton* addMember;
    FlatButton* changePictureLink;
    FlatButton* deleteHistory;
    FlatButton* leave;
    CheckBox* notifications;
    QVBoxLayout* managersList;
    QVBoxLayout* membersList;
};

#endif // GROUPPROFILE_H
