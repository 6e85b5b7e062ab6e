#ifndef NETWORKHANDLER_H
#define NETWORKHANDLER_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

// Sends JSON requests to an HTTPS service and hands back the raw reply body or
// a bare error. Knows nothing of procedures, result codes or retries.
// Certificate errors are never ignored: such a request fails with error().
class QUORVELCORE_EXPORT NetworkHandler : public QObject
{
    Q_OBJECT
public:
    explicit NetworkHandler(QObject* parent = nullptr);

    void setup();
    void setApiURL(const QString& url);
    QString getApiURL() const;
    // Base address followed by the sub-directory, nothing in between.
    QUrl getRequestURL(const QString& subDir) const;

    void postRequest(const QString& subDir, const QByteArray& body);
    void postRequest(const QString& subDir, const QJsonObject& body);
    void getRequest(const QString& subDir);

    // Aborts every request still running. Nothing more is reported for them:
    // no replyReady(), no error().
    void abortRequests();

signals:
    void replyReady(QByteArray content);
    void error();

public slots:
    void requestError(QNetworkReply::NetworkError err);
    void finished(QNetworkReply* reply);
    void sslErrors(QNetworkReply* nr, QList<QSslError> sslEs);

private:
    QNetworkRequest buildRequest(const QString& subDir) const;

    QString apiUrl;
    QNetworkAccessManager* manager = nullptr;
    QPointer<QNetworkReply> currentReply;
    QList<QPointer<QNetworkReply>> running;
};

#endif // NETWORKHANDLER_H
