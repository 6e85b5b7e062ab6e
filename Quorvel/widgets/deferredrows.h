#ifndef DEFERREDROWS_H
#define DEFERREDROWS_H

#include "widgets/bulklayout.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

#include <functional>

// A long list given at once is built a screenful first, the rest in slices
// of a few milliseconds while the event loop is idle, so that the window
// paints and answers without waiting for a thousand rows, and the list is
// laid out once per slice rather than once per handful of rows; a list that
// is not shown keeps its rows until it is. Whoever uses the list calls
// finish() first and finds every row there.
template <typename T> class DeferredRows
{
public:
    DeferredRows(QLayout* layout, std::function<void(const T&)> build)
        : layout(layout), build(std::move(build))
    {
        timer.setSingleShot(true);
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            buildFor(sliceMs);
            if (!waiting.isEmpty())
                timer.start();
        });
    }

    // Builds the first rows now and the others while idle (after what an
    // earlier list left).
    void start(const QList<T>& items, int now)
    {
        keep(items);
        resume(now);
    }
    // Only takes the items (after what an earlier list left), for resume()
    // or finish().
    void keep(const QList<T>& items)
    {
        finish();
        waiting = items;
    }
    // Builds the first rows of what waits now and the others while idle.
    void resume(int now)
    {
        buildSome(now);
        if (!waiting.isEmpty())
            timer.start();
    }
    void finish()
    {
        timer.stop();
        buildSome(waiting.size());
    }
    // The items whose rows are still to come, in list order.
    const QList<T>& items() const { return waiting; }

private:
    void buildSome(int count)
    {
        if (count <= 0 || waiting.isEmpty())
            return;
        const BulkLayout bulk(layout);
        for (int i = 0; i < count && !waiting.isEmpty(); ++i)
            build(waiting.takeFirst());
    }

    // Builds rows until the time is up, at least one.
    void buildFor(int ms)
    {
        if (waiting.isEmpty())
            return;
        QElapsedTimer slice;
        slice.start();
        const BulkLayout bulk(layout);
        do
            build(waiting.takeFirst());
        while (!waiting.isEmpty() && !slice.hasExpired(ms));
    }

    // Short enough that a frame is not missed while the rest of a list is
    // built.
    static const int sliceMs = 8;
    QLayout* layout;
    std::function<void(const T&)> build;
    QList<T> waiting;
    QTimer timer;
};

#endif // DEFERREDROWS_H
