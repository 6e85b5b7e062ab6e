#ifndef FILEMESSAGE_H
#define FILEMESSAGE_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QJsonObject>
#include <QMetaType>
#include <QSize>
#include <QString>
#include <QStringList>

// The file part of a FILE message, kept in the message's otherFields. Sizes are
// held as 64-bit values so that files of 2 GiB and more keep their size.
class QUORVELCORE_EXPORT FileMessage
{
public:
    enum MsgFileType
    {
        MsgFileType_None = 0,
        MsgFileType_Image = 1,
        MsgFileType_Video = 2,
        MsgFileType_Gif = 3,
        MsgFileType_PushToTalk = 4,
        MsgFileType_Other = 5
    };

    FileMessage();
    FileMessage(const FileMessage& other) = default;
    FileMessage& operator=(const FileMessage& other) = default;
    explicit FileMessage(const QJsonObject& object);

    static const QHash<MsgFileType, QString>& getMsgFileTypes();
    // Unknown value: empty text.
    static QString toString(MsgFileType type);
    // Exact match; none gives MsgFileType_None.
    static MsgFileType toMsgFileType(const QString& text);
    // The general keys, always present in a file part.
    static QStringList getFields();
    // The keys that only files of the given type carry.
    static QStringList getSpecificFields(MsgFileType type);

    void fromFileMessage(const FileMessage& other) { *this = other; }
    // Each key is read when present; otherwise the field keeps its value.
    void setDataFromJson(const QJsonObject& object);
    void setDataFromDBJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    QJsonObject toDBJsonObject() const;
    static bool checkFields(const QJsonObject& object);
    static bool checkSpecificFields(const QJsonObject& object);

    // Prepare a local file to be sent. False (and a log line) when the file
    // cannot be read; the part then describes the path with size 0.
    bool fromLocalFile(const QString& path);
    bool fromLocalImage(const QString& path);

    // Static files carry an extension in their id, uploaded files do not.
    bool isStatic() const { return fileId.contains(QLatin1Char('.')); }
    bool isEmpty() const { return fileType == MsgFileType_None; }

    QString getFilePath() const { return filePath; }
    void setFilePath(const QString& value) { filePath = value; }
    QString getFileId() const { return fileId; }
    void setFileId(const QString& value) { fileId = value; }
    QString getFileName() const { return fileName; }
    void setFileName(const QString& value) { fileName = value; }
    qint64 getFileSize() const { return fileSize; }
    void setFileSize(qint64 value) { fileSize = value; }
    QString getFileUrl() const { return fileUrl; }
    void setFileUrl(const QString& value) { fileUrl = value; }
    bool getFileHasThumbnail() const { return fileHasThumbnail; }
    void setFileHasThumbnail(bool value) { fileHasThumbnail = value; }
    QString getFileThumbnailUrl() const { return fileThumbnailUrl; }
    void setFileThumbnailUrl(const QString& value) { fileThumbnailUrl = value; }
    MsgFileType getFileType() const { return fileType; }
    void setFileType(MsgFileType value) { fileType = value; }
    int getFileTypeVideoDuration() const { return fileTypeVideoDuration; }
    void setFileTypeVideoDuration(int value) { fileTypeVideoDuration = value; }
    QSize getImageSize() const { return imageSize; }
    void setImageSize(const QSize& value) { imageSize = value; }
    int getImageWidth() const { return imageSize.width(); }
    int getImageHeight() const { return imageSize.height(); }
    void setImageWidth(int value) { imageSize.setWidth(value); }
    void setImageHeight(int value) { imageSize.setHeight(value); }
    int getPushToTalkDuration() const { return pushToTalkDuration; }
    void setPushToTalkDuration(int value) { pushToTalkDuration = value; }

    bool operator==(const FileMessage& other) const;
    bool operator!=(const FileMessage& other) const { return !(*this == other); }

private:
    QString filePath;
    QString fileId;
    QString fileName;
    qint64 fileSize;
    QString fileUrl;
    bool fileHasThumbnail;
    QString fileThumbnailUrl;
    MsgFileType fileType;
    int fileTypeVideoDuration;
    QSize imageSize;
    int pushToTalkDuration;
};

Q_DECLARE_METATYPE(FileMessage)
Q_DECLARE_METATYPE(FileMessage::MsgFileType)

#endif // FILEMESSAGE_H
