#ifndef ROOMRECORDPRESENCE_H
#define ROOMRECORDPRESENCE_H

#include "foundation/quorvelcore_export.h"

#include <QString>
#include <QXmppElement.h>

class QXmppPresence;

// The room keeper's word, in its presence in a group's room, that the
// service's record of the room holds everything the chat server kept of it
// from a time on: <record xmlns="urn:quorvel:room-record" since="MS"/>, the
// milliseconds since the epoch. A member's program that sees it asks the
// service again for what it missed since then; it is taken only from the
// keeper's own account under its own address as nick name, and it never
// does more than make the program ask.
class QUORVELCORE_EXPORT RoomRecordPresence
{
public:
    // The service's account that keeps the groups' rooms.
    static QString keeperAccount();
    static QXmppElement mark(qint64 since);
    // The time of the mark in the presence of an occupant (room/nick); false
    // when it is not the keeper's or carries no readable mark. A time in the
    // future reads as now.
    static bool read(const QString& occupant, const QXmppPresence& presence, const QString& domain,
                     qint64* since);
};

#endif // ROOMRECORDPRESENCE_H
