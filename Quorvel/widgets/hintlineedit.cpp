#include "widgets/hintlineedit.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionFrame>

HintLineEdit::HintLineEdit(QWidget* parent) : QLineEdit(parent)
{
    tintPlaceholder();
}

bool HintLineEdit::event(QEvent* event)
{
    const bool handled = QLineEdit::event(event);
    // Polishing applies the style sheet's palette: the hint colour goes back on top.
    if (event->type() == QEvent::Polish || event->type() == QEvent::StyleChange)
        tintPlaceholder();
    return handled;
}

void HintLineEdit::tintPlaceholder()
{
    if (palette().color(QPalette::PlaceholderText) == hintColour())
        return;
    QPalette tinted = palette();
    tinted.setColor(QPalette::PlaceholderText, hintColour());
    setPalette(tinted);
}

void HintLineEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    // Only a focused, centred, empty field lacks the hint the base class draws.
    if (!hasFocus() || !(alignment() & Qt::AlignHCenter) || !text().isEmpty() ||
        placeholderText().isEmpty())
        return;
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    QPainter painter(this);
    painter.setPen(hintColour());
    painter.setFont(font());
    painter.drawText(contents, Qt::AlignCenter,
                     fontMetrics().elidedText(placeholderText(), Qt::ElideRight, contents.width()));
}
