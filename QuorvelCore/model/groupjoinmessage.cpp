#include "model/groupjoinmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

void GroupJoinMessage::clear()
{
    jid.clear();
    userId.clear();
    addedBy.clear();
    role = GroupRole::NONE;
}

bool GroupJoinMessage::isEmpty() const
{
    return jid.isEmpty() || userId.isEmpty() || addedBy.isEmpty() || role == GroupRole::NONE;
}

void GroupJoinMessage::setDataFromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "GroupJoinMessage");
    jid = reader.text(MessageKeys::Jid);
    addedBy = reader.text(MessageKeys::AddedBy);
    role = reader.groupRole(MessageKeys::UserRole);
}
