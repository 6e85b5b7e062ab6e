#ifndef TRAYNOTIFIER_H
#define TRAYNOTIFIER_H

#include "model/notificationmessage.h"

#include <QObject>

class QSystemTrayIcon;

// The notification-area icon and its balloons for incoming messages. A
// balloon's title and text come from other users, so both are shown as
// plain text whatever the notification service would make of markup.
class TrayNotifier : public QObject
{
    Q_OBJECT
public:
    explicit TrayNotifier(QObject* parent = nullptr);

    // The balloon text for a message; empty when previews are switched off.
    static QString previewText(const NotificationMessage& n, bool previewEnabled);
    // The text with nothing a markup reader could take as a tag or an
    // entity: a word joiner follows every '<' and '&'.
    static QString plainBalloonText(const QString& text);

    void showNotification(const NotificationMessage& n);
    QSystemTrayIcon* icon() const { return trayIcon; }

signals:
    // The balloon as it was handed to the notification area.
    void balloonShown(QString title, QString text);

private:
    QSystemTrayIcon* trayIcon;
};

#endif // TRAYNOTIFIER_H
