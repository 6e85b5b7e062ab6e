#include "Managers/manager.h"

#include "Managers/Channel/channelmanager.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/Like/likemanager.h"
#include "Managers/Poll/pollmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "foundation/datetime.h"
#include "foundation/globalconstants.h"
#include "foundation/simpleqtlogger.h"
#include "model/channellookup.h"
#include "model/channelmembersrequest.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "model/grouplookup.h"
#include "model/lastseen.h"
#include "model/likepair.h"
#include "model/lvrequest.h"
#include "model/messagestate.h"
#include "model/polldata.h"
#include "model/uisetting.h"
#include "model/userlookup.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QDateTime>
#include <QDebug>

Manager::Manager(QObject* parent) : AbstractManager(parent)
{
    loadMainSettings();
}

void Manager::loadMainSettings()
{
    QJsonObject stored;
    MainSettings settings;
    if (SettingStorage::getInstance()->getMainSettings(&stored))
        settings.fromDBJson(stored);
    GlobalConstants::setMainSettings(settings);
    qDebug() << "Manager::loadMainSettings() | " << settings.toDBJson();
}

void Manager::setUserName(const QString& value)
{
    userName = value;
    channelManager->setUserName(value);
    groupManager->setUserName(value);
    chatManager->setUserName(value);
    xmppManager->setUserName(value);
}

void Manager::startLoading()
{
    contactManager = new ContactManager(this);
    chatManager = new ChatManager(this);
    xmppManager = new XMPPManager(this);
    groupManager = new GroupManager(this);
    channelManager = new ChannelManager(this);
    likeManager = new LikeManager(this);

    using StartSignal = void (Manager::*)(Procedure, const QHash<QString, QJsonValue>&);
    const StartSignal relay = &Manager::start;
    connect(contactManager,
            static_cast<void (ContactManager::*)(Procedure, const QHash<QString, QJsonValue>&)>(
                &ContactManager::start),
            this, relay);
    connect(xmppManager, &XMPPManager::start, this, relay);
    connect(channelManager, &ChannelManager::start, this, relay);
    connect(groupManager, &GroupManager::start, this, relay);
    connect(chatManager, &ChatManager::start, this, relay);

    setupConnections();

    connect(contactManager, &AbstractManager::loadingFinished, chatManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(chatManager, &AbstractManager::loadingFinished, xmppManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(xmppManager, &AbstractManager::loadingFinished, groupManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(groupManager, &AbstractManager::loadingFinished, channelManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(channelManager, &AbstractManager::loadingFinished, likeManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(likeManager, &AbstractManager::loadingFinished, this,
            &AbstractManager::loadingFinished);
    connect(likeManager, &AbstractManager::loadingFinished, this, &Manager::loadingFinishedSLOT);

    contactManager->startLoading();
}

void Manager::loadingFinishedSLOT()
{
    qDebug() << "Manager::startLoading() | #END" << DateTime::getDateTimeInMSecs();
}

void Manager::setupConnections()
{
    connect(contactManager, &ContactManager::contactAdded, this, &Manager::contactAdded);
    connect(contactManager, &ContactManager::chatRecipientData, this, &Manager::chatRecipientData);
    connect(contactManager, &ContactManager::userProfileReady, this, &Manager::userProfileReady);
    connect(contactManager, &ContactManager::otherContactAdded, this, &Manager::otherContactAdded);
    connect(contactManager, &ContactManager::contactUpdated, this, &Manager::contactUpdated);
    connect(contactManager, &ContactManager::runMembersReply, this, &Manager::respondRunMembers);
    connect(contactManager, &ContactManager::commandResponse, this, &Manager::commandResponse);
    connect(contactManager, &ContactManager::notification, this, &Manager::notification);
    connect(contactManager, &ContactManager::getQuorvelID, this, &Manager::quorvelIDGet);

    connect(channelManager, &ChannelManager::commandResponse, this, &Manager::commandResponse);
    connect(channelManager, &ChannelManager::channelRemoved, this, &Manager::channelRemoved);
    connect(channelManager, &ChannelManager::channelCategoriesData, this,
            &Manager::channelCategoriesData);
    connect(channelManager, &ChannelManager::channelCategoryBrowseData, this,
            &Manager::channelCategoryBrowseData);
    connect(channelManager, &ChannelManager::messageAdded, this, &Manager::respondMessageAdded);
    connect(channelManager, &ChannelManager::messageReply, this, &Manager::channelMessageReply);
    connect(channelManager, &ChannelManager::channelMemberAdded, this,
            &Manager::channelMemberAdded);
    connect(channelManager, &ChannelManager::channelMemberRemoved, this,
            &Manager::channelMemberRemoved);
    connect(channelManager, &ChannelManager::channelMemberRoleChanged, this,
            &Manager::channelMemberRoleChanged);
    connect(channelManager, &ChannelManager::channelMessageConditionChanged, this,
            &Manager::channelMessageConditionChanged);
    connect(channelManager, &ChannelManager::notification, this, &Manager::notification);

    connect(chatManager, &ChatManager::chatRecipientNumbers, contactManager,
            &ContactManager::chatRecipients);
    connect(chatManager, &ChatManager::recipientAdded, this, &Manager::recipientAdded);
    connect(chatManager, &ChatManager::commandResponse, this, &Manager::commandResponse);

    connect(xmppManager, &XMPPManager::incommingMessage, this, &Manager::incommingMessage);
    connect(xmppManager->getClient(), &QuorvelXMPPClient::lastSeen, this, &Manager::lastSeen);
    connect(xmppManager, &XMPPManager::messageSent, this, &Manager::messageSent);
    connect(xmppManager, &XMPPManager::messageDelivered, this, &Manager::messageDelivered);
    connect(xmppManager->getClient(), &QXmppClient::connected, this, &Manager::xmppConnected);
    connect(xmppManager, &XMPPManager::userBlocked, this, &Manager::userBlocked);
    connect(xmppManager, &XMPPManager::xmppChatClientConnected, channelManager,
            &ChannelManager::xmppChatClientConnected);
    connect(xmppManager, &XMPPManager::xmppChatClientConnected, groupManager,
            &GroupManager::xmppChatClientConnected);

    connect(groupManager, &GroupManager::groupCreated, this, &Manager::groupCreated);
    connect(groupManager, &GroupManager::groupMembersInfoUpdate, this,
            &Manager::groupMembersInfoUpdate);
    connect(groupManager, &GroupManager::groupRemoved, this, &Manager::groupRemoved);
    connect(groupManager, &GroupManager::groupLeft, this, &Manager::groupLeft);
    connect(groupManager, &GroupManager::messageReply, this, &Manager::groupMessageReply);
    connect(groupManager, &GroupManager::setXmppRooms, xmppManager, &XMPPManager::setXmppRooms);
    connect(groupManager, &GroupManager::commandResponse, this, &Manager::commandResponse);
    connect(groupManager, &GroupManager::notification, this, &Manager::notification);

    connect(likeManager, &LikeManager::likeGetResults, this, &Manager::likeGetResults);
}

void Manager::onInitialize()
{
    const QString where = QStringLiteral("Manager::onInitialize");
    auto step = [&where](const char* text) {
        if (simpleqtlogger::LogSinks::wanted(simpleqtlogger::LogLevel_DEBUG)) {
            if (auto* logger = simpleqtlogger::SimpleQtLogger::getInstance())
                logger->log(QString::fromLatin1(text), simpleqtlogger::LogLevel_DEBUG, where,
                            __FILE__, __LINE__);
        }
    };
    step("START");
    xmppManager->onInitialize();
    step("xmppManager Init");
    respondGetSettings();
    step("getSetting");
    respondGetContacts();
    step("getContacts");
    respondChannelList();
    step("channelList");
    respondGroupList();
    step("groupList");
    respondGetChatRecipients();
    step("chatRecipients");
    channelManager->onInitialize();
    step("channelManager");
    // The chat manager has nothing to initialise.
    step("chatManager");
    groupManager->onInitialize();
    step("groupManager");
    contactManager->onInitialize(chatManager->getRecipients());
    step("contactManager");
    step("END");
    setupXmppStateReporting();
}

void Manager::setupXmppStateReporting()
{
    connect(xmppManager, &XMPPManager::chatServerStateChanged, this,
            &Manager::chatServerStateChanged, Qt::UniqueConnection);
    chatServerStateChanged(xmppManager->getState());
}

void Manager::aboutToQuit()
{
    qDebug() << "Manager::aboutToQuit()";
    if (chatManager)
        chatManager->aboutToQuit();
}

void Manager::answer(Command command, const QVariant& output)
{
    emit commandResponse(command, output);
}

Contact Manager::toContact(const QVariant& value)
{
    return value.value<Contact>();
}

QString Manager::toString(const QVariant& value)
{
    return value.canConvert<QString>() ? value.toString() : QString();
}

QStringList Manager::toStringList(const QVariant& value)
{
    return value.toStringList();
}

int Manager::chatServerStateValue(QXmppClient::State state)
{
    switch (state) {
    case QXmppClient::DisconnectedState:
        return 1;
    case QXmppClient::ConnectingState:
        return 2;
    case QXmppClient::ConnectedState:
        return 3;
    }
    return int(state);
}

void Manager::chatServerStateChanged(QXmppClient::State state)
{
    answer(CMD_ChatServerState, chatServerStateValue(state));
}

// ---- Command dispatch ----

void Manager::command(Command command, const QVariant& inputs)
{
    // The GUI may send commands as soon as its window is up, before loading
    // has created the managers; those early commands are dropped.
    if (!likeManager) {
        L_WARN(QStringLiteral("Manager::command | command %1 before loading; ignored")
                   .arg(int(command)));
        return;
    }
    switch (command) {
    case CMD_GetUserProfile:
        respondGetUserProfile();
        break;
    case CMD_UserProfile:
        contactManager->startUserProfile();
        break;
    case CMD_SetProfile:
        contactManager->startSetProfile(toContact(inputs));
        break;
    case CMD_SetQuorvelId:
        contactManager->startSetQuorvelID(toString(inputs));
        break;
    case CMD_GetQuorvelId:
        contactManager->startGetQuorvelID();
        break;
    case CMD_AddContact:
        contactManager->addInitialContact(toContact(inputs));
        break;
    case CMD_UpdateContact:
        respondUpdateContact(toContact(inputs));
        break;
    case CMD_DeleteContact:
        respondDeleteContact(toContact(inputs));
        break;
    case CMD_UpdateMuteStatus:
        respondUpdateMuteStatus(toContact(inputs));
        break;
    case CMD_BlockUser:
        respondBlockUser(toContact(inputs));
        break;
    case CMD_GetContacts:
        respondGetContacts();
        break;
    case CMD_RunMembers:
        contactManager->addMembersRequest(inputs.value<Members>());
        break;
    case CMD_DeactivateUser:
        contactManager->startDeactivateUser();
        respondGetSettings();
        break;
    case CMD_GetContact:
        respondGetContact(toString(inputs));
        break;
    case CMD_ReSyncContacts:
        respondReSyncContacts();
        break;
    case CMD_LastSeen:
        xmppManager->sendLastSeen(toString(inputs));
        break;
    case CMD_ChannelCategories:
        channelManager->startChannelCategories();
        break;
    case CMD_BrowseChannelCategory:
        channelManager->startBrowseChannelCategories(toString(inputs));
        break;
    case CMD_ChannelCreate:
        channelManager->startChannelCreate(inputs.value<ChannelInfo>());
        break;
    case CMD_ChannelData:
        channelManager->startChannelData(toString(inputs));
        break;
    case CMD_ChannelList:
        respondChannelList();
        break;
    case CMD_ChannelJoin:
        channelManager->startChannelJoin(toString(inputs));
        break;
    case CMD_ChannelLeave:
        channelManager->startChannelLeave(toString(inputs));
        break;
    case CMD_GetChannelMessages:
        respondGetChannelMessages(inputs.value<MessageRequest>());
        break;
    case CMD_ChannelAddMember:
        channelManager->respondAddMember(inputs.value<ChannelMemberRole>());
        break;
    case CMD_ChannelRemoveMember:
        channelManager->respondRemoveMember(inputs.value<ChannelMemberRole>());
        break;
    case CMD_ChannelChangeMemberRole:
        channelManager->respondChangeMemberRole(inputs.value<ChannelMemberRole>());
        break;
    case CMD_ChannelChangeMsgCond:
        channelManager->respondChangeMessageCondition(inputs.value<ChannelMessageCondition>());
        break;
    case CMD_ChannelUpdateMute:
        respondChannelUpdateMute(inputs.value<ChannelInfo>());
        break;
    case CMD_ChannelCheckId:
        channelManager->startCheckChannelId(toString(inputs));
        break;
    case CMD_ChannelGetMembers:
        channelManager->startChannelGetMembers(inputs.value<ChannelMembersRequest>());
        break;
    case CMD_ChannelDelete:
        channelManager->startDeleteChannel(toString(inputs));
        break;
    case CMD_ChannelEdit:
        channelManager->startChannelEdit(inputs.value<ChannelInfo>());
        break;
    case CMD_SendPollToChannel:
        channelManager->sendPollToChannel(inputs.value<PollData>());
        break;
    case CMD_ChatsData:
        respondChatsData();
        break;
    case CMD_GetChatRecipients:
        respondGetChatRecipients();
        break;
    case CMD_SendMessage:
        respondSendMessage(inputs.value<Message>());
        break;
    case CMD_SendSeen:
        respondSendSeen(toString(inputs));
        break;
    case CMD_GetChatMessages:
        chatManager->respondGetChatMessages(inputs.value<MessageRequest>());
        break;
    case CMD_DeleteChat:
        respondDeleteChat(toString(inputs));
        break;
    case CMD_SetFilePathForFileMessage:
        respondSetFilePathForFileMessage(inputs);
        break;
    case CMD_MessageEdited:
        respondMessageEdited(inputs);
        break;
    case CMD_GroupCreate:
        respondGroupCreate(inputs.value<GroupInfoMembers>());
        break;
    case CMD_GroupGetData:
        groupManager->enqueueGroupDataRequest(toString(inputs));
        break;
    case CMD_GroupsList:
        respondGroupList();
        break;
    case CMD_GroupInfoMembers:
        groupManager->enqueueMembersInfoRequest(toString(inputs));
        break;
    case CMD_GroupRemoveHistory:
        groupManager->removeHistory(toString(inputs));
        break;
    case CMD_GroupLeave:
        groupManager->startGroupLeave(toString(inputs));
        xmppManager->leaveRoom(toString(inputs));
        break;
    case CMD_GroupAddMember: {
        const GroupAddMemberPair pair = inputs.value<GroupAddMemberPair>();
        groupManager->startGroupAddMember(pair.getJid(), pair.getNumbers());
        answer(CMD_GroupAddMember, true);
        break;
    }
    case CMD_GroupAddAdmin: {
        const GroupAddMemberPair pair = inputs.value<GroupAddMemberPair>();
        groupManager->startGroupAddAdmin(pair.getJid(), pair.getNumbers());
        answer(CMD_GroupAddAdmin, true);
        break;
    }
    case CMD_GroupChangeRole: {
        const GroupChangeRoleRequest request = inputs.value<GroupChangeRoleRequest>();
        groupManager->startGroupChangeRole(request.getJid(), request.getUserName(),
                                           request.getNewRole());
        answer(CMD_GroupChangeRole, true);
        break;
    }
    case CMD_GroupChangeData:
        groupManager->respondGroupChangeData(inputs.value<GroupInfo>());
        answer(CMD_GroupChangeData, true);
        break;
    case CMD_GroupRemoveMember: {
        const GroupChangeRoleRequest request = inputs.value<GroupChangeRoleRequest>();
        groupManager->startGroupRemoveMember(request.getJid(), request.getUserName());
        answer(CMD_GroupRemoveMember, true);
        break;
    }
    case CMD_GroupUpdateGetNotif:
        respondGroupUpdateGetNotif(inputs.value<GroupInfo>());
        break;
    case CMD_GetGroupMessages:
        respondGetMessages(inputs.value<MessageRequest>());
        break;
    case CMD_Getsetting:
        respondGetSettings();
        break;
    case CMD_LikeGet:
        likeManager->getLikes(inputs.value<LVRequest>());
        break;
    case CMD_LikeSend: {
        const LikePair pair = inputs.value<LikePair>();
        likeManager->addLike(pair);
        channelManager->likeSetStatus(pair);
        break;
    }
    case CMD_SaveMainSettings:
        // The settings travel as a copy inside the command when the sender
        // provides one, so no object is shared between the threads.
        if (inputs.userType() == qMetaTypeId<MainSettings>())
            GlobalConstants::setMainSettings(inputs.value<MainSettings>());
        saveMainSettings();
        break;
    case CMD_Lookup:
        lookup(toString(inputs));
        break;
    case CMD_Logout:
        emit removeAllSettings();
        break;
    default:
        // Answer-only values and anything outside the table are ignored.
        break;
    }
}

// ---- Web-service replies ----

void Manager::replyReport(Procedure procedure, const QJsonObject& reply)
{
    if (!likeManager)
        return;
    contactManager->processReply(procedure, reply);
    channelManager->processReply(procedure, reply);
    xmppManager->processReply(procedure, reply);
    groupManager->processReply(procedure, reply);
    likeManager->processReply(procedure, reply);
    chatManager->processReply(procedure, reply);
    if (procedure == PROC_Lookup)
        processLookup(reply);
}

void Manager::result(Procedure procedure, int resultCode)
{
    if (!likeManager)
        return;
    errorHandler(resultCode);
    channelManager->result(procedure, resultCode);
    groupManager->result(procedure, resultCode);
    // The chat manager frees its history queue when an archive fetch failed.
    chatManager->result(procedure, resultCode);
}

void Manager::errorHandler(int resultCode)
{
    switch (resultCode) {
    case 200:
        return;
    case 311:
        answer(CMD_Logout, QVariant());
        answer(CMD_ErrorCode, 311);
        return;
    case 315:
        xmppManager->forceUpdate();
        answer(CMD_ForceUpdate, true);
        answer(CMD_ErrorCode, 315);
        return;
    default:
        answer(CMD_ErrorCode, resultCode);
        return;
    }
}

void Manager::lookup(const QString& key)
{
    QString value = key;
    if (value.startsWith(QLatin1Char('@')))
        value.remove(0, 1);
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("Key"), value);
    emit start(PROC_Lookup, inputs);
}

void Manager::processLookup(const QJsonObject& reply)
{
    if (!reply.contains(QStringLiteral("Type")))
        return;
    const QString type = reply.value(QStringLiteral("Type")).toString();
    const QJsonObject data = reply.value(QStringLiteral("MetaData")).toObject();
    if (type == QLatin1String("GROUP_JOIN_LINK")) {
        GroupLookup value;
        value.setDataFromJson(data);
        answer(CMD_GroupLookup, QVariant::fromValue(value));
    } else if (type == QLatin1String("CHANNEL_DATA") ||
               type == QLatin1String("CHANNEL_JOIN_LINK")) {
        ChannelLookup value;
        value.setDataFromJson(data);
        answer(CMD_ChannelLookup, QVariant::fromValue(value));
    } else if (type == QLatin1String("USER_DATA")) {
        UserLookup value;
        value.setDataFromJson(data);
        answer(CMD_UserLookup, QVariant::fromValue(value));
    }
}

void Manager::saveMainSettings()
{
    const MainSettings settings = GlobalConstants::getMainSettings();
    SettingStorage::getInstance()->setMainSettings(settings.toDBJson());
    qDebug() << "Manager::saveMainSettings() | " << settings.toDBJson();
}

// ---- Command handlers ----

void Manager::respondGetUserProfile()
{
    answer(CMD_GetUserProfile, QVariant::fromValue(contactManager->getUserContact()));
}

void Manager::respondUpdateContact(const Contact& contact)
{
    contactManager->updateContact(contact);
    Contact stored;
    if (!contactManager->getContact(contact.getNumber(), &stored))
        stored = contact;
    answer(CMD_UpdateContact, QVariant::fromValue(stored));
}

void Manager::respondDeleteContact(const Contact& contact)
{
    contactManager->removeContact(contact);
    answer(CMD_DeleteContact, QVariant::fromValue(contact));
}

void Manager::respondUpdateMuteStatus(const Contact& contact)
{
    contactManager->setContactMute(contact.getNumber(), contact.getMute());
    sendConversationMuteStatusChange(ConversationType::USER, contact.getNumber(),
                                     contact.getMute());
}

void Manager::respondBlockUser(const Contact& contact)
{
    contactManager->setContactBlocked(contact.getMemberID(), contact.getBlocked());
    xmppManager->blockUser(contact.getMemberID(), contact.getBlocked());
    userContact = contact;
}

void Manager::userBlocked()
{
    answer(CMD_BlockUser, QVariant::fromValue(userContact));
}

void Manager::respondGetContacts()
{
    answer(CMD_GetContacts, QVariant::fromValue(contactManager->getAllContacts()));
}

void Manager::respondGetContact(const QString& number)
{
    Contact stored;
    if (contactManager->getContact(number, &stored))
        answer(CMD_GetContact, QVariant::fromValue(stored));
    else
        contactManager->startProfile(number);
}

void Manager::respondReSyncContacts()
{
    contactManager->startSyncGet();
    answer(CMD_ReSyncContacts, true);
}

void Manager::respondChannelList()
{
    answer(CMD_ChannelList, QVariant::fromValue(channelManager->getChannelsSorted()));
}

void Manager::respondGetChannelMessages(const MessageRequest& request)
{
    MessageReply reply;
    if (channelManager->respondMessageRequest(request, &reply))
        answer(CMD_GetChannelMessages, QVariant::fromValue(reply));
}

void Manager::respondChannelUpdateMute(const ChannelInfo& info)
{
    channelManager->changeMuteStatus(info);
    ChannelInfo stored;
    if (channelManager->getChannelInfo(info.getId(), &stored))
        answer(CMD_ChannelUpdateMute, QVariant::fromValue(stored));
    sendConversationMuteStatusChange(ConversationType::CHANNEL, info.getId(), info.getMute());
}

void Manager::respondDeleteChat(const QString& chatId)
{
    if (chatManager->deleteChat(chatId))
        answer(CMD_DeleteChat, chatId);
}

void Manager::respondGroupCreate(const GroupInfoMembers& info)
{
    const GroupInfo group = info.getInfo();
    groupManager->startCreateGroup(group.getName(), group.getDescription(), group.getAvUrl(),
                                   group.getAvThUrl(), info.getMembers().keys());
}

void Manager::respondGroupList()
{
    answer(CMD_GroupsList, QVariant::fromValue(groupManager->getGroupListSorted()));
}

void Manager::respondGroupUpdateGetNotif(const GroupInfo& info)
{
    groupManager->updateMute(info);
    sendConversationMuteStatusChange(ConversationType::GROUP, info.getJid(), info.getMute());
}

void Manager::respondGetMessages(const MessageRequest& request)
{
    MessageReply reply;
    reply.setRequest(request);
    switch (request.getChatType()) {
    case 2:
        groupManager->respondGetMessages(request, &reply);
        break;
    case 1:
    case 3:
    case 4:
    case 5:
        break;
    default:
        return;
    }
    answer(CMD_GetGroupMessages, QVariant::fromValue(reply));
}

void Manager::respondGetSettings()
{
    const UISetting setting(userName, hashMethod, token);
    PollManager::getInstance()->setSetting(setting);
    answer(CMD_Getsetting, QVariant::fromValue(setting));
}

// ---- Answers that wrap a sub-manager's result ----

void Manager::contactAdded(const Contact& contact)
{
    answer(CMD_AddContact, QVariant::fromValue(contact));
}

void Manager::contactUpdated(const Contact& contact)
{
    answer(CMD_UpdateContact, QVariant::fromValue(contact));
}

void Manager::otherContactAdded(const Contact& contact)
{
    answer(CMD_GetContact, QVariant::fromValue(contact));
}

void Manager::userProfileReady()
{
    respondGetUserProfile();
}

void Manager::quorvelIDGet(const QString& id)
{
    answer(CMD_GetQuorvelId, id);
}

void Manager::respondRunMembers(const Members& members)
{
    answer(CMD_RunMembers, QVariant::fromValue(members));
}

void Manager::channelCategoriesData(const QHash<QString, ChannelCategory>& categories)
{
    answer(CMD_ChannelCategories, QVariant::fromValue(categories));
}

void Manager::channelCategoryBrowseData(const BrowseCategoryResult& result)
{
    qDebug() << "Manager::channelCategoryBrowseData | categories:" << result.getCategories().size()
             << "channels:" << result.getInfos().size();
    answer(CMD_BrowseChannelCategory, QVariant::fromValue(result));
}

void Manager::channelRemoved(const QString& id)
{
    answer(CMD_ChannelLeave, id);
}

void Manager::channelMessageReply(const MessageReply& reply)
{
    answer(CMD_GetChannelMessages, QVariant::fromValue(reply));
}

void Manager::channelMemberAdded(const ChannelMemberRole& role)
{
    answer(CMD_ChannelAddMember, QVariant::fromValue(role));
}

void Manager::channelMemberRemoved(const ChannelMemberRole& role)
{
    answer(CMD_ChannelRemoveMember, QVariant::fromValue(role));
}

void Manager::channelMemberRoleChanged(const ChannelMemberRole& role)
{
    answer(CMD_ChannelChangeMemberRole, QVariant::fromValue(role));
}

void Manager::channelMessageConditionChanged(const ChannelMessageCondition& condition)
{
    answer(CMD_ChannelChangeMsgCond, QVariant::fromValue(condition));
}

void Manager::groupCreated(const QString& jid)
{
    answer(CMD_GroupCreate, jid);
}

void Manager::groupMembersInfoUpdate(const GroupInfoMembers& info)
{
    answer(CMD_GroupInfoMembers, QVariant::fromValue(info));
}

void Manager::groupRemoved(const QString& jid)
{
    answer(CMD_GroupRemoved, jid);
}

void Manager::groupLeft(const QString& jid)
{
    answer(CMD_GroupLeave, jid);
}

void Manager::groupMessageReply(const MessageReply& reply)
{
    answer(CMD_GetGroupMessages, QVariant::fromValue(reply));
}

void Manager::likeGetResults(const LVReply& reply)
{
    answer(CMD_LikeGet, QVariant::fromValue(reply));
}

void Manager::respondMessageAdded(const Message& message)
{
    answer(CMD_MessageAdded, QVariant::fromValue(message));
}

void Manager::respondMessageStateChange(const QString& chatId, const QString& messageId,
                                        MessageBase::MsgState state)
{
    answer(CMD_MessageStateChange, QVariant::fromValue(MessageState(chatId, messageId, state)));
}

void Manager::lastSeen(const QString& number, int seconds)
{
    const qint64 when = qint64(DateTime::getDateTime()) - seconds;
    answer(CMD_LastSeen,
           QVariant::fromValue(LastSeen(number, QDateTime::fromSecsSinceEpoch(when))));
}
