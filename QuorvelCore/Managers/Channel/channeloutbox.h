#ifndef CHANNELOUTBOX_H
#define CHANNELOUTBOX_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QList>
#include <QString>

class DataBase;

// The user's channel posts on their way to the service, kept in the channel
// store under one record so that none is lost when the program ends, the
// service is away or a send fails: a post is written here before it is sent
// and leaves only when the service has it (or refused it for good). Posts go
// out in the order they were written, one at a time, the first in flight.
class QUORVELCORE_EXPORT ChannelOutbox
{
public:
    static const QString kKey;

    // Reads the kept posts; an unreadable entry is skipped with a warning.
    void load(DataBase* store);
    bool isEmpty() const { return posts.isEmpty(); }
    int size() const { return posts.size(); }
    bool contains(const QString& messageId) const;
    Message head() const { return posts.value(0); }
    // False (and nothing kept) when the store could not be written.
    bool append(const Message& post);
    // Drops the first post (the one sent) from the store.
    void takeHead();
    // Drops every post of a channel (one the user no longer follows).
    void dropChannel(const QString& channelId);

    // The wait before the next attempt after failures in a row: 2 s doubling
    // to a minute, with up to a quarter added at random.
    static int retryDelay(int failures);

private:
    bool save();

    DataBase* store = nullptr;
    QList<Message> posts;
};

#endif // CHANNELOUTBOX_H
