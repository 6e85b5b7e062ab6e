#ifndef GROUPCHANGEROLEREQUEST_H
#define GROUPCHANGEROLEREQUEST_H

#include "foundation/quorvelcore_export.h"
#include "model/grouprole.h"

#include <QMetaType>
#include <QString>

// A member's new role in a group (also names the member to remove).
class QUORVELCORE_EXPORT GroupChangeRoleRequest
{
public:
    GroupChangeRoleRequest() = default;
    GroupChangeRoleRequest(const QString& jid, const QString& userName, GroupRole::Role newRole)
        : jid(jid), userName(userName), newRole(newRole)
    {
    }

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getUserName() const { return userName; }
    void setUserName(const QString& value) { userName = value; }
    GroupRole::Role getNewRole() const { return newRole; }
    void setNewRole(GroupRole::Role value) { newRole = value; }

    bool operator==(const GroupChangeRoleRequest& other) const
    {
        return jid == other.jid && userName == other.userName && newRole == other.newRole;
    }

private:
    QString jid;
    QString userName;
    GroupRole::Role newRole = GroupRole::NONE;
};

Q_DECLARE_METATYPE(GroupChangeRoleRequest)

#endif // GROUPCHANGEROLEREQUEST_H
