// The Manager's channel commands and the answers of the channel manager.

#include "Managers/Channel/channelmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "model/channelmembersrequest.h"
#include "model/polldata.h"

void Manager::setupChannelConnections()
{
    auto relayRole = [this](Command command) {
        return [this, command](const ChannelMemberRole& role) {
            answer(command, QVariant::fromValue(role));
        };
    };
    connect(channelManager, &ChannelManager::commandResponse, this, &Manager::commandResponse);
    connect(channelManager, &ChannelManager::channelRemoved, this,
            [this](const QString& id) { answer(CMD_ChannelLeave, id); });
    connect(channelManager, &ChannelManager::channelCategoriesData, this,
            [this](const QHash<QString, ChannelCategory>& categories) {
                answer(CMD_ChannelCategories, QVariant::fromValue(categories));
            });
    connect(channelManager, &ChannelManager::channelCategoryBrowseData, this,
            [this](const BrowseCategoryResult& result) {
                answer(CMD_BrowseChannelCategory, QVariant::fromValue(result));
            });
    connect(channelManager, &ChannelManager::messageAdded, this, [this](const Message& message) {
        answer(CMD_MessageAdded, QVariant::fromValue(message));
    });
    connect(channelManager, &ChannelManager::messageReply, this, [this](const MessageReply& reply) {
        answer(CMD_GetChannelMessages, QVariant::fromValue(reply));
    });
    connect(channelManager, &ChannelManager::channelMemberAdded, this,
            relayRole(CMD_ChannelAddMember));
    connect(channelManager, &ChannelManager::channelMemberRemoved, this,
            relayRole(CMD_ChannelRemoveMember));
    connect(channelManager, &ChannelManager::channelMemberRoleChanged, this,
            relayRole(CMD_ChannelChangeMemberRole));
    connect(channelManager, &ChannelManager::channelMessageConditionChanged, this,
            [this](const ChannelMessageCondition& condition) {
                answer(CMD_ChannelChangeMsgCond, QVariant::fromValue(condition));
            });
    connect(channelManager, &ChannelManager::notification, this, &Manager::notification);
    connect(xmppManager, &XMPPManager::xmppChatClientConnected, channelManager,
            &ChannelManager::xmppChatClientConnected);
    connect(xmppManager, &XMPPManager::channelAccountBack, channelManager,
            &ChannelManager::channelAccountBack);
}

void Manager::addChannelCommands(CommandTable* table)
{
    auto byId = [table](Command command, void (ChannelManager::*start)(const QString&)) {
        table->insert(command, [start](Manager& m, const QVariant& in) {
            (m.channelManager->*start)(toString(in));
        });
    };
    byId(CMD_BrowseChannelCategory, &ChannelManager::startBrowseChannelCategories);
    byId(CMD_ChannelData, &ChannelManager::startChannelData);
    byId(CMD_ChannelJoin, &ChannelManager::startChannelJoin);
    byId(CMD_ChannelLeave, &ChannelManager::startChannelLeave);
    byId(CMD_ChannelCheckId, &ChannelManager::startCheckChannelId);
    byId(CMD_ChannelDelete, &ChannelManager::startDeleteChannel);

    auto byRole = [table](Command command,
                          void (ChannelManager::*respond)(const ChannelMemberRole&)) {
        table->insert(command, [respond](Manager& m, const QVariant& in) {
            (m.channelManager->*respond)(in.value<ChannelMemberRole>());
        });
    };
    byRole(CMD_ChannelAddMember, &ChannelManager::respondAddMember);
    byRole(CMD_ChannelRemoveMember, &ChannelManager::respondRemoveMember);
    byRole(CMD_ChannelChangeMemberRole, &ChannelManager::respondChangeMemberRole);

    table->insert(CMD_ChannelCategories,
                  [](Manager& m, const QVariant&) { m.channelManager->startChannelCategories(); });
    table->insert(CMD_ChannelCreate, [](Manager& m, const QVariant& in) {
        m.channelManager->startChannelCreate(in.value<ChannelInfo>());
    });
    table->insert(CMD_ChannelEdit, [](Manager& m, const QVariant& in) {
        m.channelManager->startChannelEdit(in.value<ChannelInfo>());
    });
    table->insert(CMD_ChannelList, [](Manager& m, const QVariant&) { m.respondChannelList(); });
    table->insert(CMD_GetChannelMessages, [](Manager& m, const QVariant& in) {
        m.channelManager->answerHistory(in.value<MessageRequest>());
    });
    table->insert(CMD_ChannelChangeMsgCond, [](Manager& m, const QVariant& in) {
        m.channelManager->respondChangeMessageCondition(in.value<ChannelMessageCondition>());
    });
    table->insert(CMD_ChannelUpdateMute, [](Manager& m, const QVariant& in) {
        m.respondChannelUpdateMute(in.value<ChannelInfo>());
    });
    table->insert(CMD_ChannelGetMembers, [](Manager& m, const QVariant& in) {
        m.channelManager->startChannelGetMembers(in.value<ChannelMembersRequest>());
    });
    table->insert(CMD_SendPollToChannel, [](Manager& m, const QVariant& in) {
        m.channelManager->sendPollToChannel(in.value<PollData>());
    });
}

void Manager::respondChannelList()
{
    answer(CMD_ChannelList, QVariant::fromValue(channelManager->getChannelsSorted()));
}

void Manager::respondChannelUpdateMute(const ChannelInfo& info)
{
    channelManager->changeMuteStatus(info);
    ChannelInfo stored;
    if (channelManager->getChannelInfo(info.getId(), &stored))
        answer(CMD_ChannelUpdateMute, QVariant::fromValue(stored));
    sendConversationMuteStatusChange(ConversationType::CHANNEL, info.getId(), info.getMute());
}
