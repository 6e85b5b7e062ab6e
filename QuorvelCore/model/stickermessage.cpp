#include "model/stickermessage.h"

#include "foundation/simpleqtlogger.h"
#include "model/messagekeys.h"

using namespace MessageKeys;

StickerMessage::StickerMessage(const QJsonObject& object)
{
    setDataFromJson(object);
}

QStringList StickerMessage::getFields()
{
    return {StickerVersion, StickerPackageId, StickerId};
}

bool StickerMessage::checkFields(const QJsonObject& object)
{
    for (const QString& key : getFields()) {
        if (!object.contains(key)) {
            L_DEBUG(QStringLiteral("fields does not contain: ") + key);
            return false;
        }
    }
    return true;
}

bool StickerMessage::setDataFromJson(const QJsonObject& object)
{
    setInvalidValues();
    if (!checkFields(object)) {
        L_WARN(QStringLiteral("StickerMessage::setDataFromJson | incomplete sticker"));
        return false;
    }
    stickerId = object.value(StickerId).toString();
    stickerPackageId = object.value(StickerPackageId).toString();
    stickerVersion = object.value(StickerVersion).toString();
    if (isEmpty())
        L_WARN(QStringLiteral("StickerMessage::setDataFromJson | a sticker id is not text"));
    return true;
}

QJsonObject StickerMessage::toJsonObject() const
{
    if (isEmpty())
        return QJsonObject();
    return {{StickerId, stickerId},
            {StickerPackageId, stickerPackageId},
            {StickerVersion, stickerVersion}};
}

bool StickerMessage::isEmpty() const
{
    return stickerId.isEmpty() || stickerPackageId.isEmpty() || stickerVersion.isEmpty();
}

void StickerMessage::setInvalidValues()
{
    stickerId.clear();
    stickerPackageId.clear();
    stickerVersion.clear();
}

bool StickerMessage::operator==(const StickerMessage& other) const
{
    return stickerId == other.stickerId && stickerPackageId == other.stickerPackageId &&
           stickerVersion == other.stickerVersion;
}
