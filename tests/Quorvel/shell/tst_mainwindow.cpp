// The main window fed with answer values: each dispatched answer reaches its
// list, and after a forced update or a sign-out nothing is taken any more.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatmember.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/grouptab.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersreply.h"
#include "model/filemessage.h"
#include "model/globalconstants.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/grouplookup.h"
#include "model/lastseen.h"
#include "model/lvreply.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/messagestate.h"
#include "model/notificationmessage.h"
#include "model/uisetting.h"
#include "model/userlookup.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelmanagerwidget.h"
#include "screens/channelownerwidget.h"
#include "screens/channelprofileadmin.h"
#include "screens/contactprofile.h"
#include "screens/creategroup.h"
#include "screens/groupprofile.h"
#include "shell/answerdispatch.h"
#include "shell/channellookupviewer.h"
#include "shell/channeltab.h"
#include "shell/chattab.h"
#include "shell/connectionstatuswidget.h"
#include "shell/contacttab.h"
#include "shell/contentpanel.h"
#include "shell/diskfullnotice.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/topmenu.h"
#include "shell/traynotifier.h"
#include "shell/userprofile.h"
#include "widgets/currentuser.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>

namespace {
Contact contact(const QString& number, const QString& name)
{
    Contact c;
    c.setNumber(number);
    c.setNickName(name);
    return c;
}
ChatRecipient chat(const QString& number, const QString& name)
{
    ChatRecipient r;
    r.setContact(contact(number, name));
    return r;
}
Message message(MessageBase::MsgMajorType type, const QString& chatId, const QString& id,
                const QString& body, qint64 time)
{
    Message m(type, QStringLiteral("sender"), chatId, body);
    m.setMessageId(id);
    m.setSendTimeInGMT(time);
    m.setMinorType(MessageBase::MsgMinorType_Text);
    return m;
}
ChannelInfo channel(const QString& id, const QString& name, qint64 time, int unread = 0,
                    ChannelRole::Role role = ChannelRole::MEMBER)
{
    ChannelInfo c;
    c.setId(id);
    c.setMyRole(role);
    c.setName(name);
    c.setUnreadCount(unread);
    c.setLastMessage(
        message(MessageBase::MsgMajorType_ChannelChat, id, id + "-m", name + " news", time));
    return c;
}
GroupInfo group(const QString& jid, const QString& name, qint64 time, int unread = 0)
{
    GroupInfo g;
    g.setJid(jid);
    g.setName(name);
    g.setUnreadCount(unread);
    g.setLastMessage(
        message(MessageBase::MsgMajorType_GroupChat, jid, jid + "-m", name + " talk", time));
    return g;
}
MessageReply history(const QString& chatId)
{
    MessageRequest request;
    request.setChatId(chatId);
    MessageReply reply;
    reply.setRequest(request);
    return reply;
}
template <typename T> QVariant var(const T& value)
{
    return QVariant::fromValue(value);
}

// Everything an answer can change in the main window, one line per item.
QStringList snapshot(MessengerMainWindow& w, const QSignalSpy& sent, const QSignalSpy& balloons)
{
    SidePanel* p = w.getSidePanel();
    QStringList s{QStringLiteral("tab %1").arg(p->getCurrentTab()),
                  "contacts " + p->getContactTab()->rowNames().join(',')};
    const auto rows = [&](const QString& name, const QStringList& ids,
                          const std::function<ChatWidget*(const QString&)>& row) {
        s << name + " " + ids.join(',');
        for (const QString& id : ids) {
            s << QStringLiteral("row %1: %2 / %3 / %4")
                     .arg(id, row(id)->nameText(), row(id)->lastMessageText())
                     .arg(row(id)->getUnreadCount());
        }
    };
    rows("chats", p->getChatTab()->rowIds(),
         [p](const QString& id) { return p->getChatTab()->row(id); });
    rows("groups", p->getGroupTab()->rowIds(),
         [p](const QString& id) { return p->getGroupTab()->row(id); });
    rows("channels", p->getChannelTab()->rowIds(),
         [p](const QString& id) { return p->getChannelTab()->row(id); });
    s << QStringLiteral("badges %1 %2 %3")
             .arg(p->getChatButton()->getUnreadCount())
             .arg(p->getGroupButton()->getUnreadCount())
             .arg(p->getChannelButton()->getUnreadCount());
    const ChatWindow* open = w.getContentPanel()->currentWidget();
    s << "open " + (open ? open->getChatId() : QStringLiteral("-"));
    // The open channel's owner and administrators, as its administrators' panel lists them.
    if (ChannelProfileAdmin* admin = open ? open->adminPanel() : nullptr) {
        QStringList names{admin->ownerRow()->getProfile().getUserName()};
        for (ChannelManagerWidget* manager : admin->managerRows())
            names << manager->getProfile().getUserName();
        s << "admins " + names.join(',');
    }
    ChannelLookupViewer* viewer = w.getChannelLookupViewer();
    s << "lookup " + (viewer->isVisible() ? viewer->nameLabel()->text() : QStringLiteral("-"));
    s << "user " + currentUserName;
    s << "profile " + w.getUserProfile()->nameField()->text() + " @" +
             w.getUserProfile()->idField()->text();
    s << "connection " + ConnectionStatusWidget::getInstance()->text();
    QLabel* toast = ToastMessage::getInstance()->textLabel();
    s << "toast " + (ToastMessage::getInstance()->isVisible() ? toast->text() : "-");
    PopUpWarning* warning = PopUpWarning::getInstance();
    s << "warning " + (warning->isVisible() ? warning->getApplicator() : "-");
    s << QStringLiteral("forced update %1").arg(w.getForceUpdateError()->isVisible());
    DiskFullNotice* notice = w.getDiskFullNotice();
    s << "disk notice " + (notice->isVisible() ? notice->text() : QStringLiteral("-"));
    for (const QList<QVariant>& args : balloons)
        s << "balloon " + args.at(0).toString() + "|" + args.at(1).toString();
    for (const QList<QVariant>& args : sent)
        s << QStringLiteral("sent %1 %2").arg(args.at(0).toInt()).arg(args.at(1).toString());
    return s;
}

// The lines of after that before lacks.
QStringList changes(const QStringList& before, const QStringList& after)
{
    QStringList out;
    for (const QString& line : after) {
        if (!before.contains(line))
            out << line;
    }
    return out;
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void answersReachTheirLists()
    {
        MessengerMainWindow window;
        SidePanel* panel = window.getSidePanel();
        QHash<QString, Contact> all{
            {"1", contact("1", "bob")}, {"2", contact("2", "Alice")}, {"3", contact("3", "carol")}};
        window.commandResponse(CMD_GetContacts, QVariant::fromValue(all));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"Alice", "bob", "carol"}));
        // A rename that sorts later moves the row down as well.
        window.commandResponse(CMD_UpdateContact, QVariant::fromValue(contact("2", "zed")));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"bob", "carol", "zed"}));
        window.commandResponse(CMD_DeleteContact, QVariant::fromValue(contact("1", "bob")));
        QCOMPARE(panel->getContactTab()->rowNames(), QStringList({"carol", "zed"}));

        window.commandResponse(CMD_GetChatRecipients,
                               QVariant::fromValue(QList<ChatRecipient>{
                                   chat("1", "a"), chat("2", "b"), chat("3", "c")}));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"1", "2", "3"}));
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(chat("4", "d")));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"4", "1", "2", "3"}));
        Message message(Message::MsgMajorType_SimpleChat, QStringLiteral("3"));
        message.setChatId(QStringLiteral("3"));
        window.commandResponse(CMD_MessageAdded, QVariant::fromValue(message));
        // Newest first, and each row once.
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"3", "4", "1", "2"}));
        window.commandResponse(CMD_DeleteChat, QVariant(QStringLiteral("4")));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"3", "1", "2"}));

        window.commandResponse(CMD_GetQuorvelId, QVariant(QStringLiteral("me")));
        QCOMPARE(window.getUserProfile()->idField()->text(), QStringLiteral("me"));
        QVERIFY(window.getUserProfile()->idField()->isEnabled());
    }

    // The disk notice stays under the top bar, whole, the panels below it,
    // until the core says arrivals are taken again; it follows the width.
    void diskNoticeStaysUntilArrivalsAreTaken()
    {
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        DiskFullNotice* notice = window.getDiskFullNotice();
        QVERIFY(!notice->isVisible());
        window.commandResponse(CMD_DiskFullForArrivals, QVariant(true));
        QVERIFY(notice->isVisible());
        for (int width : {1000, 820}) {
            window.resize(width, 700);
            QTRY_COMPARE(notice->width(), window.width());
            QCOMPARE(notice->y(), window.getTopMenu()->height());
            QVERIFY(notice->height() >= notice->heightForWidth(notice->width()));
            QCOMPARE(window.childAt(notice->geometry().center()), notice);
            for (QWidget* panel : {static_cast<QWidget*>(window.getContentPanel()),
                                   static_cast<QWidget*>(window.getSidePanel())}) {
                QCOMPARE(panel->y(), notice->geometry().bottom() + 1);
                QCOMPARE(panel->geometry().bottom(), window.height() - 1);
            }
        }
        window.commandResponse(CMD_DiskFullForArrivals, QVariant(true));
        QVERIFY(notice->isVisible());
        window.commandResponse(CMD_DiskFullForArrivals, QVariant(false));
        QVERIFY(!notice->isVisible());
        QCOMPARE(window.getContentPanel()->y(), window.getTopMenu()->height());
        QCOMPARE(window.getSidePanel()->y(), window.getTopMenu()->height());
    }

    void answersStopAfter_data()
    {
        QTest::addColumn<int>("stop");
        QTest::newRow("forced update") << int(CMD_ForceUpdate);
        QTest::newRow("signed out") << int(CMD_Logout);
    }
    void answersStopAfter()
    {
        QFETCH(int, stop);
        MessengerMainWindow window;
        window.commandResponse(Command(stop), QVariant());
        QVERIFY(!window.isAcceptingAnswers());
        window.commandResponse(CMD_ChatRecipientAdded, QVariant::fromValue(chat("9", "x")));
        QVERIFY(window.getSidePanel()->getChatTab()->rowIds().isEmpty());
    }

    // Each answer of the core against a window that lists two chats, two
    // channels (the first open) and a group: the lines of the window that the
    // answer changes, and nothing else.
    void everyAnswerHasItsEffect_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QVariant>("payload");
        QTest::addColumn<QStringList>("changed");
        const QStringList none;
        const auto row = [](Command c, const char* name, const QVariant& payload,
                            const QStringList& changed) {
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(int(c)).arg(name)))
                << int(c) << payload << changed;
        };
        Contact me = contact("999", "Me");
        row(CMD_GetUserProfile, "own profile", var(me), {"profile Me @"});
        row(CMD_GetQuorvelId, "own id", QVariant("me_id"), {"profile  @me_id"});
        for (Command c : {CMD_AddContact, CMD_UpdateContact, CMD_UpdateMuteStatus, CMD_BlockUser})
            row(c, "contact", var(contact("100", "Anna")),
                {"contacts Anna,Bob", "row 100: Anna / hi Ann / 0"});
        row(CMD_DeleteContact, "contact gone", var(contact("200", "Bob")), {"contacts Ann"});
        row(CMD_GetContacts, "contact list",
            var(QHash<QString, Contact>{{"300", contact("300", "Cy")}}), {"contacts Ann,Bob,Cy"});
        for (Command c :
             {CMD_ChannelData, CMD_ChannelAdded, CMD_ChannelUpdateMute, CMD_ChannelEdit})
            row(c, "channel", var(channel("c3", "Art", 500)),
                {"channels c3,c1,c2", "row c3: Art / Art news / 0"});
        row(CMD_ChannelList, "channel list", var(QList<ChannelInfo>{channel("c4", "Map", 10, 4)}),
            {"channels c4,c1,c2", "row c4: Map / Map news / 4", "badges 0 1 4"});
        // The joined channel opens, asked for as it now stands (its count)
        // and for its history; it is seen only once that history is in view.
        row(CMD_ChannelJoin, "joined", QVariant("c2"), {"open c2", "sent 20 c2", "sent 25 "});
        for (Command c : {CMD_ChannelLeave, CMD_ChannelDelete})
            row(c, "channel gone", QVariant("c1"), {"channels c2", "open -"});
        for (Command c : {CMD_GroupMessageReceived, CMD_ChannelLastMessageChanged})
            row(c, "channel last message",
                var(message(MessageBase::MsgMajorType_ChannelChat, "c2", "x", "late", 3000)),
                {"channels c2,c1", "row c2: Sport / late / 0"});
        // A members page reaches the administrators' panel of its channel's
        // window; one for a channel without a window or a row goes nowhere.
        const auto members = [](const QString& channelId) {
            ChannelMembersRequest request;
            request.setChannelId(channelId);
            ChannelMemberProfile owner, admin, member;
            owner.setUserName("o1");
            owner.setRole(ChannelRole::OWNER);
            admin.setUserName("a1");
            admin.setRole(ChannelRole::ADMIN);
            member.setUserName("m1");
            member.setRole(ChannelRole::MEMBER);
            ChannelMembersReply reply;
            reply.setReq(request);
            reply.setProfiles({owner, admin, member});
            return var(reply);
        };
        row(CMD_ChannelGetMembers, "members of the open channel", members("c1"), {"admins o1,a1"});
        for (const char* elsewhere : {"c2", "c9"})
            row(CMD_ChannelGetMembers, elsewhere, members(elsewhere), none);
        ChannelLookup lookup;
        lookup.setId("found");
        lookup.setName("Found");
        row(CMD_ChannelLookup, "channel look-up", var(lookup), {"lookup Found"});
        row(CMD_ChatsData, "ignored list", QVariant(), none);
        row(CMD_GetChatRecipients, "chat list", var(QList<ChatRecipient>{chat("300", "Cy")}),
            {"chats 300,100,200", "row 300: Cy /  / 0"});
        row(CMD_ChatRecipientAdded, "chat added", var(chat("300", "Cy")),
            {"chats 300,100,200", "row 300: Cy /  / 0"});
        ChatRecipient unread = chat("300", "Cy");
        unread.setUnreadCount(2);
        row(CMD_ChatRecipientAdded, "chat added with unread messages", var(unread),
            {"chats 300,100,200", "row 300: Cy /  / 2", "badges 2 1 0"});
        for (Command c : {CMD_MessageAdded, CMD_MessageEdited})
            row(c, "chat message",
                var(message(MessageBase::MsgMajorType_SimpleChat, "200", "n", "new", 5000)),
                {"chats 200,100", "row 200: Bob / new / 1", "badges 1 1 0"});
        MessagePair pair;
        pair.setMessage(message(MessageBase::MsgMajorType_ChannelChat, "c2", "p", "post", 4000));
        row(CMD_MessagePairAdded, "channel message with reply", var(pair),
            {"channels c2,c1", "row c2: Sport / post / 1", "badges 0 1 1"});
        row(CMD_DeleteChat, "chat gone", QVariant("100"), {"chats 200"});
        row(CMD_GroupCreate, "group created", QVariant("g9"), {"sent 52 g9"});
        UISetting setting;
        setting.setUserName("989120000001");
        row(CMD_Getsetting, "settings", var(setting), {"user 989120000001"});
        NotificationMessage elsewhere;
        elsewhere.setTitle("Bob");
        elsewhere.setMessage(message(MessageBase::MsgMajorType_SimpleChat, "200", "q", "yo", 1));
        row(CMD_Notification, "notification", var(elsewhere), {"balloon Bob|yo"});
        row(CMD_ChatServerState, "connecting", QVariant(int(Connecting)),
            {"connection " + QCoreApplication::translate("ConnectionStatusWidget", "_connecting")});
        row(CMD_ForceUpdate, "forced update", QVariant(), {"forced update 1"});
        row(CMD_Logout, "signed out", QVariant(), {"warning Logout"});
        row(CMD_ToastMessage, "toast", QVariant("hello"), {"toast hello"});
        row(CMD_DiskFullForArrivals, "arrivals wait for disk space", QVariant(true),
            {"disk notice " +
             QCoreApplication::translate("DiskFullNotice", "_newMessagesWaitForDiskSpace")});
        row(CMD_DiskFullForArrivals, "arrivals taken again", QVariant(false), none);
        // A member or role change asks for the channel again.
        for (Command c :
             {CMD_ChannelAddMember, CMD_ChannelRemoveMember, CMD_ChannelChangeMemberRole})
            row(c, "member change", var(ChannelMemberRole("c1", "u1", ChannelRole::ADMIN)),
                {"sent 20 c1"});
        // A look-up that found no one shows nothing; every other answer is
        // ignored, as are values outside the command range.
        for (Command c : {CMD_UserLookup, CMD_GroupLookup})
            row(c, "nothing found", QVariant(), none);
        for (int c : {1,  2,  3,  12, 13, 14, 19, 29, 36, 41, 43, 49, 57,
                      59, 60, 61, 62, 63, 64, 70, 74, 75, 77, 80, -1})
            row(Command(c), "ignored", QVariant("c1"), none);
    }
    void everyAnswerHasItsEffect()
    {
        QFETCH(int, command);
        QFETCH(QVariant, payload);
        QFETCH(QStringList, changed);
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QHash<QString, Contact> contacts{{"100", contact("100", "Ann")},
                                         {"200", contact("200", "Bob")}};
        window.commandResponse(CMD_GetContacts, var(contacts));
        ChatRecipient ann = chat("100", "Ann");
        ann.setLastMsg(message(MessageBase::MsgMajorType_SimpleChat, "100", "a", "hi Ann", 100));
        window.commandResponse(CMD_GetChatRecipients,
                               var(QList<ChatRecipient>{ann, chat("200", "Bob")}));
        window.commandResponse(
            CMD_ChannelList,
            var(QList<ChannelInfo>{channel("c1", "News", 2000, 2, ChannelRole::OWNER),
                                   channel("c2", "Sport", 1000)}));
        window.commandResponse(CMD_GroupsList, var(QList<GroupInfo>{group("g1", "Team", 500, 1)}));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.commandResponse(CMD_ChannelJoin, QVariant("c1"));
        // The opened channel's history comes: an empty page is all there is
        // to read, so the channel is seen.
        MessageRequest asked;
        asked.setChatId("c1");
        asked.setChatType(MessageBase::MsgMajorType_ChannelChat);
        asked.setNumber(5);
        MessageReply history;
        history.setRequest(asked);
        window.commandResponse(CMD_GetChannelMessages, var(history));
        ToastMessage::getInstance()->hide();
        QSignalSpy sent(&window, &MessengerMainWindow::command);
        QSignalSpy balloons(window.getTrayNotifier(), &TrayNotifier::balloonShown);
        const QStringList before = snapshot(window, sent, balloons);
        QVERIFY2(before.contains("open c1"), qPrintable(before.join('\n')));
        QVERIFY2(before.contains("badges 0 1 0"), qPrintable(before.join('\n')));

        window.commandResponse(Command(command), payload);
        const QStringList actual = changes(before, snapshot(window, sent, balloons));
        QVERIFY2(actual == changed, qPrintable(actual.join(" | ")));
    }

    // The group tab leads to the create-group form, from its header and from
    // the empty list's own button; the group made opens its chat as soon as
    // it is listed, while a group others add the user to opens nothing.
    void newGroupOpensItsChat_data()
    {
        QTest::addColumn<bool>("fromEmptyList");
        QTest::newRow("header") << false;
        QTest::newRow("empty list") << true;
    }
    void newGroupOpensItsChat()
    {
        QFETCH(bool, fromEmptyList);
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SidePanel* panel = window.getSidePanel();
        GroupTab* tab = panel->getGroupTab();
        QTest::mouseClick(panel->getGroupButton(), Qt::LeftButton);
        QCOMPARE(panel->getCurrentTab(), int(SidePanel::Groups));
        QVERIFY(tab->headerNewGroupButton()->isVisible());
        QVERIFY(tab->emptyNewGroupButton()->isVisible());
        FlatButton* way = fromEmptyList ? tab->emptyNewGroupButton() : tab->headerNewGroupButton();
        QTest::mouseClick(way, Qt::LeftButton, Qt::NoModifier, way->rect().center());
        CreateGroup* form = window.getCreateGroup();
        QTRY_VERIFY(form->isVisible());
        QTest::mouseClick(form->nameField(), Qt::LeftButton);
        QTest::keyClicks(form->nameField(), "Hikers");
        QTest::mouseClick(form->nextButton(), Qt::LeftButton);
        QSignalSpy sent(&window, &MessengerMainWindow::command);
        QTest::mouseClick(form->createButton(), Qt::LeftButton);
        QVERIFY(form->isHidden());
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).at(0).value<Command>(), CMD_GroupCreate);
        QCOMPARE(sent.at(0).at(1).value<GroupInfoMembers>().getInfo().getName(),
                 QStringLiteral("Hikers"));

        // The user looks at the chats meanwhile; another group arrives first.
        QTest::mouseClick(panel->getChatButton(), Qt::LeftButton);
        window.commandResponse(CMD_GroupCreate, QVariant("g9"));
        window.commandResponse(CMD_GroupAdded, var(group("g8", "Others", 100)));
        QCOMPARE(panel->getCurrentTab(), int(SidePanel::Chats));
        QVERIFY(!window.getContentPanel()->currentWidget());
        window.commandResponse(CMD_GroupAdded, var(group("g9", "Hikers", 0)));
        QCOMPARE(panel->getCurrentTab(), int(SidePanel::Groups));
        QVERIFY(window.getContentPanel()->currentWidget());
        QCOMPARE(window.getContentPanel()->currentWidget()->getChatId(), QStringLiteral("g9"));
        QVERIFY(!tab->emptyNewGroupButton()->isVisible());
        QVERIFY(tab->headerNewGroupButton()->isVisible());
        // Only once: the group's later data leaves the user where he is.
        QTest::mouseClick(panel->getChatButton(), Qt::LeftButton);
        window.commandResponse(CMD_GroupGetData, var(group("g9", "Hikers!", 0)));
        QCOMPARE(panel->getCurrentTab(), int(SidePanel::Chats));
    }

    // A group member's profile, opened from his row in the group's panel,
    // leads to a chat with him.
    void memberProfileStartsAChat()
    {
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        SidePanel* panel = window.getSidePanel();
        window.commandResponse(CMD_GroupsList, var(QList<GroupInfo>{group("g1", "Team", 500)}));
        QTest::mouseClick(panel->getGroupButton(), Qt::LeftButton);
        ChatWidget* row = panel->getGroupTab()->row("g1");
        QVERIFY(row);
        QTest::mouseClick(row, Qt::LeftButton);
        ChatWindow* open = window.getContentPanel()->currentWidget();
        QVERIFY(open && open->getChatId() == QLatin1String("g1"));
        GroupInfoMembers members;
        members.setInfo(group("g1", "Team", 500));
        GroupMember zed;
        zed.setUserName("300");
        zed.setRole(GroupRole::MEMBER);
        Profile profile;
        profile.setMemberID("300");
        profile.setNickName("Zed");
        zed.setProfile(profile);
        members.insertMember(zed);
        window.commandResponse(CMD_GroupInfoMembers, var(members));
        QCOMPARE(open->groupPanel()->memberRows().size(), 1);
        open->groupPanel()->memberRows().first()->seeProfileAction()->trigger();
        ContactProfile* shown = open->contactPanel();
        QVERIFY(shown);
        QTRY_VERIFY(shown->isVisible());
        QTest::mouseClick(shown->sendMessageButton(), Qt::LeftButton);
        QTRY_VERIFY(window.getContentPanel()->currentWidget() &&
                    window.getContentPanel()->currentWidget()->getChatId() == QLatin1String("300"));
        QCOMPARE(panel->getChatTab()->rowIds(), QStringList({"300"}));
    }

    // The directory's row of a channel says "Visit" once the user follows it
    // and "Follow" again once the user leaves it, from the core's answers.
    void directoryRowFollowsJoinAndLeave()
    {
        MessengerMainWindow window;
        window.resize(1000, 700);
        window.show();
        ChannelCategoryPopUp* directory = window.getChannelDirectory();
        directory->resize(window.size());
        directory->show();
        ChannelCategory news;
        news.setCategoryID("1");
        news.setCategoryName("News");
        window.commandResponse(CMD_ChannelCategories,
                               QVariant::fromValue(QHash<QString, ChannelCategory>{{"1", news}}));
        QCOMPARE(directory->tileCount(), 1);
        QTest::mouseClick(directory->tiles().first(), Qt::LeftButton);
        ChannelInfo daily = channel("daily", "Daily", 0);
        daily.setFollowed("0");
        BrowseCategoryResult result;
        result.setInfos({daily});
        window.commandResponse(CMD_BrowseChannelCategory, QVariant::fromValue(result));
        auto* row = qobject_cast<ChannelAbstractWidget*>(directory->channelList()->rows().value(0));
        QVERIFY(row);
        const QString follow =
            QCoreApplication::translate("ChannelAbstractWidget", "_FollowString");
        const QString visit = QCoreApplication::translate("ChannelAbstractWidget", "_VisitString");
        QCOMPARE(row->followButton()->text(), follow);
        window.commandResponse(CMD_ChannelJoin, QVariant("daily"));
        QCOMPARE(row->followButton()->text(), visit);
        window.commandResponse(CMD_ChannelLeave, QVariant("daily"));
        QCOMPARE(row->followButton()->text(), follow);
    }

    void ignoredAnswersHaveNoRow()
    {
        for (Command c :
             {CMD_UserProfile, CMD_SetProfile, CMD_ErrorCode, CMD_SaveMainSettings, CMD_LikeSend})
            QVERIFY(!AnswerDispatch::table().contains(int(c)));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
