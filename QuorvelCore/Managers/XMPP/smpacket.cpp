#include "Managers/XMPP/smpacket.h"

#include <QDomElement>
#include <QXmlStreamWriter>

const char* const SMPacket::ns = "urn:xmpp:sm:3";

bool SMPacket::parse(const QDomElement& element)
{
    if (element.isNull() || element.namespaceURI() != QLatin1String(ns))
        return false;
    const QString tag = element.tagName();
    if (tag == QLatin1String("enable")) {
        type = enable;
    } else if (tag == QLatin1String("enabled")) {
        type = enabled;
    } else if (tag == QLatin1String("r")) {
        type = r;
    } else if (tag == QLatin1String("a")) {
        bool ok = false;
        const unsigned int count = element.attribute(QStringLiteral("h")).toUInt(&ok, 10);
        if (!ok) {
            type = invalid;
            return false;
        }
        type = a;
        h = count;
    } else {
        type = invalid;
        return false;
    }
    return true;
}

bool SMPacket::toXml(QXmlStreamWriter* writer) const
{
    QString tag;
    switch (type) {
    case enable:
        tag = QStringLiteral("enable");
        break;
    case r:
        tag = QStringLiteral("r");
        break;
    case a:
        tag = QStringLiteral("a");
        break;
    default:
        return false;
    }
    writer->writeStartElement(tag);
    writer->writeAttribute(QStringLiteral("xmlns"), QLatin1String(ns));
    if (type == a)
        writer->writeAttribute(QStringLiteral("h"), QString::number(h));
    writer->writeEndElement();
    return true;
}

bool SMPacket::toByteArray(QByteArray* out) const
{
    QXmlStreamWriter writer(out);
    return toXml(&writer);
}
