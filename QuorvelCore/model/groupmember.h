#ifndef GROUPMEMBER_H
#define GROUPMEMBER_H

#include "foundation/quorvelcore_export.h"
#include "model/grouprole.h"
#include "model/profile.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// One member of a group with his role and public profile.
class QUORVELCORE_EXPORT GroupMember
{
public:
    GroupMember() = default;
    explicit GroupMember(const QString& userName) : userName(userName) {}

    // False at the first missing key.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    bool getAddedByMe() const { return addedByMe; }
    void setAddedByMe(bool value) { addedByMe = value; }
    int getLastActivity() const { return lastActivity; }
    void setLastActivity(int value) { lastActivity = value; }
    QString getUserName() const { return userName; }
    void setUserName(const QString& value) { userName = value; }
    GroupRole::Role getRole() const { return role; }
    void setRole(GroupRole::Role value) { role = value; }
    Profile getProfile() const { return profile; }
    void setProfile(const Profile& value) { profile = value; }
    void setProfile(const QJsonObject& object) { profile.setDataFromJson(object); }

    bool operator==(const GroupMember& other) const;
    bool operator!=(const GroupMember& other) const { return !(*this == other); }

private:
    bool addedByMe = false;
    int lastActivity = 0;
    QString userName;
    GroupRole::Role role = GroupRole::NONE;
    Profile profile;
};

Q_DECLARE_METATYPE(GroupMember)

#endif // GROUPMEMBER_H
