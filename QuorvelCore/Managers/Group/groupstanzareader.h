#ifndef GROUPSTANZAREADER_H
#define GROUPSTANZAREADER_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>

// Reads the group messages that the web service returns as chat-server
// message stanzas (missed messages and archive pages). The stanza's addresses
// name the sender and the group; every extra field travels as a "body" element
// whose xml:lang names it. Each stanza is read on its own: one that is not a
// well-formed group message is skipped and logged, the others are kept.
class QUORVELCORE_EXPORT GroupStanzaReader
{
public:
    // The reply's "Messages" strings, Base64-decoded when
    // "MessagesBase64Encoded" is "1", each given the state.
    static QList<Message> readReply(const QJsonObject& reply, MessageBase::MsgState state);
    static bool areMessagesEncoded(const QJsonObject& reply);
    static QJsonArray getMessagesArray(const QJsonObject& reply);
    // One stanza as UTF-8 text. Documents with a document type declaration
    // (and so with entity declarations) are refused.
    static bool parse(const QByteArray& stanza, Message* out);
    // The part of an address before its first "@".
    static QString extractPlainId(const QString& address);
};

#endif // GROUPSTANZAREADER_H
