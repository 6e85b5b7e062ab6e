// Chat-server throughput and latency against a private prosody on loopback,
// beside plain QXmpp doing the same exchanges in the same run. For every
// message the client asks the server for its stanza count (<r/>), reads the
// answer (<a/>), sends the message stanza with its receipt request and asks
// again; the message counts as sent when that answer counts it, and only then
// does the next one go. The plain side does exactly this with a QXmppClient,
// the same stanzas; every message goes to the same plain receiver, which
// answers each with its receipt.
//   1. sequential send-to-confirm latency of QuorvelXMPPClient and of
//      XMPPManager (with the stored outbox), against the plain exchange;
//   2. bursts of 1,000 messages through the manager's outbox until the last
//      is confirmed, against the same 1,000 plain exchanges one after another
//      and against 1,000 plain messages written without any wait (nine
//      rounds, the three taking turns in each, the first two changing
//      places every round; medians of the rounds).
// Usage: bench_xmpp [sequential-count] [burst-count]

#include "Managers/XMPP/quorvelxmppclient.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "Managers/XMPP/xmppmanager.h"
#include "benchhome.h"
#include "benchload.h"
#include "foundation/serviceconfig.h"
#include "prosodyserver.h"
#include "testcertificates.h"

#include <QCoreApplication>
#include <QDomElement>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <QXmppClient.h>
#include <QXmppClientExtension.h>
#include <QXmppMessage.h>
#include <QXmppMessageReceiptManager.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
const int kBurstRounds = 9;

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

// Hides the server's stream-management feature from QXmpp, as the client
// does, so that the library neither enables it nor asks on its own.
class HideStreamManagement : public QXmppClientExtension
{
public:
    bool handleStanza(const QDomElement& element) override
    {
        if (element.tagName() != QLatin1String("features"))
            return false;
        QDomElement features = element;
        QDomElement child = features.firstChildElement();
        while (!child.isNull()) {
            const QDomElement next = child.nextSiblingElement();
            if (child.namespaceURI() == QLatin1String("urn:xmpp:sm:3"))
                features.removeChild(child);
            child = next;
        }
        return false;
    }
};

// The client's one-in-flight exchange on a plain QXmppClient: raw <enable/>
// and <r/> written on the stream, answers read where the client reads them
// (the stream's log of received chunks).
class PlainExchange
{
public:
    explicit PlainExchange(QXmppClient* client)
        : client(client), stream(client->findChild<QXmppOutgoingClient*>())
    {
        QObject::connect(stream, &QXmppLoggable::logMessage,
                         [this](QXmppLogger::MessageType type, const QString& text) {
                             if (type != QXmppLogger::ReceivedMessage ||
                                 !text.contains(QLatin1String("urn:xmpp:sm:3")))
                                 return;
                             enabled = enabled || text.contains(QLatin1String("<enabled"));
                             answers += text.count(answer);
                         });
    }

    bool enable()
    {
        stream->sendData("<enable xmlns='urn:xmpp:sm:3'/>");
        return waitFor([this] { return enabled; }, 10000);
    }

    // One message, confirmed; false when an answer does not come.
    bool send(const QXmppMessage& stanza)
    {
        if (!ask())
            return false;
        client->sendPacket(stanza);
        return ask();
    }

private:
    bool ask()
    {
        const int before = answers;
        stream->sendData("<r xmlns='urn:xmpp:sm:3'/>");
        return waitFor([&] { return answers > before; }, 10000);
    }

    QXmppClient* const client;
    QXmppOutgoingClient* const stream;
    const QRegularExpression answer{QStringLiteral("<a[ >/]")};
    bool enabled = false;
    int answers = 0;
};

std::unique_ptr<QXmppClient> plainLogin(const ProsodyServer& server, const QString& user)
{
    auto client = std::make_unique<QXmppClient>();
    client->insertExtension(0, new HideStreamManagement);
    client->addExtension(new QXmppMessageReceiptManager);
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
        Message m = text("alice", "rawb", i);
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
    usePrivateHome(home);
    qputenv("QUORVEL_CHAT_DOMAIN", "localhost");
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    const int sequential = argc > 1 ? QString(argv[1]).toInt() : 200;
    const int burst = argc > 2 ? QString(argv[2]).toInt() : 1000;

    if (!ProsodyServer::isAvailable()) {
        std::printf("prosody is not installed\n");
        return 1;
    }
    TestCertificates::trustSharedCa();
    ServiceConfig::installExtraCaCertificates(); // before the plain clients' sockets exist
    ProsodyServer server;
    for (const char* user : {"alice", "rawa", "rawb"})
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
    int arrivedAtB = 0;
    QObject::connect(rawB.get(), &QXmppClient::messageReceived,
                     [&](const QXmppMessage&) { ++arrivedAtB; });
    PlainExchange plain(rawA.get());
    if (!plain.enable()) {
        std::printf("plain stream management not enabled\n");
        return 1;
    }
    const QString rawResource = rawA->configuration().resource();
    const auto plainRun = [&](int count, QVector<double>* times) {
        for (int i = 0; i < count; ++i) {
            const QuorvelXMPPMessage stanza(text("rawa", "rawb", i), rawResource);
            QElapsedTimer t;
            t.start();
            if (!plain.send(stanza))
                return false;
            if (times)
                times->append(t.nsecsElapsed() / 1e6);
        }
        return true;
    };
    QVector<double> rawRoundTrips;
    plainRun(sequential, &rawRoundTrips);

    // ---- QuorvelXMPPClient ----
    QuorvelXMPPClient client;
    client.connectToServer(server.clientConfiguration("alice", "bench_client"),
                           QXmppPresence(QXmppPresence::Available));
    if (!waitFor([&] { return client.isAuthenticated(); }, 10000)) {
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
    manager.setUserIdentity(UserIdentityPtr::create("alice"));
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

    // ---- bursts: the outbox and the plain exchanges take turns, so that
    // both meet the same load of a shared machine, and which goes first
    // changes every round, so that neither always meets what the other left
    // behind; medians of the rounds ----
    QVector<double> managerBursts, rawBursts, burstRatios, floorBursts, floorRatios;
    qint64 queuedAfter = 0;
    bool managerDone = true;
    bool rawDone = true;
    bool floorDone = true;
    const auto managerBurst = [&] {
        const int managerBase = managerSent;
        QElapsedTimer burstTimer;
        burstTimer.start();
        for (int i = 0; i < burst; ++i) {
            Message m = text("alice", "rawb", i);
            m.setMessageId(QString());
            manager.sendMessage(&m);
        }
        queuedAfter = burstTimer.elapsed();
        managerDone = waitFor([&] { return managerSent - managerBase >= burst; }, 600000);
        managerBursts.append(burstTimer.nsecsElapsed() / 1e6);
    };
    const auto rawBurst = [&] {
        QElapsedTimer rawBurstTimer;
        rawBurstTimer.start();
        rawDone = plainRun(burst, nullptr);
        rawBursts.append(rawBurstTimer.nsecsElapsed() / 1e6);
    };
    for (int round = 0; round < kBurstRounds && managerDone && rawDone; ++round) {
        if (round % 2 == 0) {
            managerBurst();
            rawBurst();
        } else {
            rawBurst();
            managerBurst();
        }
        burstRatios.append(managerBursts.last() / rawBursts.last());

        // Plain writes without any wait, until the receiver has them all: the
        // floor of what the server can take, in the same round.
        const int floorBase = arrivedAtB;
        QElapsedTimer floorTimer;
        floorTimer.start();
        for (int i = 0; i < burst; ++i)
            rawA->sendPacket(QuorvelXMPPMessage(text("rawa", "rawb", i), rawResource));
        floorDone = waitFor([&] { return arrivedAtB - floorBase >= burst; }, 120000) && floorDone;
        floorBursts.append(floorTimer.nsecsElapsed() / 1e6);
        floorRatios.append(managerBursts.last() / floorBursts.last());
    }
    const double managerBurstMs = statsOf(managerBursts).median;
    const double rawBurstMs = statsOf(rawBursts).median;
    const double floorMs = statsOf(floorBursts).median;

    const Stats raw = statsOf(rawRoundTrips);
    const Stats viaClient = statsOf(clientConfirms);
    const Stats viaManager = statsOf(managerConfirms);
    std::printf("XMPP on loopback prosody, %d sequential messages, burst of %d\n", sequential,
                burst);
    std::printf("Sequential latency:\n");
    printStats("plain QXmpp, the same exchange", raw);
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
    std::printf("  plain QXmpp, the same exchanges: %d messages confirmed in %.1f ms "
                "(%.0f msg/s)%s\n",
                burst, rawBurstMs, burst / (rawBurstMs / 1000.0), rawDone ? "" : " [INCOMPLETE]");
    std::printf("  plain QXmpp, written without waiting: %d delivered in %.1f ms (%.0f msg/s)%s\n",
                burst, floorMs, burst / (floorMs / 1000.0), floorDone ? "" : " [INCOMPLETE]");
    std::sort(burstRatios.begin(), burstRatios.end());
    std::printf("  ratio outbox/plain same exchanges, median of %d rounds %.2f (goal <= 1.2); "
                "rounds from %.2f to %.2f\n",
                int(burstRatios.size()), statsOf(burstRatios).median, burstRatios.value(0),
                burstRatios.value(burstRatios.size() - 1));
    std::sort(floorRatios.begin(), floorRatios.end());
    std::printf("  ratio outbox/plain writes without waiting, median of %d rounds %.2f; "
                "rounds from %.2f to %.2f\n",
                int(floorRatios.size()), statsOf(floorRatios).median, floorRatios.value(0),
                floorRatios.value(floorRatios.size() - 1));
    manager.forceUpdate();
    server.stop();
    printLoadAverage("end");
    return managerDone && rawDone && floorDone ? 0 : 2;
}
