// Channels: categories and a browsable directory, channels with owners,
// administrators and members, the messages posted to each channel (pushed to
// the followers' chat accounts as they are posted), archive pages and the
// messages posted since a time.

#include "channelpostindex.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QMap>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <algorithm>

namespace {

const QString kChannels = QStringLiteral("channels");
const QString kPosts = QStringLiteral("channelposts");
const QString kCategories = QStringLiteral("channelcategories");
const QString kPolls = QStringLiteral("polls");
const QString kLikes = QStringLiteral("likes");
const QString kMembers = QStringLiteral("Members");
const int kMaxPage = 200;
const int kMaxText = 4096;

// The directory every fresh service starts with.
void seedCategories(ServiceStore* store)
{
    if (!store->keys(kCategories).isEmpty())
        return;
    const struct
    {
        const char* id;
        const char* name;
        const char* parent;
    } seeds[] = {
        {"1", "News", "0"}, {"2", "Sport", "0"}, {"3", "Science", "0"}, {"4", "Football", "2"}};
    for (const auto& seed : seeds)
        store->setValue(kCategories, seed.id,
                        QJsonObject{{"CategoryId", seed.id},
                                    {"CategoryName", seed.name},
                                    {"Description", QString("Channels about %1").arg(seed.name)},
                                    {"BannerUrl", ""},
                                    {"ParentCategoryId", seed.parent}});
}

QString roleOf(const QJsonObject& channel, const QString& user)
{
    return channel.value(kMembers).toObject().value(user).toString(QStringLiteral("NONE"));
}

bool canManage(const QJsonObject& channel, const QString& user)
{
    const QString role = roleOf(channel, user);
    return role == QLatin1String("OWNER") || role == QLatin1String("ADMIN");
}

bool isRole(const QString& role)
{
    return role == QLatin1String("OWNER") || role == QLatin1String("ADMIN") ||
           role == QLatin1String("MEMBER") || role == QLatin1String("VISITOR");
}

// The channel as one user sees it.
QJsonObject channelFor(const QJsonObject& channel, const QString& user)
{
    QJsonObject seen = channel;
    const QJsonObject members = channel.value(kMembers).toObject();
    QJsonArray admins;
    for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
        if (it.value().toString() == QLatin1String("ADMIN"))
            admins << it.key();
    }
    seen.remove(kMembers);
    seen.insert("MyRole", roleOf(channel, user));
    seen.insert("Followed", members.contains(user) ? "1" : "0");
    seen.insert("MembersCount", QString::number(members.size()));
    seen.insert("Admins", admins);
    return seen;
}

class Channels
{
public:
    Channels(LocalService& service, const ServiceRequest& request, const QString& user)
        : service(service), store(service.store()), user(user)
    {
        ok = LocalService::readBody(request, {}, &body, &error);
    }

    // The top of the directory: the categories without a parent.
    ServiceReply categories() const { return browseReply(categoriesUnder("0"), {}); }

    ServiceReply browse(const QString& categoryId) const
    {
        const QJsonArray subCategories = categoriesUnder(categoryId);
        QJsonArray list;
        for (const QString& id : store->keys(kChannels)) {
            const QJsonObject channel = store->object(kChannels, id);
            if (channel.value("CategoryId").toString() == categoryId)
                list << channelFor(channel, user);
        }
        return browseReply(subCategories, list);
    }

    ServiceReply join()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        QJsonObject members = channel.value(kMembers).toObject();
        if (!members.contains(user))
            members.insert(user, "MEMBER");
        channel.insert(kMembers, members);
        return save(channel);
    }

    ServiceReply leave()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        if (roleOf(channel, user) == QLatin1String("OWNER"))
            return LocalService::failure(403, "the owner cannot leave; delete the channel");
        QJsonObject members = channel.value(kMembers).toObject();
        members.remove(user);
        channel.insert(kMembers, members);
        return save(channel);
    }

    ServiceReply data()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        return ServiceReply::result(200, channelFor(channel, user));
    }

    ServiceReply list() const
    {
        QJsonArray list;
        for (const QString& id : store->keys(kChannels)) {
            const QJsonObject channel = store->object(kChannels, id);
            if (channel.value(kMembers).toObject().contains(user))
                list << channelFor(channel, user);
        }
        return ServiceReply::result(200, {{"ChannelsCount", list.size()}, {"Channels", list}});
    }

    ServiceReply create()
    {
        const QString id = text("ChannelID");
        if (id.isEmpty() || id.size() > 64 || store->contains(kChannels, id))
            return LocalService::failure(409, "channel id is taken or invalid");
        QJsonObject members;
        for (const QJsonValue& value : body.value(kMembers).toArray()) {
            const QString name = value.toObject().value("Username").toString();
            const QString role = value.toObject().value("Role").toString();
            // Only the caller can be made the owner.
            if (!name.isEmpty() && isRole(role) && (role != QLatin1String("OWNER") || name == user))
                members.insert(name, role);
        }
        members.insert(user, "OWNER");
        QJsonObject channel{{"ChannelID", id},
                            {"Name", text("Name")},
                            {"AvatarURL", text("AvatarURL")},
                            {"AvatarThumbnailURL", text("AvatarThumbnailURL")},
                            {"Description", text("Description")},
                            {"CreationDate", QString::number(QDateTime::currentSecsSinceEpoch())},
                            {"ReplyAllowed", text("ReplyAllowed") == "1" ? "1" : "0"},
                            {"CategoryId", text("CategoryID")},
                            {"OwnerUsername", user},
                            {kMembers, members}};
        if (!store->setValue(kChannels, id, channel))
            return LocalService::failure(500, "cannot keep the channel");
        return ServiceReply::result(200, {{"ChannelID", id}});
    }

    ServiceReply edit()
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        for (const char* key : {"Name", "AvatarURL", "AvatarThumbnailURL", "Description"})
            channel.insert(key, text(key));
        channel.insert("ReplyAllowed", text("ReplyAllowed") == "1" ? "1" : "0");
        return save(channel);
    }

    ServiceReply remove()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        if (roleOf(channel, user) != QLatin1String("OWNER"))
            return LocalService::failure(403, "only the owner deletes a channel");
        const ChannelPostIndex index(store);
        for (const QJsonValue& post : store->value(kPosts, text("ChannelID")).toArray())
            dropLikes(index, post.toObject().value("MESSAGE_ID").toString());
        store->remove(kPosts, text("ChannelID"));
        store->remove(kChannels, text("ChannelID"));
        return ServiceReply::result(200);
    }

    ServiceReply addMembers()
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        // Adding never changes the role of someone already in the channel,
        // and only the owner gives a role above a follower's.
        QJsonObject members = channel.value(kMembers).toObject();
        const bool owner = roleOf(channel, user) == QLatin1String("OWNER");
        QMap<QString, QString> added;
        for (const QJsonValue& value : body.value(kMembers).toArray()) {
            const QString name = value.toObject().value("Username").toString();
            const QString role = value.toObject().value("Role").toString();
            if (name.isEmpty() || !isRole(role) || role == QLatin1String("OWNER") ||
                service.account(name).isEmpty())
                return LocalService::failure(400, "bad member");
            if (role == QLatin1String("ADMIN") && !owner)
                return LocalService::failure(403, "only the owner makes administrators");
            if (!members.contains(name))
                added.insert(name, role);
        }
        for (auto it = added.constBegin(); it != added.constEnd(); ++it)
            members.insert(it.key(), it.value());
        channel.insert(kMembers, members);
        const ServiceReply saved = save(channel);
        for (auto it = added.constBegin(); saved.resultCode() == 200 && it != added.constEnd();
             ++it)
            announce(it.key(), "CHANNEL_MEMBERSHIP_ADD", {{"USER_ROLE", it.value()}});
        return saved;
    }

    ServiceReply removeMember()
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        const QString member = text("MemberUsername");
        if (roleOf(channel, member) == QLatin1String("OWNER"))
            return LocalService::failure(403, "the owner cannot be removed");
        // Removing and adding again would make an administrator a follower.
        if (roleOf(channel, member) == QLatin1String("ADMIN") &&
            roleOf(channel, user) != QLatin1String("OWNER"))
            return LocalService::failure(403, "only the owner removes an administrator");
        QJsonObject members = channel.value(kMembers).toObject();
        if (!members.contains(member))
            return LocalService::failure(404, "not a member of the channel");
        members.remove(member);
        channel.insert(kMembers, members);
        const ServiceReply saved = save(channel);
        if (saved.resultCode() == 200)
            announce(member, "CHANNEL_MEMBERSHIP_REMOVE", {});
        return saved;
    }

    ServiceReply changeRole()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        const QString member = text("MemberUsername");
        const QString role = text("MemberNewRole");
        if (roleOf(channel, user) != QLatin1String("OWNER"))
            return LocalService::failure(403, "only the owner changes roles");
        if (!isRole(role) || role == QLatin1String("OWNER") ||
            roleOf(channel, member) == QLatin1String("NONE") || member == user)
            return LocalService::failure(400, "bad role change");
        QJsonObject members = channel.value(kMembers).toObject();
        const QString oldRole = roleOf(channel, member);
        members.insert(member, role);
        channel.insert(kMembers, members);
        const ServiceReply saved = save(channel);
        if (saved.resultCode() == 200)
            announce(member, "CHANNEL_MEMBERSHIP_CHANGE_ROLE",
                     {{"OLD_ROLE", oldRole}, {"NEW_ROLE", role}});
        return saved;
    }

    // "1" asks for the people who run the channel, as the administrators'
    // panel lists them: the owner first, then the administrators, all of them
    // (the panel asks for one, and there are only ever a few). "2" asks for
    // the other members and anything else for everyone, paged by offset and
    // count. Only the people who run the channel see who follows it (a
    // follower's panel shows the count of the channel's data alone).
    ServiceReply members()
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        const QString type = text("ChannelMemberType");
        const bool managers = type == QLatin1String("1");
        const int offset = managers ? 0 : qMax(0, text("Offset").toInt());
        const int count = managers ? kMaxPage : qBound(0, text("Count").toInt(), kMaxPage);
        const QJsonObject all = channel.value(kMembers).toObject();
        QJsonArray list;
        int skipped = 0;
        for (auto it = all.constBegin(); it != all.constEnd() && list.size() < count; ++it) {
            const QString role = it.value().toString();
            const bool admin = role == QLatin1String("OWNER") || role == QLatin1String("ADMIN");
            if ((managers && !admin) || (type == "2" && admin) || skipped++ < offset)
                continue;
            QJsonObject member = service.memberOf(it.key());
            member.insert("Username", it.key());
            member.insert("Role", role);
            if (role == QLatin1String("OWNER"))
                list.prepend(member);
            else
                list << member;
        }
        return ServiceReply::result(200, {{kMembers, list}});
    }

    ServiceReply checkId() const
    {
        const QString id = text("ChannelID");
        if (id.isEmpty() || id.size() > 64 || store->contains(kChannels, id))
            return LocalService::failure(409, "channel id is not available");
        return ServiceReply::result(200);
    }

    ServiceReply send(const std::function<void(const QString&, const QJsonObject&)>& push)
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        const QString id = text("ChannelID");
        const QString messageId = text("MessageID");
        QJsonObject message = body.value("MessageParams").toObject();
        if (messageId.isEmpty() || text("MessageBody").size() > kMaxText ||
            message.value("MAJOR_TYPE").toString() != QLatin1String("CHANNEL_CHAT"))
            return LocalService::failure(400, "bad channel message");
        // A post id names one post of one channel, and a poll is posted in
        // one channel by its owner: likes and votes are judged by that channel.
        const ChannelPostIndex index(store);
        const QString holder = index.channelOfPost(messageId);
        // Sent again: kept once. Should the service have ended after keeping
        // the post and before keeping its pushes, the followers ask for it
        // when its channel account says it is back.
        if (holder == id)
            return ServiceReply::result(200);
        // Refused for good (403, 404): the program then stops sending the post.
        if (!holder.isEmpty())
            return LocalService::failure(403, "the message id is another channel's");
        const QString pollId = message.value("POLL_ID").toString();
        if (message.contains("POLL_ID")) {
            const QJsonObject poll = store->object(kPolls, pollId);
            const QString pollChannel = index.channelOfPoll(pollId);
            if (poll.isEmpty())
                return LocalService::failure(404, "no such poll");
            if (poll.value("Owner").toString() != user ||
                (!pollChannel.isEmpty() && pollChannel != id))
                return LocalService::failure(403, "the poll is another owner's or channel's");
        }
        QJsonArray posts = store->value(kPosts, id).toArray();
        // The service stamps the author, the channel and the time; a channel's
        // posts keep their order in time even when two come in one millisecond.
        qint64 time = QDateTime::currentMSecsSinceEpoch();
        if (!posts.isEmpty())
            time = qMax(time,
                        qint64(posts.last().toObject().value("SEND_TIME_IN_GMT").toDouble()) + 1);
        message.insert("MESSAGE_ID", messageId);
        message.insert("MESSAGE_BODY", text("MessageBody"));
        message.insert("CHANNEL_ID", id);
        message.insert("USER_ID", user);
        message.insert("SEND_TIME_IN_GMT", double(time));
        posts << message;
        if (!store->setValue(kPosts, id, posts))
            return LocalService::failure(500, "cannot keep the message");
        if (push) {
            const QJsonObject members = channel.value(kMembers).toObject();
            for (auto it = members.constBegin(); it != members.constEnd(); ++it) {
                if (it.key() != user)
                    push(it.key(), message);
            }
        }
        return ServiceReply::result(200);
    }

    // A deleted post leaves the archive and every later fetch; a post is
    // published as it is sent, and none goes back to being a draft.
    ServiceReply changeState()
    {
        QJsonObject channel;
        if (!findManaged(&channel))
            return error;
        const QString id = text("ChannelID");
        const QString messageId = text("MessageID");
        const QString state = text("MessageNewState");
        QJsonArray posts = store->value(kPosts, id).toArray();
        int index = -1;
        for (int i = 0; i < posts.size() && index < 0; ++i) {
            if (posts.at(i).toObject().value("MESSAGE_ID").toString() == messageId)
                index = i;
        }
        if (index < 0)
            return LocalService::failure(404, "no such post in the channel");
        if (state == QLatin1String("PUBLISH"))
            return ServiceReply::result(200);
        if (state != QLatin1String("DELETED"))
            return LocalService::failure(400, "a post can only be deleted");
        const ChannelPostIndex postIndex(store);
        posts.removeAt(index);
        if (!store->setValue(kPosts, id, posts))
            return LocalService::failure(500, "cannot keep the channel's posts");
        dropLikes(postIndex, messageId);
        return ServiceReply::result(200);
    }

    ServiceReply archive()
    {
        QJsonObject channel;
        if (!find(&channel))
            return error;
        QJsonArray all = store->value(kPosts, text("ChannelID")).toArray();
        const int count = qBound(0, text("Count").toInt(), kMaxPage);
        int from = qMax(0, text("Offset").toInt());
        const QString before = text("MessageID");
        // Newest first, from an offset or below a message.
        if (!before.isEmpty()) {
            from = all.size();
            for (int i = 0; i < all.size(); ++i) {
                if (all.at(all.size() - 1 - i).toObject().value("MESSAGE_ID").toString() == before)
                    from = i + 1;
            }
        }
        QJsonArray page;
        for (int i = from; i < all.size() && page.size() < count; ++i)
            page << all.at(all.size() - 1 - i);
        return messagesReply(page);
    }

    ServiceReply newMessages() const
    {
        const qint64 since = text("MessageTimestamp").toLongLong() * 1000;
        QJsonArray list;
        for (const QString& id : store->keys(kChannels)) {
            if (!store->object(kChannels, id).value(kMembers).toObject().contains(user))
                continue;
            for (const QJsonValue& post : store->value(kPosts, id).toArray()) {
                if (qint64(post.toObject().value("SEND_TIME_IN_GMT").toDouble()) > since)
                    list << post;
            }
        }
        return messagesReply(list);
    }

    bool ok = false;
    ServiceReply error;

private:
    QString text(const char* key) const
    {
        const QJsonValue value = body.value(QLatin1String(key));
        return value.isDouble() ? QString::number(value.toDouble()) : value.toString();
    }

    bool find(QJsonObject* channel)
    {
        const QString id = text("ChannelID");
        if (!store->contains(kChannels, id)) {
            error = LocalService::failure(404, "no such channel");
            return false;
        }
        *channel = store->object(kChannels, id);
        return true;
    }

    bool findManaged(QJsonObject* channel)
    {
        if (!find(channel))
            return false;
        if (canManage(*channel, user))
            return true;
        error = LocalService::failure(403, "not an owner or administrator of the channel");
        return false;
    }

    // The likes of a post that leaves its channel, so that no later post of
    // the same id elsewhere inherits them.
    void dropLikes(const ChannelPostIndex& index, const QString& messageId)
    {
        if (index.channelOfPost(messageId) == text("ChannelID"))
            store->remove(kLikes, messageId);
    }

    // Tells a member's program that its place in the channel changed, so
    // that it shows the channel as it now stands without a restart.
    void announce(const QString& member, const char* minorType, const QJsonObject& fields)
    {
        if (!service.chatMessagePusher)
            return;
        QJsonObject message = fields;
        message.insert("MESSAGE_ID", QUuid::createUuid().toString(QUuid::Id128));
        message.insert("MESSAGE_BODY", "");
        message.insert("MAJOR_TYPE", "CONTROL_MESSAGE");
        message.insert("MINOR_TYPE", minorType);
        message.insert("USER_ID", member);
        message.insert("CHANNEL_ID", text("ChannelID"));
        message.insert("SEND_TIME_IN_GMT", double(QDateTime::currentMSecsSinceEpoch()));
        service.chatMessagePusher(member, message);
    }

    ServiceReply save(const QJsonObject& channel)
    {
        if (!store->setValue(kChannels, channel.value("ChannelID").toString(), channel))
            return LocalService::failure(500, "cannot keep the channel");
        return ServiceReply::result(200);
    }

    // Sorted by id as a number, so the directory keeps one order.
    QJsonArray categoriesUnder(const QString& parent) const
    {
        QList<QJsonObject> found;
        for (const QString& id : store->keys(kCategories)) {
            const QJsonObject category = store->object(kCategories, id);
            if (category.value("ParentCategoryId").toString() == parent)
                found << category;
        }
        std::sort(found.begin(), found.end(), [](const QJsonObject& a, const QJsonObject& b) {
            return a.value("CategoryId").toString().toLongLong() <
                   b.value("CategoryId").toString().toLongLong();
        });
        QJsonArray list;
        for (const QJsonObject& category : found)
            list << category;
        return list;
    }

    static ServiceReply browseReply(const QJsonArray& categories, const QJsonArray& channels)
    {
        return ServiceReply::result(200, {{"CategoriesCount", categories.size()},
                                          {"Categories", categories},
                                          {"ChannelsCount", channels.size()},
                                          {"Channels", channels}});
    }

    static ServiceReply messagesReply(const QJsonArray& messages)
    {
        return ServiceReply::result(200,
                                    {{"MessagesCount", messages.size()}, {"Messages", messages}});
    }

    LocalService& service;
    ServiceStore* store;
    QString user;
    QJsonObject body;
};

} // namespace

QStringList LocalProcedures::channelFollowers(const LocalService& service)
{
    const ServiceStore* store = service.store();
    QSet<QString> followers;
    for (const QString& id : store->keys(kChannels)) {
        const QStringList members = store->object(kChannels, id).value(kMembers).toObject().keys();
        followers.unite(QSet<QString>(members.begin(), members.end()));
    }
    QStringList sorted = followers.values();
    sorted.sort();
    return sorted;
}

void LocalProcedures::installChannels(LocalService& service)
{
    LocalService* s = &service;
    seedCategories(s->store());
    using Action = ServiceReply (Channels::*)();
    const struct
    {
        const char* path;
        Action action;
    } routes[] = {
        {"GAPI/channels/join/", &Channels::join},
        {"GAPI/channels/leave/", &Channels::leave},
        {"GAPI/channels/getdata/", &Channels::data},
        {"GAPI/channels/create/", &Channels::create},
        {"GAPI/channels/changechanneldata/", &Channels::edit},
        {"GAPI/channels/deleteChannel/", &Channels::remove},
        {"GAPI/channels/addmember/", &Channels::addMembers},
        {"GAPI/channels/removemember/", &Channels::removeMember},
        {"GAPI/channels/changerole/", &Channels::changeRole},
        {"GAPI/channels/getmembers/", &Channels::members},
        {"GAPI/channels/changemessagestate/", &Channels::changeState},
        {"GAPI/channels/archive/JSON", &Channels::archive},
    };
    for (const auto& route : routes) {
        const Action action = route.action;
        s->handleSigned(route.path, [s, action](const ServiceRequest& r, const QString& user) {
            Channels channels(*s, r, user);
            return channels.ok ? (channels.*action)() : channels.error;
        });
    }
    auto readOnly = [s](const char* path, ServiceReply (Channels::*action)() const) {
        s->handleSigned(path, [s, action](const ServiceRequest& r, const QString& user) {
            Channels channels(*s, r, user);
            return channels.ok ? (channels.*action)() : channels.error;
        });
    };
    readOnly("GAPI/channels/browse/index/", &Channels::categories);
    readOnly("GAPI/channels/list/", &Channels::list);
    readOnly("GAPI/channels/checkFreeChannelId/", &Channels::checkId);
    readOnly("GAPI/channels/newMessages/JSON", &Channels::newMessages);
    s->handleSigned("GAPI/channels/sendmessage/",
                    [s](const ServiceRequest& r, const QString& user) {
                        Channels channels(*s, r, user);
                        return channels.ok ? channels.send(s->chatMessagePusher) : channels.error;
                    });
    s->handleSignedPrefix("GAPI/channels/browse/",
                          [s](const ServiceRequest& r, const QString& user) {
                              Channels channels(*s, r, user);
                              QString category = r.path.section(QLatin1Char('/'), 3, 3);
                              category = QUrl::fromPercentEncoding(category.toUtf8());
                              return channels.ok ? channels.browse(category) : channels.error;
                          });
}
