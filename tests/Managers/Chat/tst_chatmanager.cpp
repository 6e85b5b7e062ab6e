#include "Managers/Chat/chatmanager.h"
#include "model/globalconstants.h"
#include "model/messagestate.h"

#include <QtTest>

#include <memory>

namespace {
const QString Me = QStringLiteral("989120000000");
const QString Peer = QStringLiteral("989121111111");
const QString Other = QStringLiteral("989122222222");

Message chatMessage(const QString& chatId, const QString& id, qint64 time,
                    const QString& from = QString())
{
    Message message(MessageBase::MsgMajorType_SimpleChat, from.isEmpty() ? chatId : from, chatId,
                    "text " + id);
    message.setMessageId(id);
    message.setSendTimeInGMT(time);
    message.setState(MessageBase::MsgState_Delivered);
    return message;
}

QJsonObject archiveElement(const QString& id, qint64 time, const QString& from,
                           const QString& state = "2")
{
    return QJsonObject{{"M", QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                                         {"MINOR_TYPE", "TEXT"},
                                         {"SEND_TIME_IN_GMT", QString::number(time)},
                                         {"USER_ID", from}}},
                       {"F", from + "@chat.test/desktop"},
                       {"I", id},
                       {"B", "archived " + id},
                       {"S", "NORMAL"},
                       {"MS", state}};
}

QJsonObject archiveReply(const QList<QJsonObject>& elements)
{
    QJsonArray array;
    for (const QJsonObject& element : elements)
        array.append(element);
    return QJsonObject{{"ResultCode", 200}, {"Messages", array}};
}

// A history request of a one-to-one chat.
MessageRequest page(const QString& chatId, const QString& from, int number)
{
    return MessageRequest(chatId, from, number, MessageBase::MsgMajorType_SimpleChat);
}

QStringList idsOf(const QList<Message>& list)
{
    QStringList ids;
    for (const Message& message : list)
        ids.append(message.getMessageId());
    return ids;
}

// The files of a chat's store: each opening starts a new write-ahead log.
QStringList storeFiles(const QString& chatId)
{
    return QDir(DataBase::pathForName(Chat::storeName(chatId))).entryList(QDir::Files, QDir::Name);
}
} // namespace

// A ChatManager with its signals recorded.
class Harness
{
public:
    Harness()
    {
        QObject::connect(&manager, &ChatManager::start,
                         [this](Procedure p, const QHash<QString, QJsonValue>& inputs) {
                             QCOMPARE(p, PROC_UserChatArchive);
                             fetches.append(inputs);
                         });
        QObject::connect(&manager, &ChatManager::recipientAdded,
                         [this](const QString& id) { added.append(id); });
        QObject::connect(&manager, &ChatManager::commandResponse,
                         [this](Command c, const QVariant& v) {
                             answers.append({c, v});
                         });
        manager.startLoading();
    }

    QList<QVariant> answersOf(Command command) const
    {
        QList<QVariant> list;
        for (const auto& answer : answers) {
            if (answer.first == command)
                list.append(answer.second);
        }
        return list;
    }
    QList<MessageReply> pages() const
    {
        QList<MessageReply> list;
        for (const QVariant& v : answersOf(CMD_GetChatMessages))
            list.append(v.value<MessageReply>());
        return list;
    }

    ChatManager manager;
    QList<QHash<QString, QJsonValue>> fetches;
    QStringList added;
    QList<QPair<Command, QVariant>> answers;
};

class TestChatManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void firstMessageFromNewPartner();
    void refusedMessagesAreNotAnnounced_data();
    void refusedMessagesAreNotAnnounced();
    void replyPairCarriesTheRepliedMessage();
    void recipientsSortedDeletedAndReloaded();

    void historyFromArchiveWhenNothingIsStored();
    void emptyArchiveReplyFreesTheQueue();
    void partialLocalPageIsCompletedFromTheArchive();
    void repeatedRequestRefusedOtherOneWaits();
    void queuedLocalPagesAllGetAnswered();
    void unknownChatNeverBlocks();
    void failedArchiveFetchNeverBlocks();
    void archiveReplyWithoutRequestIsIgnored();
    void olderPageBeforeAMessage();

    void seenReceiptAnswersEachChangedId();
    void ownMessagesSeenOnlyByThePartnersReceipt();
    void editsFromThePartnerOnly();
    void stateChangesOnlyForStoredMessages();

    void chatListComesWithoutOpeningStores();
    void missingOrStaleSummaryIsMendedOnFirstUse_data();
    void missingOrStaleSummaryIsMendedOnFirstUse();
};

void TestChatManager::initTestCase()
{
    GlobalConstants::setUserName(Me);
}

void TestChatManager::init()
{
    // A fresh account for every case: no partner list, no chat stores.
    for (const QString& id : {Peer, Other}) {
        Chat chat;
        chat.setChatId(id, Chat::ChatMode_Stored);
        chat.clear();
    }
    DataBase store;
    store.setDBName("chatManagerDB");
    store.remove();
}

void TestChatManager::firstMessageFromNewPartner()
{
    {
        Harness h;
        QVERIFY(h.manager.getRecipients().isEmpty());
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "m1", 100)));
        QCOMPARE(h.added, QStringList{Peer});
        QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
        QCOMPARE(h.answersOf(CMD_MessagePairAdded)
                     .first()
                     .value<MessagePair>()
                     .getMessage()
                     .getMessageId(),
                 QString("m1"));
        QVERIFY(h.manager.contains(Peer));
        QCOMPARE(h.manager.getUnreadCount(Peer), 1);

        // The same id again is refused and not announced.
        QVERIFY(!h.manager.addMessagePair(chatMessage(Peer, "m1", 100)));
        QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "m2", 200, Me)));
        QCOMPARE(h.added.size(), 1);
        QCOMPARE(h.manager.getUnreadCount(Peer), 0);
        h.manager.aboutToQuit();
    }
    // The list is kept as indented JSON text.
    DataBase store;
    store.setDBName("chatManagerDB");
    QString text;
    QVERIFY(store.get("chatRecipientNumbers", &text));
    QVERIFY(text.contains('\n'));
    QCOMPARE(QJsonDocument::fromJson(text.toUtf8()).array(), QJsonArray{Peer});
}

void TestChatManager::refusedMessagesAreNotAnnounced_data()
{
    QTest::addColumn<QString>("chatId");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("knownPartner");
    QTest::newRow("bookkeeping id, new partner") << Peer << "chatData" << false;
    QTest::newRow("counter id, new partner") << Peer << "1" << false;
    QTest::newRow("counter id, known partner") << Peer << "2" << true;
    QTest::newRow("no chat id") << ""
                                << "m9" << false;
}

void TestChatManager::refusedMessagesAreNotAnnounced()
{
    QFETCH(QString, chatId);
    QFETCH(QString, id);
    QFETCH(bool, knownPartner);
    Harness h;
    if (knownPartner)
        QVERIFY(h.manager.addMessagePair(chatMessage(chatId, "m0", 1)));
    h.answers.clear();
    h.added.clear();
    QVERIFY(!h.manager.addMessagePair(chatMessage(chatId, id, 100)));
    QVERIFY(h.answers.isEmpty());
    QVERIFY(h.added.isEmpty());
    QCOMPARE(h.manager.getRecipients(), knownPartner ? QStringList{chatId} : QStringList());
    Message last;
    QCOMPARE(h.manager.getLastMsg(chatId, &last), knownPartner);
}

void TestChatManager::replyPairCarriesTheRepliedMessage()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "q", 100)));
    Message answer = chatMessage(Peer, "a", 200, Me);
    answer.setReplyOnMessageId("q");
    QVERIFY(h.manager.addMessagePair(answer));
    const MessagePair pair = h.answersOf(CMD_MessagePairAdded).last().value<MessagePair>();
    QVERIFY(pair.isReplyAvailable());
    QCOMPARE(pair.getReplyMessage().getMessageId(), QString("q"));
}

void TestChatManager::recipientsSortedDeletedAndReloaded()
{
    {
        Harness h;
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "p1", 100)));
        QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 300)));
        QCOMPARE(h.manager.getRecipients(), (QStringList{Peer, Other}));
        QCOMPARE(h.manager.getRecipientsSorted(), (QStringList{Other, Peer}));
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "p2", 500)));
        QCOMPARE(h.manager.getRecipientsSorted(), (QStringList{Peer, Other}));
        h.manager.aboutToQuit();
    }
    Harness h;
    Message last;
    QVERIFY(h.manager.getLastMsg(Peer, &last));
    QCOMPARE(last.getMessageId(), QString("p2"));
    QVERIFY(h.manager.deleteChat(Other));
    QVERIFY(!h.manager.deleteChat(Other));
    QCOMPARE(h.manager.getRecipients(), QStringList{Peer});
    QVERIFY(!h.manager.getLastMsg(Other, &last));
    QCOMPARE(h.manager.getUnreadCount(Other), 0);
}

void TestChatManager::historyFromArchiveWhenNothingIsStored()
{
    Harness h;
    QVERIFY(!h.manager.respondGetChatMessages(page(Peer, QString(), 20)));
    QVERIFY(h.pages().isEmpty());
    QCOMPARE(h.fetches.size(), 1);
    QCOMPARE(h.fetches.first().value("UserId").toString(), Peer);
    QCOMPARE(h.fetches.first().value("MessageId").toString(), QString());
    QCOMPARE(h.fetches.first().value("Count").toString(), QString("200"));

    h.manager.processReply(
        PROC_UserChatArchive,
        archiveReply({archiveElement("a1", 100, Peer), archiveElement("a3", 300, Peer, "3"),
                      archiveElement("a2", 200, Me, "1")}));
    QCOMPARE(h.pages().size(), 1);
    const MessageReply page = h.pages().first();
    QCOMPARE(idsOf(page.getMsgs()), (QStringList{"a3", "a2", "a1"}));
    QCOMPARE(page.getRequest().getChatId(), Peer);
    // Stored, and the partner is known from now on.
    QCOMPARE(h.added, QStringList{Peer});
    Message last;
    QVERIFY(h.manager.getLastMsg(Peer, &last));
    QCOMPARE(last.getMessageId(), QString("a3"));
    QCOMPARE(last.getState(), MessageBase::MsgState_Seen);
}

void TestChatManager::emptyArchiveReplyFreesTheQueue()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 1)));
    h.manager.respondGetChatMessages(page(Peer, "", 20));
    h.manager.respondGetChatMessages(page(Other, "", 1));
    QVERIFY(h.pages().isEmpty());
    h.manager.processReply(PROC_UserChatArchive, archiveReply({}));
    // The empty chat is answered with nothing, then the next request runs.
    QCOMPARE(h.pages().size(), 2);
    QCOMPARE(h.pages().first().getRequest().getChatId(), Peer);
    QVERIFY(h.pages().first().getMsgs().isEmpty());
    QCOMPARE(h.pages().last().getRequest().getChatId(), Other);
}

void TestChatManager::partialLocalPageIsCompletedFromTheArchive()
{
    Harness h;
    for (int i = 1; i <= 5; ++i)
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, QString("s%1").arg(i), 1000 + i)));
    const MessageRequest request = page(Peer, QString(), 20);
    QVERIFY(h.manager.respondGetChatMessages(request));
    QCOMPARE(h.pages().size(), 1);
    QCOMPARE(idsOf(h.pages().first().getMsgs()), (QStringList{"s5", "s4", "s3", "s2", "s1"}));
    QCOMPARE(h.fetches.size(), 1);
    QCOMPARE(h.fetches.first().value("MessageId").toString(), QString("s5"));

    QList<QJsonObject> archive;
    for (int i = 1; i <= 5; ++i)
        archive.append(archiveElement(QString("s%1").arg(i), 1000 + i, Peer));
    for (int i = 1; i <= 10; ++i)
        archive.append(archiveElement(QString("old%1").arg(i), 500 + i, Peer));
    h.manager.processReply(PROC_UserChatArchive, archiveReply(archive));
    QCOMPARE(h.pages().size(), 2);
    const MessageReply second = h.pages().last();
    QVERIFY(second.getRequest() == request);
    QCOMPARE(second.getMsgs().size(), 15);
    QCOMPARE(second.getMsgs().first().getMessageId(), QString("s5"));
    QCOMPARE(second.getMsgs().last().getMessageId(), QString("old1"));
    // The stored copies were kept (body not replaced by the archive's).
    Message s1;
    QVERIFY(h.manager.getLastMsg(Peer, &s1));
    QCOMPARE(s1.getMessageBody(), QString("text s5"));
}

void TestChatManager::repeatedRequestRefusedOtherOneWaits()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 1)));
    const MessageRequest first = page(Peer, "", 20);
    const MessageRequest second = page(Other, "", 1);
    QVERIFY(!h.manager.respondGetChatMessages(first));
    QVERIFY(!h.manager.respondGetChatMessages(first));
    QVERIFY(!h.manager.respondGetChatMessages(second));
    QVERIFY(!h.manager.respondGetChatMessages(second));
    QCOMPARE(h.fetches.size(), 1);
    h.manager.processReply(PROC_UserChatArchive, archiveReply({archiveElement("a", 5, Peer)}));
    QCOMPARE(h.pages().size(), 2);
    QCOMPARE(h.pages()[0].getRequest().getChatId(), Peer);
    QCOMPARE(h.pages()[1].getRequest().getChatId(), Other);
}

void TestChatManager::queuedLocalPagesAllGetAnswered()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 1)));
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o2", 2)));
    h.manager.respondGetChatMessages(page(Peer, "", 20));
    h.manager.respondGetChatMessages(page(Other, "", 1));
    h.manager.respondGetChatMessages(page(Other, "o2", 1));
    h.manager.processReply(PROC_UserChatArchive, archiveReply({}));
    QCOMPARE(h.pages().size(), 3);
    QVERIFY(h.pages()[0].getMsgs().isEmpty());
    QCOMPARE(idsOf(h.pages()[1].getMsgs()), QStringList{"o2"});
    QCOMPARE(idsOf(h.pages()[2].getMsgs()), QStringList{"o1"});
}

void TestChatManager::unknownChatNeverBlocks()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 1)));
    QVERIFY(!h.manager.respondGetChatMessages(page(Peer, "some-id", 20)));
    QVERIFY(h.fetches.isEmpty());
    QCOMPARE(h.pages().size(), 1); // answered with nothing
    QVERIFY(h.pages().first().getMsgs().isEmpty());
    QVERIFY(h.manager.respondGetChatMessages(page(Other, "", 1)));
    QCOMPARE(h.pages().size(), 2);
    QVERIFY(!h.manager.respondGetChatMessages(page("", "", 1)));
    QVERIFY(h.manager.respondGetChatMessages(page(Other, "", 1)));
}

void TestChatManager::failedArchiveFetchNeverBlocks()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 1)));
    h.manager.respondGetChatMessages(page(Peer, "", 20));
    h.manager.respondGetChatMessages(page(Other, "", 1));
    h.manager.result(PROC_Members, 100); // another procedure's failure changes nothing
    QVERIFY(h.pages().isEmpty());
    h.manager.result(PROC_UserChatArchive, 100);
    QCOMPARE(h.pages().size(), 2);
    QCOMPARE(h.pages().first().getRequest().getChatId(), Peer);
    QCOMPARE(h.pages().last().getRequest().getChatId(), Other);
    // The failed one may be asked again.
    QVERIFY(!h.manager.respondGetChatMessages(page(Peer, "", 20)));
    QCOMPARE(h.fetches.size(), 2);
}

void TestChatManager::archiveReplyWithoutRequestIsIgnored()
{
    Harness h;
    h.manager.processReply(PROC_UserChatArchive, archiveReply({archiveElement("x", 1, Peer)}));
    QVERIFY(h.manager.getRecipients().isEmpty());
    QVERIFY(h.added.isEmpty());
    QVERIFY(h.answers.isEmpty());
    QVERIFY(!h.manager.contains(QString()));
}

void TestChatManager::olderPageBeforeAMessage()
{
    Harness h;
    for (int i = 1; i <= 10; ++i)
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, QString("h%1").arg(i), i)));
    QVERIFY(h.manager.respondGetChatMessages(page(Peer, "h8", 3)));
    QCOMPARE(idsOf(h.pages().last().getMsgs()), (QStringList{"h7", "h6", "h5"}));
    QVERIFY(h.fetches.isEmpty());
    // Fewer than asked: answered now, and the archive is asked before the oldest.
    QVERIFY(h.manager.respondGetChatMessages(page(Peer, "h3", 5)));
    QCOMPARE(idsOf(h.pages().last().getMsgs()), (QStringList{"h2", "h1"}));
    QCOMPARE(h.fetches.size(), 1);
    QCOMPARE(h.fetches.last().value("MessageId").toString(), QString("h1"));
    h.manager.processReply(PROC_UserChatArchive, archiveReply({archiveElement("h0", 0, Peer),
                                                               archiveElement("h-1", -5, Peer)}));
    QCOMPARE(idsOf(h.pages().last().getMsgs()), (QStringList{"h0", "h-1"}));
    Message last;
    QVERIFY(h.manager.getLastMsg(Peer, &last));
    QCOMPARE(last.getMessageId(), QString("h10"));
}

void TestChatManager::seenReceiptAnswersEachChangedId()
{
    Harness h;
    for (const QString id : {"x1", "x2", "x3", "x4"})
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, id, id.right(1).toInt(), Me)));
    QVERIFY(!h.manager.changeMessageState(Peer, "x4", MessageBase::MsgState_Seen).isEmpty());
    h.answers.clear();

    SeenMessage body;
    body.setSeenVariables(Peer, "x3", {"x1", "x2", "x3"});
    Message seen;
    seen.setSeenMessage(body);
    seen.setUserId(Peer);
    QVERIFY(h.manager.shouldBeProcessed(seen));
    h.manager.processControlMessage(seen);
    const QList<QVariant> states = h.answersOf(CMD_MessageStateChange);
    QCOMPARE(states.size(), 3);
    QStringList ids;
    for (const QVariant& v : states) {
        const MessageState state = v.value<MessageState>();
        QCOMPARE(state.getChatId(), Peer);
        QCOMPARE(state.getState(), MessageBase::MsgState_Seen);
        ids.append(state.getMessageId());
    }
    QCOMPARE(ids, (QStringList{"x1", "x2", "x3"}));

    // A receipt of a chat that is not a partner's changes nothing.
    SeenMessage stranger;
    stranger.setSeenVariables(Other, "x1", {});
    Message strangerSeen;
    strangerSeen.setSeenMessage(stranger);
    h.answers.clear();
    h.manager.processControlMessage(strangerSeen);
    QVERIFY(h.answers.isEmpty());
}

void TestChatManager::ownMessagesSeenOnlyByThePartnersReceipt()
{
    Harness h;
    for (const QString id : {"p1", "o2", "p3", "o4", "p5"})
        QVERIFY(h.manager.addMessagePair(
            chatMessage(Peer, id, id.right(1).toInt(), id.startsWith('o') ? Me : Peer)));
    // The user opens the chat: the partner's messages are read, the user's
    // own are not.
    SeenMessage receipt;
    QVERIFY(h.manager.markSeen(Peer, &receipt));
    QCOMPARE(receipt.getMessageIds(), (QStringList{"p5", "p3", "p1"}));
    QVERIFY(h.answersOf(CMD_MessageStateChange).isEmpty());

    // The partner's receipt up to the newest message reaches the user's own,
    // which were still unseen.
    SeenMessage body;
    body.setSeenVariables(Peer, "p5", {});
    Message seen;
    seen.setSeenMessage(body);
    seen.setUserId(Peer);
    h.manager.processControlMessage(seen);
    QStringList changed;
    for (const QVariant& v : h.answersOf(CMD_MessageStateChange))
        changed.append(v.value<MessageState>().getMessageId());
    QCOMPARE(changed, (QStringList{"o4", "o2"}));
    // Now all are seen: a repeated receipt changes nothing.
    h.answers.clear();
    h.manager.processControlMessage(seen);
    QVERIFY(h.answersOf(CMD_MessageStateChange).isEmpty());
}

void TestChatManager::editsFromThePartnerOnly()
{
    Harness h;
    QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "theirs", 1)));
    QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "mine", 2, Me)));
    const auto edit = [&](const QString& sender, const QString& target) {
        Message original;
        original.setMessageId(target);
        Message control(MessageBase::MsgMajorType_SimpleChat, sender);
        control.setEditMessage(original, "changed <b>" + target + "</b>");
        control.setChatId(Peer);
        control.setUserId(sender);
        h.manager.processControlMessage(control);
    };
    edit(Peer, "theirs");
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 1);
    const Message edited = h.answersOf(CMD_MessageEdited).first().value<Message>();
    QCOMPARE(edited.getMessageId(), QString("theirs"));
    QVERIFY(edited.getEdited());
    QVERIFY(edited.getMessageBody().contains("changed"));
    QVERIFY(!edited.getMessageBody().contains("<b>")); // shown as text

    edit(Peer, "mine"); // the partner cannot rewrite the user's messages
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 1);
    edit(Me, "mine"); // the user's own edit, acknowledged by the server
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 2);
}

void TestChatManager::stateChangesOnlyForStoredMessages()
{
    Harness h;
    Message sent = chatMessage(Peer, "out", 1, Me);
    sent.setState(MessageBase::MsgState_NotSent);
    QVERIFY(h.manager.addMessagePair(sent));
    QCOMPARE(h.manager.changeMessageState(Peer, "out", MessageBase::MsgState_Sent),
             QStringList{"out"});
    QCOMPARE(h.manager.changeMessageState(Peer, "out", MessageBase::MsgState_NotSent),
             QStringList());
    QCOMPARE(h.manager.changeMessageState(Peer, "nope", MessageBase::MsgState_Sent), QStringList());
    QCOMPARE(h.manager.changeMessageState(Other, "out", MessageBase::MsgState_Sent), QStringList());
    QCOMPARE(h.manager.changeMessageStatesToSeen(Other, {"out"}), QStringList());
}

void TestChatManager::chatListComesWithoutOpeningStores()
{
    {
        Harness h;
        for (const QString id : {"p1", "p2", "p3"})
            QVERIFY(h.manager.addMessagePair(chatMessage(Peer, id, 100 * id.right(1).toInt())));
        QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o1", 150)));
        QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o2", 400, Me)));
        h.manager.aboutToQuit();
    }
    const QStringList peerFiles = storeFiles(Peer);
    const QStringList otherFiles = storeFiles(Other);
    QVERIFY(!peerFiles.isEmpty());
    {
        Harness h;
        QVERIFY(h.manager.contains(Peer));
        QVERIFY(!h.manager.contains(Me));
        QCOMPARE(h.manager.getRecipientsSorted(), (QStringList{Other, Peer}));
        Message last;
        QVERIFY(h.manager.getLastMsg(Peer, &last));
        QCOMPARE(last.getMessageId(), QString("p3"));
        QCOMPARE(last.getMessageBody(), QString("text p3"));
        QCOMPARE(h.manager.getUnreadCount(Peer), 3);
        QVERIFY(h.manager.getLastMsg(Other, &last));
        QCOMPARE(last.getMessageId(), QString("o2"));
        QCOMPARE(h.manager.getUnreadCount(Other), 0);
        QCOMPARE(storeFiles(Peer), peerFiles);
        QCOMPARE(storeFiles(Other), otherFiles);

        // The first use opens the store, which still knows every message.
        QVERIFY(!h.manager.addMessagePair(chatMessage(Peer, "p2", 200)));
        QVERIFY(storeFiles(Peer) != peerFiles);
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "p0", 50)));
        QCOMPARE(h.manager.getUnreadCount(Peer), 4);
        QVERIFY(h.manager.respondGetChatMessages(page(Peer, QString(), 4)));
        QCOMPARE(idsOf(h.pages().last().getMsgs()), (QStringList{"p3", "p2", "p1", "p0"}));
        SeenMessage receipt;
        QVERIFY(h.manager.markSeen(Peer, &receipt));
        QCOMPARE(h.manager.getUnreadCount(Peer), 0);
        QVERIFY(h.manager.addMessagePair(chatMessage(Other, "o3", 500)));
        h.manager.aboutToQuit();
    }
    Harness h;
    QCOMPARE(h.manager.getUnreadCount(Peer), 0);
    QCOMPARE(h.manager.getUnreadCount(Other), 1);
    Message last;
    QVERIFY(h.manager.getLastMsg(Peer, &last));
    QCOMPARE(last.getState(), MessageBase::MsgState_Seen);
    QCOMPARE(h.manager.getRecipientsSorted(), (QStringList{Other, Peer}));
}

void TestChatManager::missingOrStaleSummaryIsMendedOnFirstUse_data()
{
    QTest::addColumn<bool>("stale");
    QTest::newRow("missing, as written by earlier versions") << false;
    QTest::newRow("stale, as left by an interrupted run") << true;
}

void TestChatManager::missingOrStaleSummaryIsMendedOnFirstUse()
{
    QFETCH(bool, stale);
    {
        Harness h;
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "p1", 100)));
        QVERIFY(h.manager.addMessagePair(chatMessage(Peer, "p2", 200)));
        h.manager.aboutToQuit();
    }
    {
        DataBase store("chatManagerDB");
        const QString key = "chatSummary/" + Peer;
        QVERIFY(store.contains(key));
        if (stale) {
            QVERIFY(
                store.put(key, QJsonObject{{"lastMessage", chatMessage(Peer, "p1", 100).toDBJson()},
                                           {"unreadCount", 7}}));
        } else {
            QVERIFY(store.del(key));
        }
    }
    {
        Harness h;
        if (stale)
            QVERIFY(h.manager.respondGetChatMessages(page(Peer, QString(), 2)));
        Message last;
        QVERIFY(h.manager.getLastMsg(Peer, &last));
        QCOMPARE(last.getMessageId(), QString("p2"));
        QCOMPARE(h.manager.getUnreadCount(Peer), 2);
        h.manager.aboutToQuit();
    }
    const QStringList files = storeFiles(Peer);
    Harness h;
    Message last;
    QVERIFY(h.manager.getLastMsg(Peer, &last));
    QCOMPARE(last.getMessageId(), QString("p2"));
    QCOMPARE(h.manager.getUnreadCount(Peer), 2);
    QCOMPARE(storeFiles(Peer), files);
}

QTEST_GUILESS_MAIN(TestChatManager)
#include "tst_chatmanager.moc"
