#include "widgets/roundpixmap.h"

#include <QPainter>
#include <QPainterPath>

QPixmap roundPixmap(const QPixmap& source, const QSize& size)
{
    if (source.isNull() || size.isEmpty())
        return QPixmap();
    const int side = qMin(source.width(), source.height());
    QPixmap round(side, side);
    round.fill(Qt::transparent);
    QPainter painter(&round);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath circle;
    circle.addEllipse(0, 0, side, side);
    painter.setClipPath(circle);
    painter.drawPixmap(QRect(0, 0, side, side), source);
    painter.end();
    return round.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
