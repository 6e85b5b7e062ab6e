#include "catalogue.h"

#include <QFile>

#include <QXmlStreamReader>
#include <algorithm>

bool Catalogue::read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    Entry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("context")) {
                context.clear();
            } else if (name == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (name == QLatin1String("message")) {
                source.clear();
                entry = Entry();
            } else if (name == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (name == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                entry.finished = type.isEmpty();
                entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            items.insert({context, source}, entry);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return false;
    }
    return true;
}

QStringList Catalogue::missing(const Catalogue& wanted) const
{
    QStringList out;
    for (auto it = wanted.items.cbegin(); it != wanted.items.cend(); ++it) {
        const auto found = items.constFind(it.key());
        if (found == items.cend() || !found->finished || found->translation.trimmed().isEmpty())
            out.append(it.key().first + QStringLiteral(": ") + it.key().second);
    }
    out.sort();
    return out;
}

int Catalogue::addAbsent(const QString& path, const Catalogue& wanted, QString* error)
{
    Catalogue present;
    if (!present.read(path, error))
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return -1;
    }
    QString text = QString::fromUtf8(file.readAll());
    file.close();

    QList<Key> absent;
    for (auto it = wanted.items.cbegin(); it != wanted.items.cend(); ++it)
        if (!present.items.contains(it.key()))
            absent.append(it.key());
    std::sort(absent.begin(), absent.end());
    for (const Key& key : absent) {
        const QString message =
            QStringLiteral("    <message>\n        <source>%1</source>\n"
                           "        <translation type=\"unfinished\"></translation>\n"
                           "    </message>\n")
                .arg(key.second.toHtmlEscaped());
        const QString name = QStringLiteral("<name>%1</name>").arg(key.first.toHtmlEscaped());
        const int context = text.indexOf(name);
        if (context >= 0) {
            text.insert(text.indexOf(QStringLiteral("</context>"), context), message);
        } else {
            text.insert(text.lastIndexOf(QStringLiteral("</TS>")),
                        QStringLiteral("<context>\n    %1\n%2</context>\n").arg(name, message));
        }
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return -1;
    }
    return absent.size();
}
