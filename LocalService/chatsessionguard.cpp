#include "chatsessionguard.h"

#include "foundation/simpleqtlogger.h"

#include <QDomElement>
#include <QXmppClientExtension.h>
#include <QXmppPingIq.h>

namespace {

const QLatin1String kStreamManagement("urn:xmpp:sm:3");

// Sees every element before the client: hides stream management from the
// stream features (so every connection binds a new session) and takes the
// answers to the guard's pings.
class SessionExtension : public QXmppClientExtension
{
public:
    explicit SessionExtension(ChatSessionGuard* guard) : guard(guard) {}

    bool handleStanza(const QDomElement& element) override
    {
        if (element.tagName() == QLatin1String("features")) {
            QList<QDomElement> offered;
            for (QDomElement child = element.firstChildElement(); !child.isNull();
                 child = child.nextSiblingElement()) {
                if (child.namespaceURI() == kStreamManagement)
                    offered.append(child);
            }
            // A shared handle: the client reads the features without them.
            QDomElement features = element;
            for (QDomElement& child : offered)
                features.removeChild(child);
            return false;
        }
        if (element.tagName() == QLatin1String("iq")) {
            const QString type = element.attribute(QStringLiteral("type"));
            if (type == QLatin1String("result") || type == QLatin1String("error"))
                return guard->takeAnswer(element.attribute(QStringLiteral("id")));
        }
        return false;
    }

private:
    ChatSessionGuard* guard;
};

} // namespace

ChatSessionGuard::ChatSessionGuard(QXmppClient* client, QObject* parent)
    : QObject(parent), client(client)
{
    client->insertExtension(0, new SessionExtension(this));
    connect(client, &QXmppClient::connected, this, &ChatSessionGuard::onConnected);
    connect(client, &QXmppClient::disconnected, this, &ChatSessionGuard::onDisconnected);
    retry.setSingleShot(true);
    connect(&retry, &QTimer::timeout, this, &ChatSessionGuard::connectNow);
    connect(&watchdog, &QTimer::timeout, this, &ChatSessionGuard::watch);
    watchdog.setInterval(3000);
}

void ChatSessionGuard::setWatchdogInterval(int msecs)
{
    watchdog.setInterval(msecs);
}

void ChatSessionGuard::start(const QXmppConfiguration& config)
{
    configuration = config;
    // The guard reconnects; the library's own reconnection would resume.
    configuration.setAutoReconnectionEnabled(false);
    running = true;
    watchdog.start();
    connectNow();
}

void ChatSessionGuard::stop()
{
    running = false;
    watchdog.stop();
    retry.stop();
    client->disconnectFromServer();
    failPending();
}

void ChatSessionGuard::connectNow()
{
    if (!running || client->state() != QXmppClient::DisconnectedState)
        return;
    attemptStarted.start();
    client->connectToServer(configuration);
}

void ChatSessionGuard::scheduleReconnect()
{
    if (!running || retry.isActive())
        return;
    // 250 ms, then doubling up to 4 s while the server stays away.
    retry.start(qMin(4000, 250 << qMin(failures, 4)));
    ++failures;
}

void ChatSessionGuard::onConnected()
{
    failures = 0;
    ++sessionCount;
    watchdogPing.clear();
    L_INFO(QStringLiteral("ChatSessionGuard | %1 signed in (session %2)")
               .arg(configuration.jidBare())
               .arg(sessionCount));
    emit sessionStarted();
}

void ChatSessionGuard::onDisconnected()
{
    failPending();
    watchdogPing.clear();
    scheduleReconnect();
    emit sessionEnded();
}

void ChatSessionGuard::failPending()
{
    const auto callbacks = pending;
    pending.clear();
    for (const auto& done : callbacks)
        done(false);
}

void ChatSessionGuard::confirm(std::function<void(bool)> done)
{
    if (!client->isConnected()) {
        done(false);
        return;
    }
    QXmppPingIq ping;
    ping.setTo(configuration.domain());
    pending.insert(ping.id(), std::move(done));
    if (!client->sendPacket(ping))
        pending.take(ping.id())(false);
}

bool ChatSessionGuard::takeAnswer(const QString& id)
{
    auto it = pending.find(id);
    if (it == pending.end())
        return false;
    const std::function<void(bool)> done = it.value();
    pending.erase(it);
    done(true);
    return true;
}

void ChatSessionGuard::watch()
{
    if (!running)
        return;
    switch (client->state()) {
    case QXmppClient::DisconnectedState:
        if (!retry.isActive())
            connectNow();
        return;
    case QXmppClient::ConnectingState:
        if (attemptStarted.isValid() && attemptStarted.hasExpired(3 * watchdog.interval())) {
            L_WARN(QStringLiteral("ChatSessionGuard | %1: connecting takes too long, again")
                       .arg(configuration.jidBare()));
            client->disconnectFromServer();
            scheduleReconnect();
        }
        return;
    case QXmppClient::ConnectedState:
        break;
    }
    if (!watchdogPing.isEmpty()) {
        if (watchdogPingSent.hasExpired(2 * watchdog.interval())) {
            L_WARN(QStringLiteral("ChatSessionGuard | %1: the chat server stopped answering")
                       .arg(configuration.jidBare()));
            client->disconnectFromServer();
        }
        return;
    }
    QXmppPingIq ping;
    ping.setTo(configuration.domain());
    watchdogPing = ping.id();
    watchdogPingSent.start();
    pending.insert(ping.id(), [this, id = ping.id()](bool) {
        if (watchdogPing == id)
            watchdogPing.clear();
    });
    client->sendPacket(ping);
}
