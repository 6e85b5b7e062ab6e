#include "screens/panelslider.h"

#include <QPropertyAnimation>
#include <QWidget>

PanelSlider::PanelSlider(QWidget* panel, int duration)
    : QObject(panel), panel(panel), entry(new QPropertyAnimation(panel, "geometry", this)),
      exit(new QPropertyAnimation(panel, "geometry", this))
{
    for (QPropertyAnimation* animation : {entry, exit}) {
        animation->setDuration(duration);
        animation->setEasingCurve(QEasingCurve::OutExpo);
    }
    connect(exit, &QPropertyAnimation::finished, this, &PanelSlider::exitFinished);
}

void PanelSlider::slideIn()
{
    const int w = panel->width();
    const int h = panel->height();
    exit->stop();
    entry->setStartValue(QRect(-w, 0, w, h));
    entry->setEndValue(QRect(0, 0, w, h));
    entry->start();
}

void PanelSlider::slideOut()
{
    const int w = panel->width();
    const int h = panel->height();
    entry->stop();
    exit->setStartValue(QRect(0, 0, w, h));
    exit->setEndValue(QRect(-w, 0, w, h));
    exit->start();
}

void PanelSlider::open()
{
    if (QWidget* parent = panel->parentWidget())
        panel->setGeometry(0, 0, parent->width(), parent->height());
    slideIn();
    panel->show();
}
