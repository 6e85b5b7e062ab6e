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
// line, Content-Length, chunk size) 400, one that is not complete within the
// request time-out 408, and each such connection is closed; a connection
// idle for the idle time-out is closed, and a peer address holds at most a
// set number of open connections (further ones are closed at once). So no
// request can hold the service or a connection for good.
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
    void setMaxBodySize(qint64 bytes) { parser.setMaxBodySize(bytes); }
    qint64 maxBody() const { return parser.maxBodySize(); }
    // From a request's first byte to its last (default 60 s).
    void setRequestTimeout(int msecs);
    // Between requests, and before the TLS handshake ends (default 120 s).
    void setIdleTimeout(int msecs);
    // Open connections per peer address (default 64).
    void setMaxConnectionsPerPeer(int count) { maxPerPeer = count; }
    int openConnections() const { return connections.size(); }
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
        QByteArray buffer;
        bool busy = false;
        bool encrypted = false;
        int pendingLogIndex = -1;
        QHostAddress peer;
        // Since the connection opened, its last answer, or the first byte of
        // the request being read.
        QElapsedTimer since;
        bool reading = false;
        // Refused or timed out: the refusal is written and what the peer
        // still sends is read and dropped until it falls quiet, so the
        // refusal is not lost to a reset. `since` then counts from the last
        // byte read, `refusedAt` caps the whole wait.
        bool closing = false;
        QElapsedTimer refusedAt;
    };

    void readRequests(QSslSocket* socket);
    // Answers status (with reason) and closes the connection.
    void refuse(QSslSocket* socket, int status, const QString& reason);
    void sweepConnections();
    void restartSweep();
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
    HttpRequestParser parser;
    QTimer* sweep;
    int requestTimeout = 60000;
    int idleTimeout = 120000;
    int maxPerPeer = 64;
};

#endif // HTTPSSERVICE_H
