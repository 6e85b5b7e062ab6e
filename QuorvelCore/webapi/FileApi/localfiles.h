#ifndef LOCALFILES_H
#define LOCALFILES_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QString>

// Safe handling of the names and files that downloads put on disk. Names come
// from URLs, peers' messages and server headers, so they are reduced to one
// plain file name that cannot leave its folder, and files are only ever
// created whole (written aside, then moved into place) and never replace a
// file that is already there.
class QUORVELCORE_EXPORT LocalFiles
{
public:
    // The last component of name (after any "/" or "\"), without control
    // characters, characters that are not allowed in file names on common
    // systems, leading dots and trailing dots or blanks, at most 200
    // characters. An empty result (including "." and "..") becomes fallback.
    static QString safeFileName(const QString& name,
                                const QString& fallback = QStringLiteral("file"));

    // Only letters, digits, "_" and "-" after the dot, at most 16 of them;
    // otherwise empty. Takes and gives the leading ".".
    static QString safeExtension(const QString& extension);

    // folder/name when no such file exists, else folder/"base (n).ext" with the
    // lowest free n.
    static QString uniquePath(const QString& folder, const QString& name);

    // Writes data to a new file beside path and moves it to path. False (and
    // nothing left behind) when writing fails or path already exists.
    static bool writeNewFile(const QString& path, const QByteArray& data);

    // Places a copy of the finished file source at target (a hard link when
    // both lie on one file system, else a copy written aside and moved into
    // place). False when target already exists or the copy fails.
    static bool placeCopy(const QString& source, const QString& target);

    // Prefix of the files a download is written to before it is complete. They
    // start with a dot, which no name from safeFileName does, so a left-over
    // part is never taken for a downloaded file.
    static const char* const kPartialPrefix;
};

#endif // LOCALFILES_H
