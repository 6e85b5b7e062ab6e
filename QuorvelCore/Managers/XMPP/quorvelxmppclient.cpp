#include "Managers/XMPP/quorvelxmppclient.h"

#include "Managers/XMPP/channelaccountpresence.h"
#include "Managers/XMPP/messageextension.h"
#include "Managers/XMPP/mucextention.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "Managers/XMPP/roomrecordpresence.h"
#include "Managers/XMPP/stanzacounter.h"
#include "Managers/XMPP/streammanagementextention.h"
#include "Managers/XMPP/streamreadgate.h"
#include "foundation/datetime.h"
#include "foundation/htmlmanager.h"
#include "foundation/serviceconfig.h"
#include "foundation/simpleqtlogger.h"

#include <QDomElement>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QXmppDataForm.h>
#include <QXmppElement.h>
#include <QXmppIq.h>
#include <QXmppMessageReceiptManager.h>
#include <QXmppMucManager.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>
#include <QXmppUtils.h>

namespace {

const int kRetryIntervalMs = 2000;
// Without the server's counter a message goes again after 2, 4, 8 ... seconds,
// at most this far apart.
const int kLongestResendIntervalMs = 64000;
const int kUnauthenticatedPeriods = 15;
// A room that refused entry is asked again after 1, 2, 4 ... seconds.
const int kRoomRetryMs = 1000;
const char* const kPrivacyNamespace = "jabber:iq:privacy";
const char* const kLastNamespace = "jabber:iq:last";
const char* const kBlockListName = "MY_BLOCK_LIST";

QXmppElement element(const QString& tag, const QList<QPair<QString, QString>>& attributes)
{
    QXmppElement result;
    result.setTagName(tag);
    for (const auto& attribute : attributes)
        result.setAttribute(attribute.first, attribute.second);
    return result;
}

QXmppElement privacyQuery()
{
    return element(QStringLiteral("query"), {{QStringLiteral("xmlns"), kPrivacyNamespace}});
}

} // namespace

QuorvelXMPPClient::QuorvelXMPPClient(QObject* parent) : QXmppClient(parent)
{
    qRegisterMetaType<Message>("Message");
    qRegisterMetaType<SMPacket>("SMPacket");
    qRegisterMetaType<QXmppClient::Error>("QXmppClient::Error");
    qRegisterMetaType<QXmppClient::State>("QXmppClient::State");
    connect(this, &QXmppClient::stateChanged, this, &QuorvelXMPPClient::prepareTls);
    // Every message costs two small request/answer exchanges: without
    // TCP_NODELAY each one waits for the peer's delayed acknowledgement.
    const QList<QSslSocket*> sockets = findChildren<QSslSocket*>();
    for (QSslSocket* socket : sockets) {
        connect(socket, &QAbstractSocket::connected, socket,
                [socket] { socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
    }
    // The stream's parser sees incoming text only in whole characters.
    new StreamReadGate(findChild<QXmppOutgoingClient*>());
    lastSentMessage.clear();
    retryTimer.setSingleShot(true);
    connect(&retryTimer, &QTimer::timeout, this, &QuorvelXMPPClient::retrySend);

    // First of all extensions: it must see every stanza and the stream features.
    counter = new StanzaCounter;
    insertExtension(0, counter);

    streamManagement = new StreamManagementExtention;
    connect(this, &QXmppClient::connected, this, &QuorvelXMPPClient::_connectedSlot);
    connect(this, &QXmppClient::connected, streamManagement, &StreamManagementExtention::connected);
    connect(this, &QXmppClient::disconnected, this, &QuorvelXMPPClient::streamEnded);
    connect(streamManagement, &StreamManagementExtention::receivedSMAnswer, this,
            &QuorvelXMPPClient::receivedSMAnswer);
    connect(streamManagement, &StreamManagementExtention::recievedSMEnable, this,
            &QuorvelXMPPClient::recievedSMEnable);
    connect(streamManagement, &StreamManagementExtention::sendSMPacket, this,
            &QuorvelXMPPClient::sendSMPacket);
    connect(streamManagement, &StreamManagementExtention::unavailable, this,
            &QuorvelXMPPClient::streamManagementUnavailable);
    addExtension(streamManagement);

    messageExtension = new MessageExtension;
    addExtension(messageExtension);

    receiptManager = new QXmppMessageReceiptManager;
    addExtension(receiptManager);
    connect(receiptManager, &QXmppMessageReceiptManager::messageDelivered, this,
            &QuorvelXMPPClient::receivedDelivery);

    connect(QuorvelManageMessage(), &MessageExtension::ReceiveQuorvelMessage, this,
            &QuorvelXMPPClient::_receivedQuorvel);
    connect(QuorvelManageMessage(), &MessageExtension::receivedRoomHistory, this,
            &QuorvelXMPPClient::_receivedRoomHistory);
    connect(this, &QXmppClient::iqReceived, this, &QuorvelXMPPClient::receivedIq);
    connect(this, &QXmppClient::presenceReceived, this, &QuorvelXMPPClient::presenceReceivedSlot);

    muc = new MUCExtention;
    addExtension(muc);
}

void QuorvelXMPPClient::prepareTls(QXmppClient::State state)
{
    if (state != QXmppClient::ConnectingState)
        return;
    // The server's certificate is always verified, whatever configuration the
    // connection was given: the library reads this flag at the TLS handshake.
    configuration().setIgnoreSslErrors(false);
    // The stream's socket copied the process's TLS defaults when it was made;
    // it gets the trusted CAs as they stand now, the program's extra CAs
    // included.
    ServiceConfig::installExtraCaCertificates();
    const QList<QSslSocket*> sockets = findChildren<QSslSocket*>();
    for (QSslSocket* socket : sockets) {
        QSslConfiguration tls = socket->sslConfiguration();
        tls.setCaCertificates(QSslConfiguration::defaultConfiguration().caCertificates());
        socket->setSslConfiguration(tls);
    }
}

MessageExtension* QuorvelXMPPClient::QuorvelManageMessage()
{
    return findExtension<MessageExtension>();
}

// ---- stream access ----

bool QuorvelXMPPClient::sendStreamManagementPacket(const QByteArray& data)
{
    return counter->sendRaw(data);
}

bool QuorvelXMPPClient::streamManagementOffered() const
{
    return counter->streamManagementOffered();
}

void QuorvelXMPPClient::resetStanzaCounters()
{
    counter->reset();
}

void QuorvelXMPPClient::resetReceivedStanzaCount()
{
    counter->resetReceived();
}

unsigned int QuorvelXMPPClient::getSentStanzaCount() const
{
    return counter->sentCount();
}

unsigned int QuorvelXMPPClient::getReceivedStanzaCount() const
{
    return counter->receivedCount();
}

unsigned int QuorvelXMPPClient::getHandledStanzaCount() const
{
    return counter->handledCount();
}

void QuorvelXMPPClient::holdArrivals()
{
    counter->holdFromCurrentStanza();
}

bool QuorvelXMPPClient::arrivalsHeld() const
{
    return counter->holding();
}

void QuorvelXMPPClient::sendSMPacket(SMPacket sm)
{
    QByteArray data;
    if (!sm.toByteArray(&data))
        return;
    if (!sendStreamManagementPacket(data))
        L_DEBUG(QStringLiteral("QuorvelXMPPClient::sendSMPacket | not written: ") +
                QString::fromUtf8(data));
}

// ---- the acknowledgement cycle ----

bool QuorvelXMPPClient::SendMessage(Message* m)
{
    if (!m || lastSentMessage.isValid())
        return false;
    return startCycle(*m);
}

bool QuorvelXMPPClient::setLastMessageAndSend(const Message& m)
{
    if (lastSentMessage.isValid())
        return false;
    convertedMessage = m;
    return startCycle(m);
}

bool QuorvelXMPPClient::startCycle(const Message& m)
{
    lastPacketIsMessage = false;
    stanzaCount = 0;
    resendsWithoutCounter = 0;
    lastSentMessage = m;
    if (smUnavailable && isAuthenticated())
        sendNow(); // no counter to ask first
    else
        sendRequest();
    if (lastSentMessage.isValid())
        retryTimer.start(retryInterval());
    return true;
}

int QuorvelXMPPClient::retryInterval() const
{
    if (!smUnavailable || !isAuthenticated())
        return kRetryIntervalMs;
    const int shift = qMin(resendsWithoutCounter, 5);
    return qMin(kRetryIntervalMs << shift, kLongestResendIntervalMs);
}

void QuorvelXMPPClient::clearLastSentMessage()
{
    lastSentMessage.clear();
    lastPacketIsMessage = false;
    stanzaCount = 0;
    retryTimer.stop();
}

void QuorvelXMPPClient::sendRequest()
{
    if (smEnabled)
        sendSMPacket(SMPacket(SMPacket::r));
}

void QuorvelXMPPClient::receivedSMAnswer(uint count)
{
    lastServerCount = count;
    emit serverCount(count);
    if (!lastSentMessage.isValid()) {
        lastPacketIsMessage = false;
        return;
    }
    if (stanzaCount > 0 && count >= stanzaCount) {
        // The server has handled every stanza up to and including ours.
        lastMessageSent();
        return;
    }
    if (lastPacketIsMessage)
        return; // the answer to a request made before the stanza went out
    counterBefore = count;
    sendNow();
}

void QuorvelXMPPClient::sendNow()
{
    lastSentMessage.setSendTimeInGMT(DateTime::getDateTimeInMSecs());
    if (convertedMessage.getMessageId() != lastSentMessage.getMessageId() ||
        !convertedMessage.isValid()) {
        convertedMessage = lastSentMessage;
        replaceEmojiCodes(&convertedMessage);
    }
    convertedMessage.setSendTimeInGMT(lastSentMessage.getSendTimeInGMT());
    const QuorvelXMPPMessage stanza(convertedMessage, configuration().resource());
    counterBefore = lastServerCount;
    lastPacketIsMessage = true;
    if (!sendPacket(stanza)) {
        // Nothing was written: the next period asks and sends again.
        lastPacketIsMessage = false;
        return;
    }
    stanzaCount = getSentStanzaCount();
    if (smUnavailable && !stanza.isReceiptRequested() && stanza.type() != QXmppMessage::GroupChat) {
        // Without the server's counter nothing would ever confirm a control
        // message that asks for no receipt and is not reflected: written is sent.
        lastMessageSent();
        return;
    }
    sendRequest();
}

void QuorvelXMPPClient::lastMessageSent()
{
    const Message sent = lastSentMessage;
    lastSentMessage.clear();
    lastPacketIsMessage = false;
    stanzaCount = 0;
    retryTimer.stop();
    if (sent.isValid())
        emit messageSent(sent);
}

void QuorvelXMPPClient::sendLastMessageAgain()
{
    sendRequest();
}

void QuorvelXMPPClient::retrySend()
{
    if (!lastSentMessage.isValid())
        return;
    if (!isAuthenticated()) {
        ++unauthenticatedRetries;
        if (unauthenticatedRetries <= kUnauthenticatedPeriods) {
            retryTimer.start(kRetryIntervalMs);
            return;
        }
        if (configuration().host().isEmpty() && configuration().domain().isEmpty()) {
            L_WARN(QStringLiteral("QuorvelXMPPClient::retrySend | no server to reconnect to"));
        } else {
            L_INFO(QStringLiteral("QuorvelXMPPClient::retrySend | reconnecting"));
            disconnectFromServer();
            connectToServer(QXmppConfiguration(configuration()),
                            QXmppPresence(QXmppPresence::Available));
        }
    } else if (smUnavailable) {
        // No counter to ask: the stanza itself goes again.
        ++resendsWithoutCounter;
        L_INFO(QStringLiteral("QuorvelXMPPClient::retrySend | unconfirmed, sent again: ") +
               lastSentMessage.getMessageId());
        sendNow();
        if (!lastSentMessage.isValid())
            return;
    } else {
        // A whole period without confirmation: the next answer sends again.
        lastPacketIsMessage = false;
        sendLastMessageAgain();
    }
    unauthenticatedRetries = 0;
    retryTimer.start(retryInterval());
}

void QuorvelXMPPClient::recievedSMEnable()
{
    L_DEBUG(QStringLiteral("QuorvelXMPPClient::recievedSMEnable | stream management enabled"));
    // A new stream: nothing sent on an earlier one counts any more.
    smEnabled = true;
    smUnavailable = false;
    lastServerCount = 0;
    counterBefore = 0;
    stanzaCount = 0;
    lastPacketIsMessage = false;
    if (lastSentMessage.isValid()) {
        sendRequest();
        if (!retryTimer.isActive())
            retryTimer.start(kRetryIntervalMs);
    }
    emit streamManagementReady();
}

void QuorvelXMPPClient::streamManagementUnavailable(const QString& reason)
{
    if (smEnabled) {
        // A refused second <enable/> leaves the enabled stream as it is.
        L_WARN(QStringLiteral("QuorvelXMPPClient | stream management ") + reason +
               QStringLiteral(", still enabled on this stream"));
        return;
    }
    L_WARN(QStringLiteral("QuorvelXMPPClient | stream management ") + reason +
           QStringLiteral(": messages are confirmed by their reflection or delivery receipt "
                          "and sent again until then"));
    smUnavailable = true;
    resendsWithoutCounter = 0;
    if (lastSentMessage.isValid() && isAuthenticated()) {
        sendNow();
        if (lastSentMessage.isValid())
            retryTimer.start(retryInterval());
    }
    emit streamManagementReady();
}

void QuorvelXMPPClient::streamEnded()
{
    smEnabled = false;
    smUnavailable = false;
    lastPacketIsMessage = false;
    stanzaCount = 0;
}

void QuorvelXMPPClient::replaceEmojiCodes(Message* m)
{
    if (m->getMajorType() == MessageBase::MsgMajorType_ControlMessage &&
        m->getMinorType() == MessageBase::MsgMinorType_EditMessage) {
        EditMessage edit = m->getEditMessage();
        edit.setEditedText(HtmlManager::toPlainText(edit.getEditedText()));
        m->addToOtherFields(edit.toJson());
    } else {
        m->setMessageBody(HtmlManager::toPlainText(m->getMessageBody()));
    }
}

// ---- incoming ----

void QuorvelXMPPClient::_receivedQuorvel(const Message& m)
{
    if (lastSentMessage.isValid() && !m.getMessageId().isEmpty() &&
        m.getMessageId() == lastSentMessage.getMessageId()) {
        lastMessageSent(); // our own message reflected back
        return;
    }
    emit receivedQuorvel(m);
}

void QuorvelXMPPClient::_receivedRoomHistory(const Message& m)
{
    // A message that was in flight when the stream ended may come back only
    // in the history of the room entered again.
    if (lastSentMessage.isValid() && !m.getMessageId().isEmpty() &&
        m.getMessageId() == lastSentMessage.getMessageId())
        lastMessageSent();
    emit receivedRoomHistory(m);
}

void QuorvelXMPPClient::receivedDelivery(const QString& jid, const QString& id)
{
    if (lastSentMessage.isValid() && !id.isEmpty() && lastSentMessage.getMessageId() == id)
        lastMessageSent();
    emit delivery(jid, id);
}

void QuorvelXMPPClient::receivedIq(const QXmppIq& iq)
{
    if (iq.type() != QXmppIq::Result)
        return;
    const QXmppElementList extensions = iq.extensions();
    const QXmppElement query = extensions.isEmpty() ? QXmppElement() : extensions.first();
    if (iq.id() == QLatin1String("last1")) {
        if (query.tagName() == QLatin1String("query") &&
            query.attribute(QStringLiteral("xmlns")) == QLatin1String(kLastNamespace)) {
            bool ok = false;
            const int seconds = query.attribute(QStringLiteral("seconds")).toInt(&ok, 10);
            if (ok)
                emit lastSeen(iq.from().section(QLatin1Char('@'), 0, 0), seconds);
        }
    } else if (iq.id() == QLatin1String("block1")) {
        // The edited list is applied to this session at once.
        activateBlockList();
        emit receivedBlock();
    } else if (iq.id() == QLatin1String("list1")) {
        const QXmppElement list = query.firstChildElement(QStringLiteral("list"));
        for (QXmppElement item = list.firstChildElement(QStringLiteral("item")); !item.isNull();
             item = item.nextSiblingElement(QStringLiteral("item"))) {
            if (item.attribute(QStringLiteral("type")) != QLatin1String("jid") ||
                item.attribute(QStringLiteral("action")) != QLatin1String("deny"))
                continue;
            const QString user =
                item.attribute(QStringLiteral("value")).section(QLatin1Char('@'), 0, 0);
            if (!user.isEmpty() && !blockedUsers.contains(user))
                blockedUsers.append(user);
        }
    }
}

// ---- connection ----

void QuorvelXMPPClient::_connectedSlot()
{
    smEnabled = false;
    smUnavailable = false;
    requestBlockList();
    activateBlockList();
    joinCurrentRooms();
}

QString QuorvelXMPPClient::ownAddress()
{
    return configuration().user() + QLatin1Char('@') + configuration().domain();
}

QString QuorvelXMPPClient::userAddress(const QString& userId)
{
    return userId + QLatin1Char('@') + configuration().domain();
}

// ---- privacy list and last seen ----

void QuorvelXMPPClient::requestBlockList()
{
    QXmppIq iq(QXmppIq::Get);
    iq.setId(QStringLiteral("list1"));
    QXmppElement query = privacyQuery();
    query.appendChild(element(QStringLiteral("list"), {{QStringLiteral("name"), kBlockListName}}));
    iq.setExtensions({query});
    sendPacket(iq);
}

void QuorvelXMPPClient::activateBlockList()
{
    QXmppIq iq(QXmppIq::Set);
    iq.setId(QStringLiteral("active1"));
    iq.setFrom(ownAddress());
    QXmppElement query = privacyQuery();
    query.appendChild(
        element(QStringLiteral("active"), {{QStringLiteral("name"), kBlockListName}}));
    iq.setExtensions({query});
    sendPacket(iq);
}

void QuorvelXMPPClient::sendBlockUser(const QString& userId, bool block)
{
    if (userId.isEmpty())
        return;
    // Standard servers replace the whole list on every edit, so the list sent
    // always names every blocked user.
    blockedUsers.removeAll(userId);
    if (block)
        blockedUsers.append(userId);
    QXmppElement list = element(QStringLiteral("list"), {{QStringLiteral("name"), kBlockListName}});
    int order = 1;
    for (const QString& user : qAsConst(blockedUsers)) {
        list.appendChild(
            element(QStringLiteral("item"), {{QStringLiteral("type"), QStringLiteral("jid")},
                                             {QStringLiteral("value"), userAddress(user)},
                                             {QStringLiteral("action"), QStringLiteral("deny")},
                                             {QStringLiteral("order"), QString::number(order++)}}));
    }
    if (!block) {
        list.appendChild(
            element(QStringLiteral("item"), {{QStringLiteral("type"), QStringLiteral("jid")},
                                             {QStringLiteral("value"), userAddress(userId)},
                                             {QStringLiteral("action"), QStringLiteral("allow")},
                                             {QStringLiteral("order"), QString::number(order++)}}));
    }
    QXmppElement query = privacyQuery();
    query.appendChild(list);
    QXmppIq iq(QXmppIq::Set);
    iq.setId(QStringLiteral("block1"));
    iq.setExtensions({query});
    sendPacket(iq);
}

void QuorvelXMPPClient::sendLastSeenRequest(const QString& userId)
{
    QXmppIq iq(QXmppIq::Get);
    iq.setId(QStringLiteral("last1"));
    iq.setTo(userAddress(userId));
    iq.setExtensions(
        {element(QStringLiteral("query"), {{QStringLiteral("xmlns"), kLastNamespace}})});
    sendPacket(iq);
}

// ---- rooms ----

QString QuorvelXMPPClient::getCompleteRoomId(const QString& roomId)
{
    return roomId + QStringLiteral("@conference.") + configuration().domain();
}

void QuorvelXMPPClient::setRooms(const QStringList& roomIds)
{
    for (const QString& roomId : roomIds)
        addRoom(roomId);
}

void QuorvelXMPPClient::addRoom(const QString& roomId)
{
    const QString address = getCompleteRoomId(roomId);
    const QList<QXmppMucRoom*> rooms = muc->rooms();
    for (QXmppMucRoom* room : rooms) {
        if (room->jid() != address)
            continue;
        if (!room->isJoined() && isAuthenticated())
            room->join();
        return;
    }
    QXmppMucRoom* room = muc->addRoom(address);
    room->setNickName(ownAddress());
    connect(room, &QXmppMucRoom::joined, this, &QuorvelXMPPClient::roomJoined);
    connect(room, &QXmppMucRoom::configurationReceived, this,
            &QuorvelXMPPClient::roomConfigReceived);
    connect(room, &QXmppMucRoom::messageReceived, this, &QuorvelXMPPClient::messageReceived);
    connect(room, &QXmppMucRoom::participantAdded, this, &QuorvelXMPPClient::roomOccupantPresence);
    connect(room, &QXmppMucRoom::participantChanged, this,
            &QuorvelXMPPClient::roomOccupantPresence);
    if (isAuthenticated())
        room->join();
}

void QuorvelXMPPClient::leaveRoom(const QString& roomId)
{
    const QString address = getCompleteRoomId(roomId);
    const QList<QXmppMucRoom*> rooms = muc->rooms();
    for (QXmppMucRoom* room : rooms) {
        if (room->jid() != address)
            continue;
        room->leave(QString());
        // Forgotten at once, so a reconnect does not join it again.
        roomRefusals.remove(address);
        delete room;
        return;
    }
}

void QuorvelXMPPClient::joinCurrentRooms()
{
    const QList<QXmppMucRoom*> rooms = muc->rooms();
    for (QXmppMucRoom* room : rooms) {
        if (isAuthenticated() && !room->isJoined())
            room->join();
    }
}

void QuorvelXMPPClient::roomJoined()
{
    auto* room = qobject_cast<QXmppMucRoom*>(sender());
    L_DEBUG(QStringLiteral("QuorvelXMPPClient::roomJoined | ") + (room ? room->jid() : QString()));
    if (!room)
        return;
    roomRefusals.remove(room->jid());
    emit roomEntered(QXmppUtils::jidToUser(room->jid()));
}

void QuorvelXMPPClient::roomOccupantPresence(const QString& occupant)
{
    auto* room = qobject_cast<QXmppMucRoom*>(sender());
    qint64 since = 0;
    if (!room || !RoomRecordPresence::read(occupant, room->participantPresence(occupant),
                                           configuration().domain(), &since))
        return;
    L_DEBUG(QStringLiteral("QuorvelXMPPClient::roomOccupantPresence | the record of %1 is "
                           "complete since %2")
                .arg(room->jid())
                .arg(since));
    emit roomRecordComplete(QXmppUtils::jidToUser(room->jid()), since);
}

void QuorvelXMPPClient::presenceReceivedSlot(const QXmppPresence& presence)
{
    if (ChannelAccountPresence::read(presence, configuration().domain())) {
        L_INFO(QStringLiteral("QuorvelXMPPClient::presenceReceivedSlot | the channel account is "
                              "back"));
        emit channelAccountBack();
        return;
    }
    // A room that refuses entry answers with an error presence that the
    // room manager does not take for its own (it lacks the room's element).
    if (presence.type() != QXmppPresence::Error)
        return;
    const QString address = QXmppUtils::jidToBareJid(presence.from());
    const QList<QXmppMucRoom*> rooms = muc->rooms();
    for (QXmppMucRoom* room : rooms) {
        if (room->jid() == address && !room->isJoined()) {
            roomRefused(room, presence.error());
            return;
        }
    }
}

void QuorvelXMPPClient::roomRefused(QXmppMucRoom* room, const QXmppStanza::Error& error)
{
    // A members-only room lets a new member in only once the service has
    // listed it there, which may be a moment after the member learnt of the
    // group: it is asked again, less often each time.
    const int refusals = ++roomRefusals[room->jid()];
    const int delay = qMin(kRoomRetryMs << qMin(refusals - 1, 6), kLongestResendIntervalMs);
    L_INFO(QStringLiteral("QuorvelXMPPClient::roomRefused | %1 (%2), asked again in %3 ms")
               .arg(room->jid(), error.text().left(80))
               .arg(delay));
    const QPointer<QXmppMucRoom> retried(room);
    QTimer::singleShot(delay, this, [this, retried] {
        if (retried && !retried->isJoined() && isAuthenticated())
            retried->join();
    });
}

void QuorvelXMPPClient::roomConfigReceived(const QXmppDataForm& form)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    form.toXml(&writer);
    L_DEBUG(QStringLiteral("QuorvelXMPPClient::roomConfigReceived | ") + xml);
}

void QuorvelXMPPClient::messageReceived(const QXmppMessage&)
{
    // Room messages of our form arrive through MessageExtension.
}
