#include "Managers/XMPP/channelaccountpresence.h"

#include "Managers/XMPP/quorvelxmppmessage.h"

#include <QDomElement>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

namespace {
const QString kNamespace = QStringLiteral("urn:quorvel:channel-pushes");
const QString kTag = QStringLiteral("pushes");
} // namespace

QXmppElement ChannelAccountPresence::mark()
{
    QXmppElement element;
    element.setTagName(kTag);
    element.setAttribute(QStringLiteral("xmlns"), kNamespace);
    return element;
}

bool ChannelAccountPresence::read(const QXmppPresence& presence, const QString& domain)
{
    // The server stamps the sender's address: no other account can say it.
    if (presence.type() != QXmppPresence::Available || domain.isEmpty() ||
        QXmppUtils::jidToBareJid(presence.from()) !=
            QuorvelXMPPMessage::userAddress(QuorvelXMPPMessage::channelAccount(), domain))
        return false;
    const QXmppElementList extensions = presence.extensions();
    for (const QXmppElement& element : extensions) {
        if (element.tagName() == kTag &&
            (element.attribute(QStringLiteral("xmlns")) == kNamespace ||
             element.sourceDomElement().namespaceURI() == kNamespace))
            return true;
    }
    return false;
}
