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
    paintRing(widget, widget->rect());
}

void KeyboardReach::paintRing(QWidget* widget, const QRect& part)
{
    if (!widget->hasFocus())
        return;
    QPainter painter(widget);
    painter.setRenderHint(QPainter::Antialiasing);
    // Orange against the blue buttons and the grey pages alike.
    QPen pen(QColor(0xf5, 0x7c, 0x00));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(part).adjusted(1, 1, -1, -1), 4, 4);
}
