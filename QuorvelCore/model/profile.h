#ifndef PROFILE_H
#define PROFILE_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// The public part of a person as the service reports it. isMyContact is set
// locally (the person is in the user's address book) and never in JSON.
class QUORVELCORE_EXPORT Profile
{
public:
    Profile() = default;
    explicit Profile(const QJsonObject& object);

    static QStringList getJsonKeys();
    // Reads "MemberID", "Nickname", "CanReply", "AvatarURL",
    // "AvatarThumbnailURL", "Motto" in this order; false at the first missing
    // key, keeping the fields already read.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getMemberID() const { return memberId; }
    void setMemberID(const QString& value) { memberId = value; }
    QString getCanReply() const { return canReply; }
    void setCanReply(const QString& value) { canReply = value; }
    QString getAvatarUrl() const { return avatarUrl; }
    void setAvatarUrl(const QString& value) { avatarUrl = value; }
    QString getAvatarThumbnailUrl() const { return avatarThumbnailUrl; }
    void setAvatarThumbnailUrl(const QString& value) { avatarThumbnailUrl = value; }
    QString getNickName() const { return nickname; }
    void setNickName(const QString& value) { nickname = value; }
    QString getMotto() const { return motto; }
    void setMotto(const QString& value) { motto = value; }
    bool getIsMyContact() const { return isMyContact; }
    void setIsMyContact(bool value) { isMyContact = value; }

    bool operator==(const Profile& other) const;
    bool operator!=(const Profile& other) const { return !(*this == other); }

private:
    QString memberId;
    QString canReply;
    QString avatarUrl;
    QString avatarThumbnailUrl;
    QString nickname;
    QString motto;
    bool isMyContact = false;
};

Q_DECLARE_METATYPE(Profile)

#endif // PROFILE_H
