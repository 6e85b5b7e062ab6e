#ifndef CHATSESSIONGUARD_H
#define CHATSESSIONGUARD_H

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <QXmppClient.h>
#include <QXmppConfiguration.h>

#include <functional>

// Keeps one of the service's own chat clients signed in, whatever happens to
// the chat server. Every connection is a fresh session: the stream
// management the server offers is hidden from the client, so it never asks to
// resume a stream (a restarted server refuses that, and the client would stay
// away). A lost connection is made again within a few seconds, and a watchdog
// pings the server: a client whose pings go unanswered, or that hangs while
// connecting, is disconnected and connected anew. confirm() tells when the
// server has taken everything sent before it on the current stream.
class ChatSessionGuard : public QObject
{
    Q_OBJECT
public:
    // The client is not owned; the guard installs an extension of its own first.
    explicit ChatSessionGuard(QXmppClient* client, QObject* parent = nullptr);

    void start(const QXmppConfiguration& config);
    void stop();
    // How often the watchdog looks (default 3 s); a ping unanswered for two
    // rounds, or a connection attempt older than three, ends the stream.
    void setWatchdogInterval(int msecs);
    // done(true) once the server answered a ping sent after everything written
    // so far; done(false) when the stream ended first (or there is none).
    void confirm(std::function<void(bool taken)> done);
    // Sessions started so far (a reconnect adds one).
    int sessions() const { return sessionCount; }

    // Answers of the extension: an iq result or error with this id.
    bool takeAnswer(const QString& id);

signals:
    // A new session is up: everything not confirmed is to be sent again.
    void sessionStarted();
    // The stream ended (the guard connects again).
    void sessionEnded();

private:
    void connectNow();
    void scheduleReconnect();
    void onConnected();
    void onDisconnected();
    void watch();
    void failPending();

    QXmppClient* client;
    QXmppConfiguration configuration;
    QTimer watchdog;
    QTimer retry;
    QElapsedTimer attemptStarted;
    QHash<QString, std::function<void(bool)>> pending;
    QString watchdogPing;
    QElapsedTimer watchdogPingSent;
    bool running = false;
    int sessionCount = 0;
    int failures = 0;
};

#endif // CHATSESSIONGUARD_H
