#ifndef CHANNELPOSTINDEX_H
#define CHANNELPOSTINDEX_H

#include <QHash>
#include <QString>

class ServiceStore;

// Where channel posts stand, read from the store once per request: a post id
// names the channel it was first posted in, and a poll id the channel its
// owner first posted it in. Posts are taken oldest first, so a later post
// reusing an id elsewhere (which the service now refuses, but an older store
// may hold) moves nothing, and a poll posted by anyone but its owner counts
// for nothing.
class ChannelPostIndex
{
public:
    explicit ChannelPostIndex(const ServiceStore* store);

    // "" when no channel holds the post or poll.
    QString channelOfPost(const QString& messageId) const { return posts.value(messageId); }
    QString channelOfPoll(const QString& pollId) const { return polls.value(pollId); }

private:
    QHash<QString, QString> posts;
    QHash<QString, QString> polls;
};

#endif // CHANNELPOSTINDEX_H
