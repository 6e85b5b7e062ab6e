#include "model/notificationmessage.h"

NotificationMessage::NotificationMessage()
{
    message.clear();
}

NotificationMessage::NotificationMessage(const NotificationMessage& other)
{
    fromOtherNotificationMessage(other);
}

NotificationMessage& NotificationMessage::operator=(const NotificationMessage& other)
{
    if (this != &other)
        fromOtherNotificationMessage(other);
    return *this;
}

void NotificationMessage::fromOtherNotificationMessage(const NotificationMessage& other)
{
    message = other.message;
    avThUrl = other.avThUrl;
    title = other.title;
}

void NotificationMessage::clear()
{
    message.clear();
    avThUrl.clear();
    title.clear();
}
