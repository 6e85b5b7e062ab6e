#include "Managers/XMPP/xmppmanager.h"

#include "Managers/XMPP/quorvelxmppmessage.h"
#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QXmppMessage.h>
#include <QXmppPresence.h>

#include <algorithm>

namespace {

const char* const kDbName = "xmppManagerDBname";
const char* const kServerConfigKey = "chatServerConfig";
const char* const kCurrentKey = "_currentMessageId";
// Earlier versions kept the whole queue in one record of comma-joined ids.
const char* const kQueueKey = "_queueMessageIds";
// The queue as one record per entry, so that taking a message in or out
// writes the same few records however long the queue is: the entries
// "_queueEntry<n>" for head <= n < tail.
const char* const kQueueHeadKey = "_queueHead";
const char* const kQueueTailKey = "_queueTail";
const char* const kQueueEntryPrefix = "_queueEntry";
// What "_currentMessageId" holds when nothing is in flight.
const char* const kNothingInFlight = "true";
const char* const kLastConnectedKey = "lastTimeConnectedOnXMPP";
// Earlier versions kept the receipts owed as one record holding them all.
const char* const kOwedReceiptsKey = "_owedReceipts";
// One record per owed receipt, "_owedEntry<n>" for head <= n < tail, each
// holding the address and the message id on two lines.
const char* const kOwedHeadKey = "_owedHead";
const char* const kOwedTailKey = "_owedTail";
const char* const kOwedEntryPrefix = "_owedEntry";
// A write the disk must take before held messages are asked for again.
const char* const kDiskProbeKey = "_diskProbe";
const int kDiskProbeBytes = 64 * 1024;
// The disk is tried after 2, 4, 8 ... seconds, at most this far apart.
const int kFirstDiskProbeMs = 2000;
const int kLongestDiskProbeMs = 30000;
// After the stream ended for held messages, the next one starts this soon.
const int kHeldReconnectMs = 1000;
// How many queued messages are also kept in memory, as their stored JSON,
// so that the next one goes without reading the store back.
const int kQueuedInMemory = 1000;

QString stateText(QXmppClient::State state)
{
    switch (state) {
    case QXmppClient::DisconnectedState:
        return QStringLiteral("Disconnected State");
    case QXmppClient::ConnectingState:
        return QStringLiteral("Connecting State");
    case QXmppClient::ConnectedState:
        return QStringLiteral("Connected State");
    }
    return QString();
}

} // namespace

XMPPManager::XMPPManager(QObject* parent) : AbstractManager(parent), client(this)
{
    reconnectTimer.setSingleShot(false);
    diskProbe.setSingleShot(true);
    connect(&diskProbe, &QTimer::timeout, this, &XMPPManager::probeDisk);
}

XMPPManager::~XMPPManager()
{
    // The queue also as the single record of earlier versions, written once
    // on the way out, so that a store left by this version reads the same
    // with them; the next start folds it back into the entries.
    if (db.isOpen()) {
        if (queue.isEmpty())
            db.del(QLatin1String(kQueueKey));
        else
            db.put(QLatin1String(kQueueKey), queue.join(QLatin1Char(',')));
    }
    db.close();
}

void XMPPManager::startLoading()
{
    L_INFO(QStringLiteral("XMPPManager::startLoading() | #START"));
    db.setDBName(QLatin1String(kDbName));
    if (!db.get(QLatin1String(kLastConnectedKey), &lastTimeConnected))
        lastTimeConnected = 0;
    loadQueue();
    loadOwedReceipts();

    connect(&client, &QuorvelXMPPClient::streamManagementReady, this,
            &XMPPManager::sendOwedReceipts);
    connect(&client, &QuorvelXMPPClient::serverCount, this, &XMPPManager::receiptsCounted);
    connect(&client, &QXmppClient::error, this, &XMPPManager::error);
    connect(&client, &QXmppClient::connected, this, &XMPPManager::chatClientConnected);
    connect(&client, &QXmppClient::disconnected, this, &XMPPManager::chatClientDisconnected);
    connect(&client, &QXmppClient::logMessage, this, &XMPPManager::logMessage);
    connect(&client, &QuorvelXMPPClient::receivedQuorvel, this, &XMPPManager::newMessage);
    connect(&client, &QuorvelXMPPClient::receivedRoomHistory, this, &XMPPManager::roomHistory);
    connect(&client, &QuorvelXMPPClient::roomEntered, this, &XMPPManager::roomEntered);
    connect(&client, &QuorvelXMPPClient::roomRecordComplete, this,
            &XMPPManager::roomRecordComplete);
    connect(&client, &QuorvelXMPPClient::channelAccountBack, this,
            &XMPPManager::channelAccountBack);
    connect(&client, &QuorvelXMPPClient::delivery, this, &XMPPManager::delivery);
    connect(&client, &QuorvelXMPPClient::receivedBlock, this, &XMPPManager::receivedBlock);
    connect(&client, &QuorvelXMPPClient::messageSent, this, &XMPPManager::messageSentSLOT);
    connect(&reconnectTimer, &QTimer::timeout, this, &XMPPManager::reconnect);
    connect(&client, &QXmppClient::stateChanged, this, &XMPPManager::_chatServerStateChanged);
    client.setLogger(nullptr);

    // The message that was in flight when the program last ended goes out
    // first, converted to plain text like any other.
    Message resumed;
    if (loadMessage(currentId, &resumed))
        client.SendMessage(&resumed);

    L_INFO(QStringLiteral("XMPPManager::startLoading() | #END"));
    emit loadingFinished();
}

void XMPPManager::onInitialize()
{
    if (connectToServerUsingCredentials())
        return;
    serverIP.clear();
    emit start(PROC_Salam, QHash<QString, QJsonValue>());
}

void XMPPManager::processReply(Procedure procedure, const QJsonObject& reply)
{
    if (procedure == PROC_Salam) {
        initializeClients(reply);
    } else if (procedure == PROC_DeactivateUser) {
        if (client.state() != QXmppClient::DisconnectedState)
            client.disconnectFromServer();
    }
}

// ---- configuration ----

QString XMPPManager::resourceName()
{
    return QStringLiteral("desktopqt_") + DeviceInfoProvider().getDeviceID();
}

bool XMPPManager::checkServerInfoFields(const QJsonObject& server)
{
    for (const char* key : {"ServerAddress", "PortNo", "Hostname", "Username", "Password"}) {
        if (!server.contains(QLatin1String(key)))
            return false;
    }
    return true;
}

bool XMPPManager::createChatXmppConfig(const QJsonObject& server)
{
    if (!checkServerInfoFields(server) ||
        server.value(QStringLiteral("Application")).toString() != QLatin1String("chat"))
        return false;
    const QJsonValue portValue = server.value(QStringLiteral("PortNo"));
    bool portOk = false;
    const int port =
        portValue.isString() ? portValue.toString().toInt(&portOk, 10) : portValue.toInt(-1);
    if (portValue.isDouble())
        portOk = true;
    if (!portOk || port <= 0 || port > 65535) {
        L_WARN(QStringLiteral("XMPPManager::createChatXmppConfig | unusable PortNo"));
        return false;
    }
    QXmppConfiguration candidate;
    candidate.setDomain(server.value(QStringLiteral("Hostname")).toString());
    candidate.setHost(server.value(QStringLiteral("ServerAddress")).toString());
    candidate.setPort(port);
    candidate.setUser(server.value(QStringLiteral("Username")).toString());
    candidate.setPassword(server.value(QStringLiteral("Password")).toString());
    candidate.setStreamSecurityMode(QXmppConfiguration::TLSRequired);
    candidate.setAutoReconnectionEnabled(false);
    candidate.setResource(resourceName());
    candidate.setKeepAliveInterval(60);
    candidate.setKeepAliveTimeout(5);
    // The chat server's certificate is verified.
    candidate.setIgnoreSslErrors(false);
    if (serverIP.contains(candidate.host())) {
        L_WARN(QStringLiteral("XMPPManager | serverIP.contains(config->host())"));
        return false;
    }
    serverIP.append(candidate.host());
    config = candidate;
    return true;
}

void XMPPManager::initializeClients(const QJsonObject& reply)
{
    if (!reply.contains(QStringLiteral("Servers"))) {
        L_WARN(QStringLiteral("XMPPManager | SALAM does not contain servers"));
        return;
    }
    serversRequested = false;
    usingSavedServer = false;
    serverIP.clear();
    const QJsonArray servers = reply.value(QStringLiteral("Servers")).toArray();
    for (const QJsonValue& entry : servers) {
        const QJsonObject server = entry.toObject();
        if (!createChatXmppConfig(server))
            continue;
        db.put(QLatin1String(kServerConfigKey), server);
        reconnectTimer.stop();
        connectChatServer();
        return;
    }
    L_WARN(QStringLiteral("XMPPManager::initializeClients | no usable chat server"));
}

bool XMPPManager::connectToServerUsingCredentials()
{
    QJsonObject saved;
    if (!db.get(QLatin1String(kServerConfigKey), &saved) || !createChatXmppConfig(saved))
        return false;
    usingSavedServer = true;
    connectChatServer();
    return true;
}

void XMPPManager::connectChatServer()
{
    if (stopped || client.state() != QXmppClient::DisconnectedState)
        return;
    client.connectToServer(config, QXmppPresence(QXmppPresence::Available));
}

// ---- reconnection ----

int XMPPManager::getReconnectTime(int n)
{
    if (n < 0)
        n = 0;
    int seconds;
    if (n < 6)
        seconds = (1 << (n + 1)) + int(QRandomGenerator::global()->bounded(1u << (n + 2)));
    else
        seconds = 64 + int(QRandomGenerator::global()->bounded(128u));
    return seconds * 1000;
}

int XMPPManager::reconnectInterval() const
{
    return reconnectTimer.isActive() ? reconnectTimer.interval() : -1;
}

void XMPPManager::startReconnectTimer(int milliseconds)
{
    if (stopped) {
        reconnectTimer.stop();
        return;
    }
    if (reconnectTimer.isActive()) {
        L_DEBUG(QStringLiteral("XMPPManager::startReconnectTimer | reconnectTimer is already "
                               "active"));
        return;
    }
    L_DEBUG(QStringLiteral("XMPPManager::startReconnectTimer | reconnectTimer is not active"));
    reconnectTimer.start(milliseconds > 0 ? milliseconds : getReconnectTime(reconnectAttempts));
}

void XMPPManager::reconnect()
{
    if (stopped) {
        reconnectTimer.stop();
        return;
    }
    if (serversRequested) {
        emit start(PROC_Salam, QHash<QString, QJsonValue>());
        return;
    }
    reconnectWithCurrentConfig();
}

void XMPPManager::reconnectWithCurrentConfig()
{
    if (client.state() != QXmppClient::DisconnectedState)
        return;
    ++reconnectAttempts;
    // The next attempt waits longer, if this one fails too.
    if (reconnectTimer.isActive())
        reconnectTimer.setInterval(getReconnectTime(reconnectAttempts));
    // The latest server chosen: a "Salam" answer that came while an attempt
    // was still under way is not lost.
    client.connectToServer(config, QXmppPresence(QXmppPresence::Available));
}

void XMPPManager::chatClientDisconnected()
{
    // Receipts written on the stream that ended go again on the next one.
    for (OwedReceipt& owed : owedReceipts)
        owed.sentAt = 0;
    firstUnsentReceipt = 0;
    if (stopped || serversRequested)
        return;
    if (reconnectForHeld) {
        reconnectForHeld = false;
        reconnectAttempts = -1;
        startReconnectTimer(kHeldReconnectMs);
        return;
    }
    reconnectAttempts = -1;
    startReconnectTimer((2 + int(QRandomGenerator::global()->bounded(10u))) * 1000);
}

void XMPPManager::error(QXmppClient::Error error)
{
    switch (error) {
    case QXmppClient::SocketError:
        if (client.state() != QXmppClient::DisconnectedState)
            break;
        // A server saved by an earlier run may have moved: the service is
        // asked where it is now, while the saved one is tried again after
        // the back-off in case the service cannot be reached either.
        if (usingSavedServer) {
            L_INFO(QStringLiteral("XMPPManager::error | saved server unreachable, asking for "
                                  "servers"));
            emit start(PROC_Salam, QHash<QString, QJsonValue>());
        }
        startReconnectTimer(0);
        break;
    case QXmppClient::KeepAliveError:
        if (!stopped)
            client.connectToServer(QXmppConfiguration(client.configuration()),
                                   QXmppPresence(QXmppPresence::Available));
        break;
    case QXmppClient::XmppStreamError:
        // A fresh server list, but only after the back-off: a server that
        // ends every stream at once must not make us ask in a tight loop.
        L_WARN(QStringLiteral("XMPPManager::error | stream error, asking for servers again"));
        reconnectTimer.stop();
        serverIP.clear();
        serversRequested = true;
        if (!stopped)
            reconnectTimer.start(getReconnectTime(streamErrors++));
        break;
    default:
        break;
    }
}

void XMPPManager::newDeviceIdSet()
{
    if (client.state() != QXmppClient::DisconnectedState) {
        client.disconnectFromServer();
        L_INFO(QStringLiteral("XMPPManager::newDeviceIdSet | disconnected from server"));
    }
    // The next connection already uses the new resource.
    const QString resource = resourceName();
    config.setResource(resource);
    client.configuration().setResource(resource);
    QTimer::singleShot(1000, this, &XMPPManager::chatClientDisconnected);
}

void XMPPManager::forceUpdate()
{
    if (client.state() != QXmppClient::DisconnectedState)
        client.disconnectFromServer();
    stopped = true;
    reconnectTimer.stop();
    // The message in flight stays in the store for the next start; the client
    // must not reconnect on its own for it.
    client.clearLastSentMessage();
}

void XMPPManager::chatClientConnected()
{
    reconnectTimer.stop();
    reconnectAttempts = 0;
    streamErrors = 0;
    for (OwedReceipt& owed : owedReceipts)
        owed.sentAt = 0;
    firstUnsentReceipt = 0;
    sendCurrentMessageOrQueue();
    sendOwedReceipts();
    lastTimeConnected = DateTime::getDateTimeInMSecs();
    emit xmppChatClientConnected(lastTimeConnected);
    db.put(QLatin1String(kLastConnectedKey), lastTimeConnected);
}

void XMPPManager::_chatServerStateChanged(QXmppClient::State state)
{
    L_INFO(QStringLiteral("XMPPManager::_chatServerStateChanged | ") + stateText(state));
    emit chatServerStateChanged(state);
}

void XMPPManager::logMessage(QXmppLogger::MessageType type, const QString& text)
{
    // Sent and received stanzas are never written: they hold the SASL exchange.
    if (type == QXmppLogger::DebugMessage || type == QXmppLogger::InformationMessage ||
        type == QXmppLogger::WarningMessage)
        L_DEBUG(QStringLiteral("XMPPManager | XMPP LOG: ") + text);
}

// ---- the outbox ----

bool XMPPManager::loadMessage(const QString& id, Message* out)
{
    QByteArray json = queuedJson.value(id);
    if (id.isEmpty() || (json.isEmpty() && !db.getUtf8(id, &json)))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.isObject() && out->fromJson(document.object()) && out->isValid();
}

QString XMPPManager::queueEntryKey(qint64 position)
{
    return QLatin1String(kQueueEntryPrefix) + QString::number(position);
}

void XMPPManager::loadQueue()
{
    queue.clear();
    if (!db.get(QLatin1String(kCurrentKey), &currentId) ||
        currentId == QLatin1String(kNothingInFlight))
        currentId.clear();
    if (!db.get(QLatin1String(kQueueHeadKey), &queueHead))
        queueHead = 0;
    if (!db.get(QLatin1String(kQueueTailKey), &queueTail) || queueTail < queueHead)
        queueTail = queueHead;
    for (qint64 position = queueHead; position < queueTail; ++position) {
        QString id;
        if (db.get(queueEntryKey(position), &id) && !id.isEmpty())
            queue.append(id);
    }
    // The queue in the earlier single record: what the entries do not hold
    // already joins the end, in one write that also removes the record.
    QString saved;
    if (!db.get(QLatin1String(kQueueKey), &saved))
        return;
    db.beginBatch();
    for (const QString& id : saved.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (queue.contains(id))
            continue;
        queue.append(id);
        db.put(queueEntryKey(queueTail++), id);
    }
    db.put(QLatin1String(kQueueTailKey), queueTail);
    db.del(QLatin1String(kQueueKey));
    if (!db.commitBatch())
        L_ERROR(QStringLiteral("XMPPManager::loadQueue | cannot rewrite the saved queue"));
}

QStringList XMPPManager::outboxIds() const
{
    QStringList ids = queue;
    if (!currentId.isEmpty())
        ids.prepend(currentId);
    return ids;
}

bool XMPPManager::sendMessage(Message* msg)
{
    if (!msg)
        return false;
    msg->setUserId(getUserName());
    if (msg->getMessageId().isEmpty())
        msg->generateMessageId();
    msg->setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
    const QString id = msg->getMessageId();
    const QByteArray json = QJsonDocument(msg->toJson()).toJson(QJsonDocument::Compact);

    // The message is stored before it can reach the wire, with its place:
    // in flight when nothing else is, otherwise at the end of the queue.
    const bool sendNow =
        currentId.isEmpty() && queue.isEmpty() && !client.getLastSentMessage().isValid();
    db.beginBatch();
    db.putUtf8(id, json);
    if (sendNow) {
        db.put(QLatin1String(kCurrentKey), id);
    } else {
        db.put(queueEntryKey(queueTail), id);
        db.put(QLatin1String(kQueueTailKey), queueTail + 1);
    }
    if (!db.commitBatch()) {
        L_ERROR(QStringLiteral("XMPPManager::sendMessage | cannot store ") + id);
        return false;
    }
    if (!sendNow) {
        queue.append(id);
        ++queueTail;
        if (queuedJson.size() < kQueuedInMemory)
            queuedJson.insert(id, json);
        return true;
    }
    currentId = id;
    client.SendMessage(msg);
    return true;
}

void XMPPManager::messageSentSLOT(const Message& msg)
{
    const bool seen = msg.getMajorType() == MessageBase::MsgMajorType_ControlMessage &&
                      msg.getMinorType() == MessageBase::MsgMinorType_Seen;
    if (!seen)
        emit messageSent(msg);
    if (currentId == msg.getMessageId())
        currentId.clear();
    sendQueue(msg.getMessageId());
}

void XMPPManager::sendQueue(const QString& confirmedId)
{
    // Everything is read first, so that the confirmed message leaves the
    // store in the same write that moves the next one from the queue into
    // flight: it is always in one of the two.
    QStringList unreadable;
    Message next;
    bool found = false;
    if (currentId.isEmpty() && client.state() == QXmppClient::ConnectedState &&
        !client.getLastSentMessage().isValid()) {
        while (!found && unreadable.size() < queue.size()) {
            const QString& id = queue.at(unreadable.size());
            found = loadMessage(id, &next);
            if (!found) {
                L_WARN(QStringLiteral("XMPPManager::sendQueue | skipped unreadable message ") + id);
                unreadable.append(id);
            }
        }
    }
    const int taken = unreadable.size() + (found ? 1 : 0);
    if (confirmedId.isEmpty() && taken == 0)
        return;
    db.beginBatch();
    if (!confirmedId.isEmpty())
        db.del(confirmedId);
    for (const QString& id : qAsConst(unreadable))
        db.del(id);
    for (int i = 0; i < taken; ++i) {
        db.del(queueEntryKey(queueHead + i));
        queuedJson.remove(queue.at(i));
    }
    if (taken > 0)
        db.put(QLatin1String(kQueueHeadKey), queueHead + taken);
    const QString inFlight = found ? next.getMessageId() : currentId;
    db.put(QLatin1String(kCurrentKey),
           inFlight.isEmpty() ? QLatin1String(kNothingInFlight) : inFlight);
    if (!db.commitBatch())
        L_ERROR(QStringLiteral("XMPPManager::sendQueue | cannot store the queue"));
    queue.erase(queue.begin(), queue.begin() + taken);
    queueHead += taken;
    if (!found)
        return;
    currentId = next.getMessageId();
    client.SendMessage(&next);
}

void XMPPManager::sendCurrentMessageOrQueue()
{
    Message message;
    if (loadMessage(currentId, &message)) {
        client.SendMessage(&message); // refused when it is already in flight
        return;
    }
    if (!currentId.isEmpty()) {
        L_WARN(QStringLiteral("XMPPManager::sendCurrentMessageOrQueue | skipped unreadable "
                              "message ") +
               currentId);
        db.put(QLatin1String(kCurrentKey), QLatin1String(kNothingInFlight));
        currentId.clear();
    }
    sendQueue();
}

// ---- incoming ----

void XMPPManager::newMessage(const Message& msg)
{
    // Held on the server with the message that could not be stored before
    // it: taken on a later stream, in order.
    if (client.arrivalsHeld())
        return;
    Message incoming = msg;
    incoming.setMessageBody(HtmlManager::insertHtmlTags(incoming.getMessageBody()));
    emit incommingMessage(incoming);
    if (client.arrivalsHeld())
        return;
    if (incoming.getUserId() != getUserName())
        sendDelivery(incoming);
}

void XMPPManager::arrivalNotKept(const Message& msg)
{
    L_ERROR(QStringLiteral("XMPPManager::arrivalNotKept | %1 of %2 not stored: it and what "
                           "follows wait on the server")
                .arg(msg.getMessageId(), msg.getChatId()));
    // Without a count on the stream the server has let go of it: later
    // messages are still taken, as holding them would lose them too.
    if (client.streamManagementEnabled())
        client.holdArrivals();
    else
        L_ERROR(QStringLiteral("XMPPManager::arrivalNotKept | the stream counts nothing: the "
                               "server does not keep ") +
                msg.getMessageId());
    if (!waitingForDisk) {
        waitingForDisk = true;
        diskProbes = 0;
        emit diskFullForArrivals(true);
    }
    if (!diskProbe.isActive())
        diskProbe.start(qMin(kFirstDiskProbeMs << qMin(diskProbes, 4), kLongestDiskProbeMs));
}

void XMPPManager::probeDisk()
{
    ++diskProbes;
    // A write of some size, taken and taken back, says the disk has room.
    if (!db.put(QLatin1String(kDiskProbeKey), QByteArray(kDiskProbeBytes, 'p')) ||
        !db.del(QLatin1String(kDiskProbeKey))) {
        L_DEBUG(QStringLiteral("XMPPManager::probeDisk | still full: ") + db.lastError());
        diskProbe.start(qMin(kFirstDiskProbeMs << qMin(diskProbes, 4), kLongestDiskProbeMs));
        return;
    }
    L_INFO(QStringLiteral("XMPPManager::probeDisk | the disk takes writes again"));
    waitingForDisk = false;
    emit diskFullForArrivals(false);
    // The held messages come again on a new stream: the server keeps what a
    // stream left uncounted for the next one, and groups and channels fetch
    // what they missed when they connect.
    if (client.arrivalsHeld() && client.state() != QXmppClient::DisconnectedState) {
        reconnectForHeld = true;
        client.disconnectFromServer();
    }
}

void XMPPManager::sendDelivery(const Message& msg)
{
    // Only a one-to-one message is answered: a group's room has no account
    // that could take a receipt, and its members see the room's copy anyway.
    if (msg.getMajorType() != MessageBase::MsgMajorType_SimpleChat || msg.getChatId().isEmpty())
        return;
    const QString to =
        QuorvelXMPPMessage::userAddress(msg.getChatId(), QuorvelXMPPMessage::chatDomain());
    if (oweReceipt(to, msg.getMessageId()))
        sendOwedReceipts();
}

QString XMPPManager::owedEntryKey(qint64 position)
{
    return QLatin1String(kOwedEntryPrefix) + QString::number(position);
}

QString XMPPManager::owedKey(const QString& to, const QString& id)
{
    return to + QLatin1Char('\n') + id;
}

void XMPPManager::loadOwedReceipts()
{
    owedReceipts.clear();
    owedKeys.clear();
    qint64 owedHead = 0;
    if (!db.get(QLatin1String(kOwedHeadKey), &owedHead))
        owedHead = 0;
    if (!db.get(QLatin1String(kOwedTailKey), &owedTail) || owedTail < owedHead)
        owedTail = owedHead;
    for (qint64 position = owedHead; position < owedTail; ++position) {
        QString entry;
        if (!db.get(owedEntryKey(position), &entry))
            continue;
        const QString to = entry.section(QLatin1Char('\n'), 0, 0);
        const QString id = entry.section(QLatin1Char('\n'), 1);
        if (!to.isEmpty() && !id.isEmpty() && !owedKeys.contains(owedKey(to, id))) {
            owedReceipts.append({to, id, 0, position});
            owedKeys.insert(owedKey(to, id));
        }
    }
    // The receipts in the earlier single record join the end, in one write
    // that also removes the record.
    QJsonArray saved;
    if (!db.get(QLatin1String(kOwedReceiptsKey), &saved))
        return;
    db.beginBatch();
    for (const QJsonValue& value : qAsConst(saved)) {
        const QJsonObject entry = value.toObject();
        const QString to = entry.value(QStringLiteral("To")).toString();
        const QString id = entry.value(QStringLiteral("Id")).toString();
        if (to.isEmpty() || id.isEmpty() || owedKeys.contains(owedKey(to, id)))
            continue;
        owedReceipts.append({to, id, 0, owedTail});
        owedKeys.insert(owedKey(to, id));
        db.put(owedEntryKey(owedTail++), to + QLatin1Char('\n') + id);
    }
    db.put(QLatin1String(kOwedTailKey), owedTail);
    db.del(QLatin1String(kOwedReceiptsKey));
    if (!db.commitBatch())
        L_ERROR(
            QStringLiteral("XMPPManager::loadOwedReceipts | cannot rewrite the saved receipts"));
}

bool XMPPManager::oweReceipt(const QString& to, const QString& id)
{
    const QString key = owedKey(to, id);
    if (owedKeys.contains(key))
        return false;
    if (!receiptsInMemory) {
        db.beginBatch();
        db.put(owedEntryKey(owedTail), to + QLatin1Char('\n') + id);
        db.put(QLatin1String(kOwedTailKey), owedTail + 1);
        // Not kept, it still goes now; only a restart before the server took
        // it would lose it.
        if (!db.commitBatch())
            L_ERROR(QStringLiteral("XMPPManager | cannot keep the receipt owed for ") + id);
    }
    owedReceipts.append({to, id, 0, owedTail++});
    owedKeys.insert(key);
    return true;
}

void XMPPManager::dropOwedReceipts(int n)
{
    n = qMin(n, owedReceipts.size());
    if (n <= 0)
        return;
    if (!receiptsInMemory) {
        db.beginBatch();
        for (int i = 0; i < n; ++i)
            db.del(owedEntryKey(owedReceipts.at(i).position));
        db.put(QLatin1String(kOwedHeadKey),
               n < owedReceipts.size() ? owedReceipts.at(n).position : owedTail);
        if (!db.commitBatch())
            L_ERROR(QStringLiteral("XMPPManager | cannot forget the receipts taken"));
    }
    for (int i = 0; i < n; ++i)
        owedKeys.remove(owedKey(owedReceipts.at(i).to, owedReceipts.at(i).id));
    owedReceipts.erase(owedReceipts.begin(), owedReceipts.begin() + n);
    firstUnsentReceipt = qMax(0, firstUnsentReceipt - n);
}

QStringList XMPPManager::owedReceiptIds() const
{
    QStringList ids;
    for (const OwedReceipt& owed : owedReceipts)
        ids.append(owed.id);
    return ids;
}

void XMPPManager::sendOwedReceipts()
{
    if (firstUnsentReceipt >= owedReceipts.size() || client.state() != QXmppClient::ConnectedState)
        return;
    const bool counted = client.streamManagementEnabled();
    // Until the stream's management is settled, a count could not be trusted.
    if (!counted && !client.streamManagementRefused() && client.streamManagementOffered())
        return;
    const int firstWritten = firstUnsentReceipt;
    while (firstUnsentReceipt < owedReceipts.size()) {
        OwedReceipt& owed = owedReceipts[firstUnsentReceipt];
        QXmppMessage receipt;
        receipt.setTo(owed.to);
        receipt.setReceiptId(owed.id);
        if (!client.sendPacket(receipt))
            break;
        owed.sentAt = client.getSentStanzaCount();
        ++firstUnsentReceipt;
    }
    if (firstUnsentReceipt == firstWritten)
        return;
    if (counted) {
        client.sendSMPacket(SMPacket(SMPacket::r));
        return;
    }
    // No count on this stream: written is all that can be known.
    dropOwedReceipts(firstUnsentReceipt);
}

void XMPPManager::receiptsCounted(uint count)
{
    // Receipts are written in their order, so those the count covers are the
    // first ones.
    int covered = 0;
    while (covered < firstUnsentReceipt && owedReceipts.at(covered).sentAt != 0 &&
           owedReceipts.at(covered).sentAt <= count)
        ++covered;
    dropOwedReceipts(covered);
}

void XMPPManager::delivery(const QString& jid, const QString& id)
{
    const QString user = jid.contains(QLatin1Char('@')) ? jid.section(QLatin1Char('@'), 0, 0) : jid;
    emit messageDelivered(user, id);
}

void XMPPManager::receivedBlock()
{
    emit userBlocked();
}

// ---- requests passed to the client ----

void XMPPManager::blockUser(const QString& userId, bool block)
{
    client.sendBlockUser(userId, block);
}

void XMPPManager::sendLastSeen(const QString& userId)
{
    client.sendLastSeenRequest(userId);
}

void XMPPManager::leaveRoom(const QString& roomId)
{
    client.leaveRoom(roomId);
}

void XMPPManager::setXmppRooms(const QStringList& roomIds)
{
    client.setRooms(roomIds);
}
