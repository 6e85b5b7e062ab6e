#include "foundation/filesizetext.h"

FileSizeText::FileSizeTier FileSizeText::findFileSizeTier(qint64 size)
{
    if (size > 1073741824)
        return GB;
    if (size > 1048576)
        return MB;
    if (size > 1024)
        return KB;
    return Bytes;
}

qint64 FileSizeText::getFileSizeTierBase(FileSizeTier tier)
{
    switch (tier) {
    case GB:
        return 1073741824;
    case MB:
        return 1048576;
    case KB:
        return 1024;
    case Bytes:
        break;
    }
    return 1;
}

qint64 FileSizeText::getFileSizeTierBase(qint64 size)
{
    return getFileSizeTierBase(findFileSizeTier(size));
}

QString FileSizeText::getFileSizeTierString(FileSizeTier tier)
{
    switch (tier) {
    case GB:
        return QStringLiteral("GB");
    case MB:
        return QStringLiteral("MB");
    case KB:
        return QStringLiteral("KB");
    case Bytes:
        return QStringLiteral("B");
    }
    return QString();
}

QString FileSizeText::getFileSizeTierString(qint64 size)
{
    return getFileSizeTierString(findFileSizeTier(size));
}

QString FileSizeText::getFileSizeStringInTier(qint64 size, FileSizeTier tier)
{
    if (tier == Bytes)
        return QString::number(size);
    return QString::number(double(size) / double(getFileSizeTierBase(tier)), 'f', 1);
}

QString FileSizeText::getFileSizeStringInTier(qint64 size, qint64 referenceSize)
{
    return getFileSizeStringInTier(size, findFileSizeTier(referenceSize));
}

QString FileSizeText::getFileSizeString(qint64 size)
{
    return getFileSizeStringInTier(size, size) + QLatin1Char(' ') + getFileSizeTierString(size);
}

QString FileSizeText::getDownloadString(qint64 done, qint64 total)
{
    return getFileSizeStringInTier(done, total) + QStringLiteral(" / ") +
           getFileSizeStringInTier(total, total) + QLatin1Char(' ') + getFileSizeTierString(total);
}
