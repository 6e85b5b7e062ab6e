#ifndef STICKERMESSAGE_H
#define STICKERMESSAGE_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// The sticker part of a STICKER message. from (the sender) is set by the
// carrying message and written to no JSON form.
class QUORVELCORE_EXPORT StickerMessage
{
public:
    StickerMessage() = default;
    explicit StickerMessage(const QJsonObject& object);

    static QStringList getFields();
    static bool checkFields(const QJsonObject& object);
    // False (and an empty sticker) unless all three keys are present.
    bool setDataFromJson(const QJsonObject& object);
    // Empty object for an empty sticker.
    QJsonObject toJsonObject() const;

    bool isEmpty() const;
    void setInvalidValues();

    bool operator==(const StickerMessage& other) const;
    bool operator!=(const StickerMessage& other) const { return !(*this == other); }

    QString getStickerId() const { return stickerId; }
    void setStickerId(const QString& value) { stickerId = value; }
    QString getStickerPackageId() const { return stickerPackageId; }
    void setStickerPackageId(const QString& value) { stickerPackageId = value; }
    QString getStickerVersion() const { return stickerVersion; }
    void setStickerVersion(const QString& value) { stickerVersion = value; }
    QString getFrom() const { return from; }
    void setFrom(const QString& value) { from = value; }

private:
    QString stickerId;
    QString stickerPackageId;
    QString stickerVersion;
    QString from;
};

Q_DECLARE_METATYPE(StickerMessage)

#endif // STICKERMESSAGE_H
