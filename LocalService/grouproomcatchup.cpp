#include "grouproomcatchup.h"

#include "grouproomkeeper.h"
#include "localgroups.h"

#include "foundation/simpleqtlogger.h"

#include <QDateTime>
#include <QDomElement>
#include <QXmppClient.h>
#include <QXmppConfiguration.h>
#include <QXmppMamManager.h>
#include <QXmppResultSet.h>
#include <QXmppUtils.h>

namespace {
const QLatin1String kMam("urn:xmpp:mam:2");
const QLatin1String kMucUser("http://jabber.org/protocol/muc#user");
const int kPageSize = 50;

QDomElement child(const QDomElement& parent, const QString& tag, const QString& ns = QString())
{
    for (QDomElement e = parent.firstChildElement(tag); !e.isNull();
         e = e.nextSiblingElement(tag)) {
        if (ns.isEmpty() || e.namespaceURI() == ns)
            return e;
    }
    return QDomElement();
}
} // namespace

GroupRoomCatchUp::GroupRoomCatchUp(QXmppClient* client, LocalGroups* groups, QObject* parent)
    : QObject(parent), client(client), groups(groups), mam(new QXmppMamManager)
{
    client->addExtension(mam);
    connect(mam, &QXmppMamManager::resultsRecieved, this, &GroupRoomCatchUp::pageDone);
    // Queries of a stream that ended are never answered.
    connect(client, &QXmppClient::disconnected, this, [this] {
        queries.clear();
        starts.clear();
    });
}

void GroupRoomCatchUp::setDomains(const QString&, const QString& mucDomain)
{
    roomDomain = mucDomain;
}

void GroupRoomCatchUp::catchUp(const QString& groupId)
{
    ask(groupId, QString());
}

void GroupRoomCatchUp::ask(const QString& groupId, const QString& after)
{
    QXmppResultSetQuery page;
    page.setMax(kPageSize);
    if (!after.isEmpty())
        page.setAfter(after);
    const qint64 newest = groups->newestTime(groupId);
    const QDateTime start = newest > kMarginMsecs
                                ? QDateTime::fromMSecsSinceEpoch(newest - kMarginMsecs, Qt::UTC)
                                : QDateTime();
    if (after.isEmpty())
        starts.insert(groupId, start.isValid() ? start.toMSecsSinceEpoch() : 0);
    const QString queryId = mam->retrieveArchivedMessages(
        groupId + QLatin1Char('@') + roomDomain, QString(), QString(), start, QDateTime(), page);
    queries.insert(queryId, groupId);
}

void GroupRoomCatchUp::pageDone(const QString& queryId, const QXmppResultSetReply& reply,
                                bool complete)
{
    const QString groupId = queries.take(queryId);
    if (groupId.isEmpty())
        return;
    if (!complete && !reply.last().isEmpty()) {
        ask(groupId, reply.last());
        return;
    }
    emit caughtUp(groupId, starts.take(groupId));
}

bool GroupRoomCatchUp::recordArchived(const QDomElement& element)
{
    const QDomElement result = child(element, QStringLiteral("result"), kMam);
    if (result.isNull())
        return false;
    const QString groupId = queries.value(result.attribute(QStringLiteral("queryid")));
    const QString roomJid = groupId + QLatin1Char('@') + roomDomain;
    // Only the room itself answers for its archive.
    if (groupId.isEmpty() || element.attribute(QStringLiteral("from")) != roomJid)
        return false;
    const QDomElement forwarded = child(result, QStringLiteral("forwarded"));
    const QDomElement message = child(forwarded, QStringLiteral("message"));
    const QDateTime stamp = QXmppUtils::datetimeFromString(
        child(forwarded, QStringLiteral("delay")).attribute(QStringLiteral("stamp")));
    const QString from = message.attribute(QStringLiteral("from"));
    if (message.isNull() || !stamp.isValid() || QXmppUtils::jidToBareJid(from) != roomJid ||
        message.attribute(QStringLiteral("type")) != QLatin1String("groupchat"))
        return true;
    const QString author = QXmppUtils::jidToBareJid(
        child(child(message, QStringLiteral("x"), kMucUser), QStringLiteral("item"))
            .attribute(QStringLiteral("jid")));
    // The keeper's own announcements are not members' messages.
    if (author == client->configuration().jidBare())
        return true;
    if (author.isEmpty() || !groups->isMember(groupId, QXmppUtils::jidToUser(author)) ||
        QXmppUtils::jidToResource(from) != author) {
        L_WARN(QStringLiteral("GroupRoomCatchUp | archived message of %1 without a member author "
                              "under its own nick name")
                   .arg(groupId));
        return true;
    }
    groups->recordMessage(groupId, message.attribute(QStringLiteral("id")),
                          GroupRoomKeeper::memberStanza(author, roomJid, message),
                          stamp.toMSecsSinceEpoch());
    return true;
}
