#include "Managers/Sticker/stickermanager.h"

#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
StickerManager* stickerManagerInstance = nullptr;

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
} // namespace

StickerManager* StickerManager::getInstance()
{
    if (!stickerManagerInstance)
        stickerManagerInstance = new StickerManager();
    return stickerManagerInstance;
}

void StickerManager::deleteInstance()
{
    L_DEBUG(QStringLiteral("StickerManager::deleteInstance() |"));
    delete stickerManagerInstance;
    stickerManagerInstance = nullptr;
}

StickerManager::StickerManager() : store(QStringLiteral("stickerManagerDataBase"))
{
    qRegisterMetaType<StickerUrl>();
    qRegisterMetaType<StickerApiRequest::RequestType>();
    qRegisterMetaType<QList<StickerBanner>>();
    qRegisterMetaType<QList<StickerPackage>>();
    qRegisterMetaType<StickerPackageInfo>();
    connect(&api, &StickerApi::urlReady, this, &StickerManager::urlReady);
    connect(&api, &StickerApi::stickerPackages, this, &StickerManager::stickerPackages);
    connect(&api, &StickerApi::bannersReady, this, &StickerManager::bannersReady);
    connect(&api, &StickerApi::viewPackageInfo, this, &StickerManager::packageInfoReady);
}

QString StickerManager::cacheKey(const StickerMessage& message)
{
    // A JSON list keeps the three ids apart whatever characters they hold.
    const QJsonArray parts{message.getStickerPackageId(), message.getStickerId(),
                           message.getStickerVersion()};
    return QString::fromUtf8(QJsonDocument(parts).toJson(QJsonDocument::Compact));
}

bool StickerManager::getStickerUrl(const StickerMessage& message, StickerUrl* out)
{
    L_DEBUG(QStringLiteral("StickerManager::getStickerUrl | ") + compact(message.toJsonObject()));
    QJsonObject cached;
    if (store.get(cacheKey(message), &cached) && !cached.isEmpty()) {
        StickerUrl found;
        found.setStickerMessage(message);
        found.setUrls(cached);
        if (!found.getUrls().isEmpty()) {
            L_DEBUG(QStringLiteral("StickerManager::getStickerUrl | URLfoundOnDB:") +
                    compact(cached));
            if (out) {
                out->setStickerMessage(message);
                out->setUrls(cached);
            }
            return true;
        }
    }
    api.requestStickerUrl(message);
    return false;
}

void StickerManager::urlReady(const StickerUrl& sUrl)
{
    // An answer without addresses is passed on but not kept, so the sticker
    // is asked for again next time.
    if (!sUrl.getUrls().isEmpty())
        store.put(cacheKey(sUrl.getStickerMessage()), sUrl.getUrlsJsonObject());
    emit stickerUrlReady(sUrl);
}

void StickerManager::stickerPackages(StickerApiRequest::RequestType type,
                                     const QList<StickerPackage>& packages, const QString& index)
{
    Q_UNUSED(index)
    if (type == StickerApiRequest::BrowseDownloads)
        emit mostDownloadedPackagesReady(packages);
    else if (type == StickerApiRequest::BrowseDate)
        emit newStickerPackagesReady(packages);
}
