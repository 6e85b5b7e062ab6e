#ifndef MESSAGEREQUEST_H
#define MESSAGEREQUEST_H

#include "foundation/quorvelcore_export.h"
#include "model/messagebase.h"

#include <QMetaType>
#include <QString>

// A page of a conversation's history asked for by a chat window: number
// messages before messageId (the newest page when messageId is empty).
class QUORVELCORE_EXPORT MessageRequest
{
public:
    MessageRequest() = default;
    MessageRequest(const QString& chatId, const QString& messageId, int number,
                   MessageBase::MsgMajorType chatType)
        : chatId(chatId), messageId(messageId), number(number), chatType(chatType)
    {
    }

    void setAll(const MessageRequest& other) { *this = other; }
    void clear() { chatId.clear(); }
    bool isEmpty() const { return chatId.isEmpty(); }
    // The chat type is not compared.
    bool isEqual(const MessageRequest& other) const;
    bool operator==(const MessageRequest& other) const { return isEqual(other); }
    bool operator!=(const MessageRequest& other) const { return !isEqual(other); }

    QString getChatId() const { return chatId; }
    void setChatId(const QString& value) { chatId = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    int getNumber() const { return number; }
    void setNumber(int value) { number = value; }
    MessageBase::MsgMajorType getChatType() const { return chatType; }
    void setChatType(MessageBase::MsgMajorType value) { chatType = value; }

private:
    QString chatId;
    QString messageId;
    int number = 0;
    MessageBase::MsgMajorType chatType = MessageBase::MsgMajorType_None;
};

Q_DECLARE_METATYPE(MessageRequest)

#endif // MESSAGEREQUEST_H
