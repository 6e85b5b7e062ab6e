#ifndef FAKEWEBSERVICE_H
#define FAKEWEBSERVICE_H

#include "fakereply.h"
#include "fakerequest.h"
#include "testcertificates.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QTcpServer>

#include <functional>

class QSslSocket;

// An HTTPS/1.1 server on 127.0.0.1 (free port) inside the test process. It
// answers each path with a scripted reply (first in, first out), else with the
// handler registered for the path (exact, then the longest prefix), else 404.
// Every request is logged so tests can assert on method, path, headers and
// body. Connections stay open between requests (keep-alive).
class FakeWebService : public QTcpServer
{
    Q_OBJECT
public:
    using Handler = std::function<FakeReply(const FakeRequest&)>;

    explicit FakeWebService(const TestCertificates& certificates = TestCertificates::shared(),
                            QObject* parent = nullptr);
    ~FakeWebService() override;

    bool start();
    // "https://127.0.0.1:<port>/"
    QString baseUrl() const;

    // Paths are given without the leading "/" (e.g. "register/").
    void setHandler(const QString& path, Handler handler);
    void setPrefixHandler(const QString& prefix, Handler handler);
    void enqueueReply(const QString& path, const FakeReply& reply);
    void clearScriptedReplies();

    QList<FakeRequest> requests() const { return log; }
    QList<FakeRequest> requestsFor(const QString& path) const;
    void clearRequests() { log.clear(); }
    // Connections that closed before their TLS handshake completed.
    int failedHandshakes() const { return handshakeFailures; }
    // Runs the event loop until count requests are logged or time runs out.
    bool waitForRequests(int count, int timeoutMs = 5000);

signals:
    void requestReceived(const FakeRequest& request);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    struct Connection
    {
        QByteArray buffer;
        bool busy = false;
        bool encrypted = false;
        int pendingLogIndex = -1;
    };

    void readRequests(QSslSocket* socket);
    // Takes one complete request off the buffer; false when it is incomplete.
    static bool parseRequest(QByteArray* buffer, FakeRequest* request);
    FakeReply replyFor(const FakeRequest& request);
    void writeReply(QSslSocket* socket, const FakeReply& reply);
    void socketClosed(QSslSocket* socket);

    TestCertificates certificates;
    QHash<QString, Handler> handlers;
    QMap<QString, Handler> prefixHandlers;
    QHash<QString, QQueue<FakeReply>> scripted;
    QHash<QSslSocket*, Connection> connections;
    QList<FakeRequest> log;
    int handshakeFailures = 0;
};

#endif // FAKEWEBSERVICE_H
