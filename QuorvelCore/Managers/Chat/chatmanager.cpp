#include "Managers/Chat/chatmanager.h"

#include "Managers/Chat/conversationedits.h"
#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "model/messagestate.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {
const QString kStoreName = QStringLiteral("chatManagerDB");
const QString kRecipients = QStringLiteral("chatRecipientNumbers");
// One small record per chat with its newest message and unread count, so the
// chat list is drawn without opening the chats' stores.
const QString kSummaryPrefix = QStringLiteral("chatSummary/");
const QString kSummaryLast = QStringLiteral("lastMessage");
const QString kSummaryUnread = QStringLiteral("unreadCount");

QString describe(const MessageRequest& request)
{
    return QStringLiteral("number: %1, messageId: %2, chatId: %3")
        .arg(request.getNumber())
        .arg(request.getMessageId(), request.getChatId());
}
} // namespace

ChatManager::ChatManager(QObject* parent) : AbstractManager(parent) {}

ChatManager::~ChatManager()
{
    qDeleteAll(chats);
}

void ChatManager::startLoading()
{
    L_DEBUG(QStringLiteral("ChatManager::startLoading | start"));
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
                &ChatManager::aboutToQuit, Qt::UniqueConnection);
    store.setDBName(kStoreName);
    loadChats();
    emit loadingFinished();
    L_DEBUG(QStringLiteral("ChatManager::startLoading | end"));
}

void ChatManager::aboutToQuit()
{
    // Both the application's quit signal and the Manager's shut-down reach
    // here; the stores are closed once.
    if (shutDown)
        return;
    shutDown = true;
    L_DEBUG(QStringLiteral("ChatManager::aboutToQuit"));
    store.close();
    for (Chat* chat : qAsConst(chats))
        chat->close();
}

void ChatManager::loadChats()
{
    // Only the partner list is read: a chat's store opens when it is first
    // needed, and the chat list comes from the summaries.
    QString text;
    QStringList ids;
    if (store.get(kRecipients, &text)) {
        const QJsonArray array = QJsonDocument::fromJson(text.toUtf8()).array();
        for (const QJsonValue& value : array) {
            if (value.isString() && !value.toString().isEmpty())
                ids.append(value.toString());
        }
    }
    setRecipients(ids);
}

Chat* ChatManager::initChat(const QString& chatId)
{
    Chat* chat = new Chat;
    chat->setUserIdentity(getUserIdentity());
    chat->setChatId(chatId, Chat::ChatMode_Stored);
    chats.insert(chatId, chat);
    // A summary written for the same newest message spares counting the
    // unread messages again; one left stale by an interrupted run is mended.
    Message summaryLast;
    int summaryUnread = 0;
    Message last;
    if (readSummary(chatId, &summaryLast, &summaryUnread) && chat->getLastMessage(&last) &&
        last.getMessageId() == summaryLast.getMessageId() &&
        last.getState() == summaryLast.getState())
        chat->setKnownUnreadCount(summaryUnread);
    refreshSummary(chatId);
    return chat;
}

Chat* ChatManager::openChat(const QString& chatId)
{
    if (Chat* chat = chats.value(chatId))
        return chat;
    return recipientSet.contains(chatId) ? initChat(chatId) : nullptr;
}

// ---- summaries ------------------------------------------------------------

const QByteArray& ChatManager::storedSummary(const QString& chatId)
{
    auto known = summaries.find(chatId);
    if (known == summaries.end()) {
        QByteArray text;
        store.getUtf8(kSummaryPrefix + chatId, &text);
        known = summaries.insert(chatId, text);
    }
    return known.value();
}

bool ChatManager::readSummary(const QString& chatId, Message* last, int* unread)
{
    const QJsonObject summary = QJsonDocument::fromJson(storedSummary(chatId)).object();
    if (!summary.value(kSummaryLast).isObject())
        return false;
    last->fromDBJson(summary.value(kSummaryLast).toObject());
    *unread = qMax(0, summary.value(kSummaryUnread).toInt());
    return last->getChatId() == chatId && !last->getMessageId().isEmpty();
}

void ChatManager::refreshSummary(const QString& chatId)
{
    Chat* chat = chats.value(chatId);
    if (!chat || !recipientSet.contains(chatId))
        return;
    Message last;
    QByteArray text;
    if (chat->getLastMessage(&last)) {
        const QJsonObject summary{{kSummaryLast, last.toDBJson()},
                                  {kSummaryUnread, chat->getUnreadCount()}};
        text = QJsonDocument(summary).toJson(QJsonDocument::Compact);
    }
    if (storedSummary(chatId) == text)
        return;
    const bool ok = text.isEmpty() ? store.del(kSummaryPrefix + chatId)
                                   : store.putUtf8(kSummaryPrefix + chatId, text);
    if (ok)
        summaries.insert(chatId, text);
    else
        L_WARN(QStringLiteral("ChatManager::refreshSummary | cannot write the summary of ") +
               chatId);
}

void ChatManager::forgetChat(const QString& chatId)
{
    Chat* chat = chats.take(chatId);
    if (!chat && recipientSet.contains(chatId)) {
        chat = new Chat;
        chat->setChatId(chatId, Chat::ChatMode_Stored);
    }
    if (chat) {
        chat->clear();
        delete chat;
    }
    store.del(kSummaryPrefix + chatId);
    summaries.remove(chatId);
}

// ---- the recipient list ---------------------------------------------------

QStringList ChatManager::getRecipients() const
{
    return recipients;
}

void ChatManager::setRecipients(const QStringList& ids)
{
    recipients = ids;
    recipientSet = QSet<QString>(ids.begin(), ids.end());
}

bool ChatManager::saveRecipients(const QStringList& ids)
{
    if (!store.put(kRecipients,
                   QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(ids)).toJson())))
        return false;
    setRecipients(ids);
    return true;
}

bool ChatManager::contains(const QString& chatId) const
{
    return recipientSet.contains(chatId);
}

bool ChatManager::addRecipient(const QString& id)
{
    if (recipientSet.contains(id))
        return true;
    if (!saveRecipients(recipients + QStringList{id}))
        return false;
    emit recipientAdded(id);
    return true;
}

bool ChatManager::removeRecipient(const QString& id)
{
    QStringList ids = recipients;
    ids.removeAll(id);
    store.del(kSummaryPrefix + id);
    summaries.remove(id);
    return saveRecipients(ids);
}

bool ChatManager::removeAllRecipients()
{
    for (const QString& id : qAsConst(recipients))
        forgetChat(id);
    return saveRecipients(QStringList());
}

bool ChatManager::deleteChat(const QString& chatId)
{
    if (!chats.contains(chatId) && !recipientSet.contains(chatId))
        return false;
    forgetChat(chatId);
    if (!recipientSet.contains(chatId))
        return true;
    QStringList ids = recipients;
    ids.removeAll(chatId);
    return saveRecipients(ids);
}

QHash<QString, qint64> ChatManager::getLastMessageTimes(const QStringList& ids)
{
    QHash<QString, qint64> times;
    for (const QString& id : ids) {
        Message last;
        times.insert(id, getLastMsg(id, &last) ? last.getSendTimeInGMT() : 0);
    }
    return times;
}

QStringList ChatManager::getRecipientsSorted()
{
    QStringList ids = getRecipients();
    const QHash<QString, qint64> times = getLastMessageTimes(ids);
    std::stable_sort(ids.begin(), ids.end(), [&times](const QString& a, const QString& b) {
        return times.value(a) > times.value(b);
    });
    return ids;
}

// ---- messages -------------------------------------------------------------

bool ChatManager::addMessagePair(const Message& message)
{
    MessagePair pair;
    pair.setMessage(message);
    if (!addMessagePair(&pair))
        return false;
    L_DEBUG(QStringLiteral("ChatManager::addMessagePair | added ") + message.getMessageId());
    respondMessagePairAdded(pair);
    return true;
}

bool ChatManager::addMessagePair(MessagePair* pair)
{
    const Message message = pair->getMessage();
    L_DEBUG(QStringLiteral("ChatManager::addMessagePair | ") + message.getMessageId());
    if (!addMessage(message))
        return false;
    Chat* chat = openChat(message.getChatId());
    if (message.isReply() && chat) {
        Message replied;
        if (chat->getMessage(message.getReplyOnMessageId(), &replied))
            pair->setReplyMessage(replied);
    }
    return true;
}

bool ChatManager::addMessage(const Message& message)
{
    if (message.getMajorType() != MessageBase::MsgMajorType_SimpleChat)
        return true;
    const QString chatId = message.getChatId();
    if (chatId.isEmpty()) {
        L_WARN(QStringLiteral("ChatManager::addMessage | refused %1: no chat id")
                   .arg(message.getMessageId()));
        return false;
    }
    if (Chat* chat = openChat(chatId)) {
        if (chat->contains(message.getMessageId()) || !chat->addMessage(message))
            return false;
        refreshSummary(chatId);
        return true;
    }
    Chat* chat = initChat(chatId);
    if (!chat->addMessage(message)) {
        // Nothing was stored: no chat and no partner come of it.
        chats.remove(chatId);
        delete chat;
        return false;
    }
    addRecipient(chatId);
    refreshSummary(chatId);
    return true;
}

QStringList ChatManager::changeMessageState(const QString& chatId, const QString& messageId,
                                            MessageBase::MsgState state, Chat::SeenScope scope)
{
    L_DEBUG(QStringLiteral("ChatManager::changeMessageState | ") + messageId + QLatin1Char(' ') +
            MessageBase::toString(state));
    Chat* chat = openChat(chatId);
    if (!chat || !chat->contains(messageId))
        return QStringList();
    const QStringList changed = chat->changeMessageState(messageId, state, scope);
    refreshSummary(chatId);
    return changed;
}

QStringList ChatManager::changeMessageStatesToSeen(const QString& chatId, const QStringList& ids,
                                                   Chat::SeenScope scope)
{
    Chat* chat = openChat(chatId);
    if (!chat)
        return QStringList();
    const QStringList changed = chat->changeMessageStatesToSeen(ids, scope);
    refreshSummary(chatId);
    return changed;
}

bool ChatManager::getLastMsg(const QString& chatId, Message* out)
{
    if (Chat* chat = chats.value(chatId))
        return chat->getLastMessage(out);
    int unread = 0;
    if (recipientSet.contains(chatId) && readSummary(chatId, out, &unread))
        return true;
    Chat* chat = openChat(chatId);
    return chat && chat->getLastMessage(out);
}

int ChatManager::getUnreadCount(const QString& chatId)
{
    if (Chat* chat = chats.value(chatId))
        return chat->getUnreadCount();
    Message last;
    int unread = 0;
    if (recipientSet.contains(chatId) && readSummary(chatId, &last, &unread))
        return unread;
    Chat* chat = openChat(chatId);
    return chat ? chat->getUnreadCount() : 0;
}

void ChatManager::setMessageSentTime(const Message& message)
{
    if (Chat* chat = openChat(message.getChatId())) {
        chat->setMessageSentTime(message);
        refreshSummary(message.getChatId());
    }
}

void ChatManager::setFilePathForMessage(const Message& message)
{
    if (Chat* chat = openChat(message.getChatId())) {
        chat->setFilePathForMessage(message);
        refreshSummary(message.getChatId());
    }
}

bool ChatManager::shouldBeProcessed(const Message& message) const
{
    return message.getMinorType() == MessageBase::MsgMinorType_Seen ||
           message.getMinorType() == MessageBase::MsgMinorType_EditMessage;
}

// ---- history requests -----------------------------------------------------

bool ChatManager::messageRequestExists(const MessageRequest& request) const
{
    if (!currentRequest.isEmpty() && currentRequest == request) {
        L_DEBUG(QStringLiteral("ChatManager::messageRequestExists | request is the current "
                               "request"));
        return true;
    }
    if (requests.contains(request)) {
        L_DEBUG(QStringLiteral("ChatManager::messageRequestExists | request is on request "
                               "queue"));
        return true;
    }
    L_DEBUG(QStringLiteral("ChatManager::messageRequestExists | request is NEW"));
    return false;
}

bool ChatManager::respondGetChatMessages(const MessageRequest& request)
{
    L_DEBUG(QStringLiteral("ChatManager::respondGetChatMessages | request: ") + describe(request));
    if (request.getChatId().isEmpty()) {
        L_WARN(QStringLiteral("ChatManager::respondGetChatMessages | request without chat id"));
        return false;
    }
    if (messageRequestExists(request)) {
        L_DEBUG(QStringLiteral("ChatManager::respondGetChatMessages | request already exists"));
        return false;
    }
    if (!currentRequest.isEmpty()) {
        requests.append(request);
        L_DEBUG(QStringLiteral("ChatManager::respondGetChatMessages | request enqueued"));
        return false;
    }
    L_DEBUG(QStringLiteral("ChatManager::respondGetChatMessages | request set to current"));
    currentRequest = request;
    currentAnswered = false;
    MessageReply reply;
    reply.setRequest(request);
    reply.setType(MessageBase::MsgMajorType_SimpleChat);

    QList<Message> page;
    bool fetching = false;
    const bool collected =
        request.getMessageId().isEmpty()
            ? getLastMessages(request.getChatId(), request.getNumber(), &page, &fetching)
            : getMessagesBefore(request.getChatId(), request.getMessageId(), request.getNumber(),
                                &page, &fetching);
    if (!collected) {
        // Waiting for the archive; with no fetch under way nothing would ever
        // answer, so the request ends here and the next one goes on.
        if (!fetching)
            proceedToMessageRequests(QList<Message>());
        return false;
    }
    reply.setMsgs(page);
    addReplyMessages(&reply);
    const bool complete = page.size() == request.getNumber();
    if (complete)
        currentRequest.clear();
    currentAnswered = true;
    respondReplyGetChatMessage(reply);
    if (complete)
        runNextRequest();
    return true;
}

bool ChatManager::getLastMessages(const QString& chatId, int count, QList<Message>* out,
                                  bool* fetching)
{
    out->clear();
    Chat* chat = openChat(chatId);
    if (!chat || count <= 0) {
        if (chat)
            L_DEBUG(QStringLiteral("ChatManager::getLastMessages | baseArchive"));
        startUserChatArchive(chatId, QString(), count);
        *fetching = true;
        return false;
    }
    *out = chat->getLastMessages(0, count);
    if (out->size() == count)
        return true;
    *fetching = true;
    if (out->isEmpty()) {
        // Nothing stored: the archive answers.
        startUserChatArchive(chatId, QString(), count);
        return false;
    }
    startUserChatArchive(chatId, out->first().getMessageId(), count - out->size());
    return true;
}

bool ChatManager::getMessagesBefore(const QString& chatId, const QString& messageId, int count,
                                    QList<Message>* out, bool* fetching)
{
    out->clear();
    Chat* chat = openChat(chatId);
    if (!chat)
        return false;
    if (!chat->getMessagesBefore(messageId, count, out)) {
        startUserChatArchive(chatId, messageId, count);
        *fetching = true;
        return true;
    }
    if (out->size() >= count)
        return true;
    startUserChatArchive(chatId, out->isEmpty() ? messageId : out->last().getMessageId(), 50);
    *fetching = true;
    return true;
}

void ChatManager::addReplyMessages(MessageReply* reply)
{
    ConversationEdits::addReplyMessages(reply, [this](const QString& id) { return openChat(id); });
}

void ChatManager::runNextRequest()
{
    if (currentRequest.isEmpty() && !requests.isEmpty())
        respondGetChatMessages(requests.takeFirst());
}

void ChatManager::proceedToMessageRequests(const QList<Message>& messages)
{
    L_DEBUG(QStringLiteral("ChatManager::proceedToMessageRequests | messagesSize: %1")
                .arg(messages.size()));
    L_DEBUG(QStringLiteral("ChatManager::proceedToMessageRequests | currentReq: ") +
            describe(currentRequest));
    if (!currentRequest.isEmpty()) {
        // Whoever asked is answered at least once, with nothing when the
        // archive has nothing; only the internal archive refresh (no count)
        // goes unanswered.
        if (!messages.isEmpty() || (!currentAnswered && currentRequest.getNumber() > 0)) {
            MessageReply reply;
            reply.setRequest(currentRequest);
            reply.setType(MessageBase::MsgMajorType_SimpleChat);
            reply.sortAndSetMessages(messages);
            addReplyMessages(&reply);
            respondReplyGetChatMessage(reply);
        }
        currentRequest.clear();
        L_DEBUG(QStringLiteral("ChatManager::proceedToMessageRequests | current request "
                               "cleared"));
    }
    runNextRequest();
    L_DEBUG(QStringLiteral("ChatManager::proceedToMessageRequests | #Finished"));
}

void ChatManager::callMessageArchive(const QString& chatId)
{
    L_DEBUG(QStringLiteral("ChatManager::callMessageArchive"));
    respondGetChatMessages(
        MessageRequest(chatId, QString(), 0, MessageBase::MsgMajorType_SimpleChat));
}

// ---- the archive ----------------------------------------------------------

void ChatManager::startUserChatArchive(const QString& userId, const QString& messageId, int count)
{
    Q_UNUSED(count) // every fetch asks for 200
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("UserId"), userId);
    inputs.insert(QStringLiteral("MessageId"), messageId);
    inputs.insert(QStringLiteral("Count"), QStringLiteral("200"));
    emit start(PROC_UserChatArchive, inputs);
}

void ChatManager::processReply(Procedure procedure, const QJsonObject& reply)
{
    if (procedure == PROC_UserChatArchive)
        processUserChatArchive(reply);
}

void ChatManager::result(Procedure pro, int resultCode)
{
    if (pro != PROC_UserChatArchive || resultCode == 200 || currentRequest.isEmpty())
        return;
    L_WARN(QStringLiteral("ChatManager::result | archive fetch failed with %1; ").arg(resultCode) +
           describe(currentRequest));
    proceedToMessageRequests(QList<Message>());
}

bool ChatManager::decomposeArchiveMessages(const QJsonObject& reply, const QString& chatId,
                                           QList<Message>* out)
{
    if (!reply.contains(QStringLiteral("Messages")))
        return false;
    const QJsonArray elements = reply.value(QStringLiteral("Messages")).toArray();
    for (const QJsonValue& element : elements) {
        Message message;
        if (message.fromUserChatArchiveJson(element.toObject(), chatId, getUserName()))
            out->append(message);
    }
    L_DEBUG(QStringLiteral("ChatManager::decomposeArchiveMessages | %1 out of %2 successfully "
                           "decomposed")
                .arg(out->size())
                .arg(elements.size()));
    return !out->isEmpty();
}

void ChatManager::processUserChatArchive(const QJsonObject& reply)
{
    if (currentRequest.isEmpty()) {
        L_WARN(QStringLiteral("ChatManager::processUserChatArchive | no history request is "
                              "waiting; reply ignored"));
        runNextRequest();
        return;
    }
    const QString chatId = currentRequest.getChatId();
    QList<Message> decoded;
    decomposeArchiveMessages(reply, chatId, &decoded);
    decoded.erase(std::remove_if(decoded.begin(), decoded.end(),
                                 [](const Message& m) { return m.isControlMessage(); }),
                  decoded.end());
    // Newest first, so that each older message lands below the ones stored.
    std::stable_sort(decoded.begin(), decoded.end(), [](const Message& a, const Message& b) {
        return a.getSendTimeInGMT() > b.getSendTimeInGMT();
    });

    // Messages already stored keep what the store holds; the others are
    // placed as one page.
    Chat* chat = openChat(chatId);
    QList<Message> fresh;
    for (Message& message : decoded) {
        message.setMessageBody(HtmlManager::insertHtmlTags(message.getMessageBody()));
        if (message.getMajorType() == MessageBase::MsgMajorType_SimpleChat &&
            (!chat || !chat->contains(message.getMessageId())))
            fresh.append(message);
    }
    // A chat that is not stored yet starts with the newest that is accepted.
    while (!chat && !fresh.isEmpty()) {
        addMessage(fresh.takeFirst());
        chat = chats.value(chatId);
    }
    QList<Message> results;
    if (chat) {
        chat->addMessages(fresh);
        for (const Message& message : qAsConst(decoded)) {
            chat->changeMessageState(message.getMessageId(), message.getState());
            Message stored;
            if (chat->getMessage(message.getMessageId(), &stored))
                results.append(stored);
        }
        refreshSummary(chatId);
    }
    L_DEBUG(QStringLiteral("ChatManager::processUserChatArchive | nonControls size: %1")
                .arg(results.size()));
    proceedToMessageRequests(results);
}

// ---- control messages -----------------------------------------------------

void ChatManager::processControlMessage(const Message& message)
{
    if (!message.isControlMessage())
        return;
    if (message.getMinorType() == MessageBase::MsgMinorType_EditMessage) {
        L_DEBUG(QStringLiteral("ChatManager::processControlMessage | edit"));
        processEditMessage(message, true);
    } else if (message.getMinorType() == MessageBase::MsgMinorType_Seen) {
        processSeenMessage(message);
    }
}

void ChatManager::processEditMessage(const Message& message, bool toDisplayText)
{
    const QString chatId = message.getChatId();
    if (!contains(chatId))
        return;
    Message edited;
    if (ConversationEdits::apply(openChat(chatId), message, toDisplayText, &edited)) {
        refreshSummary(chatId);
        emit commandResponse(CMD_MessageEdited, QVariant::fromValue(edited));
    }
}

void ChatManager::processSeenMessage(const Message& message)
{
    const QString chatId = message.getChatId();
    const SeenMessage seen = message.getSeenMessage();
    if (!contains(chatId) || seen.isEmpty())
        return;
    L_DEBUG(QStringLiteral("ChatManager::processSeenMessage | %1 ids")
                .arg(seen.getMessageIds().size()));
    // The partner's receipt covers the user's own messages only.
    const QStringList changed =
        seen.getMessageIds().isEmpty()
            ? changeMessageState(chatId, seen.getMessageId(), MessageBase::MsgState_Seen,
                                 Chat::SeenScope_OwnMessages)
            : changeMessageStatesToSeen(chatId, seen.getMessageIds(), Chat::SeenScope_OwnMessages);
    L_DEBUG(QStringLiteral("ChatManager::processSeenMessage | changed: ") +
            changed.join(QLatin1Char(',')));
    for (const QString& id : changed)
        respondMessageStateChange(chatId, id, MessageBase::MsgState_Seen);
}

// ---- answers --------------------------------------------------------------

void ChatManager::respondReplyGetChatMessage(const MessageReply& reply)
{
    L_DEBUG(QStringLiteral("ChatManager::respondReplyGetChatMessage | %1 / ReplySize: %2 ")
                .arg(reply.getMsgs().size())
                .arg(reply.getReplyMessages().size()) +
            describe(reply.getRequest()));
    emit commandResponse(CMD_GetChatMessages, QVariant::fromValue(reply));
}

void ChatManager::respondMessagePairAdded(const MessagePair& pair)
{
    emit commandResponse(CMD_MessagePairAdded, QVariant::fromValue(pair));
}

void ChatManager::respondMessageStateChange(const QString& chatId, const QString& messageId,
                                            MessageBase::MsgState state)
{
    emit commandResponse(CMD_MessageStateChange,
                         QVariant::fromValue(MessageState(chatId, messageId, state)));
}

// ---- The one-to-one kind in the Manager's message flow ----

ConversationKeeper::Keeping ChatManager::storeOwnMessage(const Message& message)
{
    if (addMessagePair(message))
        return Keeping::Kept;
    Chat* chat = message.getChatId().isEmpty() ? nullptr : openChat(message.getChatId());
    if (message.getChatId().isEmpty() || (chat && chat->contains(message.getMessageId())))
        return Keeping::Refused;
    return Keeping::NotWritten;
}

bool ChatManager::markNotSent(const QString& id, const QString& messageId,
                              MessageBase::SendFailure why)
{
    Chat* chat = openChat(id);
    return chat && chat->setSendFailure(messageId, why);
}

void ChatManager::showUnkeptMessage(const Message& message)
{
    MessagePair pair;
    pair.setMessage(message);
    respondMessagePairAdded(pair);
}

bool ChatManager::storeArrivedMessage(const Message& message)
{
    if (!addMessagePair(message))
        return false;
    emit arrivedMessageStored(message);
    return true;
}

void ChatManager::answerHistory(const MessageRequest& request)
{
    respondGetChatMessages(request);
}

MessageBase::MsgState ChatManager::confirmSent(const Message& message)
{
    setMessageSentTime(message);
    if (changeMessageState(message.getChatId(), message.getMessageId(), MessageBase::MsgState_Sent)
            .isEmpty())
        return MessageBase::MsgState_Draft;
    return MessageBase::MsgState_Sent;
}

bool ChatManager::markSeen(const QString& id, SeenMessage* receipt)
{
    Message last;
    bool answer = false;
    if (getLastMsg(id, &last) && last.getUserId() != getUserName()) {
        // Reading the chat marks the partner's messages; the user's own wait
        // for the partner's receipt.
        QStringList ids = changeMessageState(id, last.getMessageId(), MessageBase::MsgState_Seen,
                                             Chat::SeenScope_PartnerMessages);
        if (ids.isEmpty())
            ids << last.getMessageId();
        receipt->setSeenVariables(id, last.getMessageId(), ids);
        answer = true;
    }
    callMessageArchive(id);
    return answer;
}

void ChatManager::applyMuteUpdate(const QString& id, bool mute)
{
    emit partnerMuteChanged(id, mute);
}
