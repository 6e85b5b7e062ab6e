#include "../logcapture.h"
#include "Managers/Chat/chatwidgetdata.h"
#include "foundation/abstractmanager.h"
#include "foundation/queue.h"
#include "model/channellookup.h"
#include "model/grouplookup.h"
#include "model/messagepair.h"
#include "model/notificationmessage.h"
#include "model/userlookup.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

namespace {
QJsonObject channelJson()
{
    return {{"ID", "c1"},
            {"Link", "news"},
            {"Name", "News"},
            {"Description", "d"},
            {"AvatarURL", "https://h/a.png"},
            {"AvatarThumbnailURL", "https://h/t.png"},
            {"MembersCount", "1200"},
            {"CreationDate", "1700000000"},
            {"OwnerUsername", "owner"},
            {"CategoryId", "7"},
            {"ReplyAllowed", true}};
}

QJsonObject groupJson()
{
    return {{"JID", "g1@conference"},         {"Name", "G"},          {"Description", "d"},
            {"AvatarURL", "https://h/g.png"}, {"MembersCount", "12"}, {"JoinToken", "tok"}};
}

QJsonObject userJson()
{
    return {{"UserID", "u1"},
            {"Username", "ali"},
            {"Nickname", "Ali"},
            {"AvatarURL", "https://h/u.png"},
            {"AvatarThumbnailURL", "https://h/ut.png"},
            {"Motto", "hi"},
            {"OfficialUser", true}};
}

Message textMessage(const QString& id, const QString& replyTo = QString())
{
    Message message(MessageBase::MsgMajorType_SimpleChat, "alice", "bob", "hello");
    message.setMessageId(id);
    message.setReplyOnMessageId(replyTo);
    return message;
}

class Job : public Queueable
{
public:
    explicit Job(int* deleted) : deleted(deleted) {}
    ~Job() override { ++*deleted; }
    int* deleted;
};
} // namespace

class TestChatListValues : public QObject
{
    Q_OBJECT
private slots:
    void channelLookup();
    void channelLookupMissingKeys_data();
    void channelLookupMissingKeys();
    void groupLookup_data();
    void groupLookup();
    void userLookup();
    void lookupsFailWithoutChange();
    void defaultLookups();

    void chatListOrder_data();
    void chatListOrder();
    void chatWidgetDataKinds();

    void messagePair();
    void notificationMessage();

    void queue();
    void queueTimeout();

    void valuesCrossThreads();
};

void TestChatListValues::channelLookup()
{
    ChannelLookup lookup;
    QVERIFY(lookup.setDataFromJson(channelJson()));
    QCOMPARE(lookup.getId(), QString("c1"));
    QCOMPARE(lookup.getMembersCount(), 1200);
    QCOMPARE(lookup.getCreationDate(), 1700000000u);
    QCOMPARE(lookup.getReplyAllowed(), true);
    QCOMPARE(lookup.getChannelJoinLink(), false);
    QVERIFY(!lookup.toJsonObject().contains("JoinToken"));
    QCOMPARE(lookup.toJsonObject(), channelJson());

    QJsonObject withToken = channelJson();
    withToken.insert("JoinToken", "secret");
    QVERIFY(lookup.setDataFromJson(withToken));
    QVERIFY(lookup.getChannelJoinLink());
    QCOMPARE(lookup.getJoinToken(), QString("secret"));
    QCOMPARE(lookup.toJsonObject(), withToken);

    // Counts sent as JSON numbers read as well as decimal text.
    QJsonObject numbers = channelJson();
    numbers.insert("MembersCount", 1200);
    numbers.insert("CreationDate", 1700000000.0);
    ChannelLookup fromNumbers;
    QVERIFY(fromNumbers.setDataFromJson(numbers));
    QCOMPARE(fromNumbers.getMembersCount(), 1200);
    QCOMPARE(fromNumbers.getCreationDate(), 1700000000u);
}

void TestChatListValues::channelLookupMissingKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("parses");
    QTest::newRow("Link") << "Link" << false;
    QTest::newRow("ReplyAllowed") << "ReplyAllowed" << false;
    QTest::newRow("ID") << "ID" << true;
}

void TestChatListValues::channelLookupMissingKeys()
{
    QFETCH(QString, key);
    QFETCH(bool, parses);
    QJsonObject object = channelJson();
    object.remove(key);
    LogCapture log;
    ChannelLookup lookup;
    QCOMPARE(lookup.setDataFromJson(object), parses);
    QCOMPARE(log.logged("field not found: " + key), !parses);
    QCOMPARE(log.logged("ChannelLookup | required fields missing"), !parses);
    if (parses)
        QCOMPARE(lookup.getId(), QString());
}

void TestChatListValues::groupLookup_data()
{
    QTest::addColumn<QJsonValue>("membersCount");
    QTest::addColumn<int>("expected");
    QTest::newRow("text") << QJsonValue("12") << 12;
    QTest::newRow("number") << QJsonValue(12) << 12;
    QTest::newRow("not a number") << QJsonValue("twelve") << 0;
    QTest::newRow("object") << QJsonValue(QJsonObject()) << 0;
}

void TestChatListValues::groupLookup()
{
    QFETCH(QJsonValue, membersCount);
    QFETCH(int, expected);
    QJsonObject object = groupJson();
    object.insert("MembersCount", membersCount);
    GroupLookup lookup;
    QVERIFY(lookup.setDataFromJson(object));
    QCOMPARE(lookup.getMembersCount(), expected);
    QCOMPARE(lookup.getAvatarURL(), QString("https://h/g.png"));
    QCOMPARE(lookup.getAvatarThumbnailURL(), QString("https://h/g.png"));

    GroupLookup again;
    QVERIFY(again.setDataFromJson(lookup.toJsonObject()));
    QCOMPARE(again.toJsonObject(), lookup.toJsonObject());
    QCOMPARE(again.getMembersCount(), expected);
}

void TestChatListValues::userLookup()
{
    UserLookup lookup;
    QVERIFY(lookup.setDataFromJson(userJson()));
    QCOMPARE(lookup.getOfficialUser(), true);
    QCOMPARE(lookup.getMotto(), QString("hi"));
    QCOMPARE(lookup.toJsonObject(), userJson());

    QJsonObject notBool = userJson();
    notBool.insert("OfficialUser", "true");
    QVERIFY(lookup.setDataFromJson(notBool));
    QCOMPARE(lookup.getOfficialUser(), false);
}

void TestChatListValues::lookupsFailWithoutChange()
{
    UserLookup user;
    QVERIFY(user.setDataFromJson(userJson()));
    QJsonObject broken = userJson();
    broken.remove("Motto");
    broken.insert("Username", "other");
    LogCapture log;
    QVERIFY(!user.setDataFromJson(broken));
    QVERIFY(log.logged("field not found: Motto"));
    QVERIFY(log.logged("UserLookup | required fields missing"));
    QCOMPARE(user.getUsername(), QString("ali"));

    GroupLookup group;
    QJsonObject noToken = groupJson();
    noToken.remove("JoinToken");
    QVERIFY(!group.setDataFromJson(noToken));
    QVERIFY(log.logged("field not found: JoinToken"));
    QVERIFY(log.logged("GroupLookup | required fields missing"));
    QCOMPARE(group.getName(), QString());
}

void TestChatListValues::defaultLookups()
{
    const ChannelLookup channel;
    QCOMPARE(channel.getMembersCount(), 0);
    QCOMPARE(channel.getCreationDate(), 0u);
    QVERIFY(!channel.getReplyAllowed() && !channel.getChannelJoinLink());
    QVERIFY(channel.getName().isEmpty());
    QVERIFY(!UserLookup().getOfficialUser());
    QCOMPARE(GroupLookup().getMembersCount(), 0);
    QCOMPARE(UserLookup::getJsonKeys().size(), 7);
}

namespace {
ChatWidgetData chatEntry(qint64 sendTime)
{
    Message last = textMessage("m");
    last.setSendTimeInGMT(sendTime);
    ChatRecipient recipient;
    recipient.setLastMsg(last);
    return ChatWidgetData(recipient);
}

ChatWidgetData groupEntry(qint64 sendTime)
{
    Message last = textMessage("g");
    last.setSendTimeInGMT(sendTime);
    GroupInfo info;
    info.setLastMessage(last);
    return ChatWidgetData(info);
}
} // namespace

void TestChatListValues::chatListOrder_data()
{
    QTest::addColumn<ChatWidgetData>("a");
    QTest::addColumn<ChatWidgetData>("b");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("greater");

    QTest::newRow("equal") << chatEntry(1000) << groupEntry(1000) << false << false;
    QTest::newRow("older chat") << chatEntry(999) << groupEntry(1000) << true << false;
    QTest::newRow("newer group") << groupEntry(1700000000000) << chatEntry(5) << false << true;
    QTest::newRow("before 1970") << chatEntry(-1) << chatEntry(0) << true << false;
    QTest::newRow("beyond 32 bits")
        << chatEntry(4294967296) << chatEntry(4294967295) << false << true;
    QTest::newRow("default entry") << ChatWidgetData() << chatEntry(1) << true << false;
}

void TestChatListValues::chatListOrder()
{
    QFETCH(ChatWidgetData, a);
    QFETCH(ChatWidgetData, b);
    QFETCH(bool, less);
    QFETCH(bool, greater);
    QCOMPARE(a < b, less);
    QCOMPARE(a > b, greater);
    QCOMPARE(b < a, greater);
}

void TestChatListValues::chatWidgetDataKinds()
{
    const ChatWidgetData none;
    QCOMPARE(none.getType(), MessageBase::MsgMajorType_None);
    QCOMPARE(none.getLastActivity(), qint64(0));

    // The entry's kind decides which last message counts.
    ChatWidgetData entry = chatEntry(10);
    QCOMPARE(entry.getType(), MessageBase::MsgMajorType_SimpleChat);
    entry.fromGroupInfo(groupEntry(20).getGroupInfo());
    QCOMPARE(entry.getType(), MessageBase::MsgMajorType_GroupChat);
    QCOMPARE(entry.getLastActivity(), qint64(20));
    entry.fromChatRecipient(chatEntry(30).getRecipient());
    QCOMPARE(entry.getLastActivity(), qint64(30));

    QList<ChatWidgetData> list{chatEntry(3), groupEntry(1), chatEntry(2)};
    std::sort(list.begin(), list.end());
    QCOMPARE(list.at(0).getType(), MessageBase::MsgMajorType_GroupChat);
    QCOMPARE(list.at(2).getLastActivity(), qint64(3));
}

void TestChatListValues::messagePair()
{
    MessagePair pair;
    QVERIFY(!pair.isValid());
    QVERIFY(!pair.isReplyAvailable());

    // A stored reply message does not make a pair whose message answers nothing a reply.
    pair.setMessage(textMessage("m2"));
    pair.setReplyMessage(textMessage("m1"));
    QVERIFY(pair.isValid());
    QVERIFY(pair.isReplyMessageValid());
    QVERIFY(!pair.isMessageAReply());
    QVERIFY(!pair.isReplyAvailable());

    pair.setMessage(textMessage("m2", "m1"));
    QVERIFY(pair.isReplyAvailable());
    QCOMPARE(pair.getChatId(), QString("bob"));
    QCOMPARE(pair.getUserId(), QString("alice"));
    QCOMPARE(pair.getMajorType(), MessageBase::MsgMajorType_SimpleChat);

    pair.getReplyMessagePointer()->setMessageBody("filled in place");
    MessagePair copy;
    copy.fromPair(pair);
    QCOMPARE(copy.getReplyMessage().getMessageBody(), QString("filled in place"));
    QCOMPARE(copy.getMessage().getMessageId(), QString("m2"));

    MessagePair answered;
    answered.setMessage(textMessage("m3", "m1"));
    QVERIFY(!answered.isReplyAvailable());
}

void TestChatListValues::notificationMessage()
{
    NotificationMessage notification;
    QVERIFY(notification.isEmpty());
    QVERIFY(!notification.isValid());

    notification.setMessage(textMessage("m1"));
    QVERIFY(notification.isEmpty());
    QVERIFY(!notification.isValid());

    notification.setTitle("Bob");
    notification.setAvThUrl("https://h/a.png");
    QVERIFY(notification.isValid());
    QVERIFY(!notification.isEmpty());

    notification.getMessageRef()->setMessageBody("changed");
    const NotificationMessage copy = notification;
    QCOMPARE(copy.getMessage().getMessageBody(), QString("changed"));
    QCOMPARE(copy.getAvThUrl(), QString("https://h/a.png"));
    QCOMPARE(copy.getTitle(), QString("Bob"));

    NotificationMessage titled;
    titled.setTitle("only a title");
    QVERIFY(titled.isEmpty());
    QVERIFY(!titled.isValid());

    notification.clear();
    QVERIFY(notification.isEmpty());
    QVERIFY(notification.getTitle().isEmpty() && notification.getAvThUrl().isEmpty());
}

void TestChatListValues::queue()
{
    int deleted = 0;
    {
        Queue queue;
        QSignalSpy next(&queue, &Queue::nextItem);
        // Finishing with nothing current does nothing.
        queue.currentItemTaskFinished();
        QCOMPARE(next.count(), 0);

        Job* first = new Job(&deleted);
        Job* second = new Job(&deleted);
        queue.enqueue(first);
        queue.enqueue(second);
        queue.enqueue(new Job(&deleted));
        QCOMPARE(next.count(), 1);
        QCOMPARE(next.at(0).at(0).value<Queueable*>(), static_cast<Queueable*>(first));
        QCOMPARE(queue.count(), 3);

        queue.currentItemTaskFinished();
        QCOMPARE(deleted, 1);
        QCOMPARE(next.count(), 2);
        QCOMPARE(queue.getCurrentItem(), static_cast<Queueable*>(second));
    }
    // The queue owns what it still holds.
    QCOMPARE(deleted, 3);
}

void TestChatListValues::queueTimeout()
{
    int deleted = 0;
    Queue queue;
    queue.setTimeout(20);
    QSignalSpy timedOut(&queue, &Queue::currentItemTimedOut);
    queue.enqueue(new Job(&deleted));
    QVERIFY(timedOut.wait(1000));
    QCOMPARE(timedOut.count(), 1);

    // Once the last job is finished no time-out fires for it.
    queue.currentItemTaskFinished();
    QTest::qWait(60);
    QCOMPARE(timedOut.count(), 1);
    QCOMPARE(queue.count(), 0);
}

namespace {
class Sender : public QObject
{
    Q_OBJECT
signals:
    void values(MessagePair pair, NotificationMessage notification, ChannelLookup channel,
                GroupLookup group, UserLookup user);
};

class Receiver : public QObject
{
    Q_OBJECT
public slots:
    void take(MessagePair pair, NotificationMessage notification, ChannelLookup channel,
              GroupLookup group, UserLookup user)
    {
        this->pair = pair;
        this->notification = notification;
        this->channel = channel;
        this->group = group;
        this->user = user;
        thread = QThread::currentThread();
    }

public:
    MessagePair pair;
    NotificationMessage notification;
    ChannelLookup channel;
    GroupLookup group;
    UserLookup user;
    QThread* thread = nullptr;
};
} // namespace

void TestChatListValues::valuesCrossThreads()
{
    qRegisterMetaType<MessagePair>("MessagePair");
    qRegisterMetaType<NotificationMessage>("NotificationMessage");
    qRegisterMetaType<ChannelLookup>("ChannelLookup");
    qRegisterMetaType<GroupLookup>("GroupLookup");
    qRegisterMetaType<UserLookup>("UserLookup");

    QThread worker;
    Receiver receiver;
    receiver.moveToThread(&worker);
    Sender sender;
    connect(&sender, &Sender::values, &receiver, &Receiver::take, Qt::QueuedConnection);
    worker.start();

    MessagePair pair;
    pair.setMessage(textMessage("m2", "m1"));
    pair.setReplyMessage(textMessage("m1"));
    NotificationMessage notification;
    notification.setMessage(textMessage("m2"));
    notification.setTitle("Bob");
    ChannelLookup channel;
    QVERIFY(channel.setDataFromJson(channelJson()));
    GroupLookup group;
    QVERIFY(group.setDataFromJson(groupJson()));
    UserLookup user;
    QVERIFY(user.setDataFromJson(userJson()));
    emit sender.values(pair, notification, channel, group, user);

    QTRY_COMPARE(receiver.thread, &worker);
    worker.quit();
    worker.wait();
    QVERIFY(receiver.pair.isReplyAvailable());
    QCOMPARE(receiver.pair.getReplyMessage().toDBJson(), pair.getReplyMessage().toDBJson());
    QCOMPARE(receiver.notification.getTitle(), QString("Bob"));
    QCOMPARE(receiver.channel.toJsonObject(), channelJson());
    QCOMPARE(receiver.group.toJsonObject(), group.toJsonObject());
    QCOMPARE(receiver.user.toJsonObject(), userJson());
}

QTEST_MAIN(TestChatListValues)
#include "tst_chatlistvalues.moc"
