#ifndef GROUPJOINMESSAGE_H
#define GROUPJOINMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"
#include "model/grouprole.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Body of a GROUP_JOIN message: userId (the carrying message's sender) joined
// the group jid, added by addedBy, with the given role.
class QUORVELCORE_EXPORT GroupJoinMessage : public AbstractData
{
public:
    GroupJoinMessage() = default;

    void clear() override;
    bool isEmpty() const override;
    // Reads "JID", "ADDED_BY" and "USER_ROLE"; userId is set by the carrying message.
    void setDataFromJson(const QJsonObject& object);

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getUserId() const { return userId; }
    void setUserId(const QString& value) { userId = value; }
    QString getAddedBy() const { return addedBy; }
    void setAddedBy(const QString& value) { addedBy = value; }
    GroupRole::Role getRole() const { return role; }
    void setRole(GroupRole::Role value) { role = value; }

private:
    QString jid;
    QString userId;
    QString addedBy;
    GroupRole::Role role = GroupRole::NONE;
};

Q_DECLARE_METATYPE(GroupJoinMessage)

#endif // GROUPJOINMESSAGE_H
