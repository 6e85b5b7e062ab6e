#include "screens/groupprofile.h"

#include "chat/chatmember.h"
#include "chat/groupnotice.h"
#include "foundation/simpleqtlogger.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "screens/editgroup.h"
#include "screens/panelslider.h"
#include "screens/picturechooser.h"
#include "screens/profileheader.h"
#include "screens/screenfonts.h"
#include "webapi/FileApi/uploadfile.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/contactselect.h"
#include "widgets/currentuser.h"
#include "widgets/customscrollarea.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/phonetext.h"
#include "widgets/popupmanager.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QLabel>

#include <algorithm>

GroupProfile::GroupProfile(QWidget* parent)
    : QWidget(parent), slider(new PanelSlider(this, 200)), editor(new EditGroup(this)),
      picture(new AvatarViewer(this)), name(new QLabel(this)),
      edit(new FlatButton(tr("_EditGroup"), this)),
      addManager(new FlatButton(tr("_AddManager"), this)),
      addMember(new FlatButton(tr("_AddContact"), this)),
      changePictureLink(new FlatButton(tr("_ChangeImage"), this)),
      deleteHistory(new FlatButton(tr("_DeleteChatHistory"), this)),
      leave(new FlatButton(tr("_DeleteGroupList"), this)), notifications(new CheckBox(this)),
      managersList(new QVBoxLayout), membersList(new QVBoxLayout)
{
    const QFont large = ScreenFonts::digits(16);
    const QFont small = ScreenFonts::digits(10);
    editor->hide();
    connect(editor, &EditGroup::NameChanged, this, &GroupProfile::GroupEdited);
    connect(slider, &PanelSlider::exitFinished, this, &GroupProfile::hideWidget);

    auto* title = new QLabel(tr("_Title"), this);
    IconButton* back = ProfileHeader::makeBackButton(this);
    for (QLabel* link : {title, static_cast<QLabel*>(edit), static_cast<QLabel*>(addManager),
                         static_cast<QLabel*>(deleteHistory), static_cast<QLabel*>(leave)}) {
        link->setObjectName(QStringLiteral("ProfileLinkStyle"));
        link->setFont(small);
    }
    auto* strip = new QHBoxLayout;
    strip->addWidget(title);
    strip->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    strip->addWidget(edit);
    strip->addWidget(back);

    auto* scroll = new CustomScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollArea"));
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    auto* board = new QWidget(scroll);
    board->setObjectName(QStringLiteral("GroupProfileScrollBoard"));
    auto* column = new QVBoxLayout(board);
    column->setMargin(0);
    column->setSpacing(10);

    picture->setAvatarSize(QSize(100, 100));
    picture->setObjectName(QStringLiteral("GroupProfileGroupPic"));
    name->setFont(large);
    name->setTextFormat(Qt::PlainText);
    auto* pictureRow = new QHBoxLayout;
    pictureRow->addWidget(picture);
    pictureRow->addSpacerItem(new QSpacerItem(10, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    pictureRow->addWidget(name);
    pictureRow->addSpacerItem(
        new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Expanding));
    column->addLayout(pictureRow);

    for (FlatButton* button : {changePictureLink, addMember}) {
        button->setParent(board);
        button->setFont(large);
        button->setAlignment(Qt::AlignCenter);
    }
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(50, 0, 50, 0);
    buttons->addWidget(changePictureLink);
    buttons->addWidget(addMember);
    column->addLayout(buttons);

    auto heading = [&](const QString& text) {
        auto* label = new QLabel(text, board);
        label->setFont(large);
        return label;
    };
    column->addWidget(heading(tr("_Cofig")));
    auto* settings = new QVBoxLayout;
    notifications->setFont(small);
    notifications->setText(tr("_ReceiveNotification"));
    settings->addWidget(notifications);
    settings->addWidget(deleteHistory);
    settings->addWidget(leave);
    column->addLayout(settings);
    column->addWidget(heading(tr("_GroupManagers")));
    column->addLayout(managersList);
    column->addWidget(addManager);
    column->addWidget(heading(tr("_GroupMembers")));
    column->addLayout(membersList);
    column->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Fixed, QSizePolicy::Expanding));
    scroll->setWidget(board);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(strip);
    layout->addWidget(scroll);

    connect(edit, &FlatButton::onClick, this, &GroupProfile::EditGroupPressed);
    connect(back, &IconButton::onClick, this, &GroupProfile::backButtonPressed);
    connect(changePictureLink, &FlatButton::onClick, this, &GroupProfile::ChangeImagePressed);
    connect(addMember, &FlatButton::onClick, this, &GroupProfile::AddContactPressed);
    connect(addManager, &FlatButton::onClick, this, &GroupProfile::AddManagerPressed);
    connect(notifications, &CheckBox::selected, this, &GroupProfile::getNotifChanged);
    connect(notifications, &CheckBox::unselected, this, &GroupProfile::getNotifChanged);
    connect(deleteHistory, &FlatButton::onClick, this, &GroupProfile::DeleteHistoryPressed);
    connect(leave, &FlatButton::onClick, this, &GroupProfile::DeleteGroupListPressed);
}

GroupProfile::~GroupProfile()
{
    delete uploader;
}

void GroupProfile::setGroupInfo(const GroupInfo& value)
{
    showGroup(value, true);
}

void GroupProfile::updateGroupInfo(const GroupInfo& value)
{
    showGroup(value, false);
}

void GroupProfile::showGroup(const GroupInfo& value, bool setPictureKind)
{
    group = value;
    name->setText(value.getName());
    if (setPictureKind) {
        picture->setAvatarType(AvatarViewer::Group);
        picture->setAvatarId(value.getJid());
    }
    if (!value.getAvThUrl().isEmpty())
        picture->downloadAvatar(value.getAvThUrl());
    notifications->setChecked(value.getMute());
    showControlsByRole();
}

void GroupProfile::showControlsByRole()
{
    // The members answer knows the user's role better than a group record
    // kept from before a change.
    if (managers.contains(currentUserName))
        role = managers.value(currentUserName).getRole();
    else if (members.contains(currentUserName))
        role = GroupRole::MEMBER;
    else
        role = group.getMyRole();
    // What the service allows only the owner and managers is offered to
    // them alone.
    const bool manages = isManager() && !group.getRemoved();
    for (QWidget* control :
         {static_cast<QWidget*>(edit), static_cast<QWidget*>(addManager),
          static_cast<QWidget*>(addMember), static_cast<QWidget*>(changePictureLink)})
        control->setVisible(manages);
    for (ChatMember* row : rowsOf(managersList) + rowsOf(membersList)) {
        const QString user = row->getMemberId();
        const GroupMember member =
            managers.contains(user) ? managers.value(user) : members.value(user);
        // The owner cannot be removed.
        row->setDeletable(member.getRole() != GroupRole::OWNER &&
                          (isManager() || member.getAddedByMe()));
    }
}

void GroupProfile::setGroupInfoMembers(const GroupInfoMembers& value)
{
    // Each answer is the whole list: people it no longer lists, or lists
    // without a place in the group, lose their rows.
    const QHash<QString, GroupMember> all = value.getMembers();
    const auto listed = [&all](const QString& user) {
        const GroupRole::Role kind = all.value(user).getRole();
        return all.contains(user) &&
               (kind == GroupRole::MEMBER || kind == GroupRole::ADMIN || kind == GroupRole::OWNER);
    };
    for (const QString& user : managers.keys()) {
        if (!listed(user) && managers.remove(user))
            removeRow(managersList, user);
    }
    for (const QString& user : members.keys()) {
        if (!listed(user) && members.remove(user))
            removeRow(membersList, user);
    }
    for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
        if (listed(it.key()))
            placeRow(it.value());
    }
    showControlsByRole();
}

void GroupProfile::placeRow(const GroupMember& member)
{
    const QString user = member.getUserName();
    const GroupRole::Role kind = member.getRole();
    const bool manager = kind != GroupRole::MEMBER;
    QVBoxLayout* list = manager ? managersList : membersList;
    // A changed role moves the row to the other list.
    if (manager ? members.remove(user) : managers.remove(user))
        removeRow(manager ? membersList : managersList, user);
    ChatMember* row = rowOf(list, user);
    if (!row) {
        row = new ChatMember(this);
        row->setMemberId(user);
        connect(row, &ChatMember::chatMemberDelete, this, &GroupProfile::chatMemberDeleteClicked);
        connect(row, &ChatMember::seeProfile, this, &GroupProfile::memberProfileClicked);
        // The owner heads the managers.
        list->insertWidget(kind == GroupRole::OWNER ? 0 : list->count(), row);
    }
    // Someone without a nickname is shown as the user knows him rather than
    // as a blank row.
    row->setName(PhoneText::nameOr(GroupNotice::personName(user, {{user, member}}), user));
    row->setAvatarUrl(member.getProfile().getAvatarThumbnailUrl());
    row->setLastSeen(uint(member.getLastActivity()));
    (manager ? managers : members).insert(user, member);
}

ChatMember* GroupProfile::rowOf(QVBoxLayout* list, const QString& userId) const
{
    for (ChatMember* row : rowsOf(list)) {
        if (row->getMemberId() == userId)
            return row;
    }
    return nullptr;
}

void GroupProfile::showProfile()
{
    if (!group.getRemoved())
        emit command(CMD_GroupInfoMembers, QVariant(group.getJid()));
    slider->open();
}

void GroupProfile::slideIn()
{
    slider->slideIn();
}

void GroupProfile::slideOut()
{
    slider->slideOut();
}

void GroupProfile::backButtonPressed()
{
    slideOut();
}

void GroupProfile::hideWidget()
{
    hide();
}

void GroupProfile::ask(const QString& message, const QString& applicator)
{
    PopUpWarning::showWarning(message, applicator, true, 0);
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &GroupProfile::warningPopupResponse, Qt::UniqueConnection);
}

void GroupProfile::DeleteHistoryPressed()
{
    ask(tr("_DeleteHistoryWarningMessage"), QStringLiteral("DeleteHistory"));
}

void GroupProfile::DeleteGroupListPressed()
{
    ask(tr("_DeleteContactListWarningMessage"), QStringLiteral("DeleteGroupList"));
}

void GroupProfile::warningPopupResponse(PopUpWarning::response res, QString applicator)
{
    disconnect(PopUpWarning::getInstance(), nullptr, this, nullptr);
    if (res != PopUpWarning::yes)
        return;
    if (applicator == QLatin1String("DeleteHistory"))
        emit command(CMD_GroupRemoveHistory, QVariant(group.getJid()));
    else if (applicator == QLatin1String("DeleteGroupList"))
        emit command(CMD_GroupLeave, QVariant(group.getJid()));
}

void GroupProfile::EditGroupPressed()
{
    editor->setName(group.getName());
    PopupManager::showWindow(editor, true);
}

void GroupProfile::GroupEdited(QString newName)
{
    GroupInfo changed = group;
    changed.setName(newName);
    emit command(CMD_GroupChangeData, QVariant::fromValue(changed));
}

void GroupProfile::ChangeImagePressed()
{
    const QString path =
        PictureChooser::ask(this, tr("Open Image"), tr("Image Files (*.png *.jpg *.bmp)"));
    if (!path.isEmpty())
        changePicture(path);
}

void GroupProfile::changePicture(const QString& path)
{
    thumbnailPath = PictureChooser::writeThumbnail(QImage(path));
    // Only the picture chosen last may become the group's: an earlier upload
    // still running is dropped, so it can never finish after this one.
    if (uploader) {
        disconnect(uploader, nullptr, this, nullptr);
        uploader->deleteLater();
    }
    chosenPicture = path;
    uploader = new UploadFile();
    connect(uploader, &UploadFile::UploadDone, this, &GroupProfile::uploadImageFinish);
    connect(uploader, &UploadFile::UploadFailed, this, &GroupProfile::uploadError);
    uploader->upload(path, UploadMode_Static, thumbnailPath);
}

void GroupProfile::uploadImageFinish(QString filePath, QString, QString fileUrl,
                                     QString thumbnailUrl)
{
    if (sender() != uploader || filePath != chosenPicture)
        return;
    group.setAvUrl(fileUrl);
    group.setAvThUrl(thumbnailUrl);
    emit command(CMD_GroupChangeData, QVariant::fromValue(group));
}

void GroupProfile::uploadError(QString filePath, int error, QString message)
{
    L_DEBUG(QStringLiteral("GroupProfile::uploadError | %1 %2 %3")
                .arg(filePath)
                .arg(error)
                .arg(message));
}

void GroupProfile::selectedAdmin(QList<QString> numbers)
{
    GroupAddMemberPair pair;
    pair.setJid(group.getJid());
    for (const QString& number : numbers)
        pair.addNumber(number);
    emit command(CMD_GroupAddAdmin, QVariant::fromValue(pair));
}

void GroupProfile::selectedNormalUser(QList<QString> numbers)
{
    GroupAddMemberPair pair;
    pair.setJid(group.getJid());
    for (const QString& number : numbers)
        pair.addNumber(number);
    emit command(CMD_GroupAddMember, QVariant::fromValue(pair));
}

void GroupProfile::AddContactPressed()
{
    // The user's contacts who are not in the group yet, by number or by
    // their account's name.
    const QList<Contact> all = AddressBook::getInstance()->contacts();
    QStringList inGroup = managers.keys() + members.keys();
    for (const Contact& contact : all) {
        if (inGroup.contains(contact.getMemberID()))
            inGroup.append(contact.getNumber());
    }
    openPicker(Picking::Members, tr("_ChooseNewMembers"), QString(), QString(),
               ContactSelect::without(all, inGroup));
}

void GroupProfile::AddManagerPressed()
{
    QList<Contact> plain;
    for (const GroupMember& member : qAsConst(members))
        plain.append(contactOf(member));
    std::sort(plain.begin(), plain.end(), [](const Contact& a, const Contact& b) {
        const QString left = a.getNameOrNumber().toLower();
        const QString right = b.getNameOrNumber().toLower();
        return left != right ? left < right : a.getNumber() < b.getNumber();
    });
    openPicker(Picking::Managers, tr("_ChooseNewManagers"), tr("_MakeManagers"),
               tr("_NoMemberToPromote"), plain);
}

Contact GroupProfile::contactOf(const GroupMember& member) const
{
    // A member the user knows is named as the user named him; anyone else
    // by the profile the group's answer brought.
    Contact contact;
    if (!AddressBook::getInstance()->findUser(member.getUserName(), &contact)) {
        contact.setNumber(member.getUserName());
        contact.setProfile(member.getProfile());
    }
    return contact;
}

void GroupProfile::openPicker(Picking use, const QString& title, const QString& confirm,
                              const QString& nobody, const QList<Contact>& contacts)
{
    if (!picker) {
        picker = new ContactSelect(this);
        picker->hide();
        connect(picker, &ContactSelect::contactsChosen, this, &GroupProfile::contactsPicked);
    }
    picking = use;
    picker->setTitle(title);
    picker->setConfirmText(confirm);
    picker->setEmptyText(nobody);
    picker->setContacts(contacts);
    PopupManager::showWindow(picker, true);
}

void GroupProfile::contactsPicked(QList<Contact> contacts)
{
    // The service knows people by their accounts' user names: the member id
    // it matched a contact's number to, when it did.
    QList<QString> numbers;
    for (const Contact& contact : contacts)
        numbers.append(contact.getMemberID().isEmpty() ? contact.getNumber()
                                                       : contact.getMemberID());
    const Picking use = picking;
    picking = Picking::Nothing;
    if (numbers.isEmpty())
        return;
    if (use == Picking::Members) {
        selectedNormalUser(numbers);
    } else if (use == Picking::Managers) {
        for (const QString& number : qAsConst(numbers))
            emit command(CMD_GroupChangeRole, QVariant::fromValue(GroupChangeRoleRequest(
                                                  group.getJid(), number, GroupRole::ADMIN)));
    }
}

void GroupProfile::memberProfileClicked(QString userID)
{
    if (managers.contains(userID))
        emit memberProfileRequested(contactOf(managers.value(userID)));
    else if (members.contains(userID))
        emit memberProfileRequested(contactOf(members.value(userID)));
}

void GroupProfile::chatMemberDeleteClicked(QString userID)
{
    GroupChangeRoleRequest request;
    request.setUserName(userID);
    request.setJid(group.getJid());
    emit command(CMD_GroupRemoveMember, QVariant::fromValue(request));
    if (managers.remove(userID))
        removeRow(managersList, userID);
    else if (members.remove(userID))
        removeRow(membersList, userID);
}

void GroupProfile::removeRow(QVBoxLayout* list, const QString& userId)
{
    for (ChatMember* row : rowsOf(list)) {
        if (row->getMemberId() == userId) {
            list->removeWidget(row);
            // The row asked the question whose answer brought us here: it
            // goes once its own handler has returned.
            row->hide();
            row->deleteLater();
            return;
        }
    }
}

QList<ChatMember*> GroupProfile::rowsOf(QVBoxLayout* list)
{
    QList<ChatMember*> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (auto* row = qobject_cast<ChatMember*>(list->itemAt(i)->widget()))
            rows << row;
    }
    return rows;
}

QList<ChatMember*> GroupProfile::managerRows() const
{
    return rowsOf(managersList);
}

QList<ChatMember*> GroupProfile::memberRows() const
{
    return rowsOf(membersList);
}

void GroupProfile::getNotifChanged()
{
    group.setMute(notifications->isChecked());
    emit command(CMD_GroupUpdateGetNotif, QVariant::fromValue(group));
}

void GroupProfile::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
