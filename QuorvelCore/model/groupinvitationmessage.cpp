#include "model/groupinvitationmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

void GroupInvitationMessage::clear()
{
    jid.clear();
    userId.clear();
    userRole = GroupRole::NONE;
}

bool GroupInvitationMessage::isEmpty() const
{
    return jid.isEmpty() || userId.isEmpty() || userRole == GroupRole::NONE;
}

void GroupInvitationMessage::setDataFromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "GroupInvitationMessage");
    jid = reader.text(MessageKeys::Jid);
    userRole = reader.groupRole(MessageKeys::UserRole);
}
