#include "chat/chatroworder.h"

#include "chat/chatwidget.h"

#include <QBoxLayout>
#include <QEvent>
#include <QWidget>

ChatRowOrder::ChatRowOrder(QBoxLayout* layout, QObject* parent) : QObject(parent), layout(layout) {}

void ChatRowOrder::moveToTop(ChatWidget* row)
{
    moveTo(row, 0);
}

void ChatRowOrder::placeByLastMessage(ChatWidget* row)
{
    const qint64 time = row->getLastMessageTime();
    int at = layout->count() - 1;
    // Counted without the row itself, as the list will be once it is out.
    for (int i = 0, place = 0; i < layout->count(); ++i) {
        auto* other = qobject_cast<ChatWidget*>(layout->itemAt(i)->widget());
        if (other == row)
            continue;
        if (other && other->getLastMessageTime() <= time) {
            at = place;
            break;
        }
        ++place;
    }
    moveTo(row, at);
}

void ChatRowOrder::moveTo(ChatWidget* row, int index)
{
    const int from = layout->indexOf(row);
    if (from < 0 || from == index)
        return;
    hold();
    // The row's own layout item moves: the row stays the list's child, so
    // nothing is made, deleted or shown again, and the list is searched once.
    layout->insertItem(index, layout->takeAt(from));
}

void ChatRowOrder::hold()
{
    // A layout held by someone else is laid out by them when they let go.
    if (held || !layout->isEnabled())
        return;
    held = true;
    layout->setEnabled(false);
    // Queued behind the events already waiting (the rest of a burst), and
    // ahead of a paint asked for from now on, which is posted at a lower
    // priority.
    QMetaObject::invokeMethod(this, &ChatRowOrder::settle, Qt::QueuedConnection);
    // A paint already waiting is handled in the same pass as the burst,
    // before anything posted from now on: the window's request to paint
    // lays the list out first.
    if (QWidget* list = layout->parentWidget()) {
        window = list->window();
        window->installEventFilter(this);
    }
}

bool ChatRowOrder::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window && event->type() == QEvent::UpdateRequest)
        settle();
    return false;
}

void ChatRowOrder::settle()
{
    if (!held)
        return;
    held = false;
    if (window)
        window->removeEventFilter(this);
    window = nullptr;
    layout->setEnabled(true);
    layout->activate();
}
