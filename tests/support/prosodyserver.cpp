#include "prosodyserver.h"

#include "testcertificates.h"

#include <QDir>
#include <QHostAddress>
#include <QTcpServer>
#include <QXmppConfiguration.h>

namespace {

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

} // namespace

ProsodyServer::ProsodyServer(const QString& domain, bool trustedCertificate)
    : serverDomain(domain), trusted(trustedCertificate)
{
}

ProsodyServer::~ProsodyServer()
{
    stop();
}

bool ProsodyServer::isAvailable()
{
    return ChatServer::isAvailable();
}

QXmppConfiguration ProsodyServer::clientConfiguration(const QString& user,
                                                      const QString& resource) const
{
    QXmppConfiguration config;
    config.setHost(host());
    config.setPort(port());
    config.setDomain(serverDomain);
    config.setUser(user);
    config.setPassword(users.value(user));
    config.setResource(resource);
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    config.setIgnoreSslErrors(false);
    config.setAutoReconnectionEnabled(false);
    return config;
}

bool ProsodyServer::prepare()
{
    if (prepared)
        return true;
    if (!dir.isValid()) {
        error = QStringLiteral("cannot create a temporary folder");
        return false;
    }
    const TestCertificates certificates =
        trusted ? TestCertificates::shared()
                : TestCertificates::create(QStringLiteral("Untrusted"));
    if (!certificates.writeFiles(dir.path())) {
        error = QStringLiteral("cannot write the test certificates");
        return false;
    }
    ChatServerConfig& config = server.config();
    config.folder = dir.path();
    config.domain = serverDomain;
    config.port = freeLoopbackPort();
    config.certificateFile = dir.filePath(QStringLiteral("cert.pem"));
    config.keyFile = dir.filePath(QStringLiteral("key.pem"));
    config.groupsFile = dir.filePath(QStringLiteral("groups.txt"));
    if (config.port == 0) {
        error = QStringLiteral("no free loopback port");
        return false;
    }
    if (!writeGroups() || !config.write()) {
        error = QStringLiteral("cannot write the server configuration");
        return false;
    }
    prepared = true;
    return true;
}

bool ProsodyServer::writeGroups()
{
    QStringList jids;
    for (auto it = users.cbegin(); it != users.cend(); ++it)
        jids << jid(it.key());
    return ChatServerConfig::writeGroups(server.config().groupsFile, jids);
}

bool ProsodyServer::addUser(const QString& user, const QString& password)
{
    if (!prepare() || !server.addUser(user, password))
        return false;
    users.insert(user, password);
    return true;
}

bool ProsodyServer::setStreamManagement(bool on)
{
    if (!prepare())
        return false;
    server.config().streamManagement = on;
    return server.config().write();
}

bool ProsodyServer::setRoomKeeper(const QString& user)
{
    if (!prepare())
        return false;
    server.config().roomKeeper = user;
    return server.config().write();
}

bool ProsodyServer::start(int timeoutMs)
{
    error.clear();
    if (isRunning())
        return true;
    if (!prepare() || !writeGroups())
        return false;
    return server.start(timeoutMs);
}

bool ProsodyServer::stop(int timeoutMs)
{
    return server.stop(timeoutMs);
}

bool ProsodyServer::isRunning() const
{
    return server.isRunning();
}

qint64 ProsodyServer::processId() const
{
    return server.processId();
}
