#ifndef HTTPREQUESTPARSER_H
#define HTTPREQUESTPARSER_H

#include "servicerequest.h"

#include <QByteArray>
#include <QString>

// Takes HTTP/1.1 requests off a connection's buffer, one at a time, within
// limits: a head of at most 64 KiB and a body (plain or chunked) of at most
// the given size. A request that breaks the rules is refused with the status
// to answer (400 for a malformed head, length or chunk size, 413 for one that
// is too large) instead of being waited for.
class HttpRequestParser
{
public:
    enum class Outcome
    {
        Incomplete,
        Complete,
        Refused
    };

    explicit HttpRequestParser(qint64 maxBodySize = 64 * 1024 * 1024) : maxBody(maxBodySize) {}
    void setMaxBodySize(qint64 bytes) { maxBody = bytes; }
    qint64 maxBodySize() const { return maxBody; }

    // Complete: the request is filled in and taken off the buffer. Refused:
    // refusalStatus() and refusalReason() say why; the buffer is left as it is.
    Outcome take(QByteArray* buffer, ServiceRequest* request);
    int refusalStatus() const { return status; }
    QString refusalReason() const { return reason; }

    static const int kMaxHeadSize = 64 * 1024;

private:
    Outcome refuse(int code, const QString& why);
    Outcome takeChunkedBody(const QByteArray& buffer, int start, QByteArray* body, int* consumed);

    qint64 maxBody;
    int status = 0;
    QString reason;
};

#endif // HTTPREQUESTPARSER_H
