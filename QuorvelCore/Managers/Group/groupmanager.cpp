#include "Managers/Group/groupmanager.h"

#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {
const QString kStoreName = QStringLiteral("groupsDatabase");
const QString kGroupIds = QStringLiteral("PrivateGroups");
const QString kMembersPrefix = QStringLiteral("MEMBERS_");
// A group's newest message and unread count, so that the group list is built
// without opening the groups' message stores.
const QString kSummaryPrefix = QStringLiteral("SUMMARY_");
const QLatin1String kSummaryLast("last");
const QLatin1String kSummaryUnread("unread");
const QString kLastTimeNewMessages = QStringLiteral("lastTimeNewMessagesCalled");

QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QString compact(const QJsonArray& array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}
} // namespace

GroupManager::GroupManager(QObject* parent) : AbstractManager(parent) {}

void GroupManager::startLoading()
{
    L_DEBUG(QStringLiteral("GroupManager::startLoading() | #START %1")
                .arg(DateTime::getDateTimeInMSecs()));
    loading = true;
    store.setDBName(kStoreName);
    loadAllGroups();
    emit loadingFinished();
    L_DEBUG(QStringLiteral("GroupManager::startLoading() | #END %1")
                .arg(DateTime::getDateTimeInMSecs()));
}

void GroupManager::onInitialize()
{
    checkMembership();
    // A group the user was removed from has no room to enter any more.
    QStringList ids;
    for (auto it = groups.constBegin(); it != groups.constEnd(); ++it) {
        if (!it->getRemoved())
            ids.append(it.key());
    }
    emit setXmppRooms(ids);
}

bool GroupManager::isValidGroupId(const QString& id)
{
    return !id.isEmpty() && !id.contains(QLatin1Char(',')) && id != kGroupIds &&
           id != kLastTimeNewMessages && !id.startsWith(kMembersPrefix) &&
           !id.startsWith(kSummaryPrefix);
}

QString GroupManager::getMembersDBKey(const QString& id)
{
    return kMembersPrefix + id;
}

// ---- loading ---------------------------------------------------------------

QStringList GroupManager::getGroupIds() const
{
    QString text;
    if (!store.get(kGroupIds, &text))
        return {};
    return text.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

void GroupManager::loadAllGroups()
{
    const QStringList ids = getGroupIds();
    for (const QString& id : ids) {
        if (!loadGroup(id))
            L_WARN(QStringLiteral("GroupManager::loadAllGroups | skipped unreadable group ") + id);
    }
}

bool GroupManager::readGroupInfo(const QString& id, GroupInfo* out) const
{
    QString text;
    if (!store.get(id, &text))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    GroupInfo info;
    if (!document.isObject() || !info.setDataFromDBJson(document.object()) || info.getJid() != id)
        return false;
    *out = info;
    return true;
}

bool GroupManager::loadGroup(const QString& id)
{
    GroupInfo info;
    if (!isValidGroupId(id) || !readGroupInfo(id, &info))
        return false;
    Group group;
    group.setInfo(info);
    group.setUserIdentity(getUserIdentity());
    readSummary(&groups.insert(id, group).value());
    loadGroupMembersInfo(id);
    return true;
}

void GroupManager::readSummary(Group* group)
{
    QByteArray text;
    if (!store.getUtf8(kSummaryPrefix + group->getId(), &text))
        return;
    const QJsonObject summary = QJsonDocument::fromJson(text).object();
    GroupInfo info = group->getInfo();
    Message last;
    if (summary.value(kSummaryLast).isObject())
        last.fromDBJson(summary.value(kSummaryLast).toObject());
    if (last.getChatId() != group->getId() || last.getMessageId().isEmpty())
        last = Message();
    info.setLastMessage(last);
    info.setUnreadCount(
        last.getMessageId().isEmpty() ? 0 : qMax(0, summary.value(kSummaryUnread).toInt()));
    group->setInfo(info);
    summaries.insert(group->getId(), text);
}

void GroupManager::keepSummary(Group* group)
{
    // A group whose store is not open has not changed since its summary.
    if (!group->isChatOpen())
        return;
    group->initChat();
    const GroupInfo info = group->getInfo();
    QJsonObject summary;
    if (!info.getLastMessage().getMessageId().isEmpty()) {
        summary.insert(kSummaryLast, info.getLastMessage().toDBJson());
        summary.insert(kSummaryUnread, info.getUnreadCount());
    }
    const QByteArray text = QJsonDocument(summary).toJson(QJsonDocument::Compact);
    const auto known = summaries.constFind(group->getId());
    if (known != summaries.constEnd() && known.value() == text)
        return;
    if (store.putUtf8(kSummaryPrefix + group->getId(), text))
        summaries.insert(group->getId(), text);
    else
        L_WARN(QStringLiteral("GroupManager::keepSummary | cannot write the summary of ") +
               group->getId());
}

void GroupManager::keepSummary(const QString& id)
{
    auto it = groups.find(id);
    if (it != groups.end())
        keepSummary(&it.value());
}

void GroupManager::loadGroupMembersInfo(const QString& id)
{
    QString text;
    if (!groups.contains(id) || !store.get(getMembersDBKey(id), &text))
        return;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (document.isArray())
        groups[id].setMembers(document.array());
}

// ---- the list and the store ---------------------------------------------------

bool GroupManager::addGroupId(const QString& id)
{
    QStringList ids = getGroupIds();
    if (ids.contains(id))
        return true;
    ids.append(id);
    return store.put(kGroupIds, ids.join(QLatin1Char(',')));
}

bool GroupManager::removeGroupId(const QString& id)
{
    QStringList ids = getGroupIds();
    if (!ids.contains(id))
        return true;
    ids.removeAll(id);
    return store.put(kGroupIds, ids.join(QLatin1Char(',')));
}

bool GroupManager::addGroupInfo(const GroupInfo& info)
{
    return store.put(info.getJid(), compact(info.toDBJsonObject()));
}

bool GroupManager::addGroupMembersInfo(const Group& group)
{
    return store.put(getMembersDBKey(group.getId()), compact(group.getMembersArray()));
}

bool GroupManager::addGroup(Group group, bool keepLocalFlags, bool namedForUser)
{
    const QString id = group.getId();
    if (!isValidGroupId(id)) {
        L_WARN(QStringLiteral("GroupManager::addGroup | refused group id: ") + id);
        return false;
    }
    if (keepLocalFlags && groups.contains(id)) {
        GroupInfo info = group.getInfo();
        info.setDBFields(groups.value(id).getInfo());
        group.setInfo(info);
    }
    // The service names the group for the user again: he is a member.
    if (namedForUser)
        group.setRemoved(false);
    if (!addGroupId(id) || !addGroupInfo(group.getInfo())) {
        L_ERROR(QStringLiteral("GroupManager::addGroup | store write failed for ") + id);
        return false;
    }
    insertGroup(group);
    return true;
}

void GroupManager::insertGroup(const Group& group)
{
    const QString id = group.getId();
    auto it = groups.find(id);
    if (it == groups.end()) {
        const GroupInfo received = group.getInfo();
        it = groups.insert(id, group);
        it->setUserIdentity(getUserIdentity());
        it->initChat();
        keepSummary(&it.value());
        if (it->isChatEmpty())
            requestArchive(id, QString(), 50, false);
        respondGroupAdded(received);
        return;
    }
    GroupInfo info = group.getInfo();
    info.setLastMessage(it->getInfo().getLastMessage());
    info.setUnreadCount(it->getInfo().getUnreadCount());
    it->setInfo(info);
    respondGroupGetData(info);
}

bool GroupManager::setGroupInfo(const GroupInfo& info)
{
    auto it = groups.find(info.getJid());
    if (it == groups.end())
        return false;
    GroupInfo updated = info;
    updated.setDBFields(it->getInfo());
    updated.setLastMessage(it->getInfo().getLastMessage());
    updated.setUnreadCount(it->getInfo().getUnreadCount());
    if (!addGroupInfo(updated))
        return false;
    it->setInfo(updated);
    respondGroupGetData(updated);
    return true;
}

void GroupManager::markRemoved(const QString& id)
{
    auto it = groups.find(id);
    if (it == groups.end() || it->getRemoved())
        return;
    it->setRemoved(true);
    addGroupInfo(it->getInfo());
    respondGroupGetData(it->getInfo());
    emit leaveXmppRoom(id);
}

bool GroupManager::removeGroup(const QString& id)
{
    if (!removeGroupId(id) || !store.del(id) || !store.del(getMembersDBKey(id)) ||
        !store.del(kSummaryPrefix + id)) {
        L_ERROR(QStringLiteral("GroupManager::removeGroup | store write failed for ") + id);
        return false;
    }
    summaries.remove(id);
    auto it = groups.find(id);
    if (it != groups.end()) {
        it->removeChat();
        groups.erase(it);
    }
    emit groupRemoved(id);
    return true;
}

void GroupManager::updateMute(const GroupInfo& info)
{
    auto it = groups.find(info.getJid());
    if (it == groups.end())
        return;
    it->updateMute(info.getMute());
    addGroupInfo(it->getInfo());
}

bool GroupManager::getGroupInfo(const QString& id, GroupInfo* out) const
{
    if (!groups.contains(id))
        return false;
    *out = groups.value(id).getInfo();
    return true;
}

QHash<QString, GroupMember> GroupManager::getMembers(const QString& id) const
{
    return groups.value(id).getMembers();
}

QList<GroupInfo> GroupManager::getGroupListSorted()
{
    // Only groups that loaded: an id whose record could not be read has no
    // group to show.
    QList<Group*> list;
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        // The summaries hold the newest message and the unread count; a
        // store is opened only for a group kept before there were summaries.
        if (!summaries.contains(it.key()) && !it->isChatOpen())
            it->initChat();
        keepSummary(&it.value());
        list.append(&it.value());
    }
    std::stable_sort(list.begin(), list.end(), [](const Group* a, const Group* b) {
        const qint64 ta = a->getInfo().getLastMessage().getSendTimeInGMT();
        const qint64 tb = b->getInfo().getLastMessage().getSendTimeInGMT();
        return ta != tb ? ta > tb : a->getId() < b->getId();
    });
    QList<GroupInfo> infos;
    for (const Group* group : qAsConst(list))
        infos.append(group->getInfo());
    return infos;
}

void GroupManager::respondGroupGetData(const QString& id)
{
    if (groups.contains(id))
        respondGroupGetData(groups.value(id).getInfo());
}

void GroupManager::respondGroupGetData(const GroupInfo& info)
{
    emit commandResponse(CMD_GroupGetData, QVariant::fromValue(info));
}

void GroupManager::respondGroupAdded(const GroupInfo& info)
{
    emit commandResponse(CMD_GroupAdded, QVariant::fromValue(info));
}

// ---- the user's group list -----------------------------------------------------

void GroupManager::processUserList(const QJsonObject& reply)
{
    if (!reply.contains(kGroupIds))
        return;
    QList<Group> named;
    const QJsonArray array = reply.value(kGroupIds).toArray();
    for (const QJsonValue& value : array) {
        Group group;
        if (group.setDataFromJson(value.toObject()))
            named.append(group);
        else
            L_WARN(QStringLiteral("GroupManager::processUserList | skipped an unreadable group"));
    }
    analyzeRemovedGroups(named);
    QStringList ids;
    for (const Group& group : qAsConst(named)) {
        if (addGroup(group, true, true))
            ids.append(group.getId());
    }
    emit setXmppRooms(ids);
}

void GroupManager::analyzeRemovedGroups(const QList<Group>& named)
{
    QSet<QString> namedIds;
    for (const Group& group : named)
        namedIds.insert(group.getId());
    const QStringList stored = getGroupIds();
    for (const QString& id : stored) {
        if (!namedIds.contains(id))
            markRemoved(id);
    }
}

qint64 GroupManager::getLastTimeNMCalled() const
{
    qint64 time = 0;
    store.get(kLastTimeNewMessages, &time);
    return time;
}

void GroupManager::setLastTimeNMCalled(qint64 time)
{
    store.put(kLastTimeNewMessages, time);
    L_DEBUG(QStringLiteral("GroupManager::decomposeNewMessages | Time set to: %1").arg(time));
}
