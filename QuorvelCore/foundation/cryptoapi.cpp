#include "foundation/cryptoapi.h"

#include <QCryptographicHash>

#include <openssl/evp.h>

#include <memory>

namespace {

const EVP_CIPHER* cipherFor(CryptoApi::Algorithm algorithm)
{
    switch (algorithm) {
    case CryptoApi::AES128CBC:
        return EVP_aes_128_cbc();
    case CryptoApi::AES192CBC:
        return EVP_aes_192_cbc();
    case CryptoApi::AES256CBC:
        return EVP_aes_256_cbc();
    default:
        return nullptr;
    }
}

struct CipherContextFree
{
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

// Runs AES-CBC over whole blocks with EVP's own padding switched off; the
// padding rules are applied around this by the callers.
QByteArray runCipher(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                     CryptoApi::Algorithm algorithm, bool encrypt)
{
    const EVP_CIPHER* cipher = cipherFor(algorithm);
    const int keySize = CryptoApi::getKeySize(algorithm);
    if (!cipher || key.size() < keySize || iv.size() < CryptoApi::kBlockSize)
        return QByteArray();
    if (data.size() % CryptoApi::kBlockSize != 0)
        return QByteArray();

    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx)
        return QByteArray();
    const auto* k = reinterpret_cast<const unsigned char*>(key.constData());
    const auto* v = reinterpret_cast<const unsigned char*>(iv.constData());
    if (EVP_CipherInit_ex(ctx.get(), cipher, nullptr, k, v, encrypt ? 1 : 0) != 1)
        return QByteArray();
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);

    QByteArray out(data.size() + CryptoApi::kBlockSize, Qt::Uninitialized);
    int written = 0;
    int finalWritten = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), o, &written,
                         reinterpret_cast<const unsigned char*>(data.constData()),
                         data.size()) != 1)
        return QByteArray();
    if (EVP_CipherFinal_ex(ctx.get(), o + written, &finalWritten) != 1)
        return QByteArray();
    out.resize(written + finalWritten);
    return out;
}

} // namespace

CryptoApi::Algorithm CryptoApi::convertToAlgorithm(const QString& name)
{
    static const QStringList names = {QStringLiteral("SHA1"),      QStringLiteral("SHA256"),
                                      QStringLiteral("SHA512"),    QStringLiteral("AES128CBC"),
                                      QStringLiteral("AES192CBC"), QStringLiteral("AES256CBC")};
    const int index = names.indexOf(name);
    return index < 0 ? Unknown : Algorithm(index);
}

QString CryptoApi::algorithmName(Algorithm algorithm)
{
    const QStringList names = getHashAlgorithms() + getEncryptionAlgorithms();
    return algorithm >= 0 && algorithm < names.size() ? names.at(algorithm) : QString();
}

int CryptoApi::getKeySize(Algorithm algorithm)
{
    switch (algorithm) {
    case AES128CBC:
        return 16;
    case AES192CBC:
        return 24;
    case AES256CBC:
        return 32;
    default:
        return 0;
    }
}

int CryptoApi::getKeySize(const QString& name)
{
    return getKeySize(convertToAlgorithm(name));
}

QStringList CryptoApi::getEncryptionAlgorithms()
{
    return {QStringLiteral("AES128CBC"), QStringLiteral("AES192CBC"), QStringLiteral("AES256CBC")};
}

QStringList CryptoApi::getHashAlgorithms()
{
    return {QStringLiteral("SHA1"), QStringLiteral("SHA256"), QStringLiteral("SHA512")};
}

QByteArray CryptoApi::hash(const QByteArray& data, Algorithm algorithm)
{
    switch (algorithm) {
    case SHA1:
        return QCryptographicHash::hash(data, QCryptographicHash::Sha1);
    case SHA256:
        return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
    case SHA512:
        return QCryptographicHash::hash(data, QCryptographicHash::Sha512);
    default:
        return QByteArray();
    }
}

QByteArray CryptoApi::hash(const QByteArray& data, const QString& name)
{
    return hash(data, convertToAlgorithm(name));
}

QByteArray CryptoApi::encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              Algorithm algorithm)
{
    const int keySize = getKeySize(algorithm);
    if (keySize == 0 || key.size() < keySize)
        return QByteArray();
    return runCipher(paddPKCS7(data), key.left(keySize), iv.left(kBlockSize), algorithm, true);
}

QByteArray CryptoApi::encrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              const QString& name)
{
    return encrypt(data, key, iv, convertToAlgorithm(name));
}

QByteArray CryptoApi::decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              Algorithm algorithm)
{
    const int keySize = getKeySize(algorithm);
    if (keySize == 0 || key.size() < keySize || data.size() % kBlockSize != 0)
        return QByteArray();
    return unpaddPKCS7(runCipher(data, key.left(keySize), iv.left(kBlockSize), algorithm, false));
}

QByteArray CryptoApi::decrypt(const QByteArray& data, const QByteArray& key, const QByteArray& iv,
                              const QString& name)
{
    return decrypt(data, key, iv, convertToAlgorithm(name));
}

QByteArray CryptoApi::paddPKCS7(const QByteArray& data)
{
    const int p = kBlockSize - data.size() % kBlockSize;
    return data + QByteArray(p, char(p));
}

QByteArray CryptoApi::unpaddPKCS7(const QByteArray& data)
{
    const int n = data.size();
    if (n == 0 || n % kBlockSize != 0)
        return data;
    const int b = static_cast<unsigned char>(data.at(n - 1));
    if (b < 1 || b > kBlockSize)
        return data;
    for (int i = n - b; i < n; ++i) {
        if (static_cast<unsigned char>(data.at(i)) != b)
            return data;
    }
    return data.left(n - b);
}
