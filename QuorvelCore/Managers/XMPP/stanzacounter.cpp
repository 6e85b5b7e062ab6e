#include "Managers/XMPP/stanzacounter.h"

#include "Managers/XMPP/smpacket.h"
#include "foundation/simpleqtlogger.h"

#include <QDomDocument>
#include <QDomElement>
#include <QXmlStreamReader>
#include <QXmppClient.h>
#include <QXmppOutgoingClient.h>

namespace {

const char* const kClientNamespace = "jabber:client";
const char* const kStreamNamespace = "http://etherx.jabber.org/streams";

// A namespace and a tag name, as QString or QStringRef.
template <typename Text> bool isStanza(const Text& ns, const Text& tag)
{
    return ns == QLatin1String(kClientNamespace) &&
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
        offered = false;
        while (!child.isNull()) {
            const QDomElement next = child.nextSiblingElement();
            if (child.namespaceURI() == QLatin1String(SMPacket::ns)) {
                offered = true;
                features.removeChild(child);
            }
            child = next;
        }
        return false;
    }
    if (isStanza(element.namespaceURI(), element.tagName()))
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
    // One pass over the chunk with a streaming reader: stanzas are counted
    // and skipped, and only <a/> and <r/> become elements to offer. The
    // chunk may open or close the stream; its elements are read inside a
    // stream element of our own.
    QStringRef body(&chunk);
    body = body.trimmed();
    if (body.startsWith(QLatin1String("<?xml"))) {
        const int end = body.indexOf(QLatin1String("?>"));
        body = end < 0 ? QStringRef() : body.mid(end + 2).trimmed();
    }
    if (body.startsWith(QLatin1String("<stream:stream"))) {
        const int end = body.indexOf(QLatin1Char('>'));
        body = end < 0 ? QStringRef() : body.mid(end + 1);
    }
    if (body.endsWith(QLatin1String("</stream:stream>")))
        body.chop(int(qstrlen("</stream:stream>")));

    QXmlStreamReader reader;
    reader.addData(QStringLiteral("<stream:stream xmlns='jabber:client' "
                                  "xmlns:stream='http://etherx.jabber.org/streams'>"));
    reader.addData(body.toString());
    reader.addData(QStringLiteral("</stream:stream>"));
    if (!reader.readNextStartElement()) {
        L_WARN(QStringLiteral("StanzaCounter::offerStreamManagement | unreadable chunk"));
        return;
    }
    QXmppClient* owner = client();
    // The received count as it stands at each point of the chunk: the
    // library counts the chunk's stanzas, and restarts the count on
    // <enabled/>, only after this log line.
    chunkCount = received;
    inChunk = true;
    while (reader.readNextStartElement()) {
        const QStringRef ns = reader.namespaceUri();
        const QStringRef tag = reader.name();
        if (isStanza(ns, tag)) {
            ++chunkCount;
        } else if (ns == QLatin1String(SMPacket::ns)) {
            if (tag == QLatin1String("enabled"))
                chunkCount = 0;
            if ((tag == QLatin1String("a") || tag == QLatin1String("r")) && owner) {
                QDomDocument document;
                QDomElement element =
                    document.createElementNS(QLatin1String(SMPacket::ns), tag.toString());
                for (const QXmlStreamAttribute& attribute : reader.attributes())
                    element.setAttribute(attribute.qualifiedName().toString(),
                                         attribute.value().toString());
                const QList<QXmppClientExtension*> extensions = owner->extensions();
                for (QXmppClientExtension* extension : extensions) {
                    if (extension->handleStanza(element))
                        break;
                }
            }
        }
        reader.skipCurrentElement();
    }
    if (reader.hasError() && reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        L_WARN(QStringLiteral("StanzaCounter::offerStreamManagement | unreadable chunk: ") +
               reader.errorString());
    inChunk = false;
}
