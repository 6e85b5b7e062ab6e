// The command channel of one core in this process: loading order, the
// start-up answers, dispatch rules, result codes, look-ups, notifications and
// the message rules that need no second party. The web service is the fake on
// loopback; no chat server runs, so outgoing messages wait in the outbox.

#include "Managers/Channel/channelmanager.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contact.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/Group/groupmanager.h"
#include "Managers/Like/likemanager.h"
#include "Managers/XMPP/xmppmanager.h"
#include "Managers/command.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "foundation/database.h"
#include "foundation/htmlmanager.h"
#include "foundation/serviceconfig.h"
#include "model/globalconstants.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/notificationmessage.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
const QString kUser = QStringLiteral("989120000001");
const QString kPeer = QStringLiteral("989120000002");

QList<int> commandsOf(const QSignalSpy& spy, int from = 0)
{
    QList<int> commands;
    for (int i = from; i < spy.size(); ++i)
        commands << int(spy.at(i).at(0).value<Command>());
    return commands;
}

Message textMessage(MessageBase::MsgMajorType type, const QString& to, const QString& body)
{
    return Message(type, kUser, to, body);
}
} // namespace

class TestManager : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void loadsInOrderAndAnswersStartUpInOrder();
    void ignoredCommands_data();
    void ignoredCommands();
    void resultCodes_data();
    void resultCodes();
    void groupCommandsAnswerAtOnce_data();
    void groupCommandsAnswerAtOnce();
    void lookupRequestDropsTheAt();
    void lookupReplies_data();
    void lookupReplies();
    void notificationsFollowTheSettings();
    void sendingRules();
    void longMessageKeepsEveryPart();
    void ownAcknowledgedEditIsConvertedOnce();
    void mainSettingsTravelAsACopy();
    void muteUpdatesOnlyFromTheOwnAccount_data();
    void muteUpdatesOnlyFromTheOwnAccount();
    void likeRepliesTakeOnePath();
    void ownMuteUpdateComingBackIsAppliedOnce();
    void muteChangeIsAddressedToTheUser();

private:
    QList<int> answersAfter(const std::function<void()>& action, int waitMs = 150);

    FakeWebService service;
    FakeProcedures procedures;
    std::unique_ptr<QuorvelDesktopCore> core;
    Manager* manager = nullptr;
    std::unique_ptr<QSignalSpy> answers;
};

void TestManager::initTestCase()
{
    QCoreApplication::setOrganizationName("Quorvel");
    QCoreApplication::setApplicationName("Quorvel Desktop");
    QuorvelDesktopCore::registerMetaTypes();
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(ServiceConfig::installExtraCaCertificates());
    QVERIFY(service.start());
    qputenv("QUORVEL_WEB_BASE_URL", service.baseUrl().toUtf8());
    procedures.username = kUser;
    // Nothing listens there: the chat server stays unreachable.
    procedures.salamServers = QJsonArray{QJsonObject{{"Hostname", "localhost"},
                                                     {"ServerAddress", "127.0.0.1"},
                                                     {"PortNo", "1"},
                                                     {"Username", kUser},
                                                     {"Password", "x"},
                                                     {"Application", "chat"}}};
    procedures.install(&service);

    core.reset(new QuorvelDesktopCore());
    manager = core->getManager();
    QVERIFY(!core->isUserLoggedIn());
    // Sign up through the fake service, as a first start does.
    QSignalSpy results(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result);
    core->startRegisteration(kUser);
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 15000);
    QCOMPARE(results.last().at(1).toInt(), 200);
    core->startActivation(procedures.pinCode);
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 2, 15000);
    QCOMPARE(results.last().at(1).toInt(), 200);
    QVERIFY(core->isUserLoggedIn());
    answers.reset(new QSignalSpy(manager, &Manager::commandResponse));
}

void TestManager::cleanupTestCase()
{
    if (core)
        core->aboutToQuit();
    core.reset();
    QuorvelDesktopCore::deleteGuiServices();
    SettingStorage::deleteInstance();
}

QList<int> TestManager::answersAfter(const std::function<void()>& action, int waitMs)
{
    const int from = answers->size();
    action();
    QTest::qWait(waitMs);
    return commandsOf(*answers, from);
}

void TestManager::loadsInOrderAndAnswersStartUpInOrder()
{
    // Commands that arrive before loading wait for it; replies are dropped.
    QCOMPARE(answersAfter(
                 [&] {
                     manager->command(CMD_SendMessage, QVariant::fromValue(textMessage(
                                                           MessageBase::MsgMajorType_SimpleChat,
                                                           kPeer, "too early")));
                     manager->command(CMD_GetContacts, QVariant());
                     manager->result(PROC_Members, 500);
                 },
                 0),
             QList<int>());

    QStringList order;
    QSignalSpy loaded(core.get(), &QuorvelDesktopCore::loadingFinished);
    int answersAtLoaded = -1;
    connect(core.get(), &QuorvelDesktopCore::loadingFinished, this,
            [&] { answersAtLoaded = answers->size(); });
    core->startLoading();
    // The managers exist now, their stores are not loaded yet.
    manager->command(CMD_SendMessage,
                     QVariant::fromValue(textMessage(MessageBase::MsgMajorType_SimpleChat, kPeer,
                                                     "while loading")));
    const QList<QPair<QString, AbstractManager*>> managers{
        {"contacts", manager->getContactManager()},
        {"chats", manager->getChatManager()},
        {"xmpp", manager->getXmppManager()},
        {"groups", manager->findChild<GroupManager*>()},
        {"channels", manager->findChild<ChannelManager*>()},
        {"likes", manager->getLikeManager()}};
    for (const auto& entry : managers) {
        QVERIFY(entry.second);
        const QString name = entry.first;
        connect(entry.second, &AbstractManager::loadingFinished, this,
                [&order, name] { order << name; });
    }
    // The contacts loaded within startLoading; every later one in a later
    // turn of the event loop.
    QVERIFY(order.isEmpty());
    QVERIFY(!manager->getChatManager()->contains(QStringLiteral("anything")));
    QVERIFY(loaded.wait(10000));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(order, QStringList({"chats", "xmpp", "groups", "channels", "likes"}));
    // The kept commands ran in order against the loaded stores, before
    // loading was reported.
    QCOMPARE(commandsOf(*answers).mid(0, 4),
             QList<int>({CMD_ChatRecipientAdded, CMD_MessagePairAdded, CMD_GetContacts,
                         CMD_MessagePairAdded}));
    QVERIFY(answersAtLoaded >= 4);
    QCOMPARE(answers->at(1).at(1).value<MessagePair>().getMessage().getMessageBody(),
             QStringLiteral("too early"));
    QCOMPARE(answers->at(3).at(1).value<MessagePair>().getMessage().getMessageBody(),
             QStringLiteral("while loading"));
    Message last;
    QVERIFY(manager->getChatManager()->getLastMsg(kPeer, &last));
    QCOMPARE(last.getMessageBody(), QStringLiteral("while loading"));
    QCOMPARE(GlobalConstants::getUserName(), kUser);
    QCOMPARE(manager->getToken(), procedures.token);
    // One name for the whole core: every manager reads the identity the
    // facade wrote once, the one the shared values read too.
    QCOMPARE(manager->getUserIdentity(), UserIdentity::processIdentity());
    for (const auto& entry : managers) {
        QCOMPARE(entry.second->getUserIdentity(), manager->getUserIdentity());
        QCOMPARE(entry.second->getUserName(), kUser);
    }

    const int from = answers->size();
    QSignalSpy initialised(core.get(), &QuorvelDesktopCore::initializingFinished);
    core->onInitialize();
    QCOMPARE(initialised.size(), 1);
    QCOMPARE(commandsOf(*answers, from).mid(0, 6),
             QList<int>({CMD_Getsetting, CMD_GetContacts, CMD_ChannelList, CMD_GroupsList,
                         CMD_GetChatRecipients, CMD_ChatServerState}));
    // A disconnected or connecting client is reported as 1 or 2.
    const int state = answers->at(from + 5).at(1).toInt();
    QVERIFY(state == 1 || state == 2);

    // No chat server runs here: stop the reconnection attempts and their state
    // answers, and let the answers of the first requests pass.
    manager->getXmppManager()->forceUpdate();
    // The user's profile is the slowest of them: on a loaded machine its
    // answer may come after a quiet spell.
    QTRY_VERIFY_WITH_TIMEOUT(commandsOf(*answers, from).contains(CMD_GetUserProfile), 20000);
    // Then a full second without answers (the kept messages' look-ups may
    // answer late as well).
    for (int quiet = 0, i = 0; quiet < 4 && i < 120; ++i) {
        const int seen = answers->size();
        QTest::qWait(250);
        quiet = seen == answers->size() ? quiet + 1 : 0;
    }
}

void TestManager::ignoredCommands_data()
{
    QTest::addColumn<int>("command");
    for (int value :
         {-1, 79, 1000, 16, 24, 30, 37, 38, 42, 45, 46, 47, 54, 56, 65, 66, 71, 72, 73, 74, 76})
        QTest::newRow(qPrintable(QString::number(value))) << value;
}

void TestManager::ignoredCommands()
{
    QFETCH(int, command);
    QCOMPARE(answersAfter([&] { manager->command(Command(command), QVariant()); }), QList<int>());
}

void TestManager::resultCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("200") << 200 << QList<int>();
    QTest::newRow("311 logs out") << 311 << QList<int>({CMD_Logout, CMD_ErrorCode});
    QTest::newRow("315 forces an update") << 315 << QList<int>({CMD_ForceUpdate, CMD_ErrorCode});
    QTest::newRow("100 tries ran out") << 100 << QList<int>({CMD_ErrorCode});
    QTest::newRow("500") << 500 << QList<int>({CMD_ErrorCode});
}

void TestManager::resultCodes()
{
    QFETCH(int, code);
    QFETCH(QList<int>, expected);
    const int from = answers->size();
    QCOMPARE(answersAfter([&] { manager->result(PROC_Members, code); }, 0), expected);
    if (!expected.isEmpty())
        QCOMPARE(answers->last().at(1).toInt(), code);
    if (code == 311)
        QVERIFY(!answers->at(from).at(1).isValid());
    if (code == 315)
        QCOMPARE(answers->at(from).at(1).toBool(), true);
}

void TestManager::groupCommandsAnswerAtOnce_data()
{
    QTest::addColumn<int>("command");
    for (int value : {CMD_GroupAddMember, CMD_GroupAddAdmin, CMD_GroupChangeRole,
                      CMD_GroupChangeData, CMD_GroupRemoveMember})
        QTest::newRow(qPrintable(QString::number(value))) << value;
}

void TestManager::groupCommandsAnswerAtOnce()
{
    QFETCH(int, command);
    QCOMPARE(answersAfter([&] { manager->command(Command(command), QVariant()); }, 0),
             QList<int>({command}));
    QCOMPARE(answers->last().at(1).toBool(), true);
}

void TestManager::lookupRequestDropsTheAt()
{
    service.clearRequests();
    QSignalSpy results(core->getWebApi()->getProcedureHandler(), &ProcedureHandler::result);
    for (const QString key : {"@somebody", "somebody"}) {
        const int before = service.requestsFor("lookup/").size();
        manager->command(CMD_Lookup, key);
        QTRY_COMPARE_WITH_TIMEOUT(service.requestsFor("lookup/").size(), before + 1, 10000);
        const QJsonObject body =
            QJsonDocument::fromJson(service.requestsFor("lookup/").last().body).object();
        QCOMPARE(body.value("Key").toString(), QStringLiteral("somebody"));
    }
    // Both look-ups are over before the next test counts answers.
    const auto lookupsDone = [&results] {
        int done = 0;
        for (const QList<QVariant>& result : results)
            done += result.at(0).value<Procedure>() == PROC_Lookup ? 1 : 0;
        return done;
    };
    QTRY_COMPARE_WITH_TIMEOUT(lookupsDone(), 2, 30000);
}

void TestManager::lookupReplies_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("group link") << "GROUP_JOIN_LINK" << QList<int>({CMD_GroupLookup});
    QTest::newRow("channel data") << "CHANNEL_DATA" << QList<int>({CMD_ChannelLookup});
    QTest::newRow("channel link") << "CHANNEL_JOIN_LINK" << QList<int>({CMD_ChannelLookup});
    QTest::newRow("user") << "USER_DATA" << QList<int>({CMD_UserLookup});
    QTest::newRow("sticker package") << "STICKER_PACKAGE_DATA" << QList<int>();
    QTest::newRow("no type") << "" << QList<int>();
}

void TestManager::lookupReplies()
{
    QFETCH(QString, type);
    QFETCH(QList<int>, expected);
    QJsonObject reply{{"ResultCode", 200}, {"MetaData", QJsonObject{{"Name", "x"}}}};
    if (!type.isEmpty())
        reply.insert("Type", type);
    QCOMPARE(answersAfter([&] { manager->replyReport(PROC_Lookup, reply); }, 0), expected);
}

void TestManager::notificationsFollowTheSettings()
{
    NotificationMessage note;
    note.setTitle("Peer");
    note.setMessage(textMessage(MessageBase::MsgMajorType_SimpleChat, kPeer,
                                HtmlManager::insertHtmlTags("a & b www.example.org")));

    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setNotificationsEnabled(false);
    GlobalConstants::setMainSettings(settings);
    QCOMPARE(answersAfter([&] { manager->notification(note); }, 0), QList<int>());

    settings.setNotificationsEnabled(true);
    GlobalConstants::setMainSettings(settings);
    QCOMPARE(answersAfter([&] { manager->notification(note); }, 0), QList<int>({CMD_Notification}));
    const NotificationMessage shown = answers->last().at(1).value<NotificationMessage>();
    QCOMPARE(shown.getMessage().getMessageBody(), QStringLiteral("a & b www.example.org"));
}

void TestManager::sendingRules()
{
    // A channel reply cannot be sent by the user: nothing is sent or stored.
    Message reply = textMessage(MessageBase::MsgMajorType_ChannelChatReply, "channel1", "no");
    QCOMPARE(answersAfter([&] { manager->command(CMD_SendMessage, QVariant::fromValue(reply)); }),
             QList<int>());
    // Nor is a message without a kind.
    QCOMPARE(
        answersAfter([&] { manager->command(CMD_SendMessage, QVariant::fromValue(Message())); }),
        QList<int>());
    // A one-to-one text is stored at once as not sent and answered as a pair.
    Message text =
        textMessage(MessageBase::MsgMajorType_SimpleChat, QStringLiteral("989120000003"), "hello");
    QCOMPARE(answersAfter([&] { manager->command(CMD_SendMessage, QVariant::fromValue(text)); }),
             QList<int>({CMD_ChatRecipientAdded, CMD_MessagePairAdded}));
    const Message stored = answers->last().at(1).value<MessagePair>().getMessage();
    QCOMPARE(stored.getState(), MessageBase::MsgState_NotSent);
    QCOMPARE(stored.getUserId(), kUser);
    QVERIFY(!stored.getMessageId().isEmpty());
}

void TestManager::longMessageKeepsEveryPart()
{
    const QString peer = QStringLiteral("989120000005");
    Message text = textMessage(MessageBase::MsgMajorType_SimpleChat, peer, QString(9000, 'x'));
    text.setMessageId(QStringLiteral("given-id-1"));
    const int from = answers->size();
    manager->command(CMD_SendMessage, QVariant::fromValue(text));
    QSet<QString> ids;
    int length = 0;
    for (int i = from; i < answers->size(); ++i) {
        if (answers->at(i).at(0).value<Command>() != CMD_MessagePairAdded)
            continue;
        const Message part = answers->at(i).at(1).value<MessagePair>().getMessage();
        ids.insert(part.getMessageId());
        length += part.getMessageBody().size();
    }
    QCOMPARE(ids.size(), 3);
    QVERIFY(ids.contains(QStringLiteral("given-id-1")));
    QCOMPARE(length, 9000);
    // Each part is kept: none overwrote another in the store.
    const int before = answers->size();
    manager->getChatManager()->respondGetChatMessages(
        MessageRequest(peer, QString(), 3, MessageBase::MsgMajorType_SimpleChat));
    QTRY_VERIFY(commandsOf(*answers, before).contains(CMD_GetChatMessages));
    for (int i = before; i < answers->size(); ++i) {
        if (answers->at(i).at(0).value<Command>() == CMD_GetChatMessages) {
            QCOMPARE(answers->at(i).at(1).value<MessageReply>().getMsgs().size(), 3);
            break;
        }
    }
}

void TestManager::ownAcknowledgedEditIsConvertedOnce()
{
    const Message original = textMessage(MessageBase::MsgMajorType_SimpleChat, kPeer,
                                         HtmlManager::insertHtmlTags("first"));
    manager->command(CMD_SendMessage, QVariant::fromValue(original));
    QTRY_VERIFY(commandsOf(*answers).contains(CMD_MessagePairAdded));
    const Message stored = answers->last().at(1).value<MessagePair>().getMessage();
    QCOMPARE(stored.getMessageBody(), QStringLiteral("first"));

    // The GUI builds the edit from the text as it shows it.
    // (emoji as image tags and links as anchors, not escaped).
    const QString shown = HtmlManager::insertHtmlTags(QStringLiteral("edited #news @someone"));
    Message edit;
    edit.setEditMessage(stored, shown);
    // The server acknowledged the edit.
    QCOMPARE(answersAfter([&] { manager->messageSent(edit); }, 0), QList<int>({CMD_MessageEdited}));
    const Message edited = answers->last().at(1).value<Message>();
    QCOMPARE(edited.getMessageId(), stored.getMessageId());
    QCOMPARE(edited.getMessageBody(), shown);
}

void TestManager::mainSettingsTravelAsACopy()
{
    MainSettings chosen;
    chosen.setSendKey(MainSettings::ShiftEnter);
    chosen.setInterfaceScaleFactor(125);
    manager->command(CMD_SaveMainSettings, QVariant::fromValue(chosen));
    QCOMPARE(GlobalConstants::getMainSettings().toDBJson(), chosen.toDBJson());
    QJsonObject stored;
    QVERIFY(SettingStorage::getInstance()->getMainSettings(&stored));
    MainSettings read;
    read.fromDBJson(stored);
    QCOMPARE(read, chosen);
}

void TestManager::muteUpdatesOnlyFromTheOwnAccount_data()
{
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("applied");
    QTest::newRow("the contact itself") << kPeer << false;
    QTest::newRow("a stranger") << QStringLiteral("989129999999") << false;
    QTest::newRow("nobody") << QString() << false;
    QTest::newRow("the user's other device") << kUser << true;
}

void TestManager::muteUpdatesOnlyFromTheOwnAccount()
{
    QFETCH(QString, sender);
    QFETCH(bool, applied);
    const QString number = QStringLiteral("989120000004");
    ContactManager* contacts = manager->getContactManager();
    contacts->addInitialContact(number, QStringLiteral("Muted"), QString(), false);
    QVERIFY(contacts->setContactMute(number, false));

    ConversationMuteStatusUpdate update;
    update.setConversationType(ConversationType::USER);
    update.setConversationId(number);
    update.setMuteStatus(true);
    update.setUpdateTimestamp(1700000000000);
    Message message;
    message.setConversationMuteStatusChange(update);
    message.setUserId(sender);
    message.setChatId(sender);
    message.setMessageId(QStringLiteral("mute-from-") + sender);
    const QList<int> answered = answersAfter([&] { manager->incommingMessage(message); }, 0);
    QCOMPARE(answered, applied ? QList<int>({CMD_UpdateMuteStatus}) : QList<int>());
    Contact contact;
    QVERIFY(contacts->getContact(number, &contact));
    QCOMPARE(contact.getMute(), applied);
}

void TestManager::likeRepliesTakeOnePath()
{
    // The core's own wiring: the like manager's requests go to the procedure
    // queue and its replies come back through the Manager only. A chat of
    // 150 ids goes out in two requests and is answered once, with every count.
    LikeManager* likes = manager->getLikeManager();
    likes->setGetInterval(50);
    QStringList ids;
    for (int i = 0; i < 150; ++i)
        ids << QStringLiteral("liked-%1").arg(i);
    const int requestsBefore = service.requestsFor("like/get/").size();
    const int from = answers->size();
    manager->command(CMD_LikeGet, QVariant::fromValue(LVRequest("one-path", ids)));
    QTRY_COMPARE_WITH_TIMEOUT(commandsOf(*answers, from).count(CMD_LikeGet), 1, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!likes->getAlreadyRequested(), 20000);
    QCOMPARE(service.requestsFor("like/get/").size() - requestsBefore, 2);
    LVReply reply;
    for (int i = from; i < answers->size(); ++i) {
        if (answers->at(i).at(0).value<Command>() == CMD_LikeGet)
            reply = answers->at(i).at(1).value<LVReply>();
    }
    QCOMPARE(reply.getChatId(), QString("one-path"));
    QCOMPARE(reply.getResult().size(), 150);

    // The same reply reaching the Manager again (as a second handler would
    // pass it on) counts nothing twice.
    const QJsonObject again{{"MessagesLikeCount", QJsonObject{{"liked-1", 5}, {"liked-2", 7}}}};
    QCOMPARE(
        answersAfter([&] { manager->replyReport(PROC_GetLike, again); }, 300).count(CMD_LikeGet),
        0);
    QVERIFY(!likes->getAlreadyRequested());
}

void TestManager::ownMuteUpdateComingBackIsAppliedOnce()
{
    const QString number = QStringLiteral("989120000005");
    ContactManager* contacts = manager->getContactManager();
    contacts->addInitialContact(number, QStringLiteral("Echo"), QString(), false);
    const QStringList before = manager->getXmppManager()->outboxIds();
    Contact change;
    change.setNumber(number);
    change.setMute(true);
    manager->command(CMD_UpdateMuteStatus, QVariant::fromValue(change));
    QStringList sent = manager->getXmppManager()->outboxIds();
    for (const QString& id : before)
        sent.removeAll(id);
    QCOMPARE(sent.size(), 1);

    // The server's copy of the user's own change, as it arrives on this device.
    const auto fromOwnAccount = [&](const QString& id, bool mute) {
        ConversationMuteStatusUpdate update;
        update.setConversationType(ConversationType::USER);
        update.setConversationId(number);
        update.setMuteStatus(mute);
        update.setUpdateTimestamp(1700000000000);
        Message message;
        message.setConversationMuteStatusChange(update);
        message.setUserId(kUser);
        message.setChatId(kUser);
        message.setMessageId(id);
        return message;
    };
    QCOMPARE(answersAfter([&] { manager->incommingMessage(fromOwnAccount(sent.first(), true)); }),
             QList<int>());
    Contact contact;
    QVERIFY(contacts->getContact(number, &contact));
    QVERIFY(contact.getMute());

    // A change from the user's other device is applied and answered.
    QCOMPARE(answersAfter([&] {
                 manager->incommingMessage(fromOwnAccount(QStringLiteral("other-device-1"), false));
             }),
             QList<int>({CMD_UpdateMuteStatus}));
    QVERIFY(contacts->getContact(number, &contact));
    QVERIFY(!contact.getMute());
}

void TestManager::muteChangeIsAddressedToTheUser()
{
    Contact peer;
    peer.setNumber(kPeer);
    peer.setMute(true);
    manager->command(CMD_UpdateMuteStatus, QVariant::fromValue(peer));

    // Shut the core down so its outbox store can be read.
    core->aboutToQuit();
    core.reset();
    DataBase outbox(QStringLiteral("xmppManagerDBname"));
    QVERIFY(outbox.isOpen());
    QString queue;
    QString current;
    outbox.get(QStringLiteral("_queueMessageIds"), &queue);
    outbox.get(QStringLiteral("_currentMessageId"), &current);
    bool found = false;
    for (const QString& id : queue.split(',', Qt::SkipEmptyParts) + QStringList{current}) {
        QJsonObject json;
        if (!outbox.get(id, &json))
            continue;
        Message message;
        QVERIFY(message.fromJson(json));
        if (message.getMinorType() != MessageBase::MsgMinorType_UpdateConversationMuteStatus ||
            message.getConversationMuteStatusUpdate().getConversationId() != kPeer)
            continue;
        found = true;
        QCOMPARE(message.getChatId(), kUser);
        QVERIFY(message.getConversationMuteStatusUpdate().getMuteStatus());
    }
    QVERIFY2(found, qPrintable("outbox: " + queue + " / " + current));
}

QTEST_GUILESS_MAIN(TestManager)
#include "tst_manager.moc"
