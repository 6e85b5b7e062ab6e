#include "qleveldb.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdarg>
#include <mutex>

#include <leveldb/db.h>
#include <leveldb/env.h>
#include <leveldb/options.h>
#include <leveldb/status.h>

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

std::string toKey(const QString& key)
{
    const QByteArray bytes = key.toUtf8();
    return std::string(bytes.constData(), size_t(bytes.size()));
}

// Record layout: one tag byte, then the payload. Text and byte arrays, which
// are nearly all that is stored, keep their bytes as they are ('S' for UTF-8
// text, 'B' for raw bytes), so the records stay readable with LevelDB alone;
// any other type is kept as its QDataStream form ('V').
std::string encode(const QVariant& value)
{
    QByteArray bytes;
    if (value.type() == QVariant::String) {
        bytes = 'S' + value.toString().toUtf8();
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

bool decode(const std::string& data, QVariant* value)
{
    if (data.empty())
        return false;
    const QByteArray payload(data.data() + 1, int(data.size()) - 1);
    switch (data[0]) {
    case 'S':
        *value = QString::fromUtf8(payload);
        return true;
    case 'B':
        *value = payload;
        return true;
    case 'V': {
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
}

} // namespace

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
    static SilentLogger silentLogger;
    leveldb::Options options;
    options.create_if_missing = true;
    options.max_open_files = kMaxOpenFiles;
    options.info_log = &silentLogger;
    leveldb::DB* db = nullptr;
    const leveldb::Status s =
        leveldb::DB::Open(options, QFile::encodeName(m_filename).toStdString(), &db);
    if (!s.ok()) {
        m_lastError = QString::fromStdString(s.ToString());
        delete db;
        return toStatus(s);
    }
    m_db.reset(db);
    m_lastError.clear();
    return Ok;
}

bool QLevelDB::opened() const
{
    return m_db != nullptr;
}

QString QLevelDB::lastError() const
{
    return m_lastError;
}

QVariant QLevelDB::get(const QString& key, const QVariant& defaultValue) const
{
    if (!m_db)
        return defaultValue;
    std::string data;
    const leveldb::Status s = m_db->Get(leveldb::ReadOptions(), toKey(key), &data);
    if (!s.ok()) {
        if (!s.IsNotFound())
            m_lastError = QString::fromStdString(s.ToString());
        return defaultValue;
    }
    QVariant value;
    if (!decode(data, &value)) {
        m_lastError = QStringLiteral("undecodable record");
        return defaultValue;
    }
    return value;
}

bool QLevelDB::put(const QString& key, const QVariant& value)
{
    if (!m_db)
        return false;
    const leveldb::Status s = m_db->Put(leveldb::WriteOptions(), toKey(key), encode(value));
    if (!s.ok())
        m_lastError = QString::fromStdString(s.ToString());
    return s.ok();
}

bool QLevelDB::del(const QString& key)
{
    if (!m_db)
        return false;
    const leveldb::Status s = m_db->Delete(leveldb::WriteOptions(), toKey(key));
    if (!s.ok())
        m_lastError = QString::fromStdString(s.ToString());
    return s.ok();
}

void QLevelDB::close()
{
    m_db.reset();
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
