#include "Managers/XMPP/messageextension.h"

#include "Managers/XMPP/quorvelxmppmessage.h"

#include <QDomElement>

bool MessageExtension::handleStanza(const QDomElement& element)
{
    if (element.tagName() != QLatin1String("message"))
        return false;
    QuorvelXMPPMessage stanza;
    if (!stanza.parseElement(element))
        return false;
    emit ReceiveQuorvelMessage(stanza.getMessage());
    return true;
}
