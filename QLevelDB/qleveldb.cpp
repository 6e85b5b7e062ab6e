#include "qleveldb.h"

#include <QDataStream>

#include <QDir>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <list>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <leveldb/cache.h>
#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/filter_policy.h>
#include <leveldb/options.h>
#include <leveldb/status.h>
#include <leveldb/write_batch.h>

namespace {

QLevelDB::Status toStatus(const leveldb::Status& s)
{
    if (s.ok())
        return QLevelDB::Ok;
    if (s.IsNotFound())
        return QLevelDB::NotFound;
    if (s.IsCorruption())
        return QLevelDB::Corruption;
    if (s.IsNotSupportedError())
        return QLevelDB::NotSupported;
    if (s.IsInvalidArgument())
        return QLevelDB::InvalidArgument;
    if (s.IsIOError())
        return QLevelDB::IOError;
    return QLevelDB::Undefined;
}

leveldb::Slice toSlice(const QByteArray& bytes)
{
    return leveldb::Slice(bytes.constData(), size_t(bytes.size()));
}

const char kTextTag = 'S';
// Failed writes of each thread, see writeFailures().
thread_local quint64 failedWrites = 0;
// Room a database needs beyond its write-ahead logs to be opened again after a
// failed write: the logs become a table of about their size, and a new log
// and manifest are started.
const qint64 kReopenMarginBytes = 1024 * 1024;

// Whether the disk holding the database's directory has room to open it again.
bool hasRoomToReopen(const QString& directory)
{
#if defined(Q_OS_UNIX)
    struct statvfs disk;
    if (::statvfs(QFile::encodeName(directory).constData(), &disk) != 0)
        return true; // unknown: the open itself will tell
    qint64 logs = 0;
    const QFileInfoList files =
        QDir(directory).entryInfoList({QStringLiteral("*.log")}, QDir::Files);
    for (const QFileInfo& file : files)
        logs += file.size();
    return qint64(disk.f_bavail) * qint64(disk.f_frsize) >= logs + kReopenMarginBytes;
#else
    Q_UNUSED(directory)
    return true;
#endif
}
// A WriteBatch with no operation: its header only.
const size_t kEmptyBatchSize = 12;
// The largest batch whose buffer is kept for the next batch.
const size_t kKeptBatchBytes = 64 * 1024;

// Record layout: one tag byte, then the payload. Text and byte arrays, which
// are nearly all that is stored, keep their bytes as they are ('S' for UTF-8
// text, 'B' for raw bytes), so the records stay readable with LevelDB alone;
// any other type is kept as its QDataStream form ('V').
std::string encode(const QVariant& value)
{
    QByteArray bytes;
    if (value.type() == QVariant::String) {
        bytes = kTextTag + value.toString().toUtf8();
    } else if (value.type() == QVariant::ByteArray) {
        bytes = 'B' + value.toByteArray();
    } else {
        bytes = QByteArray(1, 'V');
        QDataStream out(&bytes, QIODevice::WriteOnly | QIODevice::Append);
        out.setVersion(QDataStream::Qt_5_15);
        out << value;
    }
    return std::string(bytes.constData(), size_t(bytes.size()));
}

// A 'V' record is read by Qt's own QVariant reader, which trusts what it
// reads: it builds any type a loaded library registered (a polygon of
// billions of points, say), sets room aside for every entry a list declares
// before reading any, and follows nesting as deep as the record goes. A
// record is walked first, and read only when it holds nothing but the types
// a store is given (numbers, text, bytes, and lists and maps of them), each
// list declaring no more entries than it has bytes, nested at most
// kMaxNesting deep.
const int kMaxNesting = 32;

bool isPlainVariant(QDataStream& in, int depth);

bool hasRoomFor(QDataStream& in, quint32 count)
{
    // Every entry takes at least one byte.
    const QIODevice* device = in.device();
    return in.status() == QDataStream::Ok && qint64(count) <= device->bytesAvailable();
}

template <typename T> bool readsAs(QDataStream& in)
{
    T value;
    in >> value;
    return in.status() == QDataStream::Ok;
}

template <typename T> bool isPlainList(QDataStream& in)
{
    quint32 count = 0;
    in >> count;
    if (!hasRoomFor(in, count))
        return false;
    for (quint32 i = 0; i < count; ++i) {
        if (!readsAs<T>(in))
            return false;
    }
    return true;
}

bool isPlainContainer(QDataStream& in, int type, int depth)
{
    quint32 count = 0;
    in >> count;
    if (!hasRoomFor(in, count))
        return false;
    for (quint32 i = 0; i < count; ++i) {
        if (type != QMetaType::QVariantList && !readsAs<QString>(in))
            return false;
        if (!isPlainVariant(in, depth + 1))
            return false;
    }
    return true;
}

bool isPlainVariant(QDataStream& in, int depth)
{
    if (depth > kMaxNesting)
        return false;
    quint32 type = 0;
    qint8 isNull = 0;
    in >> type >> isNull;
    if (in.status() != QDataStream::Ok)
        return false;
    switch (type) {
    case QMetaType::Bool:
        return readsAs<bool>(in);
    case QMetaType::Int:
        return readsAs<qint32>(in);
    case QMetaType::UInt:
        return readsAs<quint32>(in);
    case QMetaType::LongLong:
        return readsAs<qint64>(in);
    case QMetaType::ULongLong:
        return readsAs<quint64>(in);
    case QMetaType::Double:
        return readsAs<double>(in);
    case QMetaType::Float:
        return readsAs<float>(in);
    case QMetaType::QChar:
        return readsAs<QChar>(in);
    case QMetaType::QString:
        return readsAs<QString>(in);
    case QMetaType::QByteArray:
        return readsAs<QByteArray>(in);
    case QMetaType::QStringList:
        return isPlainList<QString>(in);
    case QMetaType::QByteArrayList:
        return isPlainList<QByteArray>(in);
    case QMetaType::QVariantList:
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return isPlainContainer(in, int(type), depth);
    default:
        return false;
    }
}

bool isPlainRecord(const QByteArray& payload)
{
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_5_15);
    return isPlainVariant(in, 0) && in.atEnd();
}

bool decode(const std::string& data, QVariant* value)
{
    if (data.empty())
        return false;
    const QByteArray payload(data.data() + 1, int(data.size()) - 1);
    switch (data[0]) {
    case kTextTag:
        *value = QString::fromUtf8(payload);
        return true;
    case 'B':
        *value = payload;
        return true;
    case 'V': {
        if (!isPlainRecord(payload))
            return false;
        QDataStream in(payload);
        in.setVersion(QDataStream::Qt_5_15);
        QVariant v;
        in >> v;
        if (in.status() != QDataStream::Ok)
            return false;
        *value = v;
        return true;
    }
    default:
        return false;
    }
}

// LevelDB's own diagnostics would cost one open file per database; they are
// dropped, and failures are reported through the returned statuses instead.
class SilentLogger : public leveldb::Logger
{
public:
    void Logv(const char*, std::va_list) override {}
};

// Each open database holds a lock file, its write-ahead log and its manifest
// open. With one store per conversation a process can hold many hundreds of
// databases, so the soft descriptor limit is raised to the hard one once.
void raiseDescriptorLimit()
{
#if defined(Q_OS_UNIX)
    static std::once_flag once;
    std::call_once(once, [] {
        struct rlimit limit;
        if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
            return;
        const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? rlim_t(65536) : limit.rlim_max;
        if (limit.rlim_cur < wanted) {
            limit.rlim_cur = wanted;
            setrlimit(RLIMIT_NOFILE, &limit);
        }
    });
#endif
}

#if defined(Q_OS_UNIX)
// Table files read with pread into the shared block cache instead of being
// mapped: mapped tables stay resident after compaction has read them, so a
// process that wrote a long history would hold every table it ever
// compacted. A file keeps its descriptor while the process-wide budget (a
// fifth of the descriptor limit, as LevelDB's own) allows, and is otherwise
// opened for each read.
class TableFile : public leveldb::RandomAccessFile
{
public:
    TableFile(std::string path, int fd, std::atomic<int>* budget)
        : path(std::move(path)), fd(fd), budget(budget)
    {
    }
    ~TableFile() override
    {
        if (fd >= 0) {
            ::close(fd);
            budget->fetch_add(1);
        }
    }

    leveldb::Status Read(uint64_t offset, size_t n, leveldb::Slice* result,
                         char* scratch) const override
    {
        int readFd = fd;
        if (readFd < 0) {
            readFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (readFd < 0)
                return leveldb::Status::IOError(path, std::strerror(errno));
        }
        size_t done = 0;
        leveldb::Status status;
        while (done < n) {
            const ssize_t got = ::pread(readFd, scratch + done, n - done, off_t(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                status = leveldb::Status::IOError(path, std::strerror(errno));
                break;
            }
            if (got == 0)
                break;
            done += size_t(got);
        }
        if (readFd != fd)
            ::close(readFd);
        *result = leveldb::Slice(scratch, status.ok() ? done : 0);
        return status;
    }

private:
    const std::string path;
    const int fd;
    std::atomic<int>* const budget;
};

class TableReadingEnv : public leveldb::EnvWrapper
{
public:
    TableReadingEnv() : leveldb::EnvWrapper(leveldb::Env::Default())
    {
        struct rlimit limit;
        if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            budget = int(limit.rlim_cur / 5);
        else
            budget = 1 << 20;
    }

    leveldb::Status NewRandomAccessFile(const std::string& name,
                                        leveldb::RandomAccessFile** result) override
    {
        *result = nullptr;
        int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return leveldb::Status::IOError(name, std::strerror(errno));
        if (budget.fetch_sub(1) <= 0) {
            budget.fetch_add(1);
            ::close(fd);
            fd = -1;
        }
        *result = new TableFile(name, fd, &budget);
        return leveldb::Status::OK();
    }

private:
    std::atomic<int> budget{0};
};

leveldb::Env* tableReadingEnv()
{
    static TableReadingEnv* const env = new TableReadingEnv;
    return env;
}
#else
// Elsewhere LevelDB's own environment reads the tables.
leveldb::Env* tableReadingEnv()
{
    return leveldb::Env::Default();
}
#endif

// Every database of the process that is open now, for closing them all at once.
struct OpenDatabases
{
    std::mutex mutex;
    std::set<QLevelDB*> open;
};

OpenDatabases& openDatabases()
{
    static OpenDatabases databases;
    return databases;
}

// The databases that close when idle and are open now, the most recently
// used first, each with the thread that opened it.
struct IdleDatabases
{
    struct Entry
    {
        QLevelDB* database;
        std::thread::id thread;
    };
    std::mutex mutex;
    std::list<Entry> recent;
    int limit = QLevelDB::kDefaultIdleOpenLimit;

    std::list<Entry>::iterator find(const QLevelDB* database)
    {
        return std::find_if(recent.begin(), recent.end(),
                            [database](const Entry& e) { return e.database == database; });
    }
};

IdleDatabases& idleDatabases()
{
    static IdleDatabases databases;
    return databases;
}

// Shared by every database of the process: one block cache, so that many
// open stores do not each hold one of their own, and a Bloom filter in every
// table written, so that looking up an absent key (the duplicate check of
// every arriving message) rarely reads a data block. Tables written without
// a filter stay readable.
QLevelDB::WriteObserver& writeObserver()
{
    static QLevelDB::WriteObserver observer;
    return observer;
}

} // namespace

void QLevelDB::setWriteObserver(WriteObserver observer)
{
    writeObserver() = std::move(observer);
}

leveldb::Options QLevelDB::options()
{
    static SilentLogger silentLogger;
    static leveldb::Cache* const blockCache = leveldb::NewLRUCache(kBlockCacheBytes);
    static const leveldb::FilterPolicy* const bloom = leveldb::NewBloomFilterPolicy(10);
    leveldb::Options options;
    options.env = tableReadingEnv();
    options.create_if_missing = true;
    options.max_open_files = QLevelDB::kMaxOpenFiles;
    options.info_log = &silentLogger;
    options.block_cache = blockCache;
    options.filter_policy = bloom;
    return options;
}

QLevelDB::QLevelDB(QObject* parent) : QObject(parent) {}

QLevelDB::~QLevelDB()
{
    close();
}

void QLevelDB::setFilename(const QString& filename)
{
    m_filename = filename;
}

QString QLevelDB::filename() const
{
    return m_filename;
}

QLevelDB::Status QLevelDB::open()
{
    if (m_db)
        return AlreadyOpen;
    if (m_filename.isEmpty()) {
        m_lastError = QStringLiteral("no file name");
        return NoFilename;
    }
    QDir().mkpath(QFileInfo(m_filename).absolutePath());

    raiseDescriptorLimit();
    leveldb::DB* db = nullptr;
    const leveldb::Status s =
        leveldb::DB::Open(options(), QFile::encodeName(m_filename).toStdString(), &db);
    if (!s.ok()) {
        m_lastError = QString::fromStdString(s.ToString());
        delete db;
        return toStatus(s);
    }
    m_db.reset(db);
    m_lastError.clear();
    m_resting = false;
    {
        OpenDatabases& databases = openDatabases();
        std::lock_guard<std::mutex> lock(databases.mutex);
        databases.open.insert(this);
    }
    if (!m_closesWhenIdle)
        return Ok;
    // The least recently used databases of this thread beyond the limit
    // close; one that is batching writes is passed over.
    std::vector<QLevelDB*> idle;
    {
        IdleDatabases& databases = idleDatabases();
        std::lock_guard<std::mutex> lock(databases.mutex);
        const std::thread::id thread = std::this_thread::get_id();
        databases.recent.push_front({this, thread});
        int open = 0;
        for (const IdleDatabases::Entry& entry : databases.recent) {
            if (entry.thread != thread)
                continue;
            if (++open > databases.limit && !entry.database->m_batch)
                idle.push_back(entry.database);
        }
    }
    for (QLevelDB* database : idle)
        database->rest();
    return Ok;
}

bool QLevelDB::opened() const
{
    return m_db != nullptr || m_resting;
}

bool QLevelDB::resident() const
{
    return m_db != nullptr;
}

void QLevelDB::setClosesWhenIdle(bool closes)
{
    m_closesWhenIdle = closes;
}

void QLevelDB::setIdleOpenLimit(int limit)
{
    IdleDatabases& databases = idleDatabases();
    std::lock_guard<std::mutex> lock(databases.mutex);
    databases.limit = std::max(1, limit);
}

int QLevelDB::idleOpenLimit()
{
    IdleDatabases& databases = idleDatabases();
    std::lock_guard<std::mutex> lock(databases.mutex);
    return databases.limit;
}

int QLevelDB::residentCount()
{
    OpenDatabases& databases = openDatabases();
    std::lock_guard<std::mutex> lock(databases.mutex);
    return int(std::count_if(databases.open.begin(), databases.open.end(),
                             [](const QLevelDB* database) { return database->resident(); }));
}

bool QLevelDB::available() const
{
    if (m_db) {
        if (m_closesWhenIdle) {
            IdleDatabases& databases = idleDatabases();
            std::lock_guard<std::mutex> lock(databases.mutex);
            if (databases.recent.empty() || databases.recent.front().database != this) {
                const auto it = databases.find(this);
                if (it != databases.recent.end())
                    databases.recent.splice(databases.recent.begin(), databases.recent, it);
            }
        }
        return true;
    }
    if (!m_resting)
        return false;
    // Opened again where it was; a failure (no descriptor left, say) leaves
    // it closed while idle, to be tried again at the next use.
    if (const_cast<QLevelDB*>(this)->open() == Ok)
        return true;
    m_resting = true;
    return false;
}

void QLevelDB::rest()
{
    {
        IdleDatabases& databases = idleDatabases();
        std::lock_guard<std::mutex> lock(databases.mutex);
        const auto it = databases.find(this);
        if (it != databases.recent.end())
            databases.recent.erase(it);
    }
    m_db.reset();
    m_resting = true;
}

QString QLevelDB::lastError() const
{
    return m_lastError;
}

leveldb::ReadOptions QLevelDB::existenceReadOptions()
{
    leveldb::ReadOptions options;
    options.fill_cache = false;
    return options;
}

bool QLevelDB::readRecord(const QByteArray& key, std::string* data,
                          const leveldb::ReadOptions* options) const
{
    if (!available())
        return false;
    flushBatch();
    const leveldb::Status s =
        m_db->Get(options ? *options : leveldb::ReadOptions(), toSlice(key), data);
    if (!s.ok() && !s.IsNotFound())
        m_lastError = QString::fromStdString(s.ToString());
    return s.ok();
}

QVariant QLevelDB::get(const QString& key, const QVariant& defaultValue) const
{
    std::string data;
    QVariant value;
    if (!readRecord(key.toUtf8(), &data) || !decodeRecord(data, &value))
        return defaultValue;
    return value;
}

bool QLevelDB::decodeRecord(const std::string& data, QVariant* value) const
{
    if (decode(data, value))
        return true;
    m_lastError = QStringLiteral("undecodable record");
    return false;
}

bool QLevelDB::getText(const QByteArray& key, QByteArray* utf8) const
{
    std::string data;
    if (!readRecord(key, &data))
        return false;
    if (!data.empty() && (data[0] == kTextTag || data[0] == 'B')) {
        *utf8 = QByteArray(data.data() + 1, int(data.size()) - 1);
        return true;
    }
    QVariant value;
    if (!decodeRecord(data, &value))
        return false;
    *utf8 = value.toString().toUtf8();
    return true;
}

bool QLevelDB::exists(const QByteArray& key) const
{
    std::string data;
    static const leveldb::ReadOptions existence = existenceReadOptions();
    if (!readRecord(key, &data, &existence))
        return false;
    QVariant value;
    return !data.empty() && (data[0] == kTextTag || data[0] == 'B' || decode(data, &value));
}

quint64 QLevelDB::writeFailures()
{
    return failedWrites;
}

bool QLevelDB::writeFailed(const QString& reason) const
{
    m_lastError = reason;
    ++failedWrites;
    return false;
}

bool QLevelDB::unavailableForWrite() const
{
    // A store that was open and cannot open again is a write that failed; one
    // never opened writes nothing by design.
    return m_resting ? writeFailed(QStringLiteral("cannot open again: ") + m_lastError) : false;
}

bool QLevelDB::reopenAfterFailure()
{
    if (!hasRoomToReopen(m_filename))
        return writeFailed(QStringLiteral("no room on the disk to write again"));
    rest();
    const Status status = open();
    if (status != Ok) {
        // Closed, as one closed while idle: the next use tries again.
        m_resting = true;
        return writeFailed(QStringLiteral("cannot open again after a failed write: ") +
                           m_lastError);
    }
    m_reopenBeforeWrite = false;
    return true;
}

bool QLevelDB::write(leveldb::WriteBatch* batch)
{
    if (m_reopenBeforeWrite && !reopenAfterFailure())
        return false;
    if (!m_db)
        return writeFailed(QStringLiteral("not open"));
    const leveldb::Status s = m_db->Write(leveldb::WriteOptions(), batch);
    if (!s.ok()) {
        m_reopenBeforeWrite = true;
        return writeFailed(QString::fromStdString(s.ToString()));
    }
    if (writeObserver())
        writeObserver()(*this);
    return true;
}

bool QLevelDB::put(const QString& key, const QVariant& value)
{
    if (!available())
        return unavailableForWrite();
    leveldb::WriteBatch one;
    writeTarget(&one)->Put(toSlice(key.toUtf8()), encode(value));
    return writeUnlessBatched(&one);
}

bool QLevelDB::putText(const QByteArray& key, const QByteArray& utf8)
{
    if (!available())
        return unavailableForWrite();
    std::string v;
    v.reserve(size_t(utf8.size()) + 1);
    v.push_back(kTextTag);
    v.append(utf8.constData(), size_t(utf8.size()));
    leveldb::WriteBatch one;
    writeTarget(&one)->Put(toSlice(key), v);
    return writeUnlessBatched(&one);
}

bool QLevelDB::del(const QString& key)
{
    return del(key.toUtf8());
}

bool QLevelDB::del(const QByteArray& key)
{
    if (!available())
        return unavailableForWrite();
    leveldb::WriteBatch one;
    writeTarget(&one)->Delete(toSlice(key));
    return writeUnlessBatched(&one);
}

leveldb::WriteBatch* QLevelDB::writeTarget(leveldb::WriteBatch* single) const
{
    return m_batch ? m_batch.get() : single;
}

bool QLevelDB::writeUnlessBatched(leveldb::WriteBatch* single)
{
    return m_batch ? true : write(single);
}

void QLevelDB::beginBatch()
{
    if (m_batch)
        return;
    // A database that is not open, or one closed while idle that cannot open
    // again, writes nothing: the batch's commit says so.
    if (!available()) {
        unavailableForWrite();
        m_batchFailed = true;
        return;
    }
    // The last batch's buffer is used again: a store that writes each
    // message in a batch of its own does not allocate it every time.
    m_batch = m_spareBatch ? std::move(m_spareBatch) : std::make_unique<leveldb::WriteBatch>();
}

bool QLevelDB::flushBatch() const
{
    if (!m_batch || m_batch->ApproximateSize() <= kEmptyBatchSize)
        return true;
    const bool ok = const_cast<QLevelDB*>(this)->write(m_batch.get());
    // A large batch's buffer is let go rather than kept for the next one.
    if (m_batch->ApproximateSize() > kKeptBatchBytes)
        m_batch = std::make_unique<leveldb::WriteBatch>();
    else
        m_batch->Clear();
    if (!ok)
        m_batchFailed = true;
    return ok;
}

bool QLevelDB::commitBatch()
{
    const bool ok = flushBatch() && !m_batchFailed;
    if (m_batch) {
        m_batch->Clear();
        m_spareBatch = std::move(m_batch);
    }
    m_batchFailed = false;
    return ok;
}

void QLevelDB::close()
{
    commitBatch();
    if (!m_db && !m_resting)
        return;
    rest();
    m_resting = false;
    OpenDatabases& databases = openDatabases();
    std::lock_guard<std::mutex> lock(databases.mutex);
    databases.open.erase(this);
}

int QLevelDB::closeAll()
{
    std::set<QLevelDB*> open;
    {
        OpenDatabases& databases = openDatabases();
        std::lock_guard<std::mutex> lock(databases.mutex);
        open = databases.open;
    }
    for (QLevelDB* database : open)
        database->close();
    return int(open.size());
}

QLevelDB::Status QLevelDB::destroyDB(const QString& filename)
{
    if (filename.isEmpty())
        return NoFilename;
    const leveldb::Status s =
        leveldb::DestroyDB(QFile::encodeName(filename).toStdString(), leveldb::Options());
    // LevelDB leaves the emptied directory behind.
    QDir().rmdir(filename);
    return toStatus(s);
}
