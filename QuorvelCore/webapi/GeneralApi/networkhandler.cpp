#include "webapi/GeneralApi/networkhandler.h"

#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/logredactor.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkRequest>

namespace {
const char* const kAbortedProperty = "quorvelAborted";
}

NetworkHandler::NetworkHandler(QObject* parent) : QObject(parent)
{
    setup();
}

void NetworkHandler::setup()
{
    ServiceConfig::installExtraCaCertificates();
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &NetworkHandler::finished);
    connect(manager, &QNetworkAccessManager::sslErrors, this, &NetworkHandler::sslErrors);
}

void NetworkHandler::setApiURL(const QString& url)
{
    apiUrl = url;
}

QString NetworkHandler::getApiURL() const
{
    return apiUrl;
}

QUrl NetworkHandler::getRequestURL(const QString& subDir) const
{
    return QUrl(apiUrl + subDir, QUrl::TolerantMode);
}

QNetworkRequest NetworkHandler::buildRequest(const QString& subDir) const
{
    QNetworkRequest request(getRequestURL(subDir));
    request.setHeader(QNetworkRequest::UserAgentHeader, DeviceInfoProvider().getUserAgent());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("JSON"));
    return request;
}

void NetworkHandler::postRequest(const QString& subDir, const QByteArray& body)
{
    L_DEBUG(QStringLiteral("NetworkHandler::postRequest | ") + subDir + QStringLiteral(" ") +
            LogRedactor::redactBody(body));
    QNetworkReply* reply = manager->post(buildRequest(subDir), body);
    currentReply = reply;
    running << reply;
    connect(reply, &QNetworkReply::errorOccurred, this, &NetworkHandler::requestError);
}

void NetworkHandler::postRequest(const QString& subDir, const QJsonObject& body)
{
    postRequest(subDir, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

void NetworkHandler::getRequest(const QString& subDir)
{
    running << manager->get(buildRequest(subDir));
}

void NetworkHandler::abortRequests()
{
    const QList<QPointer<QNetworkReply>> replies = running;
    running.clear();
    for (const QPointer<QNetworkReply>& reply : replies) {
        if (!reply || reply->isFinished())
            continue;
        reply->setProperty(kAbortedProperty, true);
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

void NetworkHandler::requestError(QNetworkReply::NetworkError err)
{
    Q_UNUSED(err)
    auto* reply = qobject_cast<QNetworkReply*>(sender());
    if (reply && reply->property(kAbortedProperty).toBool())
        return;
    const QString text = currentReply ? currentReply->errorString() : QString();
    L_ERROR(QStringLiteral("Network Error: ") + text);
    emit error();
}

void NetworkHandler::finished(QNetworkReply* reply)
{
    running.removeAll(reply);
    reply->deleteLater();
    if (reply->property(kAbortedProperty).toBool())
        return;
    if (reply->bytesAvailable() > 0) {
        emit replyReady(reply->readAll());
        return;
    }
    L_ERROR(QStringLiteral("NetworkHandler::finished | ERROR:") + reply->errorString());
    emit error();
}

void NetworkHandler::sslErrors(QNetworkReply* nr, QList<QSslError> sslEs)
{
    // Never ignored: the handshake fails and the request ends in error().
    QStringList texts;
    for (const QSslError& sslError : sslEs)
        texts << sslError.errorString();
    L_ERROR(QStringLiteral("NetworkHandler::sslErrors | certificate rejected for ") +
            nr->url().toString(QUrl::RemoveUserInfo | QUrl::RemoveQuery) + QStringLiteral(": ") +
            texts.join(QStringLiteral("; ")));
    L_ERROR(QStringLiteral("NetworkHandler::sslErrors | ") + texts.join(QStringLiteral("; ")));
}
