#ifndef CHATSERVER_H
#define CHATSERVER_H

#include "chatserverconfig.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// A prosody chat server run in the foreground as a child process with a
// ChatServerConfig, stopped by its pid. A server left running by an earlier
// run that was killed is stopped before a new one starts, so the port is free
// again: whether its pid file names it or not (a run killed between starting
// it and writing the file leaves one that no file names, which would go on
// serving while the new one, without its port, serves nobody).
class ChatServer
{
public:
    explicit ChatServer(const ChatServerConfig& config = ChatServerConfig());
    ~ChatServer();
    ChatServer(const ChatServer&) = delete;
    ChatServer& operator=(const ChatServer&) = delete;

    // prosody and prosodyctl are installed.
    static bool isAvailable();
    // The pids of the running prosody processes started with this
    // configuration file.
    static QList<qint64> runningWith(const QString& configPath);

    ChatServerConfig& config() { return settings; }
    const ChatServerConfig& config() const { return settings; }

    // Writes the configuration, starts the server and waits until its port
    // accepts connections. False with errorString() when it did not come up.
    bool start(int timeoutMs = 15000);
    bool stop(int timeoutMs = 10000);
    bool isRunning() const;
    qint64 processId() const;

    // Creates the account or sets its password (prosody's own tooling).
    bool addUser(const QString& user, const QString& password);
    bool runCtl(const QStringList& arguments);

    QString errorString() const { return error; }
    QString logText() const;

private:
    bool waitForPort(int timeoutMs);
    void stopLeftover();

    ChatServerConfig settings;
    std::unique_ptr<QProcess> process;
    QString error;
};

#endif // CHATSERVER_H
