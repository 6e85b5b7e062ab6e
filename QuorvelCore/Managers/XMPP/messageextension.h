#ifndef MESSAGEEXTENSION_H
#define MESSAGEEXTENSION_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QXmppClientExtension.h>

// Turns every incoming message stanza of our form into a Message. Stanzas it
// cannot read (receipts, error bounces, plain room traffic) are left to the
// other extensions. The author of a room message is the sending occupant's
// real account as the room shows it; history that a room replays when it is
// entered is passed on apart, as a hint only: who wrote it cannot be told any
// more, and the service's record of the room holds it with its true author.
// So is a group notice (a member added, removed, his role or the group's
// details changed) said in a room by anyone but the room's owner, the
// service's own room account: a member's word for it is a reason to ask the
// service, never the news itself.
class QUORVELCORE_EXPORT MessageExtension : public QXmppClientExtension
{
    Q_OBJECT
public:
    MessageExtension() = default;

    bool handleStanza(const QDomElement& element) override;

signals:
    void ReceiveQuorvelMessage(Message rcv);
    // A message of a room's replayed history (its user id is empty), or a
    // group notice of an occupant other than the room's owner: hints only.
    void receivedRoomHistory(Message message);

private:
    enum class RoomMessage
    {
        Live,
        Replayed,
        Hint,
        Dropped
    };
    // Binds the author of a room message to the occupant's real account.
    // Dropped, with a log line, for a room we are not in, an occupant whose
    // account the room does not show, or one whose nick name is not its own
    // address. A group notice of an occupant that does not own the room is
    // a hint.
    RoomMessage bindRoomAuthor(const QString& occupant, bool delayed, Message* message);
};

#endif // MESSAGEEXTENSION_H
