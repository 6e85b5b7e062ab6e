#include "Managers/Sticker/stickerpackageinfo.h"

#include "Managers/Sticker/stickerjson.h"

#include <QStringList>

namespace {
const char* const kDateFormat = "yyyy-MM-dd hh:mm:ss";
const QStringList kLevels{"One", "Two", "Three", "Four", "Five"};
} // namespace

QString StickerPackageInfo::toString(int level)
{
    return level >= 1 && level <= kLevels.size() ? kLevels.at(level - 1) : QString();
}

int StickerPackageInfo::toInt(const QString& text)
{
    return kLevels.indexOf(text) + 1;
}

bool StickerPackageInfo::setDataFromJson(const QJsonObject& object)
{
    if (!StickerPackage::setDataFromJson(object))
        return false;
    const auto text = [](QString* field) {
        return [field](const QJsonValue& v) { return *field = v.toString(), true; };
    };
    return StickerJson::walk(
        object,
        {{"Author", text(&author)},
         {"CategoryID", text(&categoryId)},
         {"DateAdded",
          [this](const QJsonValue& v) {
              dateAdded = QDateTime::fromString(v.toString(), QString::fromLatin1(kDateFormat));
              return true;
          }},
         {"Description", text(&description)},
         {"Downloads", [this](const QJsonValue& v) { return setDownloads(v.toString()), true; }},
         {"Stars", [this](const QJsonValue& v) { return setStars(v.toObject()); }},
         {"StarMean", [this](const QJsonValue& v) { return starMean = v.toDouble(0), true; }},
         {"StickersThumbnail", text(&stickersThumbnail)}});
}

bool StickerPackageInfo::setStars(const QJsonObject& object)
{
    for (int level = 1; level <= kLevels.size(); ++level) {
        const QString name = toString(level);
        if (!object.contains(name))
            return false;
        stars.insert(level, StickerJson::toInt(object.value(name)));
    }
    return true;
}

QJsonObject StickerPackageInfo::getStarsObject() const
{
    QJsonObject object;
    for (int level = 1; level <= kLevels.size(); ++level)
        object.insert(toString(level), QString::number(stars.value(level)));
    return object;
}

QJsonObject StickerPackageInfo::toJsonObject() const
{
    QJsonObject object = StickerPackage::toJsonObject();
    object.insert("CategoryID", categoryId);
    object.insert("DateAdded", dateAdded.toString(QString::fromLatin1(kDateFormat)));
    object.insert("Description", description);
    object.insert("Downloads", getDownloads());
    object.insert("Stars", getStarsObject());
    object.insert("StarMean", StickerJson::numberText(starMean));
    object.insert("StickersThumbnail", stickersThumbnail);
    object.insert("Author", author);
    return object;
}
