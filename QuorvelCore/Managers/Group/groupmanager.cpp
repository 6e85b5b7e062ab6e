#include "Managers/Group/groupmanager.h"

#include "foundation/globalconstants.h"

GroupManager::GroupManager(QObject* parent) : AbstractManager(parent) {}

void GroupManager::startLoading()
{
    emit loadingFinished();
}

bool GroupManager::storeOwnMessage(const Message& message)
{
    return addMessagePair(message, false, true);
}

bool GroupManager::storeArrivedMessage(const Message& message)
{
    Message arrived = message;
    // The user's own message from another device is already read.
    if (arrived.getUserId() == GlobalConstants::getUserName())
        arrived.setState(MessageBase::MsgState_Seen);
    return addMessagePair(arrived, true, true);
}

void GroupManager::answerHistory(const MessageRequest& request)
{
    // Requests that name no kind of conversation are not answered.
    if (request.getChatType() < 1 || request.getChatType() > 5)
        return;
    MessageReply reply;
    reply.setRequest(request);
    respondGetMessages(request, &reply);
    emit commandResponse(CMD_GetGroupMessages, QVariant::fromValue(reply));
}

MessageBase::MsgState GroupManager::confirmSent(const Message& message)
{
    setMessageSentTime(message);
    if (changeMessageStatesToSeen(message.getChatId(), {message.getMessageId()}).isEmpty())
        return MessageBase::MsgState_Draft;
    return MessageBase::MsgState_Seen;
}

bool GroupManager::markSeen(const QString& id, SeenMessage*)
{
    Message last;
    if (getLastMessage(id, &last) && last.getUserId() != userName)
        changeMessageState(id, last.getMessageId(), MessageBase::MsgState_Seen);
    return false;
}

void GroupManager::applyMuteUpdate(const QString& id, bool mute)
{
    GroupInfo info;
    info.setJid(id);
    info.setMute(mute);
    updateMute(info);
    respondGroupGetData(id);
}
