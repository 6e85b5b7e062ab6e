#include "Managers/Chat/chat.h"

#include "foundation/cryptoapi.h"
#include "foundation/simpleqtlogger.h"

#include <QDir>
#include <QJsonDocument>

#include <algorithm>
#include <climits>

namespace {
const QString kChatData = QStringLiteral("chatData");
const QString kMaxCounter = QStringLiteral("maxCounter");
const QString kMinCounter = QStringLiteral("minCounter");
const QString kLastSentTime = QStringLiteral("lastSentTime");
const QString kFirstSentTime = QStringLiteral("firstSentTime");
// Counters never come near this value.
const int kNoCounter = INT_MIN;

QString counterKey(int counter)
{
    return QString::number(counter);
}

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A stored chat keeps at most this many messages and positions in memory; the
// store holds the rest, so memory does not grow with the history.
const int kCacheLimit = 1024;
} // namespace

Chat::Chat()
{
    // Conversations are many: only the recently used keep their files open.
    setClosesWhenIdle(true);
}

Chat::~Chat()
{
    closeStore();
}

QString Chat::legacyStoreName(const QString& chatId)
{
    QByteArray digest = CryptoApi::hash(chatId.toUtf8(), CryptoApi::SHA1);
    const int zero = digest.indexOf('\0');
    if (zero >= 0)
        digest.truncate(zero);
    return QStringLiteral("Data/") + QString::fromUtf8(digest);
}

QString Chat::storeName(const QString& chatId)
{
    // DataBase names the directory by the SHA-1 of the whole name.
    return QStringLiteral("Data/chat/") + chatId;
}

bool Chat::isBookkeepingKey(const QString& key)
{
    if (key == kChatData)
        return true;
    bool isNumber = false;
    const int value = key.toInt(&isNumber);
    return isNumber && QString::number(value) == key;
}

void Chat::resetCounters()
{
    maxCounter = 0;
    minCounter = kInitialMinCounter;
    lastSentTime = 0;
    firstSentTime = kInitialFirstSentTime;
    // Nothing is stored, so nothing is unread.
    unreadCount = 0;
    unsavedPlacements = 0;
    counters.clear();
    counterOfId.clear();
    messages.clear();
}

void Chat::setChatId(const QString& id, ChatMode mode)
{
    closeStore();
    resetCounters();
    chatId = id;
    chatMode = mode;
    dbName.clear();
    if (isStored())
        openAndLoad();
}

void Chat::openAndLoad()
{
    if (!isStored())
        return;
    if (openDB()) {
        loadChatData();
        loadLastMessages(1);
    }
}

bool Chat::openDB()
{
    if (!isStored())
        return false;
    dbName = chooseStoreName();
    if (!isOpen())
        setDBName(dbName);
    if (!isOpen()) {
        L_WARN(QStringLiteral("Chat | store is not open: ") + chatId);
        return false;
    }
    return true;
}

bool Chat::storeWritable()
{
    if (!isStored() || available())
        return true;
    // Open but resting, and it cannot come back now: nothing to read again.
    if (isOpen() || !openDB())
        return false;
    resetCounters();
    loadChatData();
    loadLastMessages(1);
    return true;
}

QString Chat::chooseStoreName()
{
    const QString modern = storeName(chatId);
    if (QDir(pathForName(modern)).exists())
        return modern;
    const QString legacy = legacyStoreName(chatId);
    if (QDir(pathForName(legacy)).exists()) {
        setDBName(legacy);
        if (isOpen() && storeBelongsToChat()) {
            resetCounters();
            return legacy;
        }
        L_INFO(QStringLiteral("Chat::chooseStoreName | the store under the old name of %1 "
                              "belongs to another chat")
                   .arg(chatId));
        resetCounters();
        DataBase::close();
    }
    return modern;
}

bool Chat::storeBelongsToChat()
{
    loadChatData();
    if (isEmpty())
        return false;
    for (int counter : {maxCounter, minCounter}) {
        Message message;
        if (readStoredMessage(getMessageId(counter), &message))
            return message.getChatId() == chatId;
    }
    return false;
}

void Chat::close()
{
    closeStore();
    resetCounters();
}

void Chat::closeStore()
{
    if (!isOpen())
        return;
    if (isStored() && unsavedPlacements > 0 && !saveChatData())
        L_WARN(QStringLiteral("Chat::close | counters of %1 not written; found again from the "
                              "positions on the next open")
                   .arg(chatId));
    DataBase::close();
}

void Chat::clear()
{
    if (isStored())
        remove();
    resetCounters();
}

bool Chat::messageExists(const Message& message) const
{
    if (isStored())
        return DataBase::contains(message.getMessageId());
    return messages.contains(message.getMessageId());
}

bool Chat::addMessage(const Message& message, bool* isNewest)
{
    if (isNewest)
        *isNewest = false;
    const QString id = message.getMessageId();
    if (!acceptsMessage(message, "Chat::addMessage"))
        return false;
    if (!storeWritable()) {
        L_WARN(QStringLiteral("Chat::addMessage | store of %1 is not open; refused %2")
                   .arg(chatId, id));
        return writeFailed(QStringLiteral("store not open"));
    }
    trimCache();

    Message toStore = message;
    int counter = kNoCounter;
    bool added = false;
    // The message, its position and the counters reach the store in one write.
    if (isStored())
        beginBatch();
    if (!messageExists(message)) {
        if (isStored())
            putUtf8(id, compact(toStore.toDBJson()));
        counter = setCounterForNewMessage(message.getSendTimeInGMT());
        insertCounter(counter, id);
        added = true;
    } else {
        counter = findCounterForMsgId(id);
        if (counter == kNoCounter) {
            if (isStored())
                commitBatch();
            return false;
        }
        Message stored;
        if (getMessage(id, &stored))
            toStore.setDBOnlyFields(stored);
        if (isStored())
            putUtf8(id, compact(toStore.toDBJson()));
    }
    // The positions are always written, the counters only every so often.
    if (added && isStored() && ++unsavedPlacements >= kPlacementsPerChatData)
        saveChatData();
    if (isStored() && !commitBatch()) {
        L_ERROR(QStringLiteral("Chat::addMessage | cannot write %1 of %2: %3")
                    .arg(id, chatId, lastError()));
        // What reached the store is what counts: read the counters back.
        counters.clear();
        counterOfId.clear();
        messages.clear();
        loadChatData();
        return false;
    }
    messages.insert(id, toStore);
    rememberCounter(counter, id);
    if (added)
        countPlaced(toStore, counter);
    else
        unreadCount = kUnknownUnread;
    if (isNewest)
        *isNewest = counter == maxCounter;
    return true;
}

void Chat::addMessages(const QList<Message>& list)
{
    if (!storeWritable()) {
        L_WARN(QStringLiteral("Chat::addMessages | store of %1 is not open; refused %2 messages")
                   .arg(chatId)
                   .arg(list.size()));
        writeFailed(QStringLiteral("store not open"));
        return;
    }
    trimCache();
    QVector<Message> placed;
    QVector<BatchPlacement::Entry> entries;
    QVector<Message> updated;
    sortOutBatch(list, &placed, &entries, &updated);
    if (placed.isEmpty() && updated.isEmpty())
        return;

    // Where the new messages go, against the history as it stands.
    const int history = getNumberOfMessages();
    for (BatchPlacement::Entry& entry : entries)
        entry.historyBelow = historyNotNewerThan(entry.time);
    const BatchPlacement placement(history, entries);

    // The messages, their positions and the counters reach the store in one
    // write: the positions first, as placing reads the ones that move.
    if (isStored())
        beginBatch();
    if (!placed.isEmpty())
        placeBatch(placement, entries, placed);
    for (const QVector<Message>* part : {&placed, &updated}) {
        for (const Message& message : *part) {
            if (isStored())
                putUtf8(message.getMessageId(), compact(message.toDBJson()));
        }
    }
    if (!placed.isEmpty())
        saveChatData();
    if (isStored() && !commitBatch()) {
        L_ERROR(QStringLiteral("Chat::addMessages | cannot write %1 messages of %2: %3")
                    .arg(list.size())
                    .arg(chatId, lastError()));
        counters.clear();
        counterOfId.clear();
        messages.clear();
        loadChatData();
        return;
    }
    for (const QVector<Message>* part : {&placed, &updated}) {
        for (const Message& message : *part)
            messages.insert(message.getMessageId(), message);
    }
    if (updated.isEmpty())
        unreadCount = unreadAfterBatch(history, placement, entries, placed);
    else
        unreadCount = kUnknownUnread;
}

bool Chat::acceptsMessage(const Message& message, const char* caller) const
{
    const QString id = message.getMessageId();
    if (!message.isValid() || message.getChatId() != chatId)
        return false;
    if (id.isEmpty() || isBookkeepingKey(id)) {
        L_WARN(QStringLiteral("%1 | refused message id '%2' of chat %3: it names a record of "
                              "the store")
                   .arg(QLatin1String(caller), id, chatId));
        return false;
    }
    return true;
}

void Chat::sortOutBatch(const QList<Message>& list, QVector<Message>* placed,
                        QVector<BatchPlacement::Entry>* entries, QVector<Message>* updated)
{
    // A message new to the chat is placed by the send time it first comes
    // with (entries); one the chat holds, or one that comes again, replaces
    // what is held but not its position and keeps its store-only fields, as
    // adding them one by one does.
    QHash<QString, QPair<QVector<Message>*, int>> seen;
    for (const Message& message : list) {
        if (!acceptsMessage(message, "Chat::addMessages"))
            continue;
        const QString id = message.getMessageId();
        Message next = message;
        const auto it = seen.constFind(id);
        if (it != seen.constEnd()) {
            Message& held = (*it.value().first)[it.value().second];
            next.setDBOnlyFields(held);
            held = next;
            continue;
        }
        if (!messageExists(message)) {
            seen.insert(id, {placed, placed->size()});
            placed->append(next);
            entries->append({message.getSendTimeInGMT(), 0});
            continue;
        }
        if (findCounterForMsgId(id) == kNoCounter)
            continue;
        Message stored;
        if (getMessage(id, &stored))
            next.setDBOnlyFields(stored);
        seen.insert(id, {updated, updated->size()});
        updated->append(next);
    }
}

void Chat::placeBatch(const BatchPlacement& placement,
                      const QVector<BatchPlacement::Entry>& entries, const QVector<Message>& placed)
{
    const bool wasEmpty = isEmpty();
    const int history = getNumberOfMessages();
    // An empty chat starts at position 1.
    const int oldMin = wasEmpty ? 1 : minCounter;
    const int newMin = oldMin - placement.movedDown();
    // The history messages that change position: those with fewer new
    // messages below them than the bottom moved down, and those with more.
    // Their ids are read before any position is written.
    QVector<QPair<int, QString>> moved;
    const auto collect = [&](int fromRank, int toRank) {
        for (int rank = fromRank; rank < toRank; ++rank)
            moved.append(
                {newMin + rank + placement.entriesBelowHistory(rank), getMessageId(oldMin + rank)});
    };
    int low = 0;
    while (low < history && placement.entriesBelowHistory(low) < placement.movedDown())
        ++low;
    int high = history;
    while (high > low && placement.entriesBelowHistory(high - 1) > placement.movedDown())
        --high;
    collect(0, low);
    collect(high, history);
    for (const auto& position : qAsConst(moved))
        insertCounter(position.first, position.second);
    const QVector<int>& order = placement.order();
    for (int i = 0; i < order.size(); ++i)
        insertCounter(newMin + placement.rankInOrder(i), placed[order[i]].getMessageId());

    if (wasEmpty || entries[order.first()].historyBelow == 0)
        firstSentTime = entries[order.first()].time;
    if (wasEmpty || entries[order.last()].historyBelow == history)
        lastSentTime = entries[order.last()].time;
    minCounter = newMin;
    maxCounter = (wasEmpty ? 0 : maxCounter) + placement.movedUp();
}

int Chat::historyNotNewerThan(qint64 time)
{
    if (isEmpty())
        return 0;
    if (time >= lastSentTime)
        return getNumberOfMessages();
    if (time < firstSentTime)
        return 0;
    return qMax(0, newestNotNewerThan(time) - minCounter + 1);
}

int Chat::unreadAfterBatch(int history, const BatchPlacement& placement,
                           const QVector<BatchPlacement::Entry>& entries,
                           const QVector<Message>& placed) const
{
    if (unreadCount == kUnknownUnread)
        return kUnknownUnread;
    // The unread messages are the run down from the newest one. Walk the new
    // messages from the newest down, passing the history messages between
    // them: the history's run ends below its newest unreadCount messages.
    const int runEnd = qMax(0, history - unreadCount);
    const QVector<int>& order = placement.order();
    int unread = 0;
    int historyLeft = history;
    for (int i = order.size() - 1; i >= 0; --i) {
        const int below = entries[order[i]].historyBelow;
        if (below < runEnd)
            return unread + historyLeft - runEnd;
        unread += historyLeft - below;
        historyLeft = below;
        if (!isUnread(placed[order[i]]))
            return unread;
        ++unread;
    }
    return unread + historyLeft - runEnd;
}

void Chat::trimCache()
{
    if (!isStored() || (messages.size() < kCacheLimit && counters.size() < kCacheLimit))
        return;
    // The newest message stays: chat lists ask for it without reading the
    // store, which may be closed while idle.
    const QString newestId = counters.value(maxCounter);
    const auto newest = messages.constFind(newestId);
    const Message kept = newest != messages.constEnd() ? newest.value() : Message();
    const bool keep = !newestId.isEmpty() && newest != messages.constEnd();
    messages.clear();
    counters.clear();
    counterOfId.clear();
    if (keep) {
        rememberCounter(maxCounter, newestId);
        messages.insert(newestId, kept);
    }
}

int Chat::setCounterForNewMessage(qint64 time)
{
    const bool wasEmpty = isEmpty();
    if (wasEmpty || time >= lastSentTime) {
        // The first message starts the chat at position 1 whatever its time.
        if (wasEmpty)
            maxCounter = 0;
        ++maxCounter;
        lastSentTime = time;
        if (wasEmpty || time < firstSentTime) {
            firstSentTime = time;
            minCounter = maxCounter;
        }
        return maxCounter;
    }
    if (time < firstSentTime) {
        --minCounter;
        firstSentTime = time;
        return minCounter;
    }
    return searchForCorrectCounter(time);
}

int Chat::newestNotNewerThan(qint64 time)
{
    // Positions are in time order, so a binary search finds it; below the
    // oldest position when every message is newer.
    int low = minCounter;
    int high = maxCounter;
    int below = minCounter - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        qint64 middleTime = 0;
        if (!sendTimeAt(middle, &middleTime) || middleTime <= time) {
            below = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return below;
}

int Chat::searchForCorrectCounter(qint64 time)
{
    const int below = newestNotNewerThan(time);
    if (below < minCounter) {
        --minCounter;
        firstSentTime = time;
        return minCounter;
    }
    // Make room on the shorter side: older messages usually land near the
    // bottom, so only the few positions below them move.
    if (maxCounter - below <= below - minCounter + 1) {
        moveCounters(below + 1, maxCounter, 1);
        ++maxCounter;
        return below + 1;
    }
    moveCounters(minCounter, below, -1);
    --minCounter;
    return below;
}

void Chat::moveCounters(int from, int to, int step)
{
    const int first = step > 0 ? to : from;
    const int last = step > 0 ? from : to;
    const int direction = step > 0 ? -1 : 1;
    for (int counter = first;; counter += direction) {
        const QString id = getMessageId(counter);
        const int target = counter + step;
        if (id.isEmpty()) {
            counters.remove(target);
            if (isStored())
                del(counterKey(target));
        } else {
            rememberCounter(target, id);
            if (isStored())
                put(counterKey(target), id);
        }
        counters.remove(counter);
        if (counter == last)
            break;
    }
}

bool Chat::insertCounter(int counter, const QString& messageId)
{
    rememberCounter(counter, messageId);
    if (isStored())
        return put(counterKey(counter), messageId);
    return true;
}

void Chat::rememberCounter(int counter, const QString& messageId)
{
    counters.insert(counter, messageId);
    counterOfId.insert(messageId, counter);
}

QString Chat::getMessageId(int counter) const
{
    const auto it = counters.constFind(counter);
    if (it != counters.constEnd())
        return it.value();
    QString id;
    if (isStored())
        get(counterKey(counter), &id);
    return id;
}

bool Chat::readStoredMessage(const QString& messageId, Message* out) const
{
    if (!isStored() || messageId.isEmpty())
        return false;
    QByteArray text;
    if (!getUtf8(messageId, &text))
        return false;
    out->fromDBJson(QJsonDocument::fromJson(text).object());
    return true;
}

Message* Chat::loadedMessage(int counter)
{
    const QString id = getMessageId(counter);
    if (id.isEmpty())
        return nullptr;
    auto it = messages.find(id);
    if (it != messages.end())
        return &it.value();
    Message message;
    if (!readStoredMessage(id, &message))
        return nullptr;
    trimCache();
    rememberCounter(counter, id);
    return &messages.insert(id, message).value();
}

bool Chat::sendTimeAt(int counter, qint64* time)
{
    const Message* message = loadedMessage(counter);
    if (!message)
        return false;
    *time = message->getSendTimeInGMT();
    return true;
}

int Chat::findCounterForMsgId(const QString& messageId)
{
    const auto known = counterOfId.constFind(messageId);
    if (known != counterOfId.constEnd())
        return known.value();
    Message message;
    if (isEmpty() || !readStoredMessage(messageId, &message))
        return kNoCounter;
    // Look among the positions holding its send time first.
    const qint64 time = message.getSendTimeInGMT();
    int low = minCounter;
    int high = maxCounter;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        qint64 middleTime = 0;
        if (sendTimeAt(middle, &middleTime) && middleTime < time)
            low = middle + 1;
        else
            high = middle;
    }
    for (int counter = low; counter <= maxCounter; ++counter) {
        qint64 counterTime = 0;
        if (getMessageId(counter) == messageId) {
            rememberCounter(counter, messageId);
            return counter;
        }
        if (sendTimeAt(counter, &counterTime) && counterTime > time)
            break;
    }
    // A send time changed after the message was placed: walk every position.
    for (int counter = maxCounter; counter >= minCounter; --counter) {
        if (!counters.contains(counter) && getMessageId(counter) == messageId) {
            rememberCounter(counter, messageId);
            return counter;
        }
    }
    return kNoCounter;
}

int Chat::findCounterForTime(qint64 time)
{
    if (time < firstSentTime || time > lastSentTime || minCounter >= maxCounter)
        return kNoCounter;
    // The newest position above the oldest whose message is earlier than time.
    int low = minCounter + 1;
    int high = maxCounter;
    int found = kNoCounter;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        qint64 middleTime = 0;
        if (sendTimeAt(middle, &middleTime) && middleTime < time) {
            found = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return found;
}

bool Chat::getMessage(int counter, Message* out)
{
    if (isEmpty() || counter < minCounter || counter > maxCounter)
        return false;
    const Message* message = loadedMessage(counter);
    if (!message)
        return false;
    *out = *message;
    return true;
}

bool Chat::getMessage(const QString& messageId, Message* out)
{
    auto it = messages.constFind(messageId);
    if (it == messages.constEnd() && isStored() && loadMessage(messageId))
        it = messages.constFind(messageId);
    if (it == messages.constEnd())
        return false;
    *out = it.value();
    return true;
}

bool Chat::loadMessage(const QString& messageId)
{
    Message message;
    if (!readStoredMessage(messageId, &message)) {
        L_WARN(QStringLiteral("Chat::loadMessage | could not load ") + messageId);
        return false;
    }
    const int counter = findCounterForMsgId(messageId);
    if (counter == kNoCounter)
        return false;
    rememberCounter(counter, messageId);
    messages.insert(messageId, message);
    return true;
}

bool Chat::loadMessage(int counter)
{
    return loadedMessage(counter) != nullptr;
}

void Chat::loadMessages(int from, int to)
{
    for (int counter = to; counter >= from; --counter)
        loadMessage(counter);
}

void Chat::loadLastMessages(int n)
{
    if (isEmpty())
        return;
    int lowestLoaded = kInitialMinCounter;
    for (auto it = counters.constBegin(); it != counters.constEnd(); ++it)
        lowestLoaded = qMin(lowestLoaded, it.key());
    if (lowestLoaded <= minCounter)
        return;
    if (lowestLoaded > maxCounter) {
        const int from = getNumberOfMessages() > n ? maxCounter - n : minCounter;
        loadMessages(from, maxCounter);
    } else {
        loadMessages(qMax(lowestLoaded - n, minCounter), lowestLoaded);
    }
}

bool Chat::getLastMessage(Message* out)
{
    return getMessage(maxCounter, out);
}

QList<Message> Chat::getLastMessages(int offset, int count)
{
    QList<Message> list;
    const int top = maxCounter - offset;
    for (int counter = top; counter > top - count && counter >= minCounter; --counter) {
        Message message;
        if (getMessage(counter, &message))
            list.append(message);
    }
    return list;
}

bool Chat::getMessagesBefore(const QString& messageId, int count, QList<Message>* out)
{
    const int counter = findCounterForMsgId(messageId);
    if (counter == kNoCounter || counter <= minCounter)
        return false;
    int taken = 0;
    for (int below = counter - 1; below >= minCounter && taken < count; --below) {
        Message message;
        if (getMessage(below, &message)) {
            out->append(message);
            ++taken;
        }
    }
    return true;
}

bool Chat::getMessagesBefore(qint64 time, int count, QList<Message>* out)
{
    const int counter = findCounterForTime(time);
    if (counter == kNoCounter)
        return false;
    int taken = 0;
    for (int below = counter; below >= minCounter && taken < count; --below) {
        Message message;
        if (getMessage(below, &message)) {
            out->append(message);
            ++taken;
        }
    }
    return true;
}

int Chat::getNumberOfMessages() const
{
    return isEmpty() ? 0 : maxCounter - minCounter + 1;
}

void Chat::setUserIdentity(const UserIdentityPtr& value)
{
    if (value)
        identity = value;
}

bool Chat::isOwn(const Message& message) const
{
    return message.getUserId() == identity->getUserName();
}

bool Chat::isUnread(const Message& message) const
{
    return message.getState() != MessageBase::MsgState_Seen && !isOwn(message);
}

int Chat::getUnreadCount()
{
    if (isEmpty())
        return 0;
    if (unreadCount != kUnknownUnread)
        return unreadCount;
    // Walks down from the newest message to the first one that ends the run:
    // after a change of states this is near the top.
    int unread = 0;
    for (int counter = maxCounter; counter >= minCounter; --counter) {
        const Message* message = loadedMessage(counter);
        if (!message)
            continue;
        if (!isUnread(*message))
            break;
        ++unread;
    }
    unreadCount = unread;
    return unread;
}

void Chat::setKnownUnreadCount(int count)
{
    unreadCount = count < 0 ? kUnknownUnread : count;
}

void Chat::countPlaced(const Message& message, int counter)
{
    if (unreadCount == kUnknownUnread)
        return;
    // The unread messages are the run down from the newest one: a message
    // placed right below the run (or on top) lengthens it when it is unread
    // and otherwise ends it there; one placed further down changes nothing.
    const int above = maxCounter - counter;
    if (unreadCount < above)
        return;
    unreadCount = isUnread(message) ? unreadCount + 1 : above;
}

bool Chat::saveMessage(const Message& message)
{
    messages.insert(message.getMessageId(), message);
    if (isStored())
        return putUtf8(message.getMessageId(), compact(message.toDBJson()));
    return true;
}

QStringList Chat::changeMessageState(const QString& messageId, MessageBase::MsgState state,
                                     SeenScope scope)
{
    switch (state) {
    case MessageBase::MsgState_NotSent:
    case MessageBase::MsgState_Sent:
    case MessageBase::MsgState_Delivered: {
        Message message;
        if (!getMessage(messageId, &message) || message.getState() >= state)
            return QStringList();
        message.setState(state);
        if (state > MessageBase::MsgState_NotSent)
            message.setSendFailure(MessageBase::SendFailure_None);
        saveMessage(message);
        return QStringList{messageId};
    }
    case MessageBase::MsgState_Seen:
        unreadCount = kUnknownUnread;
        return markSeenFrom(messageId, scope);
    default:
        return QStringList();
    }
}

bool Chat::inScope(const Message& message, SeenScope scope) const
{
    switch (scope) {
    case SeenScope_PartnerMessages:
        return !isOwn(message);
    case SeenScope_OwnMessages:
        return isOwn(message);
    default:
        return true;
    }
}

QStringList Chat::markSeenFrom(const QString& messageId, SeenScope scope)
{
    QStringList changed;
    const int start = findCounterForMsgId(messageId);
    if (start == kNoCounter)
        return changed;
    for (int counter = start; counter >= minCounter; --counter) {
        Message message;
        if (!getMessage(counter, &message) || !inScope(message, scope))
            continue;
        L_DEBUG(QStringLiteral("Chat::changeMessageState | ") +
                MessageBase::toString(message.getState()) + QLatin1Char(' ') +
                message.getMessageId());
        if (message.getState() == MessageBase::MsgState_Seen)
            break;
        if (message.getState() == MessageBase::MsgState_Delivered) {
            message.setState(MessageBase::MsgState_Seen);
            saveMessage(message);
            changed.append(message.getMessageId());
        }
    }
    return changed;
}

QStringList Chat::changeMessageStatesToSeen(const QStringList& ids, SeenScope scope)
{
    unreadCount = kUnknownUnread;
    QStringList changed;
    for (const QString& id : ids) {
        Message message;
        if (!getMessage(id, &message) || !inScope(message, scope))
            continue;
        message.setState(MessageBase::MsgState_Seen);
        message.setSendFailure(MessageBase::SendFailure_None);
        saveMessage(message);
        changed.append(id);
    }
    return changed;
}

bool Chat::setSendFailure(const QString& messageId, MessageBase::SendFailure failure)
{
    Message message;
    if (!getMessage(messageId, &message) || message.getState() != MessageBase::MsgState_NotSent ||
        message.getSendFailure() == failure)
        return false;
    message.setSendFailure(failure);
    return saveMessage(message);
}

bool Chat::editMessage(const QString& messageId, const QString& body)
{
    Message message;
    if (!isStored() || !DataBase::contains(messageId) || !getMessage(messageId, &message))
        return false;
    message.setMessageBody(body);
    message.setEdited(true);
    saveMessage(message);
    return true;
}

void Chat::setLikeCount(const QString& messageId, int likes)
{
    Message message;
    if (!isStored() || !DataBase::contains(messageId) || !getMessage(messageId, &message))
        return;
    message.setLikes(likes);
    saveMessage(message);
}

void Chat::setLiked(const QString& messageId, bool liked)
{
    Message message;
    if (!isStored() || !DataBase::contains(messageId) || !getMessage(messageId, &message))
        return;
    // The user's own like is a state: only a change moves the count.
    if (message.getLiked() == liked)
        return;
    message.setLiked(liked);
    message.setLikes(qMax(0, message.getLikes() + (liked ? 1 : -1)));
    saveMessage(message);
}

void Chat::setMessageSentTime(const Message& update)
{
    Message message;
    const QString id = update.getMessageId();
    if (!isStored() || !DataBase::contains(id) || !getMessage(id, &message))
        return;
    const qint64 time = update.getSendTimeInGMT();
    const int counter = findCounterForMsgId(id);
    message.setSendTimeInGMT(time);
    qint64 below = LLONG_MIN;
    qint64 above = LLONG_MAX;
    if (counter == kNoCounter || ((counter == minCounter || sendTimeAt(counter - 1, &below)) &&
                                  (counter == maxCounter || sendTimeAt(counter + 1, &above)) &&
                                  below <= time && time <= above)) {
        // Still in order where it stands.
        saveMessage(message);
        if (counter == maxCounter)
            lastSentTime = time;
        if (counter == minCounter)
            firstSentTime = time;
        saveChatData();
        return;
    }
    // The positions are kept in send-time order, which the searches rely on:
    // the message leaves its position and is placed again by its new time,
    // in one write.
    unreadCount = kUnknownUnread;
    beginBatch();
    saveMessage(message);
    removePosition(counter);
    insertCounter(setCounterForNewMessage(time), id);
    saveChatData();
    if (!commitBatch()) {
        L_ERROR(QStringLiteral("Chat::setMessageSentTime | cannot write %1 of %2: %3")
                    .arg(id, chatId, lastError()));
        counters.clear();
        counterOfId.clear();
        messages.clear();
        loadChatData();
    }
}

void Chat::removePosition(int counter)
{
    counterOfId.remove(getMessageId(counter));
    if (minCounter == maxCounter) {
        counters.remove(counter);
        del(counterKey(counter));
        maxCounter = 0;
        minCounter = kInitialMinCounter;
        lastSentTime = 0;
        firstSentTime = kInitialFirstSentTime;
        return;
    }
    // The gap closes from the side that keeps position 1 in use.
    if (counter >= 1 && maxCounter > 1) {
        if (counter < maxCounter)
            moveCounters(counter + 1, maxCounter, -1);
        counters.remove(maxCounter);
        del(counterKey(maxCounter));
        --maxCounter;
    } else {
        if (counter > minCounter)
            moveCounters(minCounter, counter - 1, 1);
        counters.remove(minCounter);
        del(counterKey(minCounter));
        ++minCounter;
    }
    qint64 time = 0;
    if (sendTimeAt(maxCounter, &time))
        lastSentTime = time;
    if (sendTimeAt(minCounter, &time))
        firstSentTime = time;
}

void Chat::setFilePathForMessage(const Message& update)
{
    const FileMessage file = update.getFileMessage();
    Message message;
    if (file.isEmpty() || !getMessage(update.getMessageId(), &message))
        return;
    message.setFileMessage(file);
    saveMessage(message);
}

bool Chat::saveChatData()
{
    if (!isStored())
        return true;
    // The compact JSON of the four counters, keys in the order QJsonDocument
    // writes them, built without a QJsonObject for every message.
    QByteArray text = "{\"firstSentTime\":";
    text += QByteArray::number(firstSentTime);
    text += ",\"lastSentTime\":";
    text += QByteArray::number(lastSentTime);
    text += ",\"maxCounter\":";
    text += QByteArray::number(maxCounter);
    text += ",\"minCounter\":";
    text += QByteArray::number(minCounter);
    text += '}';
    unsavedPlacements = 0;
    return putUtf8(kChatData, text);
}

void Chat::loadChatData()
{
    readChatData();
    unreadCount = isEmpty() ? 0 : kUnknownUnread;
}

void Chat::readChatData()
{
    unsavedPlacements = 0;
    maxCounter = 0;
    minCounter = kInitialMinCounter;
    lastSentTime = 0;
    firstSentTime = kInitialFirstSentTime;
    QByteArray text;
    if (getUtf8(kChatData, &text)) {
        const QJsonDocument document = QJsonDocument::fromJson(text);
        if (document.isObject()) {
            loadChatDataFromJson(document.object());
        } else {
            L_ERROR(QStringLiteral("Chat::loadChatData | damaged chat data of %1; rebuilt from "
                                   "its positions")
                        .arg(chatId));
        }
    } else if (DataBase::contains(kChatData)) {
        L_ERROR(QStringLiteral("Chat::loadChatData | unreadable chat data of %1; rebuilt from "
                               "its positions")
                    .arg(chatId));
    }
    findPositionsPastCounters();
}

void Chat::loadChatDataFromJson(const QJsonObject& object)
{
    maxCounter = object.value(kMaxCounter).toInt(0);
    minCounter = object.value(kMinCounter).toInt(kInitialMinCounter);
    lastSentTime = object.value(kLastSentTime).toVariant().toLongLong();
    firstSentTime = object.value(kFirstSentTime).toVariant().toLongLong();
}

void Chat::findPositionsPastCounters()
{
    // The positions of a chat always include 1 and run without gaps, and the
    // counters record is written with the positions it counts: positions
    // placed after its last write (or all of them, when it is missing or
    // damaged) lie past either end of what it says.
    const int storedMax = maxCounter;
    const int storedMin = minCounter;
    if (isEmpty()) {
        if (!DataBase::contains(counterKey(1)))
            return;
        maxCounter = 1;
        minCounter = 1;
    }
    while (DataBase::contains(counterKey(maxCounter + 1)))
        ++maxCounter;
    while (DataBase::contains(counterKey(minCounter - 1)))
        --minCounter;
    if (maxCounter == storedMax && minCounter == storedMin)
        return;
    qint64 time = 0;
    if (maxCounter != storedMax && sendTimeAt(maxCounter, &time))
        lastSentTime = time;
    if (minCounter != storedMin && sendTimeAt(minCounter, &time))
        firstSentTime = time;
    L_INFO(QStringLiteral("Chat::loadChatData | counters of %1 caught up with the stored "
                          "positions: %2..%3")
               .arg(chatId)
               .arg(minCounter)
               .arg(maxCounter));
    // Written with the next placements or on closing, not here: the store
    // may yet turn out to be another chat's.
    unsavedPlacements = 1;
}
