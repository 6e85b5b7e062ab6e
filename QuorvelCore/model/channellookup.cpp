#include "model/channellookup.h"
#include "foundation/simpleqtlogger.h"

#include "model/jsonnumbers.h"
#include "model/lookupfields.h"

void ChannelLookup::fromChannelLookup(const ChannelLookup& other)
{
    *this = other;
}

QStringList ChannelLookup::getJsonKeys()
{
    return {"Description",  "CategoryId",   "Name",         "AvatarURL",     "AvatarThumbnailURL",
            "MembersCount", "CreationDate", "ReplyAllowed", "OwnerUsername", "Link"};
}

bool ChannelLookup::checkChannelLookupFields(const QJsonObject& object)
{
    return LookupFields::hasAll(object, getJsonKeys());
}

bool ChannelLookup::setDataFromJson(const QJsonObject& object)
{
    if (!checkChannelLookupFields(object)) {
        L_WARN(QStringLiteral("ChannelLookup | required fields missing"));
        return false;
    }
    id = object.value("ID").toString();
    link = object.value("Link").toString();
    name = object.value("Name").toString();
    description = object.value("Description").toString();
    avatarURL = object.value("AvatarURL").toString();
    avatarThumbnailURL = object.value("AvatarThumbnailURL").toString();
    membersCount = JsonNumbers::toInt(object.value("MembersCount"));
    creationDate = JsonNumbers::toUInt(object.value("CreationDate"));
    ownerUsername = object.value("OwnerUsername").toString();
    categoryId = object.value("CategoryId").toString();
    replyAllowed = object.value("ReplyAllowed").toBool(false);
    channelJoinLink = object.contains("JoinToken");
    joinToken = channelJoinLink ? object.value("JoinToken").toString() : QString();
    return true;
}

QJsonObject ChannelLookup::toJsonObject() const
{
    QJsonObject object;
    object.insert("ID", id);
    object.insert("Link", link);
    object.insert("Name", name);
    object.insert("Description", description);
    object.insert("AvatarURL", avatarURL);
    object.insert("AvatarThumbnailURL", avatarThumbnailURL);
    object.insert("MembersCount", QString::number(membersCount));
    object.insert("CreationDate", QString::number(creationDate));
    object.insert("OwnerUsername", ownerUsername);
    object.insert("CategoryId", categoryId);
    object.insert("ReplyAllowed", replyAllowed);
    if (channelJoinLink)
        object.insert("JoinToken", joinToken);
    return object;
}
