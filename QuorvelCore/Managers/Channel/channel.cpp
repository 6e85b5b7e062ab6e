#include "Managers/Channel/channel.h"

void Channel::initChat(Chat::ChatMode mode)
{
    store = std::make_shared<Store>();
    store->mode = mode;
    store->chat.setUserIdentity(identity);
}

Chat* Channel::chat()
{
    if (!store)
        return nullptr;
    if (!store->opened) {
        store->opened = true;
        store->chat.setChatId(info.getId(), store->mode);
    }
    return &store->chat;
}

void Channel::refreshMessagingFields()
{
    Chat* messages = chat();
    if (!messages)
        return;
    Message last;
    if (messages->getLastMessage(&last))
        info.setLastMessage(last);
    info.setUnreadCount(messages->getUnreadCount());
}

ChannelInfo Channel::getInfoWLastMsg()
{
    refreshMessagingFields();
    return info;
}

void Channel::setMessagingFields(const Channel& other)
{
    info.setLastMessage(other.info.getLastMessage());
    info.setUnreadCount(other.info.getUnreadCount());
}

void Channel::updateLastMessage()
{
    Message last;
    if (getLastMessage(&last))
        info.setLastMessage(last);
}

bool Channel::getLastMessage(Message* out)
{
    Chat* messages = chat();
    return messages && messages->getLastMessage(out);
}

QList<Message> Channel::getLastMessages(int offset, int count)
{
    Chat* messages = chat();
    return messages ? messages->getLastMessages(offset, count) : QList<Message>();
}

bool Channel::getMessagesBefore(const QString& messageId, int count, QList<Message>* out)
{
    Chat* messages = chat();
    return messages && messages->getMessagesBefore(messageId, count, out);
}

bool Channel::getMessagesBefore(qint64 time, int count, QList<Message>* out)
{
    Chat* messages = chat();
    return messages && messages->getMessagesBefore(time, count, out);
}

bool Channel::getMessage(const QString& messageId, Message* out)
{
    Chat* messages = chat();
    return messages && messages->getMessage(messageId, out);
}

bool Channel::containsMessage(const QString& messageId)
{
    Message ignored;
    return getMessage(messageId, &ignored);
}

int Channel::getNumberOfMessages()
{
    Chat* messages = chat();
    return messages ? messages->getNumberOfMessages() : 0;
}

int Channel::getUnreadCount()
{
    Chat* messages = chat();
    if (messages)
        info.setUnreadCount(messages->getUnreadCount());
    return info.getUnreadCount();
}

bool Channel::insertMessage(Message* message, bool* isLast)
{
    Chat* messages = chat();
    bool newest = false;
    if (!messages || !messages->addMessage(*message, &newest))
        return false;
    if (isLast)
        *isLast = newest;
    if (newest)
        info.setLastMessage(*message);
    Message stored;
    if (messages->getMessage(message->getMessageId(), &stored))
        message->setDBOnlyFields(stored);
    info.setUnreadCount(messages->getUnreadCount());
    return true;
}

bool Channel::editMessage(const QString& messageId, const QString& body)
{
    if (!containsMessage(messageId))
        return false;
    const bool edited = chat()->editMessage(messageId, body);
    if (edited)
        updateLastMessage();
    return edited;
}

QStringList Channel::changeMessageState(const QString& messageId, MessageBase::MsgState state)
{
    Chat* messages = chat();
    if (!messages)
        return {};
    const QStringList changed = messages->changeMessageState(messageId, state);
    if (!changed.isEmpty())
        refreshMessagingFields();
    return changed;
}

bool Channel::setSendFailure(const QString& messageId, MessageBase::SendFailure failure)
{
    Chat* messages = chat();
    if (!messages || !messages->setSendFailure(messageId, failure))
        return false;
    refreshMessagingFields();
    return true;
}

QStringList Channel::changeMessageStateToSeen(const QStringList& ids)
{
    Chat* messages = chat();
    if (!messages)
        return {};
    const QStringList changed = messages->changeMessageStatesToSeen(ids);
    if (!changed.isEmpty())
        refreshMessagingFields();
    return changed;
}

void Channel::setFilePathForMessage(const Message& message)
{
    if (Chat* messages = chat())
        messages->setFilePathForMessage(message);
}

void Channel::setLikeCount(const LVReply& reply)
{
    if (reply.getChatId() != info.getId())
        return;
    Chat* messages = chat();
    if (!messages)
        return;
    const QHash<QString, int> counts = reply.getResult();
    for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
        messages->setLikeCount(it.key(), it.value());
}

void Channel::setLiked(const LikePair& pair)
{
    if (pair.getChannelId() != info.getId())
        return;
    if (Chat* messages = chat())
        messages->setLiked(pair.getMessageId(), pair.getLiked());
}

void Channel::removeChat()
{
    if (Chat* messages = chat())
        messages->clear();
    store.reset();
}
