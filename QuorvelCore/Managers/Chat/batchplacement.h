#ifndef BATCHPLACEMENT_H
#define BATCHPLACEMENT_H

#include "foundation/quorvelcore_export.h"

#include <QVector>

// Where a batch of new messages lands in a chat's history, worked out at once.
// Placed one at a time in list order, each message goes above every message
// that is not newer than it, and the history makes room on its shorter side:
// the positions above move up when they are no more than those at or below,
// otherwise the positions at or below move down. The result here is the same
// as that, without moving any position more than once.
class QUORVELCORE_EXPORT BatchPlacement
{
public:
    struct Entry
    {
        qint64 time = 0;
        // How many messages of the history are not newer than this one.
        int historyBelow = 0;
    };

    // The entries in list order.
    BatchPlacement(int historySize, const QVector<Entry>& entries);

    // How far the oldest position moves down and the newest up.
    int movedDown() const { return down; }
    int movedUp() const { return up; }
    // The entries oldest first, as indexes into the list given.
    const QVector<int>& order() const { return sorted; }
    // The place (0 for the oldest) of the entry order()[i] in the history
    // that results.
    int rankInOrder(int i) const;
    // How many entries end below the history message of the given rank
    // (0 for the oldest of the history).
    int entriesBelowHistory(int historyRank) const;

private:
    QVector<Entry> entries;
    QVector<int> sorted;
    int down = 0;
    int up = 0;
};

#endif // BATCHPLACEMENT_H
