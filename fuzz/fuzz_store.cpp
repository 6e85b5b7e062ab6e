// The encrypted store's reading side over damaged files: the input becomes
// the raw LevelDB records of a store (its key seed, and one value under the
// name a caller reads), written behind the store's back; the store is then
// opened as the program opens it and the value read back as every type the
// program reads.
//
// Input: one byte that picks the mode, one byte with the length of the seed
// record, the seed record, and the value record (the rest). Modes (the byte
// modulo 16): 0 the seed and the value as text records, 1 both as raw
// records written with LevelDB itself, 2 the value as a raw record; each of
// these closes and reopens the store, which is slow, so the other modes,
// which write the value as a text record into the open store, are the many.

#include "fuzzsupport.h"

#include "foundation/database.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <leveldb/db.h>

#include <cstdlib>
#include <memory>

namespace {

const QString kStoreName = QStringLiteral("fuzzStore");
const QString kValueName = QStringLiteral("value");

DataBase* store = nullptr;

// The store's name for a key: Base64 of its SHA-512.
std::string storedKey(const QString& key)
{
    return QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha512)
        .toBase64()
        .toStdString();
}

void writeRaw(const std::string& key, const QByteArray& record)
{
    leveldb::DB* raw = nullptr;
    leveldb::Options options;
    options.create_if_missing = true;
    const std::string path = QFile::encodeName(DataBase::pathForName(kStoreName)).toStdString();
    if (!leveldb::DB::Open(options, path, &raw).ok())
        std::abort();
    std::unique_ptr<leveldb::DB> db(raw);
    db->Put(leveldb::WriteOptions(), key,
            leveldb::Slice(record.constData(), size_t(record.size())));
}

template <typename T> void read()
{
    T value{};
    store->get(kValueName, &value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    store = new DataBase(kStoreName);
    store->put(kValueName, QStringLiteral("{\"a\":1}"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int mode = data[0] % 16;
    const int seedSize = std::min<int>(data[1], int(size) - 2);
    const QByteArray seed = fuzz::input(data + 2, size_t(seedSize));
    const QByteArray value = fuzz::input(data + 2 + seedSize, size - 2 - size_t(seedSize));
    const QByteArray valueKey = QByteArray::fromStdString(storedKey(kValueName));

    if (mode == 1 || mode == 2) {
        store->close();
        if (mode == 1)
            writeRaw("index", seed);
        writeRaw(valueKey.toStdString(), value);
        store->setDBName(kStoreName);
    } else {
        if (mode == 0)
            store->putText("index", seed);
        store->putText(valueKey, value);
        if (mode == 0)
            store->setDBName(kStoreName);
    }

    read<QString>();
    read<int>();
    read<long>();
    read<qint64>();
    read<float>();
    read<double>();
    read<bool>();
    read<QByteArray>();
    read<QJsonArray>();
    read<QJsonObject>();
    QByteArray utf8;
    store->getUtf8(kValueName, &utf8);
    store->contains(kValueName);
    store->QLevelDB::get(QStringLiteral("index"));
    // What the program does next with a value it could not read: write it anew.
    store->put(kValueName, QStringLiteral("{\"a\":1}"));
    return 0;
}
