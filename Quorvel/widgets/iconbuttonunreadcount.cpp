#include "widgets/iconbuttonunreadcount.h"

#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

IconButtonUnreadCount::IconButtonUnreadCount(const QSize& size, const QString& iconPath,
                                             QWidget* parent)
    : IconButton(size, iconPath, parent), badge(this)
{
    badge.hide();
    badge.setFont(Fonts::getFont(scaleValue(18)));
    badge.setFixedHeight(scaleValue(20));
    badge.setMinimumWidth(scaleValue(20));
    badge.setStyleSheet(QStringLiteral("border-radius:%1px;").arg(scaleValue(20) / 2));
    badge.setAlignment(Qt::AlignCenter);
    badge.setTextFormat(Qt::PlainText);
    badge.setObjectName(QStringLiteral("ChatWidgetUnreadMessageNumber"));
    // "99+" reads the same in a right-to-left window.
    badge.setLayoutDirection(Qt::LeftToRight);
}

void IconButtonUnreadCount::setUnreadCount(int value)
{
    // A negative count is not a count: it shows as none.
    count = qMax(value, 0);
    if (count == 0) {
        badge.setText(QStringLiteral("0"));
        badge.hide();
        return;
    }
    badge.setText(count < 100 ? QString::number(count) : QStringLiteral("99+"));
    badge.show();
    badge.adjustSize();
    placeBadge();
}

void IconButtonUnreadCount::placeBadge()
{
    // From the middle of the top edge, but never past the button's side,
    // where a wide count would be cut off.
    badge.move(qMax(0, qMin(width() / 2, width() - badge.width())), 2);
}

void IconButtonUnreadCount::resizeEvent(QResizeEvent* event)
{
    IconButton::resizeEvent(event);
    placeBadge();
}
