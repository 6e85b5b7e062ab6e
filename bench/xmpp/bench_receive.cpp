// The CPU a burst of 1,000 one-to-one messages costs the receiving program,
// against a private prosody on loopback. A sender in a process of its own
// writes the messages as fast as it can; the receiver is the program's
// receive path (XMPPManager handing each message to the ChatManager, which
// stores it in its chat, closed as no window shows it; each kept message
// counted on the stream and answered with a delivery receipt), measured
// until every message is stored and the server has taken every receipt:
//   - receipts owed kept in the store (as the program runs),
//   - the same with the receipts owed kept in memory only,
//   - plain QXmpp underneath: a QXmppClient whose receipt manager answers
//     each message, storing each message's JSON with LevelDB.
// Three rounds, the three taking turns; the figures of each round and the
// medians, CPU seconds of this process (user + system).
// Usage: bench_receive [count]

#include "Managers/Chat/chatmanager.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "Managers/XMPP/xmppmanager.h"
#include "benchhome.h"
#include "benchload.h"
#include "foundation/database.h"
#include "foundation/serviceconfig.h"
#include "foundation/useridentity.h"
#include "prosodyserver.h"
#include "testcertificates.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmppClient.h>
#include <QXmppMessage.h>
#include <QXmppMessageReceiptManager.h>
#include <QXmppPresence.h>

#include <leveldb/db.h>
#include <leveldb/write_batch.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const char* const kSenderVariable = "QUORVEL_BENCH_RECEIVE_SENDER";
const int kRounds = 3;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

// Runs the event loop until done() holds, waking on every event.
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wake;
    wake.start(50);
    while (!done()) {
        if (elapsed.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QXmppConfiguration configuration(const QString& host, int port, const QString& user,
                                 const QString& resource)
{
    QXmppConfiguration config;
    config.setHost(host);
    config.setPort(port);
    config.setDomain(QStringLiteral("localhost"));
    config.setUser(user);
    config.setPassword(QStringLiteral("pw-") + user);
    config.setResource(resource);
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    config.setAutoReconnectionEnabled(false);
    return config;
}

// The sender's process: "host port from to count" in the environment; it
// signs in, writes count messages as the program writes them, then stays
// until it is stopped.
int runSender()
{
    const QStringList args = qEnvironmentVariable(kSenderVariable).split(QLatin1Char(' '));
    if (args.size() != 5)
        return 2;
    // The parent's test CA, named in the environment it handed down.
    ServiceConfig::installExtraCaCertificates();
    QXmppClient client;
    client.connectToServer(
        configuration(args[0], args[1].toInt(), args[2], QStringLiteral("sender")),
        QXmppPresence(QXmppPresence::Available));
    // Written once the stream is fully set up (the library sends nothing
    // before that).
    if (!waitFor([&] { return client.state() == QXmppClient::ConnectedState; }, 20000)) {
        std::fprintf(stderr, "sender %s could not sign in\n", qPrintable(args[2]));
        return 3;
    }
    const int count = args[4].toInt();
    for (int i = 0; i < count; ++i) {
        Message m(MessageBase::MsgMajorType_SimpleChat, args[2], args[3],
                  QStringLiteral("burst message %1").arg(i));
        m.generateMessageId();
        m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
        client.sendPacket(QuorvelXMPPMessage(m, QStringLiteral("sender")));
    }
    std::printf("sent\n");
    std::fflush(stdout);
    waitFor([] { return false; }, 600000);
    return 0;
}

class Sender
{
public:
    Sender(const ProsodyServer& server, const QString& from, const QString& to, int count)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kSenderVariable, QStringLiteral("%1 %2 %3 %4 %5")
                                        .arg(server.host())
                                        .arg(server.port())
                                        .arg(from, to)
                                        .arg(count));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), QStringList());
    }
    ~Sender()
    {
        process.kill();
        process.waitForFinished(5000);
    }

private:
    QProcess process;
};

// One burst into the program's receive path; the CPU seconds, or -1.
double receiveThroughProgram(const ProsodyServer& server, const QString& sender, int count,
                             bool receiptsInMemory)
{
    ChatManager chats;
    chats.setUserIdentity(UserIdentityPtr::create("alice"));
    chats.startLoading();
    XMPPManager manager;
    manager.setUserIdentity(UserIdentityPtr::create("alice"));
    manager.setReceiptsInMemoryOnly(receiptsInMemory);
    manager.startLoading();
    int stored = 0;
    // As the Manager hands an arrival over (Manager::incommingMessage).
    QObject::connect(&manager, &XMPPManager::incommingMessage, [&](Message msg) {
        const quint64 failedBefore = DataBase::writeFailures();
        msg.setState(MessageBase::MsgState_Delivered);
        if (chats.storeArrivedMessage(msg))
            ++stored;
        if (DataBase::writeFailures() != failedBefore)
            manager.arrivalNotKept(msg);
    });
    const QJsonObject entry{
        {"ServerAddress", server.host()}, {"PortNo", QString::number(server.port())},
        {"Hostname", "localhost"},        {"Username", "alice"},
        {"Password", "pw-alice"},         {"Application", "chat"}};
    manager.processReply(PROC_Salam, QJsonObject{{"Servers", QJsonArray{entry}}});
    if (!waitFor([&] { return manager.getState() == QXmppClient::ConnectedState; }, 20000))
        return -1;
    waitFor([] { return false; }, 500);
    const double before = cpuSeconds();
    Sender burst(server, sender, QStringLiteral("alice"), count);
    if (!waitFor([&] { return stored >= count && manager.owedReceiptIds().isEmpty(); }, 300000)) {
        std::printf("  stored %d of %d, %d receipts owed\n", stored, count,
                    int(manager.owedReceiptIds().size()));
        return -1;
    }
    const double spent = cpuSeconds() - before;
    manager.forceUpdate();
    waitFor([] { return false; }, 300);
    return spent;
}

// The same burst into plain QXmpp, each message's JSON stored with LevelDB.
double receivePlain(const ProsodyServer& server, const QString& sender, int count,
                    const QString& folder)
{
    leveldb::DB* raw = nullptr;
    if (!leveldb::DB::Open(QLevelDB::options(), QFile::encodeName(folder).toStdString(), &raw).ok())
        return -1;
    std::unique_ptr<leveldb::DB> db(raw);
    QXmppClient client;
    client.addExtension(new QXmppMessageReceiptManager);
    int stored = 0;
    QObject::connect(&client, &QXmppClient::messageReceived, [&](const QXmppMessage& message) {
        if (message.body().isEmpty())
            return;
        const QByteArray json = QJsonDocument(QJsonObject{{"MESSAGE_ID", message.id()},
                                                          {"FROM", message.from()},
                                                          {"MESSAGE_BODY", message.body()}})
                                    .toJson(QJsonDocument::Compact);
        leveldb::WriteBatch batch;
        batch.Put(message.id().toStdString(), json.toStdString());
        if (db->Write(leveldb::WriteOptions(), &batch).ok())
            ++stored;
    });
    client.connectToServer(
        configuration(server.host(), server.port(), QStringLiteral("rawr"), QStringLiteral("r")),
        QXmppPresence(QXmppPresence::Available));
    if (!waitFor([&] { return client.isAuthenticated(); }, 20000))
        return -1;
    waitFor([] { return false; }, 500);
    const double before = cpuSeconds();
    Sender burst(server, sender, QStringLiteral("rawr"), count);
    if (!waitFor([&] { return stored >= count; }, 300000))
        return -1;
    const double spent = cpuSeconds() - before;
    client.disconnectFromServer();
    return spent;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet(kSenderVariable)) {
        QCoreApplication app(argc, argv);
        return runSender();
    }
    QTemporaryDir home;
    usePrivateHome(home);
    qputenv("QUORVEL_CHAT_DOMAIN", "localhost");
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    const int count = argc > 1 ? QString(argv[1]).toInt() : 1000;
    if (!ProsodyServer::isAvailable()) {
        std::printf("prosody is not installed\n");
        return 1;
    }
    TestCertificates::trustSharedCa();
    ServiceConfig::installExtraCaCertificates();
    ProsodyServer server;
    QStringList users{"alice", "rawr"};
    for (int round = 0; round < kRounds; ++round) {
        for (const char* kind : {"s", "m", "p"})
            users << QStringLiteral("sender_%1%2").arg(QLatin1String(kind)).arg(round);
    }
    for (const QString& user : users)
        server.addUser(user, QStringLiteral("pw-") + user);
    if (!server.start()) {
        std::printf("prosody did not start: %s\n", qPrintable(server.errorString()));
        return 1;
    }

    QVector<double> storedReceipts, memoryReceipts, plain;
    for (int round = 0; round < kRounds; ++round) {
        const auto sender = [round](const char* kind) {
            return QStringLiteral("sender_%1%2").arg(QLatin1String(kind)).arg(round);
        };
        // The three take turns, starting one later each round.
        for (int turn = 0; turn < 3; ++turn) {
            switch ((turn + round) % 3) {
            case 0:
                storedReceipts << receiveThroughProgram(server, sender("s"), count, false);
                break;
            case 1:
                memoryReceipts << receiveThroughProgram(server, sender("m"), count, true);
                break;
            default:
                plain << receivePlain(server, sender("p"), count,
                                      home.filePath(QStringLiteral("plain%1").arg(round)));
                break;
            }
        }
        std::printf("round %d: receipts stored %.3f CPU-s, in memory %.3f CPU-s, plain QXmpp + "
                    "LevelDB %.3f CPU-s (load %s)\n",
                    round + 1, storedReceipts.last(), memoryReceipts.last(), plain.last(),
                    loadAverage().constData());
        std::fflush(stdout);
    }
    const double s = median(storedReceipts);
    const double m = median(memoryReceipts);
    const double p = median(plain);
    std::printf("burst of %d one-to-one messages, conversation closed, medians of %d rounds:\n",
                count, kRounds);
    std::printf("  program, receipts owed kept in the store   %.3f CPU-s\n", s);
    std::printf("  program, receipts owed in memory only      %.3f CPU-s  (stored/memory %.2f)\n",
                m, m > 0 ? s / m : 0);
    std::printf("  plain QXmpp receiving + LevelDB storing    %.3f CPU-s  (program/plain %.2f)\n",
                p, p > 0 ? s / p : 0);
    printLoadAverage("end");
    return 0;
}
