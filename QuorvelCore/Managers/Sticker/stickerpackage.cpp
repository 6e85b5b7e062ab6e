#include "Managers/Sticker/stickerpackage.h"

#include "Managers/Sticker/stickerjson.h"

bool StickerPackage::setDataFromJson(const QJsonObject& object)
{
    const auto text = [](QString* field) {
        return [field](const QJsonValue& v) { return *field = v.toString(), true; };
    };
    return StickerJson::walk(
        object,
        {{"ID", text(&id)},
         {"Price", [this](const QJsonValue& v) { return price = StickerJson::toDouble(v), true; }},
         {"Thumbnail", text(&thumbnail)},
         {"Title", text(&title)},
         {"Downloads", text(&downloads)}});
}

QJsonObject StickerPackage::toJsonObject() const
{
    return {{"ID", id},
            {"Price", StickerJson::numberText(price)},
            {"Thumbnail", thumbnail},
            {"Title", title},
            {"Downloads", downloads}};
}
