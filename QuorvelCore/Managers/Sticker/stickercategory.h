#ifndef STICKERCATEGORY_H
#define STICKERCATEGORY_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// A category of the sticker market.
class QUORVELCORE_EXPORT StickerCategory
{
public:
    StickerCategory() = default;
    explicit StickerCategory(const QJsonObject& object) { setDataFromJson(object); }

    // Empties the id, then reads "ID", "Name", "Description", "Thumbnail";
    // false at the first absent key.
    bool setDataFromJson(const QJsonObject& object);

    QString getId() const { return id; }
    void setId(const QString& value) { id = value; }
    QString getName() const { return name; }
    void setName(const QString& value) { name = value; }
    QString getDescription() const { return description; }
    void setDescription(const QString& value) { description = value; }
    QString getThumbnailUrl() const { return thumbnail; }
    void setThumbnailUrl(const QString& value) { thumbnail = value; }

    bool isValid() const { return !id.isEmpty(); }
    bool isEmpty() const { return id.isEmpty(); }
    void clear() { id.clear(); }

private:
    QString id;
    QString name;
    QString description;
    QString thumbnail;
};

Q_DECLARE_METATYPE(StickerCategory)

#endif // STICKERCATEGORY_H
