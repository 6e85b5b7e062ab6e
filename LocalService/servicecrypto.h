#ifndef SERVICECRYPTO_H
#define SERVICECRYPTO_H

#include <QByteArray>
#include <QString>

// Digests and AES-CBC straight from OpenSSL, so that the service (and the tests
// that check the program's values) never go through the program's own code.
// Algorithm names are the service's: "SHA1", "SHA256", "SHA512", "AES128CBC",
// "AES192CBC", "AES256CBC". Failures give an empty array.
class ServiceCrypto
{
public:
    static QByteArray digest(const QString& hashMethod, const QByteArray& data);
    static QString digestHex(const QString& hashMethod, const QByteArray& data);
    // Standard PKCS#7 padding.
    static QByteArray aesCbcEncrypt(const QString& encryptionMethod, const QByteArray& key,
                                    const QByteArray& iv, const QByteArray& plain);
    static QByteArray aesCbcDecrypt(const QString& encryptionMethod, const QByteArray& key,
                                    const QByteArray& iv, const QByteArray& cipherText);
    static int keySize(const QString& encryptionMethod);
    static QByteArray randomBytes(int count);
};

#endif // SERVICECRYPTO_H
