// Chat-server throughput and latency against a private prosody on loopback,
// beside plain QXmpp measured in the same run:
//   1. sequential send-to-confirm latency of QuorvelXMPPClient (stream-
//      management confirmation) and of XMPPManager (with the stored outbox),
//      against a plain QXmppClient's message round trip (A -> B -> A echo);
//   2. a burst of 1,000 messages through the manager's outbox until the last
//      is confirmed, against 1,000 plain QXmpp messages until the last arrives.
// Usage: bench_xmpp [sequential-count] [burst-count]

#include "Managers/XMPP/quorvelxmppclient.h"
#include "Managers/XMPP/xmppmanager.h"
#include "foundation/serviceconfig.h"
#include "prosodyserver.h"
#include "testcertificates.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QXmppClient.h>
#include <QXmppMessage.h>
#include <QXmppPresence.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct Stats
{
    double mean = 0;
    double median = 0;
    double p95 = 0;
};

Stats statsOf(QVector<double> samples)
{
    Stats s;
    if (samples.isEmpty())
        return s;
    std::sort(samples.begin(), samples.end());
    double sum = 0;
    for (double v : samples)
        sum += v;
    s.mean = sum / samples.size();
    s.median = samples.at(samples.size() / 2);
    s.p95 = samples.at(std::min(samples.size() - 1, int(samples.size() * 0.95)));
    return s;
}

void printStats(const char* label, const Stats& s)
{
    std::printf("  %-44s mean %7.3f ms  median %7.3f ms  p95 %7.3f ms\n", label, s.mean, s.median,
                s.p95);
}

// Runs the event loop until done() holds, waking on every event (QTest's
// waits poll in 10 ms steps, which would swamp the figures).
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wake;
    wake.start(timeoutMs);
    while (!done()) {
        if (elapsed.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::unique_ptr<QXmppClient> plainLogin(const ProsodyServer& server, const QString& user)
{
    auto client = std::make_unique<QXmppClient>();
    // The same socket option as QuorvelXMPPClient, so that both sides compare.
    for (QSslSocket* socket : client->findChildren<QSslSocket*>())
        QObject::connect(socket, &QAbstractSocket::connected, socket,
                         [socket] { socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
    client->connectToServer(server.clientConfiguration(user, QStringLiteral("bench")),
                            QXmppPresence(QXmppPresence::Available));
    QXmppClient* raw = client.get();
    if (!waitFor([raw] { return raw->isAuthenticated(); }, 10000))
        return nullptr;
    return client;
}

Message text(const QString& from, const QString& to, int i)
{
    Message m(MessageBase::MsgMajorType_SimpleChat, from, to,
              QStringLiteral("benchmark message %1").arg(i));
    m.generateMessageId();
    return m;
}

// Sends count messages one after another, each once the previous one was
// confirmed (the counter grew); returns each send-to-confirm time in ms.
QVector<double> sendOneByOne(int count, const int* confirmed,
                             const std::function<void(Message*)>& send)
{
    QVector<double> times;
    for (int i = 0; i < count; ++i) {
        Message m = text("alice", "bob", i);
        QElapsedTimer t;
        t.start();
        const int before = *confirmed;
        send(&m);
        if (!waitFor([&] { return *confirmed > before; }, 10000))
            break;
        times.append(t.nsecsElapsed() / 1e6);
    }
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    // A private home: the manager's store must not touch the user's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("QUORVEL_CHAT_DOMAIN", "localhost");
    QCoreApplication app(argc, argv);
    const int sequential = argc > 1 ? QString(argv[1]).toInt() : 200;
    const int burst = argc > 2 ? QString(argv[2]).toInt() : 1000;

    if (!ProsodyServer::isAvailable()) {
        std::printf("prosody is not installed\n");
        return 1;
    }
    TestCertificates::trustSharedCa();
    ServiceConfig::installExtraCaCertificates(); // before the plain clients' sockets exist
    ProsodyServer server;
    for (const char* user : {"alice", "bob", "rawa", "rawb"})
        server.addUser(QLatin1String(user), QStringLiteral("pw-") + user);
    if (!server.start()) {
        std::printf("prosody did not start: %s\n", qPrintable(server.errorString()));
        return 1;
    }

    // ---- plain QXmpp ----
    auto rawA = plainLogin(server, "rawa");
    auto rawB = plainLogin(server, "rawb");
    if (!rawA || !rawB) {
        std::printf("plain login failed\n");
        return 1;
    }
    int echoed = 0;
    int arrivedAtB = 0;
    QObject::connect(rawB.get(), &QXmppClient::messageReceived, [&](const QXmppMessage& m) {
        ++arrivedAtB;
        if (m.body().startsWith(QLatin1String("echo")))
            rawB->sendPacket(QXmppMessage(QString(), m.from(), m.body()));
    });
    QObject::connect(rawA.get(), &QXmppClient::messageReceived,
                     [&](const QXmppMessage&) { ++echoed; });
    QVector<double> rawRoundTrips;
    for (int i = 0; i < sequential; ++i) {
        QElapsedTimer t;
        t.start();
        const int before = echoed;
        rawA->sendPacket(QXmppMessage(QString(), QStringLiteral("rawb@localhost"),
                                      QStringLiteral("echo %1").arg(i)));
        if (!waitFor([&] { return echoed > before; }, 5000))
            break;
        rawRoundTrips.append(t.nsecsElapsed() / 1e6);
    }

    // ---- QuorvelXMPPClient ----
    QuorvelXMPPClient client;
    client.setUserName("alice");
    client.connectToServer(server.clientConfiguration("alice", "bench_client"),
                           QXmppPresence(QXmppPresence::Available));
    QuorvelXMPPClient bob;
    bob.connectToServer(server.clientConfiguration("bob", "bench_bob"),
                        QXmppPresence(QXmppPresence::Available));
    if (!waitFor([&] { return client.isAuthenticated() && bob.isAuthenticated(); }, 10000)) {
        std::printf("client login failed\n");
        return 1;
    }
    waitFor([] { return false; }, 300);
    int confirmed = 0;
    QObject::connect(&client, &QuorvelXMPPClient::messageSent, [&](Message) { ++confirmed; });
    const QVector<double> clientConfirms =
        sendOneByOne(sequential, &confirmed, [&](Message* m) { client.SendMessage(m); });
    client.disconnectFromServer();

    // ---- XMPPManager with its stored outbox ----
    XMPPManager manager;
    manager.setUserName("alice");
    manager.startLoading();
    const QJsonObject entry{
        {"ServerAddress", server.host()}, {"PortNo", QString::number(server.port())},
        {"Hostname", "localhost"},        {"Username", "alice"},
        {"Password", "pw-alice"},         {"Application", "chat"}};
    manager.processReply(PROC_Salam, QJsonObject{{"Servers", QJsonArray{entry}}});
    if (!waitFor([&] { return manager.getState() == QXmppClient::ConnectedState; }, 10000)) {
        std::printf("manager login failed\n");
        return 1;
    }
    waitFor([] { return false; }, 300);
    int managerSent = 0;
    QObject::connect(&manager, &XMPPManager::messageSent, [&](Message) { ++managerSent; });
    const QVector<double> managerConfirms =
        sendOneByOne(sequential, &managerSent, [&](Message* m) { manager.sendMessage(m); });

    // ---- bursts ----
    const int managerBase = managerSent;
    QElapsedTimer burstTimer;
    burstTimer.start();
    for (int i = 0; i < burst; ++i) {
        Message m = text("alice", "bob", i);
        m.setMessageId(QString());
        manager.sendMessage(&m);
    }
    const qint64 queuedAfter = burstTimer.elapsed();
    const bool managerDone = waitFor([&] { return managerSent - managerBase >= burst; }, 600000);
    const double managerBurstMs = burstTimer.nsecsElapsed() / 1e6;

    const int rawBase = arrivedAtB;
    QElapsedTimer rawBurstTimer;
    rawBurstTimer.start();
    for (int i = 0; i < burst; ++i)
        rawA->sendPacket(QXmppMessage(QString(), QStringLiteral("rawb@localhost"),
                                      QStringLiteral("burst %1").arg(i)));
    const bool rawDone = waitFor([&] { return arrivedAtB - rawBase >= burst; }, 120000);
    const double rawBurstMs = rawBurstTimer.nsecsElapsed() / 1e6;

    const Stats raw = statsOf(rawRoundTrips);
    const Stats viaClient = statsOf(clientConfirms);
    const Stats viaManager = statsOf(managerConfirms);
    std::printf("XMPP on loopback prosody, %d sequential messages, burst of %d\n", sequential,
                burst);
    std::printf("Sequential latency:\n");
    printStats("plain QXmpp round trip (A->B->A echo)", raw);
    printStats("QuorvelXMPPClient send-to-confirm", viaClient);
    printStats("XMPPManager send-to-confirm (stored outbox)", viaManager);
    if (raw.median > 0)
        std::printf("  ratio median client/plain %.2f, manager/plain %.2f\n",
                    viaClient.median / raw.median, viaManager.median / raw.median);
    std::printf("Burst:\n");
    std::printf("  XMPPManager outbox: %d messages queued in %lld ms, all confirmed in %.1f ms "
                "(%.0f msg/s)%s\n",
                burst, queuedAfter, managerBurstMs, burst / (managerBurstMs / 1000.0),
                managerDone ? "" : " [INCOMPLETE]");
    std::printf("  plain QXmpp: %d messages delivered in %.1f ms (%.0f msg/s)%s\n", burst,
                rawBurstMs, burst / (rawBurstMs / 1000.0), rawDone ? "" : " [INCOMPLETE]");
    if (rawBurstMs > 0)
        std::printf("  ratio outbox/plain time %.2f\n", managerBurstMs / rawBurstMs);
    manager.forceUpdate();
    server.stop();
    return managerDone && rawDone ? 0 : 2;
}
