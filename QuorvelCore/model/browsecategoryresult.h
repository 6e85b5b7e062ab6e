#ifndef BROWSECATEGORYRESULT_H
#define BROWSECATEGORYRESULT_H

#include "foundation/quorvelcore_export.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMetaType>

// One level of the channel directory: its sub-categories and its channels.
class QUORVELCORE_EXPORT BrowseCategoryResult
{
public:
    BrowseCategoryResult() = default;

    // Reads "Channels" and "Categories"; a missing list empties its field.
    void setDataFromJson(const QJsonObject& object);
    // The reply form, for logging and tests.
    QJsonObject toJsonObject() const;

    // Elements that do not parse are skipped.
    void setInfos(const QJsonArray& array);
    void setInfos(const QList<ChannelInfo>& value) { infos = value; }
    // Collected by category id (a later duplicate replaces an earlier one).
    void setCategories(const QJsonArray& array);
    // Ordered by category id, compared as text.
    void setCategories(const QHash<QString, ChannelCategory>& hash);
    void setCategories(const QList<ChannelCategory>& value) { categories = value; }

    QList<ChannelCategory> getCategories() const { return categories; }
    QList<ChannelInfo> getInfos() const { return infos; }

private:
    QList<ChannelCategory> categories;
    QList<ChannelInfo> infos;
};

Q_DECLARE_METATYPE(BrowseCategoryResult)

#endif // BROWSECATEGORYRESULT_H
