#ifndef UPLOADFILE_H
#define UPLOADFILE_H

#include "foundation/quorvelcore_export.h"
#include "webapi/FileApi/uploadrequest.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QString>

class QHttpMultiPart;
class QNetworkAccessManager;

// Uploads one file at a time to the file host: first asks whether the host
// already keeps a file with the same SHA-1 ("file_exists/"), and only when it
// does not, posts the file as a multipart form ("upload_file" or
// "upload_static_file"). Ends every request with exactly one UploadDone,
// UploadFailed or (on cancel) uploadCanceled.
class QUORVELCORE_EXPORT UploadFile : public QObject
{
    Q_OBJECT
public:
    explicit UploadFile(QObject* parent = nullptr);
    ~UploadFile() override;

    void upload(const UploadRequest& request);
    void upload(const QString& filePath, UploadMode mode, const QString& thumbnailPath);
    void cancelUpload(const UploadRequest& request);

    // The address of a mode's upload path; empty for an unknown mode.
    static QUrl uploadUrl(UploadMode mode);
    // The text that follows filename= in a part header: the file's name
    // without its folder, in double quotes, with '"', CR and LF
    // percent-encoded as browsers send them.
    static QByteArray quotedFileName(const QString& path);
    // Lower-case hex SHA-1 of the file, read in blocks; false when the file
    // cannot be opened or read.
    static bool fileSha1(const QString& path, QString* hash, qint64* size);
    // The JSON object with "RequestId", "Username", "HashMethod", the given
    // extra fields and "AuthValue" signed over the rest.
    static QJsonObject signedObject(const QJsonObject& extra);

    QString getLastError() const { return lastError; }

signals:
    void UploadFailed(const QString& filePath, int ErrorCode, const QString& ErrorMessage);
    void UploadDone(const QString& filePath, const QString& fileId, const QString& fileURL,
                    const QString& thumbnailURL);
    void UploadProgress(const QString& filePath, qlonglong size, qlonglong total);
    void uploadCanceled(const QString& filePath);

private slots:
    void existFinished(QNetworkReply* reply);
    void onExistNetworkError(QNetworkReply::NetworkError code);
    void onGetReplyUpload();
    void onNetworkError(QNetworkReply::NetworkError code);
    void progressChanged(qlonglong sent, qlonglong total);
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors);

private:
    void startExistenceCheck();
    void sendExistenceCheck(const QString& path, const QString& hash, qint64 size);
    void startUpload(const UploadRequest& request);
    QHttpMultiPart* buildMultiPart(const UploadRequest& request);
    void uploadSuccess(const QString& fileId, const QString& fileUrl, const QString& thumbnailUrl);
    void uploadError(const QString& filePath, int code, const QString& message);
    void releaseNetwork();

    UploadRequest currentRequest;
    quint64 generation = 0;
    QNetworkAccessManager* existManager = nullptr;
    QNetworkAccessManager* uploadManager = nullptr;
    QPointer<QNetworkReply> existReply;
    QPointer<QNetworkReply> uploadReply;
    QString lastError;
};

#endif // UPLOADFILE_H
