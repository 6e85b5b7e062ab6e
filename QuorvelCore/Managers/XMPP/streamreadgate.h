#ifndef STREAMREADGATE_H
#define STREAMREADGATE_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QSslSocket;
class QXmppStream;

// Hands a stream's socket data to the stream's parser in whole UTF-8
// characters only. QXmpp decodes each read of its socket on its own, so a
// character whose bytes arrive in two reads would become replacement
// characters. The gate takes the socket's readyRead from the stream and lets
// the stream read only while the buffered data ends on a character boundary;
// the rest of a character is normally a moment behind. Should it not come
// within holdMs, the stream reads what there is, so a peer that sends broken
// text cannot stall the connection.
class QUORVELCORE_EXPORT StreamReadGate : public QObject
{
    Q_OBJECT
public:
    static const int holdMs = 1500;

    // Takes over the readyRead of the stream's socket (its child); the gate
    // lives as long as the stream.
    explicit StreamReadGate(QXmppStream* stream);

    // How many bytes at the end of data begin a UTF-8 character that is not
    // complete yet (0 to 3).
    static int incompleteTail(const QByteArray& data);
    // Whether the gate is holding a part of a character now.
    bool holding() const { return holdTimer.isActive(); }

private:
    void socketReadyRead();
    void handOver();

    QPointer<QXmppStream> stream;
    QPointer<QSslSocket> socket;
    QTimer holdTimer;
};

#endif // STREAMREADGATE_H
