#ifndef STOREWRITES_H
#define STOREWRITES_H

#include "foundation/database.h"
#include "testcrypto.h"

#include <QDir>
#include <QFile>

// How often a record was written to a store since its write-ahead log began:
// LevelDB appends every put to the store's .log file with the stored key, which
// for a DataBase is the Base64 SHA-512 of the record's name.
inline int storeWritesOf(const QString& storeName, const QString& key)
{
    const QByteArray stored = TestCrypto::digest("SHA512", key.toUtf8()).toBase64();
    const QDir dir(DataBase::pathForName(storeName));
    int count = 0;
    for (const QString& name : dir.entryList({QStringLiteral("*.log")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        for (int at = bytes.indexOf(stored); at >= 0; at = bytes.indexOf(stored, at + 1))
            ++count;
    }
    return count;
}

#endif // STOREWRITES_H
