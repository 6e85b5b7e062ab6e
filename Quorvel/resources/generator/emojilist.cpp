#include "emojilist.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTextStream>

namespace {

const uint variationSelector = 0xFE0F;
const uint keycapMark = 0x20E3;

bool isSkinTone(uint cp)
{
    return cp >= 0x1F3FB && cp <= 0x1F3FF;
}

// Unicode's groups mapped to the picker's categories; the flags join travel.
QString categoryOfGroup(const QString& group)
{
    static const QHash<QString, QString> map{
        {QStringLiteral("Smileys & Emotion"), QStringLiteral("people")},
        {QStringLiteral("People & Body"), QStringLiteral("people")},
        {QStringLiteral("Animals & Nature"), QStringLiteral("nature")},
        {QStringLiteral("Food & Drink"), QStringLiteral("food")},
        {QStringLiteral("Travel & Places"), QStringLiteral("travel")},
        {QStringLiteral("Flags"), QStringLiteral("travel")},
        {QStringLiteral("Activities"), QStringLiteral("activities")},
        {QStringLiteral("Objects"), QStringLiteral("objects")},
        {QStringLiteral("Symbols"), QStringLiteral("symbols")},
    };
    return map.value(group);
}

} // namespace

const QStringList& EmojiList::categories()
{
    static const QStringList names{QStringLiteral("people"),     QStringLiteral("nature"),
                                   QStringLiteral("food"),       QStringLiteral("travel"),
                                   QStringLiteral("activities"), QStringLiteral("objects"),
                                   QStringLiteral("symbols")};
    return names;
}

QString EmojiList::code(const QVector<uint>& codePoints)
{
    QStringList parts;
    for (uint cp : codePoints)
        parts.append(QStringLiteral("%1").arg(cp, 4, 16, QLatin1Char('0')));
    return parts.join(QLatin1Char('-'));
}

bool EmojiList::convertible(const QVector<uint>& cps)
{
    if (cps.isEmpty() || cps.size() > 2)
        return false;
    const uint first = cps[0];
    const bool pair = cps.size() == 2;
    if (first >= 0x10000) // read one surrogate pair at a time
        return !pair || cps[1] >= 0x10000;
    if (first >= 0x23 && first <= 0x39) // keycaps
        return pair && cps[1] == keycapMark;
    // Letters, blanks and punctuation (such as the wavy dash) are never read as emoji.
    const QChar c(first);
    if (c.isLetter() || c.isSpace() || c.isPunct())
        return false;
    if (first == 0xA9 || first == 0xAE || first == 0x21A9 || first == 0x21AA)
        return !pair;
    if (first >= 0x23CF && first <= 0x3299)
        return !pair || cps[1] >= 0x10000;
    return false;
}

bool EmojiList::read(const QString& emojiTestFile, QString* error)
{
    QFile file(emojiTestFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(emojiTestFile);
        return false;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    QString group;
    QSet<QString> seen;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.startsWith(QLatin1String("# group:"))) {
            group = line.mid(8).trimmed();
            continue;
        }
        if (line.startsWith(QLatin1Char('#')) || !line.contains(QLatin1String("fully-qualified")))
            continue;
        const QString points = line.section(QLatin1Char(';'), 0, 0).trimmed();
        Emoji e;
        for (const QString& hex : points.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool ok = false;
            const uint cp = hex.toUInt(&ok, 16);
            if (!ok) {
                *error = QStringLiteral("bad code point in line: %1").arg(line);
                return false;
            }
            e.text.append(QString::fromUcs4(&cp, 1));
            if (cp != variationSelector)
                e.codePoints.append(cp);
        }
        if (!convertible(e.codePoints))
            continue;
        const QString c = code(e.codePoints);
        if (seen.contains(c))
            continue;
        seen.insert(c);
        // Skin-tone variants are carried for incoming text but not listed in the picker.
        if (!(e.codePoints.size() == 2 && isSkinTone(e.codePoints[1])))
            e.category = categoryOfGroup(group);
        items.append(e);
    }
    // The regional indicator letters: a flag is read one letter at a time, so every
    // letter needs a picture of its own.
    for (uint cp = 0x1F1E6; cp <= 0x1F1FF; ++cp) {
        if (seen.contains(code({cp})))
            continue;
        items.append(Emoji{{cp}, QString::fromUcs4(&cp, 1), QString()});
    }
    if (items.isEmpty()) {
        *error = QStringLiteral("no emoji in %1").arg(emojiTestFile);
        return false;
    }
    return true;
}

QMap<QString, QStringList> EmojiList::codesByCategory() const
{
    QMap<QString, QStringList> out;
    for (const Emoji& e : items)
        if (!e.category.isEmpty())
            out[e.category].append(code(e.codePoints));
    return out;
}
