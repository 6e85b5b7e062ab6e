#ifndef MESSAGEPAIR_H
#define MESSAGEPAIR_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QMetaType>

// A message together with the message it answers (empty when it answers none, or when the
// answered message is not at hand).
class QUORVELCORE_EXPORT MessagePair
{
public:
    MessagePair() = default;
    MessagePair(const MessagePair& other) = default;
    MessagePair& operator=(const MessagePair& other) = default;

    void fromPair(const MessagePair& other);

    Message getMessage() const { return message; }
    void setMessage(const Message& value) { message = value; }
    Message getReplyMessage() const { return replyMessage; }
    void setReplyMessage(const Message& value) { replyMessage = value; }
    Message* getReplyMessagePointer() { return &replyMessage; }

    QString getChatId() const { return message.getChatId(); }
    MessageBase::MsgMajorType getMajorType() const { return message.getMajorType(); }
    qint64 getSendTimeInGMT() const { return message.getSendTimeInGMT(); }
    QString getUserId() const { return message.getUserId(); }
    bool isMessageAReply() const { return message.isReply(); }

    bool isValid() const { return message.isValid(); }
    bool isReplyMessageValid() const { return replyMessage.isValid(); }
    bool isReplyAvailable() const { return message.isReply() && replyMessage.isValid(); }

private:
    Message message;
    Message replyMessage;
};

Q_DECLARE_METATYPE(MessagePair)

#endif // MESSAGEPAIR_H
