// The channel manager against the local service on loopback HTTPS, through
// the real procedure queue: administration and directory answers in order,
// the store across restarts of the core and of the service, the send queue,
// missed messages, archive pages and history requests, and the channel
// value's store.

#include "Managers/Channel/channel.h"
#include "Managers/Channel/channelmanager.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "channelstack.h"
#include "foundation/database.h"
#include "foundation/datetime.h"
#include "model/channelidavailability.h"
#include "model/channelmembersreply.h"
#include "model/filemessage.h"
#include "model/globalconstants.h"
#include "model/messagepair.h"
#include "model/messagestate.h"
#include "signedinsettings.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
const QString Me = QStringLiteral("989120000000");
const QString Owner = QStringLiteral("989121111111");
const QString Follower = QStringLiteral("989122222222");

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

// A channel manager on the real stores, wired to the procedure queue as the
// Manager wires it, its answers recorded. Between the two sits a gate that
// logs each procedure the manager starts and can hold them back.
class Harness
{
public:
    struct Request
    {
        Procedure procedure;
        QHash<QString, QJsonValue> inputs;
    };

    explicit Harness(ChannelStack* stack) : stack(stack)
    {
        handler.setTimeoutInterval(10000);
        handler.setRetryInterval(100);
        QObject::connect(&manager, &ChannelManager::start,
                         [this](Procedure procedure, const QHash<QString, QJsonValue>& inputs) {
                             const Request request{procedure, inputs};
                             requests << request;
                             if (holding && (holdOnly.isEmpty() || holdOnly.contains(procedure)))
                                 held << request;
                             else
                                 forward(request);
                         });
        QObject::connect(&handler, &ProcedureHandler::replyReport, &manager,
                         [this](Procedure p, const QJsonObject& r) { manager.processReply(p, r); });
        QObject::connect(&handler, &ProcedureHandler::result, &manager,
                         [this](Procedure p, int code) {
                             --inFlight;
                             manager.result(p, code);
                         });
        manager.setUserIdentity(UserIdentityPtr::create(Me));
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
    QList<Request> requestsOf(Procedure procedure) const
    {
        QList<Request> list;
        for (const Request& request : requests) {
            if (request.procedure == procedure)
                list << request;
        }
        return list;
    }
    // Procedures started from now on (only those named, when some are) wait
    // at the gate until release().
    void hold(const QList<Procedure>& only = {})
    {
        holding = true;
        holdOnly = only;
    }
    void release()
    {
        holding = false;
        holdOnly.clear();
        const QList<Request> waiting = held;
        held.clear();
        for (const Request& request : waiting)
            forward(request);
    }
    // Runs the event loop until every procedure let through has its result.
    void settle() { QTRY_VERIFY_WITH_TIMEOUT(inFlight == 0, 30000); }
    // Follows a channel of the service through a join.
    void join(const QString& id)
    {
        manager.startChannelJoin(id);
        QTRY_VERIFY_WITH_TIMEOUT(manager.contains(id), 20000);
        settle();
    }
    Channel channel(const QString& id) const { return manager.getChannels().value(id); }

    ChannelStack* stack;
    ProcedureHandler handler;
    ChannelManager manager;
    QList<QPair<Command, QVariant>> answers;
    QList<NotificationMessage> notes;
    QList<Request> requests;

private:
    void forward(const Request& request)
    {
        ++inFlight;
        handler.start(request.procedure, request.inputs);
    }

    bool holding = false;
    QList<Procedure> holdOnly;
    QList<Request> held;
    int inFlight = 0;
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
    void requestsOfAKindAskedTogetherEachMeetTheirReply();
    void directoryBrowsing();
    void idChecksOneAtATime();
    void survivesRestartWithoutOpeningStores();
    void unreadableRecordIsSkipped();

    void sendsOneAtATime();
    void postsKeptUntilTheServiceHasThem();
    void postRefusedForGoodLeavesTheOutbox();
    void historyShortOfTheNumber();
    void archivePageAnswersOnlyItsChannel();
    void postOnALatePageReachesTheShownChat();
    void postBetweenTwoPagesReachesTheRequest();
    void failedFetchReleasesTheRequest_data();
    void failedFetchReleasesTheRequest();
    void missedMessagesSinceTheRequestTime();
    void followingAQuietChannelStartsThePull();
    void channelAccountBackAsksAgainOneAtATime();
    void liveMessagesEditsLikesAndFiles();
    void pollBecomesAStoredChannelMessage();
    void brokenPollMendedByAFullerCopy();
    void failedBrowseIsAnsweredSoTheNextMeetsItsOwn();
    void membershipChangesReachTheMember();

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ChannelStack> stack;
};

void TestChannelManager::initTestCase()
{
    GlobalConstants::setUserName(Me);
}

void TestChannelManager::init()
{
    // A fresh account for every case: no channel list, no message stores,
    // and a fresh service with the accounts of the case's users.
    stack.reset();
    QDir(QFileInfo(DataBase::pathForName(QStringLiteral("any"))).path()).removeRecursively();
    QVERIFY(storeSignedInSettings(Me, ChannelStack::kToken));
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    stack = std::make_unique<ChannelStack>(folder->path());
    QVERIFY(stack->start());
    for (const QString& user : {Me, Owner, Follower})
        QVERIFY(stack->addAccount(user));
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
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    QVERIFY(stack->addChannel("mine", Me, "1"));

    // Joining: the channel comes in with its data, then the join is answered.
    h.join("news");
    QCOMPARE(h.commands(), QList<int>({CMD_ChannelAdded, CMD_ChannelJoin}));
    QCOMPARE(h.answersOf(CMD_ChannelJoin).value(0).toString(), QString("news"));
    QCOMPARE(h.answersOf(CMD_ChannelAdded).value(0).value<ChannelInfo>().getMyRole(),
             ChannelRole::MEMBER);
    QCOMPARE(stack->roleOf("news", Me), QString("MEMBER"));

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
    QCOMPARE(stack->channel("mine").value("Name").toString(), QStringLiteral("کانال من"));
    QCOMPARE(stack->channel("mine").value("Description").toString(), QString("new words"));

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
    QCOMPARE(stack->roleOf("mine", Follower), QString("ADMIN"));
    QCOMPARE(h.answers.last().second.value<ChannelMemberRole>().getRole(), ChannelRole::ADMIN);
    // Two pages asked at once (the people who run the channel, then its
    // followers): each answer carries the request it answers.
    h.manager.startChannelGetMembers(
        ChannelMembersRequest("mine", ChannelMembersRequest::ReqType_Managers, 0, 1));
    h.manager.startChannelGetMembers(
        ChannelMembersRequest("mine", ChannelMembersRequest::ReqType_All, 0, 20));
    QTRY_COMPARE(h.answersOf(CMD_ChannelGetMembers).size(), 2);
    const ChannelMembersReply managers =
        h.answersOf(CMD_ChannelGetMembers).first().value<ChannelMembersReply>();
    QCOMPARE(managers.getReq().getReqType(), ChannelMembersRequest::ReqType_Managers);
    const ChannelMembersReply members =
        h.answersOf(CMD_ChannelGetMembers).last().value<ChannelMembersReply>();
    QCOMPARE(members.getReq().getChannelId(), QString("mine"));
    QCOMPARE(members.getReq().getReqType(), ChannelMembersRequest::ReqType_All);
    QCOMPARE(members.getProfiles().size(), 2);
    h.manager.respondRemoveMember(member);
    QTRY_COMPARE(h.answersOf(CMD_ChannelRemoveMember).size(), 1);
    QCOMPARE(stack->roleOf("mine", Follower), QString("NONE"));

    // Two additions at once, the first refused (not this user's channel to
    // manage): only the second is announced, with its own value. The
    // refusal is left to the program's failure notice.
    from = h.answers.size();
    ChannelMemberRole refused = member;
    refused.setChannelId("news");
    refused.setRole(ChannelRole::MEMBER);
    member.setRole(ChannelRole::MEMBER);
    h.manager.respondAddMember(refused);
    h.manager.respondAddMember(member);
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelAddMember}));
    h.settle();
    QCOMPARE(h.commands(from), QList<int>({CMD_ChannelAddMember}));
    QCOMPARE(h.answers.last().second.value<ChannelMemberRole>().getChannelId(), QString("mine"));
    QCOMPARE(stack->roleOf("mine", Follower), QString("MEMBER"));

    // Leaving and deleting.
    from = h.answers.size();
    h.manager.startChannelLeave("news");
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelLeave}));
    QVERIFY(!h.manager.contains("news"));
    h.manager.startDeleteChannel("mine");
    QTRY_COMPARE(h.commands(from),
                 QList<int>({CMD_ChannelLeave, CMD_ChannelDelete, CMD_ChannelLeave}));
    QVERIFY(!stack->hasChannel("mine"));
    QVERIFY(h.manager.getChannelsSorted().isEmpty());
}

void TestChannelManager::createCarriesTheCategoryAndTheOwner()
{
    Harness h(stack.get());
    ChannelInfo info;
    info.setId("fresh");
    info.setName("Fresh");
    info.setCategoryId("3");
    info.setReplyAllowed("0");
    h.manager.startChannelCreate(info);
    QTRY_VERIFY(h.manager.contains("fresh"));
    h.settle();

    const auto create = h.requestsOf(PROC_CreateChannel).value(0).inputs;
    QCOMPARE(create.value("CategoryID").toString(), QString("3"));
    QCOMPARE(stack->channel("fresh").value("CategoryId").toString(), QString("3"));
    QVERIFY(!create.contains("CategoryId"));
    QCOMPARE(create.value("Members").toArray(),
             QJsonArray({QJsonObject{{"Username", Me}, {"Role", "OWNER"}}}));
    QCOMPARE(stack->roleOf("fresh", Me), QString("OWNER"));
    const ChannelInfo added = h.answersOf(CMD_ChannelAdded).value(0).value<ChannelInfo>();
    QCOMPARE(added.getMyRole(), ChannelRole::OWNER);
    QCOMPARE(added.getOwnerUserName(), Me);
    QCOMPARE(added.getMembersCount(), 1u);
    // Its history is asked for at once.
    QCOMPARE(h.requestsOf(PROC_ChannelArchive).size(), 1);

    // A taken id adds nothing.
    QVERIFY(stack->addChannel("taken", Owner, "3"));
    info.setId("taken");
    const int from = h.answers.size();
    h.manager.startChannelCreate(info);
    h.settle();
    QVERIFY(!h.manager.contains("taken"));
    QCOMPARE(h.commands(from), QList<int>());
}

void TestChannelManager::requestsOfAKindAskedTogetherEachMeetTheirReply()
{
    // Two of each kind asked before the first is answered, as a person does
    // who makes, follows or edits two channels in a row: each reply applies
    // its own request, and a refused one in between takes nothing with it.
    Harness h(stack.get());
    for (const char* id : {"news", "sport", "taken"})
        QVERIFY(stack->addChannel(id, Owner, "1"));
    const auto infoOf = [](const QString& id, const QString& name) {
        ChannelInfo info;
        info.setId(id);
        info.setName(name);
        info.setDescription("about " + name);
        info.setCategoryId("2");
        info.setReplyAllowed("0");
        return info;
    };
    const auto addedIds = [&h] {
        QStringList ids;
        for (const QVariant& added : h.answersOf(CMD_ChannelAdded))
            ids << added.value<ChannelInfo>().getId();
        return ids;
    };

    for (const char* id : {"first", "taken", "second"})
        h.manager.startChannelCreate(infoOf(id, id));
    h.settle();
    QCOMPARE(addedIds(), QStringList({"first", "second"}));
    QVERIFY(h.manager.contains("first") && h.manager.contains("second"));
    QVERIFY(!h.manager.contains("taken"));
    QCOMPARE(stack->roleOf("first", Me), QString("OWNER"));
    QCOMPARE(stack->roleOf("taken", Me), QString("NONE"));

    h.manager.startChannelJoin("news");
    h.manager.startChannelJoin("sport");
    h.settle();
    QVERIFY(h.manager.contains("news") && h.manager.contains("sport"));
    QStringList joined;
    for (const QVariant& answer : h.answersOf(CMD_ChannelJoin))
        joined << answer.toString();
    QCOMPARE(joined, QStringList({"news", "sport"}));

    h.manager.startChannelEdit(infoOf("first", "One"));
    h.manager.startChannelEdit(infoOf("second", "Two"));
    h.settle();
    QStringList edited;
    for (const QVariant& answer : h.answersOf(CMD_ChannelEdit))
        edited << answer.value<ChannelInfo>().getName();
    QCOMPARE(edited, QStringList({"One", "Two"}));
    QCOMPARE(h.channel("first").getInfo().getName(), QString("One"));
    QCOMPARE(h.channel("second").getInfo().getName(), QString("Two"));
    QCOMPARE(stack->channel("first").value("Name").toString(), QString("One"));

    h.manager.startChannelLeave("news");
    h.manager.startChannelLeave("sport");
    h.manager.startDeleteChannel("first");
    h.manager.startDeleteChannel("second");
    h.settle();
    QCOMPARE(h.answersOf(CMD_ChannelLeave).size(), 4);
    QVERIFY(h.manager.getChannelsSorted().isEmpty());
    QCOMPARE(stack->roleOf("news", Me), QString("NONE"));
    QVERIFY(!stack->hasChannel("first") && !stack->hasChannel("second"));
}

void TestChannelManager::directoryBrowsing()
{
    Harness h(stack.get());
    // The service's directory: News, Sport with Football under it, Science.
    QVERIFY(stack->addChannel("daily", Owner, "2"));
    QVERIFY(stack->addChannel("elsewhere", Owner, "3"));
    h.manager.startChannelCategories();
    QTRY_COMPARE(h.answersOf(CMD_ChannelCategories).size(), 1);
    const auto categories =
        h.answersOf(CMD_ChannelCategories).first().value<QHash<QString, ChannelCategory>>();
    // The top level only: Football waits under Sport.
    QCOMPARE(categories.size(), 3);
    QVERIFY(!categories.contains("4"));
    QCOMPARE(categories.value("2").getCategoryName(), QString("Sport"));

    h.manager.startBrowseChannelCategories("2");
    QTRY_COMPARE(h.answersOf(CMD_BrowseChannelCategory).size(), 1);
    const auto result =
        h.answersOf(CMD_BrowseChannelCategory).first().value<BrowseCategoryResult>();
    QCOMPARE(result.getInfos().size(), 1);
    QCOMPARE(result.getInfos().first().getId(), QString("daily"));
    QCOMPARE(result.getCategories().size(), 1);
    QCOMPARE(result.getCategories().first().getParentCategoryID(), QString("2"));
    // Browsing follows nothing.
    QVERIFY(!h.manager.contains("daily"));
}

void TestChannelManager::idChecksOneAtATime()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("taken", Owner, "1"));
    h.hold();
    h.manager.startCheckChannelId("taken");
    h.manager.startCheckChannelId("fre");
    h.manager.startCheckChannelId("free");
    // The later ids wait for the first answer; the newest replaces the other.
    QCOMPARE(h.requestsOf(PROC_CheckChannelIdAvailability).size(), 1);
    h.release();
    QTRY_COMPARE(h.answersOf(CMD_ChannelCheckId).size(), 2);
    h.settle();
    QCOMPARE(h.requestsOf(PROC_CheckChannelIdAvailability).size(), 2);
    const auto answers = h.answersOf(CMD_ChannelCheckId);
    QCOMPARE(answers.size(), 2);
    QCOMPARE(answers.at(0).value<ChannelIdAvailability>(), ChannelIdAvailability("taken", false));
    QCOMPARE(answers.at(1).value<ChannelIdAvailability>(), ChannelIdAvailability("free", true));

    // A cleared field asks nothing and drops the id that waited; the next
    // id goes out at once and gets its own answer.
    h.hold();
    h.manager.startCheckChannelId("taken");
    h.manager.startCheckChannelId("waiting");
    h.manager.startCheckChannelId(" ");
    h.release();
    QTRY_COMPARE(h.answersOf(CMD_ChannelCheckId).size(), 3);
    h.settle();
    h.manager.startCheckChannelId("");
    h.manager.startCheckChannelId("other");
    QTRY_COMPARE(h.answersOf(CMD_ChannelCheckId).size(), 4);
    h.settle();
    QStringList asked;
    for (const auto& request : h.requestsOf(PROC_CheckChannelIdAvailability))
        asked << request.inputs.value("ChannelID").toString();
    QCOMPARE(asked, QStringList({"taken", "free", "taken", "other"}));
    QCOMPARE(h.answersOf(CMD_ChannelCheckId).last().value<ChannelIdAvailability>(),
             ChannelIdAvailability("other", true));
}

void TestChannelManager::survivesRestartWithoutOpeningStores()
{
    {
        Harness h(stack.get());
        for (const char* id : {"a", "b", "c"})
            QVERIFY(stack->addChannel(id, Owner, "1"));
        QVERIFY(!stack->post("a", Owner, "older").isEmpty());
        QVERIFY(!stack->post("b", Owner, "newest").isEmpty());
        for (const char* id : {"a", "b", "c"})
            h.join(id);
        QTRY_COMPARE(h.channel("b").getNumberOfMessages(), 1);
        QTRY_COMPARE(h.channel("a").getNumberOfMessages(), 1);
        ChannelInfo muted;
        QVERIFY(h.manager.getChannelInfo("c", &muted));
        muted.setMute(true);
        h.manager.changeMuteStatus(muted);
    }
    // The service is restarted as well, on its own folder.
    QVERIFY(stack->restart());
    Harness h(stack.get());
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

    // The service kept the follows and the posts: the list names the three
    // channels again, and what is posted now reaches the core at its next
    // connection, beside the posts it already has.
    const int from = h.answers.size();
    h.manager.onInitialize();
    QTRY_COMPARE(h.commands(from), QList<int>({CMD_ChannelData, CMD_ChannelData, CMD_ChannelData}));
    QCOMPARE(stack->posts("b").size(), 1);
    QVERIFY(!stack->post("a", Owner, "after the restarts").isEmpty());
    h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
    QTRY_COMPARE(h.channel("a").getNumberOfMessages(), 2);
    h.settle();
    QCOMPARE(h.channel("b").getNumberOfMessages(), 1);
    QCOMPARE(h.manager.getChannelsSorted().first().getLastMessage().getMessageBody(),
             QString("after the restarts"));
}

void TestChannelManager::unreadableRecordIsSkipped()
{
    {
        Harness h(stack.get());
        QVERIFY(stack->addChannel("good", Owner, "1"));
        QVERIFY(stack->addChannel("bad", Owner, "1"));
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
    Harness h(stack.get());
    QVERIFY(h.manager.contains("good"));
    QVERIFY(!h.manager.contains("bad"));
    const QList<ChannelInfo> list = h.manager.getChannelsSorted();
    QCOMPARE(list.size(), 1);
    QCOMPARE(list.first().getId(), QString("good"));
}

void TestChannelManager::sendsOneAtATime()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("mine", Me, "1"));
    QVERIFY(stack->addChannel("theirs", Owner, "1"));
    h.join("mine");
    h.join("theirs");
    h.hold();
    QList<Message> sent;
    for (const char* text : {"one", "two", "three"}) {
        Message message = channelMessage("mine", text);
        QCOMPARE(h.manager.storeOwnMessage(message), ConversationKeeper::Keeping::Kept);
        QCOMPARE(h.manager.postOwnMessage(message), ConversationKeeper::Posting::Queued);
        sent << message;
    }
    // A message for a channel the user does not follow goes nowhere.
    QCOMPARE(h.manager.storeOwnMessage(channelMessage("elsewhere", "lost")),
             ConversationKeeper::Keeping::Refused);
    QCOMPARE(h.requestsOf(PROC_ChannelSendMessage).size(), 1);
    QCOMPARE(h.manager.pendingSends(), 3);

    // The first send fails: it is kept and tried again, before the next.
    // Each step holds the gate again before the next send can start, so the
    // count is checked while that send waits at it.
    stack->failNext(PROC_ChannelSendMessage, 500);
    h.release();
    h.hold();
    QTRY_COMPARE_WITH_TIMEOUT(h.requestsOf(PROC_ChannelSendMessage).size(), 2, 20000);
    QCOMPARE(h.requestsOf(PROC_ChannelSendMessage).at(1).inputs.value("MessageID").toString(),
             sent.at(0).getMessageId());
    QCOMPARE(h.manager.pendingSends(), 3);
    h.release();
    QTRY_COMPARE_WITH_TIMEOUT(h.manager.pendingSends(), 0, 20000);
    QStringList order;
    for (const auto& request : h.requestsOf(PROC_ChannelSendMessage))
        order << request.inputs.value("MessageID").toString();
    QCOMPARE(order, QStringList({sent.at(0).getMessageId()}) + idsOf(sent));

    Channel channel = h.channel("mine");
    Message stored;
    for (const Message& message : sent) {
        QVERIFY(channel.getMessage(message.getMessageId(), &stored));
        QCOMPARE(stored.getState(), MessageBase::MsgState_Seen);
    }
    QStringList seen;
    for (const QVariant& v : h.answersOf(CMD_MessageStateChange))
        seen << v.value<MessageState>().getMessageId();
    QCOMPARE(seen, idsOf(sent));
    QCOMPARE(stack->posts("mine").size(), 3);
}

void TestChannelManager::postsKeptUntilTheServiceHasThem()
{
    QList<Message> sent;
    {
        Harness h(stack.get());
        QVERIFY(stack->addChannel("mine", Me, "1"));
        h.join("mine");
        // The service is down: the posts wait in the outbox, tried again and again.
        stack->stop();
        for (const char* text : {"one", "two"}) {
            Message message = channelMessage("mine", text);
            QCOMPARE(h.manager.storeOwnMessage(message), ConversationKeeper::Keeping::Kept);
            QCOMPARE(h.manager.postOwnMessage(message), ConversationKeeper::Posting::Queued);
            sent << message;
        }
        QTRY_VERIFY_WITH_TIMEOUT(h.requestsOf(PROC_ChannelSendMessage).size() >= 2, 30000);
        QCOMPARE(h.manager.pendingSends(), 2);
        // The program ends (a kill leaves the same store) before the service is back.
    }
    QVERIFY(stack->start());
    QCOMPARE(stack->posts("mine").size(), 0);
    Harness h(stack.get());
    QCOMPARE(h.manager.pendingSends(), 2);
    h.manager.onInitialize();
    QTRY_COMPARE_WITH_TIMEOUT(h.manager.pendingSends(), 0, 30000);
    // Each arrives once, in order, and shows as sent.
    QStringList posted;
    for (const QJsonObject& post : stack->posts("mine"))
        posted << post.value("MESSAGE_ID").toString();
    QCOMPARE(posted, idsOf(sent));
    Message stored;
    QVERIFY(h.channel("mine").getMessage(sent.at(1).getMessageId(), &stored));
    QCOMPARE(stored.getState(), MessageBase::MsgState_Seen);
}

void TestChannelManager::postRefusedForGoodLeavesTheOutbox()
{
    Message refused = channelMessage("theirs", "not mine to say");
    {
        Harness h(stack.get());
        QVERIFY(stack->addChannel("theirs", Owner, "1"));
        h.join("theirs");
        // A follower may not post: the service refuses for good, the post is
        // marked not sent, refused, and the next one goes out.
        QCOMPARE(h.manager.storeOwnMessage(refused), ConversationKeeper::Keeping::Kept);
        QCOMPARE(h.manager.postOwnMessage(refused), ConversationKeeper::Posting::Queued);
        QTRY_COMPARE_WITH_TIMEOUT(h.manager.pendingSends(), 0, 20000);
        QCOMPARE(h.requestsOf(PROC_ChannelSendMessage).size(), 1);
        QCOMPARE(stack->posts("theirs").size(), 0);
        Message stored;
        QVERIFY(h.channel("theirs").getMessage(refused.getMessageId(), &stored));
        QCOMPARE(stored.getState(), MessageBase::MsgState_NotSent);
        QCOMPARE(stored.getSendFailure(), MessageBase::SendFailure_Refused);
        const QList<QVariant> states = h.answersOf(CMD_MessageStateChange);
        QCOMPARE(states.size(), 1);
        const MessageState state = states.first().value<MessageState>();
        QCOMPARE(state.getState(), MessageBase::MsgState_NotSent);
        QCOMPARE(state.getFailure(), MessageBase::SendFailure_Refused);
    }
    // After a restart the post still reads as refused, in the history the
    // window is given, and is not sent again.
    Harness h(stack.get());
    h.manager.onInitialize();
    h.settle();
    h.manager.answerHistory(
        MessageRequest("theirs", "", 20, MessageBase::MsgMajorType_ChannelChat));
    QVERIFY(!h.answersOf(CMD_GetChannelMessages).isEmpty());
    Message shown;
    for (const Message& message :
         h.answersOf(CMD_GetChannelMessages).first().value<MessageReply>().getMsgs()) {
        if (message.getMessageId() == refused.getMessageId())
            shown = message;
    }
    QCOMPARE(shown.getState(), MessageBase::MsgState_NotSent);
    QCOMPARE(shown.getSendFailure(), MessageBase::SendFailure_Refused);
    QCOMPARE(h.manager.pendingSends(), 0);
    QCOMPARE(h.requestsOf(PROC_ChannelSendMessage).size(), 0);
}

void TestChannelManager::historyShortOfTheNumber()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    for (int i = 1; i <= 30; ++i)
        QVERIFY(!stack->post("news", Owner, QString("post %1").arg(i)).isEmpty());
    // The first page the join brings, newest first, holds only five of them.
    QJsonArray five;
    for (int i = 30; i > 25; --i)
        five << stack->posts("news").at(i - 1);
    stack->replyNext(PROC_ChannelArchive, {{"MessagesCount", 5}, {"Messages", five}});
    h.join("news");
    QCOMPARE(h.requestsOf(PROC_ChannelArchive).size(), 1);
    QCOMPARE(h.channel("news").getNumberOfMessages(), 5);
    h.requests.clear();
    h.hold();

    const MessageRequest request("news", "", 20, MessageBase::MsgMajorType_ChannelChat);
    h.manager.answerHistory(request);
    // Answered at once with the five.
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).first().value<MessageReply>().getMsgs().size(), 5);
    const auto fetch = h.requestsOf(PROC_ChannelArchive);
    QCOMPARE(fetch.size(), 1);
    QCOMPARE(fetch.first().inputs.value("Offset").toString(), QString("5"));
    QCOMPARE(fetch.first().inputs.value("Count").toString(), QString("50"));
    QCOMPARE(fetch.first().inputs.value("MessageID").toString(), QString());

    // A second request waits for the page of the first.
    const MessageRequest older("news", "news-26", 3, MessageBase::MsgMajorType_ChannelChat);
    h.manager.answerHistory(older);
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);

    h.release();
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
    Harness h(stack.get());
    QVERIFY(stack->addChannel("one", Owner, "1"));
    QVERIFY(stack->addChannel("two", Owner, "1"));
    QVERIFY(!stack->post("one", Owner, "in one").isEmpty());
    QVERIFY(!stack->post("two", Owner, "in two").isEmpty());
    h.join("one");
    QCOMPARE(h.channel("one").getNumberOfMessages(), 1);
    // A background page of channel two is on its way when the user opens
    // channel one, whose own page is asked for then.
    h.hold({PROC_ChannelArchive});
    h.manager.startChannelJoin("two");
    QTRY_VERIFY(h.manager.contains("two"));
    QCOMPARE(h.requestsOf(PROC_ChannelArchive).size(), 2);
    h.manager.answerHistory(MessageRequest("one", "", 5, MessageBase::MsgMajorType_ChannelChat));
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);
    QCOMPARE(h.requestsOf(PROC_ChannelArchive).size(), 3);
    h.release();
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

// A channel opened once: its chat was answered from a page taken before a
// new post, and the post comes on a later page that nobody waits for (a
// background fetch; its live copy would then be a known one). It arrives as
// a live post would; a channel never opened gets its page silently.
void TestChannelManager::postOnALatePageReachesTheShownChat()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("late", Owner, "1"));
    QVERIFY(stack->addChannel("quiet", Owner, "1"));
    h.join("late");
    h.join("quiet");
    h.manager.answerHistory(MessageRequest("late", "", 20, MessageBase::MsgMajorType_ChannelChat));
    h.settle();
    QVERIFY(!stack->post("late", Owner, "fresh").isEmpty());
    QVERIFY(!stack->post("quiet", Owner, "old news").isEmpty());
    const int from = h.answers.size();
    // The channel list brings a page of each channel still without posts.
    h.manager.onInitialize();
    QTRY_COMPARE(h.channel("quiet").getNumberOfMessages(), 1);
    QTRY_COMPARE(h.channel("late").getNumberOfMessages(), 1);
    h.settle();
    QList<QString> arrived;
    for (int i = from; i < h.answers.size(); ++i) {
        if (h.answers.at(i).first == CMD_MessagePairAdded)
            arrived << h.answers.at(i).second.value<MessagePair>().getMessage().getMessageId();
    }
    QCOMPARE(arrived, QList<QString>({"late-1"}));
}

void TestChannelManager::postBetweenTwoPagesReachesTheRequest()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    // The page asked for when the channel is added and the one the opened
    // window asks for are both on their way; a post comes in between them,
    // so only the second page holds it, and its push is a copy of a post
    // already stored.
    h.hold({PROC_ChannelArchive});
    h.manager.startChannelJoin("news");
    QTRY_VERIFY(h.manager.contains("news"));
    const MessageRequest request("news", "", 20, MessageBase::MsgMajorType_ChannelChat);
    h.manager.answerHistory(request);
    QCOMPARE(h.answersOf(CMD_GetChannelMessages).size(), 1);
    QCOMPARE(h.requestsOf(PROC_ChannelArchive).size(), 2);
    const QString post =
        stack->post("news", Owner, "the bus leaves at eight").value("MESSAGE_ID").toString();
    QVERIFY(!post.isEmpty());
    stack->replyNext(PROC_ChannelArchive, {{"MessagesCount", 0}, {"Messages", QJsonArray()}});
    h.release();
    QTRY_COMPARE(h.answersOf(CMD_GetChannelMessages).size(), 2);
    h.settle();
    const MessageReply answer = h.answersOf(CMD_GetChannelMessages).last().value<MessageReply>();
    QCOMPARE(answer.getRequest(), request);
    QCOMPARE(idsOf(answer.getMsgs()), QStringList({post}));
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
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    QVERIFY(stack->addChannel("other", Owner, "1"));
    QVERIFY(!stack->post("other", Owner, "here").isEmpty());
    h.join("news");
    h.join("other");
    h.settle();
    stack->failNext(PROC_ChannelArchive, 500);
    h.hold();
    h.manager.answerHistory(MessageRequest(first, "", 10, MessageBase::MsgMajorType_ChannelChat));
    h.manager.answerHistory(MessageRequest("other", "", 10, MessageBase::MsgMajorType_ChannelChat));
    h.release();
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
        Harness h(stack.get());
        // A first connection with nothing stored asks for nothing.
        h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
        h.settle();
        QVERIFY(h.requestsOf(PROC_ChannelNewMessages).isEmpty());

        QVERIFY(stack->addChannel("news", Owner, "1"));
        QVERIFY(!stack->post("news", Owner, "old").isEmpty());
        h.join("news");
        QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 1);
        // The pull starts where following began, less the margin.
        QVERIFY(!stack->post("news", Owner, "while away").isEmpty());
        before = qint64(DateTime::getDateTime());
        h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
        QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 2);
        const auto pull = h.requestsOf(PROC_ChannelNewMessages).value(0).inputs;
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
    Harness h(stack.get());
    QVERIFY(!stack->post("news", Owner, "new").isEmpty());
    h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
    QTRY_COMPARE(h.channel("news").getNumberOfMessages(), 3);
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(h.requestsOf(PROC_ChannelNewMessages).size(), 1);
    const qint64 asked = h.requestsOf(PROC_ChannelNewMessages)
                             .first()
                             .inputs.value("MessageTimestamp")
                             .toString()
                             .toLongLong();
    QVERIFY(asked > qint64(DateTime::getDateTime()) - 2 * ChannelManager::kSinceMarginSeconds);
}

void TestChannelManager::followingAQuietChannelStartsThePull()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("quiet", Owner, "1"));
    h.join("quiet");
    // Posted while away, before the user ever saw a post of the channel.
    QVERIFY(!stack->post("quiet", Owner, "first words").isEmpty());
    h.manager.xmppChatClientConnected(DateTime::getDateTimeInMSecs());
    QTRY_COMPARE(h.channel("quiet").getNumberOfMessages(), 1);
    QCOMPARE(h.requestsOf(PROC_ChannelNewMessages).size(), 1);
}

void TestChannelManager::channelAccountBackAsksAgainOneAtATime()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("back", Owner, "1"));
    h.join("back");
    // Posted while the service's channel account was away: no push came.
    QVERIFY(!stack->post("back", Owner, "unpushed").isEmpty());
    // Words that come while the pull travels bring one more pull once it
    // ends, not one each.
    h.hold({PROC_ChannelNewMessages});
    for (int i = 0; i < 3; ++i)
        h.manager.channelAccountBack();
    QCOMPARE(h.requestsOf(PROC_ChannelNewMessages).size(), 1);
    h.release();
    h.settle();
    QCOMPARE(h.requestsOf(PROC_ChannelNewMessages).size(), 2);
    QCOMPARE(h.channel("back").getNumberOfMessages(), 1);
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    // Said again with nothing new: asked once more, nothing shown twice.
    h.manager.channelAccountBack();
    h.settle();
    QCOMPARE(h.requestsOf(PROC_ChannelNewMessages).size(), 3);
    QCOMPARE(h.answersOf(CMD_MessagePairAdded).size(), 1);
    QCOMPARE(h.notes.size(), 0);
}

void TestChannelManager::liveMessagesEditsLikesAndFiles()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    h.join("news");
    Message live;
    QVERIFY(live.fromJson(stack->post("news", Owner, "live")));
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
    second.setSendTimeInGMT(live.getSendTimeInGMT() + 10);
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
    QCOMPARE(stored.getLikes(), 8);
    // The own like is a state: liking again or unliking twice moves the count once.
    const struct
    {
        bool liked;
        int count;
    } steps[] = {{true, 8}, {true, 8}, {false, 7}, {false, 7}, {false, 7}};
    for (const auto& step : steps) {
        h.manager.likeSetStatus(LikePair("news", live.getMessageId(), step.liked));
        QVERIFY(h.channel("news").getMessage(live.getMessageId(), &stored));
        QCOMPARE(stored.getLiked(), step.liked);
        QCOMPARE(stored.getLikes(), step.count);
    }

    // A downloaded file's path.
    FileMessage body;
    body.setFileType(FileMessage::MsgFileType_Image);
    body.setFileId("file-1");
    Message file = live;
    file.setMessageId("news-file");
    file.setSendTimeInGMT(live.getSendTimeInGMT() + 20);
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
    Harness h(stack.get());
    QVERIFY(stack->addChannel("mine", Me, "1"));
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
    // The poll id is the one the service gave, and the post carries it.
    const QString pollId = message.getPollData().getPollId();
    QVERIFY(pollId.startsWith("poll-"));
    QTRY_COMPARE(stack->posts("mine").size(), 1);
    QCOMPARE(stack->posts("mine").first().value("MESSAGE_ID").toString(), message.getMessageId());
    QVERIFY(QJsonDocument(stack->posts("mine").first()).toJson().contains(pollId.toUtf8()));
    Message stored;
    QVERIFY(h.channel("mine").getMessage(message.getMessageId(), &stored));
    QTRY_VERIFY(h.channel("mine").getMessage(message.getMessageId(), &stored) &&
                stored.getState() == MessageBase::MsgState_Seen);

    // A reply without a poll id posts nothing.
    stack->failNext(PROC_PollCreate, 500);
    h.manager.sendPollToChannel(poll);
    h.settle();
    QCOMPARE(added.size(), 1);

    // Two polls sent before the first is answered: each post carries its
    // own poll and the id the service gave that poll.
    h.hold({PROC_PollCreate});
    poll.setQuestion("First?");
    h.manager.sendPollToChannel(poll);
    poll.setQuestion("Second?");
    h.manager.sendPollToChannel(poll);
    h.release();
    QTRY_COMPARE(added.size(), 3);
    h.settle();
    QMap<QString, QString> idOfQuestion;
    for (int i = 1; i < 3; ++i) {
        const PollData sent = added.at(i).first().value<Message>().getPollData();
        idOfQuestion.insert(sent.getQuestion(), sent.getPollId());
    }
    QCOMPARE(idOfQuestion.keys(), QStringList({"First?", "Second?"}));
    QVERIFY(idOfQuestion.value("First?") != idOfQuestion.value("Second?"));
    for (const QJsonObject& post : stack->posts("mine")) {
        const QJsonObject data = post.value("POLL_DATA").toObject();
        if (idOfQuestion.contains(data.value("Question").toString()))
            QCOMPARE(data.value("PollID").toString(),
                     idOfQuestion.value(data.value("Question").toString()));
    }
}

void TestChannelManager::brokenPollMendedByAFullerCopy()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    h.join("news");
    const QJsonObject poll{
        {"PollID", "poll-7"},
        {"Question", "Tea?"},
        {"Type", "radio"},
        {"CommentBoxCharsLimit", 0},
        {"Enable", 1},
        {"HaveCommentBox", 0},
        {"Options",
         QJsonArray{QJsonObject{{"OptionID", "1"}, {"Text", "yes"}, {"DisplayCommentBox", 0}},
                    QJsonObject{{"OptionID", "2"}, {"Text", "no"}, {"DisplayCommentBox", 0}}}}};
    QJsonObject fields{{"USER_ID", Owner},
                       {"MESSAGE_ID", "news-poll"},
                       {"MESSAGE_BODY", ""},
                       {"MAJOR_TYPE", "CHANNEL_CHAT"},
                       {"MINOR_TYPE", "POLL"},
                       {"CHANNEL_ID", "news"},
                       {"SEND_TIME_IN_GMT", double(QDateTime::currentMSecsSinceEpoch())},
                       {"POLL_ID", "poll-7"},
                       {"POLL_DATA", ""}};
    Message broken;
    QVERIFY(broken.fromJson(fields));
    QVERIFY(broken.getPollData().isEmpty());
    QVERIFY(h.manager.storeArrivedMessage(broken));

    // The archive's copy of the same post carries the poll: it mends the
    // stored one, and is no new message.
    fields.insert("POLL_DATA", poll);
    Message full;
    QVERIFY(full.fromJson(fields));
    QVERIFY(!h.manager.storeArrivedMessage(full));
    Message stored;
    QVERIFY(h.channel("news").getMessage("news-poll", &stored));
    QCOMPARE(stored.getPollData().getQuestion(), QString("Tea?"));
    QCOMPARE(stored.getPollData().getOptions().size(), 2);
    QCOMPARE(h.channel("news").getNumberOfMessages(), 1);

    // A stored poll that is whole is never replaced.
    QJsonObject other = poll;
    other.insert("Question", "Coffee?");
    fields.insert("POLL_DATA", other);
    Message later;
    QVERIFY(later.fromJson(fields));
    QVERIFY(!h.manager.storeArrivedMessage(later));
    QVERIFY(h.channel("news").getMessage("news-poll", &stored));
    QCOMPARE(stored.getPollData().getQuestion(), QString("Tea?"));
}

void TestChannelManager::failedBrowseIsAnsweredSoTheNextMeetsItsOwn()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("elsewhere", Owner, "3"));
    stack->failNextAt("GAPI/channels/browse/2/", 500);
    h.manager.startBrowseChannelCategories("2");
    h.manager.startBrowseChannelCategories("3");
    QTRY_COMPARE(h.answersOf(CMD_BrowseChannelCategory).size(), 2);
    const auto failed =
        h.answersOf(CMD_BrowseChannelCategory).first().value<BrowseCategoryResult>();
    QVERIFY(failed.getInfos().isEmpty() && failed.getCategories().isEmpty());
    const auto second = h.answersOf(CMD_BrowseChannelCategory).last().value<BrowseCategoryResult>();
    QCOMPARE(second.getInfos().size(), 1);
    QCOMPARE(second.getInfos().first().getId(), QString("elsewhere"));
}

void TestChannelManager::membershipChangesReachTheMember()
{
    Harness h(stack.get());
    QVERIFY(stack->addChannel("news", Owner, "1"));
    h.join("news");
    auto change = [](MessageBase::MsgMinorType minor, const QString& from, const QString& user) {
        Message message(MessageBase::MsgMajorType_ControlMessage, user);
        message.setChatId(from);
        message.setMinorType(minor);
        message.addToOtherFields({{"CHANNEL_ID", "news"}, {"NEW_ROLE", "ADMIN"}});
        return message;
    };
    const QString service = QuorvelXMPPMessage::channelAccount();
    QVERIFY(
        stack->call(Owner, "GAPI/channels/changerole/",
                    {{"ChannelID", "news"}, {"MemberUsername", Me}, {"MemberNewRole", "ADMIN"}}) ==
        200);
    // Someone else's change, or one that does not come from the service, is
    // not the user's: nothing is asked.
    const int asked = h.requestsOf(PROC_ChannelDataAndAdd).size();
    h.manager.applyControlMessage(
        change(MessageBase::MsgMinorType_ChannelMembershipChangeRole, service, Follower));
    h.manager.applyControlMessage(
        change(MessageBase::MsgMinorType_ChannelMembershipChangeRole, Owner, Me));
    QCOMPARE(h.requestsOf(PROC_ChannelDataAndAdd).size(), asked);
    // The user's own: the channel comes back with the new role.
    const int from = h.answers.size();
    h.manager.applyControlMessage(
        change(MessageBase::MsgMinorType_ChannelMembershipChangeRole, service, Me));
    QTRY_VERIFY(h.commands(from).contains(CMD_ChannelData));
    ChannelInfo info;
    QVERIFY(h.manager.getChannelInfo("news", &info));
    QCOMPARE(info.getMyRole(), ChannelRole::ADMIN);
    // Removed: the channel goes.
    h.manager.applyControlMessage(
        change(MessageBase::MsgMinorType_ChannelMembershipRemove, service, Me));
    QVERIFY(!h.manager.contains("news"));
    QCOMPARE(h.answersOf(CMD_ChannelLeave).value(0).toString(), QString("news"));

    // Removed while the channel was asked for as it stands (its chat had
    // just been opened): the late answer does not bring it back as a visited
    // channel. A visit asked for afterwards is answered.
    h.join("news");
    h.hold({PROC_ChannelData});
    h.manager.startChannelData("news");
    QCOMPARE(stack->call(Owner, "GAPI/channels/removemember/",
                         {{"ChannelID", "news"}, {"MemberUsername", Me}}),
             200);
    h.manager.applyControlMessage(
        change(MessageBase::MsgMinorType_ChannelMembershipRemove, service, Me));
    QVERIFY(!h.manager.contains("news"));
    const int removedAt = h.answers.size();
    h.release();
    h.settle();
    QCOMPARE(h.commands(removedAt), QList<int>());
    h.manager.startChannelData("news");
    h.settle();
    QCOMPARE(h.commands(removedAt), QList<int>({CMD_ChannelData}));
    QCOMPARE(h.answersOf(CMD_ChannelData).last().value<ChannelInfo>().getMyRole(),
             ChannelRole::NONE);
    QVERIFY(!h.manager.contains("news"));
}

QTEST_GUILESS_MAIN(TestChannelManager)
#include "tst_channelmanager.moc"
