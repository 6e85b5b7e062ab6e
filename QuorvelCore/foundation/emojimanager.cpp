#include "foundation/emojimanager.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {
const QString emojiPathPrefix = QStringLiteral(":/emojis/png/");
const QString emojiPathSuffix = QStringLiteral(".png");
const ushort keycapMark = 0x20E3;
const ushort variationSelector16 = 0xFE0F;

// Code point at position, or 0 when position does not start a whole surrogate pair.
uint surrogatePairAt(const QString& text, int position)
{
    if (position + 1 >= text.size())
        return 0;
    const QChar high = text.at(position);
    const QChar low = text.at(position + 1);
    if (!high.isHighSurrogate() || !low.isLowSurrogate())
        return 0;
    return QChar::surrogateToUcs4(high, low);
}

bool isKeycapBase(QChar c)
{
    return c.unicode() >= 0x23 && c.unicode() <= 0x39;
}
} // namespace

EmojiManager::EmojiManager(QObject* parent) : QObject(parent) {}

QString EmojiManager::insertEmojiTags(const QString& text)
{
    if (text.isEmpty())
        return QString();

    QHash<int, QString> tags;
    QHash<int, int> lengths;
    int i = 0;
    while (i < text.size()) {
        QString tag;
        int length = 0;
        // Keycap bases are punctuation or digits; they are looked at before the skip below,
        // otherwise "#" and "*" keycaps would never be found.
        if (findKeycap(text, i, &tag, &length)) {
            tags.insert(i, tag);
            lengths.insert(i, length);
            i += length;
            continue;
        }
        const QChar c = text.at(i);
        if (c.isLetter() || c.isSpace() || c.isPunct()) {
            ++i;
            continue;
        }
        if (findSurrogates(text, i, &tag, &length) || findOthers(text, i, &tag, &length)) {
            tags.insert(i, tag);
            lengths.insert(i, length);
            i += length;
        } else {
            ++i;
        }
    }
    return doReplacements(text, tags, lengths);
}

QString EmojiManager::replaceEmojiTags(const QString& text)
{
    // Extra attributes between the path's closing quote and "/>" are allowed (the picker
    // writes a blank there).
    static const QRegularExpression tagPattern(
        QStringLiteral("<img src=\":/emojis/png/([^\"<>]+?)\\.png\"([^<>]*?)/>"));
    QRegularExpressionMatchIterator it = tagPattern.globalMatch(text);
    if (!it.hasNext())
        return text;

    QString result;
    result.reserve(text.size());
    int copied = 0;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        QString characters;
        // A tag whose code does not name valid code points stays as it is.
        if (!toUnicodeChar(match.captured(1), &characters))
            continue;
        result.append(text.midRef(copied, match.capturedStart() - copied));
        result.append(characters);
        copied = match.capturedEnd();
    }
    result.append(text.midRef(copied));
    return result;
}

bool EmojiManager::findSurrogates(const QString& text, int position, QString* tag, int* length)
{
    if (!text.at(position).isSurrogate())
        return false;

    QList<uint> codePoints;
    int current = position;
    while (const uint codePoint = surrogatePairAt(text, current)) {
        QList<uint> extended = codePoints;
        extended.append(codePoint);
        if (!emojiExists(extended))
            break;
        codePoints = extended;
        current += 2;
    }
    if (codePoints.isEmpty())
        return false;

    *tag = getHtmlTag(getEmojiFileName(codePoints));
    *length = current - position;
    return true;
}

bool EmojiManager::findKeycap(const QString& text, int position, QString* tag, int* length)
{
    // "#", "*" or a digit (any of U+0023 to U+0039 whose picture exists), an optional
    // variation selector, then the combining keycap mark.
    if (!isKeycapBase(text.at(position)))
        return false;
    QList<uint> codePoints{text.at(position).unicode()};
    int next = position + 1;
    if (next < text.size() && text.at(next).unicode() == variationSelector16) {
        codePoints.append(variationSelector16);
        ++next;
    }
    if (next >= text.size() || text.at(next).unicode() != keycapMark)
        return false;
    codePoints.append(keycapMark);
    if (!emojiExists(codePoints))
        return false;
    *tag = getHtmlTag(getEmojiFileName(codePoints));
    *length = next + 1 - position;
    return true;
}

bool EmojiManager::findOthers(const QString& text, int position, QString* tag, int* length)
{
    const ushort c = text.at(position).unicode();
    if (c == 0x00A9 || c == 0x00AE || c == 0x21A9 || c == 0x21AA) {
        *tag = getHtmlTag(getEmojiFileName(c));
        *length = 1;
        return true;
    }
    if (c >= 0x23CF && c <= 0x3299) {
        if (const uint next = surrogatePairAt(text, position + 1)) {
            const QList<uint> pair{c, next};
            if (emojiExists(pair)) {
                *tag = getHtmlTag(getEmojiFileName(pair));
                *length = 3;
                return true;
            }
        }
        if (emojiExists(uint(c))) {
            *tag = getHtmlTag(getEmojiFileName(c));
            *length = 1;
            return true;
        }
    }
    return false;
}

bool EmojiManager::emojiExists(uint codePoint)
{
    return emojiExists(getEmojiFileName(codePoint));
}

bool EmojiManager::emojiExists(const QList<uint>& codePoints)
{
    return emojiExists(getEmojiFileName(codePoints));
}

bool EmojiManager::emojiExists(const QString& path)
{
    return QFile::exists(path);
}

QString EmojiManager::getEmojiFileName(uint codePoint)
{
    return emojiPathPrefix + getNumberString(codePoint) + emojiPathSuffix;
}

QString EmojiManager::getEmojiFileName(const QList<uint>& codePoints)
{
    QStringList parts;
    parts.reserve(codePoints.size());
    for (uint codePoint : codePoints)
        parts.append(getNumberString(codePoint));
    return emojiPathPrefix + parts.join(QLatin1Char('-')) + emojiPathSuffix;
}

QString EmojiManager::getHtmlTag(const QString& path)
{
    return QStringLiteral("<img src=\"") + path + QStringLiteral("\"/>");
}

QString EmojiManager::getNumberString(uint codePoint)
{
    return QStringLiteral("%1").arg(codePoint, 4, 16, QLatin1Char('0'));
}

bool EmojiManager::toUnicodeChar(const QString& code, QString* characters)
{
    QString result;
    const QStringList parts = code.split(QLatin1Char('-'));
    for (const QString& part : parts) {
        // Only plain hexadecimal digits; Qt's own parser would also take blanks and "0x".
        if (part.isEmpty() || part.size() > 8)
            return false;
        for (QChar c : part) {
            if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                  (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                  (c >= QLatin1Char('A') && c <= QLatin1Char('F'))))
                return false;
        }
        const uint codePoint = part.toUInt(nullptr, 16);
        if (codePoint > 0x10FFFF || QChar::isSurrogate(codePoint))
            return false;
        if (QChar::requiresSurrogates(codePoint)) {
            result.append(QChar(QChar::highSurrogate(codePoint)));
            result.append(QChar(QChar::lowSurrogate(codePoint)));
        } else {
            result.append(QChar(ushort(codePoint)));
        }
    }
    *characters = result;
    return true;
}

QString EmojiManager::doReplacements(const QString& text, const QHash<int, QString>& tags,
                                     const QHash<int, int>& lengths)
{
    QList<int> positions = tags.keys();
    std::sort(positions.begin(), positions.end());
    QString result;
    result.reserve(text.size() + tags.size() * 32);
    int copied = 0;
    for (int position : positions) {
        result.append(text.midRef(copied, position - copied));
        result.append(tags.value(position));
        copied = position + lengths.value(position);
    }
    result.append(text.midRef(copied));
    return result;
}
