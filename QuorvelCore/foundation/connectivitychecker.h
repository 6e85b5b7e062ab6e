#ifndef CONNECTIVITYCHECKER_H
#define CONNECTIVITYCHECKER_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class Pinger;

// Watches hosts until they are reachable again: every 5000 ms each host under
// watch gets a TCP probe; the first success emits connected(host) and ends the
// watch of that host. A process-wide singleton whose operations are slots.
class QUORVELCORE_EXPORT ConnectivityChecker : public QObject
{
    Q_OBJECT
public:
    static constexpr int CHECK_INTERVAL_MS = 5000;

    static ConnectivityChecker* getInstance();
    static void deleteInstance();

    bool isChecking(const QString& host) const { return pingers.contains(host); }

public slots:
    // A host already under watch keeps its prober (and its first port).
    void startChecking(const QString& host, short port);
    void stopThread();
    void pingResult(const QString& host, int returnedCode);

signals:
    void connected(const QString& host);
    void disconnected();

private slots:
    void check();

private:
    explicit ConnectivityChecker(QObject* parent = nullptr);
    ~ConnectivityChecker() override;

    QTimer timer;
    QHash<QString, Pinger*> pingers;

    static ConnectivityChecker* instance;
};

#endif // CONNECTIVITYCHECKER_H
