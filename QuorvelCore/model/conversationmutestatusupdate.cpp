#include "model/conversationmutestatusupdate.h"

#include "foundation/simpleqtlogger.h"
#include "model/controlbodyreader.h"
#include "model/messagekeys.h"

using namespace MessageKeys;

ConversationMuteStatusUpdate&
ConversationMuteStatusUpdate::operator=(const ConversationMuteStatusUpdate& other)
{
    if (this != &other)
        fromOther(other);
    return *this;
}

void ConversationMuteStatusUpdate::fromOther(const ConversationMuteStatusUpdate& other)
{
    conversationType = other.conversationType;
    conversationId = other.conversationId;
    muteStatus = other.muteStatus;
    updateTimestamp = other.updateTimestamp;
}

void ConversationMuteStatusUpdate::clear()
{
    conversationType = ConversationType::NONE;
    conversationId.clear();
    muteStatus = false;
    updateTimestamp = 0;
}

bool ConversationMuteStatusUpdate::isEmpty() const
{
    return conversationId.isEmpty() || conversationType == ConversationType::NONE ||
           updateTimestamp == 0;
}

QJsonObject ConversationMuteStatusUpdate::toJson() const
{
    return {{ConversationId, conversationId},
            {ConversationTypeKey, ConversationType::toString(conversationType)},
            {MuteStatus, muteStatus ? QStringLiteral("MUTE") : QStringLiteral("UNMUTE")},
            {UpdateTimestamp, QString::number(updateTimestamp)}};
}

bool ConversationMuteStatusUpdate::fromJson(const QJsonObject& object)
{
    const ControlBodyReader reader(object, "ConversationMuteStatusUpdate");
    conversationId = reader.text(ConversationId);
    const QString typeText = reader.text(ConversationTypeKey);
    conversationType = ConversationType::toConversationType(typeText);
    if (conversationType == ConversationType::NONE && !typeText.isEmpty())
        L_WARN(QStringLiteral("ConversationMuteStatusUpdate::fromJson | unknown type: ") +
               typeText);
    muteStatus = reader.text(MuteStatus) == QLatin1String("MUTE");
    updateTimestamp = reader.timestamp(UpdateTimestamp);
    return !isEmpty();
}
