#ifndef CHANNELEDITMESSAGE_H
#define CHANNELEDITMESSAGE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"

#include <QMetaType>
#include <QString>

// Body of a CHANNEL_MESSAGE_EDITED message: the new content of a channel post.
class QUORVELCORE_EXPORT ChannelEditMessage : public AbstractJsonable
{
public:
    ChannelEditMessage() = default;

    void clear() override;
    bool isEmpty() const override;
    // "UPDATE_TIMESTAMP" goes out as a JSON number.
    QJsonObject toJson() const override;
    // "UPDATE_TIMESTAMP" is read as a number or as decimal text.
    bool fromJson(const QJsonObject& object) override;

    QString getChannelId() const { return channelId; }
    void setChannelId(const QString& value) { channelId = value; }
    QString getOriginalMessageId() const { return originalMessageId; }
    void setOriginalMessageId(const QString& value) { originalMessageId = value; }
    // Same id under the name the managers use.
    QString getMessageId() const { return originalMessageId; }
    QString getMessageContent() const { return messageContent; }
    void setMessageContent(const QString& value) { messageContent = value; }
    qint64 getUpdateTimestamp() const { return updateTimestamp; }
    void setUpdateTimestamp(qint64 value) { updateTimestamp = value; }

private:
    QString channelId;
    QString originalMessageId;
    QString messageContent;
    qint64 updateTimestamp = 0;
};

Q_DECLARE_METATYPE(ChannelEditMessage)

#endif // CHANNELEDITMESSAGE_H
