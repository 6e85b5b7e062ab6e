#ifndef CHANNELINFO_H
#define CHANNELINFO_H

#include "foundation/quorvelcore_export.h"
#include "model/channelrole.h"
#include "model/message.h"

#include <QImage>
#include <QJsonObject>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One channel's description as the web service sends it, plus the local state
// the client keeps for it (mute flag, unread count, thumbnail, last message).
class QUORVELCORE_EXPORT ChannelInfo
{
public:
    ChannelInfo() = default;
    ChannelInfo(const ChannelInfo& other) = default;
    ChannelInfo& operator=(const ChannelInfo& other) = default;

    void fromChannelInfo(const ChannelInfo& other) { *this = other; }
    // Keeps local state when a fresh description arrives: copies the mute flag.
    void setDBFields(const ChannelInfo& other) { mute = other.mute; }

    // False (nothing changed, a log line) unless all required keys are present.
    bool setDataFromJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    bool setDataFromDBJson(const QJsonObject& object);
    QJsonObject toDBJsonObject() const;

    QString getId() const { return id; }
    void setId(const QString& value) { id = value; }
    QString getName() const { return name; }
    void setName(const QString& value) { name = value; }
    QString getAvatarUrl() const { return avatarUrl; }
    void setAvatarUrl(const QString& value) { avatarUrl = value; }
    QString getAvatarThumbnailUrl() const { return avatarThumbnailUrl; }
    void setAvatarThumbnailUrl(const QString& value) { avatarThumbnailUrl = value; }
    QString getCategoryId() const { return categoryId; }
    void setCategoryId(const QString& value) { categoryId = value; }
    uint getCreationDate() const { return creationDate; }
    void setCreationDate(uint value) { creationDate = value; }
    QString getDescription() const { return description; }
    void setDescription(const QString& value) { description = value; }
    QString getFollowed() const { return followed; }
    void setFollowed(const QString& value) { followed = value; }
    QString getOwnerUserName() const { return ownerUserName; }
    void setOwnerUserName(const QString& value) { ownerUserName = value; }
    ChannelRole::Role getMyRole() const { return myRole; }
    void setMyRole(ChannelRole::Role value) { myRole = value; }
    uint getMembersCount() const { return membersCount; }
    void setMembersCount(uint value) { membersCount = value; }
    QString getReplyAllowed() const { return replyAllowed; }
    void setReplyAllowed(const QString& value) { replyAllowed = value; }
    QStringList getAdmins() const { return admins; }
    void setAdmins(const QStringList& value) { admins = value; }
    void addAdmin(const QString& userName) { admins.append(userName); }
    bool getMute() const { return mute; }
    void setMute(bool value) { mute = value; }
    int getUnreadCount() const { return unreadCount; }
    void setUnreadCount(int value) { unreadCount = value; }
    void increaseUnreadCount() { ++unreadCount; }
    QImage getAvThumbnail() const { return avThumbnail; }
    void setAvThumbnail(const QImage& value) { avThumbnail = value; }
    Message getLastMessage() const { return lastMessage; }
    void setLastMessage(const Message& value) { lastMessage = value; }

    // Compares every field but the decoded thumbnail.
    bool operator==(const ChannelInfo& other) const;
    bool operator!=(const ChannelInfo& other) const { return !(*this == other); }

private:
    static QStringList getJsonKeys();
    static bool checkChannelFields(const QJsonObject& object);

    QString id;
    QString name;
    QString avatarUrl;
    QString avatarThumbnailUrl;
    QString categoryId;
    uint creationDate = 0;
    QString description;
    QString followed;
    QString ownerUserName;
    ChannelRole::Role myRole = ChannelRole::NONE;
    uint membersCount = 0;
    QString replyAllowed;
    QStringList admins;
    bool mute = false;
    int unreadCount = 0;
    QImage avThumbnail;
    Message lastMessage;
};

Q_DECLARE_METATYPE(ChannelInfo)

#endif // CHANNELINFO_H
