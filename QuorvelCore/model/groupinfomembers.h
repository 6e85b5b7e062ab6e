#ifndef GROUPINFOMEMBERS_H
#define GROUPINFOMEMBERS_H

#include "foundation/quorvelcore_export.h"
#include "model/groupinfo.h"
#include "model/groupmember.h"

#include <QHash>
#include <QMetaType>
#include <QString>

// A group together with its members, keyed by user name.
class QUORVELCORE_EXPORT GroupInfoMembers
{
public:
    GroupInfoMembers() = default;
    GroupInfoMembers(const GroupInfoMembers& other) = default;
    GroupInfoMembers& operator=(const GroupInfoMembers& other) = default;

    void fromGroupInfoMembers(const GroupInfoMembers& other) { *this = other; }

    GroupInfo getInfo() const { return info; }
    void setInfo(const GroupInfo& value) { info = value; }
    QHash<QString, GroupMember> getMembers() const { return members; }
    void setMembers(const QHash<QString, GroupMember>& value) { members = value; }
    // Inserts or replaces the member under his user name.
    void insertMember(const GroupMember& member) { members.insert(member.getUserName(), member); }

    bool operator==(const GroupInfoMembers& other) const
    {
        return info == other.info && members == other.members;
    }

private:
    GroupInfo info;
    QHash<QString, GroupMember> members;
};

Q_DECLARE_METATYPE(GroupInfoMembers)

#endif // GROUPINFOMEMBERS_H
