// A receiver whose data folder sits on a small tmpfs that fills while one-to-one
// and group messages arrive: nothing it could not store counts as handled or
// delivered, it says that new messages wait for disk space, and once space is
// back every message arrives, once and in order, without a restart; a restart
// afterwards reads them all back from its stores.

#include "corematches.h"
#include "coreprocess.h"
#include "groupstack.h"
#include "prosodyserver.h"
#include "smalldisk.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace corematch;

namespace {

const int kCmdGetGroupMessages = 67;
const int kCmdGroupCreate = 51;
const int kCmdGroupAdded = 54;
const int kCmdDiskFullForArrivals = 79;
const int kEach = 40;

using Member = GroupStack::Member;

// The answer about arrivals waiting for disk space, with this value.
CoreProcess::Match diskNotice(bool waiting)
{
    return [waiting](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdDiskFullForArrivals &&
               line.value("value").toBool() == waiting;
    };
}

} // namespace

class TestFullDiskArrivals : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void arrivalsWaitForSpaceThenComeOnceInOrder();

private:
    void freeDisk() { QFile::remove(filler()); }
    QString filler() const { return b.home + QStringLiteral("/filler"); }
    // The ids and bodies of the messages B announced as stored, in order.
    QStringList storedAtB(const QString& prefix) const;
    QSet<QString> deliveredAtA() const;
    QStringList history(Member* member, int command, int chatType, const QString& chatId);
    QString failure(const QString& what) const { return stack.failure(what, {&a, &b}); }

    QTemporaryDir root;
    GroupStack stack;
    Member a, b;
    QString groupId;
    SmallDisk small;
    // The id of each of A's one-to-one messages, by body.
    QHash<QString, QString> idOf;
};

void TestFullDiskArrivals::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    a = {"A", "989140000001", root.filePath("A"), {}};
    b = {"B", "989140000002", root.filePath("B"), {}};
    // The receiver's whole data folder.
    QString why;
    if (!small.mount(b.home, "20m", &why))
        QSKIP(qPrintable(why));
    QString error;
    QVERIFY2(stack.start({a.phone, b.phone}, &error), qPrintable(error));
    for (Member* member : {&a, &b})
        QVERIFY2(stack.startCore(member), qPrintable(failure(member->name + " did not connect")));
    a.core->send(kCmdGroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", "Pair"}}},
                                              {"members", QJsonArray{b.phone}}});
    const int created = a.core->waitFor(CoreProcess::answer(kCmdGroupCreate), 20000);
    QVERIFY2(created >= 0, qPrintable(failure("no group created")));
    groupId = a.core->lines().at(created).value("value").toString();
    for (Member* member : {&a, &b}) {
        QVERIFY2(member->core->waitFor(groupAnswer(kCmdGroupAdded, groupId), 20000) >= 0,
                 qPrintable(failure(member->name + " never got the group")));
        QVERIFY2(stack.waitInRoom(groupId, member->phone),
                 qPrintable(failure(member->name + " is not in the room")));
    }
    // B has both conversations before its disk fills.
    a.core->send(kCmdSendMessage, textMessage(b.phone, "before"));
    stack.say(&a, groupId, "before, in the group");
    for (const QString& body : {"before", "before, in the group"})
        QVERIFY2(b.core->waitFor(pairWithBody(body), 20000) >= 0,
                 qPrintable(failure("B lacks " + QString(body))));
}

void TestFullDiskArrivals::cleanupTestCase()
{
    for (Member* member : {&a, &b}) {
        if (member->core)
            member->core->stop();
        member->core.reset();
    }
    stack.stop();
    small.unmount();
}

QStringList TestFullDiskArrivals::storedAtB(const QString& prefix) const
{
    QStringList bodies;
    for (const QJsonObject& line : b.core->lines()) {
        if (line.value("command").toInt() != kCmdMessagePairAdded)
            continue;
        const QString body = pairMessage(line).value("MESSAGE_BODY").toString();
        if (body.startsWith(prefix))
            bodies << body;
    }
    return bodies;
}

QSet<QString> TestFullDiskArrivals::deliveredAtA() const
{
    QSet<QString> bodies;
    for (auto it = idOf.cbegin(); it != idOf.cend(); ++it) {
        if (a.core->count(stateChange(it.value(), "delivered")) > 0)
            bodies.insert(it.key());
    }
    return bodies;
}

QStringList TestFullDiskArrivals::history(Member* member, int command, int chatType,
                                          const QString& chatId)
{
    const int from = member->core->lineCount();
    member->core->send(command, QJsonObject{{"chatId", chatId},
                                            {"messageId", ""},
                                            {"number", 1000},
                                            {"chatType", chatType}});
    const int answered = member->core->waitFor(
        [&](const QJsonObject& line) {
            return line.value("command").toInt() == command &&
                   line.value("value").toObject().value("chatId").toString() == chatId;
        },
        20000, from);
    QStringList bodies;
    if (answered < 0)
        return bodies;
    // The store's order, oldest first: the page comes newest first.
    for (const QJsonValue& message :
         member->core->lines().at(answered).value("value").toObject().value("messages").toArray())
        bodies.prepend(message.toObject().value("MESSAGE_BODY").toString());
    return bodies;
}

void TestFullDiskArrivals::arrivalsWaitForSpaceThenComeOnceInOrder()
{
    QVERIFY(!groupId.isEmpty());
    QStringList direct, group;
    for (int i = 1; i <= kEach; ++i) {
        direct << QStringLiteral("direct %1").arg(i, 2, 10, QLatin1Char('0'));
        group << QStringLiteral("group %1").arg(i, 2, 10, QLatin1Char('0'));
    }
    QVERIFY(SmallDisk::fill(filler()));
    const int fromA = a.core->lineCount();
    for (int i = 0; i < kEach; ++i) {
        a.core->send(kCmdSendMessage, textMessage(b.phone, direct.at(i)));
        stack.say(&a, groupId, group.at(i));
    }
    for (const QString& body : qAsConst(direct)) {
        const int added = a.core->waitFor(pairWithBody(body), 20000, fromA);
        QVERIFY2(added >= 0, qPrintable(failure("A did not store " + body)));
        idOf.insert(body, pairMessage(a.core->lines().at(added)).value("MESSAGE_ID").toString());
    }
    // Everything reaches the server while B's disk is full.
    QVERIFY2(a.core->waitFor(stateChange(idOf.value(direct.last()), "sent"), 60000, fromA) >= 0,
             qPrintable(failure("A's messages were not all sent")));
    // For a while, "delivered" only for what B stored: what A shows first,
    // then B's stored messages, which include any whose receipt was on its way.
    for (int round = 0; round < 5; ++round) {
        const QSet<QString> delivered = deliveredAtA();
        QTest::qWait(1000);
        const QStringList storedNow = storedAtB("direct ");
        const QSet<QString> stored(storedNow.begin(), storedNow.end());
        QVERIFY2(stored.contains(delivered),
                 qPrintable(failure("A shows as delivered what B has not stored")));
    }
    QVERIFY2(storedAtB("direct ").size() < kEach,
             qPrintable(failure("the disk took every message: nothing was tested")));
    QVERIFY2(b.core->waitFor(diskNotice(true), 20000) >= 0,
             qPrintable(failure("B never said that messages wait for disk space")));

    freeDisk();
    // Everything arrives without a restart, once, in the order sent.
    QElapsedTimer waited;
    waited.start();
    while ((storedAtB("direct ").size() < kEach || storedAtB("group ").size() < kEach) &&
           waited.elapsed() < 120000)
        QTest::qWait(200);
    QTest::qWait(2000);
    QCOMPARE(storedAtB("direct "), direct);
    QCOMPARE(storedAtB("group "), group);
    QVERIFY2(b.core->waitFor(diskNotice(false), 5000) >= 0,
             qPrintable(failure("B's notice stayed after the disk had room again")));
    for (const QString& body : qAsConst(direct))
        QVERIFY2(a.core->waitFor(stateChange(idOf.value(body), "delivered"), 20000, fromA) >= 0,
                 qPrintable(failure(body + " never shown as delivered")));

    // What B announced is what its stores hold, also after a restart.
    QVERIFY(b.core->stop());
    QVERIFY2(stack.startCore(&b), qPrintable(failure("B did not start again")));
    const QStringList chat = history(&b, kCmdGetChatMessages, 1, a.phone);
    QCOMPARE(chat, QStringList{"before"} + direct);
    const QStringList room = history(&b, kCmdGetGroupMessages, 2, groupId);
    QCOMPARE(room.filter(QRegularExpression("^group \\d+$")), group);
    QCOMPARE(room.filter("before, in the group").size(), 1);
}

QTEST_GUILESS_MAIN(TestFullDiskArrivals)
#include "tst_fulldiskarrivals.moc"
