#ifndef TRAYNOTIFIER_H
#define TRAYNOTIFIER_H

#include "model/notificationmessage.h"

#include <QObject>

class NotificationManager;
class QSystemTrayIcon;
class QWidget;

// The notification-area icon and its balloons for incoming messages. A
// balloon's title and text come from other users, so both are shown as
// plain text whatever the notification service would make of markup. On a
// desktop without a notification area the same notifications go to the
// window's own queue (a strip that slides in at its top) instead of being lost.
class TrayNotifier : public QObject
{
    Q_OBJECT
public:
    // window: where the in-window queue appears when there is no tray.
    explicit TrayNotifier(QWidget* window);

    // The balloon text for a message; empty when previews are switched off.
    static QString previewText(const NotificationMessage& n, bool previewEnabled);
    // The text with nothing a markup reader could take as a tag or an
    // entity: a word joiner follows every '<' and '&'.
    static QString plainBalloonText(const QString& text);

    void showNotification(const NotificationMessage& n);
    // Null on a desktop without a notification area.
    QSystemTrayIcon* icon() const { return trayIcon; }
    // The in-window queue, made at its first notification; null until then.
    NotificationManager* windowQueue() const { return queue; }

signals:
    // The balloon as it was handed to the notification area.
    void balloonShown(QString title, QString text);

private:
    QWidget* window;
    QSystemTrayIcon* trayIcon = nullptr;
    NotificationManager* queue = nullptr;
};

#endif // TRAYNOTIFIER_H
