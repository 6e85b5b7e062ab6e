#include "Managers/Channel/channelmanager.h"

#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

namespace {
const QString kStoreName = QStringLiteral("channelDataBase");
const QString kChannelIds = QStringLiteral("channelIds");
const QString kLastTimeNewMessagesCalled = QStringLiteral("lastTimeNewMessagesCalled");
// A channel's last message and unread count, kept beside its description so
// that loading and the list need not open the channel's message store.
const QString kMessagingPrefix = QStringLiteral("_messaging/");
const QString kLastMessage = QStringLiteral("LastMessage");
const QString kUnreadCount = QStringLiteral("UnreadCount");

void logStep(const char* step)
{
    L_DEBUG(QStringLiteral("ChannelManager::startLoading() | %1 %2")
                .arg(QLatin1String(step))
                .arg(DateTime::getDateTimeInMSecs()));
}
} // namespace

ChannelManager::ChannelManager(QObject* parent) : AbstractManager(parent)
{
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &ChannelManager::sendNextMessageOnQueue);
}

void ChannelManager::onInitialize()
{
    startChannelList();
    sendNextMessageOnQueue();
}

void ChannelManager::startLoading()
{
    logStep("#START");
    dataBase.setDBName(kStoreName);
    logStep("#initDatabase");
    loadAllChannels();
    logStep("#loadAllChannels");
    outbox.load(&dataBase);
    loaded = true;
    emit loadingFinished();
    logStep("#END");
}

bool ChannelManager::isBookkeepingKey(const QString& id)
{
    return id.isEmpty() || id == kChannelIds || id == kLastTimeNewMessagesCalled ||
           id == ChannelOutbox::kKey || id.startsWith(kMessagingPrefix);
}

void ChannelManager::loadAllChannels()
{
    for (const QString& id : getChannelIds())
        loadChannel(id);
}

bool ChannelManager::loadChannel(const QString& id)
{
    QJsonObject stored;
    Channel channel;
    if (isBookkeepingKey(id) || !dataBase.get(id, &stored) || !channel.setDataFromDBJson(stored) ||
        channel.getId() != id) {
        L_WARN(QStringLiteral("ChannelManager::loadChannel | unreadable record of ") + id);
        return false;
    }
    QJsonObject messaging;
    if (dataBase.get(kMessagingPrefix + id, &messaging)) {
        ChannelInfo info = channel.getInfo();
        Message last;
        if (last.fromDBJson(messaging.value(kLastMessage).toObject()))
            info.setLastMessage(last);
        info.setUnreadCount(messaging.value(kUnreadCount).toInt());
        channel.setInfo(info);
    }
    channel.setUserIdentity(getUserIdentity());
    channel.initChat(Chat::ChatMode_Stored);
    channels.insert(id, channel);
    considerNewest(channel.getInfo().getLastMessage());
    return true;
}

void ChannelManager::considerNewest(const Message& message)
{
    if (!message.isValid())
        return;
    if (!newestMessage.isValid() || message.getSendTimeInGMT() > newestMessage.getSendTimeInGMT())
        newestMessage = message;
}

QStringList ChannelManager::getChannelIds() const
{
    QJsonArray stored;
    QStringList ids;
    if (dataBase.get(kChannelIds, &stored)) {
        for (const QJsonValue& id : stored)
            ids << id.toString();
    }
    return ids;
}

void ChannelManager::saveChannelIds(const QStringList& ids)
{
    if (!dataBase.put(kChannelIds, QJsonArray::fromStringList(ids)))
        L_ERROR(QStringLiteral("ChannelManager::saveChannelIds | cannot store the list"));
}

void ChannelManager::addChannelInfoToDB(const ChannelInfo& info)
{
    QStringList ids = getChannelIds();
    if (!ids.contains(info.getId())) {
        ids << info.getId();
        saveChannelIds(ids);
    }
    if (!dataBase.put(info.getId(), info.toDBJsonObject()))
        L_ERROR(QStringLiteral("ChannelManager::addChannelInfoToDB | cannot store ") +
                info.getId());
}

void ChannelManager::saveMessagingFields(const Channel& channel)
{
    const ChannelInfo info = channel.getInfo();
    const QJsonObject messaging{{kLastMessage, info.getLastMessage().toDBJson()},
                                {kUnreadCount, info.getUnreadCount()}};
    dataBase.put(kMessagingPrefix + info.getId(), messaging);
}

bool ChannelManager::getChannelInfo(const QString& id, ChannelInfo* out) const
{
    const auto it = channels.constFind(id);
    if (it == channels.constEnd())
        return false;
    *out = it->getInfo();
    return true;
}

bool ChannelManager::getLastMessage(const QString& id, Message* out)
{
    auto it = channels.find(id);
    return it != channels.end() && it->getLastMessage(out);
}

void ChannelManager::addChannel(const Channel& channel)
{
    const QString id = channel.getId();
    if (isBookkeepingKey(id)) {
        L_WARN(QStringLiteral("ChannelManager::addChannel | refused id ") + id);
        return;
    }
    auto it = channels.find(id);
    if (it == channels.end()) {
        it = channels.insert(id, channel);
        it->setUserIdentity(getUserIdentity());
        it->initChat(Chat::ChatMode_Stored);
        addChannelInfoToDB(it->getInfo());
        // From now on the channel's posts are missed when away, even while
        // none has been seen yet.
        if (!dataBase.contains(kLastTimeNewMessagesCalled))
            dataBase.put(kLastTimeNewMessagesCalled,
                         qint64(DateTime::getDateTime()) - kSinceMarginSeconds);
        checkChannelsToHave1Msg(id);
        respondChannelAdded(id);
        return;
    }
    Channel fresh = channel;
    fresh.setDBFields(*it);
    fresh.setMessagingFields(*it);
    it->setInfo(fresh.getInfo());
    addChannelInfoToDB(it->getInfo());
    emit commandResponse(CMD_ChannelData, QVariant::fromValue(it->getInfo()));
}

void ChannelManager::removeChannel(const QString& id)
{
    auto it = channels.find(id);
    if (it != channels.end()) {
        it->removeChat();
        channels.erase(it);
    }
    if (dataRequests.contains(id))
        removedWhileAsked.insert(id);
    QStringList ids = getChannelIds();
    if (ids.removeOne(id))
        saveChannelIds(ids);
    if (!isBookkeepingKey(id)) {
        dataBase.del(id);
        dataBase.del(kMessagingPrefix + id);
    }
    emit channelRemoved(id);
}

void ChannelManager::removeAllChannels()
{
    for (Channel& channel : channels)
        channel.removeChat();
    channels.clear();
}

void ChannelManager::respondChannelAdded(const QString& id)
{
    ChannelInfo info;
    if (getChannelInfo(id, &info))
        emit commandResponse(CMD_ChannelAdded, QVariant::fromValue(info));
}

void ChannelManager::respondChannelData(const QString& id)
{
    ChannelInfo info;
    if (getChannelInfo(id, &info))
        emit commandResponse(CMD_ChannelData, QVariant::fromValue(info));
}

void ChannelManager::changeMuteStatus(const ChannelInfo& info)
{
    auto it = channels.find(info.getId());
    if (it == channels.end())
        return;
    ChannelInfo stored = it->getInfo();
    stored.setMute(info.getMute());
    it->setInfo(stored);
    addChannelInfoToDB(stored);
}

void ChannelManager::applyMuteUpdate(const QString& id, bool mute)
{
    ChannelInfo info;
    if (!getChannelInfo(id, &info))
        return;
    info.setMute(mute);
    changeMuteStatus(info);
    respondChannelData(id);
}

QList<ChannelInfo> ChannelManager::getChannelsSorted() const
{
    // Newest last message first; a stored id whose record did not load is
    // skipped. Equal times keep the order in which the channels were stored.
    QList<ChannelInfo> infos;
    for (const QString& id : getChannelIds()) {
        const auto it = channels.constFind(id);
        if (it != channels.constEnd())
            infos << it->getInfo();
    }
    std::stable_sort(infos.begin(), infos.end(), [](const ChannelInfo& a, const ChannelInfo& b) {
        return a.getLastMessage().getSendTimeInGMT() > b.getLastMessage().getSendTimeInGMT();
    });
    return infos;
}

void ChannelManager::checkChannelsToHave1Msg(const QString& id)
{
    if (!id.isEmpty()) {
        startChannelArchive(id, 0);
        return;
    }
    // An empty channel is asked for a page; one with messages only when its
    // store is already open and short of ten, so no store is opened just to
    // count its messages.
    for (auto it = channels.begin(); it != channels.end(); ++it) {
        const bool empty = !it->getInfo().getLastMessage().isValid();
        if (empty || (it->isStoreOpen() && it->getNumberOfMessages() < 10))
            startChannelArchive(it.key(), 0);
    }
}
