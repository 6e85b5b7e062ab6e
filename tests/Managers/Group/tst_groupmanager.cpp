// The group manager against its real stores: loading, the group list, the
// procedures with their pending groups and look-up queues, messages, control
// messages, missed messages, archives and history pages. Replies are handed
// in the way the Manager hands them over: processReply, then result.
#include "Managers/Group/groupmanager.h"
#include "groupfixtures.h"
#include "model/globalconstants.h"
#include "model/messagestate.h"

#include <QtTest>

#include <memory>

using namespace GroupFixtures;

namespace {
const QString Me = QStringLiteral("989120000000");
const QString A = QStringLiteral("pri_me_1");
const QString B = QStringLiteral("pri_me_2");
const QString C = QStringLiteral("pri_me_3");
const QStringList AllGroups{A, B, C, QStringLiteral("broken")};

QJsonObject replyOf(const QJsonObject& fields)
{
    QJsonObject reply = fields;
    reply.insert("ResultCode", 200);
    return reply;
}

QJsonObject stanzaReply(const QStringList& stanzas, bool encoded = false)
{
    QJsonArray array;
    for (const QString& text : stanzas)
        array.append(encoded ? QString::fromLatin1(text.toUtf8().toBase64()) : text);
    return replyOf({{"Messages", array}, {"MessagesBase64Encoded", encoded ? "1" : "0"}});
}

QStringList idsOf(const QList<Message>& list)
{
    QStringList ids;
    for (const Message& message : list)
        ids.append(message.getMessageId());
    return ids;
}
} // namespace

// A loaded GroupManager with everything it emits recorded.
class Harness
{
public:
    Harness()
    {
        QObject::connect(&manager, &GroupManager::start,
                         [this](Procedure p, const QHash<QString, QJsonValue>& inputs) {
                             sent.append({p, inputs});
                         });
        QObject::connect(&manager, &GroupManager::commandResponse,
                         [this](Command c, const QVariant& v) {
                             answers.append({c, v});
                         });
        QObject::connect(&manager, &GroupManager::notification,
                         [this](const NotificationMessage& n) { notes.append(n); });
        QObject::connect(&manager, &GroupManager::setXmppRooms,
                         [this](const QStringList& ids) { rooms.append(ids); });
        QObject::connect(&manager, &GroupManager::groupRemoved,
                         [this](const QString& id) { removed.append(id); });
        QObject::connect(&manager, &GroupManager::groupCreated,
                         [this](const QString& id) { created.append(id); });
        QObject::connect(&manager, &GroupManager::groupMembersInfoUpdate,
                         [this](const GroupInfoMembers& m) { membersUpdates.append(m); });
        QObject::connect(&manager, &GroupManager::messageReply,
                         [this](const MessageReply& r) { laterPages.append(r); });
        manager.setUserIdentity(UserIdentityPtr::create(Me));
        manager.startLoading();
    }

    // Hands a reply over and reports the outcome, as the Manager does.
    void reply(Procedure p, const QJsonObject& object = replyOf({}))
    {
        manager.processReply(p, object);
        manager.result(p, 200);
    }
    void fail(Procedure p, int code = 100) { manager.result(p, code); }

    QList<QHash<QString, QJsonValue>> sentOf(Procedure p) const
    {
        QList<QHash<QString, QJsonValue>> list;
        for (const auto& request : sent) {
            if (request.first == p)
                list.append(request.second);
        }
        return list;
    }
    QStringList groupsSent(Procedure p) const
    {
        QStringList ids;
        for (const auto& inputs : sentOf(p))
            ids.append(inputs.value("GroupJID").toString());
        return ids;
    }
    QList<QVariant> answersOf(Command c) const
    {
        QList<QVariant> list;
        for (const auto& answer : answers) {
            if (answer.first == c)
                list.append(answer.second);
        }
        return list;
    }
    QStringList listed()
    {
        QStringList ids;
        for (const GroupInfo& info : manager.getGroupListSorted())
            ids.append(info.getJid());
        return ids;
    }
    void clear()
    {
        sent.clear();
        answers.clear();
        notes.clear();
        rooms.clear();
        removed.clear();
        created.clear();
        membersUpdates.clear();
        laterPages.clear();
    }

    GroupManager manager;
    QList<QPair<Procedure, QHash<QString, QJsonValue>>> sent;
    QList<QPair<Command, QVariant>> answers;
    QList<NotificationMessage> notes;
    QList<QStringList> rooms;
    QStringList removed;
    QStringList created;
    QList<GroupInfoMembers> membersUpdates;
    QList<MessageReply> laterPages;
};

class TestGroupManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void loadingSkipsUnreadableRecordsAndOpensNoStore();
    void groupListOpensNoStore();
    void userListMarksRemovedOnceAndNamingAgainRestores();
    void removalAndInvitationAreCheckedWithTheService();
    void groupIdsThatWouldBreakTheStoreAreRefused_data();
    void groupIdsThatWouldBreakTheStoreAreRefused();
    void createThroughLookupsAndSurviveRestart();
    void lookupQueuesRunOneAtATimeAndReleaseOnFailure();
    void memberAddsAreRefreshedInOrder();
    void changesLeaveAndHistoryRemoval();

    void messagesNotificationsAndDuplicates();
    void controlMessages_data();
    void controlMessages();
    void editsOnlyByTheirAuthor();
    void replayedHistoryIsOnlyAHint();
    void keepersWordOnlyMakesTheServiceBeAsked();
    void noticesInTheServicesRecordAreOnlyHints();

    void missedMessagesSinceRequestTime();
    void historyPages();
    void historyNeverStaysPending();
};

void TestGroupManager::initTestCase()
{
    GlobalConstants::setUserName(Me);
}

void TestGroupManager::init()
{
    for (const QString& id : AllGroups) {
        Chat chat;
        chat.setChatId(id, Chat::ChatMode_Stored);
        chat.clear();
    }
    DataBase store;
    store.setDBName("groupsDatabase");
    store.remove();
}

void TestGroupManager::loadingSkipsUnreadableRecordsAndOpensNoStore()
{
    {
        DataBase store;
        store.setDBName("groupsDatabase");
        store.put("PrivateGroups", QString(A + ",,broken," + B + "," + C + ","));
        for (const QString& id : {A, B, C}) {
            GroupInfo info(groupJson(id, "group " + id));
            store.put(id, QString::fromUtf8(QJsonDocument(info.toDBJsonObject()).toJson()));
        }
        store.put("broken", QString("{\"GroupJID\":\"broken\""));
        store.put("MEMBERS_" + A,
                  QString::fromUtf8(QJsonDocument(QJsonArray{memberJson("u1")}).toJson()));
        store.put("MEMBERS_" + B, QString("{\"not\":\"an array\"}"));
        Chat a;
        a.setChatId(A, Chat::ChatMode_Stored);
        a.addMessage(groupMessage(A, "a1", 3, "u1"));
        Chat b;
        b.setChatId(B, Chat::ChatMode_Stored);
        b.addMessage(groupMessage(B, "b1", 5, "u1"));
    }
    Harness h;
    QVERIFY(h.manager.contains(A) && h.manager.contains(B) && h.manager.contains(C));
    QVERIFY(!h.manager.contains("broken"));
    QCOMPARE(h.manager.getMembers(A).keys(), QStringList{"u1"});
    QVERIFY(h.manager.getMembers(B).isEmpty());

    // Loading opened no message store: this process can still open one.
    {
        Chat probe;
        probe.setChatId(A, Chat::ChatMode_Stored);
        QVERIFY(probe.dbIsOpen());
    }
    // Newest activity first, groups without messages last, the unreadable
    // record left out but kept in the stored list.
    QCOMPARE(h.listed(), (QStringList{B, A, C}));
    const QList<GroupInfo> infos = h.manager.getGroupListSorted();
    QCOMPARE(infos.first().getLastMessage().getMessageId(), QString("b1"));
    QCOMPARE(infos.first().getUnreadCount(), 1);
}

void TestGroupManager::groupListOpensNoStore()
{
    const auto summary = [](const QList<GroupInfo>& infos) {
        QStringList lines;
        for (const GroupInfo& info : infos)
            lines.append(QStringLiteral("%1 %2 %3")
                             .arg(info.getJid(), info.getLastMessage().getMessageId())
                             .arg(info.getUnreadCount()));
        return lines;
    };
    QStringList before;
    {
        Harness h;
        h.reply(PROC_UserList,
                replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B), groupJson(C)}}}));
        QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "a1", 100, "u1")));
        QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "a2", 300, "u2")));
        QVERIFY(h.manager.storeArrivedMessage(groupMessage(B, "b1", 200, "u1")));
        QVERIFY(h.manager.storeArrivedMessage(groupMessage(B, "b2", 150, "u1")));
        before = summary(h.manager.getGroupListSorted());
        QCOMPARE(before, (QStringList{A + " a2 2", B + " b1 2", C + "  0"}));
    }
    QCOMPARE(QLevelDB::residentCount(), 0);
    {
        Harness h;
        // The manager's own store is open; no group's store is.
        QCOMPARE(QLevelDB::residentCount(), 1);
        QCOMPARE(summary(h.manager.getGroupListSorted()), before);
        QCOMPARE(QLevelDB::residentCount(), 1);
        // A message read and a new one arriving reach the next start's list.
        QVERIFY(!h.manager.changeMessageStatesToSeen(A, {"a2"}).isEmpty());
        QVERIFY(h.manager.storeArrivedMessage(groupMessage(B, "b3", 400, "u1")));
    }
    Harness h;
    QCOMPARE(summary(h.manager.getGroupListSorted()),
             (QStringList{B + " b3 3", A + " a2 0", C + "  0"}));
    QCOMPARE(QLevelDB::residentCount(), 1);
}

void TestGroupManager::userListMarksRemovedOnceAndNamingAgainRestores()
{
    Harness h;
    h.manager.onInitialize();
    QCOMPARE(h.sentOf(PROC_UserList).size(), 1);
    h.reply(PROC_UserList,
            replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B), "junk"}}}));
    QCOMPARE(h.rooms.last(), (QStringList{A, B}));
    QCOMPARE(h.answersOf(CMD_GroupAdded).size(), 2);
    // New groups without messages ask for their newest archived messages.
    QCOMPARE(h.groupsSent(PROC_GroupArchive), (QStringList{A, B}));

    GroupInfo mute;
    mute.setJid(A);
    mute.setMute(true);
    h.manager.updateMute(mute);
    h.clear();
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    QCOMPARE(h.answersOf(CMD_GroupGetData).size(), 2); // B marked removed, A refreshed
    GroupInfo info;
    QVERIFY(h.manager.getGroupInfo(B, &info) && info.getRemoved());
    QVERIFY(h.manager.getGroupInfo(A, &info) && info.getMute() && !info.getRemoved());

    h.clear();
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    QCOMPARE(h.answersOf(CMD_GroupGetData).size(), 1); // A only: B is not answered again
    QCOMPARE(h.listed().size(), 2);

    // Named again: a member once more, and its room is joined.
    h.clear();
    h.reply(PROC_UserList,
            replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B, "back")}}}));
    QVERIFY(h.manager.getGroupInfo(B, &info) && !info.getRemoved());
    QCOMPARE(info.getName(), QString("back"));
    QCOMPARE(h.rooms.last(), (QStringList{A, B}));

    // A reply without the list changes nothing.
    h.clear();
    h.reply(PROC_UserList, replyOf({}));
    QVERIFY(h.answers.isEmpty() && h.rooms.isEmpty());
}

void TestGroupManager::removalAndInvitationAreCheckedWithTheService()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    h.clear();
    const Message removal = controlMessage(A, "rm", MessageBase::MsgMinorType_GroupRemove, "boss",
                                           {{"REMOVED_USER_ID", Me}});
    // Whoever sent it, a removal only makes the service be asked.
    h.manager.processControlMessage(removal);
    GroupInfo info;
    QVERIFY(h.manager.getGroupInfo(A, &info) && !info.getRemoved());
    QCOMPARE(h.sentOf(PROC_UserList).size(), 1);
    // Asked again while the first question is out: one more question after it.
    h.manager.processControlMessage(removal);
    QCOMPARE(h.sentOf(PROC_UserList).size(), 1);
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    QVERIFY(h.manager.getGroupInfo(A, &info) && !info.getRemoved());
    QCOMPARE(h.sentOf(PROC_UserList).size(), 2);
    // The service no longer names the group: the removal is real.
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{}}}));
    QVERIFY(h.manager.getGroupInfo(A, &info) && info.getRemoved());

    // An invitation joins the room only once the service names the user a
    // member of the group; it is not kept.
    h.clear();
    h.manager.processControlMessage(controlMessage(Me, "inv",
                                                   MessageBase::MsgMinorType_GroupInvitation,
                                                   "boss", {{"JID", A}, {"USER_ROLE", "MEMBER"}}));
    QVERIFY(h.rooms.isEmpty());
    QCOMPARE(h.groupsSent(PROC_GroupData), QStringList{A});
    QVERIFY(h.answersOf(CMD_MessagePairAdded).isEmpty());
    h.reply(PROC_GroupData, replyOf(groupJson(A)));
    QVERIFY(h.manager.getGroupInfo(A, &info) && !info.getRemoved());
    QCOMPARE(h.rooms, QList<QStringList>{{A}});

    // A stranger's invitation to a group the service does not give the user
    // joins nothing and adds nothing.
    h.clear();
    h.manager.processControlMessage(controlMessage(
        Me, "inv2", MessageBase::MsgMinorType_GroupInvitation, "stranger", {{"JID", B}}));
    QCOMPARE(h.groupsSent(PROC_GroupData), QStringList{B});
    h.fail(PROC_GroupData, 404);
    QJsonObject notMine = groupJson(C);
    notMine.insert("MyRole", "NONE");
    h.manager.enqueueGroupDataRequest(C);
    h.reply(PROC_GroupData, replyOf(notMine));
    QVERIFY(h.rooms.isEmpty());
    QVERIFY(!h.manager.contains(B) && !h.manager.contains(C));
    QVERIFY(h.answersOf(CMD_GroupAdded).isEmpty());
}

void TestGroupManager::groupIdsThatWouldBreakTheStoreAreRefused_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("comma") << "pri_a,pri_b";
    QTest::newRow("the list's key") << "PrivateGroups";
    QTest::newRow("a members key") << "MEMBERS_pri_me_1";
    QTest::newRow("the time key") << "lastTimeNewMessagesCalled";
}

void TestGroupManager::groupIdsThatWouldBreakTheStoreAreRefused()
{
    QFETCH(QString, id);
    {
        Harness h;
        h.reply(PROC_UserList,
                replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(id)}}}));
        h.manager.enqueueGroupDataRequest(id);
        h.reply(PROC_GroupData, replyOf(groupJson(id)));
        h.manager.processControlMessage(controlMessage(
            Me, "inv", MessageBase::MsgMinorType_GroupInvitation, "boss", {{"JID", id}}));
        QCOMPARE(h.listed(), QStringList{A});
        QCOMPARE(h.rooms.first(), QStringList{A});
        QCOMPARE(h.rooms.size(), 1);
    }
    Harness again;
    QCOMPARE(again.listed(), QStringList{A});
    QVERIFY(!again.manager.contains(id));
    QVERIFY(GroupManager::isValidGroupId(A));
    QVERIFY(!GroupManager::isValidGroupId(id));
}

void TestGroupManager::createThroughLookupsAndSurviveRestart()
{
    QString id;
    {
        Harness h;
        h.manager.startCreateGroup("", "d", "", "", {"a"});
        QVERIFY(h.sent.isEmpty());
        h.manager.startCreateGroup("Friends", "about", "https://f/a", "https://f/t", {"a", "b"});
        QCOMPARE(h.sentOf(PROC_GroupCreate).size(), 1);
        const auto inputs = h.sentOf(PROC_GroupCreate).first();
        id = inputs.value("GroupJID").toString();
        QVERIFY(id.startsWith("pri_" + Me + "_"));
        QCOMPARE(inputs.value("Members").toArray(),
                 (QJsonArray{QJsonObject{{"Username", Me}, {"Role", "ADMIN"}},
                             QJsonObject{{"Username", "a"}, {"Role", "MEMBER"}},
                             QJsonObject{{"Username", "b"}, {"Role", "MEMBER"}}}));
        QCOMPARE(inputs.value("GroupName").toString(), QString("Friends"));
        QCOMPARE(inputs.value("GroupAvatarThumbnailURL").toString(), QString("https://f/t"));

        h.reply(PROC_GroupCreate);
        QCOMPARE(h.created, QStringList{id});
        QCOMPARE(h.groupsSent(PROC_GroupData), QStringList{id});
        QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), QStringList{id});
        // A second create reply with nothing pending does nothing.
        h.reply(PROC_GroupCreate);
        QCOMPARE(h.created.size(), 1);

        h.reply(PROC_GroupData, replyOf(groupJson(id)));
        QCOMPARE(h.answersOf(CMD_GroupAdded).size(), 1);
        QCOMPARE(h.answersOf(CMD_GroupAdded).first().value<GroupInfo>().getJid(), id);
        QCOMPARE(h.groupsSent(PROC_GroupArchive), QStringList{id});
        h.reply(PROC_GroupMembersInfo,
                replyOf({{"Members",
                          QJsonArray{memberJson(Me, "ADMIN"), memberJson("a"), memberJson("b")}}}));
        QCOMPARE(h.membersUpdates.size(), 1);
        QCOMPARE(h.membersUpdates.first().getMembers().size(), 3);
        QVERIFY(h.manager.addMessagePair(groupMessage(id, "m1", 100, "a"), true, true));
        QVERIFY(h.manager.addMessagePair(groupMessage(id, "m2", 200, Me), false, true));
    }
    Harness restarted;
    QCOMPARE(restarted.listed(), QStringList{id});
    QCOMPARE(restarted.manager.getMembers(id).size(), 3);
    QCOMPARE(restarted.manager.getMembers(id).value(Me).getRole(), GroupRole::ADMIN);
    Message last;
    QVERIFY(restarted.manager.getLastMessage(id, &last));
    QCOMPARE(last.getMessageId(), QString("m2"));
    GroupInfo info;
    QVERIFY(restarted.manager.getGroupInfo(id, &info));
    QCOMPARE(info.getName(), QString("Friends"));
}

void TestGroupManager::lookupQueuesRunOneAtATimeAndReleaseOnFailure()
{
    Harness h;
    h.manager.enqueueGroupDataRequest(A);
    h.manager.enqueueGroupDataRequest(A);
    h.manager.enqueueGroupDataRequest(B);
    h.manager.enqueueGroupDataRequest(C);
    h.manager.enqueueGroupDataRequest("");
    QCOMPARE(h.groupsSent(PROC_GroupData), QStringList{A});
    QVERIFY(h.manager.groupDataRequestQueueContains(C));
    // Tries ran out: the next one goes.
    h.fail(PROC_GroupData);
    QCOMPARE(h.groupsSent(PROC_GroupData), (QStringList{A, B}));
    // A reply that cannot be read still ends the request in flight.
    h.reply(PROC_GroupData, replyOf({{"GroupJID", B}}));
    QCOMPARE(h.groupsSent(PROC_GroupData), (QStringList{A, B, C}));
    h.reply(PROC_GroupData, replyOf(groupJson(C)));
    QVERIFY(h.manager.contains(C));
    QVERIFY(!h.manager.groupDataRequestQueueContains(C));
    h.manager.enqueueGroupDataRequest(A);
    QCOMPARE(h.groupsSent(PROC_GroupData).size(), 4);

    h.manager.enqueueMembersInfoRequest(C);
    h.manager.enqueueMembersInfoRequest(C);
    h.manager.enqueueMembersInfoRequest(B);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), QStringList{C});
    h.fail(PROC_GroupMembersInfo, 500);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{C, B}));
    // A members reply for a group not known is dropped and the queue goes on.
    h.manager.enqueueMembersInfoRequest(C);
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{memberJson("x")}}}));
    QVERIFY(h.membersUpdates.isEmpty());
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{C, B, C}));
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{memberJson("x")}}}));
    QCOMPARE(h.membersUpdates.size(), 1);
    QCOMPARE(h.manager.getMembers(C).keys(), QStringList{"x"});
}

void TestGroupManager::memberAddsAreRefreshedInOrder()
{
    Harness h;
    h.manager.startGroupAddMember(A, {"u1", "u2"});
    h.manager.startGroupAddAdmin(B, {"u3"});
    h.manager.startGroupAddMember(C, {"u4"});
    const auto adds = h.sentOf(PROC_GroupAddMember);
    QCOMPARE(adds.size(), 3);
    QCOMPARE(adds.at(0).value("Members").toArray(),
             (QJsonArray{QJsonObject{{"Username", "u1"}, {"Role", "MEMBER"}},
                         QJsonObject{{"Username", "u2"}, {"Role", "MEMBER"}}}));
    QCOMPARE(adds.at(1).value("Members").toArray(),
             (QJsonArray{QJsonObject{{"Username", "u3"}, {"Role", "ADMIN"}}}));
    // The first fails; the others are refreshed by their own replies.
    h.fail(PROC_GroupAddMember, 400);
    h.reply(PROC_GroupAddMember);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), QStringList{B});
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{}}}));
    h.reply(PROC_GroupAddMember);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{B, C}));
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{}}}));
    // A reply with nothing pending refreshes nothing.
    h.reply(PROC_GroupAddMember);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo).size(), 2);

    // Two changes of A while its member list is being fetched: the list may
    // predate them, so it is fetched once more afterwards (and only once).
    h.manager.enqueueMembersInfoRequest(A);
    h.manager.startGroupAddMember(A, {"u5"});
    h.manager.startGroupRemoveMember(A, "u1");
    h.reply(PROC_GroupAddMember);
    h.reply(PROC_GroupRemoveMember);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{B, C, A}));
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{}}}));
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{B, C, A, A}));
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{}}}));
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo).size(), 4);
}

void TestGroupManager::changesLeaveAndHistoryRemoval()
{
    auto harness = std::make_unique<Harness>();
    Harness& h = *harness;
    h.reply(PROC_UserList,
            replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B), groupJson(C)}}}));
    QVERIFY(h.manager.addMessagePair(groupMessage(A, "m1", 100, "u1"), false, false));
    h.clear();

    h.manager.startGroupRemoveMember(A, "u1");
    QCOMPARE(h.sentOf(PROC_GroupRemoveMember).first().value("MemberUsername").toString(),
             QString("u1"));
    h.fail(PROC_GroupRemoveMember, 500);
    h.reply(PROC_GroupRemoveMember);
    QVERIFY(h.sentOf(PROC_GroupMembersInfo).isEmpty());
    h.manager.startGroupRemoveMember(A, "u1");
    h.reply(PROC_GroupRemoveMember);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), QStringList{A});
    h.reply(PROC_GroupMembersInfo, replyOf({{"Members", QJsonArray{}}}));

    h.manager.startGroupChangeRole(B, "u2", GroupRole::ADMIN);
    QCOMPARE(h.sentOf(PROC_GroupChangeRole).first().value("MemberNewRole").toString(),
             QString("ADMIN"));
    h.reply(PROC_GroupChangeRole);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), (QStringList{A, B}));

    GroupInfo change(groupJson(A, "renamed"));
    h.manager.respondGroupChangeData(change);
    QCOMPARE(h.sentOf(PROC_GroupChangeData).first().value("GroupName").toString(),
             QString("renamed"));
    h.reply(PROC_GroupChangeData);
    GroupInfo info;
    QVERIFY(h.manager.getGroupInfo(A, &info));
    QCOMPARE(info.getName(), QString("renamed"));
    QCOMPARE(info.getLastMessage().getMessageId(), QString("m1"));
    QCOMPARE(h.answersOf(CMD_GroupGetData).last().value<GroupInfo>().getName(), QString("renamed"));

    // Leaving removes the group once the service confirms.
    h.manager.startGroupLeave(B);
    QVERIFY(h.manager.contains(B));
    h.reply(PROC_GroupLeave);
    QCOMPARE(h.removed, QStringList{B});
    QVERIFY(!h.manager.contains(B));
    h.reply(PROC_GroupLeave);
    QCOMPARE(h.removed.size(), 1);

    h.manager.removeHistory(A);
    QCOMPARE(h.removed, (QStringList{B, A}));
    QVERIFY(h.sentOf(PROC_GroupLeave).size() == 1);
    QCOMPARE(h.listed(), QStringList{C});
    h.manager.processReply(PROC_GroupData, replyOf({})); // nothing pending: harmless

    harness.reset();
    Harness restarted;
    QCOMPARE(restarted.listed(), QStringList{C});
    Chat probe;
    probe.setChatId(A, Chat::ChatMode_Stored);
    QVERIFY(probe.isEmpty());
}

void TestGroupManager::messagesNotificationsAndDuplicates()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B)}}}));
    h.clear();
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "m1", 100, "u1")));
    QCOMPARE(h.notes.size(), 1);
    QCOMPARE(h.notes.first().getTitle(), QString("Friends"));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(h.answersOf(CMD_GroupLastMessageChanged).size(), 1);

    QVERIFY(!h.manager.storeArrivedMessage(groupMessage(A, "m1", 100, "u1")));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(h.notes.size(), 1);

    // The user's own message from another device: kept, seen, no notification.
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "m2", 200, Me)));
    QCOMPARE(h.notes.size(), 1);
    Message stored;
    QVERIFY(h.manager.getLastMessage(A, &stored));
    QCOMPARE(stored.getState(), MessageBase::MsgState_Seen);

    // An older message is kept but is not the newest.
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "m0", 50, "u2")));
    QCOMPARE(h.answersOf(CMD_GroupLastMessageChanged).size(), 2);
    QCOMPARE(h.notes.size(), 2);

    // Muted: kept, not notified. Unknown group: dropped.
    h.manager.applyMuteUpdate(B, true);
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(B, "b1", 100, "u1")));
    QCOMPARE(h.notes.size(), 2);
    QVERIFY(!h.manager.storeArrivedMessage(groupMessage("pri_nobody", "x", 100, "u1")));

    // A reply carries the message it answers.
    Message reply = groupMessage(A, "r1", 300, "u2");
    reply.setReplyOnMessageId("m1");
    QVERIFY(reply.isReply());
    QVERIFY(h.manager.storeArrivedMessage(reply));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded)
                 .last()
                 .value<MessagePair>()
                 .getReplyMessage()
                 .getMessageId(),
             QString("m1"));

    // The user's own message: stored, then confirmed by the server.
    Message own = groupMessage(A, "o1", 400, Me);
    own.setState(MessageBase::MsgState_NotSent);
    QVERIFY(h.manager.storeOwnMessage(own));
    QCOMPARE(h.manager.confirmSent(own), MessageBase::MsgState_Seen);
    QCOMPARE(h.manager.confirmSent(groupMessage("pri_nobody", "o2", 1, Me)),
             MessageBase::MsgState_Draft);
}

void TestGroupManager::controlMessages_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<QJsonObject>("fields");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("membersAsked");
    QTest::addColumn<QString>("dataAsked");
    QTest::addColumn<bool>("listAsked");
    QTest::newRow("leave") << int(MessageBase::MsgMinorType_GroupLeave) << QJsonObject{} << false
                           << ""
                           << "" << false;
    QTest::newRow("created") << int(MessageBase::MsgMinorType_GroupCreated) << QJsonObject{}
                             << false << ""
                             << "" << false;
    QTest::newRow("remove other") << int(MessageBase::MsgMinorType_GroupRemove)
                                  << QJsonObject{{"REMOVED_USER_ID", "u9"}} << true << A << A
                                  << false;
    QTest::newRow("remove me") << int(MessageBase::MsgMinorType_GroupRemove)
                               << QJsonObject{{"REMOVED_USER_ID", Me}} << true << ""
                               << "" << true;
    QTest::newRow("join") << int(MessageBase::MsgMinorType_GroupJoin) << QJsonObject{} << true << A
                          << A << false;
    QTest::newRow("change role") << int(MessageBase::MsgMinorType_GroupChangeRole)
                                 << QJsonObject{{"USER_ROLE", "ADMIN"}, {"CHANGED_USER_ID", "u2"}}
                                 << true << A << A << false;
    QTest::newRow("change metadata") << int(MessageBase::MsgMinorType_GroupChangeMetadata)
                                     << QJsonObject{} << true << "" << A << false;
    QTest::newRow("seen is not for groups")
        << int(MessageBase::MsgMinorType_Seen) << QJsonObject{} << false << ""
        << "" << false;
}

void TestGroupManager::controlMessages()
{
    QFETCH(int, minor);
    QFETCH(QJsonObject, fields);
    QFETCH(bool, kept);
    QFETCH(QString, membersAsked);
    QFETCH(QString, dataAsked);
    QFETCH(bool, listAsked);
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    h.clear();
    const Message control =
        controlMessage(A, "c1", MessageBase::MsgMinorType(minor), "boss", fields);
    h.manager.applyControlMessage(control);
    // Leave and created are kept but handled no further; only kinds with an
    // effect reach the store through this path.
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), kept ? 1 : 0);
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo),
             membersAsked.isEmpty() ? QStringList() : QStringList{membersAsked});
    QCOMPARE(h.groupsSent(PROC_GroupData),
             dataAsked.isEmpty() ? QStringList() : QStringList{dataAsked});
    QCOMPARE(h.sentOf(PROC_UserList).size(), listAsked ? 1 : 0);
    // Nothing changes before the service answers.
    GroupInfo info;
    QVERIFY(h.manager.getGroupInfo(A, &info));
    QVERIFY(!info.getRemoved());
    QVERIFY(h.answersOf(CMD_GroupGetData).isEmpty());

    // Kinds that are kept arrive through the message path too.
    const bool storable = minor >= MessageBase::MsgMinorType_GroupLeave &&
                          minor <= MessageBase::MsgMinorType_GroupCreated;
    h.clear();
    QCOMPARE(
        h.manager.addMessagePair(
            controlMessage(A, "c2", MessageBase::MsgMinorType(minor), "boss", fields), false, true),
        storable);
}

void TestGroupManager::editsOnlyByTheirAuthor()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "m1", 100, "u1")));
    h.clear();
    const auto edit = [](const QString& sender, const QString& target) {
        return controlMessage(A, "e-" + sender, MessageBase::MsgMinorType_EditMessage, sender,
                              {{"EDITED_TEXT", "fixed <b>"},
                               {"UPDATE_TIMESTAMP", "500"},
                               {"SECONDARY_MESSAGE_ID", target}});
    };
    h.manager.processControlMessage(edit("u2", "m1"));
    h.manager.processControlMessage(edit("u1", "missing"));
    QVERIFY(h.answers.isEmpty());
    h.manager.processControlMessage(edit("u1", "m1"));
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 1);
    Message edited = h.answersOf(CMD_MessageEdited).first().value<Message>();
    QVERIFY(edited.getMessageBody().startsWith("fixed &lt;b&gt;"));
    QVERIFY(h.answersOf(CMD_MessagePairAdded).isEmpty());
}

void TestGroupManager::replayedHistoryIsOnlyAHint()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B)}}}));
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "known", 400000, "u1")));
    const qint64 marker = h.manager.getLastTimeNMCalled();
    h.clear();
    // Replayed history is neither kept nor shown nor notified, whoever it
    // names as its author, and a removal in it only makes the service be asked.
    Message forged = groupMessage(A, "forged", 500000, Me);
    forged.setUserId(QString());
    h.manager.processRoomHistory(forged);
    h.manager.processRoomHistory(groupMessage(A, "known", 400000, QString()));
    h.manager.processRoomHistory(controlMessage(A, "rm", MessageBase::MsgMinorType_GroupRemove,
                                                QString(), {{"REMOVED_USER_ID", Me}}));
    h.manager.processRoomHistory(groupMessage("pri_unknown", "x", 1, QString()));
    QVERIFY(h.answers.isEmpty());
    QVERIFY(h.notes.isEmpty());
    QCOMPARE(h.sentOf(PROC_UserList).size(), 1);
    Message stored;
    QVERIFY(!h.manager.getLastMessage(A, &stored) || stored.getMessageId() == "known");
    // A message the store lacks is fetched from the service's record of the
    // room, with the rooms entered meanwhile, in one request.
    h.manager.roomEntered(B);
    QTRY_COMPARE(h.sentOf(PROC_GroupNewMessages).size(), 1);
    const auto inputs = h.sentOf(PROC_GroupNewMessages).first();
    QJsonArray ids = inputs.value("GroupJID").toArray();
    QCOMPARE(ids.size(), 2);
    QVERIFY(ids.contains(A) && ids.contains(B));
    QVERIFY(inputs.value("MessageTimestampMilliSecond").toString().toLongLong() <=
            400000 - GroupManager::kNewMessagesMarginMs + 1);
    // The answer for some rooms does not move the start of the next request
    // for all groups.
    h.manager.processReply(PROC_GroupNewMessages,
                           stanzaReply({roomMessage(A, "u3", "forged", 500000)}, true));
    QCOMPARE(h.manager.getLastTimeNMCalled(), marker);
    QVERIFY(h.manager.getLastMessage(A, &stored));
    QCOMPARE(stored.getMessageId(), QString("forged"));
    QCOMPARE(stored.getUserId(), QString("u3"));
}

void TestGroupManager::keepersWordOnlyMakesTheServiceBeAsked()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    QVERIFY(h.manager.storeArrivedMessage(groupMessage(A, "newest", 10000000, "u1")));
    const auto asked = [&h](qint64 since, const QString& groupId) {
        h.clear();
        h.manager.roomRecordComplete(groupId, since);
        QTest::qWait(3 * GroupManager::kRoomFetchDelayMs);
        const auto sent = h.sentOf(PROC_GroupNewMessages);
        // Answered in the order sent, with nothing new.
        for (int i = 0; i < sent.size(); ++i)
            h.reply(PROC_GroupNewMessages, replyOf({}));
        return sent;
    };
    // A group that is not the user's asks nothing.
    QVERIFY(asked(5, QStringLiteral("pri_unknown")).isEmpty());
    // The group's messages since the keeper's time, or since the newest one
    // stored when that is earlier, with the margin.
    auto sent = asked(2000000, A);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().value("GroupJID").toArray(), QJsonArray{A});
    QCOMPARE(sent.first().value("MessageTimestampMilliSecond").toString(),
             QString::number(2000000 - GroupManager::kNewMessagesMarginMs));
    sent = asked(20000000, A);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.first().value("MessageTimestampMilliSecond").toString(),
             QString::number(10000000 - GroupManager::kNewMessagesMarginMs));

    // A request for all groups that failed goes again, from where it asked.
    h.manager.xmppChatClientConnected(1234);
    h.fail(PROC_GroupNewMessages);
    sent = asked(2000000, A);
    QCOMPARE(sent.size(), 2);
    QCOMPARE(sent.first().value("GroupJID").toArray(), QJsonArray());
    QCOMPARE(sent.first().value("MessageTimestampMilliSecond").toString(), QString("1234"));
    QCOMPARE(sent.last().value("GroupJID").toArray(), QJsonArray{A});
    // Once, and not after a request for all groups was answered.
    QCOMPARE(asked(2000000, A).size(), 1);
    h.manager.xmppChatClientConnected(1234);
    h.fail(PROC_GroupNewMessages);
    h.manager.xmppChatClientConnected(1234);
    h.reply(PROC_GroupNewMessages, replyOf({}));
    QCOMPARE(asked(2000000, A).size(), 1);
}

void TestGroupManager::noticesInTheServicesRecordAreOnlyHints()
{
    // The service's record of a room holds what its members said there: a
    // member's notice in it, among the missed messages or on a history page,
    // is neither kept nor shown nor made the group's newest; it only makes
    // the service be asked about the group.
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    h.clear();
    const auto notice = [](const QString& id, const QString& kind, const Bodies& fields) {
        Bodies bodies{{"", "forged"},
                      {"MAJOR_TYPE", "CONTROL_MESSAGE"},
                      {"MINOR_TYPE", kind},
                      {"JID", A},
                      {"SEND_TIME_IN_GMT", "600000"}};
        bodies << fields;
        return stanza("u3@chat.test/desktop", A + "@conference.chat.test", id, bodies);
    };
    h.manager.processReply(
        PROC_GroupNewMessages,
        stanzaReply({roomMessage(A, "u3", "said", 500000),
                     notice("rm", "GROUP_REMOVE", {{"REMOVED_USER_ID", "u1"}}),
                     notice("role", "GROUP_CHANGE_ROLE", {{"CHANGE_USER_ID", "u3"}}),
                     notice("left", "GROUP_LEAVE", {})}));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    for (const QVariant& last : h.answersOf(CMD_GroupLastMessageChanged))
        QCOMPARE(last.value<Message>().getMessageId(), QString("said"));
    QCOMPARE(h.groupsSent(PROC_GroupMembersInfo), QStringList{A});
    Message last;
    QVERIFY(h.manager.getLastMessage(A, &last));
    QCOMPARE(last.getMessageId(), QString("said"));

    // A fetch from the record (a history page or the newest of a group):
    // its notices are left out.
    h.clear();
    MessageReply page;
    h.manager.respondGetMessages(
        MessageRequest(A, QString(), 20, MessageBase::MsgMajorType_GroupChat), &page);
    h.manager.processReply(PROC_GroupArchive, stanzaReply({roomMessage(A, "u2", "older", 100),
                                                           notice("oldrm", "GROUP_REMOVE",
                                                                  {{"REMOVED_USER_ID", "u1"}})}));
    for (const QVariant& pair : h.answersOf(CMD_MessagePairAdded))
        QCOMPARE(pair.value<MessagePair>().getMessage().getMessageId(), QString("older"));
    // Newer than anything kept, the notice would be the group's newest.
    QVERIFY(h.manager.getLastMessage(A, &last));
    QCOMPARE(last.getMessageId(), QString("said"));
}

void TestGroupManager::missedMessagesSinceRequestTime()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    h.clear();
    h.manager.xmppChatClientConnected(1234);
    auto inputs = h.sentOf(PROC_GroupNewMessages).first();
    QCOMPARE(inputs.value("MessageTimestampMilliSecond").toString(), QString("1234"));
    QCOMPARE(inputs.value("GroupJID").toArray(), QJsonArray());
    const qint64 requested = QDateTime::currentMSecsSinceEpoch();

    const QString own = roomMessage(A, Me, "own", 150);
    h.manager.processReply(
        PROC_GroupNewMessages,
        stanzaReply({roomMessage(A, "u1", "late", 300), own, roomMessage(A, "u2", "early", 100),
                     "<bad/>", roomMessage("pri_unknown", "u1", "x", 5)},
                    true));
    // The next request starts before this one was sent, not when it was answered.
    const qint64 since = h.manager.getLastTimeNMCalled();
    QVERIFY(since <= requested - GroupManager::kNewMessagesMarginMs);
    QVERIFY(since >= requested - GroupManager::kNewMessagesMarginMs - 60000);
    QList<QString> order;
    for (const QVariant& v : h.answersOf(CMD_MessagePairAdded))
        order.append(v.value<MessagePair>().getMessage().getMessageId());
    QCOMPARE(order, (QList<QString>{"early", "own", "late"}));
    QVERIFY(h.notes.isEmpty());
    // The user's own message is read, and with it what came before.
    QStringList seen;
    for (const QVariant& v : h.answersOf(CMD_MessageStateChange))
        seen.append(v.value<MessageState>().getMessageId());
    QVERIFY(seen.contains("own"));
    QVERIFY(!seen.contains("late"));

    h.clear();
    h.manager.xmppChatClientConnected(999999);
    inputs = h.sentOf(PROC_GroupNewMessages).first();
    QCOMPARE(inputs.value("MessageTimestampMilliSecond").toString(), QString::number(since));
    // A failed request leaves the time where it was; a reply without messages moves it.
    h.fail(PROC_GroupNewMessages);
    QCOMPARE(h.manager.getLastTimeNMCalled(), since);
    // On a fast machine all of the above fits in one millisecond; let the clock move.
    QTest::qSleep(5);
    h.manager.xmppChatClientConnected(999999);
    h.reply(PROC_GroupNewMessages, replyOf({}));
    QVERIFY(h.manager.getLastTimeNMCalled() > since);
}

void TestGroupManager::historyPages()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A), groupJson(B)}}}));
    // Both new groups asked for their archives; what those replies bring is
    // kept and shown, and the room's copy that comes later is not shown again.
    h.clear();
    h.reply(PROC_GroupArchive, stanzaReply({roomMessage(A, "u1", "a-archived", 10)}));
    h.reply(PROC_GroupArchive, stanzaReply({}));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(
        h.answersOf(CMD_MessagePairAdded).first().value<MessagePair>().getMessage().getMessageId(),
        QString("a-archived"));
    Message live = groupMessage(A, "a-archived", 10, "u1");
    QVERIFY(!h.manager.storeArrivedMessage(live));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    for (int i = 1; i <= 20; ++i)
        QVERIFY(h.manager.addMessagePair(
            groupMessage(A, QString("m%1").arg(i, 2, 10, QChar('0')), 100 + i, "u1"), false,
            false));
    QVERIFY(h.manager.addMessagePair(groupMessage(B, "b1", 100, "u1"), false, false));
    QVERIFY(h.manager.addMessagePair(groupMessage(B, "b2", 200, "u1"), false, false));
    h.clear();

    // A full page from the store, no archive.
    MessageReply reply;
    QVERIFY(h.manager.respondGetMessages(
        MessageRequest(A, "", 20, MessageBase::MsgMajorType_GroupChat), &reply));
    QCOMPARE(reply.getMsgs().size(), 20);
    QCOMPARE(reply.getMsgs().first().getMessageId(), QString("m20"));
    QVERIFY(h.sentOf(PROC_GroupArchive).isEmpty());

    // A partial newest page: what is stored at once, the rest from the archive
    // before the oldest message read.
    reply = MessageReply();
    QVERIFY(h.manager.respondGetMessages(
        MessageRequest(B, "", 5, MessageBase::MsgMajorType_GroupChat), &reply));
    QCOMPARE(idsOf(reply.getMsgs()), (QStringList{"b2", "b1"}));
    auto inputs = h.sentOf(PROC_GroupArchive).first();
    QCOMPARE(inputs.value("MessageID").toString(), QString("b1"));
    QCOMPARE(inputs.value("Count").toString(), QString("50"));

    // Two more requests while that fetch is out: only the later one is served.
    MessageReply ignored;
    QVERIFY(!h.manager.respondGetMessages(
        MessageRequest(A, "m10", 5, MessageBase::MsgMajorType_GroupChat), &ignored));
    QVERIFY(!h.manager.respondGetMessages(
        MessageRequest(A, "m05", 3, MessageBase::MsgMajorType_GroupChat), &ignored));
    h.reply(PROC_GroupArchive,
            stanzaReply({roomMessage(B, "u1", "b0", 50), roomMessage(B, "u2", "b-1", 40)}, true));
    QCOMPARE(h.laterPages.size(), 2);
    QCOMPARE(h.laterPages.at(0).getRequest().getChatId(), B);
    QCOMPARE(idsOf(h.laterPages.at(0).getMsgs()), (QStringList{"b0", "b-1"}));
    QCOMPARE(h.laterPages.at(1).getRequest().getMessageId(), QString("m05"));
    QCOMPARE(idsOf(h.laterPages.at(1).getMsgs()), (QStringList{"m04", "m03", "m02"}));
    // A page's archived messages come with the page only.
    QVERIFY(h.answersOf(CMD_MessagePairAdded).isEmpty());
    // Archived messages are stored as read.
    Message stored;
    QVERIFY(h.manager.getLastMessage(B, &stored));
    QCOMPARE(stored.getMessageId(), QString("b2"));

    // Before the oldest stored message: the archive answers, before that id.
    h.clear();
    QVERIFY(h.manager.respondGetMessages(
        MessageRequest(A, "a-archived", 5, MessageBase::MsgMajorType_GroupChat), &ignored));
    QVERIFY(ignored.getMsgs().isEmpty());
    QCOMPARE(h.sentOf(PROC_GroupArchive).first().value("MessageID").toString(),
             QString("a-archived"));
    // The fetch fails: the waiting request goes on.
    QVERIFY(!h.manager.respondGetMessages(
        MessageRequest(A, "m03", 2, MessageBase::MsgMajorType_GroupChat), &ignored));
    h.fail(PROC_GroupArchive);
    QCOMPARE(h.laterPages.size(), 1);
    QCOMPARE(idsOf(h.laterPages.first().getMsgs()), (QStringList{"m02", "m01"}));
}

void TestGroupManager::historyNeverStaysPending()
{
    Harness h;
    h.reply(PROC_UserList, replyOf({{"PrivateGroups", QJsonArray{groupJson(A)}}}));
    h.reply(PROC_GroupArchive, stanzaReply({}));
    QVERIFY(h.manager.addMessagePair(groupMessage(A, "m1", 100, "u1"), false, false));
    h.clear();

    // Older history of a group not known: answered empty at once.
    MessageReply reply;
    QVERIFY(h.manager.respondGetMessages(
        MessageRequest("pri_gone", "x", 10, MessageBase::MsgMajorType_GroupChat), &reply));
    QVERIFY(reply.getMsgs().isEmpty());
    QVERIFY(h.sent.isEmpty());
    // The next request is served at once, not parked behind it.
    QVERIFY(h.manager.respondGetMessages(
        MessageRequest(A, "", 1, MessageBase::MsgMajorType_GroupChat), &reply));
    QCOMPARE(idsOf(reply.getMsgs()), QStringList{"m1"});

    // The newest page of a group not known comes from the archive; archived
    // messages of unknown groups are not stored but still answer the page.
    QVERIFY(!h.manager.respondGetMessages(
        MessageRequest("pri_gone", "", 10, MessageBase::MsgMajorType_GroupChat), &reply));
    QCOMPARE(h.groupsSent(PROC_GroupArchive), QStringList{"pri_gone"});
    h.reply(PROC_GroupArchive, stanzaReply({roomMessage("pri_gone", "u1", "g1", 10)}));
    QCOMPARE(h.laterPages.size(), 1);
    QCOMPARE(idsOf(h.laterPages.first().getMsgs()), QStringList{"g1"});
    QVERIFY(!h.manager.contains("pri_gone"));

    // Through the Manager's entry: a request is answered once.
    h.clear();
    h.manager.answerHistory(MessageRequest(A, "", 1, MessageBase::MsgMajorType_GroupChat));
    QCOMPARE(h.answersOf(CMD_GetGroupMessages).size(), 1);
}

QTEST_GUILESS_MAIN(TestGroupManager)
#include "tst_groupmanager.moc"
