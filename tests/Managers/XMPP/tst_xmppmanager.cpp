// The XMPP manager against a real prosody on loopback: the server from
// "Salam" or the saved configuration, the persistent outbox (order, exactly
// once, across an outage and across a restart of the sending process),
// receipts and HTML conversion, the back-off, stream errors, a new device id
// and a forced update. Alice's manager has an identity of its own while the
// process's shared name is bob's, as with two users' cores in one process: a
// manager that read the shared name would write bob's messages and keep the
// receipts of bob's messages to itself.

#include "Managers/XMPP/quorvelxmppclient.h"
#include "Managers/XMPP/xmppmanager.h"
#include "foundation/database.h"
#include "foundation/htmlmanager.h"
#include "model/globalconstants.h"
#include "prosodyserver.h"
#include "storefiles.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QXmppMessage.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>

#include <memory>
#include <unistd.h>

namespace {

const char* const kChildVariable = "QUORVEL_OUTBOX_CHILD";
const char* const kReceiptChildVariable = "QUORVEL_RECEIPT_CHILD";
// Text as the chat window hands it over (display HTML) and as a peer sends it.
const char* const kDisplay = "hi <img src=\":/emojis/png/1f600.png\" /> <a "
                             "href=\"https://example.com/a\">https://example.com/a</a>";
const char* const kPeerText = "a & b <c> https://example.com/a";

using ClientPtr = std::unique_ptr<QuorvelXMPPClient>;

QJsonObject serverEntry(const QString& host, int port, const QString& user)
{
    return QJsonObject{{"ServerAddress", host},
                       {"PortNo", QString::number(port)},
                       {"Hostname", "localhost"},
                       {"Username", user},
                       {"Password", QStringLiteral("pw-") + user},
                       {"Application", "chat"}};
}

UserIdentityPtr aliceIdentity()
{
    return UserIdentityPtr::create(QStringLiteral("alice"));
}

Message textTo(const QString& peer, const QString& body)
{
    return Message(MessageBase::MsgMajorType_SimpleChat, QString(), peer, body);
}

QStringList idsOf(const QSignalSpy& spy)
{
    QStringList ids;
    for (const QList<QVariant>& call : spy)
        ids.append(call.at(0).value<Message>().getMessageId());
    return ids;
}

// Answers every "Salam" request of the manager with the given servers.
void answerSalam(XMPPManager* manager, const QJsonArray& servers)
{
    QObject::connect(
        manager, &XMPPManager::start, manager,
        [manager, servers](Procedure procedure, QHash<QString, QJsonValue>) {
            if (procedure == PROC_Salam)
                manager->processReply(PROC_Salam, QJsonObject{{"Servers", servers}});
        },
        Qt::QueuedConnection);
}

// The sending half of the restart test, run as a separate process: queues
// three messages while the server is down, prints their ids and ends without
// any clean-up.
int runOutboxChild()
{
    const QJsonObject entry = QJsonDocument::fromJson(qgetenv(kChildVariable)).object();
    XMPPManager manager;
    manager.setUserIdentity(aliceIdentity());
    manager.startLoading();
    answerSalam(&manager, QJsonArray{entry});
    manager.onInitialize();
    QTest::qWait(300);
    QStringList ids;
    for (int i = 1; i <= 3; ++i) {
        Message m = textTo(QStringLiteral("bob"), QStringLiteral("restart %1 ").arg(i) + kDisplay);
        manager.sendMessage(&m);
        ids.append(m.getMessageId());
    }
    const QByteArray line = ids.join(QLatin1Char(',')).toUtf8() + '\n';
    ::write(1, line.constData(), size_t(line.size()));
    ::_exit(0);
}

// The receiving half of the receipt test, run as a separate process: signs in,
// prints "ready", and ends without any clean-up the moment the first message
// was handed over (stored, as far as the manager knows) and the receipt it
// owes for it reached the store, before the receipt could be written.
int runReceiptChild()
{
    const QJsonObject entry = QJsonDocument::fromJson(qgetenv(kReceiptChildVariable)).object();
    XMPPManager manager;
    manager.setUserIdentity(aliceIdentity());
    manager.startLoading();
    answerSalam(&manager, QJsonArray{entry});
    static bool handedOver = false;
    QObject::connect(&manager, &XMPPManager::incommingMessage, [](const Message& message) {
        const QByteArray line = message.getMessageId().toUtf8() + '\n';
        ::write(1, line.constData(), size_t(line.size()));
        handedOver = true;
    });
    const QString managerStore = DataBase::pathForName(QStringLiteral("xmppManagerDBname"));
    QLevelDB::setWriteObserver([managerStore](const QLevelDB& database) {
        if (handedOver && database.filename() == managerStore)
            ::_exit(0);
    });
    manager.onInitialize();
    if (!QTest::qWaitFor([&] { return manager.getClient()->streamManagementEnabled(); }, 20000))
        return 1;
    ::write(1, "ready\n", 6);
    QTest::qWait(30000);
    return 2;
}

} // namespace

class XmppManagerTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XMPPManager> newManager(bool connect = true);
    ClientPtr loginBob();
    QJsonObject entry(const QString& user = QStringLiteral("alice")) const
    {
        return serverEntry(server->host(), server->port(), user);
    }

    std::unique_ptr<ProsodyServer> server;

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void reconnectBackOff_data();
    void reconnectBackOff();
    void serverChoice_data();
    void serverChoice();
    void savedConfigurationIsUsed();
    void savedServerThatMovedIsAskedForAgain();

    void messagesReceiptsAndHtml();
    void outboxWhileServerDown();
    void outboxSurvivesProcessRestart();
    void unreadableQueueEntryIsSkipped();
    void killBetweenAnyTwoWritesLosesNothing();
    void streamErrorGoesThroughBackOff();
    void newDeviceIdUpdatesResource();
    void forceUpdateStopsReconnecting();
    void receiptOwedAtAKillArrivesAfterRestart();
    void messageNotKeptWaitsOnTheServerAndComesAgain();
    void receiptsOwedInAnEarlierStoreAreSent();
};

void XmppManagerTest::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    qputenv("QUORVEL_CHAT_DOMAIN", "localhost");
    GlobalConstants::setUserName(QStringLiteral("bob"));
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    server = std::make_unique<ProsodyServer>();
    QVERIFY2(server->addUser("alice", "pw-alice"), qPrintable(server->errorString()));
    QVERIFY2(server->addUser("bob", "pw-bob"), qPrintable(server->errorString()));
    QVERIFY2(server->start(), qPrintable(server->errorString()));
}

void XmppManagerTest::init()
{
    // Every case starts from an empty outbox.
    QDir(DataBase::pathForName(QStringLiteral("xmppManagerDBname"))).removeRecursively();
    if (server && !server->isRunning())
        QVERIFY2(server->start(), qPrintable(server->errorString()));
}

void XmppManagerTest::cleanupTestCase()
{
    if (server)
        server->stop();
}

std::unique_ptr<XMPPManager> XmppManagerTest::newManager(bool connect)
{
    auto manager = std::make_unique<XMPPManager>();
    manager->setUserIdentity(aliceIdentity());
    manager->startLoading();
    answerSalam(manager.get(), QJsonArray{entry()});
    if (connect) {
        manager->onInitialize();
        XMPPManager* raw = manager.get();
        if (!QTest::qWaitFor([raw] { return raw->getState() == QXmppClient::ConnectedState; },
                             10000))
            return nullptr;
    }
    return manager;
}

ClientPtr XmppManagerTest::loginBob()
{
    auto bob = std::make_unique<QuorvelXMPPClient>();
    bob->connectToServer(server->clientConfiguration("bob", "desktopqt_bob"),
                         QXmppPresence(QXmppPresence::Available));
    QuorvelXMPPClient* raw = bob.get();
    if (!QTest::qWaitFor([raw] { return raw->isAuthenticated(); }, 10000))
        return nullptr;
    return bob;
}

void XmppManagerTest::reconnectBackOff_data()
{
    QTest::addColumn<int>("attempt");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("first") << 0 << 2000 << 5000;
    QTest::newRow("after a disconnect") << -1 << 2000 << 5000;
    QTest::newRow("third") << 2 << 8000 << 23000;
    QTest::newRow("sixth") << 5 << 64000 << 191000;
    QTest::newRow("later") << 12 << 64000 << 191000;
}

void XmppManagerTest::reconnectBackOff()
{
    QFETCH(int, attempt);
    QFETCH(int, low);
    QFETCH(int, high);
    QSet<int> seen;
    for (int i = 0; i < 3000; ++i) {
        const int ms = XMPPManager::getReconnectTime(attempt);
        QVERIFY2(ms >= low && ms <= high, qPrintable(QString::number(ms)));
        QCOMPARE(ms % 1000, 0);
        seen.insert(ms);
    }
    QCOMPARE(seen.size(), (high - low) / 1000 + 1); // every whole second is drawn
}

void XmppManagerTest::serverChoice_data()
{
    QTest::addColumn<QJsonArray>("servers");
    QTest::addColumn<QString>("expectedUser");
    QJsonObject noPassword = serverEntry("127.0.0.9", 1, "nopass");
    noPassword.remove("Password");
    QJsonObject otherApplication = serverEntry("127.0.0.8", 1, "other");
    otherApplication["Application"] = "file";
    QJsonObject badPort = serverEntry("127.0.0.7", 1, "badport");
    badPort["PortNo"] = "52x";
    const QJsonObject good = serverEntry("127.0.0.6", 1, "good");
    QTest::newRow("first lacks Password") << QJsonArray{noPassword, good} << "good";
    QTest::newRow("other application") << QJsonArray{otherApplication, good} << "good";
    QTest::newRow("unusable port") << QJsonArray{badPort, good} << "good";
    QTest::newRow("nothing usable") << QJsonArray{noPassword, badPort} << QString();
}

void XmppManagerTest::serverChoice()
{
    QFETCH(QJsonArray, servers);
    QFETCH(QString, expectedUser);
    XMPPManager manager;
    manager.setUserIdentity(aliceIdentity());
    manager.startLoading();
    manager.processReply(PROC_Salam, QJsonObject{{"Servers", servers}});
    QXmppConfiguration& config = manager.getClient()->configuration();
    QCOMPARE(config.user(), expectedUser);
    if (expectedUser.isEmpty())
        return;
    QCOMPARE(config.host(), QStringLiteral("127.0.0.6"));
    QCOMPARE(config.port(), 1);
    QCOMPARE(config.domain(), QStringLiteral("localhost"));
    QCOMPARE(config.resource(), "desktopqt_" + DeviceInfoProvider().getDeviceID());
    QCOMPARE(config.streamSecurityMode(), QXmppConfiguration::TLSRequired);
    QVERIFY(!config.ignoreSslErrors());
    QVERIFY(!config.autoReconnectionEnabled());
    QCOMPARE(config.keepAliveInterval(), 60);
    QCOMPARE(config.keepAliveTimeout(), 5);
    manager.forceUpdate();
}

void XmppManagerTest::savedConfigurationIsUsed()
{
    {
        auto first = newManager();
        QVERIFY(first);
    }
    XMPPManager second;
    second.setUserIdentity(aliceIdentity());
    QSignalSpy requests(&second, &XMPPManager::start);
    second.startLoading();
    second.onInitialize();
    QTRY_COMPARE_WITH_TIMEOUT(second.getState(), QXmppClient::ConnectedState, 10000);
    QCOMPARE(requests.count(), 0);
    QVERIFY(second.getLastTimeConnected() > 0);
}

// A server saved by an earlier run that no longer answers (the service moved
// its chat server) makes the manager ask the service again, and it connects
// where the service now says.
void XmppManagerTest::savedServerThatMovedIsAskedForAgain()
{
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const int gonePort = gone.serverPort();
    gone.close();
    {
        XMPPManager first;
        first.setUserIdentity(aliceIdentity());
        first.startLoading();
        first.processReply(
            PROC_Salam,
            QJsonObject{{"Servers", QJsonArray{serverEntry(server->host(), gonePort, "alice")}}});
        QCOMPARE(first.getClient()->configuration().port(), gonePort);
        first.forceUpdate();
    }
    XMPPManager second;
    second.setUserIdentity(aliceIdentity());
    QSignalSpy requests(&second, &XMPPManager::start);
    second.startLoading();
    answerSalam(&second, QJsonArray{entry()});
    second.onInitialize();
    QTRY_COMPARE_WITH_TIMEOUT(second.getState(), QXmppClient::ConnectedState, 20000);
    QCOMPARE(second.getClient()->configuration().port(), server->port());
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).value<Procedure>(), PROC_Salam);
}

void XmppManagerTest::messagesReceiptsAndHtml()
{
    auto alice = newManager();
    QVERIFY(alice);
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy sent(alice.get(), &XMPPManager::messageSent);
    QSignalSpy incoming(alice.get(), &XMPPManager::incommingMessage);
    QSignalSpy atBob(bob.get(), &QuorvelXMPPClient::receivedQuorvel);
    QSignalSpy receiptsAtBob(bob.get(), &QuorvelXMPPClient::delivery);

    // Outgoing: a seen message is confirmed but not reported; the text goes
    // out as plain text.
    Message seen(MessageBase::MsgMajorType_ControlMessage, QString());
    seen.setMinorType(MessageBase::MsgMinorType_Seen);
    seen.setChatId("bob");
    seen.addToOtherFields("MESSAGE_ID", "des_bob_1_abcd");
    const QString display = QString::fromUtf8(kDisplay);
    Message text = textTo("bob", display);
    QVERIFY(!alice->sendMessage(&seen));
    QVERIFY(!alice->sendMessage(&text));
    QCOMPARE(text.getUserId(), QStringLiteral("alice"));
    QVERIFY(!text.getMessageId().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(atBob), QStringList({seen.getMessageId(), text.getMessageId()}),
                              10000);
    QTRY_COMPARE(idsOf(sent), QStringList{text.getMessageId()});
    const Message atPeer = atBob.at(1).at(0).value<Message>();
    QCOMPARE(atPeer.getMessageBody(), HtmlManager::replaceHtmlTags(display));
    QVERIFY(atPeer.getMessageBody() != display);

    // Incoming: a receipt goes back and the text becomes display HTML.
    QSignalSpy bobSent(bob.get(), &QuorvelXMPPClient::messageSent);
    Message reply(MessageBase::MsgMajorType_SimpleChat, "bob", "alice", QLatin1String(kPeerText));
    reply.generateMessageId();
    QVERIFY(bob->SendMessage(&reply));
    QTRY_COMPARE(incoming.count(), 1);
    const Message got = incoming.at(0).at(0).value<Message>();
    QCOMPARE(got.getMessageBody(), HtmlManager::insertHtmlTags(QLatin1String(kPeerText)));
    QVERIFY(got.getMessageBody() != QLatin1String(kPeerText));
    QCOMPARE(got.getChatId(), QStringLiteral("bob"));
    QTRY_VERIFY(receiptsAtBob.count() >= 1);
    QCOMPARE(receiptsAtBob.last().at(1).toString(), reply.getMessageId());
    QCOMPARE(bobSent.count(), 1);

    // A receipt from the peer reaches the manager as a delivery.
    QSignalSpy delivered(alice.get(), &XMPPManager::messageDelivered);
    QXmppMessage receipt;
    receipt.setTo(alice->getClient()->configuration().jid());
    receipt.setReceiptId(text.getMessageId());
    bob->sendPacket(receipt);
    QTRY_COMPARE(delivered.count(), 1);
    QCOMPARE(delivered.at(0).at(0).toString(), QStringLiteral("bob"));
    QCOMPARE(delivered.at(0).at(1).toString(), text.getMessageId());
}

void XmppManagerTest::outboxWhileServerDown()
{
    auto alice = newManager();
    QVERIFY(alice);
    QSignalSpy sent(alice.get(), &XMPPManager::messageSent);
    QVERIFY(server->stop());
    QTRY_COMPARE(alice->getState(), QXmppClient::DisconnectedState);

    QStringList ids;
    for (int i = 0; i < 5; ++i) {
        Message m = textTo("bob", QStringLiteral("queued %1").arg(i));
        alice->sendMessage(&m);
        ids.append(m.getMessageId());
    }
    QTest::qWait(500);
    QCOMPARE(sent.count(), 0);

    QVERIFY2(server->start(), qPrintable(server->errorString()));
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy atBob(bob.get(), &QuorvelXMPPClient::receivedQuorvel);
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(sent), ids, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(atBob), ids, 10000);
    QTest::qWait(2500);
    QCOMPARE(idsOf(sent), ids);
    QCOMPARE(idsOf(atBob), ids);
}

void XmppManagerTest::outboxSurvivesProcessRestart()
{
    QVERIFY(server->stop());
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildVariable,
                       QString::fromUtf8(QJsonDocument(entry()).toJson(QJsonDocument::Compact)));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    const QStringList ids =
        QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(QLatin1Char(','));
    QCOMPARE(ids.size(), 3);

    QVERIFY2(server->start(), qPrintable(server->errorString()));
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy atBob(bob.get(), &QuorvelXMPPClient::receivedQuorvel);

    auto alice = newManager(false);
    QSignalSpy sent(alice.get(), &XMPPManager::messageSent);
    QSignalSpy requests(alice.get(), &XMPPManager::start);
    alice->onInitialize(); // the configuration the first process saved
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(atBob), ids, 15000);
    QTRY_COMPARE(idsOf(sent), ids);
    QCOMPARE(requests.count(), 0);
    QTest::qWait(2500);
    QCOMPARE(idsOf(atBob), ids);
    for (int i = 0; i < 3; ++i) {
        const QString input = QStringLiteral("restart %1 ").arg(i + 1) + kDisplay;
        QCOMPARE(atBob.at(i).at(0).value<Message>().getMessageBody(),
                 HtmlManager::replaceHtmlTags(input));
        QVERIFY(atBob.at(i).at(0).value<Message>().getMessageBody() != input);
    }
}

void XmppManagerTest::unreadableQueueEntryIsSkipped()
{
    Message stored = textTo("bob", "after the ghost");
    stored.setUserId("alice");
    stored.generateMessageId();
    {
        DataBase db;
        db.setDBName("xmppManagerDBname");
        QVERIFY(db.isOpen());
        QVERIFY(db.put("chatServerConfig", entry()));
        QVERIFY(db.put("_queueMessageIds", "ghost,," + stored.getMessageId()));
        QVERIFY(db.put("broken", "{not json"));
        QVERIFY(db.put("_currentMessageId", "broken"));
        QVERIFY(db.put(stored.getMessageId(),
                       QString::fromUtf8(QJsonDocument(stored.toJson()).toJson())));
        db.close();
    }
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy atBob(bob.get(), &QuorvelXMPPClient::receivedQuorvel);
    auto alice = newManager(false);
    QSignalSpy sent(alice.get(), &XMPPManager::messageSent);
    alice->onInitialize();
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(atBob), QStringList{stored.getMessageId()}, 15000);
    QTRY_COMPARE(idsOf(sent), QStringList{stored.getMessageId()});
}

void XmppManagerTest::killBetweenAnyTwoWritesLosesNothing()
{
    // A burst goes out while a copy of the outbox's files is taken after
    // every write. Each copy, opened as the next start would open it, must
    // hold every message that was handed over or had reached the wire and
    // was not yet confirmed, in the order they were handed over.
    const QString storePath = DataBase::pathForName(QStringLiteral("xmppManagerDBname"));
    QTemporaryDir copies;
    struct Step
    {
        QString copy;
        QStringList mustKeep;
    };
    QList<Step> steps;
    QStringList handed, onWire, confirmed;
    const auto pending = [&] {
        QStringList ids;
        for (const QStringList* list : {&handed, &onWire}) {
            for (const QString& id : *list) {
                if (!confirmed.contains(id) && !ids.contains(id))
                    ids.append(id);
            }
        }
        return ids;
    };
    struct ObserverReset
    {
        ~ObserverReset() { QLevelDB::setWriteObserver(nullptr); }
    } observerReset;
    QLevelDB::setWriteObserver([&](const QLevelDB& db) {
        if (db.filename() != storePath)
            return;
        const QString copy = copies.path() + QStringLiteral("/%1").arg(steps.size());
        copyStoreFiles(storePath, copy);
        steps.append({copy, pending()});
    });

    auto alice = newManager();
    QVERIFY(alice);
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    connect(alice.get(), &XMPPManager::messageSent, this,
            [&](const Message& m) { confirmed.append(m.getMessageId()); });
    auto* stream = alice->getClient()->findChild<QXmppOutgoingClient*>();
    QVERIFY(stream);
    connect(stream, &QXmppLoggable::logMessage, this,
            [&](QXmppLogger::MessageType type, const QString& text) {
                if (type != QXmppLogger::SentMessage)
                    return;
                for (const QString& id :
                     handed +
                         QStringList{alice->getClient()->getLastSentMessage().getMessageId()}) {
                    if (!id.isEmpty() && text.contains(id) && !onWire.contains(id))
                        onWire.append(id);
                }
            });
    const int writesBefore = steps.size();
    for (int i = 0; i < 6; ++i) {
        Message m = textTo("bob", QStringLiteral("burst %1").arg(i));
        m.generateMessageId();
        const QString id = m.getMessageId();
        alice->sendMessage(&m);
        handed.append(id);
    }
    QTRY_COMPARE_WITH_TIMEOUT(confirmed.size(), 6, 60000);
    QCOMPARE(confirmed, handed);
    QLevelDB::setWriteObserver(nullptr);
    alice.reset();

    QVERIFY(steps.size() > writesBefore);
    for (int i = 0; i < steps.size(); ++i) {
        QDir(storePath).removeRecursively();
        copyStoreFiles(steps[i].copy, storePath);
        XMPPManager restarted;
        restarted.setUserIdentity(aliceIdentity());
        restarted.startLoading();
        const QStringList outbox = restarted.outboxIds();
        QStringList kept;
        for (const QString& id : outbox) {
            if (steps[i].mustKeep.contains(id))
                kept.append(id);
        }
        QVERIFY2(kept == steps[i].mustKeep,
                 qPrintable(QStringLiteral("after write %1 the outbox holds %2, not %3")
                                .arg(i)
                                .arg(outbox.join(','), steps[i].mustKeep.join(','))));
        restarted.forceUpdate();
    }
    // Taking a message in, out and confirming it: a few writes each,
    // whatever the queue's length.
    QVERIFY2(steps.size() - writesBefore <= 3 * 6,
             qPrintable(QString::number(steps.size() - writesBefore)));
}

void XmppManagerTest::streamErrorGoesThroughBackOff()
{
    auto alice = newManager();
    QVERIFY(alice);
    QSignalSpy requests(alice.get(), &XMPPManager::start);
    // A second login with the same resource ends the manager's stream.
    QuorvelXMPPClient intruder;
    intruder.connectToServer(
        server->clientConfiguration("alice", alice->getClient()->configuration().resource()),
        QXmppPresence(QXmppPresence::Available));
    QTRY_COMPARE_WITH_TIMEOUT(alice->getState(), QXmppClient::DisconnectedState, 10000);
    QTest::qWait(1000);
    QCOMPARE(requests.count(), 0);
    const int interval = alice->reconnectInterval();
    QVERIFY2(interval >= 2000 && interval <= 5000, qPrintable(QString::number(interval)));
    QTRY_COMPARE_WITH_TIMEOUT(requests.count(), 1, 6000);
    QCOMPARE(requests.at(0).at(0).value<Procedure>(), PROC_Salam);
    intruder.disconnectFromServer();
    QTRY_COMPARE_WITH_TIMEOUT(alice->getState(), QXmppClient::ConnectedState, 10000);
}

void XmppManagerTest::newDeviceIdUpdatesResource()
{
    auto alice = newManager();
    QVERIFY(alice);
    DeviceInfoProvider().writeDeviceId(QStringLiteral("0fedcba987654321"));
    alice->newDeviceIdSet();
    QTRY_COMPARE(alice->getState(), QXmppClient::DisconnectedState);
    QCOMPARE(alice->getClient()->configuration().resource(),
             QStringLiteral("desktopqt_0fedcba987654321"));
    QTRY_COMPARE_WITH_TIMEOUT(alice->getState(), QXmppClient::ConnectedState, 20000);
    QCOMPARE(alice->getClient()->configuration().resource(),
             QStringLiteral("desktopqt_0fedcba987654321"));
}

void XmppManagerTest::forceUpdateStopsReconnecting()
{
    auto alice = newManager();
    QVERIFY(alice);
    Message pending = textTo("bob", "stays in the outbox");
    QVERIFY(server->stop());
    QTRY_COMPARE(alice->getState(), QXmppClient::DisconnectedState);
    alice->sendMessage(&pending);
    QVERIFY2(server->start(), qPrintable(server->errorString()));
    alice->forceUpdate();
    QCOMPARE(alice->reconnectInterval(), -1);
    QTest::qWait(3000);
    QCOMPARE(alice->getState(), QXmppClient::DisconnectedState);
    QCOMPARE(alice->reconnectInterval(), -1);
    QVERIFY(!alice->getClient()->getLastSentMessage().isValid());
}

void XmppManagerTest::receiptOwedAtAKillArrivesAfterRestart()
{
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy receiptsAtBob(bob.get(), &QuorvelXMPPClient::delivery);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kReceiptChildVariable,
                       QString::fromUtf8(QJsonDocument(entry()).toJson(QJsonDocument::Compact)));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine() || child.state() == QProcess::NotRunning, 30000);
    QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));

    // Alice's process ends the moment the receipt it owes for Bob's message
    // is kept: it was never written.
    Message hello(MessageBase::MsgMajorType_SimpleChat, "bob", "alice", "are you there?");
    hello.generateMessageId();
    QVERIFY(bob->SendMessage(&hello));
    // Bob's client needs the event loop to send: no blocking wait here.
    QTRY_COMPARE_WITH_TIMEOUT(child.state(), QProcess::NotRunning, 30000);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput().trimmed(), hello.getMessageId().toUtf8());

    // Whatever the server still holds for Alice (it may hand the message out
    // again) goes to another client of hers that sends no receipts, so only
    // the receipt her store kept can reach Bob.
    auto drain = std::make_unique<QuorvelXMPPClient>();
    QSignalSpy drained(drain.get(), &QuorvelXMPPClient::receivedQuorvel);
    drain->connectToServer(server->clientConfiguration("alice", "drain"),
                           QXmppPresence(QXmppPresence::Available));
    QTRY_VERIFY_WITH_TIMEOUT(drain->isAuthenticated(), 10000);
    QTest::qWaitFor([&] { return drained.count() > 0; }, 5000);
    drain->disconnectFromServer();
    QTRY_COMPARE(drain->state(), QXmppClient::DisconnectedState);
    QCOMPARE(receiptsAtBob.count(), 0);

    // Alice starts again: the receipt goes out and reaches Bob, and the store
    // forgets it once the server took it.
    auto alice = newManager();
    QVERIFY(alice);
    QTRY_VERIFY_WITH_TIMEOUT(receiptsAtBob.count() >= 1, 20000);
    QCOMPARE(receiptsAtBob.first().at(1).toString(), hello.getMessageId());
    QTRY_VERIFY_WITH_TIMEOUT(alice->owedReceiptIds().isEmpty(), 10000);
}

void XmppManagerTest::messageNotKeptWaitsOnTheServerAndComesAgain()
{
    auto alice = newManager();
    QVERIFY(alice);
    QTRY_VERIFY_WITH_TIMEOUT(alice->getClient()->streamManagementEnabled(), 10000);
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy receiptsAtBob(bob.get(), &QuorvelXMPPClient::delivery);
    // What alice's side saw, in order; her store "fails" the first arrival.
    QStringList seen;
    bool failFirst = true;
    XMPPManager* raw = alice.get();
    connect(raw, &XMPPManager::incommingMessage, raw, [&](const Message& message) {
        seen << QStringLiteral("in ") + message.getMessageBody();
        if (failFirst) {
            failFirst = false;
            raw->arrivalNotKept(message);
        }
    });
    connect(raw, &XMPPManager::diskFullForArrivals, raw,
            [&](bool waiting) { seen << (waiting ? "waiting" : "room again"); });

    QStringList ids;
    QSignalSpy bobSent(bob.get(), &QuorvelXMPPClient::messageSent);
    for (int i = 1; i <= 3; ++i) {
        Message m(MessageBase::MsgMajorType_SimpleChat, "bob", "alice",
                  QStringLiteral("held %1").arg(i));
        m.generateMessageId();
        ids << m.getMessageId();
        QVERIFY(bob->SendMessage(&m));
        QTRY_COMPARE_WITH_TIMEOUT(bobSent.count(), i, 10000);
    }
    // Nothing after the message not kept is taken on that stream, and no
    // receipt goes for any of them; the disk takes writes again, and a new
    // stream brings all three, once each, in order.
    QTRY_COMPARE_WITH_TIMEOUT(seen.filter("in ").size(), 4, 30000);
    QTest::qWait(1000);
    QCOMPARE(seen, QStringList({"in held 1", "waiting", "room again", "in held 1", "in held 2",
                                "in held 3"}));
    QVERIFY(!alice->arrivalsWaitForDisk());
    QTRY_COMPARE_WITH_TIMEOUT(receiptsAtBob.count(), 3, 10000);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(receiptsAtBob.at(i).at(1).toString(), ids.at(i));
    QTRY_VERIFY_WITH_TIMEOUT(alice->owedReceiptIds().isEmpty(), 10000);
}

void XmppManagerTest::receiptsOwedInAnEarlierStoreAreSent()
{
    // The single record an earlier version kept all owed receipts in.
    {
        DataBase store(QStringLiteral("xmppManagerDBname"));
        QVERIFY(store.put(QStringLiteral("_owedReceipts"),
                          QJsonArray{QJsonObject{{"To", "bob@localhost"}, {"Id", "earlier-1"}},
                                     QJsonObject{{"To", "bob@localhost"}, {"Id", "earlier-2"}},
                                     QJsonObject{{"To", "bob@localhost"}, {"Id", "earlier-1"}},
                                     QJsonObject{{"To", ""}, {"Id", "no address"}}}));
    }
    ClientPtr bob = loginBob();
    QVERIFY(bob);
    QSignalSpy receiptsAtBob(bob.get(), &QuorvelXMPPClient::delivery);
    {
        auto alice = newManager(false);
        QVERIFY(alice);
        QCOMPARE(alice->owedReceiptIds(), QStringList({"earlier-1", "earlier-2"}));
    }
    {
        // Read back from their own records; the single record is gone.
        auto alice = newManager();
        QVERIFY(alice);
        QTRY_COMPARE_WITH_TIMEOUT(receiptsAtBob.count(), 2, 10000);
        QCOMPARE(receiptsAtBob.at(0).at(1).toString(), QStringLiteral("earlier-1"));
        QCOMPARE(receiptsAtBob.at(1).at(1).toString(), QStringLiteral("earlier-2"));
        QTRY_VERIFY_WITH_TIMEOUT(alice->owedReceiptIds().isEmpty(), 10000);
    }
    auto alice = newManager(false);
    QVERIFY(alice);
    QVERIFY(alice->owedReceiptIds().isEmpty());
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runOutboxChild();
    if (qEnvironmentVariableIsSet(kReceiptChildVariable))
        return runReceiptChild();
    XmppManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_xmppmanager.moc"
