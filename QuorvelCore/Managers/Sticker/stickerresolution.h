#ifndef STICKERRESOLUTION_H
#define STICKERRESOLUTION_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// The image density of a sticker file; higher values are denser images.
class QUORVELCORE_EXPORT StickerResolution
{
public:
    enum Resolution
    {
        None = 0,
        ldpi = 1,
        mdpi = 2,
        hdpi = 3,
        xhdpi = 4,
        xxhdpi = 5,
        xxxhdpi = 6
    };

    StickerResolution() = default;
    explicit StickerResolution(Resolution resolution) : resolution(resolution) {}

    Resolution getResolution() const { return resolution; }
    void setResolution(Resolution value) { resolution = value; }

    // "" for anything outside ldpi..xxxhdpi.
    static QString toString(Resolution resolution);
    // Whole, case-sensitive match; None for anything else.
    static Resolution toResolution(const QString& text);

private:
    Resolution resolution = None;
};

Q_DECLARE_METATYPE(StickerResolution::Resolution)

#endif // STICKERRESOLUTION_H
