#include "fakeprocedures.h"

#include "fakewebservice.h"
#include "localprocedures.h"
#include "localservice.h"

namespace {

QJsonObject browseFields()
{
    return {{"CategoriesCount", 0},
            {"ChannelsCount", 0},
            {"Channels", QJsonArray()},
            {"Categories", QJsonArray()}};
}

} // namespace

FakeProcedures::FakeProcedures() = default;

FakeProcedures::~FakeProcedures() = default;

QByteArray FakeProcedures::withEmptyAuthValue(const QByteArray& body)
{
    return LocalService::withEmptyAuthValue(body);
}

bool FakeProcedures::authValueMatches(const QByteArray& body, const QString& token,
                                      const QString& hashMethod)
{
    return LocalService::authValueMatches(body, token, hashMethod);
}

int FakeProcedures::verify(const FakeRequest& request, QString* user) const
{
    const QJsonObject body = request.json();
    const bool isSigned = body.contains(QStringLiteral("AuthValue"));
    if (isSigned && checkAuthValue && tokenIssued &&
        !authValueMatches(request.body, token, hashMethod))
        return 401;
    *user = body.value(QStringLiteral("Username")).toString();
    return 0;
}

void FakeProcedures::configure()
{
    AccountPolicy& policy = local->policy();
    policy.usernameFor = [this](const QString&) { return username; };
    policy.newToken = [this] { return token; };
    policy.newServerNonce = [this] { return serverNonce; };
    policy.newServerTimestamp = [this] { return serverTimestamp; };
    policy.codeFor = [this](const QString&) { return pinCode; };
    policy.chatServers = [this](const QString&) { return salamServers; };
    policy.verifySigned = [this](const FakeRequest& request, QString* user) {
        return verify(request, user);
    };
    policy.registered = [this](const QString& phone, const QJsonObject& body) {
        registeredPhoneNo = phone;
        registeredClientNonce = body.value("ClientNonce").toString();
        registeredClientTimestamp = body.value("ClientTimestamp").toString();
    };
    policy.activated = [this](const QString&) { tokenIssued = true; };
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
    local = std::make_unique<LocalService>(service, &store);
    local->settings().credit = 1250;
    configure();
    // The methods a test sets take effect from the next request on.
    QObject::connect(service, &HttpsService::requestReceived, local.get(), [this] {
        local->settings().hashMethod = hashMethod;
        local->settings().encryptionMethod = encryptionMethod;
    });

    // Everything else: a checked success without fields, or with the fields
    // the client requires; the more specific paths win over these prefixes.
    for (const char* prefix : {"", "GAPI/", "CAPI/"})
        service->setPrefixHandler(QString::fromLatin1(prefix), [this](const FakeRequest& r) {
            return signedReply(r, QJsonObject());
        });
    service->setPrefixHandler("GAPI/channels/browse/", [this](const FakeRequest& r) {
        return signedReply(r, browseFields());
    });
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

    // The procedures the local service has, with the values fixed above.
    local->installProcedures();
}

void FakeProcedures::installSigned(FakeWebService* service, const QString& path,
                                   const QJsonObject& fields)
{
    service->setHandler(path,
                        [this, fields](const FakeRequest& r) { return signedReply(r, fields); });
}

FakeReply FakeProcedures::signedReply(const FakeRequest& request, const QJsonObject& fields)
{
    QString user;
    if (verify(request, &user) != 0)
        return FakeReply::result(401, {{"ResultMessage", "AuthValue check failed"}});
    return FakeReply::result(200, fields);
}
