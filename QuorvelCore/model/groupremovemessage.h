#ifndef GROUPREMOVEMESSAGE_H
#define GROUPREMOVEMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"

#include <QJsonObject>
#include <QMetaType>
#include <QString>

// Body of a GROUP_REMOVE message: userId (the carrying message's sender)
// removed removedUserId from the group jid.
class QUORVELCORE_EXPORT GroupRemoveMessage : public AbstractData
{
public:
    GroupRemoveMessage() = default;
    GroupRemoveMessage(const QString& jid, const QString& userId, const QString& removedUserId);

    void clear() override;
    bool isEmpty() const override;
    bool isValid() const { return !isEmpty(); }
    // Reads "JID" and "REMOVED_USER_ID"; userId is set by the carrying message.
    void setDataFromJson(const QJsonObject& object);

    QString getJid() const { return jid; }
    void setJid(const QString& value) { jid = value; }
    QString getUserId() const { return userId; }
    void setUserId(const QString& value) { userId = value; }
    QString getRemovedUserId() const { return removedUserId; }
    void setRemovedUserId(const QString& value) { removedUserId = value; }

private:
    QString jid;
    QString userId;
    QString removedUserId;
};

Q_DECLARE_METATYPE(GroupRemoveMessage)

#endif // GROUPREMOVEMESSAGE_H
