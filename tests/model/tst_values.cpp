// Values of the command channel: requests and replies, channel, group, like
// and view values.

#include "logcapture.h"
#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "model/channelmemberprofile.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersrequest.h"
#include "model/channelmessagecondition.h"
#include "model/groupaddmemberpair.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/groupmember.h"
#include "model/likepair.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "model/members.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"

#include <QJsonArray>
#include <QtTest>

namespace {
QJsonObject channelObject(const QString& id)
{
    return {{"ChannelID", id},
            {"Name", "Channel " + id},
            {"Followed", "1"},
            {"MyRole", "ADMIN"},
            {"AvatarURL", "https://static.example/a.png"},
            {"AvatarThumbnailURL", "https://static.example/a_t.png"},
            {"Description", "about"},
            {"MembersCount", "25"},
            {"CreationDate", "1600000000"},
            {"ReplyAllowed", "1"},
            {"CategoryId", "7"}};
}

QJsonObject categoryObject(const QString& id)
{
    return {{"BannerUrl", "https://static.example/b" + id},
            {"Description", "d" + id},
            {"CategoryId", id},
            {"CategoryName", "c" + id},
            {"ParentCategoryId", "0"}};
}

QJsonObject groupObject()
{
    return {{"GroupAvatarThumbnailURL", "t"},
            {"GroupAvatarURL", "a"},
            {"CreationDate", 1500},
            {"Description", "d"},
            {"GroupJID", "g-1"},
            {"MembersCount", "12"},
            {"MyRole", "OWNER"},
            {"GroupName", "Friends"}};
}

QJsonObject memberObject()
{
    return {{"AddedByMe", 1},
            {"LastActivity", "1700000000"},
            {"Profile", QJsonObject{{"MemberID", "u1"},
                                    {"Nickname", "Ali"},
                                    {"CanReply", "1"},
                                    {"AvatarURL", "a"},
                                    {"AvatarThumbnailURL", "t"},
                                    {"Motto", "m"}}},
            {"Role", "MEMBER"},
            {"Username", "u1"}};
}

Message messageAt(const QString& id, qint64 time)
{
    Message m(MessageBase::MsgMajorType_SimpleChat, "u", "peer", id);
    m.setMessageId(id);
    m.setSendTimeInGMT(time);
    return m;
}

QStringList idsOf(const QList<Message>& messages)
{
    QStringList ids;
    for (const Message& m : messages)
        ids << m.getMessageId();
    return ids;
}
} // namespace

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { log = new LogCapture; }
    void init() { log->clear(); }
    void cleanupTestCase() { delete log; }

    void messageRequest();
    void messageReplySorting_data();
    void messageReplySorting();
    void messageReplyReplies();
    void members();
    void channelMembersRequest();
    void groupAddMemberPair();
    void browseCategories();

    void channelInfoRequiredKeys_data();
    void channelInfoRequiredKeys();
    void channelInfoNumbers_data();
    void channelInfoNumbers();
    void channelInfoOptionalAndStored();
    void channelSmallValues();

    void groupInfo_data();
    void groupInfo();
    void groupInfoStored();
    void groupMember_data();
    void groupMember();
    void groupInfoMembers();

    void likesAndViews();

private:
    LogCapture* log = nullptr;
};

void TestValues::messageRequest()
{
    MessageRequest a("chat", "m1", 20, MessageBase::MsgMajorType_GroupChat);
    MessageRequest b("chat", "m1", 20, MessageBase::MsgMajorType_ChannelChat);
    QVERIFY(a == b); // the chat type is not compared
    b.setNumber(21);
    QVERIFY(!a.isEqual(b));
    a.clear();
    QVERIFY(a.isEmpty());
    QCOMPARE(a.getMessageId(), QString("m1"));
}

void TestValues::messageReplySorting_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("numberAfter");
    QTest::newRow("all") << 0 << QStringList{"e", "d", "c", "b", "a"} << 5;
    QTest::newRow("two newest") << 2 << QStringList{"e", "d"} << 2;
    QTest::newRow("more than there are") << 9 << QStringList{"e", "d", "c", "b", "a"} << 9;
}

void TestValues::messageReplySorting()
{
    QFETCH(int, number);
    QFETCH(QStringList, expected);
    QFETCH(int, numberAfter);
    const QList<Message> messages{messageAt("c", 300), messageAt("a", -100), messageAt("e", 500),
                                  messageAt("b", 200), messageAt("d", 400)};
    MessageReply reply;
    reply.setRequest(MessageRequest("peer", "", number, MessageBase::MsgMajorType_SimpleChat));
    reply.sortAndSetMessages(messages);
    QCOMPARE(idsOf(reply.getMsgs()), expected);
    QCOMPARE(reply.getRequest().getNumber(), numberAfter);
}

void TestValues::messageReplyReplies()
{
    // Equal times: each message is kept once.
    const QList<Message> same{messageAt("x", 5), messageAt("y", 5), messageAt("z", 5)};
    QStringList sorted = idsOf(MessageReply::sortMessages(same));
    QCOMPARE(sorted.size(), 3);
    sorted.sort();
    QCOMPARE(sorted, QStringList({"x", "y", "z"}));

    MessageReply reply;
    reply.addReplyMessage(messageAt("parent", 1));
    Message out;
    QVERIFY(reply.getReplyMessage("parent", &out));
    QCOMPARE(out.getMessageId(), QString("parent"));
    QVERIFY(!reply.getReplyMessage("other", &out));
    QCOMPARE(reply.getReplyMessages().size(), 1);
    const MessageReply copy(reply);
    QCOMPARE(copy.getReplyMessages().keys(), QStringList({"parent"}));
}

void TestValues::members()
{
    Members members;
    QVERIFY(members.isEmpty());
    members.setRequestId("chat-1");
    members.addNumber("98912");
    members.addNumber("98912");
    QCOMPARE(members.requestSize(), 1);
    members.addNumbers(QStringList{"1", "2", "1"});
    QCOMPARE(members.requestSize(), 3);
    members.removeNumber("1");
    QCOMPARE(members.getNumbers(), QSet<QString>({"98912", "2"}));
    Profile profile;
    profile.setMemberID("m-7");
    members.addProfile(profile);
    QCOMPARE(members.getProfiles().keys(), QStringList({"m-7"}));
    members.clear();
    QVERIFY(members.isEmpty());
}

void TestValues::channelMembersRequest()
{
    QCOMPARE(ChannelMembersRequest::toString(ChannelMembersRequest::ReqType_All), QString("0"));
    QCOMPARE(ChannelMembersRequest::toString(ChannelMembersRequest::ReqType_Followers),
             QString("2"));
    QCOMPARE(ChannelMembersRequest::toString(static_cast<ChannelMembersRequest::ReqType>(3)),
             QString());
    ChannelMembersRequest request("news", ChannelMembersRequest::ReqType_Managers, 20, 10);
    QCOMPARE(request.getReqTypeString(), QString("1"));
}

void TestValues::groupAddMemberPair()
{
    GroupAddMemberPair pair;
    pair.addNumber("a");
    pair.addNumber("A");
    pair.addNumber("a");
    QCOMPARE(pair.getNumbers(), QStringList({"a", "A"}));
    pair.setNumbers({"x", "y", "x"});
    pair.removeNumber("x");
    QCOMPARE(pair.getNumbers(), QStringList({"y"}));
    pair.removeNumber("missing");
    pair.clearNumbers();
    QVERIFY(pair.getNumbers().isEmpty());
}

void TestValues::browseCategories()
{
    QJsonObject broken = channelObject("bad");
    broken.remove("CategoryId");
    QJsonObject replaced = categoryObject("10");
    replaced.insert("CategoryName", "second ten");
    QJsonObject noBanner = categoryObject("3");
    noBanner.remove("BannerUrl");
    const QJsonObject reply{
        {"Channels", QJsonArray{channelObject("c1"), broken, channelObject("c2")}},
        {"Categories", QJsonArray{categoryObject("10"), categoryObject("2"), categoryObject("1"),
                                  replaced, noBanner}}};
    BrowseCategoryResult result;
    result.setDataFromJson(reply);
    QCOMPARE(result.getInfos().size(), 2);
    QCOMPARE(result.getInfos().at(1).getId(), QString("c2"));
    QStringList ids;
    for (const ChannelCategory& category : result.getCategories())
        ids << category.getCategoryID();
    QCOMPARE(ids, QStringList({"1", "10", "2"}));
    QCOMPARE(result.getCategories().at(1).getCategoryName(), QString("second ten"));

    result.setDataFromJson(QJsonObject{{"Channels", QJsonArray{channelObject("c3")}}});
    QVERIFY(result.getCategories().isEmpty());
    QCOMPARE(result.getInfos().size(), 1);
}

void TestValues::channelInfoRequiredKeys_data()
{
    QTest::addColumn<QString>("missingKey");
    for (const char* key :
         {"ChannelID", "Name", "Followed", "MyRole", "AvatarURL", "AvatarThumbnailURL",
          "Description", "MembersCount", "CreationDate", "ReplyAllowed", "CategoryId"})
        QTest::newRow(key) << QString(key);
}

void TestValues::channelInfoRequiredKeys()
{
    QFETCH(QString, missingKey);
    ChannelInfo info;
    QVERIFY(info.setDataFromJson(channelObject("first")));
    const ChannelInfo before = info;
    QJsonObject object = channelObject("second");
    object.remove(missingKey);
    QVERIFY(!info.setDataFromJson(object));
    QVERIFY(info == before);
}

void TestValues::channelInfoNumbers_data()
{
    QTest::addColumn<QJsonValue>("count");
    QTest::addColumn<uint>("expected");
    QTest::addColumn<bool>("warned");
    QTest::newRow("text") << QJsonValue("25") << 25u << false;
    QTest::newRow("number") << QJsonValue(25) << 25u << false;
    QTest::newRow("not a number") << QJsonValue("many") << 0u << true;
    QTest::newRow("negative") << QJsonValue(-3) << 0u << true;
}

void TestValues::channelInfoNumbers()
{
    QFETCH(QJsonValue, count);
    QFETCH(uint, expected);
    QFETCH(bool, warned);
    QJsonObject object = channelObject("c");
    object.insert("MembersCount", count);
    object.insert("CreationDate", count);
    ChannelInfo info;
    QVERIFY(info.setDataFromJson(object));
    QCOMPARE(info.getMembersCount(), expected);
    QCOMPARE(info.getCreationDate(), expected);
    QCOMPARE(!log->warnings.isEmpty(), warned);
    // Written as text, which reads back to the same count.
    QCOMPARE(info.toJsonObject().value("MembersCount").toString(), QString::number(expected));
}

void TestValues::channelInfoOptionalAndStored()
{
    ChannelInfo info;
    info.setOwnerUserName("kept owner");
    info.setAdmins({"a1"});
    QJsonObject object = channelObject("c");
    object.insert("MyRole", "owner");
    QVERIFY(info.setDataFromJson(object));
    QCOMPARE(info.getMyRole(), ChannelRole::NONE);
    QVERIFY(log->logged("unknown role"));
    QCOMPARE(info.getOwnerUserName(), QString("kept owner"));
    QCOMPARE(info.getAdmins(), QStringList({"a1"}));

    object.insert("Admins", QJsonArray{"a2", "a1", "a3"});
    object.insert("OwnerUsername", "o");
    QVERIFY(info.setDataFromJson(object));
    QVERIFY(info.setDataFromJson(object));
    // Each administrator once, however often the description is applied.
    QCOMPARE(info.getAdmins(), QStringList({"a1", "a2", "a3"}));
    QCOMPARE(info.toJsonObject().value("Admins").toArray(), QJsonArray({"a1", "a2", "a3"}));
    ChannelInfo noAdmins;
    QVERIFY(noAdmins.setDataFromJson(channelObject("c")));
    QVERIFY(!noAdmins.toJsonObject().contains("Admins"));

    info.setMute(true);
    info.setUnreadCount(4);
    ChannelInfo stored;
    QVERIFY(stored.setDataFromDBJson(info.toDBJsonObject()));
    QVERIFY(stored.getMute());
    QCOMPARE(stored.getUnreadCount(), 0); // rebuilt from the store, never written
    QCOMPARE(stored.toDBJsonObject(), info.toDBJsonObject());
    stored.setMute(true);
    QVERIFY(stored.setDataFromDBJson(info.toJsonObject()));
    QVERIFY(!stored.getMute());

    ChannelInfo fresh;
    fresh.setDBFields(info);
    QVERIFY(fresh.getMute());
    QVERIFY(fresh.getId().isEmpty());
}

void TestValues::channelSmallValues()
{
    QCOMPARE(ChannelRole::toString(ChannelRole::NONE), QString("NONE"));
    QCOMPARE(ChannelRole::toString(static_cast<ChannelRole::Role>(9)), QString("NONE"));
    QCOMPARE(ChannelRole::toRole("VISITOR"), ChannelRole::VISITOR);

    ChannelCategory category;
    QJsonObject noBanner = categoryObject("4");
    noBanner.remove("BannerUrl");
    QVERIFY(!category.setDataFromJson(noBanner));
    QVERIFY(category.getCategoryID().isEmpty());
    QVERIFY(category.setDataFromJson(categoryObject("4")));
    QCOMPARE(category.toJsonObject(), categoryObject("4"));

    ChannelMemberProfile profile;
    profile.setNickName("kept");
    profile.setDataFromJson(QJsonObject{{"Username", "u9"}});
    QCOMPARE(profile.getUserName(), QString("u9"));
    QCOMPARE(profile.getNickName(), QString("kept"));

    ChannelMessageCondition condition("news", "", MessageCondition::DELETED);
    QVERIFY(condition.isEmpty());
    condition.setMessageId("p1");
    QVERIFY(!condition.isEmpty());
    condition.clear();
    QVERIFY(condition.getMessageId().isEmpty());

    ChannelMemberRole role("", "m", ChannelRole::ADMIN);
    QVERIFY(role.isEmpty());
    role.setChannelId("news");
    role.setMemberId("");
    QVERIFY(!role.isEmpty());
}

void TestValues::groupInfo_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("creationDate");
    QTest::addColumn<int>("memberCount");
    QTest::newRow("date as text") << "CreationDate" << QJsonValue("1500") << true << 1500 << 12;
    QTest::newRow("date as number") << "CreationDate" << QJsonValue(1500) << true << 1500 << 12;
    QTest::newRow("date not a number") << "CreationDate" << QJsonValue("x") << true << 0 << 12;
    QTest::newRow("count as number") << "MembersCount" << QJsonValue(30) << true << 1500 << 30;
    QTest::newRow("no MyRole") << "MyRole" << QJsonValue(QJsonValue::Undefined) << false << 1500
                               << 12;
    QTest::newRow("no GroupName") << "GroupName" << QJsonValue(QJsonValue::Undefined) << false
                                  << 1500 << 12;
}

void TestValues::groupInfo()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(bool, accepted);
    QFETCH(int, creationDate);
    QFETCH(int, memberCount);
    QJsonObject object = groupObject();
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    GroupInfo info;
    QCOMPARE(info.setDataFromJson(object), accepted);
    QCOMPARE(info.getCreationDate(), creationDate);
    QCOMPARE(info.getMemberCount(), memberCount);
    QCOMPARE(info.getJid(), QString("g-1")); // read before the missing key
}

void TestValues::groupInfoStored()
{
    GroupInfo info(groupObject());
    QCOMPARE(info.getMyRole(), GroupRole::OWNER);
    info.setMute(true);
    info.setRemoved(true);
    info.setLastMessage(messageAt("last", 9));
    info.setUnreadCount(3);
    GroupInfo back;
    QVERIFY(back.setDataFromDBJson(info.toDBJsonObject()));
    QVERIFY(back.getMute());
    QVERIFY(back.getRemoved());
    QVERIFY(!back.getBlocked());
    QVERIFY(back.getLastMessage().isEmpty());
    QCOMPARE(back.getUnreadCount(), 0);
    QCOMPARE(back.toDBJsonObject(), info.toDBJsonObject());

    QJsonObject withoutFlag = info.toDBJsonObject();
    withoutFlag.remove("_removed");
    QVERIFY(back.setDataFromDBJson(withoutFlag));
    QVERIFY(!back.getRemoved());

    GroupInfo keep;
    keep.setDBFields(info);
    QVERIFY(keep.getMute() && keep.getRemoved());
    QVERIFY(keep.getName().isEmpty());

    info.clear();
    QVERIFY(info.isEmpty());
    QCOMPARE(info.getName(), QString("Friends"));

    QJsonObject lowerRole = groupObject();
    lowerRole.insert("MyRole", "owner");
    QCOMPARE(GroupInfo(lowerRole).getMyRole(), GroupRole::NONE);
}

void TestValues::groupMember_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("addedByMe");
    QTest::addColumn<int>("lastActivity");
    QTest::newRow("added by me") << "AddedByMe" << QJsonValue(1) << true << true << 1700000000;
    QTest::newRow("added flag as boolean")
        << "AddedByMe" << QJsonValue(true) << true << false << 1700000000;
    QTest::newRow("activity as number")
        << "LastActivity" << QJsonValue(1600000000) << true << true << 1600000000;
    QTest::newRow("activity as boolean")
        << "LastActivity" << QJsonValue(true) << true << true << 77;
    QTest::newRow("no activity") << "LastActivity" << QJsonValue(QJsonValue::Undefined) << false
                                 << true << 77;
    QTest::newRow("no user name") << "Username" << QJsonValue(QJsonValue::Undefined) << false
                                  << true << 1700000000;
}

void TestValues::groupMember()
{
    QFETCH(QString, key);
    QFETCH(QJsonValue, value);
    QFETCH(bool, accepted);
    QFETCH(bool, addedByMe);
    QFETCH(int, lastActivity);
    QJsonObject object = memberObject();
    if (value.isUndefined())
        object.remove(key);
    else
        object.insert(key, value);
    GroupMember member;
    member.setLastActivity(77);
    QCOMPARE(member.setDataFromJson(object), accepted);
    QCOMPARE(member.getAddedByMe(), addedByMe);
    QCOMPARE(member.getLastActivity(), lastActivity);
    if (accepted && key != QLatin1String("AddedByMe") && !value.isBool()) {
        QCOMPARE(member.getProfile().getNickName(), QString("Ali"));
        GroupMember back;
        QVERIFY(back.setDataFromJson(member.toJsonObject()));
        QCOMPARE(back, member);
    }
}

void TestValues::groupInfoMembers()
{
    GroupInfoMembers group;
    group.setInfo(GroupInfo(groupObject()));
    GroupMember first("u1");
    first.setRole(GroupRole::MEMBER);
    group.insertMember(first);
    GroupMember again("u1");
    again.setRole(GroupRole::ADMIN);
    group.insertMember(again);
    QCOMPARE(group.getMembers().size(), 1);
    QCOMPARE(group.getMembers().value("u1").getRole(), GroupRole::ADMIN);
    QCOMPARE(group.getInfo().getJid(), QString("g-1"));
}

void TestValues::likesAndViews()
{
    LVRequest request;
    request.addMessageIds({"a", "b", "a"});
    QCOMPARE(request.getMessageIds(), QStringList({"a", "b"}));
    request.setMessageIds({"a", "a"});
    QCOMPARE(request.size(), 2);
    request.removeMessageId("x");
    QCOMPARE(request.size(), 2);
    request.removeMessageId("a");
    QCOMPARE(request.size(), 0);

    LVRequest idsOnly("", {"m"});
    QVERIFY(idsOnly.isEmpty() && !idsOnly.isValid());
    LVRequest chatOnly("news", {});
    QVERIFY(chatOnly.isEmpty() && !chatOnly.isValid());

    LVReply reply(LVRequest("news", {"p1", "p2"}));
    QVERIFY(reply.isEmpty());
    QVERIFY(!reply.isValid());
    QCOMPARE(reply.getLikeCount("p1"), 0);
    reply.addResult("p1", 4);
    reply.addResult("p1", 5);
    QVERIFY(reply.isValid());
    QCOMPARE(reply.getLikeCount("p1"), 5);
    QCOMPARE(reply.getChatId(), QString("news"));
    reply.clearResults();
    QVERIFY(reply.isEmpty());
    QVERIFY(reply.getRequest().isValid());

    const LikePair like("news", "p1", true);
    QCOMPARE(like.getChannelId(), QString("news"));
    QVERIFY(like.getLiked());
}

QTEST_GUILESS_MAIN(TestValues)
#include "tst_values.moc"
