#include "Managers/XMPP/roomrecordpresence.h"

#include <QDateTime>
#include <QDomElement>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

namespace {
const QString kNamespace = QStringLiteral("urn:quorvel:room-record");
const QString kTag = QStringLiteral("record");
const QString kSince = QStringLiteral("since");
} // namespace

QString RoomRecordPresence::keeperAccount()
{
    return QStringLiteral("groupkeeper");
}

QXmppElement RoomRecordPresence::mark(qint64 since)
{
    QXmppElement element;
    element.setTagName(kTag);
    element.setAttribute(QStringLiteral("xmlns"), kNamespace);
    element.setAttribute(kSince, QString::number(qMax<qint64>(0, since)));
    return element;
}

bool RoomRecordPresence::read(const QString& occupant, const QXmppPresence& presence,
                              const QString& domain, qint64* since)
{
    const QString keeper = keeperAccount() + QLatin1Char('@') + domain;
    // The room shows each occupant's account; the keeper enters under its
    // own address.
    if (presence.type() != QXmppPresence::Available ||
        QXmppUtils::jidToBareJid(presence.mucItem().jid()) != keeper ||
        QXmppUtils::jidToResource(occupant) != keeper)
        return false;
    const QXmppElementList extensions = presence.extensions();
    for (const QXmppElement& element : extensions) {
        if (element.tagName() != kTag ||
            (element.attribute(QStringLiteral("xmlns")) != kNamespace &&
             element.sourceDomElement().namespaceURI() != kNamespace))
            continue;
        bool ok = false;
        const qint64 time = element.attribute(kSince).toLongLong(&ok);
        if (!ok || time < 0)
            return false;
        *since = qMin(time, QDateTime::currentMSecsSinceEpoch());
        return true;
    }
    return false;
}
