#ifndef CONVERSATIONMUTESTATUSUPDATE_H
#define CONVERSATIONMUTESTATUSUPDATE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"
#include "model/conversationtype.h"

#include <QMetaType>
#include <QString>

// Body of an UPDATE_CONVERSATION_MUTE_STATUS control message, which the user's
// other devices receive when a conversation is muted or unmuted.
class QUORVELCORE_EXPORT ConversationMuteStatusUpdate : public AbstractJsonable
{
public:
    ConversationMuteStatusUpdate() = default;
    ConversationMuteStatusUpdate(const ConversationMuteStatusUpdate& other) { fromOther(other); }
    ConversationMuteStatusUpdate& operator=(const ConversationMuteStatusUpdate& other);

    void fromOther(const ConversationMuteStatusUpdate& other);

    void clear() override;
    bool isEmpty() const override;
    QJsonObject toJson() const override;
    // Returns whether the body is usable (not isEmpty()).
    bool fromJson(const QJsonObject& object) override;

    ConversationType::Type getConversationType() const { return conversationType; }
    void setConversationType(ConversationType::Type value) { conversationType = value; }
    QString getConversationId() const { return conversationId; }
    void setConversationId(const QString& value) { conversationId = value; }
    bool getMuteStatus() const { return muteStatus; }
    void setMuteStatus(bool value) { muteStatus = value; }
    qint64 getUpdateTimestamp() const { return updateTimestamp; }
    void setUpdateTimestamp(qint64 value) { updateTimestamp = value; }

private:
    ConversationType::Type conversationType = ConversationType::NONE;
    QString conversationId;
    bool muteStatus = false;
    qint64 updateTimestamp = 0;
};

Q_DECLARE_METATYPE(ConversationMuteStatusUpdate)

#endif // CONVERSATIONMUTESTATUSUPDATE_H
