#ifndef FILESIZETEXT_H
#define FILESIZETEXT_H

#include "foundation/quorvelcore_export.h"

#include <QString>
#include <QtGlobal>

// Short texts for byte counts: "12.5 MB", "512 B", "0.3 / 12.5 MB".
class QUORVELCORE_EXPORT FileSizeText
{
public:
    enum FileSizeTier
    {
        GB = 0,
        MB = 1,
        KB = 2,
        Bytes = 3
    };

    static FileSizeTier findFileSizeTier(qint64 size);
    static qint64 getFileSizeTierBase(FileSizeTier tier);
    static qint64 getFileSizeTierBase(qint64 size);
    static QString getFileSizeTierString(FileSizeTier tier);
    static QString getFileSizeTierString(qint64 size);

    static QString getFileSizeStringInTier(qint64 size, FileSizeTier tier);
    static QString getFileSizeStringInTier(qint64 size, qint64 referenceSize);
    static QString getFileSizeString(qint64 size);
    static QString getDownloadString(qint64 done, qint64 total);
};

#endif // FILESIZETEXT_H
