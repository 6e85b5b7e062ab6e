#ifndef CHATRECIPIENT_H
#define CHATRECIPIENT_H

#include "Managers/Contact/contact.h"
#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QMetaType>

// One entry of the one-to-one chat list: the partner, the chat's newest
// message and its unread count.
class QUORVELCORE_EXPORT ChatRecipient
{
public:
    ChatRecipient() = default;
    ChatRecipient(const ChatRecipient& other) = default;
    ChatRecipient& operator=(const ChatRecipient& other) = default;
    ~ChatRecipient() = default;

    Contact getContact() const { return contact; }
    void setContact(const Contact& value) { contact = value; }
    Message getLastMsg() const { return lastMsg; }
    void setLastMsg(const Message& value) { lastMsg = value; }
    int getUnreadCount() const { return unreadCount; }
    void setUnreadCount(int value) { unreadCount = value; }
    void increaseUnreadCount() { ++unreadCount; }

private:
    Contact contact;
    Message lastMsg;
    int unreadCount = 0;
};

Q_DECLARE_METATYPE(ChatRecipient)

#endif // CHATRECIPIENT_H
