#include "model/userlookup.h"
#include "foundation/simpleqtlogger.h"

#include "model/lookupfields.h"

void UserLookup::fromUserLookup(const UserLookup& other)
{
    *this = other;
}

QStringList UserLookup::getJsonKeys()
{
    return {"AvatarURL", "AvatarThumbnailURL", "Username", "Motto", "Nickname",
            "UserID",    "OfficialUser"};
}

bool UserLookup::checkUserLookupFields(const QJsonObject& object)
{
    return LookupFields::hasAll(object, getJsonKeys());
}

bool UserLookup::setDataFromJson(const QJsonObject& object)
{
    if (!checkUserLookupFields(object)) {
        L_WARN(QStringLiteral("UserLookup | required fields missing"));
        return false;
    }
    userID = object.value("UserID").toString();
    username = object.value("Username").toString();
    nickname = object.value("Nickname").toString();
    avatarURL = object.value("AvatarURL").toString();
    avatarThumbnailURL = object.value("AvatarThumbnailURL").toString();
    officialUser = object.value("OfficialUser").toBool(false);
    motto = object.value("Motto").toString();
    return true;
}

QJsonObject UserLookup::toJsonObject() const
{
    QJsonObject object;
    object.insert("UserID", userID);
    object.insert("Username", username);
    object.insert("Nickname", nickname);
    object.insert("AvatarURL", avatarURL);
    object.insert("AvatarThumbnailURL", avatarThumbnailURL);
    object.insert("OfficialUser", officialUser);
    object.insert("Motto", motto);
    return object;
}
