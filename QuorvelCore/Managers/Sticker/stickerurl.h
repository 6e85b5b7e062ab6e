#ifndef STICKERURL_H
#define STICKERURL_H

#include "Managers/Sticker/stickerresolution.h"
#include "foundation/quorvelcore_export.h"
#include "model/stickermessage.h"

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

// The download addresses of one sticker's images, by density.
class QUORVELCORE_EXPORT StickerUrl
{
public:
    using Urls = QMap<StickerResolution::Resolution, QString>;

    StickerUrl() = default;
    explicit StickerUrl(const QJsonObject& object) { setDataFromJson(object); }

    StickerMessage getStickerMessage() const { return message; }
    void setStickerMessage(const StickerMessage& value) { message = value; }
    Urls getUrls() const { return urls; }
    void setUrls(const Urls& value) { urls = value; }
    // Adds every member named by a density; other members are ignored.
    void setUrls(const QJsonObject& object);
    void insertUrl(StickerResolution::Resolution resolution, const QString& url)
    {
        urls.insert(resolution, url);
    }

    QList<StickerResolution::Resolution> getResolutions() const { return urls.keys(); }
    QString getUrlForResolution(StickerResolution::Resolution resolution) const
    {
        return urls.value(resolution);
    }
    // The address of the densest image that has one, or "".
    QString getHighestResolutionUrl() const;
    QJsonObject getUrlsJsonObject() const;

    // Reads a sticker reply; true when it names its densities and at least one
    // address was read.
    bool setDataFromJson(const QJsonObject& object);

    bool operator==(const StickerUrl& other) const
    {
        return message == other.message && urls == other.urls;
    }

private:
    StickerMessage message;
    Urls urls;
};

Q_DECLARE_METATYPE(StickerUrl)

#endif // STICKERURL_H
