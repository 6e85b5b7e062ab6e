#include "widgets/notificationmanager.h"

#include "widgets/notificationwidget.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QTimer>

NotificationManager::NotificationManager(QWidget* parent)
    : QWidget(parent), effect(new QGraphicsOpacityEffect(this)),
      notification(new NotificationWidget(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(notification);
    setGraphicsEffect(effect);
    hide();
}

QRect NotificationManager::shownGeometry() const
{
    const int width = parentWidget() ? qMin(parentWidget()->width(), 420) : 420;
    const int height = qMax(sizeHint().height(), 60);
    const int x = parentWidget() ? (parentWidget()->width() - width) / 2 : 0;
    return QRect(x, 0, width, height);
}

QRect NotificationManager::hiddenGeometry() const
{
    const QRect shown = shownGeometry();
    return shown.translated(0, -shown.height());
}

void NotificationManager::addNotification(const Item& item)
{
    queue.append(item);
    if (state == Idle)
        showNotification();
}

void NotificationManager::showNotification()
{
    if (queue.isEmpty()) {
        if (state == Showing)
            startExit();
        return;
    }
    const Item item = queue.takeFirst();
    notification->setContent(item.title, item.text, item.avatarUrl, item.avatarId, item.avatarKind);
    if (state == Idle)
        startEnter();
    else if (state == Showing)
        QTimer::singleShot(1000, this, &NotificationManager::showNotification);
}

void NotificationManager::startEnter()
{
    state = Entering;
    effect->setOpacity(1.0);
    auto* slide = new QPropertyAnimation(this, "geometry", this);
    slide->setDuration(300);
    slide->setEasingCurve(QEasingCurve::InQuad);
    slide->setStartValue(hiddenGeometry());
    slide->setEndValue(shownGeometry());
    show();
    raise();
    connect(slide, &QPropertyAnimation::finished, this,
            &NotificationManager::enterAnimationFinished);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void NotificationManager::enterAnimationFinished()
{
    state = Showing;
    QTimer::singleShot(1000, this, &NotificationManager::showNotification);
}

void NotificationManager::startExit()
{
    state = Leaving;
    auto* group = new QParallelAnimationGroup(this);
    auto* fade = new QPropertyAnimation(effect, "opacity", group);
    fade->setDuration(500);
    fade->setEasingCurve(QEasingCurve::InQuad);
    fade->setStartValue(1.0);
    fade->setEndValue(0.5);
    auto* slide = new QPropertyAnimation(this, "geometry", group);
    slide->setDuration(500);
    slide->setEasingCurve(QEasingCurve::InQuad);
    slide->setStartValue(geometry());
    slide->setEndValue(hiddenGeometry());
    group->addAnimation(fade);
    group->addAnimation(slide);
    connect(group, &QParallelAnimationGroup::finished, this,
            &NotificationManager::exitAnimationFinished);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void NotificationManager::exitAnimationFinished()
{
    state = Idle;
    hide();
    // Items queued while the strip was leaving start it again.
    if (!queue.isEmpty())
        showNotification();
}
