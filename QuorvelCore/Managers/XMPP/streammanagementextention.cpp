#include "Managers/XMPP/streammanagementextention.h"

#include "Managers/XMPP/quorvelxmppclient.h"
#include "foundation/simpleqtlogger.h"

#include <QDomElement>

bool StreamManagementExtention::handleStanza(const QDomElement& element)
{
    if (element.namespaceURI() != QLatin1String(SMPacket::ns))
        return false;
    SMPacket packet;
    if (!packet.parse(element)) {
        L_WARN(QStringLiteral("StreamManagementExtention::handleStanza | not acted on: <") +
               element.tagName() + QLatin1Char('>'));
        return true;
    }
    switch (packet.getType()) {
    case SMPacket::enabled:
        if (auto* owner = qobject_cast<QuorvelXMPPClient*>(client()))
            owner->resetReceivedStanzaCount();
        emit recievedSMEnable();
        break;
    case SMPacket::r:
        receivedSMRequest();
        break;
    case SMPacket::a:
        _receivedSMAnswer(packet);
        break;
    default:
        break;
    }
    return true;
}

void StreamManagementExtention::connected()
{
    if (auto* owner = qobject_cast<QuorvelXMPPClient*>(client()))
        owner->resetStanzaCounters();
    emit sendSMPacket(SMPacket(SMPacket::enable));
}

void StreamManagementExtention::receivedSMRequest()
{
    auto* owner = qobject_cast<QuorvelXMPPClient*>(client());
    if (!owner)
        return;
    emit sendSMPacket(SMPacket(SMPacket::a, owner->getReceivedStanzaCount()));
}

void StreamManagementExtention::_receivedSMAnswer(const SMPacket& packet)
{
    if (packet.getType() == SMPacket::a)
        emit receivedSMAnswer(packet.getH());
}
