#include "chat/content/emojibuttonspanel.h"

#include "chat/content/emojibutton.h"
#include "foundation/simpleqtlogger.h"
#include "widgets/emojigrid.h"
#include "widgets/fonts.h"

#include <QFile>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QTextStream>

EmojiButtonsPanel::EmojiButtonsPanel(QWidget* parent)
    : QWidget(parent), title(new QLabel(this)), grid(new QGridLayout(this))
{
    // A short row (the recent emojis) starts where the reader starts: at the
    // right in a right-to-left interface.
    grid->setAlignment(Qt::AlignLeading | Qt::AlignTop);
    grid->setContentsMargins(EmojiGrid::pageMargin, EmojiGrid::pageMargin, EmojiGrid::pageMargin,
                             EmojiGrid::pageMargin);
    grid->setSpacing(0);
    title->setFont(Fonts::getFont(20));
    title->setStyleSheet(QStringLiteral("QLabel{background-color: transparent; color: gray;}"));
    grid->addWidget(title, 0, 0, 1, EmojiGrid::columns);
    setFixedWidth(EmojiGrid::pageWidth);
    setStyleSheet(QStringLiteral("QWidget{background-color: transparent;}"));
}

QStringList EmojiButtonsPanel::readList(const QString& resource)
{
    QStringList lines;
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        QString line = stream.readLine();
        line.remove(QLatin1Char('\n'));
        line.remove(QLatin1Char('\r'));
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

QString EmojiButtonsPanel::cellKey(int row, int column)
{
    return QStringLiteral("%1,%2").arg(row).arg(column);
}

void EmojiButtonsPanel::setCategory(const QString& name)
{
    category = name;
    codes = readList(QStringLiteral(":/emojis/categories/") + name + QStringLiteral(".txt"));
    L_DEBUG(QStringLiteral("EmojiButtonsPanel::setCategory() | ") + codes.join(QLatin1Char(',')));
    setTitle(name);
    // Until its buttons are made the page keeps the room they will take, so
    // the pages below it never move when it fills.
    setMinimumHeight(filledHeight());
}

int EmojiButtonsPanel::filledHeight() const
{
    if (codes.isEmpty())
        return 0;
    const QSize picture =
        QImageReader(EmojiButton::largePath(EmojiButton::smallPath(codes.first()))).size();
    const int rows = (codes.size() + EmojiGrid::columns - 1) / EmojiGrid::columns;
    const QMargins margins = grid->contentsMargins();
    return margins.top() + margins.bottom() + title->sizeHint().height() +
           rows * (picture.height() + EmojiButton::kInset);
}

void EmojiButtonsPanel::fill()
{
    if (isFilled())
        return;
    for (int i = buttons.size(); i < codes.size(); ++i) {
        EmojiButton* button = new EmojiButton(codes.at(i), this);
        place(button, i / EmojiGrid::columns + 1, i % EmojiGrid::columns);
        button->show();
    }
}

void EmojiButtonsPanel::setTitle(const QString& name)
{
    title->setText(tr(name.toUtf8().constData()));
}

void EmojiButtonsPanel::setEmojis(const QStringList& paths)
{
    for (int i = 0; i < paths.size() && i < EmojiGrid::emojiPerPage; ++i) {
        const int row = i / EmojiGrid::columns + 1;
        const int column = i % EmojiGrid::columns;
        EmojiButton* button = buttons.value(cellKey(row, column));
        if (!button) {
            button = new EmojiButton(this);
            place(button, row, column);
        }
        button->setEmoji(paths.at(i));
        button->show();
    }
}

void EmojiButtonsPanel::place(EmojiButton* button, int row, int column)
{
    connect(button, &EmojiButton::clicked, this, &EmojiButtonsPanel::emojiClicked);
    buttons.insert(cellKey(row, column), button);
    grid->addWidget(button, row, column, 1, 1);
}
