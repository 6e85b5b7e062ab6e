// Sign-up by the keyboard alone, against the local service over real HTTPS,
// in the real sign-up window of the program's controller: Enter starts, Tab
// reaches every control of each page, Space ticks the terms box, Enter with
// the terms unticked says why and sends nothing, Enter submits the number,
// the code and the profile, and the main window takes over.
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/intro.h"
#include "shell/messengermainwindow.h"
#include "shell/quorveldesktop.h"
#include "shell/register.h"
#include "shell/userprofile.h"
#include "signupstack.h"
#include "widgets/catalogues.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

const QString kCode = QStringLiteral("24680");

// Keys as the keyboard gives them: to the widget with the focus.
void press(Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "nothing has the keyboard");
    QTest::keyClick(target, key);
}

void typeText(const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the keyboard");
        QTest::sendKeyEvent(QTest::KeyAction::Click, target, Qt::Key_unknown, c, Qt::NoModifier);
    }
}

// The widgets Tab visits, from the one with the focus round to it again.
QList<QWidget*> tabRound()
{
    QList<QWidget*> seen;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < 30 && start; ++i) {
        seen << QApplication::focusWidget();
        press(Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
    }
    return seen;
}

void tabTo(QWidget* target)
{
    for (int i = 0; i < 30 && QApplication::focusWidget() != target; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), target);
}

// A text as the Persian program shows it.
QString shown(const char* context, const char* key)
{
    return QCoreApplication::translate(context, key);
}

FlatButton* button(QWidget* page, const QString& text)
{
    for (FlatButton* b : page->findChildren<FlatButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QLabel* linkIn(QWidget* page, const QString& text)
{
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

class TestKeyboardSignUp : public QObject
{
    Q_OBJECT

    SignUpStack stack;
    std::unique_ptr<QuorvelDesktop> desktop;

private slots:
    void initTestCase()
    {
        QVERIFY(stack.start(kCode));
        // In Persian, as the program starts: the terms and the way back to
        // the number are links only in the catalogue's texts.
        QVERIFY(Catalogues::install());
    }

    void signUpByKeyboardAlone()
    {
        desktop = std::make_unique<QuorvelDesktop>();
        Register* window = desktop->getRegisterWindow();
        QVERIFY(window);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));

        // The start button has the keyboard; Enter starts.
        FlatButton* start = button(window->introPage(), shown("Intro", "_IntroButton"));
        QTRY_COMPARE(QApplication::focusWidget(), start);
        press(Qt::Key_Return);
        EnterMobileNumber* numberPage = window->mobileNumberPage();
        QVERIFY(numberPage->isVisible());
        QSignalSpy registrations(window, &Register::startRegistration);

        // The number field has the keyboard, and Tab reaches every control.
        auto* number = numberPage->findChild<QLineEdit*>(QStringLiteral("MobileNumberInput"));
        auto* terms = numberPage->findChild<CheckBox*>();
        FlatButton* next = button(numberPage, shown("EnterMobileNumber", "into_nextbutton"));
        QCOMPARE(QApplication::focusWidget(), number);
        const QList<QWidget*> numberControls = tabRound();
        for (QWidget* control :
             {static_cast<QWidget*>(number), static_cast<QWidget*>(terms),
              static_cast<QWidget*>(terms->textLabel()), static_cast<QWidget*>(next)})
            QVERIFY2(numberControls.contains(control), control->metaObject()->className());

        // Tab lands on the terms link itself, not on the words around it.
        tabTo(terms->textLabel());
        QVERIFY(terms->textLabel()->hasSelectedText());
        tabTo(number);

        // Enter with the terms unticked: the page says why, nothing goes out.
        typeText(QStringLiteral("09121110031"));
        press(Qt::Key_Return);
        auto* error = numberPage->findChild<QLabel*>(QStringLiteral("ErrorMess"));
        const QString why = shown("EnterMobileNumber", "_AcceptTermsFirst");
        QVERIFY(why != QLatin1String("_AcceptTermsFirst"));
        QVERIFY(error->isVisible());
        QCOMPARE(error->text(), why);
        QVERIFY(numberPage->isVisible());
        QCOMPARE(registrations.count(), 0);
        // The button says the same.
        error->hide();
        tabTo(next);
        press(Qt::Key_Space);
        QVERIFY(error->isVisible());
        QCOMPARE(error->text(), why);
        QCOMPARE(registrations.count(), 0);

        // Space ticks the box, and the reason goes; Enter on the box goes on.
        tabTo(terms);
        press(Qt::Key_Space);
        QVERIFY(terms->isChecked());
        QVERIFY(!error->isVisible());
        press(Qt::Key_Return);
        EnterActivationCode* codePage = window->activationCodePage();
        QVERIFY(codePage->isVisible());
        QCOMPARE(registrations.count(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(stack.store->keys("registrations").contains("989121110031"),
                                 30000);

        // The code field has the keyboard; Tab reaches submit, resend, the
        // voice call and the way back to the number.
        auto* code = codePage->findChild<QLineEdit*>(QStringLiteral("activationCodeLineEdit"));
        QCOMPARE(QApplication::focusWidget(), code);
        const QList<QWidget*> codeControls = tabRound();
        for (QWidget* control :
             {static_cast<QWidget*>(code),
              static_cast<QWidget*>(button(codePage, shown("EnterActivationCode", "_submit"))),
              static_cast<QWidget*>(
                  button(codePage, shown("EnterActivationCode", "ResendActivationCode"))),
              static_cast<QWidget*>(
                  button(codePage, shown("EnterActivationCode", "SendActivationCodebyIVR"))),
              static_cast<QWidget*>(
                  linkIn(codePage, shown("EnterActivationCode", "EditMobileNumber")))})
            QVERIFY2(control && codeControls.contains(control),
                     qPrintable(control ? control->objectName() : QStringLiteral("missing")));

        // The code typed, and Enter on the submit button.
        QCOMPARE(QApplication::focusWidget(), code);
        typeText(kCode);
        tabTo(button(codePage, shown("EnterActivationCode", "_submit")));
        press(Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(desktop->getMainWindow(), 30000);
        MessengerMainWindow* main = desktop->getMainWindow();
        QVERIFY(window->isHidden());

        // The profile page has the keyboard; Enter in the name saves it.
        UserProfile* profile = main->getUserProfile();
        QTRY_VERIFY_WITH_TIMEOUT(profile->isVisible(), 60000);
        QTRY_COMPARE(QApplication::focusWidget(), profile->nameField());
        profile->nameField()->clear();
        typeText(QStringLiteral("Kay"));
        press(Qt::Key_Return);
        const QString kay = stack.service->usernameOfPhone("989121110031");
        QVERIFY(!kay.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(stack.service->memberOf(kay).value("Nickname").toString(),
                                  QStringLiteral("Kay"), 30000);
        QTRY_VERIFY(!profile->isVisible());
    }

    void cleanupTestCase()
    {
        if (desktop)
            desktop->aboutToQuit();
        desktop.reset();
    }
};

QTEST_MAIN(TestKeyboardSignUp)
#include "tst_keyboardsignup.moc"
