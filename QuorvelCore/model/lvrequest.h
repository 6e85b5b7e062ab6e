#ifndef LVREQUEST_H
#define LVREQUEST_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

// A request for the like counts of some messages of one chat. The adding
// operations keep the ids free of duplicates, in first-added order.
class QUORVELCORE_EXPORT LVRequest
{
public:
    LVRequest() = default;
    LVRequest(const QString& chatId, const QStringList& messageIds)
        : chatId(chatId), messageIds(messageIds)
    {
    }

    void addMessageId(const QString& messageId);
    void addMessageIds(const QStringList& ids);
    void removeMessageId(const QString& messageId) { messageIds.removeAll(messageId); }
    bool contains(const QString& messageId) const { return messageIds.contains(messageId); }
    int size() const { return messageIds.size(); }

    QStringList getMessageIds() const { return messageIds; }
    void setMessageIds(const QStringList& value) { messageIds = value; }
    QString getChatId() const { return chatId; }
    void setChatId(const QString& value) { chatId = value; }

    void clear()
    {
        chatId.clear();
        messageIds.clear();
    }
    void clearChatId() { chatId.clear(); }
    void clearMessageIds() { messageIds.clear(); }
    bool isEmpty() const { return chatId.isEmpty() || messageIds.isEmpty(); }
    bool isValid() const { return !isEmpty(); }

    bool operator==(const LVRequest& other) const
    {
        return chatId == other.chatId && messageIds == other.messageIds;
    }

private:
    QString chatId;
    QStringList messageIds;
};

Q_DECLARE_METATYPE(LVRequest)

#endif // LVREQUEST_H
