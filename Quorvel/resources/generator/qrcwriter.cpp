#include "qrcwriter.h"

#include <QFile>
#include <QMap>
#include <QXmlStreamWriter>

void QrcWriter::add(const QString& prefix, const QString& alias, const QString& file)
{
    entries.append({prefix, alias, file});
}

bool QrcWriter::write(const QString& path, QString* error) const
{
    QMap<QString, QVector<Entry>> byPrefix;
    for (const Entry& e : entries)
        byPrefix[e.prefix].append(e);

    QByteArray text;
    QXmlStreamWriter xml(&text);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDTD(QStringLiteral("<!DOCTYPE RCC>"));
    xml.writeStartElement(QStringLiteral("RCC"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    for (auto it = byPrefix.cbegin(); it != byPrefix.cend(); ++it) {
        xml.writeStartElement(QStringLiteral("qresource"));
        xml.writeAttribute(QStringLiteral("prefix"), it.key());
        for (const Entry& e : it.value()) {
            xml.writeStartElement(QStringLiteral("file"));
            xml.writeAttribute(QStringLiteral("alias"), e.alias);
            xml.writeCharacters(e.file);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();

    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == text)
        return true;
    existing.close();

    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
        return false;
    }
    return true;
}
