#ifndef CHANNELACCOUNTPRESENCE_H
#define CHANNELACCOUNTPRESENCE_H

#include "foundation/quorvelcore_export.h"

#include <QString>
#include <QXmppElement.h>

class QXmppPresence;

// The service's channel account's word, in a presence it sends to each
// follower whenever it signs in again, that it is back:
// <pushes xmlns="urn:quorvel:channel-pushes"/>. Posts given while it was away
// may never have been pushed, so a follower's program that sees it asks the
// service again for the posts it missed. It is taken only from the channel
// account itself, and it never does more than make the program ask.
class QUORVELCORE_EXPORT ChannelAccountPresence
{
public:
    static QXmppElement mark();
    // Whether the presence is the channel account's available presence with
    // the mark.
    static bool read(const QXmppPresence& presence, const QString& domain);
};

#endif // CHANNELACCOUNTPRESENCE_H
