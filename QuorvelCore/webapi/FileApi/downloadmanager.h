#ifndef DOWNLOADMANAGER_H
#define DOWNLOADMANAGER_H

#include "foundation/quorvelcore_export.h"
#include "webapi/FileApi/downloader.h"

#include <QByteArray>
#include <QList>
#include <QNetworkRequest>
#include <QObject>
#include <QString>
#include <QTimer>

// A named first-in-first-out queue of downloads in front of one Downloader.
// Four process-wide instances keep kinds of traffic apart, so that a sticker
// never waits behind a large attachment. A request that is current or already
// queued is not queued again.
class QUORVELCORE_EXPORT DownloadManager : public QObject
{
    Q_OBJECT
public:
    static DownloadManager* getInstance();                 // "Main DM"
    static DownloadManager* getStickerInstance();          // "Sticker DM"
    static DownloadManager* getAvatarThumbnailInstance();  // "AvatarThumbnail DM"
    static DownloadManager* getMessageThumbnailInstance(); // "MessageThumbnail DM"
    // Deletes the "Main DM" instance only.
    static void deleteInstance();

    void startDownload(const QNetworkRequest& request);
    void startDownload(const QString& url);
    void cancelDownload(const QString& url);

    QString getDmName() const { return dmName; }
    void setDmName(const QString& value) { dmName = value; }
    QNetworkRequest getCurrentRequest() const { return currentRequest; }
    int queuedCount() const { return queue.size(); }

    // A request that failed at the network layer is tried again this many
    // times, a wait apart; then it is reported with downloadError.
    static const int kNetworkRetries = 2;
    // Wait before a request that failed at the network layer is tried again.
    static void setNetworkRetryInterval(int msecs);
    static int networkRetryInterval();

signals:
    void downloadProgress(const QString& url, qlonglong received, qlonglong total);
    void downloadFinished(const QString& url, const QString& contentDisposition,
                          const QByteArray& downloadData);
    // A download that was written to a file (see Downloader::savedToFile).
    void downloadSavedToFile(const QString& url, const QString& contentDisposition,
                             const QString& filePath);
    void downloadCanceled(const QString& url);
    // Refused (not an https address) or failed at the network layer after
    // its retries; the queue has moved on.
    void downloadError(const QString& url);
    void startCheckingConnectivity(const QString& hostName, qlonglong port);

private slots:
    void finished(const QString& url, const QString& contentDisposition,
                  const QByteArray& downloadData);
    void savedToFile(const QString& url, const QString& contentDisposition,
                     const QString& filePath);
    void canceled(const QString& url);
    void startNextDownload();
    void networkError(const QString& url);
    void retryCurrentRequest();

private:
    explicit DownloadManager(const QString& name, QObject* parent = nullptr);
    static DownloadManager* namedInstance(DownloadManager** slot, const char* name);
    bool isIdle() const { return currentRequest.url().isEmpty(); }

    Downloader downloader;
    QNetworkRequest currentRequest;
    QList<QNetworkRequest> queue;
    QTimer retryTimer;
    int networkRetries = 0;
    QString dmName;

    static int retryMsecs;
    static DownloadManager* mainInstance;
    static DownloadManager* stickerInstance;
    static DownloadManager* avatarThumbnailInstance;
    static DownloadManager* messageThumbnailInstance;
};

#endif // DOWNLOADMANAGER_H
