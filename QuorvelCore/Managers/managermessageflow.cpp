// The Manager's message routing: sending, receiving, state changes, seen
// receipts, mute updates and the chat list.

#include "Managers/Channel/channelmanager.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Chat/chatrecipient.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "foundation/datetime.h"
#include "foundation/globalconstants.h"
#include "foundation/htmlmanager.h"
#include "foundation/messagebreaker.h"
#include "model/editmessage.h"
#include "model/seenmessage.h"

#include <QDebug>
#include <algorithm>

void Manager::respondSendMessage(const Message& message)
{
    qDebug() << "Manager::respondSendMessage | " << message.toDBJson();
    if (!message.isValidForSending())
        return;
    const QList<Message> parts = MessageBreaker::breakBigMessage(message);
    qDebug() << "Manager::respondSendMessage | " << parts.size();
    for (const Message& part : parts)
        sendSingleMessage(part);
}

void Manager::sendSingleMessage(Message msg)
{
    switch (msg.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect: {
        const bool sent = xmppManager->sendMessage(&msg);
        qDebug() << "Manager::sendSingleMessage | " << msg.getMessageId();
        outgoingMessage(msg, sent);
        break;
    }
    case MessageBase::MsgMajorType_GroupChat:
        xmppManager->sendMessage(&msg);
        outgoingMessage(msg, false);
        break;
    case MessageBase::MsgMajorType_ChannelChat:
        channelManager->sendMessage(&msg);
        outgoingMessage(msg, false);
        break;
    default:
        break;
    }
}

void Manager::outgoingMessage(Message msg, bool)
{
    msg.setState(MessageBase::MsgState_NotSent);
    switch (msg.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        chatManager->addMessagePair(msg);
        break;
    case MessageBase::MsgMajorType_GroupChat:
        groupManager->addMessagePair(msg, false, true);
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        channelManager->addMessage(msg, false);
        respondMessageAdded(msg);
        break;
    case MessageBase::MsgMajorType_ControlMessage:
        break;
    default:
        respondMessageAdded(msg);
        break;
    }
}

void Manager::incommingMessage(Message msg)
{
    msg.setState(MessageBase::MsgState_Delivered);
    switch (msg.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        qDebug() << "Manager::incommingMessage | !msg.isReply | "
                 << MessageBase::toString(msg.getState());
        if (chatManager->addMessagePair(msg))
            contactManager->sendNotification(msg);
        break;
    case MessageBase::MsgMajorType_GroupChat:
        if (msg.getUserId() == GlobalConstants::getUserName())
            msg.setState(MessageBase::MsgState_Seen);
        groupManager->addMessagePair(msg, true, true);
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        channelManager->addMessagePair(msg);
        channelManager->sendNotification(msg);
        break;
    case MessageBase::MsgMajorType_ControlMessage:
        processControlMsg(msg);
        break;
    default:
        break;
    }
}

void Manager::processControlMsg(const Message& msg)
{
    switch (msg.getMinorType()) {
    case MessageBase::MsgMinorType_Seen:
        chatManager->processControlMessage(msg);
        break;
    case MessageBase::MsgMinorType_UpdateConversationMuteStatus:
        qDebug() << "Manager::processControlMsg | MsgMinorType_UpdateConversationMuteStatus"
                 << msg.getConversationMuteStatusUpdate().toJson();
        processMuteStatusUpdateMessage(msg.getConversationMuteStatusUpdate());
        break;
    case MessageBase::MsgMinorType_EditMessage:
        chatManager->processControlMessage(msg);
        groupManager->processControlMessage(msg);
        break;
    case MessageBase::MsgMinorType_ChannelMessageEdited:
        channelManager->processControlMessage(msg);
        break;
    default:
        groupManager->processControlMessage(msg);
        break;
    }
}

void Manager::processSentControlMessages(const Message& msg)
{
    if (msg.getMinorType() != MessageBase::MsgMinorType_EditMessage)
        return;
    qDebug() << "Manager::processSentControlMessages | MessageBase::MsgMinorType_EditMessage";
    // The user's own edit still carries the text as the GUI shows it; a
    // received edit carries plain text. Bring it to plain text first, so the
    // edit is applied, and converted for display, exactly once.
    Message own = msg;
    EditMessage edit = own.getEditMessage();
    edit.setEditedText(HtmlManager::replaceHtmlTags(edit.getEditedText()));
    own.addToOtherFields(edit.toJson());
    processControlMsg(own);
}

void Manager::processMuteStatusUpdateMessage(const ConversationMuteStatusUpdate& update)
{
    if (update.isEmpty())
        return;
    const QString id = update.getConversationId();
    const bool mute = update.getMuteStatus();
    switch (update.getConversationType()) {
    case ConversationType::USER:
        qDebug() << "Manager::processMuteStatusUpdateMessage | " << id << mute;
        contactManager->setContactMute(id, mute);
        break;
    case ConversationType::GROUP: {
        GroupInfo info;
        info.setJid(id);
        info.setMute(mute);
        groupManager->updateMute(info);
        groupManager->respondGroupGetData(id);
        break;
    }
    case ConversationType::CHANNEL: {
        ChannelInfo info;
        info.setId(id);
        info.setMute(mute);
        channelManager->changeMuteStatus(info);
        channelManager->respondChannelData(id);
        break;
    }
    default:
        break;
    }
}

void Manager::sendConversationMuteStatusChange(ConversationType::Type type,
                                               const QString& conversationId, bool mute)
{
    ConversationMuteStatusUpdate update;
    update.setConversationType(type);
    update.setConversationId(conversationId);
    update.setMuteStatus(mute);
    update.setUpdateTimestamp(DateTime::getDateTimeInMSecs());
    Message message;
    message.setConversationMuteStatusChange(update);
    // The change goes to the user's own other devices: it is addressed to the
    // user's own id.
    message.setChatId(userName);
    qDebug() << "Manager::sendConversationMuteStatusChange | " << message.toJson();
    xmppManager->sendMessage(&message);
}

void Manager::messageSent(Message msg)
{
    const QString chatId = msg.getChatId();
    const QString messageId = msg.getMessageId();
    switch (msg.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        chatManager->setMessageSentTime(msg);
        if (!chatManager->changeMessageState(chatId, messageId, MessageBase::MsgState_Sent)
                 .isEmpty())
            respondMessageStateChange(chatId, messageId, MessageBase::MsgState_Sent);
        break;
    case MessageBase::MsgMajorType_GroupChat:
        groupManager->setMessageSentTime(msg);
        if (!groupManager->changeMessageStatesToSeen(chatId, {messageId}).isEmpty())
            respondMessageStateChange(chatId, messageId, MessageBase::MsgState_Seen);
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        if (!channelManager->changeMessageStatesToSeen(chatId, {messageId}).isEmpty())
            respondMessageStateChange(chatId, messageId, MessageBase::MsgState_Seen);
        break;
    case MessageBase::MsgMajorType_ControlMessage:
        processSentControlMessages(msg);
        break;
    default:
        break;
    }
}

void Manager::messageDelivered(const QString& jid, const QString& mid)
{
    if (!chatManager->changeMessageState(jid, mid, MessageBase::MsgState_Delivered).isEmpty())
        respondMessageStateChange(jid, mid, MessageBase::MsgState_Delivered);
}

void Manager::respondSendSeen(const QString& chatId)
{
    qDebug() << "Manager::respondSendSeen" << chatId;
    Message last;
    if (chatManager->contains(chatId)) {
        if (chatManager->getLastMsg(chatId, &last) && last.getUserId() != userName) {
            QStringList ids = chatManager->changeMessageState(chatId, last.getMessageId(),
                                                              MessageBase::MsgState_Seen);
            if (ids.isEmpty())
                ids << last.getMessageId();
            SeenMessage seen;
            seen.setSeenVariables(chatId, last.getMessageId(), ids);
            Message receipt;
            receipt.setSeenMessage(seen);
            xmppManager->sendMessage(&receipt);
        }
        chatManager->callMessageArchive(chatId);
    } else if (groupManager->contains(chatId)) {
        if (groupManager->getLastMessage(chatId, &last) && last.getUserId() != userName)
            groupManager->changeMessageState(chatId, last.getMessageId(),
                                             MessageBase::MsgState_Seen);
    } else if (channelManager->contains(chatId)) {
        channelManager->resetUnreadCount(chatId);
        if (channelManager->getLastMessage(chatId, &last) && last.getUserId() != userName)
            channelManager->changeMessageState(chatId, last.getMessageId(),
                                               MessageBase::MsgState_Seen);
    }
}

void Manager::respondMessageEdited(const QVariant& value)
{
    Message message = value.value<Message>();
    qDebug() << "Manager::respondMessageEdited | " << message.getGroupControlMessage()
             << message.toJson();
    xmppManager->sendMessage(&message);
}

void Manager::respondSetFilePathForFileMessage(const QVariant& value)
{
    const Message msg = value.value<Message>();
    switch (msg.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        chatManager->setFilePathForMessage(msg);
        break;
    case MessageBase::MsgMajorType_GroupChat:
        groupManager->setFilePathForMessage(msg);
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        channelManager->setFilePathForMessage(msg);
        break;
    default:
        break;
    }
}

void Manager::notification(NotificationMessage msg)
{
    if (!GlobalConstants::getMainSettings().getNotificationsEnabled())
        return;
    Message* message = msg.getMessageRef();
    message->setMessageBody(HtmlManager::toPlainText(message->getMessageBody()));
    qDebug() << "Manager::notification | " << message->toJson();
    answer(CMD_Notification, QVariant::fromValue(msg));
}

QList<ChatRecipient> Manager::getChatRecipients()
{
    QList<ChatRecipient> recipients;
    for (const QString& number : chatManager->getRecipientsSorted()) {
        ChatRecipient recipient;
        Contact contact;
        if (!contactManager->getContact(number, &contact))
            contact.setNumber(number);
        recipient.setContact(contact);
        Message last;
        if (chatManager->getLastMsg(number, &last)) {
            recipient.setLastMsg(last);
            recipient.setUnreadCount(chatManager->getUnreadCount(number));
            qDebug() << "Manager::getChatRecipients() | " << number << recipient.getUnreadCount();
        }
        recipients.append(recipient);
    }
    return recipients;
}

void Manager::respondGetChatRecipients()
{
    answer(CMD_GetChatRecipients, QVariant::fromValue(getChatRecipients()));
}

QList<ChatWidgetData> Manager::createAndSortChatData(const QList<ChatRecipient>& chats,
                                                     const QList<GroupInfo>& groups)
{
    QList<ChatWidgetData> data;
    for (const ChatRecipient& chat : chats)
        data.append(ChatWidgetData(chat));
    for (const GroupInfo& group : groups)
        data.append(ChatWidgetData(group));
    std::sort(data.begin(), data.end());
    return data;
}

void Manager::respondChatsData()
{
    answer(CMD_ChatsData, QVariant::fromValue(createAndSortChatData(
                              getChatRecipients(), groupManager->getGroupListSorted())));
}

void Manager::recipientAdded(const QString& number)
{
    Contact contact;
    if (!contactManager->getChatRecipientProfile(number, &contact))
        contact.setNumber(number);
    respondChatRecipientAdded(contact);
}

void Manager::chatRecipientData(const Contact& contact)
{
    qDebug() << "Manager::chatRecipientData | ";
    respondChatRecipientAdded(contact);
}

void Manager::respondChatRecipientAdded(const Contact& contact)
{
    ChatRecipient recipient;
    recipient.setContact(contact);
    Message last;
    chatManager->getLastMsg(contact.getNumber(), &last);
    recipient.setLastMsg(last);
    recipient.setUnreadCount(chatManager->getUnreadCount(contact.getNumber()));
    answer(CMD_ChatRecipientAdded, QVariant::fromValue(recipient));
}
