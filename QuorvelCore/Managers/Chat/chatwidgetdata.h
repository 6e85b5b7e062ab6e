#ifndef CHATWIDGETDATA_H
#define CHATWIDGETDATA_H

#include "Managers/Chat/chatrecipient.h"
#include "foundation/quorvelcore_export.h"
#include "model/groupinfo.h"
#include "model/messagebase.h"

#include <QMetaType>

// One entry of the merged chat list: a one-to-one chat or a group, ordered by the send time
// of its last message.
class QUORVELCORE_EXPORT ChatWidgetData
{
public:
    ChatWidgetData() = default;
    explicit ChatWidgetData(const ChatRecipient& recipient);
    explicit ChatWidgetData(const GroupInfo& groupInfo);
    ChatWidgetData(const ChatWidgetData& other) = default;
    ChatWidgetData& operator=(const ChatWidgetData& other) = default;

    void fromChatRecipient(const ChatRecipient& value);
    void fromGroupInfo(const GroupInfo& value);

    MessageBase::MsgMajorType getType() const { return type; }
    void setType(MessageBase::MsgMajorType value) { type = value; }
    ChatRecipient getRecipient() const { return recipient; }
    void setRecipient(const ChatRecipient& value) { recipient = value; }
    GroupInfo getGroupInfo() const { return groupInfo; }
    void setGroupInfo(const GroupInfo& value) { groupInfo = value; }

    // Send time in GMT (milliseconds) of the entry's last message; 0 for neither kind.
    qint64 getLastActivity() const;
    bool operator<(const ChatWidgetData& other) const;
    bool operator>(const ChatWidgetData& other) const;

private:
    MessageBase::MsgMajorType type = MessageBase::MsgMajorType_None;
    ChatRecipient recipient;
    GroupInfo groupInfo;
};

Q_DECLARE_METATYPE(ChatWidgetData)

#endif // CHATWIDGETDATA_H
