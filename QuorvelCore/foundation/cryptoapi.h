#ifndef CRYPTOAPI_H
#define CRYPTOAPI_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Stateless AES-CBC and digest helpers. No key is held here: every key and IV
// is passed in by the caller. Failures give an empty array.
class QUORVELCORE_EXPORT CryptoApi
{
public:
    enum Algorithm
    {
        SHA1 = 0,
        SHA256 = 1,
        SHA512 = 2,
        AES128CBC = 3,
        AES192CBC = 4,
        AES256CBC = 5,
        Unknown = 6
    };

    static Algorithm convertToAlgorithm(const QString& name);
    static QString algorithmName(Algorithm algorithm);
    static int getKeySize(Algorithm algorithm);
    static int getKeySize(const QString& name);
    static QStringList getEncryptionAlgorithms();
    static QStringList getHashAlgorithms();

    static QByteArray hash(const QByteArray& data, Algorithm algorithm);
    static QByteArray hash(const QByteArray& data, const QString& name);

    static QByteArray encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              Algorithm algorithm);
    static QByteArray encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              const QString& name);
    static QByteArray decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              Algorithm algorithm);
    static QByteArray decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              const QString& name);

    // Standard PKCS#7: 1 to 16 bytes of padding, a full block when the data is
    // already a whole number of blocks.
    static QByteArray paddPKCS7(const QByteArray& data);
    // Lenient: strips a well-formed padding run if there is one, otherwise
    // returns the data unchanged (so values written without the extra full
    // block stay readable).
    static QByteArray unpaddPKCS7(const QByteArray& data);

    static const int kBlockSize = 16;
};

#endif // CRYPTOAPI_H
