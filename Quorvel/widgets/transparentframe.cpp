#include "widgets/transparentframe.h"

#include <QFontMetrics>
#include <QPainter>

TransparentFrame::TransparentFrame(QWidget* parent) : QWidget(parent)
{
    font.setPointSize(8);
}

void TransparentFrame::setText(const QString& value)
{
    if (value.isEmpty())
        hide();
    else if (isHidden())
        show();
    text = value;
    update();
}

void TransparentFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    QRect box = QFontMetrics(font).boundingRect(text);
    box.setSize(box.size() + QSize(10, 12));
    box.moveTopLeft(QPoint(0, 0));
    const QColor shade(0, 0, 0, 150);
    painter.setPen(shade);
    painter.setBrush(shade);
    painter.drawRoundedRect(box, 3.0, 3.0);
    painter.setPen(Qt::white);
    QRect textBox = box;
    textBox.setLeft(4);
    // Drawn as plain text: file names and captions come from other people.
    painter.drawText(textBox, Qt::AlignVCenter | Qt::TextSingleLine, text);
}
