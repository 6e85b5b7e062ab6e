#ifndef USERLOOKUP_H
#define USERLOOKUP_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A user found through a link or mention look-up.
class QUORVELCORE_EXPORT UserLookup
{
public:
    UserLookup() = default;
    UserLookup(const UserLookup& other) = default;
    UserLookup& operator=(const UserLookup& other) = default;

    void fromUserLookup(const UserLookup& other);

    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    static bool checkUserLookupFields(const QJsonObject& object);
    static QStringList getJsonKeys();

    QString getUserID() const { return userID; }
    void setUserID(const QString& value) { userID = value; }
    QString getUsername() const { return username; }
    void setUsername(const QString& value) { username = value; }
    QString getNickname() const { return nickname; }
    void setNickname(const QString& value) { nickname = value; }
    QString getAvatarURL() const { return avatarURL; }
    void setAvatarURL(const QString& value) { avatarURL = value; }
    QString getAvatarThumbnailURL() const { return avatarThumbnailURL; }
    void setAvatarThumbnailURL(const QString& value) { avatarThumbnailURL = value; }
    QString getMotto() const { return motto; }
    void setMotto(const QString& value) { motto = value; }
    bool getOfficialUser() const { return officialUser; }
    void setOfficialUser(bool value) { officialUser = value; }

private:
    QString userID;
    QString username;
    QString nickname;
    QString avatarURL;
    QString avatarThumbnailURL;
    QString motto;
    bool officialUser = false;
};

Q_DECLARE_METATYPE(UserLookup)

#endif // USERLOOKUP_H
