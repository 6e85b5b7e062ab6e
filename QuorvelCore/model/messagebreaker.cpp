#include "model/messagebreaker.h"

#include "foundation/simpleqtlogger.h"

#include <QStringView>
#include <QTextBoundaryFinder>

namespace {
const int maximumSize = 4096;
const int windowStart = 3072;
const int windowEnd = 3272; // first position after the window, and the cut when it has no blank

// Whether index lies inside markup the text may carry (an emoji image, an anchor with its
// content): such a tag must stay whole for the receiver to read it back.
bool isInsideTag(const QString& text, int index)
{
    const int image = text.lastIndexOf(QLatin1String("<img "), index - 1);
    if (image >= 0) {
        const int close = text.indexOf(QLatin1Char('>'), image);
        if (close < 0 || close >= index)
            return true;
    }
    // An escaped markup character ("&amp;", "&lt;", "&gt;", "&quot;").
    const int reference = text.lastIndexOf(QLatin1Char('&'), index - 1);
    if (reference >= 0 && index - reference < 6) {
        const int end = text.indexOf(QLatin1Char(';'), reference);
        if (end >= index && end - reference < 6)
            return true;
    }
    const int anchor = text.lastIndexOf(QLatin1String("<a href=\""), index - 1);
    if (anchor >= 0) {
        const int close = text.indexOf(QLatin1String("</a>"), anchor);
        if (close >= 0 && close + 4 > index)
            return true;
    }
    return false;
}

// Whether the text may be cut before index: at a grapheme boundary (never inside a surrogate
// pair or an emoji sequence) and outside any tag.
bool isSafeCut(const QString& text, QTextBoundaryFinder* finder, int index)
{
    finder->setPosition(index);
    return finder->isAtBoundary() && !isInsideTag(text, index);
}
} // namespace

QList<Message> MessageBreaker::breakBigMessage(const Message& message)
{
    QList<Message> parts;
    QString rest = message.getMessageBody();
    while (needToBeBroken(rest)) {
        const int cut = findFirstPartIndex(rest);
        QString first;
        breakInto2Parts(rest, cut, &first, &rest);
        parts.append(toMessage(first, message));
        L_INFO(QStringLiteral("MessageBreaker::breakBigMessage | %1 %2")
                   .arg(QString::number(cut), QString::number(first.size())));
    }
    parts.append(toMessage(rest, message));
    // Every part is a message of its own: a given id stays with the first
    // part, the others get theirs when they are sent.
    for (int i = 1; i < parts.size(); ++i)
        parts[i].setMessageId(QString());
    return parts;
}

bool MessageBreaker::needToBeBroken(const QString& text)
{
    return stringSize(text) > maximumSize;
}

int MessageBreaker::stringSize(const QString& text)
{
    return text.size();
}

int MessageBreaker::findFirstPartIndex(const QString& text)
{
    if (text.size() <= windowEnd)
        return qMin(windowStart, text.size());

    // A boundary at a position depends on everything before it and on the one code point
    // after it (two code units at most), so the head of the text is enough.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.left(windowEnd + 2));

    // The first blank of the window begins the next part.
    for (int i = windowStart; i < windowEnd; ++i) {
        if (text.at(i).isSpace() && isSafeCut(text, &finder, i))
            return i;
    }
    // No blank: cut at the end of the window, moved back to the start of the character,
    // emoji sequence or tag it would split.
    for (int i = windowEnd; i > 0; --i) {
        if (isSafeCut(text, &finder, i))
            return i;
    }
    // One cluster or tag fills the whole window (thousands of combining marks, a huge
    // anchor): cut it, but never inside a surrogate pair.
    const bool inPair =
        text.at(windowEnd).isLowSurrogate() && text.at(windowEnd - 1).isHighSurrogate();
    return inPair ? windowEnd - 1 : windowEnd;
}

void MessageBreaker::breakInto2Parts(const QString& text, int index, QString* first, QString* rest)
{
    *first = text.left(index);
    *rest = text.mid(index);
}

Message MessageBreaker::toMessage(const QString& text, const Message& message)
{
    Message part = message;
    part.setMessageBody(text);
    return part;
}
