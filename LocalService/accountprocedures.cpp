// Sign-up, activation and the account's own procedures.

#include "localprocedures.h"
#include "localservice.h"
#include "servicecrypto.h"
#include "servicestore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>

namespace {

const QString kRegistrations = QStringLiteral("registrations");
const int kMaxActivationTries = 5;
// The codes the sign-up screens tell apart: the number or the code was not
// accepted. Anything else reads as a network failure there.
const int kNumberRefused = 330;
const int kCodeRefused = 311;
const int kMaxProfileText = 1024;

bool isPhoneNumber(const QString& phone)
{
    static const QRegularExpression pattern(QStringLiteral("^\\+?[0-9]{3,20}$"));
    return pattern.match(phone).hasMatch();
}

QString text(const QJsonObject& body, const char* key)
{
    return body.value(QLatin1String(key)).toString();
}

ServiceReply registerAccount(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"RequestId", "PhoneNo", "ClientNonce", "ClientTimestamp"},
                                &body, &error))
        return error;
    const QString phone = text(body, "PhoneNo");
    const QString nonce = text(body, "ClientNonce");
    const QString timestamp = text(body, "ClientTimestamp");
    if (!isPhoneNumber(phone))
        return LocalService::failure(kNumberRefused, QStringLiteral("bad PhoneNo"));
    const QString expectedId =
        ServiceCrypto::digestHex(QStringLiteral("SHA256"), (timestamp + nonce + phone).toUtf8());
    if (text(body, "RequestId") != expectedId)
        return LocalService::failure(400, QStringLiteral("bad RequestId"));
    const LocalServiceSettings& settings = service.settings();
    AccountPolicy& policy = service.policy();
    const QString code = settings.demoCode.isEmpty() ? policy.codeFor(phone) : settings.demoCode;
    const QJsonObject pending{{"ClientNonce", nonce},
                              {"ClientTimestamp", timestamp},
                              {"ServerNonce", policy.newServerNonce()},
                              {"ServerTimestamp", policy.newServerTimestamp()},
                              {"HashMethod", settings.hashMethod},
                              {"EncryptionMethod", settings.encryptionMethod},
                              {"Code", code},
                              {"DeviceId", body.value("DeviceId").toString()},
                              {"Tries", 0}};
    if (!service.store()->setValue(kRegistrations, phone, pending))
        return LocalService::failure(500, QStringLiteral("cannot keep the sign-up"));
    if (policy.registered)
        policy.registered(phone, body);
    emit service.activationCodeIssued(phone, code);
    return ServiceReply::result(200, {{"PhoneNo", phone},
                                      {"DeviceId", pending.value("DeviceId")},
                                      {"ServerNonce", pending.value("ServerNonce")},
                                      {"ServerTimestamp", pending.value("ServerTimestamp")},
                                      {"HashMethod", pending.value("HashMethod")},
                                      {"EncryptionMethod", pending.value("EncryptionMethod")}});
}

ServiceReply voiceCall(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"PhoneNo"}, &body, &error))
        return error;
    const QString phone = text(body, "PhoneNo");
    const QJsonObject pending = service.store()->object(kRegistrations, phone);
    if (pending.isEmpty())
        return LocalService::failure(404, QStringLiteral("no sign-up for this number"));
    // The voice call of this stand-in is the console line.
    emit service.activationCodeIssued(phone, pending.value("Code").toString());
    return ServiceReply::result(200);
}

// The token encrypted with the key both sides derive from the sign-up.
QJsonObject encryptedToken(const QString& username, const QJsonObject& pending,
                           const QString& token)
{
    const QString hash = pending.value("HashMethod").toString();
    const QString cipher = pending.value("EncryptionMethod").toString();
    const QByteArray key =
        ServiceCrypto::digest(
            hash,
            (username + text(pending, "ClientTimestamp") + text(pending, "ClientNonce")).toUtf8())
            .toHex()
            .left(ServiceCrypto::keySize(cipher));
    const QByteArray iv = ServiceCrypto::randomBytes(16);
    const QByteArray eToken = ServiceCrypto::aesCbcEncrypt(cipher, key, iv, token.toUtf8());
    if (eToken.isEmpty())
        return QJsonObject();
    return {{"Username", username},
            {"EToken", QString::fromLatin1(eToken.toBase64())},
            {"Iv", QString::fromLatin1(iv.toBase64())}};
}

ServiceReply activate(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"PhoneNo", "VerificationToken"}, &body, &error))
        return error;
    const QString phone = text(body, "PhoneNo");
    ServiceStore* store = service.store();
    QJsonObject pending = store->object(kRegistrations, phone);
    if (pending.isEmpty())
        return LocalService::failure(kCodeRefused, QStringLiteral("wrong activation code"));
    const QString expected =
        ServiceCrypto::digestHex(pending.value("HashMethod").toString(),
                                 (phone + text(pending, "Code") + text(pending, "ServerTimestamp") +
                                  text(pending, "ServerNonce"))
                                     .toUtf8());
    if (text(body, "VerificationToken") != expected) {
        // A code cannot be guessed: after a few wrong ones the sign-up starts over.
        const int tries = pending.value("Tries").toInt() + 1;
        if (tries >= kMaxActivationTries) {
            store->remove(kRegistrations, phone);
        } else {
            pending.insert("Tries", tries);
            store->setValue(kRegistrations, phone, pending);
        }
        return LocalService::failure(kCodeRefused, QStringLiteral("wrong activation code"));
    }

    AccountPolicy& policy = service.policy();
    const QString username = policy.usernameFor(phone);
    QJsonObject account = service.account(username);
    const QString token = policy.newToken();
    const QJsonObject reply = encryptedToken(username, pending, token);
    if (reply.isEmpty())
        return LocalService::failure(500, QStringLiteral("unknown encryption method"));
    QString chatPassword = text(account, "ChatPassword");
    if (chatPassword.isEmpty())
        chatPassword = policy.newChatPassword();
    if (service.chatAccountCreator && !service.chatAccountCreator(username, chatPassword))
        return LocalService::failure(500, QStringLiteral("cannot create the chat account"));
    account.insert("PhoneNo", phone);
    account.insert("Token", token);
    account.insert("HashMethod", pending.value("HashMethod"));
    account.insert("EncryptionMethod", pending.value("EncryptionMethod"));
    account.insert("DeviceId", pending.value("DeviceId"));
    account.insert("ChatPassword", chatPassword);
    account.insert("Active", true);
    account.insert("Deactivated", false);
    if (!service.saveAccount(username, account))
        return LocalService::failure(500, QStringLiteral("cannot keep the account"));
    store->remove(kRegistrations, phone);
    if (policy.activated)
        policy.activated(username);
    emit service.accountActivated(username, phone);
    return ServiceReply::result(200, reply);
}

ServiceReply salam(LocalService& service, const QString& username)
{
    QJsonObject account = service.account(username);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 last = account.value("LastSalam").toVariant().toLongLong();
    account.insert("LastSalam", QString::number(now));
    service.saveAccount(username, account);
    QJsonArray servers;
    if (service.policy().chatServers)
        servers = service.policy().chatServers(username);
    else if (!service.settings().chatHost.isEmpty())
        servers.append(QJsonObject{{"Hostname", service.settings().chatDomain},
                                   {"ServerAddress", service.settings().chatHost},
                                   {"PortNo", QString::number(service.settings().chatPort)},
                                   {"Username", username},
                                   {"Password", text(account, "ChatPassword")},
                                   {"Application", "chat"}});
    return ServiceReply::result(
        200, {{"Servers", servers}, {"SinceLastConnection", last > 0 ? now - last : 0}});
}

// Changes the caller's stored account with change; 500 when it cannot be kept.
ServiceReply updateAccount(LocalService& service, const QString& username,
                           const std::function<void(QJsonObject*)>& change)
{
    QJsonObject account = service.account(username);
    change(&account);
    if (!service.saveAccount(username, account))
        return LocalService::failure(500, QStringLiteral("cannot keep the account"));
    return ServiceReply::result(200);
}

ServiceReply setProfile(LocalService& service, const ServiceRequest& request,
                        const QString& username)
{
    QJsonObject body;
    ServiceReply error;
    const QStringList keys{"Nickname", "Motto", "AvatarURL", "AvatarThumbnailURL"};
    if (!LocalService::readBody(request, keys, &body, &error))
        return error;
    QJsonObject profile;
    for (const QString& key : keys) {
        if (!body.value(key).isString() || body.value(key).toString().size() > kMaxProfileText)
            return LocalService::failure(400, QStringLiteral("bad ") + key);
        profile.insert(key, body.value(key));
    }
    return updateAccount(service, username,
                         [&](QJsonObject* account) { account->insert("Profile", profile); });
}

ServiceReply setDeviceId(LocalService& service, const ServiceRequest& request,
                         const QString& username)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"NewDeviceId"}, &body, &error))
        return error;
    const QString deviceId = text(body, "NewDeviceId");
    if (deviceId.isEmpty() || deviceId.size() > 256)
        return LocalService::failure(400, QStringLiteral("bad NewDeviceId"));
    return updateAccount(service, username,
                         [&](QJsonObject* account) { account->insert("DeviceId", deviceId); });
}

} // namespace

void LocalProcedures::installAccounts(LocalService& service)
{
    LocalService* s = &service;
    service.handle("register/", [s](const ServiceRequest& r) { return registerAccount(*s, r); });
    service.handle("ivrRequest/", [s](const ServiceRequest& r) { return voiceCall(*s, r); });
    service.handle("activation/", [s](const ServiceRequest& r) { return activate(*s, r); });
    service.handle("algorithm/", [s](const ServiceRequest&) {
        return ServiceReply::result(200, {{"HashMethod", s->settings().hashMethod},
                                          {"EncryptionMethod", s->settings().encryptionMethod}});
    });
    service.handle("client_country/", [s](const ServiceRequest&) {
        return ServiceReply::result(200, {{"CountryCode", s->settings().countryCode},
                                          {"CountryPrefix", s->settings().countryPrefix}});
    });
    service.handleSigned("card/", [s](const ServiceRequest&, const QString& user) {
        return ServiceReply::result(200, {{"Username", user}, {"Credit", s->settings().credit}});
    });
    service.handleSigned(
        "salam/", [s](const ServiceRequest&, const QString& user) { return salam(*s, user); });
    service.handleSigned("setprofile/", [s](const ServiceRequest& r, const QString& user) {
        return setProfile(*s, r, user);
    });
    service.handleSigned(
        "register/setDeviceId/",
        [s](const ServiceRequest& r, const QString& user) { return setDeviceId(*s, r, user); });
    service.handleSigned("lastseen/", [](const ServiceRequest&, const QString&) {
        return ServiceReply::result(200, {{"LastSeen", QDateTime::currentSecsSinceEpoch()}});
    });
    service.handleSigned("deactivation/", [s](const ServiceRequest&, const QString& user) {
        return updateAccount(*s, user,
                             [](QJsonObject* account) { account->insert("Deactivated", true); });
    });
}
