#include "model/filemessage.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"
#include "model/messagekeys.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <limits>

using namespace MessageKeys;

namespace {
// Reads an integer key given as number or decimal text; logs a value that is
// neither and gives 0 for it.
qint64 readCount(const QJsonObject& object, QLatin1String key)
{
    bool ok = false;
    const QJsonValue value = object.value(key);
    const qint64 number = JsonNumbers::toInt64(value, 0, &ok);
    if (!ok)
        L_WARN(QStringLiteral("FileMessage::setDataFromJson | unreadable %1: %2")
                   .arg(key, JsonNumbers::describe(value)));
    return number;
}

int readInt(const QJsonObject& object, QLatin1String key)
{
    const qint64 number = readCount(object, key);
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        L_WARN(QStringLiteral("FileMessage::setDataFromJson | %1 out of range").arg(key));
        return 0;
    }
    return static_cast<int>(number);
}
} // namespace

FileMessage::FileMessage()
    : fileSize(0), fileHasThumbnail(false), fileType(MsgFileType_None), fileTypeVideoDuration(0),
      pushToTalkDuration(0)
{
}

FileMessage::FileMessage(const QJsonObject& object) : FileMessage()
{
    setDataFromJson(object);
}

const QHash<FileMessage::MsgFileType, QString>& FileMessage::getMsgFileTypes()
{
    static const QHash<MsgFileType, QString> table = {
        {MsgFileType_Image, QStringLiteral("FILE_TYPE_IMAGE")},
        {MsgFileType_Video, QStringLiteral("FILE_TYPE_VIDEO")},
        {MsgFileType_Gif, QStringLiteral("FILE_TYPE_GIF")},
        {MsgFileType_PushToTalk, QStringLiteral("FILE_TYPE_PUSH_TO_TALK")},
        {MsgFileType_Other, QStringLiteral("FILE_TYPE_OTHER")}};
    return table;
}

QString FileMessage::toString(MsgFileType type)
{
    return getMsgFileTypes().value(type);
}

FileMessage::MsgFileType FileMessage::toMsgFileType(const QString& text)
{
    return getMsgFileTypes().key(text, MsgFileType_None);
}

QStringList FileMessage::getFields()
{
    return {FileUrl, FileId, FileSize, FileName, FileType};
}

QStringList FileMessage::getSpecificFields(MsgFileType type)
{
    switch (type) {
    case MsgFileType_Image:
    case MsgFileType_Gif:
        return {FileImageHeight, FileImageWidth};
    case MsgFileType_Video:
        return {FileImageHeight, FileImageWidth, FileVideoDuration};
    case MsgFileType_PushToTalk:
        return {FilePushToTalkDuration};
    default:
        return {};
    }
}

void FileMessage::setDataFromJson(const QJsonObject& object)
{
    if (object.contains(FileType)) {
        const QString text = object.value(FileType).toString();
        fileType = toMsgFileType(text);
        if (fileType == MsgFileType_None)
            L_WARN(QStringLiteral("FileMessage::setDataFromJson | unknown file type: %1")
                       .arg(JsonNumbers::describe(object.value(FileType))));
    }
    if (object.contains(FileId))
        fileId = object.value(FileId).toString();
    if (object.contains(FileName))
        fileName = object.value(FileName).toString();
    if (object.contains(FileUrl))
        fileUrl = object.value(FileUrl).toString();
    if (object.contains(FileSize))
        fileSize = readCount(object, FileSize);
    if (object.contains(FileThumbnailUrl)) {
        fileThumbnailUrl = object.value(FileThumbnailUrl).toString();
        fileHasThumbnail = !fileThumbnailUrl.isEmpty();
    }
    if (fileType == MsgFileType_Video && object.contains(FileVideoDuration))
        fileTypeVideoDuration = readInt(object, FileVideoDuration);
    if (fileType == MsgFileType_PushToTalk && object.contains(FilePushToTalkDuration))
        pushToTalkDuration = readInt(object, FilePushToTalkDuration);
    if (fileType == MsgFileType_Image || fileType == MsgFileType_Video ||
        fileType == MsgFileType_Gif) {
        if (object.contains(FileImageWidth))
            imageSize.setWidth(readInt(object, FileImageWidth));
        if (object.contains(FileImageHeight))
            imageSize.setHeight(readInt(object, FileImageHeight));
    }
}

void FileMessage::setDataFromDBJson(const QJsonObject& object)
{
    setDataFromJson(object);
    if (object.contains(FileLocalPath))
        filePath = object.value(FileLocalPath).toString();
}

QJsonObject FileMessage::toJsonObject() const
{
    QJsonObject object;
    object.insert(FileType, toString(fileType));
    object.insert(FileId, fileId);
    object.insert(FileName, fileName);
    // A double holds every size below 2^53 bytes exactly.
    object.insert(FileSize, static_cast<double>(fileSize));
    object.insert(FileUrl, fileUrl);
    object.insert(FileThumbnailUrl, fileThumbnailUrl);
    switch (fileType) {
    case MsgFileType_Video:
        object.insert(FileVideoDuration, QString::number(fileTypeVideoDuration));
        Q_FALLTHROUGH();
    case MsgFileType_Image:
    case MsgFileType_Gif:
        object.insert(FileImageWidth, imageSize.width());
        object.insert(FileImageHeight, imageSize.height());
        break;
    case MsgFileType_PushToTalk:
        object.insert(FilePushToTalkDuration, pushToTalkDuration);
        break;
    default:
        break;
    }
    return object;
}

QJsonObject FileMessage::toDBJsonObject() const
{
    QJsonObject object = toJsonObject();
    object.insert(FileLocalPath, filePath);
    return object;
}

bool FileMessage::checkFields(const QJsonObject& object)
{
    for (const QString& key : getFields()) {
        if (!object.contains(key)) {
            L_DEBUG(QStringLiteral("fields does not contain: ") + key);
            return false;
        }
    }
    return true;
}

bool FileMessage::checkSpecificFields(const QJsonObject& object)
{
    const MsgFileType type = toMsgFileType(object.value(FileType).toString());
    for (const QString& key : getSpecificFields(type)) {
        if (!object.contains(key)) {
            L_DEBUG(QStringLiteral("fields does not contain: ") + key);
            return false;
        }
    }
    return true;
}

bool FileMessage::fromLocalFile(const QString& path)
{
    const QFileInfo info(path);
    filePath = path;
    fileUrl = path;
    fileName = info.fileName();
    fileSize = info.exists() ? info.size() : 0;
    fileId.clear();
    fileThumbnailUrl.clear();
    fileHasThumbnail = false;
    fileType = MsgFileType_Other;
    imageSize = QSize(0, 0);
    fileTypeVideoDuration = 0;
    pushToTalkDuration = 0;
    if (!info.isFile() || !info.isReadable()) {
        L_WARN(QStringLiteral("FileMessage::fromLocalFile | cannot read: ") + path);
        return false;
    }
    return true;
}

bool FileMessage::fromLocalImage(const QString& path)
{
    const bool readable = fromLocalFile(path);
    fileType = MsgFileType_Image;
    fileHasThumbnail = true;
    if (!readable)
        return false;
    QImageReader reader(path);
    QSize size = reader.size();
    if (!size.isValid()) {
        // Some formats tell their size only after decoding.
        const QImage image = reader.read();
        size = image.isNull() ? QSize() : image.size();
    }
    if (!size.isValid() || size.isEmpty()) {
        L_WARN(QStringLiteral("FileMessage::fromLocalImage | not an image: %1 (%2)")
                   .arg(path, reader.errorString()));
        return false;
    }
    imageSize = size;
    return true;
}

bool FileMessage::operator==(const FileMessage& other) const
{
    return filePath == other.filePath && fileId == other.fileId && fileName == other.fileName &&
           fileSize == other.fileSize && fileUrl == other.fileUrl &&
           fileHasThumbnail == other.fileHasThumbnail &&
           fileThumbnailUrl == other.fileThumbnailUrl && fileType == other.fileType &&
           fileTypeVideoDuration == other.fileTypeVideoDuration && imageSize == other.imageSize &&
           pushToTalkDuration == other.pushToTalkDuration;
}
