#include "httpsservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

namespace {

// How long a refused peer must stay silent before its connection is closed.
constexpr int kLingerQuietMs = 200;
// What one turn of the event loop reads off a connection, and answers.
constexpr int kReadSlice = 256 * 1024;
constexpr int kRequestsPerTurn = 32;
// Unsent answers beyond which a connection is not read; reading resumes
// once they are below half of it.
constexpr qint64 kMaxUnsent = 2 * 1024 * 1024;
// A connection still without TLS this long counts as idle.
constexpr int kHandshakeGraceMs = 2000;

qint64 unsent(const QSslSocket* socket)
{
    return socket->bytesToWrite() + socket->encryptedBytesToWrite();
}

// IPv4 peers reached over an IPv6 socket count as the IPv4 address.
QHostAddress plainAddress(const QHostAddress& address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

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
    case 408:
        return "Request Timeout";
    case 413:
        return "Payload Too Large";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

HttpsService::HttpsService(const ServiceCertificates& certificates, QObject* parent)
    : QTcpServer(parent), certificates(certificates), sweep(new QTimer(this))
{
    connect(sweep, &QTimer::timeout, this, &HttpsService::sweepConnections);
    restartSweep();
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

void HttpsService::setRequestTimeout(int msecs)
{
    requestTimeout = msecs;
    restartSweep();
}

void HttpsService::setIdleTimeout(int msecs)
{
    idleTimeout = msecs;
    restartSweep();
}

void HttpsService::setHandshakeTimeout(int msecs)
{
    handshakeTimeout = msecs;
    restartSweep();
}

void HttpsService::setMaxBodySize(qint64 bytes)
{
    maxBodySize = bytes;
    for (Connection& connection : connections)
        connection.parser.setMaxBodySize(bytes);
}

void HttpsService::restartSweep()
{
    // Often enough that a connection outlives its time-out by a quarter at most.
    sweep->start(qBound(20, qMin(qMin(requestTimeout, idleTimeout), handshakeTimeout) / 4, 1000));
}

void HttpsService::closeNow(QSslSocket* socket)
{
    if (connections.contains(socket))
        connections[socket].closing = true;
    socket->abort();
    socketClosed(socket);
}

void HttpsService::sweepConnections()
{
    const QList<QSslSocket*> sockets = connections.keys();
    for (QSslSocket* socket : sockets) {
        auto it = connections.find(socket);
        if (it == connections.end())
            continue;
        if (it->closing) {
            // An answer the peer never reads keeps no connection open.
            if (it->refusedAt.hasExpired(requestTimeout)) {
                socket->abort();
                socketClosed(socket);
            } else if (it->since.hasExpired(kLingerQuietMs) &&
                       socket->state() == QAbstractSocket::ConnectedState) {
                socket->disconnectFromHost();
            }
            continue;
        }
        if (!it->encrypted) {
            if (it->opened.hasExpired(handshakeTimeout))
                closeNow(socket);
            continue;
        }
        if (it->busy)
            continue;
        if (it->reading && it->since.hasExpired(requestTimeout))
            refuse(socket, 408, QStringLiteral("request not finished in time"));
        else if (!it->reading && it->since.hasExpired(idleTimeout))
            closeNow(socket);
    }
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

int HttpsService::requestsInProgress() const
{
    int count = 0;
    for (const Connection& connection : connections)
        count += !connection.closing && (connection.busy || connection.parser.inProgress()) ? 1 : 0;
    return count;
}

bool HttpsService::isIdle(const Connection& connection) const
{
    if (connection.closing)
        return true;
    if (!connection.encrypted)
        return connection.opened.hasExpired(kHandshakeGraceMs);
    return !connection.busy && !connection.parser.inProgress();
}

bool HttpsService::makeRoomFor(const QHostAddress& peer)
{
    for (;;) {
        int fromPeer = 0;
        for (const Connection& open : qAsConst(connections))
            fromPeer += open.peer == peer ? 1 : 0;
        const bool peerFull = fromPeer >= maxPerPeer;
        if (!peerFull && connections.size() < maxTotal)
            return true;
        QSslSocket* oldest = nullptr;
        qint64 oldestAge = -1;
        for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
            if ((peerFull && it->peer != peer) || !isIdle(it.value()))
                continue;
            const qint64 age = it->since.elapsed();
            if (age > oldestAge) {
                oldest = it.key();
                oldestAge = age;
            }
        }
        if (!oldest)
            return false;
        ++evictions;
        closeNow(oldest);
    }
}

void HttpsService::incomingConnection(qintptr socketDescriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    Connection connection;
    connection.peer = plainAddress(socket->peerAddress());
    connection.parser.setMaxBodySize(maxBodySize);
    connection.opened.start();
    connection.since.start();
    if (maxPerPeer <= 0 || maxTotal <= 0 || !makeRoomFor(connection.peer)) {
        ++refusals;
        socket->abort();
        delete socket;
        return;
    }
    connections.insert(socket, connection);
    // Qt reads no more off the connection than one slice ahead of the reader.
    socket->setReadBufferSize(kReadSlice);
    socket->setLocalCertificate(certificates.serverCertificate());
    socket->setPrivateKey(certificates.serverKey());
    socket->setProtocol(QSsl::TlsV1_2OrLater);
    connect(socket, &QSslSocket::encrypted, this, [this, socket] {
        if (connections.contains(socket)) {
            connections[socket].encrypted = true;
            connections[socket].since.start();
        }
    });
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequests(socket); });
    connect(socket, &QSslSocket::bytesWritten, this, [this, socket] { answersWritten(socket); });
    connect(socket, &QSslSocket::encryptedBytesWritten, this,
            [this, socket] { answersWritten(socket); });
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

void HttpsService::refuse(QSslSocket* socket, int status, const QString& reason)
{
    ServiceReply refusal = ServiceReply::result(status, {{"ResultMessage", reason}});
    refusal.status = status;
    emit requestAnswered(ServiceRequest(), refusal);
    writeReply(socket, refusal, true);
    // Closing now, with the rest of the request unread, would reset the
    // connection and could throw the refusal away before the peer read it.
    if (connections.contains(socket)) {
        Connection& connection = connections[socket];
        connection.parser.reset();
        connection.busy = true;
        connection.paused = false;
        connection.closing = true;
        connection.since.start();
        connection.refusedAt.start();
    }
}

void HttpsService::scheduleRead(QSslSocket* socket)
{
    Connection& connection = connections[socket];
    if (connection.scheduled)
        return;
    connection.scheduled = true;
    QPointer<QSslSocket> guard(socket);
    QMetaObject::invokeMethod(
        this,
        [this, guard] {
            if (!guard || !connections.contains(guard.data()))
                return;
            connections[guard.data()].scheduled = false;
            readRequests(guard.data());
        },
        Qt::QueuedConnection);
}

void HttpsService::answersWritten(QSslSocket* socket)
{
    auto it = connections.find(socket);
    if (it == connections.end() || !it->paused || unsent(socket) > kMaxUnsent / 2)
        return;
    it->paused = false;
    scheduleRead(socket);
}

void HttpsService::readRequests(QSslSocket* socket)
{
    if (!connections.contains(socket))
        return;
    if (connections[socket].closing) {
        socket->read(kReadSlice);
        connections[socket].since.start();
        if (socket->bytesAvailable() > 0)
            scheduleRead(socket);
        return;
    }
    if (connections[socket].busy || connections[socket].paused)
        return;
    // Requests already read come first: the reader never holds much more than a slice.
    HttpRequestParser& parser = connections[socket].parser;
    if (parser.unread() < kReadSlice)
        parser.append(socket->read(kReadSlice - parser.unread()));
    int answered = 0;
    while (connections.contains(socket)) {
        Connection& connection = connections[socket];
        if (connection.busy || connection.paused)
            return;
        if (answered == kRequestsPerTurn) {
            // The rest waits for the next turn, after the other connections.
            scheduleRead(socket);
            return;
        }
        ServiceRequest request;
        const HttpRequestParser::Outcome outcome = connection.parser.next(&request);
        if (outcome == HttpRequestParser::Outcome::Incomplete) {
            // The request time-out runs from the request's first byte.
            if (connection.parser.inProgress() && !connection.reading) {
                connection.reading = true;
                connection.since.start();
            }
            if (socket->bytesAvailable() > 0)
                scheduleRead(socket);
            return;
        }
        if (outcome == HttpRequestParser::Outcome::Refused) {
            refuse(socket, connection.parser.refusalStatus(), connection.parser.refusalReason());
            return;
        }
        ++answered;
        connection.reading = false;
        connection.since.start();
        int logIndex = -1;
        if (keepRequests) {
            log << request;
            logIndex = log.size() - 1;
        }
        emit requestReceived(request);
        const ServiceReply reply = replyFor(request);
        emit requestAnswered(request, reply);
        if (!connections.contains(socket))
            return;
        if (reply.dropConnection) {
            socket->abort();
            return;
        }
        if (reply.delayMs <= 0) {
            writeReply(socket, reply);
            Connection& after = connections[socket];
            after.since.start();
            if (unsent(socket) > kMaxUnsent)
                after.paused = true;
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
            connections[guard.data()].since.start();
            readRequests(guard.data());
        });
        return;
    }
}

void HttpsService::writeReply(QSslSocket* socket, const ServiceReply& reply, bool lastOnConnection)
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
    out += lastOnConnection ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
    out += reply.body;
    socket->write(out);
}
