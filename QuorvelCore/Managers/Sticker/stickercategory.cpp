#include "Managers/Sticker/stickercategory.h"

#include "Managers/Sticker/stickerjson.h"

bool StickerCategory::setDataFromJson(const QJsonObject& object)
{
    id.clear();
    const auto text = [](QString* field) {
        return [field](const QJsonValue& v) { return *field = v.toString(), true; };
    };
    return StickerJson::walk(object, {{"ID", text(&id)},
                                      {"Name", text(&name)},
                                      {"Description", text(&description)},
                                      {"Thumbnail", text(&thumbnail)}});
}
