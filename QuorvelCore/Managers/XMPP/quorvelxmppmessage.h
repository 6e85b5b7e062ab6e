#ifndef QUORVELXMPPMESSAGE_H
#define QUORVELXMPPMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QXmppMessage.h>

class QDomElement;

// A message stanza built from a Message, or parsed into one. The message's
// text is the plain body; every stanza parameter of the message travels as an
// additional <body xml:lang="KEY"> element.
class QUORVELCORE_EXPORT QuorvelXMPPMessage : public QXmppMessage
{
public:
    QuorvelXMPPMessage(const QString& from = QString(), const QString& to = QString(),
                       const QString& body = QString(), const QString& thread = QString());
    QuorvelXMPPMessage(const Message& message, const QString& resource);

    Message getMessage() const { return message; }
    // Whether the parsed stanza came from a room: its sender's bare address
    // is on the rooms' domain. Its author is then still to be bound to the
    // occupant's real account (MessageExtension).
    bool isFromRoom() const { return fromRoom; }

    // Reads an incoming message element into the held Message. False when the
    // element is not one of ours: no type keys, an error bounce, or a room
    // stanza without an occupant nick name.
    bool parseElement(const QDomElement& element);

    static QXmppMessage::Type getMessageXmppType(const Message& message);
    // "user@domain" and "room@conference.domain".
    static QString userAddress(const QString& userId, const QString& domain);
    static QString roomAddress(const QString& roomId, const QString& domain);
    // Whether an address (bare or full) is a room's on the built-in domain's
    // room service; only the bare part counts, never the resource.
    static bool isRoomAddress(const QString& address);
    // The service's account that delivers channel posts live.
    static QString channelAccount();
    // The built-in chat domain.
    static QString chatDomain();

private:
    void setMessageExtentions();

    Message message;
    bool fromRoom = false;
};

#endif // QUORVELXMPPMESSAGE_H
