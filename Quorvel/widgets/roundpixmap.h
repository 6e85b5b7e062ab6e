#ifndef ROUNDPIXMAP_H
#define ROUNDPIXMAP_H

#include <QPixmap>
#include <QSize>

// The source as a round avatar: the whole picture squeezed into a square of
// its smaller side (never cropped), cut to the inscribed circle with a smooth
// edge, transparent outside it, then scaled to fit the size.
QPixmap roundPixmap(const QPixmap& source, const QSize& size);

#endif // ROUNDPIXMAP_H
