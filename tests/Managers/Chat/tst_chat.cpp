#include "Managers/Chat/chat.h"
#include "foundation/database.h"
#include "model/globalconstants.h"
#include "storefiles.h"
#include "storewrites.h"
#include "testcrypto.h"

#include <QDir>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(Chat::ChatMode)

namespace {
using State = MessageBase::MsgState;

Message makeMessage(const QString& chatId, const QString& id, qint64 time,
                    const QString& user = QStringLiteral("989120000001"),
                    State state = MessageBase::MsgState_Delivered)
{
    Message message(MessageBase::MsgMajorType_SimpleChat, user, chatId,
                    QStringLiteral("body of ") + id);
    message.setMessageId(id);
    message.setSendTimeInGMT(time);
    message.setState(state);
    return message;
}

// The ids by position, oldest first.
QStringList idsInOrder(Chat& chat)
{
    QStringList ids;
    for (int counter = chat.getMinCounter(); counter <= chat.getMaxCounter(); ++counter) {
        Message message;
        if (chat.getMessage(counter, &message))
            ids.append(message.getMessageId());
    }
    return ids;
}

QStringList idsOf(const QList<Message>& list)
{
    QStringList ids;
    for (const Message& message : list)
        ids.append(message.getMessageId());
    return ids;
}

QString freshChatId()
{
    static int next = 0;
    return QStringLiteral("98912%1").arg(++next, 7, 10, QLatin1Char('0'));
}

struct Insert
{
    QString id;
    qint64 time;
};
} // namespace
Q_DECLARE_METATYPE(QList<Insert>)

class TestChat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void placement_data();
    void placement();
    void randomOrderReadsBackInTimeOrder_data();
    void randomOrderReadsBackInTimeOrder();
    void sameIdTwiceKeepsOnePosition();
    void refusesInvalidAndForeignAndBookkeepingIds_data();
    void refusesInvalidAndForeignAndBookkeepingIds();
    void refusesWhenStoreCannotBeWritten();
    void storeThatCouldNotOpenTakesMessagesOnceItCan();
    void olderMessageRewritesOnlyTheShorterSide();
    void olderPageInAnyOrderWritesEachPositionOnce_data();
    void olderPageInAnyOrderWritesEachPositionOnce();
    void batchEndsAsAddedOneByOne_data();
    void batchEndsAsAddedOneByOne();
    void historyLongerThanWhatIsKeptInMemory();

    void stateNeverGoesBackwards_data();
    void stateNeverGoesBackwards();
    void seenWalk();
    void statesToSeenReturnsEveryFoundId();
    void seenReachesOnlyItsScope_data();
    void seenReachesOnlyItsScope();
    void unreadCount_data();
    void unreadCount();
    void ownMessagesAreTheChatIdentitys();
    void unreadCountFollowsEveryChange_data();
    void unreadCountFollowsEveryChange();

    void pagingBothWays_data();
    void pagingBothWays();
    void pagingByTime();
    void editsLikesAndFilePaths();
    void newSendTimeKeepsTimeOrder_data();
    void newSendTimeKeepsTimeOrder();
    void reopenReadsBackAsBefore();
    void damagedChatDataIsRebuilt();
    void killAfterAnyPlacementLosesNothing();
    void clearDeletesTheStore();

    void legacyNameIsTheCutDigest();
    void collidingLegacyNamesGetSeparateStores();
    void existingLegacyStoreOfThisChatIsKept();
    void legacyStoreOfAnotherChatIsLeftAlone();
};

void TestChat::initTestCase()
{
    GlobalConstants::setUserName(QStringLiteral("me"));
}

void TestChat::placement_data()
{
    QTest::addColumn<Chat::ChatMode>("mode");
    QTest::addColumn<QList<Insert>>("inserts");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("minCounter");
    QTest::addColumn<int>("maxCounter");

    struct Row
    {
        const char* name;
        QList<Insert> inserts;
        QStringList order;
        int min;
        int max;
    };
    const QList<Row> rows = {
        {"first message", {{"a", 100}}, {"a"}, 1, 1},
        {"first message before 1970", {{"a", -5}}, {"a"}, 1, 1},
        {"same time as newest goes on top", {{"a", 100}, {"b", 100}}, {"a", "b"}, 1, 2},
        {"newer", {{"a", 100}, {"b", 200}}, {"a", "b"}, 1, 2},
        {"older than oldest", {{"a", 100}, {"b", 50}, {"c", 10}}, {"c", "b", "a"}, -1, 1},
        {"between, near the top",
         {{"a", 100}, {"b", 200}, {"c", 300}, {"d", 400}, {"e", 350}},
         {"a", "b", "c", "e", "d"},
         1,
         5},
        {"between, near the bottom (only lower positions move)",
         {{"a", 100}, {"b", 200}, {"c", 300}, {"d", 400}, {"e", 150}},
         {"a", "e", "b", "c", "d"},
         0,
         4},
        {"between, equal to a stored time goes above it",
         {{"a", 100}, {"b", 200}, {"c", 300}, {"d", 200}},
         {"a", "b", "d", "c"},
         1,
         4},
        {"older history arriving oldest first leaves the newest in place",
         {{"n1", 1000},
          {"n2", 1001},
          {"n3", 1002},
          {"n4", 1003},
          {"o1", 10},
          {"o2", 20},
          {"o3", 30},
          {"o4", 40}},
         {"o1", "o2", "o3", "o4", "n1", "n2", "n3", "n4"},
         -3,
         4},
    };
    for (Chat::ChatMode mode : {Chat::ChatMode_Memory, Chat::ChatMode_Stored}) {
        for (const Row& row : rows) {
            QTest::addRow("%s, mode %d", row.name, int(mode))
                << mode << row.inserts << row.order << row.min << row.max;
        }
    }
}

void TestChat::placement()
{
    QFETCH(Chat::ChatMode, mode);
    QFETCH(QList<Insert>, inserts);
    QFETCH(QStringList, order);
    QFETCH(int, minCounter);
    QFETCH(int, maxCounter);

    const QString chatId = freshChatId();
    auto chat = std::make_unique<Chat>();
    chat->setChatId(chatId, mode);
    qint64 newest = LLONG_MIN;
    qint64 oldest = LLONG_MAX;
    for (const Insert& insert : inserts) {
        bool isNewest = false;
        QVERIFY(chat->addMessage(makeMessage(chatId, insert.id, insert.time), &isNewest));
        QCOMPARE(isNewest, insert.time >= newest);
        newest = qMax(newest, insert.time);
        oldest = qMin(oldest, insert.time);
    }
    QCOMPARE(idsInOrder(*chat), order);
    QCOMPARE(chat->getMinCounter(), minCounter);
    QCOMPARE(chat->getMaxCounter(), maxCounter);
    QCOMPARE(chat->getNumberOfMessages(), order.size());
    QCOMPARE(chat->getLastSentTime(), newest);
    QCOMPARE(chat->getFirstSentTime(), oldest);
    Message last;
    QVERIFY(chat->getLastMessage(&last));
    QCOMPARE(last.getMessageId(), order.last());

    if (mode == Chat::ChatMode_Stored) {
        chat.reset(new Chat);
        chat->setChatId(chatId, mode);
        QCOMPARE(idsInOrder(*chat), order);
        QCOMPARE(chat->getMinCounter(), minCounter);
        QCOMPARE(chat->getMaxCounter(), maxCounter);
    }
}

void TestChat::randomOrderReadsBackInTimeOrder_data()
{
    QTest::addColumn<Chat::ChatMode>("mode");
    QTest::newRow("memory") << Chat::ChatMode_Memory;
    QTest::newRow("stored") << Chat::ChatMode_Stored;
}

void TestChat::randomOrderReadsBackInTimeOrder()
{
    QFETCH(Chat::ChatMode, mode);
    const QString chatId = freshChatId();
    QRandomGenerator random(7);
    QList<qint64> times;
    for (int i = 0; i < 300; ++i)
        times.append(1600000000000LL + qint64(random.bounded(100000)));

    {
        Chat chat;
        chat.setChatId(chatId, mode);
        for (int i = 0; i < times.size(); ++i)
            QVERIFY(chat.addMessage(makeMessage(chatId, QString::number(i) + "x", times[i])));
        QCOMPARE(chat.getNumberOfMessages(), times.size());
        qint64 previous = LLONG_MIN;
        for (int c = chat.getMinCounter(); c <= chat.getMaxCounter(); ++c) {
            Message message;
            QVERIFY2(chat.getMessage(c, &message), qPrintable(QString::number(c)));
            QVERIFY(message.getSendTimeInGMT() >= previous);
            previous = message.getSendTimeInGMT();
        }
        if (mode == Chat::ChatMode_Memory)
            return;
    }
    Chat reopened;
    reopened.setChatId(chatId, mode);
    QCOMPARE(reopened.getNumberOfMessages(), times.size());
    QStringList ids = idsInOrder(reopened);
    QCOMPARE(ids.size(), times.size());
    for (int i = 1; i < ids.size(); ++i) {
        Message a, b;
        QVERIFY(reopened.getMessage(ids[i - 1], &a));
        QVERIFY(reopened.getMessage(ids[i], &b));
        QVERIFY(a.getSendTimeInGMT() <= b.getSendTimeInGMT());
    }
}

void TestChat::sameIdTwiceKeepsOnePosition()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(chat.addMessage(makeMessage(chatId, "a", 100)));
    QVERIFY(chat.addMessage(makeMessage(chatId, "b", 200)));
    chat.setLikeCount("a", 5);
    QCOMPARE(chat.changeMessageState("a", MessageBase::MsgState_Seen), QStringList{"a"});

    Message again = makeMessage(chatId, "a", 100, "989120000001", MessageBase::MsgState_Sent);
    again.setMessageBody("replaced");
    bool isNewest = true;
    QVERIFY(chat.addMessage(again, &isNewest));
    QVERIFY(!isNewest);
    QCOMPARE(chat.getNumberOfMessages(), 2);
    Message stored;
    QVERIFY(chat.getMessage("a", &stored));
    QCOMPARE(stored.getMessageBody(), QString("replaced"));
    QCOMPARE(stored.getLikes(), 5);
    QCOMPARE(stored.getState(), MessageBase::MsgState_Seen);

    QVERIFY(chat.addMessage(makeMessage(chatId, "b", 200), &isNewest));
    QVERIFY(isNewest);
    QCOMPARE(idsInOrder(chat), (QStringList{"a", "b"}));
}

void TestChat::refusesInvalidAndForeignAndBookkeepingIds_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<bool>("invalid");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain id") << "des_1_2_3" << false << false << true;
    QTest::newRow("chatData") << "chatData" << false << false << false;
    QTest::newRow("counter 1") << "1" << false << false << false;
    QTest::newRow("counter 0") << "0" << false << false << false;
    QTest::newRow("negative counter") << "-3" << false << false << false;
    QTest::newRow("zero-padded is no counter") << "017" << false << false << true;
    QTest::newRow("digits and text") << "17a" << false << false << true;
    QTest::newRow("empty id") << "" << false << false << false;
    QTest::newRow("another chat") << "x1" << true << false << false;
    QTest::newRow("invalid message") << "x2" << false << true << false;
}

void TestChat::refusesInvalidAndForeignAndBookkeepingIds()
{
    QFETCH(QString, id);
    QFETCH(bool, foreign);
    QFETCH(bool, invalid);
    QFETCH(bool, accepted);

    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        QVERIFY(chat.addMessage(makeMessage(chatId, "first", 100)));
        QVERIFY(chat.addMessage(makeMessage(chatId, "second", 200)));
        Message message = makeMessage(foreign ? QStringLiteral("other") : chatId, id, 300);
        if (invalid)
            message.clear();
        bool isNewest = true;
        QCOMPARE(chat.addMessage(message, &isNewest), accepted);
        QCOMPARE(isNewest, accepted);
        QCOMPARE(chat.getNumberOfMessages(), accepted ? 3 : 2);
    }
    // The store's own records are intact.
    Chat reopened;
    reopened.setChatId(chatId, Chat::ChatMode_Stored);
    QStringList expected{"first", "second"};
    if (accepted)
        expected.append(id);
    QCOMPARE(idsInOrder(reopened), expected);
    QVERIFY(reopened.addMessage(makeMessage(chatId, "third", 400)));
    QCOMPARE(idsInOrder(reopened).last(), QString("third"));
}

void TestChat::refusesWhenStoreCannotBeWritten()
{
    const QString chatId = freshChatId();
    Chat holder;
    holder.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(holder.dbIsOpen());
    QVERIFY(holder.addMessage(makeMessage(chatId, "a", 100)));

    // The store is locked by the first holder: this one cannot write.
    Chat second;
    second.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(!second.dbIsOpen());
    QVERIFY(!second.addMessage(makeMessage(chatId, "b", 200)));
    QVERIFY(second.isEmpty());
    QVERIFY(!holder.messageExists(makeMessage(chatId, "b", 200)));
}

void TestChat::storeThatCouldNotOpenTakesMessagesOnceItCan()
{
    // A chat first opened while its store could not be (held elsewhere here;
    // a full disk in use) is not lost for good: once the store can open, the
    // next message goes in after the history the store already holds.
    const QString chatId = freshChatId();
    auto holder = std::make_unique<Chat>();
    holder->setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(holder->addMessage(makeMessage(chatId, "a", 100)));
    QVERIFY(holder->addMessage(makeMessage(chatId, "b", 200)));

    auto late = std::make_unique<Chat>();
    late->setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(!late->dbIsOpen());
    QVERIFY(!late->addMessage(makeMessage(chatId, "c", 300)));
    late->addMessages({makeMessage(chatId, "d", 400)});
    QVERIFY(late->isEmpty());

    holder.reset();
    bool newest = false;
    QVERIFY(late->addMessage(makeMessage(chatId, "c", 300), &newest));
    QVERIFY(newest);
    late->addMessages({makeMessage(chatId, "d", 400), makeMessage(chatId, "a0", 50)});
    QCOMPARE(idsInOrder(*late), QStringList({"a0", "a", "b", "c", "d"}));

    late.reset();
    Chat reread;
    reread.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(idsInOrder(reread), QStringList({"a0", "a", "b", "c", "d"}));
}

void TestChat::olderMessageRewritesOnlyTheShorterSide()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    for (int i = 1; i <= 20; ++i)
        QVERIFY(chat.addMessage(makeMessage(chatId, QString("w%1").arg(i), 100 * i)));
    const QString store = chat.getChatDbName();
    QCOMPARE(storeWritesOf(store, "20"), 1);

    // Between w2 and w3: the two positions below move, the eighteen above stay.
    QVERIFY(chat.addMessage(makeMessage(chatId, "late", 250)));
    for (int counter = 3; counter <= 20; ++counter)
        QCOMPARE(storeWritesOf(store, QString::number(counter)), 1);
    QCOMPARE(storeWritesOf(store, "0"), 1);
    QCOMPARE(idsInOrder(chat).mid(0, 4), (QStringList{"w1", "w2", "late", "w3"}));

    // Older than the oldest: one position record.
    QVERIFY(chat.addMessage(makeMessage(chatId, "oldest", 1)));
    QCOMPARE(storeWritesOf(store, "-1"), 1);
    QCOMPARE(storeWritesOf(store, "2"), 2);
    QCOMPARE(idsInOrder(chat).first(), QString("oldest"));
}

void TestChat::olderPageInAnyOrderWritesEachPositionOnce_data()
{
    QTest::addColumn<int>("order");
    QTest::newRow("oldest first") << 1;
    QTest::newRow("newest first") << -1;
    QTest::newRow("shuffled") << 0;
}

void TestChat::olderPageInAnyOrderWritesEachPositionOnce()
{
    QFETCH(int, order);
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    for (int i = 1; i <= 20; ++i)
        QVERIFY(chat.addMessage(makeMessage(chatId, QString("n%1").arg(i), 1000 + i)));
    QList<Message> page;
    QStringList expected;
    for (int i = 1; i <= 30; ++i) {
        page.append(makeMessage(chatId, QString("o%1").arg(i), 100 + i));
        expected.append(QString("o%1").arg(i));
    }
    // A message the chat already holds, as an archive page may repeat one.
    page.append(makeMessage(chatId, "n5", 1005));
    if (order < 0)
        std::reverse(page.begin(), page.end());
    else if (order == 0)
        std::shuffle(page.begin(), page.end(), *QRandomGenerator::global());
    const QString store = chat.getChatDbName();
    const auto writesByPosition = [&] {
        QHash<int, int> writes;
        for (int counter = -40; counter <= 60; ++counter)
            writes.insert(counter, storeWritesOf(store, QString::number(counter)));
        return writes;
    };
    const QHash<int, int> before = writesByPosition();
    const int chatDataBefore = storeWritesOf(store, "chatData");
    chat.addMessages(page);

    for (int i = 1; i <= 20; ++i)
        expected.append(QString("n%1").arg(i));
    QCOMPARE(idsInOrder(chat), expected);
    QCOMPARE(chat.getNumberOfMessages(), 50);
    const QHash<int, int> after = writesByPosition();
    for (int counter = -40; counter <= 60; ++counter)
        QVERIFY2(after.value(counter) - before.value(counter) <= 1,
                 qPrintable(QString("position %1 written more than once").arg(counter)));
    QCOMPARE(storeWritesOf(store, "chatData") - chatDataBefore, 1);
}

void TestChat::batchEndsAsAddedOneByOne_data()
{
    QTest::addColumn<Chat::ChatMode>("mode");
    QTest::addColumn<QList<Insert>>("history");
    QTest::addColumn<QList<Insert>>("batch");

    const auto run = [](const QString& prefix, int count, qint64 from, qint64 step) {
        QList<Insert> list;
        for (int i = 0; i < count; ++i)
            list.append({prefix + QString::number(i), from + i * step});
        return list;
    };
    // Equal times, a message that comes twice (with another body), and
    // messages the history holds.
    QList<Insert> mixed = run("m", 25, 5, 4);
    mixed += {{"m3", 17}, {"h4", 50}, {"tie", 40}, {"tie2", 40}, {"m20", 85}, {"h9", 100}};
    struct Row
    {
        const char* name;
        QList<Insert> history;
        QList<Insert> batch;
    };
    const QList<Row> rows = {
        {"into an empty chat", {}, mixed},
        {"newer than a short history", run("h", 3, 10, 10), run("b", 12, 1000, 10)},
        {"newer than a longer history", run("h", 40, 10, 10), run("b", 30, 1000, 10)},
        {"older than a shorter history", run("h", 5, 1000, 10), run("b", 20, 10, 10)},
        {"among the history", run("h", 10, 10, 10), mixed},
    };
    for (Chat::ChatMode mode : {Chat::ChatMode_Memory, Chat::ChatMode_Stored}) {
        for (const Row& row : rows) {
            QList<Insert> batch = row.batch;
            QTest::addRow("%s, oldest first, mode %d", row.name, int(mode))
                << mode << row.history << batch;
            std::reverse(batch.begin(), batch.end());
            QTest::addRow("%s, newest first, mode %d", row.name, int(mode))
                << mode << row.history << batch;
            QRandomGenerator random(17);
            std::shuffle(batch.begin(), batch.end(), random);
            QTest::addRow("%s, shuffled, mode %d", row.name, int(mode))
                << mode << row.history << batch;
        }
    }
}

void TestChat::batchEndsAsAddedOneByOne()
{
    QFETCH(Chat::ChatMode, mode);
    QFETCH(QList<Insert>, history);
    QFETCH(QList<Insert>, batch);

    // Every fourth message the user's own, every third one already seen, so
    // that the unread run ends somewhere inside; a second copy of a message
    // comes with another body.
    const auto message = [](const QString& chatId, const Insert& insert, int i) {
        Message m =
            makeMessage(chatId, insert.id, insert.time,
                        i % 4 == 3 ? QStringLiteral("me") : QStringLiteral("989120000001"),
                        i % 3 == 2 ? MessageBase::MsgState_Seen : MessageBase::MsgState_Delivered);
        m.setMessageBody(QStringLiteral("body %1 of %2").arg(i).arg(insert.id));
        return m;
    };
    // What the chat holds, position by position, with the chat's id left out.
    const auto snapshot = [](Chat& chat) {
        QStringList lines{QStringLiteral("%1..%2 %3..%4 unread %5")
                              .arg(chat.getMinCounter())
                              .arg(chat.getMaxCounter())
                              .arg(chat.getFirstSentTime())
                              .arg(chat.getLastSentTime())
                              .arg(chat.getUnreadCount())};
        for (int counter = chat.getMinCounter(); counter <= chat.getMaxCounter(); ++counter) {
            Message m;
            if (!chat.getMessage(counter, &m))
                lines.append(QStringLiteral("%1 missing").arg(counter));
            else
                lines.append(
                    QString::number(counter) + QLatin1Char(' ') +
                    QString::fromUtf8(QJsonDocument(m.toDBJson()).toJson(QJsonDocument::Compact))
                        .replace(chat.getChatId(), QStringLiteral("<chat>")));
        }
        return lines;
    };
    const auto storedSnapshot = [&](Chat& chat) {
        const QString chatId = chat.getChatId();
        chat.close();
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        QByteArray chatData;
        chat.getUtf8(QStringLiteral("chatData"), &chatData);
        return snapshot(chat) << QString::fromUtf8(chatData);
    };

    const QString oneByOneId = freshChatId();
    const QString batchId = freshChatId();
    Chat oneByOne;
    Chat batched;
    oneByOne.setChatId(oneByOneId, mode);
    batched.setChatId(batchId, mode);
    for (int i = 0; i < history.size(); ++i) {
        QVERIFY(oneByOne.addMessage(message(oneByOneId, history[i], i)));
        QVERIFY(batched.addMessage(message(batchId, history[i], i)));
    }
    QList<Message> list;
    for (int i = 0; i < batch.size(); ++i) {
        oneByOne.addMessage(message(oneByOneId, batch[i], history.size() + i));
        list.append(message(batchId, batch[i], history.size() + i));
    }
    const QString store = batched.getChatDbName();
    const int chatDataWrites = mode == Chat::ChatMode_Stored ? storeWritesOf(store, "chatData") : 0;
    batched.addMessages(list);

    const QStringList expected = snapshot(oneByOne);
    QCOMPARE(snapshot(batched), expected);
    if (mode != Chat::ChatMode_Stored)
        return;
    // The counters record is written once for the batch.
    QCOMPARE(storeWritesOf(store, "chatData") - chatDataWrites, 1);
    // Read back from the stores: the same records, and the unread count
    // worked out afresh from the messages is the one the batch kept.
    QCOMPARE(storedSnapshot(batched), storedSnapshot(oneByOne));
    QCOMPARE(storedSnapshot(batched).first(), expected.first());
}

void TestChat::historyLongerThanWhatIsKeptInMemory()
{
    // Longer than the part of a stored history the chat keeps in memory: what
    // was dropped from memory is found again in the store, and a message
    // seen long ago is still recognised.
    const QString chatId = freshChatId();
    const int count = 3000;
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        for (int i = 0; i < count; ++i)
            QVERIFY(chat.addMessage(makeMessage(chatId, QString("h%1").arg(i), 10 * (i + 1))));
        // Again, and late arrivals among the oldest and in the middle.
        QVERIFY(chat.addMessage(makeMessage(chatId, "h0", 10)));
        QVERIFY(chat.addMessage(makeMessage(chatId, "h1500", 15010)));
        QVERIFY(chat.addMessage(makeMessage(chatId, "lateLow", 25)));
        QVERIFY(chat.addMessage(makeMessage(chatId, "lateMid", 15015)));
        QCOMPARE(chat.getNumberOfMessages(), count + 2);

        QList<Message> before;
        QVERIFY(chat.getMessagesBefore("h2", 3, &before));
        QCOMPARE(idsOf(before), (QStringList{"lateLow", "h1", "h0"}));
        QCOMPARE(chat.changeMessageState("h5", MessageBase::MsgState_Seen).size(), 7);
    }
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    const QStringList ids = idsInOrder(chat);
    QCOMPARE(ids.size(), count + 2);
    QCOMPARE(ids.mid(0, 4), (QStringList{"h0", "h1", "lateLow", "h2"}));
    QCOMPARE(ids.mid(1501, 3), (QStringList{"h1500", "lateMid", "h1501"}));
    QCOMPARE(ids.last(), QString("h%1").arg(count - 1));
    Message seen;
    QVERIFY(chat.getMessage(QStringLiteral("lateLow"), &seen));
    QCOMPARE(seen.getState(), MessageBase::MsgState_Seen);
    QVERIFY(chat.messageExists(makeMessage(chatId, "h7", 80)));
}

void TestChat::stateNeverGoesBackwards_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expected");
    for (int from = 0; from <= 4; ++from) {
        for (int to = 1; to <= 3; ++to) {
            QTest::addRow("%d to %d", from, to) << from << to << (to > from ? to : from);
        }
    }
}

void TestChat::stateNeverGoesBackwards()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, expected);
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(chat.addMessage(makeMessage(chatId, "m", 100, "me", State(from))));
    const QStringList changed = chat.changeMessageState("m", State(to));
    QCOMPARE(changed, expected != from ? QStringList{"m"} : QStringList());
    chat.close();
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    Message stored;
    QVERIFY(chat.getMessage("m", &stored));
    QCOMPARE(int(stored.getState()), expected);
    QVERIFY(chat.changeMessageState("unknown", State(to)).isEmpty());
}

void TestChat::seenWalk()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    const QList<State> states = {MessageBase::MsgState_Delivered, MessageBase::MsgState_Seen,
                                 MessageBase::MsgState_Delivered, MessageBase::MsgState_Sent,
                                 MessageBase::MsgState_Delivered, MessageBase::MsgState_Delivered,
                                 MessageBase::MsgState_Delivered};
    for (int i = 0; i < states.size(); ++i)
        QVERIFY(
            chat.addMessage(makeMessage(chatId, QString("m%1").arg(i), 100 + i, "me", states[i])));
    // Seen spreads down from m5 over delivered ones, passes the sent one and
    // stops at the first seen; m6 above is not touched.
    QCOMPARE(chat.changeMessageState("m5", MessageBase::MsgState_Seen),
             (QStringList{"m5", "m4", "m2"}));
    const QList<State> after = {MessageBase::MsgState_Delivered, MessageBase::MsgState_Seen,
                                MessageBase::MsgState_Seen,      MessageBase::MsgState_Sent,
                                MessageBase::MsgState_Seen,      MessageBase::MsgState_Seen,
                                MessageBase::MsgState_Delivered};
    chat.close();
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    for (int i = 0; i < after.size(); ++i) {
        Message message;
        QVERIFY(chat.getMessage(QString("m%1").arg(i), &message));
        QCOMPARE(message.getState(), after[i]);
    }
    QVERIFY(chat.changeMessageState("m5", MessageBase::MsgState_Seen).isEmpty());
}

void TestChat::statesToSeenReturnsEveryFoundId()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(chat.addMessage(makeMessage(chatId, "a", 1, "me", MessageBase::MsgState_Sent)));
    QVERIFY(chat.addMessage(makeMessage(chatId, "b", 2, "me", MessageBase::MsgState_Seen)));
    QCOMPARE(chat.changeMessageStatesToSeen({"a", "nope", "b"}), (QStringList{"a", "b"}));
    Message a;
    QVERIFY(chat.getMessage("a", &a));
    QCOMPARE(a.getState(), MessageBase::MsgState_Seen);
}

void TestChat::seenReachesOnlyItsScope_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QStringList>("walked");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("everyone") << int(Chat::SeenScope_Everyone)
                              << QStringList{"m7", "m6", "m4", "m3"}
                              << QStringList{"m0", "m1", "m2", "m6"};
    // The user reading the chat: the user's own delivered messages stay delivered.
    QTest::newRow("partner's") << int(Chat::SeenScope_PartnerMessages) << QStringList{"m7", "m4"}
                               << QStringList{"m0", "m2"};
    // The partner's receipt: it passes the partner's messages, even a seen one,
    // and never marks them.
    QTest::newRow("own") << int(Chat::SeenScope_OwnMessages) << QStringList{"m6", "m3", "m1"}
                         << QStringList{"m1", "m6"};
}

void TestChat::seenReachesOnlyItsScope()
{
    QFETCH(int, scope);
    QFETCH(QStringList, walked);
    QFETCH(QStringList, listed);
    const QString partner = QStringLiteral("989121234567");
    struct Row
    {
        QString author;
        State state;
    };
    const QList<Row> history = {
        {partner, MessageBase::MsgState_Delivered}, {"me", MessageBase::MsgState_Delivered},
        {partner, MessageBase::MsgState_Seen},      {"me", MessageBase::MsgState_Delivered},
        {partner, MessageBase::MsgState_Delivered}, {"me", MessageBase::MsgState_Sent},
        {"me", MessageBase::MsgState_Delivered},    {partner, MessageBase::MsgState_Delivered}};
    const auto fill = [&](Chat* chat) {
        const QString chatId = freshChatId();
        chat->setChatId(chatId, Chat::ChatMode_Stored);
        for (int i = 0; i < history.size(); ++i)
            QVERIFY(chat->addMessage(makeMessage(chatId, QString("m%1").arg(i), 100 + i,
                                                 history[i].author, history[i].state)));
    };
    const auto seenIds = [&](Chat& chat) {
        QStringList ids;
        for (int i = 0; i < history.size(); ++i) {
            Message message;
            if (chat.getMessage(QString("m%1").arg(i), &message) &&
                message.getState() == MessageBase::MsgState_Seen &&
                history[i].state != MessageBase::MsgState_Seen)
                ids.prepend(message.getMessageId());
        }
        return ids;
    };

    Chat walk;
    fill(&walk);
    QCOMPARE(walk.changeMessageState("m7", MessageBase::MsgState_Seen, Chat::SeenScope(scope)),
             walked);
    QCOMPARE(seenIds(walk), walked);

    Chat list;
    fill(&list);
    const QStringList ids{"m0", "m1", "m2", "m6", "unknown"};
    QCOMPARE(list.changeMessageStatesToSeen(ids, Chat::SeenScope(scope)), listed);
    QStringList newlySeen = listed;
    newlySeen.removeAll("m2"); // seen before
    std::reverse(newlySeen.begin(), newlySeen.end());
    QCOMPARE(seenIds(list), newlySeen);
}

void TestChat::unreadCount_data()
{
    QTest::addColumn<QStringList>("history"); // oldest first: "in", "seen", "mine"
    QTest::addColumn<int>("unread");
    QTest::newRow("empty") << QStringList() << 0;
    QTest::newRow("all incoming") << QStringList{"in", "in", "in"} << 3;
    QTest::newRow("stops at seen") << QStringList{"in", "seen", "in", "in"} << 2;
    QTest::newRow("stops at own newest") << QStringList{"in", "in", "mine", "in"} << 1;
    QTest::newRow("own message newest") << QStringList{"in", "in", "mine"} << 0;
}

void TestChat::unreadCount()
{
    QFETCH(QStringList, history);
    QFETCH(int, unread);
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        for (int i = 0; i < history.size(); ++i) {
            const bool mine = history[i] == "mine";
            const State state =
                history[i] == "seen" ? MessageBase::MsgState_Seen : MessageBase::MsgState_Delivered;
            QVERIFY(chat.addMessage(
                makeMessage(chatId, QString("u%1").arg(i), 10 + i, mine ? "me" : chatId, state)));
        }
        QCOMPARE(chat.getUnreadCount(), unread);
    }
    Chat reopened;
    reopened.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(reopened.getUnreadCount(), unread);
}

// Two users' chats in one process, each with its core's identity (neither is
// the process's shared name): each counts and marks the other's messages.
void TestChat::ownMessagesAreTheChatIdentitys()
{
    const QString a = QStringLiteral("989120000011");
    const QString b = QStringLiteral("989120000022");
    const auto fill = [&](Chat* chat, const QString& self) {
        chat->setUserIdentity(UserIdentityPtr::create(self));
        const QString chatId = self == a ? b : a;
        chat->setChatId(chatId, Chat::ChatMode_Memory);
        QVERIFY(chat->addMessage(makeMessage(chatId, "x0", 10, a)));
        QVERIFY(chat->addMessage(makeMessage(chatId, "x1", 20, b)));
        QVERIFY(chat->addMessage(makeMessage(chatId, "x2", 30, b)));
    };
    Chat ofA;
    fill(&ofA, a);
    Chat ofB;
    fill(&ofB, b);
    QCOMPARE(ofA.getUnreadCount(), 2);
    QCOMPARE(ofB.getUnreadCount(), 0);
    QCOMPARE(ofA.changeMessageStatesToSeen({"x0", "x1", "x2"}, Chat::SeenScope_PartnerMessages),
             QStringList({"x1", "x2"}));
    QCOMPARE(ofB.changeMessageStatesToSeen({"x0", "x1", "x2"}, Chat::SeenScope_PartnerMessages),
             QStringList{"x0"});
}

void TestChat::unreadCountFollowsEveryChange_data()
{
    // Steps in order; the n-th message added is "u<n>":
    // "in@T", "mine@T", "seen@T" add an incoming, own or already seen message
    // sent at T; "receipt:ID" marks seen from ID down, "seenIds:ID" marks only
    // ID, "time:ID@T" gives ID a new send time.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("unread");
    QTest::newRow("older unread below the whole run") << QStringList{"in@10", "in@20", "in@5"} << 3;
    QTest::newRow("older own below the whole run") << QStringList{"in@10", "in@20", "mine@5"} << 2;
    QTest::newRow("older unread below a cut run")
        << QStringList{"in@10", "mine@20", "in@30", "in@5"} << 1;
    QTest::newRow("own arrives inside the run")
        << QStringList{"in@10", "in@20", "in@30", "mine@15"} << 2;
    QTest::newRow("unread arrives inside a cut run")
        << QStringList{"in@10", "mine@20", "in@30", "in@25"} << 2;
    QTest::newRow("seen arrives late inside the run")
        << QStringList{"in@10", "in@20", "in@30", "seen@25"} << 1;
    QTest::newRow("unread arrives on top of seen") << QStringList{"seen@10", "in@20"} << 1;
    QTest::newRow("receipt on the newest") << QStringList{"in@10", "in@20", "receipt:u1"} << 0;
    QTest::newRow("receipt on an older one, then more")
        << QStringList{"in@10", "in@20", "in@30", "receipt:u0", "in@40", "in@1"} << 3;
    QTest::newRow("one id marked seen")
        << QStringList{"in@10", "in@20", "in@30", "seenIds:u1"} << 1;
    QTest::newRow("newest moved below own")
        << QStringList{"in@10", "mine@20", "in@30", "time:u2@15"} << 0;
    QTest::newRow("own moved to the top")
        << QStringList{"mine@5", "in@10", "in@20", "time:u0@30"} << 0;
    QTest::newRow("own moved down frees the run")
        << QStringList{"in@10", "mine@20", "in@30", "time:u1@5", "in@40"} << 3;
}

void TestChat::unreadCountFollowsEveryChange()
{
    QFETCH(QStringList, steps);
    QFETCH(int, unread);
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        int added = 0;
        for (const QString& step : steps) {
            const QString what = step.section(QRegularExpression("[@:]"), 0, 0);
            const qint64 time = step.section('@', 1).toLongLong();
            if (what == "in" || what == "mine" || what == "seen") {
                const State state =
                    what == "seen" ? MessageBase::MsgState_Seen : MessageBase::MsgState_Delivered;
                QVERIFY(chat.addMessage(makeMessage(chatId, QString("u%1").arg(added++), time,
                                                    what == "mine" ? "me" : chatId, state)));
            } else {
                const QString id = step.section(':', 1).section('@', 0, 0);
                if (what == "receipt") {
                    chat.changeMessageState(id, MessageBase::MsgState_Seen);
                } else if (what == "seenIds") {
                    chat.changeMessageStatesToSeen({id});
                } else {
                    Message moved;
                    QVERIFY(chat.getMessage(id, &moved));
                    moved.setSendTimeInGMT(time);
                    chat.setMessageSentTime(moved);
                }
            }
            // The count kept while the chat changes is the run of unread
            // messages read down from the newest.
            int run = 0;
            for (const Message& message : chat.getLastMessages(0, chat.getNumberOfMessages())) {
                if (message.getState() == MessageBase::MsgState_Seen || message.getUserId() == "me")
                    break;
                ++run;
            }
            QCOMPARE(chat.getUnreadCount(), run);
        }
        QCOMPARE(chat.getUnreadCount(), unread);
    }
    Chat reopened;
    reopened.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(reopened.getUnreadCount(), unread);
}

void TestChat::pagingBothWays_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("page");
    QTest::newRow("newest three") << "last"
                                  << "" << 0 << 3 << true << QStringList{"p9", "p8", "p7"};
    QTest::newRow("offset two") << "last"
                                << "" << 2 << 3 << true << QStringList{"p7", "p6", "p5"};
    QTest::newRow("runs out at the oldest") << "last"
                                            << "" << 8 << 5 << true << QStringList{"p1", "p0"};
    QTest::newRow("before p5") << "before"
                               << "p5" << 3 << 0 << true << QStringList{"p4", "p3", "p2"};
    QTest::newRow("before p2, more than there are")
        << "before"
        << "p2" << 10 << 0 << true << QStringList{"p1", "p0"};
    QTest::newRow("before p5, count 0") << "before"
                                        << "p5" << 0 << 0 << true << QStringList();
    QTest::newRow("before the oldest") << "before"
                                       << "p0" << 3 << 0 << false << QStringList();
    QTest::newRow("before an unknown id") << "before"
                                          << "zz" << 3 << 0 << false << QStringList();
}

void TestChat::pagingBothWays()
{
    QFETCH(QString, call);
    QFETCH(QString, from);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, ok);
    QFETCH(QStringList, page);

    // Stored in scrambled order; reopened so that paging loads from disk.
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        for (int i : {3, 0, 9, 5, 1, 7, 2, 8, 4, 6})
            QVERIFY(chat.addMessage(makeMessage(chatId, QString("p%1").arg(i), 1000 + i)));
    }
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    if (call == "last") {
        QCOMPARE(idsOf(chat.getLastMessages(a, b)), page);
    } else {
        QList<Message> out;
        QCOMPARE(chat.getMessagesBefore(from, a, &out), ok);
        QCOMPARE(idsOf(out), page);
    }
}

void TestChat::pagingByTime()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    for (int i = 0; i < 6; ++i)
        QVERIFY(chat.addMessage(makeMessage(chatId, QString("t%1").arg(i), 100 * i)));
    QList<Message> out;
    QVERIFY(chat.getMessagesBefore(qint64(350), 2, &out));
    QCOMPARE(idsOf(out), (QStringList{"t3", "t2"}));
    out.clear();
    QVERIFY(!chat.getMessagesBefore(qint64(600), 2, &out)); // after the newest
    QVERIFY(!chat.getMessagesBefore(qint64(-1), 2, &out));  // before the oldest
    QVERIFY(!chat.getMessagesBefore(qint64(0), 2, &out));   // only the oldest is earlier-or-equal
}

void TestChat::editsLikesAndFilePaths()
{
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        Message file = makeMessage(chatId, "f", 10);
        file.setMinorType(MessageBase::MsgMinorType_File);
        FileMessage part;
        part.setFileType(FileMessage::MsgFileType_Image);
        part.setFileId("file-1");
        file.setFileMessage(part);
        QVERIFY(chat.addMessage(file));
        QVERIFY(chat.addMessage(makeMessage(chatId, "e", 20)));

        QVERIFY(chat.editMessage("e", "new text"));
        QVERIFY(!chat.editMessage("missing", "x"));
        chat.setLikeCount("e", 3);
        chat.setLiked("e", true);
        Message sent = makeMessage(chatId, "e", 25);
        chat.setMessageSentTime(sent);

        part.setFilePath("/tmp/downloaded.png");
        Message withPath = file;
        withPath.setFileMessage(part);
        chat.setFilePathForMessage(withPath);
    }
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    Message e, f;
    QVERIFY(chat.getMessage("e", &e));
    QCOMPARE(e.getMessageBody(), QString("new text"));
    QVERIFY(e.getEdited());
    QCOMPARE(e.getLikes(), 4);
    QVERIFY(e.getLiked());
    QCOMPARE(e.getSendTimeInGMT(), qint64(25));
    QCOMPARE(chat.getMaxCounter(), 2); // the position is not changed
    QVERIFY(chat.getMessage("f", &f));
    QCOMPARE(f.getFileMessage().getFilePath(), QString("/tmp/downloaded.png"));

    Chat memory;
    memory.setChatId("memory-only", Chat::ChatMode_Memory);
    QVERIFY(memory.addMessage(makeMessage("memory-only", "m", 1)));
    QVERIFY(!memory.editMessage("m", "x"));
}

void TestChat::newSendTimeKeepsTimeOrder_data()
{
    // Positions -1..5 hold a..g at times 10, 20, .. 70.
    QTest::addColumn<QString>("id");
    QTest::addColumn<qint64>("time");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("stays between its neighbours")
        << "d" << qint64(35) << QStringList{"a", "b", "c", "d", "e", "f", "g"};
    QTest::newRow("newest becomes the oldest")
        << "g" << qint64(5) << QStringList{"g", "a", "b", "c", "d", "e", "f"};
    QTest::newRow("oldest becomes the newest")
        << "a" << qint64(99) << QStringList{"b", "c", "d", "e", "f", "g", "a"};
    QTest::newRow("middle moves up")
        << "c" << qint64(65) << QStringList{"a", "b", "d", "e", "f", "c", "g"};
    QTest::newRow("middle moves down")
        << "f" << qint64(15) << QStringList{"a", "f", "b", "c", "d", "e", "g"};
    QTest::newRow("position one moves down")
        << "c" << qint64(1) << QStringList{"c", "a", "b", "d", "e", "f", "g"};
}

void TestChat::newSendTimeKeepsTimeOrder()
{
    QFETCH(QString, id);
    QFETCH(qint64, time);
    QFETCH(QStringList, order);
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        int t = 30;
        for (const char* name : {"c", "d", "e", "f", "g"}) {
            QVERIFY(chat.addMessage(makeMessage(chatId, name, t)));
            t += 10;
        }
        QVERIFY(chat.addMessage(makeMessage(chatId, "b", 20)));
        QVERIFY(chat.addMessage(makeMessage(chatId, "a", 10)));
        QCOMPARE(chat.getMinCounter(), -1);
        chat.setMessageSentTime(makeMessage(chatId, id, time));
        QCOMPARE(idsInOrder(chat), order);
    }
    // Read back, and found by the searches that rely on the order.
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(idsInOrder(chat), order);
    QCOMPARE(chat.getNumberOfMessages(), 7);
    QVERIFY(chat.getMinCounter() <= 1 && chat.getMaxCounter() >= 1);
    Message moved;
    QVERIFY(chat.getMessage(id, &moved));
    QCOMPARE(moved.getSendTimeInGMT(), time);
    QList<Message> older;
    const int at = order.indexOf(id);
    if (at > 0) {
        QVERIFY(chat.getMessagesBefore(id, 1, &older));
        QCOMPARE(idsOf(older), QStringList{order.at(at - 1)});
    }
    Message next;
    if (at > 0 && at + 1 < order.size() && chat.getMessage(order.at(at + 1), &next)) {
        older.clear();
        QVERIFY(chat.getMessagesBefore(next.getSendTimeInGMT(), 1, &older));
        QCOMPARE(idsOf(older), QStringList{id});
    }
    Message first, last;
    QVERIFY(chat.getMessage(chat.getMinCounter(), &first));
    QVERIFY(chat.getMessage(chat.getMaxCounter(), &last));
    QCOMPARE(chat.getFirstSentTime(), first.getSendTimeInGMT());
    QCOMPARE(chat.getLastSentTime(), last.getSendTimeInGMT());
}

void TestChat::reopenReadsBackAsBefore()
{
    const QString chatId = freshChatId();
    QStringList before;
    int min = 0, max = 0, unread = 0;
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        for (int i = 0; i < 40; ++i) {
            const qint64 time = (i * 37) % 40;
            QVERIFY(chat.addMessage(makeMessage(chatId, QString("r%1").arg(i), time, chatId)));
        }
        before = idsInOrder(chat);
        min = chat.getMinCounter();
        max = chat.getMaxCounter();
        unread = chat.getUnreadCount();
        chat.close();
        QVERIFY(chat.isEmpty());
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        QCOMPARE(idsInOrder(chat), before);
    }
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(chat.getMinCounter(), min);
    QCOMPARE(chat.getMaxCounter(), max);
    QCOMPARE(chat.getUnreadCount(), unread);
    QCOMPARE(idsInOrder(chat), before);
    QCOMPARE(chat.getChatDbName(), Chat::storeName(chatId));
}

void TestChat::damagedChatDataIsRebuilt()
{
    const QString chatId = freshChatId();
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        for (int i : {5, 1, 3, 2, 4})
            QVERIFY(chat.addMessage(makeMessage(chatId, QString("d%1").arg(i), i)));
    }
    {
        DataBase raw;
        raw.setDBName(Chat::storeName(chatId));
        QVERIFY(raw.put(QStringLiteral("chatData"), QStringLiteral("{not json")));
    }
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(idsInOrder(chat), (QStringList{"d1", "d2", "d3", "d4", "d5"}));
    QVERIFY(chat.addMessage(makeMessage(chatId, "d6", 6)));
    QCOMPARE(idsInOrder(chat), (QStringList{"d1", "d2", "d3", "d4", "d5", "d6"}));
}

void TestChat::killAfterAnyPlacementLosesNothing()
{
    // A history placed newest, oldest and in between, with a copy of the
    // store's files taken after every placement. Each copy, opened as the
    // next start after a kill would open it, reads back everything placed
    // until then, in order, with the counters and times the chat had.
    struct Step
    {
        QString copy;
        QStringList ids;
        int min;
        int max;
        qint64 first;
        qint64 last;
    };
    const QString chatId = freshChatId();
    QTemporaryDir copies;
    QList<Step> steps;
    QString storePath;
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        storePath = DataBase::pathForName(chat.getChatDbName());
        const int count = 150;
        for (int i = 0; i < count; ++i) {
            const qint64 time = i % 3 == 1 ? 1000 - i : (i % 5 == 2 ? 5000 + i : 10000 + i);
            QVERIFY(chat.addMessage(makeMessage(chatId, QString("k%1").arg(i), time)));
            const QString copy = copies.path() + QString("/%1").arg(i);
            copyStoreFiles(storePath, copy);
            steps.append({copy, idsInOrder(chat), chat.getMinCounter(), chat.getMaxCounter(),
                          chat.getFirstSentTime(), chat.getLastSentTime()});
        }
        // The counters record is not written with every message.
        QVERIFY(storeWritesOf(chat.getChatDbName(), "chatData") < count / 10);
    }
    for (const Step& step : qAsConst(steps)) {
        QDir(storePath).removeRecursively();
        copyStoreFiles(step.copy, storePath);
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        QCOMPARE(idsInOrder(chat), step.ids);
        QCOMPARE(chat.getMinCounter(), step.min);
        QCOMPARE(chat.getMaxCounter(), step.max);
        QCOMPARE(chat.getFirstSentTime(), step.first);
        QCOMPARE(chat.getLastSentTime(), step.last);
    }
    // After the last copy: placing goes on from where the positions end, and
    // closing writes the counters as they are.
    {
        Chat chat;
        chat.setChatId(chatId, Chat::ChatMode_Stored);
        QVERIFY(chat.addMessage(makeMessage(chatId, "after", 20000)));
        QCOMPARE(chat.getMaxCounter(), steps.last().max + 1);
    }
    DataBase raw;
    raw.setDBName(Chat::storeName(chatId));
    QJsonObject counters;
    QVERIFY(raw.get(QStringLiteral("chatData"), &counters));
    QCOMPARE(counters.value("maxCounter").toInt(), steps.last().max + 1);
    QCOMPARE(counters.value("minCounter").toInt(), steps.last().min);
    QCOMPARE(counters.value("lastSentTime").toVariant().toLongLong(), 20000);
    QCOMPARE(counters.value("firstSentTime").toVariant().toLongLong(), steps.last().first);
}

void TestChat::clearDeletesTheStore()
{
    const QString chatId = freshChatId();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QVERIFY(chat.addMessage(makeMessage(chatId, "c", 1)));
    const QString path = DataBase::pathForName(chat.getChatDbName());
    QVERIFY(QDir(path).exists());
    chat.clear();
    QVERIFY(!QDir(path).exists());
    QVERIFY(chat.isEmpty());
}

void TestChat::legacyNameIsTheCutDigest()
{
    for (int i = 0; i < 300; ++i) {
        const QString id = QString::number(989120000000LL + i);
        QByteArray digest = TestCrypto::digest("SHA1", id.toUtf8());
        digest = digest.left(digest.indexOf('\0') < 0 ? digest.size() : digest.indexOf('\0'));
        QCOMPARE(Chat::legacyStoreName(id), QStringLiteral("Data/") + QString::fromUtf8(digest));
    }
}

namespace {
// Two ids whose old store names are equal: digests that begin with a zero
// byte all cut to "Data/".
QStringList collidingIds(qint64 start)
{
    QStringList ids;
    for (qint64 n = start; ids.size() < 2; ++n) {
        const QString id = QString::number(n);
        if (Chat::legacyStoreName(id) == QLatin1String("Data/"))
            ids.append(id);
    }
    return ids;
}

// Writes a chat the way earlier versions did, under the old name.
void writeLegacyStore(const QString& chatId, const QStringList& ids)
{
    DataBase store;
    store.setDBName(Chat::legacyStoreName(chatId));
    QVERIFY(store.isOpen());
    for (int i = 0; i < ids.size(); ++i) {
        const Message message = makeMessage(chatId, ids[i], 100 + i);
        QVERIFY(store.put(QString::number(i + 1), ids[i]));
        QVERIFY(store.put(ids[i], message.toDBJson()));
    }
    QJsonObject data{{"maxCounter", ids.size()},
                     {"minCounter", 1},
                     {"lastSentTime", 100 + ids.size() - 1},
                     {"firstSentTime", 100}};
    QVERIFY(store.put(QStringLiteral("chatData"), data));
}
} // namespace

void TestChat::collidingLegacyNamesGetSeparateStores()
{
    const QStringList ids = collidingIds(989350000000LL);
    Chat first, second;
    first.setChatId(ids[0], Chat::ChatMode_Stored);
    second.setChatId(ids[1], Chat::ChatMode_Stored);
    QVERIFY(first.dbIsOpen());
    QVERIFY(second.dbIsOpen());
    QVERIFY(first.getChatDbName() != second.getChatDbName());
    QVERIFY(first.addMessage(makeMessage(ids[0], "one", 1)));
    QVERIFY(second.addMessage(makeMessage(ids[1], "two", 2)));
    QCOMPARE(idsInOrder(first), QStringList{"one"});
    QCOMPARE(idsInOrder(second), QStringList{"two"});
}

void TestChat::existingLegacyStoreOfThisChatIsKept()
{
    const QString chatId = QString::number(989120001234LL);
    writeLegacyStore(chatId, {"old1", "old2", "old3"});
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(chat.getChatDbName(), Chat::legacyStoreName(chatId));
    QCOMPARE(idsInOrder(chat), (QStringList{"old1", "old2", "old3"}));
    QVERIFY(chat.addMessage(makeMessage(chatId, "new", 500)));
    chat.close();
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    QCOMPARE(idsInOrder(chat), (QStringList{"old1", "old2", "old3", "new"}));
}

void TestChat::legacyStoreOfAnotherChatIsLeftAlone()
{
    const QStringList ids = collidingIds(989360000000LL);
    // The old store under the shared name holds the first chat's history.
    writeLegacyStore(ids[0], {"theirs1", "theirs2"});
    {
        Chat intruder;
        intruder.setChatId(ids[1], Chat::ChatMode_Stored);
        QCOMPARE(intruder.getChatDbName(), Chat::storeName(ids[1]));
        QVERIFY(intruder.isEmpty());
        QVERIFY(intruder.addMessage(makeMessage(ids[1], "mine", 1)));
    }
    Chat rightful;
    rightful.setChatId(ids[0], Chat::ChatMode_Stored);
    QCOMPARE(idsInOrder(rightful), (QStringList{"theirs1", "theirs2"}));
}

QTEST_GUILESS_MAIN(TestChat)
#include "tst_chat.moc"
