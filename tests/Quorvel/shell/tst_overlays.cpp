// What lies over an open chat in the main window, driven offscreen with the
// mouse and the keyboard: Escape closes the topmost popup or the side menu
// and the keyboard comes back to the chat's input; the chat is not told as
// seen while its information panel, a popup or the side menu covers it, or
// while the window is minimised, and is as soon as that goes.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "screens/addnewcontact.h"
#include "screens/channelcategorypopup.h"
#include "screens/contactprofile.h"
#include "screens/createchannel.h"
#include "screens/creategroup.h"
#include "shell/chattab.h"
#include "shell/contentpanel.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/setting.h"
#include "shell/sidemenu.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "shell/userprofile.h"
#include "widgets/currentuser.h"
#include "widgets/dialogmanager.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"
#include "widgets/overlaystack.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString peer = QStringLiteral("982100000001");

template <typename T> QVariant var(const T& value)
{
    return QVariant::fromValue(value);
}

Message fromPeer(const QString& id, const QString& body)
{
    Message m(MessageBase::MsgMajorType_SimpleChat, peer, peer, body);
    m.setMessageId(id);
    m.setMinorType(MessageBase::MsgMinorType_Text);
    m.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
    return m;
}

int count(const QSignalSpy& spy, Command command)
{
    int n = 0;
    for (const QList<QVariant>& call : spy)
        n += call.at(0).value<Command>() == command ? 1 : 0;
    return n;
}

MenuItem* menuRow(MessengerMainWindow& window, const QString& id)
{
    for (MenuItem* item : window.getSlidingMenu()->findChildren<MenuItem*>()) {
        if (item->getId() == id)
            return item;
    }
    return nullptr;
}

// A key as the keyboard gives it: to the widget with the focus, else the window.
void press(QWidget* window, Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : window, key);
}

void typeText(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::KeyAction::Click, target ? target : window, Qt::Key_unknown, c,
                            Qt::NoModifier);
    }
}

// The main window, active, with the chat with Eve open and read.
struct OpenChat
{
    MessengerMainWindow window;
    ChatWindow* chat = nullptr;
    std::unique_ptr<QSignalSpy> sent;

    OpenChat()
    {
        window.resize(1000, 700);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ChatRecipient eve;
        Contact c;
        c.setNumber(peer);
        c.setNickName(QStringLiteral("Eve"));
        eve.setContact(c);
        window.commandResponse(CMD_GetChatRecipients, var(QList<ChatRecipient>{eve}));
        SidePanel* panel = window.getSidePanel();
        QTest::mouseClick(panel->getChatButton(), Qt::LeftButton);
        ChatWidget* row = panel->getChatTab()->row(peer);
        QVERIFY(row);
        QTest::mouseClick(row, Qt::LeftButton);
        chat = window.getContentPanel()->currentWidget();
        QVERIFY(chat && chat->getChatId() == peer);
        sent = std::make_unique<QSignalSpy>(&window, &MessengerMainWindow::command);
        MessageRequest request;
        request.setChatId(peer);
        MessageReply history;
        history.setRequest(request);
        history.setMsgs({fromPeer(QStringLiteral("m1"), QStringLiteral("hello"))});
        window.commandResponse(CMD_GetChatMessages, var(history));
        QTRY_COMPARE(count(*sent, CMD_SendSeen), 1);
        QCOMPARE(QApplication::focusWidget(), chat->input());
    }

    void arrives(const QString& id)
    {
        MessagePair pair;
        pair.setMessage(fromPeer(id, QStringLiteral("are you there?")));
        window.commandResponse(CMD_MessagePairAdded, var(pair));
        QVERIFY(chat->bubble(id));
    }

    void openMenu()
    {
        QTest::mouseClick(window.getTopMenu()->getMenuButton(), Qt::LeftButton);
        QVERIFY(window.getSlidingMenu()->isVisible());
    }

    void chooseInMenu(const QString& id)
    {
        openMenu();
        MenuItem* row = menuRow(window, id);
        QVERIFY(row);
        QTest::mouseClick(row, Qt::LeftButton);
    }

    // Opens the chat's information panel by the chat's title; it slides in
    // all the way over the chat.
    ContactProfile* openInformationPanel()
    {
        QTest::mouseClick(chat->title(), Qt::LeftButton);
        ContactProfile* panel = chat->contactPanel();
        if (panel)
            QTest::qWaitFor(
                [&] { return panel->isVisible() && panel->geometry() == chat->rect(); });
        return panel;
    }

    // The keyboard is in the chat's input: typing goes there.
    void keyboardIsInTheChat()
    {
        QTRY_COMPARE(QApplication::focusWidget(), chat->input());
        chat->input()->clear();
        typeText(&window, QStringLiteral("ok"));
        QCOMPARE(chat->input()->toPlainText(), QStringLiteral("ok"));
        chat->input()->clear();
    }
};

} // namespace

class TestOverlays : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        initInterfaceMetrics();
        currentUserName = QStringLiteral("me");
        QApplication::setLayoutDirection(Qt::RightToLeft);
    }

    void cleanup() { PopupManager::deleteInstance(); }

    // Each popup the side menu opens, and the menu itself: Escape closes the
    // topmost one, and the keyboard is back in the chat's input.
    void escapeClosesTheTopmostAndTheKeyboardComesBack_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("side menu") << QString();
        for (const char* row : {"Profile", "CreateGroup", "CreateNewChanel", "AddNewContact",
                                "ChannelList", "Settings"})
            QTest::newRow(row) << QString::fromLatin1(row);
    }

    void escapeClosesTheTopmostAndTheKeyboardComesBack()
    {
        QFETCH(QString, row);
        OpenChat open;
        MessengerMainWindow& w = open.window;
        const QHash<QString, QWidget*> screens{
            {QString(), w.getSlidingMenu()},
            {QStringLiteral("Profile"), w.getUserProfile()},
            {QStringLiteral("CreateGroup"), w.getCreateGroup()},
            {QStringLiteral("CreateNewChanel"), w.getCreateChannel()},
            {QStringLiteral("AddNewContact"), w.getAddNewContact()},
            {QStringLiteral("ChannelList"), w.getChannelDirectory()},
            {QStringLiteral("Settings"), w.getSetting()},
        };
        QWidget* shown = screens.value(row);
        if (row.isEmpty())
            open.openMenu();
        else
            open.chooseInMenu(row);
        QVERIFY(shown->isVisible());
        // The menu slides away behind the chosen screen.
        QTRY_VERIFY(row.isEmpty() || !w.getSlidingMenu()->isVisible());
        // Typing reaches what is on top, never the chat behind it.
        QVERIFY(QApplication::focusWidget() != open.chat->input());

        press(&w, Qt::Key_Escape);
        QTRY_VERIFY(!shown->isVisible());
        QVERIFY(!w.getSlidingMenu()->isVisible());
        open.keyboardIsInTheChat();
        // Nothing is left over the chat: the next Escape changes nothing.
        press(&w, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), open.chat->input());
    }

    // A popup opened over another: Escape closes the one on top, then the
    // one below, and the keyboard goes back a step each time.
    void escapeGoesBackOneStepAtATime_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("logout question over the menu") << QStringLiteral("Logout");
        QTest::newRow("categories over the new channel form") << QStringLiteral("CreateNewChanel");
        QTest::newRow("profile dialog over the settings") << QStringLiteral("Settings");
    }

    void escapeGoesBackOneStepAtATime()
    {
        QFETCH(QString, row);
        OpenChat open;
        MessengerMainWindow& w = open.window;
        open.chooseInMenu(row);
        QWidget* below = nullptr;
        QWidget* above = nullptr;
        if (row == QLatin1String("Logout")) {
            below = w.getSlidingMenu();
            above = PopUpWarning::getInstance();
        } else if (row == QLatin1String("CreateNewChanel")) {
            below = w.getCreateChannel();
            above = w.getCreateChannel()->categoryPopup();
            QTest::mouseClick(w.getCreateChannel()->categoryChooser(), Qt::LeftButton);
            // The picker dims the whole form, whatever size the form took.
            QTRY_COMPARE(above->geometry(), below->rect());
        } else {
            below = w.getSetting();
            QTest::mouseClick(w.getSetting()->editButton(), Qt::LeftButton);
            above = w.getSetting()->dialogHost()->getActiveDialog();
        }
        QVERIFY(above && above->isVisible());
        QVERIFY(below->isVisible());
        QVERIFY(above->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == above);

        press(&w, Qt::Key_Escape);
        QTRY_VERIFY(!above->isVisible());
        QVERIFY(below->isVisible());
        QVERIFY(below->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == below);

        press(&w, Qt::Key_Escape);
        QTRY_VERIFY(!below->isVisible());
        open.keyboardIsInTheChat();
        // Escape on the question is its No: nobody was signed out.
        QCOMPARE(count(*open.sent, CMD_Logout), 0);
    }

    // A message comes while something covers the chat: it is not seen until
    // that goes, and then at once.
    // The chat's information panel, opened by the chat's title, lies over
    // the whole chat: typing reaches it, never the input behind it, and
    // Escape closes it as its back button does, the keyboard back in the chat.
    void escapeClosesTheInformationPanel()
    {
        OpenChat open;
        ContactProfile* panel = open.openInformationPanel();
        QVERIFY(panel && panel->isVisible() && panel->geometry() == open.chat->rect());
        QVERIFY(QApplication::focusWidget() != open.chat->input());

        press(&open.window, Qt::Key_Escape);
        QTRY_VERIFY(!panel->isVisible());
        open.keyboardIsInTheChat();
        QCOMPARE(OverlayStack::instance()->top(&open.window), nullptr);
    }

    void seenWaitsWhileTheChatIsCovered_data()
    {
        QTest::addColumn<QString>("cover");
        QTest::newRow("information panel, closed by its back button") << QStringLiteral("panel");
        QTest::newRow("popup, closed by Escape") << QStringLiteral("popup");
        QTest::newRow("side menu, closed by a press beside it") << QStringLiteral("menu");
        QTest::newRow("minimised, then restored") << QStringLiteral("minimised");
    }

    void seenWaitsWhileTheChatIsCovered()
    {
        QFETCH(QString, cover);
        OpenChat open;
        MessengerMainWindow& w = open.window;
        open.sent->clear();
        ContactProfile* panel = nullptr;
        if (cover == QLatin1String("panel")) {
            panel = open.openInformationPanel();
            QVERIFY(panel && panel->isVisible() && panel->geometry() == open.chat->rect());
        } else if (cover == QLatin1String("popup")) {
            open.chooseInMenu(QStringLiteral("AddNewContact"));
            QTRY_VERIFY(!w.getSlidingMenu()->isVisible());
        } else if (cover == QLatin1String("menu")) {
            open.openMenu();
        } else {
            w.showMinimized();
            QTRY_VERIFY(w.isMinimized());
        }

        open.arrives(QStringLiteral("m2"));
        QTest::qWait(200);
        QCOMPARE(count(*open.sent, CMD_SendSeen), 0);
        QVERIFY(open.chat->hasUnseen());

        if (cover == QLatin1String("panel")) {
            QTest::mouseClick(panel->backButton(), Qt::LeftButton);
        } else if (cover == QLatin1String("popup")) {
            press(&w, Qt::Key_Escape);
        } else if (cover == QLatin1String("menu")) {
            SlidingMenu* menu = w.getSlidingMenu();
            const QPoint beside(menu->width() - menu->getSideMenu()->width() - 20,
                                menu->height() / 2);
            QTest::mousePress(menu, Qt::LeftButton, Qt::NoModifier, beside);
        } else {
            w.showNormal();
            w.activateWindow();
        }
        QTRY_COMPARE(count(*open.sent, CMD_SendSeen), 1);
        QVERIFY(!open.chat->hasUnseen());
    }
};

QTEST_MAIN(TestOverlays)
#include "tst_overlays.moc"
