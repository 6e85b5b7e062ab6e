#include "foundation/pinger.h"
#include "foundation/simpleqtlogger.h"

#include "foundation/pooltask.h"

#include <QTcpSocket>

Pinger::Pinger(const QString& host, short port, QObject* parent)
    : QObject(parent), host(host), port(port)
{
    connect(&watcher, &QFutureWatcher<int>::finished, this, &Pinger::finished,
            Qt::UniqueConnection);
}

void Pinger::start(const QString& host, short port)
{
    if (!host.isEmpty()) {
        this->host = host;
        this->port = port;
    }
    const QString h = this->host;
    const short p = this->port;
    watcher.setFuture(runOnGlobalPool<int>([h, p]() { return ping(h, p); }));
}

int Pinger::ping(const QString& host, short port)
{
    const quint16 tcpPort = static_cast<quint16>(port);
    L_DEBUG(
        QStringLiteral("Pinger::ping | connecting to %1:%2").arg(host, QString::number(tcpPort)));
    QTcpSocket socket;
    socket.connectToHost(host, tcpPort, QIODevice::ReadWrite);
    return socket.waitForConnected(CONNECT_WAIT_MS) ? 0 : 1;
}

void Pinger::finished()
{
    if (watcher.isCanceled() || watcher.future().resultCount() == 0)
        return;
    emit pingResult(host, watcher.result());
}
