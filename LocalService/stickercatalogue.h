#ifndef STICKERCATALOGUE_H
#define STICKERCATALOGUE_H

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class ServiceStore;

// The sticker service's own small catalogue: a few packages of sticker
// pictures drawn here (shapes in each package's colour) at three densities,
// kept as files of the service's file host the first time they are needed.
class StickerCatalogue
{
public:
    struct Package
    {
        QString id;
        QString title;
        QString category;
        QString colour;
        QStringList stickers;
        int downloads;
    };

    // Where the sticker service is served, below the service's root address.
    static QString servicePath() { return QStringLiteral("sticker/"); }
    static const QList<Package>& packages();
    static const Package* package(const QString& id);
    static QStringList densities();
    static QString version() { return QStringLiteral("1"); }
    // The file host name of one sticker picture (packageId/stickerId at a density).
    static QString fileName(const QString& packageId, const QString& stickerId,
                            const QString& density);
    // Draws and keeps every picture that the store does not hold yet.
    static bool ensurePictures(ServiceStore* store);
    // The picture of one sticker as PNG bytes (size in pixels).
    static QByteArray draw(const Package& package, int index, int size);
};

#endif // STICKERCATALOGUE_H
