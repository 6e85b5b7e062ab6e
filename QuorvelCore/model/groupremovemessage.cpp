#include "model/groupremovemessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

GroupRemoveMessage::GroupRemoveMessage(const QString& jid, const QString& userId,
                                       const QString& removedUserId)
    : jid(jid), userId(userId), removedUserId(removedUserId)
{
}

void GroupRemoveMessage::clear()
{
    jid.clear();
    userId.clear();
    removedUserId.clear();
}

bool GroupRemoveMessage::isEmpty() const
{
    return jid.isEmpty() || userId.isEmpty() || removedUserId.isEmpty();
}

void GroupRemoveMessage::setDataFromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "GroupRemoveMessage");
    jid = reader.text(MessageKeys::Jid);
    removedUserId = reader.text(MessageKeys::RemovedUserId);
}
