#ifndef FAKEPROCEDURES_H
#define FAKEPROCEDURES_H

#include "fakereply.h"
#include "fakerequest.h"
#include "servicestore.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <memory>

class FakeWebService;
class LocalService;

// The local service's procedures (the same code the standalone service runs,
// with its state in memory) with the values it issues fixed by the test: one
// user name, token, server nonce and time stamp and activation code, and the
// chat servers of "Salam". Signed requests are checked against the token once
// it was issued (or when the test sets it). Procedures the service does not
// have yet answer a checked success carrying the reply fields the client
// requires. Tests change single answers with FakeWebService::enqueueReply.
class FakeProcedures
{
public:
    FakeProcedures();
    ~FakeProcedures();

    // Installs the handlers on service; this object must outlive it.
    void install(FakeWebService* service);

    // Account data the service issues (settable before sign-up).
    QString pinCode = QStringLiteral("12345");
    QString username = QStringLiteral("u1000");
    QString token = QStringLiteral("token-of-u1000");
    QString hashMethod = QStringLiteral("SHA256");
    QString encryptionMethod = QStringLiteral("AES256CBC");
    QString serverNonce = QStringLiteral("SrvNonce0123456789ab");
    QString serverTimestamp = QStringLiteral("1700000000000");
    // "Servers" of the Salam reply.
    QJsonArray salamServers;
    // Signed requests are checked once the service knows the user's token
    // (after activation, or when set by the test).
    bool checkAuthValue = true;
    bool tokenIssued = false;

    // What the last Register carried.
    QString registeredPhoneNo;
    QString registeredClientNonce;
    QString registeredClientTimestamp;

    // True when body's "AuthValue" is the digest of body with that value
    // emptied, followed by the token.
    static bool authValueMatches(const QByteArray& body, const QString& token,
                                 const QString& hashMethod);
    // The body with the value of "AuthValue" replaced by "" (textually).
    static QByteArray withEmptyAuthValue(const QByteArray& body);

    LocalService* localService() const { return local.get(); }

private:
    void configure();
    int verify(const FakeRequest& request, QString* user) const;
    FakeReply signedReply(const FakeRequest& request, const QJsonObject& fields);
    void installSigned(FakeWebService* service, const QString& path, const QJsonObject& fields);

    ServiceStore store;
    std::unique_ptr<LocalService> local;
};

#endif // FAKEPROCEDURES_H
