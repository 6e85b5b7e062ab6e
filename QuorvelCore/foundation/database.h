#ifndef DATABASE_H
#define DATABASE_H

#include "foundation/databasecipher.h"
#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <qleveldb.h>

// A named, encrypted key-value store: one LevelDB directory under
// "<AppData>/Data/<hex SHA-1 of the name>", keys kept as Base64 SHA-512 and
// values as Base64 AES-128-CBC under a key drawn at random for each store.
class QUORVELCORE_EXPORT DataBase : public QLevelDB
{
    Q_OBJECT
public:
    DataBase();
    explicit DataBase(const QString& name);

    // Points this object at the named store and opens it. A store that cannot
    // be opened is logged with LevelDB's reason and isOpen() stays false.
    void setDBName(const QString& name);
    bool isOpen() const;
    void close();
    // Closes the store and deletes it from disk; setDBName may follow.
    void remove();

    // The directory a store of this name lives in.
    static QString pathForName(const QString& name);

    bool contains(const QString& key) const;
    bool del(const QString& key);

    bool put(const QString& key, const QString& value);
    bool put(const QString& key, const char* value) { return put(key, QString::fromUtf8(value)); }
    bool put(const QString& key, int value);
    bool put(const QString& key, long value);
    bool put(const QString& key, qint64 value);
    bool put(const QString& key, float value);
    bool put(const QString& key, double value);
    bool put(const QString& key, bool value);
    bool put(const QString& key, const QByteArray& value);
    bool put(const QString& key, const QJsonArray& value);
    bool put(const QString& key, const QJsonObject& value);

    // Each get returns false and leaves *out untouched when the record is
    // missing or cannot be read back (bad Base64, wrong key, bad padding).
    bool get(const QString& key, QString* out) const;
    bool get(const QString& key, int* out) const;
    bool get(const QString& key, long* out) const;
    bool get(const QString& key, qint64* out) const;
    bool get(const QString& key, float* out) const;
    bool get(const QString& key, double* out) const;
    bool get(const QString& key, bool* out) const;
    bool get(const QString& key, QByteArray* out) const;
    bool get(const QString& key, QJsonArray* out) const;
    bool get(const QString& key, QJsonObject* out) const;

    // A text value as its UTF-8 bytes, for callers that keep JSON or other
    // text as bytes: the same records as put and get with a QString.
    bool putUtf8(const QString& key, const QByteArray& utf8);
    bool getUtf8(const QString& key, QByteArray* utf8) const;

private:
    // Reads the text record and, when found, writes convert(text) to *out.
    template <typename T, typename Convert>
    bool getConverted(const QString& key, T* out, Convert convert) const
    {
        QString text;
        if (!get(key, &text))
            return false;
        *out = convert(text);
        return true;
    }
    bool getDocument(const QString& key, QJsonDocument* out) const;
    QByteArray hashedKey(const QString& key) const;
    void initKey();

    DataBaseCipher cipher;
    // The keys hashed last, the least recently used replaced first: a write
    // usually follows a read of the same key, and a chat writes its
    // bookkeeping record with every message.
    struct HashedKey
    {
        QString key;
        QByteArray hashed;
        quint64 used = 0;
    };
    mutable HashedKey recentKeys[4];
    mutable quint64 keyUses = 0;
};

#endif // DATABASE_H
