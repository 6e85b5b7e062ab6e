// Three cores, each in its own process, share a private group: the local
// service keeps the group and its members, its room keeper opens the room on
// a real prosody, invites the members and keeps the room's messages, from
// which a member that was stopped gets what it missed.

#include "corematches.h"
#include "coreprocess.h"
#include "grouproomcatchup.h"
#include "grouproomkeeper.h"
#include "groupstack.h"
#include "localgroups.h"
#include "localservice.h"
#include "prosodyserver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace corematch;

namespace {

const int kCmdGroupCreate = 51;
const int kCmdGroupGetData = 52;
const int kCmdGroupAdded = 54;
const int kCmdGroupInfoMembers = 55;
const int kCmdGroupAddMember = 59;
const int kCmdGroupChangeRole = 61;
const int kCmdGroupChangeData = 62;
const int kCmdGroupRemoveMember = 63;

using Member = GroupStack::Member;

} // namespace

class TestGroupsEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void membersShareARoom();
    void messagesReachEveryMemberOnceInOrder();
    void stoppedMemberGetsWhatItMissedOnce();
    void messagesSaidWhileTheKeeperIsAwayAreKept();
    void memberBackBeforeTheKeeperCatchesUpWithoutReconnecting();
    void changesReachEveryMember();
    void removedMemberStopsReceiving();

private:
    bool startCore(Member* member) { return stack.startCore(member); }
    bool waitInRoom(Member* member) { return stack.waitInRoom(groupId, member->phone); }
    void say(Member* from, const QString& text) { stack.say(from, groupId, text); }
    QString failure(const QString& what) const { return stack.failure(what, {&a, &b, &c}); }
    // The group's data as a core answered it, with the field at this value.
    CoreProcess::Match groupData(const QString& key, const QJsonValue& value) const;
    // The group's members as a core answered them, matching the test.
    CoreProcess::Match groupMembers(std::function<bool(const QJsonObject&)> test) const;
    void changeData(const QString& name, const QString& picture);

    QTemporaryDir root;
    GroupStack stack;
    Member a, b, c;
    QString groupId;
};

void TestGroupsEndToEnd::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    a = {"A", "989130000001", root.filePath("A"), {}};
    b = {"B", "989130000002", root.filePath("B"), {}};
    c = {"C", "989130000003", root.filePath("C"), {}};
    QString error;
    QVERIFY2(stack.start({a.phone, b.phone, c.phone}, &error), qPrintable(error));
}

void TestGroupsEndToEnd::cleanupTestCase()
{
    for (Member* member : {&a, &b, &c}) {
        if (member->core)
            member->core->stop();
        member->core.reset();
    }
    stack.stop();
}

void TestGroupsEndToEnd::membersShareARoom()
{
    for (Member* member : {&a, &b, &c})
        QVERIFY2(startCore(member), qPrintable(failure(member->name + " did not connect")));
    a.core->send(kCmdGroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", "Trio"}}},
                                              {"members", QJsonArray{b.phone, c.phone}}});
    const int created = a.core->waitFor(CoreProcess::answer(kCmdGroupCreate), 20000);
    QVERIFY2(created >= 0, qPrintable(failure("no group created")));
    groupId = a.core->lines().at(created).value("value").toString();
    QVERIFY(groupId.startsWith("pri_" + a.phone + "_"));
    // Each member is invited, learns the group's data and enters its room.
    for (Member* member : {&a, &b, &c}) {
        QVERIFY2(member->core->waitFor(groupAnswer(kCmdGroupAdded, groupId), 20000) >= 0,
                 qPrintable(failure(member->name + " never got the group")));
        QVERIFY2(waitInRoom(member), qPrintable(failure(member->name + " is not in the room")));
    }
    QCOMPARE(LocalGroups::of(*stack.service)->members(groupId).size(), 3);
}

void TestGroupsEndToEnd::messagesReachEveryMemberOnceInOrder()
{
    QVERIFY(!groupId.isEmpty());
    const QStringList texts{"g1", "g2", "g3"};
    for (const QString& text : texts)
        say(&a, text);
    say(&b, "from b");
    // Every member has A's messages in the order sent, and B's.
    for (Member* member : {&a, &b, &c}) {
        int at = 0;
        for (const QString& text : texts) {
            const int next = member->core->waitFor(pairWithBody(text), 20000, at);
            QVERIFY2(next >= at, qPrintable(failure(member->name + " lacks " + text)));
            at = next;
        }
        QVERIFY2(member->core->waitFor(pairWithBody("from b"), 20000) >= 0,
                 qPrintable(failure(member->name + " lacks B's message")));
    }
    QTest::qWait(1500);
    for (Member* member : {&a, &b, &c}) {
        for (const QString& text : texts + QStringList{"from b"})
            QCOMPARE(member->core->count(pairWithBody(text)), 1);
    }
    // The keeper's record names each message's sender as the room knows it.
    const QStringList kept =
        LocalGroups::of(*stack.service)->messagesBefore(groupId, QString(), 10);
    QCOMPARE(kept.size(), 4);
    QCOMPARE(kept.filter("from=\"" + b.phone + "@").size(), 1);
    QCOMPARE(kept.filter("from=\"" + a.phone + "@").size(), 3);
}

void TestGroupsEndToEnd::stoppedMemberGetsWhatItMissedOnce()
{
    QVERIFY(!groupId.isEmpty());
    QVERIFY(c.core->stop());
    say(&a, "while away 1");
    say(&a, "while away 2");
    QTRY_COMPARE_WITH_TIMEOUT(
        LocalGroups::of(*stack.service)->messagesBefore(groupId, QString(), 50).size(), 6, 20000);
    QVERIFY2(startCore(&c), qPrintable(failure("C did not come back")));
    const int first = c.core->waitFor(pairWithBody("while away 1"), 20000);
    const int second = c.core->waitFor(pairWithBody("while away 2"), 20000);
    QVERIFY2(first >= 0 && second > first, qPrintable(failure("C missed messages")));
    QVERIFY2(waitInRoom(&c), qPrintable(failure("C is not back in the room")));
    QTest::qWait(2000);
    QCOMPARE(c.core->count(pairWithBody("while away 1")), 1);
    QCOMPARE(c.core->count(pairWithBody("while away 2")), 1);
    // What it had before the stop is not announced again.
    QCOMPARE(c.core->count(pairWithBody("g1")), 0);
}

void TestGroupsEndToEnd::messagesSaidWhileTheKeeperIsAwayAreKept()
{
    QVERIFY(!groupId.isEmpty());
    // The service restarts (its keeper away) while C is stopped and A speaks.
    QVERIFY(c.core->stop());
    stack.stopKeeper();
    say(&a, "keeper away 1");
    say(&a, "keeper away 2");
    QVERIFY2(b.core->waitFor(pairWithBody("keeper away 2"), 20000) >= 0,
             qPrintable(failure("B did not hear A")));
    stack.startKeeper();
    // Back, the keeper reads the room's archive for what it missed, once.
    QTRY_COMPARE_WITH_TIMEOUT(LocalGroups::of(*stack.service)
                                  ->messagesBefore(groupId, QString(), 100)
                                  .filter("keeper away")
                                  .size(),
                              2, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(stack.keeper->archive()->pending(), 0, 20000);
    const QStringList kept = LocalGroups::of(*stack.service)->messagesBefore(groupId, QString(), 2);
    QVERIFY(kept.at(0).contains("keeper away 1") && kept.at(1).contains("keeper away 2"));
    QVERIFY(kept.at(0).contains("from=\"" + a.phone + "@"));

    // C, away the whole time, gets both once.
    QVERIFY2(startCore(&c), qPrintable(failure("C did not come back")));
    const int first = c.core->waitFor(pairWithBody("keeper away 1"), 20000);
    const int second = c.core->waitFor(pairWithBody("keeper away 2"), 20000);
    QVERIFY2(first >= 0 && second > first, qPrintable(failure("C missed messages")));
    QVERIFY2(waitInRoom(&c), qPrintable(failure("C is not back in the room")));
    QTest::qWait(2000);
    QCOMPARE(c.core->count(pairWithBody("keeper away 1")), 1);
    QCOMPARE(c.core->count(pairWithBody("keeper away 2")), 1);
}

void TestGroupsEndToEnd::memberBackBeforeTheKeeperCatchesUpWithoutReconnecting()
{
    QVERIFY(!groupId.isEmpty());
    // The service restarts while C is away and A speaks; C comes back first
    // and asks for what it missed while the record still lacks it.
    QVERIFY(c.core->stop());
    stack.stopKeeper();
    say(&a, "early 1");
    say(&a, "early 2");
    QVERIFY2(b.core->waitFor(pairWithBody("early 2"), 20000) >= 0,
             qPrintable(failure("B did not hear A")));
    QVERIFY2(startCore(&c), qPrintable(failure("C did not come back")));
    // C is in the room once B hears it there; what C asked for on entering
    // is answered without A's messages.
    say(&c, "c is back");
    QVERIFY2(b.core->waitFor(pairWithBody("c is back"), 20000) >= 0,
             qPrintable(failure("C did not enter the room")));
    QTest::qWait(3000);
    QCOMPARE(c.core->count(pairWithBody("early 1")), 0);

    // Back, the keeper reads the room's archive and says so in the room:
    // C, online all along, gets both once, in order, without reconnecting.
    const int connections = c.core->count(chatServerState(3));
    stack.startKeeper();
    const int first = c.core->waitFor(pairWithBody("early 1"), 30000);
    const int second = c.core->waitFor(pairWithBody("early 2"), 30000);
    QVERIFY2(first >= 0 && second > first, qPrintable(failure("C missed messages")));
    QTest::qWait(2000);
    QCOMPARE(c.core->count(pairWithBody("early 1")), 1);
    QCOMPARE(c.core->count(pairWithBody("early 2")), 1);
    QCOMPARE(c.core->count(chatServerState(3)), connections);
}

CoreProcess::Match TestGroupsEndToEnd::groupData(const QString& key, const QJsonValue& value) const
{
    const QString jid = groupId;
    return [jid, key, value](const QJsonObject& line) {
        const QJsonObject data = line.value("value").toObject();
        const int command = line.value("command").toInt();
        return (command == kCmdGroupGetData || command == kCmdGroupAdded) &&
               data.value("GroupJID").toString() == jid && data.value(key) == value;
    };
}

CoreProcess::Match
TestGroupsEndToEnd::groupMembers(std::function<bool(const QJsonObject&)> test) const
{
    const QString jid = groupId;
    return [jid, test](const QJsonObject& line) {
        const QJsonObject value = line.value("value").toObject();
        return line.value("command").toInt() == kCmdGroupInfoMembers &&
               value.value("info").toObject().value("GroupJID").toString() == jid &&
               test(value.value("members").toObject());
    };
}

void TestGroupsEndToEnd::changeData(const QString& name, const QString& picture)
{
    a.core->send(kCmdGroupChangeData, QJsonObject{{"GroupJID", groupId},
                                                  {"GroupName", name},
                                                  {"Description", ""},
                                                  {"CreationDate", 0},
                                                  {"MyRole", "OWNER"},
                                                  {"GroupAvatarURL", picture},
                                                  {"GroupAvatarThumbnailURL", picture}});
}

void TestGroupsEndToEnd::changesReachEveryMember()
{
    QVERIFY(!groupId.isEmpty());
    // Each change made by A reaches the other members' programs as it
    // happens: their group data and member lists come from the service again.
    int fromB = b.core->lineCount();
    int fromC = c.core->lineCount();
    changeData("Renamed", QString());
    for (Member* member : {&b, &c})
        QVERIFY2(member->core->waitFor(groupData("GroupName", "Renamed"), 20000,
                                       member == &b ? fromB : fromC) >= 0,
                 qPrintable(failure(member->name + " did not see the new name")));

    const QString picture = QStringLiteral("https://pictures.example/trio.png");
    changeData("Renamed", picture);
    for (Member* member : {&b, &c})
        QVERIFY2(member->core->waitFor(groupData("GroupAvatarThumbnailURL", picture), 20000,
                                       member == &b ? fromB : fromC) >= 0,
                 qPrintable(failure(member->name + " did not see the new picture")));

    fromB = b.core->lineCount();
    fromC = c.core->lineCount();
    a.core->send(kCmdGroupChangeRole,
                 QJsonObject{{"jid", groupId}, {"user", b.phone}, {"role", "ADMIN"}});
    QVERIFY2(b.core->waitFor(groupData("MyRole", "ADMIN"), 20000, fromB) >= 0,
             qPrintable(failure("B did not see its new role")));
    const QString bPhone = b.phone;
    QVERIFY2(c.core->waitFor(groupMembers([bPhone](const QJsonObject& members) {
                                 return members.value(bPhone).toString() == "ADMIN";
                             }),
                             20000, fromC) >= 0,
             qPrintable(failure("C did not see B's new role")));

    fromB = b.core->lineCount();
    fromC = c.core->lineCount();
    const QString cPhone = c.phone;
    a.core->send(kCmdGroupRemoveMember, QJsonObject{{"jid", groupId}, {"user", c.phone}});
    QVERIFY2(b.core->waitFor(groupData("MembersCount", 2), 20000, fromB) >= 0,
             qPrintable(failure("B's member count did not follow the removal")));
    QVERIFY2(b.core->waitFor(groupMembers([cPhone](const QJsonObject& members) {
                                 return members.size() == 2 && !members.contains(cPhone);
                             }),
                             20000, fromB) >= 0,
             qPrintable(failure("B's member list did not follow the removal")));
    QVERIFY2(c.core->waitFor(groupData("_removed", true), 20000, fromC) >= 0,
             qPrintable(failure("C was not told it was removed")));
    QTRY_VERIFY_WITH_TIMEOUT(!stack.keeper->isPresent(groupId, c.phone), 20000);

    // Added again, C is a member once more and hears the group.
    fromB = b.core->lineCount();
    fromC = c.core->lineCount();
    a.core->send(kCmdGroupAddMember, QJsonObject{{"jid", groupId}, {"users", QJsonArray{c.phone}}});
    QVERIFY2(b.core->waitFor(groupData("MembersCount", 3), 20000, fromB) >= 0,
             qPrintable(failure("B's member count did not follow the addition")));
    QVERIFY2(b.core->waitFor(groupMembers([cPhone](const QJsonObject& members) {
                                 return members.value(cPhone).toString() == "MEMBER";
                             }),
                             20000, fromB) >= 0,
             qPrintable(failure("B's member list did not follow the addition")));
    QVERIFY2(c.core->waitFor(groupData("_removed", false), 20000, fromC) >= 0,
             qPrintable(failure("C is not a member again")));
    QVERIFY2(waitInRoom(&c), qPrintable(failure("C is not back in the room")));
    say(&a, "welcome back");
    QVERIFY2(c.core->waitFor(pairWithBody("welcome back"), 20000, fromC) >= 0,
             qPrintable(failure("C does not hear the group again")));
}

void TestGroupsEndToEnd::removedMemberStopsReceiving()
{
    QVERIFY(!groupId.isEmpty());
    const int fromB = b.core->lineCount();
    a.core->send(kCmdGroupRemoveMember, QJsonObject{{"jid", groupId}, {"user", b.phone}});
    QTRY_VERIFY_WITH_TIMEOUT(!LocalGroups::of(*stack.service)->isMember(groupId, b.phone), 20000);
    // B learns of it from the room before it is shut out.
    const int marked = b.core->waitFor(
        [this](const QJsonObject& line) {
            const QJsonObject value = line.value("value").toObject();
            return line.value("command").toInt() == kCmdGroupGetData &&
                   value.value("GroupJID").toString() == groupId &&
                   value.value("_removed").toBool();
        },
        20000, fromB);
    QVERIFY2(marked >= 0, qPrintable(failure("B was not told it was removed")));
    QTRY_VERIFY_WITH_TIMEOUT(!stack.keeper->isPresent(groupId, b.phone), 20000);

    const int fromC = c.core->lineCount();
    say(&a, "after removal");
    QVERIFY2(c.core->waitFor(pairWithBody("after removal"), 20000, fromC) >= 0,
             qPrintable(failure("C did not get the message")));
    QTest::qWait(2000);
    QCOMPARE(b.core->count(pairWithBody("after removal")), 0);
}

QTEST_GUILESS_MAIN(TestGroupsEndToEnd)
#include "tst_groupsendtoend.moc"
