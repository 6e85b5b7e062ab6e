#ifndef GROUPNOTICEKIND_H
#define GROUPNOTICEKIND_H

#include "model/message.h"

// The notices of what became of a group: a member left, was removed, added
// or given another role, the group's details changed, it was created. They
// are told in the group's room by the service; anyone else's word for one is
// a reason to ask the service, never the news itself.
namespace GroupNoticeKind {

inline bool isNoticeKind(MessageBase::MsgMajorType major, MessageBase::MsgMinorType minor)
{
    return major == MessageBase::MsgMajorType_ControlMessage &&
           minor >= MessageBase::MsgMinorType_GroupLeave &&
           minor <= MessageBase::MsgMinorType_GroupCreated;
}

inline bool isNotice(const Message& message)
{
    return isNoticeKind(message.getMajorType(), message.getMinorType());
}

} // namespace GroupNoticeKind

#endif // GROUPNOTICEKIND_H
