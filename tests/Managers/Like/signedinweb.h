#ifndef SIGNEDINWEB_H
#define SIGNEDINWEB_H

#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "model/globalconstants.h"
#include "signedinsettings.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QList>
#include <QPair>
#include <QString>

// The fake web service on loopback with a signed-in user whose requests it
// checks, for the managers that talk to it through the real procedure queue.
namespace signedinweb {

const QString kUser = QStringLiteral("989120000000");

inline bool startService(FakeWebService* service, FakeProcedures* procedures)
{
    if (TestCertificates::trustSharedCa().isEmpty() || !service->start())
        return false;
    qputenv("QUORVEL_WEB_BASE_URL", service->baseUrl().toUtf8());
    procedures->install(service);
    GlobalConstants::setUserName(kUser);
    return true;
}

inline void signIn(FakeWebService* service, FakeProcedures* procedures)
{
    storeSignedInSettings(kUser, "tok-123");
    procedures->token = "tok-123";
    procedures->hashMethod = "SHA256";
    procedures->tokenIssued = true;
    service->clearRequests();
    service->clearScriptedReplies();
}

} // namespace signedinweb

#endif // SIGNEDINWEB_H
