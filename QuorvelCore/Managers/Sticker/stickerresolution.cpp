#include "Managers/Sticker/stickerresolution.h"

#include <QStringList>

namespace {
const QStringList& names()
{
    static const QStringList list{"ldpi", "mdpi", "hdpi", "xhdpi", "xxhdpi", "xxxhdpi"};
    return list;
}
} // namespace

QString StickerResolution::toString(Resolution resolution)
{
    const int index = int(resolution) - 1;
    return index >= 0 && index < names().size() ? names().at(index) : QString();
}

StickerResolution::Resolution StickerResolution::toResolution(const QString& text)
{
    const int index = names().indexOf(text);
    return index < 0 ? None : Resolution(index + 1);
}
