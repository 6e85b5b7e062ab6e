#include "model/channelmembersrequest.h"

QString ChannelMembersRequest::toString(ReqType type)
{
    switch (type) {
    case ReqType_All:
    case ReqType_Members:
    case ReqType_Admins:
        return QString::number(static_cast<int>(type));
    default:
        return QString();
    }
}
