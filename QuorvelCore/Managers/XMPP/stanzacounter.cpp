#include "Managers/XMPP/stanzacounter.h"

#include "Managers/XMPP/smpacket.h"
#include "foundation/simpleqtlogger.h"

#include <QDomDocument>
#include <QDomElement>
#include <QRegularExpression>
#include <QXmppClient.h>
#include <QXmppOutgoingClient.h>

namespace {

const char* const kClientNamespace = "jabber:client";
const char* const kStreamNamespace = "http://etherx.jabber.org/streams";

bool isStanza(const QDomElement& element)
{
    const QString tag = element.tagName();
    return element.namespaceURI() == QLatin1String(kClientNamespace) &&
           (tag == QLatin1String("message") || tag == QLatin1String("presence") ||
            tag == QLatin1String("iq"));
}

bool startsWithStanza(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.startsWith(QLatin1String("<message")) ||
           trimmed.startsWith(QLatin1String("<presence")) ||
           trimmed.startsWith(QLatin1String("<iq"));
}

} // namespace

void StanzaCounter::setClient(QXmppClient* client)
{
    QXmppClientExtension::setClient(client);
    stream = client->findChild<QXmppOutgoingClient*>();
    if (!stream) {
        L_ERROR(QStringLiteral("StanzaCounter::setClient | the client has no stream"));
        return;
    }
    connect(stream.data(), &QXmppLoggable::logMessage, this, &StanzaCounter::streamLog,
            Qt::DirectConnection);
}

bool StanzaCounter::handleStanza(const QDomElement& element)
{
    if (element.namespaceURI() == QLatin1String(kStreamNamespace) &&
        element.tagName() == QLatin1String("features")) {
        // QDomElement is a shared handle: removing the children here hides
        // them from the library, which reads the features after us.
        QDomElement features = element;
        QDomElement child = features.firstChildElement();
        while (!child.isNull()) {
            const QDomElement next = child.nextSiblingElement();
            if (child.namespaceURI() == QLatin1String(SMPacket::ns))
                features.removeChild(child);
            child = next;
        }
        return false;
    }
    if (isStanza(element))
        ++received;
    return false;
}

bool StanzaCounter::sendRaw(const QByteArray& data)
{
    return stream && stream->isConnected() && stream->sendData(data);
}

void StanzaCounter::reset()
{
    sent = 0;
    received = 0;
}

void StanzaCounter::streamLog(QXmppLogger::MessageType type, const QString& text)
{
    if (type == QXmppLogger::SentMessage) {
        if (startsWithStanza(text))
            ++sent;
    } else if (type == QXmppLogger::ReceivedMessage) {
        if (text.contains(QLatin1String(SMPacket::ns)))
            offerStreamManagement(text);
    }
}

void StanzaCounter::offerStreamManagement(const QString& chunk)
{
    static const QRegularExpression header(
        QStringLiteral("^\\s*(<\\?xml[^>]*\\?>)?\\s*<stream:stream[^>]*>"));
    static const QRegularExpression trailer(QStringLiteral("</stream:stream>\\s*$"));
    QString body = chunk;
    body.remove(header);
    body.remove(trailer);
    const QString wrapped = QStringLiteral("<stream:stream xmlns='jabber:client' "
                                           "xmlns:stream='http://etherx.jabber.org/streams'>") +
                            body + QStringLiteral("</stream:stream>");
    QDomDocument document;
    if (!document.setContent(wrapped, true)) {
        L_WARN(QStringLiteral("StanzaCounter::offerStreamManagement | unreadable chunk"));
        return;
    }
    QXmppClient* owner = client();
    // The received count as it stands at each point of the chunk: the
    // library counts the chunk's stanzas, and restarts the count on
    // <enabled/>, only after this log line.
    chunkCount = received;
    inChunk = true;
    for (QDomElement element = document.documentElement().firstChildElement(); !element.isNull();
         element = element.nextSiblingElement()) {
        if (isStanza(element)) {
            ++chunkCount;
            continue;
        }
        if (element.namespaceURI() != QLatin1String(SMPacket::ns))
            continue;
        const QString tag = element.tagName();
        if (tag == QLatin1String("enabled"))
            chunkCount = 0;
        if ((tag != QLatin1String("a") && tag != QLatin1String("r")) || !owner)
            continue;
        const QList<QXmppClientExtension*> extensions = owner->extensions();
        for (QXmppClientExtension* extension : extensions) {
            if (extension->handleStanza(element))
                break;
        }
    }
    inChunk = false;
}
