// A person chats: the main window with a real core on its own thread in this
// process, and a line-driven core in another, both signed up with the
// standalone local service. A message typed into the window's input reaches
// the other core, its ticks go to delivered and then to seen when the other
// side reads the chat; the other side's message appears once on the board; a
// reply and an edit made in the window arrive as such.
#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "chat/customtextedit.h"
#include "chat/editmessagewidget.h"
#include "chat/replymessagewidget.h"
#include "chatserver.h"
#include "corematches.h"
#include "foundation/htmlmanager.h"
#include "model/message.h"
#include "shell/messengermainwindow.h"
#include "windowpeerstack.h"

#include <QJsonDocument>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {
const QString kPhoneA = QStringLiteral("491700000031");
const QString kPhoneB = QStringLiteral("491700000032");
} // namespace

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
    void markupTravelsAsText();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    ChatMessageWidget* bubbleWithText(const QString& text, int* count = nullptr) const
    {
        return stack->bubbleWithText(text, count);
    }

    std::unique_ptr<WindowPeerStack> stack;
    CoreProcess* peer = nullptr;
    MessengerMainWindow* window = nullptr;
    QString sentId;
    QString peerMessageId;
};

void TestChatEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    stack = std::make_unique<WindowPeerStack>(kPhoneA, kPhoneB);
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    peer = stack->peer();
    window = stack->window();
}

void TestChatEndToEnd::cleanupTestCase()
{
    stack.reset();
}

void TestChatEndToEnd::bothSignUpAndFindEachOther()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
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
    WindowPeerStack::typeText(chatWindow()->input(), text);
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
    WindowPeerStack::typeText(chatWindow()->input(), answer);
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
    WindowPeerStack::typeText(chatWindow()->input(), QStringLiteral(", edited"));
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

void TestChatEndToEnd::markupTravelsAsText()
{
    // What the user types shows as typed and reaches the peer as that text.
    const QString typed = QStringLiteral("2<3 & <b>not bold</b> > 1");
    const int from = peer->lineCount();
    WindowPeerStack::typeText(chatWindow()->input(), typed);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(typed) != nullptr, 20000);
    const int got = peer->waitFor(
        [typed](const QJsonObject& line) {
            return line.value("command").toInt() == kCmdMessagePairAdded &&
                   HtmlManager::toPlainText(pairMessage(line).value("MESSAGE_BODY").toString()) ==
                       typed;
        },
        120000, from);
    QVERIFY2(got >= 0, qPrintable(failure("the peer did not receive the typed markup")));

    // A peer's markup shows as the text it is.
    const QString markup =
        QStringLiteral("<i>tilted?</i> & <img src=\"file:///etc/hostname\"/> &lt;");
    // The peer's core gets the body in the form its own input gives it.
    peer->send(kCmdSendMessage, textMessage(kPhoneA, HtmlManager::insertHtmlTags(markup)));
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(markup) != nullptr, 120000);
    QCOMPARE(bubbleWithText(markup)->getSide(), 1);
}

QTEST_MAIN(TestChatEndToEnd)
#include "tst_chatendtoend.moc"
