#include "Managers/manager.h"

#include "Managers/Channel/channelmanager.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/Like/likemanager.h"
#include "Managers/Poll/pollmanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "foundation/datetime.h"
#include "foundation/simpleqtlogger.h"
#include "model/channellookup.h"
#include "model/channelmembersrequest.h"
#include "model/globalconstants.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "model/grouplookup.h"
#include "model/lastseen.h"
#include "model/likepair.h"
#include "model/lvrequest.h"
#include "model/messagestate.h"
#include "model/polldata.h"
#include "model/uisetting.h"
#include "model/userlookup.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QDateTime>
#include <QMetaMethod>

Manager::Manager(QObject* parent) : AbstractManager(parent)
{
    loadMainSettings();
}

void Manager::loadMainSettings()
{
    QJsonObject stored;
    MainSettings settings;
    if (SettingStorage::getInstance()->getMainSettings(&stored))
        settings.fromDBJson(stored);
    GlobalConstants::setMainSettings(settings);
    L_DEBUG(QStringLiteral("Manager::loadMainSettings | read"));
}

void Manager::startLoading()
{
    contactManager = new ContactManager(this);
    chatManager = new ChatManager(this);
    xmppManager = new XMPPManager(this);
    groupManager = new GroupManager(this);
    channelManager = new ChannelManager(this);
    likeManager = new LikeManager(this);
    // They all read the user's name from this core's one identity.
    for (AbstractManager* child : std::initializer_list<AbstractManager*>{
             contactManager, chatManager, xmppManager, groupManager, channelManager, likeManager})
        child->setUserIdentity(getUserIdentity());

    using StartSlot = void (Manager::*)(Procedure, const QHash<QString, QJsonValue>&);
    const StartSlot relay = &Manager::relayStart;
    connect(contactManager,
            static_cast<void (ContactManager::*)(Procedure, const QHash<QString, QJsonValue>&)>(
                &ContactManager::start),
            this, relay);
    connect(xmppManager, &XMPPManager::start, this, relay);
    connect(channelManager, &ChannelManager::start, this, relay);
    connect(groupManager, &GroupManager::start, this, relay);
    connect(chatManager, &ChatManager::start, this, relay);

    setupConnections();

    connect(contactManager, &AbstractManager::loadingFinished, chatManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(chatManager, &AbstractManager::loadingFinished, xmppManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(xmppManager, &AbstractManager::loadingFinished, groupManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(groupManager, &AbstractManager::loadingFinished, channelManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    connect(channelManager, &AbstractManager::loadingFinished, likeManager,
            &AbstractManager::startLoading, Qt::QueuedConnection);
    // The kept commands run before anyone hears that loading has finished.
    connect(likeManager, &AbstractManager::loadingFinished, this, &Manager::loadingFinishedSLOT);
    connect(likeManager, &AbstractManager::loadingFinished, this,
            &AbstractManager::loadingFinished);

    contactManager->startLoading();
}

void Manager::loadingFinishedSLOT()
{
    L_DEBUG(QStringLiteral("Manager::loadingFinishedSLOT | %1 commands kept during loading")
                .arg(pendingCommands.size()));
    loaded = true;
    // A kept command may send more commands; they queue behind the rest.
    while (!pendingCommands.isEmpty()) {
        const QPair<Command, QVariant> next = pendingCommands.takeFirst();
        command(next.first, next.second);
    }
}

// The start(procedure, inputs) signal, which the web service listens to once
// it is wired.
static QMetaMethod startSignal()
{
    using StartSignal = void (Manager::*)(Procedure, const QHash<QString, QJsonValue>&);
    return QMetaMethod::fromSignal(static_cast<StartSignal>(&Manager::start));
}

void Manager::relayStart(Procedure procedure, const QHash<QString, QJsonValue>& inputs)
{
    if (!heldStarts.isEmpty() || !isSignalConnected(startSignal())) {
        L_DEBUG(QStringLiteral("Manager::relayStart | %1 waits for the web service")
                    .arg(int(procedure)));
        heldStarts.append(qMakePair(procedure, inputs));
        return;
    }
    emit start(procedure, inputs);
}

void Manager::connectNotify(const QMetaMethod& signal)
{
    // Released once the wiring in hand has finished.
    if (signal == startSignal() && !heldStarts.isEmpty())
        QMetaObject::invokeMethod(this, &Manager::releaseHeldStarts, Qt::QueuedConnection);
}

void Manager::releaseHeldStarts()
{
    if (!isSignalConnected(startSignal()))
        return;
    while (!heldStarts.isEmpty()) {
        const QPair<Procedure, QHash<QString, QJsonValue>> next = heldStarts.takeFirst();
        emit start(next.first, next.second);
    }
}

void Manager::setupConnections()
{
    setupContactConnections();
    setupChannelConnections();
    setupGroupConnections();

    connect(chatManager, &ChatManager::chatRecipientNumbers, contactManager,
            &ContactManager::chatRecipients);
    connect(chatManager, &ChatManager::recipientAdded, this, &Manager::recipientAdded);
    connect(chatManager, &ChatManager::commandResponse, this, &Manager::commandResponse);
    connect(chatManager, &ChatManager::arrivedMessageStored, contactManager,
            &ContactManager::sendNotification);
    connect(chatManager, &ChatManager::partnerMuteChanged, contactManager,
            &ContactManager::setContactMute);

    connect(xmppManager, &XMPPManager::incommingMessage, this, &Manager::incommingMessage);
    connect(xmppManager->getClient(), &QuorvelXMPPClient::lastSeen, this, &Manager::lastSeen);
    connect(xmppManager, &XMPPManager::messageSent, this, &Manager::messageSent);
    connect(xmppManager, &XMPPManager::messageDelivered, this, &Manager::messageDelivered);
    connect(xmppManager->getClient(), &QXmppClient::connected, this, &Manager::xmppConnected);
    connect(xmppManager, &XMPPManager::userBlocked, this, &Manager::userBlocked);
    connect(xmppManager, &XMPPManager::diskFullForArrivals, this,
            [this](bool waiting) { answer(CMD_DiskFullForArrivals, waiting); });

    // Counts from the service are kept with the channel's messages before the screen hears of them.
    connect(likeManager, &LikeManager::likeGetResults, channelManager,
            &ChannelManager::likeGetResults);
    connect(likeManager, &LikeManager::likeGetResults, this,
            [this](const LVReply& reply) { answer(CMD_LikeGet, QVariant::fromValue(reply)); });
}

void Manager::onInitialize()
{
    const QString where = QStringLiteral("Manager::onInitialize");
    auto step = [&where](const char* text) {
        if (simpleqtlogger::LogSinks::wanted(simpleqtlogger::LogLevel_DEBUG)) {
            if (auto* logger = simpleqtlogger::SimpleQtLogger::getInstance())
                logger->log(QString::fromLatin1(text), simpleqtlogger::LogLevel_DEBUG, where,
                            __FILE__, __LINE__);
        }
    };
    step("START");
    xmppManager->onInitialize();
    step("xmppManager Init");
    respondGetSettings();
    step("getSetting");
    respondGetContacts();
    step("getContacts");
    respondChannelList();
    step("channelList");
    respondGroupList();
    step("groupList");
    respondGetChatRecipients();
    step("chatRecipients");
    channelManager->onInitialize();
    step("channelManager");
    // The chat manager has nothing to initialise.
    step("chatManager");
    groupManager->onInitialize();
    step("groupManager");
    contactManager->onInitialize(chatManager->getRecipients());
    step("contactManager");
    step("END");
    setupXmppStateReporting();
}

void Manager::setupXmppStateReporting()
{
    connect(xmppManager, &XMPPManager::chatServerStateChanged, this,
            &Manager::chatServerStateChanged, Qt::UniqueConnection);
    chatServerStateChanged(xmppManager->getState());
}

void Manager::aboutToQuit()
{
    L_DEBUG(QStringLiteral("Manager::aboutToQuit"));
    if (chatManager)
        chatManager->aboutToQuit();
}

void Manager::answer(Command command, const QVariant& output)
{
    emit commandResponse(command, output);
}

Contact Manager::toContact(const QVariant& value)
{
    return value.value<Contact>();
}

QString Manager::toString(const QVariant& value)
{
    return value.canConvert<QString>() ? value.toString() : QString();
}

QStringList Manager::toStringList(const QVariant& value)
{
    return value.toStringList();
}

int Manager::chatServerStateValue(QXmppClient::State state)
{
    switch (state) {
    case QXmppClient::DisconnectedState:
        return 1;
    case QXmppClient::ConnectingState:
        return 2;
    case QXmppClient::ConnectedState:
        return 3;
    }
    return int(state);
}

void Manager::chatServerStateChanged(QXmppClient::State state)
{
    answer(CMD_ChatServerState, chatServerStateValue(state));
}

// ---- Command dispatch ----

const Manager::CommandTable& Manager::commandTable()
{
    static const CommandTable table = [] {
        CommandTable filled;
        addGeneralCommands(&filled);
        addContactCommands(&filled);
        addChannelCommands(&filled);
        addGroupCommands(&filled);
        addMessageCommands(&filled);
        return filled;
    }();
    return table;
}

void Manager::command(Command command, const QVariant& inputs)
{
    // The GUI may send commands as soon as its window is up, before the
    // managers' stores have loaded: those wait, in order, for loading to end.
    if (!loaded) {
        L_DEBUG(QStringLiteral("Manager::command | command %1 kept until loading has finished")
                    .arg(int(command)));
        pendingCommands.append(qMakePair(command, inputs));
        return;
    }
    // Answer-only values and anything outside the table are ignored.
    const auto handler = commandTable().constFind(int(command));
    if (handler != commandTable().constEnd())
        (*handler)(*this, inputs);
}

void Manager::addGeneralCommands(CommandTable* table)
{
    table->insert(CMD_Getsetting, [](Manager& m, const QVariant&) { m.respondGetSettings(); });
    table->insert(CMD_LikeGet, [](Manager& m, const QVariant& in) {
        m.likeManager->getLikes(in.value<LVRequest>());
    });
    table->insert(CMD_LikeSend, [](Manager& m, const QVariant& in) {
        const LikePair pair = in.value<LikePair>();
        m.likeManager->addLike(pair);
        m.channelManager->likeSetStatus(pair);
    });
    table->insert(CMD_SaveMainSettings, [](Manager& m, const QVariant& in) {
        // The settings travel as a copy inside the command when the sender
        // provides one, so no object is shared between the threads.
        if (in.userType() == qMetaTypeId<MainSettings>())
            GlobalConstants::setMainSettings(in.value<MainSettings>());
        m.saveMainSettings();
    });
    table->insert(CMD_Lookup, [](Manager& m, const QVariant& in) { m.lookup(toString(in)); });
    table->insert(CMD_Logout, [](Manager& m, const QVariant&) { emit m.removeAllSettings(); });
}

// ---- Web-service replies ----

void Manager::replyReport(Procedure procedure, const QJsonObject& reply)
{
    if (!likeManager)
        return;
    contactManager->processReply(procedure, reply);
    channelManager->processReply(procedure, reply);
    xmppManager->processReply(procedure, reply);
    groupManager->processReply(procedure, reply);
    likeManager->processReply(procedure, reply);
    chatManager->processReply(procedure, reply);
    if (procedure == PROC_Lookup)
        processLookup(reply);
}

void Manager::result(Procedure procedure, int resultCode)
{
    if (!likeManager)
        return;
    errorHandler(resultCode);
    channelManager->result(procedure, resultCode);
    groupManager->result(procedure, resultCode);
    likeManager->result(procedure, resultCode);
    // The chat manager frees its history queue when an archive fetch failed.
    chatManager->result(procedure, resultCode);
}

void Manager::errorHandler(int resultCode)
{
    switch (resultCode) {
    case 200:
        return;
    case 311:
        answer(CMD_Logout, QVariant());
        answer(CMD_ErrorCode, 311);
        return;
    case 315:
        xmppManager->forceUpdate();
        answer(CMD_ForceUpdate, true);
        answer(CMD_ErrorCode, 315);
        return;
    default:
        answer(CMD_ErrorCode, resultCode);
        return;
    }
}

void Manager::lookup(const QString& key)
{
    QString value = key;
    if (value.startsWith(QLatin1Char('@')))
        value.remove(0, 1);
    QHash<QString, QJsonValue> inputs;
    inputs.insert(QStringLiteral("Key"), value);
    relayStart(PROC_Lookup, inputs);
}

void Manager::processLookup(const QJsonObject& reply)
{
    if (!reply.contains(QStringLiteral("Type")))
        return;
    const QString type = reply.value(QStringLiteral("Type")).toString();
    const QJsonObject data = reply.value(QStringLiteral("MetaData")).toObject();
    if (type == QLatin1String("GROUP_JOIN_LINK")) {
        GroupLookup value;
        value.setDataFromJson(data);
        answer(CMD_GroupLookup, QVariant::fromValue(value));
    } else if (type == QLatin1String("CHANNEL_DATA") ||
               type == QLatin1String("CHANNEL_JOIN_LINK")) {
        ChannelLookup value;
        value.setDataFromJson(data);
        answer(CMD_ChannelLookup, QVariant::fromValue(value));
    } else if (type == QLatin1String("USER_DATA")) {
        UserLookup value;
        value.setDataFromJson(data);
        answer(CMD_UserLookup, QVariant::fromValue(value));
    }
}

void Manager::saveMainSettings()
{
    const MainSettings settings = GlobalConstants::getMainSettings();
    SettingStorage::getInstance()->setMainSettings(settings.toDBJson());
    L_DEBUG(QStringLiteral("Manager::saveMainSettings"));
}

void Manager::respondGetSettings()
{
    const UISetting setting(getUserName(), hashMethod, token);
    PollManager::getInstance()->setSetting(setting);
    answer(CMD_Getsetting, QVariant::fromValue(setting));
}

void Manager::lastSeen(const QString& number, int seconds)
{
    const qint64 when = qint64(DateTime::getDateTime()) - seconds;
    answer(CMD_LastSeen,
           QVariant::fromValue(LastSeen(number, QDateTime::fromSecsSinceEpoch(when))));
}
