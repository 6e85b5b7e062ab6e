#include "Managers/Sticker/stickerbanner.h"

#include "Managers/Sticker/stickerjson.h"

bool StickerBanner::setDataFromJson(const QJsonObject& object)
{
    return StickerJson::walk(
        object,
        {{"BannerId", [this](const QJsonValue& v) { return bannerId = v.toString(), true; }},
         {"ShowTime",
          [this](const QJsonValue& v) { return showTime = StickerJson::toInt(v), true; }},
         {"LocationUrl",
          [this](const QJsonValue& v) { return locationUrl = v.toString(), true; }}});
}

QJsonObject StickerBanner::toJsonObject() const
{
    return {{"BannerId", bannerId},
            {"ShowTime", QString::number(showTime)},
            {"LocationUrl", locationUrl}};
}
