#ifndef QLEVELDB_H
#define QLEVELDB_H

#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>

namespace leveldb {
class DB;
}

// A thin Qt wrapper over one LevelDB database directory. Values are stored as
// the serialised form of a QVariant, so a value reads back with its type.
class QLevelDB : public QObject
{
    Q_OBJECT
public:
    enum Status
    {
        Ok = 0,
        NotFound,
        Corruption,
        NotSupported,
        InvalidArgument,
        IOError,
        AlreadyOpen,
        NoFilename,
        Undefined
    };
    Q_ENUM(Status)

    explicit QLevelDB(QObject* parent = nullptr);
    ~QLevelDB() override;

    void setFilename(const QString& filename);
    QString filename() const;

    // Opens (creating when missing) the database at filename(). Each database
    // keeps only a few files open, so many stores can be open at once.
    // Another holder of the same directory (this or another process) makes
    // the open fail with IOError; lastError() has LevelDB's reason.
    Status open();
    bool opened() const;
    // LevelDB's own text for the last failed operation.
    QString lastError() const;

    // The stored value, or defaultValue when the key is absent, the store is
    // not open or the record cannot be read.
    QVariant get(const QString& key, const QVariant& defaultValue = QVariant()) const;
    bool put(const QString& key, const QVariant& value);
    bool del(const QString& key);

    void close();

    // Deletes the database at the given path with all its files.
    static Status destroyDB(const QString& filename);

    // Size of each database's table cache (LevelDB's max_open_files, which it
    // clamps to at least 74). Table files beyond LevelDB's process-wide budget
    // are read without holding a descriptor, so an open database otherwise
    // costs three descriptors: its lock, its write-ahead log and its manifest.
    static const int kMaxOpenFiles = 74;

private:
    QString m_filename;
    std::unique_ptr<leveldb::DB> m_db;
    mutable QString m_lastError;
};

#endif // QLEVELDB_H
