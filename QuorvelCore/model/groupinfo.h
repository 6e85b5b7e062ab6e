#ifndef GROUPINFO_H
#define GROUPINFO_H

#include "foundation/quorvelcore_export.h"
#include "model/grouprole.h"
#include "model/message.h"

#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QString>

// One private group's metadata plus the local state the client keeps for it.
// The last message and the unread count are rebuilt from the group's store and
// never written to JSON.
class QUORVELCORE_EXPORT GroupInfo
{
public:
    GroupInfo() = default;
    GroupInfo(const GroupInfo& other) { fromGroupInfo(other); }
    explicit GroupInfo(const QJsonObject& object);
    GroupInfo& operator=(const GroupInfo& other);

    void fromGroupInfo(const GroupInfo& other);
    // Keeps local state when fresh data arrives: copies mute, removed, blocked.
    void setDBFields(const GroupInfo& other);

    void clear() { jid.clear(); }
    bool isEmpty() const { return jid.isEmpty(); }

    // False at the first missing required key; fields read before it keep
    // their new values.
    bool setDataFromJson(const QJsonObject& object);
    bool setDataFromDBJson(const QJsonObject& object);
    QJsonObject toJsonObject() const;
    QJsonObject toDBJsonObject() const;

    int getCreationDate() const { return creationDate; }
    void setCreationDate(int value) { creationDate = value; }
    QString getDescription() const { return description; }
    void setDescription(const QString& value) { description = value; }
    QString getAvThUrl() const { return avThUrl; }
    void setAvThUrl(const QString& value) { avThUrl = value; }
    QString getAvUrl() const { return avUrl; }
    void setAvUrl(const QString& value) { avUrl = value; }
    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getName() const { return name; }
    void setName(const QString& value) { name = value; }
    int getMemberCount() const { return memberCount; }
    void setMemberCount(int value) { memberCount = value; }
    GroupRole::Role getMyRole() const { return myRole; }
    void setMyRole(GroupRole::Role value) { myRole = value; }
    Message getLastMessage() const { return lastMessage; }
    void setLastMessage(const Message& value) { lastMessage = value; }
    int getUnreadCount() const { return unreadCount; }
    void setUnreadCount(int value) { unreadCount = value; }
    void increaseUnreadCount() { ++unreadCount; }
    bool getMute() const { return mute; }
    void setMute(bool value) { mute = value; }
    bool getBlocked() const { return blocked; }
    void setBlocked(bool value) { blocked = value; }
    bool getRemoved() const { return removed; }
    void setRemoved(bool value) { removed = value; }

    bool operator==(const GroupInfo& other) const;
    bool operator!=(const GroupInfo& other) const { return !(*this == other); }

private:
    int creationDate = 0;
    QString description;
    QString avThUrl;
    QString avUrl;
    QString jid;
    QString name;
    int memberCount = 0;
    GroupRole::Role myRole = GroupRole::NONE;
    Message lastMessage;
    int unreadCount = 0;
    bool mute = false;
    bool blocked = false;
    bool removed = false;
};

Q_DECLARE_METATYPE(GroupInfo)

#endif // GROUPINFO_H
