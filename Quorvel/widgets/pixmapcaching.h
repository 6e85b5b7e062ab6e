#ifndef PIXMAPCACHING_H
#define PIXMAPCACHING_H

#include <QMap>
#include <QPixmap>
#include <QSize>
#include <QString>

// Loads the image, scales it to the size (aspect kept, smooth) and keeps it in
// QPixmapCache under the key, unless the cache already holds the key.
void cachedScaledPixmap(const QString& key, const QString& imagePath, const QSize& size);
// cachedScaledPixmap for every entry, in key order.
void cachePixmaps(const QMap<QString, QString>& keyToPath, const QSize& size);
// The cached pixmap of a key, loading it first when the cache lost it; a null
// pixmap when the image is missing.
QPixmap cachedPixmap(const QString& key, const QString& imagePath, const QSize& size);

#endif // PIXMAPCACHING_H
