#ifndef STICKERPACKAGE_H
#define STICKERPACKAGE_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// A sticker package as the market lists it.
class QUORVELCORE_EXPORT StickerPackage
{
public:
    // Reads "ID", "Price" (text), "Thumbnail", "Title", "Downloads" in order;
    // false at the first absent key.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getId() const { return id; }
    void setId(const QString& value) { id = value; }
    double getPrice() const { return price; }
    void setPrice(double value) { price = value; }
    QString getThUrl() const { return thumbnail; }
    void setThUrl(const QString& value) { thumbnail = value; }
    QString getTitle() const { return title; }
    void setTitle(const QString& value) { title = value; }
    QString getDownloads() const { return downloads; }
    void setDownloads(const QString& value) { downloads = value; }

    bool operator==(const StickerPackage& other) const
    {
        return id == other.id && price == other.price && thumbnail == other.thumbnail &&
               title == other.title && downloads == other.downloads;
    }

private:
    QString id;
    double price = 0;
    QString thumbnail;
    QString title;
    QString downloads;
};

Q_DECLARE_METATYPE(StickerPackage)

#endif // STICKERPACKAGE_H
