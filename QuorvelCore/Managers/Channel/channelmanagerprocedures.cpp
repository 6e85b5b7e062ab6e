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
    pendingJoins.append(id);
    emitStart(PROC_JoinChannel, channelInput(id));
}

void ChannelManager::startChannelLeave(const QString& id)
{
    pendingLeaves.append(id);
    emitStart(PROC_LeaveChannel, channelInput(id));
}

void ChannelManager::startChannelData(const QString& id)
{
    dataRequests.append(id);
    emitStart(PROC_ChannelData, channelInput(id));
}

void ChannelManager::startChannelDataAndAdd(const QString& id)
{
    emitStart(PROC_ChannelDataAndAdd, channelInput(id));
}

void ChannelManager::startChannelCreate(const ChannelInfo& info)
{
    ChannelInfo created = info;
    created.setMyRole(ChannelRole::OWNER);
    created.setFollowed(QStringLiteral("1"));
    created.setCreationDate(uint(DateTime::getDateTime()));
    created.setMute(false);
    created.setMembersCount(1);
    created.setOwnerUserName(getUserName());
    pendingCreates.append(created);
    const QJsonArray members{QJsonObject{{QStringLiteral("Username"), getUserName()},
                                         {QStringLiteral("Role"), QStringLiteral("OWNER")}}};
    emitStart(PROC_CreateChannel,
              {{QStringLiteral("CategoryID"), created.getCategoryId()},
               {QStringLiteral("Name"), created.getName()},
               {kChannelId, created.getId()},
               {QStringLiteral("AvatarURL"), created.getAvatarUrl()},
               {QStringLiteral("AvatarThumbnailURL"), created.getAvatarThumbnailUrl()},
               {QStringLiteral("ReplyAllowed"), created.getReplyAllowed()},
               {QStringLiteral("Description"), created.getDescription()},
               {QStringLiteral("Members"), members}});
}

void ChannelManager::startChannelEdit(const ChannelInfo& info)
{
    pendingEdits.append(info);
    emitStart(PROC_ChannelEdit,
              {{kChannelId, info.getId()},
               {QStringLiteral("Name"), info.getName()},
               {QStringLiteral("AvatarURL"), info.getAvatarUrl()},
               {QStringLiteral("AvatarThumbnailURL"), info.getAvatarThumbnailUrl()},
               {QStringLiteral("Description"), info.getDescription()},
               {QStringLiteral("ReplyAllowed"), info.getReplyAllowed()}});
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
    pendingDeletes.append(id);
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
    pendingConditions.append(condition);
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
    case PROC_JoinChannel: {
        QString id;
        if (pendingJoins.takeAnswered(&id)) {
            joinsAwaitingData.append(id);
            startChannelDataAndAdd(id);
        }
        break;
    }
    case PROC_LeaveChannel: {
        QString id;
        if (pendingLeaves.takeAnswered(&id))
            removeChannel(id);
        break;
    }
    case PROC_ChannelData: {
        // A followed channel is kept as it now stands (its count, the
        // user's role), the rest only shown.
        const bool removed = takeDataRequest();
        Channel channel;
        if (!channel.setDataFromJson(reply) || (removed && !contains(channel.getId())))
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
        decomposeCreate(reply);
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
    case PROC_ChannelChangeMessageState: {
        ChannelMessageCondition condition;
        if (pendingConditions.takeAnswered(&condition))
            emit channelMessageConditionChanged(condition);
        break;
    }
    case PROC_ChannelGetMembers:
        decomposeMembers(reply);
        break;
    case PROC_ChannelDelete: {
        QString id;
        if (pendingDeletes.takeAnswered(&id)) {
            emit commandResponse(CMD_ChannelDelete, id);
            removeChannel(id);
        }
        break;
    }
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

// A refused change is never announced: it leaves its queue in result(), so
// the next reply meets its own change. The person hears of the refusal from
// the program's failure notice, which every final result reaches.
void ChannelManager::announceMemberChange(
    PendingReplies<ChannelMemberRole>* pending,
    void (ChannelManager::*announce)(const ChannelMemberRole&))
{
    ChannelMemberRole role;
    if (pending->takeAnswered(&role))
        emit(this->*announce)(role);
}

bool ChannelManager::takeDataRequest()
{
    QString asked;
    dataRequests.takeAnswered(&asked);
    const bool removed = removedWhileAsked.contains(asked);
    if (!dataRequests.contains(asked))
        removedWhileAsked.remove(asked);
    return removed;
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
    if (!channel.setDataFromJson(reply))
        return;
    addChannel(channel);
    if (joinsAwaitingData.removeOne(channel.getId()))
        emit commandResponse(CMD_ChannelJoin, channel.getId());
}

// The reply names the channel made; one that names another (or none) adds
// nothing, so a list never shows a channel the service does not have.
void ChannelManager::decomposeCreate(const QJsonObject& reply)
{
    ChannelInfo created;
    if (!pendingCreates.takeAnswered(&created))
        return;
    if (reply.value(kChannelId).toString() == created.getId())
        addChannel(Channel(created));
    else
        L_WARN(QStringLiteral("ChannelManager::decomposeCreate | the reply names another channel "
                              "than ") +
               created.getId());
}

void ChannelManager::decomposeChannelList(const QJsonObject& reply)
{
    for (const QJsonValue& value : reply.value(QStringLiteral("Channels")).toArray())
        decomposeDataAndAdd(value.toObject());
    checkChannelsToHave1Msg(QString());
}

void ChannelManager::decomposeMembers(const QJsonObject& reply)
{
    ChannelMembersRequest request;
    membersRequests.takeAnswered(&request);
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
    ChannelInfo editedChannel;
    if (!pendingEdits.takeAnswered(&editedChannel))
        return;
    emit commandResponse(CMD_ChannelEdit, QVariant::fromValue(editedChannel));
    if (!contains(editedChannel.getId()))
        return;
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
        newMessagesEnded();
        break;
    case PROC_JoinChannel:
        pendingJoins.release(resultCode);
        break;
    case PROC_LeaveChannel:
        pendingLeaves.release(resultCode);
        break;
    case PROC_ChannelDelete:
        pendingDeletes.release(resultCode);
        break;
    case PROC_CreateChannel:
        pendingCreates.release(resultCode);
        break;
    case PROC_ChannelEdit:
        pendingEdits.release(resultCode);
        break;
    case PROC_ChannelChangeMessageState:
        pendingConditions.release(resultCode);
        break;
    case PROC_ChannelAddMember:
        pendingAddMember.release(resultCode);
        break;
    case PROC_ChannelRemoveMember:
        pendingRemoveMember.release(resultCode);
        break;
    case PROC_ChannelChangeRole:
        pendingRoleChange.release(resultCode);
        break;
    case PROC_ChannelGetMembers:
        membersRequests.release(resultCode);
        break;
    case PROC_ChannelData:
        if (resultCode != 200)
            takeDataRequest();
        break;
    case PROC_BrowseCategory:
        // A failed browse is answered too, empty, so that the directory's
        // next answer meets its own request.
        if (resultCode != 200)
            emit channelCategoryBrowseData(BrowseCategoryResult());
        break;
    case PROC_PollCreate:
        pendingPolls.release(resultCode);
        break;
    default:
        break;
    }
}
