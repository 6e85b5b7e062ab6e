#ifndef UPLOADMANAGER_H
#define UPLOADMANAGER_H

#include "foundation/quorvelcore_export.h"
#include "webapi/FileApi/uploadfile.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QList>
#include <QMap>
#include <QMimeDatabase>
#include <QObject>
#include <QString>
#include <QStringList>

class QTemporaryDir;

// The GUI's entry to uploads: classifies each file by its MIME type, makes a
// thumbnail for pictures and uploads the queued files one after another
// through its UploadFile worker. A process-wide singleton living on the GUI
// thread.
class QUORVELCORE_EXPORT UploadManager : public QObject
{
    Q_OBJECT
public:
    static UploadManager* getInstance();
    static void deleteInstance();

    UploadRequest uploadFileMessage(const QString& filePath, UploadMode mode = UploadMode_File);
    UploadRequest uploadFile(const QString& filePath, UploadMode mode = UploadMode_Static);
    QList<UploadRequest> uploadFileMessages(const QStringList& filePaths,
                                            UploadMode mode = UploadMode_File);
    void cancelUpload(const QString& filePath);

    static const QMap<QString, FileMessage::MsgFileType>& getMimeToFileMessageTypeMap();
    static const QStringList& getIllegalSuffixes();
    static bool isIllegalType(const QString& filePath);
    FileMessage::MsgFileType getFileType(const QString& filePath) const;

    // A copy of the picture scaled to fit 256 x 256, saved as "thumbnail_" and
    // the source's file name in the manager's private temporary folder (a
    // number is added when that name is taken; ".png" when Qt cannot write
    // the source's format, as for a GIF). Empty when the picture cannot be
    // read or the thumbnail cannot be written. Pictures and GIFs get one.
    QString createImageThumbnail(const QString& filePath);
    QString thumbnailFolder();

    UploadRequest getCurrentRequest() const { return currentRequest; }
    int queuedCount() const { return queue.size(); }

public slots:
    void uploadFinished(const QString& filePath, const QString& fileId, const QString& fileUrl,
                        const QString& thumbnailUrl);
    void uploadFailedSlot(const QString& filePath, int errorCode, const QString& errorMessage);

signals:
    void uploadProgress(const QString& filePath, qlonglong uploaded, qlonglong total);
    void uploadFailed(const QString& filePath, int ErrorCode, const QString& errorMessage);
    void uploadDone(const QString& filePath, const QString& fileId, const QString& fileURL,
                    const QString& thumbnailURL);
    void uploadCanceled(const QString& filePath);
    void showToastMessage(const QString& msg);

private:
    explicit UploadManager(QObject* parent = nullptr);
    ~UploadManager() override;
    void startNextUpload();

    UploadFile* worker;
    QMimeDatabase mimeDatabase;
    QList<UploadRequest> queue;
    UploadRequest currentRequest;
    QTemporaryDir* thumbnails = nullptr;

    static UploadManager* instance;
};

#endif // UPLOADMANAGER_H
