#ifndef HANDSEALER_H
#define HANDSEALER_H

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <string>

// A conversation's records made by hand with OpenSSL, byte for byte as the
// store writes them: the key as the Base64 of its SHA-512, the value as the
// Base64 of its AES-128-CBC encryption (PKCS#7 padding, one key and IV for
// the whole store) behind the one-byte text tag. The baseline of the
// benchmarks that write: LevelDB given the same bytes, with the least work
// that makes them (one digest and one cipher context, set up once).
class HandSealer
{
public:
    HandSealer()
    {
        unsigned char key[16];
        RAND_bytes(key, sizeof key);
        RAND_bytes(iv, sizeof iv);
        EVP_EncryptInit_ex(cipher, EVP_aes_128_cbc(), nullptr, key, iv);
    }
    ~HandSealer()
    {
        EVP_MD_CTX_free(digest);
        EVP_MD_free(md);
        EVP_CIPHER_CTX_free(cipher);
    }
    HandSealer(const HandSealer&) = delete;
    HandSealer& operator=(const HandSealer&) = delete;

    std::string key(const std::string& name)
    {
        unsigned char hash[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        EVP_DigestInit_ex2(digest, md, nullptr);
        EVP_DigestUpdate(digest, name.data(), name.size());
        EVP_DigestFinal_ex(digest, hash, &size);
        return base64(hash, int(size), false);
    }

    std::string value(const std::string& plain)
    {
        sealed.resize(plain.size() + 16);
        auto* out = reinterpret_cast<unsigned char*>(&sealed[0]);
        int written = 0;
        int last = 0;
        EVP_EncryptInit_ex(cipher, nullptr, nullptr, nullptr, iv);
        EVP_EncryptUpdate(cipher, out, &written,
                          reinterpret_cast<const unsigned char*>(plain.data()), int(plain.size()));
        EVP_EncryptFinal_ex(cipher, out + written, &last);
        return base64(out, written + last, true);
    }

private:
    static std::string base64(const unsigned char* bytes, int size, bool tagged)
    {
        const int offset = tagged ? 1 : 0;
        std::string text(size_t(offset + 4 * ((size + 2) / 3) + 1), 'S');
        const int length =
            EVP_EncodeBlock(reinterpret_cast<unsigned char*>(&text[size_t(offset)]), bytes, size);
        text.resize(size_t(offset + length));
        return text;
    }

    EVP_MD* md = EVP_MD_fetch(nullptr, "SHA512", nullptr);
    EVP_MD_CTX* digest = EVP_MD_CTX_new();
    EVP_CIPHER_CTX* cipher = EVP_CIPHER_CTX_new();
    unsigned char iv[16];
    std::string sealed;
};

#endif // HANDSEALER_H
