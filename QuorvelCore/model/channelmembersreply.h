#ifndef CHANNELMEMBERSREPLY_H
#define CHANNELMEMBERSREPLY_H

#include "foundation/quorvelcore_export.h"
#include "model/channelmemberprofile.h"
#include "model/channelmembersrequest.h"

#include <QList>
#include <QMetaType>

// The answer to a ChannelMembersRequest.
class QUORVELCORE_EXPORT ChannelMembersReply
{
public:
    ChannelMembersReply() = default;

    ChannelMembersRequest getReq() const { return req; }
    void setReq(const ChannelMembersRequest& value) { req = value; }
    QList<ChannelMemberProfile> getProfiles() const { return profiles; }
    void setProfiles(const QList<ChannelMemberProfile>& value) { profiles = value; }

private:
    ChannelMembersRequest req;
    QList<ChannelMemberProfile> profiles;
};

Q_DECLARE_METATYPE(ChannelMembersReply)

#endif // CHANNELMEMBERSREPLY_H
