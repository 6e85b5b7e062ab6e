#include "webapi/FileApi/downloadmanager.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/filehost.h"

#include <QUrl>

int DownloadManager::retryMsecs = 30000;
DownloadManager* DownloadManager::mainInstance = nullptr;
DownloadManager* DownloadManager::stickerInstance = nullptr;
DownloadManager* DownloadManager::avatarThumbnailInstance = nullptr;
DownloadManager* DownloadManager::messageThumbnailInstance = nullptr;

DownloadManager* DownloadManager::namedInstance(DownloadManager** slot, const char* name)
{
    if (!*slot)
        *slot = new DownloadManager(QString::fromLatin1(name));
    return *slot;
}

DownloadManager* DownloadManager::getInstance()
{
    return namedInstance(&mainInstance, "Main DM");
}

DownloadManager* DownloadManager::getStickerInstance()
{
    return namedInstance(&stickerInstance, "Sticker DM");
}

DownloadManager* DownloadManager::getAvatarThumbnailInstance()
{
    return namedInstance(&avatarThumbnailInstance, "AvatarThumbnail DM");
}

DownloadManager* DownloadManager::getMessageThumbnailInstance()
{
    return namedInstance(&messageThumbnailInstance, "MessageThumbnail DM");
}

void DownloadManager::deleteInstance()
{
    delete mainInstance;
    mainInstance = nullptr;
}

void DownloadManager::setNetworkRetryInterval(int msecs)
{
    retryMsecs = msecs;
}

int DownloadManager::networkRetryInterval()
{
    return retryMsecs;
}

DownloadManager::DownloadManager(const QString& name, QObject* parent)
    : QObject(parent), dmName(name)
{
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &DownloadManager::retryCurrentRequest);
    connect(&downloader, &Downloader::progress, this, &DownloadManager::downloadProgress);
    connect(&downloader, &Downloader::finished, this, &DownloadManager::finished);
    connect(&downloader, &Downloader::savedToFile, this, &DownloadManager::savedToFile);
    connect(&downloader, &Downloader::canceled, this, &DownloadManager::canceled);
    connect(&downloader, &Downloader::readyForNextDownload, this,
            &DownloadManager::startNextDownload);
    connect(&downloader, &Downloader::networkError, this, &DownloadManager::networkError);
}

void DownloadManager::startDownload(const QString& url)
{
    startDownload(QNetworkRequest(QUrl(url)));
}

void DownloadManager::startDownload(const QNetworkRequest& request)
{
    const QString line = QStringLiteral("DownloadManager::startDownload | ") + dmName +
                         QStringLiteral(" | ") + FileHost::loggable(request.url());
    if (!FileHost::isFetchable(request.url())) {
        L_WARN(line + QStringLiteral(" | refused: not an https address"));
        emit downloadError(request.url().toString());
        return;
    }
    if (request == currentRequest || queue.contains(request)) {
        L_DEBUG(line + QStringLiteral(" | already queued"));
        return;
    }
    L_DEBUG(line);
    queue.append(request);
    startNextDownload();
}

void DownloadManager::startNextDownload()
{
    if (!isIdle() || queue.isEmpty())
        return;
    currentRequest = queue.takeFirst();
    networkRetries = 0;
    if (!downloader.start(currentRequest)) {
        currentRequest = QNetworkRequest();
        startNextDownload();
    }
}

void DownloadManager::finished(const QString& url, const QString& contentDisposition,
                               const QByteArray& downloadData)
{
    if (url.isEmpty())
        return;
    currentRequest = QNetworkRequest();
    emit downloadFinished(url, contentDisposition, downloadData);
}

void DownloadManager::savedToFile(const QString& url, const QString& contentDisposition,
                                  const QString& filePath)
{
    if (url.isEmpty())
        return;
    currentRequest = QNetworkRequest();
    emit downloadSavedToFile(url, contentDisposition, filePath);
}

void DownloadManager::canceled(const QString& url)
{
    currentRequest = QNetworkRequest();
    emit downloadCanceled(url);
    startNextDownload();
}

void DownloadManager::networkError(const QString& url)
{
    const QString where = QStringLiteral("DownloadManager::networkError | ") + dmName +
                          QStringLiteral(" | ") + FileHost::loggable(QUrl(url));
    if (networkRetries < kNetworkRetries) {
        ++networkRetries;
        L_WARN(where + QStringLiteral(" | tried again in %1 ms").arg(retryMsecs));
        retryTimer.start(retryMsecs);
        return;
    }
    // A dead address never holds the queue: it fails and the next one starts.
    L_WARN(where + QStringLiteral(" | failed"));
    currentRequest = QNetworkRequest();
    networkRetries = 0;
    emit downloadError(url);
    startNextDownload();
}

void DownloadManager::retryCurrentRequest()
{
    L_DEBUG(QStringLiteral("DownloadManager::retryCurrentRequest | ") + dmName);
    if (!isIdle())
        downloader.start(currentRequest);
}

void DownloadManager::cancelDownload(const QString& url)
{
    if (!isIdle() && currentRequest.url().toString() == url) {
        retryTimer.stop();
        currentRequest = QNetworkRequest();
        downloader.cancel(true);
        startNextDownload();
        return;
    }
    for (int i = 0; i < queue.size(); ++i) {
        if (queue.at(i).url().toString() == url) {
            queue.removeAt(i);
            return;
        }
    }
}
