// The channel manager against a channel service with real state in this
// process: administration and directory answers in order, the store across
// restarts, the send queue, missed messages, archive pages and history
// requests, and the channel value's store.

#include "Managers/Channel/channel.h"
#include "Managers/Channel/channelmanager.h"
#include "channelservice.h"
#include "foundation/database.h"
#include "foundation/datetime.h"
#include "foundation/globalconstants.h"
#include "model/channelidavailability.h"
#include "model/channelmembersreply.h"
#include "model/filemessage.h"
#include "model/messagepair.h"
#include "model/messagestate.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QtTest>

#include <memory>

namespace {
const QString Me = QStringLiteral("989120000000");
const QString Owner = QStringLiteral("989121111111");
const QString Follower = QStringLiteral("989122222222");
const qint64 Base = 1700000000000LL;

Message channelMessage(const QString& channelId, const QString& body)
{
    Message message(MessageBase::MsgMajorType_ChannelChat, Me, channelId, body);
    message.generateMessageId();
    message.setSendTimeToCurrentTime();
    message.setState(MessageBase::MsgState_NotSent);
    return message;
}

QStringList idsOf(const QList<Message>& messages)
{
    QStringList ids;
    for (const Message& message : messages)
        ids << message.getMessageId();
    return ids;
}
} // namespace

// A channel manager on the real stores, its answers recorded, talking to a
// channel service.
class Harness
{
public:
    Harness() : service(Me)
    {
        service.attach(&manager);
        manager.setUserName(Me);
        QObject::connect(&manager, &ChannelManager::commandResponse,
                         [this](Command c, const QVariant& v) { answers << qMakePair(c, v); });
        QObject::connect(&manager, &ChannelManager::channelRemoved, [this](const QString& id) {
            answers << qMakePair(CMD_ChannelLeave, QVariant(id));
        });
        QObject::connect(&manager, &ChannelManager::messageReply, [this](const MessageReply& r) {
            answers << qMakePair(CMD_GetChannelMessages, QVariant::fromValue(r));
        });
        QObject::connect(&manager, &ChannelManager::channelCategoriesData,
                         [this](const QHash<QString, ChannelCategory>& c) {
                             answers << qMakePair(CMD_ChannelCategories, QVariant::fromValue(c));
                         });
        QObject::connect(&manager, &ChannelManager::channelCategoryBrowseData,
                         [this](const BrowseCategoryResult& r) {
                             answers
                                 << qMakePair(CMD_BrowseChannelCategory, QVariant::fromValue(r));
                         });
        auto role = [this](Command command) {
            return [this, command](const ChannelMemberRole& r) {
                answers << qMakePair(command, QVariant::fromValue(r));
            };
        };
        QObject::connect(&manager, &ChannelManager::channelMemberAdded, role(CMD_ChannelAddMember));
        QObject::connect(&manager, &ChannelManager::channelMemberRemoved,
                         role(CMD_ChannelRemoveMember));
        QObject::connect(&manager, &ChannelManager::channelMemberRoleChanged,
                         role(CMD_ChannelChangeMemberRole));
        QObject::connect(&manager, &ChannelManager::notification,
                         [this](const NotificationMessage& n) { notes << n; });
        manager.startLoading();
    }

    QList<int> commands(int from = 0) const
    {
        QList<int> list;
        for (int i = from; i < answers.size(); ++i)
            list << int(answers.at(i).first);
        return list;
    }
    QList<QVariant> answersOf(Command command) const
    {
        QList<QVariant> list;
        for (const auto& answer : answers) {
            if (answer.first == command)
                list << answer.second;
        }
        return list;
    }
    // Runs the event loop until the service has nothing left to answer.
    void settle() { QTRY_VERIFY_WITH_TIMEOUT(service.idle(), 20000); }
    // Follows a channel of the service through a join.
    void join(const QString& id)
    {
        manager.startChannelJoin(id);
        QTRY_VERIFY(manager.contains(id));
        settle();
    }
    Channel channel(const QString& id) const { return manager.getChannels().value(id); }

    ChannelManager manager;
    ChannelService service;
    QList<QPair<Command, QVariant>> answers;
    QList<NotificationMessage> notes;
};

class TestChannelManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void channelCopiesShareOneLazyStore();
    void administrationAnsweredInOrder();
    void createCarriesTheCategoryAndTheOwner();
    void directoryBrowsing();
    void idChecksOneAtATime();
    void survivesRestartWithoutOpeningStores();
    void unreadableRecordIsSkipped();

    void sendsOneAtATime();
    void historyShortOfTheNumber();
    void archivePageAnswersOnlyItsChannel();
    void failedFetchReleasesTheRequest_data();
    void failedFetchReleasesTheRequest();
    void missedMessagesSinceTheRequestTime();
    void followingAQuietChannelStartsThePull();
    void liveMessagesEditsLikesAndFiles();
    void pollBecomesAStoredChannelMessage();
};

void TestChannelManager::initTestCase()
{
    GlobalConstants::setUserName(Me);
}

void TestChannelManager::init()
{
    // A fresh account for every case: no channel list, no message stores.
    QDir(QFileInfo(DataBase::pathForName(QStringLiteral("any"))).path()).removeRecursively();
}

void TestChannelManager::channelCopiesShareOneLazyStore()
{
    ChannelInfo info;
    info.setId(QStringLiteral("shared"));
    auto original = std::make_unique<Channel>(info);
    original->initChat(Chat::ChatMode_Stored);
    QVERIFY(original->hasStore());
    QVERIFY(!original->isStoreOpen());

    Channel copy(*original);
    Message message = channelMessage("shared", "kept");
    bool last = false;
    QVERIFY(original->insertMessage(&message, &last));
    QVERIFY(last);
    QVERIFY(copy.isStoreOpen());
    // The copy reads the same store after the original is gone.
    original.reset();
    Message read;
    QVERIFY(copy.getMessage(message.getMessageId(), &read));
    QCOMPARE(read.getMessageBody(), QStringLiteral("kept"));
    QCOMPARE(copy.getNumberOfMessages(), 1);

    // The store's lock goes with the last copy: it can be opened again.
    copy = Channel();
    Chat reopened;
    reopened.setChatId(QStringLiteral("shared"), Chat::ChatMode_Stored);
    QVERIFY(reopened.dbIsOpen());
    QCOMPARE(reopened.getNumberOfMessages(), 1);
}

void TestChannelManager::administrationAnsweredInOrder()
{
    Harness h;
    h.service.addChannel("news", Owner, "c1");
    h.service.addChannel("mine", Me, "c1");

    // Joining: the channel comes in with its data, then the join is answered.
    h.join("news");
    QCOMPARE(h.commands(), QList<int>({CMD_ChannelAdded, CMD_ChannelJoin}));
    QCOMPARE(h.answersOf(CMD_ChannelJoin).value(0).toString(), QString("news"));
    QCOMPARE(h.answersOf(CMD_ChannelAdded).value(0).value<ChannelInfo>().getMyRole(),
             ChannelRole::MEMBER);
    QCOMPARE(h.service.roleOf("news", Me), QString("MEMBER"));

    // The list brings the owned channel; the followed one is answered as data.
    int from = h.answers.size();
    h.manager.onInitialize();
    QTRY_VERIFY(h.manager.contains("mine"));
    h.settle();
    QCOMPARE(h.commands(from), QList<int>({CMD_ChannelAdded, CMD_ChannelData}));

    // Editing.
    ChannelInfo edit;
    QVERIFY(h.manager.getChannelInfo("mine", &edit));
    edit.setName(QStringLiteral("کانال من"));
    edit.setDescription("new words");
    from = h.answers.size();
    h.manager.startChannelEdit(edit);
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelEdit, CMD_ChannelData}));
    ChannelInfo stored;
    QVERIFY(h.manager.getChannelInfo("mine", &stored));
    QCOMPARE(stored.getName(), QStringLiteral("کانال من"));
    QCOMPARE(stored.getMyRole(), ChannelRole::OWNER);

    // Members and roles, each answered with the value that asked.
    ChannelMemberRole member;
    member.setChannelId("mine");
    member.setMemberId(Follower);
    member.setRole(ChannelRole::MEMBER);
    from = h.answers.size();
    h.manager.respondAddMember(member);
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelAddMember}));
    member.setRole(ChannelRole::ADMIN);
    h.manager.respondChangeMemberRole(member);
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelAddMember, CMD_ChannelChangeMemberRole}));
    QCOMPARE(h.service.roleOf("mine", Follower), QString("ADMIN"));
    QCOMPARE(h.answers.last().second.value<ChannelMemberRole>().getRole(), ChannelRole::ADMIN);
    h.manager.startChannelGetMembers(
        ChannelMembersRequest("mine", ChannelMembersRequest::ReqType_All, 0, 20));
    QTRY_COMPARE(h.answersOf(CMD_ChannelGetMembers).size(), 1);
    const ChannelMembersReply members =
        h.answersOf(CMD_ChannelGetMembers).first().value<ChannelMembersReply>();
    QCOMPARE(members.getReq().getChannelId(), QString("mine"));
    QCOMPARE(members.getProfiles().size(), 2);
    h.manager.respondRemoveMember(member);
    QTRY_COMPARE(h.answersOf(CMD_ChannelRemoveMember).size(), 1);
    QCOMPARE(h.service.roleOf("mine", Follower), QString("NONE"));

    // A member the service refuses is not announced.
    from = h.answers.size();
    ChannelMemberRole refused = member;
    refused.setChannelId("news");
    h.manager.respondAddMember(refused);
    h.settle();
    QCOMPARE(h.commands(from), QList<int>());

    // Leaving and deleting.
    from = h.answers.size();
    h.manager.startChannelLeave("news");
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelLeave}));
    QVERIFY(!h.manager.contains("news"));
    h.manager.startDeleteChannel("mine");
    QTRY_COMPARE(h.commands(from),
                 QList<int>({CMD_ChannelLeave, CMD_ChannelDelete, CMD_ChannelLeave}));
    QVERIFY(!h.service.hasChannel("mine"));
    QVERIFY(h.manager.getChannelsSorted().isEmpty());
}

void TestChannelManager::createCarriesTheCategoryAndTheOwner()
{
    Harness h;
    ChannelInfo info;
    info.setId("fresh");
    info.setName("Fresh");
    info.setCategoryId("c7");
    info.setReplyAllowed("0");
    h.manager.startChannelCreate(info);
    QTRY_VERIFY(h.manager.contains("fresh"));
    h.settle();

    const auto create = h.service.requestsOf(PROC_CreateChannel).value(0).inputs;
    QCOMPARE(create.value("CategoryID").toString(), QString("c7"));
    QVERIFY(!create.contains("CategoryId"));
    QCOMPARE(create.value("Members").toArray(),
             QJsonArray({QJsonObject{{"Username", Me}, {"Role", "OWNER"}}}));
    QCOMPARE(h.service.roleOf("fresh", Me), QString("OWNER"));
    const ChannelInfo added = h.answersOf(CMD_ChannelAdded).value(0).value<ChannelInfo>();
    QCOMPARE(added.getMyRole(), ChannelRole::OWNER);
    QCOMPARE(added.getOwnerUserName(), Me);
    QCOMPARE(added.getMembersCount(), 1u);
    // Its history is asked for at once.
    QCOMPARE(h.service.requestsOf(PROC_ChannelArchive).size(), 1);

    // A taken id adds nothing.
    h.service.addChannel("taken", Owner, "c7");
    info.setId("taken");
    const int from = h.answers.size();
    h.manager.startChannelCreate(info);
    h.settle();
    QVERIFY(!h.manager.contains("taken"));
    QCOMPARE(h.commands(from), QList<int>());
}

void TestChannelManager::directoryBrowsing()
{
    Harness h;
    h.service.addCategory("c1", "News");
    h.service.addCategory("c2", "Sport", "c1");
    h.service.addChannel("daily", Owner, "c1");
    h.manager.startChannelCategories();
    QTRY_COMPARE(h.answersOf(CMD_ChannelCategories).size(), 1);
    const auto categories =
        h.answersOf(CMD_ChannelCategories).first().value<QHash<QString, ChannelCategory>>();
    QCOMPARE(categories.size(), 2);
    QCOMPARE(categories.value("c2").getParentCategoryID(), QString("c1"));

    h.manager.startBrowseChannelCategories("c1");
    QTRY_COMPARE(h.answersOf(CMD_BrowseChannelCategory).size(), 1);
    const auto result =
        h.answersOf(CMD_BrowseChannelCategory).first().value<BrowseCategoryResult>();
    QCOMPARE(result.getInfos().size(), 1);
    QCOMPARE(result.getInfos().first().getId(), QString("daily"));
    QCOMPARE(result.getCategories().size(), 1);
    // Browsing follows nothing.
    QVERIFY(!h.manager.contains("daily"));
}

void TestChannelManager::idChecksOneAtATime()
{
    Harness h;
    h.service.addChannel("taken", Owner, "c1");
    h.service.hold(true);
    h.manager.startCheckChannelId("taken");
    h.manager.startCheckChannelId("fre");
    h.manager.startCheckChannelId("free");
    // The later ids wait for the first answer; the newest replaces the other.
    QCOMPARE(h.service.requestsOf(PROC_CheckChannelIdAvailability).size(), 1);
    h.service.release();
    QTRY_COMPARE(h.answersOf(CMD_ChannelCheckId).size(), 2);
    h.settle();
    QCOMPARE(h.service.requestsOf(PROC_CheckChannelIdAvailability).size(), 2);
    const auto answers = h.answersOf(CMD_ChannelCheckId);
    QCOMPARE(answers.size(), 2);
    QCOMPARE(answers.at(0).value<ChannelIdAvailability>(), ChannelIdAvailability("taken", false));
    QCOMPARE(answers.at(1).value<ChannelIdAvailability>(), ChannelIdAvailability("free", true));
}

void TestChannelManager::survivesRestartWithoutOpeningStores()
{
    {
        Harness h;
        for (const char* id : {"a", "b", "c"})
            h.service.addChannel(id, Owner, "c1");
        h.service.post("b", Owner, "newest", Base + 3000);
        h.service.post("a", Owner, "older", Base + 1000);
        for (const char* id : {"a", "b", "c"})
            h.join(id);
        QTRY_COMPARE(h.channel("b").getNumberOfMessages(), 1);
        QTRY_COMPARE(h.channel("a").getNumberOfMessages(), 1);
        ChannelInfo muted;
        QVERIFY(h.manager.getChannelInfo("c", &muted));
        muted.setMute(true);
        h.manager.changeMuteStatus(muted);
    }
    Harness h;
    // Loading opens no message store; the list still knows each last message.
    for (const Channel& channel : h.manager.getChannels())
        QVERIFY2(!channel.isStoreOpen(), qPrintable(channel.getId()));
    QStringList order;
    for (const ChannelInfo& info : h.manager.getChannelsSorted())
        order << info.getId();
    QCOMPARE(order, QStringList({"b", "a", "c"}));
    ChannelInfo c;
    QVERIFY(h.manager.getChannelInfo("c", &c));
    QVERIFY(c.getMute());
    QCOMPARE(h.manager.getChannelsSorted().first().getLastMessage().getMessageBody(),
             QString("newest"));
    QCOMPARE(h.manager.getChannelsSorted().first().getUnreadCount(), 0);
    // The messages themselves are read when asked for.
    h.manager.answerHistory(MessageRequest("b", "", 1, MessageBase::MsgMajorType_ChannelChat));
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);
    QCOMPARE(idsOf(h.answersOf(CMD_GetChannelMessages).first().value<MessageReply>().getMsgs()),
             QStringList({"b-1"}));
}

void TestChannelManager::unreadableRecordIsSkipped()
{
    {
        Harness h;
        h.service.addChannel("good", Owner, "c1");
        h.service.addChannel("bad", Owner, "c1");
        h.join("good");
        h.join("bad");
    }
    {
        DataBase store(QStringLiteral("channelDataBase"));
        QJsonObject record;
        QVERIFY(store.get("bad", &record));
        record.remove("CategoryId");
        QVERIFY(store.put("bad", record));
    }
    Harness h;
    QVERIFY(h.manager.contains("good"));
    QVERIFY(!h.manager.contains("bad"));
    const QList<ChannelInfo> list = h.manager.getChannelsSorted();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first().getId(), QString("good"));
}

void TestChannelManager::sendsOneAtATime()
{
    Harness h;
    h.service.addChannel("mine", Me, "c1");
    h.service.addChannel("theirs", Owner, "c1");
    h.join("mine");
    h.join("theirs");
    h.service.hold(true);
    QList<Message> sent;
    for (const char* text : {"one", "two", "three"}) {
        Message message = channelMessage("mine", text);
        QVERIFY(h.manager.storeOwnMessage(message));
        QVERIFY(h.manager.postOwnMessage(message));
        sent << message;
    }
    // A message for a channel the user does not follow goes nowhere.
    QVERIFY(!h.manager.storeOwnMessage(channelMessage("elsewhere", "lost")));
    QCOMPARE(h.service.requestsOf(PROC_ChannelSendMessage).size(), 1);
    QCOMPARE(h.manager.pendingSends(), 3);

    // The first send fails; the next goes out only then, and so on.
    h.service.failNext(PROC_ChannelSendMessage, 500);
    h.service.release();
    QTRY_COMPARE(h.service.requestsOf(PROC_ChannelSendMessage).size(), 2);
    h.service.release();
    QTRY_COMPARE(h.service.requestsOf(PROC_ChannelSendMessage).size(), 3);
    h.service.release();
    QTRY_COMPARE(h.manager.pendingSends(), 0);
    QStringList order;
    for (const auto& request : h.service.requestsOf(PROC_ChannelSendMessage))
        order << request.inputs.value("MessageID").toString();
    QCOMPARE(order, idsOf(sent));

    Channel channel = h.channel("mine");
    Message stored;
    QVERIFY(channel.getMessage(sent.at(0).getMessageId(), &stored));
    QCOMPARE(stored.getState(), MessageBase::MsgState_NotSent);
    QVERIFY(channel.getMessage(sent.at(2).getMessageId(), &stored));
    QCOMPARE(stored.getState(), MessageBase::MsgState_Seen);
    QStringList seen;
    for (const QVariant& v : h.answersOf(CMD_MessageStateChange))
        seen << v.value<MessageState>().getMessageId();
    QCOMPARE(seen, QStringList({sent.at(1).getMessageId(), sent.at(2).getMessageId()}));
    QCOMPARE(h.service.posts("mine").size(), 2);
}

void TestChannelManager::historyShortOfTheNumber()
{
    Harness h;
    h.service.addChannel("news", Owner, "c1");
    for (int i = 1; i <= 30; ++i)
        h.service.post("news", Owner, QString("post %1").arg(i), Base + i * 1000);
    h.service.hold(true);
    h.manager.startChannelJoin("news");
    h.service.release();
    h.service.hold(true);
    QTRY_VERIFY(h.manager.contains("news"));
    // The first page, newest first: the store keeps 5 of them so far.
    QCOMPARE(h.service.requestsOf(PROC_ChannelArchive).size(), 1);
    h.service.requests.clear();
    QJsonObject page{{"Messages", QJsonArray()}};
    {
        QJsonArray five;
        for (int i = 30; i > 25; --i)
            five << h.service.posts("news").at(i - 1);
        page.insert("Messages", five);
    }
    h.manager.processReply(PROC_ChannelArchive, page);
    h.manager.result(PROC_ChannelArchive, 200);
    QCOMPARE(h.channel("news").getNumberOfMessages(), 5);

    const MessageRequest request("news", "", 20, MessageBase::MsgMajorType_ChannelChat);
    h.manager.answerHistory(request);
    // Answered at once with the five.
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).first().value<MessageReply>().getMsgs().size(), 5);
    const auto fetch = h.service.requestsOf(PROC_ChannelArchive);
    QCOMPARE(fetch.size(), 1);
    QCOMPARE(fetch.first().inputs.value("Offset").toString(), QString("5"));
    QCOMPARE(fetch.first().inputs.value("Count").toString(), QString("50"));
    QCOMPARE(fetch.first().inputs.value("MessageID").toString(), QString());

    // A second request waits for the page of the first.
    const MessageRequest older("news", "news-26", 3, MessageBase::MsgMajorType_ChannelChat);
    h.manager.answerHistory(older);
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);

    h.service.release();
    QTRY_COMPARE(h.answersOf(CMD_GetChannelMessages).size(), 3);
    const MessageReply again = h.answersOf(CMD_GetChannelMessages).at(1).value<MessageReply>();
    QCOMPARE(again.getRequest(), request);
    QCOMPARE(again.getMsgs().size(), 20);
    QCOMPARE(again.getMsgs().first().getMessageId(), QString("news-30"));
    QCOMPARE(again.getMsgs().first().getState(), MessageBase::MsgState_Seen);
    const MessageReply third = h.answersOf(CMD_GetChannelMessages).at(2).value<MessageReply>();
    QCOMPARE(idsOf(third.getMsgs()), QStringList({"news-25", "news-24", "news-23"}));
    // History does not count as unread.
    QCOMPARE(h.channel("news").getInfoWLastMsg().getUnreadCount(), 0);
}

void TestChannelManager::archivePageAnswersOnlyItsChannel()
{
    Harness h;
    h.service.addChannel("one", Owner, "c1");
    h.service.addChannel("two", Owner, "c1");
    h.service.post("one", Owner, "in one", Base + 1000);
    h.service.post("two", Owner, "in two", Base + 2000);
    h.service.hold(true);
    h.manager.startChannelJoin("one");
    h.service.release();
    QTRY_VERIFY(h.manager.contains("one"));
    h.service.hold(true);
    // Channel one's first page is on its way; then the user opens it while a
    // background page of channel two is asked for as well.
    h.manager.startChannelJoin("two");
    h.service.release();
    h.service.hold(true);
    QTRY_VERIFY(h.manager.contains("two"));
    h.manager.answerHistory(MessageRequest("one", "", 5, MessageBase::MsgMajorType_ChannelChat));
    h.service.release();
    QTRY_COMPARE(h.answersOf(CMD_GetChannelMessages).size(), 2);
    h.settle();
    for (const QVariant& v : h.answersOf(CMD_GetChannelMessages)) {
        const MessageReply reply = v.value<MessageReply>();
        QCOMPARE(reply.getRequest().getChatId(), QString("one"));
        for (const Message& message : reply.getMsgs())
            QCOMPARE(message.getChatId(), QString("one"));
    }
    QCOMPARE(idsOf(h.answersOf(CMD_GetChannelMessages).last().value<MessageReply>().getMsgs()),
             QStringList({"one-1"}));
    QCOMPARE(h.channel("two").getNumberOfMessages(), 1);
}

void TestChannelManager::failedFetchReleasesTheRequest_data()
{
    QTest::addColumn<QString>("first");
    QTest::newRow("failed page") << "news";
    QTest::newRow("unknown channel") << "nowhere";
}

void TestChannelManager::failedFetchReleasesTheRequest()
{
    QFETCH(QString, first);
    Harness h;
    h.service.addChannel("news", Owner, "c1");
    h.service.addChannel("other", Owner, "c1");
    h.service.post("other", Owner, "here", Base);
    h.join("news");
    h.join("other");
    h.settle();
    h.service.failNext(PROC_ChannelArchive, 500);
    h.service.hold(true);
    h.manager.answerHistory(MessageRequest(first, "", 10, MessageBase::MsgMajorType_ChannelChat));
    h.manager.answerHistory(MessageRequest("other", "", 10, MessageBase::MsgMajorType_ChannelChat));
    h.service.release();
    // The second request is served once the first has ended, whatever its end.
    QTRY_VERIFY(
        !h.answersOf(CMD_GetChannelMessages).isEmpty() &&
        h.answersOf(CMD_GetChannelMessages).last().value<MessageReply>().getRequest().getChatId() ==
            "other");
    h.settle();
    QCOMPARE(
        h.answersOf(CMD_GetChannelMessages).first().value<MessageReply>().getRequest().getChatId(),
        first);
}

void TestChannelManager::missedMessagesSinceTheRequestTime()
{
    qint64 before = 0;
    qint64 after = 0;
    {
        Harness h;
        // A first connection with nothing stored asks for nothing.
        h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
        h.settle();
        QVERIFY(h.service.requestsOf(PROC_ChannelNewMessages).isEmpty());

        h.service.addChannel("news", Owner, "c1");
        h.service.post("news", Owner, "old", Base);
        h.join("news");
        QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 1);
        // The pull starts where following began, less the margin.
        h.service.post("news", Owner, "while away", DateTime::getDateTimeInMSecs());
        before = qint64(DateTime::getDateTime());
        h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
        QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 2);
        const auto pull = h.service.requestsOf(PROC_ChannelNewMessages).value(0).inputs;
        QVERIFY(pull.value("MessageTimestamp").toString().toLongLong() >
                before - ChannelManager::kSinceMarginSeconds - 60);
        Message arrived;
        QVERIFY(h.channel("news").getMessage("news-2", &arrived));
        QCOMPARE(arrived.getState(), MessageBase::MsgState_Delivered);
        QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
        QCOMPARE(h.channel("news").getInfoWLastMsg().getUnreadCount(), 1);

        after = qint64(DateTime::getDateTime());
    }
    {
        // The next start is the time of this request, less the margin.
        qint64 since = 0;
        DataBase store(QStringLiteral("channelDataBase"));
        QVERIFY(store.get(QStringLiteral("lastTimeNewMessagesCalled"), &since));
        QVERIFY(since >= before - ChannelManager::kSinceMarginSeconds);
        QVERIFY(since <= after - ChannelManager::kSinceMarginSeconds);
    }
    // After a restart the pull starts at the stored time; what it brings
    // again is refused by id, what is new is kept.
    Harness h;
    h.service.addChannel("news", Owner, "c1");
    h.service.addMember("news", Me, "MEMBER");
    const qint64 now = DateTime::getDateTimeInMSecs();
    h.service.post("news", Owner, "old", now);
    h.service.post("news", Owner, "while away", now);
    h.service.post("news", Owner, "new", now);
    h.manager.xmppChatClientConnected(now);
    QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 3);
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(h.service.requestsOf(PROC_ChannelNewMessages).size(), 1);
    const qint64 asked = h.service.requestsOf(PROC_ChannelNewMessages)
                             .first()
                             .inputs.value("MessageTimestamp")
                             .toString()
                             .toLongLong();
    QVERIFY(asked > qint64(DateTime::getDateTime()) - 2 * ChannelManager::kSinceMarginSeconds);
}

void TestChannelManager::followingAQuietChannelStartsThePull()
{
    Harness h;
    h.service.addChannel("quiet", Owner, "c1");
    h.join("quiet");
    // Posted while away, before the user ever saw a post of the channel.
    h.service.post("quiet", Owner, "first words", DateTime::getDateTimeInMSecs());
    h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
    QTRY_COMPARE(h.channel("quiet").getNumberOfMessages(), 1);
    QCOMPARE(h.service.requestsOf(PROC_ChannelNewMessages).size(), 1);
}

void TestChannelManager::liveMessagesEditsLikesAndFiles()
{
    Harness h;
    h.service.addChannel("news", Owner, "c1");
    h.join("news");
    Message live;
    QVERIFY(live.fromJson(h.service.post("news", Owner, "live", Base)));
    live.setState(MessageBase::MsgState_Delivered);
    QVERIFY(h.manager.storeArrivedMessage(live));
    QVERIFY(!h.manager.storeArrivedMessage(live));
    QCOMPARE(h.notes.size(), 1);
    QCOMPARE(h.notes.first().getTitle(), QString("Channel news"));
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);

    // A message for a channel the user does not follow is not kept.
    Message stray = live;
    stray.setChatId("nowhere");
    stray.setMessageId("stray");
    QVERIFY(!h.manager.storeArrivedMessage(stray));

    // Muted channels raise no notification.
    ChannelInfo info;
    QVERIFY(h.manager.getChannelInfo("news", &info));
    info.setMute(true);
    h.manager.changeMuteStatus(info);
    Message second = live;
    second.setMessageId("news-live-2");
    second.setSendTimeInGMT(Base + 10);
    QVERIFY(h.manager.storeArrivedMessage(second));
    QCOMPARE(h.notes.size(), 1);

    // Seen resets the unread count.
    QCOMPARE(h.channel("news").getInfoWLastMsg().getUnreadCount(), 2);
    SeenMessage receipt;
    QVERIFY(!h.manager.markSeen("news", &receipt));
    QCOMPARE(h.channel("news").getInfoWLastMsg().getUnreadCount(), 0);

    // An edit announced by the service.
    ChannelEditMessage change;
    change.setChannelId("news");
    change.setOriginalMessageId(live.getMessageId());
    change.setMessageContent("corrected");
    auto editOf = [](const ChannelEditMessage& body) {
        Message edit(MessageBase::MsgMajorType_ControlMessage, Owner);
        edit.setMinorType(MessageBase::MsgMinorType_ChannelMessageEdited);
        edit.addToOtherFields(body.toJson());
        return edit;
    };
    h.manager.applyControlMessage(editOf(change));
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 1);
    QCOMPARE(h.answersOf(CMD_MessageEdited).first().value<Message>().getMessageBody(),
             QString("corrected"));
    change.setOriginalMessageId("unknown");
    h.manager.applyControlMessage(editOf(change));
    QCOMPARE(h.answersOf(CMD_MessageEdited).size(), 1);

    // Likes of this channel only, and the user's own like.
    LVReply likes(LVRequest("news", {live.getMessageId()}));
    likes.addResult(live.getMessageId(), 7);
    h.manager.likeGetResults(likes);
    LVReply foreign(LVRequest("other", {live.getMessageId()}));
    foreign.addResult(live.getMessageId(), 99);
    h.manager.likeGetResults(foreign);
    Message stored;
    QVERIFY(h.channel("news").getMessage(live.getMessageId(), &stored));
    QCOMPARE(stored.getLikes(), 7);
    QVERIFY(!stored.getLiked());
    h.manager.likeSetStatus(LikePair("other", live.getMessageId(), true));
    h.manager.likeSetStatus(LikePair("news", live.getMessageId(), true));
    QVERIFY(h.channel("news").getMessage(live.getMessageId(), &stored));
    QVERIFY(stored.getLiked());

    // A downloaded file's path.
    FileMessage body;
    body.setFileType(FileMessage::MsgFileType_Image);
    body.setFileId("file-1");
    Message file = live;
    file.setMessageId("news-file");
    file.setSendTimeInGMT(Base + 20);
    file.setMinorType(MessageBase::MsgMinorType_File);
    file.setFileMessage(body);
    QVERIFY(h.manager.storeArrivedMessage(file));
    body.setFilePath("/tmp/picture.png");
    file.setFileMessage(body);
    h.manager.setFilePath(file);
    QVERIFY(h.channel("news").getMessage("news-file", &stored));
    QCOMPARE(stored.getFileMessage().getFilePath(), QString("/tmp/picture.png"));
}

void TestChannelManager::pollBecomesAStoredChannelMessage()
{
    Harness h;
    h.service.addChannel("mine", Me, "c1");
    h.join("mine");
    PollData poll;
    poll.setChannelId("mine");
    poll.setQuestion("Which?");
    poll.setPollType(PollData::Radio);
    QMap<QString, PollOption> options;
    options.insert("1", PollOption("1", "this", false));
    options.insert("2", PollOption("2", "that", false));
    poll.setOptions(options);
    QSignalSpy added(&h.manager, &ChannelManager::messageAdded);
    h.manager.sendPollToChannel(poll);
    QTRY_COMPARE(added.size(), 1);
    const Message message = added.first().first().value<Message>();
    QCOMPARE(message.getPollData().getPollId(), QString("poll-1"));
    QTRY_COMPARE(h.service.posts("mine").size(), 1);
    QCOMPARE(h.service.posts("mine").first().value("MESSAGE_ID").toString(),
             message.getMessageId());
    Message stored;
    QVERIFY(h.channel("mine").getMessage(message.getMessageId(), &stored));
    QTRY_VERIFY(h.channel("mine").getMessage(message.getMessageId(), &stored) &&
                stored.getState() == MessageBase::MsgState_Seen);

    // A reply without a poll id posts nothing.
    h.service.failNext(PROC_PollCreate, 500);
    h.manager.sendPollToChannel(poll);
    h.settle();
    QCOMPARE(added.size(), 1);
}

QTEST_GUILESS_MAIN(TestChannelManager)
#include "tst_channelmanager.moc"
