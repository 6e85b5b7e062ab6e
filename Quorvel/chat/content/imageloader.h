#ifndef IMAGELOADER_H
#define IMAGELOADER_H

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes a picture for a message box away from the GUI thread: read at the
// size it is shown (QImageReader's scaled decoding, so a large JPEG is never
// held at full size), turned upright by its EXIF orientation, optionally
// blurred (the preview of a picture being sent).
class ImageLoader
{
public:
    // Runs on the calling thread: the picture in content (or, when content is
    // empty, the file at path) fitted into box keeping its proportions. A null
    // image when it does not decode.
    static QImage decode(const QString& path, const QByteArray& content, const QSize& box,
                         bool blur = false);
    // decode() on Qt's global thread pool.
    static QFuture<QImage> start(const QString& path, const QByteArray& content, const QSize& box,
                                 bool blur = false);
};

#endif // IMAGELOADER_H
