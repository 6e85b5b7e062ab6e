// The group manager against the local service: its procedures go through the
// real procedure queue over HTTPS to the service's group procedures, whose
// state (groups, members, roles, room messages) answers them.
#include "Managers/Group/groupmanager.h"
#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "groupfixtures.h"
#include "localgroups.h"
#include "localservice.h"
#include "model/globalconstants.h"
#include "signedinsettings.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QtTest>

#include <memory>

using namespace GroupFixtures;

namespace {
const QString Me = QStringLiteral("989120000000");
} // namespace

// A GroupManager wired to the procedure queue as the Manager wires it.
class WiredGroups
{
public:
    WiredGroups()
    {
        handler.setTimeoutInterval(4000);
        handler.setRetryInterval(100);
        QObject::connect(&groups, &GroupManager::start, &handler, &ProcedureHandler::start);
        QObject::connect(&handler, &ProcedureHandler::replyReport, &groups,
                         [this](Procedure p, const QJsonObject& r) { groups.processReply(p, r); });
        QObject::connect(&handler, &ProcedureHandler::result, &groups, &GroupManager::result);
        QObject::connect(&groups, &GroupManager::commandResponse,
                         [this](Command c, const QVariant& v) {
                             answers.append({c, v});
                         });
        QObject::connect(&groups, &GroupManager::groupCreated,
                         [this](const QString& id) { created.append(id); });
        QObject::connect(&groups, &GroupManager::groupRemoved,
                         [this](const QString& id) { removed.append(id); });
        QObject::connect(&groups, &GroupManager::groupMembersInfoUpdate,
                         [this](const GroupInfoMembers& m) { members.append(m); });
        QObject::connect(&groups, &GroupManager::messageReply,
                         [this](const MessageReply& r) { pages.append(r); });
        QObject::connect(&groups, &GroupManager::setXmppRooms,
                         [this](const QStringList& ids) { rooms.append(ids); });
        groups.setUserIdentity(UserIdentityPtr::create(Me));
        groups.startLoading();
    }
    int count(Command c) const
    {
        int n = 0;
        for (const auto& answer : answers)
            n += answer.first == c ? 1 : 0;
        return n;
    }
    GroupInfo info(const QString& id) const
    {
        GroupInfo value;
        groups.getGroupInfo(id, &value);
        return value;
    }

    ProcedureHandler handler;
    GroupManager groups;
    QList<QPair<Command, QVariant>> answers;
    QStringList created;
    QStringList removed;
    QList<GroupInfoMembers> members;
    QList<MessageReply> pages;
    QList<QStringList> rooms;
};

class TestGroupsWeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void createChangeLeaveAndRestart();
    void requestsOfAKindAskedTogetherEachMeetTheirReply();

private:
    FakeWebService service;
    FakeProcedures procedures;
};

void TestGroupsWeb::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    qputenv("QUORVEL_WEB_BASE_URL", service.baseUrl().toUtf8());
    procedures.username = Me;
    procedures.token = "tok-123";
    procedures.tokenIssued = true;
    procedures.install(&service);
    GlobalConstants::setUserName(Me);
    QVERIFY(storeSignedInSettings(Me, "tok-123"));
    LocalService* local = procedures.localService();
    for (const QString& user : {Me, QString("u2"), QString("u3"), QString("u4")})
        QVERIFY(local->saveAccount(
            user, {{"PhoneNo", "98" + user}, {"Active", true}, {"Token", "tok-123"}}));
}

void TestGroupsWeb::createChangeLeaveAndRestart()
{
    QString id;
    QString other;
    {
        WiredGroups w;
        w.groups.startCreateGroup("Friends", "about", "", "", {"u2", "u3"});
        QTRY_COMPARE_WITH_TIMEOUT(w.created.size(), 1, 10000);
        id = w.created.first();
        // The look-ups that follow the creation add the group and its members.
        QTRY_COMPARE_WITH_TIMEOUT(w.count(CMD_GroupAdded), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(w.members.size(), 1, 10000);
        QCOMPARE(w.info(id).getName(), QString("Friends"));
        QCOMPARE(w.info(id).getMyRole(), GroupRole::OWNER);
        QCOMPARE(w.members.last().getMembers().keys().size(), 3); // no account: not a member

        // The user's list names it and hands its room to the chat side.
        w.groups.onInitialize();
        QTRY_VERIFY_WITH_TIMEOUT(!w.rooms.isEmpty() && w.rooms.last().contains(id), 10000);

        w.groups.startGroupAddAdmin(id, {"u4"});
        QTRY_COMPARE_WITH_TIMEOUT(w.members.size(), 2, 10000);
        QCOMPARE(w.members.last().getMembers().value("u4").getRole(), GroupRole::ADMIN);
        w.groups.startGroupChangeRole(id, "u2", GroupRole::ADMIN);
        w.groups.startGroupRemoveMember(id, "u3");
        QTRY_COMPARE_WITH_TIMEOUT(w.members.size(), 4, 10000);
        QCOMPARE(w.members.last().getMembers().value("u2").getRole(), GroupRole::ADMIN);
        QVERIFY(!w.members.last().getMembers().contains("u3"));

        GroupInfo change = w.info(id);
        change.setName("Renamed");
        w.groups.respondGroupChangeData(change);
        QTRY_COMPARE_WITH_TIMEOUT(w.info(id).getName(), QString("Renamed"), 10000);

        // Messages sent in the room: the newest page comes from the archive,
        // and what was missed since the last connection arrives once.
        LocalGroups* rooms = LocalGroups::of(*procedures.localService());
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int i = 1; i <= 3; ++i)
            QVERIFY(rooms->recordMessage(id, QString("r%1").arg(i),
                                         roomMessage(id, "u2", QString("r%1").arg(i), 1000 + i),
                                         now + i));
        MessageReply atOnce;
        QVERIFY(w.groups.respondGetMessages(
            MessageRequest(id, "", 20, MessageBase::MsgMajorType_GroupChat), &atOnce));
        QVERIFY(atOnce.getMsgs().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(w.pages.size(), 1, 10000);
        QCOMPARE(w.pages.first().getMsgs().size(), 3);
        w.groups.xmppChatClientConnected(now - 1000);
        QTRY_VERIFY_WITH_TIMEOUT(w.groups.getLastTimeNMCalled() > 0, 10000);
        QCOMPARE(w.count(CMD_MessagePairAdded), 0); // already stored from the archive

        // A second group, left again.
        w.groups.startCreateGroup("Other", "", "", "", {"u2"});
        QTRY_COMPARE_WITH_TIMEOUT(w.created.size(), 2, 10000);
        other = w.created.last();
        QTRY_VERIFY_WITH_TIMEOUT(w.groups.contains(other), 10000);
        w.groups.startGroupLeave(other);
        QTRY_COMPARE_WITH_TIMEOUT(w.removed, QStringList{other}, 10000);
        QVERIFY(!LocalGroups::of(*procedures.localService())->isMember(other, Me));
    }
    {
        WiredGroups restarted;
        QVERIFY(restarted.groups.contains(id));
        QVERIFY(!restarted.groups.contains(other));
        QCOMPARE(restarted.info(id).getName(), QString("Renamed"));
        QCOMPARE(restarted.groups.getMembers(id).size(), 3);
        Message last;
        QVERIFY(restarted.groups.getLastMessage(id, &last));
        QCOMPARE(last.getMessageId(), QString("r3"));
        restarted.groups.removeHistory(id);
        QCOMPARE(restarted.removed, QStringList{id});
    }
    WiredGroups emptied;
    QVERIFY(emptied.groups.getGroupListSorted().isEmpty());
}

void TestGroupsWeb::requestsOfAKindAskedTogetherEachMeetTheirReply()
{
    // Two of each kind asked before the first is answered (two groups made
    // in a row, a change made in two groups): each reply refreshes its own
    // group.
    WiredGroups w;
    w.groups.startCreateGroup("One", "", "", "", {"u2", "u3"});
    w.groups.startCreateGroup("Two", "", "", "", {"u2", "u3"});
    QTRY_COMPARE_WITH_TIMEOUT(w.created.size(), 2, 10000);
    const QStringList both = w.created;
    QVERIFY(both.first() != both.last());
    QTRY_VERIFY_WITH_TIMEOUT(w.groups.contains(both.first()) && w.groups.contains(both.last()),
                             10000);
    QCOMPARE(w.info(both.first()).getName(), QString("One"));
    QCOMPARE(w.info(both.last()).getName(), QString("Two"));
    const auto roleOf = [&w](const QString& id, const QString& user) {
        const QHash<QString, GroupMember> members = w.groups.getMembers(id);
        return members.contains(user) ? members.value(user).getRole() : GroupRole::NONE;
    };
    QTRY_VERIFY_WITH_TIMEOUT(roleOf(both.first(), "u3") == GroupRole::MEMBER &&
                                 roleOf(both.last(), "u3") == GroupRole::MEMBER,
                             10000);

    for (const QString& id : both)
        w.groups.startGroupChangeRole(id, "u2", GroupRole::ADMIN);
    for (const QString& id : both)
        w.groups.startGroupRemoveMember(id, "u3");
    for (const QString& id : both) {
        GroupInfo renamed = w.info(id);
        renamed.setName(renamed.getName() + " renamed");
        w.groups.respondGroupChangeData(renamed);
    }
    for (const QString& id : both) {
        QTRY_COMPARE_WITH_TIMEOUT(roleOf(id, "u2"), GroupRole::ADMIN, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(roleOf(id, "u3"), GroupRole::NONE, 10000);
    }
    QCOMPARE(w.info(both.first()).getName(), QString("One renamed"));
    QCOMPARE(w.info(both.last()).getName(), QString("Two renamed"));

    for (const QString& id : both)
        w.groups.startGroupLeave(id);
    QTRY_COMPARE_WITH_TIMEOUT(w.removed, both, 10000);
    QVERIFY(w.groups.getGroupListSorted().isEmpty());
}

QTEST_GUILESS_MAIN(TestGroupsWeb)
#include "tst_groupsweb.moc"
