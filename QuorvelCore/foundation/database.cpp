#include "foundation/database.h"

#include "foundation/cryptoapi.h"
#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QJsonDocument>
#include <QLocale>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <openssl/evp.h>
#include <openssl/sha.h>

namespace {
const QString kSeedKey = QStringLiteral("index");
const int kSeedSize = 32;

// SHA-512 with the digest fetched once and a context kept per thread: the
// one-call SHA512() looks the algorithm up again for every key.
void sha512(const QByteArray& bytes, unsigned char* digest)
{
#if OPENSSL_VERSION_NUMBER >= 0x30000000L
    static EVP_MD* const md = EVP_MD_fetch(nullptr, "SHA512", nullptr);
    struct Context
    {
        EVP_MD_CTX* ctx = EVP_MD_CTX_new();
        ~Context() { EVP_MD_CTX_free(ctx); }
    };
    thread_local Context context;
    unsigned int size = 0;
    if (md && context.ctx && EVP_DigestInit_ex2(context.ctx, md, nullptr) == 1 &&
        EVP_DigestUpdate(context.ctx, bytes.constData(), size_t(bytes.size())) == 1 &&
        EVP_DigestFinal_ex(context.ctx, digest, &size) == 1 && size == SHA512_DIGEST_LENGTH)
        return;
#endif
    SHA512(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()), digest);
}

QString appDataFolder()
{
    const QStringList locations =
        QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    return locations.isEmpty() ? QDir::homePath() : locations.first();
}

} // namespace

DataBase::DataBase() : QLevelDB(nullptr) {}

DataBase::DataBase(const QString& name) : QLevelDB(nullptr)
{
    setDBName(name);
}

QString DataBase::pathForName(const QString& name)
{
    const QByteArray digest = CryptoApi::hash(name.toUtf8(), CryptoApi::SHA1);
    return appDataFolder() + QStringLiteral("/Data/") + QString::fromLatin1(digest.toHex());
}

void DataBase::setDBName(const QString& name)
{
    QLevelDB::close();
    cipher.clear();
    setFilename(pathForName(name));
    const Status status = open();
    if (status != Ok) {
        L_ERROR(QStringLiteral("DataBase::setDBName | cannot open store '%1' at %2: %3")
                    .arg(name, filename(), lastError()));
    }
    initKey();
}

void DataBase::initKey()
{
    QByteArray seed = QByteArray::fromBase64(QLevelDB::get(kSeedKey, QVariant()).toByteArray());
    if (seed.size() != kSeedSize) {
        if (!seed.isEmpty())
            L_ERROR(QStringLiteral("DataBase::initKey | seed record of %1 is damaged; "
                                   "earlier values are unreadable")
                        .arg(filename()));
        seed.resize(kSeedSize);
        QRandomGenerator* random = QRandomGenerator::system();
        for (int i = 0; i < kSeedSize; ++i)
            seed[i] = char(((random->generate() % 256) + 128) % 256);
        if (isOpen() && !QLevelDB::put(kSeedKey, QVariant(seed.toBase64())))
            L_ERROR(QStringLiteral("DataBase::initKey | cannot store the seed of %1: %2")
                        .arg(filename(), lastError()));
    }
    cipher.setKey(CryptoApi::hash(seed, CryptoApi::SHA256).left(16),
                  CryptoApi::hash(seed, CryptoApi::SHA512).left(16));
}

bool DataBase::isOpen() const
{
    return opened();
}

void DataBase::close()
{
    QLevelDB::close();
}

void DataBase::remove()
{
    const QString path = filename();
    QLevelDB::close();
    cipher.clear();
    if (!path.isEmpty() && destroyDB(path) != Ok)
        L_ERROR(QStringLiteral("DataBase::remove | cannot delete %1").arg(path));
}

QByteArray DataBase::hashedKey(const QString& key) const
{
    HashedKey* oldest = &recentKeys[0];
    for (HashedKey& recent : recentKeys) {
        if (!recent.hashed.isEmpty() && recent.key == key) {
            recent.used = ++keyUses;
            return recent.hashed;
        }
        if (recent.used < oldest->used)
            oldest = &recent;
    }
    unsigned char digest[SHA512_DIGEST_LENGTH];
    sha512(key.toUtf8(), digest);
    oldest->key = key;
    oldest->hashed =
        QByteArray::fromRawData(reinterpret_cast<const char*>(digest), sizeof digest).toBase64();
    oldest->used = ++keyUses;
    return oldest->hashed;
}

bool DataBase::contains(const QString& key) const
{
    return exists(hashedKey(key));
}

bool DataBase::del(const QString& key)
{
    return QLevelDB::del(hashedKey(key));
}

bool DataBase::putUtf8(const QString& key, const QByteArray& utf8)
{
    if (!cipher.isReady())
        return false;
    const QByteArray encrypted = cipher.encrypt(utf8);
    if (encrypted.isEmpty())
        return false;
    return putText(hashedKey(key), encrypted.toBase64());
}

bool DataBase::getUtf8(const QString& key, QByteArray* utf8) const
{
    if (!cipher.isReady())
        return false;
    QByteArray stored;
    if (!getText(hashedKey(key), &stored) || stored.isEmpty())
        return false;
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        stored, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty() || decoded.decoded.size() % CryptoApi::kBlockSize) {
        L_ERROR(QStringLiteral("DataBase::get | damaged record in %1").arg(filename()));
        return false;
    }
    *utf8 = cipher.decrypt(decoded.decoded);
    return true;
}

bool DataBase::put(const QString& key, const QString& value)
{
    return putUtf8(key, value.toUtf8());
}

bool DataBase::get(const QString& key, QString* out) const
{
    QByteArray plain;
    if (!getUtf8(key, &plain))
        return false;
    // Decoded whole: a value may contain zero characters.
    *out = QString::fromUtf8(plain.constData(), plain.size());
    return true;
}

bool DataBase::put(const QString& key, int value)
{
    return put(key, QString::number(value));
}
bool DataBase::put(const QString& key, long value)
{
    return put(key, QString::number(value));
}
bool DataBase::put(const QString& key, qint64 value)
{
    return put(key, QString::number(value));
}

bool DataBase::put(const QString& key, float value)
{
    // Shortest text that reads back as the same float.
    return put(key, QString::number(double(value), 'g', QLocale::FloatingPointShortest));
}

bool DataBase::put(const QString& key, double value)
{
    return put(key, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

bool DataBase::put(const QString& key, bool value)
{
    return put(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool DataBase::put(const QString& key, const QByteArray& value)
{
    return put(key, QString::fromLatin1(value.toHex()));
}

bool DataBase::put(const QString& key, const QJsonArray& value)
{
    return putUtf8(key, QJsonDocument(value).toJson(QJsonDocument::Compact));
}

bool DataBase::put(const QString& key, const QJsonObject& value)
{
    return putUtf8(key, QJsonDocument(value).toJson(QJsonDocument::Compact));
}

bool DataBase::get(const QString& key, int* out) const
{
    return getConverted(key, out, [](const QString& text) { return text.toInt(); });
}

bool DataBase::get(const QString& key, long* out) const
{
    return getConverted(key, out, [](const QString& text) { return text.toLong(); });
}

bool DataBase::get(const QString& key, qint64* out) const
{
    return getConverted(key, out, [](const QString& text) { return text.toLongLong(); });
}

bool DataBase::get(const QString& key, float* out) const
{
    return getConverted(key, out, [](const QString& text) { return text.toFloat(); });
}

bool DataBase::get(const QString& key, double* out) const
{
    return getConverted(key, out, [](const QString& text) { return text.toDouble(); });
}

bool DataBase::get(const QString& key, bool* out) const
{
    return getConverted(key, out,
                        [](const QString& text) { return text == QLatin1String("true"); });
}

bool DataBase::get(const QString& key, QByteArray* out) const
{
    return getConverted(key, out,
                        [](const QString& text) { return QByteArray::fromHex(text.toLatin1()); });
}

bool DataBase::get(const QString& key, QJsonArray* out) const
{
    QJsonDocument doc;
    if (!getDocument(key, &doc) || !doc.isArray())
        return false;
    *out = doc.array();
    return true;
}

bool DataBase::get(const QString& key, QJsonObject* out) const
{
    QJsonDocument doc;
    if (!getDocument(key, &doc) || !doc.isObject())
        return false;
    *out = doc.object();
    return true;
}

bool DataBase::getDocument(const QString& key, QJsonDocument* out) const
{
    QByteArray text;
    if (!getUtf8(key, &text))
        return false;
    *out = QJsonDocument::fromJson(text);
    return true;
}
