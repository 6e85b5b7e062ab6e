// The conversation view offscreen: the chat window's input and sending, the
// reply and edit bars, history paging with the view held still, the bubbles
// and their day containers, seen state, the chat-list rows with their answer
// routing and the group tab. Screens are saved under the build folder.
#include "chat/chatinputbar.h"
#include "chat/chatmessagecontainer.h"
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
#include "chat/sendername.h"
#include "chatfixtures.h"
#include "foundation/desktopopener.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"
#include "inkbounds.h"
#include "model/globalconstants.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "model/members.h"
#include "shell/channeltab.h"
#include "shell/chattab.h"
#include "shell/contentpanel.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/stylesheetloader.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/catalogues.h"
#include "widgets/currentuser.h"
#include "widgets/dateconverter.h"
#include "widgets/doublestatebutton.h"
#include "widgets/flatbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/phonetext.h"
#include "widgets/popupwarning.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

#include <functional>

namespace {

// The user's send key, as the settings screen writes it back.
void useSendKey(MainSettings::SendKey key)
{
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setSendKey(key);
    GlobalConstants::setMainSettings(settings);
}
const QString me = QStringLiteral("me");
const QString peer = QStringLiteral("982100000001");

Message textMessage(const QString& id, const QString& sender, const QString& body, qint64 time,
                    MessageBase::MsgMajorType kind = MessageBase::MsgMajorType_SimpleChat)
{
    Message m(kind, sender, peer, body);
    m.setMessageId(id);
    m.setSendTimeInGMT(time);
    return m;
}

qint64 at(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute)).toMSecsSinceEpoch();
}

// The commands a widget emitted, in order.
QList<int> commandsOf(const QSignalSpy& spy)
{
    QList<int> list;
    for (const QList<QVariant>& call : spy)
        list << call.at(0).toInt();
    return list;
}

QVariant lastPayload(const QSignalSpy& spy, Command command)
{
    for (int i = spy.size() - 1; i >= 0; --i) {
        if (spy.at(i).at(0).toInt() == command)
            return spy.at(i).at(1);
    }
    return QVariant();
}

ChatWindow* openWindow(QWidget* host, const QString& chatId = peer)
{
    auto* window = new ChatWindow;
    window->setParent(host);
    window->setChatId(chatId);
    window->setChatType(MessageBase::MsgMajorType_SimpleChat);
    window->setGeometry(host->rect());
    return window;
}

// The host shown as the window the user works in.
void showActive(QWidget* host)
{
    host->show();
    host->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host));
}

// A one-to-one chat's window shown in host, as when its row is opened.
ChatWindow* openShownWindow(QWidget* host)
{
    host->resize(500, 600);
    ChatWindow* window = openWindow(host);
    showActive(host);
    window->showChatWindow();
    return window;
}

Message channelPost()
{
    Message post = textMessage("p", QStringLiteral("author"), "post", at(20, 9),
                               MessageBase::MsgMajorType_ChannelChat);
    post.setChatId(QStringLiteral("news"));
    return post;
}

// The window of the channel "News" in host, not shown yet.
ChatWindow* openChannelWindow(QWidget* host)
{
    ChatWindow* window = openWindow(host, QStringLiteral("news"));
    ChannelInfo channel;
    channel.setId(QStringLiteral("news"));
    channel.setName(QStringLiteral("News"));
    window->setChannelProfile(channel);
    return window;
}

// The window of the channel "News" shown in host, with one post on its board.
ChatWindow* openChannelWithPost(QWidget* host, const Message& post)
{
    ChatWindow* window = openChannelWindow(host);
    host->show();
    window->showChatWindow();
    window->appendMessage(post);
    return window;
}

void saveShot(QWidget* widget, const QString& name)
{
    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    widget->grab().save(dir + QLatin1Char('/') + name);
}

void typeText(QWidget* input, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, input, Qt::Key_unknown, c, Qt::NoModifier);
}

// Runs the event loop, deleting what was left for deletion, until done()
// holds or the time is up; returns done().
bool runUntil(const std::function<bool()>& done, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

// What a long chat's board must always be: at most its limit of bubbles
// alive, an unbroken stretch of the chat in order, and each day's bubbles in
// that day's container, the days in date order. Empty when it is so.
QString boardFault(ChatWindow* window, const QStringList& chat)
{
    const QStringList ids = window->boardMessageIds();
    const int alive = window->findChildren<ChatMessageWidget*>().size();
    if (alive > ChatWindow::boardLimit)
        return QStringLiteral("%1 bubbles alive").arg(alive);
    if (ids.isEmpty())
        return QStringLiteral("empty board");
    const int first = chat.indexOf(ids.first());
    if (first < 0 || chat.mid(first, ids.size()) != ids)
        return QStringLiteral("broken stretch from %1 to %2").arg(ids.first(), ids.last());
    QDate previous;
    for (ChatMessageContainer* day : window->containers()) {
        if (previous.isValid() && day->getDate() <= previous)
            return QStringLiteral("days out of order");
        previous = day->getDate();
        for (ChatMessageWidget* bubble : day->bubbleWidgets()) {
            if (QDateTime::fromMSecsSinceEpoch(bubble->getSendTime()).date() != day->getDate())
                return QStringLiteral("%1 in the wrong day").arg(bubble->getMessageId());
        }
    }
    return QString();
}

// Counts the moves of the widgets it watches.
class MoveCounter : public QObject
{
public:
    int moves = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            ++moves;
        return false;
    }
};

} // namespace

class TestChatView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initInterfaceMetrics();
        qRegisterMetaType<ChatWindow*>();
        currentUserName = me;
    }
    // A test that speaks Persian leaves the next one in the keys.
    void cleanup() { Catalogues::uninstall(); }

    // ---- input and sending ----

    void returnKeyFollowsTheSendKey_data()
    {
        QTest::addColumn<int>("sendKey");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("sends");
        QTest::newRow("return sends") << 0 << int(Qt::NoModifier) << true;
        QTest::newRow("shift+return breaks") << 0 << int(Qt::ShiftModifier) << false;
        QTest::newRow("swapped: return breaks") << 1 << int(Qt::NoModifier) << false;
        QTest::newRow("swapped: shift+return sends") << 1 << int(Qt::ShiftModifier) << true;
        QTest::newRow("ctrl+return is plain") << 0 << int(Qt::ControlModifier) << false;
    }
    void returnKeyFollowsTheSendKey()
    {
        QFETCH(int, sendKey);
        QFETCH(int, modifiers);
        QFETCH(bool, sends);
        useSendKey(MainSettings::SendKey(sendKey));
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QSignalSpy spy(window, &ChatWindow::command);
        typeText(window->input(), QStringLiteral("hello"));
        QTest::keyClick(window->input(), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(commandsOf(spy).count(CMD_SendMessage), sends ? 1 : 0);
        if (sends) {
            const Message sent = lastPayload(spy, CMD_SendMessage).value<Message>();
            QCOMPARE(sent.getMessageBody(), QStringLiteral("hello"));
            QCOMPARE(sent.getChatId(), peer);
            QCOMPARE(sent.getUserId(), me);
            QCOMPARE(sent.getMinorType(), MessageBase::MsgMinorType_Text);
            QVERIFY(window->input()->toPlainText().isEmpty());
        } else {
            QVERIFY(window->input()->toPlainText().startsWith(QStringLiteral("hello")));
        }
        useSendKey(MainSettings::SendKey(0));
    }

    void nothingToSendSendsNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("blanks") << QStringLiteral("   ");
        QTest::newRow("tabs and blanks") << QStringLiteral(" \t \t ");
    }
    void nothingToSendSendsNothing()
    {
        QFETCH(QString, typed);
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QSignalSpy spy(window, &ChatWindow::command);
        typeText(window->input(), typed);
        QTest::keyClick(window->input(), Qt::Key_Return);
        QTest::mouseClick(window->sendButton(), Qt::LeftButton);
        QVERIFY(!commandsOf(spy).contains(CMD_SendMessage));
        // Emptied again: the send button sends nothing.
        window->input()->clear();
        QTest::mouseClick(window->sendButton(), Qt::LeftButton);
        QVERIFY(!commandsOf(spy).contains(CMD_SendMessage));
    }

    // The placeholder is painted over an empty input only: a message that
    // says the same words as it is a message like any other, in either
    // language.
    void placeholderWordsGoOutAsTyped_data()
    {
        QTest::addColumn<bool>("persian");
        QTest::newRow("keys") << false;
        QTest::newRow("Persian catalogue") << true;
    }
    void placeholderWordsGoOutAsTyped()
    {
        QFETCH(bool, persian);
        if (persian)
            QVERIFY(Catalogues::install());
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        const QString words = window->input()->placeholderText();
        QVERIFY(!words.isEmpty());
        QCOMPARE(words.isRightToLeft(), persian);
        QSignalSpy spy(window, &ChatWindow::command);
        typeText(window->input(), words);
        QTest::keyClick(window->input(), Qt::Key_Return);
        typeText(window->input(), QStringLiteral("  ") + words + QStringLiteral(" "));
        QTest::mouseClick(window->sendButton(), Qt::LeftButton);
        QList<QString> bodies;
        for (const QList<QVariant>& call : spy) {
            if (call.at(0).toInt() == CMD_SendMessage)
                bodies << call.at(1).value<Message>().getMessageBody();
        }
        Catalogues::uninstall();
        const QString sent = HtmlManager::insertHtmlTags(words);
        QCOMPARE(bodies, QList<QString>({sent, sent}));
        QVERIFY(window->input()->toPlainText().isEmpty());
    }

    // The attach button's dialog names its filter in the user's language,
    // and the filter still shows a file without an extension.
    void attachDialogSpeaksTheCatalogue()
    {
        QVERIFY(Catalogues::install());
        const QString documents =
            QStandardPaths::standardLocations(QStandardPaths::DocumentsLocation).value(0);
        QVERIFY(QDir().mkpath(documents));
        for (const QString& name : {"README", "notes.txt"}) {
            QFile file(documents + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QStringList filters;
        QStringList listed;
        bool looked = false;
        // The dialog runs its own loop: read it from inside, then close it.
        std::function<void()> look = [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(50, look);
                return;
            }
            filters = dialog->nameFilters();
            QAbstractItemView* list = dialog->findChild<QAbstractItemView*>("listView");
            QTest::qWaitFor(
                [&] {
                    listed.clear();
                    const QModelIndex root = list ? list->rootIndex() : QModelIndex();
                    for (int row = 0; list && row < list->model()->rowCount(root); ++row)
                        listed << list->model()->index(row, 0, root).data().toString();
                    return listed.size() == 2;
                },
                10000);
            looked = true;
            dialog->reject();
        };
        auto* bar = qobject_cast<ChatInputBar*>(window->inputBar());
        QVERIFY(bar);
        QTimer::singleShot(0, look);
        QTest::mouseClick(bar->attachButton(), Qt::LeftButton);
        QTRY_VERIFY(looked);
        Catalogues::uninstall();
        QCOMPARE(filters.size(), 1);
        QVERIFY2(filters.first().isRightToLeft(), qPrintable(filters.first()));
        QVERIFY2(filters.first().endsWith(QStringLiteral("(*)")), qPrintable(filters.first()));
        listed.sort();
        QCOMPARE(listed, QStringList({"README", "notes.txt"}));
    }

    void persianTextAndEmojiGoOutAsTyped()
    {
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QSignalSpy spy(window, &ChatWindow::command);
        typeText(window->input(), QString::fromUtf8("سلام دنیا"));
        QTest::mouseClick(window->sendButton(), Qt::LeftButton);
        QCOMPARE(lastPayload(spy, CMD_SendMessage).value<Message>().getMessageBody(),
                 QString::fromUtf8("سلام دنیا"));
    }

    void inputGrowsUpToItsLimit()
    {
        QWidget host;
        host.resize(500, 700);
        ChatWindow* window = openWindow(&host);
        host.show();
        window->showChatWindow();
        useSendKey(MainSettings::SendKey(0));
        QSignalSpy grew(window->input(), &CustomTextEdit::heightChanged);
        const int first = window->input()->height();
        int last = first;
        for (int i = 0; i < 30; ++i) {
            typeText(window->input(), QStringLiteral("x"));
            QTest::keyClick(window->input(), Qt::Key_Return, Qt::ShiftModifier);
            QVERIFY(window->input()->height() >= last);
            last = window->input()->height();
        }
        QVERIFY(last > first);
        QCOMPARE(last, inputMaxHeight);
        QVERIFY(grew.size() >= 2);
    }

    // ---- reply and edit ----

    void replyAndEditChangeWhatIsSent()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openWindow(&host);
        window->setChatType(MessageBase::MsgMajorType_GroupChat);
        window->setChatId(QStringLiteral("room@conference.localhost"));
        host.show();
        window->showChatWindow();
        Message theirs = textMessage("t1", peer, "their words", at(20, 9));
        Message mine = textMessage("m1", me, "line one\nline two", at(20, 10));
        window->appendMessage(theirs);
        window->appendMessage(mine);
        QSignalSpy spy(window, &ChatWindow::command);

        window->bubble("t1")->replyMessage();
        QVERIFY(window->replyBar()->isVisible());
        QCOMPARE(window->replyBar()->summaryText(), QStringLiteral("their words"));
        typeText(window->input(), QStringLiteral("answer"));
        QTest::keyClick(window->input(), Qt::Key_Return);
        const Message reply = lastPayload(spy, CMD_SendMessage).value<Message>();
        QCOMPARE(reply.getReplyOnMessageId(), QStringLiteral("t1"));
        QCOMPARE(reply.getReplyOnThreadId(), QStringLiteral("room@conference.localhost"));
        QVERIFY(!window->replyBar()->isVisible());

        // Editing keeps the line break, sends an edit and nothing else.
        window->bubble("m1")->editMessage();
        QVERIFY(window->editBar()->isVisible());
        QCOMPARE(window->editBar()->summaryText(), QStringLiteral("line one line two"));
        QCOMPARE(window->input()->toPlainText(), QStringLiteral("line one\nline two"));
        const int sentBefore = commandsOf(spy).count(CMD_SendMessage);
        typeText(window->input(), QStringLiteral("!"));
        QTest::keyClick(window->input(), Qt::Key_Return);
        QCOMPARE(commandsOf(spy).count(CMD_SendMessage), sentBefore);
        const Message edit = lastPayload(spy, CMD_MessageEdited).value<Message>();
        QVERIFY(edit.getGroupControlMessage());
        QCOMPARE(edit.getEditMessage().getEditedMessageId(), QStringLiteral("m1"));
        QVERIFY(!window->editBar()->isVisible());

        // Closing the edit bar empties the input.
        window->bubble("m1")->editMessage();
        QTest::mouseClick(window->editBar()->findChild<FlatButton*>(), Qt::LeftButton);
        QVERIFY(!window->editBar()->isVisible());
        QVERIFY(window->input()->toPlainText().isEmpty());
    }

    void replyBarAndOutlineSummaries()
    {
        ReplyMessageWidget bar;
        Message text = textMessage("a", peer, "  many   words\nhere ", at(20, 9));
        bar.setMessage(text, text.getMessageId());
        QCOMPARE(bar.summaryText(), QStringLiteral("many words here"));
        // A kind with no word leaves no earlier summary behind.
        Message unknown = textMessage("b", peer, QString(), at(20, 9));
        unknown.setMinorType(MessageBase::MsgMinorType_File);
        bar.setMessage(unknown, unknown.getMessageId());
        QCOMPARE(bar.summaryText(), QString());

        Message image = textMessage("c", peer, "look", at(20, 9));
        image.setMinorType(MessageBase::MsgMinorType_File);
        FileMessage file;
        file.setFileType(FileMessage::MsgFileType_Image);
        image.setFileMessage(file);
        bar.setMessage(image, image.getMessageId());
        QCOMPARE(bar.summaryText(), QStringLiteral("look"));
        ReplyMessageOutLine outline;
        outline.setMessage(image);
        QCOMPARE(outline.summaryText(),
                 QCoreApplication::translate("ReplyMessageOutLine", "_MsgFileType_Image") +
                     QStringLiteral("look"));
        QSignalSpy clicked(&outline, &ReplyMessageOutLine::clicked);
        outline.resize(100, 40);
        outline.show();
        QTest::mouseClick(&outline, Qt::RightButton);
        QCOMPARE(clicked.size(), 0);
        QTest::mouseClick(&outline, Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("c"));
    }

    void longRepliesShowTheirStart()
    {
        // The reply bar and a quoted reply show how the message begins, cut
        // at its end, whatever the direction of its text.
        for (const QString& start :
             {QStringLiteral("START"), QStringLiteral("\u0622\u063a\u0627\u0632")}) {
            QString body = start;
            for (int i = 0; i < 80; ++i)
                body += QStringLiteral(" word%1").arg(i);
            QWidget host;
            ChatWindow* window = openShownWindow(&host);
            const Message long_ = textMessage("long", peer, body, at(20, 9));
            window->appendMessage(long_);
            window->bubble("long")->replyMessage();
            QVERIFY(window->replyBar()->isVisible());
            QTRY_VERIFY(window->replyBar()->shownSummary().startsWith(start));
            QVERIFY(window->replyBar()->shownSummary().size() < body.size());
            QVERIFY(window->replyBar()->shownSummary().endsWith(QChar(0x2026)));

            ChatMessageWidget quoting(textMessage("q", me, "answer", at(20, 10)), 0, true, long_);
            QVERIFY(quoting.replyOutline());
            QVERIFY(quoting.replyOutline()->shownSummary().startsWith(start));
            QVERIFY(quoting.replyOutline()->shownSummary().size() < body.size());
        }
    }

    void inputStaysRightAlignedAfterSending()
    {
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QVERIFY(window->input()->alignment() & Qt::AlignRight);
        typeText(window->input(), QStringLiteral("hello"));
        QTest::keyClick(window->input(), Qt::Key_Return);
        QVERIFY(window->input()->toPlainText().isEmpty());
        QVERIFY(window->input()->alignment() & Qt::AlignRight);
        QVERIFY(window->input()->alignment() & Qt::AlignAbsolute);
        // The placeholder is drawn on the right with it.
        const QImage shot = window->input()->grab().toImage();
        const QRect ink = InkBounds::darkerThan(
            shot, 200, window->input()->viewport()->geometry().adjusted(1, 1, -1, -1));
        QVERIFY(!ink.isEmpty());
        QVERIFY2(
            ink.left() > shot.width() / 2,
            qPrintable(
                QStringLiteral("placeholder at x %1 of %2").arg(ink.left()).arg(shot.width())));
    }

    void placeholderFollowsAlignment_data()
    {
        QTest::addColumn<QString>("hint");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<bool>("onTheRight");
        const QString english = QStringLiteral("compose message...");
        const QString persian = QStringLiteral(
            "\u067e\u06cc\u0627\u0645 \u0628\u0646\u0648\u06cc\u0633\u06cc\u062f...");
        const int right = int(Qt::AlignRight | Qt::AlignAbsolute);
        QTest::newRow("right-aligned, English, left-to-right")
            << english << int(Qt::LeftToRight) << right << true;
        QTest::newRow("right-aligned, Persian, right-to-left")
            << persian << int(Qt::RightToLeft) << right << true;
        QTest::newRow("right-aligned, Persian, left-to-right")
            << persian << int(Qt::LeftToRight) << right << true;
        QTest::newRow("left-aligned, English, right-to-left")
            << english << int(Qt::RightToLeft) << int(Qt::AlignLeft | Qt::AlignAbsolute) << false;
        QTest::newRow("default, Persian starts on the right")
            << persian << int(Qt::LeftToRight) << 0 << true;
        QTest::newRow("default, English starts on the left")
            << english << int(Qt::LeftToRight) << 0 << false;
    }

    void placeholderFollowsAlignment()
    {
        QFETCH(QString, hint);
        QFETCH(int, direction);
        QFETCH(int, alignment);
        QFETCH(bool, onTheRight);
        CustomTextEdit input;
        input.setLayoutDirection(Qt::LayoutDirection(direction));
        input.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        input.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        input.resize(400, 40);
        input.setPlaceholderText(hint);
        QCOMPARE(input.placeholderText(), hint);
        if (alignment != 0)
            input.setAlignment(Qt::Alignment(alignment));
        // The text cursor stays out of the picture.
        input.setCursorWidth(0);
        input.show();
        QVERIFY(QTest::qWaitForWindowExposed(&input));
        // Inside the frame: where text goes.
        const QRect inside = input.viewport()->geometry().adjusted(1, 1, -1, -1);
        const QImage shot = input.grab().toImage();
        const QRect ink = InkBounds::darkerThan(shot, 200, inside);
        QVERIFY(!ink.isEmpty());
        const QString where = QStringLiteral("placeholder ink from x %1 to %2 of %3")
                                  .arg(ink.left())
                                  .arg(ink.right())
                                  .arg(shot.width());
        if (onTheRight)
            QVERIFY2(ink.left() > shot.width() / 2 && ink.right() > inside.right() - 20,
                     qPrintable(where));
        else
            QVERIFY2(ink.right() < shot.width() / 2 && ink.left() < inside.left() + 20,
                     qPrintable(where));
        // Typed text takes its place.
        input.setPlainText(QStringLiteral("."));
        QVERIFY(InkBounds::darkerThan(input.grab().toImage(), 200, inside).width() < 10);
        input.clear();
        QVERIFY(InkBounds::darkerThan(input.grab().toImage(), 200, inside).width() > 10);
    }

    void ownMessageComesIntoView()
    {
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        for (int i = 0; i < 40; ++i)
            window->appendMessage(
                textMessage(QStringLiteral("m%1").arg(i), peer, "line", at(20, 9, i)));
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum() / 3);
        // A peer's message leaves the view where the user put it...
        window->appendMessage(textMessage("theirs", peer, "new", at(20, 10)));
        QTest::qWait(50);
        QVERIFY(bar->value() < bar->maximum());
        // ...the user's own brings it to the newest message.
        window->appendMessage(textMessage("mine", me, "sent", at(20, 11)));
        QTRY_COMPARE(bar->value(), bar->maximum());
        ChatMessageWidget* mine = window->bubble("mine");
        QVERIFY(!mine->visibleRegion().isEmpty());
    }

    // ---- history paging and the board ----

    void pagesUntilTheWindowIsFull_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QList<int>>("pages");
        QTest::newRow("short history: 5, 5, 2") << 12 << QList<int>{5, 5, 2};
        QTest::newRow("empty chat asks once") << 0 << QList<int>{0};
        QTest::newRow("exactly two pages") << 10 << QList<int>{5, 5, 0};
    }
    void pagesUntilTheWindowIsFull()
    {
        QFETCH(int, stored);
        QFETCH(QList<int>, pages);
        QWidget host;
        host.resize(500, 4000);
        ChatWindow* window = openWindow(&host);
        HistoryStub history(window, makeHistory(peer, stored, me, peer));
        host.show();
        window->showChatWindow();
        QTRY_COMPARE(window->boardMessageIds().size(), stored);
        QTest::qWait(50);
        QCOMPARE(history.requests.size(), pages.size());
        QVERIFY(history.requests.first().getMessageId().isEmpty());
        QStringList ids;
        for (const Message& m : makeHistory(peer, stored, me, peer))
            ids << m.getMessageId();
        QCOMPARE(window->boardMessageIds(), ids);
    }

    void aFullPageWithNothingNewEndsPaging()
    {
        QWidget host;
        host.resize(500, 4000);
        ChatWindow* window = openWindow(&host);
        const QList<Message> five = makeHistory(peer, 5, me, peer);
        HistoryStub history(window, five);
        history.useFixedPage = true;
        history.fixedPage = five;
        host.show();
        window->showChatWindow();
        QTRY_COMPARE(window->boardMessageIds().size(), 5);
        QTest::qWait(200);
        // The newest page, one older page that repeated it, and no more.
        QCOMPARE(history.requests.size(), 2);
    }

    void olderPagesAndNewMessagesLeaveTheViewStill()
    {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(420, 500);
        ChatWindow* window = openWindow(&host);
        const QList<Message> stored = makeHistory(peer, 60, me, peer);
        HistoryStub history(window, stored);
        host.show();
        window->showChatWindow();
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QTest::qWait(50);
        // The newest page shows at the bottom.
        QTRY_COMPARE(bar->value(), bar->maximum());

        // Reading history: scrolled up a little, the view must not move
        // when a new message arrives at the bottom.
        bar->setValue(bar->maximum() / 2);
        QTest::qWait(20);
        const QString anchorId = [&] {
            for (const QString& id : window->boardMessageIds()) {
                ChatMessageWidget* b = window->bubble(id);
                if (b->mapTo(window->scrollArea()->viewport(), QPoint(0, 0)).y() >= 0)
                    return id;
            }
            return QString();
        }();
        QVERIFY(!anchorId.isEmpty());
        const int before =
            window->bubble(anchorId)->mapTo(window->scrollArea()->viewport(), QPoint()).y();
        Message late = textMessage("late", peer, "arrives while reading", at(20, 23));
        window->appendMessage(late);
        QTRY_VERIFY(window->bubble("late") != nullptr);
        QTest::qWait(50);
        QCOMPARE(window->bubble(anchorId)->mapTo(window->scrollArea()->viewport(), QPoint()).y(),
                 before);

        // At the top: an older page arrives and what was shown stays put.
        const int requested = history.requests.size();
        const QString topId = window->boardMessageIds().first();
        bar->setValue(0);
        QTRY_VERIFY(history.requests.size() > requested);
        QCOMPARE(history.requests.last().getMessageId(), topId);
        QTRY_VERIFY(window->boardMessageIds().first() != topId);
        QTest::qWait(50);
        QCOMPARE(window->bubble(topId)->mapTo(window->scrollArea()->viewport(), QPoint()).y() >= 0,
                 true);
        QVERIFY(bar->value() > 0);

        // At the bottom the board follows new messages.
        bar->setValue(bar->maximum());
        QTest::qWait(20);
        window->appendMessage(textMessage("newest", me, "at the bottom", at(20, 23, 30)));
        QTRY_COMPARE(bar->value(), bar->maximum());
        saveShot(&host, QStringLiteral("chat-paged.png"));
    }

    void anOlderDayGoesInAboveWithoutMovingTheShownDays()
    {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(420, 500);
        ChatWindow* window = openWindow(&host);
        host.show();
        window->showChatWindow();
        // Two days on the board, read from the middle.
        QList<Message> shown;
        for (int day = 21; day <= 22; ++day) {
            for (int i = 0; i < 12; ++i)
                shown << textMessage(QStringLiteral("d%1-%2").arg(day).arg(i), i % 2 ? peer : me,
                                     QStringLiteral("day %1, message %2").arg(day).arg(i),
                                     at(day, 9, i * 5));
        }
        MessageReply reply;
        reply.setMsgs(shown);
        window->chatMessageResponse(reply);
        QCoreApplication::processEvents();
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum() / 2);
        QWidget* viewport = window->scrollArea()->viewport();
        ChatMessageWidget* anchorBubble = nullptr;
        for (const QString& id : window->boardMessageIds()) {
            if (window->bubble(id)->mapTo(viewport, QPoint()).y() >= 0) {
                anchorBubble = window->bubble(id);
                break;
            }
        }
        QVERIFY(anchorBubble);
        const int before = anchorBubble->mapTo(viewport, QPoint()).y();
        MoveCounter counter;
        for (const QString& id : window->boardMessageIds())
            window->bubble(id)->installEventFilter(&counter);

        // An older page of an earlier day, shown within one pass of the
        // event loop.
        QList<Message> older;
        for (int i = 0; i < 5; ++i)
            older << textMessage(QStringLiteral("d20-%1").arg(i), i % 2 ? peer : me,
                                 QStringLiteral("day 20, message %1").arg(i), at(20, 18, i));
        MessageRequest request;
        request.setNumber(older.size());
        request.setMessageId(window->boardMessageIds().first());
        reply.setRequest(request);
        reply.setMsgs(older);
        window->chatMessageResponse(reply);
        QCoreApplication::processEvents();

        QCOMPARE(window->boardMessageIds().mid(0, 5),
                 QStringList({"d20-0", "d20-1", "d20-2", "d20-3", "d20-4"}));
        QList<QDate> dates;
        for (ChatMessageContainer* day : window->containers())
            dates << day->getDate();
        QCOMPARE(dates, QList<QDate>({QDate(2024, 3, 20), QDate(2024, 3, 21), QDate(2024, 3, 22)}));
        // The view holds still, and the days already shown only moved as a
        // whole: none of their bubbles moved within its day.
        QCOMPARE(anchorBubble->mapTo(viewport, QPoint()).y(), before);
        QCOMPARE(counter.moves, 0);
    }

    void daysGetTheirOwnContainersInDateOrder()
    {
        QWidget host;
        host.resize(500, 800);
        ChatWindow* window = openWindow(&host);
        host.show();
        window->showChatWindow();
        window->appendMessage(textMessage("d2b", peer, "second day, later", at(21, 12)));
        window->appendMessage(textMessage("d1", me, "first day", at(20, 9)));
        window->appendMessage(textMessage("d2a", peer, "second day, earlier", at(21, 8)));
        window->appendMessage(textMessage("d2c", me, "same time, inserted last", at(21, 8)));
        const QList<ChatMessageContainer*> days = window->containers();
        QCOMPARE(days.size(), 2);
        QCOMPARE(days.at(0)->getDate(), QDate(2024, 3, 20));
        QCOMPARE(days.at(1)->getDate(), QDate(2024, 3, 21));
        QCOMPARE(days.at(1)->messageIds(), QStringList({"d2c", "d2a", "d2b"}));
        // Jalali date text: 1 Farvardin 1403 is 20 March 2024.
        QCOMPARE(days.at(0)->dateText(), DateConverter().jalaliDateText(QDate(2024, 3, 20)));

        // The same id again is an edit of the shown bubble.
        Message edited = textMessage("d1", me, "first day, edited", at(20, 9));
        edited.setEdited(true);
        QVERIFY(window->appendMessage(edited));
        QCOMPARE(days.at(0)->bubbleCount(), 1);
        QCOMPARE(window->bubble("d1")->bodyPlainText(), QStringLiteral("first day, edited"));
        QVERIFY(window->bubble("d1")->editedMarkShown());
        QVERIFY(days.at(0)->getMessageWidget("unknown") == nullptr);
        ChatMessageContainer empty;
        QVERIFY(empty.getFirstMessageId().isNull());
    }

    void groupSendersAreLookedUpOncePerWindow()
    {
        QWidget host;
        host.resize(500, 800);
        ChatWindow* window = openWindow(&host);
        window->setChatType(MessageBase::MsgMajorType_GroupChat);
        host.show();
        QSignalSpy spy(window, &ChatWindow::command);
        for (int i = 0; i < 3; ++i)
            window->appendMessage(textMessage(QStringLiteral("g%1").arg(i), QStringLiteral("ann"),
                                              "hi", at(20, 9, i),
                                              MessageBase::MsgMajorType_GroupChat));
        QCOMPARE(commandsOf(spy).count(CMD_RunMembers), 1);
        const Members asked = lastPayload(spy, CMD_RunMembers).value<Members>();
        QCOMPARE(asked.getNumbersList(), QStringList({"ann"}));
        Members answer;
        answer.setRequestId(peer);
        Profile profile;
        profile.setMemberID(QStringLiteral("ann"));
        profile.setNickName(QStringLiteral("Ann <b>Lee</b>"));
        answer.addProfile(profile);
        window->setMembersProfiles(answer);
        QTRY_COMPARE(window->bubble("g0")->senderText(), QStringLiteral("Ann <b>Lee</b>"));
        // A name wider than the text under it, whether it comes with the
        // message or later, widens its bubble instead of being cut.
        window->appendMessage(textMessage(QStringLiteral("g3"), QStringLiteral("491700000052"),
                                          "hi", at(20, 9, 3), MessageBase::MsgMajorType_GroupChat));
        for (const char* id : {"g0", "g3"}) {
            const SenderName* name = window->bubble(id)->findChild<SenderName*>();
            QTRY_VERIFY2(name->width() >= name->sizeHint().width(),
                         qPrintable(QStringLiteral("%1: %2 of %3")
                                        .arg(QLatin1String(id))
                                        .arg(name->width())
                                        .arg(name->sizeHint().width())));
        }
    }

    // Only a group names people by the user's own names for his contacts:
    // in a one-to-one chat the peer's bubble names nobody and a reply's
    // outline shows what the peer's profile says, or his number while it
    // says nothing.
    void oneToOneOutlinesKeepTheProfileName()
    {
        Contact bo;
        bo.setNumber(peer);
        bo.setFirstName(QStringLiteral("Bo"));
        AddressBook::getInstance()->setContacts({{peer, bo}});
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openWindow(&host);
        host.show();
        const Message question = textMessage("q", peer, "the question", at(20, 8));
        window->appendMessage(question);
        MessagePair pair;
        Message answer = textMessage("a", me, "the answer", at(20, 9));
        answer.setReplyOnMessageId("q");
        pair.setMessage(answer);
        pair.setReplyMessage(question);
        window->appendMessagePair(pair);
        QCOMPARE(window->bubble("q")->senderText(), QString());
        QCOMPARE(window->bubble("a")->replyOutline()->senderText(), PhoneText::number(peer));
        Members profiles;
        profiles.setRequestId(peer);
        Profile profile;
        profile.setMemberID(peer);
        profile.setNickName(QStringLiteral("Ann"));
        profiles.addProfile(profile);
        window->setMembersProfiles(profiles);
        QCOMPARE(window->bubble("a")->replyOutline()->senderText(), QStringLiteral("Ann"));
        QCOMPARE(window->bubble("q")->senderText(), QString());
        AddressBook::deleteInstance();
    }

    // A contact renamed while his group's chat is open is named anew on its
    // bubbles and the quoted replies.
    void renamedContactIsNamedAnewOnTheOpenChat()
    {
        const QString ann = QStringLiteral("989100000005");
        Contact contact;
        contact.setNumber(ann);
        contact.setIsMyContact(true);
        AddressBook::getInstance()->setContacts({{ann, contact}});
        QWidget host;
        host.resize(500, 700);
        ChatWindow* window = openWindow(&host);
        window->setChatType(MessageBase::MsgMajorType_GroupChat);
        host.show();
        const Message said =
            textMessage("s", ann, "said by ann", at(20, 8), MessageBase::MsgMajorType_GroupChat);
        window->appendMessage(said);
        MessagePair pair;
        Message answer =
            textMessage("r", me, "the answer", at(20, 9), MessageBase::MsgMajorType_GroupChat);
        answer.setReplyOnMessageId("s");
        pair.setMessage(answer);
        pair.setReplyMessage(said);
        window->appendMessagePair(pair);
        // Saved under his number only: named by it.
        const QString number = PhoneText::number(ann);
        QCOMPARE(window->bubble("s")->senderText(), number);
        QCOMPARE(window->bubble("r")->replyOutline()->senderText(), number);

        contact.setFirstName(QStringLiteral("Annie"));
        AddressBook::getInstance()->addContact(contact);
        QTRY_COMPARE(window->bubble("s")->senderText(), QStringLiteral("Annie"));
        QCOMPARE(window->bubble("r")->replyOutline()->senderText(), QStringLiteral("Annie"));
        AddressBook::deleteInstance();
    }

    // A chat of 10,000 messages read from the newest to the oldest and back
    // while messages keep coming: the board keeps at most its limit of
    // bubbles and an unbroken stretch of the chat; a reply's original, the
    // first unseen message and the seen state work for messages the board
    // had dropped.
    void aLongChatScrolledToTheTopAndBackWhileMessagesArrive()
    {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(420, 500);
        ChatWindow* window = openWindow(&host);
        const QList<Message> stored = makeHistory(peer, 10000, me, peer);
        QStringList chat;
        for (const Message& m : stored)
            chat << m.getMessageId();
        HistoryStub history(window, stored);
        QSignalSpy commands(window, &ChatWindow::command);
        auto seenCount = [&] { return commandsOf(commands).count(CMD_SendSeen); };
        const qint64 after = stored.last().getSendTimeInGMT();
        int arrived = 0;
        auto arrive = [&](const QString& sender, const Message& original = Message()) {
            ++arrived;
            Message m = textMessage(QStringLiteral("new%1").arg(arrived), sender,
                                    QStringLiteral("arrived %1").arg(arrived),
                                    after + qint64(arrived) * 1000);
            if (!original.getMessageId().isEmpty())
                m.setReplyOnMessageId(original.getMessageId());
            chat << m.getMessageId();
            history.deliver(m, original);
            return m;
        };
        showActive(&host);
        window->showChatWindow();
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QVERIFY(runUntil([&] { return bar->maximum() > 0 && seenCount() == 1; }));
        auto inView = [&](const QString& id) {
            ChatMessageWidget* b = window->bubble(id);
            return b && !b->visibleRegion().isEmpty();
        };

        // Up to the oldest message, a page at a time, while messages come.
        int pages = 0;
        while (window->boardMessageIds().first() != chat.first()) {
            const QString top = window->boardMessageIds().first();
            bar->setValue(qMin(1, bar->maximum()));
            bar->setValue(0);
            QVERIFY2(runUntil([&] { return window->boardMessageIds().first() != top; }),
                     qPrintable(top));
            if (++pages == 1000)
                saveShot(&host, QStringLiteral("long-chat-middle.png"));
            if (pages % 250 == 0) {
                const QString fault = boardFault(window, chat);
                QVERIFY2(fault.isEmpty(), qPrintable(fault));
                // Far from the view, a new message is not built.
                const Message m = arrive(peer);
                QVERIFY(!window->bubble(m.getMessageId()));
            }
        }
        QVERIFY(runUntil([&] { return boardFault(window, chat).isEmpty(); }));
        bar->setValue(0);
        QVERIFY(runUntil([&] { return inView(chat.first()); }));
        QVERIFY(window->hasUnseen());
        QCOMPARE(seenCount(), 1);

        // Back down to the newest: what came meanwhile is there, in order,
        // and seen once it is in view.
        QVERIFY(runUntil(
            [&] {
                bar->setValue(bar->maximum());
                return inView(chat.last());
            },
            120000));
        QVERIFY2(boardFault(window, chat).isEmpty(), qPrintable(boardFault(window, chat)));
        QVERIFY(runUntil([&] { return seenCount() == 2; }));
        QVERIFY(!window->hasUnseen());
        saveShot(&host, QStringLiteral("long-chat-back-at-the-newest.png"));
        // At the newest, the board follows what comes.
        arrive(peer);
        QVERIFY(runUntil([&] { return inView(chat.last()) && bar->value() == bar->maximum(); }));
        QCOMPARE(seenCount(), 3);

        // A reply to a message long dropped from the board: its outline
        // brings the original back into view, highlighted.
        const Message original = stored.at(3);
        const Message answer = arrive(me, original);
        QVERIFY(runUntil([&] { return inView(answer.getMessageId()); }));
        QVERIFY(!window->bubble(original.getMessageId()));
        QTest::mouseClick(window->bubble(answer.getMessageId())->replyOutline(), Qt::LeftButton);
        QVERIFY(runUntil([&] { return inView(original.getMessageId()); }));
        QCOMPARE(window->bubble(original.getMessageId())->palette().color(QPalette::Window).alpha(),
                 80);
        saveShot(&host, QStringLiteral("long-chat-reply-original.png"));
        QVERIFY2(boardFault(window, chat).isEmpty(), qPrintable(boardFault(window, chat)));

        // Another chat is opened; 30 messages come to this one meanwhile.
        // Shown again, it opens at the first of them, and the chat is seen
        // once the newest has been in view.
        window->hideChatWindow();
        const int seenBefore = seenCount();
        QString firstUnseen;
        for (int i = 0; i < 30; ++i) {
            const Message m = arrive(peer);
            if (firstUnseen.isEmpty())
                firstUnseen = m.getMessageId();
        }
        QVERIFY(window->hasUnseen());
        window->showChatWindow();
        QVERIFY(runUntil([&] { return inView(firstUnseen); }));
        QWidget* viewport = window->scrollArea()->viewport();
        const int firstTop = window->bubble(firstUnseen)->mapTo(viewport, QPoint()).y();
        QVERIFY2(firstTop >= 0 && firstTop < viewport->height() / 3,
                 qPrintable(QString::number(firstTop)));
        QVERIFY(!inView(chat.last()));
        QCOMPARE(seenCount(), seenBefore);
        saveShot(&host, QStringLiteral("long-chat-first-unseen.png"));
        QVERIFY(runUntil([&] {
            bar->setValue(bar->maximum());
            return inView(chat.last());
        }));
        QVERIFY(runUntil([&] { return seenCount() == seenBefore + 1; }));
        QVERIFY2(boardFault(window, chat).isEmpty(), qPrintable(boardFault(window, chat)));
        QCOMPARE(history.storedCount(), chat.size());
    }

    // The posts a channel's like and view passes looked at may be dropped
    // from the board (deleted) before the next pass: that pass must not
    // touch them (the sanitizer run catches it).
    void droppedPostsLeaveTheLikePasses()
    {
        QWidget host;
        host.resize(420, 500);
        ChatWindow* window = openChannelWindow(&host);
        QList<Message> posts;
        for (int i = 0; i < 400; ++i) {
            Message post =
                textMessage(QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0')),
                            QStringLiteral("author"), QStringLiteral("post %1").arg(i),
                            at(20, 9) + qint64(i) * 60000, MessageBase::MsgMajorType_ChannelChat);
            post.setChatId(QStringLiteral("news"));
            posts << post;
        }
        HistoryStub history(window, posts);
        showActive(&host);
        window->showChatWindow();
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QVERIFY(runUntil([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }));
        window->startLikeViewAnalysis();
        QVERIFY(!window->collectVisibleMessages().isEmpty());
        QVERIFY(window->bubble(QStringLiteral("p399")));
        // Up until the posts of that pass are off the board.
        while (window->bubble(QStringLiteral("p399"))) {
            const QString top = window->boardMessageIds().first();
            bar->setValue(qMin(1, bar->maximum()));
            bar->setValue(0);
            QVERIFY(runUntil([&] { return window->boardMessageIds().first() != top; }));
        }
        window->startLikeViewAnalysis();
        window->startLikeViewAnalysis();
        QVERIFY(window->likeViewTimerActive());
    }

    void outlineClickJumpsToTheRepliedMessage()
    {
        QWidget host;
        host.resize(420, 400);
        ChatWindow* window = openWindow(&host);
        host.show();
        window->showChatWindow();
        Message first = textMessage("first", peer, "the question", at(20, 8));
        window->appendMessage(first);
        for (int i = 0; i < 20; ++i)
            window->appendMessage(
                textMessage(QStringLiteral("f%1").arg(i), me, "filler", at(20, 9, i)));
        MessagePair pair;
        Message answer = textMessage("answer", me, "the answer", at(20, 10));
        answer.setReplyOnMessageId("first");
        pair.setMessage(answer);
        pair.setReplyMessage(first);
        window->appendMessagePair(pair);
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(window->bubble("answer")->replyOutline());
        QCOMPARE(window->bubble("answer")->replyOutline()->summaryText(),
                 QStringLiteral("the question"));
        QTest::mouseClick(window->bubble("answer")->replyOutline(), Qt::LeftButton);
        QTRY_VERIFY(bar->value() < bar->maximum());
        QVERIFY(!window->bubble("first")->visibleRegion().isEmpty());
        QCOMPARE(window->bubble("first")->palette().color(QPalette::Window).alpha(), 80);
        // The highlight fades away in 500 ms and eight steps of 100 ms.
        QTRY_COMPARE_WITH_TIMEOUT(
            window->bubble("first")->palette().color(QPalette::Window).alpha(), 0, 5000);
    }

    // ---- bubbles ----

    void ticksFollowTheState_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("tick");
        QTest::addColumn<QString>("reason");
        const QString none;
        const QString noSpace = QStringLiteral("_NotSentNoDiskSpace");
        const QString refused = QStringLiteral("_NotSentRefused");
        QTest::newRow("draft") << 0 << 0 << QStringLiteral("o") << none;
        QTest::newRow("not sent") << 1 << 0 << QStringLiteral("msgStateNotSentKEY") << none;
        QTest::newRow("sent") << 2 << 0 << QStringLiteral("msgStateSentKEY") << none;
        QTest::newRow("delivered") << 3 << 0 << QStringLiteral("msgStateDeliveredKEY") << none;
        QTest::newRow("seen") << 4 << 0 << QStringLiteral("msgStateSeenKEY") << none;
        QTest::newRow("out of range keeps the last")
            << 5 << 0 << QStringLiteral("msgStateSentKEY") << none;
        // A message that cannot go out says so, and why, instead of waiting.
        QTest::newRow("not sent, no disk space")
            << 1 << 1 << QStringLiteral("msgStateFailedKEY") << noSpace;
        QTest::newRow("not sent, refused")
            << 1 << 2 << QStringLiteral("msgStateFailedKEY") << refused;
        // Once on its way, an old reason no longer shows.
        QTest::newRow("sent after all") << 2 << 1 << QStringLiteral("msgStateSentKEY") << none;
        QTest::newRow("unknown reason") << 1 << 9 << QStringLiteral("msgStateFailedKEY") << refused;
    }
    void ticksFollowTheState()
    {
        QFETCH(int, state);
        QFETCH(int, failure);
        QFETCH(QString, tick);
        QFETCH(QString, reason);
        Message m = textMessage("x", me, "mine", at(20, 9));
        m.setState(MessageBase::MsgState_Sent);
        ChatMessageWidget mine(m, 0, false, Message());
        mine.setState(MessageBase::MsgState(state), MessageBase::SendFailure(failure));
        QCOMPARE(mine.tickKey(), tick);
        const QString said =
            reason.isEmpty()
                ? QString()
                : QCoreApplication::translate("ChatMessageWidget", reason.toLatin1().constData());
        QCOMPARE(mine.failureText(), said);
        auto* note = mine.findChild<QLabel*>(QStringLiteral("ChatMessageFailure"));
        QCOMPARE(note && !note->isHidden(), !said.isEmpty());
        ChatMessageWidget theirs(textMessage("y", peer, "theirs", at(20, 9)), 1, false, Message());
        theirs.setState(MessageBase::MsgState_NotSent, MessageBase::SendFailure_Refused);
        QVERIFY(theirs.tickKey().isEmpty());
        QVERIFY(!theirs.findChild<QLabel*>(QStringLiteral("ChatMessageFailure")));
    }

    // A stored message refused for good reads so when its bubble is built
    // again (after a restart), and the reason shows whole in Persian, right
    // to left, inside its bubble; once it goes out after all the reason goes.
    void notSentReasonShownWholeFromTheStore()
    {
        QTranslator persian;
        QVERIFY(persian.load(QStringLiteral(":/Lng/quorvel_persian.qm")));
        QCoreApplication::installTranslator(&persian);
        for (const MessageBase::SendFailure why :
             {MessageBase::SendFailure_NoSpace, MessageBase::SendFailure_Refused}) {
            for (const QString& body : {QStringLiteral("ok"), QString(60, QLatin1Char('w'))}) {
                Message stored = textMessage("r", me, body, at(20, 9));
                stored.setState(MessageBase::MsgState_NotSent);
                stored.setSendFailure(why);
                Message read;
                QVERIFY(read.fromDBJson(stored.toDBJson()));
                QWidget board;
                board.setLayoutDirection(Qt::RightToLeft);
                auto* bubble = new ChatMessageWidget(read, 0, false, Message(), &board);
                board.resize(600, 400);
                board.show();
                QVERIFY(QTest::qWaitForWindowExposed(&board));
                QCOMPARE(bubble->tickKey(), QStringLiteral("msgStateFailedKEY"));
                auto* note = bubble->findChild<QLabel*>(QStringLiteral("ChatMessageFailure"));
                QVERIFY(note && note->isVisible());
                QVERIFY(note->text().startsWith(QStringLiteral("ارسال نشد")));
                QCOMPARE(note->text(), bubble->failureText());
                // Every line of it inside the label, the label inside the bubble.
                const QRect box = note->contentsRect();
                const QRect needed = note->fontMetrics().boundingRect(
                    box, Qt::TextWordWrap | int(note->alignment()), note->text());
                QVERIFY2(needed.width() <= box.width() && needed.height() <= box.height(),
                         qPrintable(QStringLiteral("%1x%2 in %3x%4")
                                        .arg(needed.width())
                                        .arg(needed.height())
                                        .arg(box.width())
                                        .arg(box.height())));
                QWidget* frame = note->parentWidget();
                QVERIFY(frame->rect().contains(note->geometry()));
                QVERIFY(bubble->rect().contains(frame->geometry()));
                bubble->setState(MessageBase::MsgState_Sent);
                QVERIFY(note->isHidden());
                QCOMPARE(bubble->tickKey(), QStringLiteral("msgStateSentKEY"));
            }
        }
        QCoreApplication::removeTranslator(&persian);
    }

    void bubbleLooks()
    {
        QCOMPARE(ChatMessageWidget::userColor(QStringLiteral("ab")), QColor("#547bca"));
        // Plain text from a peer is never read as markup.
        Message hostile = textMessage("h", peer, "&lt;b&gt;bold&lt;/b&gt;", at(20, 9, 5));
        ChatMessageWidget bubble(hostile, 1, false, Message());
        QCOMPARE(bubble.bodyPlainText(), QStringLiteral("<b>bold</b>"));
        QCOMPARE(bubble.timeText(), QStringLiteral("09:05"));
        // Long text wraps at 290 pixels.
        ChatMessageWidget wide(
            textMessage("w", peer, QString(80, QLatin1Char('w')) + " end", at(20, 9)), 1, false,
            Message());
        QCOMPARE(wide.bodyWidget()->width(), 290);
        Message edited = textMessage("e", me, "changed", at(20, 9));
        edited.setEdited(true);
        ChatMessageWidget mark(edited, 0, false, Message());
        QVERIFY(mark.editedMarkShown());
        Message control = textMessage("c", peer, "Ann joined", at(20, 9),
                                      MessageBase::MsgMajorType_ControlMessage);
        ChatMessageWidget notice(control, 1, false, Message());
        QVERIFY(notice.tickKey().isEmpty());
        QVERIFY(notice.senderText().isEmpty());
    }

    // The program's style sheet gives every widget a text colour; a group
    // bubble's sender name is still painted in the sender's own colour,
    // without a style sheet per bubble.
    void senderNamesArePaintedInTheirColour()
    {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(400, 300);
        const QString sender = QStringLiteral("ab");
        Message m =
            textMessage("g", sender, "hello room", at(20, 9), MessageBase::MsgMajorType_GroupChat);
        auto* bubble = new ChatMessageWidget(m, 1, false, Message(), &host);
        bubble->setSenderLabel(QStringLiteral("Ann"));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        // Drawn by the name itself: no style sheet of its own to polish.
        SenderName* name = bubble->findChild<SenderName*>();
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("Ann"));
        QVERIFY(name->styleSheet().isEmpty());
        QCOMPARE(bubble->senderText(), QStringLiteral("Ann"));
        const QImage image = name->grab().toImage();
        const QColor wanted = ChatMessageWidget::userColor(sender);
        int inColour = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (qAbs(c.red() - wanted.red()) < 12 && qAbs(c.green() - wanted.green()) < 12 &&
                    qAbs(c.blue() - wanted.blue()) < 12)
                    ++inColour;
            }
        }
        QVERIFY2(inColour > 10,
                 qPrintable(QStringLiteral("%1 pixels in the sender's colour").arg(inColour)));
    }

    void contextMenuOffersWhatApplies_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("sender");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QStringList>("actions");
        const QString reply = QStringLiteral("_ReplyMessage");
        const QString edit = QStringLiteral("_EditMessage");
        const QString copy = QStringLiteral("_CopyText");
        QTest::newRow("their channel post") << 3 << peer << 1 << QStringList{copy};
        QTest::newRow("own group text") << 2 << me << 1 << QStringList{reply, edit, copy};
        QTest::newRow("own image") << 1 << me << 3 << QStringList{reply, copy};
        QTest::newRow("their text") << 1 << peer << 1 << QStringList{reply, copy};
    }
    void contextMenuOffersWhatApplies()
    {
        QFETCH(int, kind);
        QFETCH(QString, sender);
        QFETCH(int, minor);
        QFETCH(QStringList, actions);
        Message m = textMessage("m", sender, "text", at(20, 9), MessageBase::MsgMajorType(kind));
        m.setMinorType(MessageBase::MsgMinorType(minor));
        ChatMessageWidget bubble(m, sender == me ? 0 : 1, false, Message());
        QStringList texts;
        for (QAction* action : bubble.prepareMenu())
            texts << action->text();
        QCOMPARE(texts, actions);
        bubble.bodyWidget()->selectAll();
        QCOMPARE(bubble.prepareMenu().last()->text(), QStringLiteral("_CopySelectedText"));
    }

    void linksOpen_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("looksUp");
        QTest::addColumn<bool>("opens");
        const QString host = LinkGenerator::getPublicLinkHost();
        QTest::newRow("https channel link")
            << QStringLiteral("https://%1/news").arg(host) << true << false;
        QTest::newRow("host in the query")
            << QStringLiteral("https://other.example/?u=http://%1/x").arg(host) << true << false;
        QTest::newRow("mention") << QStringLiteral("@someone") << true << false;
        QTest::newRow("other site") << QStringLiteral("https://example.org/") << false << true;
        QTest::newRow("plain http") << QStringLiteral("http://example.org/a?b=1") << false << true;
        QTest::newRow("other scheme") << QStringLiteral("ftp://example.org/") << false << false;
        QTest::newRow("file") << QStringLiteral("file:///etc/hostname") << false << false;
    }
    void linksOpen()
    {
        // The service's links are looked up, other web links open in the
        // browser, anything else does nothing.
        QFETCH(QString, link);
        QFETCH(bool, looksUp);
        QFETCH(bool, opens);
        QList<QUrl> opened;
        DesktopOpener::setHandler([&opened](const QUrl& url) {
            opened << url;
            return true;
        });
        ChatMessageWidget bubble(textMessage("l", peer, "link", at(20, 9)), 1, false, Message());
        QSignalSpy spy(&bubble, &ChatMessageWidget::command);
        bubble.linkActivated(QUrl(link));
        DesktopOpener::setHandler(DesktopOpener::Handler());
        QCOMPARE(spy.size(), looksUp ? 1 : 0);
        if (looksUp) {
            QCOMPARE(spy.at(0).at(0).toInt(), int(CMD_Lookup));
            QCOMPARE(spy.at(0).at(1).toString(), QUrl(link).toString());
        }
        QCOMPARE(opened, opens ? QList<QUrl>{QUrl(link)} : QList<QUrl>());
    }

    void onlyLinksThatOpenAreDrawnAsLinks()
    {
        // A #-word is marked by the link marking but no click would open it:
        // it shows as its text, not as a link.
        const QString body = HtmlManager::insertHtmlTags(QStringLiteral("#news and @someone"));
        ChatMessageWidget bubble(textMessage("t", peer, body, at(20, 9)), 1, false, Message());
        QCOMPARE(bubble.shownText(), QStringLiteral("#news and @someone"));
        QVERIFY(!bubble.bodyHtml().contains(QStringLiteral("href=\"#news\"")));
        QVERIFY(bubble.bodyHtml().contains(QStringLiteral("href=\"@someone\"")));
    }

    // A mention on the own green bubble is white like its text; on others'
    // bubbles it keeps the palette's link colour. Both stay underlined.
    void linksReadOnTheirBubble_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("own green bubble: white") << 0 << QColor(Qt::white);
        QTest::newRow("others' bubble: the link colour")
            << 1 << QGuiApplication::palette().link().color();
    }
    void linksReadOnTheirBubble()
    {
        QFETCH(int, side);
        QFETCH(QColor, colour);
        QVERIFY(QGuiApplication::palette().link().color() != QColor(Qt::white));
        const QString body = HtmlManager::insertHtmlTags(QStringLiteral("ask @someone first"));
        ChatMessageWidget bubble(textMessage("c", side == 0 ? me : peer, body, at(20, 9)), side,
                                 false, Message());
        QTextDocument* document = bubble.bodyWidget()->document();
        const QTextCursor mention = document->find(QStringLiteral("@someone"));
        QVERIFY(!mention.isNull());
        QTextCursor inside(document);
        inside.setPosition(mention.selectionStart() + 1);
        const QTextCharFormat link = inside.charFormat();
        QVERIFY(link.isAnchor());
        QCOMPARE(link.foreground().color(), colour);
        QVERIFY(link.fontUnderline());
        // The plain words around it are not links and keep the body's colour.
        inside.setPosition(1);
        QVERIFY(!inside.charFormat().isAnchor());
        QVERIFY(inside.charFormat().foreground().color() != colour ||
                inside.charFormat().foreground().style() == Qt::NoBrush);
    }

    void likesOnChannelPosts()
    {
        QWidget host;
        host.resize(500, 600);
        Message post = channelPost();
        post.setLikes(1);
        post.setLiked(true);
        ChatWindow* window = openChannelWithPost(&host, post);
        QSignalSpy spy(window, &ChatWindow::command);
        ChatMessageWidget* bubble = window->bubble("p");
        QCOMPARE(bubble->senderText(), QStringLiteral("News"));
        QVERIFY(bubble->likeButton());
        QTest::mouseClick(bubble->likeButton(), Qt::LeftButton);
        QCOMPARE(bubble->likesText(), QStringLiteral("0"));
        QCOMPARE(commandsOf(spy).count(CMD_LikeSend), 1);
        const LikePair like = lastPayload(spy, CMD_LikeSend).value<LikePair>();
        QCOMPARE(like.getMessageId(), QStringLiteral("p"));
        QVERIFY(!like.getLiked());
        LVReply counts;
        counts.addResult(QStringLiteral("p"), 7);
        counts.addResult(QStringLiteral("elsewhere"), 3);
        window->setLikeViews(counts);
        QCOMPARE(bubble->likesText(), QStringLiteral("7"));
        // An edit keeps the like widgets.
        post.setMessageBody(QStringLiteral("post, edited"));
        window->appendMessage(post);
        QCOMPARE(window->bubble("p")->likeButton(), bubble->likeButton());
        QVERIFY(window->likeViewTimerActive());
        window->hideChatWindow();
        QVERIFY(!window->likeViewTimerActive());
    }

    void likeViewPassesAskOnlyAfterThreeSeconds()
    {
        QWidget host;
        host.resize(500, 600);
        QApplication::setActiveWindow(&host);
        ChatWindow* window = openChannelWithPost(&host, channelPost());
        QTRY_VERIFY(host.isActiveWindow());
        QTRY_COMPARE(window->collectVisibleMessages().size(), 1);
        QSignalSpy spy(window, &ChatWindow::command);
        window->startLikeViewAnalysis();
        window->startLikeViewAnalysis();
        QVERIFY(!commandsOf(spy).contains(CMD_LikeGet));
        // In view for three seconds by now.
        window->bubble("p")->setVisibleSince(window->bubble("p")->getVisibleSince() - 3);
        window->startLikeViewAnalysis();
        QCOMPARE(commandsOf(spy).count(CMD_LikeGet), 1);
        QCOMPARE(lastPayload(spy, CMD_LikeGet).value<LVRequest>().getMessageIds(),
                 QStringList({"p"}));
        // Not again within 75 seconds.
        window->startLikeViewAnalysis();
        QCOMPARE(commandsOf(spy).count(CMD_LikeGet), 1);
    }

    void oneToOneAndGroupWindowsNeverAskForLikes()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openWindow(&host);
        host.show();
        QSignalSpy spy(window, &ChatWindow::command);
        window->showChatWindow();
        window->startLikeViewAnalysis();
        QVERIFY(!commandsOf(spy).contains(CMD_LikeGet));
        QVERIFY(!window->likeViewTimerActive());
    }

    // ---- seen state ----

    void seenWaitsForTheNewestMessage()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openWindow(&host);
        HistoryStub history(window, makeHistory(peer, 3, me, peer));
        QSignalSpy commands(window, &ChatWindow::command);
        QSignalSpy cleared(window, &ChatWindow::sendSeenCount);
        showActive(&host);
        window->showChatWindow();
        // Opening alone is not reading: the history is not on the board yet.
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));
        QCOMPARE(cleared.size(), 0);
        QTRY_COMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
        QCOMPARE(cleared.size(), 1);
        QCOMPARE(cleared.at(0).at(0).toInt(), 0);
        QCOMPARE(lastPayload(commands, CMD_SendSeen).toString(), peer);
        QVERIFY(!window->bubble(window->boardMessageIds().last())->visibleRegion().isEmpty());
        // Shown again with nothing new, there is nothing to tell.
        window->hideChatWindow();
        window->showChatWindow();
        QCOMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
    }

    void reopenedChatOpensAtTheFirstNewMessage()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openShownWindow(&host);
        for (int i = 0; i < 30; ++i)
            window->appendMessage(
                textMessage(QStringLiteral("old%1").arg(i), peer, "read", at(20, 9, i)));
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(!window->hasUnseen());

        // Another chat is opened; messages come to this one meanwhile.
        window->hideChatWindow();
        QSignalSpy commands(window, &ChatWindow::command);
        for (int i = 0; i < 30; ++i)
            window->appendMessage(
                textMessage(QStringLiteral("new%1").arg(i), peer, "unread", at(20, 10, i)));
        QVERIFY(window->hasUnseen());
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));

        window->showChatWindow();
        // The first new message is in view, near the top; the newest is not,
        // so the chat is not seen yet.
        QCoreApplication::processEvents();
        ChatMessageWidget* first = window->bubble("new0");
        const QRect shown = first->visibleRegion().boundingRect();
        QVERIFY(!shown.isEmpty());
        const int firstTop = first->mapTo(window->scrollArea()->viewport(), QPoint(0, 0)).y();
        QVERIFY2(firstTop >= 0 && firstTop < window->scrollArea()->viewport()->height() / 3,
                 qPrintable(QString::number(firstTop)));
        QVERIFY(window->bubble("new29")->visibleRegion().isEmpty());
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));
        QVERIFY(window->hasUnseen());

        // Reading down to the newest message sends the seen, once.
        QSignalSpy cleared(window, &ChatWindow::sendSeenCount);
        bar->setValue(bar->maximum() / 2 + bar->value() / 2);
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));
        bar->setValue(bar->maximum());
        QCOMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
        QCOMPARE(cleared.size(), 1);
        QVERIFY(!window->hasUnseen());
        bar->setValue(0);
        bar->setValue(bar->maximum());
        QCOMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
    }

    void seenWaitsForAnActiveWindow()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openShownWindow(&host);
        window->appendMessage(textMessage("a", peer, "hello", at(20, 9)));
        QTRY_VERIFY(!window->hasUnseen());
        // Another program in front: what comes is not seen until the user
        // is back.
        QWidget other;
        other.show();
        QApplication::setActiveWindow(&other);
        QTRY_VERIFY(!window->isActiveWindow());
        QSignalSpy commands(window, &ChatWindow::command);
        window->appendMessage(textMessage("b", peer, "still there?", at(20, 10)));
        QVERIFY(window->hasUnseen());
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));
        QApplication::setActiveWindow(&host);
        QTRY_VERIFY(window->isActiveWindow());
        window->sendSeenIfActive();
        QCOMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
    }

    void aRemovedGroupShowsTheStrip()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = openWindow(&host, QStringLiteral("room"));
        GroupInfo group;
        group.setJid(QStringLiteral("room"));
        group.setName(QStringLiteral("Room"));
        group.setMemberCount(0);
        group.setRemoved(true);
        window->setGroupProfile(group);
        host.show();
        window->showChatWindow();
        QVERIFY(window->strip()->isVisible());
        QVERIFY(!window->inputBar()->isVisible());
        QCOMPARE(window->title()->subtitleText(),
                 QStringLiteral("0 ") + QCoreApplication::translate("ChatWindowTitle", "_members"));
        group.setRemoved(false);
        window->updateGroupInfo(group);
        QVERIFY(!window->strip()->isVisible());
        QVERIFY(window->inputBar()->isVisible());
    }

    void confirmationsAnswerOnlyTheAsker()
    {
        QWidget host;
        host.resize(500, 600);
        ChatWindow* asker = openWindow(&host, QStringLiteral("room1"));
        ChatWindow* other = openWindow(&host, QStringLiteral("room2"));
        GroupInfo group;
        group.setRemoved(true);
        for (ChatWindow* w : {asker, other}) {
            group.setJid(w->getChatId());
            w->setGroupProfile(group);
        }
        QSignalSpy askerSpy(asker, &ChatWindow::command);
        QSignalSpy otherSpy(other, &ChatWindow::command);
        asker->muteClicked();
        // Someone else's question answered yes never reaches this window.
        emit PopUpWarning::getInstance()->popUpresponse(PopUpWarning::yes,
                                                        QStringLiteral("Logout"));
        QVERIFY(!commandsOf(askerSpy).contains(CMD_GroupRemoveHistory));
        PopUpWarning::getInstance()->yesButtonPressed();
        QCOMPARE(commandsOf(askerSpy).count(CMD_GroupRemoveHistory), 1);
        QCOMPARE(lastPayload(askerSpy, CMD_GroupRemoveHistory).toString(), QStringLiteral("room1"));
        QVERIFY(!commandsOf(otherSpy).contains(CMD_GroupRemoveHistory));
        // Answered once: a second yes is not this window's any more.
        PopUpWarning::getInstance()->yesButtonPressed();
        QCOMPARE(commandsOf(askerSpy).count(CMD_GroupRemoveHistory), 1);
        // A window hidden while asking stops listening.
        other->muteClicked();
        other->hideChatWindow();
        PopUpWarning::getInstance()->yesButtonPressed();
        QVERIFY(!commandsOf(otherSpy).contains(CMD_GroupRemoveHistory));
    }

    // ---- chat-list rows ----

    void rowCountsUnreadMessages_data()
    {
        QTest::addColumn<QString>("sender");
        QTest::addColumn<bool>("windowShown");
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("unread");
        QTest::newRow("theirs, window hidden") << peer << false << false << "new" << 3;
        QTest::newRow("theirs, window shown") << peer << true << false << "new" << 0;
        QTest::newRow("mine, window hidden") << me << false << false << "new" << 0;
        QTest::newRow("their edit, window hidden") << peer << false << true << "old" << 2;
        // A new chat's row is made with its first message counted.
        QTest::newRow("theirs, counted with the row") << peer << false << false << "old" << 2;
    }
    void rowCountsUnreadMessages()
    {
        QFETCH(QString, sender);
        QFETCH(bool, windowShown);
        QFETCH(bool, edit);
        QFETCH(QString, id);
        QFETCH(int, unread);
        ChatWidget row;
        ChatRecipient recipient;
        Contact contact;
        contact.setNumber(peer);
        contact.setNickName(QStringLiteral("Peer"));
        recipient.setContact(contact);
        recipient.setUnreadCount(2);
        recipient.setLastMsg(textMessage("old", peer, "old", at(20, 8)));
        row.setChatRecipient(recipient);
        QWidget host;
        if (windowShown) {
            row.getChatWindow()->setParent(&host);
            showActive(&host);
            row.getChatWindow()->showChatWindow();
            row.setUnreadCount(2);
        }
        Message m = textMessage(id, sender, "new words", at(20, 9));
        m.setEdited(edit);
        QSignalSpy moved(&row, &ChatWidget::lastMessageTimeChanged);
        row.processMessage(m);
        QCOMPARE(row.getChatRecipient().getUnreadCount(), unread);
        QCOMPARE(row.unreadBadgeVisible(), unread > 0);
        QCOMPARE(row.lastMessageText(), QStringLiteral("new words"));
        QCOMPARE(moved.size(), 1);
        // Another chat's message is not this row's.
        Message other = textMessage("x", peer, "elsewhere", at(20, 10));
        other.setChatId(QStringLiteral("someone else"));
        row.processMessage(other);
        QCOMPARE(row.lastMessageText(), QStringLiteral("new words"));
    }

    void rowMakesItsWindowWhenFirstOpened()
    {
        ChatWidget row;
        ChatRecipient recipient;
        Contact contact;
        contact.setNumber(peer);
        contact.setNickName(QStringLiteral("Peer"));
        recipient.setContact(contact);
        recipient.setUnreadCount(4);
        row.setChatRecipient(recipient);
        QVERIFY(!row.hasChatWindow());
        row.processMessage(textMessage("n", peer, "unseen", at(20, 9)));
        QVERIFY(!row.hasChatWindow());
        QCOMPARE(row.getUnreadCount(), 5);
        QSignalSpy commands(&row, &ChatWidget::command);
        QSignalSpy clicked(&row, &ChatWidget::clicked);
        row.resize(300, 60);
        row.show();
        QTest::mouseClick(&row, Qt::RightButton);
        QCOMPARE(clicked.size(), 0);
        QTest::mouseClick(&row, Qt::LeftButton);
        // Opening is not reading: the count stays until the window has shown
        // the newest message.
        QCOMPARE(commands.size(), 0);
        QCOMPARE(clicked.size(), 1);
        QVERIFY(row.hasChatWindow());
        QCOMPARE(clicked.at(0).at(0).value<ChatWindow*>(), row.getChatWindow());
        QCOMPARE(row.getChatWindow()->getChatId(), peer);
        QCOMPARE(row.getUnreadCount(), 5);
        QCOMPARE(row.objectName(), QStringLiteral("ChatWidgetSelected"));

        QWidget host;
        host.resize(500, 600);
        ChatWindow* window = row.getChatWindow();
        window->setParent(&host);
        window->setGeometry(host.rect());
        showActive(&host);
        window->showChatWindow();
        QVERIFY(!commandsOf(commands).contains(CMD_SendSeen));
        MessageReply page;
        page.setRequest(lastPayload(commands, CMD_GetChatMessages).value<MessageRequest>());
        page.setMsgs({textMessage("n", peer, "unseen", at(20, 9))});
        row.processMessageReply(page);
        QCOMPARE(commandsOf(commands).count(CMD_SendSeen), 1);
        QCOMPARE(lastPayload(commands, CMD_SendSeen).toString(), peer);
        QCOMPARE(row.getUnreadCount(), 0);
        QVERIFY(!row.unreadBadgeVisible());
    }

    void rowShowsRenamesAndMutes()
    {
        ChatWidget row;
        ChatRecipient recipient;
        Contact contact;
        contact.setNumber(peer);
        contact.setNickName(QStringLiteral("Old name"));
        recipient.setContact(contact);
        recipient.setUnreadCount(7);
        row.setChatRecipient(recipient);
        contact.setNickName(QStringLiteral("New name"));
        contact.setMute(true);
        row.setContact(contact);
        QCOMPARE(row.nameText(), QStringLiteral("New name"));
        QCOMPARE(row.getChatWindow()->title()->titleText(), QStringLiteral("New name"));
        QCOMPARE(row.badgeObjectName(), QStringLiteral("ChatWidgetUnreadMessageNumberNotifoff"));
        QCOMPARE(row.unreadBadgeText(), QStringLiteral("7"));
        QCOMPARE(row.getUnreadCount(), 0);
        QVERIFY(row.containsText(QStringLiteral("NEW")));
        row.setUnreadCount(250);
        QCOMPARE(row.unreadBadgeText(), QStringLiteral("250"));
        row.setUnreadCount(0);
        QVERIFY(!row.unreadBadgeVisible());
    }

    // In the right-to-left list the avatar sits at the row's right; the name
    // beside it keeps a gap instead of touching the picture.
    void rowNameKeepsClearOfTheAvatar()
    {
        QWidget list;
        list.setLayoutDirection(Qt::RightToLeft);
        auto* row = new ChatWidget(&list);
        ChatRecipient recipient;
        Contact contact;
        contact.setNumber(peer);
        contact.setNickName(QStringLiteral("Nika Rezaei"));
        recipient.setContact(contact);
        row->setChatRecipient(recipient);
        row->setGeometry(0, 0, 340, 60);
        list.resize(340, 60);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QRect avatar = row->avatarRect();
        QVERIFY(avatar.left() > row->width() / 2);
        const QRect name = InkBounds::darkerThan(row->grab().toImage(), 160,
                                                 QRect(0, 0, avatar.left(), row->height()));
        QVERIFY(!name.isEmpty());
        QVERIFY2(avatar.left() - name.right() > 10,
                 qPrintable(QStringLiteral("gap %1").arg(avatar.left() - name.right() - 1)));
    }

    void rowLastMessageRules()
    {
        ChatWidget row;
        GroupInfo group;
        group.setJid(QStringLiteral("room"));
        group.setName(QStringLiteral("Room"));
        group.setUnreadCount(1);
        group.setLastMessage(textMessage("last", peer, "last", at(20, 9)));
        row.setGroupInfo(group);
        QSignalSpy moved(&row, &ChatWidget::lastMessageTimeChanged);
        Message same = textMessage("other", peer, "same time", at(20, 9));
        same.setChatId(QStringLiteral("room"));
        row.updateLastMessage(same);
        QCOMPARE(moved.size(), 0);
        Message earlierSameId = textMessage("last", peer, "corrected", at(20, 8));
        row.updateLastMessage(earlierSameId);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(row.lastMessageText(), QStringLiteral("corrected"));
        // A history page with nothing newer changes nothing.
        MessageReply page;
        page.setMsgs({textMessage("a", peer, "older", at(19, 9))});
        row.processMessageReply(page);
        QCOMPARE(moved.size(), 1);
        page.setMsgs({textMessage("b", peer, "newer", at(21, 9))});
        row.processMessageReply(page);
        QCOMPARE(moved.size(), 2);
        QCOMPARE(row.lastMessageText(), QStringLiteral("newer"));
        QCOMPARE(row.unreadBadgeText(), QStringLiteral("1"));
        // A video without words is named by its kind.
        Message video = textMessage("v", peer, "  ", at(22, 9));
        video.setMinorType(MessageBase::MsgMinorType_File);
        FileMessage file;
        file.setFileType(FileMessage::MsgFileType_Video);
        video.setFileMessage(file);
        row.showLastMessage(video);
        QCOMPARE(row.lastMessageText(), QCoreApplication::translate("ChatWidget", "_video"));
        row.showLastMessage(Message());
        QVERIFY(!row.previewShown());
        QVERIFY(row.timeText().isEmpty());
    }

    // ---- group tab ----

    void groupTabOrdersAndRoutes()
    {
        GroupTab tab;
        tab.resize(300, 500);
        const auto group = [](const QString& jid, int unread = 0) {
            GroupInfo g;
            g.setJid(jid);
            g.setName(jid.toUpper());
            g.setUnreadCount(unread);
            return g;
        };
        tab.setGroups({group("a", 1), group("b", 2), group("c")});
        QCOMPARE(tab.rowIds(), QStringList({"a", "b", "c"}));
        tab.setGroups({group("a", 1), group("d")});
        QCOMPARE(tab.rowIds(), QStringList({"d", "a", "b", "c"}));
        QCOMPARE(tab.getTotalUnreadCount(), 3);

        // A new message moves its row to the top, a later-time one re-sorts.
        Message m =
            textMessage("g1", peer, "hello room", at(20, 9), MessageBase::MsgMajorType_GroupChat);
        m.setChatId(QStringLiteral("b"));
        tab.processNewMessage(m);
        QCOMPARE(tab.rowIds().first(), QStringLiteral("b"));
        QCOMPARE(tab.getTotalUnreadCount(), 4);
        Message later = m;
        later.setMessageId(QStringLiteral("g2"));
        later.setChatId(QStringLiteral("c"));
        later.setSendTimeInGMT(at(20, 10));
        tab.processMessage(later);
        QCOMPARE(tab.rowIds().first(), QStringLiteral("c"));
        // Unknown ids are ignored.
        MessageReply stray;
        tab.processMessageReply(QStringLiteral("nowhere"), stray);

        tab.filterChats(QStringLiteral("zzz"));
        QVERIFY(tab.placeholderShown());
        tab.filterChats(QStringLiteral("hello"));
        QVERIFY(!tab.placeholderShown());
        tab.filterChats(QString());

        // Removing the selected row: the tab then shows no window, and the
        // row goes once the event loop runs.
        QSignalSpy shown(&tab, &GroupTab::showSimpleChatWindow);
        tab.show();
        tab.row("a")->select();
        QPointer<ChatWidget> removed = tab.row("a");
        tab.removeGroup(QStringLiteral("a"));
        QVERIFY(removed);
        QTRY_VERIFY(!removed);
        tab.hide();
        shown.clear();
        tab.show();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.at(0).at(0).value<ChatWindow*>() == nullptr);
        tab.addGroup(group("a"));
        QCOMPARE(tab.rowIds().first(), QStringLiteral("a"));
    }

    // A burst of messages queued for many rows, as the core's answers come:
    // every row ends where its latest message puts it, and the list is laid
    // out by the time it is painted, also by a paint asked for before.
    void aBurstLeavesTheRowsInOrderAndInPlace()
    {
        ChatTab tab;
        tab.resize(300, 600);
        const auto number = [](int i) {
            return QStringLiteral("9891200%1").arg(i, 4, 10, QLatin1Char('0'));
        };
        QList<ChatRecipient> recipients;
        QStringList listed;
        for (int i = 0; i < 40; ++i) {
            Contact c;
            c.setNumber(number(i));
            c.setNickName(QStringLiteral("Person %1").arg(i));
            ChatRecipient r;
            r.setContact(c);
            recipients << r;
            listed << number(i);
        }
        tab.setChatRecipients(recipients);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QCOMPARE(tab.rowIds(), listed);
        QApplication::processEvents();

        // Where the row that ends on top is when it is painted next.
        struct PaintWatch : QObject
        {
            int yAtPaint = -1;
            bool eventFilter(QObject* watched, QEvent* event) override
            {
                if (event->type() == QEvent::Paint && yAtPaint < 0)
                    yAtPaint = static_cast<QWidget*>(watched)->y();
                return false;
            }
        } watch;
        tab.row(number(3))->installEventFilter(&watch);
        // A paint asked for before the burst comes is handled in the same
        // pass as the burst's messages: the rows are in place for it too.
        tab.viewport()->update();

        const QList<int> burst{7, 3, 7, 39, 0, 21, 3};
        for (int k = 0; k < burst.size(); ++k) {
            Message m = textMessage(QStringLiteral("b%1").arg(k), number(burst.at(k)),
                                    QStringLiteral("burst %1").arg(k), at(20, 9, k));
            m.setChatId(number(burst.at(k)));
            QMetaObject::invokeMethod(
                &tab, [&tab, m] { tab.processMessage(m); }, Qt::QueuedConnection);
        }
        QStringList expected{number(3), number(21), number(0), number(39), number(7)};
        for (const QString& id : qAsConst(listed)) {
            if (!expected.contains(id))
                expected << id;
        }
        QTRY_VERIFY(watch.yAtPaint >= 0);
        QCOMPARE(watch.yAtPaint, 0);
        QCOMPARE(tab.rowIds(), expected);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(tab.row(expected.at(i))->y(), i * chatRowHeight);
        QCOMPARE(tab.row(number(3))->lastMessageText(), QStringLiteral("burst 6"));
    }

    // The core tells a group's or a channel's row of its new last message
    // before the message itself comes: the message still counts as unread.
    void lastMessageNewsFirstStillCounts()
    {
        GroupTab groups;
        GroupInfo g;
        g.setJid(QStringLiteral("room"));
        g.setName(QStringLiteral("Room"));
        groups.addGroup(g);
        Message said =
            textMessage("g1", peer, "hello room", at(20, 9), MessageBase::MsgMajorType_GroupChat);
        said.setChatId(QStringLiteral("room"));
        MessagePair pair;
        pair.setMessage(said);
        groups.processMessage(said);
        groups.processNewMessagePair(pair);
        QCOMPARE(groups.getTotalUnreadCount(), 1);

        ChannelTab channels;
        ChannelInfo c;
        c.setId(QStringLiteral("news"));
        c.setName(QStringLiteral("News"));
        channels.addChannel(c);
        Message post =
            textMessage("c1", peer, "a post", at(20, 9), MessageBase::MsgMajorType_ChannelChat);
        post.setChatId(QStringLiteral("news"));
        pair.setMessage(post);
        channels.setLastMessage(post);
        channels.newMessage(pair);
        QCOMPARE(channels.getUnreadCount(), 1);
    }

    // ---- typed text and markup ----

    void bodiesShowAsTyped_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("shown");
        const QString typed = QStringLiteral("a<b>bold</b> & c > d \"q\" 1<2");
        // The user's own message comes back with the text as typed.
        QTest::newRow("own text, bare") << typed << typed;
        // A received text has its markup characters escaped by the core.
        QTest::newRow("received, escaped") << HtmlManager::insertHtmlTags(typed) << typed;
        const QString hostile = QStringLiteral(
            "<img src=\"file:///etc/hostname\"/><a href=\"https://example.org/\">elsewhere</a>"
            "<script>alert(1)</script><table><tr><td>cell</td></tr></table><font "
            "color=\"red\">red</font>&nbsp;&copy;");
        QTest::newRow("bare markup never renders") << hostile << hostile;
        QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree<br />four")
                                     << QStringLiteral("one\ntwo\nthree\nfour");
    }
    void bodiesShowAsTyped()
    {
        QFETCH(QString, body);
        QFETCH(QString, shown);
        for (const QString& sender : {me, peer}) {
            ChatMessageWidget bubble(textMessage("t", sender, body, at(20, 9)),
                                     sender == me ? 0 : 1, false, Message());
            QCOMPARE(bubble.bodyPlainText(), shown);
            QVERIFY(!bubble.bodyHtml().contains(QStringLiteral("file:///")) ||
                    bubble.bodyHtml().contains(QStringLiteral("&lt;img")));
        }
    }

    // The body is driven as a person does: a click on a link reports it, a
    // drag selects (and opens nothing), a double click takes a word, the copy
    // key copies the selection, and the own bubble's text is drawn white.
    void bodyTakesClicksDragsAndCopy()
    {
        const QString body = HtmlManager::insertHtmlTags(QStringLiteral("read @someone now"));
        QWidget host;
        loadStyleSheet(&host);
        auto* bubble = new ChatMessageWidget(textMessage("b", me, body, at(20, 9)), 0, false,
                                             Message(), &host);
        host.resize(400, 200);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        MessageBody* text = bubble->bodyWidget();
        QSignalSpy links(text, &MessageBody::anchorClicked);
        const QTextCursor mention = text->document()->find(QStringLiteral("@someone"));
        QVERIFY(!mention.isNull());
        QTextCursor inside(text->document());
        inside.setPosition(mention.selectionStart() + 3);
        const QPoint onLink = text->cursorRect(inside).center();
        QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier, onLink);
        QCOMPARE(links.size(), 1);
        QCOMPARE(links.first().first().toUrl().toString(), QStringLiteral("@someone"));

        // From the first word across the link: a selection, no link opened.
        const QPoint start = text->cursorRect(QTextCursor(text->document())).center();
        QTest::mousePress(text, Qt::LeftButton, Qt::NoModifier, start);
        QMouseEvent drag(QEvent::MouseMove, onLink, text->mapToGlobal(onLink), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(text, &drag);
        QTest::mouseRelease(text, Qt::LeftButton, Qt::NoModifier, onLink);
        QCOMPARE(links.size(), 1);
        QVERIFY(text->textCursor().selectedText().startsWith(QStringLiteral("read @so")));
        QCOMPARE(bubble->prepareMenu().last()->text(), QStringLiteral("_CopySelectedText"));

        QTest::mouseDClick(text, Qt::LeftButton, Qt::NoModifier, start);
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("read"));
        QApplication::clipboard()->clear();
        QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("read"));

        // Drawn in the style sheet's colour for the own bubble's text.
        text->setTextCursor(QTextCursor(text->document()));
        const QImage image = text->grab().toImage();
        bool white = false;
        for (int y = 0; y < image.height() && !white; ++y)
            for (int x = 0; x < image.width() && !white; ++x)
                white = image.pixelColor(x, y) == QColor(Qt::white);
        QVERIFY(white);
    }

    void emojiAndLinksStayMarkup()
    {
        const QString body =
            HtmlManager::insertHtmlTags(QString::fromUtf8("hi \xF0\x9F\x98\x80 @someone & <b>"));
        ChatMessageWidget bubble(textMessage("t", peer, body, at(20, 9)), 1, false, Message());
        QTextDocument* document = bubble.bodyWidget()->document();
        int images = 0;
        QStringList anchors;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat() &&
                    format.toImageFormat().name().startsWith(QStringLiteral(":/emojis/png/")))
                    ++images;
                if (format.isAnchor())
                    anchors << format.anchorHref();
            }
        }
        QCOMPARE(images, 1);
        QCOMPARE(anchors, QStringList({"@someone"}));
        QVERIFY(bubble.bodyPlainText().endsWith(QStringLiteral(" & <b>")));
        // A link whose text is not its address is not one the link marking
        // made: it shows as text.
        ChatMessageWidget other(textMessage("o", peer, "<a href=\"@someone\">@else</a>", at(20, 9)),
                                1, false, Message());
        QCOMPARE(other.bodyPlainText(), QStringLiteral("<a href=\"@someone\">@else</a>"));
    }

    void typedMarkupGoesOutAndEditsAsTyped()
    {
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QSignalSpy spy(window, &ChatWindow::command);
        const QString typed = QStringLiteral("x<i>y</i> & z > w");
        typeText(window->input(), typed);
        QTest::keyClick(window->input(), Qt::Key_Return);
        Message sent = lastPayload(spy, CMD_SendMessage).value<Message>();
        // The body is in the form a peer's text is kept in: escaped, so its
        // plain text is exactly what was typed.
        QCOMPARE(sent.getMessageBody(), HtmlManager::insertHtmlTags(typed));
        QCOMPARE(HtmlManager::toPlainText(sent.getMessageBody()), typed);
        // The core answers with the message as stored: the text as typed.
        sent.setMessageId(QStringLiteral("own"));
        window->appendMessage(sent);
        QCOMPARE(window->bubble("own")->bodyPlainText(), typed);
        // Editing puts the same text back into the input, tags and all.
        Message stored =
            textMessage("own2", me, HtmlManager::insertHtmlTags("x<i>y</i> & z"), at(20, 9));
        window->appendMessage(stored);
        window->bubble("own2")->editMessage();
        QCOMPARE(window->input()->toPlainText(), QStringLiteral("x<i>y</i> & z"));
        QTest::keyClick(window->input(), Qt::Key_Return);
        const Message edit = lastPayload(spy, CMD_MessageEdited).value<Message>();
        QCOMPARE(HtmlManager::toPlainText(edit.getEditMessage().getEditedText()),
                 QStringLiteral("x<i>y</i> & z"));
    }

    void typedTextShowsAsTypedOnBothSides_data() { addTypedTextRows(); }
    void typedTextShowsAsTypedOnBothSides()
    {
        QFETCH(QString, typed);
        QFETCH(int, pictures);
        QWidget host;
        ChatWindow* window = openShownWindow(&host);
        QSignalSpy spy(window, &ChatWindow::command);
        // Whole characters, as a keyboard gives them.
        for (const uint c : typed.toUcs4())
            QTest::sendKeyEvent(QTest::KeyAction::Click, window->input(), Qt::Key_unknown,
                                QString::fromUcs4(&c, 1), Qt::NoModifier);
        QTest::keyClick(window->input(), Qt::Key_Return);
        Message sent = lastPayload(spy, CMD_SendMessage).value<Message>();
        // What travels is what was typed (the client sends the body's plain
        // text), and the receiver keeps it in the very form the sender does.
        const QString wire = HtmlManager::toPlainText(sent.getMessageBody());
        QCOMPARE(wire, typed);
        QCOMPARE(HtmlManager::insertHtmlTags(wire), sent.getMessageBody());
        sent.setMessageId(QStringLiteral("own"));
        window->appendMessage(sent);
        window->appendMessage(
            textMessage("theirs", peer, HtmlManager::insertHtmlTags(wire), at(20, 9)));
        for (const char* id : {"own", "theirs"}) {
            ChatMessageWidget* bubble = window->bubble(QLatin1String(id));
            QVERIFY(bubble);
            QCOMPARE(bubble->shownText(), typed);
            QCOMPARE(bubble->bodyHtml().count(QStringLiteral(":/emojis/png/")), pictures);
        }
    }

    // ---- channel answers through the main window ----

    void channelAnswersReachTheirWindow()
    {
        MessengerMainWindow main;
        main.resize(1000, 700);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QList<ChannelInfo> channels;
        for (const QString& id : {QStringLiteral("news"), QStringLiteral("sport")}) {
            ChannelInfo info;
            info.setId(id);
            info.setName(id.toUpper());
            channels << info;
        }
        main.commandResponse(CMD_ChannelList, QVariant::fromValue(channels));
        QSignalSpy sent(&main, &MessengerMainWindow::command);
        ChatWidget* row = main.getSidePanel()->getChannelTab()->row(QStringLiteral("news"));
        QVERIFY(row);
        main.getSidePanel()->buttonChannelClicked();
        QTRY_VERIFY(row->isVisible());
        QTest::mouseClick(row, Qt::LeftButton);
        ChatWindow* window = row->getChatWindow();
        QTRY_COMPARE(main.getContentPanel()->currentWidget(), window);
        // The window's history request goes up the whole chain.
        QTRY_VERIFY(commandsOf(sent).contains(CMD_GetChannelMessages));
        const MessageRequest asked =
            lastPayload(sent, CMD_GetChannelMessages).value<MessageRequest>();
        QCOMPARE(asked.getChatId(), QStringLiteral("news"));

        QList<Message> posts;
        for (int i = 0; i < 3; ++i) {
            Message post = textMessage(QStringLiteral("p%1").arg(i), QStringLiteral("author"),
                                       QStringLiteral("post %1").arg(i), at(20, 9, i),
                                       MessageBase::MsgMajorType_ChannelChat);
            post.setChatId(QStringLiteral("news"));
            posts << post;
        }
        MessageReply page;
        page.setRequest(asked);
        page.setMsgs(posts);
        // Another channel's page goes to that channel's row only.
        MessageRequest otherRequest = asked;
        otherRequest.setChatId(QStringLiteral("sport"));
        MessageReply other;
        other.setRequest(otherRequest);
        Message stray = posts.first();
        stray.setMessageId(QStringLiteral("stray"));
        stray.setChatId(QStringLiteral("sport"));
        other.setMsgs({stray});
        main.commandResponse(CMD_GetChannelMessages, QVariant::fromValue(other));
        main.commandResponse(CMD_GetChannelMessages, QVariant::fromValue(page));
        QCOMPARE(window->boardMessageIds(), QStringList({"p0", "p1", "p2"}));
        QCOMPARE(row->lastMessageText(), QStringLiteral("post 2"));
        // The same page answered for a one-to-one chat of that id is not the
        // channel's.
        MessageReply chatPage = page;
        Message chatMessage = posts.first();
        chatMessage.setMessageId(QStringLiteral("c"));
        chatPage.setMsgs({chatMessage});
        main.commandResponse(CMD_GetChatMessages, QVariant::fromValue(chatPage));
        QCOMPARE(window->boardMessageIds(), QStringList({"p0", "p1", "p2"}));

        // Like counts come back by the channel's id to the bubbles shown.
        LVReply likes(LVRequest(QStringLiteral("news"), {"p1", "p2", "gone"}));
        likes.addResult(QStringLiteral("p1"), 4);
        likes.addResult(QStringLiteral("gone"), 9);
        main.commandResponse(CMD_LikeGet, QVariant::fromValue(likes));
        QCOMPARE(window->bubble("p1")->likesText(), QStringLiteral("4"));
        QCOMPARE(window->bubble("p0")->likesText(), QStringLiteral("0"));
        LVReply elsewhere(LVRequest(QStringLiteral("sport"), {"p2"}));
        elsewhere.addResult(QStringLiteral("p2"), 11);
        main.commandResponse(CMD_LikeGet, QVariant::fromValue(elsewhere));
        QCOMPARE(window->bubble("p2")->likesText(), QStringLiteral("0"));

        // A like clicked on a bubble goes up the chain to the core.
        QTest::mouseClick(window->bubble("p1")->likeButton(), Qt::LeftButton);
        QCOMPARE(lastPayload(sent, CMD_LikeSend).value<LikePair>().getMessageId(),
                 QStringLiteral("p1"));
        QCOMPARE(window->bubble("p1")->likesText(), QStringLiteral("5"));
    }

    // ---- screens ----

    void screens()
    {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(520, 1000);
        ChatWindow* window = openWindow(&host);
        Contact contact;
        contact.setNumber(peer);
        contact.setNickName(QString::fromUtf8("مریم"));
        contact.setIsMyContact(true);
        window->setContact(contact);
        window->setContactProfile(contact);
        host.show();
        window->showChatWindow();
        QList<Message> list;
        list << textMessage("s1", peer, QString::fromUtf8("سلام! حالت چطوره؟"), at(19, 21, 5));
        list << textMessage("s2", me, "Hello, all good \xF0\x9F\x98\x80 and you?", at(19, 21, 7));
        list.last().setState(MessageBase::MsgState_Seen);
        list.last().setMessageBody(HtmlManager::insertHtmlTags(list.last().getMessageBody()));
        for (int s = 0; s <= 4; ++s) {
            Message m = textMessage(QStringLiteral("t%1").arg(s), me,
                                    QStringLiteral("state %1").arg(s), at(20, 9, s));
            m.setState(MessageBase::MsgState(s));
            list << m;
        }
        Message edited = textMessage("e1", peer, QString::fromUtf8("ویرایش شد"), at(20, 10));
        edited.setEdited(true);
        list << edited;
        for (const Message& m : list)
            window->appendMessage(m);
        MessagePair pair;
        Message answer = textMessage("r1", me, QString::fromUtf8("جواب: خوبم"), at(20, 11));
        answer.setReplyOnMessageId("s1");
        answer.setState(MessageBase::MsgState_Seen);
        pair.setMessage(answer);
        pair.setReplyMessage(list.first());
        window->appendMessagePair(pair);
        Members peerName;
        peerName.setRequestId(peer);
        Profile profile;
        profile.setMemberID(peer);
        profile.setNickName(QString::fromUtf8("مریم"));
        peerName.addProfile(profile);
        window->setMembersProfiles(peerName);
        QTest::qWait(100);
        saveShot(&host, QStringLiteral("chat-one-to-one.png"));

        QWidget groupHost;
        loadStyleSheet(&groupHost);
        groupHost.resize(520, 600);
        ChatWindow* group = openWindow(&groupHost, QStringLiteral("room"));
        GroupInfo info;
        info.setJid(QStringLiteral("room"));
        info.setName(QStringLiteral("Team room"));
        info.setMemberCount(4);
        group->setGroupProfile(info);
        groupHost.show();
        group->showChatWindow();
        Members names;
        names.setRequestId(QStringLiteral("room"));
        const QStringList senders{"ann", "bob", "cyrus", "dara"};
        int i = 0;
        for (const QString& s : senders) {
            Message m = textMessage(QStringLiteral("g%1").arg(i), s, QStringLiteral("hi from ") + s,
                                    at(20, 12, i), MessageBase::MsgMajorType_GroupChat);
            m.setChatId(QStringLiteral("room"));
            group->appendMessage(m);
            Profile p;
            p.setMemberID(s);
            p.setNickName(s.at(0).toUpper() + s.mid(1));
            names.addProfile(p);
            ++i;
        }
        group->setMembersProfiles(names);
        QTest::qWait(100);
        saveShot(&groupHost, QStringLiteral("chat-group.png"));
    }
};

QTEST_MAIN(TestChatView)
#include "tst_chatview.moc"
