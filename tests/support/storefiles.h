#ifndef STOREFILES_H
#define STOREFILES_H

#include <QDir>
#include <QFile>
#include <QString>

// What a process killed right after a write leaves behind: the store's files
// as they are at that moment (LevelDB has handed every write to the system).
inline void copyStoreFiles(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
        if (name != QLatin1String("LOCK"))
            QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name);
    }
}

#endif // STOREFILES_H
