#ifndef QLEVELDB_H
#define QLEVELDB_H

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

namespace leveldb {
class DB;
struct Options;
struct ReadOptions;
class WriteBatch;
} // namespace leveldb

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
    // True also for a database closed while idle: it opens again by itself.
    bool opened() const;
    // Whether its files are open now.
    bool resident() const;
    // Open now, or opened again after an idle close; false when it is not
    // open or cannot open again.
    bool available() const;

    // A database that closes when idle is closed again, least recently used
    // first, when more than idleOpenLimit() such databases of one thread are
    // open, and opens again by itself at its next read or write: a process
    // with a store for each of thousands of conversations holds the files of
    // only a few. One with writes pending in a batch stays open.
    void setClosesWhenIdle(bool closes);
    static void setIdleOpenLimit(int limit);
    static int idleOpenLimit();
    static const int kDefaultIdleOpenLimit = 64;
    // How many databases of the process have their files open now.
    static int residentCount();
    // LevelDB's own text for the last failed operation.
    QString lastError() const;
    // How many writes of the calling thread failed so far (to any database):
    // a caller compares the figure before and after a piece of work to learn
    // whether everything it wrote reached the disk.
    static quint64 writeFailures();

    // The stored value, or defaultValue when the key is absent, the store is
    // not open or the record cannot be read.
    QVariant get(const QString& key, const QVariant& defaultValue = QVariant()) const;
    bool put(const QString& key, const QVariant& value);
    bool del(const QString& key);

    // Byte-level access for callers that keep text: the key is used as it is,
    // and a text record's UTF-8 bytes are read and written without passing
    // through QString. Text written here reads back through get() as a
    // QString, and any record get() reads as text comes back as its UTF-8.
    bool getText(const QByteArray& key, QByteArray* utf8) const;
    bool putText(const QByteArray& key, const QByteArray& utf8);
    // Whether a readable record is stored under the key.
    bool exists(const QByteArray& key) const;
    bool del(const QByteArray& key);

    // Writes from here to commitBatch() reach the disk together, in one
    // write; a read in between first writes what is pending, so reads always
    // see every earlier write. False when the pending writes failed or the
    // database could not be written at all.
    void beginBatch();
    bool commitBatch();

    void close();
    // Closes every database of the process that is open, each as close()
    // does, so their directories can be deleted; a database closed this way
    // reads and writes nothing until it is opened again. Call it on the
    // thread that uses the databases. The number closed.
    static int closeAll();

    // Called on the writing thread after every write that reached a
    // database of the process (a single put or delete, or a whole batch),
    // with that database; for following writes as they land, such as taking
    // a copy of the files at each step. Set it while no database writes.
    using WriteObserver = std::function<void(const QLevelDB& database)>;
    static void setWriteObserver(WriteObserver observer);

    // Deletes the database at the given path with all its files.
    static Status destroyDB(const QString& filename);

    // Size of each database's table cache (LevelDB's max_open_files). An
    // entry exists only for a table that was read, and tables beyond
    // LevelDB's process-wide budget of mappings and descriptors are read
    // without holding a descriptor, so an open database costs three
    // descriptors: its lock, its write-ahead log and its manifest. The cache
    // is large enough for a long history never to reopen its tables.
    static const int kMaxOpenFiles = 1000;
    // The block cache all databases of the process share.
    static const int kBlockCacheBytes = 8 * 1024 * 1024;
    // The options every database is opened with (shared block cache, Bloom
    // filters, table files read without mapping them), for measuring LevelDB
    // directly under the same conditions.
    static leveldb::Options options();
    // How exists() reads: a key looked up to see whether it is new (the
    // duplicate check of every arriving message) is nearly always absent, so
    // the rare data block its Bloom filter lets through is not kept in the
    // shared block cache, where it would push out the blocks pages are read
    // from and grow the memory of a long write.
    static leveldb::ReadOptions existenceReadOptions();

protected:
    // Counts a failed write of this thread and returns false: also for what
    // a subclass could not write because its database would not open.
    bool writeFailed(const QString& reason) const;

private:
    // Closes the files of a database closed while idle.
    void rest();
    bool write(leveldb::WriteBatch* batch);
    // After a failed write LevelDB's log may end in half a record, and a
    // failed compaction refuses every later write: the database is opened
    // again (which replays the log into a table and starts a new one) before
    // it is written again, once the disk has room for that.
    bool reopenAfterFailure();
    // False for a write to a database that is not available, counted as
    // failed when it was open before.
    bool unavailableForWrite() const;
    // The pending batch while batching, otherwise the single write given.
    leveldb::WriteBatch* writeTarget(leveldb::WriteBatch* single) const;
    bool writeUnlessBatched(leveldb::WriteBatch* single);
    bool decodeRecord(const std::string& data, QVariant* value) const;
    bool flushBatch() const;
    // Reads with the given options, or the default ones.
    bool readRecord(const QByteArray& key, std::string* data,
                    const leveldb::ReadOptions* options = nullptr) const;

    QString m_filename;
    std::unique_ptr<leveldb::DB> m_db;
    mutable std::unique_ptr<leveldb::WriteBatch> m_batch;
    // An emptied batch kept for the next beginBatch().
    std::unique_ptr<leveldb::WriteBatch> m_spareBatch;
    mutable bool m_batchFailed = false;
    mutable QString m_lastError;
    bool m_closesWhenIdle = false;
    mutable bool m_resting = false;
    bool m_reopenBeforeWrite = false;
};

#endif // QLEVELDB_H
