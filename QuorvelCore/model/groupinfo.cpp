#include "model/groupinfo.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

namespace {
const QLatin1String kAvThUrl("GroupAvatarThumbnailURL");
const QLatin1String kAvUrl("GroupAvatarURL");
const QLatin1String kCreationDate("CreationDate");
const QLatin1String kDescription("Description");
const QLatin1String kJid("GroupJID");
const QLatin1String kMembersCount("MembersCount");
const QLatin1String kMyRole("MyRole");
const QLatin1String kName("GroupName");
const QLatin1String kMute("_mute");
const QLatin1String kRemoved("_removed");
const QLatin1String kBlocked("_blocked");

bool missing(const QJsonObject& object, QLatin1String key)
{
    if (object.contains(key))
        return false;
    L_WARN(QStringLiteral("GroupInfo::setDataFromJson | missing key: ") + key);
    return true;
}

// A number or decimal text; anything else gives 0 and a log line.
int readNumber(const QJsonObject& object, QLatin1String key)
{
    bool ok = false;
    const int value = JsonNumbers::toInt(object.value(key), 0, &ok);
    if (!ok)
        L_WARN(QStringLiteral("GroupInfo::setDataFromJson | unreadable %1: %2")
                   .arg(key, JsonNumbers::describe(object.value(key))));
    return value;
}
} // namespace

GroupInfo::GroupInfo(const QJsonObject& object)
{
    setDataFromJson(object);
}

GroupInfo& GroupInfo::operator=(const GroupInfo& other)
{
    if (this != &other)
        fromGroupInfo(other);
    return *this;
}

void GroupInfo::fromGroupInfo(const GroupInfo& other)
{
    creationDate = other.creationDate;
    description = other.description;
    avThUrl = other.avThUrl;
    avUrl = other.avUrl;
    jid = other.jid;
    name = other.name;
    memberCount = other.memberCount;
    myRole = other.myRole;
    lastMessage = other.lastMessage;
    unreadCount = other.unreadCount;
    mute = other.mute;
    blocked = other.blocked;
    removed = other.removed;
}

void GroupInfo::setDBFields(const GroupInfo& other)
{
    mute = other.mute;
    removed = other.removed;
    blocked = other.blocked;
}

bool GroupInfo::setDataFromJson(const QJsonObject& object)
{
    if (object.contains(kAvThUrl))
        avThUrl = object.value(kAvThUrl).toString();
    if (object.contains(kAvUrl))
        avUrl = object.value(kAvUrl).toString();
    if (missing(object, kCreationDate))
        return false;
    creationDate = readNumber(object, kCreationDate);
    if (missing(object, kDescription))
        return false;
    description = object.value(kDescription).toString();
    if (missing(object, kJid))
        return false;
    jid = object.value(kJid).toString();
    if (object.contains(kMembersCount))
        memberCount = readNumber(object, kMembersCount);
    if (missing(object, kMyRole))
        return false;
    const QString roleText = object.value(kMyRole).toString();
    myRole = GroupRole::toRole(roleText);
    if (myRole == GroupRole::NONE && roleText != QLatin1String("NONE"))
        L_WARN(QStringLiteral("GroupInfo::setDataFromJson | unknown role: ") +
               JsonNumbers::describe(object.value(kMyRole)));
    if (missing(object, kName))
        return false;
    name = object.value(kName).toString();
    return true;
}

bool GroupInfo::setDataFromDBJson(const QJsonObject& object)
{
    if (!setDataFromJson(object))
        return false;
    mute = object.value(kMute).toBool(false);
    removed = object.value(kRemoved).toBool(false);
    blocked = object.value(kBlocked).toBool(false);
    return true;
}

QJsonObject GroupInfo::toJsonObject() const
{
    return {{kAvThUrl, avThUrl},
            {kAvUrl, avUrl},
            {kCreationDate, creationDate},
            {kDescription, description},
            {kJid, jid},
            {kMembersCount, memberCount},
            {kMyRole, GroupRole::toString(myRole)},
            {kName, name}};
}

QJsonObject GroupInfo::toDBJsonObject() const
{
    QJsonObject object = toJsonObject();
    object.insert(kMute, mute);
    object.insert(kRemoved, removed);
    object.insert(kBlocked, blocked);
    return object;
}

bool GroupInfo::operator==(const GroupInfo& other) const
{
    return creationDate == other.creationDate && description == other.description &&
           avThUrl == other.avThUrl && avUrl == other.avUrl && jid == other.jid &&
           name == other.name && memberCount == other.memberCount && myRole == other.myRole &&
           lastMessage == other.lastMessage && unreadCount == other.unreadCount &&
           mute == other.mute && blocked == other.blocked && removed == other.removed;
}
