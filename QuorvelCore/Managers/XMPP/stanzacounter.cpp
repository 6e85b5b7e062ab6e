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

// A chunk that is a single empty stream-management element with nothing but
// its namespace and a count, as servers send <a/> and <r/>: its tag and the
// count's text (null for none). False for anything else, which the full
// reader takes.
bool readLonePacket(QStringRef text, QString* tag, QString* count)
{
    text = text.trimmed();
    if (!text.startsWith(QLatin1Char('<')) || !text.endsWith(QLatin1String("/>")))
        return false;
    const QVector<QStringRef> parts =
        text.mid(1, text.size() - 3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty() || (parts[0] != QLatin1String("a") && parts[0] != QLatin1String("r")))
        return false;
    bool inNamespace = false;
    QString h;
    for (int i = 1; i < parts.size(); ++i) {
        // name='value' or name="value", with no markup or entity in the value.
        const QStringRef& part = parts[i];
        const int equals = part.indexOf(QLatin1Char('='));
        if (equals <= 0 || part.size() < equals + 3)
            return false;
        const QChar quote = part.at(equals + 1);
        if ((quote != QLatin1Char('\'') && quote != QLatin1Char('"')) ||
            part.at(part.size() - 1) != quote)
            return false;
        const QStringRef name = part.left(equals);
        const QStringRef value = part.mid(equals + 2, part.size() - equals - 3);
        for (const QChar c : value) {
            if (c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('\'') ||
                c == QLatin1Char('"'))
                return false;
        }
        if (name == QLatin1String("xmlns") && !inNamespace && value == QLatin1String(SMPacket::ns))
            inNamespace = true;
        else if (name == QLatin1String("h") && h.isNull())
            h = value.toString();
        else
            return false;
    }
    if (!inNamespace)
        return false;
    *tag = parts[0].toString();
    *count = h;
    return true;
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
    held = false;
}

void StanzaCounter::holdFromCurrentStanza()
{
    if (held)
        return;
    held = true;
    // The stanza being handled was counted when it came in.
    heldAt = received > 0 ? received - 1 : 0;
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
    // The library counts the chunk's stanzas only after this log line: the
    // received count is kept as it stands at each point of the chunk.
    chunkCount = received;
    inChunk = true;
    QString tag;
    QString h;
    if (readLonePacket(QStringRef(&chunk), &tag, &h)) {
        QXmlStreamAttributes attributes;
        if (!h.isNull())
            attributes.append(QStringLiteral("h"), h);
        offer(tag, attributes);
    } else {
        readChunk(chunk);
    }
    inChunk = false;
}

void StanzaCounter::readChunk(const QString& chunk)
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
    while (reader.readNextStartElement()) {
        const QStringRef ns = reader.namespaceUri();
        const QStringRef tag = reader.name();
        if (isStanza(ns, tag)) {
            ++chunkCount;
        } else if (ns == QLatin1String(SMPacket::ns)) {
            // The library restarts its count on <enabled/>.
            if (tag == QLatin1String("enabled"))
                chunkCount = 0;
            if (tag == QLatin1String("a") || tag == QLatin1String("r"))
                offer(tag.toString(), reader.attributes());
        }
        reader.skipCurrentElement();
    }
    if (reader.hasError() && reader.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        L_WARN(QStringLiteral("StanzaCounter::offerStreamManagement | unreadable chunk: ") +
               reader.errorString());
}

void StanzaCounter::offer(const QString& tag, const QXmlStreamAttributes& attributes)
{
    QXmppClient* owner = client();
    if (!owner)
        return;
    QDomDocument document;
    QDomElement element = document.createElementNS(QLatin1String(SMPacket::ns), tag);
    for (const QXmlStreamAttribute& attribute : attributes)
        element.setAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
    const QList<QXmppClientExtension*> extensions = owner->extensions();
    for (QXmppClientExtension* extension : extensions) {
        if (extension->handleStanza(element))
            break;
    }
}
