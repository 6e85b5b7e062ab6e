#ifndef CONVERSATIONEDITS_H
#define CONVERSATIONEDITS_H

#include "Managers/Chat/chat.h"
#include "foundation/quorvelcore_export.h"
#include "model/message.h"
#include "model/messagereply.h"

#include <functional>

// What one-to-one chats and groups do alike with their stores: apply an edit
// that arrived and add the messages a history page replies to.
class QUORVELCORE_EXPORT ConversationEdits
{
public:
    // Applies the edit control message to its target in the store. Only the
    // author of a message may edit it. True with the edited message read back.
    static bool apply(Chat* chat, const Message& edit, bool toDisplayText, Message* edited);
    // Adds every stored message that a message of the page replies to, once.
    static void addReplyMessages(MessageReply* reply,
                                 const std::function<Chat*(const QString&)>& chatOf);
};

#endif // CONVERSATIONEDITS_H
