#include "grouproomkeeper.h"

#include "chatsessionguard.h"
#include "grouproomcatchup.h"
#include "grouproomrecorder.h"
#include "localgroups.h"
#include "localservice.h"

#include "Managers/XMPP/roomrecordpresence.h"
#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"

#include <QDateTime>
#include <QDomElement>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUuid>
#include <QXmppConfiguration.h>
#include <QXmppDataForm.h>
#include <QXmppMessage.h>
#include <QXmppMucIq.h>
#include <QXmppMucManager.h>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

namespace {
const QLatin1String kXmlNamespace("http://www.w3.org/XML/1998/namespace");

QString bodyLanguage(const QDomElement& body)
{
    const QString lang = body.attributeNS(kXmlNamespace, QStringLiteral("lang"));
    return lang.isEmpty() ? body.attribute(QStringLiteral("xml:lang")) : lang;
}

QString attribute(const QString& name, const QString& value)
{
    return QStringLiteral(" %1=\"%2\"").arg(name, value.toHtmlEscaped());
}
} // namespace

GroupRoomKeeper::GroupRoomKeeper(LocalService* service, QObject* parent)
    : QObject(parent), groups(LocalGroups::of(*service))
{
    client.insertExtension(0, new GroupRoomRecorder(this));
    guard = new ChatSessionGuard(&client, this);
    muc = new QXmppMucManager;
    client.addExtension(muc);
    catchUp = new GroupRoomCatchUp(&client, groups, this);
    connect(guard, &ChatSessionGuard::sessionStarted, this, &GroupRoomKeeper::reenterRooms);
    connect(guard, &ChatSessionGuard::sessionStarted, this, &GroupRoomKeeper::connected);
    connect(&client, &QXmppClient::error, this, [](QXmppClient::Error error) {
        L_WARN(QStringLiteral("GroupRoomKeeper | chat server error %1").arg(int(error)));
    });
    connect(catchUp, &GroupRoomCatchUp::caughtUp, this, &GroupRoomKeeper::announceRecordComplete);
    connect(groups, &LocalGroups::groupCreated, this, &GroupRoomKeeper::openRoom);
    connect(groups, &LocalGroups::membersAdded, this, &GroupRoomKeeper::admit);
    connect(groups, &LocalGroups::memberRemoved, this, &GroupRoomKeeper::remove);
    connect(groups, &LocalGroups::roleChanged, this, &GroupRoomKeeper::announceRole);
    connect(groups, &LocalGroups::dataChanged, this, &GroupRoomKeeper::announceData);
}

GroupRoomKeeper::~GroupRoomKeeper()
{
    guard->stop();
}

void GroupRoomKeeper::connectToServer(const QString& host, int port, const QString& domain,
                                      const QString& user, const QString& password,
                                      const QString& mucDomain)
{
    chatDomain = domain;
    roomDomain = mucDomain;
    ownJid = userJid(user);
    catchUp->setDomains(domain, mucDomain);
    QXmppConfiguration config;
    config.setHost(host);
    config.setPort(port);
    config.setDomain(domain);
    config.setUser(user);
    config.setPassword(password);
    config.setResource(QStringLiteral("keeper"));
    config.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    // The stream's socket copied the TLS defaults when it was made; it gets
    // the trusted authorities as they stand now.
    ServiceConfig::installExtraCaCertificates();
    for (QSslSocket* socket : client.findChildren<QSslSocket*>()) {
        QSslConfiguration tls = socket->sslConfiguration();
        tls.setCaCertificates(QSslConfiguration::defaultConfiguration().caCertificates());
        socket->setSslConfiguration(tls);
    }
    guard->start(config);
}

QString GroupRoomKeeper::nickName() const
{
    return ownJid;
}

bool GroupRoomKeeper::isConnected() const
{
    return client.isConnected();
}

QXmppMucRoom* GroupRoomKeeper::room(const QString& id) const
{
    const QString address = id + QLatin1Char('@') + roomDomain;
    for (QXmppMucRoom* candidate : muc->rooms()) {
        if (candidate->jid() == address)
            return candidate;
    }
    return nullptr;
}

bool GroupRoomKeeper::hasRoom(const QString& id) const
{
    QXmppMucRoom* open = room(id);
    // Only an owner may change a room's configuration.
    return open && open->isJoined() &&
           open->allowedActions().testFlag(QXmppMucRoom::ConfigurationAction);
}

bool GroupRoomKeeper::isPresent(const QString& id, const QString& user) const
{
    QXmppMucRoom* open = room(id);
    if (!open)
        return false;
    for (const QString& occupant : open->participants()) {
        if (QXmppUtils::jidToBareJid(open->participantPresence(occupant).mucItem().jid()) ==
            userJid(user))
            return true;
    }
    return false;
}

void GroupRoomKeeper::openRoom(const QString& id, const QHash<QString, QString>& members)
{
    if (room(id)) {
        invite(id, members);
        return;
    }
    waiting.insert(id, members);
    enterRoom(id);
}

void GroupRoomKeeper::enterRoom(const QString& id)
{
    if (QXmppMucRoom* open = room(id)) {
        if (!open->isJoined())
            open->join();
        return;
    }
    QXmppMucRoom* created = muc->addRoom(id + QLatin1Char('@') + roomDomain);
    created->setNickName(nickName());
    connect(created, &QXmppMucRoom::joined, this, [this, id, created] {
        // Whatever the room was before (new, or left by an older stack), the
        // group's members are its members, affiliated before anything else,
        // and only they may enter it; accounts the group does not name lose
        // their place once the room's lists are read.
        affiliate(created, groups->members(id).keys(), QXmppMucItem::MemberAffiliation);
        makePrivate(created);
        created->requestPermissions();
        const QHash<QString, QString> invited = waiting.take(id);
        if (!invited.isEmpty())
            invite(id, invited);
        sendWaitingAnnouncements(id);
        emit roomReady(id);
        // What was said while the keeper was away is in the server's archive.
        catchUp->catchUp(id);
    });
    connect(created, &QXmppMucRoom::permissionsReceived, this,
            [this, id, created](const QList<QXmppMucItem>& listed) {
                dropStrangers(created, id, listed);
            });
    created->join();
}

void GroupRoomKeeper::reenterRooms()
{
    for (const QString& id : groups->ids()) {
        if (!groups->members(id).isEmpty())
            enterRoom(id);
    }
}

void GroupRoomKeeper::affiliate(QXmppMucRoom* open, const QStringList& users,
                                QXmppMucItem::Affiliation affiliation)
{
    for (const QString& user : users)
        setAffiliation(open, userJid(user), affiliation);
}

void GroupRoomKeeper::setAffiliation(QXmppMucRoom* open, const QString& jid,
                                     QXmppMucItem::Affiliation affiliation)
{
    // One account a request: the chat server applies only the first item of
    // a request and answers it as done. Sent as it is, not through the room's
    // setPermissions, which would also take away every affiliation it has
    // read and is not given again, the keeper's ownership among them.
    QXmppMucItem item;
    item.setJid(jid);
    item.setAffiliation(affiliation);
    QXmppMucAdminIq iq;
    iq.setType(QXmppIq::Set);
    iq.setTo(open->jid());
    iq.setItems({item});
    client.sendPacket(iq);
}

void GroupRoomKeeper::makePrivate(QXmppMucRoom* open)
{
    // Only the fields given change; the chat server keeps the others.
    const auto field = [](QXmppDataForm::Field::Type type, const QString& key,
                          const QVariant& value) {
        QXmppDataForm::Field result(type);
        result.setKey(key);
        result.setValue(value);
        return result;
    };
    QXmppDataForm form(QXmppDataForm::Submit);
    form.setFields({field(QXmppDataForm::Field::HiddenField, QStringLiteral("FORM_TYPE"),
                          QStringLiteral("http://jabber.org/protocol/muc#roomconfig")),
                    field(QXmppDataForm::Field::BooleanField,
                          QStringLiteral("muc#roomconfig_membersonly"), true),
                    field(QXmppDataForm::Field::BooleanField,
                          QStringLiteral("muc#roomconfig_persistentroom"), true),
                    field(QXmppDataForm::Field::BooleanField,
                          QStringLiteral("muc#roomconfig_publicroom"), false),
                    field(QXmppDataForm::Field::ListSingleField,
                          QStringLiteral("muc#roomconfig_whois"), QStringLiteral("anyone"))});
    open->setConfiguration(form);
}

void GroupRoomKeeper::dropStrangers(QXmppMucRoom* open, const QString& id,
                                    const QList<QXmppMucItem>& listed)
{
    const QHash<QString, QString> members = groups->members(id);
    const QString keeper = nickName();
    QStringList strangers;
    QStringList demoted;
    for (const QXmppMucItem& item : listed) {
        const QString jid = QXmppUtils::jidToBareJid(item.jid());
        const bool member = QXmppUtils::jidToDomain(jid) == chatDomain &&
                            members.contains(QXmppUtils::jidToUser(jid));
        switch (item.affiliation()) {
        case QXmppMucItem::OwnerAffiliation:
            // The keeper alone owns the room, so no one else can open it.
            if (jid != keeper)
                (member ? demoted : strangers).append(jid);
            break;
        case QXmppMucItem::AdminAffiliation:
        case QXmppMucItem::MemberAffiliation:
            if (!member)
                strangers.append(jid);
            else if (item.affiliation() == QXmppMucItem::AdminAffiliation)
                demoted.append(jid);
            break;
        default:
            break;
        }
    }
    if (strangers.isEmpty() && demoted.isEmpty())
        return;
    L_INFO(QStringLiteral("GroupRoomKeeper | %1 affiliations of %2 set back to the group's")
               .arg(strangers.size() + demoted.size())
               .arg(id));
    for (const QString& jid : qAsConst(strangers))
        setAffiliation(open, jid, QXmppMucItem::NoAffiliation);
    for (const QString& jid : qAsConst(demoted))
        setAffiliation(open, jid, QXmppMucItem::MemberAffiliation);
}

void GroupRoomKeeper::invite(const QString& id, const QHash<QString, QString>& members)
{
    QXmppMucRoom* open = room(id);
    if (!open || !open->isJoined()) {
        waiting[id].insert(members);
        return;
    }
    // Affiliated first: the chat server handles the keeper's stanzas in the
    // order sent, so a member may enter by the time its invitation arrives.
    affiliate(open, members.keys(), QXmppMucItem::MemberAffiliation);
    const QString now = QString::number(QDateTime::currentMSecsSinceEpoch());
    for (auto it = members.constBegin(); it != members.constEnd(); ++it)
        sendControl(userJid(it.key()), false, QString::fromUtf8("به گروه اضافه شدید"),
                    {{"MAJOR_TYPE", "CONTROL_MESSAGE"},
                     {"MINOR_TYPE", "GROUP_INVITATION"},
                     {"JID", id},
                     {"USER_ROLE", it.value()},
                     {"SEND_TIME_IN_GMT", now}});
}

void GroupRoomKeeper::admit(const QString& id, const QHash<QString, QString>& members,
                            const QString& by)
{
    invite(id, members);
    // The members already there learn of the newcomers.
    for (auto it = members.constBegin(); it != members.constEnd(); ++it)
        announce(id, QString::fromUtf8("%1 به گروه اضافه شد").arg(it.key()), "GROUP_JOIN",
                 {{"CHANGE_USER_ID", it.key()}, {"ADDED_BY", by}, {"USER_ROLE", it.value()}});
}

void GroupRoomKeeper::remove(const QString& id, const QString& user)
{
    // Announced first, so the removed member learns of it too. The text is
    // what members' boards show for it.
    announce(id, QString::fromUtf8("%1 از گروه حذف شد").arg(user), "GROUP_REMOVE",
             {{"REMOVED_USER_ID", user}});
    QXmppMucRoom* open = room(id);
    if (!open)
        return;
    // Without its affiliation the account may not stay in the members-only
    // room nor come back: the chat server sends it out.
    affiliate(open, {user}, QXmppMucItem::NoAffiliation);
    for (const QString& occupant : open->participants()) {
        if (QXmppUtils::jidToBareJid(open->participantPresence(occupant).mucItem().jid()) ==
            userJid(user))
            open->kick(occupant, QStringLiteral("removed from the group"));
    }
}

void GroupRoomKeeper::announceRole(const QString& id, const QString& user, const QString& oldRole,
                                   const QString& newRole)
{
    announce(id, QString::fromUtf8("نقش %1 در گروه تغییر کرد").arg(user), "GROUP_CHANGE_ROLE",
             {{"CHANGE_USER_ID", user}, {"OLD_ROLE", oldRole}, {"NEW_ROLE", newRole}});
}

void GroupRoomKeeper::announceData(const QString& id)
{
    announce(id, QString::fromUtf8("مشخصات گروه تغییر کرد"), "GROUP_CHANGE_METADATA", {});
}

void GroupRoomKeeper::announce(const QString& id, const QString& text, const QString& kind,
                               const QHash<QString, QString>& fields)
{
    QHash<QString, QString> all = fields;
    all.insert(QStringLiteral("MAJOR_TYPE"), QStringLiteral("CONTROL_MESSAGE"));
    all.insert(QStringLiteral("MINOR_TYPE"), kind);
    all.insert(QStringLiteral("JID"), id);
    all.insert(QStringLiteral("SEND_TIME_IN_GMT"),
               QString::number(QDateTime::currentMSecsSinceEpoch()));
    QXmppMucRoom* open = room(id);
    if (!open || !open->isJoined()) {
        // Sent when the keeper is back in the room.
        waitingAnnouncements[id].append({text, all});
        enterRoom(id);
        return;
    }
    sendControl(open->jid(), true, text, all);
}

void GroupRoomKeeper::sendWaitingAnnouncements(const QString& id)
{
    QXmppMucRoom* open = room(id);
    const auto waitingHere = waitingAnnouncements.take(id);
    for (const auto& entry : waitingHere)
        sendControl(open->jid(), true, entry.first, entry.second);
}

void GroupRoomKeeper::announceRecordComplete(const QString& id, qint64 since)
{
    QXmppMucRoom* open = room(id);
    if (!open || !open->isJoined())
        return;
    // A change of the keeper's presence in the room reaches every occupant,
    // and those who enter later find it as it stands; it is never archived.
    QXmppPresence presence;
    presence.setTo(open->jid() + QLatin1Char('/') + nickName());
    presence.setExtensions({RoomRecordPresence::mark(since)});
    client.sendPacket(presence);
}

void GroupRoomKeeper::sendControl(const QString& to, bool toRoom, const QString& text,
                                  const QHash<QString, QString>& fields)
{
    QXmppMessage message;
    message.setTo(to);
    message.setType(toRoom ? QXmppMessage::GroupChat : QXmppMessage::Chat);
    message.setId(QUuid::createUuid().toString(QUuid::WithoutBraces));
    message.setBody(text);
    QXmppElementList bodies;
    for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
        QXmppElement body;
        body.setTagName(QStringLiteral("body"));
        body.setAttribute(QStringLiteral("xml:lang"), it.key());
        body.setValue(it.value());
        bodies.append(body);
    }
    message.setExtensions(bodies);
    client.sendPacket(message);
}

bool GroupRoomKeeper::recordRoomMessage(const QDomElement& element)
{
    const QString from = element.attribute(QStringLiteral("from"));
    const QString roomJid = QXmppUtils::jidToBareJid(from);
    const QString nick = QXmppUtils::jidToResource(from);
    if (element.attribute(QStringLiteral("type")) != QLatin1String("groupchat") ||
        QXmppUtils::jidToDomain(roomJid) != roomDomain || nick.isEmpty() || nick == nickName() ||
        !element.firstChildElement(QStringLiteral("delay")).isNull())
        return false;
    const QString id = QXmppUtils::jidToUser(roomJid);
    QXmppMucRoom* open = room(id);
    if (!open)
        return false;
    // The sender is the occupant's account as the room knows it.
    const QString author =
        QXmppUtils::jidToBareJid(open->participantPresence(from).mucItem().jid());
    if (author.isEmpty() || !groups->isMember(id, QXmppUtils::jidToUser(author)))
        return false;
    // Every program enters under its own address; a member under another
    // member's nick name is passing for that member.
    if (nick != author) {
        L_WARN(QStringLiteral("GroupRoomKeeper | not kept: a message of %1 under the nick name %2")
                   .arg(author, nick.left(80)));
        return false;
    }
    const QString stanza = memberStanza(author, roomJid, element);
    return groups->recordMessage(id, element.attribute(QStringLiteral("id")), stanza,
                                 QDateTime::currentMSecsSinceEpoch());
}

QString GroupRoomKeeper::memberStanza(const QString& author, const QString& roomJid,
                                      const QDomElement& message)
{
    QString stanza = QStringLiteral("<message") + attribute("type", "groupchat") +
                     attribute("from", author) + attribute("to", roomJid) +
                     attribute("id", message.attribute(QStringLiteral("id"))) + QStringLiteral(">");
    for (QDomElement body = message.firstChildElement(QStringLiteral("body")); !body.isNull();
         body = body.nextSiblingElement(QStringLiteral("body"))) {
        const QString lang = bodyLanguage(body);
        stanza += QStringLiteral("<body") +
                  (lang.isEmpty() ? QString() : attribute("xml:lang", lang)) + QStringLiteral(">") +
                  body.text().toHtmlEscaped() + QStringLiteral("</body>");
    }
    return stanza + QStringLiteral("</message>");
}

bool GroupRoomKeeper::recordArchivedMessage(const QDomElement& element)
{
    return catchUp->recordArchived(element);
}
