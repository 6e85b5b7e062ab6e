#ifndef CHANNEL_H
#define CHANNEL_H

#include "Managers/Chat/chat.h"
#include "foundation/quorvelcore_export.h"
#include "model/channelinfo.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/message.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// One channel as the channel manager holds it: its description with the local
// state (mute, unread count, last message) and its message store. Copies share
// one store; the store is opened on first use, not when the channel is made,
// and closed when the last copy goes.
class QUORVELCORE_EXPORT Channel
{
public:
    Channel() = default;
    explicit Channel(const ChannelInfo& info) : info(info) {}

    // Gives the channel its store, kept on disk (ChatMode_Stored) or in
    // memory; nothing is opened yet.
    void initChat(Chat::ChatMode mode);
    // Whose posts are the user's own, for a store made after this call.
    void setUserIdentity(const UserIdentityPtr& value) { identity = value; }
    bool hasStore() const { return bool(store); }
    bool isStoreOpen() const { return store && store->opened; }

    QString getId() const { return info.getId(); }
    ChannelInfo getInfo() const { return info; }
    void setInfo(const ChannelInfo& value) { info = value; }
    // Refreshes the last message and unread count from the store first.
    ChannelInfo getInfoWLastMsg();
    bool setDataFromJson(const QJsonObject& object) { return info.setDataFromJson(object); }
    bool setDataFromDBJson(const QJsonObject& object) { return info.setDataFromDBJson(object); }
    void setDBFields(const Channel& other) { info.setDBFields(other.info); }
    void setMessagingFields(const Channel& other);
    void setLastMessage(const Message& message) { info.setLastMessage(message); }
    void updateLastMessage();

    bool getLastMessage(Message* out);
    QList<Message> getLastMessages(int offset, int count);
    bool getMessagesBefore(const QString& messageId, int count, QList<Message>* out);
    bool getMessagesBefore(qint64 time, int count, QList<Message>* out);
    bool getMessage(const QString& messageId, Message* out);
    bool containsMessage(const QString& messageId);
    int getNumberOfMessages();
    int getUnreadCount();
    void resetUnreadCount() { info.setUnreadCount(0); }

    // Stores the message; on success the caller's copy gets the stored
    // fields and isLast tells whether it is now the newest.
    bool insertMessage(Message* message, bool* isLast);
    bool editMessage(const QString& messageId, const QString& body);
    QStringList changeMessageState(const QString& messageId, MessageBase::MsgState state);
    QStringList changeMessageStateToSeen(const QStringList& ids);
    bool setSendFailure(const QString& messageId, MessageBase::SendFailure failure);
    void setFilePathForMessage(const Message& message);
    void setLikeCount(const LVReply& reply);
    void setLiked(const LikePair& pair);
    // Deletes the stored messages and lets go of the store.
    void removeChat();

private:
    struct Store
    {
        Chat chat;
        Chat::ChatMode mode = Chat::ChatMode_Stored;
        bool opened = false;
    };
    // The store, opened on first use; null when the channel has none.
    Chat* chat();
    void refreshMessagingFields();

    ChannelInfo info;
    UserIdentityPtr identity;
    std::shared_ptr<Store> store;
};

#endif // CHANNEL_H
