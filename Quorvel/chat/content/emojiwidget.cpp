#include "chat/content/emojiwidget.h"

#include "chat/content/emojibuttonspanel.h"
#include "foundation/simpleqtlogger.h"
#include "widgets/emojigrid.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

EmojiWidget* EmojiWidget::instance = nullptr;

namespace {
const char* const kStoreName = "emojiDataBase";
const char* const kRecentKey = "recentEmojis";
} // namespace

EmojiWidget* EmojiWidget::getInstance()
{
    if (!instance)
        instance = new EmojiWidget();
    return instance;
}

void EmojiWidget::deleteInstance()
{
    L_DEBUG(QStringLiteral("EmojiWidget::deleteInstance() |"));
    delete instance;
    instance = nullptr;
}

bool EmojiWidget::exists()
{
    return instance != nullptr;
}

bool EmojiWidget::isEmojiPath(const QString& path)
{
    static const QRegularExpression form(
        QStringLiteral("^:/emojis/png/[0-9a-f]{4,5}(-[0-9a-f]{4,5})*\\.png$"));
    return form.match(path).hasMatch();
}

QString EmojiWidget::imageTag(const QString& path)
{
    return QStringLiteral("<img src=\"") + path + QStringLiteral("\" />");
}

EmojiWidget::EmojiWidget()
    : QFrame(nullptr), outer(new QVBoxLayout), scroll(new QScrollArea(this)), content(new QWidget),
      pagesLayout(new QVBoxLayout)
{
    store.setDBName(QString::fromLatin1(kStoreName));
    QString stored;
    if (store.get(QString::fromLatin1(kRecentKey), &stored))
        for (const QString& path : stored.split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (isEmojiPath(path) && !recent.contains(path))
                recent << path;
    while (recent.size() > kRecentLimit)
        recent.removeLast();

    setStyleSheet(QStringLiteral("QFrame{border-radius: 5px; background-color: white;}"));
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);

    scroll->setMinimumSize(100, 100);
    scroll->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    content->setStyleSheet(QStringLiteral("QWidget{background-color: transparent;}"));
    pagesLayout->setSpacing(0);
    pagesLayout->setContentsMargins(EmojiGrid::pageMargin, EmojiGrid::pageMargin,
                                    EmojiGrid::pageMargin, EmojiGrid::pageMargin);
    // Leading: rows start at the right in a right-to-left interface.
    pagesLayout->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    content->setLayout(pagesLayout);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(scroll);
    setLayout(outer);
    connect(scroll->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &EmojiWidget::fillShownPages);

    refreshRecentPage();
    setupEmojis();
}

EmojiWidget::~EmojiWidget() = default;

void EmojiWidget::refreshRecentPage()
{
    if (!recentPanel) {
        recentPanel = new EmojiButtonsPanel(content);
        pagesLayout->addWidget(recentPanel, 1);
        recentPanel->setTitle(QStringLiteral("recent"));
        connect(recentPanel, &EmojiButtonsPanel::emojiClicked, this, &EmojiWidget::emojiClicked);
    }
    if (recent.isEmpty()) {
        recentPanel->hide();
        return;
    }
    recentPanel->setEmojis(recent);
    recentPanel->show();
}

void EmojiWidget::setupEmojis()
{
    const QStringList names =
        EmojiButtonsPanel::readList(QStringLiteral(":/emojis/categories/categories.txt"));
    for (const QString& name : names) {
        EmojiButtonsPanel* page = new EmojiButtonsPanel(content);
        page->setCategory(name);
        pagesLayout->addWidget(page, 0);
        connect(page, &EmojiButtonsPanel::emojiClicked, this, &EmojiWidget::emojiClicked);
        pages << page;
    }
    content->setFixedWidth(EmojiGrid::pageWidth);
    resolveSize();
    L_DEBUG(QStringLiteral("EmojiWidget::setupEmojis() | ") + names.join(QLatin1Char(',')));
}

void EmojiWidget::resolveSize()
{
    scroll->setFixedSize(EmojiGrid::pageWidth + 2 * EmojiGrid::pageMargin, EmojiGrid::panelHeight);
    L_DEBUG(QStringLiteral("EmojiWidget::resolveSize() | %1 %2 %3")
                .arg(EmojiGrid::pageWidth)
                .arg(content->width())
                .arg(EmojiGrid::pageMargin));
}

void EmojiWidget::resolvePosition(QWidget* emojiBtn)
{
    if (!emojiBtn)
        return;
    const QPoint global = emojiBtn->mapToGlobal(QPoint(0, 0));
    move(global.x() + 10, global.y() - EmojiGrid::panelHeight - 10);
    L_DEBUG(QStringLiteral("EmojiWidget::resolvePosition | %1,%2 %3,%4")
                .arg(emojiBtn->x())
                .arg(emojiBtn->y())
                .arg(global.x())
                .arg(global.y()));
}

void EmojiWidget::open(QWidget* chatWindow, QWidget* emojiBtn)
{
    refreshRecentPage();
    resolvePosition(emojiBtn);
    adjustSize();
    setFixedSize(sizeHint());
    window = chatWindow;
    show();
    raise();
    fillShownPages();
}

void EmojiWidget::fillShownPages()
{
    pagesLayout->activate();
    const int top = scroll->verticalScrollBar()->value();
    const int bottom = top + scroll->viewport()->height();
    for (EmojiButtonsPanel* page : qAsConst(pages)) {
        if (!page->isFilled() && page->y() < bottom && page->y() + page->height() > top)
            page->fill();
    }
}

void EmojiWidget::emojiClicked(const QString& emojiFile)
{
    if (!isEmojiPath(emojiFile))
        return;
    recent.removeAll(emojiFile);
    recent.prepend(emojiFile);
    while (recent.size() > kRecentLimit)
        recent.removeLast();
    store.put(QString::fromLatin1(kRecentKey), recent.join(QLatin1Char(',')));
    emit addTag(imageTag(emojiFile));
}

void EmojiWidget::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the picker; every other key goes on to the message field.
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    emit keyPressed(event);
}

void EmojiWidget::closeEvent(QCloseEvent* event)
{
    window = nullptr;
    QFrame::closeEvent(event);
}
