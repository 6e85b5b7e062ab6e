#include "fakewebservice.h"

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

FakeWebService::FakeWebService(const TestCertificates& certificates, QObject* parent)
    : QTcpServer(parent), certificates(certificates)
{
}

FakeWebService::~FakeWebService()
{
    const QList<QSslSocket*> sockets = connections.keys();
    connections.clear();
    for (QSslSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool FakeWebService::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

QString FakeWebService::baseUrl() const
{
    return QStringLiteral("https://127.0.0.1:%1/").arg(serverPort());
}

void FakeWebService::setHandler(const QString& path, Handler handler)
{
    handlers.insert(path, std::move(handler));
}

void FakeWebService::setPrefixHandler(const QString& prefix, Handler handler)
{
    prefixHandlers.insert(prefix, std::move(handler));
}

void FakeWebService::enqueueReply(const QString& path, const FakeReply& reply)
{
    scripted[path].enqueue(reply);
}

void FakeWebService::clearScriptedReplies()
{
    scripted.clear();
}

QList<FakeRequest> FakeWebService::requestsFor(const QString& path) const
{
    QList<FakeRequest> out;
    for (const FakeRequest& request : log) {
        if (request.path == path)
            out << request;
    }
    return out;
}

bool FakeWebService::waitForRequests(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (log.size() < count && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return log.size() >= count;
}

void FakeWebService::incomingConnection(qintptr socketDescriptor)
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

void FakeWebService::socketClosed(QSslSocket* socket)
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

bool FakeWebService::parseRequest(QByteArray* buffer, FakeRequest* request)
{
    const int headerEnd = buffer->indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return false;
    const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    FakeRequest parsed;
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
        if (!takeChunkedBody(buffer, bodyStart, &parsed.body, &consumed))
            return false;
    } else {
        const int length = parsed.header("content-length").toInt();
        if (buffer->size() < bodyStart + length)
            return false;
        parsed.body = buffer->mid(bodyStart, length);
        consumed = bodyStart + length;
    }
    buffer->remove(0, consumed);
    *request = parsed;
    return true;
}

FakeReply FakeWebService::replyFor(const FakeRequest& request)
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
    return FakeReply::result(404,
                             {{QStringLiteral("ResultMessage"), QStringLiteral("no handler")}});
}

void FakeWebService::readRequests(QSslSocket* socket)
{
    if (!connections.contains(socket))
        return;
    connections[socket].buffer.append(socket->readAll());
    while (connections.contains(socket) && !connections[socket].busy) {
        FakeRequest request;
        if (!parseRequest(&connections[socket].buffer, &request))
            return;
        log << request;
        const int logIndex = log.size() - 1;
        emit requestReceived(request);
        const FakeReply reply = replyFor(request);
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

void FakeWebService::writeReply(QSslSocket* socket, const FakeReply& reply)
{
    if (reply.writer) {
        reply.writer(socket);
        return;
    }
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    out += "Content-Type: " + reply.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "Connection: keep-alive\r\n\r\n";
    out += reply.body;
    socket->write(out);
}
