#ifndef QUEUE_H
#define QUEUE_H

#include "foundation/queueable.h"
#include "foundation/quorvelcore_export.h"

#include <QList>
#include <QObject>
#include <QTimer>

// Jobs handled one at a time, with an optional time-out for the current one. The queue owns
// its jobs: finishing the current job deletes it and hands out the next from the front.
class QUORVELCORE_EXPORT Queue : public QObject
{
    Q_OBJECT
public:
    explicit Queue(QObject* parent = nullptr);
    ~Queue() override;

    // Milliseconds the current job may take; 0 (the default) means no time-out.
    void setTimeout(int milliseconds);
    int getTimeout() const { return timeoutMs; }

    // Appends a job; a job added to an idle queue becomes the current one at once.
    void enqueue(Queueable* item);
    Queueable* getCurrentItem() const { return current; }
    int count() const { return items.size() + (current ? 1 : 0); }

signals:
    void nextItem(Queueable* item);
    void currentItemTimedOut();

public slots:
    void currentItemTaskFinished();
    void timeout();

private:
    void startNext();

    QList<Queueable*> items;
    Queueable* current = nullptr;
    QTimer timer;
    int timeoutMs = 0;
};

#endif // QUEUE_H
