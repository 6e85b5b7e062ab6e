#ifndef MESSAGEEXTENSION_H
#define MESSAGEEXTENSION_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QXmppClientExtension.h>

// Turns every incoming message stanza of our form into a Message. Stanzas it
// cannot read (receipts, error bounces, plain room traffic) are left to the
// other extensions.
class QUORVELCORE_EXPORT MessageExtension : public QXmppClientExtension
{
    Q_OBJECT
public:
    MessageExtension() = default;

    bool handleStanza(const QDomElement& element) override;

signals:
    void ReceiveQuorvelMessage(Message rcv);

private:
    // In a room that shows us its occupants' real addresses, the author of a
    // room message is the sending occupant's own account, whatever nick name
    // it has taken.
    void bindRoomAuthor(const QString& occupant, Message* message);
};

#endif // MESSAGEEXTENSION_H
