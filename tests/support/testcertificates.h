#ifndef TESTCERTIFICATES_H
#define TESTCERTIFICATES_H

#include <QByteArray>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A certificate authority and a server certificate for 127.0.0.1 and
// localhost, made with OpenSSL when a test runs (EC P-256, valid two days).
// Clients trust the CA through QUORVEL_EXTRA_CA_FILE; verification stays on.
class TestCertificates
{
public:
    // A fresh CA and server certificate; isValid() is false when OpenSSL failed.
    static TestCertificates create(const QString& label);
    // The one set of this process that tests trust (made on first use).
    static const TestCertificates& shared();
    // Writes the shared CA to a file and points QUORVEL_EXTRA_CA_FILE at it.
    // Call before the first TLS connection of the process: the program reads
    // the variable once. Returns the file's path ("" on failure).
    static QString trustSharedCa();

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

#endif // TESTCERTIFICATES_H
