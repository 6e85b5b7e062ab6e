#ifndef CHANNELMANAGER_H
#define CHANNELMANAGER_H

#include "Managers/Channel/channel.h"
#include "Managers/Channel/channeloutbox.h"
#include "Managers/command.h"
#include "Managers/conversationkeeper.h"
#include "foundation/abstractmanager.h"
#include "foundation/database.h"
#include "foundation/pendingreplies.h"
#include "foundation/quorvelcore_export.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channeleditmessage.h"
#include "model/channelinfo.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersrequest.h"
#include "model/channelmessagecondition.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/notificationmessage.h"
#include "model/polldata.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariant>

// The channels the user follows or owns: their descriptions in
// "channelDataBase", one message store per channel, the directory, channel
// administration and members as web-service procedures, and channel messages:
// kept in a persistent outbox and sent one at a time until the service has
// each (a failed send is tried again with a growing wait, also after a
// restart; one the service refuses for good leaves the outbox, not sent),
// missed ones pulled at each connection, older ones fetched as archive pages. Replies carry no echo
// of their request and come back in the order asked, so each kind of request
// keeps the values it waits for, oldest first.
class QUORVELCORE_EXPORT ChannelManager : public AbstractManager, public ConversationKeeper
{
    Q_OBJECT
public:
    explicit ChannelManager(QObject* parent = nullptr);

    // The margin taken off the time of a missed-message pull, so a local
    // clock ahead of the service's skips nothing (duplicates are refused).
    static const qint64 kSinceMarginSeconds = 600;
    static const int kArchivePageSize = 50;

    // ---- Store and list ----
    bool contains(const QString& id) const { return channels.contains(id); }
    bool getChannelInfo(const QString& id, ChannelInfo* out) const;
    QHash<QString, Channel> getChannels() const { return channels; }
    QHash<QString, ChannelCategory> getChannelCategories() const { return categories; }
    QList<ChannelInfo> getChannelsSorted() const;
    bool getLastMessage(const QString& id, Message* out);
    void changeMuteStatus(const ChannelInfo& info);
    void respondChannelData(const QString& id);
    void checkChannelsToHave1Msg(const QString& id);

    // ---- Directory, administration and members ----
    void onInitialize();
    void startChannelList();
    void startChannelCategories();
    void startBrowseChannelCategories(const QString& categoryId);
    void startChannelJoin(const QString& id);
    void startChannelLeave(const QString& id);
    void startChannelData(const QString& id);
    void startChannelDataAndAdd(const QString& id);
    void startChannelCreate(const ChannelInfo& info);
    void startChannelEdit(const ChannelInfo& info);
    void startCheckChannelId(const QString& id);
    void startChannelGetMembers(const ChannelMembersRequest& request);
    void startDeleteChannel(const QString& id);
    void respondAddMember(const ChannelMemberRole& role);
    void respondRemoveMember(const ChannelMemberRole& role);
    void respondChangeMemberRole(const ChannelMemberRole& role);
    void respondChangeMessageCondition(const ChannelMessageCondition& condition);
    void processReply(Procedure procedure, const QJsonObject& reply);

    // ---- Messages ----
    // False when the post could not be kept in the outbox.
    bool sendMessage(Message* message);
    bool addMessage(const Message& message, bool notify);
    bool addMessagePair(const Message& message);
    void sendNotification(const Message& message);
    bool respondMessageRequest(const MessageRequest& request, MessageReply* reply);
    QStringList changeMessageState(const QString& id, const QString& messageId,
                                   MessageBase::MsgState state);
    QStringList changeMessageStatesToSeen(const QString& id, const QStringList& ids);
    void resetUnreadCount(const QString& id);
    void processControlMessage(const Message& message);
    void likeGetResults(const LVReply& reply);
    void likeSetStatus(const LikePair& pair);
    void setFilePathForMessage(const Message& message);
    void sendPollToChannel(const PollData& poll);
    // Posts in the outbox, the one in flight included.
    int pendingSends() const { return outbox.size(); }

    // ---- The channel kind in the Manager's message flow ----
    bool keepsConversation(const QString& id) const override { return contains(id); }
    Keeping storeOwnMessage(const Message& message) override;
    Posting postOwnMessage(const Message& message) override;
    bool markNotSent(const QString& id, const QString& messageId,
                     MessageBase::SendFailure why) override;
    void showUnkeptMessage(const Message& message) override;
    bool storeArrivedMessage(const Message& message) override;
    void answerHistory(const MessageRequest& request) override;
    MessageBase::MsgState confirmSent(const Message& message) override;
    bool markSeen(const QString& id, SeenMessage* receipt) override;
    void setFilePath(const Message& message) override { setFilePathForMessage(message); }
    void applyControlMessage(const Message& message) override { processControlMessage(message); }
    void applyMuteUpdate(const QString& id, bool mute) override;

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void notification(const NotificationMessage& message);
    void messageAdded(const Message& message);
    void messageReply(const MessageReply& reply);
    void channelRemoved(const QString& id);
    void channelCategoriesData(const QHash<QString, ChannelCategory>& categories);
    void channelCategoryBrowseData(const BrowseCategoryResult& result);
    void channelMemberAdded(const ChannelMemberRole& role);
    void channelMemberRemoved(const ChannelMemberRole& role);
    void channelMemberRoleChanged(const ChannelMemberRole& role);
    void channelMessageConditionChanged(const ChannelMessageCondition& condition);
    void channelLastLastMsg(const Message& message);
    void commandResponse(Command command, const QVariant& output);

public slots:
    void startLoading() override;
    void result(Procedure procedure, int resultCode);
    void xmppChatClientConnected(qint64 lastTimeConnected);
    // The service's channel account says it is back: posts given while it was
    // away may not have reached the user, so they are asked for again.
    void channelAccountBack();

private:
    // Store and list.
    void loadAllChannels();
    bool loadChannel(const QString& id);
    QStringList getChannelIds() const;
    void saveChannelIds(const QStringList& ids);
    void addChannelInfoToDB(const ChannelInfo& info);
    void saveMessagingFields(const Channel& channel);
    void addChannel(const Channel& channel);
    void removeChannel(const QString& id);
    void removeAllChannels();
    void considerNewest(const Message& message);
    void respondChannelAdded(const QString& id);
    static bool isBookkeepingKey(const QString& id);

    // Procedures.
    void emitStart(Procedure procedure, const QHash<QString, QJsonValue>& inputs = {});
    void decomposeCategories(const QJsonObject& reply);
    void decomposeDataAndAdd(const QJsonObject& reply);
    void decomposeCreate(const QJsonObject& reply);
    // Takes the channel the data answer in hand (or its failure) was asked
    // for; true when it left the list while it was asked for.
    bool takeDataRequest();
    void decomposeChannelList(const QJsonObject& reply);
    void decomposeMembers(const QJsonObject& reply);
    void decomposeChannelEdit();
    void announceMemberChange(PendingReplies<ChannelMemberRole>* pending,
                              void (ChannelManager::*announce)(const ChannelMemberRole&));
    void answerIdCheck(int resultCode);

    // Messages.
    void startSendMessage(const Message& message);
    void sendNextMessageOnQueue();
    void finishSend(int resultCode);
    bool addMsgToChannel(Message* message, bool* isLast);
    bool addMessagePair(MessagePair* pair);
    static QList<Message> readStored(Channel* channel, const MessageRequest& request);
    void addReplyMessages(MessageReply* reply);
    // Answers the request waiting for an archive page with what is stored now.
    void answerPendingFromStore();
    void startChannelArchive(const QString& id, int offset);
    void startChannelArchive(const QString& id, const QString& messageId);
    void startChannelNewMessages();
    void decomposeArchive(const QJsonObject& reply);
    void decomposeNewMessages(const QJsonObject& reply);
    void newMessagesEnded();
    QList<Message> readMessages(const QJsonObject& reply, MessageBase::MsgState state) const;
    void archiveFetchEnded(int resultCode);
    void serveWaitingRequest();
    void processMembershipChange(const Message& message);
    void processChannelEditMessage(const ChannelEditMessage& edit);
    void decomposePollCreate(const QJsonObject& reply);
    void respondMessageStateChange(const QString& id, const QString& messageId,
                                   MessageBase::MsgState state);

    QHash<QString, ChannelCategory> categories;
    QHash<QString, Channel> channels;
    DataBase dataBase;
    bool storeOpened = false;
    bool loaded = false;

    // The values of the procedures in flight, oldest first, per kind.
    PendingReplies<QString> pendingJoins;
    PendingReplies<QString> pendingLeaves;
    PendingReplies<QString> pendingDeletes;
    PendingReplies<ChannelInfo> pendingCreates;
    PendingReplies<ChannelInfo> pendingEdits;
    PendingReplies<ChannelMemberRole> pendingAddMember;
    PendingReplies<ChannelMemberRole> pendingRemoveMember;
    PendingReplies<ChannelMemberRole> pendingRoleChange;
    PendingReplies<ChannelMessageCondition> pendingConditions;
    PendingReplies<ChannelMembersRequest> membersRequests;
    PendingReplies<QString> dataRequests;
    // Channels that left the list while their data was asked for: the late
    // answer describes a channel the user no longer follows and is dropped,
    // so it does not come back as one visited.
    QSet<QString> removedWhileAsked;
    // Channels followed whose data is on its way: the join is answered when
    // the channel is in the list.
    QStringList joinsAwaitingData;
    QString checkedId;
    QString nextCheckedId;

    // Sending.
    ChannelOutbox outbox;
    Message currentMessage;
    QTimer retryTimer;
    int sendFailures = 0;
    // Polls sent for creation: each reply names the id of the oldest.
    PendingReplies<PollData> pendingPolls;

    // History.
    Message newestMessage;
    MessageRequest pendingRequest;
    MessageRequest waitingRequest;
    // The channels of the archive pages asked for, oldest first: replies come
    // back in the order the requests went out and carry no channel of their own.
    QStringList archiveFetches;
    // Channels whose history the program has asked for since the start (a
    // chat of theirs was shown).
    QSet<QString> historyShown;
    // The time of the missed-message pull in flight, stored when it succeeds.
    qint64 newMessagesSince = 0;
    bool newMessagesInFlight = false;
    // Asked for again while a pull was in flight.
    bool newMessagesAgain = false;
};

#endif // CHANNELMANAGER_H
