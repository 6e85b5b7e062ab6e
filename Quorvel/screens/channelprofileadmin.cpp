#include "screens/channelprofileadmin.h"

#include "model/channelmemberrole.h"
#include "model/channelmembersrequest.h"
#include "screens/channelmanagerwidget.h"
#include "screens/channelownerwidget.h"
#include "screens/channelprofilenormal.h"
#include "screens/editchannel.h"
#include "screens/panelslider.h"
#include "screens/picturechooser.h"
#include "screens/profileheader.h"
#include "screens/screenfonts.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/contactselect.h"
#include "widgets/customscrollarea.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/label.h"
#include "widgets/popupmanager.h"
#include "widgets/stylesheetpaint.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>

namespace {

const int kMargin = 20;

} // namespace

ChannelProfileAdmin::ChannelProfileAdmin(QWidget* parent)
    : QWidget(parent), editor(new EditChannel(this)), slider(new PanelSlider(this, 300)),
      header(ProfileHeader::makeStrip(this)), title(new QLabel(tr("_Title"), header)),
      back(ProfileHeader::makeBackButton(this)), edit(new FlatButton(tr("_EditChannel"), this)),
      remove(new FlatButton(tr("_DeleteChannel"), this)), scroll(new CustomScrollArea(this)),
      board(new QWidget), boardLayout(new QVBoxLayout(board)), info(new QWidget(board)),
      avatar(new Label(info)), name(new QLabel(info)),
      identifier(new QLabel(QStringLiteral("///"), info)),
      members(new QLabel(tr("_MembersCount"), info)),
      addMember(new FlatButton(tr("Add Member"), info)),
      deleteMember(new FlatButton(tr("Delete Member"), info)),
      descriptionHead(new QLabel(tr("_ChannelDescription"), info)),
      description(new QLabel(QStringLiteral("_"), info)),
      ownerHead(new QLabel(tr("_ChannelOwner"), info)), owner(new ChannelOwnerWidget(info)),
      managersHead(new QLabel(tr("_ChannelManagers"), info)), managersStrip(new QWidget(board)),
      addManager(new FlatButton(tr("_AddManager"), managersStrip))
{
    picker = new ContactSelect(this);
    qRegisterMetaType<ChannelMemberRole>("ChannelMemberRole");
    qRegisterMetaType<ChannelMembersRequest>("ChannelMembersRequest");
    editor->hide();
    connect(editor, &EditChannel::command, this, &ChannelProfileAdmin::command);
    const QFont large = ScreenFonts::digits(16);
    const QFont small = ScreenFonts::digits(10);
    for (QLabel* label : {title, static_cast<QLabel*>(edit), static_cast<QLabel*>(remove),
                          identifier, members, description, static_cast<QLabel*>(addManager)})
        label->setFont(small);
    for (QLabel* label : {name, static_cast<QLabel*>(addMember), static_cast<QLabel*>(deleteMember),
                          descriptionHead, ownerHead, managersHead})
        label->setFont(large);
    for (QLabel* label : {title, static_cast<QLabel*>(edit), static_cast<QLabel*>(remove),
                          identifier, static_cast<QLabel*>(addManager)})
        label->setObjectName(QStringLiteral("ProfileLinkStyle"));
    for (QLabel* label : {name, identifier, description}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    members->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addMember->setAlignment(Qt::AlignCenter);
    deleteMember->setAlignment(Qt::AlignCenter);
    avatar->resize(100, 100);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->viewport()->setAutoFillBackground(false);
    board->setObjectName(QStringLiteral("ChannelProfileAdminContent"));
    boardLayout->setSpacing(0);
    boardLayout->setContentsMargins(0, 0, 0, 0);
    boardLayout->addWidget(info);
    scroll->setWidget(board);

    connect(back, &IconButton::onClick, this, &ChannelProfileAdmin::backButtonPressed);
    connect(edit, &FlatButton::onClick, this, &ChannelProfileAdmin::EditChannelPressed);
    connect(remove, &FlatButton::onClick, this, &ChannelProfileAdmin::DeleteChannelPressed);
    connect(addManager, &FlatButton::onClick, this, &ChannelProfileAdmin::AddManagerPressed);
    connect(addMember, &FlatButton::onClick, this, &ChannelProfileAdmin::addMemberPressed);
    connect(deleteMember, &FlatButton::onClick, this, &ChannelProfileAdmin::deleteMemberPressed);
    picker->hide();
    connect(picker, &ContactSelect::contactsChosen, this, &ChannelProfileAdmin::contactsChosen);
    connect(slider, &PanelSlider::exitFinished, this, &ChannelProfileAdmin::hideWidget);
}

void ChannelProfileAdmin::setChannelInfo(ChannelInfo value)
{
    // The same channel again (an edit, a new member count, its picture):
    // shown as it now is, its people kept and not asked for again.
    if (value.getId() == channel.getId()) {
        showChannel(value);
        // After a change of its people the channel comes again: the owner
        // and administrators are asked for anew.
        if (peopleChanged) {
            peopleChanged = false;
            removeManagers();
            loaded = false;
            requestMembers();
            requestFollowers();
        }
        placeChildren();
        return;
    }
    removeManagers();
    followers.clear();
    ownerProfile = ChannelMemberProfile();
    showChannel(value);
    requestMembers();
    loaded = false;
    boardLayout->removeWidget(managersStrip);
    boardLayout->insertWidget(1, managersStrip);
    placeChildren();
}

void ChannelProfileAdmin::showChannel(const ChannelInfo& value)
{
    remove->setText(value.getMyRole() == ChannelRole::OWNER
                        ? tr("_DeleteChannel")
                        : QCoreApplication::translate("ChannelProfileNormal", "_LeaveChannel"));
    remove->adjustSize();
    // Only the owner makes administrators.
    addManager->setVisible(value.getMyRole() == ChannelRole::OWNER);
    channel = value;
    name->setText(value.getName());
    identifier->setText(QStringLiteral("@") + value.getId());
    members->setText(QString::number(value.getMembersCount()) + tr("_MembersCount"));
    description->setText(value.getDescription());
    for (QLabel* label : {name, identifier, members, description})
        label->adjustSize();
    avatar->setPixmap(
        value.getAvThumbnail().isNull()
            ? AvatarViewer::defaultAvatar(AvatarViewer::Channel, value.getId(), QSize(100, 100))
            : PictureChooser::oval(QPixmap::fromImage(value.getAvThumbnail()), QSize(100, 100)));
}

void ChannelProfileAdmin::removeManagers()
{
    for (ChannelManagerWidget* row : qAsConst(managers)) {
        boardLayout->removeWidget(row);
        delete row;
    }
    managers.clear();
}

void ChannelProfileAdmin::requestMembers()
{
    ChannelMembersRequest request;
    request.setChannelId(channel.getId());
    request.setOffset(0);
    request.setCount(1);
    request.setReqType(ChannelMembersRequest::ReqType(1));
    emit command(CMD_ChannelGetMembers, QVariant::fromValue(request));
}

void ChannelProfileAdmin::requestFollowers()
{
    emit command(CMD_ChannelGetMembers,
                 QVariant::fromValue(ChannelMembersRequest(
                     channel.getId(), ChannelMembersRequest::ReqType_Followers, 0, followerPage)));
}

void ChannelProfileAdmin::setMembersProfile(ChannelMembersReply reply)
{
    if (reply.getReq().getChannelId() != channel.getId())
        return;
    const QList<ChannelMemberProfile> profiles = reply.getProfiles();
    if (reply.getReq().getReqType() == ChannelMembersRequest::ReqType_Followers) {
        followers.clear();
        for (const ChannelMemberProfile& profile : profiles) {
            if (profile.getRole() == ChannelRole::MEMBER && !profile.getUserName().isEmpty())
                followers << profile;
        }
        return;
    }
    if (!profiles.isEmpty())
        loaded = true;
    for (const ChannelMemberProfile& profile : profiles) {
        if (profile.getRole() == ChannelRole::OWNER) {
            ownerProfile = profile;
            owner->setProfile(profile);
        } else if (profile.getRole() == ChannelRole::ADMIN) {
            // A second answer (a slide-in before the first arrived) replaces
            // the administrator's row instead of adding it twice.
            delete managers.take(profile.getUserName());
            auto* row = new ChannelManagerWidget(channel.getMyRole() == ChannelRole::OWNER, board);
            row->setProfile(profile);
            connect(row, &ChannelManagerWidget::deleteIconPressed, this,
                    &ChannelProfileAdmin::deleteAdminPressed);
            boardLayout->addWidget(row);
            row->setFixedHeight(listRowHeight);
            row->show();
            managers.insert(profile.getUserName(), row);
        }
    }
    placeChildren();
}

void ChannelProfileAdmin::showProfile()
{
    if (QWidget* parent = parentWidget())
        setGeometry(0, 0, parent->width(), parent->height());
    slideIn();
    show();
}

void ChannelProfileAdmin::slideIn()
{
    if (!loaded)
        requestMembers();
    // The followers change without this panel hearing of it: asked for at
    // each opening, so the pickers offer them as they now are, and the
    // channel with its count as it now stands.
    requestFollowers();
    emit command(CMD_ChannelData, QVariant(channel.getId()));
    slider->slideIn();
}

void ChannelProfileAdmin::slideOut()
{
    slider->slideOut();
}

void ChannelProfileAdmin::backButtonPressed()
{
    slideOut();
}

void ChannelProfileAdmin::hideWidget()
{
    if (!editor->isHidden())
        editor->hide();
    if (!picker->isHidden())
        picker->ignorClicked();
    hide();
}

void ChannelProfileAdmin::EditChannelPressed()
{
    editor->setChannelInfo(channel);
    editor->fitToParent();
    editor->raise();
    editor->show();
}

QString ChannelProfileAdmin::applicator() const
{
    return channel.getId() + QStringLiteral("_profileAdmin");
}

void ChannelProfileAdmin::ask(const QString& text)
{
    PopUpWarning::showWarning(text, applicator(), true, 0);
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &ChannelProfileAdmin::warningAnswered, Qt::UniqueConnection);
}

void ChannelProfileAdmin::DeleteChannelPressed()
{
    pendingMember.clear();
    pendingRemovals.clear();
    ask(channel.getMyRole() == ChannelRole::OWNER
            ? tr("_DeleteChannelWarningMessage")
            : QCoreApplication::translate("ChannelProfileNormal", "_LeaveChannelWarningMessage"));
}

void ChannelProfileAdmin::deleteAdminPressed(ChannelMemberProfile p)
{
    pendingMember = p.getUserName();
    pendingRemovals.clear();
    ask(tr("_RemoveManagerWarningMessage"));
}

void ChannelProfileAdmin::warningAnswered(PopUpWarning::response response, QString asker)
{
    disconnect(PopUpWarning::getInstance(), nullptr, this, nullptr);
    if (asker != applicator())
        return;
    const QStringList removals = pendingRemovals;
    pendingRemovals.clear();
    if (response != PopUpWarning::yes)
        return;
    if (removals.isEmpty()) {
        AckForWarningReceive();
        return;
    }
    for (const QString& member : removals)
        sendMemberChange(CMD_ChannelRemoveMember, member, ChannelRole::NONE);
}

void ChannelProfileAdmin::sendMemberChange(Command cm, const QString& member,
                                           ChannelRole::Role role)
{
    ChannelMemberRole change;
    change.setChannelId(channel.getId());
    change.setMemberId(member);
    change.setRole(role);
    peopleChanged = true;
    emit command(cm, QVariant::fromValue(change));
}

void ChannelProfileAdmin::AckForWarningReceive()
{
    if (pendingMember.isEmpty()) {
        const bool owns = channel.getMyRole() == ChannelRole::OWNER;
        emit command(owns ? CMD_ChannelDelete : CMD_ChannelLeave, QVariant(channel.getId()));
        if (!editor->isHidden())
            editor->hide();
        hide();
        return;
    }
    sendMemberChange(CMD_ChannelChangeMemberRole, pendingMember, ChannelRole::MEMBER);
}

void ChannelProfileAdmin::AddManagerPressed()
{
    emit needSelectContacts(channel.getId(), SelectManagers, QStringList());
    openPicker(SelectManagers);
}

void ChannelProfileAdmin::addMemberPressed()
{
    emit needSelectContacts(channel.getId(), SelectMembers, QStringList());
    openPicker(SelectMembers);
}

void ChannelProfileAdmin::deleteMemberPressed()
{
    emit needSelectContacts(channel.getId(), SelectRemoval, QStringList());
    openPicker(SelectRemoval);
}

QStringList ChannelProfileAdmin::knownNumbers() const
{
    QStringList numbers;
    QList<ChannelMemberProfile> people = followers;
    people << ownerProfile;
    for (ChannelManagerWidget* row : qAsConst(managers))
        people << row->getProfile();
    for (const ChannelMemberProfile& person : qAsConst(people)) {
        numbers << person.getUserName();
        if (!person.getMemberId().isEmpty())
            numbers << person.getMemberId();
    }
    return numbers;
}

void ChannelProfileAdmin::openPicker(SelectType kind)
{
    purpose = kind;
    QList<Contact> offered;
    // Followers first, as the address book knows them when it does.
    if (kind != SelectMembers) {
        for (const ChannelMemberProfile& follower : qAsConst(followers)) {
            const QString number =
                follower.getMemberId().isEmpty() ? follower.getUserName() : follower.getMemberId();
            Contact person;
            if (!AddressBook::getInstance()->findUser(follower.getUserName(), &person)) {
                person.setNumber(number);
                person.setNickName(follower.getNickName());
                person.setAvatarThumbnailUrl(follower.getAvThumbnailUrl());
            }
            offered << person;
        }
    }
    if (kind != SelectRemoval)
        offered << ContactSelect::without(AddressBook::getInstance()->contacts(), knownNumbers());
    static const char* const titles[] = {QT_TR_NOOP("_PickManagers"), QT_TR_NOOP("_PickNewMembers"),
                                         QT_TR_NOOP("_PickMembersToRemove")};
    picker->setTitle(tr(titles[kind]));
    picker->setConfirmText(kind == SelectRemoval ? tr("_Remove") : QString());
    picker->setEmptyText(kind == SelectRemoval ? tr("_NoFollowerToRemove") : QString());
    picker->setContacts(offered);
    PopupManager::showWindow(picker, true);
}

QString ChannelProfileAdmin::userNameOf(const Contact& contact) const
{
    for (const ChannelMemberProfile& follower : followers) {
        if (follower.getMemberId() == contact.getNumber() ||
            follower.getUserName() == contact.getNumber() ||
            (!contact.getMemberID().isEmpty() && follower.getUserName() == contact.getMemberID()))
            return follower.getUserName();
    }
    // Everyone else by the account the service matched the number to.
    return contact.getMemberID().isEmpty() ? contact.getNumber() : contact.getMemberID();
}

void ChannelProfileAdmin::contactsChosen(QList<Contact> contacts)
{
    if (purpose == SelectRemoval) {
        pendingMember.clear();
        for (const Contact& contact : contacts)
            pendingRemovals << userNameOf(contact);
        ask(tr("_RemoveMembersWarningMessage"));
        return;
    }
    for (const Contact& contact : contacts) {
        const QString user = userNameOf(contact);
        bool follows = false;
        for (const ChannelMemberProfile& follower : qAsConst(followers))
            follows = follows || follower.getUserName() == user;
        if (purpose == SelectManagers && follows)
            sendMemberChange(CMD_ChannelChangeMemberRole, user, ChannelRole::ADMIN);
        else
            sendMemberChange(CMD_ChannelAddMember, user,
                             purpose == SelectManagers ? ChannelRole::ADMIN : ChannelRole::MEMBER);
    }
}

void ChannelProfileAdmin::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    back->raise();
    header->setGeometry(0, 0, width(), ProfileHeader::height);
    title->adjustSize();
    const int top = back->height() > title->height() ? (back->height() - title->height()) / 2 : 0;
    title->move(width() - 5 - title->width(), top);
    remove->adjustSize();
    edit->adjustSize();
    remove->move(back->width(), top);
    edit->move(back->width() + remove->width() + 10, top);
    info->resize(width(), height());
    managersStrip->resize(width(), height());
    placeChildren();
    scroll->setGeometry(0, ProfileHeader::height, width(), height() - ProfileHeader::height);
    if (!editor->isHidden())
        editor->fitToParent();
}

void ChannelProfileAdmin::placeChildren()
{
    const int c = info->width();
    int y = ChannelProfileNormal::placeFace(c, avatar, {name, identifier, members});
    const int half = qMin((c - 40 - kMargin) / 2, 200);
    addMember->setGeometry(c - 10 - kMargin - half, y, half, addMember->height());
    deleteMember->setGeometry(c - 20 - kMargin - half - addMember->width(), y, half,
                              deleteMember->height());
    y += addMember->height();
    descriptionHead->setGeometry(0, y, c - kMargin, descriptionHead->height());
    y += descriptionHead->height();
    description->move(c - kMargin - description->width(), y);
    y += description->height();
    ownerHead->setGeometry(0, y, c - kMargin, ownerHead->height());
    y += ownerHead->height();
    owner->setGeometry(0, y, c, listRowHeight);
    y += owner->height();
    managersHead->setGeometry(0, y, c - kMargin, managersHead->height());
    y += managersHead->height();
    info->resize(c, y);
    info->setMinimumHeight(y);
    addManager->adjustSize();
    addManager->move(c - 20 - kMargin - half - addManager->width(), 0);
    managersStrip->resize(managersStrip->width(), addManager->height() + 10);
    managersStrip->setMinimumHeight(addManager->height() + 10);
    board->resize(info->width(),
                  info->height() + managersStrip->height() + managers.size() * listRowHeight);
}

void ChannelProfileAdmin::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
