#ifndef DOWNLOADER_H
#define DOWNLOADER_H

#include "foundation/quorvelcore_export.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QTemporaryFile;

// One HTTP GET at a time, with a stall timer, up to five restarts a short
// while apart, and at the end exactly one of finished / savedToFile,
// canceled or networkError. Only a complete 2xx answer counts as finished:
// error statuses and broken transfers never reach the listeners as content.
//
// A request that carries SpoolFolderAttribute (a folder path) is written to a
// hidden file in that folder as it arrives instead of being kept in memory;
// savedToFile names that file, which exists until the signal returns.
class QUORVELCORE_EXPORT Downloader : public QObject
{
    Q_OBJECT
public:
    static const QNetworkRequest::Attribute SpoolFolderAttribute =
        QNetworkRequest::Attribute(QNetworkRequest::User + 1);

    explicit Downloader(QObject* parent = nullptr);
    ~Downloader() override;

    bool start(const QNetworkRequest& request);
    void cancel(bool emitCanceled);
    QString getUrl() const;

    // Timings shared by every downloader; tests shorten them.
    static void setStallTimeout(int msecs);
    static int stallTimeout();
    static void setRetryInterval(int msecs);
    static int retryInterval();

    static const int kMaxRestarts = 5;

signals:
    void progress(const QString& url, qlonglong received, qlonglong total);
    void finished(const QString& url, const QString& contentDisposition,
                  const QByteArray& downloadData);
    void savedToFile(const QString& url, const QString& contentDisposition,
                     const QString& filePath);
    void canceled(const QString& url);
    void readyForNextDownload();
    void networkError(const QString& url);

private slots:
    void downloadProgress(qint64 received, qint64 total);
    void readyRead();
    void downloadFinished();
    void error(QNetworkReply::NetworkError code);
    void retryTimeout();
    void downloadTimeout();
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors);

private:
    void startTransfer();
    void releaseTransfer();
    void cleanUp();
    bool isCurrentReply() const;
    QString logUrl() const;

    QNetworkAccessManager* manager = nullptr;
    QPointer<QNetworkReply> reply;
    QNetworkRequest request;
    QTemporaryFile* spool = nullptr;
    bool spoolFailed = false;
    int tries = 0;
    QTimer retryTimer;
    QTimer stallTimer;

    static int stallMsecs;
    static int retryMsecs;
};

#endif // DOWNLOADER_H
