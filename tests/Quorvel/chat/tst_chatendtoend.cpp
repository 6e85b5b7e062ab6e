// A person chats: the main window with a real core on its own thread in this
// process, and a line-driven core in another, both signed up with the
// standalone local service. A message typed into the window's input reaches
// the other core, its ticks go to delivered and then to seen when the other
// side reads the chat; the other side's message appears once on the board; a
// reply and an edit made in the window arrive as such. What the window shows
// of a peer is true: a text with direction controls reads as written in its
// bubble, its row and its notification, a number reads the same everywhere,
// and the header tells when the other was last seen.
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "chat/editmessagewidget.h"
#include "chat/grouptab.h"
#include "chat/messagebody.h"
#include "chat/replymessageoutline.h"
#include "chat/replymessagewidget.h"
#include "chatfixtures.h"
#include "chatserver.h"
#include "corematches.h"
#include "foundation/htmlmanager.h"
#include "model/lastseen.h"
#include "model/message.h"
#include "screens/contactprofile.h"
#include "screens/creategroup.h"
#include "screens/groupprofile.h"
#include "shell/chattab.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/traynotifier.h"
#include "widgets/avatarviewer.h"
#include "widgets/catalogues.h"
#include "widgets/contactselect.h"
#include "widgets/customscrollarea.h"
#include "widgets/dateconverter.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/icontact.h"
#include "widgets/notificationmanager.h"
#include "widgets/notificationwidget.h"
#include "widgets/phonetext.h"
#include "windowpeerstack.h"

#include <QClipboard>
#include <QDomDocument>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {
const QString kPhoneA = QStringLiteral("491700000031");
const QString kPhoneB = QStringLiteral("491700000032");
// Saved by the window's user under the number only.
const QString kPhoneC = QStringLiteral("491700000033");

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

// Where the text's characters are drawn, laid out on one line in the
// direction of the place that shows it.
QList<qreal> drawnAt(const QString& text, Qt::LayoutDirection direction)
{
    QTextLayout layout(text);
    QTextOption option;
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(10000);
    layout.endLayout();
    QList<qreal> at;
    for (int i = 0; i <= text.size(); ++i)
        at << line.cursorToX(i);
    return at;
}

// Whether "gnp.exe" of the disguised name is drawn as stored: its "g" left
// of its "x" (an override unchecked draws "exe.png").
bool drawnAsWritten(const QString& shown, const QList<qreal>& at)
{
    const int g = shown.indexOf(QLatin1String("gnp"));
    const int x = shown.indexOf(QLatin1String("exe")) + 1;
    return g >= 0 && x > 0 && at.at(g) < at.at(x);
}

// Whether the number is drawn with its "+" at the left end, as a number
// reads in right-to-left text too.
bool plusOnTheLeft(const QString& shown)
{
    const QList<qreal> at = drawnAt(shown, Qt::RightToLeft);
    const int plus = shown.indexOf(QLatin1Char('+'));
    const int last = shown.lastIndexOf(QRegularExpression(QStringLiteral("[0-9]")));
    return plus >= 0 && last > plus && at.at(plus) < at.at(last);
}

// The bubble's context menu as a right click opens it, and a click on the
// action with that text.
void chooseFromMenu(ChatMessageWidget* bubble, const QString& text)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, bubble->rect().center(),
                            bubble->mapToGlobal(bubble->rect().center()));
    QApplication::sendEvent(bubble, &event);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            chosen = action;
    }
    QVERIFY2(chosen, qPrintable(text));
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(chosen).center());
    QTRY_VERIFY(menu->isHidden());
}
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
    void longTextsAndRepliesShowInFull();
    void typedTextsAgreeOnBothSides_data();
    void typedTextsAgreeOnBothSides();
    void numberReadsTheSameEverywhere();
    void numberReadsTheSameInAGroup();
    void disguisedTextShowsAsWritten();
    void lastSeenShowsWhenTheChatOpens();

private:
    // Opens the chat of the row as a person does, with a click on it.
    void openChat(const QString& id);
    // The bubble of the open chat whose message has this id.
    ChatMessageWidget* bubbleOf(const QString& id) const
    {
        return chatWindow() ? chatWindow()->bubble(id) : nullptr;
    }
    // The id of the message a core said it sent with this body.
    QString sentBy(CoreProcess* core, const QString& to, const QString& body);
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    ChatMessageWidget* bubbleWithText(const QString& text, int* count = nullptr) const
    {
        return stack->bubbleWithText(text, count);
    }

    // The body of the message stanza with this id as the window's chat
    // connection sent or received it; empty until it has been seen.
    QString wireBody(const QString& id) const;

    std::unique_ptr<WindowPeerStack> stack;
    // What the window's chat connection wrote and read, in order.
    QString sentWire;
    QString receivedWire;
    CoreProcess* peer = nullptr;
    CoreProcess* numberOnly = nullptr;
    MessengerMainWindow* window = nullptr;
    QString sentId;
    QString peerMessageId;
};

void TestChatEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    // The catalogues and the direction as the program sets them at start:
    // what a person sees, he sees in Persian, right to left.
    QVERIFY(Catalogues::install());
    stack = std::make_unique<WindowPeerStack>(kPhoneA, kPhoneB);
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    peer = stack->peer();
    window = stack->window();
}

QString TestChatEndToEnd::wireBody(const QString& id) const
{
    // The stanza with the id whose body is the text (a receipt names the id
    // too, in an element of its own); the server writes its attributes in
    // single quotes.
    for (const QString* wire : {&sentWire, &receivedWire}) {
        for (const QString& quoted : {QStringLiteral("id=\"%1\""), QStringLiteral("id='%1'")}) {
            for (int at = wire->indexOf(quoted.arg(id)); at >= 0;
                 at = wire->indexOf(quoted.arg(id), at + 1)) {
                const int start = wire->lastIndexOf(QStringLiteral("<"), at);
                const int end = wire->indexOf(QStringLiteral("</message>"), at);
                QDomDocument stanza;
                if (start < 0 || end < 0 || !stanza.setContent(wire->mid(start, end + 10 - start)))
                    continue;
                const QDomElement root = stanza.documentElement();
                const QDomElement body = root.firstChildElement(QStringLiteral("body"));
                if (root.tagName() == QLatin1String("message") && !body.isNull())
                    return body.text();
            }
        }
    }
    return QString();
}

void TestChatEndToEnd::cleanupTestCase()
{
    stack.reset();
    Catalogues::uninstall();
}

void TestChatEndToEnd::bothSignUpAndFindEachOther()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
    // The stanzas themselves, as the window's core, loaded now, writes and
    // reads them.
    connect(stack->core()->getManager()->getXmppManager()->getClient(), &QXmppClient::logMessage,
            this, [this](QXmppLogger::MessageType type, const QString& text) {
                if (type == QXmppLogger::SentMessage)
                    sentWire += text;
                else if (type == QXmppLogger::ReceivedMessage)
                    receivedWire += text;
            });
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
    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    window->grab().save(dir + QStringLiteral("/typed-markup-both-sides.png"));
}

void TestChatEndToEnd::longTextsAndRepliesShowInFull()
{
    // A long Persian text from the peer shows in full; a reply to it quotes
    // its start, in the reply bar and in the sent reply, which comes into
    // view with the input still right-aligned. Each screen is kept for
    // looking at.
    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    QString persian;
    for (int i = 0; persian.size() < 2500; ++i)
        persian += QStringLiteral("\u0633\u0644\u0627\u0645 \u062f\u0648\u0633\u062a "
                                  "\u0639\u0632\u06cc\u0632\u060c \u0627\u06cc\u0646 "
                                  "\u0628\u062e\u0634 %1 \u0627\u0632 \u0645\u062a\u0646 "
                                  "\u0627\u0633\u062a. ")
                       .arg(i);
    persian = persian.trimmed();
    peer->send(kCmdSendMessage, textMessage(kPhoneA, HtmlManager::insertHtmlTags(persian)));
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(persian) != nullptr, 120000);
    ChatMessageWidget* longBubble = bubbleWithText(persian);
    QCOMPARE(longBubble->shownText(), persian);
    chatWindow()->scrollArea()->ensureWidgetVisible(longBubble, 0, 0);
    window->grab().save(dir + QStringLiteral("/long-persian-received.png"));

    longBubble->replyMessage();
    QVERIFY(chatWindow()->replyBar()->isVisible());
    QVERIFY(chatWindow()->replyBar()->shownSummary().startsWith(persian.left(10)));
    window->grab().save(dir + QStringLiteral("/reply-to-long-message.png"));
    const QString answer =
        QStringLiteral("\u0645\u0645\u0646\u0648\u0646\u060c \u062e\u0648\u0627\u0646\u062f\u0645");
    WindowPeerStack::typeText(chatWindow()->input(), answer);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(answer) && bubbleWithText(answer)->replyOutline(),
                             20000);
    QVERIFY(bubbleWithText(answer)->replyOutline()->shownSummary().startsWith(persian.left(10)));
    QTRY_VERIFY(!bubbleWithText(answer)->visibleRegion().isEmpty());
    QVERIFY(chatWindow()->input()->alignment() & Qt::AlignRight);
    window->grab().save(dir + QStringLiteral("/quoted-reply-and-input-after-send.png"));
}

void TestChatEndToEnd::typedTextsAgreeOnBothSides_data()
{
    addTypedTextRows();
}

void TestChatEndToEnd::typedTextsAgreeOnBothSides()
{
    QFETCH(QString, typed);
    QFETCH(int, pictures);
    const auto showsTyped = [&](ChatMessageWidget* bubble, const char* whose, bool withPictures) {
        QVERIFY2(bubble, whose);
        QCOMPARE(bubble->shownText(), typed);
        if (withPictures)
            QCOMPARE(bubble->bodyHtml().count(QStringLiteral(":/emojis/png/")), pictures);
    };

    // The window's user types it: their bubble, the stanza sent, the peer's
    // store, and the bubble the peer's store makes. The line-driven core has
    // no emoji pictures of its own, so its store holds emoji as characters;
    // the program's own store and bubble of a received text are checked in
    // the other direction.
    int from = peer->lineCount();
    for (const uint c : typed.toUcs4())
        QTest::sendKeyEvent(QTest::KeyAction::Click, chatWindow()->input(), Qt::Key_unknown,
                            QString::fromUcs4(&c, 1), Qt::NoModifier);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    const auto arrived = [typed](const QJsonObject& line) {
        return line.value("command").toInt() == kCmdMessagePairAdded &&
               HtmlManager::toPlainText(pairMessage(line).value("MESSAGE_BODY").toString()) ==
                   typed;
    };
    const int got = peer->waitFor(arrived, 120000, from);
    QVERIFY2(got >= 0, qPrintable(failure("the peer did not receive the typed text")));
    Message stored;
    QVERIFY(stored.fromDBJson(pairMessage(peer->lines().at(got))));
    QCOMPARE(HtmlManager::toPlainText(stored.getMessageBody()), typed);
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow()->bubble(stored.getMessageId()) != nullptr, 20000);
    ChatMessageWidget* own = chatWindow()->bubble(stored.getMessageId());
    showsTyped(own, "the sender's bubble", true);
    QCOMPARE(own->getSide(), 0);
    QTRY_VERIFY(!wireBody(stored.getMessageId()).isEmpty());
    QCOMPARE(wireBody(stored.getMessageId()), typed);
    ChatMessageWidget theirs(stored, 1, false, Message());
    showsTyped(&theirs, "the peer's bubble", false);

    // The peer sends it as its input gives it: the stanza received, the
    // window's store and the window's bubble.
    from = peer->lineCount();
    peer->send(kCmdSendMessage, textMessage(kPhoneA, HtmlManager::insertHtmlTags(typed)));
    const int sent = peer->waitFor(arrived, 20000, from);
    QVERIFY2(sent >= 0, qPrintable(failure("the peer did not send")));
    const QString id = pairMessage(peer->lines().at(sent)).value("MESSAGE_ID").toString();
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow()->bubble(id) != nullptr, 120000);
    QCOMPARE(wireBody(id), typed);
    ChatMessageWidget* received = chatWindow()->bubble(id);
    showsTyped(received, "the window's bubble of the peer's text", true);
    QCOMPARE(received->getSide(), 1);
    const Message kept = received->getMessage();
    QCOMPARE(kept.getMessageBody(), HtmlManager::insertHtmlTags(typed));
}

void TestChatEndToEnd::openChat(const QString& id)
{
    ChatWidget* row = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((row = window->getSidePanel()->getChatTab()->row(id)) != nullptr,
                             60000);
    click(row);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == id && chatWindow()->isVisible());
}

QString TestChatEndToEnd::sentBy(CoreProcess* core, const QString& to, const QString& body)
{
    const int from = core->lineCount();
    core->send(kCmdSendMessage, textMessage(to, body));
    const int added = core->waitFor(pairWithBody(body), 20000, from);
    return added < 0 ? QString()
                     : pairMessage(core->lines().at(added)).value("MESSAGE_ID").toString();
}

void TestChatEndToEnd::numberReadsTheSameEverywhere()
{
    // Someone the window's user saved under his number only, with no
    // nickname of his own.
    numberOnly = stack->addPeer(QStringLiteral("C"), kPhoneC, QString());
    QVERIFY2(numberOnly, qPrintable(failure("the third person did not meet the window's user")));
    const QString number = PhoneText::number(kPhoneC);
    QVERIFY(plusOnTheLeft(number));
    const QString id = sentBy(numberOnly, kPhoneA, QStringLiteral("hello from a number"));
    QVERIFY2(!id.isEmpty(), qPrintable(failure("the third person did not send")));

    // His row, his chat's header and profile.
    ChatWidget* row = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((row = window->getSidePanel()->getChatTab()->row(kPhoneC)) != nullptr,
                             120000);
    QTRY_COMPARE(row->shownName(), number);
    openChat(kPhoneC);
    QCOMPARE(chatWindow()->title()->titleText(), number);
    QVERIFY(chatWindow()->title()->subtitleText().contains(number));

    // The reply bar and the quoted reply of the bubble name him the same.
    QTRY_VERIFY_WITH_TIMEOUT(bubbleOf(id) != nullptr, 120000);
    chooseFromMenu(bubbleOf(id), ChatMessageWidget::tr("_ReplyMessage"));
    QVERIFY(chatWindow()->replyBar()->isVisible());
    QCOMPARE(chatWindow()->replyBar()->senderText(), number);
    const QString answer = QStringLiteral("answering a number");
    const int from = numberOnly->lineCount();
    WindowPeerStack::typeText(chatWindow()->input(), answer);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    QVERIFY2(numberOnly->waitFor(pairWithBody(answer), 120000, from) >= 0,
             qPrintable(failure("the third person did not get the reply")));
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(answer) && bubbleWithText(answer)->replyOutline(),
                             20000);
    QCOMPARE(bubbleWithText(answer)->replyOutline()->senderText(), number);
    click(chatWindow()->title());
    ContactProfile* profile = chatWindow()->contactPanel();
    QVERIFY(profile);
    QTRY_VERIFY(profile->isVisible());
    QCOMPARE(profile->nameLabel()->text(), number);
    QCOMPARE(profile->numberLabel()->text(), number);
    QTest::qWait(500); // the slide, for the picture
    stack->saveShot(QStringLiteral("chat-e2e-number-only-contact.png"));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());
}

void TestChatEndToEnd::numberReadsTheSameInAGroup()
{
    // A group made and filled by clicks: the contact picker offers him, and
    // his bubbles there are named, by the same number as his row.
    QVERIFY(numberOnly);
    const QString number = PhoneText::number(kPhoneC);
    // Before the first group, the group tab says there is none and offers
    // to make one, under its own button.
    click(window->getSidePanel()->getGroupButton());
    GroupTab* groups = window->getSidePanel()->getGroupTab();
    QTRY_VERIFY(groups->isVisible() && groups->emptyStateShown());
    QVERIFY(groups->emptyNewGroupButton()->isVisible() && groups->emptyNotice()->isVisible());
    stack->saveShot(QStringLiteral("chat-e2e-group-tab-empty.png"));
    CreateGroup* form = stack->newGroupFormNamed(QStringLiteral("Numbers"));
    QVERIFY(form);
    click(form->createButton());
    QTRY_VERIFY(form->isHidden());
    QTRY_VERIFY2_WITH_TIMEOUT(chatWindow() && chatWindow()->getChatType() ==
                                                  MessageBase::MsgMajorType_GroupChat,
                              qPrintable(failure("the new group's chat did not open")), 30000);
    const QString groupId = chatWindow()->getChatId();

    GroupProfile* profile = stack->openGroupProfile();
    QVERIFY(profile);
    ContactSelect* picker = stack->openAddMemberPicker(profile);
    QVERIFY(picker);
    QVERIFY(picker->row(kPhoneC));
    QCOMPARE(picker->row(kPhoneC)->shownName(), number);
    QTest::qWait(300); // the fade of the popup layer, for the picture
    stack->saveShot(QStringLiteral("chat-e2e-number-in-picker.png"));
    AvatarViewer* avatar = picker->row(kPhoneC)->getAvatar();
    QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    const int from = numberOnly->lineCount();
    click(picker->inviteButton());
    QVERIFY2(numberOnly->waitFor(groupAnswer(CMD_GroupAdded, groupId), 30000, from) >= 0,
             qPrintable(failure("the third person does not see the group")));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());

    // He writes, until he is in the room: his bubble names him so.
    QString said;
    for (int attempt = 1; attempt <= 10 && said.isEmpty(); ++attempt) {
        const QString text = QStringLiteral("a number in a group (%1)").arg(attempt);
        numberOnly->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                                      {"MINOR_TYPE", "TEXT"},
                                                      {"FROM", groupId},
                                                      {"MESSAGE_BODY", text}});
        if (QTest::qWaitFor([&] { return bubbleWithText(text) != nullptr; }, 6000))
            said = text;
    }
    QVERIFY2(!said.isEmpty(), qPrintable(failure("his group message never came")));
    QTRY_COMPARE_WITH_TIMEOUT(bubbleWithText(said)->senderText(), number, 30000);
    stack->saveShot(QStringLiteral("chat-e2e-number-in-group-bubble.png"));
    QCOMPARE(window->getSidePanel()->getChatTab()->row(kPhoneC)->shownName(), number);
    // Back to the chat list, where the next tests find their rows.
    click(window->getSidePanel()->getChatButton());
    QTRY_VERIFY(window->getSidePanel()->getChatTab()->isVisible());
}

void TestChatEndToEnd::disguisedTextShowsAsWritten()
{
    // While another chat is open, the peer sends a name that an override
    // would turn into "invoiceexe.png".
    QVERIFY(numberOnly);
    openChat(kPhoneC);
    const QString disguised = QStringLiteral("invoice") + QChar(0x202E) + QStringLiteral("gnp.exe");
    const QString id = sentBy(peer, kPhoneA, disguised);
    QVERIFY2(!id.isEmpty(), qPrintable(failure("the peer did not send")));

    // The notification, the row's preview and the bubble draw it as stored.
    NotificationManager* queue = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (queue = window->getTrayNotifier()->windowQueue()) != nullptr &&
            queue->widget()->textLabel()->text().contains(QLatin1String("gnp.exe")),
        120000);
    const QString noted = queue->widget()->textLabel()->text();
    QVERIFY2(drawnAsWritten(noted, drawnAt(noted, Qt::RightToLeft)), qPrintable(noted));
    stack->saveShot(QStringLiteral("chat-e2e-disguised-notification.png"));
    ChatWidget* row = window->getSidePanel()->getChatTab()->row(kPhoneB);
    QVERIFY(row);
    QTRY_VERIFY_WITH_TIMEOUT(row->shownPreview().contains(QLatin1String("gnp.exe")), 20000);
    const QString preview = row->shownPreview();
    QVERIFY2(drawnAsWritten(preview, drawnAt(preview, Qt::RightToLeft)), qPrintable(preview));
    openChat(kPhoneB);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleOf(id) != nullptr, 20000);
    ChatMessageWidget* bubble = bubbleOf(id);
    const QTextBlock block = bubble->bodyWidget()->document()->begin();
    QVERIFY(block.layout() && block.layout()->lineCount() == 1);
    const QTextLine line = block.layout()->lineAt(0);
    const QString shown = block.text();
    QList<qreal> at;
    for (int i = 0; i <= shown.size(); ++i)
        at << line.cursorToX(i);
    QVERIFY2(drawnAsWritten(shown, at), qPrintable(shown));
    // Brought into view for the picture (the chat opened at its first new
    // message, above it).
    chatWindow()->scrollArea()->ensureWidgetVisible(bubble);
    QTest::qWait(200);
    stack->saveShot(QStringLiteral("chat-e2e-disguised-text.png"));

    // Copied, it is the text as the peer wrote it.
    QApplication::clipboard()->clear();
    chooseFromMenu(bubble, ChatMessageWidget::tr("_CopyText"));
    QCOMPARE(QApplication::clipboard()->text(), disguised);
}

void TestChatEndToEnd::lastSeenShowsWhenTheChatOpens()
{
    QVERIFY(numberOnly);
    const QString online = DateConverter().lastSeenText(QDateTime::currentDateTime());
    // The peer is signed in: opening his chat shows him online, in the
    // header and in his profile.
    openChat(kPhoneC);
    openChat(kPhoneB);
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow()->title()->subtitleText().startsWith(online), 30000);
    QVERIFY(chatWindow()->title()->subtitleText().contains(PhoneText::number(kPhoneB)));
    click(chatWindow()->title());
    ContactProfile* profile = chatWindow()->contactPanel();
    QVERIFY(profile);
    QTRY_VERIFY(profile->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(profile->lastSeenLabel()->isVisible(), 30000);
    QCOMPARE(profile->lastSeenLabel()->text(), online);
    QTest::qWait(500); // the slide, for the picture
    stack->saveShot(QStringLiteral("chat-e2e-last-seen-online.png"));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());

    // Gone for over a minute, he was last seen when he left.
    const QDateTime left = QDateTime::currentDateTime();
    QVERIFY(peer->stop());
    QTest::qWait(65000);
    const int answered = stack->answers().answers.size();
    openChat(kPhoneC);
    openChat(kPhoneB);
    QDateTime answer;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (int i = answered; i < stack->answers().answers.size(); ++i) {
                const auto& a = stack->answers().answers.at(i);
                if (a.first == CMD_LastSeen && a.second.value<LastSeen>().getNumber() == kPhoneB)
                    answer = a.second.value<LastSeen>().getSeconds();
            }
            return answer.isValid();
        }(),
        30000);
    QVERIFY2(qAbs(answer.secsTo(left)) <= 10, qPrintable(answer.toString()));
    const QString gone = DateConverter().lastSeenText(answer);
    QVERIFY(gone != online);
    QTRY_VERIFY(chatWindow()->title()->subtitleText().startsWith(gone));
    click(chatWindow()->title());
    QTRY_VERIFY(profile->isVisible());
    QTRY_COMPARE(profile->lastSeenLabel()->text(), gone);
    QTest::qWait(500); // the slide, for the picture
    stack->saveShot(QStringLiteral("chat-e2e-last-seen-gone.png"));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());
    QVERIFY(peer->start());
    QVERIFY(peer->waitFor(CoreProcess::event("loadingFinished"), 60000) >= 0);
}

QTEST_MAIN(TestChatEndToEnd)
#include "tst_chatendtoend.moc"
