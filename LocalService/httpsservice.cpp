#include "httpsservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 413:
        return "Payload Too Large";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

// Decodes a chunked body; false while it is incomplete.
bool takeChunkedBody(QByteArray* buffer, int start, QByteArray* body, int* consumed)
{
    int position = start;
    body->clear();
    for (;;) {
        const int lineEnd = buffer->indexOf("\r\n", position);
        if (lineEnd < 0)
            return false;
        bool ok = false;
        const int size =
            buffer->mid(position, lineEnd - position).split(';').value(0).trimmed().toInt(&ok, 16);
        if (!ok)
            return false;
        position = lineEnd + 2;
        if (size == 0) {
            const int trailerEnd = buffer->indexOf("\r\n", position);
            if (trailerEnd < 0)
                return false;
            *consumed = trailerEnd + 2;
            return true;
        }
        if (buffer->size() < position + size + 2)
            return false;
        body->append(buffer->mid(position, size));
        position += size + 2;
    }
}

} // namespace

HttpsService::HttpsService(const ServiceCertificates& certificates, QObject* parent)
    : QTcpServer(parent), certificates(certificates)
{
}

HttpsService::~HttpsService()
{
    const QList<QSslSocket*> sockets = connections.keys();
    connections.clear();
    for (QSslSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool HttpsService::start(quint16 port)
{
    return listen(QHostAddress::LocalHost, port);
}

QString HttpsService::baseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1/").arg(serverPort());
}

void HttpsService::setHandler(const QString& path, Handler handler)
{
    handlers.insert(path, std::move(handler));
}

void HttpsService::setPrefixHandler(const QString& prefix, Handler handler)
{
    prefixHandlers.insert(prefix, std::move(handler));
}

void HttpsService::enqueueReply(const QString& path, const ServiceReply& reply)
{
    scripted[path].enqueue(reply);
}

void HttpsService::clearScriptedReplies()
{
    scripted.clear();
}

QList<ServiceRequest> HttpsService::requestsFor(const QString& path) const
{
    QList<ServiceRequest> out;
    for (const ServiceRequest& request : log) {
        if (request.path == path)
            out << request;
    }
    return out;
}

bool HttpsService::waitForRequests(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (log.size() < count && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return log.size() >= count;
}

void HttpsService::incomingConnection(qintptr socketDescriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    connections.insert(socket, Connection());
    socket->setLocalCertificate(certificates.serverCertificate());
    socket->setPrivateKey(certificates.serverKey());
    socket->setProtocol(QSsl::TlsV1_2OrLater);
    connect(socket, &QSslSocket::encrypted, this, [this, socket] {
        if (connections.contains(socket))
            connections[socket].encrypted = true;
    });
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequests(socket); });
    connect(socket, &QSslSocket::disconnected, this, [this, socket] { socketClosed(socket); });
    connect(socket, &QSslSocket::errorOccurred, this, [this, socket] {
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socketClosed(socket);
    });
    socket->startServerEncryption();
}

void HttpsService::socketClosed(QSslSocket* socket)
{
    if (!connections.contains(socket))
        return;
    const Connection connection = connections.take(socket);
    if (!connection.encrypted)
        ++handshakeFailures;
    if (connection.busy && connection.pendingLogIndex >= 0 &&
        connection.pendingLogIndex < log.size())
        log[connection.pendingLogIndex].closedByClient = true;
    socket->deleteLater();
}

HttpsService::Parse HttpsService::parseRequest(QByteArray* buffer, ServiceRequest* request) const
{
    const int maxHead = 64 * 1024;
    const int headerEnd = buffer->indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return buffer->size() > maxHead ? Parse::TooLarge : Parse::Incomplete;
    if (headerEnd > maxHead)
        return Parse::TooLarge;
    const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
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
        if (buffer->size() - bodyStart > maxBodySize + 64 * 1024)
            return Parse::TooLarge;
        if (!takeChunkedBody(buffer, bodyStart, &parsed.body, &consumed))
            return Parse::Incomplete;
    } else {
        bool ok = true;
        const QByteArray lengthText = parsed.header("content-length");
        const qint64 length = lengthText.isEmpty() ? 0 : lengthText.toLongLong(&ok);
        if (!ok || length < 0 || length > maxBodySize)
            return Parse::TooLarge;
        if (buffer->size() < bodyStart + length)
            return Parse::Incomplete;
        parsed.body = buffer->mid(bodyStart, length);
        consumed = bodyStart + length;
    }
    buffer->remove(0, consumed);
    *request = parsed;
    return Parse::Complete;
}

ServiceReply HttpsService::replyFor(const ServiceRequest& request)
{
    auto script = scripted.find(request.path);
    if (script != scripted.end() && !script->isEmpty())
        return script->dequeue();
    const auto exact = handlers.constFind(request.path);
    if (exact != handlers.constEnd())
        return exact.value()(request);
    // QMap is sorted: the last matching key is the longest prefix.
    const Handler* best = nullptr;
    int bestLength = -1;
    for (auto it = prefixHandlers.constBegin(); it != prefixHandlers.constEnd(); ++it) {
        if (request.path.startsWith(it.key()) && it.key().size() > bestLength) {
            best = &it.value();
            bestLength = it.key().size();
        }
    }
    if (best)
        return (*best)(request);
    return ServiceReply::result(404,
                                {{QStringLiteral("ResultMessage"), QStringLiteral("no handler")}});
}

void HttpsService::readRequests(QSslSocket* socket)
{
    if (!connections.contains(socket))
        return;
    connections[socket].buffer.append(socket->readAll());
    while (connections.contains(socket) && !connections[socket].busy) {
        ServiceRequest request;
        const Parse parse = parseRequest(&connections[socket].buffer, &request);
        if (parse == Parse::Incomplete)
            return;
        if (parse == Parse::TooLarge) {
            ServiceReply refusal =
                ServiceReply::result(413, {{"ResultMessage", "request too large"}});
            refusal.status = 413;
            emit requestAnswered(ServiceRequest(), refusal);
            writeReply(socket, refusal);
            socket->disconnectFromHost();
            connections[socket].buffer.clear();
            connections[socket].busy = true;
            return;
        }
        int logIndex = -1;
        if (keepRequests) {
            log << request;
            logIndex = log.size() - 1;
        }
        emit requestReceived(request);
        const ServiceReply reply = replyFor(request);
        emit requestAnswered(request, reply);
        if (reply.dropConnection) {
            socket->abort();
            return;
        }
        if (reply.delayMs <= 0) {
            writeReply(socket, reply);
            continue;
        }
        connections[socket].busy = true;
        connections[socket].pendingLogIndex = logIndex;
        QPointer<QSslSocket> guard(socket);
        QTimer::singleShot(reply.delayMs, this, [this, guard, reply] {
            if (!guard || !connections.contains(guard.data()))
                return;
            connections[guard.data()].busy = false;
            connections[guard.data()].pendingLogIndex = -1;
            writeReply(guard.data(), reply);
            readRequests(guard.data());
        });
        return;
    }
}

void HttpsService::writeReply(QSslSocket* socket, const ServiceReply& reply)
{
    if (reply.writer) {
        reply.writer(socket);
        return;
    }
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    out += "Content-Type: " + reply.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    for (auto it = reply.headers.constBegin(); it != reply.headers.constEnd(); ++it)
        out += it.key() + ": " + it.value() + "\r\n";
    out += "Connection: keep-alive\r\n\r\n";
    out += reply.body;
    socket->write(out);
}
