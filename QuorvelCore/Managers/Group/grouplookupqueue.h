#ifndef GROUPLOOKUPQUEUE_H
#define GROUPLOOKUPQUEUE_H

#include "foundation/quorvelcore_export.h"

#include <QQueue>
#include <QString>

// A single-flight queue of group ids: one id is current (its request is out),
// the others wait in order. Each id is held once.
class QUORVELCORE_EXPORT GroupLookupQueue
{
public:
    // True when the id became current and its request is to be sent now.
    bool enqueue(const QString& id);
    // As enqueue, for an id whose state changed: when its request is already
    // out (and may have been answered before the change) it runs once more.
    bool enqueueChanged(const QString& id);
    bool contains(const QString& id) const;
    QString current() const { return currentId; }
    void removeWaiting(const QString& id) { waiting.removeAll(id); }
    // Ends the current request; the id that becomes current (to be sent now),
    // or an empty text when none waits.
    QString release();

private:
    QString currentId;
    QQueue<QString> waiting;
};

#endif // GROUPLOOKUPQUEUE_H
