// A person chats: the main window with a real core on its own thread in this
// process, and a line-driven core in another, both signed up with the
// standalone local service. A message typed into the window's input reaches
// the other core, its ticks go to delivered and then to seen when the other
// side reads the chat; the other side's message appears once on the board; a
// reply and an edit made in the window arrive as such.
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "chat/customtextedit.h"
#include "chat/editmessagewidget.h"
#include "chat/replymessagewidget.h"
#include "chatserver.h"
#include "corematches.h"
#include "coreprocess.h"
#include "foundation/serviceconfig.h"
#include "model/globalconstants.h"
#include "shell/contentpanel.h"
#include "shell/messengermainwindow.h"
#include "shell/stylesheetloader.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "widgets/currentuser.h"
#include "widgets/interfacescale.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {
const QString kCode = QStringLiteral("97531");
const QString kPhoneA = QStringLiteral("491700000031");
const QString kPhoneB = QStringLiteral("491700000032");

void typeText(QWidget* input, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, input, Qt::Key_unknown, c, Qt::NoModifier);
}

QJsonObject typedContact(const QString& number, const QString& firstName)
{
    return {{"Number", number},   {"FirstName", firstName},
            {"MemberID", number}, {"Nickname", ""},
            {"Motto", ""},        {"CanReply", "1"},
            {"AvatarURL", ""},    {"AvatarThumbnailURL", ""}};
}

CoreProcess::Match answerWith(int command, const QString& text)
{
    return [=](const QJsonObject& line) {
        return line.value("command").toInt() == command &&
               QJsonDocument(line.value("value").toObject()).toJson().contains(text.toUtf8());
    };
}
} // namespace

// The answers of the in-process core as the GUI thread received them.
class AnswerLog : public QObject
{
    Q_OBJECT
public:
    QList<QPair<int, QVariant>> answers;
    bool contains(Command command) const
    {
        for (const auto& a : answers) {
            if (a.first == command)
                return true;
        }
        return false;
    }
public slots:
    void record(Command command, QVariant value) { answers.append({int(command), value}); }
};

class TestChatEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bothSignUpAndFindEachOther();
    void typedMessageGoesOutAndIsSeen();
    void peersMessageAppearsOnce();
    void replyAndEditArriveAsSuch();

private:
    bool startService();
    QString failure(const QString& what) const;
    ChatWindow* chatWindow() const { return window->getContentPanel()->currentWidget(); }
    ChatMessageWidget* bubbleWithText(const QString& text, int* count = nullptr) const;

    QTemporaryDir root;
    QProcess service;
    QString serviceLog;
    QHash<QString, QString> clientEnv;
    std::unique_ptr<CoreProcess> peer;
    QThread thread;
    QuorvelDesktopCore* core = nullptr;
    std::unique_ptr<MessengerMainWindow> window;
    AnswerLog log;
    bool signedUp = false;
    bool loaded = false;
    QString sentId;
    QString peerMessageId;
};

QString TestChatEndToEnd::failure(const QString& what) const
{
    QString text = what;
    if (peer)
        text += QLatin1Char('\n') + peer->tail();
    QFile file(serviceLog);
    if (file.open(QIODevice::ReadOnly))
        text += QStringLiteral("\nservice: ") + QString::fromUtf8(file.readAll().right(2000));
    return text;
}

bool TestChatEndToEnd::startService()
{
    const QString folder = root.filePath(QStringLiteral("stack"));
    service.setProgram(QStringLiteral(QUORVEL_LOCALSERVICE));
    service.setArguments({"--data", folder, "--demo-code", kCode});
    service.setStandardOutputFile(serviceLog, QIODevice::Append);
    service.setStandardErrorFile(serviceLog, QIODevice::Append);
    service.start();
    if (!service.waitForStarted(10000))
        return false;
    QFile env(folder + QStringLiteral("/client.env"));
    QElapsedTimer timer;
    timer.start();
    while (!env.exists() && service.state() == QProcess::Running && timer.elapsed() < 60000)
        QTest::qWait(50);
    if (!env.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : env.readAll().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            clientEnv.insert(QString::fromUtf8(line.left(equals)),
                             QString::fromUtf8(line.mid(equals + 1)));
    }
    return clientEnv.contains("QUORVEL_WEB_BASE_URL");
}

void TestChatEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    serviceLog = root.filePath(QStringLiteral("localservice.log"));
    QVERIFY2(startService(), qPrintable(failure("the local service did not start")));
    // This process is the program: the same service settings as the peer's.
    for (auto it = clientEnv.constBegin(); it != clientEnv.constEnd(); ++it)
        qputenv(it.key().toUtf8().constData(), it.value().toUtf8());
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    GlobalConstants::setAppVersion(QStringLiteral("0.4.2"));
    QuorvelDesktopCore::registerMetaTypes();
    ServiceConfig::installExtraCaCertificates();
    initInterfaceMetrics();

    QProcessEnvironment env;
    QVERIFY(privateEnvironment(root.filePath(QStringLiteral("B")), &env));
    for (auto it = clientEnv.constBegin(); it != clientEnv.constEnd(); ++it)
        env.insert(it.key(), it.value());
    env.insert("QUORVEL_PHONE", kPhoneB);
    env.insert("QUORVEL_PIN", kCode);
    peer = std::make_unique<CoreProcess>(QStringLiteral("B"), env);
    QVERIFY(peer->start());

    // The program's own wiring: the core on its thread, the window's
    // commands queued to it and its answers queued back.
    core = new QuorvelDesktopCore();
    core->moveToThread(&thread);
    thread.start();
    window = std::make_unique<MessengerMainWindow>();
    loadStyleSheet(window.get());
    window->resize(1100, 760);
    connect(window.get(), &MessengerMainWindow::command, core->getManager(), &Manager::command,
            Qt::QueuedConnection);
    connect(core->getManager(), &Manager::commandResponse, window.get(),
            &MessengerMainWindow::commandResponse, Qt::QueuedConnection);
    connect(core->getManager(), &Manager::commandResponse, &log, &AnswerLog::record,
            Qt::QueuedConnection);
    connect(
        core, &QuorvelDesktopCore::loadingFinished, this,
        [this] {
            loaded = true;
            QMetaObject::invokeMethod(core, "onInitialize", Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    connect(
        core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result, this,
        [this](Procedure procedure, int code) {
            if (procedure == PROC_Register && code == 200)
                QMetaObject::invokeMethod(core, "startActivation", Qt::QueuedConnection,
                                          Q_ARG(QString, kCode));
            else if (procedure == PROC_Activation && code == 200 && !signedUp) {
                signedUp = true;
                QTimer::singleShot(5, core, &QuorvelDesktopCore::startLoading);
            }
        },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(core, "startRegisteration", Qt::QueuedConnection,
                              Q_ARG(QString, kPhoneA));
}

void TestChatEndToEnd::cleanupTestCase()
{
    window.reset();
    if (core) {
        QMetaObject::invokeMethod(core, "aboutToQuit", Qt::BlockingQueuedConnection);
        QMetaObject::invokeMethod(
            core, [this] { core->deleteLater(); }, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        QuorvelDesktopCore::deleteGuiServices();
    }
    if (peer)
        peer->stop();
    if (service.state() != QProcess::NotRunning) {
        service.terminate();
        service.waitForFinished(30000);
    }
}

void TestChatEndToEnd::bothSignUpAndFindEachOther()
{
    QTRY_VERIFY2_WITH_TIMEOUT(loaded, qPrintable(failure("the window's core did not load")), 60000);
    QVERIFY2(peer->waitFor(CoreProcess::event("loadingFinished"), 60000) >= 0,
             qPrintable(failure("the peer did not load")));
    QTRY_VERIFY_WITH_TIMEOUT(!currentUserName.isEmpty(), 30000);
    window->show();

    Contact b;
    b.setNumber(kPhoneB);
    b.setFirstName(QStringLiteral("Bo"));
    emit window->command(CMD_AddContact, QVariant::fromValue(b));
    const int from = peer->lineCount();
    peer->send(kCmdAddContact, typedContact(kPhoneA, QStringLiteral("Ada")));
    QVERIFY2(peer->waitFor(answerWith(kCmdUpdateContact, kPhoneA), 30000, from) >= 0 ||
                 peer->waitFor(answerWith(kCmdAddContact, kPhoneA), 1000, from) >= 0,
             qPrintable(failure("the peer did not find the window's user")));
    QTRY_VERIFY_WITH_TIMEOUT(log.contains(CMD_UpdateContact) || log.contains(CMD_AddContact),
                             30000);
}

ChatMessageWidget* TestChatEndToEnd::bubbleWithText(const QString& text, int* count) const
{
    ChatMessageWidget* found = nullptr;
    int n = 0;
    if (ChatWindow* w = chatWindow()) {
        for (const QString& id : w->boardMessageIds()) {
            ChatMessageWidget* b = w->bubble(id);
            if (b && b->bodyPlainText() == text) {
                found = b;
                ++n;
            }
        }
    }
    if (count)
        *count = n;
    return found;
}

void TestChatEndToEnd::typedMessageGoesOutAndIsSeen()
{
    Contact b;
    b.setNumber(kPhoneB);
    window->startMessaging(b);
    QTRY_VERIFY(chatWindow() != nullptr);
    QCOMPARE(chatWindow()->getChatId(), kPhoneB);
    const QString text = QStringLiteral("hello from the window");
    const int from = peer->lineCount();
    typeText(chatWindow()->input(), text);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);

    // Shown at once from the core's answer, then delivered.
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(text) != nullptr, 20000);
    sentId = bubbleWithText(text)->getMessage().getMessageId();
    QVERIFY(!sentId.isEmpty());
    const int got = peer->waitFor(pairWithBody(text), 120000, from);
    QVERIFY2(got >= 0, qPrintable(failure("the peer did not receive the typed message")));
    QCOMPARE(pairMessage(peer->lines().at(got)).value("MESSAGE_ID").toString(), sentId);
    QTRY_COMPARE_WITH_TIMEOUT(bubbleWithText(text)->tickKey(),
                              QStringLiteral("msgStateDeliveredKEY"), 60000);

    // The peer reads the chat: the tick turns to seen.
    peer->send(CMD_SendSeen, QJsonValue(kPhoneA));
    QTRY_COMPARE_WITH_TIMEOUT(bubbleWithText(text)->tickKey(), QStringLiteral("msgStateSeenKEY"),
                              60000);
}

void TestChatEndToEnd::peersMessageAppearsOnce()
{
    const QString text = QStringLiteral("hello back from the peer");
    const int from = peer->lineCount();
    peer->send(kCmdSendMessage, textMessage(kPhoneA, text));
    const int added = peer->waitFor(pairWithBody(text), 20000, from);
    QVERIFY2(added >= 0, qPrintable(failure("the peer did not send")));
    peerMessageId = pairMessage(peer->lines().at(added)).value("MESSAGE_ID").toString();
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(text) != nullptr, 120000);
    QTest::qWait(1000);
    int count = 0;
    bubbleWithText(text, &count);
    QCOMPARE(count, 1);
    QCOMPARE(bubbleWithText(text)->getSide(), 1);
}

void TestChatEndToEnd::replyAndEditArriveAsSuch()
{
    ChatMessageWidget* theirs = bubbleWithText(QStringLiteral("hello back from the peer"));
    QVERIFY(theirs);
    theirs->replyMessage();
    QVERIFY(chatWindow()->replyBar()->isVisible());
    const QString answer = QStringLiteral("a reply to it");
    int from = peer->lineCount();
    typeText(chatWindow()->input(), answer);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    const int got = peer->waitFor(pairWithBody(answer), 120000, from);
    QVERIFY2(got >= 0, qPrintable(failure("the peer did not receive the reply")));
    QCOMPARE(pairMessage(peer->lines().at(got)).value("REPLY_ON_MESSAGE_ID").toString(),
             peerMessageId);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(answer) && bubbleWithText(answer)->replyOutline(),
                             20000);

    ChatMessageWidget* mine = bubbleWithText(QStringLiteral("hello from the window"));
    QVERIFY(mine);
    mine->editMessage();
    QVERIFY(chatWindow()->editBar()->isVisible());
    from = peer->lineCount();
    QTest::keyClick(chatWindow()->input(), Qt::Key_End, Qt::ControlModifier);
    typeText(chatWindow()->input(), QStringLiteral(", edited"));
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    const int edited = peer->waitFor(
        [this](const QJsonObject& line) {
            const QByteArray value = QJsonDocument(line.value("value").toObject()).toJson();
            return line.value("command").toInt() == CMD_MessageEdited &&
                   value.contains(sentId.toUtf8()) &&
                   value.contains("hello from the window, edited");
        },
        120000, from);
    QVERIFY2(edited >= 0, qPrintable(failure("the peer did not receive the edit")));
    // Sent once, as an edit: no new message with that text.
    QCOMPARE(peer->count(pairWithBody(QStringLiteral("hello from the window, edited")), from), 0);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(QStringLiteral("hello from the window, edited")),
                             20000);
    QVERIFY(bubbleWithText(QStringLiteral("hello from the window, edited"))->editedMarkShown());
    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    window->grab().save(dir + QStringLiteral("/chat-endtoend.png"));
}

QTEST_MAIN(TestChatEndToEnd)
#include "tst_chatendtoend.moc"
