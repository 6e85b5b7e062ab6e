#include "shell/slidingmenu.h"

#include "shell/sidemenu.h"
#include "widgets/iconbutton.h"
#include "widgets/overlaystack.h"
#include "widgets/stylesheetpaint.h"

#include <QGraphicsOpacityEffect>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

SlidingMenu::SlidingMenu(QWidget* parent) : QWidget(parent)
{
    sideMenu = new SideMenu(this);
    sideMenu->resize(menuWidth, height());
    slideAnimation = new QPropertyAnimation(sideMenu, "geometry", this);
    slideAnimation->setDuration(300);
    slideAnimation->setEasingCurve(QEasingCurve::OutExpo);
    opacityEffect = new QGraphicsOpacityEffect(this);
    opacityEffect->setOpacity(1.0);
    setGraphicsEffect(opacityEffect);
    closeGroup = new QParallelAnimationGroup(this);
    fadeAnimation = new QPropertyAnimation(opacityEffect, "opacity", closeGroup);
    // The way out runs on its own animation inside the group, so the way in
    // never has to be taken back out of the group.
    closeSlide = new QPropertyAnimation(sideMenu, "geometry", closeGroup);
    closeSlide->setDuration(300);
    closeSlide->setEasingCurve(QEasingCurve::OutExpo);
    connect(closeGroup, &QParallelAnimationGroup::finished, this, &SlidingMenu::hideMenu);
    connect(sideMenu->getBackButton(), &IconButton::onClick, this, &SlidingMenu::backButtonPressed);
    // While open it has the keyboard; Escape slides it out as its back button does.
    OverlayStack::instance()->track(this, [this] { slide(); });
}

int SlidingMenu::menuWidthFor(int windowWidth)
{
    return qBound(300, int(windowWidth * 0.3), 400);
}

void SlidingMenu::setMenuWidth(int width)
{
    menuWidth = width;
    sideMenu->resize(width, height());
}

void SlidingMenu::coverParent()
{
    if (QWidget* parent = parentWidget())
        setGeometry(0, 0, parent->width(), parent->height());
}

void SlidingMenu::showMenu()
{
    // A close still running would hide the menu just opened.
    closeGroup->stop();
    opacityEffect->setOpacity(1.0);
    show();
    coverParent();
    const int w = width();
    const int h = height();
    if (layoutDirection() == Qt::RightToLeft) {
        slideAnimation->setStartValue(QRect(w, 0, menuWidth, h));
        slideAnimation->setEndValue(QRect(w - menuWidth, 0, menuWidth, h));
    } else {
        slideAnimation->setStartValue(QRect(-menuWidth, 0, menuWidth, h));
        slideAnimation->setEndValue(QRect(0, 0, menuWidth, h));
    }
    slideAnimation->start();
}

void SlidingMenu::slide()
{
    if (closeGroup->state() == QAbstractAnimation::Running)
        return;
    const int w = width();
    const int h = height();
    if (layoutDirection() == Qt::RightToLeft) {
        closeSlide->setStartValue(QRect(w - menuWidth, 0, menuWidth, h));
        closeSlide->setEndValue(QRect(w, 0, menuWidth, h));
    } else {
        closeSlide->setStartValue(QRect(0, 0, menuWidth, h));
        closeSlide->setEndValue(QRect(-menuWidth, 0, menuWidth, h));
    }
    fadeAnimation->setDuration(200);
    fadeAnimation->setStartValue(1.0);
    fadeAnimation->setEndValue(0.0);
    fadeAnimation->setEasingCurve(QEasingCurve::InBack);
    slideAnimation->stop();
    closeGroup->start();
}

void SlidingMenu::addItem(MenuItem* item)
{
    sideMenu->addItem(item);
}

void SlidingMenu::setUserData(const Contact& c)
{
    sideMenu->setUserData(c);
}

void SlidingMenu::backButtonPressed()
{
    slide();
}

void SlidingMenu::hideMenu()
{
    hide();
}

void SlidingMenu::mousePressEvent(QMouseEvent*)
{
    // Presses inside the side menu stop there; this one fell beside it.
    slide();
}

void SlidingMenu::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    const int h = parent->height();
    if (layoutDirection() == Qt::RightToLeft)
        sideMenu->setGeometry(parent->width() - menuWidth, 0, menuWidth, h);
    else
        sideMenu->setGeometry(0, 0, menuWidth, h);
    if (geometry() != QRect(0, 0, parent->width(), h))
        coverParent();
}

void SlidingMenu::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
