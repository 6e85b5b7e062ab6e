#include "widgets/elidedlabel.h"

#include <QFontMetrics>

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

int ElidedLabel::textWidth() const
{
    // Where QLabel draws its text: inside the frame, the style sheet's padding
    // and the contents margins, less the label's margin on both sides and
    // its indent (a framed label indents by half an "x" unless told).
    int room = contentsRect().width() - 2 * margin();
    const int shift = indent() >= 0      ? indent()
                      : frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2
                                         : 0;
    if (alignment() & (Qt::AlignLeft | Qt::AlignRight))
        room -= shift;
    return qMax(0, room);
}

QString ElidedLabel::elided() const
{
    return fontMetrics().elidedText(full, Qt::ElideRight, textWidth());
}

void ElidedLabel::setText(const QString& text)
{
    full = text;
    QLabel::setText(elided());
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    const QString shown = elided();
    if (shown != text())
        QLabel::setText(shown);
    QLabel::paintEvent(event);
}
