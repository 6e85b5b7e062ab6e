#include "chat/content/peervalues.h"

QSize PeerValues::imageSize(const QSize& size)
{
    const bool sane = size.width() > 0 && size.height() > 0 && size.width() <= kMaxImageSide &&
                      size.height() <= kMaxImageSide;
    return sane ? size : QSize();
}

QSize PeerValues::fitBox(const QSize& size, const QSize& bounds, const QSize& fallback, int minSide)
{
    const QSize known = imageSize(size);
    if (known.isEmpty())
        return fallback;
    const QSize box = known.scaled(bounds, Qt::KeepAspectRatio);
    return QSize(qBound(minSide, box.width(), bounds.width()),
                 qBound(minSide, box.height(), bounds.height()));
}

int PeerValues::secondsFromMs(qint64 milliseconds)
{
    return seconds(milliseconds / 1000);
}

int PeerValues::seconds(qint64 value)
{
    return int(qBound<qint64>(0, value, kMaxDurationSeconds));
}

QString PeerValues::clockText(int value)
{
    const int s = seconds(value);
    return QStringLiteral("%1:%2")
        .arg(s / 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
