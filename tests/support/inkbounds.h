#ifndef INKBOUNDS_H
#define INKBOUNDS_H

#include <QColor>
#include <QImage>
#include <QRect>

// Reading what a widget drew from its grabbed picture, for checks of where
// text landed and how dark it came out.
namespace InkBounds {

// A pixel's grey level as seen over white (a grabbed widget without a
// background of its own is transparent where it drew nothing).
inline int greyOnWhite(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    return (qGray(pixel) * alpha + 255 * (255 - alpha)) / 255;
}

// The box around every pixel of the area darker than the grey level `below`;
// empty when nothing there is that dark.
inline QRect darkerThan(const QImage& image, int below, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    area &= image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (greyOnWhite(image.pixel(x, y)) < below)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// How many pixels of the picture are darker than the grey level `below`.
inline int countDarkerThan(const QImage& image, int below)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += greyOnWhite(image.pixel(x, y)) < below ? 1 : 0;
    }
    return count;
}

// The darkest grey level in the area (255 for a white or empty area).
inline int darkestGrey(const QImage& image, QRect area = QRect())
{
    if (area.isNull())
        area = image.rect();
    area &= image.rect();
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = qMin(darkest, greyOnWhite(image.pixel(x, y)));
    }
    return darkest;
}

} // namespace InkBounds

#endif // INKBOUNDS_H
