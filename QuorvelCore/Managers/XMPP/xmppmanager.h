#ifndef XMPPMANAGER_H
#define XMPPMANAGER_H

#include "Managers/XMPP/quorvelxmppclient.h"
#include "foundation/abstractmanager.h"
#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"
#include "model/message.h"
#include "webapi/GeneralApi/procedure.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>
#include <QTimer>
#include <QXmppConfiguration.h>
#include <QXmppLogger.h>

// Owns the chat-server connection: takes the server from the web service's
// "Salam" reply (or the saved one), connects and reconnects with a randomised
// back-off, and keeps the outgoing messages in a persistent outbox in the
// store "xmppManagerDBname" so that one is in flight at a time and none is
// lost across restarts. Incoming one-to-one messages get a delivery receipt,
// kept in the store too until the server's stream-management count shows it
// took the receipt (sent again on the next stream, also after a restart);
// incoming text gets display HTML before it is passed on.
class QUORVELCORE_EXPORT XMPPManager : public AbstractManager
{
    Q_OBJECT
public:
    explicit XMPPManager(QObject* parent = nullptr);
    ~XMPPManager() override;

    // Fills in the sender, id and send time of *msg and hands it to the client
    // or the outbox. Returns false in both cases.
    bool sendMessage(Message* msg);
    void processReply(Procedure procedure, const QJsonObject& reply);

    void blockUser(const QString& userId, bool block);
    void sendLastSeen(const QString& userId);
    void leaveRoom(const QString& roomId);
    void setXmppRooms(const QStringList& roomIds);
    void forceUpdate();

    // The back-off for reconnect attempt n, in milliseconds.
    static int getReconnectTime(int n);

    // The ids in the outbox: the one in flight first, then the queue.
    QStringList outboxIds() const;
    // The message ids whose receipts the server has not taken yet.
    QStringList owedReceiptIds() const;

    QuorvelXMPPClient* getClient() { return &client; }
    QXmppClient::State getState() const { return client.state(); }
    // The reconnect timer's interval in milliseconds, -1 when it is not running.
    int reconnectInterval() const;
    qint64 getLastTimeConnected() const { return lastTimeConnected; }

signals:
    void start(Procedure procedure, QHash<QString, QJsonValue> inputs);
    void incommingMessage(Message msg);
    // A message of a room's replayed history: a hint, its author unknown.
    void roomHistory(Message msg);
    void roomEntered(QString roomId);
    // The room keeper's record of the room is complete since the time.
    void roomRecordComplete(QString roomId, qint64 since);
    void messageSent(Message msg);
    void messageDelivered(QString jid, QString id);
    void userBlocked();
    void xmppChatClientConnected(qlonglong time);
    void chatServerStateChanged(QXmppClient::State state);

public slots:
    void startLoading() override;
    void onInitialize();
    void newDeviceIdSet();
    void reconnect();

private slots:
    void chatClientConnected();
    void chatClientDisconnected();
    void error(QXmppClient::Error error);
    void newMessage(const Message& msg);
    void delivery(const QString& jid, const QString& id);
    void receivedBlock();
    void messageSentSLOT(const Message& msg);
    void logMessage(QXmppLogger::MessageType type, const QString& text);
    void _chatServerStateChanged(QXmppClient::State state);

private:
    bool createChatXmppConfig(const QJsonObject& server);
    static bool checkServerInfoFields(const QJsonObject& server);
    void initializeClients(const QJsonObject& reply);
    bool connectToServerUsingCredentials();
    void connectChatServer();
    void startReconnectTimer(int milliseconds);
    void reconnectWithCurrentConfig();
    // Puts the first readable message of the queue in flight when nothing
    // else is; the store drops the confirmed message (if given) in that write.
    void sendQueue(const QString& confirmedId = QString());
    void sendCurrentMessageOrQueue();
    void sendDelivery(const Message& msg);
    void sendOwedReceipts();
    void receiptsCounted(uint count);
    void saveOwedReceipts();
    bool loadMessage(const QString& id, Message* out);
    void loadQueue();
    static QString queueEntryKey(qint64 position);
    static QString resourceName();

    QuorvelXMPPClient client;
    QXmppConfiguration config;
    QStringList serverIP;
    DataBase db;
    qint64 lastTimeConnected = 0;
    QTimer reconnectTimer;
    int reconnectAttempts = 0;
    bool stopped = false;
    // A stream error asked for a fresh server list; it is requested when the
    // reconnect timer fires, and dropped once a "Salam" reply is handled.
    bool serversRequested = false;
    // The server in use is the one saved by an earlier run, not yet
    // confirmed by the service's "Salam" in this one.
    bool usingSavedServer = false;
    int streamErrors = 0;
    // The outbox as stored: the message in flight (empty when none) and the
    // queue's ids with the positions of its first and past-the-last entry.
    QString currentId;
    QStringList queue;
    // The stored JSON of the first queued messages, by id.
    QHash<QString, QByteArray> queuedJson;
    qint64 queueHead = 0;
    qint64 queueTail = 0;
    // Receipts owed: to whom, for which message, and the stream's sent count
    // once written on the current stream (0: not yet).
    struct OwedReceipt
    {
        QString to;
        QString id;
        uint sentAt = 0;
    };
    QList<OwedReceipt> owedReceipts;
};

#endif // XMPPMANAGER_H
