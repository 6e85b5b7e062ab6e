#ifndef STANZACOUNTER_H
#define STANZACOUNTER_H

#include "foundation/quorvelcore_export.h"

#include <QPointer>
#include <QXmlStreamAttributes>
#include <QXmppClientExtension.h>
#include <QXmppLogger.h>

class QXmppOutgoingClient;

// Gives the client its own view of the stream for stream management, on an
// unmodified QXmpp:
// - it is inserted as the client's first extension and removes the
//   urn:xmpp:sm:3 advertisement from <stream:features>, so the library never
//   runs its own stream management;
// - it counts the message, presence and iq stanzas received (as the first
//   extension it sees all of them) and, through the stream's log signal, the
//   ones sent; raw writes through sendRaw are not counted;
// - the library consumes incoming <a/> and <r/> itself, so it reads them from
//   the stream's log of each received chunk (emitted just before the chunk's
//   elements are handled) and offers them to the client's extensions, with the
//   received count as it stands at that point of the chunk.
class QUORVELCORE_EXPORT StanzaCounter : public QXmppClientExtension
{
    Q_OBJECT
public:
    StanzaCounter() = default;

    bool handleStanza(const QDomElement& element) override;

    bool sendRaw(const QByteArray& data);
    void reset();
    void resetReceived()
    {
        received = 0;
        held = false;
    }
    unsigned int sentCount() const { return sent; }
    // Whether the last stream features seen offered stream management.
    bool streamManagementOffered() const { return offered; }
    unsigned int receivedCount() const { return inChunk ? chunkCount : received; }
    // The stanza being handled now, and every one after it on this stream,
    // is not counted as handled: the server keeps them (and hands them out
    // again when the stream ends). A new stream counts afresh.
    void holdFromCurrentStanza();
    bool holding() const { return held; }
    // The stanzas handled on this stream, as an answer to the server gives it.
    unsigned int handledCount() const { return held ? heldAt : received; }

protected:
    void setClient(QXmppClient* client) override;

private slots:
    void streamLog(QXmppLogger::MessageType type, const QString& text);

private:
    void offerStreamManagement(const QString& chunk);
    void readChunk(const QString& chunk);
    // Hands an <a/> or <r/> with the given attributes to the extensions.
    void offer(const QString& tag, const QXmlStreamAttributes& attributes);

    QPointer<QXmppOutgoingClient> stream;
    unsigned int sent = 0;
    unsigned int received = 0;
    unsigned int chunkCount = 0;
    bool inChunk = false;
    bool offered = false;
    bool held = false;
    unsigned int heldAt = 0;
};

#endif // STANZACOUNTER_H
