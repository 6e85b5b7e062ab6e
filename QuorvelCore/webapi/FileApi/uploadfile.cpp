#include "webapi/FileApi/uploadfile.h"

#include "foundation/simpleqtlogger.h"
#include "model/globalconstants.h"
#include "webapi/FileApi/filehost.h"
#include "webapi/GeneralApi/logredactor.h"
#include "webapi/GeneralApi/packetgenerator.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHttpMultiPart>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const int kUploadErrorCode = 110;

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

struct FileDigest
{
    bool read = false;
    QString sha1;
    qint64 size = 0;
};

} // namespace

UploadFile::UploadFile(QObject* parent) : QObject(parent) {}

UploadFile::~UploadFile()
{
    releaseNetwork();
}

QUrl UploadFile::uploadUrl(UploadMode mode)
{
    switch (mode) {
    case UploadMode_File:
        return FileHost::url(QStringLiteral("upload_file"));
    case UploadMode_Static:
        return FileHost::url(QStringLiteral("upload_static_file"));
    }
    return QUrl();
}

QByteArray UploadFile::quotedFileName(const QString& path)
{
    QByteArray name = QFileInfo(path).fileName().toUtf8();
    name.replace('"', "%22");
    name.replace('\r', "%0D");
    name.replace('\n', "%0A");
    return '"' + name + '"';
}

bool UploadFile::fileSha1(const QString& path, QString* hash, qint64* size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash digest(QCryptographicHash::Sha1);
    if (!digest.addData(&file) || file.error() != QFileDevice::NoError)
        return false;
    *hash = QString::fromLatin1(digest.result().toHex());
    *size = file.size();
    return true;
}

QJsonObject UploadFile::signedObject(const QJsonObject& extra)
{
    const QString userName = GlobalConstants::getUserName();
    const QString hashMethod = GlobalConstants::getHashMethod();
    QJsonObject object = extra;
    object.insert(QStringLiteral("RequestId"), PacketGenerator::generateRequestID(userName));
    object.insert(QStringLiteral("Username"), userName);
    object.insert(QStringLiteral("HashMethod"), hashMethod);
    object.insert(QStringLiteral("AuthValue"), QString());
    object.insert(QStringLiteral("AuthValue"),
                  PacketGenerator::getAuthValue(object, GlobalConstants::getToken(), hashMethod));
    return object;
}

void UploadFile::upload(const QString& filePath, UploadMode mode, const QString& thumbnailPath)
{
    UploadRequest request(filePath, mode, FileMessage::MsgFileType_None);
    request.setThumbnailPath(thumbnailPath);
    upload(request);
}

void UploadFile::upload(const UploadRequest& request)
{
    releaseNetwork();
    ++generation;
    currentRequest = request;
    startExistenceCheck();
}

void UploadFile::startExistenceCheck()
{
    // Reading a large file takes seconds: it is hashed on a pool thread and
    // the digest comes back to this object's thread. A cancel or a newer
    // request in the meantime drops it.
    const QString path = currentRequest.getFilePath();
    const quint64 hashing = generation;
    auto* watcher = new QFutureWatcher<FileDigest>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, hashing, path]() {
        const FileDigest digest = watcher->result();
        watcher->deleteLater();
        if (hashing != generation || currentRequest.isEmpty())
            return;
        if (!digest.read) {
            L_ERROR(QStringLiteral("UploadFile::upload | cannot read ") + path);
            uploadError(path, kUploadErrorCode, QStringLiteral("_uploadFailed"));
            return;
        }
        sendExistenceCheck(path, digest.sha1, digest.size);
    });
    watcher->setFuture(QtConcurrent::run([path]() {
        FileDigest digest;
        digest.read = fileSha1(path, &digest.sha1, &digest.size);
        return digest;
    }));
}

void UploadFile::sendExistenceCheck(const QString& path, const QString& hash, qint64 size)
{
    QJsonObject fields;
    fields.insert(QStringLiteral("FileHash"), hash);
    fields.insert(QStringLiteral("FileSize"), QString::number(size));
    fields.insert(QStringLiteral("FileName"), QFileInfo(path).fileName());
    const QByteArray body = QJsonDocument(signedObject(fields)).toJson(QJsonDocument::Compact);

    QNetworkRequest request = FileHost::request(FileHost::url(QStringLiteral("file_exists/")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("JSON"));

    existManager = new QNetworkAccessManager(this);
    connect(existManager, &QNetworkAccessManager::finished, this, &UploadFile::existFinished);
    connect(existManager, &QNetworkAccessManager::sslErrors, this, &UploadFile::sslErrors);
    existReply = existManager->post(request, body);
    connect(existReply.data(), &QNetworkReply::errorOccurred, this,
            &UploadFile::onExistNetworkError);
}

void UploadFile::existFinished(QNetworkReply* reply)
{
    if (currentRequest.isEmpty() || reply != existReply)
        return;
    const QByteArray body = reply->readAll();
    L_DEBUG(QStringLiteral("UploadFile::existFinished | ") + LogRedactor::redactBody(body));

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        uploadError(currentRequest.getFilePath(), kUploadErrorCode,
                    QStringLiteral("_uploadFailed"));
        return;
    }
    const QJsonObject object = document.object();
    const int resultCode = object.value(QStringLiteral("ResultCode")).toInt(0);
    if (resultCode != 200) {
        uploadError(currentRequest.getFilePath(), resultCode, text(object, "ResultMessage"));
        return;
    }
    if (text(object, "State") == QLatin1String("exists")) {
        uploadSuccess(text(object, "FileId"), text(object, "FileURL"),
                      text(object, "ThumbnailURL"));
        return;
    }
    startUpload(currentRequest);
}

void UploadFile::onExistNetworkError(QNetworkReply::NetworkError code)
{
    if (currentRequest.isEmpty() || sender() != existReply)
        return;
    L_ERROR(QStringLiteral("UploadFile::onExistNetworkError | %1 ").arg(int(code)) +
            existReply->errorString());
    uploadError(currentRequest.getFilePath(), kUploadErrorCode,
                QStringLiteral("_uploadNetworkError"));
}

QHttpMultiPart* UploadFile::buildMultiPart(const UploadRequest& request)
{
    auto* multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);

    QHttpPart dataPart;
    dataPart.setRawHeader("Content-Disposition", "form-data; name=\"Data\" ");
    dataPart.setBody(QJsonDocument(signedObject(QJsonObject())).toJson(QJsonDocument::Compact));
    multiPart->append(dataPart);

    struct FilePart
    {
        const char* name;
        QString path;
    };
    const FilePart fileParts[] = {{"File", request.getFilePath()},
                                  {"Thumbnail", request.getThumbnailPath()}};
    for (const FilePart& filePart : fileParts) {
        if (filePart.path.isEmpty())
            continue;
        auto* file = new QFile(filePart.path, multiPart);
        if (!file->open(QIODevice::ReadOnly)) {
            L_ERROR(QStringLiteral("UploadFile::startUpload | cannot open ") + filePart.path);
            delete multiPart;
            return nullptr;
        }
        QHttpPart part;
        part.setRawHeader("Content-Disposition",
                          QByteArray("form-data; name=\"") + filePart.name +
                              "\"; filename=" + quotedFileName(filePart.path));
        part.setBodyDevice(file);
        multiPart->append(part);
    }
    return multiPart;
}

void UploadFile::startUpload(const UploadRequest& request)
{
    QHttpMultiPart* multiPart = buildMultiPart(request);
    if (!multiPart) {
        uploadError(request.getFilePath(), kUploadErrorCode, QStringLiteral("_uploadFailed"));
        return;
    }
    const QNetworkRequest networkRequest = FileHost::request(uploadUrl(request.getMode()));

    if (uploadReply) {
        uploadReply->disconnect(this);
        if (uploadReply->isRunning() && uploadReply->error() == QNetworkReply::NoError)
            uploadReply->abort();
        uploadReply->deleteLater();
    }
    if (uploadManager)
        uploadManager->deleteLater();
    uploadManager = new QNetworkAccessManager(this);
    connect(uploadManager, &QNetworkAccessManager::sslErrors, this, &UploadFile::sslErrors);
    uploadReply = uploadManager->post(networkRequest, multiPart);
    multiPart->setParent(uploadReply);
    connect(uploadReply.data(), &QNetworkReply::finished, this, &UploadFile::onGetReplyUpload);
    connect(uploadReply.data(), &QNetworkReply::errorOccurred, this, &UploadFile::onNetworkError);
    connect(uploadReply.data(), &QNetworkReply::uploadProgress, this, &UploadFile::progressChanged);
}

void UploadFile::onGetReplyUpload()
{
    if (currentRequest.isEmpty())
        return;
    if (!uploadReply) {
        uploadError(currentRequest.getFilePath(), kUploadErrorCode,
                    QStringLiteral("_uploadInternalError"));
        return;
    }
    QNetworkReply* reply = uploadReply.data();
    if (sender() != reply)
        return;
    if (reply->bytesAvailable() <= 0) {
        uploadError(currentRequest.getFilePath(), kUploadErrorCode,
                    QStringLiteral("_uploadFailed"));
        return;
    }
    const QJsonObject object = QJsonDocument::fromJson(reply->readAll()).object();
    const int resultCode = object.value(QStringLiteral("ResultCode")).toInt(0);
    const QString fileId = text(object, "FileId");
    const QString fileUrl = text(object, "FileURL");
    const QString thumbnailUrl = text(object, "ThumbnailURL");
    if (resultCode == 200 && !fileUrl.isEmpty()) {
        L_DEBUG(QStringLiteral("UploadFile::onGetReplyUpload | id ") + fileId);
        uploadSuccess(fileId, fileUrl, thumbnailUrl);
    } else {
        uploadError(currentRequest.getFilePath(), resultCode, text(object, "ResultMessage"));
    }
}

void UploadFile::onNetworkError(QNetworkReply::NetworkError code)
{
    if (currentRequest.isEmpty() || sender() != uploadReply)
        return;
    L_ERROR(QStringLiteral("UploadFile::onNetworkError NETWORK ERROR %1 ").arg(int(code)) +
            uploadReply->errorString());
    uploadError(currentRequest.getFilePath(), kUploadErrorCode,
                QStringLiteral("_uploadNetworkError"));
}

void UploadFile::progressChanged(qlonglong sent, qlonglong total)
{
    L_DEBUG(QStringLiteral("UploadFile::progressChanged | %1/%2").arg(sent).arg(total));
    if (sent > 0 && total > 0 && !currentRequest.isEmpty())
        emit UploadProgress(currentRequest.getFilePath(), sent, total);
}

void UploadFile::sslErrors(QNetworkReply* reply, const QList<QSslError>& errors)
{
    FileHost::logSslErrors(QStringLiteral("UploadFile::sslErrors"), reply, errors);
}

void UploadFile::cancelUpload(const UploadRequest& request)
{
    currentRequest.clear();
    ++generation;
    releaseNetwork();
    emit uploadCanceled(request.getFilePath());
}

void UploadFile::uploadSuccess(const QString& fileId, const QString& fileUrl,
                               const QString& thumbnailUrl)
{
    const QString path = currentRequest.getFilePath();
    currentRequest.clear();
    emit UploadDone(path, fileId, fileUrl, thumbnailUrl);
}

void UploadFile::uploadError(const QString& filePath, int code, const QString& message)
{
    currentRequest.clear();
    lastError = message;
    L_ERROR(QStringLiteral("UploadFile::uploadError | ") + message);
    emit UploadFailed(filePath, code, message);
}

void UploadFile::releaseNetwork()
{
    for (QPointer<QNetworkReply>* reply : {&existReply, &uploadReply}) {
        if (*reply) {
            (*reply)->disconnect(this);
            if ((*reply)->isRunning() && (*reply)->error() == QNetworkReply::NoError)
                (*reply)->abort();
            (*reply)->deleteLater();
        }
        *reply = nullptr;
    }
    for (QNetworkAccessManager** manager : {&existManager, &uploadManager}) {
        if (*manager) {
            (*manager)->disconnect(this);
            (*manager)->deleteLater();
        }
        *manager = nullptr;
    }
}
