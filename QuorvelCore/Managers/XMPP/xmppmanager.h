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
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QXmppConfiguration.h>
#include <QXmppLogger.h>

// Owns the chat-server connection: takes the server from the web service's
// "Salam" reply (or the saved one), connects and reconnects with a randomised
// back-off, and keeps the outgoing messages in a persistent outbox in the
// store "xmppManagerDBname" so that one is in flight at a time and none is
// lost across restarts. Incoming text gets display HTML before it is passed
// on; whoever stores it (connected directly, on this thread) calls
// arrivalNotKept when it could not. Only a kept message counts as handled on
// the stream and gets its delivery receipt (one-to-one messages); the receipt
// is kept in the store, one record each, until the server's stream-management
// count shows it took it (sent again on the next stream, also after a
// restart). A message not kept holds every later arrival of the stream on
// the server; the disk is probed until it takes a write again, and a new
// stream then brings the held messages back in order.
class QUORVELCORE_EXPORT XMPPManager : public AbstractManager
{
    Q_OBJECT
public:
    explicit XMPPManager(QObject* parent = nullptr);
    ~XMPPManager() override;

    // Fills in the sender, id and send time of *msg and hands it to the client
    // or the outbox; false when it could not be kept there (nothing is sent).
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
    // Called while incommingMessage is being handled: the message could not
    // be stored. It gets no receipt, and it and every later message of this
    // stream are left to the server until the disk takes writes again.
    void arrivalNotKept(const Message& msg);
    bool arrivalsWaitForDisk() const { return waitingForDisk; }
    // Keeps owed receipts in memory only, never in the store (to measure
    // what keeping them costs).
    void setReceiptsInMemoryOnly(bool inMemory) { receiptsInMemory = inMemory; }

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
    // The service's channel account is back: ask again for missed posts.
    void channelAccountBack();
    void messageSent(Message msg);
    void messageDelivered(QString jid, QString id);
    void userBlocked();
    void xmppChatClientConnected(qlonglong time);
    void chatServerStateChanged(QXmppClient::State state);
    // New messages wait on the server because the disk is full (true), or
    // are taken again (false).
    void diskFullForArrivals(bool waiting);

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
    void loadOwedReceipts();
    // Appends a receipt to the log and the store; false when it is owed already.
    bool oweReceipt(const QString& to, const QString& id);
    // Forgets the first n owed receipts, in memory and in the store.
    void dropOwedReceipts(int n);
    static QString owedEntryKey(qint64 position);
    static QString owedKey(const QString& to, const QString& id);
    void probeDisk();
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
        // Where its record is kept.
        qint64 position = 0;
    };
    QList<OwedReceipt> owedReceipts;
    // owedKey of each owed receipt, for the duplicate check.
    QSet<QString> owedKeys;
    // Receipts from this index on are not written on the current stream.
    int firstUnsentReceipt = 0;
    // Store position past the last owed receipt.
    qint64 owedTail = 0;
    bool receiptsInMemory = false;
    // A message could not be stored: arrivals wait on the server.
    bool waitingForDisk = false;
    QTimer diskProbe;
    int diskProbes = 0;
    // The stream ends for the held messages to come again on the next one.
    bool reconnectForHeld = false;
};

#endif // XMPPMANAGER_H
