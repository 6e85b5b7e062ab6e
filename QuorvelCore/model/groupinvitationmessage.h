#ifndef GROUPINVITATIONMESSAGE_H
#define GROUPINVITATIONMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"
#include "model/grouprole.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Body of a GROUP_INVITATION message: userId (the carrying message's sender)
// invited the user into the group jid with the given role.
class QUORVELCORE_EXPORT GroupInvitationMessage : public AbstractData
{
public:
    GroupInvitationMessage() = default;

    void clear() override;
    bool isEmpty() const override;
    // Reads "JID" and "USER_ROLE"; userId is set by the carrying message.
    void setDataFromJson(const QJsonObject& object);

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getUserId() const { return userId; }
    void setUserId(const QString& value) { userId = value; }
    GroupRole::Role getUserRole() const { return userRole; }
    void setUserRole(GroupRole::Role value) { userRole = value; }

private:
    QString jid;
    QString userId;
    GroupRole::Role userRole = GroupRole::NONE;
};

Q_DECLARE_METATYPE(GroupInvitationMessage)

#endif // GROUPINVITATIONMESSAGE_H
