#ifndef GROUPSTACK_H
#define GROUPSTACK_H

#include "coreprocess.h"

#include <QJsonObject>
#include <QString>
#include <QXmppConfiguration.h>

#include <memory>

class FakeWebService;
class GroupRoomKeeper;
class LocalService;
class ProsodyServer;
class ServiceStore;

// Private groups end to end: a real prosody on loopback, the local service's
// procedures on a fake web service, the room keeper on the chat server, and
// members each with a line-driven core in its own process.
class GroupStack
{
public:
    struct Member
    {
        QString name;
        QString phone;
        QString home;
        std::unique_ptr<CoreProcess> core;
    };

    static const QString kPassword;
    // The room keeper's account on the chat server.
    static const QString kKeeper;

    GroupStack();
    ~GroupStack();

    // Starts the chat server with an account for each user name (the members'
    // phone numbers and any extra account), the service and the keeper.
    bool start(const QStringList& accounts, QString* error);
    void stop();

    // Starts the member's core and waits until it is on the chat server; the
    // lines typed at once reach it while it is still loading.
    bool startCore(Member* member, const QList<QJsonObject>& typedAtOnce = {});
    // An account of the service for a user who has no program running.
    bool addServiceAccount(const QString& user);
    // Whether the keeper sees the member in the group's room within 20 s.
    bool waitInRoom(const QString& groupId, const QString& user);
    // Whether the keeper sees the account out of the group's room for 1 s.
    bool staysOutOfRoom(const QString& groupId, const QString& user);
    void say(Member* from, const QString& groupId, const QString& text);
    // The keeper goes away and comes back (the service restarting).
    void stopKeeper();
    void startKeeper();
    // A client configuration for one of the chat server's accounts.
    QXmppConfiguration clientConfiguration(const QString& user, const QString& resource) const;
    // Every line of each member's core to the log; the message with their ends.
    QString failure(const QString& what, const QList<const Member*>& members) const;

    std::unique_ptr<ProsodyServer> prosody;
    std::unique_ptr<FakeWebService> web;
    std::unique_ptr<ServiceStore> store;
    std::unique_ptr<LocalService> service;
    std::unique_ptr<GroupRoomKeeper> keeper;
    QString caFile;
};

#endif // GROUPSTACK_H
