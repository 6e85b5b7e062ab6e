#include "prosodyserver.h"

#include "testcertificates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QThread>
#include <QXmppConfiguration.h>

namespace {

QString luaString(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray data = text.toUtf8();
    return file.write(data) == data.size();
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
    return !QStandardPaths::findExecutable(QStringLiteral("prosody")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("prosodyctl")).isEmpty();
}

QXmppConfiguration ProsodyServer::clientConfiguration(const QString& user,
                                                      const QString& resource) const
{
    QXmppConfiguration config;
    config.setHost(host());
    config.setPort(c2sPort);
    config.setDomain(serverDomain);
    config.setUser(user);
    config.setPassword(users.value(user));
    config.setResource(resource);
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    config.setIgnoreSslErrors(false);
    config.setAutoReconnectionEnabled(false);
    return config;
}

QString ProsodyServer::configPath() const
{
    return dir.filePath(QStringLiteral("prosody.cfg.lua"));
}

QString ProsodyServer::logText() const
{
    QFile file(dir.filePath(QStringLiteral("prosody.log")));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
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
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    c2sPort = freeLoopbackPort();
    if (c2sPort == 0) {
        error = QStringLiteral("no free loopback port");
        return false;
    }
    if (!writeGroups() || !writeConfig()) {
        error = QStringLiteral("cannot write the server configuration");
        return false;
    }
    prepared = true;
    return true;
}

bool ProsodyServer::writeConfig()
{
    QString text;
    QTextStream out(&text);
    out << "run_as_root = true\n"
        << "daemonize = false\n"
        << "pidfile = " << luaString(dir.filePath(QStringLiteral("prosody.pid"))) << "\n"
        << "data_path = " << luaString(dir.filePath(QStringLiteral("data"))) << "\n"
        << "interfaces = { \"127.0.0.1\" }\n"
        << "local_interfaces = { \"127.0.0.1\" }\n"
        << "c2s_ports = { " << c2sPort << " }\n"
        << "c2s_direct_tls_ports = { }\n"
        << "c2s_require_encryption = true\n"
        << "allow_registration = false\n"
        << "authentication = \"internal_hashed\"\n"
        << "storage = \"internal\"\n"
        << "network_settings = { nagle = false }\n"
        << "modules_enabled = { \"roster\"; \"saslauth\"; \"tls\"; \"disco\"; \"ping\"; "
           "\"smacks\"; \"privacy_lists\"; \"lastactivity\"; \"uptime\"; \"offline\"; "
           "\"groups\" }\n"
        << "modules_disabled = { \"s2s\"; \"posix\" }\n"
        << "groups_file = " << luaString(dir.filePath(QStringLiteral("groups.txt"))) << "\n"
        << "certificates = " << luaString(dir.path()) << "\n"
        << "ssl = { certificate = " << luaString(dir.filePath(QStringLiteral("cert.pem")))
        << "; key = " << luaString(dir.filePath(QStringLiteral("key.pem"))) << " }\n"
        << "log = { info = " << luaString(dir.filePath(QStringLiteral("prosody.log"))) << " }\n"
        << "VirtualHost " << luaString(serverDomain) << "\n"
        << "Component " << luaString(mucDomain()) << " \"muc\"\n"
        << "    muc_room_locking = false\n";
    out.flush();
    return writeText(configPath(), text);
}

bool ProsodyServer::writeGroups()
{
    QString text = QStringLiteral("[Everyone]\n");
    for (auto it = users.cbegin(); it != users.cend(); ++it)
        text += jid(it.key()) + QLatin1Char('\n');
    return writeText(dir.filePath(QStringLiteral("groups.txt")), text);
}

bool ProsodyServer::runCtl(const QStringList& arguments)
{
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(QStringLiteral("prosodyctl"),
              QStringList{QStringLiteral("--config"), configPath()} + arguments);
    if (!ctl.waitForFinished(30000)) {
        ctl.kill();
        ctl.waitForFinished(1000);
        error = QStringLiteral("prosodyctl did not finish");
        return false;
    }
    if (ctl.exitStatus() != QProcess::NormalExit || ctl.exitCode() != 0) {
        error = QStringLiteral("prosodyctl failed: ") + QString::fromUtf8(ctl.readAll());
        return false;
    }
    return true;
}

bool ProsodyServer::addUser(const QString& user, const QString& password)
{
    if (!prepare())
        return false;
    if (!runCtl({QStringLiteral("register"), user, serverDomain, password}))
        return false;
    users.insert(user, password);
    return true;
}

bool ProsodyServer::start(int timeoutMs)
{
    if (isRunning())
        return true;
    if (!prepare() || !writeGroups())
        return false;
    process = std::make_unique<QProcess>();
    process->setStandardOutputFile(dir.filePath(QStringLiteral("stdout.txt")), QIODevice::Append);
    process->setStandardErrorFile(dir.filePath(QStringLiteral("stderr.txt")), QIODevice::Append);
    process->start(QStringLiteral("prosody"),
                   QStringList{QStringLiteral("--config"), configPath(), QStringLiteral("-F")});
    if (!process->waitForStarted(5000)) {
        error = QStringLiteral("prosody did not start: ") + process->errorString();
        process.reset();
        return false;
    }
    if (!waitForPort(timeoutMs)) {
        stop();
        return false;
    }
    return true;
}

bool ProsodyServer::waitForPort(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (process->state() == QProcess::NotRunning) {
            error = QStringLiteral("prosody ended at start-up: ") + logText();
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, c2sPort);
        if (probe.waitForConnected(200)) {
            probe.disconnectFromHost();
            return true;
        }
        QThread::msleep(50);
    }
    error = QStringLiteral("prosody did not open port %1").arg(c2sPort);
    return false;
}

bool ProsodyServer::stop(int timeoutMs)
{
    if (!process)
        return true;
    bool ended = true;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        ended = process->waitForFinished(timeoutMs);
        if (!ended) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    process.reset();
    return ended;
}

bool ProsodyServer::isRunning() const
{
    return process && process->state() == QProcess::Running;
}

qint64 ProsodyServer::processId() const
{
    return isRunning() ? process->processId() : 0;
}
