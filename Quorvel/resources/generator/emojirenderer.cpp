#include "emojirenderer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

namespace {
// The pixel size of the bitmaps in the colour emoji font.
const int drawSize = 109;
const int canvas = 136;
} // namespace

bool EmojiRenderer::loadFont(const QString& fontFile, QString* error)
{
    const int id = QFontDatabase::addApplicationFont(fontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        *error = QStringLiteral("emoji font %1 did not load").arg(fontFile);
        return false;
    }
    font = QFont(families.first());
    font.setPixelSize(drawSize);
    // Only the emoji font may draw: a missing picture must not come from another font.
    font.setStyleStrategy(QFont::NoFontMerging);
    return true;
}

QImage EmojiRenderer::render(const QString& text, int size) const
{
    // One glyph with a picture: the font has the whole sequence.
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int drawn = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QVector<quint32> glyphs = run.glyphIndexes();
        const QRawFont raw = run.rawFont();
        for (quint32 g : glyphs) {
            if (g == 0)
                return QImage();
            if (raw.advancesForGlyphIndexes(QVector<quint32>{g}).value(0).x() > 0)
                ++drawn;
        }
    }
    if (drawn != 1)
        return QImage();

    QImage big(canvas, canvas, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter painter(&big);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, canvas, canvas), Qt::AlignCenter, text);
    painter.end();
    return big.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
