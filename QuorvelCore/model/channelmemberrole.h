#ifndef CHANNELMEMBERROLE_H
#define CHANNELMEMBERROLE_H

#include "foundation/quorvelcore_export.h"
#include "model/channelrole.h"

#include <QMetaType>
#include <QString>

// A member's role in a channel: the payload of the member commands.
class QUORVELCORE_EXPORT ChannelMemberRole
{
public:
    ChannelMemberRole() = default;
    ChannelMemberRole(const QString& channelId, const QString& memberId, ChannelRole::Role role)
        : channelId(channelId), memberId(memberId), role(role)
    {
    }

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    QString getMemberId() const { return memberId; }
    void setMemberId(const QString& value) { memberId = value; }
    ChannelRole::Role getRole() const { return role; }
    void setRole(ChannelRole::Role value) { role = value; }

    void clear() { channelId.clear(); }
    bool isEmpty() const { return channelId.isEmpty(); }

    bool operator==(const ChannelMemberRole& other) const
    {
        return channelId == other.channelId && memberId == other.memberId && role == other.role;
    }

private:
    QString channelId;
    QString memberId;
    ChannelRole::Role role = ChannelRole::NONE;
};

Q_DECLARE_METATYPE(ChannelMemberRole)

#endif // CHANNELMEMBERROLE_H
