#include "channeleditannouncer.h"

#include "localservice.h"
#include "servicestore.h"

#include <QDateTime>
#include <QJsonArray>
#include <QUuid>

namespace {
const QString kChannels = QStringLiteral("channels");
const QString kPosts = QStringLiteral("channelposts");
} // namespace

bool ChannelEditAnnouncer::announce(LocalService& service, const QString& channelId,
                                    const QString& messageId, const QString& content)
{
    ServiceStore* store = service.store();
    const QJsonObject channel = store->object(kChannels, channelId);
    QJsonArray posts = store->value(kPosts, channelId).toArray();
    int found = -1;
    for (int i = 0; i < posts.size() && found < 0; ++i) {
        if (posts.at(i).toObject().value("MESSAGE_ID").toString() == messageId)
            found = i;
    }
    if (channel.isEmpty() || found < 0)
        return false;
    QJsonObject post = posts.at(found).toObject();
    post.insert("MESSAGE_BODY", content);
    posts.replace(found, post);
    if (!store->setValue(kPosts, channelId, posts))
        return false;
    if (!service.chatMessagePusher)
        return true;
    const QJsonObject edit{{"MESSAGE_ID", QUuid::createUuid().toString(QUuid::WithoutBraces)},
                           {"MESSAGE_BODY", content},
                           {"MAJOR_TYPE", "CONTROL_MESSAGE"},
                           {"MINOR_TYPE", "CHANNEL_MESSAGE_EDITED"},
                           {"CHANNEL_ID", channelId},
                           {"ORIGINAL_MESSAGE_ID", messageId},
                           {"MESSAGE_CONTENT", content},
                           {"UPDATE_TIMESTAMP", double(QDateTime::currentMSecsSinceEpoch())}};
    const QJsonObject members = channel.value("Members").toObject();
    for (auto it = members.constBegin(); it != members.constEnd(); ++it)
        service.chatMessagePusher(it.key(), edit);
    return true;
}
