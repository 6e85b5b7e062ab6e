#include "model/channelmemberprofile.h"

#include "foundation/simpleqtlogger.h"

namespace {
const QLatin1String kUserName("Username");
const QLatin1String kNickName("Nickname");
const QLatin1String kRole("Role");
const QLatin1String kAvThumbnailUrl("AvatarThumbnailURL");
const QLatin1String kMotto("Motto");
const QLatin1String kMemberId("MemberID");
} // namespace

ChannelMemberProfile::ChannelMemberProfile(const QJsonObject& object)
{
    setDataFromJson(object);
}

void ChannelMemberProfile::setDataFromJson(const QJsonObject& object)
{
    if (object.contains(kAvThumbnailUrl))
        avThumbnailUrl = object.value(kAvThumbnailUrl).toString();
    if (object.contains(kMotto))
        motto = object.value(kMotto).toString();
    if (object.contains(kNickName))
        nickName = object.value(kNickName).toString();
    if (object.contains(kRole)) {
        const QString roleText = object.value(kRole).toString();
        role = ChannelRole::toRole(roleText);
        if (role == ChannelRole::NONE && roleText != QLatin1String("NONE"))
            L_WARN(QStringLiteral("ChannelMemberProfile::setDataFromJson | unknown role: ") +
                   roleText);
    }
    if (object.contains(kUserName))
        userName = object.value(kUserName).toString();
    if (object.contains(kMemberId))
        memberId = object.value(kMemberId).toString();
}

QJsonObject ChannelMemberProfile::toJsonObject() const
{
    QJsonObject object{{kAvThumbnailUrl, avThumbnailUrl},
                       {kMotto, motto},
                       {kNickName, nickName},
                       {kRole, ChannelRole::toString(role)},
                       {kUserName, userName}};
    if (!memberId.isEmpty())
        object.insert(kMemberId, memberId);
    return object;
}

QString ChannelMemberProfile::getShownName() const
{
    if (!nickName.trimmed().isEmpty())
        return nickName;
    return memberId.isEmpty() ? userName : memberId;
}

bool ChannelMemberProfile::operator==(const ChannelMemberProfile& other) const
{
    return userName == other.userName && nickName == other.nickName && role == other.role &&
           avThumbnailUrl == other.avThumbnailUrl && motto == other.motto &&
           memberId == other.memberId;
}
