#ifndef CHATSERVERCONFIG_H
#define CHATSERVERCONFIG_H

#include <QString>
#include <QStringList>

// The chat server's (prosody's) configuration as the stack and the tests run
// it: 127.0.0.1 only, one client port, TLS required with the given
// certificate, accounts made with its own tooling (no in-band registration),
// the room service "conference.<domain>" without room locking, whose rooms
// (with their owners and members) outlive a restart and keep an archive of
// every message (the room keeper catches up from it), stream
// management, offline storage, privacy lists, last activity and, when a groups
// file is given, one shared roster group. With a room keeper named, that
// account alone may open new rooms.
class ChatServerConfig
{
public:
    // The folder for the configuration, the data, the log and the pid file.
    QString folder;
    QString domain = QStringLiteral("localhost");
    int port = 0;
    QString certificateFile;
    QString keyFile;
    // Optional: the file of shared roster groups.
    QString groupsFile;
    // Optional: who may see whose last activity, one "user watcher" pair of
    // account names a line (the service writes it from the contact lists).
    // With it the server answers last-activity queries of those watchers
    // through a module of the stack's own, ahead of prosody's, which answers
    // presence subscribers only (and the stack's users subscribe to nobody).
    QString watchersFile;
    // Optional: the account (user name on the domain) that alone may create
    // rooms on the room service; it is the room service's administrator, and
    // so an owner of every room there, but of nothing else on the server.
    // Without it any account may create a room.
    QString roomKeeper;
    // Off for a server that offers no stream management.
    bool streamManagement = true;

    QString configPath() const;
    QString logPath() const;
    // Where the process that runs the server notes its pid.
    QString pidPath() const;
    QString dataPath() const;
    QString mucDomain() const { return QStringLiteral("conference.") + domain; }
    // The last-seen module's source, written into the folder with the
    // configuration when there is a watchers file.
    QString lastSeenModulePath() const;

    // The configuration text.
    QString text() const;
    // Creates the data folder and writes the configuration file atomically.
    bool write() const;
    // A groups file with one group holding these accounts (bare JIDs).
    static bool writeGroups(const QString& path, const QStringList& jids);
};

#endif // CHATSERVERCONFIG_H
