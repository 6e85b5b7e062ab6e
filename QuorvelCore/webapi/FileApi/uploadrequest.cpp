#include "webapi/FileApi/uploadrequest.h"

UploadRequest::UploadRequest() : fileType(FileMessage::MsgFileType_None), mode(UploadMode_File) {}

UploadRequest::UploadRequest(const QString& path, UploadMode mode, FileMessage::MsgFileType type)
    : fileType(type), mode(mode), filePath(path)
{
    if (type == FileMessage::MsgFileType_Image || type == FileMessage::MsgFileType_Gif) {
        // A GIF is a picture too: its size and preview go with it.
        fileMessage.fromLocalImage(path);
        fileMessage.setFileType(type);
    } else if (type == FileMessage::MsgFileType_Other) {
        fileMessage.fromLocalFile(path);
    }
}

UploadRequest::UploadRequest(const UploadRequest& other)
    : fileType(FileMessage::MsgFileType_None), mode(UploadMode_File)
{
    fromUploadRequest(other);
}

UploadRequest& UploadRequest::operator=(const UploadRequest& other)
{
    if (this != &other)
        fromUploadRequest(other);
    return *this;
}

void UploadRequest::fromUploadRequest(const UploadRequest& other)
{
    mode = other.mode;
    filePath = other.filePath;
    fileType = other.fileType;
    setThumbnailPath(other.thumbnailPath);
    fileMessage = other.fileMessage;
}

void UploadRequest::clear()
{
    filePath.clear();
    thumbnailPath.clear();
    fileType = FileMessage::MsgFileType_None;
    fileMessage = FileMessage();
}

void UploadRequest::setThumbnailPath(const QString& path)
{
    thumbnailPath = path;
    fileMessage.setFileThumbnailUrl(path);
}
