#pragma once

#include <QImage>

// The program's own pictures, drawn in code: the logo, the application icon and the
// default chat background.
class Artwork
{
public:
    // A rounded speech bubble with the program's initial, on a transparent square.
    static QImage logo(int size);
    // A quiet tile of small bubbles and dots over a soft two-colour gradient.
    static QImage chatBackground(int width, int height);
};
