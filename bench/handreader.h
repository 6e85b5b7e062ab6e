#ifndef HANDREADER_H
#define HANDREADER_H

#include "foundation/cryptoapi.h"
#include "foundation/databasecipher.h"
#include "model/message.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <leveldb/cache.h>
#include <leveldb/db.h>
#include <qleveldb.h>

#include <memory>

// The options the store opens its files with, with a block cache of the same
// size of its own, so that a hand reader reads nothing the store brought in.
inline leveldb::Options handReaderOptions()
{
    static leveldb::Cache* const cache = leveldb::NewLRUCache(QLevelDB::kBlockCacheBytes);
    leveldb::Options options = QLevelDB::options();
    options.block_cache = cache;
    return options;
}

// A conversation's store read by hand, straight through LevelDB: the key
// hashed and the value decrypted as the store does, and nothing else (no
// cache, no counters kept). The baseline of the benchmarks that read pages.
class HandReader
{
public:
    // Opens the store at path with the given options and reads what opening
    // a conversation reads: its counters and its newest message.
    HandReader(const QString& path, const leveldb::Options& options)
    {
        leveldb::DB* raw = nullptr;
        leveldb::DB::Open(options, path.toStdString(), &raw);
        db.reset(raw);
        if (!db)
            return;
        std::string seedRecord;
        db->Get(leveldb::ReadOptions(), "index", &seedRecord);
        if (seedRecord.size() < 2)
            return;
        const QByteArray seed =
            QByteArray::fromBase64(QByteArray(seedRecord.data() + 1, int(seedRecord.size()) - 1));
        cipher.setKey(CryptoApi::hash(seed, CryptoApi::SHA256).left(16),
                      CryptoApi::hash(seed, CryptoApi::SHA512).left(16));
        newest = QJsonDocument::fromJson(value("chatData"))
                     .object()
                     .value(QStringLiteral("maxCounter"))
                     .toInt();
        value(value(QByteArray::number(newest)));
    }

    bool isOpen() const { return db != nullptr; }
    int newestCounter() const { return newest; }

    QByteArray value(const QByteArray& name)
    {
        if (!db)
            return QByteArray();
        const QByteArray key = CryptoApi::hash(name, CryptoApi::SHA512).toBase64();
        std::string record;
        db->Get(leveldb::ReadOptions(), leveldb::Slice(key.constData(), size_t(key.size())),
                &record);
        if (record.empty())
            return QByteArray();
        return cipher.decrypt(
            QByteArray::fromBase64(QByteArray(record.data() + 1, int(record.size()) - 1)));
    }

    // The count messages at and below position top, newest first.
    QList<Message> page(int top, int count)
    {
        QList<Message> list;
        for (int c = top; c > top - count; --c) {
            const QByteArray id = value(QByteArray::number(c));
            if (id.isEmpty())
                break;
            Message message;
            message.fromDBJson(QJsonDocument::fromJson(value(id)).object());
            list.append(message);
        }
        return list;
    }

private:
    std::unique_ptr<leveldb::DB> db;
    DataBaseCipher cipher;
    int newest = 0;
};

#endif // HANDREADER_H
