#ifndef WEBAPITESTSUPPORT_H
#define WEBAPITESTSUPPORT_H

#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/applicationcontrol.h"
#include "webapi/GeneralApi/procedure.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QList>
#include <QPair>
#include <QSignalSpy>
#include <QStringList>

// Shared pieces of the web-service client tests.
namespace webapitest {

// Records log-out's restart and quit instead of starting a process.
class RecordingControl : public ApplicationControl
{
public:
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << (QStringList{program} + arguments);
        return startResult;
    }
    void quit() override { ++quits; }
    bool startResult = true;
    QList<QStringList> started;
    int quits = 0;
};

using Results = QList<QPair<int, int>>;

// The (procedure, code) pairs a spy on ProcedureHandler::result recorded.
inline Results results(const QSignalSpy& spy)
{
    Results out;
    for (const QList<QVariant>& call : spy)
        out << qMakePair(static_cast<int>(call.at(0).value<Procedure>()), call.at(1).toInt());
    return out;
}

// Trusts the shared test CA, starts the fake on loopback with the default
// procedures and points the program's web-service address at it.
inline bool startFakeService(FakeWebService* service, FakeProcedures* procedures)
{
    if (TestCertificates::trustSharedCa().isEmpty() || !service->start())
        return false;
    qputenv("QUORVEL_WEB_BASE_URL", service->baseUrl().toUtf8());
    procedures->install(service);
    return true;
}

// Stores the settings of a signed-in user (token "tok-123", SHA256).
inline void storeSignedInSettings()
{
    SettingStorage* settings = SettingStorage::getInstance();
    const QList<QPair<QString, QString>> values{{"PhoneNo", "491701234567"},
                                                {"Username", "u1000"},
                                                {"HashMethod", "SHA256"},
                                                {"EncryptionMethod", "AES256CBC"},
                                                {"Token", "tok-123"}};
    for (const auto& pair : values)
        settings->addSetting(pair.first, pair.second);
    settings->writeSettings();
}

inline QString storedSetting(const QString& key)
{
    QString value;
    SettingStorage::getInstance()->getSetting(key, &value);
    return value;
}

} // namespace webapitest

#endif // WEBAPITESTSUPPORT_H
