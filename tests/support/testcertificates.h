#ifndef TESTCERTIFICATES_H
#define TESTCERTIFICATES_H

#include "servicecertificates.h"

// The service's certificates as the tests make them: valid two days, and one
// shared set per process that the program under test trusts.
class TestCertificates : public ServiceCertificates
{
public:
    TestCertificates() = default;
    TestCertificates(const ServiceCertificates& other) : ServiceCertificates(other) {}

    // A fresh CA and server certificate; isValid() is false when OpenSSL failed.
    static TestCertificates create(const QString& label);
    // The one set of this process that tests trust (made on first use).
    static const TestCertificates& shared();
    // Writes the shared CA to a file and points QUORVEL_EXTRA_CA_FILE at it.
    // Call before the first TLS connection of the process: the program reads
    // the variable once. Returns the file's path ("" on failure).
    static QString trustSharedCa();
};

#endif // TESTCERTIFICATES_H
