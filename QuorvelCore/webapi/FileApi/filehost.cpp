#include "webapi/FileApi/filehost.h"

#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"

#include <QNetworkReply>
#include <QStringList>

const char* const FileHost::kDefaultBaseUrl = "https://files.quorvel.app/";

QString FileHost::baseUrl()
{
    QString url = QString::fromLocal8Bit(qgetenv("QUORVEL_FILE_HOST_URL")).trimmed();
    if (url.isEmpty())
        url = QString::fromLatin1(kDefaultBaseUrl);
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url;
}

QUrl FileHost::url(const QString& path)
{
    return QUrl(baseUrl() + path);
}

QNetworkRequest FileHost::request(const QUrl& url)
{
    ServiceConfig::installExtraCaCertificates();
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, DeviceInfoProvider().getUserAgent());
    return request;
}

bool FileHost::isFetchable(const QUrl& url)
{
    return url.isValid() &&
           url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 &&
           !url.host().isEmpty();
}

QString FileHost::loggable(const QUrl& url)
{
    QString text =
        url.adjusted(QUrl::RemoveUserInfo | QUrl::RemoveQuery | QUrl::RemoveFragment).toString();
    const QLatin1String marker("static_file/");
    const int at = text.indexOf(marker);
    if (at >= 0) {
        const int nameEnd = text.indexOf(QLatin1Char('/'), at + marker.size());
        if (nameEnd >= 0)
            text = text.left(nameEnd) + QStringLiteral("/...");
    }
    return text;
}

void FileHost::logSslErrors(const QString& where, QNetworkReply* reply,
                            const QList<QSslError>& errors)
{
    QStringList texts;
    for (const QSslError& error : errors)
        texts << error.errorString();
    const QString url = reply ? loggable(reply->url()) : QString();
    L_ERROR(where + QStringLiteral(" | certificate rejected for ") + url + QStringLiteral(": ") +
            texts.join(QStringLiteral("; ")));
}
