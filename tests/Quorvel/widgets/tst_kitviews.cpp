// The kit's views, driven offscreen: search bar, caption frame, eliding
// label, message view, avatars, progress circle and the fading scroll area.

#include "foundation/htmlmanager.h"
#include "kittestsupport.h"
#include "model/profile.h"
#include "widgets/avatardownloader.h"
#include "widgets/avatarviewer.h"
#include "widgets/customscrollarea.h"
#include "widgets/elidedlabel.h"
#include "widgets/htmlcontainer.h"
#include "widgets/iconbutton.h"
#include "widgets/mainwindow.h"
#include "widgets/progresscircle.h"
#include "widgets/roundpixmap.h"
#include "widgets/searchbar.h"
#include "widgets/senderpalette.h"
#include "widgets/transparentframe.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QtTest>

using namespace KitTest;

class TestKitViews : public QObject
{
    Q_OBJECT
private slots:
    void searchBarTypingAndClearing();
    void transparentFrameShowsOnlyWithText();
    void elidedLabelFollowsItsWidth();
    void elidedLabelFitsItsContents_data();
    void elidedLabelFitsItsContents();
    void htmlContainerCopiesPlainTextAndPassesWheel();

    void defaultAvatar_data();
    void defaultAvatar();
    void downloadedAvatarIsRound();
    void roundPixmapSqueezesTheWholeSource_data();
    void roundPixmapSqueezesTheWholeSource();
    void avatarClicks();
    void checkedAvatar();
    void avatarDownloaderWithoutAddress();
    void avatarDownloaderPicture();

    void progressValueRules();
    void progressZeroMaximumDrawsNoArc();
    void progressClicks_data();
    void progressClicks();
    void progressRotationStopsWhenComplete_data();
    void progressRotationStopsWhenComplete();
    void progressPictures();

    void scrollBarFades();
    void windowFrameStates();
};

void TestKitViews::searchBarTypingAndClearing()
{
    SearchBar bar;
    bar.resize(300, 40);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy changed(&bar, &SearchBar::textChanged);
    QVERIFY(bar.getClearButton()->isHidden());
    QCOMPARE(bar.getInput()->objectName(), QString("SearchBarSearchInput"));
    QCOMPARE(bar.getInput()->placeholderText(), QString("SearchBarHintText"));

    QTest::keyClicks(bar.getInput(), "al");
    QCOMPARE(changed.count(), 2);
    QVERIFY(bar.getClearButton()->isVisible());
    QTest::keyClick(bar.getInput(), Qt::Key_Backspace);
    QTest::keyClick(bar.getInput(), Qt::Key_Backspace);
    QVERIFY(bar.getClearButton()->isHidden());
    QCOMPARE(changed.count(), 4);
    QCOMPARE(changed.last().at(0).toString(), QString());

    QTest::sendKeyEvent(QTest::KeyAction::Click, bar.getInput(), Qt::Key_unknown,
                        QStringLiteral("\u0645"), Qt::NoModifier);
    QVERIFY(bar.getClearButton()->isVisible());
    changed.clear();
    QTest::mouseClick(bar.getClearButton(), Qt::LeftButton);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toString(), QString());
    QCOMPARE(bar.getInput()->text(), QString());
    QVERIFY(bar.getClearButton()->isHidden());
}

void TestKitViews::transparentFrameShowsOnlyWithText()
{
    QWidget picture;
    picture.resize(200, 100);
    auto* frame = new TransparentFrame(&picture);
    frame->resize(150, 40);
    picture.show();
    frame->setText("2.5 MB");
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->getFont().pointSize(), 8);
    frame->setText("holiday.jpg");
    QVERIFY(frame->isVisible());
    const QImage image = frame->grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 8)).alpha() > 0 || qAlpha(image.pixel(2, 8)) > 0, true);
    frame->setText(QString());
    QVERIFY(frame->isHidden());
    frame->setText(QString());
    QVERIFY(frame->isHidden());
}

void TestKitViews::elidedLabelFollowsItsWidth()
{
    ElidedLabel label;
    const QString name = "<b>A very long channel name that cannot fit</b>";
    label.resize(120, 30);
    label.setText(name);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.fullText(), name);
    QVERIFY(label.text().endsWith(QChar(0x2026)));
    QVERIFY(name.startsWith(label.text().chopped(1)));
    const int narrowLength = label.text().size();

    label.resize(2000, 30);
    QTRY_COMPARE(label.text(), name);
    label.resize(200, 30);
    QTRY_VERIFY(label.text().size() > narrowLength && label.text().size() < name.size());
}

// A preview whose label has a margin, padding or a frame still shows its
// first letter and its ellipsis: the text is elided to the room QLabel
// draws it in, not to the whole width.
void TestKitViews::elidedLabelFitsItsContents_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("margin");
    QTest::addColumn<bool>("rightToLeft");
    const QString english = QStringLiteral("Hi Sara! Are we still on for tomorrow evening?");
    const QString persian = QString::fromUtf8("سلام سارا! فردا عصر هنوز سر قرارمان هستیم؟");
    QTest::newRow("margin") << english << QString() << 8 << false;
    QTest::newRow("padding") << english << "QLabel{padding: 0 12px;}" << 0 << false;
    QTest::newRow("persian margin") << persian << QString() << 8 << true;
    QTest::newRow("persian padding and border")
        << persian << "QLabel{padding: 0 12px; border: 2px solid black;}" << 0 << true;
}

void TestKitViews::elidedLabelFitsItsContents()
{
    QFETCH(QString, text);
    QFETCH(QString, sheet);
    QFETCH(int, margin);
    QFETCH(bool, rightToLeft);
    ElidedLabel label;
    label.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    label.setStyleSheet(sheet);
    label.setMargin(margin);
    label.resize(label.fontMetrics().horizontalAdvance(text) / 2, 30);
    label.setText(text);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QVERIFY(label.text().endsWith(QChar(0x2026)));
    // The start of the text is kept (a right-to-left elision may carry a
    // direction mark, so only the left-to-right rows compare letters).
    if (!rightToLeft)
        QVERIFY(text.startsWith(label.text().chopped(1)));
    const QRect room = label.contentsRect().adjusted(margin, 0, -margin, 0);
    QVERIFY2(label.fontMetrics().horizontalAdvance(label.text()) <= room.width(),
             qPrintable(QStringLiteral("%1 > %2")
                            .arg(label.fontMetrics().horizontalAdvance(label.text()))
                            .arg(room.width())));
}

void TestKitViews::htmlContainerCopiesPlainTextAndPassesWheel()
{
    QWidget board;
    auto* layout = new QVBoxLayout(&board);
    auto* view = new HtmlContainer(&board);
    layout->addWidget(view);
    view->setHtml("<p>hello <a href=\"https://example.org\">link</a> world</p>");
    board.show();
    QCOMPARE(view->openLinks(), false);
    QCOMPARE(view->contextMenuPolicy(), Qt::NoContextMenu);
    QCOMPARE(view->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    QTextCursor cursor = view->textCursor();
    cursor.select(QTextCursor::Document);
    view->setTextCursor(cursor);
    view->copySelection();
    const QString expected = HtmlManager::extractCopyTextFromContainerHtml(
        view->textCursor().selection().toHtml(QByteArray()));
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QVERIFY(!QGuiApplication::clipboard()->text().contains("<p"));

    QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    wheel.accept();
    QCoreApplication::sendEvent(view, &wheel);
    QVERIFY(!wheel.isAccepted());

    // A link click is reported, never followed inside the bubble.
    QSignalSpy anchors(view, &QTextBrowser::anchorClicked);
    const QString before = view->toHtml();
    emit view->anchorClicked(QUrl("https://example.org"));
    QCOMPARE(view->toHtml(), before);
    QCOMPARE(anchors.count(), 1);
}

void TestKitViews::defaultAvatar_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("id");
    QTest::newRow("person") << 1 << "user-17";
    QTest::newRow("group") << 2 << "group-3";
    QTest::newRow("channel") << 3 << "news";
    QTest::newRow("unknown kind draws as person") << 9 << "x";
}

void TestKitViews::defaultAvatar()
{
    QFETCH(int, kind);
    QFETCH(QString, id);
    AvatarViewer viewer;
    viewer.setAvatarSize(QSize(50, 50));
    viewer.setAvatarType(kind);
    viewer.setAvatarId(id);
    QCOMPARE(viewer.objectName(), QString("AvatarViewer"));
    const QImage image = viewer.getAvatar().toImage();
    QCOMPARE(image.size(), QSize(50, 50));
    // A disc in the id's palette colour: corners transparent, a rim point
    // painted in that colour whatever the kind.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(49, 49)), 0);
    QCOMPARE(QColor(image.pixel(25, 2)).rgb(), senderColor(id).rgb());
    QCOMPARE(AvatarViewer::defaultAvatar(1, id, QSize(50, 50)).toImage().pixel(25, 2),
             image.pixel(25, 2));

    viewer.resize(50, 50);
    viewer.show();
    QVERIFY(!isBlank(&viewer));
}

void TestKitViews::downloadedAvatarIsRound()
{
    AvatarViewer viewer;
    viewer.setAvatarSize(QSize(60, 60));
    viewer.setAvatarId("u1");
    QSignalSpy finished(&viewer, &AvatarViewer::avatarDownloadFinished);
    QImage wide(200, 100, QImage::Format_ARGB32);
    wide.fill(Qt::blue);
    viewer.imageReady(wide);
    QCOMPARE(finished.count(), 1);
    const QImage round = viewer.getAvatar().toImage();
    QCOMPARE(round.size(), QSize(60, 60));
    QCOMPARE(qAlpha(round.pixel(1, 1)), 0);
    QCOMPARE(QColor(round.pixel(30, 30)), QColor(Qt::blue));
    QCOMPARE(roundPixmap(QPixmap(), QSize(10, 10)).isNull(), true);

    // A null picture keeps the one shown.
    viewer.imageReady(QImage());
    QCOMPARE(viewer.getAvatar().toImage(), round);
}

void TestKitViews::roundPixmapSqueezesTheWholeSource_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("target");
    QTest::addColumn<QSize>("result");
    QTest::newRow("wide") << QSize(200, 100) << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("tall") << QSize(90, 270) << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("square") << QSize(120, 120) << QSize(100, 100) << QSize(100, 100);
    QTest::newRow("wide into a flat target") << QSize(300, 100) << QSize(80, 40) << QSize(40, 40);
}

// Three bands along the source's long side: green, red, blue. Cropping the
// middle square would show red only; squeezing keeps all three, left to
// right or top to bottom.
void TestKitViews::roundPixmapSqueezesTheWholeSource()
{
    QFETCH(QSize, source);
    QFETCH(QSize, target);
    QFETCH(QSize, result);
    const bool wide = source.width() >= source.height();
    const int length = wide ? source.width() : source.height();
    QImage bands(source, QImage::Format_ARGB32);
    QPainter painter(&bands);
    const QList<QColor> colours{Qt::green, Qt::red, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const int from = length * i / 3;
        const int to = length * (i + 1) / 3;
        painter.fillRect(wide ? QRect(from, 0, to - from, source.height())
                              : QRect(0, from, source.width(), to - from),
                         colours.at(i));
    }
    painter.end();

    const QImage round = roundPixmap(QPixmap::fromImage(bands), target).toImage();
    QCOMPARE(round.size(), result);
    const int side = result.width();
    const int middle = side / 2;
    QCOMPARE(qAlpha(round.pixel(1, 1)), 0);
    QCOMPARE(qAlpha(round.pixel(side - 2, side - 2)), 0);
    for (int i = 0; i < 3; ++i) {
        const int along = side * (2 * i + 1) / 6;
        const QPoint at = wide ? QPoint(along, middle) : QPoint(middle, along);
        QCOMPARE(QColor(round.pixel(at)), colours.at(i));
    }
}

void TestKitViews::avatarClicks()
{
    QWidget holder;
    holder.resize(100, 100);
    auto* viewer = new AvatarViewer(&holder);
    viewer->setAvatarSize(QSize(40, 40));
    viewer->setAvatarId("a");
    viewer->resize(40, 40);
    holder.show();
    QSignalSpy clicked(viewer, &AvatarViewer::onClick);
    QTest::mouseClick(viewer, Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(viewer, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);

    viewer->setClickable(false);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
    release.accept();
    QCoreApplication::sendEvent(viewer, &release);
    QVERIFY(!release.isAccepted());
    QCOMPARE(clicked.count(), 1);
}

void TestKitViews::checkedAvatar()
{
    AvatarViewer viewer;
    viewer.setAvatarSize(QSize(50, 50));
    viewer.setAvatarId("0");
    // Not checkable: checking shows the plain avatar.
    viewer.setChecked(true);
    QCOMPARE(viewer.pixmap(Qt::ReturnByValue).toImage(), viewer.getAvatar().toImage());
    viewer.setCheckable(true);
    viewer.setChecked(true);
    const QImage checked = viewer.pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(checked.size(), QSize(50, 50));
    QCOMPARE(QColor(checked.pixel(25, 3)), QColor("#aa3063"));
}

void TestKitViews::avatarDownloaderWithoutAddress()
{
    AvatarDownloader downloader;
    downloader.setUserId("u5");
    QVERIFY(!downloader.getAvatar().isNull());
    QSignalSpy changed(&downloader, &AvatarDownloader::avatarChanged);
    Profile profile;
    profile.setNickName("Sara <img src=x>");
    downloader.downloadAvatar(profile);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toString(), QString("u5"));
    QCOMPARE(changed.first().at(1).toString(), QString("Sara <img src=x>"));
    QVERIFY(changed.first().at(2).value<QPixmap>().isNull());
    QCOMPARE(downloader.getNickName(), QString("Sara <img src=x>"));
}

void TestKitViews::avatarDownloaderPicture()
{
    AvatarDownloader downloader;
    downloader.setAvatarSize(QSize(30, 30));
    downloader.setUserId("u6");
    QSignalSpy changed(&downloader, &AvatarDownloader::avatarChanged);
    QImage square(64, 64, QImage::Format_ARGB32);
    square.fill(Qt::red);
    downloader.imageReady(square);
    QCOMPARE(changed.count(), 1);
    const QImage avatar = changed.first().at(2).value<QPixmap>().toImage();
    QCOMPARE(avatar.size(), QSize(30, 30));
    QCOMPARE(QColor(avatar.pixel(15, 15)), QColor(Qt::red));
    QCOMPARE(qAlpha(avatar.pixel(0, 0)), 0);
}

void TestKitViews::progressValueRules()
{
    ProgressCircle circle;
    QCOMPARE(circle.size(), QSize(40, 40));
    QSignalSpy value(&circle, &ProgressCircle::valueChanged);
    QSignalSpy maximum(&circle, &ProgressCircle::maximumChanged);
    circle.setValue(-5);
    QCOMPARE(circle.value(), 0);
    QCOMPARE(value.count(), 0);
    circle.setValue(30);
    circle.setValue(30);
    QCOMPARE(value.count(), 1);
    QTRY_COMPARE(circle.visibleValue(), 30);
    circle.setMaximum(-1);
    QCOMPARE(circle.maximum(), 0);
    QCOMPARE(maximum.count(), 1);
    circle.setInnerRadius(3.0);
    QCOMPARE(circle.innerRadius(), 1.0);
    circle.setOuterRadius(-1.0);
    QCOMPARE(circle.outerRadius(), 0.0);
}

void TestKitViews::progressZeroMaximumDrawsNoArc()
{
    ProgressCircle circle;
    circle.setMaximum(0);
    circle.setValue(7);
    QTRY_COMPARE(circle.visibleValue(), 7);
    QCOMPARE(circle.arcSpan(), 0);
    QVERIFY(!circle.grab().isNull());

    circle.setMaximum(100);
    circle.setValue(50);
    QTRY_COMPARE(circle.visibleValue(), 50);
    QCOMPARE(circle.arcSpan(), -180 * 16);
    circle.setMaximum(40);
    QCOMPARE(circle.arcSpan(), -360 * 16);
}

void TestKitViews::progressClicks_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("uploadMode");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("pauseFlag");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<int>("valueAfter");
    QTest::newRow("start a download") << 2 << 0 << 0 << false << "startDownload" << 1;
    QTest::newRow("retry an upload") << 2 << 1 << 0 << false << "retryUpload" << 1;
    QTest::newRow("cancel a transfer") << 2 << 0 << 40 << false << "cancel" << 0;
    QTest::newRow("open a file") << 2 << 0 << 100 << false << "open" << 100;
    QTest::newRow("open a location") << 3 << 0 << 100 << false << "open" << 100;
    QTest::newRow("pause a voice") << 4 << 0 << 100 << true << "pause" << 100;
    QTest::newRow("play a voice") << 4 << 0 << 100 << false << "open" << 100;
    QTest::newRow("state 5 ignores clicks") << 5 << 0 << 40 << false << "" << 40;
}

void TestKitViews::progressClicks()
{
    QFETCH(int, state);
    QFETCH(int, uploadMode);
    QFETCH(int, value);
    QFETCH(bool, pauseFlag);
    QFETCH(QString, signal);
    QFETCH(int, valueAfter);
    ProgressCircle circle;
    circle.setState(state);
    circle.setUploadMode(uploadMode);
    circle.setPauseFlag(pauseFlag);
    circle.setValue(value);
    circle.show();
    QSignalSpy start(&circle, &ProgressCircle::startDownload);
    QSignalSpy cancel(&circle, &ProgressCircle::cancel);
    QSignalSpy retry(&circle, &ProgressCircle::retryUpload);
    QSignalSpy open(&circle, &ProgressCircle::open);
    QSignalSpy pause(&circle, &ProgressCircle::pause);
    QTest::mouseClick(&circle, Qt::RightButton);
    QCOMPARE(start.count() + cancel.count() + retry.count() + open.count() + pause.count(), 0);
    QTest::mouseClick(&circle, Qt::LeftButton);
    QCOMPARE(start.count(), signal == "startDownload" ? 1 : 0);
    QCOMPARE(cancel.count(), signal == "cancel" ? 1 : 0);
    QCOMPARE(retry.count(), signal == "retryUpload" ? 1 : 0);
    QCOMPARE(open.count(), signal == "open" ? 1 : 0);
    QCOMPARE(pause.count(), signal == "pause" ? 1 : 0);
    QCOMPARE(circle.value(), valueAfter);
}

void TestKitViews::progressRotationStopsWhenComplete_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("rotating");
    QTest::newRow("100 of 100") << 100 << 100 << false;
    QTest::newRow("50 of 50") << 50 << 50 << false;
    QTest::newRow("back to 0") << 100 << 0 << false;
    QTest::newRow("half way") << 100 << 50 << true;
}

void TestKitViews::progressRotationStopsWhenComplete()
{
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(bool, rotating);
    ProgressCircle circle;
    circle.setMaximum(maximum);
    circle.setValue(10);
    QVERIFY(circle.isRotating());
    QTRY_COMPARE(circle.visibleValue(), 10);
    circle.setValue(value);
    QTRY_COMPARE(circle.visibleValue(), value);
    QTRY_COMPARE(circle.isRotating(), rotating);
}

void TestKitViews::progressPictures()
{
    // Incomplete: the disc and the arc are drawn in every state.
    for (int state : {1, 2, 5}) {
        ProgressCircle circle;
        circle.setState(state);
        circle.setValue(60);
        QTRY_COMPARE(circle.visibleValue(), 60);
        const QImage image = circle.grab().toImage();
        QCOMPARE(image.size(), QSize(40, 40));
        QVERIFY(colourCount(image) >= 2);
    }
    // Complete in state 5: nothing at all.
    ProgressCircle hidden;
    hidden.setState(5);
    hidden.setAttribute(Qt::WA_TranslucentBackground);
    hidden.setValue(100);
    QTRY_COMPARE(hidden.visibleValue(), 100);
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    hidden.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    QCOMPARE(colourCount(image), 1);
}

void TestKitViews::scrollBarFades()
{
    CustomScrollArea area;
    auto* content = new QWidget;
    content->setFixedSize(200, 2000);
    area.setWidget(content);
    area.resize(220, 200);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QSignalSpy resized(&area, &CustomScrollArea::resized);
    QCOMPARE(area.barOpacity(), 0.0);

    area.verticalScrollBar()->setValue(100);
    QVERIFY(area.isHideTimerActive());
    QTRY_COMPARE(area.barOpacity(), 1.0);
    // Scrolling on keeps it visible; it fades after the last scroll.
    for (int i = 0; i < 3; ++i) {
        QTest::qWait(400);
        area.verticalScrollBar()->setValue(200 + i * 50);
        QVERIFY(area.isHideTimerActive());
    }
    QTRY_COMPARE_WITH_TIMEOUT(area.barOpacity(), 0.0, 10000);
    QVERIFY(!area.isHideTimerActive());

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&area, &enter);
    QVERIFY(area.isHideTimerActive());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&area, &leave);
    QVERIFY(!area.isHideTimerActive());
    QTRY_COMPARE(area.barOpacity(), 0.0);

    area.resize(240, 220);
    QCOMPARE(resized.count(), 1);
}

void TestKitViews::windowFrameStates()
{
    MainWindow frame;
    auto* normal = new QWidget(&frame);
    auto* maximised = new QWidget(&frame);
    auto* left = new QWidget(&frame);
    auto* right = new QWidget(&frame);
    frame.setStateWidgets(normal, maximised);
    frame.setPanels(left, right);
    frame.show();
    frame.maximizeWidget();
    QVERIFY(normal->isHidden() && !maximised->isHidden());
    QVERIFY(frame.windowState() & Qt::WindowMaximized);
    frame.normalizeWidget();
    QVERIFY(!normal->isHidden() && maximised->isHidden());
    QCOMPARE(frame.windowState(), Qt::WindowNoState);
    frame.changeFullscreen();
    QVERIFY(normal->isHidden() && !maximised->isHidden());
    frame.changeNormalScreen();
    QVERIFY(!normal->isHidden());
    frame.minimizeWidget();
    QVERIFY(frame.windowState() & Qt::WindowMinimized);

    QSignalSpy quit(&frame, &MainWindow::quit);
    frame.finish();
    QCOMPARE(quit.count(), 1);
    QVERIFY(left->isHidden() && right->isHidden() && frame.isHidden());
}

QTEST_MAIN(TestKitViews)
#include "tst_kitviews.moc"
