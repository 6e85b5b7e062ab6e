// The emoji picker offscreen with the program's emoji resources and a real
// store: pages in order, filled as they come into view, the recent page and
// its store (order, cap, clean reading), clicks with the mouse, tags, key
// forwarding and placement.

#include "chat/content/emojibutton.h"
#include "chat/content/emojibuttonspanel.h"
#include "chat/content/emojiwidget.h"
#include "foundation/database.h"
#include "widgets/emojigrid.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

class TestEmojiPicker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void pagesFollowTheCategoryList();
    void pagesFillWhenScrolledIntoView();
    void storedRecentListIsReadClean_data();
    void storedRecentListIsReadClean();
    void clicksMoveToFrontAndAreCapped();
    void onlyLeftClicksPick();
    void keysAndWindowFollowTheChatWindow();
    void escapeClosesAndRecentRowStartsAtTheRight();
    void screenshotsOfEveryPage();

private:
    static QString storedRecent();
    static void store(const QString& value);
    static QString path(const QString& code) { return EmojiButton::smallPath(code); }
    // Opens the picker over a window of its own.
    static EmojiWidget* openPicker(QWidget* window);
    // Scrolls the picker as the user does until the page is at its top (or
    // the end of the list is reached).
    static void showPage(EmojiWidget* picker, QWidget* page);
};

EmojiWidget* TestEmojiPicker::openPicker(QWidget* window)
{
    EmojiWidget* picker = EmojiWidget::getInstance();
    window->resize(500, 500);
    window->show();
    picker->open(window, window);
    return picker;
}

void TestEmojiPicker::showPage(EmojiWidget* picker, QWidget* page)
{
    picker->scrollArea()->verticalScrollBar()->setValue(page->y());
}

void TestEmojiPicker::initTestCase()
{
    static QTranslator english;
    QVERIFY(english.load(":/Lng/quorvel_english.qm"));
    QCoreApplication::installTranslator(&english);
}

void TestEmojiPicker::cleanup()
{
    EmojiWidget::deleteInstance();
}

QString TestEmojiPicker::storedRecent()
{
    DataBase db;
    db.setDBName("emojiDataBase");
    QString value;
    db.get("recentEmojis", &value);
    return value;
}

void TestEmojiPicker::store(const QString& value)
{
    DataBase db;
    db.setDBName("emojiDataBase");
    QVERIFY(db.put("recentEmojis", value));
}

void TestEmojiPicker::pagesFollowTheCategoryList()
{
    store(QString());
    QWidget window;
    EmojiWidget* picker = openPicker(&window);
    const QStringList names = {"people",     "nature",  "food",   "travel",
                               "activities", "objects", "symbols"};
    QCOMPARE(EmojiButtonsPanel::readList(":/emojis/categories/categories.txt"), names);
    QCOMPARE(picker->categoryPages().size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EmojiButtonsPanel* page = picker->categoryPages().at(i);
        const QStringList codes =
            EmojiButtonsPanel::readList(":/emojis/categories/" + names.at(i) + ".txt");
        QVERIFY(!codes.isEmpty());
        showPage(picker, page);
        QCOMPARE(page->getCategory(), names.at(i));
        QCOMPARE(page->buttonCount(), codes.size());
        QCOMPARE(page->width(), EmojiGrid::pageWidth);
        // Row 1 holds the first eight codes; column 0 is the rightmost cell.
        QCOMPARE(page->buttonAt(1, 0)->filePath(), path(codes.first()));
        QVERIFY(!page->buttonAt(1, 0)->pixmap()->isNull());
        const int last = codes.size() - 1;
        QCOMPARE(page->buttonAt(last / 8 + 1, last % 8)->filePath(), path(codes.last()));
    }
    QCOMPARE(picker->categoryPages().first()->titleLabel()->text(), QString("People"));
    QCOMPARE(picker->categoryPages().at(3)->titleLabel()->text(), QString("Travel and Flags"));
    QVERIFY(picker->recentPage()->isHidden());
    QCOMPARE(picker->scrollArea()->size(), QSize(340, 350));
    QCOMPARE(EmojiButton::largePath(":/emojis/png/1f600.png"),
             QString(":/emojis/png_large/1f600.png"));
    QCOMPARE(EmojiButtonsPanel::readList(":/emojis/categories/no-such.txt"), QStringList());
}

void TestEmojiPicker::pagesFillWhenScrolledIntoView()
{
    store(path("1f600"));
    QWidget window;
    EmojiWidget* picker = openPicker(&window);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    const QList<EmojiButtonsPanel*> pages = picker->categoryPages();
    // The first opening makes what is in view: the recent page and the
    // category under it; the rest waits.
    QVERIFY(pages.first()->isFilled());
    QVERIFY(pages.first()->buttonAt(1, 0));
    for (int i = 2; i < pages.size(); ++i)
        QVERIFY2(!pages.at(i)->isFilled(), qPrintable(pages.at(i)->getCategory()));
    QList<int> tops;
    for (EmojiButtonsPanel* page : pages)
        tops << page->y();
    const int range = picker->scrollArea()->verticalScrollBar()->maximum();

    // Each page fills as it comes into view, at the height it was kept at:
    // nothing below it moves and the scroll range stays.
    for (int i = 1; i < pages.size(); ++i) {
        showPage(picker, pages.at(i));
        QVERIFY(pages.at(i)->isFilled());
        QCoreApplication::processEvents();
        QCOMPARE(pages.at(i)->buttonCount(),
                 EmojiButtonsPanel::readList(":/emojis/categories/" + pages.at(i)->getCategory() +
                                             ".txt")
                     .size());
    }
    for (int i = 0; i < pages.size(); ++i)
        QCOMPARE(pages.at(i)->y(), tops.at(i));
    QCOMPARE(picker->scrollArea()->verticalScrollBar()->maximum(), range);

    // A button of a page filled late picks like any other.
    QSignalSpy tags(picker, &EmojiWidget::addTag);
    QTest::mouseClick(pages.last()->buttonAt(1, 1), Qt::LeftButton);
    QCOMPARE(tags.size(), 1);
    QCOMPARE(picker->recentEmojis().first(), pages.last()->buttonAt(1, 1)->filePath());
}

void TestEmojiPicker::storedRecentListIsReadClean_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("recent");
    const QString a = path("1f600"), b = path("1f3cb-1f3fc"), c = path("2764");
    QTest::newRow("nothing") << QString() << QStringList();
    QTest::newRow("empty parts") << "," + a + ",," + b + "," << QStringList({a, b});
    QTest::newRow("repeats") << a + "," + b + "," + a << QStringList({a, b});
    QTest::newRow("foreign entries")
        << a + ",https://x.test/a.png,:/emojis/png/\" onerror=x.png," + c << QStringList({a, c});
}

void TestEmojiPicker::storedRecentListIsReadClean()
{
    QFETCH(QString, stored);
    QFETCH(QStringList, recent);
    store(stored);
    EmojiWidget* picker = EmojiWidget::getInstance();
    QCOMPARE(picker->recentEmojis(), recent);
    QCOMPARE(picker->recentPage()->isHidden(), recent.isEmpty());
}

// Right to left, the few recent emojis sit at the right of their row; Escape
// closes the picker instead of reaching the message field.
void TestEmojiPicker::escapeClosesAndRecentRowStartsAtTheRight()
{
    QApplication::setLayoutDirection(Qt::RightToLeft);
    store(QString());
    QWidget window;
    EmojiWidget* picker = openPicker(&window);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    EmojiButtonsPanel* people = picker->categoryPages().first();
    QTest::mouseClick(people->buttonAt(1, 0), Qt::LeftButton);
    QTest::mouseClick(people->buttonAt(1, 1), Qt::LeftButton);
    // Opened again, the picker shows the two at the top.
    picker->close();
    picker = openPicker(&window);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    EmojiButtonsPanel* recent = picker->recentPage();
    QTRY_VERIFY(recent->isVisible() && recent->buttonAt(1, 1) &&
                recent->buttonAt(1, 1)->isVisible());
    QApplication::processEvents();
    const int newest = recent->buttonAt(1, 0)->geometry().center().x();
    const int older = recent->buttonAt(1, 1)->geometry().center().x();
    QVERIFY2(newest > recent->width() / 2 && older < newest,
             qPrintable(QStringLiteral("%1 %2 in %3").arg(newest).arg(older).arg(recent->width())));

    QTest::keyClick(picker, Qt::Key_Escape);
    QVERIFY(!picker->isVisible());
    QApplication::setLayoutDirection(Qt::LeftToRight);
}

void TestEmojiPicker::clicksMoveToFrontAndAreCapped()
{
    store(QString());
    QWidget window;
    EmojiWidget* picker = openPicker(&window);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    QSignalSpy tags(picker, &EmojiWidget::addTag);
    EmojiButtonsPanel* people = picker->categoryPages().first();
    EmojiButtonsPanel* symbols = picker->categoryPages().last();
    QStringList clicked;
    for (int i = 0; i < 3; ++i) {
        EmojiButton* button = people->buttonAt(1, i);
        QTest::mouseClick(button, Qt::LeftButton);
        clicked.prepend(button->filePath());
    }
    QCOMPARE(tags.size(), 3);
    QCOMPARE(tags.last().first().toString(), "<img src=\"" + clicked.first() + "\" />");
    QCOMPARE(picker->recentEmojis(), clicked);

    // The third is clicked again: first now, length unchanged.
    QTest::mouseClick(people->buttonAt(1, 0), Qt::LeftButton);
    QCOMPARE(picker->recentEmojis().first(), people->buttonAt(1, 0)->filePath());
    QCOMPARE(picker->recentEmojis().size(), 3);

    // 33 distinct clicks keep the 32 newest.
    showPage(picker, symbols);
    for (int i = 0; i < 33; ++i)
        QTest::mouseClick(symbols->buttonAt(i / 8 + 1, i % 8), Qt::LeftButton);
    const QStringList recent = picker->recentEmojis();
    QCOMPARE(recent.size(), EmojiWidget::kRecentLimit);
    QCOMPARE(recent.first(), symbols->buttonAt(5, 0)->filePath());
    QVERIFY(!recent.contains(symbols->buttonAt(1, 0)->filePath()));

    // The recent page shows the new order at the next opening, and the list
    // survives a restart.
    picker->close();
    picker->open(&window, &window);
    QVERIFY(picker->recentPage()->isVisible());
    QCOMPARE(picker->recentPage()->buttonAt(1, 0)->filePath(), recent.first());
    QCOMPARE(picker->recentPage()->buttonCount(), 32);
    EmojiWidget::deleteInstance();
    QCOMPARE(storedRecent().split(','), recent);
    QCOMPARE(EmojiWidget::getInstance()->recentEmojis(), recent);
}

void TestEmojiPicker::onlyLeftClicksPick()
{
    store(QString());
    QWidget window;
    EmojiWidget* picker = openPicker(&window);
    QSignalSpy tags(picker, &EmojiWidget::addTag);
    showPage(picker, picker->categoryPages().at(1));
    EmojiButton* button = picker->categoryPages().at(1)->buttonAt(1, 2);
    QTest::mouseClick(button, Qt::RightButton);
    QTest::mouseClick(button, Qt::MiddleButton);
    QCOMPARE(tags.size(), 0);
    QVERIFY(picker->recentEmojis().isEmpty());
    picker->emojiClicked("javascript:alert(1)");
    QCOMPARE(tags.size(), 0);
}

void TestEmojiPicker::keysAndWindowFollowTheChatWindow()
{
    EmojiWidget* picker = EmojiWidget::getInstance();
    QWidget first, second;
    first.resize(400, 600);
    first.move(100, 100);
    second.resize(400, 600);
    first.show();
    second.show();
    QWidget* emojiButton = new QWidget(&first);
    emojiButton->setGeometry(10, 500, 30, 30);
    emojiButton->show();
    QList<int> keys;
    connect(picker, &EmojiWidget::keyPressed, this, [&](QKeyEvent* e) { keys << e->key(); });
    picker->open(&first, emojiButton);
    QCOMPARE(picker->chatWindow(), &first);
    const QPoint corner = emojiButton->mapToGlobal(QPoint(0, 0));
    QCOMPARE(picker->pos(), QPoint(corner.x() + 10, corner.y() - 360));
    QTest::keyClick(picker, Qt::Key_A);
    QTest::keyClick(picker, Qt::Key_Return);
    QCOMPARE(keys, QList<int>({Qt::Key_A, Qt::Key_Return}));
    picker->close();
    QCOMPARE(picker->chatWindow(), nullptr);
    picker->open(&second, emojiButton);
    QCOMPARE(picker->chatWindow(), &second);
}

void TestEmojiPicker::screenshotsOfEveryPage()
{
    store(QStringList({path("1f600"), path("2764"), path("1f44d")}).join(','));
    EmojiWidget* picker = EmojiWidget::getInstance();
    QWidget window;
    window.resize(600, 600);
    window.show();
    picker->open(&window, &window);
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    QDir().mkpath(QUORVEL_BINARY_DIR "/screenshots");
    QList<QWidget*> pages{picker->recentPage()};
    for (EmojiButtonsPanel* page : picker->categoryPages())
        pages << page;
    for (QWidget* page : pages) {
        picker->scrollArea()->ensureWidgetVisible(page, 0, 0);
        picker->scrollArea()->verticalScrollBar()->setValue(page->y());
        QCoreApplication::processEvents();
        const QString name = static_cast<EmojiButtonsPanel*>(page)->getCategory();
        const QImage shot = picker->grab().toImage();
        QVERIFY(shot.save(QString(QUORVEL_BINARY_DIR "/screenshots/emoji-%1.png")
                              .arg(name.isEmpty() ? "recent" : name)));
    }
}

QTEST_MAIN(TestEmojiPicker)
#include "tst_emojipicker.moc"
