#include "widgets/keyboardreach.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QWidget>

namespace {
// A label of links reached by Tab lands on its first link (Shift+Tab on its
// last) instead of on the label around them, where nothing shows the focus.
class LinkLanding : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn || delivering)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)
            return false;
        // The label takes the focus first (its links come alive then), and
        // then steps onto the link at that end.
        delivering = true;
        QCoreApplication::sendEvent(watched, event);
        delivering = false;
        QKeyEvent step(QEvent::KeyPress,
                       reason == Qt::TabFocusReason ? Qt::Key_Tab : Qt::Key_Backtab,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &step);
        return true;
    }

private:
    bool delivering = false;
};
} // namespace

void KeyboardReach::enable(QWidget* widget)
{
    // By Tab only: a click on it leaves the keyboard where it was.
    widget->setFocusPolicy(Qt::TabFocus);
    // Room for the ring, so it never covers the text.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QMargins margins = label->contentsMargins();
        margins.setLeft(qMax(margins.left(), 4));
        margins.setRight(qMax(margins.right(), 4));
        margins.setTop(qMax(margins.top(), 2));
        margins.setBottom(qMax(margins.bottom(), 2));
        label->setContentsMargins(margins);
    }
}

void KeyboardReach::enableLinks(QLabel* label)
{
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->installEventFilter(new LinkLanding(label));
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
