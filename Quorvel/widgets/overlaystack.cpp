#include "widgets/overlaystack.h"

#include "widgets/focusfield.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

// Sees Escape on its way to any widget while an overlay is open.
class EscapeKey : public QObject
{
public:
    explicit EscapeKey(OverlayStack* stack) : QObject(stack), stack(stack) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        return stack->escape(static_cast<QWidget*>(watched)->window());
    }

private:
    OverlayStack* stack;
};

namespace {
QPointer<OverlayStack> stackInstance;
}

OverlayStack::OverlayStack(QObject* parent) : QObject(parent), keys(new EscapeKey(this)) {}

OverlayStack* OverlayStack::instance()
{
    if (!stackInstance)
        stackInstance = new OverlayStack(qApp);
    return stackInstance;
}

int OverlayStack::indexOf(const QObject* overlay) const
{
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).overlay == overlay)
            return i;
    }
    return -1;
}

void OverlayStack::watch(QWidget* widget)
{
    // Installed again, the filter comes first: a host's filter that takes
    // the overlay's hiding for itself is asked after this one.
    widget->installEventFilter(this);
    if (watched.contains(widget))
        return;
    watched.insert(widget);
    connect(widget, &QObject::destroyed, this, &OverlayStack::forget);
}

void OverlayStack::opened(QWidget* overlay, std::function<void()> dismiss)
{
    if (!overlay)
        return;
    watch(overlay);
    push(overlay, std::move(dismiss));
}

void OverlayStack::track(QWidget* overlay, std::function<void()> escape)
{
    if (!overlay)
        return;
    ownEscapes.insert(overlay, std::move(escape));
    watch(overlay);
    if (overlay->isVisible())
        push(overlay, {});
}

bool OverlayStack::isOpen(const QWidget* overlay) const
{
    return indexOf(overlay) >= 0;
}

QWidget* OverlayStack::top(const QWidget* window) const
{
    for (int i = entries.size() - 1; i >= 0; --i) {
        QWidget* overlay = entries.at(i).overlay;
        if (overlay && overlay->window() == window)
            return overlay;
    }
    return nullptr;
}

void OverlayStack::push(QWidget* overlay, std::function<void()> dismiss)
{
    const int at = indexOf(overlay);
    if (at >= 0) {
        // Shown by its host while already open on its own.
        if (dismiss)
            entries[at].dismiss = std::move(dismiss);
        return;
    }
    Entry entry;
    entry.overlay = overlay;
    entry.dismiss = std::move(dismiss);
    entry.home = FocusField::outside(overlay);
    entries.append(entry);
    if (entries.size() == 1)
        qApp->installEventFilter(keys);
    FocusField::into(overlay);
}

void OverlayStack::remove(int index)
{
    const Entry gone = entries.takeAt(index);
    QWidget* overlay = gone.overlay;
    // An overlay opened from inside this one (a form chosen in the side menu
    // as it slides away) gives the keyboard back to where this one would.
    for (int i = index; i < entries.size(); ++i) {
        QWidget* home = entries.at(i).home;
        if (!home || (overlay && (home == overlay || overlay->isAncestorOf(home))))
            entries[i].home = gone.home;
    }
    if (index == entries.size()) {
        // Only a keyboard that was in the overlay, or is nowhere now, goes
        // back; one the person took elsewhere meanwhile stays there.
        QWidget* focused = QApplication::focusWidget();
        if (!focused && overlay)
            focused = overlay->window()->focusWidget();
        if (!focused || !focused->isVisible() ||
            (overlay && (focused == overlay || overlay->isAncestorOf(focused)))) {
            QPointer<QWidget> home = gone.home;
            FocusField::giveBack(home);
        }
    }
    if (entries.isEmpty())
        qApp->removeEventFilter(keys);
    emit uncovered();
}

void OverlayStack::forget(QObject* widget)
{
    watched.remove(widget);
    ownEscapes.remove(widget);
    for (int i = entries.size() - 1; i >= 0; --i) {
        // A deleted overlay's pointer is already empty.
        if (!entries.at(i).overlay)
            remove(i);
    }
}

bool OverlayStack::escape(QWidget* window)
{
    for (int i = entries.size() - 1; i >= 0; --i) {
        QWidget* overlay = entries.at(i).overlay;
        if (!overlay || overlay->window() != window)
            continue;
        // The overlay's own way out first, else what its host offers; with
        // neither, the key goes on to the widgets as usual.
        const std::function<void()> own = ownEscapes.value(overlay);
        const std::function<void()> action = own ? own : entries.at(i).dismiss;
        if (!action)
            return false;
        action();
        return true;
    }
    return false;
}

bool OverlayStack::eventFilter(QObject* object, QEvent* event)
{
    // Shown or hidden with its window (minimised, restored) changes nothing.
    if (event->spontaneous())
        return false;
    if (event->type() == QEvent::Show) {
        if (ownEscapes.contains(object))
            push(static_cast<QWidget*>(object), {});
    } else if (event->type() == QEvent::Hide) {
        const int at = indexOf(object);
        if (at >= 0)
            remove(at);
    }
    return false;
}

bool OverlayStack::inSight(const QWidget* widget, const QRect& part)
{
    if (!widget || part.isEmpty() || !widget->isVisible())
        return false;
    QWidget* top = widget->window();
    if (top->isMinimized())
        return false;
    // Its middle and corners: a small thing drawn over one of them (a toast,
    // a shadow) does not hide the rest.
    const QRect inner = part.width() > 4 && part.height() > 4 ? part.adjusted(2, 2, -2, -2) : part;
    const QPoint points[] = {inner.center(), inner.topLeft(), inner.topRight(), inner.bottomLeft(),
                             inner.bottomRight()};
    const QWidget* popup = QApplication::activePopupWidget();
    for (const QPoint& point : points) {
        const QPoint global = widget->mapToGlobal(point);
        // A popup window of its own (a full-screen viewer) over the window.
        if (popup && popup->window() != top && popup->window()->geometry().contains(global))
            continue;
        const QWidget* drawn = top->childAt(top->mapFromGlobal(global));
        if (drawn && (drawn == widget || widget->isAncestorOf(drawn)))
            return true;
    }
    return false;
}
