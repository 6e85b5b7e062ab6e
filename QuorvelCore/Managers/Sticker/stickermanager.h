#ifndef STICKERMANAGER_H
#define STICKERMANAGER_H

#include "Managers/Sticker/stickerapi.h"
#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"

#include <QList>
#include <QObject>
#include <QString>

// The sticker service of the GUI thread: where a sticker's images can be
// downloaded, from the address cache "stickerManagerDataBase" or, on a miss,
// from the sticker web service (answered later by stickerUrlReady). Also
// relays the sticker market's requests and answers.
class QUORVELCORE_EXPORT StickerManager : public QObject
{
    Q_OBJECT
public:
    static StickerManager* getInstance();
    static void deleteInstance();

    // True with *out filled when the addresses are cached; otherwise a request
    // is queued and false returned (*out untouched).
    bool getStickerUrl(const StickerMessage& message, StickerUrl* out);
    // The cache key of a sticker: package id, sticker id and version, kept
    // apart so that no two stickers share an entry.
    static QString cacheKey(const StickerMessage& message);

    StickerApi* getStickerApi() { return &api; }

signals:
    void stickerUrlReady(const StickerUrl& sUrl);
    void bannersReady(const QList<StickerBanner>& banners);
    void mostDownloadedPackagesReady(const QList<StickerPackage>& packages);
    void newStickerPackagesReady(const QList<StickerPackage>& packages);
    void packageInfoReady(const StickerPackageInfo& info);

public slots:
    void urlReady(const StickerUrl& sUrl);
    void stickerPackages(StickerApiRequest::RequestType type, const QList<StickerPackage>& packages,
                         const QString& index);
    void startBrowseCategories() { api.requestCategories(); }
    void startFreeStickers(int offset, int count) { api.requestFreeStickersPackage(offset, count); }
    void startMostDownloadedStickers(int offset, int count)
    {
        api.requestMostDownloadedStickerPackage(offset, count);
    }
    void startMostStarredStickers(int offset, int count)
    {
        api.requestMostStarredStickerPackage(offset, count);
    }
    void startNewestStickers(int offset, int count)
    {
        api.requestNewestStickersPackage(offset, count);
    }
    void startViewPackage(const QString& id) { api.requestViewPackage(id); }
    void startPackageDownload(const QString& id) { api.requestPackageDownload(id); }
    void startSetStarsForPackage(const QString& id, int stars)
    {
        api.requestSetStarsForPackage(id, stars);
    }
    void startGetBanners() { api.requestGetBanners(); }

private:
    StickerManager();

    DataBase store;
    StickerApi api;
};

#endif // STICKERMANAGER_H
