#include "stickercatalogue.h"

#include "localfiles.h"
#include "servicestore.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace {
const QList<int> kSizes{64, 128, 192};
}

const QList<StickerCatalogue::Package>& StickerCatalogue::packages()
{
    static const QList<Package> list{
        {"shapes", "Shapes", "basic", "#2e86de", {"circle", "square", "triangle", "star"}, 120},
        {"sunny", "Sunny", "basic", "#f6b93b", {"circle", "star", "diamond"}, 45},
        {"leaves", "Leaves", "nature", "#20bf6b", {"diamond", "triangle", "circle", "square"}, 80},
    };
    return list;
}

const StickerCatalogue::Package* StickerCatalogue::package(const QString& id)
{
    for (const Package& entry : packages()) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

QStringList StickerCatalogue::densities()
{
    return {"mdpi", "xhdpi", "xxhdpi"};
}

QString StickerCatalogue::fileName(const QString& packageId, const QString& stickerId,
                                   const QString& density)
{
    return QStringLiteral("sticker-%1-%2-%3.png").arg(packageId, stickerId, density);
}

QByteArray StickerCatalogue::draw(const Package& package, int index, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour(package.colour);
    painter.setPen(QPen(colour.darker(150), size / 24.0));
    painter.setBrush(colour);
    const QRectF box(size * 0.1, size * 0.1, size * 0.8, size * 0.8);
    const QString shape = package.stickers.value(index);
    if (shape == "circle") {
        painter.drawEllipse(box);
    } else if (shape == "square") {
        painter.drawRoundedRect(box, size / 10.0, size / 10.0);
    } else if (shape == "triangle") {
        painter.drawPolygon(
            QVector<QPointF>{{box.center().x(), box.top()}, box.bottomRight(), box.bottomLeft()});
    } else if (shape == "diamond") {
        painter.drawPolygon(QVector<QPointF>{{box.center().x(), box.top()},
                                             {box.right(), box.center().y()},
                                             {box.center().x(), box.bottom()},
                                             {box.left(), box.center().y()}});
    } else {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const qreal radius = (i % 2 == 0 ? 0.5 : 0.2) * box.width();
            const qreal angle = M_PI / 5 * i - M_PI / 2;
            star << box.center() + QPointF(radius * qCos(angle), radius * qSin(angle));
        }
        painter.drawPolygon(star);
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool StickerCatalogue::ensurePictures(ServiceStore* store)
{
    for (const Package& entry : packages()) {
        for (int i = 0; i < entry.stickers.size(); ++i) {
            for (int d = 0; d < densities().size(); ++d) {
                const QString name = fileName(entry.id, entry.stickers.at(i), densities().at(d));
                if (!store->hasBlob(name) &&
                    !LocalFiles::keep(store, name, draw(entry, i, kSizes.at(d)), "inline"))
                    return false;
            }
        }
    }
    return true;
}
