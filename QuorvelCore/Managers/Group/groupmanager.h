#ifndef GROUPMANAGER_H
#define GROUPMANAGER_H

#include "Managers/Group/group.h"
#include "Managers/Group/grouplookupqueue.h"
#include "Managers/command.h"
#include "Managers/conversationkeeper.h"
#include "foundation/abstractmanager.h"
#include "foundation/database.h"
#include "foundation/pendingreplies.h"
#include "foundation/quorvelcore_export.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/grouprole.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/notificationmessage.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QQueue>
#include <QSet>
#include <QStringList>
#include <QVariant>

// The user's private groups. The list of group ids, each group's description
// and its members live in "groupsDatabase"; each group's messages in a store
// of its own, opened when first needed. Changes go to the web service as
// procedures whose replies carry no echo of the request: the group each one
// concerns is remembered until its reply; the group-data and members look-ups
// run one at a time. Group messages arrive live through the group rooms and
// are filled in from the service's stanza archives.
class QUORVELCORE_EXPORT GroupManager : public AbstractManager, public ConversationKeeper
{
    Q_OBJECT
public:
    explicit GroupManager(QObject* parent = nullptr);

    // How far before the missed-messages request the next one starts, so that
    // nothing sent around a request's time is lost between two requests.
    static const qint64 kNewMessagesMarginMs = 5 * 60 * 1000;
    // How long rooms entered or replaying unknown messages are gathered
    // before their messages are asked for in one request.
    static const int kRoomFetchDelayMs = 500;

    void onInitialize();
    void processReply(Procedure procedure, const QJsonObject& reply);

    // ---- the group list ----
    QList<GroupInfo> getGroupListSorted();
    bool contains(const QString& id) const { return groups.contains(id); }
    bool getGroupInfo(const QString& id, GroupInfo* out) const;
    QHash<QString, GroupMember> getMembers(const QString& id) const;
    void updateMute(const GroupInfo& info);
    void removeHistory(const QString& id) { removeGroup(id); }
    void respondGroupGetData(const QString& id);
    void respondGroupGetData(const GroupInfo& info);
    void respondGroupAdded(const GroupInfo& info);
    // Ids that the store's list may hold: no "," (the list's separator) and
    // none of the store's own keys.
    static bool isValidGroupId(const QString& id);

    // ---- procedures ----
    void startCreateGroup(const QString& name, const QString& description, const QString& avUrl,
                          const QString& avThUrl, const QStringList& members);
    void startGroupAddMember(const QString& id, const QStringList& userIds);
    void startGroupAddAdmin(const QString& id, const QStringList& userIds);
    void startGroupRemoveMember(const QString& id, const QString& userId);
    void startGroupChangeRole(const QString& id, const QString& userId, GroupRole::Role role);
    void respondGroupChangeData(const GroupInfo& info) { startGroupChangeData(info); }
    void startGroupChangeData(const GroupInfo& info);
    void startGroupLeave(const QString& id);
    void startGroupData(const QString& id);
    void startGroupMembersInfo(const QString& id);
    void startGroupMembers(const QString& id);
    void startUserList();
    void startUserUnsubscribe();
    void enqueueGroupDataRequest(const QString& id);
    void enqueueMembersInfoRequest(const QString& id);
    bool groupDataRequestQueueContains(const QString& id) const;
    bool membersInfoRequestQueueContains(const QString& id) const;

    // ---- messages ----
    bool addMessagePair(const Message& message, bool notify, bool emitPair);
    void processControlMessage(const Message& message);
    // A message of a room's replayed history: a hint only.
    void processRoomHistory(const Message& message);
    // The user is in the group's room now.
    void roomEntered(const QString& id);
    // The room keeper's word that the service's record of the group's room
    // is complete since a time: what was said since then is asked for again.
    void roomRecordComplete(const QString& id, qint64 since);
    void setMessageSentTime(const Message& message);
    void setFilePathForMessage(const Message& message);
    bool getLastMessage(const QString& chatId, Message* out);
    QStringList changeMessageState(const QString& chatId, const QString& messageId,
                                   MessageBase::MsgState state);
    QStringList changeMessageStatesToSeen(const QString& chatId, const QStringList& ids);

    // ---- missed messages, archives and history pages ----
    void startGroupNewMessages(qint64 lastTimeConnected);
    void startGroupNewMessages(const QStringList& ids, qint64 time);
    void startGroupArchive(const QString& groupId, const QString& messageId, int count);
    bool respondGetMessages(const MessageRequest& request, MessageReply* reply);
    bool getMessagesBefore(const QString& groupId, qint64 time, int count, QList<Message>* out);
    qint64 getLastTimeNMCalled() const;

    // The group kind in the Manager's message flow.
    bool keepsConversation(const QString& id) const override { return contains(id); }
    bool storeOwnMessage(const Message& message) override;
    bool storeArrivedMessage(const Message& message) override;
    void answerHistory(const MessageRequest& request) override;
    MessageBase::MsgState confirmSent(const Message& message) override;
    bool markSeen(const QString& id, SeenMessage* receipt) override;
    void setFilePath(const Message& message) override { setFilePathForMessage(message); }
    void applyControlMessage(const Message& message) override { processControlMessage(message); }
    void applyMuteUpdate(const QString& id, bool mute) override;

public slots:
    void startLoading() override;
    void xmppChatClientConnected(qint64 lastTimeConnected);
    void result(Procedure procedure, int resultCode);

signals:
    void commandResponse(Command command, const QVariant& output);
    void notification(const NotificationMessage& message);
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void groupMembersInfoUpdate(const GroupInfoMembers& info);
    void groupRemoved(const QString& jid);
    void groupCreated(const QString& jid);
    void groupLeft(const QString& jid);
    void groupLastMessage(const Message& message);
    void messageReply(const MessageReply& reply);
    void setXmppRooms(const QStringList& jidList);
    // The user is no member of the group any more: its room is left.
    void leaveXmppRoom(const QString& jid);

private:
    // Store and list.
    void loadAllGroups();
    bool loadGroup(const QString& id);
    // Each group's newest message and unread count, read at loading and
    // written as they change while its store is open.
    void readSummary(Group* group);
    void keepSummary(Group* group);
    void keepSummary(const QString& id);
    void loadGroupMembersInfo(const QString& id);
    QStringList getGroupIds() const;
    bool readGroupInfo(const QString& id, GroupInfo* out) const;
    bool addGroup(Group group, bool keepLocalFlags, bool namedForUser);
    void insertGroup(const Group& group);
    bool addGroupId(const QString& id);
    bool addGroupInfo(const GroupInfo& info);
    bool addGroupMembersInfo(const Group& group);
    bool setGroupInfo(const GroupInfo& info);
    bool removeGroup(const QString& id);
    bool removeGroupId(const QString& id);
    void markRemoved(const QString& id);
    static QString getMembersDBKey(const QString& id);
    void processUserList(const QJsonObject& reply);
    void analyzeRemovedGroups(const QList<Group>& named);
    QString generateJID();

    // Replies of the procedures.
    void processGroupData(const QJsonObject& reply);
    void processGroupMembersInfo(const QJsonObject& reply);
    // Refreshes the group the reply in hand answers, taken from its queue.
    void refreshAnswered(PendingReplies<QString>* pending);
    // Look-ups after a change of the group: run again when one is out.
    void refreshGroupData(const QString& id);
    void refreshMembers(const QString& id);
    void refreshMembersAndData(const QString& id);
    void nextGroupDataRequest();
    void nextMembersInfoRequest();
    static QJsonArray membersArray(const QStringList& userIds, GroupRole::Role role);

    // Messages.
    bool addMessage(const Message& message, bool notify);
    bool addMessagePair(MessagePair* pair, bool notify, bool emitPair);
    bool addMessageToGroupDB(const Message& message, bool* isLast);
    static bool shouldBeSaved(const Message& message);
    static bool shouldControlMessageBeProcessed(const Message& message);
    void notifyMessage(const Message& message);
    void refreshOnControlMessage(const Message& message);
    // Asks the service for the user's groups, one request at a time.
    void checkMembership();
    void userListAnswered();
    // Asks for the room's messages since its newest stored one (or since
    // an earlier time, when given), together with other rooms asked for
    // within kRoomFetchDelayMs.
    void fetchRoomMessages(const QString& id, qint64 since = -1);
    void processEditMessage(const Message& message, bool convertText);
    void respondMessageStateChange(const QString& chatId, const QStringList& ids,
                                   MessageBase::MsgState state);
    void emitMessagePairAdded(const MessagePair& pair);

    // Archives and pages.
    void decomposeNewMessages(const QJsonObject& reply);
    void decomposeArchiveMessages(const QJsonObject& reply);
    void addNewMessages(const QList<Message>& messages);
    void archiveFinished(const QList<Message>& messages);
    void proceedToMessageRequests(const QList<Message>& messages);
    void addReplyMessages(MessageReply* reply);
    bool getLastMessages(const QString& groupId, int count, QList<Message>* out, bool* fetching);
    bool getMessagesBefore(const QString& groupId, const QString& messageId, int count,
                           QList<Message>* out, bool* fetching);
    void requestArchive(const QString& groupId, const QString& messageId, int count, bool forPage);
    void setLastTimeNMCalled(qint64 time);

    struct ArchiveFetch
    {
        QString groupId;
        bool forPage = false;
    };

    DataBase store;
    QHash<QString, Group> groups;
    // The summaries as stored, by group id.
    QHash<QString, QByteArray> summaries;
    // The groups of the procedures in flight, oldest first, per kind (add-member
    // and add-admin share one procedure).
    PendingReplies<QString> pendingCreates;
    PendingReplies<QString> pendingMemberAdds;
    PendingReplies<QString> pendingMemberRemovals;
    PendingReplies<QString> pendingRoleChanges;
    PendingReplies<GroupInfo> pendingDataChanges;
    PendingReplies<QString> pendingLeaves;
    qint64 lastGroupStamp = 0;
    MessageRequest currentRequest;
    MessageRequest waitingRequest;
    bool loading = false;
    GroupLookupQueue membersInfoQueue;
    GroupLookupQueue groupDataQueue;
    // Archive fetches in the order sent; the service answers them in order.
    QQueue<ArchiveFetch> archiveFetches;
    // Each missed-messages request in flight: the time the next request of
    // all groups may start from, and whether it asked for all groups.
    struct NewMessagesFetch
    {
        qint64 since = 0;
        bool allGroups = true;
        // The time the request asked from.
        qint64 from = 0;
    };
    QQueue<NewMessagesFetch> newMessagesFetches;
    // The time a request for all groups that failed asked from (-1 when
    // none is owed): asked again when the service is heard of next.
    qint64 owedNewMessagesFrom = -1;
    // Rooms whose messages are to be asked for, each with the earliest time
    // it was asked from (-1: since its newest stored message).
    QHash<QString, qint64> roomFetches;
    bool userListOut = false;
    bool userListAgain = false;
};

#endif // GROUPMANAGER_H
