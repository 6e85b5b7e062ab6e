#include "Managers/XMPP/messageextension.h"

#include "Managers/XMPP/quorvelxmppmessage.h"
#include "foundation/simpleqtlogger.h"

#include <QDomElement>
#include <QXmppClient.h>
#include <QXmppMucManager.h>
#include <QXmppUtils.h>

bool MessageExtension::handleStanza(const QDomElement& element)
{
    if (element.tagName() != QLatin1String("message"))
        return false;
    QuorvelXMPPMessage stanza;
    if (!stanza.parseElement(element))
        return false;
    Message message = stanza.getMessage();
    if (stanza.type() == QXmppMessage::GroupChat)
        bindRoomAuthor(stanza.from(), &message);
    emit ReceiveQuorvelMessage(message);
    return true;
}

void MessageExtension::bindRoomAuthor(const QString& occupant, Message* message)
{
    QXmppMucManager* muc = client() ? client()->findExtension<QXmppMucManager>() : nullptr;
    if (!muc)
        return;
    const QString roomAddress = QXmppUtils::jidToBareJid(occupant);
    const QList<QXmppMucRoom*> rooms = muc->rooms();
    for (const QXmppMucRoom* room : rooms) {
        if (room->jid() != roomAddress)
            continue;
        const QString realAddress = room->participantFullJid(occupant);
        if (realAddress.isEmpty())
            return; // the room keeps its occupants' addresses from us
        const QString author = QXmppUtils::jidToUser(realAddress);
        if (author != message->getUserId()) {
            L_WARN(QStringLiteral("MessageExtension::handleStanza | room message under the nick "
                                  "name of ") +
                   message->getUserId().left(40) + QStringLiteral(" is by ") + author);
            message->setUserId(author);
        }
        return;
    }
}
