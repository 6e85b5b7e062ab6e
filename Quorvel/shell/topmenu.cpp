#include "shell/topmenu.h"

#include "shell/connectionstatuswidget.h"
#include "widgets/iconbutton.h"
#include "widgets/interfacescale.h"
#include "widgets/stylesheetpaint.h"

#include <QGraphicsColorizeEffect>
#include <QHBoxLayout>
#include <QPropertyAnimation>

namespace {

QPropertyAnimation* strengthFade(QGraphicsColorizeEffect* effect, qreal from, qreal to,
                                 QObject* parent)
{
    auto* animation = new QPropertyAnimation(effect, "strength", parent);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setDuration(1000);
    animation->setEasingCurve(QEasingCurve::OutQuad);
    return animation;
}

// Runs the fade from where the other one left the bar, so a quick change of
// mind reverses the fade instead of jumping.
void fadeFromCurrent(QPropertyAnimation* start, QPropertyAnimation* stop,
                     QGraphicsColorizeEffect* effect)
{
    if (stop->state() == QAbstractAnimation::Running)
        stop->stop();
    if (start->state() == QAbstractAnimation::Running)
        return;
    start->setStartValue(effect->strength());
    start->start();
}

} // namespace

TopMenu::TopMenu(const QSize& size, QWidget* parent) : QWidget(parent)
{
    resize(size);
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(scaleValue(5), scaleValue(5), scaleValue(5), scaleValue(5));
    const QSize buttonSize = scaleSize(QSize(24, 24));
    menuButton = new IconButton(buttonSize, QStringLiteral(":/Images/menu_white.png"), this);
    menuButton->setObjectName(QStringLiteral("TopMenuButton"));
    menuButton->setAccessibleName(tr("_OpenMenu"));
    logo = new IconButton(buttonSize, QStringLiteral(":/Images/QuorvelLogo128.png"), this);
    logo->setObjectName(QStringLiteral("TopMenuLogo"));
    logo->setAccessibleName(QStringLiteral("Quorvel"));
    layout->addWidget(menuButton, 0, Qt::AlignCenter);
    layout->addSpacerItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Fixed));
    layout->addWidget(logo, 0, Qt::AlignCenter);

    effect = new QGraphicsColorizeEffect(this);
    effect->setColor(QColor(0, 0, 0, 255));
    effect->setStrength(1.0);
    setGraphicsEffect(effect);
    toColour = strengthFade(effect, 0, 1, this);
    toNormal = strengthFade(effect, 1, 0, this);

    connect(menuButton, &IconButton::onClick, this, &TopMenu::menuClickedSlot);
    ConnectionStatusWidget* strip = ConnectionStatusWidget::getInstance();
    strip->setParent(this);
    strip->adjustPosition();
    connect(strip, &ConnectionStatusWidget::connected, this, &TopMenu::connected);
    connect(strip, &ConnectionStatusWidget::disconnected, this, &TopMenu::disconnected);
}

qreal TopMenu::darkness() const
{
    return effect->strength();
}

void TopMenu::menuClickedSlot()
{
    emit menuClicked();
}

void TopMenu::connected()
{
    fadeFromCurrent(toNormal, toColour, effect);
}

void TopMenu::disconnected()
{
    fadeFromCurrent(toColour, toNormal, effect);
}

void TopMenu::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ConnectionStatusWidget::getInstance()->adjustPosition();
}

void TopMenu::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
