// Two cores, each in its own process with its own data folders, talk through
// a real prosody on loopback; each has its own instance of the fake web
// service (sign-up, the chat server's address and the other procedures).

#include "corematches.h"
#include "coreprocess.h"
#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "foundation/htmlmanager.h"
#include "prosodyserver.h"
#include "testcertificates.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const int kCmdContacts = 10;
const int kCmdReSyncContacts = 14;
const int kCmdChannelList = 21;
const int kCmdChatRecipients = 40;
const int kCmdSendSeen = 43;
const int kCmdGroupsList = 53;
const int kCmdGetsetting = 68;
const int kCmdErrorCode = 74;
const int kCmdLogout = 78;

const QString kPassword = QStringLiteral("chat-secret");

struct Peer
{
    QString name;
    QString phone;
    std::unique_ptr<FakeWebService> service;
    std::unique_ptr<FakeProcedures> procedures;
    QString home;
    std::unique_ptr<CoreProcess> core;
};

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void startUpAnswersAndConnection();
    void oneToOneMessageSentDeliveredSeen();
    void messagesWaitForAStoppedReceiver();
    void outboxSurvivesServerOutageAndRestart();
    void longTextIsSplitIntoConfirmedParts();
    void longTextsArriveIntact_data();
    void longTextsArriveIntact();
    void deactivatedAccountLogsOut();

private:
    bool startCore(Peer* peer);
    QString step(const QString& text);
    QString failure(const QString& what) const;

    QTemporaryDir root;
    std::unique_ptr<ProsodyServer> prosody;
    QString caFile;
    Peer a;
    Peer b;
    QString currentStep;
};

QString TestEndToEnd::step(const QString& text)
{
    currentStep = text;
    qInfo().noquote() << "STEP:" << text;
    return text;
}

QString TestEndToEnd::failure(const QString& what) const
{
    QString text = QStringLiteral("%1 (step: %2)").arg(what, currentStep);
    for (const Peer* peer : {&a, &b}) {
        if (peer->core)
            text += QLatin1Char('\n') + peer->core->tail();
    }
    return text;
}

void TestEndToEnd::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    caFile = TestCertificates::trustSharedCa();
    QVERIFY(!caFile.isEmpty());

    a.name = QStringLiteral("A");
    a.phone = QStringLiteral("989120000001");
    b.name = QStringLiteral("B");
    b.phone = QStringLiteral("989120000002");

    prosody.reset(new ProsodyServer());
    QVERIFY(prosody->addUser(a.phone, kPassword));
    QVERIFY(prosody->addUser(b.phone, kPassword));
    QVERIFY2(prosody->start(), qPrintable(prosody->errorString()));

    for (Peer* peer : {&a, &b}) {
        peer->service.reset(new FakeWebService());
        QVERIFY(peer->service->start());
        peer->procedures.reset(new FakeProcedures());
        peer->procedures->username = peer->phone;
        peer->procedures->token = QStringLiteral("token-of-") + peer->phone;
        peer->procedures->salamServers =
            QJsonArray{QJsonObject{{"Hostname", prosody->domain()},
                                   {"ServerAddress", prosody->host()},
                                   {"PortNo", QString::number(prosody->port())},
                                   {"Username", peer->phone},
                                   {"Password", kPassword},
                                   {"Application", "chat"}}};
        peer->procedures->install(peer->service.get());
        peer->home = root.filePath(peer->name);
    }
}

void TestEndToEnd::cleanupTestCase()
{
    for (Peer* peer : {&a, &b}) {
        if (peer->core)
            peer->core->stop();
        peer->core.reset();
    }
    if (prosody)
        prosody->stop();
}

bool TestEndToEnd::startCore(Peer* peer)
{
    QProcessEnvironment env;
    if (!privateEnvironment(peer->home, &env))
        return false;
    env.insert("QUORVEL_WEB_BASE_URL", peer->service->baseUrl());
    env.insert("QUORVEL_CHAT_DOMAIN", prosody->domain());
    env.insert("QUORVEL_EXTRA_CA_FILE", caFile);
    env.insert("QUORVEL_PHONE", peer->phone);
    env.insert("QUORVEL_PIN", peer->procedures->pinCode);
    peer->core.reset(new CoreProcess(peer->name, env));
    return peer->core->start();
}

void TestEndToEnd::startUpAnswersAndConnection()
{
    step("both cores sign up, load, initialise and connect");
    QVERIFY(startCore(&a));
    QVERIFY(startCore(&b));
    for (Peer* peer : {&a, &b}) {
        CoreProcess* core = peer->core.get();
        QVERIFY2(core->waitFor(CoreProcess::event("signUp"), 10000) >= 0,
                 qPrintable(failure("no sign-up")));
        const int loaded = core->waitFor(CoreProcess::event("loadingFinished"), 15000);
        QVERIFY2(loaded >= 0, qPrintable(failure("loading did not finish")));
        // The start-up answers come in this order, the chat-server state last.
        int at = loaded;
        for (int command : {kCmdGetsetting, kCmdContacts, kCmdChannelList, kCmdGroupsList,
                            kCmdChatRecipients, kCmdChatServerState}) {
            const int next = core->waitFor(CoreProcess::answer(command), 10000, at);
            QVERIFY2(next > at,
                     qPrintable(failure(QStringLiteral("answer %1 out of order").arg(command))));
            at = next;
        }
        QVERIFY2(core->waitFor(CoreProcess::event("initializingFinished"), 5000, loaded) > 0,
                 qPrintable(failure("no initializingFinished")));
        const QJsonObject setting =
            core->lines().at(core->waitFor(CoreProcess::answer(kCmdGetsetting), 1, loaded));
        QCOMPARE(setting.value("value").toObject().value("userName").toString(), peer->phone);
    }
    for (Peer* peer : {&a, &b}) {
        const int connected = peer->core->waitFor(chatServerState(3), 10000);
        QVERIFY2(connected >= 0, qPrintable(failure(peer->name + " never connected")));
    }
}

void TestEndToEnd::oneToOneMessageSentDeliveredSeen()
{
    step("A sends \"hi\" to B: stored not-sent, then sent, delivered and seen");
    QVERIFY(a.core && b.core);
    const int fromA = a.core->lineCount();
    const int fromB = b.core->lineCount();
    a.core->send(kCmdSendMessage, textMessage(b.phone, "hi"));

    const int added = a.core->waitFor(pairWithBody("hi"), 10000, fromA);
    QVERIFY2(added >= 0, qPrintable(failure("A's message was not added")));
    const QJsonObject stored = pairMessage(a.core->lines().at(added));
    QCOMPARE(stored.value("_state").toString(), QStringLiteral("notSent"));
    const QString id = stored.value("MESSAGE_ID").toString();
    QVERIFY(!id.isEmpty());

    QVERIFY2(a.core->waitFor(stateChange(id, "sent"), 10000, added) > added,
             qPrintable(failure("never sent")));
    QVERIFY2(b.core->waitFor(pairWithBody("hi"), 10000, fromB) >= 0,
             qPrintable(failure("B did not receive it")));
    QVERIFY2(a.core->waitFor(stateChange(id, "delivered"), 10000, added) > added,
             qPrintable(failure("never delivered")));

    b.core->send(kCmdSendSeen, a.phone);
    QVERIFY2(a.core->waitFor(stateChange(id, "seen"), 10000, added) > added,
             qPrintable(failure("never seen")));
    QTest::qWait(1000);
    QCOMPARE(b.core->count(pairWithBody("hi"), fromB), 1);
    QCOMPARE(a.core->count(stateChange(id, "sent"), added), 1);
}

void TestEndToEnd::messagesWaitForAStoppedReceiver()
{
    step("while A is stopped, B sends two messages; A receives each once after restart");
    QVERIFY(a.core->stop());
    const int fromB = b.core->lineCount();
    b.core->send(kCmdSendMessage, textMessage(a.phone, "while you were away 1"));
    b.core->send(kCmdSendMessage, textMessage(a.phone, "while you were away 2"));
    QStringList ids;
    for (const QString body : {"while you were away 1", "while you were away 2"}) {
        const int at = b.core->waitFor(pairWithBody(body), 10000, fromB);
        QVERIFY2(at >= 0, qPrintable(failure("B did not store " + body)));
        ids << pairMessage(b.core->lines().at(at)).value("MESSAGE_ID").toString();
        QVERIFY2(b.core->waitFor(stateChange(ids.last(), "sent"), 15000, fromB) >= 0,
                 qPrintable(failure("server did not take " + body)));
    }

    QVERIFY(startCore(&a));
    for (const QString body : {"while you were away 1", "while you were away 2"})
        QVERIFY2(a.core->waitFor(pairWithBody(body), 30000) >= 0,
                 qPrintable(failure("A did not receive " + body)));
    for (const QString& id : ids)
        QVERIFY2(b.core->waitFor(stateChange(id, "delivered"), 15000, fromB) >= 0,
                 qPrintable(failure("B never saw delivery of " + id)));
    QTest::qWait(1500);
    QCOMPARE(a.core->count(pairWithBody("while you were away 1")), 1);
    QCOMPARE(a.core->count(pairWithBody("while you were away 2")), 1);
}

void TestEndToEnd::outboxSurvivesServerOutageAndRestart()
{
    step("with the server down A queues two messages, stops; server and A come back");
    const int fromB = b.core->lineCount();
    const int beforeOutage = a.core->lineCount();
    QVERIFY(prosody->stop());
    QVERIFY2(a.core->waitFor(chatServerState(1), 15000, beforeOutage) >= 0,
             qPrintable(failure("A did not notice the outage")));
    const int fromA = a.core->lineCount();
    a.core->send(kCmdSendMessage, textMessage(b.phone, "queued 1"));
    a.core->send(kCmdSendMessage, textMessage(b.phone, "queued 2"));
    QStringList ids;
    for (const QString body : {"queued 1", "queued 2"}) {
        const int at = a.core->waitFor(pairWithBody(body), 10000, fromA);
        QVERIFY2(at >= 0, qPrintable(failure("A did not store " + body)));
        ids << pairMessage(a.core->lines().at(at)).value("MESSAGE_ID").toString();
    }
    QVERIFY(a.core->stop());

    QVERIFY2(prosody->start(), qPrintable(prosody->errorString()));
    QVERIFY(startCore(&a));
    // B reconnects with its back-off; A with its saved server.
    QVERIFY2(b.core->waitFor(pairWithBody("queued 2"), 180000, fromB) >= 0,
             qPrintable(failure("B did not receive the queued messages")));
    const int first = b.core->waitFor(pairWithBody("queued 1"), 1, fromB);
    const int second = b.core->waitFor(pairWithBody("queued 2"), 1, fromB);
    QVERIFY2(first >= 0 && first < second, qPrintable(failure("queued messages out of order")));
    for (const QString& id : ids)
        QVERIFY2(a.core->waitFor(stateChange(id, "delivered"), 30000) >= 0,
                 qPrintable(failure("A never saw delivery of " + id)));
    QTest::qWait(1500);
    QCOMPARE(b.core->count(pairWithBody("queued 1"), fromB), 1);
    QCOMPARE(b.core->count(pairWithBody("queued 2"), fromB), 1);
}

void TestEndToEnd::longTextIsSplitIntoConfirmedParts()
{
    step("a 10,000-character text goes out as three confirmed parts");
    QString text;
    while (text.size() < 10000)
        text += QStringLiteral("word%1 ").arg(text.size() % 97);
    text.truncate(10000);
    const int fromA = a.core->lineCount();
    const int fromB = b.core->lineCount();
    a.core->send(kCmdSendMessage, textMessage(b.phone, text));

    auto longPart = [](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdMessagePairAdded &&
               pairMessage(line).value("MESSAGE_BODY").toString().size() > 1000;
    };
    QStringList ids;
    int at = fromA;
    for (int part = 0; part < 3; ++part) {
        at = a.core->waitFor(longPart, 10000, at);
        QVERIFY2(at >= 0, qPrintable(failure(QStringLiteral("part %1 not added").arg(part))));
        ids << pairMessage(a.core->lines().at(at)).value("MESSAGE_ID").toString();
        ++at;
    }
    for (const QString& id : ids)
        QVERIFY2(a.core->waitFor(stateChange(id, "sent"), 20000, fromA) >= 0,
                 qPrintable(failure("part " + id + " not confirmed")));
    QVERIFY2(
        b.core->waitFor([&](const QJsonObject&) { return b.core->count(longPart, fromB) >= 3; },
                        20000, fromB) >= 0,
        qPrintable(failure("B did not get three parts")));
    QTest::qWait(1000);
    QCOMPARE(a.core->count(longPart, fromA), 3);
    QCOMPARE(b.core->count(longPart, fromB), 3);
    QString joined;
    for (int i = fromA; i < a.core->lineCount(); ++i) {
        if (longPart(a.core->lines().at(i)))
            joined += pairMessage(a.core->lines().at(i)).value("MESSAGE_BODY").toString();
    }
    QCOMPARE(joined.size(), text.size());
}

void TestEndToEnd::longTextsArriveIntact_data()
{
    QTest::addColumn<QString>("text");
    // Several kilobytes each, so that the breaker splits them and the chat
    // server's writes split the stanzas between reads of the connection.
    const QString persian = QStringLiteral(
        "\u0633\u0644\u0627\u0645 \u062f\u0648\u0633\u062a \u0639\u0632\u06cc\u0632\u060c "
        "\u0627\u0645\u0631\u0648\u0632 \u0647\u0648\u0627 \u0628\u0633\u06cc\u0627\u0631 "
        "\u062e\u0648\u0628 \u0627\u0633\u062a\u061b ");
    const QString mixed = QStringLiteral("Hello \u0633\u0644\u0627\u0645 42 <b>&amp; ") +
                          QString::fromUcs4(U"\U0001F600") + QStringLiteral(" \u20ac\u00e9 ");
    const QString emoji = QString::fromUcs4(U"\U0001F600\U0001F44D\U0001F389\u2764 ");
    const auto repeated = [](const QString& unit, int size) {
        QString text;
        for (int i = 0; text.size() < size; ++i)
            text += unit + QString::number(i) + QLatin1Char(' ');
        return text;
    };
    QTest::newRow("Persian") << repeated(persian, 9000);
    QTest::newRow("mixed") << repeated(mixed, 7000);
    QTest::newRow("emoji") << repeated(emoji, 6000);
}

void TestEndToEnd::longTextsArriveIntact()
{
    QFETCH(QString, text);
    step(QStringLiteral("a long text of %1 characters arrives exactly").arg(text.size()));
    QVERIFY(a.core && b.core);
    const int fromA = a.core->lineCount();
    const int fromB = b.core->lineCount();
    // The line-driven core stands for the window: it sends the text in the
    // form the input gives it.
    a.core->send(kCmdSendMessage, textMessage(b.phone, HtmlManager::insertHtmlTags(text)));

    const auto isPair = [](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdMessagePairAdded;
    };
    // Each side's parts, in the order they were stored, as plain text.
    const auto joined = [&isPair](CoreProcess* core, int from) {
        QString all;
        for (int i = from; i < core->lineCount(); ++i) {
            if (isPair(core->lines().at(i)))
                all += HtmlManager::toPlainText(
                    pairMessage(core->lines().at(i)).value("MESSAGE_BODY").toString());
        }
        return all;
    };
    QVERIFY2(
        b.core->waitFor(
            [&](const QJsonObject&) { return joined(b.core.get(), fromB).size() >= text.size(); },
            120000, fromB) >= 0,
        qPrintable(failure("B did not get the whole text")));
    QCOMPARE(joined(a.core.get(), fromA), text);
    const QString received = joined(b.core.get(), fromB);
    QVERIFY2(!received.contains(QChar::ReplacementCharacter),
             qPrintable(QStringLiteral("replacement character at %1")
                            .arg(received.indexOf(QChar::ReplacementCharacter))));
    QCOMPARE(received.toUtf8(), text.toUtf8());
}

void TestEndToEnd::deactivatedAccountLogsOut()
{
    step("a 311 reply gives the log-out answer, then the error code");
    const int fromA = a.core->lineCount();
    a.service->enqueueReply(QStringLiteral("contacts/getSynced/"), FakeReply::result(311));
    a.core->send(kCmdReSyncContacts);
    const int logout = a.core->waitFor(CoreProcess::answer(kCmdLogout), 15000, fromA);
    QVERIFY2(logout >= 0, qPrintable(failure("no log-out answer")));
    const int error = a.core->waitFor(CoreProcess::answer(kCmdErrorCode), 5000, logout);
    QVERIFY2(error > logout, qPrintable(failure("no error code after the log-out")));
    QCOMPARE(a.core->lines().at(error).value("value").toInt(), 311);

    for (Peer* peer : {&a, &b})
        QVERIFY2(peer->core->stop(), qPrintable(failure(peer->name + " did not stop cleanly")));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
