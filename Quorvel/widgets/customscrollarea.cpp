#include "widgets/customscrollarea.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QTimer>

CustomScrollArea::CustomScrollArea(QWidget* parent)
    : QScrollArea(parent), hideTimer(new QTimer(this))
{
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &CustomScrollArea::fadeOut);
    auto* effect = new QGraphicsOpacityEffect(verticalScrollBar());
    effect->setOpacity(0.0);
    verticalScrollBar()->setGraphicsEffect(effect);
    horizontalScrollBar()->setEnabled(false);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CustomScrollArea::vScrollChanged);
}

bool CustomScrollArea::isHideTimerActive() const
{
    return hideTimer->isActive();
}

double CustomScrollArea::barOpacity() const
{
    const auto* effect =
        qobject_cast<QGraphicsOpacityEffect*>(verticalScrollBar()->graphicsEffect());
    return effect ? effect->opacity() : 1.0;
}

void CustomScrollArea::fade(double from, double to, int duration)
{
    // A fresh effect each time; the bar owns it and drops the old one.
    auto* effect = new QGraphicsOpacityEffect(verticalScrollBar());
    effect->setOpacity(from);
    verticalScrollBar()->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity", effect);
    animation->setDuration(duration);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(QEasingCurve::InBack);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void CustomScrollArea::fadeIn()
{
    fade(0.0, 1.0, 10);
    hideTimer->start(1000);
}

void CustomScrollArea::fadeOut()
{
    fade(1.0, 0.0, 200);
}

void CustomScrollArea::vScrollChanged(int)
{
    if (hideTimer->isActive())
        hideTimer->start(1000);
    else
        fadeIn();
}

void CustomScrollArea::enterEvent(QEvent*)
{
    fadeIn();
}

void CustomScrollArea::leaveEvent(QEvent*)
{
    if (!hideTimer->isActive())
        return;
    hideTimer->stop();
    fadeOut();
}

void CustomScrollArea::resizeEvent(QResizeEvent* event)
{
    emit resized();
    QScrollArea::resizeEvent(event);
}
