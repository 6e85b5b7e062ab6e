#include "model/browsecategoryresult.h"

#include "foundation/simpleqtlogger.h"

#include <QMap>

namespace {
const QLatin1String kChannels("Channels");
const QLatin1String kCategories("Categories");
} // namespace

void BrowseCategoryResult::setDataFromJson(const QJsonObject& object)
{
    if (object.contains(kChannels))
        setInfos(object.value(kChannels).toArray());
    else
        infos.clear();
    if (object.contains(kCategories))
        setCategories(object.value(kCategories).toArray());
    else
        categories.clear();
}

QJsonObject BrowseCategoryResult::toJsonObject() const
{
    QJsonArray channelList;
    for (const ChannelInfo& info : infos)
        channelList.append(info.toJsonObject());
    QJsonArray categoryList;
    for (const ChannelCategory& category : categories)
        categoryList.append(category.toJsonObject());
    return {{kChannels, channelList}, {kCategories, categoryList}};
}

void BrowseCategoryResult::setInfos(const QJsonArray& array)
{
    infos.clear();
    for (const QJsonValue& element : array) {
        ChannelInfo info;
        if (info.setDataFromJson(element.toObject()))
            infos.append(info);
        else
            L_WARN(QStringLiteral("BrowseCategoryResult::setInfos | skipped a channel"));
    }
}

void BrowseCategoryResult::setCategories(const QJsonArray& array)
{
    QHash<QString, ChannelCategory> hash;
    for (const QJsonValue& element : array) {
        ChannelCategory category;
        if (category.setDataFromJson(element.toObject()))
            hash.insert(category.getCategoryID(), category);
        else
            L_WARN(QStringLiteral("BrowseCategoryResult::setCategories | skipped a category"));
    }
    setCategories(hash);
}

void BrowseCategoryResult::setCategories(const QHash<QString, ChannelCategory>& hash)
{
    QMap<QString, ChannelCategory> ordered;
    for (auto it = hash.constBegin(); it != hash.constEnd(); ++it)
        ordered.insert(it.key(), it.value());
    categories = ordered.values();
}
