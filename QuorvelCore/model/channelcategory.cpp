#include "model/channelcategory.h"

#include "foundation/simpleqtlogger.h"

namespace {
const QLatin1String kBannerUrl("BannerUrl");
const QLatin1String kDescription("Description");
const QLatin1String kCategoryId("CategoryId");
const QLatin1String kCategoryName("CategoryName");
const QLatin1String kParentCategoryId("ParentCategoryId");
} // namespace

QStringList ChannelCategory::getJsonObjectKeys()
{
    return {kBannerUrl, kDescription, kCategoryId, kCategoryName, kParentCategoryId};
}

bool ChannelCategory::checkCategoryFields(const QJsonObject& object)
{
    for (const QString& key : getJsonObjectKeys()) {
        if (!object.contains(key)) {
            L_WARN(QStringLiteral("ChannelCategory::setDataFromJson | missing key: ") + key);
            return false;
        }
    }
    return true;
}

bool ChannelCategory::setDataFromJson(const QJsonObject& object)
{
    if (!checkCategoryFields(object))
        return false;
    bannerUrl = object.value(kBannerUrl).toString();
    categoryDescrition = object.value(kDescription).toString();
    categoryID = object.value(kCategoryId).toString();
    categoryName = object.value(kCategoryName).toString();
    parentCategoryID = object.value(kParentCategoryId).toString();
    return true;
}

QJsonObject ChannelCategory::toJsonObject() const
{
    return {{kBannerUrl, bannerUrl},
            {kDescription, categoryDescrition},
            {kCategoryId, categoryID},
            {kCategoryName, categoryName},
            {kParentCategoryId, parentCategoryID}};
}

bool ChannelCategory::operator==(const ChannelCategory& other) const
{
    return categoryName == other.categoryName && categoryDescrition == other.categoryDescrition &&
           categoryID == other.categoryID && bannerUrl == other.bannerUrl &&
           parentCategoryID == other.parentCategoryID;
}
