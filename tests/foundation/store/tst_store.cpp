#include "foundation/cryptoapi.h"
#include "foundation/database.h"
#include "testcrypto.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardPaths>
#include <QtTest>

#include <leveldb/db.h>
#include <openssl/evp.h>
#include <openssl/sha.h>

#include <memory>

namespace {

QString appData()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

// Reads one raw record of a store with LevelDB alone.
std::string readRaw(const QString& dir, const std::string& key)
{
    leveldb::DB* db = nullptr;
    leveldb::Options options;
    if (!leveldb::DB::Open(options, dir.toStdString(), &db).ok())
        return std::string();
    std::unique_ptr<leveldb::DB> holder(db);
    std::string value;
    db->Get(leveldb::ReadOptions(), key, &value);
    return value;
}

// Writes raw records into a store's directory with LevelDB alone.
void writeRaw(const QString& dir, const QList<QPair<std::string, QByteArray>>& records)
{
    leveldb::DB* db = nullptr;
    leveldb::Options options;
    options.create_if_missing = true;
    QVERIFY(leveldb::DB::Open(options, dir.toStdString(), &db).ok());
    std::unique_ptr<leveldb::DB> holder(db);
    for (const auto& record : records) {
        QVERIFY(db->Put(leveldb::WriteOptions(), record.first,
                        leveldb::Slice(record.second.constData(), size_t(record.second.size())))
                    .ok());
    }
}

// A typed record as the store keeps it: 'V', then what the caller streams.
template <typename Write> QByteArray variantRecord(Write write)
{
    QByteArray record(1, 'V');
    QDataStream out(&record, QIODevice::WriteOnly | QIODevice::Append);
    out.setVersion(QDataStream::Qt_5_15);
    write(out);
    return record;
}

QByteArray opensslDigest(const QByteArray& data, const EVP_MD* md)
{
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(data.constData(), size_t(data.size()), out, &size, md, nullptr);
    return QByteArray(reinterpret_cast<const char*>(out), int(size));
}

QByteArray opensslAes128CbcDecrypt(const QByteArray& data, const QByteArray& key,
                                   const QByteArray& iv)
{
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    QByteArray out(data.size() + 16, 0);
    int n1 = 0, n2 = 0;
    EVP_DecryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr,
                       reinterpret_cast<const unsigned char*>(key.constData()),
                       reinterpret_cast<const unsigned char*>(iv.constData()));
    EVP_DecryptUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &n1,
                      reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    const int ok = EVP_DecryptFinal_ex(ctx, reinterpret_cast<unsigned char*>(out.data()) + n1, &n2);
    EVP_CIPHER_CTX_free(ctx);
    return ok == 1 ? out.left(n1 + n2) : QByteArray();
}

int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)
        .size();
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void onDiskLayoutIsReadableWithOpenSsl();
    void typedValuesSurviveReopen();
    void readsThatFindNothing();
    void keysRevisitedInAnyOrderKeepTheirRecords();
    void damagedRecordsAreRefused();
    void typedRecordsHoldOnlyPlainValues();
    void storesNeverShareADirectory();
    void removeGivesANewSeed();
    void lockedStoreFailsCleanly();
    void batchedWritesAreSeenAndKept();
    void closeAllReleasesEveryStore();
    void aThousandStoresOpenAtOnce();
};

void TestStore::initTestCase()
{
    QCoreApplication::setOrganizationName("Quorvel");
    QCoreApplication::setApplicationName("Quorvel Desktop");
    QVERIFY(appData().startsWith(QDir::homePath()) ||
            appData().startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
}

void TestStore::onDiskLayoutIsReadableWithOpenSsl()
{
    const QString name = QStringLiteral("chatManagerDB");
    const QString text = QStringLiteral("{\"msg\":\"سلام hello\"}");
    // Values of every length around the cipher's block size, each padded
    // as OpenSSL pads (a whole block of padding after an exact multiple).
    const QList<int> lengths = {0, 1, 15, 16, 17, 31, 32, 33, 1000};
    const auto valueOf = [](int length) {
        QByteArray value(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i)
            value[i] = char('a' + i % 26);
        return value;
    };
    {
        DataBase db;
        db.setDBName(name);
        QVERIFY(db.isOpen());
        QVERIFY(db.put(QStringLiteral("someKey"), text));
        for (int length : lengths)
            QVERIFY(db.putUtf8(QStringLiteral("length%1").arg(length), valueOf(length)));
    }
    const QString dir = appData() + "/Data/" +
                        QString::fromLatin1(opensslDigest(name.toUtf8(), EVP_sha1()).toHex());
    QVERIFY2(QDir(dir).exists(), qPrintable(dir));
    QCOMPARE(DataBase::pathForName(name), dir);

    // The seed record, raw: Base64 of 32 bytes.
    const std::string seedRecord = readRaw(dir, "index");
    QVERIFY(!seedRecord.empty());
    QCOMPARE(seedRecord[0], 'B'); // kept as bytes
    const QByteArray seedText = QByteArray::fromStdString(seedRecord.substr(1));
    QCOMPARE(seedText.size(), 44);
    const QByteArray seed = QByteArray::fromBase64(seedText);
    QCOMPARE(seed.size(), 32);

    // The value under Base64(SHA-512(key)), AES-128-CBC under key/IV from the seed.
    const QByteArray hashedKey = opensslDigest("someKey", EVP_sha512()).toBase64();
    QCOMPARE(hashedKey.size(), 88);
    const std::string record = readRaw(dir, hashedKey.toStdString());
    QVERIFY(!record.empty());
    QCOMPARE(record[0], 'S'); // kept as text
    const QByteArray cipher = QByteArray::fromBase64(QByteArray::fromStdString(record.substr(1)));
    const QByteArray key = opensslDigest(seed, EVP_sha256()).left(16);
    const QByteArray iv = opensslDigest(seed, EVP_sha512()).left(16);
    QCOMPARE(QString::fromUtf8(opensslAes128CbcDecrypt(cipher, key, iv)), text);

    for (int length : lengths) {
        const std::string sealed = readRaw(
            dir, opensslDigest(QStringLiteral("length%1").arg(length).toUtf8(), EVP_sha512())
                     .toBase64()
                     .toStdString());
        QVERIFY2(sealed.size() > 1 && sealed[0] == 'S', qPrintable(QString::number(length)));
        const QByteArray bytes =
            QByteArray::fromBase64(QByteArray::fromStdString(sealed.substr(1)));
        QCOMPARE(bytes.size(), (length / 16 + 1) * 16);
        QCOMPARE(opensslAes128CbcDecrypt(bytes, key, iv), valueOf(length));
    }
    DataBase reopened;
    reopened.setDBName(name);
    for (int length : lengths) {
        QByteArray value;
        QVERIFY(reopened.getUtf8(QStringLiteral("length%1").arg(length), &value));
        QCOMPARE(value, valueOf(length));
    }
}

void TestStore::typedValuesSurviveReopen()
{
    const QJsonObject object{{"a", 1}, {"b", QJsonArray{"x", true}}};
    const QJsonArray array{1, "two", QJsonObject{{"three", 3}}};
    const QString withZero = QStringLiteral("before") + QChar(0) + QStringLiteral("after");
    {
        DataBase db(QStringLiteral("typed"));
        QVERIFY(db.put("text", QStringLiteral("Grüße ✓")));
        QVERIFY(db.put("empty", QString()));
        QVERIFY(db.put("zero", withZero));
        QVERIFY(db.put("block", QStringLiteral("0123456789abcde") + QChar(1)));
        QVERIFY(db.put("int", -42));
        QVERIFY(db.put("long", long(1234567)));
        QVERIFY(db.put("int64", qint64(9007199254740993LL)));
        QVERIFY(db.put("float", 0.1f));
        QVERIFY(db.put("double", 3.14159265358979));
        QVERIFY(db.put("tiny", 1e-300));
        QVERIFY(db.put("bool", true));
        QVERIFY(db.put("bytes", QByteArray("\x00\x01\xfe\xff", 4)));
        QVERIFY(db.put("object", object));
        QVERIFY(db.put("array", array));
        db.close();
    }
    DataBase db;
    db.setDBName(QStringLiteral("typed"));
    QString s;
    QVERIFY(db.get("text", &s));
    QCOMPARE(s, QStringLiteral("Grüße ✓"));
    s = "x";
    QVERIFY(db.get("empty", &s));
    QVERIFY(s.isEmpty());
    QVERIFY(db.get("zero", &s));
    QCOMPARE(s, withZero);
    QVERIFY(db.get("block", &s));
    QCOMPARE(s, QStringLiteral("0123456789abcde") + QChar(1));
    int i = 0;
    QVERIFY(db.get("int", &i));
    QCOMPARE(i, -42);
    long l = 0;
    QVERIFY(db.get("long", &l));
    QCOMPARE(l, long(1234567));
    qint64 i64 = 0;
    QVERIFY(db.get("int64", &i64));
    QCOMPARE(i64, qint64(9007199254740993LL));
    float f = 0;
    QVERIFY(db.get("float", &f));
    QCOMPARE(f, 0.1f);
    double d = 0;
    QVERIFY(db.get("double", &d));
    QCOMPARE(d, 3.14159265358979);
    QVERIFY(db.get("tiny", &d));
    QCOMPARE(d, 1e-300);
    bool b = false;
    QVERIFY(db.get("bool", &b));
    QVERIFY(b);
    QByteArray bytes;
    QVERIFY(db.get("bytes", &bytes));
    QCOMPARE(bytes, QByteArray("\x00\x01\xfe\xff", 4));
    QJsonObject o;
    QVERIFY(db.get("object", &o));
    QCOMPARE(o, object);
    QJsonArray a;
    QVERIFY(db.get("array", &a));
    QCOMPARE(a, array);

    // A number read from text that is not one.
    QVERIFY(db.get("text", &i));
    QCOMPARE(i, 0);
    // The wrong kind of JSON document leaves the output alone.
    QJsonArray untouched{"keep"};
    QVERIFY(!db.get("object", &untouched));
    QCOMPARE(untouched, QJsonArray{"keep"});
}

void TestStore::readsThatFindNothing()
{
    DataBase db(QStringLiteral("nothing"));
    QString s = QStringLiteral("unchanged");
    QVERIFY(!db.get("never written", &s));
    QCOMPARE(s, QStringLiteral("unchanged"));
    QVERIFY(!db.contains("never written"));
    QVERIFY(db.put("k", QStringLiteral("v")));
    QVERIFY(db.contains("k"));
    QVERIFY(db.del("k"));
    QVERIFY(!db.contains("k"));
    QVERIFY(!db.get("k", &s));
    // The seed record is out of reach of callers' keys.
    QVERIFY(!db.contains("index"));
}

void TestStore::keysRevisitedInAnyOrderKeepTheirRecords()
{
    // More keys than the store keeps hashed, written and read in strides that
    // come back to each key after others pushed it out, one of them not ASCII.
    DataBase db(QStringLiteral("revisited"));
    QStringList keys{QString::fromUtf8("\xda\xa9\xd9\x84\xdb\x8c\xd8\xaf")};
    for (int i = 1; i < 11; ++i)
        keys << QStringLiteral("key %1").arg(i);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < keys.size(); ++i) {
            const QString& key = keys[(i * 3 + round) % keys.size()];
            QVERIFY(db.put(key, key + QStringLiteral(" in round %1").arg(round)));
            const QString& other = keys[(i * 7 + round) % keys.size()];
            QString value;
            if (db.get(other, &value))
                QVERIFY(value.startsWith(other + QStringLiteral(" in round ")));
        }
    }
    db.close();
    QLevelDB raw;
    raw.setFilename(DataBase::pathForName(QStringLiteral("revisited")));
    QCOMPARE(raw.open(), QLevelDB::Ok);
    for (const QString& key : qAsConst(keys))
        QVERIFY2(raw.exists(TestCrypto::digest("SHA512", key.toUtf8()).toBase64()),
                 qPrintable(key));
    raw.close();
    DataBase reopened(QStringLiteral("revisited"));
    for (const QString& key : qAsConst(keys)) {
        QString value;
        QVERIFY(reopened.get(key, &value));
        QCOMPARE(value, key + QStringLiteral(" in round 2"));
    }
}

void TestStore::damagedRecordsAreRefused()
{
    const QString name = QStringLiteral("damaged");
    const QByteArray hashed = CryptoApi::hash("k", CryptoApi::SHA512).toBase64();
    {
        QLevelDB raw;
        raw.setFilename(DataBase::pathForName(name));
        QCOMPARE(raw.open(), QLevelDB::Ok);
        QVERIFY(raw.put(QString::fromLatin1(hashed), QStringLiteral("***not base64***")));
        QVERIFY(raw.put(QString::fromLatin1(CryptoApi::hash("short", CryptoApi::SHA512).toBase64()),
                        QStringLiteral("AAAA")));
    }
    DataBase db(name);
    QString s = QStringLiteral("unchanged");
    QVERIFY(!db.get("k", &s));
    QVERIFY(!db.get("short", &s));
    QCOMPARE(s, QStringLiteral("unchanged"));
    QVERIFY(db.contains("k"));
}

void TestStore::typedRecordsHoldOnlyPlainValues()
{
    const QString dir = DataBase::pathForName(QStringLiteral("typedRecords"));
    const QVariantMap nested{
        {"list", QStringList{"x", "y"}},
        {"hash", QVariantHash{{"n", qint64(1) << 40}}},
        {"bytes", QVariant::fromValue(QByteArrayList{QByteArray("\x00\xff", 2), ""})}};
    const QVariantList plain{
        1,          true,   2.5,           0.5f, QStringLiteral("متن"), QByteArray("\x01", 1),
        QChar('q'), nested, QVariantList{}};
    {
        QLevelDB db;
        db.setFilename(dir);
        QCOMPARE(db.open(), QLevelDB::Ok);
        QVERIFY(db.put(QStringLiteral("plain"), plain));
    }

    // Records a damaged or planted file may hold, each of which Qt's own
    // reader would follow into a crash or an allocation of gigabytes.
    const auto polygon = [](QDataStream& out) {
        out << quint32(QMetaType::QPolygonF) << qint8(0) << quint32(0xbcbcbcbc);
    };
    QByteArray deep(1, 'V');
    {
        QDataStream out(&deep, QIODevice::WriteOnly | QIODevice::Append);
        out.setVersion(QDataStream::Qt_5_15);
        for (int i = 0; i < 100000; ++i)
            out << quint32(QMetaType::QVariantList) << qint8(0) << quint32(1);
        out << quint32(QMetaType::Int) << qint8(0) << qint32(7);
    }
    const QList<QPair<std::string, QByteArray>> hostile = {
        {"gui type", variantRecord(polygon)},
        {"gui type in a list", variantRecord([&](QDataStream& out) {
             out << quint32(QMetaType::QVariantList) << qint8(0) << quint32(1);
             polygon(out);
         })},
        {"gui type as a map value", variantRecord([&](QDataStream& out) {
             out << quint32(QMetaType::QVariantMap) << qint8(0) << quint32(1)
                 << QStringLiteral("k");
             polygon(out);
         })},
        {"user type", variantRecord([](QDataStream& out) {
             out << quint32(QMetaType::User) << qint8(0) << QByteArray("QPolygonF");
         })},
        {"list declaring billions", variantRecord([](QDataStream& out) {
             out << quint32(QMetaType::QStringList) << qint8(0) << quint32(0x7fffffff);
         })},
        {"nested too deep", deep},
        {"trailing bytes",
         variantRecord([](QDataStream& out) { out << QVariant(5) << quint32(9); })},
    };
    writeRaw(dir, hostile);

    QLevelDB db;
    db.setFilename(dir);
    QCOMPARE(db.open(), QLevelDB::Ok);
    QCOMPARE(db.get(QStringLiteral("plain")).toList(), plain);
    const QVariant refused(QStringLiteral("refused"));
    for (const auto& record : hostile) {
        QVERIFY2(db.get(QString::fromStdString(record.first), refused) == refused,
                 record.first.c_str());
    }
}

void TestStore::storesNeverShareADirectory()
{
    DataBase one(QStringLiteral("storeOne"));
    DataBase two(QStringLiteral("storeTwo"));
    QVERIFY(one.filename() != two.filename());
    QVERIFY(one.put("same", QStringLiteral("value")));
    QVERIFY(two.put("same", QStringLiteral("value")));
    const QByteArray hashed = CryptoApi::hash("same", CryptoApi::SHA512).toBase64();
    const QVariant a = static_cast<QLevelDB&>(one).get(QString::fromLatin1(hashed));
    const QVariant b = static_cast<QLevelDB&>(two).get(QString::fromLatin1(hashed));
    QVERIFY(a.isValid() && b.isValid());
    QVERIFY(a != b); // different seeds
}

void TestStore::removeGivesANewSeed()
{
    const QString name = QStringLiteral("removable");
    DataBase db(name);
    QVERIFY(db.put("k", QStringLiteral("v")));
    const QByteArray seed = static_cast<QLevelDB&>(db).get("index").toByteArray();
    db.remove();
    QVERIFY(!db.isOpen());
    QVERIFY(!QDir(DataBase::pathForName(name)).exists());
    db.setDBName(name);
    QVERIFY(db.isOpen());
    QVERIFY(!db.contains("k"));
    QVERIFY(static_cast<QLevelDB&>(db).get("index").toByteArray() != seed);
}

void TestStore::lockedStoreFailsCleanly()
{
    const QString name = QStringLiteral("locked");
    DataBase holder(name);
    QVERIFY(holder.isOpen());
    QVERIFY(holder.put("k", QStringLiteral("v")));

    DataBase second;
    second.setDBName(name);
    QVERIFY(!second.isOpen());
    QVERIFY(!second.lastError().isEmpty());
    QString s = QStringLiteral("unchanged");
    QVERIFY(!second.get("k", &s));
    QCOMPARE(s, QStringLiteral("unchanged"));
    QVERIFY(!second.put("k", QStringLiteral("other")));
    QVERIFY(!second.contains("k"));

    // The holder's data is untouched, and its seed was not replaced.
    QVERIFY(holder.get("k", &s));
    QCOMPARE(s, QStringLiteral("v"));
    holder.close();
    DataBase reopened(name);
    QVERIFY(reopened.get("k", &s));
    QCOMPARE(s, QStringLiteral("v"));
}

void TestStore::batchedWritesAreSeenAndKept()
{
    const QString name = QStringLiteral("batched");
    {
        DataBase db(name);
        QVERIFY(db.put("gone", QStringLiteral("before")));
        db.beginBatch();
        QVERIFY(db.put("a", QStringLiteral("first")));
        QVERIFY(db.putUtf8("b", QByteArray("\xd8\xb3\xd9\x84\xd8\xa7\xd9\x85")));
        QVERIFY(db.del("gone"));
        // A read in the middle sees every write before it.
        QString s;
        QVERIFY(db.get("a", &s));
        QCOMPARE(s, QStringLiteral("first"));
        QVERIFY(!db.contains("gone"));
        QVERIFY(db.put("a", QStringLiteral("second")));
        QVERIFY(db.commitBatch());
    }
    DataBase db(name);
    QString s;
    QVERIFY(db.get("a", &s));
    QCOMPARE(s, QStringLiteral("second"));
    QVERIFY(db.get("b", &s));
    QCOMPARE(s, QStringLiteral("سلام"));
    QVERIFY(!db.contains("gone"));
}

void TestStore::closeAllReleasesEveryStore()
{
    DataBase a(QStringLiteral("closeAll_a"));
    DataBase b(QStringLiteral("closeAll_b"));
    DataBase closedEarlier(QStringLiteral("closeAll_c"));
    closedEarlier.close();
    b.beginBatch();
    QVERIFY(b.put("pending", QStringLiteral("in the batch")));
    QVERIFY(a.put("k", QStringLiteral("v")));
    QCOMPARE(QLevelDB::closeAll(), 2);
    QVERIFY(!a.isOpen());
    QVERIFY(!b.isOpen());
    QVERIFY(!a.put("k", QStringLiteral("after")));
    QCOMPARE(QLevelDB::closeAll(), 0);

    // The locks are free again, and what was written (the open batch too) is on disk.
    for (const QString name : {"closeAll_a", "closeAll_b"}) {
        DataBase again(name);
        QVERIFY2(again.isOpen(), qPrintable(again.lastError()));
    }
    DataBase again(QStringLiteral("closeAll_b"));
    QString s;
    QVERIFY(again.get("pending", &s));
    QCOMPARE(s, QStringLiteral("in the batch"));
    QVERIFY(DataBase(QStringLiteral("closeAll_a")).get("k", &s));
    QCOMPARE(s, QStringLiteral("v"));
}

void TestStore::aThousandStoresOpenAtOnce()
{
    const int count = 1000;
    const auto nameOf = [](int i) { return QStringLiteral("conversation_%1").arg(i); };
    // Fresh stores, whatever an earlier run left in this home: a store that
    // holds records when opened keeps one more descriptor, for the table its
    // log was turned into.
    for (int i = 0; i < count; ++i)
        QVERIFY(QDir(DataBase::pathForName(nameOf(i))).removeRecursively());
    const int before = openDescriptors();
    std::vector<std::unique_ptr<DataBase>> stores;
    stores.reserve(count);
    for (int i = 0; i < count; ++i) {
        stores.emplace_back(new DataBase(nameOf(i)));
        QVERIFY2(stores.back()->isOpen(), qPrintable(stores.back()->lastError()));
        QVERIFY(stores.back()->put("last", QStringLiteral("message %1").arg(i)));
    }
    const int perStore = (openDescriptors() - before) / count;
    QVERIFY2(perStore <= 3, qPrintable(QStringLiteral("%1 descriptors per store").arg(perStore)));
    for (int i = 0; i < count; ++i) {
        QString s;
        QVERIFY(stores[size_t(i)]->get("last", &s));
        QCOMPARE(s, QStringLiteral("message %1").arg(i));
    }
    // Nothing left for the next run in the same home.
    for (const auto& store : stores)
        store->remove();
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
