#ifndef QUORVELXMPPCLIENT_H
#define QUORVELXMPPCLIENT_H

#include "Managers/XMPP/smpacket.h"
#include "foundation/quorvelcore_export.h"
#include "model/message.h"

#include <QHash>
#include <QStringList>
#include <QTimer>
#include <QXmppClient.h>

class MessageExtension;
class MUCExtention;
class QXmppDataForm;
class QXmppIq;
class QXmppMessage;
class QXmppMessageReceiptManager;
class QXmppMucRoom;
class QXmppPresence;
class StanzaCounter;
class StreamManagementExtention;

// The chat-server connection. It keeps at most one outgoing message in flight
// and confirms it through stream-management counters: ask the server's count
// (<r/>), send the stanza, ask again; the answer that covers the stanza
// confirms it. The server reflecting a message with the same id, or a
// delivery receipt for it, confirms it too. Without confirmation it asks again
// every 2000 ms; a period without confirmation makes the next answer send the
// stanza again. It also carries receipts, the privacy block list, last-seen
// queries and multi-user rooms.
class QUORVELCORE_EXPORT QuorvelXMPPClient : public QXmppClient
{
    Q_OBJECT
public:
    explicit QuorvelXMPPClient(QObject* parent = nullptr);

    // False while another message is in flight; otherwise the message becomes
    // the one in flight and the cycle starts.
    bool SendMessage(Message* m);
    // As SendMessage, but the text is sent as it is, without conversion.
    bool setLastMessageAndSend(const Message& m);
    Message getLastSentMessage() const { return lastSentMessage; }
    // Forgets the message in flight (it is never reported as sent).
    void clearLastSentMessage();

    void sendBlockUser(const QString& userId, bool block);
    void activateBlockList();
    // The users this client keeps blocked, in the order they were blocked.
    QStringList getBlockedUsers() const { return blockedUsers; }
    void sendLastSeenRequest(const QString& userId);

    void setRooms(const QStringList& roomIds);
    void addRoom(const QString& roomId);
    void leaveRoom(const QString& roomId);
    QString getCompleteRoomId(const QString& roomId);

    MessageExtension* QuorvelManageMessage();

    // Raw access to the stream for stream management.
    bool sendStreamManagementPacket(const QByteArray& data);
    // Whether the stream's last features offered stream management.
    bool streamManagementOffered() const;
    // The server answered <enable/> on the current stream / refused it.
    bool streamManagementEnabled() const { return smEnabled; }
    bool streamManagementRefused() const { return smUnavailable; }
    void resetStanzaCounters();
    void resetReceivedStanzaCount();
    unsigned int getSentStanzaCount() const;
    unsigned int getReceivedStanzaCount() const;
    // The stanzas handled on this stream: the received ones, short of the
    // stanza handed to holdArrivals and all after it.
    unsigned int getHandledStanzaCount() const;
    // The stanza being handled could not be kept: neither it nor any later
    // stanza of this stream counts as handled, so the server keeps them all
    // for the next stream. Ends with the stream.
    void holdArrivals();
    bool arrivalsHeld() const;

signals:
    void messageSent(Message msg);
    void receivedQuorvel(Message tmp);
    // A message of a room's replayed history (its author unknown).
    void receivedRoomHistory(Message message);
    // The user is in a room now (its id, without the room service's domain).
    void roomEntered(QString roomId);
    // The room keeper says the service's record of the room is complete
    // from that time on (milliseconds since the epoch).
    void roomRecordComplete(QString roomId, qint64 since);
    // The service's channel account signed in again: posts it was given
    // meanwhile may not have been pushed.
    void channelAccountBack();
    void delivery(QString jid, QString id);
    void lastSeen(QString id, int seconds);
    void receivedBlock();
    // The server's count of the stanzas it has taken on this stream.
    void serverCount(uint count);
    // Stream management is settled for the current stream: on (counts start
    // at 0) or refused.
    void streamManagementReady();

public slots:
    void receivedSMAnswer(uint count);
    void recievedSMEnable();
    void sendSMPacket(SMPacket sm);

private slots:
    void prepareTls(QXmppClient::State state);
    void retrySend();
    void streamEnded();
    void streamManagementUnavailable(const QString& reason);
    void _connectedSlot();
    void _receivedQuorvel(const Message& m);
    void _receivedRoomHistory(const Message& m);
    void receivedDelivery(const QString& jid, const QString& id);
    void receivedIq(const QXmppIq& iq);
    void roomJoined();
    void roomOccupantPresence(const QString& occupant);
    void presenceReceivedSlot(const QXmppPresence& presence);
    void roomConfigReceived(const QXmppDataForm& form);
    void messageReceived(const QXmppMessage& message);

private:
    bool startCycle(const Message& m);
    void sendNow();
    void lastMessageSent();
    void sendLastMessageAgain();
    void sendRequest();
    int retryInterval() const;
    static void replaceEmojiCodes(Message* m);
    void joinCurrentRooms();
    void roomRefused(QXmppMucRoom* room, const QXmppStanza::Error& error);
    void requestBlockList();
    QString ownAddress();
    QString userAddress(const QString& userId);

    StanzaCounter* counter = nullptr;
    StreamManagementExtention* streamManagement = nullptr;
    MessageExtension* messageExtension = nullptr;
    QXmppMessageReceiptManager* receiptManager = nullptr;
    MUCExtention* muc = nullptr;

    Message lastSentMessage;
    Message convertedMessage;
    unsigned int lastServerCount = 0;
    unsigned int counterBefore = 0;
    // The server's count that covers the stanza in flight: our own sent count
    // on this stream once the stanza was written.
    unsigned int stanzaCount = 0;
    bool lastPacketIsMessage = false;
    // The server answered <enable/> on the current stream; requests are only
    // sent then, as a server may close a stream that asks before enabling.
    bool smEnabled = false;
    // The server refused stream management or does not offer it on the
    // current stream: a message is confirmed by its reflection or its
    // delivery receipt instead, and sent again at growing intervals until then.
    bool smUnavailable = false;
    int resendsWithoutCounter = 0;
    QTimer retryTimer;
    int unauthenticatedRetries = 0;
    QStringList blockedUsers;
    // Refused entries in a row, by room address.
    QHash<QString, int> roomRefusals;
};

#endif // QUORVELXMPPCLIENT_H
