#pragma once

#include <QString>
#include <QVector>

// Collects files for one resource collection file (.qrc) and writes it. Each entry
// maps a resource name under a prefix to a file on disk, so that names with blanks
// or brackets need no such file names on disk.
class QrcWriter
{
public:
    void add(const QString& prefix, const QString& alias, const QString& file);
    int count() const { return entries.size(); }
    // Writes the collection; an existing file with the same text is left untouched so
    // that the resource compiler does not run again for nothing.
    bool write(const QString& path, QString* error) const;

private:
    struct Entry
    {
        QString prefix;
        QString alias;
        QString file;
    };
    QVector<Entry> entries;
};
