#ifndef CHANNELCATEGORY_H
#define CHANNELCATEGORY_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One category of the channel directory.
class QUORVELCORE_EXPORT ChannelCategory
{
public:
    ChannelCategory() = default;

    static QStringList getJsonObjectKeys();
    // False (nothing changed) unless all five keys are present.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getCategoryName() const { return categoryName; }
    void setCategoryName(const QString& value) { categoryName = value; }
    QString getCategoryDescrition() const { return categoryDescrition; }
    void setCategoryDescrition(const QString& value) { categoryDescrition = value; }
    QString getCategoryID() const { return categoryID; }
    void setCategoryID(const QString& value) { categoryID = value; }
    QString getBannerUrl() const { return bannerUrl; }
    void setBannerUrl(const QString& value) { bannerUrl = value; }
    QString getParentCategoryID() const { return parentCategoryID; }
    void setParentCategoryID(const QString& value) { parentCategoryID = value; }

    bool operator==(const ChannelCategory& other) const;
    bool operator!=(const ChannelCategory& other) const { return !(*this == other); }

private:
    static bool checkCategoryFields(const QJsonObject& object);

    QString categoryName;
    QString categoryDescrition;
    QString categoryID;
    QString bannerUrl;
    QString parentCategoryID;
};

Q_DECLARE_METATYPE(ChannelCategory)

#endif // CHANNELCATEGORY_H
