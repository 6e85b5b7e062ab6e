#ifndef PICTURECHOOSER_H
#define PICTURECHOOSER_H

#include <QImage>
#include <QPixmap>
#include <QString>

class QWidget;

// Picking a picture for a group or a channel: the file dialog, the square
// thumbnail written beside the user's data, and the oval shape the forms
// show (round avatars come from the kit's roundPixmap).
class PictureChooser
{
public:
    // The file the user picked, or an empty string when the dialog was
    // cancelled. The caption and filter come translated from the screen.
    static QString ask(QWidget* parent, const QString& caption, const QString& filter);
    // Writes the picture scaled to 156 x 156 as "Thumbnail.jpg" in the
    // application-data folder and returns that path (also when writing
    // failed: the upload then reports the failure).
    static QString writeThumbnail(const QImage& picture);
    // The picture cut to the ellipse inscribed in its own rectangle (no
    // smoothing of the edge), scaled to fit the size.
    static QPixmap oval(const QPixmap& picture, const QSize& size);
};

#endif // PICTURECHOOSER_H
