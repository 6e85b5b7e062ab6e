#ifndef OTHERFILEWIDGET_H
#define OTHERFILEWIDGET_H

#include "model/filemessage.h"
#include "model/locationmessage.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QUrl>
#include <QWidget>

class DownloadWatch;
class ProgressCircle;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class StaticFile;

// A generic file or a location in a message: the transfer button, the file's
// name and size (or the location's coordinates). Downloads into the downloads
// folder, opens with the desktop, follows and retries its own upload.
class OtherFileWidget : public QWidget
{
    Q_OBJECT
public:
    // Width the file name is shortened to: content width less button and margins.
    static const int kNameWidth = 235;
    static const char* const kMapHost;

    OtherFileWidget(QWidget* parent, bool uploading);

    // The host a retried upload goes to. Set before setFileMessage.
    void setUploadMode(UploadMode mode) { uploadMode = mode; }
    UploadMode getUploadMode() const { return uploadMode; }
    void setFileMessage(const FileMessage& message, bool byMe);
    void setLocationMessage(const LocationMessage& location, bool byMe);
    void startAutoDownload();

    // The web map address of a point; an empty URL for coordinates that are
    // not on the globe.
    static QUrl mapUrl(double latitude, double longitude);
    static bool isOnGlobe(double latitude, double longitude);

    FileMessage getFileMessage() const { return fileMessage; }
    ProgressCircle* progressCircle() const { return progress; }
    QLabel* nameLabel() const { return name; }
    QLabel* sizeLabel() const { return size; }
    StaticFile* downloader() const { return file; }

signals:
    void sendMessage(const FileMessage& fMessage);
    void setFilePath(const FileMessage& fMessage);
    void cancelUpload(const QString& filePath);
    void uploadError(int errorCode);

public slots:
    void startDownload();
    void cancelDownload();
    void _cancelUpload();
    void open();
    void downloadProgress(qlonglong downloaded, qlonglong total);
    void fileContentReady(const QByteArray& fileContent);
    void downloadFailed();
    void openLocation();
    void retryUpload();
    void uploadProgress(const QString& filePath, qlonglong uploaded, qlonglong total);
    void uploadFinished(const QString& filePath, const QString& fileId, const QString& fileURL,
                        const QString& thumbnailURL);
    void uploadFailed(const QString& filePath, int errorCode, const QString& errorMessage);

private:
    void setSide(bool byMe);
    void reportProgress(qint64 done, qint64 total);
    void connectToUploadManager();
    void disconnectFromUploadManager();
    void prepareUpload();
    bool isMine(const QString& filePath) const;

    QHBoxLayout* outer;
    QVBoxLayout* texts;
    ProgressCircle* progress;
    QLabel* name;
    QLabel* size;
    FileMessage fileMessage;
    LocationMessage location;
    StaticFile* file;
    DownloadWatch* watch;
    bool uploading;
    UploadMode uploadMode = UploadMode_File;
};

#endif // OTHERFILEWIDGET_H
