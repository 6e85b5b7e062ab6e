#ifndef FAKEPROCEDURES_H
#define FAKEPROCEDURES_H

#include "fakereply.h"
#include "fakerequest.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class FakeWebService;

// The web service's procedures as the fake answers them by default: sign-up
// with a real verification token and an encrypted token (OpenSSL, not the
// program's code), signed requests checked against that token, and for every
// other procedure a success carrying the reply fields the client requires.
// Tests change single answers with FakeWebService::enqueueReply.
class FakeProcedures
{
public:
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

private:
    FakeReply registerReply(const FakeRequest& request);
    FakeReply activationReply(const FakeRequest& request);
    FakeReply signedReply(const FakeRequest& request, const QJsonObject& fields);
    void installSigned(FakeWebService* service, const QString& path, const QJsonObject& fields);
};

#endif // FAKEPROCEDURES_H
