#ifndef HTTPREQUESTPARSER_H
#define HTTPREQUESTPARSER_H

#include "servicerequest.h"

#include <QByteArray>
#include <QString>

// Reads the HTTP/1.1 requests of one connection, one at a time, within
// limits: a head of at most 64 KiB and a body (plain or chunked) of at most
// the given size. It keeps its place between reads: the head is searched
// from where the last search stopped and body bytes move into the request as
// they arrive, so each byte is looked at a bounded number of times however
// the request is cut into reads. A request that breaks the rules is refused
// with the status to answer (400 for a malformed head, method, length or
// chunk size, conflicting lengths or a length beside chunked encoding, 413
// for one that is too large) instead of being waited for.
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

    // Bytes as they came off the connection.
    void append(const QByteArray& bytes);
    // Complete: the next request is filled in and what follows it stays for
    // the next call. Refused: refusalStatus() and refusalReason() say why, and
    // the parser takes nothing more until reset().
    Outcome next(ServiceRequest* request);
    // Some bytes of a request have been read but not the whole request.
    bool inProgress() const { return stage != Stage::Head || unread() > 0; }
    // Bytes appended and not yet taken into a request.
    int unread() const { return buffer.size() - position; }
    void reset();

    int refusalStatus() const { return status; }
    QString refusalReason() const { return reason; }

    static const int kMaxHeadSize = 64 * 1024;

private:
    enum class Stage
    {
        Head,
        Body,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailer,
        Refused
    };

    Outcome refuse(int code, const QString& why);
    Outcome readHead();
    Outcome readChunked();
    // The next line (without its CRLF) into line; false when it has not ended yet.
    bool readLine(int limit, bool* tooLong, bool* bareNewline);
    void compact();

    qint64 maxBody;
    QByteArray buffer;
    int position = 0;
    int headScanned = 0;
    Stage stage = Stage::Head;
    ServiceRequest current;
    qint64 remaining = 0;
    QByteArray line;
    int trailerBytes = 0;
    int status = 0;
    QString reason;
};

#endif // HTTPREQUESTPARSER_H
