// GroupManager: group messages, control messages, missed messages, archives
// and history pages.
#include "Managers/Chat/conversationedits.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/Group/groupstanzareader.h"
#include "model/groupnoticekind.h"

#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "model/messagestate.h"

#include <QDateTime>
#include <QJsonArray>

#include <algorithm>

namespace {
QString describe(const MessageRequest& request)
{
    return QStringLiteral("number: %1, messageId: %2, chatId: %3")
        .arg(request.getNumber())
        .arg(request.getMessageId(), request.getChatId());
}
} // namespace

// ---- keeping messages ----------------------------------------------------------

bool GroupManager::shouldBeSaved(const Message& message)
{
    return message.getMajorType() == MessageBase::MsgMajorType_GroupChat ||
           GroupNoticeKind::isNotice(message);
}

bool GroupManager::addMessageToGroupDB(const Message& message, bool* isLast)
{
    if (!shouldBeSaved(message))
        return false;
    auto it = groups.find(message.getChatId());
    if (it == groups.end())
        return false;
    const bool added = it->insertMessage(message, isLast);
    if (added)
        keepSummary(&it.value());
    return added;
}

bool GroupManager::addMessage(const Message& message, bool notify)
{
    bool isLast = false;
    if (!addMessageToGroupDB(message, &isLast))
        return false;
    if (notify)
        notifyMessage(message);
    if (isLast)
        emit commandResponse(CMD_GroupLastMessageChanged, QVariant::fromValue(message));
    return true;
}

bool GroupManager::addMessagePair(const Message& message, bool notify, bool emitPair)
{
    MessagePair pair;
    pair.setMessage(message);
    return addMessagePair(&pair, notify, emitPair);
}

bool GroupManager::addMessagePair(MessagePair* pair, bool notify, bool emitPair)
{
    const Message message = pair->getMessage();
    if (!addMessage(message, notify))
        return false;
    if (message.isReply()) {
        Message replied;
        if (groups[message.getChatId()].getMessage(message.getReplyOnMessageId(), &replied))
            pair->setReplyMessage(replied);
    }
    if (emitPair)
        emitMessagePairAdded(*pair);
    return true;
}

void GroupManager::emitMessagePairAdded(const MessagePair& pair)
{
    emit commandResponse(CMD_MessagePairAdded, QVariant::fromValue(pair));
}

void GroupManager::notifyMessage(const Message& message)
{
    const auto it = groups.constFind(message.getChatId());
    if (it == groups.constEnd() || message.getUserId() == getUserName() || it->getInfo().getMute())
        return;
    NotificationMessage note;
    note.setAvThUrl(it->getInfo().getAvThUrl());
    note.setMessage(message);
    note.setTitle(it->getInfo().getName());
    emit notification(note);
}

void GroupManager::setMessageSentTime(const Message& message)
{
    auto it = groups.find(message.getChatId());
    if (it == groups.end())
        return;
    it->setMessageSentTime(message);
    keepSummary(&it.value());
}

void GroupManager::setFilePathForMessage(const Message& message)
{
    auto it = groups.find(message.getChatId());
    if (it != groups.end())
        it->setFilePathForMessage(message);
}

bool GroupManager::getLastMessage(const QString& chatId, Message* out)
{
    auto it = groups.find(chatId);
    return it != groups.end() && it->getLastMessage(out);
}

QStringList GroupManager::changeMessageState(const QString& chatId, const QString& messageId,
                                             MessageBase::MsgState state)
{
    auto it = groups.find(chatId);
    if (it == groups.end())
        return QStringList();
    const QStringList changed = it->changeMessageState(messageId, state);
    if (!changed.isEmpty())
        keepSummary(&it.value());
    return changed;
}

QStringList GroupManager::changeMessageStatesToSeen(const QString& chatId, const QStringList& ids)
{
    auto it = groups.find(chatId);
    if (it == groups.end())
        return QStringList();
    const QStringList changed = it->changeMessageStatesToSeen(ids);
    if (!changed.isEmpty())
        keepSummary(&it.value());
    return changed;
}

void GroupManager::respondMessageStateChange(const QString& chatId, const QStringList& ids,
                                             MessageBase::MsgState state)
{
    for (const QString& id : ids) {
        L_DEBUG(QStringLiteral("GroupManager::respondMessageStateChange | ") + chatId +
                QStringLiteral(" ") + id);
        emit commandResponse(CMD_MessageStateChange,
                             QVariant::fromValue(MessageState(chatId, id, state)));
    }
}

// ---- missed messages --------------------------------------------------------------

void GroupManager::xmppChatClientConnected(qint64 lastTimeConnected)
{
    L_DEBUG(QStringLiteral("GroupManager::xmppChatClientConnected | %1").arg(lastTimeConnected));
    startGroupNewMessages(lastTimeConnected);
}

void GroupManager::startGroupNewMessages(qint64 lastTimeConnected)
{
    qint64 time = getLastTimeNMCalled();
    L_DEBUG(QStringLiteral("GroupManager::startGroupNewMessages() | %1").arg(time));
    if (time == 0)
        time = lastTimeConnected;
    startGroupNewMessages(QStringList(), time);
}

void GroupManager::startGroupNewMessages(const QStringList& ids, qint64 time)
{
    // What this request returns ends no later than now; the next one starts a
    // little before, so nothing that reaches the service meanwhile is missed.
    newMessagesFetches.enqueue(
        {QDateTime::currentMSecsSinceEpoch() - kNewMessagesMarginMs, ids.isEmpty(), time});
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("GroupJID"), QJsonArray::fromStringList(ids));
    inputs.insert(QStringLiteral("MessageTimestampMilliSecond"), QString::number(time));
    emit start(PROC_GroupNewMessages, inputs);
}

void GroupManager::decomposeNewMessages(const QJsonObject& reply)
{
    const NewMessagesFetch fetch =
        newMessagesFetches.isEmpty()
            ? NewMessagesFetch{QDateTime::currentMSecsSinceEpoch() - kNewMessagesMarginMs, true}
            : newMessagesFetches.dequeue();
    // Only an answer for all groups moves the time the next one starts from.
    if (fetch.allGroups) {
        setLastTimeNMCalled(fetch.since);
        owedNewMessagesFrom = -1;
    }
    QList<Message> messages = GroupStanzaReader::readReply(reply, MessageBase::MsgState_Delivered);
    std::stable_sort(messages.begin(), messages.end(), [](const Message& a, const Message& b) {
        return a.getSendTimeInGMT() < b.getSendTimeInGMT();
    });
    addNewMessages(messages);
}

void GroupManager::addNewMessages(const QList<Message>& messages)
{
    const QString me = getUserName();
    for (const Message& message : messages) {
        if (message.getMajorType() == MessageBase::MsgMajorType_GroupChat) {
            if (!addMessagePair(message, false, true) || message.getUserId() != me)
                continue;
            respondMessageStateChange(message.getChatId(),
                                      changeMessageState(message.getChatId(),
                                                         message.getMessageId(),
                                                         MessageBase::MsgState_Seen),
                                      MessageBase::MsgState_Seen);
        } else if (GroupNoticeKind::isNotice(message)) {
            // The service's record holds what members said in the room: a
            // member's notice there is a reason to ask the service again.
            processRoomHistory(message);
        } else if (message.isControlMessage()) {
            processControlMessage(message);
        }
    }
}

// ---- archives -----------------------------------------------------------------------

void GroupManager::startGroupArchive(const QString& groupId, const QString& messageId, int count)
{
    requestArchive(groupId, messageId, count, false);
}

void GroupManager::requestArchive(const QString& groupId, const QString& messageId, int count,
                                  bool forPage)
{
    L_DEBUG(QStringLiteral("GroupManager::startGroupArchive | %1 %2 %3")
                .arg(groupId, messageId)
                .arg(count));
    archiveFetches.enqueue({groupId, forPage});
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("GroupJID"), groupId);
    inputs.insert(QStringLiteral("MessageID"), messageId);
    inputs.insert(QStringLiteral("Count"), QStringLiteral("50"));
    emit start(PROC_GroupArchive, inputs);
}

void GroupManager::decomposeArchiveMessages(const QJsonObject& reply)
{
    QList<Message> messages = GroupStanzaReader::readReply(reply, MessageBase::MsgState_Seen);
    L_DEBUG(QStringLiteral("GroupManager::decomposeArchiveMessages | %1").arg(messages.size()));
    // A page's messages reach the GUI with the page. Any other fetch (the
    // newest messages of a group just added) may bring a message before the
    // room does, and the room's copy is then one already kept: each message
    // new to the store is announced here, or it would never be shown.
    const bool forPage = !archiveFetches.isEmpty() && archiveFetches.head().forPage;
    std::stable_sort(messages.begin(), messages.end(), [](const Message& a, const Message& b) {
        return a.getSendTimeInGMT() < b.getSendTimeInGMT();
    });
    // Notices in the record are members' words, of changes long past: they
    // are neither kept nor shown.
    messages.erase(std::remove_if(messages.begin(), messages.end(),
                                  [](const Message& m) { return GroupNoticeKind::isNotice(m); }),
                   messages.end());
    for (const Message& message : qAsConst(messages))
        addMessagePair(message, false, !forPage);
    archiveFinished(messages);
}

void GroupManager::archiveFinished(const QList<Message>& messages)
{
    // Fetches are answered in the order sent; one started for a history page
    // completes that page, others only fill the store.
    const ArchiveFetch fetch = archiveFetches.isEmpty() ? ArchiveFetch() : archiveFetches.dequeue();
    if (fetch.forPage)
        proceedToMessageRequests(messages);
}

void GroupManager::proceedToMessageRequests(const QList<Message>& messages)
{
    L_DEBUG(QStringLiteral("GroupManager::proceedToMessageRequests | %1, current: ")
                .arg(messages.size()) +
            describe(currentRequest));
    if (!currentRequest.isEmpty()) {
        if (!messages.isEmpty() && messages.first().getChatId() == currentRequest.getChatId()) {
            MessageReply reply;
            reply.setRequest(currentRequest);
            reply.setType(MessageBase::MsgMajorType_GroupChat);
            reply.sortAndSetMessages(messages);
            addReplyMessages(&reply);
            emit messageReply(reply);
        }
        currentRequest.clear();
    }
    if (!waitingRequest.isEmpty()) {
        const MessageRequest next = waitingRequest;
        waitingRequest.clear();
        MessageReply reply;
        if (respondGetMessages(next, &reply))
            emit messageReply(reply);
    }
}

// ---- history pages --------------------------------------------------------------------

bool GroupManager::respondGetMessages(const MessageRequest& request, MessageReply* reply)
{
    L_DEBUG(QStringLiteral("GroupManager::respondGetMessages | ") + describe(request));
    if (!currentRequest.isEmpty()) {
        waitingRequest = request;
        return false;
    }
    currentRequest = request;
    reply->setRequest(request);
    reply->setType(MessageBase::MsgMajorType_GroupChat);
    QList<Message> page;
    bool fetching = false;
    const bool collected =
        request.getMessageId().isEmpty()
            ? getLastMessages(request.getChatId(), request.getNumber(), &page, &fetching)
            : getMessagesBefore(request.getChatId(), request.getMessageId(), request.getNumber(),
                                &page, &fetching);
    // Without a fetch under way nothing would ever complete the request.
    if (!fetching || (collected && page.size() >= request.getNumber()))
        currentRequest.clear();
    if (!collected)
        return false;
    reply->setMsgs(page);
    addReplyMessages(reply);
    return true;
}

bool GroupManager::getLastMessages(const QString& groupId, int count, QList<Message>* out,
                                   bool* fetching)
{
    out->clear();
    auto it = groups.find(groupId);
    if (it == groups.end()) {
        requestArchive(groupId, QString(), count, true);
        *fetching = true;
        return false;
    }
    *out = it->getLastMessages(count, 0);
    if (out->size() >= count)
        return true;
    // Older than the oldest message read: the archive fills the rest of the page.
    requestArchive(groupId, out->isEmpty() ? QString() : out->last().getMessageId(),
                   count - out->size(), true);
    *fetching = true;
    return true;
}

bool GroupManager::getMessagesBefore(const QString& groupId, const QString& messageId, int count,
                                     QList<Message>* out, bool* fetching)
{
    out->clear();
    auto it = groups.find(groupId);
    if (it == groups.end())
        return true;
    if (!it->getMessagesBefore(messageId, count, out)) {
        out->clear();
        requestArchive(groupId, messageId, count, true);
        *fetching = true;
    } else if (out->size() < count) {
        requestArchive(groupId, out->last().getMessageId(), count - out->size(), true);
        *fetching = true;
    }
    return true;
}

bool GroupManager::getMessagesBefore(const QString& groupId, qint64 time, int count,
                                     QList<Message>* out)
{
    auto it = groups.find(groupId);
    if (time > DateTime::getDateTimeInMSecs() || it == groups.end())
        return false;
    it->getMessagesBefore(time, count, out);
    return true;
}

void GroupManager::addReplyMessages(MessageReply* reply)
{
    ConversationEdits::addReplyMessages(reply, [this](const QString& id) {
        auto it = groups.find(id);
        return it == groups.end() ? nullptr : it->messageStore();
    });
}

// ---- the group kind in the Manager's message flow ------------------------------------

bool GroupManager::storeOwnMessage(const Message& message)
{
    return addMessagePair(message, false, true);
}

bool GroupManager::storeArrivedMessage(const Message& message)
{
    Message arrived = message;
    // The user's own message from another device is already read.
    if (arrived.getUserId() == getUserName())
        arrived.setState(MessageBase::MsgState_Seen);
    return addMessagePair(arrived, true, true);
}

void GroupManager::answerHistory(const MessageRequest& request)
{
    // Requests that name no kind of conversation are not answered.
    if (request.getChatType() < 1 || request.getChatType() > 5)
        return;
    MessageReply reply;
    if (respondGetMessages(request, &reply))
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
    if (getLastMessage(id, &last) && last.getUserId() != getUserName())
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
