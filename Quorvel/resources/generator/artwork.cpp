#include "artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

namespace {

const QColor brandLight(0x42, 0xa5, 0xf5);
const QColor brandDark(0x15, 0x65, 0xc0);

QPainterPath bubble(const QRectF& box)
{
    // A round body with a short tail at the lower left.
    QPainterPath path;
    const QRectF body(box.left() + box.width() * 0.06, box.top() + box.height() * 0.04,
                      box.width() * 0.88, box.height() * 0.80);
    path.addEllipse(body);
    QPainterPath tail;
    tail.moveTo(box.left() + box.width() * 0.20, box.top() + box.height() * 0.66);
    tail.lineTo(box.left() + box.width() * 0.08, box.top() + box.height() * 0.96);
    tail.lineTo(box.left() + box.width() * 0.44, box.top() + box.height() * 0.80);
    tail.closeSubpath();
    return path.united(tail);
}

} // namespace

QImage Artwork::logo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0, 0, size, size);

    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, brandLight);
    fill.setColorAt(1, brandDark);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(bubble(box));

    // The initial: a ring with a short stroke through its lower right.
    const qreal ring = size * 0.09;
    const QRectF circle(size * 0.30, size * 0.20, size * 0.40, size * 0.40);
    QPen pen(Qt::white, ring, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(circle);
    p.drawLine(QPointF(size * 0.56, size * 0.50), QPointF(size * 0.72, size * 0.66));
    p.end();
    return image;
}

QImage Artwork::chatBackground(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Mid-light tones: the bubbles of other people are white and must stand
    // out from the board behind them.
    QLinearGradient fill(0, 0, width, height);
    fill.setColorAt(0, QColor(0xbe, 0xd4, 0xe4));
    fill.setColorAt(1, QColor(0xc4, 0xdc, 0xc6));
    p.fillRect(image.rect(), fill);

    // A fixed seed keeps the picture the same from build to build.
    QRandomGenerator random(20171);
    const int cell = 64;
    for (int y = 0; y < height; y += cell) {
        for (int x = 0; x < width; x += cell) {
            const qreal cx = x + random.bounded(cell);
            const qreal cy = y + random.bounded(cell);
            const qreal r = 4 + random.bounded(10);
            QColor shade = random.bounded(2) ? brandLight : QColor(0x66, 0xbb, 0x6a);
            shade.setAlpha(28 + random.bounded(20));
            p.setPen(Qt::NoPen);
            p.setBrush(shade);
            if (random.bounded(3) == 0)
                p.drawPath(bubble(QRectF(cx - r, cy - r, 2.4 * r, 2.4 * r)));
            else
                p.drawEllipse(QPointF(cx, cy), r / 2, r / 2);
        }
    }
    p.end();
    return image;
}
