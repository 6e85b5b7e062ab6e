#ifndef CHAT_H
#define CHAT_H

#include "Managers/Chat/batchplacement.h"
#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"
#include "foundation/useridentity.h"
#include "model/message.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The messages of one conversation, ordered by send time. Positions are
// integer counters: the oldest message has the smallest, the newest the
// largest; a message that arrives out of order is slotted in by its send time.
//
// In ChatMode_Stored the chat keeps its messages in a store of its own (the
// DataBase this class derives from) and the hashes are a cache of a bounded
// part of it, so memory does not grow with the history; in
// ChatMode_Memory the hashes are the whole history. The store holds
// "chatData" (the counters and the times of the oldest and newest message),
// one record per position (the decimal counter -> message id) and one record
// per message id (its stored JSON form). New messages write "chatData" only
// now and then and on closing; opening finds the positions placed since.
// The store closes its files while idle when many conversations are open
// and opens them again when next used.
class QUORVELCORE_EXPORT Chat : public DataBase
{
public:
    enum ChatMode
    {
        ChatMode_Memory = 0,
        ChatMode_Stored = 1
    };

    Chat();
    ~Chat() override;

    // Names the chat; a stored chat opens its store and preloads the newest
    // message.
    void setChatId(const QString& id, ChatMode mode);
    void openAndLoad();
    // Closes the store and forgets what was loaded.
    void close();
    // Empties the chat; a stored chat's store is deleted from disk.
    void clear();
    bool dbIsOpen() const { return isOpen(); }

    // False when refused: an invalid message, one of another chat, one whose
    // id is a bookkeeping key of the store, or one the store failed to write.
    bool addMessage(const Message& message, bool* isNewest = nullptr);
    // The same result as addMessage for each message in list order, in one
    // write: positions worked out once, no position written twice and the
    // counters record written once.
    void addMessages(const QList<Message>& list);
    bool messageExists(const Message& message) const;

    bool getMessage(int counter, Message* out);
    bool getMessage(const QString& messageId, Message* out);
    bool getLastMessage(Message* out);
    // From maxCounter - offset downwards, count positions, newest first.
    QList<Message> getLastMessages(int offset, int count);
    // The messages below the given one, newest first; false when the id has
    // no position or is the oldest.
    bool getMessagesBefore(const QString& messageId, int count, QList<Message>* out);
    // From the newest position whose message is earlier than time downwards.
    bool getMessagesBefore(qint64 time, int count, QList<Message>* out);

    int getNumberOfMessages() const;
    bool isEmpty() const { return maxCounter < minCounter; }
    // Incoming messages above the newest seen one or the user's own newest.
    // Kept up to date as messages are placed; worked out from the messages
    // only after a change of states or of send times.
    int getUnreadCount();
    // A count kept elsewhere for this chat's present newest message, which
    // spares working it out from the messages; negative for none.
    void setKnownUnreadCount(int count);

    // Whose messages a seen mark reaches: the partner's when the user reads
    // the chat, the user's own only when the partner's receipt says so.
    enum SeenScope
    {
        SeenScope_Everyone,
        SeenScope_PartnerMessages,
        SeenScope_OwnMessages
    };

    // States only move forward; seen spreads down to every older delivered
    // message in scope until an already seen one in scope. The ids that changed.
    QStringList changeMessageState(const QString& messageId, MessageBase::MsgState state,
                                   SeenScope scope = SeenScope_Everyone);
    // Each found id in scope becomes seen.
    QStringList changeMessageStatesToSeen(const QStringList& ids,
                                          SeenScope scope = SeenScope_Everyone);
    // Why a message of the user's that is still not sent stays so (none once
    // it is on its way again); false when nothing changed or the store
    // could not be written.
    bool setSendFailure(const QString& messageId, MessageBase::SendFailure failure);
    bool editMessage(const QString& messageId, const QString& body);
    void setLikeCount(const QString& messageId, int likes);
    void setLiked(const QString& messageId, bool liked);
    void setMessageSentTime(const Message& message);
    void setFilePathForMessage(const Message& message);

    // Whose messages are the user's own: read from the core's identity.
    void setUserIdentity(const UserIdentityPtr& value);

    QString getChatId() const { return chatId; }
    QString getChatDbName() const { return dbName; }
    ChatMode getChatMode() const { return chatMode; }
    int getMaxCounter() const { return maxCounter; }
    int getMinCounter() const { return minCounter; }
    qint64 getLastSentTime() const { return lastSentTime; }
    qint64 getFirstSentTime() const { return firstSentTime; }

    // "Data/" and the SHA-1 digest of the id cut at its first zero byte, read
    // as UTF-8: the name under which earlier versions kept a chat's store.
    // Many ids share it, so it is used only for an existing store whose
    // messages belong to this chat.
    static QString legacyStoreName(const QString& chatId);
    // The collision-free name of a chat's store.
    static QString storeName(const QString& chatId);
    // Keys of the store's own records, which no message id may take.
    static bool isBookkeepingKey(const QString& key);
    // Placing messages writes the counters record with every this many
    // placements and on closing.
    static const int kPlacementsPerChatData = 64;

private:
    static const int kInitialMinCounter = 1000000000;
    static const qint64 kInitialFirstSentTime = 10000000000000LL;
    static const int kUnknownUnread = -1;

    bool isStored() const { return chatMode == ChatMode_Stored; }
    bool openDB();
    // Whether the store can take a write now. One closed while idle opens
    // again; one that could not be opened at all (a full disk when the chat
    // was first opened, a store held by another process) is tried again,
    // and once open its history is read as at a first open.
    bool storeWritable();
    QString chooseStoreName();
    bool storeBelongsToChat();
    void resetCounters();
    void trimCache();

    int findCounterForMsgId(const QString& messageId);
    int findCounterForTime(qint64 time);
    int setCounterForNewMessage(qint64 time);
    int searchForCorrectCounter(qint64 time);
    int newestNotNewerThan(qint64 time);
    // How many messages held are not newer than time.
    int historyNotNewerThan(qint64 time);
    bool acceptsMessage(const Message& message, const char* caller) const;
    // New messages in list order with the times that place them, and the
    // messages held that come again.
    void sortOutBatch(const QList<Message>& list, QVector<Message>* placed,
                      QVector<BatchPlacement::Entry>* entries, QVector<Message>* updated);
    void placeBatch(const BatchPlacement& placement, const QVector<BatchPlacement::Entry>& entries,
                    const QVector<Message>& placed);
    int unreadAfterBatch(int history, const BatchPlacement& placement,
                         const QVector<BatchPlacement::Entry>& entries,
                         const QVector<Message>& placed) const;
    void moveCounters(int from, int to, int step);
    void removePosition(int counter);
    bool insertCounter(int counter, const QString& messageId);
    bool saveMessage(const Message& message);
    bool saveChatData();
    void loadChatData();
    void readChatData();
    void loadChatDataFromJson(const QJsonObject& object);
    void findPositionsPastCounters();
    void closeStore();
    bool loadMessage(int counter);
    bool loadMessage(const QString& messageId);
    bool readStoredMessage(const QString& messageId, Message* out) const;
    void loadMessages(int from, int to);
    void loadLastMessages(int n);
    QString getMessageId(int counter) const;
    bool sendTimeAt(int counter, qint64* time);
    void rememberCounter(int counter, const QString& messageId);
    Message* loadedMessage(int counter);
    QStringList markSeenFrom(const QString& messageId, SeenScope scope);
    bool isOwn(const Message& message) const;
    bool inScope(const Message& message, SeenScope scope) const;
    bool isUnread(const Message& message) const;
    void countPlaced(const Message& message, int counter);

    ChatMode chatMode = ChatMode_Memory;
    QString chatId;
    QString dbName;
    int maxCounter = 0;
    int minCounter = kInitialMinCounter;
    qint64 lastSentTime = 0;
    qint64 firstSentTime = kInitialFirstSentTime;
    int unreadCount = kUnknownUnread;
    // Messages placed since the counters record was last written.
    int unsavedPlacements = 0;
    QHash<int, QString> counters;
    QHash<QString, int> counterOfId;
    QHash<QString, Message> messages;
    UserIdentityPtr identity = UserIdentity::processIdentity();
};

#endif // CHAT_H
