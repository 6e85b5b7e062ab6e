#include "chat/content/imageloader.h"

#include "foundation/pooltask.h"
#include "webapi/FileApi/staticfile.h"

#include <QBuffer>
#include <QImageIOHandler>
#include <QImageReader>

QImage ImageLoader::decode(const QString& path, const QByteArray& content, const QSize& box,
                           bool blur)
{
    QBuffer buffer;
    QImageReader reader;
    if (content.isEmpty()) {
        reader.setFileName(path);
    } else {
        buffer.setData(content);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
    }
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    const QSize upright = turned ? stored.transposed() : stored;
    QSize target;
    if (upright.isValid() && !upright.isEmpty() && !box.isEmpty()) {
        target = upright.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        // Decoding at a smaller size is what keeps a large picture cheap;
        // never ask the decoder to enlarge.
        if (target.width() < upright.width())
            reader.setScaledSize(turned ? target.transposed() : target);
    }
    QImage image = reader.read();
    if (image.isNull())
        return image;
    if (target.isValid() && image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (blur)
        image = StaticFile::blurImage(image);
    return image;
}

QFuture<QImage> ImageLoader::start(const QString& path, const QByteArray& content, const QSize& box,
                                   bool blur)
{
    return runOnGlobalPool<QImage>(
        [path, content, box, blur]() { return decode(path, content, box, blur); });
}
