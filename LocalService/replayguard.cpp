#include "replayguard.h"

#include "foundation/simpleqtlogger.h"

#include <QDateTime>
#include <QSaveFile>

ReplayGuard::ReplayGuard(const QString& path, qint64 windowMsecs) : path(path), window(windowMsecs)
{
    if (!path.isEmpty())
        load(QDateTime::currentMSecsSinceEpoch());
}

void ReplayGuard::load(qint64 nowMsecs)
{
    QFile in(path);
    if (in.open(QIODevice::ReadOnly)) {
        while (!in.atEnd()) {
            // "<msecs> <id>"; a line cut short by a kill is skipped.
            const QByteArray line = in.readLine();
            if (!line.endsWith('\n'))
                break;
            const int space = line.indexOf(' ');
            bool ok = false;
            const qint64 at = line.left(space).toLongLong(&ok);
            const QString id = QString::fromLatin1(line.mid(space + 1).trimmed());
            if (!ok || space <= 0 || id.isEmpty() || seen.contains(id))
                continue;
            seen.insert(id, at);
            order.enqueue({at, id});
        }
    }
    expire(nowMsecs);
    rewrite();
}

bool ReplayGuard::admit(const QString& id, qint64 nowMsecs)
{
    expire(nowMsecs);
    if (seen.contains(id))
        return false;
    seen.insert(id, nowMsecs);
    order.enqueue({nowMsecs, id});
    append(id, nowMsecs);
    return true;
}

void ReplayGuard::expire(qint64 nowMsecs)
{
    while (!order.isEmpty() && order.head().at <= nowMsecs - window)
        seen.remove(order.dequeue().id);
}

void ReplayGuard::append(const QString& id, qint64 at)
{
    if (path.isEmpty())
        return;
    if (linesInFile > 2 * seen.size() + 1024) {
        rewrite();
        return;
    }
    if (!file.isOpen() && !file.open(QIODevice::Append)) {
        L_WARN(QStringLiteral("ReplayGuard | cannot append to ") + path);
        return;
    }
    file.write(QByteArray::number(at) + ' ' + id.toLatin1() + '\n');
    file.flush();
    ++linesInFile;
}

void ReplayGuard::rewrite()
{
    if (path.isEmpty())
        return;
    file.close();
    QByteArray content;
    for (const Entry& entry : qAsConst(order))
        content += QByteArray::number(entry.at) + ' ' + entry.id.toLatin1() + '\n';
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        L_WARN(QStringLiteral("ReplayGuard | cannot write ") + path);
    linesInFile = order.size();
    file.setFileName(path);
}
