#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>

// A translation catalogue read from its XML source form (.ts): for each context and
// source text, the translation and whether it is finished.
class Catalogue
{
public:
    struct Entry
    {
        QString translation;
        bool finished = false;
    };
    using Key = QPair<QString, QString>; // context, source text

    bool read(const QString& path, QString* error);
    const QHash<Key, Entry>& entries() const { return items; }
    // Keys of `wanted` that have no finished, non-empty entry here, as
    // "context: source" lines in a stable order.
    QStringList missing(const Catalogue& wanted) const;
    // Adds to the catalogue file at `path` an unfinished entry for every key of
    // `wanted` that it lacks, leaving every other entry as it is; returns how many.
    static int addAbsent(const QString& path, const Catalogue& wanted, QString* error);

private:
    QHash<Key, Entry> items;
};
