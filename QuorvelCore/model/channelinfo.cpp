#include "model/channelinfo.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

#include <QJsonArray>

namespace {
const QLatin1String kChannelId("ChannelID");
const QLatin1String kName("Name");
const QLatin1String kFollowed("Followed");
const QLatin1String kMyRole("MyRole");
const QLatin1String kAvatarUrl("AvatarURL");
const QLatin1String kAvatarThumbnailUrl("AvatarThumbnailURL");
const QLatin1String kDescription("Description");
const QLatin1String kMembersCount("MembersCount");
const QLatin1String kCreationDate("CreationDate");
const QLatin1String kReplyAllowed("ReplyAllowed");
const QLatin1String kCategoryId("CategoryId");
const QLatin1String kOwnerUserName("OwnerUsername");
const QLatin1String kAdmins("Admins");
const QLatin1String kMuted("_Muted");

// Counts travel as decimal text; JSON numbers are accepted as well.
uint readCount(const QJsonObject& object, QLatin1String key)
{
    bool ok = false;
    const uint value = JsonNumbers::toUInt(object.value(key), 0, &ok);
    if (!ok)
        L_WARN(QStringLiteral("ChannelInfo::setDataFromJson | unreadable %1: %2")
                   .arg(key, JsonNumbers::describe(object.value(key))));
    return value;
}
} // namespace

QStringList ChannelInfo::getJsonKeys()
{
    return {kChannelId,          kName,        kFollowed,     kMyRole,       kAvatarUrl,
            kAvatarThumbnailUrl, kDescription, kMembersCount, kCreationDate, kReplyAllowed,
            kCategoryId};
}

bool ChannelInfo::checkChannelFields(const QJsonObject& object)
{
    for (const QString& key : getJsonKeys()) {
        if (!object.contains(key)) {
            L_DEBUG(QStringLiteral("channel field not found: ") + key);
            return false;
        }
    }
    return true;
}

bool ChannelInfo::setDataFromJson(const QJsonObject& object)
{
    if (!checkChannelFields(object)) {
        L_WARN(QStringLiteral("checking channel fields failed!!!"));
        return false;
    }
    id = object.value(kChannelId).toString();
    name = object.value(kName).toString();
    followed = object.value(kFollowed).toString();
    const QString roleText = object.value(kMyRole).toString();
    myRole = ChannelRole::toRole(roleText);
    if (myRole == ChannelRole::NONE && roleText != QLatin1String("NONE"))
        L_WARN(QStringLiteral("ChannelInfo::setDataFromJson | unknown role: ") +
               JsonNumbers::describe(object.value(kMyRole)));
    avatarUrl = object.value(kAvatarUrl).toString();
    avatarThumbnailUrl = object.value(kAvatarThumbnailUrl).toString();
    description = object.value(kDescription).toString();
    membersCount = readCount(object, kMembersCount);
    creationDate = readCount(object, kCreationDate);
    replyAllowed = object.value(kReplyAllowed).toString();
    categoryId = object.value(kCategoryId).toString();
    if (object.contains(kOwnerUserName))
        ownerUserName = object.value(kOwnerUserName).toString();
    if (object.contains(kAdmins)) {
        // Added to the known administrators, each name once.
        for (const QJsonValue& admin : object.value(kAdmins).toArray()) {
            const QString userName = admin.toString();
            if (!admins.contains(userName))
                admins.append(userName);
        }
    }
    return true;
}

QJsonObject ChannelInfo::toJsonObject() const
{
    QJsonObject object{{kChannelId, id},
                       {kName, name},
                       {kFollowed, followed},
                       {kMyRole, ChannelRole::toString(myRole)},
                       {kAvatarUrl, avatarUrl},
                       {kAvatarThumbnailUrl, avatarThumbnailUrl},
                       {kDescription, description},
                       {kMembersCount, QString::number(membersCount)},
                       {kCreationDate, QString::number(creationDate)},
                       {kReplyAllowed, replyAllowed},
                       {kCategoryId, categoryId},
                       {kOwnerUserName, ownerUserName}};
    if (!admins.isEmpty())
        object.insert(kAdmins, QJsonArray::fromStringList(admins));
    return object;
}

bool ChannelInfo::setDataFromDBJson(const QJsonObject& object)
{
    if (!setDataFromJson(object))
        return false;
    mute = object.value(kMuted).toBool(false);
    return true;
}

QJsonObject ChannelInfo::toDBJsonObject() const
{
    QJsonObject object = toJsonObject();
    object.insert(kMuted, mute);
    return object;
}

bool ChannelInfo::operator==(const ChannelInfo& other) const
{
    return id == other.id && name == other.name && avatarUrl == other.avatarUrl &&
           avatarThumbnailUrl == other.avatarThumbnailUrl && categoryId == other.categoryId &&
           creationDate == other.creationDate && description == other.description &&
           followed == other.followed && ownerUserName == other.ownerUserName &&
           myRole == other.myRole && membersCount == other.membersCount &&
           replyAllowed == other.replyAllowed && admins == other.admins && mute == other.mute &&
           unreadCount == other.unreadCount && lastMessage == other.lastMessage;
}
