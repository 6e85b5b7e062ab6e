#include "widgets/biditext.h"

#include <QVector>

namespace {
// The explicit controls and the visible marks that stand for them.
QLatin1String markOf(ushort c)
{
    switch (c) {
    case 0x202A:
        return QLatin1String("[LRE]");
    case 0x202B:
        return QLatin1String("[RLE]");
    case 0x202C:
        return QLatin1String("[PDF]");
    case 0x202D:
        return QLatin1String("[LRO]");
    case 0x202E:
        return QLatin1String("[RLO]");
    case 0x2066:
        return QLatin1String("[LRI]");
    case 0x2067:
        return QLatin1String("[RLI]");
    case 0x2068:
        return QLatin1String("[FSI]");
    case 0x2069:
        return QLatin1String("[PDI]");
    default:
        return QLatin1String();
    }
}

bool isControl(QChar c)
{
    return markOf(c.unicode()).size() > 0;
}

// The runs that confine a control: an isolate of its own, which also ends
// the embeddings it opens. An isolate opener takes a second end, which ends
// the run; a lone isolate end opens two runs, one it ends itself and one it
// stands in. Every run but the last begins with FSI, the last with LRI, so
// the runs read back unambiguously.
const QChar kRun(0x2068);
const QChar kRunOfEnd(0x2066);
const QChar kRunEnd(0x2069);

bool opensIsolate(ushort c)
{
    return c >= 0x2066 && c <= 0x2068;
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}
} // namespace

bool BidiText::hasControls(const QString& text)
{
    for (const QChar c : text) {
        if (isControl(c))
            return true;
    }
    return false;
}

QString BidiText::visibleControls(const QString& name)
{
    if (!hasControls(name))
        return name;
    QString shown;
    shown.reserve(name.size() + 8);
    for (const QChar c : name) {
        const QLatin1String mark = markOf(c.unicode());
        if (mark.size() > 0)
            shown.append(mark);
        else
            shown.append(c);
    }
    return shown;
}

QString BidiText::confinedControls(const QString& text)
{
    if (!hasControls(text))
        return text;
    QString shown;
    shown.reserve(text.size() + 16);
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (!isControl(c)) {
            shown.append(c);
        } else if (u == 0x2069) {
            shown.append(kRunOfEnd).append(kRunOfEnd).append(c).append(kRunEnd);
        } else {
            shown.append(kRun).append(c).append(kRunEnd);
            if (opensIsolate(u))
                shown.append(kRunEnd);
        }
    }
    return shown;
}

QString BidiText::unconfinedControls(const QString& shown)
{
    if (!hasControls(shown))
        return shown;
    QString text;
    text.reserve(shown.size());
    const auto at = [&shown](int i) { return i < shown.size() ? shown.at(i) : QChar(); };
    int i = 0;
    while (i < shown.size()) {
        const QChar c = shown.at(i);
        const QChar next = at(i + 1);
        if (c == kRun && isControl(next) && next != kRunEnd && at(i + 2) == kRunEnd) {
            const bool second = opensIsolate(next.unicode());
            if (!second || at(i + 3) == kRunEnd) {
                text.append(next);
                i += second ? 4 : 3;
                continue;
            }
        }
        if (c == kRunOfEnd && next == kRunOfEnd && at(i + 2) == kRunEnd && at(i + 3) == kRunEnd) {
            text.append(kRunEnd);
            i += 4;
            continue;
        }
        // A piece of a run cut by a selection's edge: the run's own
        // characters go, any other control stays.
        if (c != kRun && c != kRunOfEnd && c != kRunEnd)
            text.append(c);
        ++i;
    }
    return text;
}

QString BidiText::closedControls(const QString& text)
{
    if (!hasControls(text))
        return text;
    QString closed;
    closed.reserve(text.size() + 8);
    // The open embeddings and isolates of the current line, innermost last:
    // true for an isolate, false for an embedding or override.
    QVector<bool> open;
    const auto closeAll = [&closed, &open] {
        while (!open.isEmpty())
            closed.append(QChar(open.takeLast() ? 0x2069 : 0x202C));
    };
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (isLineEnd(c)) {
            closeAll();
        } else if (u >= 0x202A && u <= 0x202E && u != 0x202C) {
            open.append(false);
        } else if (u >= 0x2066 && u <= 0x2068) {
            open.append(true);
        } else if (u == 0x202C) {
            // Closes the innermost embedding, never an isolate around it.
            if (open.isEmpty() || open.last())
                continue;
            open.removeLast();
        } else if (u == 0x2069) {
            // Closes the innermost isolate and the embeddings inside it.
            if (!open.contains(true))
                continue;
            while (!open.takeLast())
                closed.append(QChar(0x202C));
        }
        closed.append(c);
    }
    closeAll();
    return closed;
}
