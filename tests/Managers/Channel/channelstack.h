#ifndef CHANNELSTACK_H
#define CHANNELSTACK_H

#include "webapi/GeneralApi/procedure.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <memory>

class FakeWebService;
class LocalService;
class ServiceStore;

// The local service inside the test process on loopback HTTPS, with its state
// in a folder so it can be stopped and started again on the same address.
// Every user of a test has an active account signed with the same token; the
// other users (channel owners, posters) reach the service through signed
// HTTPS calls of their own, as their clients would.
class ChannelStack
{
public:
    static const QString kToken;

    explicit ChannelStack(const QString& folder);
    ~ChannelStack();

    // Starts the service (again on the earlier port after a stop); the
    // core's web-service address points at it.
    bool start();
    void stop();
    bool restart()
    {
        stop();
        return start();
    }
    QString baseUrl() const;
    bool addAccount(const QString& user);

    // The next request of procedure is answered with code (once per call).
    void failNext(Procedure procedure, int code);
    // The same for a path of its own (a category's browse path).
    void failNextAt(const QString& path, int code);
    // The next request of procedure is answered with this accepted reply.
    void replyNext(Procedure procedure, const QJsonObject& fields);

    // A signed call as user; the result code (-1 when nothing came back).
    int call(const QString& user, const QString& path, const QJsonObject& fields,
             QJsonObject* reply = nullptr);

    // A channel owned by owner in a category, created through the service.
    bool addChannel(const QString& id, const QString& owner, const QString& categoryId);
    bool addMember(const QString& channelId, const QString& byManager, const QString& member,
                   const QString& role);
    // Posts a text message as author (an owner or administrator): the message
    // as the service keeps it, its id "<channel>-<n>" for the nth post.
    QJsonObject post(const QString& channelId, const QString& author, const QString& body);
    QList<QJsonObject> posts(const QString& channelId) const;
    QJsonObject channel(const QString& id) const;
    QString roleOf(const QString& channelId, const QString& member) const;
    bool hasChannel(const QString& id) const;

private:
    QString folder;
    quint16 port = 0;
    std::unique_ptr<FakeWebService> http;
    std::unique_ptr<ServiceStore> store;
    std::unique_ptr<LocalService> service;
};

#endif // CHANNELSTACK_H
