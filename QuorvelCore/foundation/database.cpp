#include "foundation/database.h"

#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QJsonDocument>
#include <QLocale>
#include <QRandomGenerator>
#include <QStandardPaths>

namespace {
const QString kSeedKey = QStringLiteral("index");
const int kSeedSize = 32;

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
    encryptionKey.clear();
    iv.clear();
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
    encryptionKey = CryptoApi::hash(seed, CryptoApi::SHA256).left(16);
    iv = CryptoApi::hash(seed, CryptoApi::SHA512).left(16);
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
    encryptionKey.clear();
    iv.clear();
    if (!path.isEmpty() && destroyDB(path) != Ok)
        L_ERROR(QStringLiteral("DataBase::remove | cannot delete %1").arg(path));
}

QString DataBase::hashedKey(const QString& key)
{
    return QString::fromLatin1(CryptoApi::hash(key.toUtf8(), CryptoApi::SHA512).toBase64());
}

bool DataBase::contains(const QString& key) const
{
    return !QLevelDB::get(hashedKey(key), QVariant()).isNull();
}

bool DataBase::del(const QString& key)
{
    return QLevelDB::del(hashedKey(key));
}

bool DataBase::put(const QString& key, const QString& value)
{
    if (encryptionKey.isEmpty())
        return false;
    const QByteArray cipher =
        CryptoApi::encrypt(value.toUtf8(), encryptionKey, iv, CryptoApi::AES128CBC);
    if (cipher.isEmpty())
        return false;
    return QLevelDB::put(hashedKey(key), QVariant(QString::fromLatin1(cipher.toBase64())));
}

bool DataBase::get(const QString& key, QString* out) const
{
    if (encryptionKey.isEmpty())
        return false;
    const QString stored = QLevelDB::get(hashedKey(key), QVariant()).toString();
    if (stored.isEmpty())
        return false;
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        stored.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty() || decoded.decoded.size() % CryptoApi::kBlockSize) {
        L_ERROR(QStringLiteral("DataBase::get | damaged record in %1").arg(filename()));
        return false;
    }
    const QByteArray plain =
        CryptoApi::decrypt(decoded.decoded, encryptionKey, iv, CryptoApi::AES128CBC);
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
    return put(key, QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact)));
}

bool DataBase::put(const QString& key, const QJsonObject& value)
{
    return put(key, QString::fromUtf8(QJsonDocument(value).toJson(QJsonDocument::Compact)));
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
    QString text;
    if (!get(key, &text))
        return false;
    *out = QJsonDocument::fromJson(text.toUtf8());
    return true;
}
