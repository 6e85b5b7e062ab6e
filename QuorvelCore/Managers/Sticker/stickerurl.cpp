#include "Managers/Sticker/stickerurl.h"

void StickerUrl::setUrls(const QJsonObject& object)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const StickerResolution::Resolution resolution = StickerResolution::toResolution(it.key());
        if (resolution != StickerResolution::None)
            urls.insert(resolution, it.value().toString());
    }
}

QString StickerUrl::getHighestResolutionUrl() const
{
    const QList<StickerResolution::Resolution> resolutions = getResolutions();
    for (int i = resolutions.size() - 1; i >= 0; --i) {
        const QString url = urls.value(resolutions.at(i));
        if (!url.isEmpty())
            return url;
    }
    return QString();
}

QJsonObject StickerUrl::getUrlsJsonObject() const
{
    QJsonObject object;
    for (auto it = urls.constBegin(); it != urls.constEnd(); ++it)
        object.insert(StickerResolution::toString(it.key()), it.value());
    return object;
}

bool StickerUrl::setDataFromJson(const QJsonObject& object)
{
    message.setStickerId(object.value(QStringLiteral("StickerID")).toString());
    message.setStickerPackageId(object.value(QStringLiteral("PackageStickerID")).toString());
    message.setStickerVersion(object.value(QStringLiteral("StickerVersion")).toString());
    message.setFrom(object.value(QStringLiteral("FromUsername")).toString());
    if (!object.contains(QStringLiteral("Resolution")))
        return false;
    setUrls(object.value(QStringLiteral("StickerURL")).toObject());
    return !urls.isEmpty();
}
