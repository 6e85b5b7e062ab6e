#include "Managers/Chat/chatwidgetdata.h"

ChatWidgetData::ChatWidgetData(const ChatRecipient& recipient)
{
    fromChatRecipient(recipient);
}

ChatWidgetData::ChatWidgetData(const GroupInfo& groupInfo)
{
    fromGroupInfo(groupInfo);
}

void ChatWidgetData::fromChatRecipient(const ChatRecipient& value)
{
    type = MessageBase::MsgMajorType_SimpleChat;
    recipient = value;
}

void ChatWidgetData::fromGroupInfo(const GroupInfo& value)
{
    type = MessageBase::MsgMajorType_GroupChat;
    groupInfo = value;
}

qint64 ChatWidgetData::getLastActivity() const
{
    switch (type) {
    case MessageBase::MsgMajorType_SimpleChat:
        return recipient.getLastMsg().getSendTimeInGMT();
    case MessageBase::MsgMajorType_GroupChat:
        return groupInfo.getLastMessage().getSendTimeInGMT();
    default:
        return 0;
    }
}

bool ChatWidgetData::operator<(const ChatWidgetData& other) const
{
    return getLastActivity() < other.getLastActivity();
}

bool ChatWidgetData::operator>(const ChatWidgetData& other) const
{
    return getLastActivity() > other.getLastActivity();
}
