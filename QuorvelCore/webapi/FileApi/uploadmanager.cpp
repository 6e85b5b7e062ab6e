#include "webapi/FileApi/uploadmanager.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/FileApi/localfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

UploadManager* UploadManager::instance = nullptr;

UploadManager* UploadManager::getInstance()
{
    if (!instance)
        instance = new UploadManager();
    return instance;
}

void UploadManager::deleteInstance()
{
    delete instance;
    instance = nullptr;
}

UploadManager::UploadManager(QObject* parent) : QObject(parent), worker(new UploadFile(this))
{
    connect(worker, &UploadFile::UploadDone, this, &UploadManager::uploadFinished);
    connect(worker, &UploadFile::UploadFailed, this, &UploadManager::uploadFailedSlot);
    connect(worker, &UploadFile::UploadProgress, this, &UploadManager::uploadProgress);
}

UploadManager::~UploadManager()
{
    delete thumbnails;
}

const QMap<QString, FileMessage::MsgFileType>& UploadManager::getMimeToFileMessageTypeMap()
{
    static const QMap<QString, FileMessage::MsgFileType> map = {
        {QStringLiteral("image/jpeg"), FileMessage::MsgFileType_Image},
        {QStringLiteral("image/jp2"), FileMessage::MsgFileType_Image},
        {QStringLiteral("image/png"), FileMessage::MsgFileType_Image},
        {QStringLiteral("image/gif"), FileMessage::MsgFileType_Gif},
        {QStringLiteral("video/mp4"), FileMessage::MsgFileType_Other},
        {QStringLiteral("video/x-flv"), FileMessage::MsgFileType_Other},
        {QStringLiteral("video/3gpp"), FileMessage::MsgFileType_Other},
        {QStringLiteral("video/3gpp2"), FileMessage::MsgFileType_Other},
        {QStringLiteral("video/avi"), FileMessage::MsgFileType_Other},
        {QStringLiteral("audio/AMR"), FileMessage::MsgFileType_Other},
        {QStringLiteral("audio/ogg"), FileMessage::MsgFileType_Other},
        {QStringLiteral("audio/x-wav"), FileMessage::MsgFileType_Other},
        {QStringLiteral("audio/mpeg"), FileMessage::MsgFileType_Other},
    };
    return map;
}

const QStringList& UploadManager::getIllegalSuffixes()
{
    static const QStringList suffixes;
    return suffixes;
}

bool UploadManager::isIllegalType(const QString& filePath)
{
    const QString name = QFileInfo(filePath).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot >= 0 ? name.mid(dot + 1) : QString();
    return getIllegalSuffixes().contains(suffix, Qt::CaseSensitive);
}

FileMessage::MsgFileType UploadManager::getFileType(const QString& filePath) const
{
    if (isIllegalType(filePath))
        return FileMessage::MsgFileType_None;
    const QString mimeName = mimeDatabase.mimeTypeForFile(filePath).name();
    return getMimeToFileMessageTypeMap().value(mimeName, FileMessage::MsgFileType_Other);
}

UploadRequest UploadManager::uploadFileMessage(const QString& filePath, UploadMode mode)
{
    L_DEBUG(QStringLiteral("UploadManager::uploadFileMessage | ") + QFileInfo(filePath).fileName());
    const FileMessage::MsgFileType type = getFileType(filePath);
    if (type == FileMessage::MsgFileType_None || type == FileMessage::MsgFileType_Video) {
        emit showToastMessage(QStringLiteral("_uploadFileTypeNotSupported"));
        return UploadRequest();
    }
    // A picture that does not decode would reach the peer as a picture
    // nobody can see: refused here, before anything is queued.
    if (type == FileMessage::MsgFileType_Image && !QImageReader(filePath).canRead()) {
        L_WARN(QStringLiteral("UploadManager::uploadFileMessage | not a readable picture: ") +
               QFileInfo(filePath).fileName());
        emit showToastMessage(QStringLiteral("_pictureNotReadable"));
        return UploadRequest();
    }
    UploadRequest request(filePath, mode, type);
    if (type == FileMessage::MsgFileType_Image || type == FileMessage::MsgFileType_Gif)
        request.setThumbnailPath(createImageThumbnail(filePath));
    queue.append(request);
    startNextUpload();
    return request;
}

UploadRequest UploadManager::uploadFile(const QString& filePath, UploadMode mode)
{
    return uploadFileMessage(filePath, mode);
}

QList<UploadRequest> UploadManager::uploadFileMessages(const QStringList& filePaths,
                                                       UploadMode mode)
{
    QList<UploadRequest> requests;
    for (const QString& path : filePaths) {
        const UploadRequest request = uploadFileMessage(path, mode);
        if (!request.isEmpty())
            requests.append(request);
    }
    return requests;
}

QString UploadManager::thumbnailFolder()
{
    if (!thumbnails) {
        // QTemporaryDir makes a folder only this user can enter, under a fresh
        // random name.
        thumbnails =
            new QTemporaryDir(QDir::tempPath() + QStringLiteral("/quorvel-thumbnails-XXXXXX"));
        if (!thumbnails->isValid())
            L_ERROR(QStringLiteral("UploadManager::thumbnailFolder | ") +
                    thumbnails->errorString());
    }
    return thumbnails->isValid() ? thumbnails->path() : QString();
}

QString UploadManager::createImageThumbnail(const QString& filePath)
{
    QImageReader reader(filePath);
    const QImage image = reader.read();
    if (image.isNull()) {
        L_WARN(QStringLiteral("UploadManager::createImageThumbnail | cannot read ") + filePath);
        return QString();
    }
    const QString folder = thumbnailFolder();
    if (folder.isEmpty())
        return QString();
    QString name = QStringLiteral("thumbnail_") + QFileInfo(filePath).fileName();
    // A picture whose name gives no format Qt can write (a GIF, a name
    // without an extension) gets a PNG preview.
    const bool writable = QImageWriter::supportedImageFormats().contains(
        QFileInfo(filePath).suffix().toLower().toLatin1());
    if (!writable)
        name += QStringLiteral(".png");
    const QString path = LocalFiles::uniquePath(folder, name);
    const QImage thumbnail = image.scaled(256, 256, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!thumbnail.save(path, writable ? nullptr : "PNG")) {
        L_WARN(QStringLiteral("UploadManager::createImageThumbnail | cannot write ") + path);
        return QString();
    }
    return path;
}

void UploadManager::startNextUpload()
{
    if (!currentRequest.isEmpty() || queue.isEmpty())
        return;
    currentRequest = queue.takeFirst();
    worker->upload(currentRequest);
}

void UploadManager::uploadFinished(const QString& filePath, const QString& fileId,
                                   const QString& fileUrl, const QString& thumbnailUrl)
{
    emit uploadDone(filePath, fileId, fileUrl, thumbnailUrl);
    currentRequest.clear();
    startNextUpload();
}

void UploadManager::uploadFailedSlot(const QString& filePath, int errorCode,
                                     const QString& errorMessage)
{
    emit uploadFailed(filePath, errorCode, errorMessage);
    emit showToastMessage(errorMessage);
    currentRequest.clear();
    startNextUpload();
}

void UploadManager::cancelUpload(const QString& filePath)
{
    if (!currentRequest.isEmpty() && currentRequest.getFilePath() == filePath) {
        worker->cancelUpload(currentRequest);
        currentRequest.clear();
        startNextUpload();
        return;
    }
    for (int i = 0; i < queue.size(); ++i) {
        if (queue.at(i).getFilePath() == filePath) {
            queue.removeAt(i);
            return;
        }
    }
}
