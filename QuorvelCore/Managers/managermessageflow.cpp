// The Manager's message routing: sending, receiving, state changes, seen
// receipts, mute updates and the chat list.

#include "Managers/Channel/channelmanager.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Chat/chatrecipient.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "foundation/database.h"
#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "model/editmessage.h"
#include "model/globalconstants.h"
#include "model/messagebreaker.h"
#include "model/messagestate.h"
#include "model/seenmessage.h"

#include <algorithm>

void Manager::addMessageCommands(CommandTable* table)
{
    table->insert(CMD_ChatsData, [](Manager& m, const QVariant&) { m.respondChatsData(); });
    table->insert(CMD_GetChatRecipients,
                  [](Manager& m, const QVariant&) { m.respondGetChatRecipients(); });
    table->insert(CMD_SendMessage, [](Manager& m, const QVariant& in) {
        m.respondSendMessage(in.value<Message>());
    });
    table->insert(CMD_SendSeen,
                  [](Manager& m, const QVariant& in) { m.respondSendSeen(toString(in)); });
    table->insert(CMD_GetChatMessages, [](Manager& m, const QVariant& in) {
        m.chatManager->answerHistory(in.value<MessageRequest>());
    });
    table->insert(CMD_DeleteChat, [](Manager& m, const QVariant& in) {
        const QString chatId = toString(in);
        if (m.chatManager->deleteChat(chatId))
            m.answer(CMD_DeleteChat, chatId);
    });
    table->insert(CMD_SetFilePathForFileMessage, [](Manager& m, const QVariant& in) {
        const Message message = in.value<Message>();
        if (ConversationKeeper* keeper = m.keeperOf(message.getMajorType()))
            keeper->setFilePath(message);
    });
    table->insert(CMD_MessageEdited,
                  [](Manager& m, const QVariant& in) { m.respondMessageEdited(in); });
}

// ---- The keeper of each kind of conversation ----

ConversationKeeper* Manager::keeperOf(MessageBase::MsgMajorType type) const
{
    switch (type) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        return chatManager;
    case MessageBase::MsgMajorType_GroupChat:
        return groupManager;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        return channelManager;
    default:
        return nullptr;
    }
}

ConversationKeeper* Manager::keeperOf(ConversationType::Type type) const
{
    static const QHash<int, MessageBase::MsgMajorType> kinds{
        {ConversationType::USER, MessageBase::MsgMajorType_SimpleChat},
        {ConversationType::GROUP, MessageBase::MsgMajorType_GroupChat},
        {ConversationType::CHANNEL, MessageBase::MsgMajorType_ChannelChat}};
    return keeperOf(kinds.value(type, MessageBase::MsgMajorType_None));
}

QList<ConversationKeeper*> Manager::keepers() const
{
    return {chatManager, groupManager, channelManager};
}

// ---- Sending ----

void Manager::respondSendMessage(const Message& message)
{
    if (!message.isValidForSending())
        return;
    const QList<Message> parts = MessageBreaker::breakBigMessage(message);
    L_DEBUG(QStringLiteral("Manager::respondSendMessage | %1 parts").arg(parts.size()));
    for (const Message& part : parts)
        sendSingleMessage(part);
}

void Manager::sendSingleMessage(Message msg)
{
    // Replies to channel messages are written by the channel's members on
    // other clients; this one only receives them.
    ConversationKeeper* keeper = keeperOf(msg.getMajorType());
    if (!keeper || msg.getMajorType() == MessageBase::MsgMajorType_ChannelChatReply)
        return;
    // The message has its id, author and time before it is stored, so the
    // stored copy and the one that travels are the same message.
    msg.setUserId(getUserName());
    if (msg.getMessageId().isEmpty())
        msg.generateMessageId();
    msg.setSendTimeToCurrentTime();
    msg.setState(MessageBase::MsgState_NotSent);
    if (!keeper->storeOwnMessage(msg))
        return;
    if (!keeper->postOwnMessage(msg))
        xmppManager->sendMessage(&msg);
    L_DEBUG(QStringLiteral("Manager::sendSingleMessage | ") + msg.getMessageId());
}

// ---- Receiving ----

void Manager::incommingMessage(Message msg)
{
    // The stream counts the message as handled, and its sender hears it was
    // delivered, only when everything it changed reached the disk.
    const quint64 failedBefore = DataBase::writeFailures();
    if (msg.isControlMessage()) {
        processControlMsg(msg);
    } else {
        msg.setState(MessageBase::MsgState_Delivered);
        if (ConversationKeeper* keeper = keeperOf(msg.getMajorType()))
            keeper->storeArrivedMessage(msg);
    }
    if (DataBase::writeFailures() != failedBefore)
        xmppManager->arrivalNotKept(msg);
}

void Manager::processControlMsg(const Message& msg)
{
    if (msg.getMinorType() == MessageBase::MsgMinorType_UpdateConversationMuteStatus) {
        // Only the user's own account (another device, or the copy of this
        // device's own change) decides what the user has muted.
        const QString self = getUserName();
        if (self.isEmpty() || msg.getUserId() != self) {
            L_WARN(QStringLiteral("Manager::processControlMsg | mute update from another "
                                  "account ignored"));
            return;
        }
        if (sentMuteUpdates.remove(msg.getMessageId())) {
            L_DEBUG(QStringLiteral("Manager::processControlMsg | own mute update came back"));
            return;
        }
        processMuteStatusUpdateMessage(msg.getConversationMuteStatusUpdate());
        return;
    }
    for (ConversationKeeper* keeper : keepers())
        keeper->applyControlMessage(msg);
}

void Manager::processSentControlMessages(const Message& msg)
{
    if (msg.getMinorType() != MessageBase::MsgMinorType_EditMessage)
        return;
    // The user's own edit still carries the text as the GUI shows it; a
    // received edit carries plain text. Bring it to plain text first, so the
    // edit is applied, and converted for display, exactly once.
    Message own = msg;
    EditMessage edit = own.getEditMessage();
    edit.setEditedText(HtmlManager::toPlainText(edit.getEditedText()));
    own.addToOtherFields(edit.toJson());
    processControlMsg(own);
}

void Manager::processMuteStatusUpdateMessage(const ConversationMuteStatusUpdate& update)
{
    if (update.isEmpty())
        return;
    if (ConversationKeeper* keeper = keeperOf(update.getConversationType()))
        keeper->applyMuteUpdate(update.getConversationId(), update.getMuteStatus());
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
    message.setChatId(getUserName());
    // Sending gives the message its id; the server's copy comes back with it.
    xmppManager->sendMessage(&message);
    sentMuteUpdates.insert(message.getMessageId());
}

// ---- State changes ----

void Manager::messageSent(Message msg)
{
    if (msg.isControlMessage()) {
        processSentControlMessages(msg);
        return;
    }
    ConversationKeeper* keeper = keeperOf(msg.getMajorType());
    if (!keeper)
        return;
    const MessageBase::MsgState state = keeper->confirmSent(msg);
    if (state != MessageBase::MsgState_Draft)
        respondMessageStateChange(msg.getChatId(), msg.getMessageId(), state);
}

void Manager::messageDelivered(const QString& jid, const QString& mid)
{
    if (!chatManager->changeMessageState(jid, mid, MessageBase::MsgState_Delivered).isEmpty())
        respondMessageStateChange(jid, mid, MessageBase::MsgState_Delivered);
}

void Manager::respondSendSeen(const QString& chatId)
{
    for (ConversationKeeper* keeper : keepers()) {
        if (!keeper->keepsConversation(chatId))
            continue;
        SeenMessage seen;
        if (keeper->markSeen(chatId, &seen)) {
            Message receipt;
            receipt.setSeenMessage(seen);
            xmppManager->sendMessage(&receipt);
        }
        return;
    }
}

void Manager::respondMessageStateChange(const QString& chatId, const QString& messageId,
                                        MessageBase::MsgState state)
{
    answer(CMD_MessageStateChange, QVariant::fromValue(MessageState(chatId, messageId, state)));
}

void Manager::respondMessageEdited(const QVariant& value)
{
    Message message = value.value<Message>();
    L_DEBUG(QStringLiteral("Manager::respondMessageEdited | ") + message.getMessageId());
    xmppManager->sendMessage(&message);
}

void Manager::notification(NotificationMessage msg)
{
    if (!GlobalConstants::getMainSettings().getNotificationsEnabled())
        return;
    Message* message = msg.getMessageRef();
    message->setMessageBody(HtmlManager::toPlainText(message->getMessageBody()));
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
