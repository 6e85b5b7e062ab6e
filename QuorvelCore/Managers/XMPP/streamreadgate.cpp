#include "Managers/XMPP/streamreadgate.h"

#include "foundation/simpleqtlogger.h"

#include <QSslSocket>
#include <QXmppStream.h>

StreamReadGate::StreamReadGate(QXmppStream* value)
    : QObject(value), stream(value),
      socket(value ? value->findChild<QSslSocket*>(QString(), Qt::FindDirectChildrenOnly) : nullptr)
{
    holdTimer.setSingleShot(true);
    connect(&holdTimer, &QTimer::timeout, this, [this] {
        L_WARN(
            QStringLiteral("StreamReadGate: a character stayed incomplete for %1 ms").arg(holdMs));
        handOver();
    });
    if (!socket)
        return;
    // The stream's own reading is started by this gate from now on.
    disconnect(socket, &QIODevice::readyRead, stream, nullptr);
    connect(socket, &QIODevice::readyRead, this, &StreamReadGate::socketReadyRead);
}

int StreamReadGate::incompleteTail(const QByteArray& data)
{
    // A character is at most four bytes: look back at most three for the
    // byte that starts the last one.
    const int size = data.size();
    for (int back = 1; back <= 3 && back <= size; ++back) {
        const uchar byte = uchar(data.at(size - back));
        if ((byte & 0xC0) == 0x80)
            continue; // a continuation byte: the start lies further back
        int length = 1;
        if ((byte & 0xE0) == 0xC0)
            length = 2;
        else if ((byte & 0xF0) == 0xE0)
            length = 3;
        else if ((byte & 0xF8) == 0xF0)
            length = 4;
        return length > back ? back : 0;
    }
    // Only continuation bytes (or nothing): nothing waiting would complete them.
    return 0;
}

void StreamReadGate::socketReadyRead()
{
    if (!socket || !stream)
        return;
    const qint64 available = socket->bytesAvailable();
    if (available <= 0)
        return;
    if (incompleteTail(socket->peek(available)) > 0) {
        if (!holdTimer.isActive())
            holdTimer.start(holdMs);
        return;
    }
    handOver();
}

void StreamReadGate::handOver()
{
    holdTimer.stop();
    if (!socket || !stream || socket->bytesAvailable() <= 0)
        return;
    QMetaObject::invokeMethod(stream, "_q_socketReadyRead", Qt::DirectConnection);
}
