#ifndef FAKEWEBSERVICE_H
#define FAKEWEBSERVICE_H

#include "fakereply.h"
#include "fakerequest.h"
#include "httpsservice.h"
#include "testcertificates.h"

// The local service's HTTPS server inside the test process, on a free
// loopback port, with the shared test certificates: tests script replies per
// path (enqueueReply), install handlers and read the request log.
class FakeWebService : public HttpsService
{
    Q_OBJECT
public:
    explicit FakeWebService(const TestCertificates& certificates = TestCertificates::shared(),
                            QObject* parent = nullptr)
        : HttpsService(certificates, parent)
    {
    }
};

#endif // FAKEWEBSERVICE_H
