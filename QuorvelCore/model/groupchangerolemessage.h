#ifndef GROUPCHANGEROLEMESSAGE_H
#define GROUPCHANGEROLEMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"
#include "model/grouprole.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Body of a GROUP_CHANGE_ROLE message: userId (the carrying message's sender)
// changed the role of changedUserId in the group jid.
class QUORVELCORE_EXPORT GroupChangeRoleMessage : public AbstractData
{
public:
    GroupChangeRoleMessage() = default;

    void clear() override;
    bool isEmpty() const override;
    // Reads "JID", "CHANGE_USER_ID", "OLD_ROLE" and "NEW_ROLE".
    void setDataFromJson(const QJsonObject& object);

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getUserId() const { return userId; }
    void setUserId(const QString& value) { userId = value; }
    QString getChangedUserId() const { return changedUserId; }
    void setChangedUserId(const QString& value) { changedUserId = value; }
    GroupRole::Role getOldRole() const { return oldRole; }
    void setOldRole(GroupRole::Role value) { oldRole = value; }
    GroupRole::Role getNewRole() const { return newRole; }
    void setNewRole(GroupRole::Role value) { newRole = value; }

private:
    QString jid;
    QString userId;
    QString changedUserId;
    GroupRole::Role oldRole = GroupRole::NONE;
    GroupRole::Role newRole = GroupRole::NONE;
};

Q_DECLARE_METATYPE(GroupChangeRoleMessage)

#endif // GROUPCHANGEROLEMESSAGE_H
