#include "httprequestparser.h"

#include <cstring>

namespace {

// A chunk-size line is a few dozen bytes at most.
constexpr int kMaxChunkLine = 1024;

bool isTokenChar(char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return c != '\0' && std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

// A method or header name: one or more token characters, nothing else.
bool isToken(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        if (!isTokenChar(c))
            return false;
    }
    return true;
}

// A chunk-size line: hexadecimal digits only (optionally followed by chunk
// extensions after ';'), at most 15 of them so the value fits in 64 bits.
bool readChunkSize(const QByteArray& line, qint64* size)
{
    const int semicolon = line.indexOf(';');
    const QByteArray digits = (semicolon < 0 ? line : line.left(semicolon)).trimmed();
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

void HttpRequestParser::append(const QByteArray& bytes)
{
    if (stage == Stage::Refused)
        return;
    compact();
    buffer.append(bytes);
}

void HttpRequestParser::reset()
{
    buffer.clear();
    position = 0;
    headScanned = 0;
    stage = Stage::Head;
    current = ServiceRequest();
    remaining = 0;
    line.clear();
    trailerBytes = 0;
    status = 0;
    reason.clear();
}

void HttpRequestParser::compact()
{
    // What was taken is dropped once it is at least half of the buffer, so
    // moving the rest down costs no more than the bytes taken.
    if (position > 0 && position >= buffer.size() / 2) {
        buffer.remove(0, position);
        position = 0;
    }
}

HttpRequestParser::Outcome HttpRequestParser::refuse(int code, const QString& why)
{
    status = code;
    reason = why;
    stage = Stage::Refused;
    buffer.clear();
    position = 0;
    line.clear();
    current = ServiceRequest();
    return Outcome::Refused;
}

HttpRequestParser::Outcome HttpRequestParser::next(ServiceRequest* request)
{
    if (stage == Stage::Refused)
        return Outcome::Refused;
    if (stage == Stage::Head) {
        const Outcome head = readHead();
        if (head != Outcome::Complete)
            return head;
    }
    if (stage == Stage::Body) {
        const int taken = int(qMin<qint64>(remaining, unread()));
        current.body.append(buffer.constData() + position, taken);
        position += taken;
        remaining -= taken;
        if (remaining > 0) {
            compact();
            return Outcome::Incomplete;
        }
    } else {
        const Outcome body = readChunked();
        if (body != Outcome::Complete) {
            if (body == Outcome::Incomplete)
                compact();
            return body;
        }
    }
    *request = current;
    current = ServiceRequest();
    stage = Stage::Head;
    headScanned = 0;
    return Outcome::Complete;
}

HttpRequestParser::Outcome HttpRequestParser::readHead()
{
    // The end of the head may straddle the bytes already searched.
    const int from = position + qMax(0, headScanned - 3);
    const int end = buffer.indexOf("\r\n\r\n", from);
    if (end < 0) {
        headScanned = unread();
        return unread() > kMaxHeadSize ? refuse(413, QStringLiteral("request head too large"))
                                       : Outcome::Incomplete;
    }
    if (end - position > kMaxHeadSize)
        return refuse(413, QStringLiteral("request head too large"));
    const QList<QByteArray> lines = buffer.mid(position, end - position).split('\n');
    position = end + 4;
    headScanned = 0;

    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || requestLine.at(1).isEmpty() ||
        !requestLine.at(2).startsWith("HTTP/1."))
        return refuse(400, QStringLiteral("malformed request line"));
    if (!isToken(requestLine.at(0)))
        return refuse(400, QStringLiteral("method is not a token"));
    ServiceRequest parsed;
    parsed.method = requestLine.at(0);
    const QByteArray target = requestLine.at(1);
    const int queryStart = target.indexOf('?');
    QByteArray path = queryStart < 0 ? target : target.left(queryStart);
    if (path.startsWith('/'))
        path.remove(0, 1);
    parsed.path = QString::fromLatin1(path);
    if (queryStart >= 0)
        parsed.query = QString::fromLatin1(target.mid(queryStart + 1));

    QList<QByteArray> lengths;
    QByteArray codings;
    for (int i = 1; i < lines.size(); ++i) {
        QByteArray text = lines.at(i);
        if (text.endsWith('\r'))
            text.chop(1);
        const int colon = text.indexOf(':');
        // No space before the colon, no folded continuation lines.
        if (colon <= 0 || !isToken(text.left(colon)))
            return refuse(400, QStringLiteral("malformed header line"));
        const QByteArray name = text.left(colon).toLower();
        const QByteArray value = text.mid(colon + 1).trimmed();
        if (name == "content-length")
            lengths << value;
        else if (name == "transfer-encoding")
            codings += (codings.isEmpty() ? QByteArray() : QByteArray(",")) + value;
        parsed.headers.insert(name, value);
    }

    current = parsed;
    if (!codings.isEmpty()) {
        // A length beside chunked encoding is one reader's body and another's next request.
        if (!lengths.isEmpty())
            return refuse(400, QStringLiteral("Content-Length beside Transfer-Encoding"));
        if (codings.trimmed().toLower() != "chunked")
            return refuse(400, QStringLiteral("unsupported Transfer-Encoding"));
        stage = Stage::ChunkSize;
        line.clear();
        return Outcome::Complete;
    }
    qint64 length = 0;
    for (int i = 0; i < lengths.size(); ++i) {
        qint64 value = 0;
        if (!readContentLength(lengths.at(i), &value))
            return refuse(400, QStringLiteral("malformed Content-Length"));
        if (i > 0 && value != length)
            return refuse(400, QStringLiteral("conflicting Content-Length"));
        length = value;
    }
    if (length > maxBody)
        return refuse(413, QStringLiteral("request too large"));
    stage = Stage::Body;
    remaining = length;
    return Outcome::Complete;
}

bool HttpRequestParser::readLine(int limit, bool* tooLong, bool* bareNewline)
{
    const int newline = buffer.indexOf('\n', position);
    const int end = newline < 0 ? buffer.size() : newline;
    line.append(buffer.constData() + position, end - position);
    position = newline < 0 ? end : newline + 1;
    *tooLong = line.size() > limit;
    if (newline < 0)
        return false;
    if (line.endsWith('\r'))
        line.chop(1);
    else
        *bareNewline = true;
    return true;
}

HttpRequestParser::Outcome HttpRequestParser::readChunked()
{
    for (;;) {
        switch (stage) {
        case Stage::ChunkSize: {
            bool tooLong = false;
            bool bare = false;
            const bool ended = readLine(kMaxChunkLine, &tooLong, &bare);
            if (tooLong || bare)
                return refuse(400, QStringLiteral("malformed chunk size"));
            if (!ended)
                return Outcome::Incomplete;
            qint64 size = 0;
            const bool valid = readChunkSize(line, &size);
            line.clear();
            if (!valid)
                return refuse(400, QStringLiteral("malformed chunk size"));
            if (size > maxBody - current.body.size())
                return refuse(400, QStringLiteral("chunk size beyond the body limit"));
            remaining = size;
            trailerBytes = 0;
            stage = size == 0 ? Stage::Trailer : Stage::ChunkData;
            break;
        }
        case Stage::ChunkData: {
            const int taken = int(qMin<qint64>(remaining, unread()));
            current.body.append(buffer.constData() + position, taken);
            position += taken;
            remaining -= taken;
            if (remaining > 0)
                return Outcome::Incomplete;
            stage = Stage::ChunkEnd;
            break;
        }
        case Stage::ChunkEnd:
            if (unread() < 2)
                return Outcome::Incomplete;
            if (buffer.at(position) != '\r' || buffer.at(position + 1) != '\n')
                return refuse(400, QStringLiteral("chunk not ended by CRLF"));
            position += 2;
            stage = Stage::ChunkSize;
            break;
        case Stage::Trailer: {
            // Trailer lines, if any, up to the empty line.
            bool tooLong = false;
            bool bare = false;
            const bool ended = readLine(kMaxHeadSize - trailerBytes, &tooLong, &bare);
            if (tooLong)
                return refuse(400, QStringLiteral("trailer too large"));
            if (bare)
                return refuse(400, QStringLiteral("malformed trailer"));
            if (!ended)
                return Outcome::Incomplete;
            const bool last = line.isEmpty();
            trailerBytes += line.size() + 2;
            line.clear();
            if (last)
                return Outcome::Complete;
            break;
        }
        default:
            return Outcome::Refused;
        }
    }
}
