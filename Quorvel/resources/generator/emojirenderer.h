#pragma once

#include <QFont>
#include <QImage>
#include <QString>

// Draws emoji from a colour emoji font. The font's pictures are bitmaps of one size,
// so an emoji is drawn large and then scaled down smoothly to the wanted size.
class EmojiRenderer
{
public:
    bool loadFont(const QString& fontFile, QString* error);
    // An empty image when the font has no picture for the characters.
    QImage render(const QString& text, int size) const;

private:
    QFont font;
};
