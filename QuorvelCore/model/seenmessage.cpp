#include "model/seenmessage.h"

#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

using namespace MessageKeys;

void SeenMessage::clear()
{
    chatId.clear();
    messageIds.clear();
    messageId.clear();
    seenTimeInGMT = 0;
}

// A body that names its messages only through "MESSAGE_IDS" (the form this
// client sends) is complete as well.
bool SeenMessage::isEmpty() const
{
    return chatId.isEmpty() || (messageId.isEmpty() && messageIds.isEmpty());
}

QJsonObject SeenMessage::toJson() const
{
    QJsonObject object;
    if (!messageIds.isEmpty())
        object.insert(MessageIds, getMessageIdsString());
    else
        object.insert(SecondaryMessageId, messageId);
    object.insert(SeenTimeInGmt, QString::number(seenTimeInGMT));
    return object;
}

bool SeenMessage::fromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "SeenMessage");
    messageId = reader.text(SecondaryMessageId);
    messageIds = reader.text(MessageIds).split(QLatin1Char(','), Qt::SkipEmptyParts);
    seenTimeInGMT = reader.timestamp(SeenTimeInGmt);
    return !isEmpty();
}

QJsonObject SeenMessage::toDebugJson() const
{
    QJsonObject object = toJson();
    object.insert(From, chatId);
    return object;
}

void SeenMessage::setSeenVariables(const QString& chatId, const QString& messageId,
                                   const QStringList& messageIds)
{
    this->chatId = chatId;
    this->messageId = messageId;
    this->messageIds = messageIds;
}

QString SeenMessage::getMessageIdsString() const
{
    return messageIds.join(QLatin1Char(','));
}
