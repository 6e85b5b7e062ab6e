#ifndef KITTESTSUPPORT_H
#define KITTESTSUPPORT_H

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QPixmapCache>
#include <QString>
#include <QWidget>

namespace KitTest {

// A distinct solid pixmap stored under a cache key, so a widget that shows
// "the picture of key K" can be checked without the program's images.
inline QPixmap seedCache(const QString& key, const QColor& colour, int side = 15)
{
    QPixmap pixmap(side, side);
    pixmap.fill(colour);
    QPixmapCache::insert(key, pixmap);
    QPixmap stored;
    QPixmapCache::find(key, &stored);
    return stored;
}

inline QPixmap cached(const QString& key)
{
    QPixmap pixmap;
    QPixmapCache::find(key, &pixmap);
    return pixmap;
}

// Number of distinct colours in an image: 1 means a blank picture.
inline int colourCount(const QImage& image, int limit = 3)
{
    QList<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (!seen.contains(pixel)) {
                seen.append(pixel);
                if (seen.size() >= limit)
                    return seen.size();
            }
        }
    }
    return seen.size();
}

inline bool isBlank(const QWidget* widget)
{
    return colourCount(const_cast<QWidget*>(widget)->grab().toImage()) < 2;
}

} // namespace KitTest

#endif // KITTESTSUPPORT_H
