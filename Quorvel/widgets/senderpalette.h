#ifndef SENDERPALETTE_H
#define SENDERPALETTE_H

#include <QColor>
#include <QList>
#include <QString>

// The sixteen colours from which a sender's name and default avatar take
// their colour.
const QList<QColor>& senderPalette();

// Index into the palette for an id: the sum of its characters as signed
// Latin-1 bytes, modulo the palette size, never negative.
int senderColorIndex(const QString& id);
QColor senderColor(const QString& id);

#endif // SENDERPALETTE_H
