#include "Managers/Like/likemanager.h"

#include "foundation/database.h"
#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

#include <QJsonArray>

namespace {
const char* const kStoreName = "likeManagerDB";
const char* const kToBeSentKey = "likesToBeSent";
const char* const kBeingSentKey = "likesBeingSent";

QJsonObject toObject(const QHash<QString, bool>& likes)
{
    QJsonObject object;
    for (auto it = likes.constBegin(); it != likes.constEnd(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QHash<QString, bool> fromObject(const QJsonObject& object)
{
    QHash<QString, bool> likes;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        likes.insert(it.key(), it.value().toBool(false));
    return likes;
}
} // namespace

LikeManager::LikeManager(QObject* parent) : AbstractManager(parent)
{
    sendTimer.setInterval(kSendInterval);
}

void LikeManager::setSendInterval(int msecs)
{
    sendTimer.setInterval(msecs);
}

void LikeManager::startLoading()
{
    L_DEBUG(QStringLiteral("LikeManager::startLoading() | #START ") +
            QString::number(DateTime::getDateTimeInMSecs()));
    getTimer.setSingleShot(false);
    connect(&getTimer, &QTimer::timeout, this, &LikeManager::startGettingLikes,
            Qt::UniqueConnection);
    sendTimer.setSingleShot(false);
    connect(&sendTimer, &QTimer::timeout, this, &LikeManager::startSendingLikes,
            Qt::UniqueConnection);
    sendTimer.start();
    if (!store) {
        store = new DataBase(QString::fromLatin1(kStoreName));
        store->setParent(this);
    }
    loadLikesToBeSent();
    alreadyRequested = false;
    emit loadingFinished();
    L_DEBUG(QStringLiteral("LikeManager::startLoading() | #END ") +
            QString::number(DateTime::getDateTimeInMSecs()));
}

// ---- Likes ----

void LikeManager::addLike(const LikePair& pair)
{
    addLike(pair.getMessageId(), pair.getLiked());
}

void LikeManager::addLike(const QString& messageId, bool liked)
{
    if (messageId.isEmpty())
        return;
    auto it = likesToBeSent.find(messageId);
    if (it == likesToBeSent.end())
        likesToBeSent.insert(messageId, liked);
    else if (it.value() != liked)
        likesToBeSent.erase(it);
    saveLikesToBeSent();
}

void LikeManager::saveLikesToBeSent()
{
    if (!store)
        return;
    store->put(QString::fromLatin1(kToBeSentKey), toObject(likesToBeSent));
    store->put(QString::fromLatin1(kBeingSentKey), toObject(currentLikes));
}

void LikeManager::loadLikesToBeSent()
{
    QJsonObject object;
    if (store->get(QString::fromLatin1(kToBeSentKey), &object))
        likesToBeSent = fromObject(object);
    // A batch that was never confirmed goes out again first.
    object = QJsonObject();
    if (store->get(QString::fromLatin1(kBeingSentKey), &object))
        currentLikes = fromObject(object);
}

void LikeManager::startSendingLikes()
{
    if (sendInFlight)
        return;
    if (currentLikes.isEmpty()) {
        if (likesToBeSent.isEmpty())
            return;
        pickLikeToBeSent();
        if (currentLikes.isEmpty())
            return;
    }
    startLikeSend(currentLikes);
}

void LikeManager::pickLikeToBeSent()
{
    const QStringList ids = likesToBeSent.keys();
    for (int i = 0; i < ids.size() && i < kLikesPerSend; ++i)
        currentLikes.insert(ids.at(i), likesToBeSent.take(ids.at(i)));
    // The picked batch stays stored, as the one being sent, until confirmed.
    saveLikesToBeSent();
}

void LikeManager::startLikeSend(const QHash<QString, bool>& likes)
{
    QJsonObject messageLikes;
    for (auto it = likes.constBegin(); it != likes.constEnd(); ++it)
        messageLikes.insert(it.key(), it.value() ? QStringLiteral("1") : QStringLiteral("0"));
    sendInFlight = true;
    emit start(PROC_SendLike, {{QStringLiteral("MessageLikes"), messageLikes}});
}

// ---- Like counts ----

void LikeManager::getLikes(const QString& chatId, const QStringList& messageIds)
{
    getLikes(LVRequest(chatId, messageIds));
}

void LikeManager::getLikes(const LVRequest& request)
{
    if (!request.isValid())
        return;
    const QString chatId = request.getChatId();
    auto it = pendingRequests.find(chatId);
    if (it == pendingRequests.end()) {
        chatQueue.append(chatId);
        LVRequest merged(chatId, QStringList());
        merged.addMessageIds(request.getMessageIds());
        pendingRequests.insert(chatId, merged);
    } else {
        it->addMessageIds(request.getMessageIds());
    }
    startGetTimer();
}

void LikeManager::startGetTimer()
{
    if (!getTimer.isActive())
        getTimer.start(getInterval);
}

void LikeManager::startGettingLikes()
{
    if (alreadyRequested || chatQueue.isEmpty())
        return;
    pickCurrentRequests();
    QJsonArray ids;
    for (const QString& id : getCurrentRequestMessageIds())
        ids.append(id);
    emit start(PROC_GetLike, {{QStringLiteral("MessageIDs"), ids}});
    if (chatQueue.isEmpty())
        getTimer.stop();
    alreadyRequested = true;
}

void LikeManager::pickCurrentRequests()
{
    if (!currentRequests.isEmpty())
        return;
    while (!chatQueue.isEmpty()) {
        const QString chatId = chatQueue.first();
        LVRequest& pending = pendingRequests[chatId];
        const int room = kIdsPerGet - getCurrentRequestsSize();
        if (pending.size() <= room) {
            currentRequests.append(pendingRequests.take(chatId));
            chatQueue.removeFirst();
            continue;
        }
        if (currentRequests.isEmpty()) {
            // Too many ids for one request: send the first piece now and keep
            // the rest at the head of the queue, answered together later.
            const QStringList ids = pending.getMessageIds();
            currentRequests.append(LVRequest(chatId, ids.mid(0, kIdsPerGet)));
            pending.setMessageIds(ids.mid(kIdsPerGet));
            if (!partialReplies.contains(chatId))
                partialReplies.insert(chatId, LVReply(LVRequest(chatId, QStringList())));
        }
        return;
    }
}

int LikeManager::getCurrentRequestsSize() const
{
    int size = 0;
    for (const LVRequest& request : currentRequests)
        size += request.size();
    return size;
}

QStringList LikeManager::getCurrentRequestMessageIds() const
{
    QStringList ids;
    for (const LVRequest& request : currentRequests)
        ids << request.getMessageIds();
    return ids;
}

void LikeManager::decomposeLikeGet(const QJsonObject& reply)
{
    const QJsonObject counts = reply.value(QStringLiteral("MessagesLikeCount")).toObject();
    const QList<LVRequest> batch = currentRequests;
    currentRequests.clear();
    for (const LVRequest& request : batch) {
        const QString chatId = request.getChatId();
        const bool split = partialReplies.contains(chatId);
        LVReply answer = partialReplies.take(chatId);
        LVRequest asked = answer.getRequest();
        asked.setChatId(chatId);
        asked.addMessageIds(request.getMessageIds());
        answer.setRequest(asked);
        for (const QString& id : request.getMessageIds()) {
            if (counts.contains(id))
                answer.addResult(id, qMax(0, JsonNumbers::toInt(counts.value(id))));
        }
        if (split && pendingRequests.contains(chatId)) {
            // More pieces of this chat are still to come.
            partialReplies.insert(chatId, answer);
            continue;
        }
        emit likeGetResults(answer);
    }
}

void LikeManager::requeueCurrentRequests()
{
    for (int i = currentRequests.size() - 1; i >= 0; --i) {
        const LVRequest& request = currentRequests.at(i);
        const QString chatId = request.getChatId();
        auto it = pendingRequests.find(chatId);
        if (it == pendingRequests.end()) {
            pendingRequests.insert(chatId, request);
        } else {
            LVRequest merged = request;
            merged.addMessageIds(it->getMessageIds());
            *it = merged;
        }
        chatQueue.removeAll(chatId);
        chatQueue.prepend(chatId);
    }
    currentRequests.clear();
    if (!chatQueue.isEmpty())
        startGetTimer();
}

// ---- Replies ----

void LikeManager::processReply(Procedure pro, const QJsonObject& reply)
{
    switch (pro) {
    case PROC_SendLike:
        sendInFlight = false;
        currentLikes.clear();
        saveLikesToBeSent();
        break;
    case PROC_GetLike:
        decomposeLikeGet(reply);
        alreadyRequested = false;
        break;
    default:
        break;
    }
}

void LikeManager::result(Procedure pro, int outcome)
{
    if (outcome == 200)
        return;
    if (pro == PROC_SendLike) {
        // The batch stays and goes out again at the next tick.
        sendInFlight = false;
    } else if (pro == PROC_GetLike && alreadyRequested) {
        L_WARN(QStringLiteral("LikeManager::result | like counts failed with %1, asked again "
                              "later")
                   .arg(outcome));
        requeueCurrentRequests();
        alreadyRequested = false;
    }
}
