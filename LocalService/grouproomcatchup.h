#ifndef GROUPROOMCATCHUP_H
#define GROUPROOMCATCHUP_H

#include <QHash>
#include <QObject>
#include <QString>

class LocalGroups;
class QDomElement;
class QXmppClient;
class QXmppMamManager;
class QXmppResultSetReply;

// Fills the service's record of a group from the chat server's own archive of
// its room (the server keeps every room message, whoever was there), so that
// messages said while the room keeper was away (the service restarting, the
// chat server restarting under it) are kept all the same. Each time the keeper
// enters a room it asks for the archive from shortly before the newest message
// it kept, page by page; messages it has already are not kept twice. The
// author of an archived message is the account the room recorded for it (the
// rooms do not hide their occupants' addresses), never a field of the sender.
class GroupRoomCatchUp : public QObject
{
    Q_OBJECT
public:
    // The margin before the newest kept message the archive is read from.
    static const qint64 kMarginMsecs = 10 * 60 * 1000;

    GroupRoomCatchUp(QXmppClient* client, LocalGroups* groups, QObject* parent = nullptr);

    void setDomains(const QString& chatDomain, const QString& roomDomain);
    // Asks the room of a group for what its archive holds.
    void catchUp(const QString& groupId);
    // An archive result of one of our queries; true when it was one.
    bool recordArchived(const QDomElement& element);
    // Queries not finished yet.
    int pending() const { return queries.size(); }

signals:
    // A group's archive was read to its end: the record holds what the chat
    // server kept of the room since the time the reading started from
    // (milliseconds since the epoch, 0 for the room's whole archive).
    void caughtUp(const QString& groupId, qint64 since);

private:
    void ask(const QString& groupId, const QString& after);
    void pageDone(const QString& queryId, const QXmppResultSetReply& reply, bool complete);

    QXmppClient* client;
    LocalGroups* groups;
    QXmppMamManager* mam;
    QString roomDomain;
    // Query id to group id.
    QHash<QString, QString> queries;
    // The time each group's reading started from.
    QHash<QString, qint64> starts;
};

#endif // GROUPROOMCATCHUP_H
