#ifndef LOCALSERVICE_H
#define LOCALSERVICE_H

#include "accountpolicy.h"
#include "httpsservice.h"
#include "localservicesettings.h"
#include "replayguard.h"
#include "servicereply.h"
#include "servicerequest.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ServiceStore;

// The messaging service's procedures with real state, served by an
// HttpsService and kept in a ServiceStore. Each area of procedures (accounts,
// contacts, files, ...) lives in its own file and installs its handlers
// through LocalProcedures; this class gives them what they share: the store,
// the settings, signature checks, body checks and the accounts.
class LocalService : public QObject
{
    Q_OBJECT
public:
    using Handler = HttpsService::Handler;
    // Runs only for a request whose signature verified; username is the caller.
    using SignedHandler =
        std::function<ServiceReply(const ServiceRequest& request, const QString& username)>;

    // Neither http nor store is owned; both must outlive this object.
    LocalService(HttpsService* http, ServiceStore* store, QObject* parent = nullptr);

    // Installs every area's procedures (LocalProcedures::installAll).
    void installProcedures();

    HttpsService* http() const { return server; }
    ServiceStore* store() const { return state; }
    LocalServiceSettings& settings() { return config; }
    const LocalServiceSettings& settings() const { return config; }
    AccountPolicy& policy() { return accountPolicy; }

    void handle(const QString& path, Handler handler);
    void handlePrefix(const QString& prefix, Handler handler);
    void handleSigned(const QString& path, SignedHandler handler);
    void handleSignedPrefix(const QString& prefix, SignedHandler handler);

    // 0 when the request is signed by an active user (filling username),
    // else the result code to answer (400 malformed, 401 not verified, 311
    // deactivated).
    int verifySigned(const ServiceRequest& request, QString* username) const;
    // True when the signed body carries a RequestId not seen within a day
    // (remembering it); false with the 400 to answer when it carries none, a
    // malformed one or one seen before. Every signed procedure asks this.
    bool admitRequestId(const QByteArray& signedBody, ServiceReply* refusal) const;
    // The body as a JSON object holding every required key; false with a 400
    // reply naming the problem otherwise.
    static bool readBody(const ServiceRequest& request, const QStringList& required,
                         QJsonObject* body, ServiceReply* error);
    static ServiceReply failure(int code, const QString& message);
    static bool authValueMatches(const QByteArray& body, const QString& token,
                                 const QString& hashMethod);
    // The body with the value of "AuthValue" replaced by "" (textually).
    static QByteArray withEmptyAuthValue(const QByteArray& body);

    // Where a kept file is fetched: file base + "files/" + name.
    QString fileUrl(const QString& name) const;

    // Accounts, kept in the "accounts" area under the user name.
    QJsonObject account(const QString& username) const;
    bool saveAccount(const QString& username, const QJsonObject& account);
    // The user name of the activated account with this phone number ("" when none).
    QString usernameOfPhone(const QString& phone) const;
    // A user's public profile in the form the "Members" replies carry.
    QJsonObject memberOf(const QString& username) const;

    // Creates the chat account of a newly activated user (unset: none).
    std::function<bool(const QString& user, const QString& password)> chatAccountCreator;
    // Delivers a message to a user's chat account as a live message, in the
    // form the clients read from a chat stanza (unset: none).
    std::function<void(const QString& user, const QJsonObject& message)> chatMessagePusher;

signals:
    // A sign-up's activation code, for the console (never in the request log).
    void activationCodeIssued(const QString& phone, const QString& code);
    void accountActivated(const QString& username, const QString& phone);
    // A user's contact list was saved.
    void contactsChanged(const QString& username);

private:
    Handler signedHandler(SignedHandler handler) const;
    void logAnswer(const ServiceRequest& request, const ServiceReply& reply) const;

    HttpsService* server;
    ServiceStore* state;
    LocalServiceSettings config;
    AccountPolicy accountPolicy;
    std::unique_ptr<ReplayGuard> replays;
};

#endif // LOCALSERVICE_H
