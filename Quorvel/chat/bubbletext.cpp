#include "chat/bubbletext.h"

#include "foundation/emojimanager.h"
#include "widgets/biditext.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace {
// The length of the character reference at position ("&amp;", "&#60;"),
// or 0 when the "&" there is a character of its own.
int referenceAt(QStringView text, int position)
{
    static const QRegularExpression reference(
        QStringLiteral("&(amp|lt|gt|quot|#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6});"));
    // The longest reference, "&#1114111;", has ten characters.
    const QRegularExpressionMatch match =
        reference.match(text.mid(position, 10).toString(), 0, QRegularExpression::NormalMatch,
                        QRegularExpression::AnchoredMatchOption);
    return match.hasMatch() ? match.capturedLength(0) : 0;
}

void appendEscaped(QString* out, QStringView text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&':
            if (const int length = referenceAt(text, i)) {
                out->append(text.mid(i, length));
                i += length - 1;
            } else {
                out->append(QLatin1String("&amp;"));
            }
            break;
        case '<':
            out->append(QLatin1String("&lt;"));
            break;
        case '>':
            out->append(QLatin1String("&gt;"));
            break;
        case '"':
            out->append(QLatin1String("&quot;"));
            break;
        default:
            out->append(c);
        }
    }
}

// The length of the line break at position, or 0.
int lineBreakAt(const QString& body, int position)
{
    const QStringView rest = QStringView(body).mid(position);
    for (const QLatin1String form :
         {QLatin1String("<br />"), QLatin1String("<br/>"), QLatin1String("<br>")}) {
        if (rest.startsWith(form, Qt::CaseInsensitive))
            return form.size();
    }
    return 0;
}

// An emoji picture exactly as the emoji conversion writes it (the colon in
// brackets keeps the pattern from reading as a resource path).
QRegularExpressionMatch emojiAt(const QString& body, int position)
{
    static const QRegularExpression tag(
        QStringLiteral("<img src=\"[:]/emojis/png/[0-9a-fA-F]+(-[0-9a-fA-F]+)*\\.png\" ?/>"));
    return tag.match(body, position, QRegularExpression::NormalMatch,
                     QRegularExpression::AnchoredMatchOption);
}

// A marked link exactly as the link conversion writes it: the address is
// also the text shown, so a link never shows one address and leads to
// another.
QRegularExpressionMatch linkAt(const QString& body, int position)
{
    static const QRegularExpression tag(QStringLiteral("<a href=\"([^\"<>]+)\">([^\"<>]+)</a>"));
    QRegularExpressionMatch match = tag.match(body, position, QRegularExpression::NormalMatch,
                                              QRegularExpression::AnchoredMatchOption);
    if (match.hasMatch() && match.capturedRef(1) != match.capturedRef(2))
        return QRegularExpressionMatch();
    return match;
}
// Whether a click on the link does something: web links open (the service's
// own are looked up), @-words name someone to look up.
bool opensSomething(const QStringRef& address)
{
    return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
           address.startsWith(QLatin1Char('@'));
}
} // namespace

QString BubbleText::safeHtml(const QString& body)
{
    QString html;
    html.reserve(body.size() + body.size() / 8);
    int plainStart = 0;
    int i = 0;
    const auto flushPlain = [&](int end) {
        appendEscaped(&html, QStringView(body).mid(plainStart, end - plainStart));
    };
    while (i < body.size()) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            flushPlain(i);
            html.append(QLatin1String("<br>"));
            i +=
                c == QLatin1Char('\r') && i + 1 < body.size() && body.at(i + 1) == QLatin1Char('\n')
                    ? 2
                    : 1;
            plainStart = i;
            continue;
        }
        if (c != QLatin1Char('<')) {
            ++i;
            continue;
        }
        if (const int length = lineBreakAt(body, i)) {
            flushPlain(i);
            html.append(QLatin1String("<br>"));
            i += length;
            plainStart = i;
            continue;
        }
        const QRegularExpressionMatch emoji = emojiAt(body, i);
        if (emoji.hasMatch()) {
            flushPlain(i);
            html.append(emoji.capturedRef(0));
            i = emoji.capturedEnd(0);
            plainStart = i;
            continue;
        }
        const QRegularExpressionMatch link = linkAt(body, i);
        if (link.hasMatch() && !opensSomething(link.capturedRef(1))) {
            // A marked word that no click would open (a #-word) shows as
            // its text, never as a link that does nothing.
            flushPlain(i);
            appendEscaped(&html, link.capturedRef(2));
            i = link.capturedEnd(0);
            plainStart = i;
            continue;
        }
        if (link.hasMatch()) {
            flushPlain(i);
            html.append(QLatin1String("<a href=\""));
            appendEscaped(&html, link.capturedRef(1));
            html.append(QLatin1String("\">"));
            appendEscaped(&html, link.capturedRef(2));
            html.append(QLatin1String("</a>"));
            i = link.capturedEnd(0);
            plainStart = i;
            continue;
        }
        ++i;
    }
    flushPlain(i);
    return html;
}

QString BubbleText::shownHtml(const QString& body)
{
    return safeHtml(BidiText::confinedControls(body));
}

QString BubbleText::plainText(const QTextDocument& document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text.append(QLatin1Char('\n'));
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                // An emoji picture stands for its characters; any other image is no text.
                const QString tag =
                    QStringLiteral("<img src=\"%1\"/>").arg(format.toImageFormat().name());
                const QString characters = EmojiManager::replaceEmojiTags(tag);
                if (characters != tag)
                    text.append(characters.repeated(fragment.length()));
                continue;
            }
            QString part = fragment.text();
            part.replace(QChar::LineSeparator, QLatin1Char('\n'));
            part.remove(QChar::ObjectReplacementCharacter);
            text.append(part);
        }
    }
    return text;
}
