#ifndef SIGNUPSTACK_H
#define SIGNUPSTACK_H

#include "fakewebservice.h"
#include "localservice.h"
#include "servicestore.h"
#include "testcertificates.h"

#include <QTemporaryDir>

#include <memory>

// The local service over real HTTPS on loopback, with the program pointed at
// it through its environment: sign-ups typed into the real window reach it.
struct SignUpStack
{
    QTemporaryDir dir;
    std::unique_ptr<ServiceStore> store;
    std::unique_ptr<FakeWebService> http;
    std::unique_ptr<LocalService> service;

    // code is the activation code the service sends; every account it makes
    // gets its chat account. False when a part does not start.
    bool start(const QString& code)
    {
        if (!dir.isValid() || TestCertificates::trustSharedCa().isEmpty())
            return false;
        store = std::make_unique<ServiceStore>(dir.filePath("store"));
        if (!store->open())
            return false;
        http = std::make_unique<FakeWebService>();
        if (!http->start(0))
            return false;
        service = std::make_unique<LocalService>(http.get(), store.get());
        service->settings().demoCode = code;
        service->chatAccountCreator = [](const QString&, const QString&) { return true; };
        service->installProcedures();
        for (const char* name : {"QUORVEL_WEB_BASE_URL", "QUORVEL_FILE_HOST_URL"})
            qputenv(name, http->baseUrl().toUtf8());
        qputenv("QUORVEL_CHAT_DOMAIN", "127.0.0.1");
        return true;
    }
};

#endif // SIGNUPSTACK_H
