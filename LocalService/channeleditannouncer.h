#ifndef CHANNELEDITANNOUNCER_H
#define CHANNELEDITANNOUNCER_H

#include <QString>

class LocalService;

// Edits a post of a channel as the service keeps it and tells every member of
// the channel through the service's channel account, with a
// CHANNEL_MESSAGE_EDITED control message (the only account clients take such
// an edit from). No procedure of the web service asks for it: a way in for
// tests and for the service's own use.
class ChannelEditAnnouncer
{
public:
    // False when the channel or the post is unknown, or the change could not
    // be kept.
    static bool announce(LocalService& service, const QString& channelId, const QString& messageId,
                         const QString& content);
};

#endif // CHANNELEDITANNOUNCER_H
