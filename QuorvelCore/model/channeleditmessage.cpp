#include "model/channeleditmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

using namespace MessageKeys;

void ChannelEditMessage::clear()
{
    channelId.clear();
    originalMessageId.clear();
    messageContent.clear();
    updateTimestamp = 0;
}

bool ChannelEditMessage::isEmpty() const
{
    return channelId.isEmpty() || originalMessageId.isEmpty();
}

QJsonObject ChannelEditMessage::toJson() const
{
    return {{ChannelId, channelId},
            {MessageContent, messageContent},
            {OriginalMessageId, originalMessageId},
            {UpdateTimestamp, static_cast<double>(updateTimestamp)}};
}

bool ChannelEditMessage::fromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "ChannelEditMessage");
    channelId = reader.text(ChannelId);
    messageContent = reader.text(MessageContent);
    originalMessageId = reader.text(OriginalMessageId);
    updateTimestamp = reader.timestamp(UpdateTimestamp);
    return !isEmpty();
}
