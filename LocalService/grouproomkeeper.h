#ifndef GROUPROOMKEEPER_H
#define GROUPROOMKEEPER_H

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QXmppClient.h>
#include <QXmppMucIq.h>

class ChatSessionGuard;
class GroupRoomCatchUp;
class LocalGroups;
class LocalService;
class QDomElement;
class QXmppMucManager;
class QXmppMucRoom;

// Keeps the chat server's rooms in step with the service's groups. It signs
// in with an account of its own, opens a group's room when the group is
// created (and so owns it alone), makes each room private (members only,
// persistent, not listed, every occupant's account shown) with the group's
// members as its only members, invites every member with a control message
// once affiliated, announces in the room every change of the group (members
// added or removed, a role, the group's data) so that each member's program
// asks the service again, takes a removed member's place in the room, and
// keeps every message sent in a room as the group's record, with the sender
// the room reports for the occupant, never a field the sender wrote; each time
// it enters a room it also reads the chat server's archive of the room for
// what was said while it was away (GroupRoomCatchUp). Each time it
// (re)connects it enters the rooms of all the service's stored groups again
// and sets them up anew, so the rooms come back, and rooms of an older stack
// become private, after the chat server or the service restarts; its session
// guard connects it again whenever the chat server went away.
class GroupRoomKeeper : public QObject
{
    Q_OBJECT
public:
    // The keeper's nick name in every room: its own address, as every
    // program's is, so that members' programs take its announcements as the
    // account that sent them.
    QString nickName() const;

    GroupRoomKeeper(LocalService* service, QObject* parent = nullptr);
    ~GroupRoomKeeper() override;

    void connectToServer(const QString& host, int port, const QString& domain, const QString& user,
                         const QString& password, const QString& mucDomain);
    bool isConnected() const;
    ChatSessionGuard* session() const { return guard; }
    // Whether the room of a group is open and owned by the keeper.
    bool hasRoom(const QString& id) const;
    // Whether the user is in the group's room now.
    bool isPresent(const QString& id, const QString& user) const;
    // A room message as the extension saw it; true when it was a room's.
    bool recordRoomMessage(const QDomElement& element);
    // An answer of the room archive; true when it was one.
    bool recordArchivedMessage(const QDomElement& element);
    GroupRoomCatchUp* archive() const { return catchUp; }
    // A room message as a group's members get it back: the author's account
    // and the room as its addresses, the message's id and all its bodies.
    static QString memberStanza(const QString& author, const QString& roomJid,
                                const QDomElement& message);

signals:
    void connected();
    void roomReady(const QString& id);

private:
    void openRoom(const QString& id, const QHash<QString, QString>& members);
    void enterRoom(const QString& id);
    void reenterRooms();
    // Sets the affiliation of each user in the room.
    void affiliate(QXmppMucRoom* open, const QStringList& users,
                   QXmppMucItem::Affiliation affiliation);
    void setAffiliation(QXmppMucRoom* open, const QString& jid,
                        QXmppMucItem::Affiliation affiliation);
    // Members only, persistent, not listed, every occupant's account shown.
    void makePrivate(QXmppMucRoom* open);
    // Takes the room's place from accounts the group does not name and
    // leaves the keeper its only owner.
    void dropStrangers(QXmppMucRoom* open, const QString& id, const QList<QXmppMucItem>& listed);
    void invite(const QString& id, const QHash<QString, QString>& members);
    void admit(const QString& id, const QHash<QString, QString>& members, const QString& by);
    void remove(const QString& id, const QString& user);
    void announceRole(const QString& id, const QString& user, const QString& oldRole,
                      const QString& newRole);
    void announceData(const QString& id);
    // A control message in the group's room, of the kind with its fields; sent
    // once the keeper is in the room.
    void announce(const QString& id, const QString& text, const QString& kind,
                  const QHash<QString, QString>& fields);
    void sendWaitingAnnouncements(const QString& id);
    // Tells the members in the room, in the keeper's presence there, that
    // the record holds the room's messages since the time, so that those who
    // missed some while the keeper was away ask for them again.
    void announceRecordComplete(const QString& id, qint64 since);
    // A control message with its fields as extra bodies; the text is its
    // plain body, shown on the boards of the messages that are kept.
    void sendControl(const QString& to, bool toRoom, const QString& text,
                     const QHash<QString, QString>& fields);
    QXmppMucRoom* room(const QString& id) const;
    QString userJid(const QString& user) const { return user + QLatin1Char('@') + chatDomain; }

    LocalGroups* groups;
    QXmppClient client;
    ChatSessionGuard* guard;
    QXmppMucManager* muc;
    GroupRoomCatchUp* catchUp;
    QString chatDomain;
    QString roomDomain;
    QString ownJid;
    // Members to invite once a room is joined.
    QHash<QString, QHash<QString, QString>> waiting;
    // Announcements to send once a room is joined: text and fields.
    QHash<QString, QList<QPair<QString, QHash<QString, QString>>>> waitingAnnouncements;
};

#endif // GROUPROOMKEEPER_H
