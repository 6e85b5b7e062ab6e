#include "model/channelmembersrequest.h"

QString ChannelMembersRequest::toString(ReqType type)
{
    switch (type) {
    case ReqType_All:
    case ReqType_Managers:
    case ReqType_Followers:
        return QString::number(static_cast<int>(type));
    default:
        return QString();
    }
}
