#ifndef POOLTASK_H
#define POOLTASK_H

#include <QFuture>
#include <QFutureInterface>
#include <QThreadPool>

#include <utility>

// Runs fn() on Qt's global thread pool and returns a future of its result, for a
// QFutureWatcher on the caller's thread. A future cancelled before fn runs
// skips it; one cancelled while fn runs drops the result.
template <typename T, typename F> QFuture<T> runOnGlobalPool(F fn)
{
    QFutureInterface<T> promise;
    promise.reportStarted();
    QFuture<T> future = promise.future();
    QThreadPool::globalInstance()->start([promise, fn = std::move(fn)]() mutable {
        if (!promise.isCanceled()) {
            const T result = fn();
            promise.reportResult(result);
        }
        promise.reportFinished();
    });
    return future;
}

#endif // POOLTASK_H
