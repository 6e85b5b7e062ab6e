// What the main window shows over itself: popups take the keyboard and give
// it back, the forced-update notice has a surface and a way out, an empty
// list says so in its middle, and notifications without a tray show in the
// window.
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "model/lastseen.h"
#include "model/notificationmessage.h"
#include "screens/addnewcontact.h"
#include "screens/contactprofile.h"
#include "shell/contacttab.h"
#include "shell/contentpanel.h"
#include "shell/forceupdateerror.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/traynotifier.h"
#include "widgets/catalogues.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/notificationmanager.h"
#include "widgets/notificationwidget.h"
#include "widgets/popupmanager.h"
#include "widgets/searchbar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QtTest>

namespace {
Contact contact(const QString& number, const QString& name)
{
    Contact c;
    c.setNumber(number);
    c.setNickName(name);
    c.setIsMyContact(true);
    return c;
}

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, target, Qt::Key_unknown, c, Qt::NoModifier);
}
} // namespace

class TestShellSurfaces : public QObject
{
    Q_OBJECT

private:
    MessengerMainWindow* window = nullptr;

private slots:
    void initTestCase()
    {
        // Looked at in Persian when its screenshot is asked for.
        if (qEnvironmentVariableIsSet("QUORVEL_SHOT_DIR"))
            QVERIFY(Catalogues::install());
    }

    void init()
    {
        QApplication::setLayoutDirection(Qt::RightToLeft);
        window = new MessengerMainWindow();
        window->resize(1000, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

    void cleanup()
    {
        delete window;
        window = nullptr;
        PopupManager::deleteInstance();
        QApplication::setLayoutDirection(Qt::LeftToRight);
    }

    // A popup opened while the search bar has the keyboard takes it into its
    // first field: typing fills the popup, not the list behind it. Closed,
    // it gives the keyboard back.
    void popupTakesTheKeyboardAndGivesItBack()
    {
        QLineEdit* search = window->getSidePanel()->getSearchBar()->getInput();
        search->setFocus();
        QCOMPARE(window->focusWidget(), search);
        window->showAddContact();
        AddNewContact* form = window->getAddNewContact();
        QVERIFY(form->isVisible());
        QCOMPARE(window->focusWidget(), form->firstNameField());
        typeText(window->focusWidget(), QStringLiteral("Sara"));
        QCOMPARE(form->firstNameField()->text(), QStringLiteral("Sara"));
        QVERIFY(search->text().isEmpty());

        QTest::mouseClick(form->ignoreButton(), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(window->focusWidget(), search);
    }

    // The forced-update notice is drawn on its own white surface over the
    // dimmed window, and its button ends the program instead of leaving the
    // person stuck.
    void forcedUpdateNoticeHasASurfaceAndAWayOut()
    {
        window->commandResponse(CMD_ForceUpdate, QVariant(true));
        ForceUpdateError* notice = window->getForceUpdateError();
        QVERIFY(notice->isVisible());
        // Once the backdrop has faded in, the notice's edge is white.
        const QPoint edge = notice->mapTo(window, QPoint(8, notice->height() / 2));
        QTRY_COMPARE(QColor(window->grab().toImage().pixel(edge)), QColor(Qt::white));

        // QUORVEL_SHOT_DIR: where to keep the notice for looking at.
        const QString shots = qEnvironmentVariable("QUORVEL_SHOT_DIR");
        if (!shots.isEmpty())
            window->grab().save(shots + QStringLiteral("/forced-update-notice.png"));

        QSignalSpy quit(notice, &ForceUpdateError::quitRequested);
        QTest::mouseClick(notice->button(), Qt::LeftButton);
        QCOMPARE(quit.count(), 1);
    }

    // "No contact found" sits in the middle of the list, also right to left.
    void emptyListSaysSoInItsMiddle()
    {
        ContactTab* tab = window->getSidePanel()->getContactTab();
        QTest::mouseClick(window->getSidePanel()->getContactButton(), Qt::LeftButton);
        tab->searchString(QStringLiteral("nobody by this name"));
        QTRY_VERIFY(tab->placeholderShown());
        QLabel* placeholder = nullptr;
        for (QLabel* label : tab->findChildren<QLabel*>()) {
            if (label->isVisible() &&
                label->text() == QCoreApplication::translate("ContactTab", "No contact find."))
                placeholder = label;
        }
        QVERIFY(placeholder);
        const QRect text = QStyle::alignedRect(
            placeholder->layoutDirection(), placeholder->alignment(),
            placeholder->fontMetrics().size(0, placeholder->text()), placeholder->rect());
        const QPoint middle = placeholder->mapTo(tab, text.center());
        QVERIFY2(qAbs(middle.x() - tab->viewport()->geometry().center().x()) <= 2,
                 qPrintable(QStringLiteral("%1 in %2").arg(middle.x()).arg(tab->width())));
    }

    // A contact's profile opened from the contact list leaves when another
    // chat opens, instead of staying over it.
    void contactProfileLeavesWhenAChatOpens()
    {
        SidePanel* side = window->getSidePanel();
        const Contact sara = contact(QStringLiteral("989120000002"), QStringLiteral("Sara"));
        const Contact omid = contact(QStringLiteral("989120000003"), QStringLiteral("Omid"));
        side->setContactList({{sara.getNumber(), sara}, {omid.getNumber(), omid}});
        window->showContactProfile(sara);
        QTRY_VERIFY(window->getContactProfile()->isVisible());
        window->startMessaging(omid);
        QTRY_VERIFY_WITH_TIMEOUT(window->getContactProfile()->isHidden(), 5000);
        QCOMPARE(window->getContentPanel()->currentWidget()->getChatId(), omid.getNumber());
    }

    // Answer 15 reaches the panel of the open chat window, not only the
    // main window's own contact profile.
    void lastSeenReachesTheChatWindow()
    {
        const Contact sara = contact(QStringLiteral("989120000002"), QStringLiteral("Sara"));
        window->getSidePanel()->setContactList({{sara.getNumber(), sara}});
        window->startMessaging(sara);
        QTRY_VERIFY(window->getContentPanel()->currentWidget());
        ChatWindow* chat = window->getContentPanel()->currentWidget();
        QTest::mouseClick(chat->title(), Qt::LeftButton);
        ContactProfile* panel = chat->contactPanel();
        QVERIFY(panel);
        const QString before = panel->lastSeenLabel()->text();
        const QDateTime seen = QDateTime::currentDateTime().addSecs(-120);
        window->commandResponse(CMD_LastSeen,
                                QVariant::fromValue(LastSeen(sara.getNumber(), seen)));
        QVERIFY(!panel->lastSeenLabel()->text().isEmpty());
        QVERIFY(panel->lastSeenLabel()->text() != before);
    }

    // Without a notification area a message's notification slides into the
    // window instead of being lost.
    void notificationsWithoutTrayShowInTheWindow()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        QVERIFY(!window->getTrayNotifier()->icon());
        Message m(MessageBase::MsgMajorType_SimpleChat, QStringLiteral("sender"),
                  QStringLiteral("989120000002"), QStringLiteral("<b>see you</b>"));
        m.setMinorType(MessageBase::MsgMinorType_Text);
        NotificationMessage n;
        n.setTitle(QStringLiteral("Sara"));
        n.setMessage(m);
        window->commandResponse(CMD_Notification, QVariant::fromValue(n));
        NotificationManager* queue = window->getTrayNotifier()->windowQueue();
        QVERIFY(queue);
        QVERIFY(queue->isVisible());
        QCOMPARE(queue->parentWidget(), window);
        QCOMPARE(queue->widget()->titleLabel()->text(), QStringLiteral("Sara"));
        QCOMPARE(queue->widget()->textLabel()->text(), QStringLiteral("<b>see you</b>"));
        QCOMPARE(queue->widget()->textLabel()->textFormat(), Qt::PlainText);
        // Down in its place, it hides what it covers (the top bar, a chat's
        // header) under a surface of its own.
        QTRY_COMPARE_WITH_TIMEOUT(queue->getState(), int(NotificationManager::Showing), 5000);
        const QRect strip(queue->mapTo(window, QPoint()), queue->size());
        const QImage shown = window->grab().toImage();
        for (const QPoint& at : {QPoint(strip.center().x(), strip.top() + 3),
                                 QPoint(strip.center().x(), strip.bottom() - 3)})
            QCOMPARE(QColor(shown.pixel(at)), QColor(Qt::white));
        const QString shots = qEnvironmentVariable("QUORVEL_SHOT_DIR");
        if (!shots.isEmpty())
            shown.save(shots + QStringLiteral("/in-window-notification.png"));
        QTRY_COMPARE_WITH_TIMEOUT(queue->getState(), int(NotificationManager::Idle), 15000);
    }
};

QTEST_MAIN(TestShellSurfaces)
#include "tst_shellsurfaces.moc"
