#include "model/lvrequest.h"

void LVRequest::addMessageId(const QString& messageId)
{
    if (!messageIds.contains(messageId))
        messageIds.append(messageId);
}

void LVRequest::addMessageIds(const QStringList& ids)
{
    for (const QString& id : ids)
        addMessageId(id);
}
