#ifndef REPLAYGUARD_H
#define REPLAYGUARD_H

#include <QFile>
#include <QHash>
#include <QQueue>
#include <QString>

// Remembers the RequestIds of signed requests for a window of time, so the
// same request sent again (a replay: every retry of a real client builds a
// new packet with a new id) is refused. With a file the ids outlive a
// restart: each new id is appended at once, and the file is written anew
// without the expired ones when they outnumber the live ones.
class ReplayGuard
{
public:
    // path empty: memory only.
    explicit ReplayGuard(const QString& path = QString(), qint64 windowMsecs = 24 * 3600 * 1000);

    // False when id was seen within the window; otherwise remembers it.
    bool admit(const QString& id, qint64 nowMsecs);
    int size() const { return seen.size(); }

private:
    void load(qint64 nowMsecs);
    void expire(qint64 nowMsecs);
    void append(const QString& id, qint64 at);
    void rewrite();

    struct Entry
    {
        qint64 at;
        QString id;
    };

    QString path;
    qint64 window;
    QHash<QString, qint64> seen;
    QQueue<Entry> order;
    QFile file;
    int linesInFile = 0;
};

#endif // REPLAYGUARD_H
