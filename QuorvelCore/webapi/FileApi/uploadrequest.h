#ifndef UPLOADREQUEST_H
#define UPLOADREQUEST_H

#include "foundation/quorvelcore_export.h"
#include "model/filemessage.h"

#include <QMetaType>
#include <QString>

enum UploadMode
{
    UploadMode_File = 0,   // "upload_file": message attachments
    UploadMode_Static = 1, // "upload_static_file": avatars and other static files
};

// One queued upload: the local file, how it is uploaded, the thumbnail made
// for it and the message part that will carry it.
class QUORVELCORE_EXPORT UploadRequest
{
public:
    UploadRequest();
    UploadRequest(const QString& path, UploadMode mode, FileMessage::MsgFileType type);
    UploadRequest(const UploadRequest& other);
    UploadRequest& operator=(const UploadRequest& other);

    void fromUploadRequest(const UploadRequest& other);
    void clear();
    bool isEmpty() const { return filePath.isEmpty(); }

    FileMessage getFileMessage() const { return fileMessage; }
    FileMessage::MsgFileType getFileType() const { return fileType; }
    QString getFilePath() const { return filePath; }
    QString getThumbnailPath() const { return thumbnailPath; }
    UploadMode getMode() const { return mode; }

    void setFileMessage(const FileMessage& value) { fileMessage = value; }
    void setFileType(FileMessage::MsgFileType value) { fileType = value; }
    void setMode(UploadMode value) { mode = value; }
    // Also the thumbnail address of the file message.
    void setThumbnailPath(const QString& path);

private:
    FileMessage::MsgFileType fileType;
    UploadMode mode;
    QString filePath;
    QString thumbnailPath;
    FileMessage fileMessage;
};

Q_DECLARE_METATYPE(UploadRequest)

#endif // UPLOADREQUEST_H
