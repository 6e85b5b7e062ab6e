// The group screens driven with mouse and keys: member rows, the name
// editor, the group profile with its contact picker and the create-group
// form. Pictures go through
// the local service's file host; pictures of each screen are saved.
#include "screentestsupport.h"

#include "chat/chatmember.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatprofilepanels.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/replymessageoutline.h"
#include "chat/sendername.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "model/members.h"
#include "model/messagekeys.h"
#include "model/messagepair.h"
#include "screens/contactprofile.h"
#include "screens/creategroup.h"
#include "screens/editgroup.h"
#include "screens/groupprofile.h"
#include "webapi/FileApi/uploadfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/biditext.h"
#include "widgets/checkbox.h"
#include "widgets/contactselect.h"
#include "widgets/currentuser.h"
#include "widgets/customscrollarea.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/phonetext.h"
#include "widgets/popupmanager.h"
#include "widgets/searchbar.h"

#include <QLabel>
#include <QMenu>

using namespace ScreenTest;

namespace {

GroupMember member(const QString& user, GroupRole::Role role, bool addedByMe = false)
{
    GroupMember m;
    m.setUserName(user);
    m.setRole(role);
    m.setAddedByMe(addedByMe);
    m.setLastActivity(int(QDateTime::currentSecsSinceEpoch() - 3600));
    Profile profile;
    profile.setMemberID(user);
    profile.setNickName(QStringLiteral("Nick ") + user);
    m.setProfile(profile);
    return m;
}

GroupInfo group(GroupRole::Role myRole, bool removed = false)
{
    GroupInfo info;
    info.setJid(QStringLiteral("room-1@groups.local"));
    info.setName(QStringLiteral("Hikers"));
    info.setMyRole(myRole);
    info.setRemoved(removed);
    return info;
}

GroupInfoMembers withMembers(const QList<GroupMember>& list)
{
    GroupInfoMembers all;
    all.setInfo(group(GroupRole::OWNER));
    for (const GroupMember& m : list)
        all.insertMember(m);
    return all;
}

// A contact of the user's; the service matched the number to the account
// userName (the number itself unless given).
Contact known(const QString& number, const QString& firstName, const QString& userName = {})
{
    Contact c;
    c.setNumber(number);
    c.setFirstName(firstName);
    Profile profile;
    profile.setMemberID(userName.isEmpty() ? number : userName);
    c.setProfile(profile);
    c.setIsMyContact(true);
    return c;
}

QStringList pickerIds(const ContactSelect* picker)
{
    QStringList list;
    for (const IContact* row : picker->visibleRows())
        list << row->getId();
    return list;
}

void tick(ContactSelect* picker, const QString& id)
{
    AvatarViewer* avatar = picker->row(id)->getAvatar();
    QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
}

QStringList ids(const QList<ChatMember*>& rows)
{
    QStringList list;
    for (const ChatMember* row : rows)
        list << row->getMemberId();
    list.sort();
    return list;
}

} // namespace

class TestGroupScreens : public QObject
{
    Q_OBJECT

    QTranslator translator;
    QWidget* host = nullptr;
    LocalFiles files;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<Command>("Command");
        QVERIFY(setUpApplication(&translator));
        QVERIFY(files.start());
    }

    void init() { host = openHost(QSize(600, 700)); }
    void cleanup() { closeHost(host); }

    void memberRowDeletion_data()
    {
        QTest::addColumn<bool>("deletable");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("removed");
        QTest::newRow("not deletable") << false << true << false;
        QTest::newRow("deletable, no") << true << false << false;
        QTest::newRow("deletable, yes") << true << true << true;
    }

    void memberRowDeletion()
    {
        QFETCH(bool, deletable);
        QFETCH(bool, yes);
        QFETCH(bool, removed);
        ChatMember row(host);
        row.setMemberId("bob");
        row.setName("<i>Bob</i>");
        row.setLastSeen(uint(QDateTime::currentSecsSinceEpoch()));
        row.setDeletable(deletable);
        row.resize(400, 60);
        row.show();
        QCOMPARE(row.nameLabel()->textFormat(), Qt::PlainText);
        QVERIFY(!row.timeLabel()->text().isEmpty());

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(&row, &enter);
        QCOMPARE(row.deleteText()->isVisible(), deletable);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    row.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&row, &menuEvent);
        QCOMPARE(row.contextMenu()->actions().size(), deletable ? 2 : 1);
        row.contextMenu()->hide();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&row, &leave);
        QVERIFY(row.deleteText()->isHidden());
        if (!deletable)
            return;

        QSignalSpy deleted(&row, &ChatMember::chatMemberDelete);
        QApplication::sendEvent(&row, &enter);
        QTest::mousePress(row.deleteText(), Qt::LeftButton);
        QVERIFY(PopUpWarning::getInstance()->isVisible());
        answerWarning(yes);
        QCOMPARE(deleted.count(), removed ? 1 : 0);
        if (removed)
            QCOMPARE(deleted.at(0).at(0).toString(), QStringLiteral("bob"));
        // Another screen's question does not reach the row any more.
        PopUpWarning::showWarning("other", "DeleteClicked", true, 0);
        answerWarning(true);
        QCOMPARE(deleted.count(), removed ? 1 : 0);
    }

    void nameEditor_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("submit");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("placeholder only") << ""
                                          << "" << true << QStringList();
        QTest::newRow("unchanged") << "Hikers"
                                   << "" << true << QStringList({"Hikers"});
        QTest::newRow("typed") << "Hikers"
                               << " 2" << true << QStringList({"Hikers 2"});
        QTest::newRow("cancel") << "Hikers"
                                << " 2" << false << QStringList();
    }

    void nameEditor()
    {
        QFETCH(QString, start);
        QFETCH(QString, typed);
        QFETCH(bool, submit);
        QFETCH(QStringList, names);
        EditGroup editor(host);
        editor.show();
        editor.setName(start);
        QSignalSpy changed(&editor, &EditGroup::NameChanged);
        if (!typed.isEmpty()) {
            QTest::mouseClick(editor.nameField(), Qt::LeftButton);
            QTest::keyClick(editor.nameField(), Qt::Key_End);
            QTest::keyClicks(editor.nameField(), typed);
        }
        click(submit ? editor.submitButton() : editor.cancelButton());
        QStringList got;
        for (const QList<QVariant>& call : changed)
            got << call.at(0).toString();
        QCOMPARE(got, names);
        QVERIFY(editor.isHidden());
    }

    void profileRowsFollowEachAnswer()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::ADMIN));
        Commands sent(&profile);
        profile.showProfile();
        QCOMPARE(sent.all(), QList<int>({CMD_GroupInfoMembers}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("room-1@groups.local"));

        // Someone without a nickname or a known last activity.
        GroupMember bare = member("u2", GroupRole::MEMBER);
        bare.setProfile(Profile());
        bare.setLastActivity(0);
        profile.setGroupInfoMembers(
            withMembers({member("m1", GroupRole::ADMIN), member("u1", GroupRole::MEMBER), bare,
                         member("own", GroupRole::OWNER)}));
        // The owner heads the managers, and nobody may remove it.
        QCOMPARE(ids(profile.managerRows()), QStringList({"m1", "own"}));
        QCOMPARE(profile.managerRows().first()->getMemberId(), QStringLiteral("own"));
        QVERIFY(!profile.managerRows().first()->isDeletable());
        QVERIFY(profile.managerRows().last()->isDeletable());
        QCOMPARE(ids(profile.memberRows()), QStringList({"u1", "u2"}));
        for (ChatMember* row : profile.memberRows()) {
            const bool named = row->getMemberId() == QLatin1String("u1");
            QCOMPARE(row->nameLabel()->text(),
                     named ? QStringLiteral("Nick u1") : QStringLiteral("u2"));
            QCOMPARE(row->timeLabel()->text().isEmpty(), !named);
        }
        // Each answer is the whole list: a changed name shows, a new role
        // moves the row, people no longer listed go.
        GroupMember renamed = member("u1", GroupRole::MEMBER);
        Profile p = renamed.getProfile();
        p.setNickName("Changed");
        renamed.setProfile(p);
        profile.setGroupInfoMembers(
            withMembers({renamed, member("u2", GroupRole::ADMIN), member("u3", GroupRole::MEMBER),
                         member("m1", GroupRole::ADMIN), member("own", GroupRole::OWNER)}));
        QCOMPARE(ids(profile.memberRows()), QStringList({"u1", "u3"}));
        QCOMPARE(ids(profile.managerRows()), QStringList({"m1", "own", "u2"}));
        QCOMPARE(profile.managerRows().first()->getMemberId(), QStringLiteral("own"));
        for (ChatMember* row : profile.memberRows()) {
            if (row->getMemberId() == QLatin1String("u1"))
                QCOMPARE(row->nameLabel()->text(), QStringLiteral("Changed"));
        }
        profile.setGroupInfoMembers(withMembers(
            {renamed, member("m1", GroupRole::ADMIN), member("own", GroupRole::OWNER)}));
        QCOMPARE(ids(profile.memberRows()), QStringList({"u1"}));
        QCOMPARE(ids(profile.managerRows()), QStringList({"m1", "own"}));
        profile.setGroupInfoMembers(
            withMembers({renamed, member("u2", GroupRole::MEMBER), member("u3", GroupRole::MEMBER),
                         member("m1", GroupRole::ADMIN), member("own", GroupRole::OWNER)}));
        QTRY_COMPARE(profile.x(), 0);
        QVERIFY(saveShot(&profile, "screens-groupprofile.png"));

        // Removing a manager: the command goes out and the row goes at once.
        sent.clear();
        ChatMember* manager = profile.managerRows().last();
        QTest::mousePress(manager->deleteText(), Qt::LeftButton);
        answerWarning(true);
        QCOMPARE(sent.all(), QList<int>({CMD_GroupRemoveMember}));
        const auto request = sent.payload(0).value<GroupChangeRoleRequest>();
        QCOMPARE(request.getUserName(), QStringLiteral("m1"));
        QCOMPARE(request.getJid(), QStringLiteral("room-1@groups.local"));
        QCOMPARE(ids(profile.managerRows()), QStringList({"own"}));
        QCOMPARE(profile.memberRows().size(), 3);
    }

    void profileOfRemovedGroupAsksNothing()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::MEMBER, true));
        Commands sent(&profile);
        profile.showProfile();
        QCOMPARE(sent.count(), 0);
        QVERIFY(profile.isVisible());
    }

    // What only the owner and managers may do is offered to them alone; the
    // role the members answer gives the user counts over an older record.
    void profileRightsByRole_data()
    {
        QTest::addColumn<int>("recordRole");
        QTest::addColumn<int>("answerRole");
        QTest::addColumn<bool>("manages");
        const int none = int(GroupRole::NONE);
        QTest::newRow("owner") << int(GroupRole::OWNER) << none << true;
        QTest::newRow("manager") << int(GroupRole::ADMIN) << none << true;
        QTest::newRow("member") << int(GroupRole::MEMBER) << none << false;
        QTest::newRow("member made manager")
            << int(GroupRole::MEMBER) << int(GroupRole::ADMIN) << true;
        QTest::newRow("manager made member")
            << int(GroupRole::ADMIN) << int(GroupRole::MEMBER) << false;
    }

    void profileRightsByRole()
    {
        QFETCH(int, recordRole);
        QFETCH(int, answerRole);
        QFETCH(bool, manages);
        currentUserName = QStringLiteral("me");
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::Role(recordRole)));
        profile.showProfile();
        QList<GroupMember> list{member("mine", GroupRole::MEMBER, true),
                                member("other", GroupRole::MEMBER),
                                member("own", GroupRole::OWNER)};
        if (answerRole != int(GroupRole::NONE))
            list << member("me", GroupRole::Role(answerRole));
        profile.setGroupInfoMembers(withMembers(list));
        for (QWidget* control : {static_cast<QWidget*>(profile.editLink()),
                                 static_cast<QWidget*>(profile.changePictureButton()),
                                 static_cast<QWidget*>(profile.addMemberButton()),
                                 static_cast<QWidget*>(profile.addManagerLink())})
            QCOMPARE(control->isVisible(), manages);
        for (ChatMember* row : profile.memberRows()) {
            if (row->getMemberId() != QLatin1String("me"))
                QCOMPARE(row->isDeletable(), manages || row->getMemberId() == "mine");
        }
        QVERIFY(!profile.managerRows().first()->isDeletable());
        // Only the notifications switch is left: blocking a group does nothing.
        QCOMPARE(profile.findChildren<CheckBox*>().size(), 1);
        // A group the user was removed from offers nothing to manage.
        GroupInfo removed = group(GroupRole::Role(recordRole), true);
        profile.updateGroupInfo(removed);
        QVERIFY(profile.addMemberButton()->isHidden());
        QVERIFY(profile.editLink()->isHidden());
        currentUserName.clear();
    }

    // The add-member button opens the picker over the user's contacts who are
    // not members yet; the ones ticked are added at once, by the user names
    // of their accounts.
    void addMembersThroughThePicker()
    {
        AddressBook* book = AddressBook::getInstance();
        book->setContacts({{"98911", known("98911", "Bo")},
                           {"98912", known("98912", "Cy")},
                           {"98913", known("98913", "Di", "acct-di")},
                           {"98919", known("98919", "Already In", "u1")}});
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::OWNER));
        profile.resize(host->size());
        profile.showProfile();
        profile.setGroupInfoMembers(
            withMembers({member("own", GroupRole::OWNER), member("u1", GroupRole::MEMBER)}));
        Commands sent(&profile);
        click(profile.addMemberButton());
        ContactSelect* picker = profile.contactPicker();
        QVERIFY(picker);
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(picker->titleText(),
                 QCoreApplication::translate("GroupProfile", "_ChooseNewMembers"));
        QCOMPARE(picker->inviteButton()->text(),
                 QCoreApplication::translate("ContactSelect", "Invite"));
        QCOMPARE(pickerIds(picker), QStringList({"98911", "98912", "98913"}));
        type(picker->searchBar()->getInput(), "c");
        QCOMPARE(pickerIds(picker), QStringList({"98912"}));
        picker->searchBar()->clear();
        tick(picker, "98913");
        tick(picker, "98911");
        QVERIFY(saveShot(picker, "screens-groupprofile-picker.png"));
        click(picker->inviteButton());
        QVERIFY(picker->isHidden());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupAddMember}));
        const auto pair = sent.payload(0).value<GroupAddMemberPair>();
        QCOMPARE(pair.getJid(), QStringLiteral("room-1@groups.local"));
        QCOMPARE(pair.getNumbers(), QStringList({"acct-di", "98911"}));

        // Opened again after the answer: the new members are left out, and
        // Ignore sends nothing.
        profile.setGroupInfoMembers(withMembers(
            {member("own", GroupRole::OWNER), member("u1", GroupRole::MEMBER),
             member("98911", GroupRole::MEMBER), member("acct-di", GroupRole::MEMBER)}));
        sent.clear();
        click(profile.addMemberButton());
        QTRY_VERIFY(picker->isVisible());
        QCOMPARE(pickerIds(picker), QStringList({"98912"}));
        tick(picker, "98912");
        click(picker->ignoreButton());
        QVERIFY(picker->isHidden());
        QCOMPARE(sent.count(), 0);
        AddressBook::deleteInstance();
    }

    // The add-manager link opens the same picker over the plain members; the
    // ones ticked become managers through a role change each.
    void makeManagersThroughThePicker()
    {
        AddressBook::getInstance()->setContacts({{"u2", known("u2", "Bo")}});
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::OWNER));
        profile.resize(host->size());
        profile.showProfile();
        profile.setGroupInfoMembers(
            withMembers({member("own", GroupRole::OWNER), member("m1", GroupRole::ADMIN),
                         member("u1", GroupRole::MEMBER), member("u2", GroupRole::MEMBER)}));
        Commands sent(&profile);
        click(profile.addManagerLink());
        ContactSelect* picker = profile.contactPicker();
        QTRY_VERIFY(picker && picker->isVisible());
        QCOMPARE(picker->titleText(),
                 QCoreApplication::translate("GroupProfile", "_ChooseNewManagers"));
        QCOMPARE(picker->inviteButton()->text(),
                 QCoreApplication::translate("GroupProfile", "_MakeManagers"));
        QCOMPARE(pickerIds(picker), QStringList({"u2", "u1"}));
        // A contact by the user's own name for him, anyone else by nickname.
        QCOMPARE(picker->row("u2")->getContact().getNameOrNumber(), QStringLiteral("Bo"));
        QCOMPARE(picker->row("u1")->getContact().getNameOrNumber(), QStringLiteral("Nick u1"));
        tick(picker, "u1");
        tick(picker, "u2");
        click(picker->inviteButton());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupChangeRole, CMD_GroupChangeRole}));
        QCOMPARE(sent.payload(0).value<GroupChangeRoleRequest>(),
                 GroupChangeRoleRequest("room-1@groups.local", "u1", GroupRole::ADMIN));
        QCOMPARE(sent.payload(1).value<GroupChangeRoleRequest>(),
                 GroupChangeRoleRequest("room-1@groups.local", "u2", GroupRole::ADMIN));

        // Everyone a manager now: the picker says so, and the same picker
        // opened for new members says what it says there.
        profile.setGroupInfoMembers(
            withMembers({member("own", GroupRole::OWNER), member("m1", GroupRole::ADMIN),
                         member("u1", GroupRole::ADMIN), member("u2", GroupRole::ADMIN)}));
        QCOMPARE(emptyPickerSays(profile.addManagerLink(), picker),
                 QCoreApplication::translate("GroupProfile", "_NoMemberToPromote"));
        QCOMPARE(emptyPickerSays(profile.addMemberButton(), picker),
                 QCoreApplication::translate("ContactSelect", "_NoContactToChoose"));
        AddressBook::deleteInstance();
    }

    // "See profile" on a member's row opens that member's contact profile
    // over the group's panel.
    void memberRowOpensTheMembersProfile()
    {
        AddressBook::getInstance()->setContacts({{"u2", known("u2", "Bo")}});
        QWidget window(host);
        window.resize(host->size());
        window.show();
        ChatProfilePanels panels(&window);
        panels.setGroupInfo(group(GroupRole::MEMBER));
        GroupProfile* profile = panels.groupPanel();
        panels.toggle(MessageBase::MsgMajorType_GroupChat, Contact());
        QTRY_VERIFY(profile->isVisible());
        profile->setGroupInfoMembers(
            withMembers({member("own", GroupRole::OWNER), member("u2", GroupRole::MEMBER)}));
        QSignalSpy sent(&panels, &ChatProfilePanels::command);
        profile->managerRows().first()->seeProfileAction()->trigger();
        ContactProfile* shown = panels.contactPanel();
        QVERIFY(shown);
        QTRY_VERIFY(shown->isVisible());
        QCOMPARE(shown->nameLabel()->text(), QStringLiteral("Nick own"));
        QVERIFY(shown->y() >= 0 && shown->geometry().intersects(profile->geometry()));
        profile->memberRows().first()->seeProfileAction()->trigger();
        QCOMPARE(shown->getContact().getNumber(), QStringLiteral("u2"));
        QCOMPARE(shown->nameLabel()->text(), QStringLiteral("Bo"));
        // Its last-seen question goes up the window's chain.
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.last().at(0).value<Command>(), CMD_LastSeen);
        AddressBook::deleteInstance();
    }

    // The window's title counts the members of the latest answer, and its
    // notices name people by nickname, by the user's own name for a contact,
    // or else by number; the words the notice carried are not shown.
    void windowTitleAndNoticesFollowTheMembers()
    {
        AddressBook::getInstance()->setContacts({{"98912", known("98912", "Cy")}});
        ChatWindow window(host);
        window.setChatId(QStringLiteral("room-1@groups.local"));
        window.setGeometry(host->rect());
        GroupInfo info = group(GroupRole::OWNER);
        info.setMemberCount(2);
        window.setGroupProfile(info);
        window.show();
        const QString members = QCoreApplication::translate("ChatWindowTitle", "_members");
        QCOMPARE(window.title()->subtitleText(), QStringLiteral("2 ") + members);

        const auto notice = [](const QString& id, MessageBase::MsgMinorType kind,
                               const QJsonObject& fields) {
            Message m(MessageBase::MsgMajorType_ControlMessage, QStringLiteral("keeper"),
                      QStringLiteral("room-1@groups.local"), QStringLiteral("forged <b>words</b>"));
            m.setMinorType(kind);
            m.setMessageId(id);
            m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
            m.addToOtherFields(fields);
            return m;
        };
        window.appendMessage(notice("n1", MessageBase::MsgMinorType_GroupRemove,
                                    {{MessageKeys::RemovedUserId, "98911"}}));
        window.appendMessage(notice("n2", MessageBase::MsgMinorType_GroupJoin,
                                    {{MessageKeys::ChangeUserId, "98912"}}));
        window.appendMessage(
            notice("n3", MessageBase::MsgMinorType_GroupChangeRole,
                   {{MessageKeys::ChangeUserId, "98913"}, {MessageKeys::NewRole, "ADMIN"}}));
        window.appendMessage(notice("n4", MessageBase::MsgMinorType_GroupChangeMetadata, {}));
        const auto words = [](const char* key, const QString& name) {
            // Right to left from its first mark, the name isolated.
            return QChar(0x200F) + QCoreApplication::translate("GroupNotice", key)
                                       .arg(QChar(0x2068) + name + QChar(0x2069));
        };
        QCOMPARE(window.bubble("n1")->bodyPlainText(),
                 words("_NoticeRemoved", PhoneText::number("98911")));
        QCOMPARE(window.bubble("n2")->bodyPlainText(), words("_NoticeAdded", "Cy"));
        QCOMPARE(window.bubble("n3")->bodyPlainText(),
                 words("_NoticeMadeManager", PhoneText::number("98913")));
        QCOMPARE(window.bubble("n4")->bodyPlainText(),
                 QCoreApplication::translate("GroupNotice", "_NoticeDetailsChanged"));

        // The members answer: three now, and their nicknames name them.
        GroupInfoMembers answer =
            withMembers({member("own", GroupRole::OWNER), member("98912", GroupRole::MEMBER),
                         member("98913", GroupRole::ADMIN)});
        window.setGroupInfoMembers(answer);
        QCOMPARE(window.title()->subtitleText(), QStringLiteral("3 ") + members);
        QCOMPARE(window.bubble("n1")->bodyPlainText(),
                 words("_NoticeRemoved", PhoneText::number("98911")));
        QCOMPARE(window.bubble("n2")->bodyPlainText(), words("_NoticeAdded", "Nick 98912"));
        QCOMPARE(window.bubble("n3")->bodyPlainText(), words("_NoticeMadeManager", "Nick 98913"));
        // A later record of the group with its old count does not undo it.
        window.updateGroupInfo(info);
        QCOMPARE(window.title()->subtitleText(), QStringLiteral("3 ") + members);
        window.setGroupInfoMembers(withMembers({member("own", GroupRole::OWNER)}));
        QCOMPARE(window.title()->subtitleText(), QStringLiteral("1 ") + members);
        QVERIFY(saveShot(&window, "screens-groupwindow-notices.png"));
        AddressBook::deleteInstance();
    }

    // A member's bubbles, the outlines of replies to him and the group's
    // notices call him by one name: his nickname, else the user's own name
    // for a contact, else his number. A nickname that comes later takes
    // over; an answer without one takes nothing back.
    void bubblesNameTheirSendersAsTheNoticesDo()
    {
        currentUserName = QStringLiteral("me");
        AddressBook::getInstance()->setContacts({{"98912", known("98912", "Cy")}});
        ChatWindow window(host);
        window.setChatId(QStringLiteral("room-1@groups.local"));
        window.setGeometry(host->rect());
        window.setGroupProfile(group(GroupRole::OWNER));
        window.show();

        const auto message = [](const char* id, const char* from, MessageBase::MsgMajorType kind) {
            Message m(kind, QLatin1String(from), QStringLiteral("room-1@groups.local"),
                      QStringLiteral("words"));
            m.setMessageId(QLatin1String(id));
            m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
            return m;
        };
        const auto reply = [&](const char* id, const char* from, const Message& to) {
            MessagePair pair;
            Message m = message(id, from, MessageBase::MsgMajorType_GroupChat);
            m.setReplyOnMessageId(to.getMessageId());
            pair.setMessage(m);
            pair.setReplyMessage(to);
            return pair;
        };
        Message added = message("n1", "keeper", MessageBase::MsgMajorType_ControlMessage);
        added.setMinorType(MessageBase::MsgMinorType_GroupJoin);
        added.addToOtherFields({{MessageKeys::ChangeUserId, "98912"}});
        const Message fromContact = message("c1", "98912", MessageBase::MsgMajorType_GroupChat);
        const Message fromStranger = message("s1", "98913", MessageBase::MsgMajorType_GroupChat);
        window.appendMessage(added);
        window.appendMessage(fromContact);
        window.appendMessage(fromStranger);
        window.appendMessagePair(reply("r1", "98913", fromContact));
        window.appendMessagePair(reply("r2", "me", fromStranger));

        // The contact's name, the stranger's name, the stranger's name on his
        // reply, and the outlines of the replies to each.
        const auto shown = [&window] {
            return QStringList{window.bubble("c1")->senderText(), window.bubble("s1")->senderText(),
                               window.bubble("r1")->senderText(),
                               window.bubble("r1")->replyOutline()->senderText(),
                               window.bubble("r2")->replyOutline()->senderText()};
        };
        // A stranger without a nickname is named by his number, as numbers
        // read everywhere.
        const QString stranger = PhoneText::number(QStringLiteral("98913"));
        const QStringList unnamed{"Cy", stranger, stranger, "Cy", stranger};
        const QString noticeCy =
            QChar(0x200F) + QCoreApplication::translate("GroupNotice", "_NoticeAdded")
                                .arg(QChar(0x2068) + QStringLiteral("Cy") + QChar(0x2069));
        QCOMPARE(shown(), unnamed);
        QCOMPARE(window.bubble("n1")->bodyPlainText(), noticeCy);

        // Members and profiles answered without nicknames change nothing.
        const auto bare = [](const char* user) {
            GroupMember m = member(QLatin1String(user), GroupRole::MEMBER);
            m.setProfile(Profile());
            return m;
        };
        window.setGroupInfoMembers(
            withMembers({member("me", GroupRole::OWNER), bare("98912"), bare("98913")}));
        const auto profiles = [&window](const char* user, const QString& nickName) {
            Members answer;
            answer.setRequestId(QStringLiteral("room-1@groups.local"));
            Profile profile;
            profile.setMemberID(QLatin1String(user));
            profile.setNickName(nickName);
            answer.addProfile(profile);
            window.setMembersProfiles(answer);
        };
        profiles("98912", QString());
        profiles("98913", QStringLiteral("  "));
        QCOMPARE(shown(), unnamed);
        QCOMPARE(window.bubble("n1")->bodyPlainText(), noticeCy);

        // A nickname given later names him everywhere, shown as plain text;
        // an answer without one after it keeps it.
        const QString nick = QStringLiteral("Dee <b>") + QChar(0x202E);
        const QString visible = BidiText::visibleControls(nick);
        const QStringList named{"Cy", visible, visible, "Cy", visible};
        profiles("98913", nick);
        QCOMPARE(shown(), named);
        profiles("98913", QString());
        QCOMPARE(shown(), named);
        window.setGroupInfoMembers(
            withMembers({member("me", GroupRole::OWNER), bare("98912"), bare("98913")}));
        QCOMPARE(shown(), named);

        // The members answer's nickname names the contact on his bubbles as
        // it does in the notice.
        window.setGroupInfoMembers(withMembers(
            {member("me", GroupRole::OWNER), member("98912", GroupRole::MEMBER), bare("98913")}));
        QCOMPARE(shown(), QStringList({"Nick 98912", visible, visible, "Nick 98912", visible}));
        QVERIFY(window.bubble("n1")->bodyPlainText().contains(QStringLiteral("Nick 98912")));
        // Each name, grown longer since the bubble was laid out, shows whole.
        for (const char* id : {"c1", "s1", "r1"}) {
            const SenderName* name = window.bubble(id)->findChild<SenderName*>();
            QTRY_VERIFY2(name->width() >= name->sizeHint().width(), id);
            QTRY_COMPARE(name->shownText(), name->text());
        }
        QVERIFY(saveShot(&window, "screens-groupwindow-senders.png"));
        AddressBook::deleteInstance();
    }

    // The title's shadow falls on the chat, never on a panel open over the
    // window: not when the window is resized or shown again under it either.
    void titleShadowStaysUnderAnOpenPanel()
    {
        ChatWindow window(host);
        window.setChatId(QStringLiteral("room-1@groups.local"));
        window.setGeometry(host->rect());
        window.setGroupProfile(group(GroupRole::OWNER));
        window.show();
        auto* shadow = window.findChild<QWidget*>(QStringLiteral("TitleShadow"));
        QVERIFY(shadow);
        QTRY_VERIFY(shadow->isVisible());
        QCOMPARE(shadow->y(), window.title()->geometry().bottom() + 1);
        // On the chat it shades the board.
        const QRect band = shadow->geometry();
        QVERIFY(window.grab(band).toImage() !=
                window.scrollArea()->grab(band.translated(-window.scrollArea()->pos())).toImage());

        click(window.title());
        GroupProfile* profile = window.groupPanel();
        QVERIFY(profile);
        QTRY_COMPARE(profile->geometry(), window.rect());
        // What the window shows over the band is the panel as it draws itself.
        const auto panelIsUnshaded = [&] {
            const QRect over = shadow->geometry();
            return window.grab(over).toImage() ==
                   profile->grab(over.translated(-profile->pos())).toImage();
        };
        QVERIFY(panelIsUnshaded());
        window.resize(window.width() - 40, window.height() - 10);
        QCOMPARE(shadow->width(), window.width());
        QVERIFY(panelIsUnshaded());
        window.hide();
        window.show();
        QVERIFY(shadow->isVisible());
        QVERIFY(panelIsUnshaded());
    }

    void profileQuestionsAndSwitches()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::OWNER));
        profile.showProfile();
        Commands sent(&profile);
        click(profile.deleteHistoryLink());
        answerWarning(false);
        click(profile.leaveLink());
        answerWarning(true);
        click(profile.deleteHistoryLink());
        answerWarning(true);
        QCOMPARE(sent.all(), QList<int>({CMD_GroupLeave, CMD_GroupRemoveHistory}));

        sent.clear();
        click(profile.notificationSwitch()->imageLabel());
        click(profile.notificationSwitch()->imageLabel());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupUpdateGetNotif, CMD_GroupUpdateGetNotif}));
        QCOMPARE(sent.payload(0).value<GroupInfo>().getMute(), true);
        QCOMPARE(sent.payload(1).value<GroupInfo>().getMute(), false);

        sent.clear();
        click(profile.editLink());
        QVERIFY(profile.nameEditor()->isVisible());
        QVERIFY(saveShot(host, "screens-groupnameeditor.png"));
        QTest::mouseClick(profile.nameEditor()->nameField(), Qt::LeftButton);
        QTest::keyClick(profile.nameEditor()->nameField(), Qt::Key_End);
        QTest::keyClicks(profile.nameEditor()->nameField(), "!");
        click(profile.nameEditor()->submitButton());
        QCOMPARE(sent.all(), QList<int>({CMD_GroupChangeData}));
        QCOMPARE(sent.payload(0).value<GroupInfo>().getName(), QStringLiteral("Hikers!"));
        QCOMPARE(profile.nameLabel()->text(), QStringLiteral("Hikers"));

        sent.clear();
        profile.selectedAdmin({"98911", "98912"});
        QCOMPARE(sent.all(), QList<int>({CMD_GroupAddAdmin}));
        QCOMPARE(sent.payload(0).value<GroupAddMemberPair>().getNumbers(),
                 QStringList({"98911", "98912"}));
    }

    void profileUploadsTheLatestPicture()
    {
        GroupProfile profile(host);
        profile.setGroupInfo(group(GroupRole::OWNER));
        Commands sent(&profile);
        profile.changePicture(files.picture("first.png", 120, 90, Qt::red));
        UploadFile* first = profile.currentUploader();
        const QString second = files.picture("second.png", 120, 90, Qt::blue);
        profile.changePicture(second);
        // The first upload reporting late changes nothing.
        if (first)
            emit first->UploadDone(files.path("first.png"), "id", "late-url", "late-thumb");
        QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 1, 30000);
        QCOMPARE(sent.at(0), CMD_GroupChangeData);
        const GroupInfo changed = sent.payload(0).value<GroupInfo>();
        QVERIFY(!changed.getAvUrl().isEmpty());
        QVERIFY(changed.getAvUrl() != QLatin1String("late-url"));
        // What the file host keeps under that address is the second picture.
        QVERIFY(!changed.getAvThUrl().isEmpty());
        QCOMPARE(profile.currentUploader() != first, true);
    }

    void createGroupSteps()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        QCOMPARE(form.size(), QSize(300, 200));
        click(form.nextButton());
        QCOMPARE(form.nameField()->objectName(), QStringLiteral("Error"));
        QVERIFY(form.stepOne()->isVisible());
        QVERIFY(saveShot(&form, "screens-creategroup-error.png"));
        type(form.nameField(), "   ");
        click(form.nextButton());
        QVERIFY(form.stepTwo()->isVisible());
        QCOMPARE(form.size(), QSize(450, 450));
        QVERIFY(saveShot(&form, "screens-creategroup-confirm.png"));
        click(form.backButton());
        QVERIFY(form.stepOne()->isVisible());
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.count(), 1);
        const GroupInfoMembers sentGroup = created.at(0).at(0).value<GroupInfoMembers>();
        QCOMPARE(sentGroup.getInfo().getName(), QStringLiteral("   "));
        QCOMPARE(sentGroup.getInfo().getAvUrl(), QString());
        QVERIFY(sentGroup.getMembers().isEmpty());
        QVERIFY(form.isHidden());
    }

    void createGroupPicture()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        const QString path = files.picture("group.png", 120, 90, Qt::green);
        form.choosePicture(path);
        // Another screen's upload through the same queue is not the form's.
        emit UploadManager::getInstance()->uploadDone(files.path("other.png"), "x", "u", "t");
        QCOMPARE(form.pictureUrl(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!form.pictureUrl().isEmpty(), 30000);
        QVERIFY(!form.pictureThumbnailUrl().isEmpty());
        type(form.nameField(), "Climbers");
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.at(0).at(0).value<GroupInfoMembers>().getInfo().getAvUrl(),
                 form.pictureUrl());

        // The next group starts without the picture.
        form.resetForm();
        QCOMPARE(form.pictureUrl(), QString());
        type(form.nameField(), "Second");
        click(form.nextButton());
        click(form.createButton());
        QCOMPARE(created.at(1).at(0).value<GroupInfoMembers>().getInfo().getAvThUrl(), QString());
    }

    void createGroupResetDropsPendingUpload()
    {
        CreateGroup form(host);
        form.resetForm();
        form.show();
        const QString path = files.picture("pending.png", 120, 90, Qt::yellow);
        form.choosePicture(path);
        form.resetForm();
        QCOMPARE(form.pendingPicture(), QString());
        // Whether the queue had started it or not, its end never reaches
        // the form: the next group is created without a picture.
        emit UploadManager::getInstance()->uploadDone(path, "id", "late", "late-thumb");
        QCOMPARE(form.pictureUrl(), QString());
        type(form.nameField(), "Plain");
        click(form.nextButton());
        QSignalSpy created(&form, &CreateGroup::sendCreateGroupCommand);
        click(form.createButton());
        QCOMPARE(created.at(0).at(0).value<GroupInfoMembers>().getInfo().getAvUrl(), QString());
    }
};

QTEST_MAIN(TestGroupScreens)
#include "tst_groupscreens.moc"
