#ifndef FILEHOST_H
#define FILEHOST_H

#include "foundation/quorvelcore_export.h"

#include <QList>
#include <QNetworkRequest>
#include <QSslError>
#include <QString>
#include <QUrl>

class QNetworkReply;

// The file host that keeps uploaded files, and what every transfer to or from
// it shares: its address, the User-Agent header and the certificate policy.
// The address can be replaced by the environment variable QUORVEL_FILE_HOST_URL
// (e.g. "https://127.0.0.1:8443/") to run against a self-hosted or test host.
class QUORVELCORE_EXPORT FileHost
{
public:
    // Always ends in "/".
    static QString baseUrl();
    static QUrl url(const QString& path);

    // A request for url with the device's User-Agent. Also makes sure that the
    // extra CA certificates of the process are installed before any
    // connection: certificates are always verified.
    static QNetworkRequest request(const QUrl& url);

    // Whether an address from a peer or the service may be fetched: https
    // with a host, nothing else (no file:, http: or other schemes).
    static bool isFetchable(const QUrl& url);
    // The address as log lines show it: no user information or query, and a
    // signed static-file address cut before its user, hash and auth parts.
    static QString loggable(const QUrl& url);

    // Certificate errors end the transfer; they are only logged here.
    static void logSslErrors(const QString& where, QNetworkReply* reply,
                             const QList<QSslError>& errors);

    static const char* const kDefaultBaseUrl;
};

#endif // FILEHOST_H
