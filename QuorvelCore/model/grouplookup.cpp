#include "model/grouplookup.h"
#include "foundation/simpleqtlogger.h"

#include "model/jsonnumbers.h"
#include "model/lookupfields.h"

void GroupLookup::fromGroupLookup(const GroupLookup& other)
{
    *this = other;
}

QStringList GroupLookup::getJsonKeys()
{
    return {"Description", "Name", "AvatarURL", "AvatarURL", "MembersCount", "JoinToken"};
}

bool GroupLookup::checkGroupLookupFields(const QJsonObject& object)
{
    return LookupFields::hasAll(object, getJsonKeys());
}

bool GroupLookup::setDataFromJson(const QJsonObject& object)
{
    if (!checkGroupLookupFields(object)) {
        L_WARN(QStringLiteral("GroupLookup | required fields missing"));
        return false;
    }
    jid = object.value("JID").toString();
    name = object.value("Name").toString();
    description = object.value("Description").toString();
    avatarURL = object.value("AvatarURL").toString();
    avatarThumbnailURL = object.value("AvatarURL").toString();
    membersCount = JsonNumbers::toInt(object.value("MembersCount"));
    joinToken = object.value("JoinToken").toString();
    return true;
}

QJsonObject GroupLookup::toJsonObject() const
{
    QJsonObject object;
    object.insert("JID", jid);
    object.insert("Name", name);
    object.insert("Description", description);
    // One key for both pictures: the thumbnail, written last, is what the object holds.
    object.insert("AvatarURL", avatarURL);
    object.insert("AvatarURL", avatarThumbnailURL);
    object.insert("MembersCount", QString::number(membersCount));
    object.insert("JoinToken", joinToken);
    return object;
}
