#ifndef STREAMMANAGEMENTEXTENTION_H
#define STREAMMANAGEMENTEXTENTION_H

#include "Managers/XMPP/smpacket.h"
#include "foundation/quorvelcore_export.h"

#include <QXmppClientExtension.h>

// The client side of the stream-management exchange (urn:xmpp:sm:3): enables
// it on every new stream, answers the server's requests with the client's
// received-stanza count and reports the server's answers. Every element of
// the namespace is consumed here, also <failed/> and <resumed/>, so the
// library never acts on them.
class QUORVELCORE_EXPORT StreamManagementExtention : public QXmppClientExtension
{
    Q_OBJECT
public:
    StreamManagementExtention() = default;

    bool handleStanza(const QDomElement& element) override;

signals:
    void receivedSMAnswer(uint count);
    void recievedSMEnable();
    void sendSMPacket(SMPacket sm);
    // The server refused <enable/> (<failed/>) or the new stream does not
    // offer stream management; the reason, for the log.
    void unavailable(const QString& reason);

public slots:
    // A new stream is up: the counters start again and <enable/> goes out.
    void connected();

private:
    void receivedSMRequest();
    void _receivedSMAnswer(const SMPacket& packet);
};

#endif // STREAMMANAGEMENTEXTENTION_H
