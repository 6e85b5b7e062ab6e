#include "chatserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <signal.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isAlive(qint64 pid)
{
    return pid > 0 && ::kill(pid_t(pid), 0) == 0;
}

// Whether the process runs prosody with this configuration file.
bool runsProsodyWith(qint64 pid, const QString& configPath)
{
    const QList<QByteArray> arguments =
        readAll(QStringLiteral("/proc/%1/cmdline").arg(pid)).split('\0');
    const int config = arguments.indexOf("--config");
    bool prosody = false;
    for (const QByteArray& argument : arguments)
        prosody = prosody || argument == "prosody" || argument.endsWith("/prosody");
    return prosody && config >= 0 && config + 1 < arguments.size() &&
           arguments.at(config + 1) == configPath.toUtf8();
}

} // namespace

ChatServer::ChatServer(const ChatServerConfig& config) : settings(config) {}

ChatServer::~ChatServer()
{
    stop();
}

bool ChatServer::isAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("prosody")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("prosodyctl")).isEmpty();
}

QString ChatServer::logText() const
{
    return QString::fromUtf8(readAll(settings.logPath()));
}

bool ChatServer::runCtl(const QStringList& arguments)
{
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(QStringLiteral("prosodyctl"),
              QStringList{QStringLiteral("--config"), settings.configPath()} + arguments);
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

bool ChatServer::addUser(const QString& user, const QString& password)
{
    if (!QFile::exists(settings.configPath()) && !settings.write()) {
        error = QStringLiteral("cannot write the chat server configuration");
        return false;
    }
    return runCtl({QStringLiteral("register"), user, settings.domain, password});
}

QList<qint64> ChatServer::runningWith(const QString& configPath)
{
    QList<qint64> found;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && runsProsodyWith(pid, configPath))
            found << pid;
    }
    return found;
}

void ChatServer::stopLeftover()
{
    const QList<qint64> leftovers = runningWith(settings.configPath());
    for (const qint64 pid : leftovers)
        ::kill(pid_t(pid), SIGTERM);
    QElapsedTimer timer;
    timer.start();
    const auto anyAlive = [&] { return std::any_of(leftovers.begin(), leftovers.end(), isAlive); };
    while (anyAlive() && timer.elapsed() < 10000)
        QThread::msleep(50);
    for (const qint64 pid : leftovers) {
        if (isAlive(pid))
            ::kill(pid_t(pid), SIGKILL);
    }
}

bool ChatServer::start(int timeoutMs)
{
    if (isRunning())
        return true;
    if (!settings.write()) {
        error = QStringLiteral("cannot write the chat server configuration");
        return false;
    }
    stopLeftover();
    process = std::make_unique<QProcess>();
    process->setStandardOutputFile(settings.folder + QStringLiteral("/stdout.txt"),
                                   QIODevice::Append);
    process->setStandardErrorFile(settings.folder + QStringLiteral("/stderr.txt"),
                                  QIODevice::Append);
    process->start(
        QStringLiteral("prosody"),
        QStringList{QStringLiteral("--config"), settings.configPath(), QStringLiteral("-F")});
    if (!process->waitForStarted(5000)) {
        error = QStringLiteral("prosody did not start: ") + process->errorString();
        process.reset();
        return false;
    }
    QSaveFile pidFile(settings.pidPath());
    const QByteArray pid = QByteArray::number(process->processId()) + '\n';
    if (!pidFile.open(QIODevice::WriteOnly) || pidFile.write(pid) != pid.size() ||
        !pidFile.commit()) {
        error = QStringLiteral("cannot write %1").arg(settings.pidPath());
        stop();
        return false;
    }
    if (!waitForPort(timeoutMs)) {
        stop();
        return false;
    }
    return true;
}

bool ChatServer::waitForPort(int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (process->state() == QProcess::NotRunning) {
            error = QStringLiteral("prosody ended at start-up: ") + logText();
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(settings.port));
        if (probe.waitForConnected(200)) {
            probe.disconnectFromHost();
            return true;
        }
        QThread::msleep(50);
    }
    error = QStringLiteral("prosody did not open port %1").arg(settings.port);
    return false;
}

bool ChatServer::stop(int timeoutMs)
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
    QFile::remove(settings.pidPath());
    return ended;
}

bool ChatServer::isRunning() const
{
    return process && process->state() == QProcess::Running;
}

qint64 ChatServer::processId() const
{
    return isRunning() ? process->processId() : 0;
}
