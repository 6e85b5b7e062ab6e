#include "Managers/XMPP/streammanagementextention.h"

#include "Managers/XMPP/quorvelxmppclient.h"
#include "foundation/simpleqtlogger.h"

#include <QDomElement>

bool StreamManagementExtention::handleStanza(const QDomElement& element)
{
    if (element.namespaceURI() != QLatin1String(SMPacket::ns))
        return false;
    if (element.tagName() == QLatin1String("failed")) {
        emit unavailable(QStringLiteral("refused by the server"));
        return true;
    }
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
    auto* owner = qobject_cast<QuorvelXMPPClient*>(client());
    if (owner)
        owner->resetStanzaCounters();
    // An <enable/> the stream did not offer may make the server close it.
    if (owner && !owner->streamManagementOffered()) {
        emit unavailable(QStringLiteral("not offered by the server"));
        return;
    }
    emit sendSMPacket(SMPacket(SMPacket::enable));
}

void StreamManagementExtention::receivedSMRequest()
{
    // A request is read before the stanzas of its chunk are handled: it is
    // answered once they have been (each handled on this turn of the event
    // loop, a message only once it is stored), with the count of those
    // handled then, so a stanza counts only after its handler kept it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            auto* owner = qobject_cast<QuorvelXMPPClient*>(client());
            if (owner)
                emit sendSMPacket(SMPacket(SMPacket::a, owner->getHandledStanzaCount()));
        },
        Qt::QueuedConnection);
}

void StreamManagementExtention::_receivedSMAnswer(const SMPacket& packet)
{
    if (packet.getType() == SMPacket::a)
        emit receivedSMAnswer(packet.getH());
}
