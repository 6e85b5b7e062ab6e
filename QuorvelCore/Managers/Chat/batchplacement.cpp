#include "Managers/Chat/batchplacement.h"

#include <algorithm>

namespace {
// Counts of the entries placed so far, by their place in time order.
class PlacedCounts
{
public:
    explicit PlacedCounts(int size) : tree(size + 1, 0) {}

    void add(int index)
    {
        for (int i = index + 1; i < tree.size(); i += i & -i)
            ++tree[i];
    }

    // How many placed entries lie before the given index.
    int before(int index) const
    {
        int sum = 0;
        for (int i = index; i > 0; i -= i & -i)
            sum += tree[i];
        return sum;
    }

private:
    QVector<int> tree;
};
} // namespace

BatchPlacement::BatchPlacement(int historySize, const QVector<Entry>& list) : entries(list)
{
    const int count = entries.size();
    sorted.resize(count);
    for (int i = 0; i < count; ++i)
        sorted[i] = i;
    // Equal times keep list order: a later message goes above an earlier one.
    std::stable_sort(sorted.begin(), sorted.end(),
                     [this](int a, int b) { return entries[a].time < entries[b].time; });
    QVector<int> placeOf(count);
    for (int i = 0; i < count; ++i)
        placeOf[sorted[i]] = i;

    // Each entry in list order sees the history and the entries before it.
    // Those before it in time order are exactly the ones not newer than it:
    // an entry of the same time later in the list is not placed yet.
    PlacedCounts placed(count);
    for (int i = 0; i < count; ++i) {
        const int below = entries[i].historyBelow + placed.before(placeOf[i]);
        const int above = historySize + i - below;
        if (above <= below)
            ++up;
        else
            ++down;
        placed.add(placeOf[i]);
    }
}

int BatchPlacement::rankInOrder(int i) const
{
    return entries[sorted[i]].historyBelow + i;
}

int BatchPlacement::entriesBelowHistory(int historyRank) const
{
    // The history message of rank r has r below it: an entry lies below it
    // when no more than r history messages lie below the entry.
    const auto end =
        std::upper_bound(sorted.begin(), sorted.end(), historyRank, [this](int rank, int index) {
            return rank < entries[index].historyBelow;
        });
    return int(end - sorted.begin());
}
