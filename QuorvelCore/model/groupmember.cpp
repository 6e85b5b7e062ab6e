#include "model/groupmember.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

namespace {
const QLatin1String kAddedByMe("AddedByMe");
const QLatin1String kLastActivity("LastActivity");
const QLatin1String kProfile("Profile");
const QLatin1String kRole("Role");
const QLatin1String kUserName("Username");

bool missing(const QJsonObject& object, QLatin1String key)
{
    if (object.contains(key))
        return false;
    L_WARN(QStringLiteral("GroupMember::setDataFromJson | missing key: ") + key);
    return true;
}
} // namespace

bool GroupMember::setDataFromJson(const QJsonObject& object)
{
    if (missing(object, kAddedByMe))
        return false;
    // 1 or 0; decimal text is read too. A JSON boolean counts as 0.
    addedByMe = JsonNumbers::toInt(object.value(kAddedByMe)) != 0;
    if (missing(object, kLastActivity))
        return false;
    bool ok = false;
    const int activity = JsonNumbers::toInt(object.value(kLastActivity), 0, &ok);
    if (ok)
        lastActivity = activity;
    else
        L_WARN(QStringLiteral("GroupMember::setDataFromJson | unreadable LastActivity: ") +
               JsonNumbers::describe(object.value(kLastActivity)));
    if (missing(object, kProfile))
        return false;
    profile.setDataFromJson(object.value(kProfile).toObject());
    if (missing(object, kRole))
        return false;
    role = GroupRole::toRole(object.value(kRole).toString());
    if (missing(object, kUserName))
        return false;
    userName = object.value(kUserName).toString();
    return true;
}

QJsonObject GroupMember::toJsonObject() const
{
    return {{kAddedByMe, addedByMe ? 1 : 0},
            {kLastActivity, lastActivity},
            {kProfile, profile.toJsonObject()},
            {kRole, GroupRole::toString(role)},
            {kUserName, userName}};
}

bool GroupMember::operator==(const GroupMember& other) const
{
    return addedByMe == other.addedByMe && lastActivity == other.lastActivity &&
           userName == other.userName && role == other.role && profile == other.profile;
}
