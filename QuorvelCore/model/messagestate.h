#ifndef MESSAGESTATE_H
#define MESSAGESTATE_H

#include "foundation/quorvelcore_export.h"
#include "model/messagebase.h"

#include <QMetaType>
#include <QString>

// A message's new delivery state: the payload of the state-change answer. A
// message left not sent carries why (none while it waits to go out).
class QUORVELCORE_EXPORT MessageState
{
public:
    MessageState() = default;
    MessageState(const QString& chatId, const QString& messageId, MessageBase::MsgState state,
                 MessageBase::SendFailure failure = MessageBase::SendFailure_None)
        : chatId(chatId), messageId(messageId), state(state), failure(failure)
    {
    }

    void setAll(const MessageState& other) { *this = other; }

    QString getChatId() const { return chatId; }
    void setChatId(const QString& value) { chatId = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    MessageBase::MsgState getState() const { return state; }
    void setState(MessageBase::MsgState value) { state = value; }
    MessageBase::SendFailure getFailure() const { return failure; }
    void setFailure(MessageBase::SendFailure value) { failure = value; }

    bool operator==(const MessageState& other) const
    {
        return chatId == other.chatId && messageId == other.messageId && state == other.state &&
               failure == other.failure;
    }

private:
    QString chatId;
    QString messageId;
    MessageBase::MsgState state = MessageBase::MsgState_Draft;
    MessageBase::SendFailure failure = MessageBase::SendFailure_None;
};

Q_DECLARE_METATYPE(MessageState)

#endif // MESSAGESTATE_H
