#include "Managers/Channel/channeloutbox.h"

#include "foundation/database.h"
#include "foundation/simpleqtlogger.h"

#include <QJsonArray>
#include <QRandomGenerator>

const QString ChannelOutbox::kKey = QStringLiteral("_channelOutbox");

void ChannelOutbox::load(DataBase* database)
{
    store = database;
    posts.clear();
    QJsonArray kept;
    if (!store->get(kKey, &kept))
        return;
    for (const QJsonValue& value : qAsConst(kept)) {
        Message post;
        if (post.fromDBJson(value.toObject()) && post.isValid())
            posts.append(post);
        else
            L_WARN(QStringLiteral("ChannelOutbox::load | skipped an unreadable post"));
    }
}

bool ChannelOutbox::contains(const QString& messageId) const
{
    for (const Message& post : posts) {
        if (post.getMessageId() == messageId)
            return true;
    }
    return false;
}

bool ChannelOutbox::append(const Message& post)
{
    posts.append(post);
    if (save())
        return true;
    posts.removeLast();
    return false;
}

void ChannelOutbox::takeHead()
{
    if (posts.isEmpty())
        return;
    posts.removeFirst();
    save();
}

void ChannelOutbox::dropChannel(const QString& channelId)
{
    const int before = posts.size();
    posts.erase(std::remove_if(posts.begin(), posts.end(),
                               [&](const Message& post) { return post.getChatId() == channelId; }),
                posts.end());
    if (posts.size() != before)
        save();
}

int ChannelOutbox::retryDelay(int failures)
{
    const int base = qMin(60000, 2000 << qBound(0, failures - 1, 5));
    return base + int(QRandomGenerator::global()->bounded(base / 4 + 1));
}

bool ChannelOutbox::save()
{
    if (!store)
        return false;
    QJsonArray kept;
    for (const Message& post : qAsConst(posts))
        kept.append(post.toDBJson());
    const bool written =
        posts.isEmpty() ? store->del(kKey) || !store->contains(kKey) : store->put(kKey, kept);
    if (!written)
        L_ERROR(QStringLiteral("ChannelOutbox | cannot write the outgoing posts"));
    return written;
}
