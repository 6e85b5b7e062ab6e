#include "valuejson.h"

#include "Managers/Chat/chatrecipient.h"
#include "Managers/Chat/chatwidgetdata.h"
#include "Managers/Contact/contact.h"
#include "model/browsecategoryresult.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "model/channelmemberrole.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/grouplookup.h"
#include "model/lastseen.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/messagestate.h"
#include "model/notificationmessage.h"
#include "model/polldata.h"
#include "model/uisetting.h"
#include "model/userlookup.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

QJsonValue messageJson(const Message& message)
{
    return message.isEmpty() ? QJsonValue() : QJsonValue(message.toDBJson());
}

QJsonObject recipientJson(const ChatRecipient& recipient)
{
    return QJsonObject{{"contact", recipient.getContact().toJsonObject()},
                       {"lastMessage", messageJson(recipient.getLastMsg())},
                       {"unreadCount", recipient.getUnreadCount()}};
}

template <typename T, typename F> QJsonArray listJson(const QList<T>& list, F convert)
{
    QJsonArray array;
    for (const T& item : list)
        array.append(convert(item));
    return array;
}

} // namespace

QJsonValue ValueJson::toJson(const QVariant& value)
{
    const int type = value.userType();
    if (!value.isValid())
        return QJsonValue();
    if (type == qMetaTypeId<Message>())
        return messageJson(value.value<Message>());
    if (type == qMetaTypeId<MessagePair>()) {
        const MessagePair pair = value.value<MessagePair>();
        return QJsonObject{{"message", messageJson(pair.getMessage())},
                           {"replyMessage", messageJson(pair.getReplyMessage())}};
    }
    if (type == qMetaTypeId<MessageState>()) {
        const MessageState state = value.value<MessageState>();
        return QJsonObject{{"chatId", state.getChatId()},
                           {"messageId", state.getMessageId()},
                           {"state", MessageBase::toString(state.getState())}};
    }
    if (type == qMetaTypeId<MessageReply>()) {
        const MessageReply reply = value.value<MessageReply>();
        return QJsonObject{{"chatId", reply.getRequest().getChatId()},
                           {"messages", listJson(reply.getMsgs(), messageJson)}};
    }
    if (type == qMetaTypeId<LVReply>()) {
        const LVReply reply = value.value<LVReply>();
        QJsonObject likes;
        const QHash<QString, int> counts = reply.getResult();
        for (auto it = counts.constBegin(); it != counts.constEnd(); ++it)
            likes.insert(it.key(), it.value());
        return QJsonObject{{"chatId", reply.getChatId()}, {"likes", likes}};
    }
    if (type == qMetaTypeId<NotificationMessage>()) {
        const NotificationMessage note = value.value<NotificationMessage>();
        return QJsonObject{{"title", note.getTitle()},
                           {"avatar", note.getAvThUrl()},
                           {"message", messageJson(note.getMessage())}};
    }
    if (type == qMetaTypeId<Contact>())
        return value.value<Contact>().toJsonObject();
    if (type == qMetaTypeId<QHash<QString, Contact>>()) {
        QJsonObject object;
        const QHash<QString, Contact> contacts = value.value<QHash<QString, Contact>>();
        for (auto it = contacts.constBegin(); it != contacts.constEnd(); ++it)
            object.insert(it.key(), it.value().toJsonObject());
        return object;
    }
    if (type == qMetaTypeId<ChatRecipient>())
        return recipientJson(value.value<ChatRecipient>());
    if (type == qMetaTypeId<QList<ChatRecipient>>())
        return listJson(value.value<QList<ChatRecipient>>(), recipientJson);
    if (type == qMetaTypeId<QList<ChatWidgetData>>()) {
        return listJson(value.value<QList<ChatWidgetData>>(), [](const ChatWidgetData& data) {
            return QJsonObject{{"type", MessageBase::toString(data.getType())},
                               {"lastActivity", QString::number(data.getLastActivity())},
                               {"recipient", recipientJson(data.getRecipient())},
                               {"group", data.getGroupInfo().toJsonObject()}};
        });
    }
    if (type == qMetaTypeId<QList<ChannelInfo>>())
        return listJson(value.value<QList<ChannelInfo>>(),
                        [](const ChannelInfo& info) { return info.toJsonObject(); });
    if (type == qMetaTypeId<GroupInfo>()) {
        const GroupInfo info = value.value<GroupInfo>();
        return QJsonObject(info.toDBJsonObject());
    }
    if (type == qMetaTypeId<GroupInfoMembers>()) {
        const GroupInfoMembers group = value.value<GroupInfoMembers>();
        QJsonObject members;
        for (const GroupMember& member : group.getMembers())
            members.insert(member.getUserName(), GroupRole::toString(member.getRole()));
        return QJsonObject{{"info", group.getInfo().toDBJsonObject()}, {"members", members}};
    }
    if (type == qMetaTypeId<QList<GroupInfo>>())
        return listJson(value.value<QList<GroupInfo>>(),
                        [](const GroupInfo& info) { return info.toJsonObject(); });
    if (type == qMetaTypeId<UISetting>()) {
        const UISetting setting = value.value<UISetting>();
        return QJsonObject{{"userName", setting.getUserName()},
                           {"hashMethod", setting.getHashMethod()},
                           {"hasToken", !setting.getToken().isEmpty()}};
    }
    if (type == qMetaTypeId<LastSeen>()) {
        const LastSeen seen = value.value<LastSeen>();
        return QJsonObject{{"number", seen.getNumber()},
                           {"time", seen.getSeconds().toSecsSinceEpoch()}};
    }
    if (type == qMetaTypeId<Members>()) {
        const Members members = value.value<Members>();
        return QJsonObject{{"requestId", members.getRequestId()},
                           {"numbers", QJsonArray::fromStringList(members.getNumbersList())}};
    }
    if (type == qMetaTypeId<UserLookup>())
        return value.value<UserLookup>().toJsonObject();
    if (type == qMetaTypeId<GroupLookup>())
        return value.value<GroupLookup>().toJsonObject();
    if (type == qMetaTypeId<ChannelLookup>())
        return value.value<ChannelLookup>().toJsonObject();
    if (type == qMetaTypeId<ChannelInfo>())
        return value.value<ChannelInfo>().toDBJsonObject();
    if (type == qMetaTypeId<BrowseCategoryResult>())
        return value.value<BrowseCategoryResult>().toJsonObject();
    if (type == qMetaTypeId<ChannelMemberRole>()) {
        const ChannelMemberRole role = value.value<ChannelMemberRole>();
        return QJsonObject{{"channel", role.getChannelId()},
                           {"user", role.getMemberId()},
                           {"role", ChannelRole::toString(role.getRole())}};
    }
    switch (type) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return value.toDouble();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(value.toStringList());
    default:
        break;
    }
    return QJsonObject{{"unprintedType", QString::fromLatin1(value.typeName())}};
}

QVariant ValueJson::fromJson(Command command, const QJsonValue& value)
{
    switch (command) {
    case CMD_SendMessage:
    case CMD_MessageEdited:
    case CMD_SetFilePathForFileMessage: {
        Message message;
        if (!message.fromDBJson(value.toObject()))
            return QVariant();
        return QVariant::fromValue(message);
    }
    case CMD_GetChatMessages:
    case CMD_GetGroupMessages:
    case CMD_GetChannelMessages: {
        const QJsonObject object = value.toObject();
        MessageRequest request;
        request.setChatId(object.value("chatId").toString());
        request.setMessageId(object.value("messageId").toString());
        request.setNumber(object.value("number").toInt(20));
        request.setChatType(MessageBase::MsgMajorType(object.value("chatType").toInt(1)));
        return QVariant::fromValue(request);
    }
    case CMD_ChannelCreate:
    case CMD_ChannelEdit:
    case CMD_ChannelUpdateMute: {
        ChannelInfo info;
        if (!info.setDataFromDBJson(value.toObject()))
            return QVariant();
        return QVariant::fromValue(info);
    }
    case CMD_GroupCreate: {
        // {"info": group fields, "members": [user ids]}
        const QJsonObject object = value.toObject();
        GroupInfoMembers group;
        GroupInfo info;
        info.setName(object.value("info").toObject().value("GroupName").toString());
        info.setDescription(object.value("info").toObject().value("Description").toString());
        group.setInfo(info);
        for (const QJsonValue& user : object.value("members").toArray())
            group.insertMember(GroupMember(user.toString()));
        return QVariant::fromValue(group);
    }
    case CMD_GroupAddMember:
    case CMD_GroupAddAdmin: {
        // {"jid": group id, "users": [user ids]}
        const QJsonObject object = value.toObject();
        GroupAddMemberPair pair;
        pair.setJid(object.value("jid").toString());
        for (const QJsonValue& user : object.value("users").toArray())
            pair.addNumber(user.toString());
        return QVariant::fromValue(pair);
    }
    case CMD_GroupChangeData: {
        // The group's fields as the core answers them.
        GroupInfo info;
        if (!info.setDataFromJson(value.toObject()))
            return QVariant();
        return QVariant::fromValue(info);
    }
    case CMD_GroupRemoveMember:
    case CMD_GroupChangeRole: {
        const QJsonObject object = value.toObject();
        return QVariant::fromValue(
            GroupChangeRoleRequest(object.value("jid").toString(), object.value("user").toString(),
                                   GroupRole::toRole(object.value("role").toString())));
    }
    case CMD_ChannelAddMember:
    case CMD_ChannelRemoveMember:
    case CMD_ChannelChangeMemberRole: {
        // {"channel": id, "user": user name, "role": "ADMIN" ...}
        const QJsonObject object = value.toObject();
        return QVariant::fromValue(ChannelMemberRole(
            object.value("channel").toString(), object.value("user").toString(),
            ChannelRole::toRole(object.value("role").toString(QStringLiteral("MEMBER")))));
    }
    case CMD_SendPollToChannel: {
        // {"channel": id, "poll": the poll's JSON, "viewResults": bool}
        const QJsonObject object = value.toObject();
        PollData poll(object.value("poll").toObject());
        poll.setChannelId(object.value("channel").toString());
        poll.setViewResults(object.value("viewResults").toBool(true));
        return QVariant::fromValue(poll);
    }
    case CMD_LikeGet: {
        // {"channel": id, "messages": [message ids]}
        const QJsonObject object = value.toObject();
        QStringList ids;
        for (const QJsonValue& id : object.value("messages").toArray())
            ids << id.toString();
        return QVariant::fromValue(LVRequest(object.value("channel").toString(), ids));
    }
    case CMD_LikeSend: {
        const QJsonObject object = value.toObject();
        return QVariant::fromValue(LikePair(object.value("channel").toString(),
                                            object.value("message").toString(),
                                            object.value("liked").toBool()));
    }
    case CMD_AddContact:
    case CMD_UpdateContact:
    case CMD_DeleteContact:
    case CMD_UpdateMuteStatus:
    case CMD_BlockUser:
    case CMD_SetProfile: {
        Contact contact;
        contact.setDataFromJson(value.toObject());
        return QVariant::fromValue(contact);
    }
    default:
        break;
    }
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool();
    if (value.isDouble())
        return value.toInt();
    return QVariant();
}
