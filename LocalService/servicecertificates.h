#ifndef SERVICECERTIFICATES_H
#define SERVICECERTIFICATES_H

#include <QByteArray>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A certificate authority and a server certificate for 127.0.0.1 and
// localhost, made with OpenSSL (EC P-256). Clients trust the CA through
// QUORVEL_EXTRA_CA_FILE; verification stays on.
class ServiceCertificates
{
public:
    // A fresh CA and server certificate valid for validDays; isValid() is
    // false when OpenSSL failed.
    static ServiceCertificates create(const QString& label, int validDays = 2);
    // Reads "ca.pem", "cert.pem" and "key.pem" from dir (see writeFiles).
    static ServiceCertificates load(const QString& dir);

    bool isValid() const { return !serverCert.isNull() && !caCert.isNull() && !key.isNull(); }
    QSslCertificate caCertificate() const { return caCert; }
    QSslCertificate serverCertificate() const { return serverCert; }
    QSslKey serverKey() const { return key; }
    QByteArray caPem() const { return caCert.toPem(); }
    QByteArray serverCertificatePem() const { return serverCert.toPem(); }
    QByteArray serverKeyPem() const { return key.toPem(); }

    // Writes the CA, the server certificate and its key as PEM files into dir
    // ("ca.pem", "cert.pem", "key.pem") for servers run as separate programs.
    bool writeFiles(const QString& dir) const;

private:
    QSslCertificate caCert;
    QSslCertificate serverCert;
    QSslKey key;
};

#endif // SERVICECERTIFICATES_H
