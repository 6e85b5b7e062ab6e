#include "foundation/cryptoapi.h"
#include "foundation/datetime.h"
#include "foundation/datetimecalibrator.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <openssl/evp.h>

namespace {
QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Plain AES-CBC from OpenSSL with its own (standard) padding: what another
// reader of our cipher text would do.
QByteArray opensslDecrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv)
{
    const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_cbc()
                               : key.size() == 24 ? EVP_aes_192_cbc()
                                                  : EVP_aes_256_cbc();
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    QByteArray out(data.size() + 16, 0);
    int n1 = 0, n2 = 0;
    EVP_DecryptInit_ex(ctx, cipher, nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                       reinterpret_cast<const unsigned char*>(iv.data()));
    EVP_DecryptUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &n1,
                      reinterpret_cast<const unsigned char*>(data.data()), data.size());
    const int ok = EVP_DecryptFinal_ex(ctx, reinterpret_cast<unsigned char*>(out.data()) + n1, &n2);
    EVP_CIPHER_CTX_free(ctx);
    return ok == 1 ? out.left(n1 + n2) : QByteArray("<bad padding>");
}
} // namespace

class TestCrypto : public QObject
{
    Q_OBJECT
private slots:
    void names_data();
    void names();
    void digests_data();
    void digests();
    void fips197_data();
    void fips197();
    void sp80038aCbc_data();
    void sp80038aCbc();
    void padding_data();
    void padding();
    void roundTrip_data();
    void roundTrip();
    void standardReadersReadOurCipherText();
    void oldUnpaddedCipherTextStaysReadable();
    void keyRules();
    void clockReadsSystemTime();
    void calibratorOffset();
};

void TestCrypto::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<int>("keySize");
    QTest::newRow("SHA1") << "SHA1" << 0 << 0;
    QTest::newRow("SHA256") << "SHA256" << 1 << 0;
    QTest::newRow("SHA512") << "SHA512" << 2 << 0;
    QTest::newRow("AES128CBC") << "AES128CBC" << 3 << 16;
    QTest::newRow("AES192CBC") << "AES192CBC" << 4 << 24;
    QTest::newRow("AES256CBC") << "AES256CBC" << 5 << 32;
    QTest::newRow("lower case") << "sha1" << 6 << 0;
    QTest::newRow("empty") << "" << 6 << 0;
}

void TestCrypto::names()
{
    QFETCH(QString, name);
    QFETCH(int, algorithm);
    QFETCH(int, keySize);
    QCOMPARE(int(CryptoApi::convertToAlgorithm(name)), algorithm);
    QCOMPARE(CryptoApi::getKeySize(name), keySize);
    QCOMPARE(CryptoApi::getHashAlgorithms(), QStringList({"SHA1", "SHA256", "SHA512"}));
    QCOMPARE(CryptoApi::getEncryptionAlgorithms(),
             QStringList({"AES128CBC", "AES192CBC", "AES256CBC"}));
}

void TestCrypto::digests_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("SHA1") << "SHA1" << hex("a9993e364706816aba3e25717850c26c9cd0d89d");
    QTest::newRow("SHA256")
        << "SHA256" << hex("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    QTest::newRow("SHA512")
        << "SHA512"
        << hex("ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
               "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f");
    QTest::newRow("not a digest") << "AES128CBC" << QByteArray();
}

void TestCrypto::digests()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, digest);
    QCOMPARE(CryptoApi::hash("abc", name), digest);
}

void TestCrypto::fips197_data()
{
    QTest::addColumn<QString>("algorithm");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("cipher");
    // FIPS-197 appendix C: plain text 00112233445566778899aabbccddeeff.
    QTest::newRow("AES-128") << "AES128CBC" << hex("000102030405060708090a0b0c0d0e0f")
                             << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
    QTest::newRow("AES-192") << "AES192CBC"
                             << hex("000102030405060708090a0b0c0d0e0f1011121314151617")
                             << hex("dda97ca4864cdfe06eaf70a0ec0d7191");
    QTest::newRow("AES-256")
        << "AES256CBC" << hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f")
        << hex("8ea2b7ca516745bfeafc49904b496089");
}

void TestCrypto::fips197()
{
    QFETCH(QString, algorithm);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, cipher);
    const QByteArray plain = hex("00112233445566778899aabbccddeeff");
    const QByteArray zeroIv(16, 0);
    // With a zero IV the first CBC block is the bare block cipher.
    const QByteArray out = CryptoApi::encrypt(plain, key, zeroIv, algorithm);
    QCOMPARE(out.size(), 32); // one data block and one full padding block
    QCOMPARE(out.left(16), cipher);
    QCOMPARE(CryptoApi::decrypt(out, key, zeroIv, algorithm), plain);
}

void TestCrypto::sp80038aCbc_data()
{
    QTest::addColumn<QString>("algorithm");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("cipher");
    QTest::newRow("CBC-AES128")
        << "AES128CBC" << hex("2b7e151628aed2a6abf7158809cf4f3c")
        << hex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
               "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
    QTest::newRow("CBC-AES192")
        << "AES192CBC" << hex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b")
        << hex("4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
               "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd");
    QTest::newRow("CBC-AES256")
        << "AES256CBC" << hex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4")
        << hex("f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
               "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b");
}

void TestCrypto::sp80038aCbc()
{
    QFETCH(QString, algorithm);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, cipher);
    const QByteArray iv = hex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain =
        hex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
            "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    QCOMPARE(CryptoApi::encrypt(plain, key, iv, algorithm).left(64), cipher);
    // The vector's plain text ends in 0x10, which is not a full padding block:
    // the lenient reader keeps it whole.
    QCOMPARE(CryptoApi::decrypt(cipher, key, iv, algorithm), plain);
}

void TestCrypto::padding_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("padded");
    QTest::newRow("empty") << QByteArray() << QByteArray(16, 16);
    QTest::newRow("5 bytes") << QByteArray(5, 'a') << QByteArray(5, 'a') + QByteArray(11, 11);
    QTest::newRow("16 bytes") << QByteArray(16, 'a') << QByteArray(16, 'a') + QByteArray(16, 16);
    QTest::newRow("17 bytes") << QByteArray(17, 'a') << QByteArray(17, 'a') + QByteArray(15, 15);
}

void TestCrypto::padding()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, padded);
    QCOMPARE(CryptoApi::paddPKCS7(data), padded);
    QCOMPARE(CryptoApi::unpaddPKCS7(padded), data);
    // Lenient reading of what is not well-formed padding.
    const QByteArray endsIn23 = QByteArray(14, 'x') + char(2) + char(3);
    QCOMPARE(CryptoApi::unpaddPKCS7(endsIn23), endsIn23);
    QCOMPARE(CryptoApi::unpaddPKCS7(QByteArray(15, 3)), QByteArray(15, 3));
    QCOMPARE(CryptoApi::unpaddPKCS7(QByteArray(13, 'x') + QByteArray(3, 3)), QByteArray(13, 'x'));
}

void TestCrypto::roundTrip_data()
{
    QTest::addColumn<QByteArray>("data");
    for (int length : {0, 1, 15, 16, 17, 31, 32, 33, 100})
        QTest::newRow(qPrintable(QStringLiteral("length %1").arg(length)))
            << QByteArray(length, 'q');
    for (int b = 1; b <= 16; ++b) {
        QTest::newRow(qPrintable(QStringLiteral("16 bytes ending in 0x%1").arg(b, 2, 16)))
            << QByteArray(15, 'v') + char(b);
        QTest::newRow(
            qPrintable(QStringLiteral("32 bytes ending in %1 x 0x%2").arg(b).arg(b, 2, 16)))
            << QByteArray(32 - b, 'w') + QByteArray(b, char(b));
    }
    QTest::newRow("json") << QByteArray("{\"a\":1}");
    QTest::newRow("zero bytes") << QByteArray(20, '\0');
}

void TestCrypto::roundTrip()
{
    QFETCH(QByteArray, data);
    const QByteArray iv = hex("0f0e0d0c0b0a09080706050403020100");
    for (const QString& algorithm : CryptoApi::getEncryptionAlgorithms()) {
        const QByteArray key =
            CryptoApi::hash("key", "SHA512").left(CryptoApi::getKeySize(algorithm));
        const QByteArray cipher = CryptoApi::encrypt(data, key, iv, algorithm);
        QCOMPARE(cipher.size(), (data.size() / 16 + 1) * 16);
        QCOMPARE(CryptoApi::decrypt(cipher, key, iv, algorithm), data);
    }
}

void TestCrypto::standardReadersReadOurCipherText()
{
    const QByteArray key = hex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray iv = hex("000102030405060708090a0b0c0d0e0f");
    for (const QByteArray& data : {QByteArray(), QByteArray("0123456789abcdef"),
                                   QByteArray(15, 'z') + char(1), QByteArray("{\"k\":\"v\"}")}) {
        QCOMPARE(opensslDecrypt(CryptoApi::encrypt(data, key, iv, CryptoApi::AES128CBC), key, iv),
                 data);
    }
}

void TestCrypto::oldUnpaddedCipherTextStaysReadable()
{
    // Values written before every value got padding: a whole number of
    // blocks was stored without any.
    const QByteArray key = hex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray iv = hex("000102030405060708090a0b0c0d0e0f");
    const QByteArray value("{\"name\":\"abcd\"}X"); // 16 bytes
    const QByteArray oldForm = CryptoApi::encrypt(value, key, iv, CryptoApi::AES128CBC).left(16);
    QCOMPARE(CryptoApi::decrypt(oldForm, key, iv, CryptoApi::AES128CBC), value);
}

void TestCrypto::keyRules()
{
    const QByteArray iv(16, 1);
    QVERIFY(CryptoApi::encrypt("data", QByteArray(10, 'k'), iv, "AES128CBC").isEmpty());
    QVERIFY(CryptoApi::encrypt("data", QByteArray(16, 'k'), iv, "SHA256").isEmpty());
    QVERIFY(CryptoApi::encrypt("data", QByteArray(16, 'k'), iv, "nonsense").isEmpty());
    // A longer key is cut to the algorithm's size.
    const QByteArray longKey = QByteArray(16, 'k') + QByteArray(4, 'z');
    QCOMPARE(CryptoApi::encrypt("data", longKey, iv, "AES128CBC"),
             CryptoApi::encrypt("data", QByteArray(16, 'k'), iv, "AES128CBC"));
    QVERIFY(
        CryptoApi::decrypt(QByteArray(17, 'c'), QByteArray(16, 'k'), iv, "AES128CBC").isEmpty());
    QVERIFY(
        CryptoApi::decrypt(QByteArray(16, 'c'), QByteArray(16, 'k'), QByteArray(4, 1), "AES128CBC")
            .isEmpty());
}

void TestCrypto::clockReadsSystemTime()
{
    DateTime::setOffset(-3600);
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const qint64 ms = DateTime::getDateTimeInMSecs();
    const qint64 s = DateTime::getDateTime();
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    QVERIFY(ms >= before && ms <= after);
    QVERIFY(s >= before / 1000 && s <= after / 1000);
    QCOMPARE(DateTime::getOffset(), qint64(-3600));
    DateTime::setOffset(0);
}

void TestCrypto::calibratorOffset()
{
    DateTimeCalibrator calibrator;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QByteArray ok = QJsonDocument(QJsonObject{{"status", "OK"}, {"timestamp", now - 60}})
                              .toJson(QJsonDocument::Compact);
    QVERIFY(calibrator.applyReply(ok));
    QVERIFY(qAbs(DateTime::getOffset() + 60) <= 1);

    QVERIFY(!calibrator.applyReply(R"({"status":"FAIL","timestamp":1})"));
    QVERIFY(!calibrator.applyReply("not json"));
    QVERIFY(!calibrator.applyReply(R"({"status":"OK","timestamp":"soon"})"));
    QVERIFY(qAbs(DateTime::getOffset() + 60) <= 1);
}

QTEST_GUILESS_MAIN(TestCrypto)
#include "tst_crypto.moc"
