#ifndef CONVERSATIONKEEPER_H
#define CONVERSATIONKEEPER_H

#include "foundation/quorvelcore_export.h"
#include "model/message.h"
#include "model/messagerequest.h"
#include "model/seenmessage.h"

#include <QString>

// What the Manager's message flow needs of a manager that keeps one kind of
// conversation (one-to-one chats, groups, channels). The Manager picks the
// keeper once from the message's kind and talks to it only through this.
class QUORVELCORE_EXPORT ConversationKeeper
{
public:
    virtual ~ConversationKeeper() = default;

    // What became of a message the user wrote, handed to the keeper to store.
    enum class Keeping
    {
        Kept,
        // Not this keeper's to keep (unknown conversation, id already held).
        Refused,
        // It could not be written (the disk is full, the store unwritable).
        NotWritten
    };
    // What became of a stored own message handed on to go out.
    enum class Posting
    {
        // The kind travels over the chat server: the Manager sends it.
        ByChatServer,
        // In this keeper's own outbox, on its way.
        Queued,
        // The outbox could not be written.
        NotQueued
    };

    // Whether id names one of this keeper's conversations.
    virtual bool keepsConversation(const QString& id) const = 0;

    // Stores a message the user wrote, with its id, author and send time
    // already set, as not sent, and answers the GUI when it is kept (a
    // message not kept is then not sent either).
    virtual Keeping storeOwnMessage(const Message& message) = 0;
    // Sends a stored own message through this keeper's own path.
    virtual Posting postOwnMessage(const Message& message)
    {
        Q_UNUSED(message)
        return Posting::ByChatServer;
    }
    // Writes why a stored own message is still not sent (none: it is on its
    // way again); true when the stored message changed, even where the disk
    // did not take the change.
    virtual bool markNotSent(const QString& id, const QString& messageId,
                             MessageBase::SendFailure why) = 0;
    // Answers the GUI with an own message that could not be kept, so that it
    // shows all the same (with its reason).
    virtual void showUnkeptMessage(const Message& message) = 0;
    // Stores a message that arrived, answers the GUI and raises its
    // notification; false when refused (unknown conversation, already held).
    virtual bool storeArrivedMessage(const Message& message) = 0;

    // Answers a history request of the GUI with this kind's own command,
    // at once or when the missing page has been fetched.
    virtual void answerHistory(const MessageRequest& request) = 0;

    // The chat server confirmed one of the user's messages. The message's new
    // state when the stored state changed (the Manager answers it), otherwise
    // MsgState_Draft.
    virtual MessageBase::MsgState confirmSent(const Message& message) = 0;
    // The user has read the conversation up to its newest message. True when
    // a receipt must go to the other party, written into receipt.
    virtual bool markSeen(const QString& id, SeenMessage* receipt) = 0;
    virtual void setFilePath(const Message& message) = 0;
    // Any control message; a keeper acts on the kinds that concern it.
    virtual void applyControlMessage(const Message& message) = 0;
    // A mute change made on another of the user's devices: kept and shown.
    virtual void applyMuteUpdate(const QString& id, bool mute) = 0;
};

#endif // CONVERSATIONKEEPER_H
