#include "backgroundimages.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

namespace {

const QLatin1String kThumbnailEnd(".thumbnail.jpg");
const QLatin1String kImageEnd(".jpg");

// Two ends of each picture's gradient and the colour of its circles.
struct Palette
{
    QRgb from;
    QRgb to;
    QRgb circles;
};

const Palette kPalettes[] = {
    {0xffdfe9e4, 0xffb9d1c6, 0x40ffffff}, {0xffe8e1d3, 0xffcdb99a, 0x38ffffff},
    {0xffd9e4f0, 0xffa9bfd9, 0x40ffffff}, {0xfff0dde0, 0xffd7aab3, 0x38ffffff},
    {0xffe4e8d5, 0xffbcc79a, 0x3cffffff}, {0xffdcd9ea, 0xffaca6cf, 0x40ffffff},
    {0xffd5e9ea, 0xff95c5c8, 0x38ffffff}, {0xffece6dc, 0xffb8a48b, 0x3cffffff},
};

QImage draw(int index)
{
    const Palette& palette = kPalettes[index];
    QImage image(BackgroundImages::kWidth, BackgroundImages::kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, image.width(), image.height());
    gradient.setColorAt(0, QColor::fromRgb(palette.from));
    gradient.setColorAt(1, QColor::fromRgb(palette.to));
    painter.fillRect(image.rect(), gradient);
    // The same picture every time: the generator is seeded by the index.
    QRandomGenerator random(quint32(index + 1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(palette.circles));
    for (int i = 0; i < 40; ++i) {
        const int radius = 20 + random.bounded(120);
        painter.drawEllipse(QPoint(random.bounded(image.width()), random.bounded(image.height())),
                            radius, radius);
    }
    painter.end();
    return image;
}

QByteArray jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

QStringList BackgroundImages::names()
{
    return {QStringLiteral("d6/15004655103852yrDzZW4unaxYRVvGHqdTj9OCplk0eX6"),
            QStringLiteral("d6/1500465593078YfFhCaZtNj45zuLd2MReqBxE8GK0Vobp"),
            QStringLiteral("d6/1500465679946UA6f4mFq8yVLPJMnToR1xazscdWZDQKI"),
            QStringLiteral("d5/1501155449645mAdbVy4QKfP3qgnrwpE98HDkaeUXRNCu"),
            QStringLiteral("d6/15004658103955RB6zVowcC8gjDpkIqyZrfQ0xdNPLGAX"),
            QStringLiteral("d5/1500465870307SkWIaXRMKCHeDjclN5PzyGdVvQAUgwO9"),
            QStringLiteral("d5/1500466124011okhEGcLw3SBPJFefMpjV2YRCI5qzn4Xb"),
            QStringLiteral("d5/1500465380708QUrSjlLEnxa2Rf9cd1vB3DVotPhyFAub")};
}

QByteArray BackgroundImages::file(const QString& path)
{
    const bool thumbnail = path.endsWith(kThumbnailEnd);
    if (!thumbnail && !path.endsWith(kImageEnd))
        return QByteArray();
    const QString name = path.left(path.size() - (thumbnail ? kThumbnailEnd : kImageEnd).size());
    const int index = names().indexOf(name);
    if (index < 0)
        return QByteArray();
    static QHash<QString, QByteArray> made;
    const auto kept = made.constFind(path);
    if (kept != made.constEnd())
        return kept.value();
    QImage image = draw(index);
    if (thumbnail)
        image = image.scaledToWidth(kThumbnailWidth, Qt::SmoothTransformation);
    const QByteArray bytes = jpeg(image);
    if (!bytes.isEmpty())
        made.insert(path, bytes);
    return bytes;
}
