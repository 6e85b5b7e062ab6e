#ifndef HTTPSSERVICE_H
#define HTTPSSERVICE_H

#include "httprequestparser.h"
#include "servicecertificates.h"
#include "servicereply.h"
#include "servicerequest.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QTcpServer>

#include <functional>

class QSslSocket;
class QTimer;

// An HTTPS/1.1 server on 127.0.0.1 only. It answers each path with a scripted
// reply (first in, first out), else with the handler registered for the path
// (exact, then the longest prefix), else 404. Requests are kept in a log (for
// tests: method, path, headers and body) unless keeping is switched off.
// Connections stay open between requests (keep-alive). A request whose head
// or body is larger than the limits is answered 413, a malformed one (request
// line, method, headers, lengths, chunk size) 400, one that is not complete
// within the request time-out 408, and each such connection is closed. No
// connection holds the event loop for long: each turn reads a bounded slice
// of a connection and answers a bounded number of its requests, and a
// connection whose unsent answers pass a bound is not read further until
// they drain. A connection idle for the idle time-out is closed, and so is
// one whose TLS handshake has not ended within the handshake time-out. Open
// connections are limited per peer address and in total; a newcomer beyond
// a limit makes room by closing the oldest idle connection (no request in
// progress, or still without TLS after a short grace), and is turned away
// only when none is idle. So no client can hold the service, bloat it or
// lock another client out.
class HttpsService : public QTcpServer
{
    Q_OBJECT
public:
    using Handler = std::function<ServiceReply(const ServiceRequest&)>;

    explicit HttpsService(const ServiceCertificates& certificates, QObject* parent = nullptr);
    ~HttpsService() override;

    // Listens on 127.0.0.1:port (0: a free port).
    bool start(quint16 port = 0);
    // "https://127.0.0.1:<port>/"
    QString baseUrl() const;

    // Paths are given without the leading "/" (e.g. "register/").
    void setHandler(const QString& path, Handler handler);
    void setPrefixHandler(const QString& prefix, Handler handler);
    void enqueueReply(const QString& path, const ServiceReply& reply);
    void clearScriptedReplies();

    QList<ServiceRequest> requests() const { return log; }
    QList<ServiceRequest> requestsFor(const QString& path) const;
    void clearRequests() { log.clear(); }
    // Off for a long-running service: requests are answered but not kept.
    void setKeepRequests(bool keep) { keepRequests = keep; }
    void setMaxBodySize(qint64 bytes);
    qint64 maxBody() const { return maxBodySize; }
    // From a request's first byte to its last (default 60 s).
    void setRequestTimeout(int msecs);
    // Between requests, and before the TLS handshake ends (default 120 s).
    void setIdleTimeout(int msecs);
    // From the connection's start to the end of its TLS handshake (default 5 s).
    void setHandshakeTimeout(int msecs);
    // Open connections per peer address (default 64) and in all (default 256).
    void setMaxConnectionsPerPeer(int count) { maxPerPeer = count; }
    void setMaxConnections(int count) { maxTotal = count; }
    int openConnections() const { return connections.size(); }
    // Connections in the middle of a request (read in part, or being answered).
    int requestsInProgress() const;
    // Idle connections closed to make room for a newcomer, and newcomers
    // turned away because no connection was idle.
    int evictedConnections() const { return evictions; }
    int refusedConnections() const { return refusals; }
    // Connections that closed before their TLS handshake completed.
    int failedHandshakes() const { return handshakeFailures; }
    // Runs the event loop until count requests are logged or time runs out.
    bool waitForRequests(int count, int timeoutMs = 5000);

signals:
    void requestReceived(const ServiceRequest& request);
    // One per answered request (a request refused as too large has an empty
    // method and path).
    void requestAnswered(const ServiceRequest& request, const ServiceReply& reply);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    struct Connection
    {
        HttpRequestParser parser;
        bool busy = false;
        bool encrypted = false;
        int pendingLogIndex = -1;
        QHostAddress peer;
        QElapsedTimer opened;
        // Since the connection opened, its last answer, or the first byte of
        // the request being read.
        QElapsedTimer since;
        bool reading = false;
        // Its unsent answers passed the bound: not read until they drain.
        bool paused = false;
        // A further turn of reading is queued.
        bool scheduled = false;
        // Refused or timed out: the refusal is written and what the peer
        // still sends is read and dropped until it falls quiet, so the
        // refusal is not lost to a reset. `since` then counts from the last
        // byte read, `refusedAt` caps the whole wait.
        bool closing = false;
        QElapsedTimer refusedAt;
    };

    void readRequests(QSslSocket* socket);
    void scheduleRead(QSslSocket* socket);
    void answersWritten(QSslSocket* socket);
    // Answers status (with reason) and closes the connection.
    void refuse(QSslSocket* socket, int status, const QString& reason);
    void sweepConnections();
    void restartSweep();
    // Closes idle connections, oldest first, until peer (and everyone) is
    // below its limit; false when not enough of them are idle.
    bool makeRoomFor(const QHostAddress& peer);
    bool isIdle(const Connection& connection) const;
    void closeNow(QSslSocket* socket);
    ServiceReply replyFor(const ServiceRequest& request);
    void writeReply(QSslSocket* socket, const ServiceReply& reply, bool lastOnConnection = false);
    void socketClosed(QSslSocket* socket);

    ServiceCertificates certificates;
    QHash<QString, Handler> handlers;
    QMap<QString, Handler> prefixHandlers;
    QHash<QString, QQueue<ServiceReply>> scripted;
    QHash<QSslSocket*, Connection> connections;
    QList<ServiceRequest> log;
    int handshakeFailures = 0;
    bool keepRequests = true;
    qint64 maxBodySize = 64 * 1024 * 1024;
    QTimer* sweep;
    int requestTimeout = 60000;
    int idleTimeout = 120000;
    int handshakeTimeout = 5000;
    int maxPerPeer = 64;
    int maxTotal = 256;
    int evictions = 0;
    int refusals = 0;
};

#endif // HTTPSSERVICE_H
