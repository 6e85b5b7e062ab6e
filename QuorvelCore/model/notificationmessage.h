#ifndef NOTIFICATIONMESSAGE_H
#define NOTIFICATIONMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QMetaType>
#include <QString>

// What a desktop notification shows: the message, the title and the avatar thumbnail of the
// sender or conversation.
class QUORVELCORE_EXPORT NotificationMessage
{
public:
    NotificationMessage();
    NotificationMessage(const NotificationMessage& other);
    NotificationMessage& operator=(const NotificationMessage& other);

    void fromOtherNotificationMessage(const NotificationMessage& other);
    void clear();

    Message getMessage() const { return message; }
    void setMessage(const Message& value) { message = value; }
    Message* getMessageRef() { return &message; }
    QString getTitle() const { return title; }
    void setTitle(const QString& value) { title = value; }
    QString getAvThUrl() const { return avThUrl; }
    void setAvThUrl(const QString& value) { avThUrl = value; }

    bool isEmpty() const { return title.isEmpty() || message.isEmpty(); }
    bool isValid() const { return !title.isEmpty() && !message.isEmpty(); }

private:
    Message message;
    QString avThUrl;
    QString title;
};

Q_DECLARE_METATYPE(NotificationMessage)

#endif // NOTIFICATIONMESSAGE_H
