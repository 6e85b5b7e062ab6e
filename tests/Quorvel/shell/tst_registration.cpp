// The sign-up window driven through its real widgets: number and code typed
// in ASCII and Persian digits, the requests it sends, the error texts, the
// page flow, and what it removes of an earlier user's data.
#include "inkbounds.h"
#include "shell/asciidigits.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/intro.h"
#include "shell/localdatawiper.h"
#include "shell/register.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/label.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

namespace {

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::KeyAction::Click, target, Qt::Key_unknown, c, Qt::NoModifier);
}

FlatButton* buttonNamed(QWidget* page, const QString& text)
{
    for (FlatButton* button : page->findChildren<FlatButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QLabel* errorLabel(QWidget* page)
{
    return page->findChild<QLabel*>(QStringLiteral("ErrorMess"));
}

} // namespace

class TestRegistration : public QObject
{
    Q_OBJECT

private:
    // A window on its mobile number page with the terms accepted.
    Register* openOnNumberPage()
    {
        auto* window = new Register;
        window->show();
        QTest::mouseClick(buttonNamed(window->introPage(), QStringLiteral("_IntroButton")),
                          Qt::LeftButton);
        EnterMobileNumber* page = window->mobileNumberPage();
        if (!page->isVisible())
            return window;
        QTest::mouseClick(page->findChild<CheckBox*>()->findChild<Label*>(), Qt::LeftButton);
        return window;
    }

private slots:
    void normalizePhoneNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::newRow("leading zero") << "09123456789"
                                      << "989123456789";
        QTest::newRow("no leading zero keeps its first digit") << "9123456789"
                                                               << "989123456789";
        QTest::newRow("Persian digits") << QString::fromUtf8("۰۹۱۲۳۴۵۶۷۸۹") << "989123456789";
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("٩١٢٣٤٥٦٧٨٩") << "989123456789";
        QTest::newRow("mixed scripts") << QString::fromUtf8("09۱2٣456789") << "989123456789";
    }
    void normalizePhoneNumber()
    {
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QCOMPARE(::normalizePhoneNumber(typed), sent);
    }

    void numberRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("ten digits") << "9123456789" << true;
        QTest::newRow("with zero") << "09123456789" << true;
        QTest::newRow("Persian") << QString::fromUtf8("۰۹۱۲۳۴۵۶۷۸۹") << true;
        QTest::newRow("lowest refused") << "9000000000" << false;
        QTest::newRow("highest refused") << "9999999999" << false;
        QTest::newRow("lowest accepted") << "9000000001" << true;
        QTest::newRow("highest accepted") << "9999999998" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("too short") << "912345678" << false;
    }
    void numberRange()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QCOMPARE(EnterMobileNumber::isValidNumber(typed), valid);
    }

    void typedNumberIsSentNormalised_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("ASCII") << "09123456789";
        QTest::newRow("Persian") << QString::fromUtf8("۰۹۱۲۳۴۵۶۷۸۹");
    }
    void typedNumberIsSentNormalised()
    {
        QFETCH(QString, typed);
        QScopedPointer<Register> window(openOnNumberPage());
        EnterMobileNumber* page = window->mobileNumberPage();
        QVERIFY(page->isVisible());
        QSignalSpy requests(window.data(), &Register::startRegistration);
        auto* field = page->findChild<QLineEdit*>(QStringLiteral("MobileNumberInput"));
        typeText(field, typed + QStringLiteral("x"));
        QCOMPARE(field->text(), typed); // letters are refused
        QTest::mouseClick(buttonNamed(page, QStringLiteral("into_nextbutton")), Qt::LeftButton);
        QCOMPARE(requests.count(), 1);
        QCOMPARE(requests.at(0).at(0).toString(), QStringLiteral("989123456789"));
        QVERIFY(window->activationCodePage()->isVisible());
        QVERIFY(!page->isVisible());
    }

    void termsMustBeAccepted()
    {
        auto* window = new Register;
        QScopedPointer<Register> owner(window);
        window->show();
        QTest::mouseClick(buttonNamed(window->introPage(), QStringLiteral("_IntroButton")),
                          Qt::LeftButton);
        EnterMobileNumber* page = window->mobileNumberPage();
        QSignalSpy requests(window, &Register::startRegistration);
        typeText(page->findChild<QLineEdit*>(), QStringLiteral("09123456789"));
        FlatButton* next = buttonNamed(page, QStringLiteral("into_nextbutton"));
        QCOMPARE(next->objectName(), QStringLiteral("InvisibleNextButton"));
        QTest::mouseClick(next, Qt::LeftButton);
        QCOMPARE(requests.count(), 0);
        QTest::mouseClick(page->findChild<CheckBox*>()->findChild<Label*>(), Qt::LeftButton);
        QCOMPARE(next->objectName(), QStringLiteral("NextButton"));
    }

    void invalidNumberShowsErrorAndSendsNothing()
    {
        QScopedPointer<Register> window(openOnNumberPage());
        EnterMobileNumber* page = window->mobileNumberPage();
        QSignalSpy requests(window.data(), &Register::startRegistration);
        typeText(page->findChild<QLineEdit*>(), QStringLiteral("9999999999"));
        QTest::mouseClick(buttonNamed(page, QStringLiteral("into_nextbutton")), Qt::LeftButton);
        QCOMPARE(requests.count(), 0);
        QVERIFY(errorLabel(page)->isVisible());
        QCOMPARE(errorLabel(page)->text(), QStringLiteral("_ErrorMobileNumberNotValid"));
    }

    void resultCodesShowTheirTexts_data()
    {
        QTest::addColumn<bool>("onCodePage");
        QTest::addColumn<int>("procedure");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("number refused")
            << false << int(PROC_Register) << 330 << "_ErrorMobileNumberNotValid";
        QTest::newRow("number network") << false << int(PROC_Register) << 500 << "_ErrorNetwork";
        QTest::newRow("code refused") << true << int(PROC_Activation) << 311 << "_ErrorCodeInvalid";
        QTest::newRow("code network") << true << int(PROC_Activation) << 100 << "_ErrorNetwork";
        // A failed voice-call request is told by the failure toast, not by
        // the code page's error line (tst_failuretoast).
    }
    void resultCodesShowTheirTexts()
    {
        QFETCH(bool, onCodePage);
        QFETCH(int, procedure);
        QFETCH(int, result);
        QFETCH(QString, text);
        QScopedPointer<Register> window(openOnNumberPage());
        if (onCodePage) {
            typeText(window->mobileNumberPage()->findChild<QLineEdit*>(),
                     QStringLiteral("9123456789"));
            QTest::mouseClick(
                buttonNamed(window->mobileNumberPage(), QStringLiteral("into_nextbutton")),
                Qt::LeftButton);
        }
        QWidget* page = onCodePage ? static_cast<QWidget*>(window->activationCodePage())
                                   : window->mobileNumberPage();
        QVERIFY(page->isVisible());
        window->apiResult(Procedure(procedure), result);
        QVERIFY(errorLabel(page)->isVisible());
        QCOMPARE(errorLabel(page)->text(), text);
    }

    // The number page puts the caret into the empty field at once: the hint
    // must still show there, in grey, above the fields' coloured underline;
    // the code page's field has the same underline.
    void emptyFieldsShowHintAndUnderline()
    {
        QScopedPointer<Register> window(openOnNumberPage());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.data()));
        EnterMobileNumber* page = window->mobileNumberPage();
        auto* field = page->findChild<QLineEdit*>(QStringLiteral("MobileNumberInput"));
        QTRY_VERIFY(field->hasFocus());
        QVERIFY(field->text().isEmpty());
        const QImage empty = field->grab().toImage();
        const QRect hint = InkBounds::darkerThan(empty, 230);
        QVERIFY2(hint.width() > field->width() / 4, "the hint is not drawn");
        QVERIFY(qAbs(hint.center().x() - empty.width() / 2) < 10); // centred like the text
        // Grey, not as dark as typed text: only the caret (one thin line,
        // blinking) may be that dark.
        QVERIFY(InkBounds::countDarkerThan(empty, 100) <= 2 * field->height());
        typeText(field, QStringLiteral("0912"));
        QVERIFY(InkBounds::countDarkerThan(field->grab().toImage(), 100) > 4 * field->height());

        const QColor underline(0x1e, 0x88, 0xe5);
        auto* numberFrame = page->findChild<QFrame*>(QStringLiteral("mobileNumberFrame"));
        QVERIFY(numberFrame);
        const QImage numberLine = numberFrame->grab().toImage();
        QCOMPARE(QColor(numberLine.pixel(numberLine.width() / 2, numberLine.height() - 1)),
                 underline);
        typeText(field, QStringLiteral("3456789"));
        QTest::mouseClick(buttonNamed(page, QStringLiteral("into_nextbutton")), Qt::LeftButton);
        auto* codeFrame =
            window->activationCodePage()->findChild<QFrame*>(QStringLiteral("activationFrame"));
        QVERIFY(codeFrame && codeFrame->isVisible());
        const QImage codeLine = codeFrame->grab().toImage();
        QCOMPARE(QColor(codeLine.pixel(codeLine.width() / 2, codeLine.height() - 1)), underline);
    }

    void codeIsSentAsAsciiAndActivationCompletes()
    {
        QScopedPointer<Register> window(openOnNumberPage());
        typeText(window->mobileNumberPage()->findChild<QLineEdit*>(),
                 QStringLiteral("09123456789"));
        QTest::mouseClick(
            buttonNamed(window->mobileNumberPage(), QStringLiteral("into_nextbutton")),
            Qt::LeftButton);
        EnterActivationCode* page = window->activationCodePage();
        QSignalSpy activations(window.data(), &Register::startActivation);
        QSignalSpy completed(window.data(), &Register::activationCompleted);
        auto* code = page->findChild<QLineEdit*>(QStringLiteral("activationCodeLineEdit"));
        typeText(code, QString::fromUtf8("۲۴6۸٠9x"));
        QCOMPARE(code->text().size(), 6);
        QTest::mouseClick(buttonNamed(page, QStringLiteral("_submit")), Qt::LeftButton);
        QCOMPARE(activations.count(), 1);
        QCOMPARE(activations.at(0).at(0).toString(), QStringLiteral("246809"));

        window->apiResult(PROC_Register, 200); // a resend confirmed: nothing changes
        QVERIFY(page->isVisible());
        window->apiResult(PROC_Activation, 200);
        QCOMPARE(completed.count(), 1);
        QVERIFY(window->isHidden());
    }

    void wipeTouchesOnlyOwnFolders()
    {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString downloads =
            QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        const QString home = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
        QVERIFY(QDir().mkpath(data) && QDir().mkpath(downloads + "/Quorvel Downloads"));
        QFile stale(data + "/stale.db");
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        QFile keep(downloads + "/keep.txt");
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.close();
        QScopedPointer<Register> window(new Register);
        QVERIFY(!QFile::exists(data + "/stale.db"));
        QVERIFY(!QDir(downloads + "/Quorvel Downloads").exists());
        QVERIFY(QFile::exists(downloads + "/keep.txt"));

        QVERIFY(!LocalDataWiper::isOwnFolder(QString()));
        QVERIFY(!LocalDataWiper::isOwnFolder(QStringLiteral("relative/folder")));
        QVERIFY(!LocalDataWiper::isOwnFolder(QStringLiteral("/")));
        QVERIFY(!LocalDataWiper::isOwnFolder(home));
        QVERIFY(!LocalDataWiper::isOwnFolder(downloads));
        for (const QString& folder : LocalDataWiper::ownFolders())
            QVERIFY(folder.startsWith(home) || QDir::isAbsolutePath(folder));
    }
};

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
