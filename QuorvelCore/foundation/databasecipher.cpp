#include "foundation/databasecipher.h"

#include "foundation/cryptoapi.h"

#include <openssl/evp.h>

namespace {
const int kKeySize = 16;
}

void DataBaseCipher::ContextFree::operator()(evp_cipher_ctx_st* ctx) const
{
    EVP_CIPHER_CTX_free(ctx);
}

DataBaseCipher::DataBaseCipher() = default;

DataBaseCipher::~DataBaseCipher() = default;

bool DataBaseCipher::setKey(const QByteArray& key, const QByteArray& initialVector)
{
    clear();
    if (key.size() < kKeySize || initialVector.size() < CryptoApi::kBlockSize)
        return false;
    encryptor.reset(EVP_CIPHER_CTX_new());
    decryptor.reset(EVP_CIPHER_CTX_new());
    if (!encryptor || !decryptor)
        return false;
    iv = initialVector.left(CryptoApi::kBlockSize);
    const auto* k = reinterpret_cast<const unsigned char*>(key.constData());
    const auto* v = reinterpret_cast<const unsigned char*>(iv.constData());
    if (EVP_CipherInit_ex(encryptor.get(), EVP_aes_128_cbc(), nullptr, k, v, 1) != 1 ||
        EVP_CipherInit_ex(decryptor.get(), EVP_aes_128_cbc(), nullptr, k, v, 0) != 1) {
        clear();
        return false;
    }
    // OpenSSL pads on the way in (PKCS#7, the same bytes, without copying
    // the value to pad it); the way out removes padding leniently, as the
    // stored values have always been read.
    EVP_CIPHER_CTX_set_padding(decryptor.get(), 0);
    ready = true;
    return true;
}

void DataBaseCipher::clear()
{
    encryptor.reset();
    decryptor.reset();
    iv.clear();
    ready = false;
}

QByteArray DataBaseCipher::run(evp_cipher_ctx_st* ctx, const char* data, int size) const
{
    // Only the IV is set again: the expanded key stays in the context.
    if (EVP_CipherInit_ex(ctx, nullptr, nullptr, nullptr,
                          reinterpret_cast<const unsigned char*>(iv.constData()), -1) != 1)
        return QByteArray();
    QByteArray out(size + CryptoApi::kBlockSize, Qt::Uninitialized);
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    int written = 0;
    int finalWritten = 0;
    if (EVP_CipherUpdate(ctx, o, &written, reinterpret_cast<const unsigned char*>(data), size) !=
            1 ||
        EVP_CipherFinal_ex(ctx, o + written, &finalWritten) != 1)
        return QByteArray();
    out.resize(written + finalWritten);
    return out;
}

QByteArray DataBaseCipher::encrypt(const QByteArray& plain) const
{
    if (!ready)
        return QByteArray();
    return run(encryptor.get(), plain.constData(), plain.size());
}

QByteArray DataBaseCipher::decrypt(const QByteArray& cipher) const
{
    if (!ready || cipher.isEmpty() || cipher.size() % CryptoApi::kBlockSize != 0)
        return QByteArray();
    return CryptoApi::unpaddPKCS7(run(decryptor.get(), cipher.constData(), cipher.size()));
}
