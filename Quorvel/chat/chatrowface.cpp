#include "chat/chatrowface.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace {
// The unread badge, as the tab buttons' badges are coloured by the sheet.
const QColor badgeColour(0x40, 0xa7, 0xe3);
const QColor mutedBadgeColour(0x80, 0x80, 0x80);

// Right-aligned whatever the direction: names and summaries keep to the
// avatar's side in the right-to-left lists.
const int textFlags = Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter | Qt::TextSingleLine;

// The rows of a list share their font: its line height is measured once.
int lineHeightOf(const QFont& font)
{
    static QFont measured;
    static int height = -1;
    if (height < 0 || font != measured) {
        measured = font;
        height = QFontMetrics(font).height();
    }
    return height;
}
} // namespace

QString ChatRowFace::shortened(const QString& text, const QFont& font, int width)
{
    // Shortened only when it does not fit: a text just as wide as its place
    // would otherwise lose its end to rounding.
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(text) <= width
               ? text
               : metrics.elidedText(text, Qt::ElideRight, width);
}

void ChatRowFace::setName(const QString& text)
{
    if (text == nameText)
        return;
    nameText = text;
    nameCut.width = -1;
}

void ChatRowFace::setPreview(const QString& text, bool shown)
{
    showPreview = shown;
    if (text == previewText)
        return;
    previewText = text;
    previewCut.width = -1;
}

void ChatRowFace::setBadge(int count, bool isMuted)
{
    badge = qMax(0, count);
    muted = isMuted;
}

ChatRowFace::Places ChatRowFace::places(const QRect& row, const QFont& font,
                                        Qt::LayoutDirection direction) const
{
    // Laid out left to right, then mirrored for a right-to-left row.
    const int lineHeight = lineHeightOf(font);
    const QRect inner = row.adjusted(sideMargin, 0, -sideMargin, 0);
    Places at;
    at.avatar =
        QRect(inner.left(), row.top() + (row.height() - avatarSize) / 2, avatarSize, avatarSize);
    const int textLeft = at.avatar.right() + 1 + textGap;
    const int textRight = inner.right();

    const bool hasTime = !timeText.isEmpty();
    const bool hasBadge = badge > 0;
    const int lowerHeight = qMax(showPreview ? lineHeight : 0, hasBadge ? badgeHeight : 0);
    const int upperTop = row.top() + (row.height() - lineHeight - lowerHeight) / 2;
    const int lowerTop = upperTop + lineHeight;

    const int timeWidth = hasTime ? widthOf(&timeMeasure, timeText, font) : 0;
    at.time = QRect(textRight + 1 - timeWidth, upperTop, timeWidth, lineHeight);
    // The name and the summary keep a gap from the time and the badge.
    at.name = QRect(textLeft, upperTop, qMax(0, at.time.left() - partGap - textLeft), lineHeight);

    const int badgeWidth =
        hasBadge ? qMax(badgeHeight,
                        widthOf(&badgeMeasure, QString::number(badge), font) + 2 * badgePadding)
                 : 0;
    at.badge = QRect(textRight + 1 - badgeWidth, lowerTop + (lowerHeight - badgeHeight) / 2,
                     badgeWidth, hasBadge ? badgeHeight : 0);
    at.preview = QRect(textLeft, lowerTop + (lowerHeight - lineHeight) / 2,
                       qMax(0, at.badge.left() - partGap - textLeft), showPreview ? lineHeight : 0);

    if (direction == Qt::RightToLeft) {
        for (QRect* place : {&at.avatar, &at.name, &at.time, &at.preview, &at.badge})
            *place = QStyle::visualRect(direction, row, *place);
    }
    return at;
}

int ChatRowFace::widthOf(Measure* cache, const QString& text, const QFont& font)
{
    // As a label measures its text, bearings included.
    if (cache->text != text || cache->font != font || cache->width < 0) {
        cache->width =
            QFontMetrics(font)
                .boundingRect(QRect(0, 0, 4000, 400), Qt::AlignLeft | Qt::TextSingleLine, text)
                .width();
        cache->text = text;
        cache->font = font;
    }
    return cache->width;
}

const QString& ChatRowFace::cut(Cut* cache, const QString& text, const QFont& font, int width)
{
    if (cache->width != width || cache->font != font) {
        cache->shown = shortened(text, font, width);
        cache->width = width;
        cache->font = font;
    }
    return cache->shown;
}

void ChatRowFace::paint(QPainter* painter, const QRect& row, const QFont& font,
                        Qt::LayoutDirection direction, const QColor& text, const QPixmap& avatar)
{
    const Places at = places(row, font, direction);
    painter->drawPixmap(at.avatar.topLeft() + QPoint((at.avatar.width() - avatar.width()) / 2,
                                                     (at.avatar.height() - avatar.height()) / 2),
                        avatar);
    painter->setFont(font);
    painter->setPen(text);
    painter->drawText(at.name, textFlags, cut(&nameCut, nameText, font, at.name.width()));
    if (!timeText.isEmpty())
        painter->drawText(at.time, Qt::AlignCenter | Qt::TextSingleLine, timeText);
    if (showPreview) {
        painter->drawText(at.preview, textFlags,
                          cut(&previewCut, previewText, font, at.preview.width()));
    }
    if (badge > 0) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(muted ? mutedBadgeColour : badgeColour);
        const qreal radius = at.badge.height() / 2.0;
        painter->drawRoundedRect(QRectF(at.badge), radius, radius);
        painter->setPen(Qt::white);
        painter->drawText(at.badge, Qt::AlignCenter | Qt::TextSingleLine, QString::number(badge));
        painter->restore();
    }
}
