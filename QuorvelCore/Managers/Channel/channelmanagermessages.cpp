// The channel manager's messages: the send queue, missed messages, archive
// pages, history requests, edits, likes, file paths and polls.

#include "Managers/Channel/channelmanager.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "model/messagestate.h"

#include <QJsonArray>

#include <algorithm>

namespace {
const QString kChannelId = QStringLiteral("ChannelID");
const QString kMessageId = QStringLiteral("MessageID");
const QString kLastTimeNewMessagesCalled = QStringLiteral("lastTimeNewMessagesCalled");
} // namespace

// ---- Sending, one message at a time ----

ConversationKeeper::Keeping ChannelManager::storeOwnMessage(const Message& message)
{
    if (message.getMajorType() != MessageBase::MsgMajorType_ChannelChat)
        return Keeping::Refused;
    if (addMessage(message, false)) {
        emit messageAdded(message);
        return Keeping::Kept;
    }
    Message held;
    if (!contains(message.getChatId()) ||
        channels[message.getChatId()].getMessage(message.getMessageId(), &held))
        return Keeping::Refused;
    return Keeping::NotWritten;
}

ConversationKeeper::Posting ChannelManager::postOwnMessage(const Message& message)
{
    Message outgoing = message;
    return sendMessage(&outgoing) ? Posting::Queued : Posting::NotQueued;
}

bool ChannelManager::markNotSent(const QString& id, const QString& messageId,
                                 MessageBase::SendFailure why)
{
    auto it = channels.find(id);
    return it != channels.end() && it->setSendFailure(messageId, why);
}

void ChannelManager::showUnkeptMessage(const Message& message)
{
    emit messageAdded(message);
}

bool ChannelManager::sendMessage(Message* message)
{
    if (!contains(message->getChatId()))
        return false;
    if (message->getMessageId().isEmpty())
        message->generateMessageId();
    // Kept before it can reach the wire; a post already kept is not doubled.
    if (outbox.contains(message->getMessageId()))
        return true;
    if (!outbox.append(*message)) {
        L_ERROR(QStringLiteral("ChannelManager::sendMessage | post %1 not kept for sending")
                    .arg(message->getMessageId()));
        return false;
    }
    sendNextMessageOnQueue();
    return true;
}

void ChannelManager::startSendMessage(const Message& message)
{
    emitStart(PROC_ChannelSendMessage,
              {{kMessageId, message.getMessageId()},
               {QStringLiteral("MessageBody"), HtmlManager::toPlainText(message.getMessageBody())},
               {QStringLiteral("MessageParams"), message.getMessageParams()},
               {kChannelId, message.getChatId()}});
}

void ChannelManager::finishSend(int resultCode)
{
    if (!currentMessage.isValid())
        return;
    const QString id = currentMessage.getChatId();
    const QString messageId = currentMessage.getMessageId();
    currentMessage = Message();
    // Refused for good: no right to post there, or no such channel.
    const bool refused = resultCode == 403 || resultCode == 404;
    if (resultCode != 200 && !refused) {
        // Kept, and tried again later; a new connection tries at once.
        ++sendFailures;
        const int wait = ChannelOutbox::retryDelay(sendFailures);
        L_WARN(QStringLiteral("ChannelManager::finishSend | post %1 not taken (%2), again in %3 ms")
                   .arg(messageId)
                   .arg(resultCode)
                   .arg(wait));
        retryTimer.start(wait);
        return;
    }
    sendFailures = 0;
    outbox.takeHead();
    if (refused) {
        L_WARN(QStringLiteral("ChannelManager::finishSend | the service refused post %1 (%2)")
                   .arg(messageId)
                   .arg(resultCode));
        // Kept as refused, so that it shows so after a restart too.
        if (contains(id)) {
            markNotSent(id, messageId, MessageBase::SendFailure_Refused);
            emit commandResponse(
                CMD_MessageStateChange,
                QVariant::fromValue(MessageState(id, messageId, MessageBase::MsgState_NotSent,
                                                 MessageBase::SendFailure_Refused)));
        }
    } else if (contains(id)) {
        changeMessageStatesToSeen(id, {messageId});
        respondMessageStateChange(id, messageId, MessageBase::MsgState_Seen);
    }
    sendNextMessageOnQueue();
}

void ChannelManager::sendNextMessageOnQueue()
{
    if (!loaded || currentMessage.isValid() || retryTimer.isActive())
        return;
    // Posts to a channel the user no longer follows have nowhere to go.
    while (!outbox.isEmpty() && !contains(outbox.head().getChatId())) {
        L_WARN(QStringLiteral("ChannelManager | dropped a post to a channel no longer followed"));
        outbox.takeHead();
    }
    if (outbox.isEmpty())
        return;
    currentMessage = outbox.head();
    startSendMessage(currentMessage);
}

// ---- Storing ----

bool ChannelManager::addMsgToChannel(Message* message, bool* isLast)
{
    auto it = channels.find(message->getChatId());
    if (it == channels.end() || message->getMessageId().isEmpty())
        return false;
    Message stored;
    if (it->getMessage(message->getMessageId(), &stored)) {
        // Known already; a copy whose poll was lost on the way is mended by
        // a later copy of the same post that carries it.
        if (stored.getMinorType() == MessageBase::MsgMinorType_Poll &&
            message->getMinorType() == MessageBase::MsgMinorType_Poll &&
            stored.getPollData().isEmpty() && !message->getPollData().isEmpty()) {
            L_INFO(QStringLiteral("ChannelManager | poll of %1 mended from a fuller copy")
                       .arg(message->getMessageId()));
            if (it->insertMessage(message, nullptr))
                saveMessagingFields(*it);
        }
        return false;
    }
    bool newest = false;
    if (!it->insertMessage(message, &newest))
        return false;
    if (isLast)
        *isLast = newest;
    saveMessagingFields(*it);
    if (newest) {
        considerNewest(*message);
        emit commandResponse(CMD_ChannelLastMessageChanged, QVariant::fromValue(*message));
    }
    return true;
}

bool ChannelManager::addMessage(const Message& message, bool notify)
{
    Message stored = message;
    if (!addMsgToChannel(&stored, nullptr))
        return false;
    if (notify)
        sendNotification(stored);
    return true;
}

bool ChannelManager::addMessagePair(const Message& message)
{
    L_DEBUG(QStringLiteral("ChannelManager::addMessagePair | ") + message.getMessageId());
    MessagePair pair;
    pair.setMessage(message);
    if (!addMessagePair(&pair))
        return false;
    emit commandResponse(CMD_MessagePairAdded, QVariant::fromValue(pair));
    return true;
}

bool ChannelManager::addMessagePair(MessagePair* pair)
{
    Message message = pair->getMessage();
    if (!addMsgToChannel(&message, nullptr))
        return false;
    pair->setMessage(message);
    Message replied;
    if (message.isReply() &&
        channels[message.getChatId()].getMessage(message.getReplyOnMessageId(), &replied))
        pair->setReplyMessage(replied);
    return true;
}

bool ChannelManager::storeArrivedMessage(const Message& message)
{
    if (!addMessagePair(message))
        return false;
    sendNotification(message);
    return true;
}

void ChannelManager::sendNotification(const Message& message)
{
    ChannelInfo info;
    if (!getChannelInfo(message.getChatId(), &info) || info.getMute())
        return;
    NotificationMessage note;
    note.setMessage(message);
    note.setTitle(info.getName());
    note.setAvThUrl(info.getAvatarThumbnailUrl());
    emit notification(note);
}

// ---- States ----

QStringList ChannelManager::changeMessageState(const QString& id, const QString& messageId,
                                               MessageBase::MsgState state)
{
    auto it = channels.find(id);
    if (it == channels.end())
        return {};
    const QStringList changed = it->changeMessageState(messageId, state);
    if (!changed.isEmpty())
        saveMessagingFields(*it);
    return changed;
}

QStringList ChannelManager::changeMessageStatesToSeen(const QString& id, const QStringList& ids)
{
    auto it = channels.find(id);
    if (it == channels.end())
        return {};
    const QStringList changed = it->changeMessageStateToSeen(ids);
    if (!changed.isEmpty())
        saveMessagingFields(*it);
    return changed;
}

void ChannelManager::resetUnreadCount(const QString& id)
{
    auto it = channels.find(id);
    if (it == channels.end())
        return;
    it->resetUnreadCount();
    saveMessagingFields(*it);
}

MessageBase::MsgState ChannelManager::confirmSent(const Message&)
{
    // Channel messages travel through the web service, never the chat server.
    return MessageBase::MsgState_Draft;
}

bool ChannelManager::markSeen(const QString& id, SeenMessage*)
{
    resetUnreadCount(id);
    Message last;
    if (getLastMessage(id, &last) && last.getUserId() != getUserName())
        changeMessageState(id, last.getMessageId(), MessageBase::MsgState_Seen);
    return false;
}

void ChannelManager::respondMessageStateChange(const QString& id, const QString& messageId,
                                               MessageBase::MsgState state)
{
    emit commandResponse(CMD_MessageStateChange,
                         QVariant::fromValue(MessageState(id, messageId, state)));
}

// ---- Missed messages ----

void ChannelManager::xmppChatClientConnected(qint64 lastTimeConnected)
{
    L_DEBUG(QStringLiteral("ChannelManager::xmppChatClientConnected | %1").arg(lastTimeConnected));
    startChannelNewMessages();
    // Back on the network: a post waiting for its next try goes now.
    if (retryTimer.isActive()) {
        retryTimer.stop();
        sendNextMessageOnQueue();
    }
}

void ChannelManager::channelAccountBack()
{
    // One pull at a time: a word that comes while one travels is answered by
    // one more pull once it ends, so that the answer is the service's as it
    // now stands.
    if (newMessagesInFlight) {
        newMessagesAgain = true;
        return;
    }
    startChannelNewMessages();
}

void ChannelManager::newMessagesEnded()
{
    newMessagesInFlight = false;
    if (!newMessagesAgain)
        return;
    newMessagesAgain = false;
    startChannelNewMessages();
}

void ChannelManager::startChannelNewMessages()
{
    qint64 since = 0;
    dataBase.get(kLastTimeNewMessagesCalled, &since);
    L_DEBUG(QStringLiteral("ChannelManager::startChannelNewMessages | lastTimeNMCalled: %1")
                .arg(since));
    QString messageId;
    if (since == 0 && newestMessage.isValid()) {
        messageId = newestMessage.getMessageId();
        since = newestMessage.getSendTimeInGMT() / 1000;
    }
    if (since == 0)
        return;
    // The next pull starts where this one was asked, less a margin, so
    // nothing posted while it travels is skipped.
    newMessagesSince = qint64(DateTime::getDateTime()) - kSinceMarginSeconds;
    newMessagesInFlight = true;
    emitStart(PROC_ChannelNewMessages,
              {{kChannelId, QString()},
               {kMessageId, messageId},
               {QStringLiteral("MessageTimestamp"), QString::number(since)}});
}

QList<Message> ChannelManager::readMessages(const QJsonObject& reply,
                                            MessageBase::MsgState state) const
{
    QList<Message> read;
    for (const QJsonValue& value : reply.value(QStringLiteral("Messages")).toArray()) {
        Message message;
        if (!value.isObject() || !message.fromJson(value.toObject()) ||
            (message.getMajorType() != MessageBase::MsgMajorType_ChannelChat &&
             message.getMajorType() != MessageBase::MsgMajorType_ChannelChatReply)) {
            L_WARN(QStringLiteral("ChannelManager::readMessages | unreadable message skipped"));
            continue;
        }
        message.setMessageBody(HtmlManager::insertHtmlTags(message.getMessageBody()));
        message.setState(state);
        read << message;
    }
    return read;
}

void ChannelManager::decomposeNewMessages(const QJsonObject& reply)
{
    if (newMessagesInFlight && newMessagesSince > 0)
        dataBase.put(kLastTimeNewMessagesCalled, newMessagesSince);
    for (const Message& message : readMessages(reply, MessageBase::MsgState_Delivered))
        addMessagePair(message);
}

// ---- History ----

void ChannelManager::startChannelArchive(const QString& id, int offset)
{
    archiveFetches << id;
    emitStart(PROC_ChannelArchive, {{kChannelId, id},
                                    {QStringLiteral("Offset"), QString::number(offset)},
                                    {QStringLiteral("Count"), QString::number(kArchivePageSize)},
                                    {kMessageId, QString()}});
}

void ChannelManager::startChannelArchive(const QString& id, const QString& messageId)
{
    archiveFetches << id;
    emitStart(PROC_ChannelArchive, {{kChannelId, id},
                                    {QStringLiteral("Offset"), QString()},
                                    {QStringLiteral("Count"), QString::number(kArchivePageSize)},
                                    {kMessageId, messageId}});
}

QList<Message> ChannelManager::readStored(Channel* channel, const MessageRequest& request)
{
    if (request.getMessageId().isEmpty())
        return channel->getLastMessages(0, request.getNumber());
    QList<Message> read;
    channel->getMessagesBefore(request.getMessageId(), request.getNumber(), &read);
    return read;
}

void ChannelManager::answerHistory(const MessageRequest& request)
{
    MessageReply reply;
    if (respondMessageRequest(request, &reply))
        emit messageReply(reply);
}

bool ChannelManager::respondMessageRequest(const MessageRequest& request, MessageReply* reply)
{
    reply->setRequest(request);
    reply->setType(MessageBase::MsgMajorType_ChannelChat);
    auto it = channels.find(request.getChatId());
    if (it != channels.end())
        historyShown.insert(request.getChatId());
    if (it == channels.end()) {
        // Nothing to fetch for a channel the user does not follow: answered
        // empty at once, so no request waits on it.
        return true;
    }
    if (!pendingRequest.isEmpty()) {
        waitingRequest = request;
        return false;
    }
    const QList<Message> read = readStored(&*it, request);
    reply->setMsgs(read);
    addReplyMessages(reply);
    if (read.size() >= request.getNumber())
        return true;
    // Short of the number asked: answered with what is here now and once more
    // when the archive page has arrived.
    pendingRequest = request;
    if (request.getMessageId().isEmpty())
        startChannelArchive(request.getChatId(), read.size());
    else
        startChannelArchive(request.getChatId(),
                            read.isEmpty() ? request.getMessageId() : read.last().getMessageId());
    return true;
}

void ChannelManager::addReplyMessages(MessageReply* reply)
{
    auto it = channels.find(reply->getRequest().getChatId());
    if (it == channels.end())
        return;
    for (const Message& message : reply->getMsgs()) {
        Message replied;
        if (message.isReply() &&
            !reply->getReplyMessages().contains(message.getReplyOnMessageId()) &&
            it->getMessage(message.getReplyOnMessageId(), &replied))
            reply->addReplyMessage(replied);
    }
}

void ChannelManager::decomposeArchive(const QJsonObject& reply)
{
    // Pages come back in the order they were asked for.
    const QString id = archiveFetches.value(0);
    Message newestBefore;
    const bool hadNewest = getLastMessage(id, &newestBefore);
    QList<Message> stored;
    for (Message message : readMessages(reply, MessageBase::MsgState_Seen)) {
        if (message.getChatId() != id)
            continue;
        if (addMsgToChannel(&message, nullptr))
            stored << message;
    }
    // A waiting request is answered by the last page on its way for the
    // channel: an earlier one (asked for when the channel was added) was
    // read before it, and posts that came in between would otherwise be
    // stored without ever reaching the request's window.
    const bool waiting = !pendingRequest.isEmpty() && pendingRequest.getChatId() == id;
    if (waiting && archiveFetches.count(id) <= 1) {
        answerPendingFromStore();
    } else if (!stored.isEmpty()) {
        // Nobody waits for this channel's history, but it was shown: posts
        // newer than anything shown came while the page was on its way (the
        // live copy of such a post is then a known one) and arrive as they
        // would have live, oldest first.
        if (!waiting && historyShown.contains(id)) {
            std::sort(stored.begin(), stored.end(), [](const Message& a, const Message& b) {
                return a.getSendTimeInGMT() < b.getSendTimeInGMT();
            });
            for (const Message& message : qAsConst(stored)) {
                if (hadNewest && message.getSendTimeInGMT() <= newestBefore.getSendTimeInGMT())
                    continue;
                MessagePair pair;
                pair.setMessage(message);
                Message replied;
                if (message.isReply() &&
                    channels[id].getMessage(message.getReplyOnMessageId(), &replied))
                    pair.setReplyMessage(replied);
                emit commandResponse(CMD_MessagePairAdded, QVariant::fromValue(pair));
            }
        }
        Message last;
        if (getLastMessage(id, &last))
            emit channelLastLastMsg(last);
    }
}

void ChannelManager::answerPendingFromStore()
{
    const MessageRequest request = pendingRequest;
    pendingRequest.clear();
    MessageReply answer;
    answer.setRequest(request);
    answer.setType(MessageBase::MsgMajorType_ChannelChat);
    auto it = channels.find(request.getChatId());
    if (it != channels.end())
        answer.setMsgs(readStored(&*it, request));
    addReplyMessages(&answer);
    emit messageReply(answer);
}

void ChannelManager::archiveFetchEnded(int resultCode)
{
    if (archiveFetches.isEmpty())
        return;
    const QString id = archiveFetches.takeFirst();
    // A failed page ends the request that waited for it, unless another page
    // of the same channel is still on its way; what earlier pages stored
    // reaches the request all the same.
    if (resultCode != 200 && !pendingRequest.isEmpty() && pendingRequest.getChatId() == id &&
        !archiveFetches.contains(id))
        answerPendingFromStore();
    serveWaitingRequest();
}

void ChannelManager::serveWaitingRequest()
{
    if (!pendingRequest.isEmpty() || waitingRequest.isEmpty())
        return;
    const MessageRequest request = waitingRequest;
    waitingRequest.clear();
    answerHistory(request);
}

// ---- Edits, likes, file paths ----

void ChannelManager::processControlMessage(const Message& message)
{
    switch (message.getMinorType()) {
    case MessageBase::MsgMinorType_ChannelMessageEdited:
        processChannelEditMessage(message.getChannelEditMessage());
        break;
    case MessageBase::MsgMinorType_ChannelMembershipAdd:
    case MessageBase::MsgMinorType_ChannelMembershipChangeRole:
    case MessageBase::MsgMinorType_ChannelMembershipRemove:
        processMembershipChange(message);
        break;
    default:
        break;
    }
}

void ChannelManager::processMembershipChange(const Message& message)
{
    // Only the service's channel account speaks of memberships (the XMPP
    // layer refuses such messages from anyone else), and only the user's own
    // place in a channel matters here.
    const QString channelId =
        message.getOtherFields().value(QStringLiteral("CHANNEL_ID")).toString();
    if (channelId.isEmpty() || message.getUserId() != getUserName() ||
        message.getChatId() != QuorvelXMPPMessage::channelAccount())
        return;
    L_INFO(QStringLiteral("ChannelManager | membership of %1 changed: %2")
               .arg(channelId, MessageBase::toString(message.getMinorType())));
    if (message.getMinorType() == MessageBase::MsgMinorType_ChannelMembershipRemove) {
        if (contains(channelId))
            removeChannel(channelId);
        return;
    }
    // Added, or given another role: the channel as it now stands, with the
    // panel that goes with the role.
    startChannelDataAndAdd(channelId);
}

void ChannelManager::processChannelEditMessage(const ChannelEditMessage& edit)
{
    L_DEBUG(QStringLiteral("ChannelManager::processChannelEditMessage | ") + edit.getMessageId());
    auto it = channels.find(edit.getChannelId());
    if (edit.isEmpty() || it == channels.end())
        return;
    const QString id = edit.getMessageId();
    if (!it->editMessage(id, HtmlManager::insertHtmlTags(edit.getMessageContent())))
        return;
    saveMessagingFields(*it);
    Message edited;
    if (it->getMessage(id, &edited))
        emit commandResponse(CMD_MessageEdited, QVariant::fromValue(edited));
}

void ChannelManager::likeGetResults(const LVReply& reply)
{
    auto it = channels.find(reply.getChatId());
    if (it != channels.end())
        it->setLikeCount(reply);
}

void ChannelManager::likeSetStatus(const LikePair& pair)
{
    auto it = channels.find(pair.getChannelId());
    if (it != channels.end())
        it->setLiked(pair);
}

void ChannelManager::setFilePathForMessage(const Message& message)
{
    auto it = channels.find(message.getChatId());
    if (it != channels.end())
        it->setFilePathForMessage(message);
}

// ---- Polls ----

void ChannelManager::sendPollToChannel(const PollData& poll)
{
    if (poll.isEmpty() || poll.getChannelId().isEmpty())
        return;
    pendingPolls.append(poll);
    emitStart(PROC_PollCreate, {{QStringLiteral("PollViewResultStatus"),
                                 poll.getViewResults() ? QStringLiteral("1") : QStringLiteral("0")},
                                {QStringLiteral("PollData"), poll.toJsonObject()}});
}

void ChannelManager::decomposePollCreate(const QJsonObject& reply)
{
    PollData poll;
    if (!pendingPolls.takeAnswered(&poll))
        return;
    const QString pollId = reply.value(QStringLiteral("PollID")).toString();
    if (pollId.isEmpty())
        return;
    poll.setPollId(pollId);
    Message message(MessageBase::MsgMajorType_ChannelChat, getUserName(), poll.getChannelId(),
                    poll);
    message.generateMessageId();
    message.setSendTimeToCurrentTime();
    message.setState(MessageBase::MsgState_NotSent);
    // Kept like any other own message, so a failed send stays visible.
    addMessage(message, false);
    sendMessage(&message);
    emit messageAdded(message);
}
