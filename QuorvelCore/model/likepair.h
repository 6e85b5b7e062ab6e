#ifndef LIKEPAIR_H
#define LIKEPAIR_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// One like (or taking a like back) of one channel message.
class QUORVELCORE_EXPORT LikePair
{
public:
    LikePair() = default;
    LikePair(const QString& channelId, const QString& messageId, bool liked)
        : channelId(channelId), messageId(messageId), liked(liked)
    {
    }

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    bool getLiked() const { return liked; }
    void setLiked(bool value) { liked = value; }

    bool operator==(const LikePair& other) const
    {
        return channelId == other.channelId && messageId == other.messageId && liked == other.liked;
    }

private:
    QString channelId;
    QString messageId;
    bool liked = false;
};

Q_DECLARE_METATYPE(LikePair)

#endif // LIKEPAIR_H
