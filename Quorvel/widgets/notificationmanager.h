#ifndef NOTIFICATIONMANAGER_H
#define NOTIFICATIONMANAGER_H

#include <QList>
#include <QWidget>

class NotificationWidget;
class QGraphicsOpacityEffect;

// An in-window strip at the top of its parent that slides in, shows queued
// notifications one a second and slides out after the last.
class NotificationManager : public QWidget
{
    Q_OBJECT
public:
    enum State
    {
        Idle = 0,
        Entering = 1,
        Showing = 2,
        Leaving = 3
    };

    struct Item
    {
        QString title;
        QString text;
        QString avatarUrl;
        QString avatarId;
        int avatarKind = 1;
    };

    explicit NotificationManager(QWidget* parent);

    // Queues a notification and starts the strip when it is idle.
    void addNotification(const Item& item);
    int getState() const { return state; }
    int queued() const { return queue.size(); }
    NotificationWidget* widget() const { return notification; }

public slots:
    void showNotification();
    void enterAnimationFinished();
    void exitAnimationFinished();

private:
    QRect shownGeometry() const;
    QRect hiddenGeometry() const;
    void startEnter();
    void startExit();

    QList<Item> queue;
    int state = Idle;
    QGraphicsOpacityEffect* effect;
    NotificationWidget* notification;
};

#endif // NOTIFICATIONMANAGER_H
