#include "localservice.h"

#include "foundation/simpleqtlogger.h"
#include "localprocedures.h"
#include "servicecrypto.h"
#include "servicestore.h"

#include <QDateTime>
#include <QDir>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {
const QString kAccounts = QStringLiteral("accounts");
}

LocalService::LocalService(HttpsService* http, ServiceStore* store, QObject* parent)
    : QObject(parent), server(http), state(store),
      replays(std::make_unique<ReplayGuard>(
          store->folder().isEmpty()
              ? QString()
              : QDir(store->folder()).filePath(QStringLiteral("requestids.log"))))
{
    connect(server, &HttpsService::requestAnswered, this, &LocalService::logAnswer);
}

void LocalService::installProcedures()
{
    LocalProcedures::installAll(*this);
}

void LocalService::logAnswer(const ServiceRequest& request, const ServiceReply& reply) const
{
    // Method, path and result only: bodies carry codes, tokens and passwords.
    const int code = reply.resultCode();
    const QString line = QStringLiteral("LocalService | ") + QString::fromLatin1(request.method) +
                         QStringLiteral(" /") + request.path + QStringLiteral(" -> ") +
                         QString::number(code);
    if (code == 200) {
        L_INFO(line);
        return;
    }
    const QString message = QJsonDocument::fromJson(reply.body)
                                .object()
                                .value(QStringLiteral("ResultMessage"))
                                .toString();
    L_WARN(line + QStringLiteral(" (") + message + QLatin1Char(')'));
}

void LocalService::handle(const QString& path, Handler handler)
{
    server->setHandler(path, std::move(handler));
}

void LocalService::handlePrefix(const QString& prefix, Handler handler)
{
    server->setPrefixHandler(prefix, std::move(handler));
}

void LocalService::handleSigned(const QString& path, SignedHandler handler)
{
    server->setHandler(path, signedHandler(std::move(handler)));
}

void LocalService::handleSignedPrefix(const QString& prefix, SignedHandler handler)
{
    server->setPrefixHandler(prefix, signedHandler(std::move(handler)));
}

LocalService::Handler LocalService::signedHandler(SignedHandler handler) const
{
    return [this, handler](const ServiceRequest& request) {
        QString username;
        const int code = verifySigned(request, &username);
        if (code != 0)
            return failure(code, code == 311 ? QStringLiteral("account deactivated")
                                             : QStringLiteral("signature not verified"));
        ServiceReply refusal;
        if (!admitRequestId(request.body, &refusal))
            return refusal;
        return handler(request, username);
    };
}

bool LocalService::admitRequestId(const QByteArray& signedBody, ServiceReply* refusal) const
{
    // The id is covered by the signature: only its sender can make a new one.
    const QJsonValue id = QJsonDocument::fromJson(signedBody).object().value("RequestId");
    static const QRegularExpression shape(QStringLiteral("^[0-9A-Za-z_-]{1,128}$"));
    if (id.isUndefined())
        *refusal = failure(400, QStringLiteral("missing RequestId"));
    else if (!id.isString() || !shape.match(id.toString()).hasMatch())
        *refusal = failure(400, QStringLiteral("bad RequestId"));
    else if (!replays->admit(id.toString(), QDateTime::currentMSecsSinceEpoch()))
        *refusal = failure(400, QStringLiteral("request already received"));
    else
        return true;
    return false;
}

int LocalService::verifySigned(const ServiceRequest& request, QString* username) const
{
    if (accountPolicy.verifySigned)
        return accountPolicy.verifySigned(request, username);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return 400;
    const QJsonObject body = document.object();
    const QString user = body.value(QStringLiteral("Username")).toString();
    const QJsonObject stored = account(user);
    if (user.isEmpty() || stored.isEmpty() || !stored.value(QStringLiteral("Active")).toBool())
        return 401;
    if (stored.value(QStringLiteral("Deactivated")).toBool())
        return 311;
    if (!authValueMatches(request.body, stored.value(QStringLiteral("Token")).toString(),
                          stored.value(QStringLiteral("HashMethod")).toString()))
        return 401;
    *username = user;
    return 0;
}

bool LocalService::readBody(const ServiceRequest& request, const QStringList& required,
                            QJsonObject* body, ServiceReply* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        *error = failure(400, QStringLiteral("body is not a JSON object"));
        return false;
    }
    *body = document.object();
    for (const QString& key : required) {
        if (!body->contains(key) || body->value(key).isNull()) {
            *error = failure(400, QStringLiteral("missing field ") + key);
            return false;
        }
    }
    return true;
}

ServiceReply LocalService::failure(int code, const QString& message)
{
    return ServiceReply::result(code, {{QStringLiteral("ResultMessage"), message}});
}

QByteArray LocalService::withEmptyAuthValue(const QByteArray& body)
{
    QString text = QString::fromUtf8(body);
    static const QRegularExpression value(QStringLiteral("\"AuthValue\":\"[^\"]*\""));
    text.replace(value, QStringLiteral("\"AuthValue\":\"\""));
    return text.toUtf8();
}

bool LocalService::authValueMatches(const QByteArray& body, const QString& token,
                                    const QString& hashMethod)
{
    const QString sent = QJsonDocument::fromJson(body).object().value("AuthValue").toString();
    return !sent.isEmpty() && !token.isEmpty() &&
           sent == ServiceCrypto::digestHex(hashMethod, withEmptyAuthValue(body) + token.toUtf8());
}

QString LocalService::fileUrl(const QString& name) const
{
    QString base = config.fileBaseUrl.isEmpty() ? server->baseUrl() : config.fileBaseUrl;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base + QStringLiteral("files/") + name;
}

QJsonObject LocalService::account(const QString& username) const
{
    return username.isEmpty() ? QJsonObject() : state->object(kAccounts, username);
}

bool LocalService::saveAccount(const QString& username, const QJsonObject& account)
{
    return state->setValue(kAccounts, username, account);
}

QString LocalService::usernameOfPhone(const QString& phone) const
{
    if (phone.isEmpty())
        return QString();
    for (const QString& user : state->keys(kAccounts)) {
        const QJsonObject stored = state->object(kAccounts, user);
        if (stored.value(QStringLiteral("PhoneNo")).toString() == phone &&
            stored.value(QStringLiteral("Active")).toBool() &&
            !stored.value(QStringLiteral("Deactivated")).toBool())
            return user;
    }
    return QString();
}

QJsonObject LocalService::memberOf(const QString& username) const
{
    const QJsonObject stored = account(username);
    const QJsonObject profile = stored.value(QStringLiteral("Profile")).toObject();
    return {{QStringLiteral("MemberID"), stored.value(QStringLiteral("PhoneNo")).toString()},
            {QStringLiteral("Username"), username},
            {QStringLiteral("Nickname"), profile.value(QStringLiteral("Nickname")).toString()},
            {QStringLiteral("Motto"), profile.value(QStringLiteral("Motto")).toString()},
            {QStringLiteral("CanReply"), QStringLiteral("1")},
            {QStringLiteral("AvatarURL"), profile.value(QStringLiteral("AvatarURL")).toString()},
            {QStringLiteral("AvatarThumbnailURL"),
             profile.value(QStringLiteral("AvatarThumbnailURL")).toString()}};
}
