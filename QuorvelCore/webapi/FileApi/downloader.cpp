#include "webapi/FileApi/downloader.h"

#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/filehost.h"
#include "webapi/FileApi/localfiles.h"

#include <QNetworkAccessManager>
#include <QTemporaryFile>

int Downloader::stallMsecs = 5500;
int Downloader::retryMsecs = 1000;

namespace {

// Bytes the network layer may hold for a download written to disk before it
// waits for them to be taken.
const qint64 kSpoolReadBuffer = 256 * 1024;

} // namespace

Downloader::Downloader(QObject* parent) : QObject(parent)
{
    retryTimer.setSingleShot(true);
    stallTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &Downloader::retryTimeout);
    connect(&stallTimer, &QTimer::timeout, this, &Downloader::downloadTimeout);
}

Downloader::~Downloader()
{
    releaseTransfer();
}

void Downloader::setStallTimeout(int msecs)
{
    stallMsecs = msecs;
}

int Downloader::stallTimeout()
{
    return stallMsecs;
}

void Downloader::setRetryInterval(int msecs)
{
    retryMsecs = msecs;
}

int Downloader::retryInterval()
{
    return retryMsecs;
}

QString Downloader::getUrl() const
{
    return request.url().toString();
}

QString Downloader::logUrl() const
{
    return FileHost::loggable(request.url());
}

bool Downloader::start(const QNetworkRequest& newRequest)
{
    if (!FileHost::isFetchable(newRequest.url())) {
        L_WARN(QStringLiteral("Downloader::start | refused, not an https address: ") +
               FileHost::loggable(newRequest.url()));
        return false;
    }
    request = newRequest;
    tries = 0;
    startTransfer();
    L_DEBUG(QStringLiteral("Downloader::start | requestUrl: ") + logUrl());
    stallTimer.start(stallMsecs);
    return true;
}

void Downloader::startTransfer()
{
    releaseTransfer();
    ServiceConfig::installExtraCaCertificates();
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::sslErrors, this, &Downloader::sslErrors);

    spoolFailed = false;
    const QString spoolFolder = request.attribute(SpoolFolderAttribute).toString();
    if (!spoolFolder.isEmpty()) {
        spool = new QTemporaryFile(spoolFolder + QLatin1Char('/') +
                                   QLatin1String(LocalFiles::kPartialPrefix) +
                                   QStringLiteral("XXXXXX"));
        if (!spool->open()) {
            L_ERROR(QStringLiteral("Downloader::startTransfer | cannot write in ") + spoolFolder);
            spoolFailed = true;
        }
    }

    reply = manager->get(request);
    if (spool)
        reply->setReadBufferSize(kSpoolReadBuffer);
    connect(reply.data(), &QNetworkReply::downloadProgress, this, &Downloader::downloadProgress);
    connect(reply.data(), &QNetworkReply::readyRead, this, &Downloader::readyRead);
    connect(reply.data(), &QNetworkReply::finished, this, &Downloader::downloadFinished);
    connect(reply.data(), &QNetworkReply::errorOccurred, this, &Downloader::error);
}

bool Downloader::isCurrentReply() const
{
    return reply && sender() == reply.data();
}

void Downloader::downloadProgress(qint64 received, qint64 total)
{
    if (!isCurrentReply() || request.url().isEmpty() || (received == 0 && total == 0))
        return;
    L_DEBUG(QStringLiteral("Downloader::downloadProgress | progress: %1/%2 | requestUrl: ")
                .arg(received)
                .arg(total) +
            logUrl());
    stallTimer.start(stallMsecs);
    emit progress(getUrl(), received, total);
}

void Downloader::readyRead()
{
    if (!isCurrentReply() || !spool)
        return;
    // An error status's body is never kept.
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() != QNetworkReply::NoError ||
        (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)))
        return;
    const QByteArray chunk = reply->readAll();
    if (spoolFailed || spool->write(chunk) != chunk.size()) {
        L_ERROR(QStringLiteral("Downloader::readyRead | writing failed for ") + logUrl());
        const QString url = getUrl();
        cleanUp();
        emit canceled(url);
    }
}

void Downloader::downloadFinished()
{
    if (!isCurrentReply() || request.url().isEmpty())
        return;
    if (reply->error() != QNetworkReply::NoError)
        return; // the error path ends it
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        L_WARN(QStringLiteral("Downloader::downloadFinished | status %1 for ").arg(status.toInt()) +
               logUrl());
        error(QNetworkReply::UnknownContentError);
        return;
    }

    // A body the server announced as empty is a complete (empty) file, not
    // a transfer that never ends; any other empty ending is left to the
    // stall timer as before.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool announcedEmpty = length.isValid() && length.toLongLong() == 0;
    QByteArray body;
    if (spool) {
        readyRead();
        if (!spool || !spool->flush() || (spool->size() == 0 && !announcedEmpty))
            return;
    } else {
        if (reply->bytesAvailable() <= 0 && !announcedEmpty)
            return;
        body = reply->readAll();
    }
    L_DEBUG(QStringLiteral("Downloader::downloadFinished | requestUrl: ") + logUrl());
    const QString url = getUrl();
    const QString contentDisposition = QString::fromUtf8(reply->rawHeader("Content-Disposition"));
    retryTimer.stop();
    stallTimer.stop();
    if (spool)
        emit savedToFile(url, contentDisposition, spool->fileName());
    else
        emit finished(url, contentDisposition, body);
    cleanUp();
    emit readyForNextDownload();
}

void Downloader::error(QNetworkReply::NetworkError code)
{
    if (sender() && !isCurrentReply())
        return;
    L_WARN(QStringLiteral("Downloader::error | %1 try %2 | ").arg(int(code)).arg(tries) + logUrl());
    if (tries < kMaxRestarts) {
        retryTimer.start(retryMsecs);
        return;
    }
    const QString url = getUrl();
    cleanUp();
    if (code >= 1 && code <= 199)
        emit networkError(url);
    else
        emit canceled(url);
}

void Downloader::retryTimeout()
{
    if (tries > kMaxRestarts) {
        const QString url = getUrl();
        cleanUp();
        emit canceled(url);
        return;
    }
    startTransfer();
    ++tries;
    stallTimer.start(stallMsecs);
}

void Downloader::downloadTimeout()
{
    const QString url = getUrl();
    L_WARN(QStringLiteral("Downloader::downloadTimeout | no progress for ") + logUrl());
    cleanUp();
    emit canceled(url);
}

void Downloader::cancel(bool emitCanceled)
{
    const QString url = getUrl();
    cleanUp();
    if (emitCanceled)
        emit canceled(url);
}

void Downloader::sslErrors(QNetworkReply* failed, const QList<QSslError>& errors)
{
    FileHost::logSslErrors(QStringLiteral("Downloader::sslErrors"), failed, errors);
}

void Downloader::cleanUp()
{
    releaseTransfer();
    retryTimer.stop();
    stallTimer.stop();
    request = QNetworkRequest();
}

void Downloader::releaseTransfer()
{
    if (reply) {
        reply->disconnect(this);
        reply->blockSignals(true);
        if (reply->isRunning() && reply->error() == QNetworkReply::NoError)
            reply->abort();
        reply->deleteLater();
    }
    reply = nullptr;
    if (manager) {
        manager->disconnect(this);
        manager->deleteLater();
    }
    manager = nullptr;
    delete spool; // removes the unfinished file
    spool = nullptr;
}
