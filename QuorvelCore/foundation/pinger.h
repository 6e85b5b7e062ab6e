#ifndef PINGER_H
#define PINGER_H

#include "foundation/quorvelcore_export.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

// One TCP reachability probe of a host and port. The blocking connect runs on
// Qt's global thread pool; the result comes back as pingResult on the
// prober's own thread.
class QUORVELCORE_EXPORT Pinger : public QObject
{
    Q_OBJECT
public:
    static constexpr int CONNECT_WAIT_MS = 1000;

    explicit Pinger(const QString& host = QString(), short port = 0, QObject* parent = nullptr);

    // Starts a probe; an empty host probes the host and port stored before.
    // A probe still running from an earlier start is no longer watched.
    void start(const QString& host, short port);

    QString getHost() const { return host; }
    short getPort() const { return port; }

    // 0 when a connection was made within CONNECT_WAIT_MS, 1 otherwise. The port
    // is read as unsigned, so ports above 32767 probe the right port.
    static int ping(const QString& host, short port);

signals:
    void pingResult(const QString& host, int result);

private slots:
    void finished();

private:
    QString host;
    short port = 0;
    QFutureWatcher<int> watcher;
};

#endif // PINGER_H
