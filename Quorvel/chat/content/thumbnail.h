#ifndef THUMBNAIL_H
#define THUMBNAIL_H

#include "Managers/Sticker/stickerurl.h"
#include "model/filemessage.h"
#include "model/stickermessage.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QFutureWatcher>
#include <QImage>
#include <QPointer>
#include <QWidget>

class DownloadWatch;
class ProgressCircle;
class QLabel;
class QMovie;
class QVBoxLayout;
class StaticFile;
class TransparentFrame;

// The picture of an image, video, GIF or sticker message (and of a profile):
// a preview as soon as there is one, the full picture once downloaded, a
// transfer button over it and a short status text in its corner. Full
// pictures are decoded off the GUI thread at the size they are shown.
class Thumbnail : public QWidget
{
    Q_OBJECT
public:
    enum Kind
    {
        ProfileKind = 0,
        StickerKind = 2,
        FileKind = 3
    };
    static const QSize kPreviewBox;
    static const QSize kDefaultBox;
    static const QSize kStickerBox;

    Thumbnail(QWidget* parent, bool uploading);

    // The host a retried upload goes to: attachments or static files (a
    // channel's). Set before setFileMessage on a widget that uploads.
    void setUploadMode(UploadMode mode) { uploadMode = mode; }
    UploadMode getUploadMode() const { return uploadMode; }
    void setFileMessage(const FileMessage& message);
    void setStickerMessage(const StickerMessage& message);
    void setProfileImage(const QString& thumbnailUrl, const QString& imageUrl);
    void startAutoDownload();

    FileMessage getFileMessage() const { return fileMessage; }
    int getKind() const { return kind; }
    bool hasFullImage() const { return fullImage; }
    QString statusText() const;
    ProgressCircle* progressCircle() const { return progress; }
    QLabel* imageLabel() const { return image; }
    QMovie* movie() const { return gif; }
    StaticFile* downloader() const { return file; }
    // True while a full picture is being decoded.
    bool isDecoding() const;
    // A sticker that could not be resolved or downloaded shows a box saying so.
    bool showsStickerUnavailable() const;

signals:
    void clicked();
    void sendMessage(const FileMessage& fMsg);
    void setFilePath(const FileMessage& message);
    void showOnViewer(const QString& filepath);
    void resized(QWidget* thisWidget);
    void cancelUpload(const QString& filePath);
    void uploadFileMessage(const QString& filePath, UploadMode mode);
    // A full picture has been decoded and shown.
    void fullImageShown();

public slots:
    void profileThumbnailImageReady(const QImage& img);
    void profileImageReady(const QImage& img);
    void downloadFinishedThumbnail(const QImage& img);
    void downloadFinishedFile(const QByteArray& content);
    void downloadProgress(qlonglong downloaded, qlonglong total);
    void profileDownloadProgress(qlonglong downloaded, qlonglong total);
    void downloadFailed();
    void stickerUrlReady(const StickerUrl& url);
    void progressCircleStartDownload();
    void progressCircleCancelDownload();
    void progressCircleOpen();
    void stickerDownloadReady(const QImage& img);
    void _cancelUpload();
    void retryUpload();
    void uploadProgress(const QString& filePath, qlonglong size, qlonglong total);
    void uploadDone(const QString& filePath, const QString& fileId, const QString& fileURL,
                    const QString& thumbnailURL);
    void uploadFailed(const QString& filePath, int errorCode, const QString& errorMessage);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private slots:
    void decoded();
    // A sticker whose picture cannot be had: a box that says so.
    void showStickerUnavailable();
    void previewDecoded();

private:
    QString sizeText() const;
    QString videoStatusText() const;
    QString videoDoneText() const;
    void setStatus(const QString& text);
    void centreProgress();
    void showContent();
    void startDownloadingFileThumbnail();
    void startDownloadingFile();
    // True when the settings download this kind of file by themselves.
    bool downloadsBySetting() const;
    void reportProgress(qint64 done, qint64 total);
    void connectToUploadManager();
    void prepareUpload();
    void showScaled(const QImage& img, const QSize& fitInto);
    void setIdleText();
    bool isMine(const QString& filePath) const;
    QString openPath() const;

    QVBoxLayout* layout;
    QLabel* image;
    TransparentFrame* status;
    ProgressCircle* progress;
    StaticFile* file;
    DownloadWatch* watch;
    QMovie* gif = nullptr;
    FileMessage fileMessage;
    StickerMessage stickerMessage;
    int kind = FileKind;
    bool fullImage = false;
    bool uploading;
    bool cursorPushed = false;
    UploadMode uploadMode = UploadMode_File;
    QString thumbnailUrl;
    QString imageUrl;
    // Where the complete file is on this machine, once it is.
    QString localPath;
    QFutureWatcher<QImage> decoder;
    QFutureWatcher<QImage> previewDecoder;
};

#endif // THUMBNAIL_H
