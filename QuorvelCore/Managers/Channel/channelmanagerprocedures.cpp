// The channel manager's directory, administration and member procedures.

#include "Managers/Channel/channelmanager.h"
#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"
#include "model/channelidavailability.h"
#include "model/channelmemberprofile.h"
#include "model/channelmembersreply.h"

#include <QJsonArray>

namespace {
const QString kChannelId = QStringLiteral("ChannelID");

QHash<QString, QJsonValue> channelInput(const QString& id)
{
    return {{kChannelId, id}};
}
} // namespace

void ChannelManager::emitStart(Procedure procedure, const QHash<QString, QJsonValue>& inputs)
{
    emit start(procedure, inputs);
}

void ChannelManager::startChannelList()
{
    emitStart(PROC_ChannelList);
}

void ChannelManager::startChannelCategories()
{
    emitStart(PROC_ChannelCategories);
}

void ChannelManager::startBrowseChannelCategories(const QString& categoryId)
{
    emitStart(PROC_BrowseCategory, {{QStringLiteral("browseCategoryId"), categoryId}});
}

void ChannelManager::startChannelJoin(const QString& id)
{
    joinedChannel = id;
    emitStart(PROC_JoinChannel, channelInput(id));
}

void ChannelManager::startChannelLeave(const QString& id)
{
    leftChannel = id;
    emitStart(PROC_LeaveChannel, channelInput(id));
}

void ChannelManager::startChannelData(const QString& id)
{
    emitStart(PROC_ChannelData, channelInput(id));
}

void ChannelManager::startChannelDataAndAdd(const QString& id)
{
    emitStart(PROC_ChannelDataAndAdd, channelInput(id));
}

void ChannelManager::startChannelCreate(const ChannelInfo& info)
{
    createdChannel = info;
    createdChannel.setMyRole(ChannelRole::OWNER);
    createdChannel.setFollowed(QStringLiteral("1"));
    createdChannel.setCreationDate(uint(DateTime::getDateTime()));
    createdChannel.setMute(false);
    createdChannel.setMembersCount(1);
    createdChannel.setOwnerUserName(getUserName());
    const QJsonArray members{QJsonObject{{QStringLiteral("Username"), getUserName()},
                                         {QStringLiteral("Role"), QStringLiteral("OWNER")}}};
    emitStart(PROC_CreateChannel,
              {{QStringLiteral("CategoryID"), createdChannel.getCategoryId()},
               {QStringLiteral("Name"), createdChannel.getName()},
               {kChannelId, createdChannel.getId()},
               {QStringLiteral("AvatarURL"), createdChannel.getAvatarUrl()},
               {QStringLiteral("AvatarThumbnailURL"), createdChannel.getAvatarThumbnailUrl()},
               {QStringLiteral("ReplyAllowed"), createdChannel.getReplyAllowed()},
               {QStringLiteral("Description"), createdChannel.getDescription()},
               {QStringLiteral("Members"), members}});
}

void ChannelManager::startChannelEdit(const ChannelInfo& info)
{
    emitStart(PROC_ChannelEdit,
              {{kChannelId, info.getId()},
               {QStringLiteral("Name"), info.getName()},
               {QStringLiteral("AvatarURL"), info.getAvatarUrl()},
               {QStringLiteral("AvatarThumbnailURL"), info.getAvatarThumbnailUrl()},
               {QStringLiteral("Description"), info.getDescription()},
               {QStringLiteral("ReplyAllowed"), info.getReplyAllowed()}});
    editedChannel = info;
}

void ChannelManager::startCheckChannelId(const QString& id)
{
    // One check at a time; a newer id waits in place of an older waiting one
    // and goes out when the check in flight has been answered. An empty id
    // (a cleared field) is never asked about and drops the waiting one.
    if (id.trimmed().isEmpty()) {
        nextCheckedId.clear();
        return;
    }
    if (!checkedId.isEmpty()) {
        nextCheckedId = id;
        return;
    }
    checkedId = id;
    emitStart(PROC_CheckChannelIdAvailability, channelInput(id));
}

void ChannelManager::answerIdCheck(int resultCode)
{
    if (checkedId.isEmpty())
        return;
    emit commandResponse(CMD_ChannelCheckId,
                         QVariant::fromValue(ChannelIdAvailability(checkedId, resultCode == 200)));
    checkedId.clear();
    const QString next = nextCheckedId;
    nextCheckedId.clear();
    if (!next.isEmpty())
        startCheckChannelId(next);
}

void ChannelManager::startChannelGetMembers(const ChannelMembersRequest& request)
{
    membersRequests.append(request);
    emitStart(PROC_ChannelGetMembers,
              {{kChannelId, request.getChannelId()},
               {QStringLiteral("ChannelMemberType"), request.getReqTypeString()},
               {QStringLiteral("Offset"), QString::number(request.getOffset())},
               {QStringLiteral("Count"), QString::number(request.getCount())}});
}

void ChannelManager::startDeleteChannel(const QString& id)
{
    deletedChannel = id;
    emitStart(PROC_ChannelDelete, channelInput(id));
}

void ChannelManager::respondAddMember(const ChannelMemberRole& role)
{
    pendingAddMember.append(role);
    const QJsonArray members{
        QJsonObject{{QStringLiteral("Username"), role.getMemberId()},
                    {QStringLiteral("Role"), ChannelRole::toString(role.getRole())}}};
    emitStart(PROC_ChannelAddMember,
              {{kChannelId, role.getChannelId()}, {QStringLiteral("Members"), members}});
}

void ChannelManager::respondRemoveMember(const ChannelMemberRole& role)
{
    pendingRemoveMember.append(role);
    emitStart(PROC_ChannelRemoveMember, {{kChannelId, role.getChannelId()},
                                         {QStringLiteral("MemberUsername"), role.getMemberId()}});
}

void ChannelManager::respondChangeMemberRole(const ChannelMemberRole& role)
{
    pendingRoleChange.append(role);
    emitStart(PROC_ChannelChangeRole,
              {{kChannelId, role.getChannelId()},
               {QStringLiteral("MemberUsername"), role.getMemberId()},
               {QStringLiteral("MemberNewRole"), ChannelRole::toString(role.getRole())}});
}

void ChannelManager::respondChangeMessageCondition(const ChannelMessageCondition& condition)
{
    pendingCondition = condition;
    emitStart(PROC_ChannelChangeMessageState,
              {{kChannelId, condition.getChannelId()},
               {QStringLiteral("MessageID"), condition.getMessageId()},
               {QStringLiteral("MessageNewState"),
                MessageCondition::toString(condition.getCondition())}});
}

// ---- Replies ----

void ChannelManager::processReply(Procedure procedure, const QJsonObject& reply)
{
    switch (procedure) {
    case PROC_DeactivateUser:
        removeAllChannels();
        break;
    case PROC_ChannelCategories:
        decomposeCategories(reply);
        break;
    case PROC_BrowseCategory: {
        BrowseCategoryResult result;
        result.setDataFromJson(reply);
        emit channelCategoryBrowseData(result);
        break;
    }
    case PROC_JoinChannel:
        startChannelDataAndAdd(joinedChannel);
        break;
    case PROC_LeaveChannel:
        removeChannel(leftChannel);
        break;
    case PROC_ChannelData: {
        // A followed channel is kept as it now stands (its count, the
        // user's role), the rest only shown.
        Channel channel;
        if (!channel.setDataFromJson(reply))
            break;
        if (contains(channel.getId()))
            addChannel(channel);
        else
            emit commandResponse(CMD_ChannelData, QVariant::fromValue(channel.getInfo()));
        break;
    }
    case PROC_ChannelDataAndAdd:
        decomposeDataAndAdd(reply);
        break;
    case PROC_ChannelArchive:
        decomposeArchive(reply);
        break;
    case PROC_ChannelNewMessages:
        decomposeNewMessages(reply);
        break;
    case PROC_ChannelList:
        decomposeChannelList(reply);
        break;
    case PROC_CreateChannel:
        if (!createdChannel.getId().isEmpty() &&
            reply.value(kChannelId).toString() == createdChannel.getId())
            addChannel(Channel(createdChannel));
        break;
    case PROC_ChannelAddMember:
        announceMemberChange(&pendingAddMember, &ChannelManager::channelMemberAdded);
        break;
    case PROC_ChannelRemoveMember:
        announceMemberChange(&pendingRemoveMember, &ChannelManager::channelMemberRemoved);
        break;
    case PROC_ChannelChangeRole:
        announceMemberChange(&pendingRoleChange, &ChannelManager::channelMemberRoleChanged);
        break;
    case PROC_ChannelChangeMessageState:
        if (!pendingCondition.isEmpty())
            emit channelMessageConditionChanged(pendingCondition);
        pendingCondition.clear();
        break;
    case PROC_ChannelGetMembers:
        decomposeMembers(reply);
        break;
    case PROC_ChannelDelete:
        if (!deletedChannel.isEmpty()) {
            emit commandResponse(CMD_ChannelDelete, deletedChannel);
            removeChannel(deletedChannel);
        }
        break;
    case PROC_ChannelEdit:
        decomposeChannelEdit();
        break;
    case PROC_PollCreate:
        decomposePollCreate(reply);
        break;
    default:
        break;
    }
}

void ChannelManager::announceMemberChange(
    QList<ChannelMemberRole>* pending, void (ChannelManager::*announce)(const ChannelMemberRole&))
{
    if (!pending->isEmpty())
        emit(this->*announce)(pending->takeFirst());
}

// A refused change is never announced: it leaves the queue, so the next reply
// meets its own change. The person hears of the refusal from the program's
// failure notice, which every final result reaches.
void ChannelManager::dropRefused(QList<ChannelMemberRole>* pending, int resultCode)
{
    if (resultCode != 200 && !pending->isEmpty())
        pending->removeFirst();
}

void ChannelManager::decomposeCategories(const QJsonObject& reply)
{
    for (const QJsonValue& value : reply.value(QStringLiteral("Categories")).toArray()) {
        ChannelCategory category;
        if (category.setDataFromJson(value.toObject()))
            categories.insert(category.getCategoryID(), category);
    }
    emit channelCategoriesData(categories);
}

void ChannelManager::decomposeDataAndAdd(const QJsonObject& reply)
{
    Channel channel;
    if (channel.setDataFromJson(reply))
        addChannel(channel);
    if (!joinedChannel.isEmpty()) {
        emit commandResponse(CMD_ChannelJoin, joinedChannel);
        joinedChannel.clear();
    }
}

void ChannelManager::decomposeChannelList(const QJsonObject& reply)
{
    for (const QJsonValue& value : reply.value(QStringLiteral("Channels")).toArray())
        decomposeDataAndAdd(value.toObject());
    checkChannelsToHave1Msg(QString());
}

void ChannelManager::decomposeMembers(const QJsonObject& reply)
{
    const ChannelMembersRequest request =
        membersRequests.isEmpty() ? ChannelMembersRequest() : membersRequests.takeFirst();
    if (!reply.contains(QStringLiteral("Members")))
        return;
    QList<ChannelMemberProfile> profiles;
    for (const QJsonValue& value : reply.value(QStringLiteral("Members")).toArray())
        profiles << ChannelMemberProfile(value.toObject());
    ChannelMembersReply answer;
    answer.setReq(request);
    answer.setProfiles(profiles);
    emit commandResponse(CMD_ChannelGetMembers, QVariant::fromValue(answer));
}

void ChannelManager::decomposeChannelEdit()
{
    L_DEBUG(QStringLiteral("ChannelManager::decomposeChannelEdit() | "));
    emit commandResponse(CMD_ChannelEdit, QVariant::fromValue(editedChannel));
    if (!contains(editedChannel.getId()))
        return;
    L_DEBUG(QStringLiteral("ChannelManager::decomposeChannelEdit() | channels contains id"));
    // The edit names only what the user may change; the rest is kept.
    ChannelInfo edited;
    getChannelInfo(editedChannel.getId(), &edited);
    edited.setName(editedChannel.getName());
    edited.setAvatarUrl(editedChannel.getAvatarUrl());
    edited.setAvatarThumbnailUrl(editedChannel.getAvatarThumbnailUrl());
    edited.setDescription(editedChannel.getDescription());
    edited.setReplyAllowed(editedChannel.getReplyAllowed());
    addChannel(Channel(edited));
}

void ChannelManager::result(Procedure procedure, int resultCode)
{
    switch (procedure) {
    case PROC_ChannelSendMessage:
        finishSend(resultCode);
        break;
    case PROC_CheckChannelIdAvailability:
        answerIdCheck(resultCode);
        break;
    case PROC_ChannelArchive:
        archiveFetchEnded(resultCode);
        break;
    case PROC_ChannelNewMessages:
        newMessagesInFlight = false;
        break;
    case PROC_ChannelAddMember:
        dropRefused(&pendingAddMember, resultCode);
        break;
    case PROC_ChannelRemoveMember:
        dropRefused(&pendingRemoveMember, resultCode);
        break;
    case PROC_ChannelChangeRole:
        dropRefused(&pendingRoleChange, resultCode);
        break;
    case PROC_ChannelGetMembers:
        if (resultCode != 200 && !membersRequests.isEmpty())
            membersRequests.removeFirst();
        break;
    case PROC_BrowseCategory:
        // A failed browse is answered too, empty, so that the directory's
        // next answer meets its own request.
        if (resultCode != 200)
            emit channelCategoryBrowseData(BrowseCategoryResult());
        break;
    case PROC_PollCreate:
        if (resultCode != 200 && !pendingPolls.isEmpty())
            pendingPolls.removeFirst();
        break;
    default:
        break;
    }
}
