#include "fakeprocedures.h"

#include "fakewebservice.h"
#include "testcrypto.h"

#include <QJsonDocument>
#include <QRegularExpression>

namespace {

QJsonObject browseFields()
{
    return {{"CategoriesCount", 0},
            {"ChannelsCount", 0},
            {"Channels", QJsonArray()},
            {"Categories", QJsonArray()}};
}

} // namespace

QByteArray FakeProcedures::withEmptyAuthValue(const QByteArray& body)
{
    QString text = QString::fromUtf8(body);
    text.replace(QRegularExpression(QStringLiteral("\"AuthValue\":\"[^\"]*\"")),
                 QStringLiteral("\"AuthValue\":\"\""));
    return text.toUtf8();
}

bool FakeProcedures::authValueMatches(const QByteArray& body, const QString& token,
                                      const QString& hashMethod)
{
    const QString sent = QJsonDocument::fromJson(body).object().value("AuthValue").toString();
    return !sent.isEmpty() &&
           sent == TestCrypto::digestHex(hashMethod, withEmptyAuthValue(body) + token.toUtf8());
}

void FakeProcedures::install(FakeWebService* service)
{
    if (salamServers.isEmpty())
        salamServers = QJsonArray{QJsonObject{{"Hostname", "localhost"},
                                              {"ServerAddress", "127.0.0.1"},
                                              {"PortNo", "5222"},
                                              {"Username", username},
                                              {"Password", "chat-secret"},
                                              {"Application", "chat"}}};

    service->setHandler("register/", [this](const FakeRequest& r) { return registerReply(r); });
    service->setHandler("ivrRequest/", [](const FakeRequest&) { return FakeReply::result(200); });
    service->setHandler("activation/", [this](const FakeRequest& r) { return activationReply(r); });
    service->setHandler("algorithm/", [this](const FakeRequest&) {
        return FakeReply::result(
            200, {{"HashMethod", hashMethod}, {"EncryptionMethod", encryptionMethod}});
    });
    service->setHandler("client_country/", [](const FakeRequest&) {
        return FakeReply::result(200, {{"CountryCode", "DE"}, {"CountryPrefix", "49"}});
    });
    installSigned(service, "card/", {{"Username", username}, {"Credit", 1250}});
    installSigned(service, "salam/", {{"Servers", salamServers}, {"SinceLastConnection", 42}});
    installSigned(service, "GAPI/channels/browse/index/", browseFields());
    installSigned(service, "GAPI/channels/archive/JSON",
                  {{"MessagesCount", 0}, {"Messages", QJsonArray()}});
    installSigned(service, "GAPI/channels/newMessages/JSON",
                  {{"MessagesCount", 0}, {"Messages", QJsonArray()}});
    installSigned(service, "GAPI/channels/list/",
                  {{"ChannelsCount", 0}, {"Channels", QJsonArray()}});
    service->setHandler("GAPI/channels/create/", [this](const FakeRequest& r) {
        return signedReply(r, {{"ChannelID", r.json().value("ChannelID")}});
    });
    installSigned(service, "like/get/", {{"MessagesLikeCount", QJsonArray()}});
    installSigned(service, "lastseen/", {{"LastSeen", 1700000000}});
    installSigned(service, "contacts/syncall/", {{"Members", QJsonArray()}});
    installSigned(service, "contacts/syncchanges/", {{"Members", QJsonArray()}});
    // Everything else: a checked success without fields; browse/<id>/ has its
    // own reply, and the more specific prefixes win over these.
    service->setPrefixHandler("GAPI/channels/browse/", [this](const FakeRequest& r) {
        return signedReply(r, browseFields());
    });
    for (const char* prefix : {"", "GAPI/", "CAPI/"})
        service->setPrefixHandler(QString::fromLatin1(prefix), [this](const FakeRequest& r) {
            return signedReply(r, QJsonObject());
        });
}

void FakeProcedures::installSigned(FakeWebService* service, const QString& path,
                                   const QJsonObject& fields)
{
    service->setHandler(path,
                        [this, fields](const FakeRequest& r) { return signedReply(r, fields); });
}

FakeReply FakeProcedures::signedReply(const FakeRequest& request, const QJsonObject& fields)
{
    const bool isSigned = request.json().contains(QStringLiteral("AuthValue"));
    if (isSigned && checkAuthValue && tokenIssued &&
        !authValueMatches(request.body, token, hashMethod))
        return FakeReply::result(401, {{"ResultMessage", "AuthValue check failed"}});
    return FakeReply::result(200, fields);
}

FakeReply FakeProcedures::registerReply(const FakeRequest& request)
{
    const QJsonObject body = request.json();
    registeredPhoneNo = body.value("PhoneNo").toString();
    registeredClientNonce = body.value("ClientNonce").toString();
    registeredClientTimestamp = body.value("ClientTimestamp").toString();
    const QString expectedId = TestCrypto::digestHex(
        "SHA256", (registeredClientTimestamp + registeredClientNonce + registeredPhoneNo).toUtf8());
    if (registeredPhoneNo.isEmpty() || body.value("RequestId").toString() != expectedId)
        return FakeReply::result(400, {{"ResultMessage", "bad RequestId"}});
    return FakeReply::result(200, {{"PhoneNo", registeredPhoneNo},
                                   {"DeviceId", body.value("DeviceId")},
                                   {"ServerNonce", serverNonce},
                                   {"ServerTimestamp", serverTimestamp},
                                   {"HashMethod", hashMethod},
                                   {"EncryptionMethod", encryptionMethod}});
}

FakeReply FakeProcedures::activationReply(const FakeRequest& request)
{
    const QJsonObject body = request.json();
    const QString phone = body.value("PhoneNo").toString();
    const QString expected = TestCrypto::digestHex(
        hashMethod, (phone + pinCode + serverTimestamp + serverNonce).toUtf8());
    if (phone != registeredPhoneNo || body.value("VerificationToken").toString() != expected)
        return FakeReply::result(403, {{"ResultMessage", "wrong activation code"}});
    const QByteArray key =
        TestCrypto::digest(hashMethod,
                           (username + registeredClientTimestamp + registeredClientNonce).toUtf8())
            .toHex()
            .left(TestCrypto::keySize(encryptionMethod));
    const QByteArray iv = TestCrypto::randomBytes(16);
    const QByteArray eToken = TestCrypto::aesCbcEncrypt(encryptionMethod, key, iv, token.toUtf8());
    tokenIssued = true;
    return FakeReply::result(200, {{"Username", username},
                                   {"EToken", QString::fromLatin1(eToken.toBase64())},
                                   {"Iv", QString::fromLatin1(iv.toBase64())}});
}
