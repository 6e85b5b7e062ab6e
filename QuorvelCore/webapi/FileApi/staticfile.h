#ifndef STATICFILE_H
#define STATICFILE_H

#include "foundation/quorvelcore_export.h"
#include "model/filemessage.h"

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

class DownloadManager;

// One file that the GUI wants to show: finds its place in the local download
// folders, serves it from disk when it is there, or downloads it through the
// download queue of its kind, keeps it (mode 1) and hands it over as bytes or
// as an image. Also holds the folder and file-name rules shared by the GUI.
class QUORVELCORE_EXPORT StaticFile : public QObject
{
    Q_OBJECT
public:
    enum StoragePath
    {
        Downloads = 0,
        AvatarThumbnails = 1,
        Stickers = 2,
        MessageThumbnails = 3,
        PushToTalk = 4,
        Others = 5
    };
    Q_ENUM(StoragePath)

    // Only 1 has a meaning of its own: use the local copy when there is one
    // and keep what is downloaded. Any other value always downloads and keeps
    // nothing.
    enum StaticFileMode
    {
        DownloadOnly = 0,
        LocalFirst = 1
    };
    Q_ENUM(StaticFileMode)

    explicit StaticFile(QObject* parent = nullptr);

    bool setUrl(const QString& url, StaticFileMode mode, StoragePath path, bool isImage);
    bool setUrlAndID(const QString& url, const QString& id, StaticFileMode mode, StoragePath path,
                     bool isImage);
    bool setFileMessage(const FileMessage& message, StaticFileMode mode, StoragePath path,
                        bool isImage);
    void cancelDownload();

    bool isFileDownloaded(const FileMessage& message, StoragePath path) const;
    bool isThumbnailDownloaded(const FileMessage& message) const;
    bool fileExists(const QString& url, const QString& id, StoragePath path) const;

    static QDir getDownloadDir(StoragePath path);
    static QString generateFileName(const FileMessage& message, StoragePath path);
    static QString generateFileName(const QString& url, const QString& id, StoragePath path);
    static QString generateDownloadedFileName(const FileMessage& message, StoragePath path);
    static QString getFileLocalName(const QString& name, StoragePath path);
    static QString getFileName(const QString& url);
    static QString extractFileExtention(const QString& name);
    static QPixmap blurPixmap(const QPixmap& pixmap);
    static QImage blurImage(const QImage& image, int radius = 12);
    // The file name a Content-Disposition value gives; empty when it has none.
    static QString contentDispositionFileName(const QString& contentDisposition);
    static DownloadManager* managerFor(StoragePath path);

    bool getIsImage() const { return isImage; }
    void setIsImage(bool value) { isImage = value; }
    // Where the file is (or will be) kept on this machine.
    QString getFileUrl() const { return fileUrl; }
    // The address the file is fetched from.
    QString getUrl() const { return url; }
    FileMessage getFileMessage() const { return fileMessage; }
    StoragePath getStoragePath() const { return storagePath; }
    // True from the start of a download until it ends, however it ends.
    bool isDownloading() const { return !manager.isNull(); }

signals:
    void downloadingProgress(qlonglong downloaded, qlonglong total);
    void downloadError(const QString& Error);
    void downloadCanceled();
    void fileContentReady(const QByteArray& array);
    void imageReady(const QImage& image);

private slots:
    void finished(const QString& url, const QString& contentDisposition,
                  const QByteArray& downloadData);
    void savedToFile(const QString& url, const QString& contentDisposition,
                     const QString& filePath);
    void canceled(const QString& url);
    void failed(const QString& url);
    void progress(const QString& url, qlonglong received, qlonglong total);
    void imageRead(const QString& path, const QByteArray& content);
    void fileRead(const QString& path, const QByteArray& content);

private:
    static QDir cdIntoDir(QDir dir, const QString& name);
    static bool imageFlagFor(StoragePath path, bool given);
    void setFileUrl(const QString& path);
    void readFileContent(const QString& path);
    bool load(const QString& url, const QString& id, StaticFileMode mode, StoragePath path,
              bool isImage, bool staticForm);
    bool expectsFile() const;
    bool startStaticFileDownload(const QString& baseUrl);
    void startDownload(const QString& requestUrl, bool withUserAgent);
    void applyContentDisposition(const QString& contentDisposition);
    bool keepFile(const QByteArray* data, const QString& spoolPath);
    void deliver(const QByteArray& data);
    void stopListening();

    StaticFileMode mode = DownloadOnly;
    StoragePath storagePath = Downloads;
    QString fileUrl;
    QString url;
    bool isImage = false;
    // A name made for this download (not a cache name): when it is taken by
    // the time the file arrives, a free one is chosen.
    bool freshName = false;
    FileMessage fileMessage;
    // The remote address of the message's file (or preview) being fetched.
    QString source;
    // The queue of the download under way; null when none is.
    QPointer<DownloadManager> manager;
};

#endif // STATICFILE_H
