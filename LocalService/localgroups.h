#ifndef LOCALGROUPS_H
#define LOCALGROUPS_H

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

class LocalService;

// The service's private groups: each group's description and members with
// their roles (area "groups"), and the messages sent in each group's room in
// the order they reached it (area "groupmessages"), from which missed and
// older messages are answered. Membership changes are announced so that the
// room on the chat server follows them (GroupRoomKeeper).
class LocalGroups : public QObject
{
    Q_OBJECT
public:
    // The one instance of a service, made on first use.
    static LocalGroups* of(LocalService& service);

    // The ids of every stored group.
    QStringList ids() const;
    QJsonObject group(const QString& id) const;
    // Members by user name with their role text.
    QHash<QString, QString> members(const QString& id) const;
    bool isMember(const QString& id, const QString& user) const;
    // Keeps one room message: the stanza as the group's members are to get it
    // back (sender and group in its addresses), with the time it arrived; a
    // message kept already is not kept twice, and one that arrives late (from
    // the chat server's archive) takes its place by its time.
    bool recordMessage(const QString& id, const QString& messageId, const QString& stanza,
                       qint64 time);
    // The time of the newest message kept for a group (0 when none).
    qint64 newestTime(const QString& id) const;
    // Stanzas after a time (all of the user's groups when ids is empty), oldest first.
    QStringList messagesSince(const QString& user, const QStringList& ids, qint64 time) const;
    // Up to count stanzas before a message (the newest when messageId is empty),
    // oldest first.
    QStringList messagesBefore(const QString& id, const QString& messageId, int count) const;

signals:
    // Every member of a new group, with their roles.
    void groupCreated(const QString& id, const QHash<QString, QString>& members);
    // Members added to a group by one of its admins (by).
    void membersAdded(const QString& id, const QHash<QString, QString>& added, const QString& by);
    // A member removed by an admin or one who left.
    void memberRemoved(const QString& id, const QString& user);
    // A member's role changed from oldRole to newRole.
    void roleChanged(const QString& id, const QString& user, const QString& oldRole,
                     const QString& newRole);
    // The group's name, description or picture changed.
    void dataChanged(const QString& id);

private:
    explicit LocalGroups(LocalService* service);
    LocalService* service;
};

#endif // LOCALGROUPS_H
