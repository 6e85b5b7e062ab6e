#include "httprequestparser.h"

namespace {

// A chunk-size line: hexadecimal digits only (optionally followed by chunk
// extensions after ';'), at most 15 of them so the value fits in 64 bits.
bool readChunkSize(const QByteArray& line, qint64* size)
{
    const QByteArray digits = line.split(';').value(0).trimmed();
    if (digits.isEmpty() || digits.size() > 15)
        return false;
    for (const char c : digits) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return false;
    }
    bool ok = false;
    *size = digits.toLongLong(&ok, 16);
    return ok && *size >= 0;
}

// A Content-Length value: decimal digits only.
bool readContentLength(const QByteArray& text, qint64* length)
{
    const QByteArray digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return false;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    bool ok = false;
    *length = digits.toLongLong(&ok);
    return ok;
}

} // namespace

HttpRequestParser::Outcome HttpRequestParser::refuse(int code, const QString& why)
{
    status = code;
    reason = why;
    return Outcome::Refused;
}

HttpRequestParser::Outcome HttpRequestParser::take(QByteArray* buffer, ServiceRequest* request)
{
    const int headerEnd = buffer->indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return buffer->size() > kMaxHeadSize ? refuse(413, QStringLiteral("request head too large"))
                                             : Outcome::Incomplete;
    }
    if (headerEnd > kMaxHeadSize)
        return refuse(413, QStringLiteral("request head too large"));
    const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || requestLine.at(0).isEmpty() ||
        !requestLine.at(2).startsWith("HTTP/1."))
        return refuse(400, QStringLiteral("malformed request line"));
    ServiceRequest parsed;
    parsed.method = requestLine.value(0);
    const QByteArray target = requestLine.value(1);
    const int queryStart = target.indexOf('?');
    QByteArray path = queryStart < 0 ? target : target.left(queryStart);
    if (path.startsWith('/'))
        path.remove(0, 1);
    parsed.path = QString::fromLatin1(path);
    if (queryStart >= 0)
        parsed.query = QString::fromLatin1(target.mid(queryStart + 1));
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            parsed.headers.insert(line.left(colon).trimmed().toLower(),
                                  line.mid(colon + 1).trimmed());
    }
    const int bodyStart = headerEnd + 4;
    int consumed = bodyStart;
    if (parsed.header("transfer-encoding").toLower().contains("chunked")) {
        const Outcome body = takeChunkedBody(*buffer, bodyStart, &parsed.body, &consumed);
        if (body != Outcome::Complete)
            return body;
    } else {
        qint64 length = 0;
        const QByteArray lengthText = parsed.header("content-length");
        if (!lengthText.isEmpty() && !readContentLength(lengthText, &length))
            return refuse(400, QStringLiteral("malformed Content-Length"));
        if (length > maxBody)
            return refuse(413, QStringLiteral("request too large"));
        if (buffer->size() < bodyStart + length)
            return Outcome::Incomplete;
        parsed.body = buffer->mid(bodyStart, int(length));
        consumed = bodyStart + int(length);
    }
    buffer->remove(0, consumed);
    *request = parsed;
    return Outcome::Complete;
}

HttpRequestParser::Outcome HttpRequestParser::takeChunkedBody(const QByteArray& buffer, int start,
                                                              QByteArray* body, int* consumed)
{
    qint64 position = start;
    body->clear();
    for (;;) {
        const int lineEnd = buffer.indexOf("\r\n", int(position));
        if (lineEnd < 0) {
            // A size line never needs more than a few dozen bytes.
            return buffer.size() - position > 1024
                       ? refuse(400, QStringLiteral("malformed chunk size"))
                       : Outcome::Incomplete;
        }
        qint64 size = 0;
        if (!readChunkSize(buffer.mid(int(position), lineEnd - int(position)), &size))
            return refuse(400, QStringLiteral("malformed chunk size"));
        if (size > maxBody - body->size())
            return refuse(400, QStringLiteral("chunk size beyond the body limit"));
        position = lineEnd + 2;
        if (size == 0) {
            // Trailer lines, if any, up to the empty line.
            for (;;) {
                const int trailerEnd = buffer.indexOf("\r\n", int(position));
                if (trailerEnd < 0)
                    return buffer.size() - position > kMaxHeadSize
                               ? refuse(400, QStringLiteral("trailer too large"))
                               : Outcome::Incomplete;
                const bool last = trailerEnd == position;
                position = trailerEnd + 2;
                if (last) {
                    *consumed = int(position);
                    return Outcome::Complete;
                }
            }
        }
        if (buffer.size() < position + size + 2)
            return Outcome::Incomplete;
        if (buffer.mid(int(position + size), 2) != "\r\n")
            return refuse(400, QStringLiteral("chunk not ended by CRLF"));
        body->append(buffer.mid(int(position), int(size)));
        position += size + 2;
    }
}
