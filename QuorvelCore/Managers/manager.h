#ifndef MANAGER_H
#define MANAGER_H

#include "Managers/Chat/chatwidgetdata.h"
#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "foundation/abstractmanager.h"
#include "foundation/quorvelcore_export.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelmemberrole.h"
#include "model/channelmessagecondition.h"
#include "model/conversationmutestatusupdate.h"
#include "model/conversationtype.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/lvreply.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagereply.h"
#include "model/notificationmessage.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QSet>
#include <QVariant>
#include <QXmppClient.h>

#include <functional>

class ChannelManager;
class ChatManager;
class ChatRecipient;
class ContactManager;
class ConversationKeeper;
class GroupManager;
class LikeManager;
class QTimer;
class XMPPManager;

// The core's central object: it owns the six conversation and service
// managers, loads them one after another, dispatches the GUI's commands to
// them, routes messages between the chat server and the stores, and answers
// the GUI through commandResponse.
class QUORVELCORE_EXPORT Manager : public AbstractManager
{
    Q_OBJECT
public:
    explicit Manager(QObject* parent = nullptr);

    void onInitialize();
    void aboutToQuit();

    QString getToken() const { return token; }
    void setToken(const QString& value) { token = value; }
    QString getHashMethod() const { return hashMethod; }
    void setHashMethod(const QString& value) { hashMethod = value; }

    XMPPManager* getXmppManager() const { return xmppManager; }
    LikeManager* getLikeManager() const { return likeManager; }
    ChatManager* getChatManager() const { return chatManager; }
    ContactManager* getContactManager() const { return contactManager; }
    ChannelManager* getChannelManager() const { return channelManager; }
    GroupManager* getGroupManager() const { return groupManager; }

    static Contact toContact(const QVariant& value);
    static QString toString(const QVariant& value);
    static QStringList toStringList(const QVariant& value);
    // The state reported to the GUI for a chat-server connection state.
    static int chatServerStateValue(QXmppClient::State state);

signals:
    void start(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void start(Procedure procedure);
    void removeAllSettings();
    void commandResponse(Command command, const QVariant& output);

public slots:
    void startLoading() override;
    void command(Command command, const QVariant& inputs);
    void replyReport(Procedure procedure, const QJsonObject& reply);
    void result(Procedure procedure, int resultCode);
    void chatServerStateChanged(QXmppClient::State state);

    // Messages between the chat server and the stores.
    void incommingMessage(Message msg);
    void messageSent(Message msg);
    void messageDelivered(const QString& jid, const QString& mid);
    void notification(NotificationMessage msg);
    void recipientAdded(const QString& number);
    void chatRecipientData(const Contact& contact);
    void lastSeen(const QString& number, int seconds);

protected:
    void connectNotify(const QMetaMethod& signal) override;

private slots:
    void loadingFinishedSLOT();
    // Every manager's procedure goes out through here: one asked for before
    // the web service listens (a command kept during loading runs before it
    // is wired) waits for it, in order, instead of vanishing.
    void relayStart(Procedure procedure, const QHash<QString, QJsonValue>& inputs);
    void releaseHeldStarts();
    void xmppConnected() {}
    void userBlocked();

private:
    // One command's handler; the table is filled by the files of each area.
    using CommandHandler = std::function<void(Manager&, const QVariant&)>;
    using CommandTable = QHash<int, CommandHandler>;
    static const CommandTable& commandTable();
    static void addGeneralCommands(CommandTable* table);
    static void addContactCommands(CommandTable* table);
    static void addChannelCommands(CommandTable* table);
    static void addGroupCommands(CommandTable* table);
    static void addMessageCommands(CommandTable* table);

    void loadMainSettings();
    void setupConnections();
    void setupContactConnections();
    void setupChannelConnections();
    void setupGroupConnections();
    void setupXmppStateReporting();
    void answer(Command command, const QVariant& output);
    void errorHandler(int resultCode);
    void lookup(const QString& key);
    void processLookup(const QJsonObject& reply);
    void saveMainSettings();
    void respondGetSettings();

    // Contacts.
    void respondGetUserProfile();
    void respondUpdateContact(const Contact& contact);
    void respondGetContacts();
    void respondGetContact(const QString& number);

    // Channels and groups.
    void respondChannelList();
    void respondChannelUpdateMute(const ChannelInfo& info);
    void respondGroupList();

    // Message flow: the keeper of a message's kind of conversation.
    ConversationKeeper* keeperOf(MessageBase::MsgMajorType type) const;
    ConversationKeeper* keeperOf(ConversationType::Type type) const;
    QList<ConversationKeeper*> keepers() const;
    void respondSendMessage(const Message& message);
    void sendSingleMessage(Message msg);
    // Own messages that could not be stored or queued (the disk is full, a
    // store unwritable) are shown as not sent with the reason and tried
    // again, in order, until each is on its way.
    bool queueOwnMessage(ConversationKeeper* keeper, Message msg);
    void holdUnkept(ConversationKeeper* keeper, const Message& msg, bool stored);
    void retryUnkept();
    void processControlMsg(const Message& msg);
    void processSentControlMessages(const Message& msg);
    void processMuteStatusUpdateMessage(const ConversationMuteStatusUpdate& update);
    void sendConversationMuteStatusChange(ConversationType::Type type,
                                          const QString& conversationId, bool mute);
    void respondSendSeen(const QString& chatId);
    void respondMessageEdited(const QVariant& value);
    QList<ChatRecipient> getChatRecipients();
    static QList<ChatWidgetData> createAndSortChatData(const QList<ChatRecipient>& chats,
                                                       const QList<GroupInfo>& groups);
    void respondChatsData();
    void respondGetChatRecipients();
    void respondChatRecipientAdded(const Contact& contact);
    void
    respondMessageStateChange(const QString& chatId, const QString& messageId,
                              MessageBase::MsgState state,
                              MessageBase::SendFailure failure = MessageBase::SendFailure_None);

    LikeManager* likeManager = nullptr;
    XMPPManager* xmppManager = nullptr;
    ChatManager* chatManager = nullptr;
    ContactManager* contactManager = nullptr;
    GroupManager* groupManager = nullptr;
    ChannelManager* channelManager = nullptr;
    // Commands that arrived before loading had finished, in order.
    QList<QPair<Command, QVariant>> pendingCommands;
    bool loaded = false;
    // Procedures asked for before anyone listened to start(), in order.
    QList<QPair<Procedure, QHash<QString, QJsonValue>>> heldStarts;
    // Ids of the mute updates this device sent to the user's own account:
    // their copies coming back are already applied.
    QSet<QString> sentMuteUpdates;
    struct UnkeptSend
    {
        Message message;
        bool stored = false;
    };
    QList<UnkeptSend> unkeptSends;
    // Made on the core thread with the first message held.
    QTimer* unkeptRetry = nullptr;
    QString token;
    QString hashMethod;
    Contact userContact;
};

#endif // MANAGER_H
