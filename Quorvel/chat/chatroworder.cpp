#include "chat/chatroworder.h"

#include "chat/chatwidget.h"

#include <QBoxLayout>

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
    // Out of the layout first: inserting a row that is still in it would
    // leave a second item for the same row behind.
    layout->removeWidget(row);
    layout->insertWidget(index, row);
}

void ChatRowOrder::hold()
{
    // A layout held by someone else is laid out by them when they let go.
    if (held || !layout->isEnabled())
        return;
    held = true;
    layout->setEnabled(false);
    // Queued behind the events already waiting (the rest of a burst), and
    // ahead of the paint, which is posted at a lower priority.
    QMetaObject::invokeMethod(this, &ChatRowOrder::settle, Qt::QueuedConnection);
}

void ChatRowOrder::settle()
{
    if (!held)
        return;
    held = false;
    layout->setEnabled(true);
    layout->activate();
}
