#include "model/groupchangerolemessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

void GroupChangeRoleMessage::clear()
{
    jid.clear();
    userId.clear();
    changedUserId.clear();
    oldRole = GroupRole::NONE;
    newRole = GroupRole::NONE;
}

bool GroupChangeRoleMessage::isEmpty() const
{
    return jid.isEmpty() || userId.isEmpty() || changedUserId.isEmpty() ||
           oldRole == GroupRole::NONE || newRole == GroupRole::NONE;
}

void GroupChangeRoleMessage::setDataFromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "GroupChangeRoleMessage");
    jid = reader.text(MessageKeys::Jid);
    changedUserId = reader.text(MessageKeys::ChangeUserId);
    oldRole = reader.groupRole(MessageKeys::OldRole);
    newRole = reader.groupRole(MessageKeys::NewRole);
}
