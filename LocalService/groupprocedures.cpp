// Private groups: creation, members and roles, the group's data, leaving, the
// user's group list, and missed and older room messages as stanzas.

#include "localgroups.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>

namespace {

const QString kGroups = QStringLiteral("groups");
const QStringList kRoles{QStringLiteral("OWNER"), QStringLiteral("ADMIN"),
                         QStringLiteral("MEMBER")};
const int kMaxText = 1024;
const int kMaxMembers = 500;
const int kPage = 50;

QString text(const QJsonObject& body, const char* key)
{
    return body.value(QLatin1String(key)).toString();
}

// Room names on the chat server: no address characters, no list separator.
bool isGroupId(const QString& id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_.-]{1,128}$"));
    return pattern.match(id).hasMatch();
}

bool isAdmin(const QString& role)
{
    return role == QLatin1String("OWNER") || role == QLatin1String("ADMIN");
}

QJsonObject groupInfo(const QJsonObject& group, const QString& user)
{
    const QJsonObject members = group.value("Members").toObject();
    QJsonObject info = group;
    info.remove("Members");
    info.insert("MembersCount", QString::number(members.size()));
    info.insert("MyRole", members.value(user).toString(QStringLiteral("NONE")));
    return info;
}

bool saveGroup(LocalService& service, const QString& id, const QJsonObject& group)
{
    return service.store()->setValue(kGroups, id, group);
}

// The group the body names, for one of its members (an admin when asked).
bool memberGroup(LocalService& service, const ServiceRequest& request, const QStringList& keys,
                 const QString& user, bool admin, QJsonObject* body, QJsonObject* group,
                 ServiceReply* error)
{
    if (!LocalService::readBody(request, keys, body, error))
        return false;
    const QString id = text(*body, "GroupJID");
    *group = service.store()->object(kGroups, id);
    const QString role = group->value("Members").toObject().value(user).toString();
    if (group->isEmpty() || role.isEmpty()) {
        *error = LocalService::failure(404, QStringLiteral("no such group"));
        return false;
    }
    if (admin && !isAdmin(role)) {
        *error = LocalService::failure(403, QStringLiteral("not an admin of the group"));
        return false;
    }
    return true;
}

// {"Username", "Role"} entries of accounts that exist; false on a malformed list.
bool readMembers(LocalService& service, const QJsonValue& value, QHash<QString, QString>* out)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.size() > kMaxMembers)
        return false;
    for (const QJsonValue& entry : list) {
        const QString user = entry.toObject().value("Username").toString();
        const QString role = entry.toObject().value("Role").toString();
        if (user.isEmpty() || !kRoles.contains(role))
            return false;
        if (!service.account(user).isEmpty())
            out->insert(user, role);
    }
    return true;
}

ServiceReply create(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request,
                                {"GroupJID", "GroupName", "Description", "GroupAvatarURL",
                                 "GroupAvatarThumbnailURL", "Members"},
                                &body, &error))
        return error;
    const QString id = text(body, "GroupJID");
    if (!isGroupId(id))
        return LocalService::failure(400, QStringLiteral("bad GroupJID"));
    if (service.store()->contains(kGroups, id))
        return LocalService::failure(409, QStringLiteral("the group exists"));
    QHash<QString, QString> members;
    if (!readMembers(service, body.value("Members"), &members))
        return LocalService::failure(400, QStringLiteral("bad Members"));
    members.insert(user, QStringLiteral("OWNER"));
    QJsonObject list;
    for (auto it = members.constBegin(); it != members.constEnd(); ++it)
        list.insert(it.key(), it.value());
    const QJsonObject group{
        {"GroupJID", id},
        {"GroupName", text(body, "GroupName").left(kMaxText)},
        {"Description", text(body, "Description").left(kMaxText)},
        {"GroupAvatarURL", text(body, "GroupAvatarURL").left(kMaxText)},
        {"GroupAvatarThumbnailURL", text(body, "GroupAvatarThumbnailURL").left(kMaxText)},
        {"CreationDate", QString::number(QDateTime::currentSecsSinceEpoch())},
        {"Members", list}};
    if (!saveGroup(service, id, group))
        return LocalService::failure(500, QStringLiteral("cannot keep the group"));
    emit LocalGroups::of(service)->groupCreated(id, members);
    return ServiceReply::result(200);
}

ServiceReply addMembers(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID", "Members"}, user, true, &body, &group, &error))
        return error;
    QHash<QString, QString> added;
    if (!readMembers(service, body.value("Members"), &added) ||
        added.values().contains(QStringLiteral("OWNER")))
        return LocalService::failure(400, QStringLiteral("bad Members"));
    const QJsonObject before = group.value("Members").toObject();
    QJsonObject list = before;
    QHash<QString, QString> joined;
    for (auto it = added.constBegin(); it != added.constEnd(); ++it) {
        if (before.value(it.key()).toString() == QLatin1String("OWNER"))
            continue;
        list.insert(it.key(), it.value());
        if (!before.contains(it.key()))
            joined.insert(it.key(), it.value());
    }
    if (list.size() > kMaxMembers)
        return LocalService::failure(400, QStringLiteral("too many members"));
    group.insert("Members", list);
    const QString id = text(body, "GroupJID");
    if (!saveGroup(service, id, group))
        return LocalService::failure(500, QStringLiteral("cannot keep the group"));
    LocalGroups* groups = LocalGroups::of(service);
    // Members named again with another role have their role changed.
    for (auto it = added.constBegin(); it != added.constEnd(); ++it) {
        const QString old = before.value(it.key()).toString();
        if (!joined.contains(it.key()) && old != it.value() && old != QLatin1String("OWNER"))
            emit groups->roleChanged(id, it.key(), old, it.value());
    }
    if (!joined.isEmpty())
        emit groups->membersAdded(id, joined, user);
    return ServiceReply::result(200);
}

ServiceReply removeMember(LocalService& service, const QString& id, QJsonObject group,
                          const QString& removed)
{
    QJsonObject list = group.value("Members").toObject();
    if (!list.contains(removed))
        return LocalService::failure(404, QStringLiteral("not a member"));
    list.remove(removed);
    group.insert("Members", list);
    if (!saveGroup(service, id, group))
        return LocalService::failure(500, QStringLiteral("cannot keep the group"));
    emit LocalGroups::of(service)->memberRemoved(id, removed);
    return ServiceReply::result(200);
}

ServiceReply removeMemberByAdmin(LocalService& service, const ServiceRequest& request,
                                 const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID", "MemberUsername"}, user, true, &body, &group,
                     &error))
        return error;
    const QString removed = text(body, "MemberUsername");
    if (group.value("Members").toObject().value(removed).toString() == QLatin1String("OWNER"))
        return LocalService::failure(403, QStringLiteral("the owner cannot be removed"));
    return removeMember(service, text(body, "GroupJID"), group, removed);
}

ServiceReply leave(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID"}, user, false, &body, &group, &error))
        return error;
    return removeMember(service, text(body, "GroupJID"), group, user);
}

ServiceReply changeRole(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID", "MemberUsername", "MemberNewRole"}, user, true,
                     &body, &group, &error))
        return error;
    const QString member = text(body, "MemberUsername");
    const QString role = text(body, "MemberNewRole");
    QJsonObject list = group.value("Members").toObject();
    if (role == QLatin1String("OWNER") || !kRoles.contains(role))
        return LocalService::failure(400, QStringLiteral("bad MemberNewRole"));
    const QString oldRole = list.value(member).toString();
    if (!list.contains(member) || oldRole == QLatin1String("OWNER"))
        return LocalService::failure(403, QStringLiteral("cannot change that member"));
    list.insert(member, role);
    group.insert("Members", list);
    if (!saveGroup(service, text(body, "GroupJID"), group))
        return LocalService::failure(500, QStringLiteral("cannot keep the group"));
    emit LocalGroups::of(service)->roleChanged(text(body, "GroupJID"), member, oldRole, role);
    return ServiceReply::result(200);
}

ServiceReply changeData(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(
            service, request,
            {"GroupJID", "GroupName", "Description", "GroupAvatarURL", "GroupAvatarThumbnailURL"},
            user, true, &body, &group, &error))
        return error;
    if (text(body, "GroupName").isEmpty())
        return LocalService::failure(400, QStringLiteral("bad GroupName"));
    for (const char* key :
         {"GroupName", "Description", "GroupAvatarURL", "GroupAvatarThumbnailURL"})
        group.insert(QLatin1String(key), text(body, key).left(kMaxText));
    if (!saveGroup(service, text(body, "GroupJID"), group))
        return LocalService::failure(500, QStringLiteral("cannot keep the group"));
    emit LocalGroups::of(service)->dataChanged(text(body, "GroupJID"));
    return ServiceReply::result(200);
}

ServiceReply membersInfo(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID"}, user, false, &body, &group, &error))
        return error;
    QJsonArray members;
    const QJsonObject list = group.value("Members").toObject();
    for (auto it = list.constBegin(); it != list.constEnd(); ++it)
        members.append(QJsonObject{{"AddedByMe", 0},
                                   {"LastActivity", "0"},
                                   {"Profile", service.memberOf(it.key())},
                                   {"Role", it.value().toString()},
                                   {"Username", it.key()}});
    return ServiceReply::result(200, {{"Members", members}});
}

ServiceReply groupData(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID"}, user, false, &body, &group, &error))
        return error;
    return ServiceReply::result(200, groupInfo(group, user));
}

ServiceReply userList(LocalService& service, const QString& user)
{
    QJsonArray groups;
    for (const QString& id : service.store()->keys(kGroups)) {
        const QJsonObject group = service.store()->object(kGroups, id);
        if (group.value("Members").toObject().contains(user))
            groups.append(groupInfo(group, user));
    }
    return ServiceReply::result(200, {{"PrivateGroups", groups}});
}

ServiceReply stanzas(const QStringList& list)
{
    QJsonArray encoded;
    for (const QString& stanza : list)
        encoded.append(QString::fromLatin1(stanza.toUtf8().toBase64()));
    return ServiceReply::result(200, {{"Messages", encoded}, {"MessagesBase64Encoded", "1"}});
}

ServiceReply archive(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body, group;
    ServiceReply error;
    if (!memberGroup(service, request, {"GroupJID", "MessageID", "Count"}, user, false, &body,
                     &group, &error))
        return error;
    bool ok = false;
    const int count = text(body, "Count").toInt(&ok);
    if (!ok || count <= 0)
        return LocalService::failure(400, QStringLiteral("bad Count"));
    return stanzas(LocalGroups::of(service)->messagesBefore(
        text(body, "GroupJID"), text(body, "MessageID"), std::min(count, kPage)));
}

ServiceReply newMessages(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"GroupJID", "MessageTimestampMilliSecond"}, &body,
                                &error))
        return error;
    bool ok = false;
    const qint64 since = text(body, "MessageTimestampMilliSecond").toLongLong(&ok);
    if (!ok || !body.value("GroupJID").isArray())
        return LocalService::failure(400, QStringLiteral("bad request"));
    QStringList ids;
    for (const QJsonValue& id : body.value("GroupJID").toArray())
        ids.append(id.toString());
    return stanzas(LocalGroups::of(service)->messagesSince(user, ids, since));
}

} // namespace

void LocalProcedures::installGroups(LocalService& service)
{
    LocalService* s = &service;
    using Handler = ServiceReply (*)(LocalService&, const ServiceRequest&, const QString&);
    const QList<QPair<QString, Handler>> table{
        {"GAPI/privatechat/create/", create},
        {"GAPI/privatechat/addmember/", addMembers},
        {"GAPI/privatechat/removemember/", removeMemberByAdmin},
        {"GAPI/privatechat/changerole/", changeRole},
        {"GAPI/privatechat/changegroupdata/", changeData},
        {"GAPI/privatechat/leave/", leave},
        {"GAPI/privatechat/getmembers/", membersInfo},
        {"GAPI/privatechat/getmembersinfo/", membersInfo},
        {"GAPI/privatechat/groupdata/", groupData},
        {"GAPI/privatechat/archive/", archive},
        {"GAPI/privatechat/newMessages/", newMessages},
    };
    for (const auto& row : table) {
        const Handler handler = row.second;
        service.handleSigned(row.first, [s, handler](const ServiceRequest& r, const QString& u) {
            return handler(*s, r, u);
        });
    }
    service.handleSigned("GAPI/user/getlist/",
                         [s](const ServiceRequest&, const QString& u) { return userList(*s, u); });
    service.handleSigned("GAPI/user/unsubscribe/", [](const ServiceRequest&, const QString&) {
        return ServiceReply::result(200);
    });
    LocalGroups::of(service);
}
