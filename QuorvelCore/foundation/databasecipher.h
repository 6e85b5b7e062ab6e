#ifndef DATABASECIPHER_H
#define DATABASECIPHER_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>

#include <memory>

struct evp_cipher_ctx_st;

// AES-128-CBC under one key and IV, set up once and reused for every value
// of a store: the same bytes as CryptoApi::encrypt and CryptoApi::decrypt
// with AES128CBC (PKCS#7 padding on the way in, the lenient removal on the
// way out), without building the cipher again for each value. Failures give
// an empty array.
class QUORVELCORE_EXPORT DataBaseCipher
{
public:
    DataBaseCipher();
    ~DataBaseCipher();
    DataBaseCipher(const DataBaseCipher&) = delete;
    DataBaseCipher& operator=(const DataBaseCipher&) = delete;

    // False when the key or IV is shorter than 16 bytes; the cipher is then
    // unusable until a later call succeeds.
    bool setKey(const QByteArray& key, const QByteArray& iv);
    void clear();
    bool isReady() const { return ready; }

    QByteArray encrypt(const QByteArray& plain) const;
    QByteArray decrypt(const QByteArray& cipher) const;

private:
    struct ContextFree
    {
        void operator()(evp_cipher_ctx_st* ctx) const;
    };
    QByteArray run(evp_cipher_ctx_st* ctx, const char* data, int size) const;

    std::unique_ptr<evp_cipher_ctx_st, ContextFree> encryptor;
    std::unique_ptr<evp_cipher_ctx_st, ContextFree> decryptor;
    QByteArray iv;
    bool ready = false;
};

#endif // DATABASECIPHER_H
