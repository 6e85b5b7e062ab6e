#include "foundation/queue.h"

Queue::Queue(QObject* parent) : QObject(parent)
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &Queue::timeout);
}

Queue::~Queue()
{
    delete current;
    qDeleteAll(items);
}

void Queue::setTimeout(int milliseconds)
{
    timeoutMs = qMax(0, milliseconds);
    if (timeoutMs == 0)
        timer.stop();
}

void Queue::enqueue(Queueable* item)
{
    if (!item)
        return;
    items.append(item);
    if (!current)
        startNext();
}

void Queue::currentItemTaskFinished()
{
    if (!current)
        return;
    timer.stop();
    delete current;
    current = nullptr;
    startNext();
}

void Queue::timeout()
{
    if (current)
        emit currentItemTimedOut();
}

void Queue::startNext()
{
    if (items.isEmpty())
        return;
    current = items.takeFirst();
    if (timeoutMs > 0)
        timer.start(timeoutMs);
    emit nextItem(current);
}
