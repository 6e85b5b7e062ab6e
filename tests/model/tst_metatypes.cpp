// Every value type of the model crosses a queued connection between two
// threads inside a QVariant intact, and the types that managers emit directly
// as signal arguments are registered under their names.

#include "model/browsecategoryresult.h"
#include "model/channelidavailability.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersreply.h"
#include "model/channelmessagecondition.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolerequest.h"
#include "model/groupinfomembers.h"
#include "model/lastseen.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/mainsettings.h"
#include "model/members.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "model/metatypes.h"
#include "model/pollresult.h"
#include "model/uisetting.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <functional>

namespace {
struct Entry
{
    QString typeName;
    QVariant value;
    std::function<bool(const QVariant&, const QVariant&)> equal;
};

template <typename T> Entry byOperator(const char* name, const T& value)
{
    return {QString::fromLatin1(name), QVariant::fromValue(value),
            [](const QVariant& a, const QVariant& b) { return a.value<T>() == b.value<T>(); }};
}

template <typename T, typename F> Entry byView(const char* name, const T& value, F view)
{
    return {QString::fromLatin1(name), QVariant::fromValue(value),
            [view](const QVariant& a, const QVariant& b) {
                return view(a.template value<T>()) == view(b.template value<T>());
            }};
}

Message sampleMessage(const QString& id)
{
    Message m(MessageBase::MsgMajorType_ChannelChat, "989120000001", "news", "text " + id);
    m.setMessageId(id);
    m.setMinorType(MessageBase::MsgMinorType_File);
    FileMessage file;
    file.setFileType(FileMessage::MsgFileType_Other);
    file.setFileSize(3000000000LL);
    m.setFileMessage(file);
    m.setLikes(3);
    m.setState(MessageBase::MsgState_Delivered);
    m.setGroupControlMessage(true);
    return m;
}

ChannelInfo sampleChannel()
{
    ChannelInfo info;
    info.setId("news");
    info.setName("News");
    info.setMembersCount(42);
    info.setMyRole(ChannelRole::ADMIN);
    info.setAdmins({"a", "b"});
    info.setMute(true);
    info.setUnreadCount(5);
    info.setLastMessage(sampleMessage("last"));
    return info;
}

GroupInfo sampleGroup()
{
    GroupInfo info;
    info.setJid("g-1");
    info.setName("Friends");
    info.setMyRole(GroupRole::ADMIN);
    info.setMute(true);
    info.setRemoved(true);
    info.setLastMessage(sampleMessage("g-last"));
    return info;
}

QList<Entry> entries()
{
    QList<Entry> list;
    list << byOperator("Message", sampleMessage("m1"));
    list << byOperator("QList<Message>", QList<Message>{sampleMessage("a"), sampleMessage("b")});
    FileMessage file = sampleMessage("f").getFileMessage();
    file.setImageSize(QSize(3, 4));
    list << byOperator("FileMessage", file);
    list << byOperator("StickerMessage", StickerMessage(QJsonObject{{"STICKER_ID", "s"},
                                                                    {"STICKER_PACKAGE_ID", "p"},
                                                                    {"STICKER_VERSION", "1"}}));
    LocationMessage location;
    location.setLatitude(35.7);
    location.setLongitude(51.4);
    list << byView("LocationMessage", location, [](const LocationMessage& l) {
        return qMakePair(l.getLatitude(), l.getLongitude());
    });
    SeenMessage seen;
    seen.setSeenVariables("peer", "m", {"m", "n"});
    list << byView("SeenMessage", seen, [](const SeenMessage& s) { return s.toDebugJson(); });
    list << byView("EditMessage", EditMessage("t", 5, "m"),
                   [](const EditMessage& e) { return e.toJson(); });
    ChannelEditMessage channelEdit;
    channelEdit.setChannelId("news");
    channelEdit.setOriginalMessageId("p");
    list << byView("ChannelEditMessage", channelEdit,
                   [](const ChannelEditMessage& e) { return e.toJson(); });
    ConversationMuteStatusUpdate mute;
    mute.setConversationId("c");
    mute.setConversationType(ConversationType::GROUP);
    mute.setMuteStatus(true);
    list << byView("ConversationMuteStatusUpdate", mute,
                   [](const ConversationMuteStatusUpdate& u) { return u.toJson(); });
    list << byView("GroupRemoveMessage", GroupRemoveMessage("g", "u", "r"),
                   [](const GroupRemoveMessage& g) {
                       return QStringList{g.getJid(), g.getUserId(), g.getRemovedUserId()};
                   });
    GroupJoinMessage join;
    join.setJid("g");
    join.setAddedBy("x");
    join.setRole(GroupRole::MEMBER);
    list << byView("GroupJoinMessage", join, [](const GroupJoinMessage& g) {
        return QStringList{g.getJid(), g.getAddedBy(), GroupRole::toString(g.getRole())};
    });
    GroupChangeRoleMessage changeRole;
    changeRole.setChangedUserId("c");
    changeRole.setNewRole(GroupRole::OWNER);
    list << byView("GroupChangeRoleMessage", changeRole, [](const GroupChangeRoleMessage& g) {
        return QStringList{g.getChangedUserId(), GroupRole::toString(g.getNewRole())};
    });
    GroupMetaDataChangedMessage metadata;
    metadata.setJid("g");
    list << byView("GroupMetaDataChangedMessage", metadata,
                   [](const GroupMetaDataChangedMessage& g) { return g.getJid(); });
    GroupInvitationMessage invitation;
    invitation.setJid("g");
    invitation.setUserRole(GroupRole::ADMIN);
    list << byView("GroupInvitationMessage", invitation, [](const GroupInvitationMessage& g) {
        return QStringList{g.getJid(), GroupRole::toString(g.getUserRole())};
    });

    list << byOperator("MessageRequest",
                       MessageRequest("c", "m", 20, MessageBase::MsgMajorType_GroupChat));
    MessageReply reply;
    reply.setRequest(MessageRequest("c", "", 2, MessageBase::MsgMajorType_ChannelChat));
    reply.sortAndSetMessages({sampleMessage("x"), sampleMessage("y")});
    reply.addReplyMessage(sampleMessage("parent"));
    list << byView("MessageReply", reply, [](const MessageReply& r) {
        return qMakePair(qMakePair(r.getRequest(), r.getMsgs()), r.getReplyMessages());
    });
    list << byOperator("MessageState", MessageState("c", "m", MessageBase::MsgState_Seen));
    Members members;
    members.setRequestId("r");
    members.addNumbers(QStringList{"1", "2"});
    Profile profile;
    profile.setMemberID("1");
    profile.setNickName("One");
    members.addProfile(profile);
    list << byView("Members", members, [](const Members& m) {
        return qMakePair(qMakePair(m.getRequestId(), m.getNumbers()), m.getProfiles());
    });
    list << byOperator("Profile", profile);
    list << byOperator("LastSeen",
                       LastSeen("98912", QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC)));
    list << byOperator("UISetting", UISetting("u", "SHA256", "tok"));
    MainSettings settings;
    settings.setInterfaceScaleFactor(125);
    list << byOperator("MainSettings", settings);
    list << byOperator("ChannelIdAvailability", ChannelIdAvailability("news", true));
    const ChannelMembersRequest membersRequest("news", ChannelMembersRequest::ReqType_Followers, 5,
                                               10);
    list << byOperator("ChannelMembersRequest", membersRequest);
    ChannelMembersReply membersReply;
    membersReply.setReq(membersRequest);
    ChannelMemberProfile memberProfile;
    memberProfile.setUserName("u");
    memberProfile.setRole(ChannelRole::VISITOR);
    membersReply.setProfiles({memberProfile});
    list << byView("ChannelMembersReply", membersReply, [](const ChannelMembersReply& r) {
        return qMakePair(r.getReq(), r.getProfiles());
    });
    list << byOperator("GroupChangeRoleRequest",
                       GroupChangeRoleRequest("g", "u", GroupRole::ADMIN));
    list << byOperator("GroupAddMemberPair", GroupAddMemberPair("g", {"1", "2"}));
    BrowseCategoryResult browse;
    ChannelCategory category;
    category.setCategoryID("7");
    browse.setCategories(QList<ChannelCategory>{category});
    browse.setInfos(QList<ChannelInfo>{sampleChannel()});
    list << byView("BrowseCategoryResult", browse, [](const BrowseCategoryResult& b) {
        return qMakePair(b.getCategories(), b.getInfos());
    });

    list << byOperator("ChannelInfo", sampleChannel());
    list << byOperator("QList<ChannelInfo>", QList<ChannelInfo>{sampleChannel()});
    list << byOperator("ChannelCategory", category);
    list << byOperator("QHash<QString,ChannelCategory>",
                       QHash<QString, ChannelCategory>{{"7", category}});
    list << byOperator("ChannelMemberProfile", memberProfile);
    list << byOperator("ChannelMemberRole", ChannelMemberRole("news", "u", ChannelRole::ADMIN));
    list << byOperator("ChannelMessageCondition",
                       ChannelMessageCondition("news", "p", MessageCondition::DELETED));

    list << byOperator("GroupInfo", sampleGroup());
    list << byOperator("QList<GroupInfo>", QList<GroupInfo>{sampleGroup(), GroupInfo()});
    GroupMember member("u1");
    member.setRole(GroupRole::MEMBER);
    member.setProfile(profile);
    list << byOperator("GroupMember", member);
    GroupInfoMembers group;
    group.setInfo(sampleGroup());
    group.insertMember(member);
    list << byOperator("GroupInfoMembers", group);

    PollData poll("checkbox", "Q", {"a", "b"});
    poll.setChannelId("news");
    poll.setViewResults(true);
    list << byOperator("PollData", poll);
    list << byOperator("PollOption", PollOption("1", "a", true));
    PollResult result;
    result.setQuestion("Q");
    result.setTotalVotes(4);
    list << byOperator("PollResult", result);
    list << byOperator("LikePair", LikePair("news", "p", true));
    list << byOperator("LVRequest", LVRequest("news", {"p1", "p2"}));
    LVReply lvReply(LVRequest("news", {"p1"}));
    lvReply.addResult("p1", 9);
    list << byOperator("LVReply", lvReply);

    list << byOperator("MessageBase::MsgState", MessageBase::MsgState_Seen);
    list << byOperator("GroupRole::Role", GroupRole::OWNER);
    list << byOperator("ChannelRole::Role", ChannelRole::VISITOR);
    return list;
}

// Lives in the worker thread and sends every value straight back.
class Echo : public QObject
{
    Q_OBJECT
public slots:
    void take(const QVariant& value)
    {
        seenIn = QThread::currentThread();
        emit carried(value);
    }
    void takeMessage(const Message& m) { emit carriedMessage(m); }
    void takeLikes(const LVReply& reply) { emit carriedLikes(reply); }
    void takeChannelInfo(const ChannelInfo& info) { emit carriedChannelInfo(info); }
    void takeGroupList(const QList<GroupInfo>& groups) { emit carriedGroupList(groups); }
    void takeCategories(const QHash<QString, ChannelCategory>& categories)
    {
        emit carriedCategories(categories);
    }

signals:
    void carried(const QVariant& value);
    void carriedMessage(const Message& m);
    void carriedLikes(const LVReply& reply);
    void carriedChannelInfo(const ChannelInfo& info);
    void carriedGroupList(const QList<GroupInfo>& groups);
    void carriedCategories(const QHash<QString, ChannelCategory>& categories);

public:
    QThread* seenIn = nullptr;
};

// Lives in the test's thread: what the echo sends back arrives here queued.
class Collector : public QObject
{
    Q_OBJECT
public slots:
    void take(const QVariant& value) { emit got(value); }
    void takeMessage(const Message& m) { emit gotMessage(m); }
    void takeLikes(const LVReply& reply) { emit gotLikes(reply); }
    void takeChannelInfo(const ChannelInfo& info) { emit gotChannelInfo(info); }
    void takeGroupList(const QList<GroupInfo>& groups) { emit gotGroupList(groups); }
    void takeCategories(const QHash<QString, ChannelCategory>& categories)
    {
        emit gotCategories(categories);
    }

signals:
    void got(const QVariant& value);
    void gotMessage(const Message& m);
    void gotLikes(const LVReply& reply);
    void gotChannelInfo(const ChannelInfo& info);
    void gotGroupList(const QList<GroupInfo>& groups);
    void gotCategories(const QHash<QString, ChannelCategory>& categories);
};

class Sender : public QObject
{
    Q_OBJECT
signals:
    void send(const QVariant& value);
    void sendMessage(const Message& m);
    void sendLikes(const LVReply& reply);
    void sendChannelInfo(const ChannelInfo& info);
    void sendGroupList(const QList<GroupInfo>& groups);
    void sendCategories(const QHash<QString, ChannelCategory>& categories);
};
} // namespace

class TestMetaTypes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void crossesThreads_data();
    void crossesThreads();
    void typedSignalsCrossThreads();

private:
    QThread worker;
    Echo* echo = nullptr;
    Sender sender;
    Collector collector;
};

void TestMetaTypes::initTestCase()
{
    // Before any value of them exists, the names are unknown to Qt; after
    // registration every one resolves, as queued connections that name the
    // type in their signature need.
    QCOMPARE(QMetaType::type("GroupInfoMembers"), int(QMetaType::UnknownType));
    registerQuorvelMetaTypes();
    registerQuorvelMetaTypes(); // a second call is harmless
    for (const char* name : {"Message",
                             "MessageRequest",
                             "MessageReply",
                             "MessageState",
                             "Members",
                             "LastSeen",
                             "UISetting",
                             "BrowseCategoryResult",
                             "ChannelMembersRequest",
                             "ChannelMembersReply",
                             "GroupAddMemberPair",
                             "GroupChangeRoleRequest",
                             "ChannelIdAvailability",
                             "LVRequest",
                             "LVReply",
                             "LikePair",
                             "ChannelInfo",
                             "QList<ChannelInfo>",
                             "ChannelCategory",
                             "QHash<QString,ChannelCategory>",
                             "ChannelMemberProfile",
                             "ChannelMemberRole",
                             "ChannelMessageCondition",
                             "GroupInfo",
                             "QList<GroupInfo>",
                             "GroupInfoMembers",
                             "GroupMember",
                             "PollData",
                             "PollResult",
                             "Profile",
                             "QHash<QString,QJsonValue>"})
        QVERIFY2(QMetaType::type(name) != QMetaType::UnknownType, name);
    echo = new Echo;
    echo->moveToThread(&worker);
    connect(&worker, &QThread::finished, echo, &QObject::deleteLater);
    worker.start();
    connect(&sender, &Sender::send, echo, &Echo::take, Qt::QueuedConnection);
    // Connected by signature text, as the screens do: queuing needs the name.
    QVERIFY(connect(&sender, SIGNAL(sendLikes(LVReply)), echo, SLOT(takeLikes(LVReply)),
                    Qt::QueuedConnection));
    connect(&sender, &Sender::sendMessage, echo, &Echo::takeMessage, Qt::QueuedConnection);
    connect(&sender, &Sender::sendChannelInfo, echo, &Echo::takeChannelInfo, Qt::QueuedConnection);
    connect(&sender, &Sender::sendGroupList, echo, &Echo::takeGroupList, Qt::QueuedConnection);
    connect(&sender, &Sender::sendCategories, echo, &Echo::takeCategories, Qt::QueuedConnection);
    connect(echo, &Echo::carried, &collector, &Collector::take, Qt::QueuedConnection);
    connect(echo, &Echo::carriedMessage, &collector, &Collector::takeMessage, Qt::QueuedConnection);
    connect(echo, SIGNAL(carriedLikes(LVReply)), &collector, SLOT(takeLikes(LVReply)),
            Qt::QueuedConnection);
    connect(echo, &Echo::carriedChannelInfo, &collector, &Collector::takeChannelInfo,
            Qt::QueuedConnection);
    connect(echo, &Echo::carriedGroupList, &collector, &Collector::takeGroupList,
            Qt::QueuedConnection);
    connect(echo, &Echo::carriedCategories, &collector, &Collector::takeCategories,
            Qt::QueuedConnection);
}

void TestMetaTypes::cleanupTestCase()
{
    worker.quit();
    worker.wait();
}

void TestMetaTypes::crossesThreads_data()
{
    QTest::addColumn<int>("index");
    const QList<Entry> list = entries();
    for (int i = 0; i < list.size(); ++i)
        QTest::newRow(qPrintable(list.at(i).typeName)) << i;
}

void TestMetaTypes::crossesThreads()
{
    QFETCH(int, index);
    const Entry entry = entries().at(index);
    // Registered under its own name, so signals that name it can be queued.
    const int id = QMetaType::type(entry.typeName.toLatin1());
    QVERIFY2(id != QMetaType::UnknownType, qPrintable(entry.typeName));
    QCOMPARE(id, entry.value.userType());

    QSignalSpy spy(&collector, &Collector::got);
    emit sender.send(entry.value);
    QVERIFY(spy.wait(5000));
    QCOMPARE(echo->seenIn, &worker);
    const QVariant back = spy.at(0).at(0).value<QVariant>();
    QCOMPARE(back.userType(), id);
    QVERIFY(entry.equal(entry.value, back));
    // A value that differs is told apart (the comparison is not vacuous).
    QVERIFY(!entry.equal(entry.value, QVariant(id, nullptr)));
}

void TestMetaTypes::typedSignalsCrossThreads()
{
    const Message message = sampleMessage("typed");
    QSignalSpy messageSpy(&collector, &Collector::gotMessage);
    emit sender.sendMessage(message);
    QVERIFY(messageSpy.wait(5000));
    QCOMPARE(messageSpy.at(0).at(0).value<Message>(), message);

    LVReply likes(LVRequest("news", {"p1"}));
    likes.addResult("p1", 12);
    QSignalSpy likesSpy(&collector, &Collector::gotLikes);
    emit sender.sendLikes(likes);
    QVERIFY(likesSpy.wait(5000));
    QCOMPARE(likesSpy.at(0).at(0).value<LVReply>(), likes);

    const ChannelInfo channel = sampleChannel();
    QSignalSpy channelSpy(&collector, &Collector::gotChannelInfo);
    emit sender.sendChannelInfo(channel);
    QVERIFY(channelSpy.wait(5000));
    QCOMPARE(channelSpy.at(0).at(0).value<ChannelInfo>(), channel);

    const QList<GroupInfo> groups{sampleGroup()};
    QSignalSpy groupSpy(&collector, &Collector::gotGroupList);
    emit sender.sendGroupList(groups);
    QVERIFY(groupSpy.wait(5000));
    QCOMPARE(groupSpy.at(0).at(0).value<QList<GroupInfo>>(), groups);

    ChannelCategory category;
    category.setCategoryID("7");
    const QHash<QString, ChannelCategory> categories{{"7", category}};
    QSignalSpy categorySpy(&collector, &Collector::gotCategories);
    emit sender.sendCategories(categories);
    QVERIFY(categorySpy.wait(5000));
    QCOMPARE((categorySpy.at(0).at(0).value<QHash<QString, ChannelCategory>>()), categories);
}

QTEST_GUILESS_MAIN(TestMetaTypes)
#include "tst_metatypes.moc"
