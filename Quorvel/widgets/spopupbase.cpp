#include "widgets/spopupbase.h"

#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QPropertyAnimation>

SPopupBase::SPopupBase(QWidget* parent)
    : QFrame(parent), effect(new QGraphicsOpacityEffect(this)),
      animation(new QPropertyAnimation(effect, "opacity", this))
{
    setFrameStyle(0);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setObjectName(QStringLiteral("SPopupBase"));
    effect->setOpacity(0.0);
    setGraphicsEffect(effect);
    animation->setStartValue(0.0);
    animation->setEndValue(1.0);
    animation->setDuration(200);
    animation->setEasingCurve(QEasingCurve::OutExpo);
    connect(animation, &QPropertyAnimation::finished, this, &SPopupBase::animationFinished);
}

double SPopupBase::opacity() const
{
    return effect->opacity();
}

void SPopupBase::startShow()
{
    animation->setDirection(QAbstractAnimation::Forward);
    animation->start();
    show();
}

void SPopupBase::startClose()
{
    animation->setDirection(QAbstractAnimation::Backward);
    animation->start();
}

void SPopupBase::animationFinished()
{
    if (effect->opacity() == 0.0)
        hide();
}

void SPopupBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}
