// The Manager's group commands and the answers of the group manager.

#include "Managers/Group/groupmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/manager.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"

void Manager::setupGroupConnections()
{
    connect(groupManager, &GroupManager::groupCreated, this,
            [this](const QString& jid) { answer(CMD_GroupCreate, jid); });
    connect(groupManager, &GroupManager::groupMembersInfoUpdate, this,
            [this](const GroupInfoMembers& info) {
                answer(CMD_GroupInfoMembers, QVariant::fromValue(info));
            });
    connect(groupManager, &GroupManager::groupRemoved, this,
            [this](const QString& jid) { answer(CMD_GroupRemoved, jid); });
    connect(groupManager, &GroupManager::groupLeft, this,
            [this](const QString& jid) { answer(CMD_GroupLeave, jid); });
    connect(groupManager, &GroupManager::messageReply, this, [this](const MessageReply& reply) {
        answer(CMD_GetGroupMessages, QVariant::fromValue(reply));
    });
    connect(xmppManager, &XMPPManager::xmppChatClientConnected, groupManager,
            &GroupManager::xmppChatClientConnected);
    connect(groupManager, &GroupManager::setXmppRooms, xmppManager, &XMPPManager::setXmppRooms);
    connect(groupManager, &GroupManager::leaveXmppRoom, xmppManager, &XMPPManager::leaveRoom);
    connect(xmppManager, &XMPPManager::roomHistory, groupManager,
            &GroupManager::processRoomHistory);
    connect(xmppManager, &XMPPManager::roomEntered, groupManager, &GroupManager::roomEntered);
    connect(xmppManager, &XMPPManager::roomRecordComplete, groupManager,
            &GroupManager::roomRecordComplete);
    connect(groupManager, &GroupManager::commandResponse, this, &Manager::commandResponse);
    connect(groupManager, &GroupManager::notification, this, &Manager::notification);
}

void Manager::addGroupCommands(CommandTable* table)
{
    table->insert(CMD_GroupCreate, [](Manager& m, const QVariant& in) {
        const GroupInfoMembers info = in.value<GroupInfoMembers>();
        const GroupInfo group = info.getInfo();
        m.groupManager->startCreateGroup(group.getName(), group.getDescription(), group.getAvUrl(),
                                         group.getAvThUrl(), info.getMembers().keys());
    });
    table->insert(CMD_GroupGetData, [](Manager& m, const QVariant& in) {
        m.groupManager->enqueueGroupDataRequest(toString(in));
    });
    table->insert(CMD_GroupsList, [](Manager& m, const QVariant&) { m.respondGroupList(); });
    table->insert(CMD_GroupInfoMembers, [](Manager& m, const QVariant& in) {
        m.groupManager->enqueueMembersInfoRequest(toString(in));
    });
    table->insert(CMD_GroupRemoveHistory, [](Manager& m, const QVariant& in) {
        m.groupManager->removeHistory(toString(in));
    });
    table->insert(CMD_GroupLeave, [](Manager& m, const QVariant& in) {
        m.groupManager->startGroupLeave(toString(in));
        m.xmppManager->leaveRoom(toString(in));
    });
    // Member and data changes are answered at once; the outcome arrives later.
    table->insert(CMD_GroupAddMember, [](Manager& m, const QVariant& in) {
        const GroupAddMemberPair pair = in.value<GroupAddMemberPair>();
        m.groupManager->startGroupAddMember(pair.getJid(), pair.getNumbers());
        m.answer(CMD_GroupAddMember, true);
    });
    table->insert(CMD_GroupAddAdmin, [](Manager& m, const QVariant& in) {
        const GroupAddMemberPair pair = in.value<GroupAddMemberPair>();
        m.groupManager->startGroupAddAdmin(pair.getJid(), pair.getNumbers());
        m.answer(CMD_GroupAddAdmin, true);
    });
    table->insert(CMD_GroupChangeRole, [](Manager& m, const QVariant& in) {
        const GroupChangeRoleRequest request = in.value<GroupChangeRoleRequest>();
        m.groupManager->startGroupChangeRole(request.getJid(), request.getUserName(),
                                             request.getNewRole());
        m.answer(CMD_GroupChangeRole, true);
    });
    table->insert(CMD_GroupChangeData, [](Manager& m, const QVariant& in) {
        m.groupManager->respondGroupChangeData(in.value<GroupInfo>());
        m.answer(CMD_GroupChangeData, true);
    });
    table->insert(CMD_GroupRemoveMember, [](Manager& m, const QVariant& in) {
        const GroupChangeRoleRequest request = in.value<GroupChangeRoleRequest>();
        m.groupManager->startGroupRemoveMember(request.getJid(), request.getUserName());
        m.answer(CMD_GroupRemoveMember, true);
    });
    table->insert(CMD_GroupUpdateGetNotif, [](Manager& m, const QVariant& in) {
        const GroupInfo info = in.value<GroupInfo>();
        m.groupManager->updateMute(info);
        m.sendConversationMuteStatusChange(ConversationType::GROUP, info.getJid(), info.getMute());
    });
    table->insert(CMD_GetGroupMessages, [](Manager& m, const QVariant& in) {
        m.groupManager->answerHistory(in.value<MessageRequest>());
    });
}

void Manager::respondGroupList()
{
    answer(CMD_GroupsList, QVariant::fromValue(groupManager->getGroupListSorted()));
}
