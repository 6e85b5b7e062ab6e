#include "foundation/htmlmanager.h"

#include "foundation/emojimanager.h"
#include "foundation/linkgenerator.h"

#include <QRegularExpression>

namespace {
struct Escape
{
    QLatin1String entity;
    QChar character;
};

const Escape escapes[] = {
    {QLatin1String("&amp;"), QLatin1Char('&')},
    {QLatin1String("&quot;"), QLatin1Char('"')},
    {QLatin1String("&lt;"), QLatin1Char('<')},
    {QLatin1String("&gt;"), QLatin1Char('>')},
};

QString escape(const QString& text, bool lineBreaks)
{
    QString result;
    result.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            result.append(QLatin1String("&amp;"));
            break;
        case '"':
            result.append(QLatin1String("&quot;"));
            break;
        case '<':
            result.append(QLatin1String("&lt;"));
            break;
        case '>':
            result.append(QLatin1String("&gt;"));
            break;
        case '\n':
            if (lineBreaks) {
                result.append(QLatin1String("<br />"));
                break;
            }
            Q_FALLTHROUGH();
        default:
            result.append(c);
        }
    }
    return result;
}
} // namespace

QString HtmlManager::insertBasicTags(const QString& text)
{
    return escape(text, true);
}

QString HtmlManager::replaceBasicTags(const QString& text)
{
    // One pass from left to right: every escape is read exactly once, so a user's literal
    // "&lt;" (stored as "&amp;lt;") comes back as "&lt;" and not as "<".
    QString result;
    result.reserve(text.size());
    const QStringView view(text);
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<')) {
            if (view.mid(i).startsWith(QLatin1String("<br/>"))) {
                result.append(QLatin1Char('\n'));
                i += 5;
                continue;
            }
            if (view.mid(i).startsWith(QLatin1String("<br />"))) {
                result.append(QLatin1Char('\n'));
                i += 6;
                continue;
            }
        } else if (c == QLatin1Char('&')) {
            bool replaced = false;
            for (const Escape& e : escapes) {
                if (view.mid(i).startsWith(e.entity)) {
                    result.append(e.character);
                    i += e.entity.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        result.append(c);
        ++i;
    }
    return result;
}

QString HtmlManager::escapeText(const QString& text)
{
    return escape(text, false);
}

QString HtmlManager::insertHtmlTags(const QString& text)
{
    // The text may come from a peer: its markup characters are escaped before any tag is
    // made, so a peer's "<b>" shows as text. Line feeds stay line feeds; the views and the
    // edit bar turn them into breaks themselves.
    return LinkGenerator::insertLinks(EmojiManager::insertEmojiTags(escapeText(text)));
}

QString HtmlManager::replaceHtmlTags(const QString& text)
{
    return LinkGenerator::replaceLinks(EmojiManager::replaceEmojiTags(text));
}

QString HtmlManager::replaceHtmlTagsFromContainer(const QString& text)
{
    return LinkGenerator::replaceLinksFromContainerHtml(EmojiManager::replaceEmojiTags(text));
}

QString HtmlManager::toPlainText(const QString& html)
{
    const QString plain = replaceBasicTags(replaceHtmlTags(html));
    return plain;
}

QString HtmlManager::extractPureTextFromHtml(const QString& html)
{
    static const QRegularExpression paragraph(getTagRegExp(QStringLiteral("p")));
    QString text;
    QRegularExpressionMatchIterator it = paragraph.globalMatch(html);
    while (it.hasNext())
        text.append(getInsideTheTag(it.next().captured(0), QStringLiteral("p")));
    text = replaceBasicTags(text);
    return text;
}

QString HtmlManager::extractCopyTextFromContainerHtml(const QString& html)
{
    QString text = html;
    text.remove(QStringLiteral("<!--StartFragment-->"));
    text.remove(QStringLiteral("<!--EndFragment-->"));
    text = replaceHtmlTagsFromContainer(extractPureTextFromHtml(text));
    return text;
}

QString HtmlManager::getStartTagRegExp(const QString& tag)
{
    return QStringLiteral("<") + tag + QStringLiteral("(.+?)>");
}

QString HtmlManager::getEndTagRegExp(const QString& tag)
{
    return QStringLiteral("</") + tag + QStringLiteral(">");
}

QString HtmlManager::getTagRegExp(const QString& tag)
{
    return getStartTagRegExp(tag) + QStringLiteral("(.+?)") + getEndTagRegExp(tag);
}

QString HtmlManager::getInsideTheTag(const QString& text, const QString& tag)
{
    QString inside = text;
    inside.remove(QStringLiteral("</") + tag + QStringLiteral(">"));
    const QRegularExpression start(getStartTagRegExp(tag));
    const QRegularExpressionMatch match = start.match(inside);
    if (match.hasMatch())
        inside.remove(match.capturedStart(), match.capturedLength());
    return inside;
}
