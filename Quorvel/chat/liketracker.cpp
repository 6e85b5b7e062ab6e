#include "chat/liketracker.h"

#include "chat/chatmessagewidget.h"

#include <QDateTime>
#include <QTimer>

LikeTracker::LikeTracker(QObject* parent) : QObject(parent), timer(new QTimer(this))
{
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &LikeTracker::lookAgain);
}

QStringList LikeTracker::look(const QSet<ChatMessageWidget*>& visible)
{
    previousVisible = currentVisible;
    currentVisible = visible;
    const QSet<ChatMessageWidget*> stayed = previousVisible & currentVisible;
    const QSet<ChatMessageWidget*> left = previousVisible - currentVisible;
    const QSet<ChatMessageWidget*> arrived = currentVisible - previousVisible;
    const uint now = QDateTime::currentDateTime().toTime_t();
    QStringList ids;
    const auto ask = [&ids, now](ChatMessageWidget* b) {
        if (qint32(now - b->getVisibleSince()) >= 3 &&
            qint32(now - b->getLastLikeViewRequest()) >= 75) {
            ids << b->getMessage().getMessageId();
            b->setLastLikeViewRequest(now);
        }
    };
    for (ChatMessageWidget* b : stayed)
        ask(b);
    for (ChatMessageWidget* b : left)
        ask(b);
    for (ChatMessageWidget* b : left)
        b->setVisibleSince(2147483647u);
    for (ChatMessageWidget* b : arrived)
        b->setVisibleSince(now);
    timer->stop();
    timer->start(3000);
    return ids;
}

void LikeTracker::reset()
{
    previousVisible.clear();
    currentVisible.clear();
    timer->stop();
}

void LikeTracker::forget(ChatMessageWidget* bubble)
{
    previousVisible.remove(bubble);
    currentVisible.remove(bubble);
}

bool LikeTracker::timerActive() const
{
    return timer->isActive();
}
