// Popups and their hosts, driven offscreen: the main window's popup layer,
// a screen's dialog layer, the full-screen overlay, the warning popup and the
// toast.

#include "kittestsupport.h"
#include "widgets/dialogmanager.h"
#include "widgets/flatbutton.h"
#include "widgets/label.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"
#include "widgets/transparentfullscreenwidget.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

using namespace KitTest;

class TestKitPopups : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void popupIsCentredAndFollowsTheWindow();
    void expandingPopupTakesTheWindowHeight();
    void secondPopupReplacesTheFirst();
    void backdropClickClosesOnlyWhenAllowed_data();
    void backdropClickClosesOnlyWhenAllowed();
    void deletingTheHostKeepsThePopup();
    void noMainWindowShowsNothing();

    void dialogManager();
    void fullScreenOverlayCloses_data();
    void fullScreenOverlayCloses();

    void warningAnswers_data();
    void warningAnswers();
    void warningButtonsAndPlainText();
    void warningGrab();

    void toastWithoutMainWindowShowsNothing();
    void toastPlacementAndTiming();

private:
    std::unique_ptr<QWidget> mainWindow;
};

void TestKitPopups::init()
{
    mainWindow.reset(new QWidget);
    mainWindow->resize(800, 600);
    mainWindow->setStyleSheet("#PopupWindowTransparentArea{background: rgba(0,0,0,70%);}"
                              "PopUpWarning{background: white; border-radius: 3px;}");
    PopupManager::setMainWindow(mainWindow.get());
    ToastMessage::setMainWindow(mainWindow.get());
    mainWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow.get()));
}

void TestKitPopups::cleanup()
{
    PopupManager::deleteInstance();
    PopUpWarning::deleteInstance();
    ToastMessage::deleteInstance();
    mainWindow.reset();
    PopupManager::setMainWindow(nullptr);
    ToastMessage::setMainWindow(nullptr);
}

void TestKitPopups::popupIsCentredAndFollowsTheWindow()
{
    QWidget popup;
    popup.resize(200, 100);
    PopupManager::showWindow(&popup, true);
    PopupManager* host = PopupManager::existingInstance();
    QVERIFY(host);
    QVERIFY(host->isVisible());
    QCOMPARE(host->objectName(), QString("PopupWindowTransparentArea"));
    QCOMPARE(popup.parentWidget(), host);
    QCOMPARE(host->geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(popup.pos(), QPoint(300, 250));

    mainWindow->resize(1001, 701);
    PopupManager::resizeToMainWindow();
    QCOMPARE(host->geometry(), QRect(0, 0, 1001, 701));
    QCOMPARE(popup.pos(), QPoint(400, 300));

    // A click on the popup never reaches the backdrop.
    QTest::mouseClick(&popup, Qt::LeftButton);
    QVERIFY(popup.isVisible());

    // With no popup shown nothing moves.
    popup.hide();
    QVERIFY(!host->isVisible());
    QCOMPARE(popup.parentWidget(), nullptr);
    mainWindow->resize(500, 500);
    PopupManager::resizeToMainWindow();
    QCOMPARE(host->geometry(), QRect(0, 0, 1001, 701));
}

void TestKitPopups::expandingPopupTakesTheWindowHeight()
{
    QWidget popup;
    popup.resize(300, 100);
    popup.setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    PopupManager::showWindow(&popup, true);
    QCOMPARE(popup.size(), QSize(300, 600));
    QCOMPARE(popup.pos(), QPoint(250, 0));
}

void TestKitPopups::secondPopupReplacesTheFirst()
{
    QWidget first, second;
    first.resize(100, 100);
    second.resize(120, 80);
    PopupManager::showWindow(&first, true);
    PopupManager::showWindow(&second, true);
    QVERIFY(first.isHidden());
    QCOMPARE(first.parentWidget(), nullptr);
    QCOMPARE(second.parentWidget(), PopupManager::existingInstance());
    QCOMPARE(PopupManager::existingInstance()->getActivePopup(), &second);
    QVERIFY(second.isVisible());
    QVERIFY(PopupManager::existingInstance()->isVisible());
}

void TestKitPopups::backdropClickClosesOnlyWhenAllowed_data()
{
    QTest::addColumn<bool>("closeOnClick");
    QTest::newRow("closes") << true;
    QTest::newRow("warning style stays") << false;
}

void TestKitPopups::backdropClickClosesOnlyWhenAllowed()
{
    QFETCH(bool, closeOnClick);
    QWidget popup;
    popup.resize(100, 100);
    PopupManager::showWindow(&popup, closeOnClick);
    PopupManager* host = PopupManager::existingInstance();
    QTest::mouseClick(host, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(popup.isVisible());
    QTest::mouseClick(host, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(popup.isVisible(), !closeOnClick);
    QCOMPARE(host->isVisible(), !closeOnClick);
    if (closeOnClick)
        QCOMPARE(popup.parentWidget(), nullptr);
}

void TestKitPopups::deletingTheHostKeepsThePopup()
{
    QPointer<QWidget> popup = new QLabel("still mine");
    popup->resize(100, 40);
    PopupManager::showWindow(popup, true);
    QVERIFY(popup->isVisible());
    PopupManager::deleteInstance();
    QVERIFY(!PopupManager::existingInstance());
    QVERIFY(popup);
    QVERIFY(popup->isHidden());
    QCOMPARE(popup->parentWidget(), nullptr);

    // The main window going away takes the layer with it, never the popup.
    PopupManager::showWindow(popup, true);
    QVERIFY(popup->isVisible());
    mainWindow.reset();
    QVERIFY(!PopupManager::existingInstance());
    QVERIFY(popup);
    QCOMPARE(popup->parentWidget(), nullptr);
    delete popup;
}

void TestKitPopups::noMainWindowShowsNothing()
{
    PopupManager::setMainWindow(nullptr);
    QWidget popup;
    PopupManager::showWindow(&popup, true);
    PopupManager::resizeToMainWindow();
    QVERIFY(!PopupManager::existingInstance());
    QVERIFY(popup.isHidden());
    PopUpWarning::showWarning("question", "Nobody", true, 0);
    QVERIFY(PopUpWarning::getInstance()->isHidden());
}

void TestKitPopups::dialogManager()
{
    QWidget screen;
    screen.resize(400, 300);
    screen.show();
    auto* layer = new DialogManager(&screen);
    QWidget dialog;
    dialog.resize(100, 50);
    layer->showDialog(&dialog);
    QVERIFY(layer->isVisible());
    QCOMPARE(layer->geometry(), QRect(0, 0, 400, 300));
    QCOMPARE(dialog.pos(), QPoint(150, 125));

    // A resized dialog is centred again.
    dialog.resize(200, 100);
    QTRY_COMPARE(dialog.pos(), QPoint(100, 100));

    QTest::mouseClick(&dialog, Qt::LeftButton);
    QVERIFY(dialog.isVisible());

    dialog.hide();
    QVERIFY(layer->isHidden());
    QCOMPARE(dialog.parentWidget(), nullptr);
    QCOMPARE(layer->getActiveDialog(), nullptr);

    layer->showDialog(&dialog);
    QTest::mouseClick(layer, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(dialog.isHidden());
    QVERIFY(layer->isHidden());
    QCOMPARE(dialog.parentWidget(), nullptr);

    // Deleting the layer never deletes the dialog it hosts.
    layer->showDialog(&dialog);
    delete layer;
    QCOMPARE(dialog.parentWidget(), nullptr);
}

void TestKitPopups::fullScreenOverlayCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("escape") << "escape";
    QTest::newRow("left click") << "click";
    QTest::newRow("close button") << "button";
}

void TestKitPopups::fullScreenOverlayCloses()
{
    QFETCH(QString, how);
    QPointer<TransparentFullScreenWidget> overlay = new TransparentFullScreenWidget;
    auto* content = new QLabel("picture");
    content->resize(100, 60);
    overlay->showOver(content);
    overlay->show();
    QCOMPARE(overlay->getContent(), content);
    QCOMPARE(content->pos(), QPoint((overlay->width() - 100) / 2, (overlay->height() - 60) / 2));
    QCOMPARE(overlay->getCloseButton()->pos(), QPoint(overlay->width() - 40, 0));
    QSignalSpy closed(overlay.data(), &TransparentFullScreenWidget::closed);
    if (how == "escape") {
        QTest::keyClick(overlay.data(), Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
    } else if (how == "click") {
        QTest::mouseClick(overlay.data(), Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
        QVERIFY(overlay);
        QTest::mouseClick(overlay.data(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QCOMPARE(closed.count(), 1);
    } else {
        QTest::mousePress(overlay->getCloseButton(), Qt::LeftButton);
    }
    // Closing deletes the overlay.
    QTRY_VERIFY(!overlay);
}

void TestKitPopups::warningAnswers_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << 0 << "yes" << 0;
    QTest::newRow("no") << 0 << "no" << 1;
    QTest::newRow("continue") << 1 << "continue" << 0;
}

void TestKitPopups::warningAnswers()
{
    QFETCH(int, buttons);
    QFETCH(QString, press);
    QFETCH(int, answer);
    PopUpWarning::showWarning("Delete this contact?", "DeleteContact", true, buttons);
    PopUpWarning* warning = PopUpWarning::getInstance();
    QVERIFY(warning->isVisible());
    QCOMPARE(PopupManager::existingInstance()->getActivePopup(), warning);
    QSignalSpy response(warning, &PopUpWarning::popUpresponse);

    // The backdrop does not close a warning.
    QTest::mouseClick(PopupManager::existingInstance(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(2, 2));
    QVERIFY(warning->isVisible());

    FlatButton* button = press == "yes"  ? warning->yesButton()
                         : press == "no" ? warning->noButton()
                                         : warning->continueButton();
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(response.count(), 1);
    QCOMPARE(int(qvariant_cast<PopUpWarning::response>(response.first().at(0))), answer);
    QCOMPARE(response.first().at(1).toString(), QString("DeleteContact"));
    QVERIFY(warning->isHidden());
    QVERIFY(!PopupManager::existingInstance()->isVisible());
}

void TestKitPopups::warningButtonsAndPlainText()
{
    PopUpWarning::showWarning("Leave <b>Team</b><img src=x>?", "Leave", true, 1);
    PopUpWarning* warning = PopUpWarning::getInstance();
    QCOMPARE(warning->messageLabel()->textFormat(), Qt::PlainText);
    QVERIFY(warning->continueButton()->isVisible());
    QVERIFY(warning->yesButton()->isHidden());
    warning->setButtons(2);
    QVERIFY(warning->continueButton()->isVisible());
    QVERIFY(warning->yesButton()->isHidden());
    warning->setButtons(0);
    QVERIFY(warning->continueButton()->isHidden());
    QVERIFY(warning->noButton()->isVisible());
    QVERIFY(warning->width() >= 300);
}

void TestKitPopups::warningGrab()
{
    PopUpWarning::showWarning("Log out of this device?", "Logout", true, 0);
    PopUpWarning* warning = PopUpWarning::getInstance();
    const QImage image = warning->grab().toImage();
    QVERIFY(image.width() >= 300);
    QVERIFY(colourCount(image) >= 2);
}

void TestKitPopups::toastWithoutMainWindowShowsNothing()
{
    ToastMessage::setMainWindow(nullptr);
    ToastMessage::getInstance()->showToastMessage(QString("_uploadFailed"));
    QVERIFY(ToastMessage::getInstance()->isHidden());
    QCOMPARE(ToastMessage::getInstance()->parentWidget(), nullptr);
}

void TestKitPopups::toastPlacementAndTiming()
{
    ToastMessage* toast = ToastMessage::getInstance();
    toast->showToastMessage("_uploadNetworkError");
    QVERIFY(toast->isVisible());
    QCOMPARE(toast->parentWidget(), mainWindow.get());
    // A key without a translation shows as itself, as plain text.
    QCOMPARE(toast->textLabel()->text(), QString("_uploadNetworkError"));
    QCOMPARE(toast->textLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(toast->pos(), QPoint((800 - toast->width()) / 2, 600 - 50 - toast->height()));
    // Once faded in, the toast shows its frame and text.
    QTRY_VERIFY(colourCount(toast->grab().toImage()) >= 2);

    // A second toast restarts the two seconds with its own text.
    QElapsedTimer clock;
    clock.start();
    toast->showMessage("second <b>text</b>");
    QCOMPARE(toast->textLabel()->text(), QString("second <b>text</b>"));
    QTRY_VERIFY_WITH_TIMEOUT(toast->isHidden(), 15000);
    QVERIFY(clock.elapsed() >= 2000);
}

QTEST_MAIN(TestKitPopups)
#include "tst_kitpopups.moc"
