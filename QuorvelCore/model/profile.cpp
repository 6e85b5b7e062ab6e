#include "model/profile.h"

#include "foundation/simpleqtlogger.h"

namespace {
const QLatin1String kMemberId("MemberID");
const QLatin1String kNickname("Nickname");
const QLatin1String kCanReply("CanReply");
const QLatin1String kAvatarUrl("AvatarURL");
const QLatin1String kAvatarThumbnailUrl("AvatarThumbnailURL");
const QLatin1String kMotto("Motto");
} // namespace

Profile::Profile(const QJsonObject& object)
{
    setDataFromJson(object);
}

QStringList Profile::getJsonKeys()
{
    return {kMemberId, kNickname, kCanReply, kAvatarUrl, kAvatarThumbnailUrl, kMotto};
}

bool Profile::setDataFromJson(const QJsonObject& object)
{
    QString* const fields[] = {&memberId,  &nickname,           &canReply,
                               &avatarUrl, &avatarThumbnailUrl, &motto};
    const QStringList keys = getJsonKeys();
    for (int i = 0; i < keys.size(); ++i) {
        if (!object.contains(keys.at(i))) {
            L_WARN(QStringLiteral("Profile::setDataFromJson | missing key: ") + keys.at(i));
            return false;
        }
        *fields[i] = object.value(keys.at(i)).toString();
    }
    return true;
}

QJsonObject Profile::toJsonObject() const
{
    return {{kMemberId, memberId},   {kAvatarThumbnailUrl, avatarThumbnailUrl},
            {kAvatarUrl, avatarUrl}, {kCanReply, canReply},
            {kMotto, motto},         {kNickname, nickname}};
}

bool Profile::operator==(const Profile& other) const
{
    return memberId == other.memberId && canReply == other.canReply &&
           avatarUrl == other.avatarUrl && avatarThumbnailUrl == other.avatarThumbnailUrl &&
           nickname == other.nickname && motto == other.motto && isMyContact == other.isMyContact;
}
