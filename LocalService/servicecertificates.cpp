#include "servicecertificates.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Cert = std::unique_ptr<X509, decltype(&X509_free)>;

Key newKey()
{
    return Key(EVP_EC_gen("P-256"), EVP_PKEY_free);
}

bool addExtension(X509* cert, X509* issuer, int nid, const char* value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!extension)
        return false;
    const bool ok = X509_add_ext(cert, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    return ok;
}

Cert newCertificate(EVP_PKEY* subjectKey, const QString& commonName, X509* issuer,
                    EVP_PKEY* issuerKey, int validDays)
{
    Cert cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f;
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert.get()));
    BN_free(number);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), long(validDays) * 24 * 3600);
    X509_set_pubkey(cert.get(), subjectKey);
    X509_NAME* name = X509_get_subject_name(cert.get());
    const QByteArray cn = commonName.toUtf8();
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Quorvel Local"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(cn.constData()), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    bool ok = addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    if (!issuer) {
        ok = ok && addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        ok = ok && addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        ok = ok && addExtension(cert.get(), signer, NID_authority_key_identifier, "keyid:always");
        ok = ok && addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
        ok = ok && addExtension(cert.get(), signer, NID_key_usage,
                                "critical,digitalSignature,keyEncipherment");
        ok = ok && addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
        ok = ok &&
             addExtension(cert.get(), signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1");
    }
    if (!ok || X509_sign(cert.get(), issuerKey, EVP_sha256()) == 0)
        return Cert(nullptr, X509_free);
    return cert;
}

QByteArray certificatePem(X509* cert)
{
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, cert);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    QByteArray pem(data, static_cast<int>(length));
    BIO_free(bio);
    return pem;
}

QByteArray keyPem(EVP_PKEY* key)
{
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_PrivateKey(bio, key, nullptr, nullptr, 0, nullptr, nullptr);
    char* data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    QByteArray pem(data, static_cast<int>(length));
    BIO_free(bio);
    return pem;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ServiceCertificates ServiceCertificates::create(const QString& label, int validDays)
{
    ServiceCertificates result;
    Key caKey = newKey();
    Key serverKey = newKey();
    if (!caKey || !serverKey)
        return result;
    Cert ca =
        newCertificate(caKey.get(), label + QStringLiteral(" CA"), nullptr, caKey.get(), validDays);
    if (!ca)
        return result;
    Cert server = newCertificate(serverKey.get(), QStringLiteral("localhost"), ca.get(),
                                 caKey.get(), validDays);
    if (!server)
        return result;
    result.caCert = QSslCertificate(certificatePem(ca.get()), QSsl::Pem);
    result.serverCert = QSslCertificate(certificatePem(server.get()), QSsl::Pem);
    result.key = QSslKey(keyPem(serverKey.get()), QSsl::Ec, QSsl::Pem);
    return result;
}

ServiceCertificates ServiceCertificates::load(const QString& dir)
{
    const QDir folder(dir);
    ServiceCertificates result;
    result.caCert = QSslCertificate(readFile(folder.filePath(QStringLiteral("ca.pem"))), QSsl::Pem);
    result.serverCert =
        QSslCertificate(readFile(folder.filePath(QStringLiteral("cert.pem"))), QSsl::Pem);
    result.key = QSslKey(readFile(folder.filePath(QStringLiteral("key.pem"))), QSsl::Ec, QSsl::Pem);
    return result;
}

bool ServiceCertificates::writeFiles(const QString& dir) const
{
    const QDir folder(dir);
    return isValid() && writeFile(folder.filePath(QStringLiteral("ca.pem")), caPem()) &&
           writeFile(folder.filePath(QStringLiteral("cert.pem")), serverCertificatePem()) &&
           writeFile(folder.filePath(QStringLiteral("key.pem")), serverKeyPem());
}
