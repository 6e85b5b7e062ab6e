#include "servicecrypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace {

const EVP_MD* digestOf(const QString& name)
{
    if (name == QLatin1String("SHA1"))
        return EVP_sha1();
    if (name == QLatin1String("SHA256"))
        return EVP_sha256();
    if (name == QLatin1String("SHA512"))
        return EVP_sha512();
    return nullptr;
}

const EVP_CIPHER* cipherOf(const QString& name)
{
    if (name == QLatin1String("AES128CBC"))
        return EVP_aes_128_cbc();
    if (name == QLatin1String("AES192CBC"))
        return EVP_aes_192_cbc();
    if (name == QLatin1String("AES256CBC"))
        return EVP_aes_256_cbc();
    return nullptr;
}

QByteArray runCipher(const QString& name, const QByteArray& key, const QByteArray& iv,
                     const QByteArray& input, int encrypt)
{
    const EVP_CIPHER* cipher = cipherOf(name);
    if (!cipher || key.size() != EVP_CIPHER_key_length(cipher) || iv.size() != 16)
        return QByteArray();
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        EVP_CIPHER_CTX_free);
    QByteArray out(input.size() + 32, '\0');
    int length = 0;
    int tail = 0;
    auto* outData = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherInit_ex(ctx.get(), cipher, nullptr,
                          reinterpret_cast<const unsigned char*>(key.constData()),
                          reinterpret_cast<const unsigned char*>(iv.constData()), encrypt) != 1 ||
        EVP_CipherUpdate(ctx.get(), outData, &length,
                         reinterpret_cast<const unsigned char*>(input.constData()),
                         input.size()) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), outData + length, &tail) != 1)
        return QByteArray();
    out.resize(length + tail);
    return out;
}

} // namespace

QByteArray ServiceCrypto::digest(const QString& hashMethod, const QByteArray& data)
{
    const EVP_MD* md = digestOf(hashMethod);
    if (!md)
        return QByteArray();
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.constData(), data.size(), out, &length, md, nullptr) != 1)
        return QByteArray();
    return QByteArray(reinterpret_cast<const char*>(out), static_cast<int>(length));
}

QString ServiceCrypto::digestHex(const QString& hashMethod, const QByteArray& data)
{
    return QString::fromLatin1(digest(hashMethod, data).toHex());
}

QByteArray ServiceCrypto::aesCbcEncrypt(const QString& encryptionMethod, const QByteArray& key,
                                        const QByteArray& iv, const QByteArray& plain)
{
    return runCipher(encryptionMethod, key, iv, plain, 1);
}

QByteArray ServiceCrypto::aesCbcDecrypt(const QString& encryptionMethod, const QByteArray& key,
                                        const QByteArray& iv, const QByteArray& cipherText)
{
    return runCipher(encryptionMethod, key, iv, cipherText, 0);
}

int ServiceCrypto::keySize(const QString& encryptionMethod)
{
    const EVP_CIPHER* cipher = cipherOf(encryptionMethod);
    return cipher ? EVP_CIPHER_key_length(cipher) : 0;
}

QByteArray ServiceCrypto::randomBytes(int count)
{
    QByteArray out(count, '\0');
    RAND_bytes(reinterpret_cast<unsigned char*>(out.data()), count);
    return out;
}
