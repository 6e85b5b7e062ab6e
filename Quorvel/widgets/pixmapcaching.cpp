#include "widgets/pixmapcaching.h"

#include "foundation/simpleqtlogger.h"

#include <QPixmapCache>

void cachedScaledPixmap(const QString& key, const QString& imagePath, const QSize& size)
{
    QPixmap found;
    if (QPixmapCache::find(key, &found))
        return;
    QPixmap image(imagePath);
    if (image.isNull()) {
        L_WARN(QStringLiteral("cachedScaledPixmap | missing image: ") + imagePath);
        return;
    }
    QPixmapCache::insert(key, image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void cachePixmaps(const QMap<QString, QString>& keyToPath, const QSize& size)
{
    for (auto it = keyToPath.cbegin(); it != keyToPath.cend(); ++it)
        cachedScaledPixmap(it.key(), it.value(), size);
}

QPixmap cachedPixmap(const QString& key, const QString& imagePath, const QSize& size)
{
    cachedScaledPixmap(key, imagePath, size);
    QPixmap pixmap;
    QPixmapCache::find(key, &pixmap);
    return pixmap;
}
