#ifndef CHANNELMEMBERPROFILE_H
#define CHANNELMEMBERPROFILE_H

#include "foundation/quorvelcore_export.h"
#include "model/channelrole.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// One channel member as the web service lists it.
class QUORVELCORE_EXPORT ChannelMemberProfile
{
public:
    ChannelMemberProfile() = default;
    explicit ChannelMemberProfile(const QJsonObject& object);

    void setDataFromChannelMemberProfile(const ChannelMemberProfile& other) { *this = other; }
    // Reads each key only when present; other fields keep their values.
    void setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;

    QString getUserName() const { return userName; }
    void setUserName(const QString& value) { userName = value; }
    QString getNickName() const { return nickName; }
    void setNickName(const QString& value) { nickName = value; }
    ChannelRole::Role getRole() const { return role; }
    void setRole(ChannelRole::Role value) { role = value; }
    QString getAvThumbnailUrl() const { return avThumbnailUrl; }
    void setAvThumbnailUrl(const QString& value) { avThumbnailUrl = value; }
    QString getMotto() const { return motto; }
    void setMotto(const QString& value) { motto = value; }
    // The member's phone number ("MemberID"), when the service gives it.
    QString getMemberId() const { return memberId; }
    void setMemberId(const QString& value) { memberId = value; }
    // What a row shows: the nickname, else the number, else the user name.
    QString getShownName() const;

    bool operator==(const ChannelMemberProfile& other) const;

private:
    QString userName;
    QString nickName;
    ChannelRole::Role role = ChannelRole::NONE;
    QString avThumbnailUrl;
    QString motto;
    QString memberId;
};

Q_DECLARE_METATYPE(ChannelMemberProfile)

#endif // CHANNELMEMBERPROFILE_H
