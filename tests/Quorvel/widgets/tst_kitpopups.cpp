// Popups and their hosts, driven offscreen: the main window's popup layer,
// a screen's dialog layer, the full-screen overlay, the warning popup and the
// toast.

#include "kittestsupport.h"
#include "widgets/avatarviewer.h"
#include "widgets/contactselect.h"
#include "widgets/customscrollarea.h"
#include "widgets/dialogmanager.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/label.h"
#include "widgets/notificationmanager.h"
#include "widgets/notificationwidget.h"
#include "widgets/popupmanager.h"
#include "widgets/popupwarning.h"
#include "widgets/popupwindow.h"
#include "widgets/spopup.h"
#include "widgets/spopupbase.h"
#include "widgets/spopupmainframe.h"
#include "widgets/toastmessage.h"
#include "widgets/transparentfullscreenwidget.h"
#include "widgets/viewer.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
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
    void deletedPopupLeavesNoBackdrop();
    void windowBehindThePopupStaysDrawn_data();
    void windowBehindThePopupStaysDrawn();

    void dialogManager();
    void fullScreenOverlayCloses_data();
    void fullScreenOverlayCloses();

    void warningAnswers_data();
    void warningAnswers();
    void warningButtonsAndPlainText();
    void warningGrab();

    void toastWithoutMainWindowShowsNothing();
    void toastPlacementAndTiming();

    void animatedPopupOpensAndCloses();
    void animatedPopupTallerThanTheWindow();
    void framedPopupFitsItsParent_data();
    void framedPopupFitsItsParent();
    void framedPopupOverAnotherDimsOnce();

    void viewerTargetSize_data();
    void viewerTargetSize();
    void viewerIsReused();

    void notificationQueueDrains();

private:
    // What the window shows now, as composed for the screen.
    QImage shownFrame() const;
    std::unique_ptr<QWidget> mainWindow;
};

namespace {

// Pixels of a and b outside hole whose channels differ by more than a step
// of rounding.
int differencesOutside(const QImage& a, const QImage& b, const QRect& hole = QRect())
{
    if (a.size() != b.size())
        return -1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (hole.contains(x, y))
                continue;
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 3 || qAbs(qGreen(p) - qGreen(q)) > 3 ||
                qAbs(qBlue(p) - qBlue(q)) > 3)
                ++count;
        }
    }
    return count;
}

} // namespace

QImage TestKitPopups::shownFrame() const
{
    return mainWindow->screen()
        ->grabWindow(mainWindow->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

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

    // A popup that grows while shown stays in the middle.
    popup.setFixedSize(401, 301);
    QCOMPARE(popup.pos(), QPoint(300, 200));

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

void TestKitPopups::deletedPopupLeavesNoBackdrop()
{
    auto* popup = new QLabel("goes away");
    popup->resize(100, 40);
    PopupManager::showWindow(popup, false);
    PopupManager* host = PopupManager::existingInstance();
    QVERIFY(host->isVisible());
    delete popup;
    QVERIFY(!host->isVisible());
    QCOMPARE(host->getActivePopup(), nullptr);

    // An earlier popup going away leaves the shown one alone.
    auto* earlier = new QLabel("earlier");
    QLabel shown("shown");
    PopupManager::showWindow(earlier, true);
    PopupManager::showWindow(&shown, true);
    delete earlier;
    QVERIFY(host->isVisible());
    QVERIFY(shown.isVisible());

    QWidget screen;
    screen.resize(300, 200);
    screen.show();
    auto* layer = new DialogManager(&screen);
    auto* dialog = new QLabel("also goes");
    layer->showDialog(dialog);
    QVERIFY(layer->isVisible());
    delete dialog;
    QVERIFY(!layer->isVisible());
}

// Behind a popup the person sees the window as it was, only dimmed, whoever
// made the popup: a screen that keeps its picker as its own child (as the
// profile panels do) included. Closing the popup gives the window back as it
// was.
void TestKitPopups::windowBehindThePopupStaysDrawn_data()
{
    QTest::addColumn<bool>("madeByThePanel");
    QTest::newRow("popup of its own") << false;
    QTest::newRow("picker made by the panel") << true;
}

void TestKitPopups::windowBehindThePopupStaysDrawn()
{
    QFETCH(bool, madeByThePanel);
    // A steady text cursor in the picker's search field: the window and the
    // picker are grabbed one after the other.
    const int flash = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    mainWindow->setStyleSheet(mainWindow->styleSheet() +
                              "#Panel{background: white;} ContactSelect{background: white;}");
    auto* panel = new QWidget(mainWindow.get());
    panel->setObjectName("Panel");
    panel->setAttribute(Qt::WA_StyledBackground, true);
    panel->setGeometry(mainWindow->rect());
    auto* column = new QVBoxLayout(panel);
    auto* scroll = new QScrollArea;
    auto* rows = new QWidget;
    auto* rowsLayout = new QVBoxLayout(rows);
    QLabel* row = nullptr;
    for (int i = 0; i < 12; ++i) {
        row = new QLabel(QString("row %1 of the panel").arg(i));
        row->setAlignment(i % 2 ? Qt::AlignLeft : Qt::AlignRight);
        rowsLayout->addWidget(row);
    }
    scroll->setWidget(rows);
    scroll->setWidgetResizable(true);
    column->addWidget(new QLabel("header"));
    column->addWidget(scroll, 1);
    panel->show();
    // The panel as it draws itself, all rows in.
    const auto panelAlone = [panel] {
        return panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    QTRY_VERIFY(row->isVisible() && !row->visibleRegion().isEmpty());
    QTRY_COMPARE(differencesOutside(shownFrame(), panelAlone()), 0);
    const QImage before = shownFrame();

    QImage dimmed = before;
    QPainter(&dimmed).fillRect(dimmed.rect(), QColor(0, 0, 0, 179));

    ContactSelect* picker = new ContactSelect(madeByThePanel ? panel : nullptr);
    std::unique_ptr<ContactSelect> ownPicker(madeByThePanel ? nullptr : picker);
    Contact bo;
    bo.setNumber("98911");
    bo.setNickName("Bo");
    picker->setContacts({bo});
    picker->setFixedSize(400, 440);
    PopupManager::showWindow(picker, true);
    // Once the fade is over.
    QTRY_COMPARE(differencesOutside(shownFrame(), dimmed, picker->geometry()), 0);
    // Over it, the picker as it draws itself, once its last rows are shown.
    QTRY_COMPARE(differencesOutside(shownFrame().copy(picker->geometry()),
                                    picker->grab().toImage().convertToFormat(QImage::Format_RGB32)),
                 0);

    QTest::mouseClick(picker->ignoreButton(), Qt::LeftButton);
    QVERIFY(picker->isHidden());
    QCOMPARE(picker->parentWidget(), madeByThePanel ? panel : nullptr);
    QTRY_COMPARE(differencesOutside(shownFrame(), before), 0);
    QApplication::setCursorFlashTime(flash);
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
    // Sized before it is hosted, so it sits in the middle of the window.
    QCOMPARE(warning->pos(), QPoint((800 - warning->width()) / 2, (600 - warning->height()) / 2));
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

void TestKitPopups::animatedPopupOpensAndCloses()
{
    SPopup::setMainWindow(mainWindow.get());
    SPopup popup;
    QCOMPARE(popup.parentWidget(), mainWindow.get());
    popup.setTitle("<i>Poll</i>");
    QCOMPARE(popup.panel()->titleLabel()->textFormat(), Qt::PlainText);
    auto* content = new QVBoxLayout;
    auto* body = new QLabel("question");
    body->setFixedSize(280, 120);
    content->addWidget(body);
    popup.addContentLayout(content);

    for (int round = 0; round < 2; ++round) {
        QSignalSpy opened(popup.panel(), &SPopupMainFrame::popupOpened);
        popup.showPopup();
        QCOMPARE(opened.count(), 1);
        QVERIFY(popup.isVisible());
        QCOMPARE(popup.size(), mainWindow->size());
        // The panel slides in from 10 pixels up and left of its resting place.
        const QPoint rest((800 - popup.panel()->width()) / 2, (600 - popup.panel()->height()) / 2);
        QTRY_COMPARE(popup.panel()->pos(), rest);
        QTRY_COMPARE(popup.panel()->opacity(), 1.0);

        // A click inside the panel does not close it.
        QTest::mouseClick(body, Qt::LeftButton);
        QVERIFY(popup.isVisible());

        QSignalSpy closed(popup.panel(), &SPopupMainFrame::popupClosed);
        if (round == 0)
            QTest::mouseClick(popup.backdrop(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        else
            QTest::mouseClick(popup.panel()->closeButton(), Qt::LeftButton);
        QTRY_COMPARE(closed.count(), 1);
        QTRY_VERIFY(popup.isHidden());
        // The backdrop fades out with a click on it; the close button only
        // runs the panel backwards, and the closed popup hides both.
        if (round == 0)
            QTRY_VERIFY(popup.backdrop()->isHidden());
    }
    SPopup::setMainWindow(nullptr);
}

void TestKitPopups::animatedPopupTallerThanTheWindow()
{
    SPopup::setMainWindow(mainWindow.get());
    SPopup popup;
    auto* content = new QVBoxLayout;
    auto* tall = new QWidget;
    tall->setFixedSize(300, 2000);
    content->addWidget(tall);
    popup.addContentLayout(content);
    popup.showPopup();
    QVERIFY(popup.panel()->height() <= 600);
    QTRY_VERIFY(popup.panel()->y() >= 0);
    QVERIFY(popup.panel()->scrollArea()->verticalScrollBar()->maximum() > 0);
    mainWindow->resize(900, 500);
    popup.adjustSizeToMainWindow();
    QCOMPARE(popup.size(), QSize(900, 500));
    QVERIFY(popup.panel()->height() <= 500);
    SPopup::setMainWindow(nullptr);
}

void TestKitPopups::framedPopupFitsItsParent_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("fitted");
    QTest::newRow("fits") << QSize(400, 300) << QSize(400, 300);
    QTest::newRow("too wide") << QSize(900, 300) << QSize(640, 300);
    QTest::newRow("too tall") << QSize(400, 700) << QSize(400, 480);
}

void TestKitPopups::framedPopupFitsItsParent()
{
    QFETCH(QSize, window);
    QFETCH(QSize, fitted);
    mainWindow->setLayoutDirection(Qt::RightToLeft);
    auto* popup = new PopupWindow(mainWindow.get());
    popup->setTitle("Channel categories");
    popup->getWindow()->resize(window);
    QSignalSpy back(popup, &PopupWindow::windowIconClicked);
    popup->fitToParent();
    popup->show();
    QCOMPARE(popup->geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(popup->getWindow()->size(), fitted);
    QCOMPARE(popup->getWindow()->pos(),
             QPoint(400 - fitted.width() / 2, 300 - fitted.height() / 2));
    QVERIFY(popup->getTitleBar()->height() >= 32);
    QCOMPARE(popup->getBackButton()->x(), 0);
    QTest::mouseClick(popup->getBackButton(), Qt::LeftButton);
    QCOMPARE(back.count(), 1);
    QVERIFY(!isBlank(popup->getWindow()));
    delete popup;
}

void TestKitPopups::viewerTargetSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("large picture") << QSize(4000, 3000) << QSize(1440, 1080);
    QTest::newRow("small picture") << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("tall picture") << QSize(500, 3000) << QSize(180, 1080);
}

void TestKitPopups::viewerTargetSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, shown);
    QCOMPARE(Viewer::targetSize(picture, QSize(1920, 1080)), shown);
}

void TestKitPopups::viewerIsReused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("picture.png");
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(path));

    Viewer* viewer = Viewer::getInstance();
    viewer->showImage(path);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->imageLabel()->size(), QSize(120, 80));
    QCOMPARE(viewer->getContent(), viewer->imageLabel());
    QTest::keyClick(viewer, Qt::Key_Escape);
    QVERIFY(viewer->isHidden());
    QCOMPARE(Viewer::getInstance(), viewer);

    viewer->showImage(dir.filePath("missing.png"));
    QVERIFY(viewer->isHidden());

    // A widget shown over the viewer replaces the picture until the next one.
    AvatarViewer avatar;
    avatar.setAvatarSize(QSize(100, 100));
    avatar.setAvatarId("me");
    avatar.resize(100, 100);
    viewer->showOver(&avatar);
    QVERIFY(viewer->isVisible());
    QCOMPARE(avatar.parentWidget(), viewer);
    QTest::mouseClick(viewer, Qt::LeftButton, Qt::NoModifier, QPoint(1, 300));
    QVERIFY(viewer->isHidden());
    viewer->showImage(path);
    QCOMPARE(viewer->getContent(), viewer->imageLabel());
    QCOMPARE(avatar.parentWidget(), nullptr);
    Viewer::deleteInstance();
}

void TestKitPopups::notificationQueueDrains()
{
    auto* strip = new NotificationManager(mainWindow.get());
    QCOMPARE(strip->getState(), int(NotificationManager::Idle));
    strip->addNotification({"<b>Ali</b>", "Hello", QString(), "u1", 1});
    strip->addNotification({"Team", "Meeting at 10", QString(), "g1", 2});
    QCOMPARE(strip->getState(), int(NotificationManager::Entering));
    QVERIFY(strip->isVisible());
    QCOMPARE(strip->widget()->titleLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(strip->widget()->titleLabel()->text(), QString("<b>Ali</b>"));
    QTRY_COMPARE_WITH_TIMEOUT(strip->widget()->titleLabel()->text(), QString("Team"), 10000);
    QCOMPARE(strip->queued(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(strip->getState(), int(NotificationManager::Idle), 15000);
    QVERIFY(strip->isHidden());
    delete strip;
}

// A framed popup opened over another (a category's channels over the
// directory) dims what is behind it once: the rest of the window keeps the
// first popup's dim, and the first popup's own window is dimmed once.
void TestKitPopups::framedPopupOverAnotherDimsOnce()
{
    QImage dimmed = shownFrame();
    QPainter(&dimmed).fillRect(dimmed.rect(), QColor(0, 0, 0, 179));
    auto* outer = new PopupWindow(mainWindow.get());
    outer->getWindow()->resize(400, 300);
    outer->fitToParent();
    outer->show();
    const QRect outerWindow = outer->getWindow()->geometry();
    QTRY_COMPARE(differencesOutside(shownFrame(), dimmed, outerWindow), 0);
    QImage expected = shownFrame();
    QPainter(&expected).fillRect(outerWindow, QColor(0, 0, 0, 179));

    auto* inner = new PopupWindow(outer);
    inner->getWindow()->resize(200, 150);
    inner->fitToParent();
    inner->show();
    const QRect innerWindow(inner->mapTo(mainWindow.get(), inner->getWindow()->pos()),
                            inner->getWindow()->size());
    QTRY_COMPARE(differencesOutside(shownFrame(), expected, innerWindow), 0);
    delete outer;
}

QTEST_MAIN(TestKitPopups)
#include "tst_kitpopups.moc"
