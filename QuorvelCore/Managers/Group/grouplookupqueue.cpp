#include "Managers/Group/grouplookupqueue.h"

bool GroupLookupQueue::enqueue(const QString& id)
{
    if (id.isEmpty() || contains(id))
        return false;
    if (!currentId.isEmpty()) {
        waiting.enqueue(id);
        return false;
    }
    currentId = id;
    return true;
}

bool GroupLookupQueue::enqueueChanged(const QString& id)
{
    if (!id.isEmpty() && id == currentId && !waiting.contains(id)) {
        waiting.enqueue(id);
        return false;
    }
    return enqueue(id);
}

bool GroupLookupQueue::contains(const QString& id) const
{
    return id == currentId || waiting.contains(id);
}

QString GroupLookupQueue::release()
{
    currentId.clear();
    if (!waiting.isEmpty())
        currentId = waiting.dequeue();
    return currentId;
}
