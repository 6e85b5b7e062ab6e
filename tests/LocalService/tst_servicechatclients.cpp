// The service's own chat clients against a real prosody that restarts under
// them: the channel pusher and the room keeper sign in again with a fresh
// session (the restarted server refuses to resume their streams), a watchdog
// notices a server that stopped answering, the pusher's queue outlives
// the chat server's and the service's restarts, the pusher tells the
// followers each time it is back, and a chat server that a killed run left
// behind without noting its pid is ended by the next start.

#include "Managers/XMPP/channelaccountpresence.h"
#include "channelpusher.h"
#include "chatserver.h"
#include "chatsessionguard.h"
#include "fakewebservice.h"
#include "foundation/serviceconfig.h"
#include "grouproomkeeper.h"
#include "localservice.h"
#include "prosodyserver.h"
#include "servicestore.h"
#include "testcertificates.h"

#include <QHostAddress>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QXmppMessage.h>
#include <QXmppPresence.h>
#include <QtTest>

#include <memory>
#include <signal.h>

namespace {
const QString kPassword = QStringLiteral("chat-secret");
const QString kResumeRefused = QStringLiteral("c2s_unbound stream element or stanza: resume");

QJsonObject post(const QString& id)
{
    return {{"MESSAGE_ID", id},
            {"MESSAGE_BODY", "post " + id},
            {"MAJOR_TYPE", "CHANNEL_CHAT"},
            {"MINOR_TYPE", "TEXT"},
            {"CHANNEL_ID", "news"}};
}
} // namespace

class TestServiceChatClients : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pushesOutliveRestartsOfServerAndService();
    void keeperReturnsAfterRestart();
    void watchdogNoticesAServerThatStoppedAnswering();
    void pusherTellsTheFollowersItIsBack();
    void serverLeftWithoutItsPidIsEndedAtTheNextStart();

private:
    std::unique_ptr<ChannelPusher> newPusher();
    bool restartProsody();

    QTemporaryDir root;
    QString caFile;
    std::unique_ptr<ProsodyServer> prosody;
    std::unique_ptr<ServiceStore> store;
    // The follower, as a plain client kept signed in by a guard of its own.
    std::unique_ptr<QXmppClient> reader;
    std::unique_ptr<ChatSessionGuard> readerGuard;
    QStringList received;
    // The channel account's words that it is back, as the follower read them.
    int backWords = 0;
};

void TestServiceChatClients::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    caFile = TestCertificates::trustSharedCa();
    ServiceConfig::installExtraCaCertificates();
    prosody = std::make_unique<ProsodyServer>();
    for (const char* user : {"channels", "groupkeeper", "reader"})
        QVERIFY(prosody->addUser(user, kPassword));
    // The server offers stream management, so a client that asks to resume
    // after a restart is refused.
    QVERIFY(prosody->setStreamManagement(true));
    QVERIFY(prosody->setRoomKeeper("groupkeeper"));
    QVERIFY2(prosody->start(), qPrintable(prosody->errorString()));
    store = std::make_unique<ServiceStore>(root.filePath("store"));
    QVERIFY(store->open());
    // Made once the test authority is trusted: its socket copies the TLS defaults.
    reader = std::make_unique<QXmppClient>();
    connect(reader.get(), &QXmppClient::messageReceived, this, [this](const QXmppMessage& message) {
        if (!message.body().isEmpty())
            received << message.id();
    });
    connect(reader.get(), &QXmppClient::presenceReceived, this,
            [this](const QXmppPresence& presence) {
                if (ChannelAccountPresence::read(presence, prosody->domain()))
                    ++backWords;
            });
    readerGuard = std::make_unique<ChatSessionGuard>(reader.get());
    readerGuard->setWatchdogInterval(500);
    readerGuard->start(prosody->clientConfiguration("reader", "desk"));
    QTRY_VERIFY_WITH_TIMEOUT(reader->isConnected(), 15000);
}

void TestServiceChatClients::cleanupTestCase()
{
    if (readerGuard)
        readerGuard->stop();
    if (prosody)
        prosody->stop();
}

std::unique_ptr<ChannelPusher> TestServiceChatClients::newPusher()
{
    auto pusher = std::make_unique<ChannelPusher>(store.get());
    pusher->session()->setWatchdogInterval(500);
    pusher->connectTo(prosody->domain(), prosody->port(), "channels", kPassword, caFile);
    return pusher;
}

bool TestServiceChatClients::restartProsody()
{
    return prosody->stop() && prosody->start();
}

void TestServiceChatClients::pushesOutliveRestartsOfServerAndService()
{
    std::unique_ptr<ChannelPusher> pusher = newPusher();
    QTRY_COMPARE_WITH_TIMEOUT(pusher->session()->sessions(), 1, 15000);
    pusher->push("reader", post("p1"));
    QTRY_VERIFY_WITH_TIMEOUT(received.contains("p1"), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(pusher->waitingCount(), 0, 15000);

    // The chat server restarts: the pusher comes back on a new session and
    // sends what was given meanwhile.
    QVERIFY(prosody->stop());
    pusher->push("reader", post("p2"));
    QCOMPARE(pusher->waitingCount(), 1);
    QVERIFY(prosody->start());
    QTRY_COMPARE_WITH_TIMEOUT(pusher->session()->sessions(), 2, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(received.contains("p2"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(pusher->waitingCount(), 0, 15000);

    // A push given while the chat server is away waits on disk through a
    // restart of the service as well.
    QVERIFY(prosody->stop());
    pusher->push("reader", post("p3"));
    pusher.reset();
    QVERIFY(prosody->start());
    pusher = newPusher();
    QCOMPARE(pusher->waitingCount(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(received.contains("p3"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(pusher->waitingCount(), 0, 15000);
    QCOMPARE(received.count("p1"), 1);
    QCOMPARE(received.count("p2"), 1);
    QVERIFY2(!prosody->logText().contains(kResumeRefused), "a client asked to resume");
}

void TestServiceChatClients::keeperReturnsAfterRestart()
{
    FakeWebService web;
    QVERIFY(web.start());
    ServiceStore serviceStore;
    LocalService service(&web, &serviceStore);
    service.installProcedures();
    GroupRoomKeeper keeper(&service);
    keeper.session()->setWatchdogInterval(500);
    keeper.connectToServer(prosody->host(), prosody->port(), prosody->domain(), "groupkeeper",
                           kPassword, prosody->mucDomain());
    QTRY_VERIFY_WITH_TIMEOUT(keeper.isConnected(), 15000);
    const int before = keeper.session()->sessions();
    QVERIFY(restartProsody());
    QTRY_VERIFY_WITH_TIMEOUT(keeper.session()->sessions() > before && keeper.isConnected(), 20000);
    QVERIFY2(!prosody->logText().contains(kResumeRefused), "a client asked to resume");
}

void TestServiceChatClients::watchdogNoticesAServerThatStoppedAnswering()
{
    std::unique_ptr<ChannelPusher> pusher = newPusher();
    QTRY_VERIFY_WITH_TIMEOUT(pusher->session()->sessions() >= 1 && pusher->waitingCount() == 0,
                             15000);
    const int before = pusher->session()->sessions();
    // The server freezes: the connection stays open but nothing answers.
    // The watchdog ends the silent stream; once the server answers again the
    // pusher is back on a new session and the post waiting meanwhile goes out.
    QSignalSpy ended(pusher->session(), &ChatSessionGuard::sessionEnded);
    QVERIFY(::kill(pid_t(prosody->processId()), SIGSTOP) == 0);
    pusher->push("reader", post("p4"));
    QTRY_VERIFY_WITH_TIMEOUT(ended.count() > 0, 20000);
    QVERIFY(::kill(pid_t(prosody->processId()), SIGCONT) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(pusher->session()->sessions() > before, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(received.contains("p4"), 20000);
}

void TestServiceChatClients::pusherTellsTheFollowersItIsBack()
{
    // Each new session of the channel account (here the service restarting)
    // tells every follower then online, once.
    QTRY_VERIFY_WITH_TIMEOUT(reader->isConnected(), 20000);
    backWords = 0;
    const auto followers = [] { return QStringList{"reader", "nobody"}; };
    std::unique_ptr<ChannelPusher> pusher = newPusher();
    pusher->setFollowers(followers);
    QTRY_COMPARE_WITH_TIMEOUT(backWords, 1, 15000);
    pusher.reset();
    pusher = newPusher();
    pusher->setFollowers(followers);
    QTRY_COMPARE_WITH_TIMEOUT(backWords, 2, 15000);
    QTest::qWait(500);
    QCOMPARE(backWords, 2);
}

void TestServiceChatClients::serverLeftWithoutItsPidIsEndedAtTheNextStart()
{
    // A run killed between starting its chat server and noting the pid
    // leaves a server behind that no pid file names, serving the port. A
    // second one started beside it would find the port taken and serve
    // nobody, while the first one went on for good.
    QVERIFY(prosody->stop());
    qint64 leftover = 0;
    QVERIFY(QProcess::startDetached("prosody", {"--config", prosody->configPath(), "-F"},
                                    prosody->folder(), &leftover));
    const auto portAccepts = [this] {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, prosody->port());
        return probe.waitForConnected(200);
    };
    QTRY_VERIFY_WITH_TIMEOUT(portAccepts(), 15000);

    const bool started = prosody->start();
    const QList<qint64> running = ChatServer::runningWith(prosody->configPath());
    if (running.contains(leftover))
        ::kill(pid_t(leftover), SIGKILL); // nothing stays behind the test
    QVERIFY2(started, qPrintable(prosody->errorString()));
    QCOMPARE(running, QList<qint64>{prosody->processId()});
    // The clients are back on the server that was started.
    QTRY_VERIFY_WITH_TIMEOUT(reader->isConnected(), 20000);
    QVERIFY(::kill(pid_t(prosody->processId()), SIGSTOP) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(!reader->isConnected(), 20000);
    QVERIFY(::kill(pid_t(prosody->processId()), SIGCONT) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(reader->isConnected(), 20000);
}

QTEST_GUILESS_MAIN(TestServiceChatClients)
#include "tst_servicechatclients.moc"
