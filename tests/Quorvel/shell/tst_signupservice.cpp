// Sign-up against the local service over real HTTPS, typed into the real
// sign-up window of the program's controller: a refused code shows its text,
// then the number (ASCII and Persian digits), the code and the profile lead to
// the main window, which lists the contact the service matched by number.
// The settings screen's background tiles and the chosen background come from
// the service's static-file host.
#include "Managers/command.h"
#include "Managers/quorveldesktopcore.h"
#include "servicetestclient.h"
#include "shell/connectionstatuswidget.h"
#include "shell/contacttab.h"
#include "shell/contentpanel.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/imageviewer.h"
#include "shell/intro.h"
#include "shell/messengermainwindow.h"
#include "shell/quorveldesktop.h"
#include "shell/register.h"
#include "shell/setting.h"
#include "shell/sidepanel.h"
#include "shell/userprofile.h"
#include "signupstack.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/label.h"
#include "widgets/searchbar.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kCode = QStringLiteral("24680");

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, target, Qt::Key_unknown, c, Qt::NoModifier);
}

void clickButton(QWidget* page, const QString& text)
{
    for (FlatButton* button : page->findChildren<FlatButton*>()) {
        if (button->text() == text) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    }
    QFAIL(qPrintable("no button " + text));
}

} // namespace

class TestSignUpService : public QObject
{
    Q_OBJECT

    SignUpStack stack;
    std::unique_ptr<QuorvelDesktop> desktop;

private slots:
    void initTestCase()
    {
        // The controller itself registers what crosses to the core's thread:
        // nothing is registered here, so a command lost on the way fails the test.
        QVERIFY(stack.start(kCode));

        // Another user already on the service, known by a nickname.
        ServiceTestClient client(stack.http->baseUrl());
        const ServiceTestClient::Account bo = client.signUp("989121110022", kCode);
        QVERIFY(!bo.token.isEmpty());
        QCOMPARE(client
                     .call(bo, "setprofile/",
                           {{"Nickname", "Bo Nik"},
                            {"Motto", ""},
                            {"AvatarURL", ""},
                            {"AvatarThumbnailURL", ""}})
                     .code(),
                 200);
    }

    void signUpThenMatchedContacts()
    {
        desktop = std::make_unique<QuorvelDesktop>();
        Register* window = desktop->getRegisterWindow();
        QVERIFY(window);
        QVERIFY(!desktop->getMainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        clickButton(window->introPage(), QStringLiteral("_IntroButton"));
        EnterMobileNumber* numberPage = window->mobileNumberPage();
        QVERIFY(numberPage->isVisible());
        QTest::mouseClick(numberPage->findChild<CheckBox*>()->findChild<Label*>(), Qt::LeftButton);

        // Enter sends the number as the button does; a number too short is
        // refused, and its error goes as soon as the number changes.
        auto* number = numberPage->findChild<QLineEdit*>(QStringLiteral("MobileNumberInput"));
        auto* numberError = numberPage->findChild<QLabel*>(QStringLiteral("ErrorMess"));
        const int errorTop = numberError->y();
        const QRect nextPlace =
            numberPage->findChild<FlatButton*>(QStringLiteral("NextButton"))->geometry();
        typeText(number, QString::fromUtf8("0912"));
        QTest::keyClick(number, Qt::Key_Return);
        QVERIFY(numberError->isVisible());
        // The error line had its room: nothing moved as it appeared.
        QCOMPARE(numberError->y(), errorTop);
        QCOMPARE(numberPage->findChild<FlatButton*>(QStringLiteral("NextButton"))->geometry(),
                 nextPlace);

        // ASCII and Persian digits in one number; the service keeps the
        // sign-up under the international form.
        typeText(number, QString::fromUtf8("۱۱۱0021"));
        QVERIFY(!numberError->isVisible());
        QTest::keyClick(number, Qt::Key_Return);
        EnterActivationCode* codePage = window->activationCodePage();
        QVERIFY(codePage->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(stack.store->keys("registrations").contains("989121110021"),
                                 30000);

        // A wrong code: the service refuses it and the page says so.
        auto* code = codePage->findChild<QLineEdit*>(QStringLiteral("activationCodeLineEdit"));
        auto* error = codePage->findChild<QLabel*>(QStringLiteral("ErrorMess"));
        typeText(code, QStringLiteral("11111"));
        clickButton(codePage, QStringLiteral("_submit"));
        QTRY_VERIFY_WITH_TIMEOUT(error->isVisible(), 30000);
        QCOMPARE(error->text(), QStringLiteral("_ErrorCodeInvalid"));

        // A new code asked for: the old code and its error go.
        clickButton(codePage, QStringLiteral("ResendActivationCode"));
        QVERIFY(!error->isVisible());
        QVERIFY(code->text().isEmpty());

        // The right code, typed in Persian digits and sent with Enter.
        typeText(code, QString::fromUtf8("۲۴۶۸۰"));
        QCOMPARE(code->text().size(), 5);
        QTest::keyClick(code, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(desktop->getMainWindow(), 30000);
        MessengerMainWindow* main = desktop->getMainWindow();
        QVERIFY(window->isHidden());
        const QString ada = stack.service->usernameOfPhone("989121110021");
        QVERIFY(!ada.isEmpty());

        // The profile page opens once the core is ready; a name typed there
        // reaches the service.
        // Typed straight away, the name goes into the page's field, not
        // into the search bar behind it.
        UserProfile* profile = main->getUserProfile();
        QTRY_VERIFY_WITH_TIMEOUT(profile->isVisible(), 60000);
        QCOMPARE(main->focusWidget(), profile->nameField());
        profile->nameField()->clear();
        typeText(main->focusWidget(), QStringLiteral("Ada"));
        QCOMPARE(profile->nameField()->text(), QStringLiteral("Ada"));
        QVERIFY(main->getSidePanel()->getSearchBar()->getInput()->text().isEmpty());
        clickButton(profile, QStringLiteral("_Submit"));
        QTRY_COMPARE_WITH_TIMEOUT(stack.service->memberOf(ada).value("Nickname").toString(),
                                  QStringLiteral("Ada"), 30000);

        // A contact added by number alone is matched by the service and
        // listed under the name its owner chose.
        Contact bo;
        bo.setNumber("989121110022");
        emit main->command(CMD_AddContact, QVariant::fromValue(bo));
        ContactTab* contacts = main->getSidePanel()->getContactTab();
        QTRY_COMPARE_WITH_TIMEOUT(contacts->rowNames(), QStringList({"Bo Nik"}), 30000);

        // A second start of the program raises the window this session
        // shows, the main window that the sign-up opened.
        main->showMinimized();
        QTRY_VERIFY(main->isMinimized());
        desktop->raiseWindow();
        QTRY_VERIFY(!main->isMinimized());
        QVERIFY(main->isVisible());
    }

    void backgroundsFromTheService()
    {
        MessengerMainWindow* main = desktop ? desktop->getMainWindow() : nullptr;
        QVERIFY(main);
        Setting* setting = main->getSetting();
        const QList<ImageViewer*> tiles = setting->getTiles();
        QCOMPARE(tiles.size(), 9);
        // Each downloaded tile shows its thumbnail (wider than high, fitted
        // into the tile).
        for (ImageViewer* tile : tiles.mid(1)) {
            QVERIFY(tile->getId().startsWith(stack.http->baseUrl() + "static_file/"));
            QTRY_VERIFY_WITH_TIMEOUT(tile->pixmap() && !tile->pixmap()->isNull(), 30000);
            QCOMPARE(tile->pixmap()->width(), 120);
            QVERIFY(tile->pixmap()->height() < 120);
        }

        // A chosen tile's full picture becomes the conversation background.
        setting->show();
        ImageViewer* chosen = tiles.at(4);
        QTest::mouseClick(chosen, Qt::LeftButton);
        QCOMPARE(setting->getChosenBackground(), chosen->getId());
        QTRY_COMPARE_WITH_TIMEOUT(main->getContentPanel()->getBackground().size(), QSize(1280, 800),
                                  30000);
        setting->hide();
    }

    void cleanupTestCase()
    {
        if (desktop)
            desktop->aboutToQuit();
        desktop.reset();
    }
};

QTEST_MAIN(TestSignUpService)
#include "tst_signupservice.moc"
