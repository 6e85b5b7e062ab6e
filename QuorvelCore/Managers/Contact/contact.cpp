#include "Managers/Contact/contact.h"

namespace {
const QString kNumber = QStringLiteral("Number");
const QString kFirstName = QStringLiteral("FirstName");
const QString kLastName = QStringLiteral("LastName");
const QString kMemberId = QStringLiteral("MemberID");
const QString kNickname = QStringLiteral("Nickname");
const QString kMotto = QStringLiteral("Motto");
const QString kCanReply = QStringLiteral("CanReply");
const QString kAvatarThumbnailUrl = QStringLiteral("AvatarThumbnailURL");
const QString kAvatarUrl = QStringLiteral("AvatarURL");
const QString kMute = QStringLiteral("_mute");
const QString kBlocked = QStringLiteral("Blocked");
} // namespace

Contact::Contact(const QString& number, const QString& firstName, const QString& lastName)
    : number(number), firstName(firstName), lastName(lastName)
{
}

Contact::Contact(const QJsonObject& object)
{
    setDataFromJson(object);
}

Contact::Contact(const Contact& other)
{
    fromContact(other);
}

Contact& Contact::operator=(const Contact& other)
{
    if (this != &other)
        fromContact(other);
    return *this;
}

void Contact::fromContact(const Contact& other)
{
    number = other.number;
    firstName = other.firstName;
    lastName = other.lastName;
    profile = other.profile;
    mute = other.mute;
    blocked = other.blocked;
    avThumbnail = other.avThumbnail;
}

QStringList Contact::getContactFields()
{
    return {kMotto, kAvatarUrl, kAvatarThumbnailUrl, kCanReply, kNickname, kMemberId};
}

bool Contact::checkFields(const QJsonObject& object)
{
    const QStringList fields = getContactFields();
    for (const QString& key : fields) {
        if (!object.contains(key))
            return false;
    }
    return true;
}

QJsonObject Contact::toJsonObject() const
{
    QJsonObject object;
    object.insert(kNumber, number);
    object.insert(kFirstName, firstName);
    object.insert(kLastName, lastName);
    object.insert(kMemberId, profile.getMemberID());
    object.insert(kNickname, profile.getNickName());
    object.insert(kMotto, profile.getMotto());
    object.insert(kCanReply, profile.getCanReply());
    object.insert(kAvatarThumbnailUrl, profile.getAvatarThumbnailUrl());
    object.insert(kAvatarUrl, profile.getAvatarUrl());
    object.insert(kMute, mute);
    object.insert(kBlocked, blocked);
    return object;
}

bool Contact::setDataFromJson(const QJsonObject& object)
{
    if (!checkFields(object))
        return false;
    number = object.contains(kNumber) ? object.value(kNumber).toString()
                                      : object.value(kMemberId).toString();
    firstName = object.value(kFirstName).toString();
    lastName = object.value(kLastName).toString();
    profile.setMemberID(object.value(kMemberId).toString());
    profile.setNickName(object.value(kNickname).toString());
    profile.setMotto(object.value(kMotto).toString());
    profile.setCanReply(object.value(kCanReply).toString());
    profile.setAvatarThumbnailUrl(object.value(kAvatarThumbnailUrl).toString());
    profile.setAvatarUrl(object.value(kAvatarUrl).toString());
    mute = object.value(kMute).toBool(false);
    blocked = object.value(kBlocked).toBool(false);
    return true;
}

QString Contact::getDisplayName() const
{
    if (!profile.getIsMyContact())
        return profile.getNickName();
    if (firstName.isEmpty() && lastName.isEmpty())
        return profile.getNickName();
    if (firstName.isEmpty())
        return lastName;
    if (lastName.isEmpty())
        return firstName;
    return firstName + QLatin1Char(' ') + lastName;
}

QString Contact::getNameOrNumber() const
{
    const QString shown = getDisplayName();
    if (!shown.trimmed().isEmpty() || number.isEmpty())
        return shown;
    return getDisplayNumber();
}

QString Contact::getContactString() const
{
    return QStringLiteral("{") +
           QStringList{profile.getMemberID(),  profile.getNickName(),
                       profile.getMotto(),     profile.getCanReply(),
                       profile.getAvatarUrl(), profile.getAvatarThumbnailUrl()}
               .join(QLatin1Char(',')) +
           QStringLiteral("}");
}

void Contact::setNames(const QString& first, const QString& last)
{
    firstName = first;
    lastName = last;
}

void Contact::setDBFields(const QString& first, const QString& last, bool muted, bool isBlocked)
{
    setNames(first, last);
    mute = muted;
    blocked = isBlocked;
}
