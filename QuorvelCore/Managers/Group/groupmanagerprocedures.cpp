// GroupManager: the web-service procedures, their replies and the two
// single-flight look-up queues.
#include "Managers/Group/groupmanager.h"

#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QLatin1String kGroupJid("GroupJID");
const QLatin1String kMembers("Members");
const QLatin1String kUserNameKey("Username");
const QLatin1String kRole("Role");
const QLatin1String kMemberUserName("MemberUsername");

QHash<QString, QJsonValue> groupInput(const QString& id)
{
    return {{kGroupJid, id}};
}
} // namespace

// The creator's name and a time in milliseconds, later than the one of the
// last group made here, so two groups made within one millisecond differ.
QString GroupManager::generateJID()
{
    lastGroupStamp = qMax(DateTime::getDateTimeInMSecs(), lastGroupStamp + 1);
    return QStringLiteral("pri_") + getUserName() + QStringLiteral("_") +
           QString::number(lastGroupStamp);
}

QJsonArray GroupManager::membersArray(const QStringList& userIds, GroupRole::Role role)
{
    QJsonArray array;
    for (const QString& id : userIds)
        array.append(QJsonObject{{kUserNameKey, id}, {kRole, GroupRole::toString(role)}});
    return array;
}

void GroupManager::startCreateGroup(const QString& name, const QString& description,
                                    const QString& avUrl, const QString& avThUrl,
                                    const QStringList& members)
{
    if (name.isEmpty())
        return;
    const QString id = generateJID();
    if (!isValidGroupId(id)) {
        L_WARN(QStringLiteral("GroupManager::startCreateGroup | refused group id: ") + id);
        return;
    }
    QJsonArray array = membersArray({getUserName()}, GroupRole::ADMIN);
    for (const QJsonValue& member : membersArray(members, GroupRole::MEMBER))
        array.append(member);
    QHash<QString, QJsonValue> inputs = groupInput(id);
    inputs.insert(QStringLiteral("GroupName"), name);
    inputs.insert(QStringLiteral("Description"), description);
    inputs.insert(QStringLiteral("GroupAvatarURL"), avUrl);
    inputs.insert(QStringLiteral("GroupAvatarThumbnailURL"), avThUrl);
    inputs.insert(kMembers, array);
    pendingCreates.append(id);
    emit start(PROC_GroupCreate, inputs);
}

void GroupManager::startGroupAddMember(const QString& id, const QStringList& userIds)
{
    QHash<QString, QJsonValue> inputs = groupInput(id);
    inputs.insert(kMembers, membersArray(userIds, GroupRole::MEMBER));
    pendingMemberAdds.append(id);
    emit start(PROC_GroupAddMember, inputs);
}

void GroupManager::startGroupAddAdmin(const QString& id, const QStringList& userIds)
{
    QHash<QString, QJsonValue> inputs = groupInput(id);
    inputs.insert(kMembers, membersArray(userIds, GroupRole::ADMIN));
    pendingMemberAdds.append(id);
    emit start(PROC_GroupAddMember, inputs);
}

void GroupManager::startGroupRemoveMember(const QString& id, const QString& userId)
{
    QHash<QString, QJsonValue> inputs = groupInput(id);
    inputs.insert(kMemberUserName, userId);
    pendingMemberRemovals.append(id);
    emit start(PROC_GroupRemoveMember, inputs);
}

void GroupManager::startGroupChangeRole(const QString& id, const QString& userId,
                                        GroupRole::Role role)
{
    QHash<QString, QJsonValue> inputs = groupInput(id);
    inputs.insert(kMemberUserName, userId);
    inputs.insert(QStringLiteral("MemberNewRole"), GroupRole::toString(role));
    pendingRoleChanges.append(id);
    emit start(PROC_GroupChangeRole, inputs);
}

void GroupManager::startGroupChangeData(const GroupInfo& info)
{
    pendingDataChanges.append(info);
    QHash<QString, QJsonValue> inputs = groupInput(info.getJid());
    inputs.insert(QStringLiteral("GroupName"), info.getName());
    inputs.insert(QStringLiteral("Description"), info.getDescription());
    inputs.insert(QStringLiteral("GroupAvatarURL"), info.getAvUrl());
    inputs.insert(QStringLiteral("GroupAvatarThumbnailURL"), info.getAvThUrl());
    emit start(PROC_GroupChangeData, inputs);
}

void GroupManager::startGroupLeave(const QString& id)
{
    pendingLeaves.append(id);
    emit start(PROC_GroupLeave, groupInput(id));
}

void GroupManager::startGroupData(const QString& id)
{
    emit start(PROC_GroupData, groupInput(id));
}

void GroupManager::startGroupMembersInfo(const QString& id)
{
    emit start(PROC_GroupMembersInfo, groupInput(id));
}

void GroupManager::startGroupMembers(const QString& id)
{
    emit start(PROC_GroupMembers, groupInput(id));
}

void GroupManager::startUserList()
{
    emit start(PROC_UserList, {});
}

void GroupManager::startUserUnsubscribe()
{
    emit start(PROC_UserUnsubscribe, {});
}

// ---- look-up queues --------------------------------------------------------

void GroupManager::enqueueGroupDataRequest(const QString& id)
{
    if (groupDataQueue.enqueue(id))
        startGroupData(id);
}

void GroupManager::enqueueMembersInfoRequest(const QString& id)
{
    if (membersInfoQueue.enqueue(id))
        startGroupMembersInfo(id);
}

void GroupManager::refreshGroupData(const QString& id)
{
    if (groupDataQueue.enqueueChanged(id))
        startGroupData(id);
}

void GroupManager::refreshMembers(const QString& id)
{
    if (membersInfoQueue.enqueueChanged(id))
        startGroupMembersInfo(id);
}

void GroupManager::refreshMembersAndData(const QString& id)
{
    // The members, and the data for the member count and the user's own role.
    refreshMembers(id);
    refreshGroupData(id);
}

bool GroupManager::groupDataRequestQueueContains(const QString& id) const
{
    return groupDataQueue.contains(id);
}

bool GroupManager::membersInfoRequestQueueContains(const QString& id) const
{
    return membersInfoQueue.contains(id);
}

void GroupManager::nextGroupDataRequest()
{
    const QString next = groupDataQueue.release();
    if (!next.isEmpty())
        startGroupData(next);
}

void GroupManager::nextMembersInfoRequest()
{
    const QString next = membersInfoQueue.release();
    if (!next.isEmpty())
        startGroupMembersInfo(next);
}

// ---- replies ----------------------------------------------------------------

void GroupManager::processReply(Procedure procedure, const QJsonObject& reply)
{
    switch (procedure) {
    case PROC_GroupCreate: {
        QString id;
        if (pendingCreates.takeAnswered(&id)) {
            enqueueGroupDataRequest(id);
            enqueueMembersInfoRequest(id);
            emit groupCreated(id);
        }
        break;
    }
    case PROC_GroupAddMember:
        refreshAnswered(&pendingMemberAdds);
        break;
    case PROC_GroupRemoveMember:
        refreshAnswered(&pendingMemberRemovals);
        break;
    case PROC_GroupChangeRole:
        refreshAnswered(&pendingRoleChanges);
        break;
    case PROC_GroupChangeData: {
        GroupInfo info;
        if (pendingDataChanges.takeAnswered(&info))
            setGroupInfo(info);
        break;
    }
    case PROC_GroupLeave: {
        QString id;
        if (pendingLeaves.takeAnswered(&id) && groups.contains(id)) {
            emit groupLeft(id);
            removeGroup(id);
        }
        break;
    }
    case PROC_GroupMembersInfo:
        processGroupMembersInfo(reply);
        break;
    case PROC_UserList:
        processUserList(reply);
        userListAnswered();
        break;
    case PROC_GroupData:
        processGroupData(reply);
        break;
    case PROC_GroupArchive:
        decomposeArchiveMessages(reply);
        break;
    case PROC_GroupNewMessages:
        decomposeNewMessages(reply);
        break;
    default:
        break;
    }
}

void GroupManager::result(Procedure procedure, int resultCode)
{
    if (resultCode == 200)
        return;
    switch (procedure) {
    // A failed request's group is not refreshed; later ones keep theirs.
    case PROC_GroupCreate:
        pendingCreates.release(resultCode);
        break;
    case PROC_GroupAddMember:
        pendingMemberAdds.release(resultCode);
        break;
    case PROC_GroupRemoveMember:
        pendingMemberRemovals.release(resultCode);
        break;
    case PROC_GroupChangeRole:
        pendingRoleChanges.release(resultCode);
        break;
    case PROC_GroupChangeData:
        pendingDataChanges.release(resultCode);
        break;
    case PROC_GroupLeave:
        pendingLeaves.release(resultCode);
        break;
    case PROC_GroupData:
        L_WARN(QStringLiteral("GroupManager::result | group data of %1 failed with %2")
                   .arg(groupDataQueue.current())
                   .arg(resultCode));
        nextGroupDataRequest();
        break;
    case PROC_GroupMembersInfo:
        L_WARN(QStringLiteral("GroupManager::result | members of %1 failed with %2")
                   .arg(membersInfoQueue.current())
                   .arg(resultCode));
        nextMembersInfoRequest();
        break;
    case PROC_GroupArchive:
        archiveFinished({});
        break;
    case PROC_UserList:
        userListAnswered();
        break;
    case PROC_GroupNewMessages:
        if (!newMessagesFetches.isEmpty()) {
            const NewMessagesFetch failed = newMessagesFetches.dequeue();
            if (failed.allGroups)
                owedNewMessagesFrom =
                    owedNewMessagesFrom < 0 ? failed.from : qMin(owedNewMessagesFrom, failed.from);
        }
        break;
    default:
        break;
    }
}

void GroupManager::refreshAnswered(PendingReplies<QString>* pending)
{
    QString id;
    if (pending->takeAnswered(&id))
        refreshMembersAndData(id);
}

void GroupManager::processGroupData(const QJsonObject& reply)
{
    L_DEBUG(QStringLiteral("GroupManager::processGroupData | ") +
            QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact)));
    Group group;
    if (group.setDataFromJson(reply)) {
        const QString id = group.getId();
        groupDataQueue.removeWaiting(id);
        const GroupRole::Role role = group.getInfo().getMyRole();
        const bool member =
            role == GroupRole::OWNER || role == GroupRole::ADMIN || role == GroupRole::MEMBER;
        if (!member && !groups.contains(id)) {
            L_WARN(QStringLiteral("GroupManager::processGroupData | not a member of ") + id);
        } else if (addGroup(group, true, member) && member) {
            // The service names the user a member: the room may be entered.
            emit setXmppRooms({id});
        }
    } else {
        L_WARN(QStringLiteral("GroupManager::processGroupData | unreadable reply for ") +
               groupDataQueue.current());
    }
    // The reply answers the request in flight, whatever it holds.
    nextGroupDataRequest();
}

void GroupManager::processGroupMembersInfo(const QJsonObject& reply)
{
    const QString id = membersInfoQueue.current();
    auto it = groups.find(id);
    if (!id.isEmpty() && it != groups.end()) {
        it->processMembersInfo(reply);
        addGroupMembersInfo(*it);
        emit groupMembersInfoUpdate(it->getGroupInfoAndMembers());
    }
    nextMembersInfoRequest();
}
