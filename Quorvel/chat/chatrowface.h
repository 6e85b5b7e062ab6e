#ifndef CHATROWFACE_H
#define CHATROWFACE_H

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

// What a chat-list row shows, drawn in one paint instead of by a label per
// part: the avatar at the row's leading side, the name above the summary of
// the last message, its time at the trailing end of the name's line and the
// unread badge at the trailing end of the summary's line. Texts keep to the
// right edge of their place, as the program's lists are read right to left;
// a text too long for its place ends in an ellipsis. The shortened copies are
// kept for the width and font they were made for, so painting a row again
// measures nothing again.
class ChatRowFace
{
public:
    // Pixels between the row's sides and its avatar and texts.
    static const int sideMargin = 10;
    // Pixels between the avatar and the texts beside it.
    static const int textGap = 10;
    // Pixels a name or summary keeps from the time or badge beside it (also
    // when there is none).
    static const int partGap = 10;
    // Pixels on each side of the badge's count.
    static const int badgePadding = 3;

    void setAvatarSize(int size) { avatarSize = size; }
    // The badge is as high as the text is meant to be and at least as wide.
    void setBadgeHeight(int height) { badgeHeight = height; }

    void setName(const QString& text);
    const QString& name() const { return nameText; }
    // Empty: no time (a chat without messages).
    void setTime(const QString& text) { timeText = text; }
    const QString& time() const { return timeText; }
    void setPreview(const QString& text, bool shown);
    const QString& preview() const { return previewText; }
    bool previewShown() const { return showPreview; }
    // 0: no badge. A muted chat's badge is grey.
    void setBadge(int count, bool muted);
    int badgeCount() const { return badge; }
    bool badgeMuted() const { return muted; }

    // Where each part lies in a row of that size, font and direction.
    struct Places
    {
        QRect avatar;
        QRect name;
        QRect time;
        QRect preview;
        QRect badge;
    };
    Places places(const QRect& row, const QFont& font, Qt::LayoutDirection direction) const;

    // Draws the parts onto the row's background, the texts in the colour.
    void paint(QPainter* painter, const QRect& row, const QFont& font,
               Qt::LayoutDirection direction, const QColor& text, const QPixmap& avatar);

    // The text as it fits in width: whole, or ending in an ellipsis.
    static QString shortened(const QString& text, const QFont& font, int width);

    // The texts as last drawn, shortened to their places.
    QString shownName() const { return nameCut.shown; }
    QString shownPreview() const { return previewCut.shown; }

private:
    struct Cut
    {
        QString shown;
        int width = -1;
        QFont font;
    };
    struct Measure
    {
        QString text;
        int width = -1;
        QFont font;
    };
    static const QString& cut(Cut* cache, const QString& text, const QFont& font, int width);
    static int widthOf(Measure* cache, const QString& text, const QFont& font);

    int avatarSize = 50;
    int badgeHeight = 20;
    QString nameText;
    QString timeText;
    QString previewText;
    bool showPreview = false;
    int badge = 0;
    bool muted = false;
    Cut nameCut;
    Cut previewCut;
    // Measured when the row is first laid out or painted, not when told.
    mutable Measure timeMeasure;
    mutable Measure badgeMeasure;
};

#endif // CHATROWFACE_H
