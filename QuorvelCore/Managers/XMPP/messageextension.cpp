#include "Managers/XMPP/messageextension.h"

#include "Managers/XMPP/quorvelxmppmessage.h"
#include "foundation/simpleqtlogger.h"
#include "model/groupnoticekind.h"

#include <QDomElement>
#include <QXmppClient.h>
#include <QXmppMucManager.h>
#include <QXmppUtils.h>

namespace {
const QLatin1String kDelayNamespace("urn:xmpp:delay");

bool isDelayed(const QDomElement& element)
{
    for (QDomElement child = element.firstChildElement(QStringLiteral("delay")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("delay"))) {
        if (child.namespaceURI() == kDelayNamespace)
            return true;
    }
    return false;
}
} // namespace

bool MessageExtension::handleStanza(const QDomElement& element)
{
    if (element.tagName() != QLatin1String("message"))
        return false;
    QuorvelXMPPMessage stanza;
    if (!stanza.parseElement(element))
        return false;
    Message message = stanza.getMessage();
    if (stanza.isFromRoom()) {
        // Taken here whatever the outcome, so nothing else acts on a room
        // message that is not tied to an account.
        switch (bindRoomAuthor(stanza.from(), isDelayed(element), &message)) {
        case RoomMessage::Dropped:
            return true;
        case RoomMessage::Replayed:
        case RoomMessage::Hint:
            emit receivedRoomHistory(message);
            return true;
        case RoomMessage::Live:
            break;
        }
    }
    emit ReceiveQuorvelMessage(message);
    return true;
}

MessageExtension::RoomMessage MessageExtension::bindRoomAuthor(const QString& occupant,
                                                               bool delayed, Message* message)
{
    QXmppMucManager* muc = client() ? client()->findExtension<QXmppMucManager>() : nullptr;
    const QString roomAddress = QXmppUtils::jidToBareJid(occupant);
    const QXmppMucRoom* room = nullptr;
    const QList<QXmppMucRoom*> rooms = muc ? muc->rooms() : QList<QXmppMucRoom*>();
    for (const QXmppMucRoom* candidate : rooms) {
        if (candidate->jid() == roomAddress)
            room = candidate;
    }
    if (!room) {
        L_WARN(QStringLiteral("MessageExtension | dropped a message of a room we are not in: ") +
               roomAddress.left(120));
        return RoomMessage::Dropped;
    }
    if (delayed) {
        // The nick name may have been anyone's when it was said.
        message->setUserId(QString());
        return RoomMessage::Replayed;
    }
    const QString realAddress = room->participantFullJid(occupant);
    const QString author = QXmppUtils::jidToUser(realAddress);
    const QString nick = QXmppUtils::jidToResource(occupant);
    if (author.isEmpty()) {
        L_WARN(QStringLiteral("MessageExtension | dropped a room message whose sender's account "
                              "the room does not show: ") +
               occupant.left(160));
        return RoomMessage::Dropped;
    }
    // Every program enters a room under its own address; another nick name
    // is someone passing for another member.
    if (nick != QXmppUtils::jidToBareJid(realAddress) ||
        QXmppUtils::jidToDomain(realAddress) != QuorvelXMPPMessage::chatDomain()) {
        L_WARN(QStringLiteral("MessageExtension | dropped a room message under the nick name ") +
               nick.left(80) + QStringLiteral(" sent by ") + realAddress.left(120));
        return RoomMessage::Dropped;
    }
    message->setUserId(author);
    // Only the service, which owns every group's room, tells what became of
    // the group; a member saying so is a reason to ask it.
    if (GroupNoticeKind::isNotice(*message) &&
        room->participantPresence(occupant).mucItem().affiliation() !=
            QXmppMucItem::OwnerAffiliation) {
        L_WARN(QStringLiteral("MessageExtension | a group notice of ") + author.left(80) +
               QStringLiteral(", who does not own the room, is taken as a hint"));
        return RoomMessage::Hint;
    }
    return RoomMessage::Live;
}
