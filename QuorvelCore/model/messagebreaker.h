#ifndef MESSAGEBREAKER_H
#define MESSAGEBREAKER_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QList>
#include <QString>

// Splits the text of an outgoing message that is too long into several messages. The parts
// rejoin to the original text; a cut never falls inside a character, an emoji sequence or a
// tag of the message text.
class QUORVELCORE_EXPORT MessageBreaker
{
public:
    static QList<Message> breakBigMessage(const Message& message);

private:
    static bool needToBeBroken(const QString& text);
    static int stringSize(const QString& text);
    static int findFirstPartIndex(const QString& text);
    static void breakInto2Parts(const QString& text, int index, QString* first, QString* rest);
    static Message toMessage(const QString& text, const Message& message);
};

#endif // MESSAGEBREAKER_H
