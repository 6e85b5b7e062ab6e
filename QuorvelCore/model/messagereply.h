#ifndef MESSAGEREPLY_H
#define MESSAGEREPLY_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"
#include "model/messagerequest.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>

// The answer to a MessageRequest: a page of messages, newest first, with the
// messages that the page's replies refer to.
class QUORVELCORE_EXPORT MessageReply
{
public:
    MessageReply() = default;
    MessageReply(const MessageReply& other) = default;
    MessageReply& operator=(const MessageReply& other) = default;

    void setAll(const MessageReply& other) { *this = other; }

    void addReplyMessage(const Message& message);
    bool getReplyMessage(const QString& messageId, Message* out) const;

    // Ordered by send time, newest first.
    static QList<Message> sortMessages(const QList<Message>& messages);
    // Indices in descending order of time.
    static QList<int> sortTimes(const QHash<int, qint64>& times);
    // Sorts; a request number of 0 becomes the number of messages; keeps the
    // newest number messages.
    void sortAndSetMessages(const QList<Message>& messages);

    MessageBase::MsgMajorType getType() const { return type; }
    void setType(MessageBase::MsgMajorType value) { type = value; }
    void setType(int value) { type = static_cast<MessageBase::MsgMajorType>(value); }
    MessageRequest getRequest() const { return request; }
    void setRequest(const MessageRequest& value) { request = value; }
    QList<Message> getMsgs() const { return msgs; }
    void setMsgs(const QList<Message>& value) { msgs = value; }
    QHash<QString, Message> getReplyMessages() const { return replyMessages; }
    void setReplyMessages(const QHash<QString, Message>& value) { replyMessages = value; }

private:
    MessageBase::MsgMajorType type = MessageBase::MsgMajorType_None;
    MessageRequest request;
    QList<Message> msgs;
    QHash<QString, Message> replyMessages;
};

Q_DECLARE_METATYPE(MessageReply)

#endif // MESSAGEREPLY_H
