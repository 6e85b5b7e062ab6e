#include "channelservice.h"

#include "Managers/Channel/channelmanager.h"

#include <QDateTime>
#include <QTimer>
#include <algorithm>

ChannelService::ChannelService(const QString& user, QObject* parent) : QObject(parent), user(user)
{
}

void ChannelService::attach(ChannelManager* target)
{
    manager = target;
    connect(manager, &ChannelManager::start, this,
            [this](Procedure procedure, const QHash<QString, QJsonValue>& inputs) {
                const Request request{procedure, inputs};
                requests << request;
                if (holding) {
                    held << request;
                    return;
                }
                ++queued;
                QTimer::singleShot(0, this, [this, request] {
                    --queued;
                    answer(request);
                });
            });
}

void ChannelService::release()
{
    holding = false;
    const QList<Request> waiting = held;
    held.clear();
    for (const Request& request : waiting)
        answer(request);
}

QList<ChannelService::Request> ChannelService::requestsOf(Procedure procedure) const
{
    QList<Request> list;
    for (const Request& request : requests) {
        if (request.procedure == procedure)
            list << request;
    }
    return list;
}

void ChannelService::failNext(Procedure procedure, int code, int times)
{
    for (int i = 0; i < times; ++i)
        failures[procedure] << code;
}

void ChannelService::answer(const Request& request)
{
    if (!manager)
        return;
    QJsonObject reply;
    int code = failures[request.procedure].isEmpty() ? handle(request, &reply)
                                                     : failures[request.procedure].takeFirst();
    if (code == 200)
        manager->processReply(request.procedure, reply);
    manager->result(request.procedure, code);
}

void ChannelService::addCategory(const QString& id, const QString& name, const QString& parent)
{
    categories << QJsonObject{{"CategoryId", id},
                              {"CategoryName", name},
                              {"Description", "about " + name},
                              {"BannerUrl", ""},
                              {"ParentCategoryId", parent}};
}

void ChannelService::addChannel(const QString& id, const QString& owner, const QString& categoryId)
{
    channels.insert(id, QJsonObject{{"ChannelID", id},
                                    {"Name", "Channel " + id},
                                    {"AvatarURL", ""},
                                    {"AvatarThumbnailURL", ""},
                                    {"Description", "all about " + id},
                                    {"CreationDate", "1700000000"},
                                    {"ReplyAllowed", "1"},
                                    {"CategoryId", categoryId},
                                    {"OwnerUsername", owner}});
    roles[id].insert(owner, "OWNER");
}

QJsonObject ChannelService::post(const QString& channelId, const QString& author,
                                 const QString& body, qint64 time)
{
    const QJsonObject message{
        {"MAJOR_TYPE", "CHANNEL_CHAT"},
        {"MINOR_TYPE", "TEXT"},
        {"CHANNEL_ID", channelId},
        {"MESSAGE_ID", QString("%1-%2").arg(channelId).arg(messages.value(channelId).size() + 1)},
        {"MESSAGE_BODY", body},
        {"USER_ID", author},
        {"SEND_TIME_IN_GMT", double(time)}};
    messages[channelId] << message;
    return message;
}

QString ChannelService::roleOf(const QString& channelId, const QString& member) const
{
    return roles.value(channelId).value(member, "NONE");
}

QJsonObject ChannelService::channelObject(const QString& id) const
{
    QJsonObject object = channels.value(id);
    const QHash<QString, QString> members = roles.value(id);
    QJsonArray admins;
    for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
        if (it.value() == "ADMIN")
            admins << it.key();
    }
    object.insert("MyRole", members.value(user, "NONE"));
    object.insert("Followed", members.contains(user) ? "1" : "0");
    object.insert("MembersCount", QString::number(members.size()));
    if (!admins.isEmpty())
        object.insert("Admins", admins);
    return object;
}

QJsonArray ChannelService::channelsOf(const QString& member) const
{
    QStringList ids = channels.keys();
    ids.sort();
    QJsonArray list;
    for (const QString& id : ids) {
        if (roles.value(id).contains(member))
            list << channelObject(id);
    }
    return list;
}

QJsonArray ChannelService::archivePage(const QString& id, const QString& offset,
                                       const QString& before, int count) const
{
    // Newest first: by offset from the newest, or before a message id.
    QList<QJsonObject> all = messages.value(id);
    std::reverse(all.begin(), all.end());
    int from = offset.toInt();
    if (!before.isEmpty()) {
        from = all.size();
        for (int i = 0; i < all.size(); ++i) {
            if (all.at(i).value("MESSAGE_ID").toString() == before)
                from = i + 1;
        }
    }
    QJsonArray page;
    for (int i = from; i < all.size() && page.size() < count; ++i)
        page << all.at(i);
    return page;
}

int ChannelService::handle(const Request& request, QJsonObject* reply)
{
    const auto in = [&request](const char* key) {
        return request.inputs.value(QLatin1String(key)).toString();
    };
    const QString id = in("ChannelID");
    switch (request.procedure) {
    case PROC_ChannelCategories: {
        QJsonArray list;
        for (const QJsonObject& category : categories)
            list << category;
        reply->insert("Categories", list);
        return 200;
    }
    case PROC_BrowseCategory: {
        const QString category = in("browseCategoryId");
        QJsonArray subCategories;
        for (const QJsonObject& c : categories) {
            if (c.value("ParentCategoryId").toString() == category)
                subCategories << c;
        }
        QJsonArray list;
        for (const QString& channel : channels.keys()) {
            if (channels.value(channel).value("CategoryId").toString() == category)
                list << channelObject(channel);
        }
        reply->insert("Categories", subCategories);
        reply->insert("Channels", list);
        return 200;
    }
    case PROC_JoinChannel:
        if (!channels.contains(id))
            return 404;
        if (!roles[id].contains(user))
            roles[id].insert(user, "MEMBER");
        return 200;
    case PROC_LeaveChannel:
        roles[id].remove(user);
        return 200;
    case PROC_ChannelData:
    case PROC_ChannelDataAndAdd:
        if (!channels.contains(id))
            return 404;
        *reply = channelObject(id);
        return 200;
    case PROC_ChannelList:
        reply->insert("Channels", channelsOf(user));
        return 200;
    case PROC_CreateChannel: {
        if (channels.contains(id) || id.isEmpty())
            return 409;
        QString owner;
        for (const QJsonValue& member : request.inputs.value("Members").toArray()) {
            if (member.toObject().value("Role").toString() == "OWNER")
                owner = member.toObject().value("Username").toString();
        }
        if (owner != user)
            return 403;
        addChannel(id, owner, in("CategoryID"));
        QJsonObject& channel = channels[id];
        channel.insert("Name", in("Name"));
        channel.insert("Description", in("Description"));
        channel.insert("ReplyAllowed", in("ReplyAllowed"));
        reply->insert("ChannelID", id);
        return 200;
    }
    case PROC_ChannelAddMember:
        if (roleOf(id, user) != "OWNER" && roleOf(id, user) != "ADMIN")
            return 403;
        for (const QJsonValue& member : request.inputs.value("Members").toArray())
            roles[id].insert(member.toObject().value("Username").toString(),
                             member.toObject().value("Role").toString());
        return 200;
    case PROC_ChannelRemoveMember:
        if (roleOf(id, user) != "OWNER" && roleOf(id, user) != "ADMIN")
            return 403;
        roles[id].remove(in("MemberUsername"));
        return 200;
    case PROC_ChannelChangeRole:
        if (roleOf(id, user) != "OWNER")
            return 403;
        roles[id].insert(in("MemberUsername"), in("MemberNewRole"));
        return 200;
    case PROC_ChannelSendMessage: {
        if (roleOf(id, user) != "OWNER" && roleOf(id, user) != "ADMIN")
            return 403;
        QJsonObject message = request.inputs.value("MessageParams").toObject();
        message.insert("MESSAGE_ID", in("MessageID"));
        message.insert("MESSAGE_BODY", in("MessageBody"));
        message.insert("CHANNEL_ID", id);
        message.insert("USER_ID", user);
        messages[id] << message;
        return 200;
    }
    case PROC_ChannelChangeMessageState:
        return 200;
    case PROC_CheckChannelIdAvailability:
        return channels.contains(id) ? 409 : 200;
    case PROC_ChannelGetMembers: {
        QJsonArray members;
        const QHash<QString, QString> list = roles.value(id);
        QStringList names = list.keys();
        names.sort();
        for (const QString& name : names)
            members << QJsonObject{{"Username", name}, {"Role", list.value(name)}};
        reply->insert("Members", members);
        return 200;
    }
    case PROC_ChannelDelete:
        if (roleOf(id, user) != "OWNER")
            return 403;
        channels.remove(id);
        roles.remove(id);
        messages.remove(id);
        return 200;
    case PROC_ChannelEdit: {
        if (roleOf(id, user) != "OWNER" && roleOf(id, user) != "ADMIN")
            return 403;
        QJsonObject& channel = channels[id];
        for (const char* key :
             {"Name", "AvatarURL", "AvatarThumbnailURL", "Description", "ReplyAllowed"})
            channel.insert(key, in(key));
        return 200;
    }
    case PROC_ChannelArchive:
        reply->insert("Messages",
                      archivePage(id, in("Offset"), in("MessageID"), in("Count").toInt()));
        return 200;
    case PROC_ChannelNewMessages: {
        const qint64 since = in("MessageTimestamp").toLongLong() * 1000;
        QJsonArray list;
        for (auto it = messages.constBegin(); it != messages.constEnd(); ++it) {
            if (!roles.value(it.key()).contains(user))
                continue;
            for (const QJsonObject& message : it.value()) {
                if (qint64(message.value("SEND_TIME_IN_GMT").toDouble()) > since)
                    list << message;
            }
        }
        reply->insert("Messages", list);
        return 200;
    }
    case PROC_PollCreate:
        reply->insert("PollID", QString("poll-%1").arg(requestsOf(PROC_PollCreate).size()));
        return 200;
    default:
        return 404;
    }
}
