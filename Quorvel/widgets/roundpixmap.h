#ifndef ROUNDPIXMAP_H
#define ROUNDPIXMAP_H

#include <QPixmap>
#include <QSize>

// The source clipped to a circle: a square of its smaller side, transparent
// outside the circle, the source centred in it, scaled to the size.
QPixmap roundPixmap(const QPixmap& source, const QSize& size);

#endif // ROUNDPIXMAP_H
