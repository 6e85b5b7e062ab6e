#ifndef CHANNELMESSAGECONDITION_H
#define CHANNELMESSAGECONDITION_H

#include "foundation/quorvelcore_export.h"
#include "model/messagecondition.h"

#include <QMetaType>
#include <QString>

// The publication condition of one channel post: the payload of the message
// condition command.
class QUORVELCORE_EXPORT ChannelMessageCondition
{
public:
    ChannelMessageCondition() = default;
    ChannelMessageCondition(const QString& channelId, const QString& messageId,
                            MessageCondition::Condition condition)
        : channelId(channelId), messageId(messageId), condition(condition)
    {
    }

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    MessageCondition::Condition getCondition() const { return condition; }
    void setCondition(MessageCondition::Condition value) { condition = value; }

    void clear()
    {
        channelId.clear();
        messageId.clear();
    }
    bool isEmpty() const { return channelId.isEmpty() || messageId.isEmpty(); }

    bool operator==(const ChannelMessageCondition& other) const
    {
        return channelId == other.channelId && messageId == other.messageId &&
               condition == other.condition;
    }

private:
    QString channelId;
    QString messageId;
    MessageCondition::Condition condition = MessageCondition::DRAFT;
};

Q_DECLARE_METATYPE(ChannelMessageCondition)

#endif // CHANNELMESSAGECONDITION_H
