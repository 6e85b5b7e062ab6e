#include "model/messagereply.h"

#include <algorithm>

void MessageReply::addReplyMessage(const Message& message)
{
    replyMessages.insert(message.getMessageId(), message);
}

bool MessageReply::getReplyMessage(const QString& messageId, Message* out) const
{
    const auto it = replyMessages.constFind(messageId);
    if (it == replyMessages.constEnd())
        return false;
    if (out)
        *out = it.value();
    return true;
}

QList<int> MessageReply::sortTimes(const QHash<int, qint64>& times)
{
    QList<int> indices = times.keys();
    // Equal times keep their list order (stable, by index).
    std::sort(indices.begin(), indices.end());
    std::stable_sort(indices.begin(), indices.end(),
                     [&times](int a, int b) { return times.value(a) > times.value(b); });
    return indices;
}

QList<Message> MessageReply::sortMessages(const QList<Message>& messages)
{
    QHash<int, qint64> times;
    for (int i = 0; i < messages.size(); ++i)
        times.insert(i, messages.at(i).getSendTimeInGMT());
    QList<Message> sorted;
    sorted.reserve(messages.size());
    for (int index : sortTimes(times))
        sorted.append(messages.at(index));
    return sorted;
}

void MessageReply::sortAndSetMessages(const QList<Message>& messages)
{
    const QList<Message> sorted = sortMessages(messages);
    if (request.getNumber() == 0)
        request.setNumber(sorted.size());
    msgs = request.getNumber() < 0 ? QList<Message>() : sorted.mid(0, request.getNumber());
}
