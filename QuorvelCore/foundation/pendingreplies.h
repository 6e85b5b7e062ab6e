#ifndef PENDINGREPLIES_H
#define PENDINGREPLIES_H

#include <QList>

// The values of requests of one kind, oldest first, for a service that answers
// one request at a time in the order they were sent and whose replies do not
// always name their request. Each accepted reply takes the oldest value; each
// failure frees it, so the next reply meets its own request. Add the value
// before sending: a request that cannot be sent is failed at once.
template <typename T> class PendingReplies
{
public:
    void append(const T& value) { values.append(value); }
    bool isEmpty() const { return values.isEmpty(); }
    int size() const { return values.size(); }
    bool contains(const T& value) const { return values.contains(value); }
    // The value the accepted reply in hand answers; false when none waits.
    bool takeAnswered(T* value)
    {
        if (values.isEmpty())
            return false;
        *value = values.takeFirst();
        return true;
    }
    // Given every final result of the kind: one that is no success frees the
    // oldest value (a success has already taken it with its reply).
    void release(int resultCode)
    {
        if (resultCode != 200 && !values.isEmpty())
            values.removeFirst();
    }

private:
    QList<T> values;
};

#endif // PENDINGREPLIES_H
