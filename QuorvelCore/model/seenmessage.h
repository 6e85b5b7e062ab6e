#ifndef SEENMESSAGE_H
#define SEENMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// Body of a SEEN control message: which messages of a chat the peer has seen.
// The chat id is the carrying message's and is not part of the body's JSON.
class QUORVELCORE_EXPORT SeenMessage : public AbstractJsonable
{
public:
    SeenMessage() = default;

    void clear() override;
    bool isEmpty() const override;
    // "MESSAGE_IDS" when there are ids, otherwise "SECONDARY_MESSAGE_ID";
    // always "SEEN_TIME_IN_GMT" as decimal text.
    QJsonObject toJson() const override;
    // Returns whether the body is usable (not isEmpty()).
    bool fromJson(const QJsonObject& object) override;
    // toJson() plus "FROM" = chat id, for log output.
    QJsonObject toDebugJson() const;

    void setSeenVariables(const QString& chatId, const QString& messageId,
                          const QStringList& messageIds);
    QString getMessageIdsString() const;

    QString getChatId() const { return chatId; }
    void setChatId(const QString& value) { chatId = value; }
    QStringList getMessageIds() const { return messageIds; }
    void setMessageIds(const QStringList& value) { messageIds = value; }
    QString getMessageId() const { return messageId; }
    void setMessageId(const QString& value) { messageId = value; }
    qint64 getSeenTimeInGMT() const { return seenTimeInGMT; }
    void setSeenTimeInGMT(qint64 value) { seenTimeInGMT = value; }

private:
    QString chatId;
    QStringList messageIds;
    QString messageId;
    qint64 seenTimeInGMT = 0;
};

Q_DECLARE_METATYPE(SeenMessage)

#endif // SEENMESSAGE_H
