// Look-ups and public ids: "lookup/" answers what a link or a mention names
// (a channel by its id, a group by its id, a person by user name, phone
// number or public id), and every user may take one public id of their own
// that no one else holds.

#include "localgroups.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace {

const QString kAccounts = QStringLiteral("accounts");
const QString kChannels = QStringLiteral("channels");
const QString kQuorvelId = QStringLiteral("QuorvelId");
const QString kLinkHost = QStringLiteral("quorvel.link/");
const int kMaxKey = 256;

// The name a key carries: a service link's first path segment or a mention
// without its "@".
QString keyName(QString key)
{
    key = key.trimmed();
    const int host = key.indexOf(kLinkHost);
    if (host >= 0)
        key = key.mid(host + kLinkHost.size()).section(QLatin1Char('/'), 0, 0);
    if (key.startsWith(QLatin1Char('@')))
        key.remove(0, 1);
    return key;
}

// A public id: a letter, then letters, digits or "_", five to thirty-two in all.
bool validQuorvelId(const QString& id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{4,31}$"));
    return pattern.match(id).hasMatch();
}

// The user whose public id is this one, compared without case ("" when none).
QString holderOf(const LocalService& service, const QString& id)
{
    for (const QString& user : service.store()->keys(kAccounts)) {
        if (service.account(user).value(kQuorvelId).toString().compare(id, Qt::CaseInsensitive) ==
            0)
            return user;
    }
    return QString();
}

bool activeAccount(const QJsonObject& account)
{
    return account.value("Active").toBool() && !account.value("Deactivated").toBool();
}

QString userNamed(const LocalService& service, const QString& name)
{
    if (activeAccount(service.account(name)))
        return name;
    const QString byPhone = service.usernameOfPhone(name);
    if (!byPhone.isEmpty())
        return byPhone;
    const QString byId = validQuorvelId(name) ? holderOf(service, name) : QString();
    return activeAccount(service.account(byId)) ? byId : QString();
}

ServiceReply found(const QString& type, const QJsonObject& metaData)
{
    return ServiceReply::result(200, {{"Type", type}, {"MetaData", metaData}});
}

ServiceReply lookup(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"Key"}, &body, &error))
        return error;
    const QString key = body.value("Key").toString();
    const QString name = keyName(key);
    if (name.isEmpty() || key.size() > kMaxKey)
        return LocalService::failure(400, QStringLiteral("bad Key"));

    const QJsonObject channel = service.store()->object(kChannels, name);
    if (!channel.isEmpty()) {
        return found("CHANNEL_DATA",
                     {{"ID", name},
                      {"Link", QStringLiteral("https://") + kLinkHost + name},
                      {"Name", channel.value("Name")},
                      {"Description", channel.value("Description")},
                      {"AvatarURL", channel.value("AvatarURL")},
                      {"AvatarThumbnailURL", channel.value("AvatarThumbnailURL")},
                      {"MembersCount", channel.value("Members").toObject().size()},
                      {"CreationDate", channel.value("CreationDate")},
                      {"OwnerUsername", channel.value("OwnerUsername")},
                      {"CategoryId", channel.value("CategoryId")},
                      {"ReplyAllowed", channel.value("ReplyAllowed").toString() == "1"}});
    }
    const QJsonObject group = LocalGroups::of(service)->group(name);
    if (!group.isEmpty()) {
        // No join command exists for groups: the preview shows, nothing more.
        return found("GROUP_JOIN_LINK", {{"JID", name},
                                         {"Name", group.value("GroupName")},
                                         {"Description", group.value("Description")},
                                         {"AvatarURL", group.value("GroupAvatarThumbnailURL")},
                                         {"MembersCount", group.value("Members").toObject().size()},
                                         {"JoinToken", ""}});
    }
    const QString user = userNamed(service, name);
    if (!user.isEmpty()) {
        const QJsonObject member = service.memberOf(user);
        return found("USER_DATA", {{"UserID", member.value("MemberID")},
                                   {"Username", user},
                                   {"Nickname", member.value("Nickname")},
                                   {"Motto", member.value("Motto")},
                                   {"AvatarURL", member.value("AvatarURL")},
                                   {"AvatarThumbnailURL", member.value("AvatarThumbnailURL")},
                                   {"OfficialUser", false}});
    }
    return LocalService::failure(404, QStringLiteral("nothing is known by that name"));
}

ServiceReply setQuorvelId(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {kQuorvelId}, &body, &error))
        return error;
    const QString id = body.value(kQuorvelId).toString();
    if (!validQuorvelId(id))
        return LocalService::failure(400, QStringLiteral("a public id is 5 to 32 letters, digits "
                                                         "or _, beginning with a letter"));
    const QString holder = holderOf(service, id);
    if (!holder.isEmpty() && holder != user)
        return LocalService::failure(409, QStringLiteral("the public id is taken"));
    QJsonObject account = service.account(user);
    account.insert(kQuorvelId, id);
    if (!service.saveAccount(user, account))
        return LocalService::failure(500, QStringLiteral("cannot keep the public id"));
    return ServiceReply::result(200, {{kQuorvelId, id}});
}

} // namespace

void LocalProcedures::installLookups(LocalService& service)
{
    LocalService* s = &service;
    s->handleSigned("lookup/",
                    [s](const ServiceRequest& r, const QString&) { return lookup(*s, r); });
    s->handleSigned("quorvelid/set/", [s](const ServiceRequest& r, const QString& user) {
        return setQuorvelId(*s, r, user);
    });
    s->handleSigned("quorvelid/get/", [s](const ServiceRequest&, const QString& user) {
        return ServiceReply::result(200, {{kQuorvelId, s->account(user).value(kQuorvelId)}});
    });
}
