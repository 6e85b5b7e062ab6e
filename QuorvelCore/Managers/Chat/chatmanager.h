#ifndef CHATMANAGER_H
#define CHATMANAGER_H

#include "Managers/Chat/chat.h"
#include "Managers/command.h"
#include "Managers/conversationkeeper.h"
#include "foundation/abstractmanager.h"
#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariant>

// The user's one-to-one chats: the list of chat partners in "chatManagerDB",
// one stored Chat per partner, and the history pages the GUI asks for, filled
// from the store or, when the store falls short, from the web service's
// user-chat archive. One history request is answered at a time; the others
// wait in order.
class QUORVELCORE_EXPORT ChatManager : public AbstractManager, public ConversationKeeper
{
    Q_OBJECT
public:
    explicit ChatManager(QObject* parent = nullptr);
    ~ChatManager() override;

    // Stores an arriving or outgoing one-to-one message and answers
    // CMD_MessagePairAdded; false (and no answer) when it was not stored.
    bool addMessagePair(const Message& message);
    QStringList changeMessageState(const QString& chatId, const QString& messageId,
                                   MessageBase::MsgState state,
                                   Chat::SeenScope scope = Chat::SeenScope_Everyone);
    QStringList changeMessageStatesToSeen(const QString& chatId, const QStringList& ids,
                                          Chat::SeenScope scope = Chat::SeenScope_Everyone);
    bool contains(const QString& chatId) const;
    bool deleteChat(const QString& chatId);
    bool getLastMsg(const QString& chatId, Message* out);
    int getUnreadCount(const QString& chatId);
    QStringList getRecipients() const;
    QStringList getRecipientsSorted();
    bool respondGetChatMessages(const MessageRequest& request);
    void callMessageArchive(const QString& chatId);
    void processReply(Procedure procedure, const QJsonObject& reply);
    void processControlMessage(const Message& message);
    void setMessageSentTime(const Message& message);
    void setFilePathForMessage(const Message& message);
    bool isControlMessage(const Message& message) const { return message.isControlMessage(); }
    bool shouldBeProcessed(const Message& message) const;
    bool removeRecipient(const QString& id);
    bool removeAllRecipients();

    // The one-to-one kind in the Manager's message flow.
    bool keepsConversation(const QString& id) const override { return contains(id); }
    Keeping storeOwnMessage(const Message& message) override;
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
    void start(Procedure pro, const QHash<QString, QJsonValue>& inputs);
    void chatRecipientNumbers(const QStringList& chatids);
    void recipientAdded(const QString& number);
    void commandResponse(Command command, const QVariant& output);
    // A partner's message was stored; the contacts raise its notification.
    void arrivedMessageStored(const Message& message);
    // The user muted or unmuted a partner on another device.
    void partnerMuteChanged(const QString& number, bool mute);

public slots:
    void startLoading() override;
    void aboutToQuit();
    // The outcome of a web-service request: a failed archive fetch ends the
    // history request that waits for it, so the next one can go on.
    void result(Procedure pro, int resultCode);

private:
    bool addMessage(const Message& message);
    bool addMessagePair(MessagePair* pair);
    bool addRecipient(const QString& id);
    bool saveRecipients(const QStringList& ids);
    Chat* initChat(const QString& chatId);
    // The open chat, or the partner's chat opened now; null for an unknown id.
    Chat* openChat(const QString& chatId);
    void loadChats();
    void setRecipients(const QStringList& ids);
    // The newest message and unread count kept for a chat that is not open.
    bool readSummary(const QString& chatId, Message* last, int* unread);
    // A chat's summary text as stored, read once.
    const QByteArray& storedSummary(const QString& chatId);
    // Writes the summary of an open partner's chat when it changed.
    void refreshSummary(const QString& chatId);
    // Deletes a chat's store and summary.
    void forgetChat(const QString& chatId);
    bool getLastMessages(const QString& chatId, int count, QList<Message>* out, bool* fetching);
    bool getMessagesBefore(const QString& chatId, const QString& messageId, int count,
                           QList<Message>* out, bool* fetching);
    void addReplyMessages(MessageReply* reply);
    bool messageRequestExists(const MessageRequest& request) const;
    void proceedToMessageRequests(const QList<Message>& messages);
    void runNextRequest();
    void startUserChatArchive(const QString& userId, const QString& messageId, int count);
    void processUserChatArchive(const QJsonObject& reply);
    bool decomposeArchiveMessages(const QJsonObject& reply, const QString& chatId,
                                  QList<Message>* out);
    void processEditMessage(const Message& message, bool toDisplayText);
    void processSeenMessage(const Message& message);
    QHash<QString, qint64> getLastMessageTimes(const QStringList& ids);

    void respondReplyGetChatMessage(const MessageReply& reply);
    void respondMessagePairAdded(const MessagePair& pair);
    void respondMessageStateChange(const QString& chatId, const QString& messageId,
                                   MessageBase::MsgState state);

    // The chats opened so far.
    QHash<QString, Chat*> chats;
    QStringList recipients;
    QSet<QString> recipientSet;
    // Each summary as last read or written (empty for none).
    QHash<QString, QByteArray> summaries;
    DataBase store;
    MessageRequest currentRequest;
    // Whether the current request has had an answer from the stored pages.
    bool currentAnswered = false;
    QList<MessageRequest> requests;
    bool shutDown = false;
};

#endif // CHATMANAGER_H
