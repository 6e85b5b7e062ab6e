#ifndef CHANNELMEMBERSREQUEST_H
#define CHANNELMEMBERSREQUEST_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// A page of a channel's members. The request type is sent to the channel
// service as the text "0", "1" or "2": everyone, the people who run the
// channel (its owner and administrators) or its followers.
class QUORVELCORE_EXPORT ChannelMembersRequest
{
public:
    enum ReqType
    {
        ReqType_All = 0,
        ReqType_Managers = 1,
        ReqType_Followers = 2
    };

    ChannelMembersRequest() = default;
    ChannelMembersRequest(const QString& channelId, ReqType reqType, int offset, int count)
        : channelId(channelId), reqType(reqType), offset(offset), count(count)
    {
    }

    // "0", "1", "2"; any other value gives an empty text.
    static QString toString(ReqType type);
    QString getReqTypeString() const { return toString(reqType); }

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    ReqType getReqType() const { return reqType; }
    void setReqType(ReqType value) { reqType = value; }
    int getOffset() const { return offset; }
    void setOffset(int value) { offset = value; }
    int getCount() const { return count; }
    void setCount(int value) { count = value; }

    bool operator==(const ChannelMembersRequest& other) const
    {
        return channelId == other.channelId && reqType == other.reqType && offset == other.offset &&
               count == other.count;
    }

private:
    QString channelId;
    ReqType reqType = ReqType_All;
    int offset = 0;
    int count = 0;
};

Q_DECLARE_METATYPE(ChannelMembersRequest)

#endif // CHANNELMEMBERSREQUEST_H
