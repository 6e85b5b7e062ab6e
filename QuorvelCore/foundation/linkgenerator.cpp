#include "foundation/linkgenerator.h"

#include <QRegularExpression>

namespace {
bool isWordSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\n');
}

bool isWordCharacter(uint codePoint)
{
    return QChar::isLetter(codePoint) || QChar::isDigit(codePoint) || codePoint == uint('_') ||
           codePoint == uint('.');
}

// Every match of an anchor pattern, in text order, with the group that holds its shown text.
bool collectAnchors(const QString& text, const QRegularExpression& pattern, int textGroup,
                    QStringList* anchors, QStringList* texts)
{
    QRegularExpressionMatchIterator it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        anchors->append(match.captured(0));
        texts->append(match.captured(textGroup));
    }
    return !anchors->isEmpty();
}

bool startsWithAt(const QString& text, int position, QLatin1String what)
{
    return QStringView(text).mid(position).startsWith(what);
}
} // namespace

QString LinkGenerator::getPublicLinkHost()
{
    return QStringLiteral("quorvel.link");
}

QStringList LinkGenerator::getPublicLinkPrefixes()
{
    const QString host = getPublicLinkHost();
    return {QStringLiteral("http://") + host + QLatin1Char('/'),
            QStringLiteral("https://") + host + QLatin1Char('/')};
}

QString LinkGenerator::insertLinks(const QString& text)
{
    // One pass over the text: every word is looked at once, at its own position, so an
    // anchor is never made inside another anchor, a tag, or a longer word that merely
    // contains a shorter one.
    QString result;
    result.reserve(text.size() + text.size() / 2);
    int i = 0;
    const int size = text.size();
    while (i < size) {
        const QChar c = text.at(i);
        if (isWordSeparator(c)) {
            result.append(c);
            ++i;
            continue;
        }
        const int tagEnd = skipTag(text, i);
        if (tagEnd > i) {
            result.append(text.midRef(i, tagEnd - i));
            i = tagEnd;
            continue;
        }
        int end = i + 1;
        while (end < size && !isWordSeparator(text.at(end)) && skipTag(text, end) == end)
            ++end;
        result.append(linkWord(text.mid(i, end - i)));
        i = end;
    }
    return result;
}

int LinkGenerator::skipTag(const QString& text, int position)
{
    // The markup a message text may already hold: anchors (skipped with their content),
    // emoji images and line breaks. Any other "<" is ordinary text.
    if (text.at(position) != QLatin1Char('<'))
        return position;
    if (startsWithAt(text, position, QLatin1String("<a "))) {
        const int end = text.indexOf(QLatin1String("</a>"), position);
        if (end >= 0)
            return end + 4;
    } else if (startsWithAt(text, position, QLatin1String("<img "))) {
        const int end = text.indexOf(QLatin1Char('>'), position);
        if (end >= 0)
            return end + 1;
    } else if (startsWithAt(text, position, QLatin1String("<br />"))) {
        return position + 6;
    } else if (startsWithAt(text, position, QLatin1String("<br/>"))) {
        return position + 5;
    }
    return position;
}

QString LinkGenerator::linkWord(const QString& word)
{
    static const QStringList prefixes = getPublicLinkPrefixes();
    for (const QString& prefix : prefixes) {
        if (word.startsWith(prefix))
            return generateLink(word);
    }

    int atLength = 0;
    int hashLength = 0;
    const int at = findWordAfterSign(word, QLatin1Char('@'), &atLength);
    const int hash = findWordAfterSign(word, QLatin1Char('#'), &hashLength);
    if (at < 0 && hash < 0)
        return word;

    // The sign itself is no word character, so the two ranges never overlap.
    struct Range
    {
        int start;
        int length;
    };
    QList<Range> ranges;
    if (at >= 0)
        ranges.append({at, atLength});
    if (hash >= 0)
        ranges.append({hash, hashLength});
    if (ranges.size() == 2 && ranges.at(1).start < ranges.at(0).start)
        ranges.swapItemsAt(0, 1);

    QString result;
    int copied = 0;
    for (const Range& range : ranges) {
        result.append(word.midRef(copied, range.start - copied));
        result.append(generateLink(word.mid(range.start, range.length)));
        copied = range.start + range.length;
    }
    result.append(word.midRef(copied));
    return result;
}

int LinkGenerator::findWordAfterSign(const QString& word, QChar sign, int* length)
{
    // The first sign of the word and the letters, digits, "_" and "." after it; a bare sign
    // gives nothing.
    const int start = word.indexOf(sign);
    if (start < 0)
        return -1;
    int end = start + 1;
    while (end < word.size()) {
        uint codePoint = word.at(end).unicode();
        int width = 1;
        if (word.at(end).isHighSurrogate() && end + 1 < word.size() &&
            word.at(end + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(word.at(end), word.at(end + 1));
            width = 2;
        }
        if (!isWordCharacter(codePoint))
            break;
        end += width;
    }
    if (end == start + 1)
        return -1;
    *length = end - start;
    return start;
}

QString LinkGenerator::generateLink(const QString& word)
{
    return QStringLiteral("<a href=\"") + word + QStringLiteral("\">") + word +
           QStringLiteral("</a>");
}

QString LinkGenerator::replaceLinks(const QString& text)
{
    QStringList anchors;
    QStringList texts;
    if (!findLinkTags(text, &anchors, &texts))
        return text;
    return replaceAnchors(text, anchors, texts);
}

QString LinkGenerator::replaceLinksFromContainerHtml(const QString& text)
{
    QStringList anchors;
    QStringList texts;
    if (!findLinkTagsFromContainerHtml(text, &anchors, &texts))
        return text;
    return replaceAnchors(text, anchors, texts);
}

bool LinkGenerator::findLinkTags(const QString& text, QStringList* anchors, QStringList* texts)
{
    static const QRegularExpression pattern(QStringLiteral("<a href=\"(.+?)\">(.+?)</a>"));
    return collectAnchors(text, pattern, 2, anchors, texts);
}

bool LinkGenerator::findLinkTagsFromContainerHtml(const QString& text, QStringList* anchors,
                                                  QStringList* texts)
{
    static const QRegularExpression pattern(
        QStringLiteral("<a href=\"(.+?)\"><span (.+?)>(.+?)</span></a>"));
    return collectAnchors(text, pattern, 3, anchors, texts);
}

QString LinkGenerator::replaceAnchors(const QString& text, const QStringList& anchors,
                                      const QStringList& texts)
{
    // The anchors were found in text order without overlap, so one forward pass replaces
    // each at its own place.
    QString result;
    result.reserve(text.size());
    int copied = 0;
    for (int i = 0; i < anchors.size(); ++i) {
        const int position = text.indexOf(anchors.at(i), copied);
        if (position < 0)
            continue;
        result.append(text.midRef(copied, position - copied));
        result.append(texts.at(i));
        copied = position + anchors.at(i).size();
    }
    result.append(text.midRef(copied));
    return result;
}
