// Pictures of the shell's screens in Persian, saved under the build folder
// for looking at: the three sign-up pages and the main window fed with
// answers. Each picture is checked for being drawn at all.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwidget.h"
#include "shell/chattab.h"
#include "shell/contacttab.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/register.h"
#include "shell/setting.h"
#include "shell/sidemenu.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "widgets/catalogues.h"
#include "widgets/fonts.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"

#include <QApplication>
#include <QDir>
#include <QTranslator>
#include <QtTest>

class TestShellScreens : public QObject
{
    Q_OBJECT

    const QString folder = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");

    void save(QWidget* widget, const QString& name)
    {
        QApplication::processEvents();
        const QImage image = widget->grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(folder + QLatin1Char('/') + name));
    }

private slots:
    void initTestCase()
    {
        // The program's catalogues and, with them, its direction.
        QVERIFY(Catalogues::install());
        QApplication::setFont(Fonts::getFont(20));
        QVERIFY(QDir().mkpath(folder));
    }

    void registrationPages()
    {
        Register window;
        window.show();
        save(&window, QStringLiteral("shell-register-intro.png"));
        window.introNextClicked();
        save(&window, QStringLiteral("shell-register-number.png"));
        window.mobileNumberPage()->showError(330);
        window.activationCodePage()->setNumber(QStringLiteral("09123456789"));
        window.showMobileNumberPage();
        window.mobileNumberPage()->hide();
        window.activationCodePage()->show();
        window.activationCodePage()->showError(311);
        save(&window, QStringLiteral("shell-register-code.png"));
    }

    void mainWindowWithChats()
    {
        MessengerMainWindow window;
        window.resize(1200, 760);
        window.show();
        QHash<QString, Contact> contacts;
        QList<ChatRecipient> chats;
        for (int i = 0; i < 1000; ++i) {
            Contact contact;
            contact.setNumber(QStringLiteral("98912%1").arg(i, 7, 10, QLatin1Char('0')));
            contact.setNickName(QString::fromUtf8("مخاطب %1").arg(i));
            contacts.insert(contact.getNumber(), contact);
            ChatRecipient chat;
            chat.setContact(contact);
            chat.setUnreadCount(i % 7 == 0 ? i % 5 + 1 : 0);
            Message last(MessageBase::MsgMajorType_SimpleChat, contact.getNumber(),
                         contact.getNumber(), QString::fromUtf8("پیام شماره %1").arg(i));
            last.setMessageId(QStringLiteral("m%1").arg(i));
            last.setSendTimeInGMT(1600000000000LL + i);
            chat.setLastMsg(last);
            chats << chat;
        }
        window.commandResponse(CMD_GetContacts, QVariant::fromValue(contacts));
        window.commandResponse(CMD_GetChatRecipients, QVariant::fromValue(chats));
        QCOMPARE(window.getSidePanel()->getChatTab()->rowIds().size(), 1000);
        // The panel opens on the channels; the chats are a click away.
        QTest::mouseClick(window.getSidePanel()->getChatButton(), Qt::LeftButton);
        QVERIFY(window.getSidePanel()->getChatTab()->isVisible());
        QCOMPARE(window.getSidePanel()->getContactTab()->rowNames().size(), 1000);
        save(&window, QStringLiteral("shell-main-chats.png"));
        window.getSidePanel()->buttonContactClicked();
        save(&window, QStringLiteral("shell-main-contacts.png"));
    }

    void sideMenuSettingsToastAndWarning()
    {
        MessengerMainWindow window;
        window.resize(1200, 760);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Contact self;
        self.setNumber(QStringLiteral("989121234567"));
        self.setNickName(QString::fromUtf8("نیکا رضایی"));
        self.setMemberID(QStringLiteral("nika"));
        self.setMotto(QString::fromUtf8("همیشه در راه"));
        window.commandResponse(CMD_GetUserProfile, QVariant::fromValue(self));

        IconButton* menuButton = window.getTopMenu()->getMenuButton();
        QTest::mouseClick(menuButton, Qt::LeftButton, Qt::NoModifier, menuButton->rect().center());
        SlidingMenu* menu = window.getSlidingMenu();
        QTRY_COMPARE(menu->getSideMenu()->x(), 1200 - menu->getMenuWidth());
        save(&window, QStringLiteral("shell-side-menu.png"));

        MenuItem* settings = nullptr;
        for (MenuItem* item : menu->findChildren<MenuItem*>()) {
            if (item->getId() == QLatin1String("Settings"))
                settings = item;
        }
        QVERIFY(settings);
        QTest::mousePress(settings, Qt::LeftButton);
        QTRY_VERIFY(window.getSetting()->isVisible());
        QTRY_VERIFY(!menu->isVisible());
        QTest::qWait(400); // the backdrop's fade-in
        save(&window, QStringLiteral("shell-settings.png"));
        window.getSetting()->hide();

        ToastMessage::getInstance()->showToastMessage("_ErrorNetwork");
        QTRY_VERIFY(ToastMessage::getInstance()->isVisible());
        QTest::qWait(400); // its fade-in
        save(&window, QStringLiteral("shell-toast.png"));

        PopUpWarning::showWarning(
            QCoreApplication::translate("MessengerMainWindow", "_LogoutMessage"),
            QStringLiteral("Logout"), true, 0);
        QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
        QTest::qWait(400);
        save(&window, QStringLiteral("shell-warning.png"));
        PopUpWarning::getInstance()->hide();
    }
};

QTEST_MAIN(TestShellScreens)
#include "tst_shellscreens.moc"
