#include "widgets/keyboardreach.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

void KeyboardReach::enable(QWidget* widget)
{
    // By Tab only: a click on it leaves the keyboard where it was.
    widget->setFocusPolicy(Qt::TabFocus);
}

bool KeyboardReach::presses(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if (held != Qt::NoModifier)
        return false;
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
           event->key() == Qt::Key_Enter;
}

void KeyboardReach::paintRing(QWidget* widget)
{
    if (!widget->hasFocus())
        return;
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0x0d, 0x47, 0xa1));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(widget->rect()).adjusted(1, 1, -1, -1), 4, 4);
}
