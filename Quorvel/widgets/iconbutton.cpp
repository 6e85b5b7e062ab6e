#include "widgets/iconbutton.h"

#include "widgets/accessiblebutton.h"
#include "widgets/keyboardreach.h"
#include "widgets/stylesheetpaint.h"

#include <QIcon>
#include <QMouseEvent>

IconButton::IconButton(QWidget* parent) : QLabel(parent)
{
    AccessibleButton::install();
}

IconButton::IconButton(const QSize& size, QWidget* parent) : IconButton(parent)
{
    resize(size);
}

IconButton::IconButton(const QSize& size, const QString& iconPath, QWidget* parent)
    : IconButton(parent)
{
    iconSize = size;
    resize(size);
    setPixmap(QIcon(iconPath).pixmap(size, QIcon::Normal, QIcon::Off));
    setAlignment(Qt::AlignCenter);
}

void IconButton::setIcon(const QString& iconPath)
{
    setPixmap(QIcon(iconPath).pixmap(size(), QIcon::Normal, QIcon::Off));
}

void IconButton::setIconAtIconSize(const QString& iconPath)
{
    setPixmap(QIcon(iconPath).pixmap(iconSize, QIcon::Normal, QIcon::Off));
}

void IconButton::setIconPixmap(const QPixmap& pixmap)
{
    setPixmap(pixmap);
}

void IconButton::setButtonSize(const QSize& size)
{
    resize(size);
}

void IconButton::enterEvent(QEvent*)
{
    setCursor(Qt::PointingHandCursor);
}

void IconButton::leaveEvent(QEvent*)
{
    setCursor(Qt::ArrowCursor);
}

void IconButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit onClick();
}

void IconButton::keyPressEvent(QKeyEvent* event)
{
    if (!KeyboardReach::presses(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    emit onClick();
}

void IconButton::paintEvent(QPaintEvent* event)
{
    StyleSheetPaint::plain(this);
    QLabel::paintEvent(event);
    KeyboardReach::paintRing(this);
}
