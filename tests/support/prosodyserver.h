#ifndef PROSODYSERVER_H
#define PROSODYSERVER_H

#include "chatserver.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class QXmppConfiguration;

// A private chat server for tests, configured as the local stack configures
// its own (ChatServerConfig): its own folder, a free c2s port, the shared test
// certificates (TestCertificates), users registered before start and one
// shared roster group holding every user (so presence, and with it last-seen
// queries, works between them). stop() and start() again keep the port and
// the stored data, for outage tests.
//
// Clients trust the CA through the program's CA override: call
// TestCertificates::trustSharedCa() before the process's first TLS connection.
class ProsodyServer
{
public:
    // With trustedCertificate false the server presents a certificate from a
    // CA of its own that no client trusts (for refusal tests).
    explicit ProsodyServer(const QString& domain = QStringLiteral("localhost"),
                           bool trustedCertificate = true);
    ~ProsodyServer();
    ProsodyServer(const ProsodyServer&) = delete;
    ProsodyServer& operator=(const ProsodyServer&) = delete;

    // prosody and prosodyctl are installed; tests skip when they are not.
    static bool isAvailable();

    // Registers a user; may be called at any time, but the shared roster group
    // is rewritten only at the next start.
    bool addUser(const QString& user, const QString& password);

    // Whether the server offers stream management (it does unless turned off
    // here); takes effect at the next start.
    bool setStreamManagement(bool on);
    // Only this account may create rooms, as on the local stack's server
    // (ChatServerConfig::roomKeeper); takes effect at the next start.
    bool setRoomKeeper(const QString& user);

    // Starts the server (the first call also writes the folder, the
    // certificates and the configuration) and waits until the port accepts
    // connections. False with errorString() when it did not come up.
    bool start(int timeoutMs = 15000);
    // Stops the server by its pid and waits for it to end.
    bool stop(int timeoutMs = 10000);
    bool isRunning() const;
    // The server's process id while it runs (0 otherwise), for tests that
    // freeze it (SIGSTOP) or end it abruptly (SIGKILL) before calling stop().
    qint64 processId() const;

    QString domain() const { return serverDomain; }
    QString mucDomain() const { return server.config().mucDomain(); }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return quint16(server.config().port); }
    QString jid(const QString& user) const { return user + QLatin1Char('@') + serverDomain; }
    // A client configuration for a registered user: this server's address and
    // domain, TLS required and certificate errors not ignored.
    QXmppConfiguration clientConfiguration(const QString& user, const QString& resource) const;
    QString folder() const { return dir.path(); }
    QString configPath() const { return server.config().configPath(); }
    QString errorString() const { return error.isEmpty() ? server.errorString() : error; }
    // The server's own log (info level and above).
    QString logText() const { return server.logText(); }

private:
    bool prepare();
    bool writeGroups();

    QString serverDomain;
    bool trusted = true;
    QTemporaryDir dir;
    bool prepared = false;
    QMap<QString, QString> users;
    ChatServer server;
    QString error;
};

#endif // PROSODYSERVER_H
