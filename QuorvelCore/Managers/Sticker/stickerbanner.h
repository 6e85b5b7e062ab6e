#ifndef STICKERBANNER_H
#define STICKERBANNER_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// A banner of the sticker market: where it points and how long it shows.
class QUORVELCORE_EXPORT StickerBanner
{
public:
    // Reads "BannerId", "ShowTime" (decimal text), "LocationUrl" in that order;
    // false at the first absent key, keeping what was read.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getId() const { return bannerId; }
    void setId(const QString& value) { bannerId = value; }
    QString getUrl() const { return locationUrl; }
    void setUrl(const QString& value) { locationUrl = value; }
    int getShowTime() const { return showTime; }
    void setShowTime(int value) { showTime = value; }

    bool isValid() const { return !bannerId.isEmpty() && !locationUrl.isEmpty(); }
    bool isEmpty() const { return !isValid(); }
    void clear()
    {
        bannerId.clear();
        locationUrl.clear();
    }

private:
    QString bannerId;
    QString locationUrl;
    int showTime = 0;
};

Q_DECLARE_METATYPE(StickerBanner)

#endif // STICKERBANNER_H
