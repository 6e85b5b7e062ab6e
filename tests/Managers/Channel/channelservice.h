#ifndef CHANNELSERVICE_H
#define CHANNELSERVICE_H

#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class ChannelManager;

// The channel procedures of the web service with real state, answering one
// channel manager in this process: categories and a browsable directory,
// channels with owners, administrators and members, posted messages per
// channel, archive pages and missed messages since a time. Each request is
// answered on the next turn of the event loop, as replyReport then result 200,
// or as result alone with the code set for a failing procedure.
class ChannelService : public QObject
{
    Q_OBJECT
public:
    explicit ChannelService(const QString& user, QObject* parent = nullptr);

    void attach(ChannelManager* manager);
    void setUser(const QString& value) { user = value; }

    void addCategory(const QString& id, const QString& name, const QString& parent = QString());
    // A channel owned by owner, in a category, with a reply flag of "1".
    void addChannel(const QString& id, const QString& owner, const QString& categoryId);
    void addMember(const QString& channelId, const QString& member, const QString& role)
    {
        roles[channelId].insert(member, role);
    }
    // A message posted to a channel by author at time (milliseconds).
    QJsonObject post(const QString& channelId, const QString& author, const QString& body,
                     qint64 time);
    QList<QJsonObject> posts(const QString& channelId) const { return messages.value(channelId); }
    QString roleOf(const QString& channelId, const QString& member) const;
    bool hasChannel(const QString& id) const { return channels.contains(id); }

    // The next requests of procedure fail with code (once per call).
    void failNext(Procedure procedure, int code = 500, int times = 1);
    // Requests are held (not answered) until release().
    void hold(bool value) { holding = value; }
    void release();
    // No request is waiting for its answer on the event loop.
    bool idle() const { return queued == 0; }

    struct Request
    {
        Procedure procedure;
        QHash<QString, QJsonValue> inputs;
    };
    QList<Request> requests;
    QList<Request> requestsOf(Procedure procedure) const;

private:
    void answer(const Request& request);
    int handle(const Request& request, QJsonObject* reply);
    QJsonObject channelObject(const QString& id) const;
    QJsonArray channelsOf(const QString& member) const;
    QJsonArray archivePage(const QString& id, const QString& offset, const QString& before,
                           int count) const;

    ChannelManager* manager = nullptr;
    QString user;
    QList<QJsonObject> categories;
    QHash<QString, QJsonObject> channels;
    QHash<QString, QHash<QString, QString>> roles;
    // Oldest first.
    QHash<QString, QList<QJsonObject>> messages;
    QHash<int, QList<int>> failures;
    bool holding = false;
    int queued = 0;
    QList<Request> held;
};

#endif // CHANNELSERVICE_H
