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

void HttpsService::restartSweep()
{
    // Often enough that a connection outlives its time-out by a quarter at most.
    sweep->start(qBound(20, qMin(requestTimeout, idleTimeout) / 4, 1000));
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
        if (it->busy)
            continue;
        if (it->reading && it->since.hasExpired(requestTimeout)) {
            refuse(socket, 408, QStringLiteral("request not finished in time"));
        } else if (!it->reading && it->since.hasExpired(idleTimeout)) {
            it->closing = true;
            socket->abort();
            socketClosed(socket);
        }
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

void HttpsService::incomingConnection(qintptr socketDescriptor)
{
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    Connection connection;
    connection.peer = socket->peerAddress();
    connection.since.start();
    int fromPeer = 0;
    for (const Connection& open : qAsConst(connections))
        fromPeer += open.peer == connection.peer ? 1 : 0;
    if (fromPeer >= maxPerPeer) {
        socket->abort();
        delete socket;
        return;
    }
    connections.insert(socket, connection);
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
        connection.buffer.clear();
        connection.busy = true;
        connection.closing = true;
        connection.since.start();
        connection.refusedAt.start();
    }
}

void HttpsService::readRequests(QSslSocket* socket)
{
    if (!connections.contains(socket))
        return;
    if (connections[socket].closing) {
        socket->readAll();
        connections[socket].since.start();
        return;
    }
    connections[socket].buffer.append(socket->readAll());
    while (connections.contains(socket) && !connections[socket].busy) {
        Connection& connection = connections[socket];
        ServiceRequest request;
        const HttpRequestParser::Outcome outcome = parser.take(&connection.buffer, &request);
        if (outcome == HttpRequestParser::Outcome::Incomplete) {
            // The request time-out runs from the request's first byte.
            if (!connection.buffer.isEmpty() && !connection.reading) {
                connection.reading = true;
                connection.since.start();
            }
            return;
        }
        if (outcome == HttpRequestParser::Outcome::Refused) {
            refuse(socket, parser.refusalStatus(), parser.refusalReason());
            return;
        }
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
            connections[socket].since.start();
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
