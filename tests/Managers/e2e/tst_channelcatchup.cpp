// Channel posts a follower missed while it stayed online: the service kept
// the posts but never pushed them (it ended after keeping a post and before
// keeping its pushes, and the owner's retry was answered as kept). When the
// service's channel account signs in again it says so to the followers, whose
// programs ask the service again and get each post once, without
// reconnecting. Only the channel account is heard: an ordinary account
// saying the same changes nothing. A post given to the owner's program while
// it still loads goes out too.

#include "Managers/XMPP/channelaccountpresence.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "channelpusher.h"
#include "corematches.h"
#include "fakewebservice.h"
#include "groupstack.h"
#include "localprocedures.h"
#include "localservice.h"
#include "prosodyserver.h"
#include "servicestore.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QXmppClient.h>
#include <QXmppPresence.h>
#include <QtTest>

#include <memory>

using namespace corematch;

// Fails with every line of both cores when the condition does not hold.
#define CHECK_OR_DUMP(condition, what)                                                             \
    do {                                                                                           \
        if (!(condition))                                                                          \
            QFAIL(qPrintable(failure(what)));                                                      \
    } while (false)

namespace {
const QString kChannel = QStringLiteral("catchnews");
const QString kStranger = QStringLiteral("989130000077");
const int kCmdChannelCreate = 19;
const int kCmdChannelJoin = 22;
const int kCmdChannelAdded = 24;

QJsonObject channelPost(const QString& text)
{
    return {{"MAJOR_TYPE", "CHANNEL_CHAT"},
            {"MINOR_TYPE", "TEXT"},
            {"CHANNEL_ID", kChannel},
            {"MESSAGE_BODY", text}};
}
} // namespace

class TestChannelCatchUp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void postsNeverPushedReachOnlineFollowersOnce();
    void postTypedWhileTheProgramLoadsGoesOut();

private:
    using Member = GroupStack::Member;
    QString failure(const QString& what) const { return stack.failure(what, {&a, &b}); }
    int postsKept() const;
    // The questions for missed posts the service was asked so far.
    int pulls() const;
    // The channel account signs in as the service does, and pushes from now on.
    void startPusher();
    // An ordinary account sends B the channel account's words.
    void strangerSaysItIsBack();

    QTemporaryDir root;
    GroupStack stack;
    Member a, b;
    std::unique_ptr<ChannelPusher> pusher;
};

void TestChannelCatchUp::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    a = {"A", "989130000071", root.filePath("A"), {}};
    b = {"B", "989130000072", root.filePath("B"), {}};
    QString error;
    QVERIFY2(
        stack.start({a.phone, b.phone, kStranger, QuorvelXMPPMessage::channelAccount()}, &error),
        qPrintable(error));
    for (Member* member : {&a, &b})
        CHECK_OR_DUMP(stack.startCore(member), member->name + " did not connect");
    a.core->send(kCmdChannelCreate, QJsonObject{{"ChannelID", kChannel},
                                                {"Name", "Catch news"},
                                                {"Followed", "1"},
                                                {"MyRole", "OWNER"},
                                                {"AvatarURL", ""},
                                                {"AvatarThumbnailURL", ""},
                                                {"Description", "news"},
                                                {"MembersCount", "1"},
                                                {"CreationDate", "0"},
                                                {"ReplyAllowed", "0"},
                                                {"CategoryId", "1"}});
    CHECK_OR_DUMP(a.core->waitFor(answerWith(kCmdChannelAdded, "OWNER"), 20000) >= 0,
                  "A did not create the channel");
    b.core->send(kCmdChannelJoin, kChannel);
    CHECK_OR_DUMP(b.core->waitFor(answerWith(kCmdChannelAdded, "MEMBER"), 20000) >= 0,
                  "B did not follow the channel");
}

void TestChannelCatchUp::cleanupTestCase()
{
    pusher.reset();
    for (Member* member : {&a, &b}) {
        if (member->core)
            member->core->stop();
        member->core.reset();
    }
    stack.stop();
}

int TestChannelCatchUp::postsKept() const
{
    return stack.store->value(QStringLiteral("channelposts"), kChannel).toArray().size();
}

int TestChannelCatchUp::pulls() const
{
    int count = 0;
    for (const ServiceRequest& request : stack.web->requests())
        count += request.path.contains(QLatin1String("channels/newMessages")) ? 1 : 0;
    return count;
}

void TestChannelCatchUp::startPusher()
{
    pusher = std::make_unique<ChannelPusher>(stack.store.get());
    LocalService* service = stack.service.get();
    pusher->setFollowers([service] { return LocalProcedures::channelFollowers(*service); });
    pusher->connectTo(stack.prosody->domain(), stack.prosody->port(),
                      QuorvelXMPPMessage::channelAccount(), GroupStack::kPassword, stack.caFile);
    ChannelPusher* live = pusher.get();
    service->chatMessagePusher = [live](const QString& user, const QJsonObject& message) {
        live->push(user, message);
    };
}

void TestChannelCatchUp::strangerSaysItIsBack()
{
    QXmppClient stranger;
    stranger.connectToServer(stack.clientConfiguration(kStranger, QStringLiteral("desk")));
    QTRY_VERIFY_WITH_TIMEOUT(stranger.isConnected(), 15000);
    QXmppPresence forged(QXmppPresence::Available);
    forged.setTo(stack.prosody->jid(b.phone));
    forged.setExtensions({ChannelAccountPresence::mark()});
    QVERIFY(stranger.sendPacket(forged));
    QTest::qWait(1500);
    stranger.disconnectFromServer();
}

void TestChannelCatchUp::postsNeverPushedReachOnlineFollowersOnce()
{
    // The service has no channel account on the chat server yet: the posts
    // are kept, and no push of them is.
    const int connections = b.core->count(chatServerState(3));
    for (const QString& text : {QStringLiteral("unpushed 1"), QStringLiteral("unpushed 2")})
        a.core->send(kCmdSendMessage, channelPost(text));
    QTRY_VERIFY_WITH_TIMEOUT(postsKept() == 2, 20000);

    // Another account's word is nothing to B.
    strangerSaysItIsBack();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(b.core->count(pairWithBody("unpushed 1")), 0);

    // The channel account signs in: B, online all along, gets both posts in
    // order, each once, and later posts as they are pushed.
    startPusher();
    const int first = b.core->waitFor(pairWithBody("unpushed 1"), 30000);
    const int second = b.core->waitFor(pairWithBody("unpushed 2"), 30000);
    CHECK_OR_DUMP(first >= 0 && second > first, "B missed the posts");
    a.core->send(kCmdSendMessage, channelPost("pushed"));
    CHECK_OR_DUMP(b.core->waitFor(pairWithBody("pushed"), 30000) >= 0,
                  "B did not get the pushed post");

    // Signed in again (the service restarting), it says so again: the
    // followers ask again, and B shows nothing twice.
    const int asked = pulls();
    pusher.reset();
    startPusher();
    QTRY_VERIFY_WITH_TIMEOUT(pulls() > asked, 20000);
    QTest::qWait(2000);
    for (const char* text : {"unpushed 1", "unpushed 2", "pushed"})
        QCOMPARE(b.core->count(pairWithBody(text)), 1);
    QCOMPARE(b.core->count(chatServerState(3)), connections);
}

void TestChannelCatchUp::postTypedWhileTheProgramLoadsGoesOut()
{
    // A's program starts again and is given a post before it has loaded
    // (as the window hands over what the user typed at once): the post, and
    // the ones after it, reach the service and B.
    QVERIFY(pusher);
    QVERIFY(a.core->stop());
    const int kept = postsKept();
    const QJsonObject early{{"command", kCmdSendMessage}, {"value", channelPost("while loading")}};
    CHECK_OR_DUMP(stack.startCore(&a, {early}), "A did not come back");
    a.core->send(kCmdSendMessage, channelPost("once loaded"));
    QTRY_VERIFY_WITH_TIMEOUT(postsKept() == kept + 2, 30000);
    const int first = b.core->waitFor(pairWithBody("while loading"), 30000);
    const int second = b.core->waitFor(pairWithBody("once loaded"), 30000);
    CHECK_OR_DUMP(first >= 0 && second > first, "B missed the posts A wrote while loading");
}

QTEST_GUILESS_MAIN(TestChannelCatchUp)
#include "tst_channelcatchup.moc"
