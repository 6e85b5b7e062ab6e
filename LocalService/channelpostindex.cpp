#include "channelpostindex.h"

#include "servicestore.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QVector>
#include <algorithm>

namespace {

const QString kChannels = QStringLiteral("channels");
const QString kPosts = QStringLiteral("channelposts");
const QString kPolls = QStringLiteral("polls");

struct Post
{
    qint64 time;
    QString channel;
    QString id;
    QString poll;
    QString author;
};

} // namespace

ChannelPostIndex::ChannelPostIndex(const ServiceStore* store)
{
    QVector<Post> all;
    for (const QString& channel : store->keys(kChannels)) {
        for (const QJsonValue& value : store->value(kPosts, channel).toArray()) {
            const QJsonObject post = value.toObject();
            all.append({qint64(post.value("SEND_TIME_IN_GMT").toDouble()), channel,
                        post.value("MESSAGE_ID").toString(), post.value("POLL_ID").toString(),
                        post.value("USER_ID").toString()});
        }
    }
    std::stable_sort(all.begin(), all.end(), [](const Post& a, const Post& b) {
        return a.time != b.time ? a.time < b.time : a.channel < b.channel;
    });
    QHash<QString, QString> owners;
    for (const Post& post : qAsConst(all)) {
        if (!post.id.isEmpty() && !posts.contains(post.id))
            posts.insert(post.id, post.channel);
        if (post.poll.isEmpty() || polls.contains(post.poll))
            continue;
        auto owner = owners.find(post.poll);
        if (owner == owners.end())
            owner = owners.insert(post.poll,
                                  store->object(kPolls, post.poll).value("Owner").toString());
        if (!owner->isEmpty() && owner.value() == post.author)
            polls.insert(post.poll, post.channel);
    }
}
