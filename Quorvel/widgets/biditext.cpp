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
