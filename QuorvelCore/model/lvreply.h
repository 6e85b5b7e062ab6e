#ifndef LVREPLY_H
#define LVREPLY_H

#include "foundation/quorvelcore_export.h"
#include "model/lvrequest.h"

#include <QHash>
#include <QMetaType>
#include <QString>

// The like counts answering an LVRequest, by message id.
class QUORVELCORE_EXPORT LVReply
{
public:
    LVReply() = default;
    explicit LVReply(const LVRequest& request) : request(request) {}

    void addResult(const QString& messageId, int count) { result.insert(messageId, count); }
    int getLikeCount(const QString& messageId) const { return result.value(messageId, 0); }

    QHash<QString, int> getResult() const { return result; }
    void setResult(const QHash<QString, int>& value) { result = value; }
    LVRequest getRequest() const { return request; }
    void setRequest(const LVRequest& value) { request = value; }
    QString getChatId() const { return request.getChatId(); }

    void clear()
    {
        request.clear();
        result.clear();
    }
    void clearRequest() { request.clear(); }
    void clearResults() { result.clear(); }
    bool isEmpty() const { return request.isEmpty() || result.isEmpty(); }
    bool isValid() const { return !isEmpty(); }

    bool operator==(const LVReply& other) const
    {
        return request == other.request && result == other.result;
    }

private:
    LVRequest request;
    QHash<QString, int> result;
};

Q_DECLARE_METATYPE(LVReply)

#endif // LVREPLY_H
