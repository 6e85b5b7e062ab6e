#ifndef STICKERPACKAGEINFO_H
#define STICKERPACKAGEINFO_H

#include "Managers/Sticker/stickerpackage.h"
#include "foundation/quorvelcore_export.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QMetaType>
#include <QString>

// The details of one sticker package: the package and what the market says of
// it (author, category, date, description, ratings).
class QUORVELCORE_EXPORT StickerPackageInfo : public StickerPackage
{
public:
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    void fromStickerPackage(const StickerPackage& package)
    {
        static_cast<StickerPackage&>(*this) = package;
    }
    void fromStickerPackageInfo(const StickerPackageInfo& info) { *this = info; }

    // Levels "One".."Five" must all be present; false at the first absent one.
    bool setStars(const QJsonObject& object);
    void setStars(const QHash<int, int>& value) { stars = value; }
    QHash<int, int> getStars() const { return stars; }
    QJsonObject getStarsObject() const;
    void insertStarCount(int level, int count) { stars.insert(level, count); }

    QString getAuthor() const { return author; }
    void setAuthor(const QString& value) { author = value; }
    QString getCatId() const { return categoryId; }
    void setCatId(const QString& value) { categoryId = value; }
    QDateTime getDateAdded() const { return dateAdded; }
    void setDateAdded(const QDateTime& value) { dateAdded = value; }
    QString getDescription() const { return description; }
    void setDescription(const QString& value) { description = value; }
    double getStarMean() const { return starMean; }
    void setStarMean(double value) { starMean = value; }
    QString getStickersThumbnailUrl() const { return stickersThumbnail; }
    void setStickersThumbnailUrl(const QString& value) { stickersThumbnail = value; }

    // 1 "One" .. 5 "Five", "" otherwise; toInt is the reverse (0 otherwise).
    static QString toString(int level);
    static int toInt(const QString& text);

private:
    QString author;
    QString categoryId;
    QDateTime dateAdded;
    QString description;
    double starMean = 0;
    QHash<int, int> stars;
    QString stickersThumbnail;
};

Q_DECLARE_METATYPE(StickerPackageInfo)

#endif // STICKERPACKAGEINFO_H
