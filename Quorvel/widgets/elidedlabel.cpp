#include "widgets/elidedlabel.h"

#include <QFontMetrics>

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QString ElidedLabel::elided() const
{
    return fontMetrics().elidedText(full, Qt::ElideRight, width() - 2);
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
