// Conversation stores beyond the descriptors the process may hold at once:
// each open store keeps a lock, a write-ahead log and a manifest open, so a
// session that opens every one of many conversations runs out of descriptors
// unless idle stores close. They close least recently used first and open
// again when next used, losing nothing.
#include "Managers/Chat/chat.h"
#include "model/globalconstants.h"

#include <QDir>
#include <QtTest>

#include <sys/resource.h>

#include <memory>
#include <vector>

namespace {
// Descriptors this process may hold; LevelDB takes a fifth of them for table
// files, the rest is left for the stores' own files.
const rlim_t kDescriptorLimit = 400;
// Three descriptors each if all stayed open: far beyond the limit.
const int kStores = 600;

int openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

QString chatIdOf(int i)
{
    return QStringLiteral("98913%1").arg(i, 7, 10, QLatin1Char('0'));
}

Message messageOf(int i, const QString& id, qint64 time)
{
    Message message(MessageBase::MsgMajorType_SimpleChat, chatIdOf(i), chatIdOf(i),
                    QStringLiteral("text of ") + id);
    message.setMessageId(id);
    message.setSendTimeInGMT(time);
    message.setState(MessageBase::MsgState_Delivered);
    return message;
}
} // namespace

class TestOpenStores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void moreStoresThanDescriptors();
    void storeThatCannotOpenAgainRefusesMessages();
};

void TestOpenStores::initTestCase()
{
    GlobalConstants::setUserName(QStringLiteral("me"));
    struct rlimit limit;
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &limit), 0);
    limit.rlim_cur = qMin(limit.rlim_cur, kDescriptorLimit);
    limit.rlim_max = qMin(limit.rlim_max, kDescriptorLimit);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &limit), 0);
}

void TestOpenStores::moreStoresThanDescriptors()
{
    int most = 0;
    std::vector<std::unique_ptr<Chat>> chats;
    for (int i = 0; i < kStores; ++i) {
        chats.push_back(std::make_unique<Chat>());
        Chat& chat = *chats.back();
        chat.setChatId(chatIdOf(i), Chat::ChatMode_Stored);
        QVERIFY2(chat.dbIsOpen(), qPrintable(QString("store %1 did not open").arg(i)));
        QVERIFY(chat.addMessage(messageOf(i, QStringLiteral("first"), 100)));
        most = qMax(most, openDescriptors());
    }
    QVERIFY(QLevelDB::residentCount() <= QLevelDB::idleOpenLimit());

    // Every conversation again, the least recently used first: each store
    // opens again as it is used.
    for (int i = 0; i < kStores; ++i) {
        Chat& chat = *chats[size_t(i)];
        QVERIFY2(chat.addMessage(messageOf(i, QStringLiteral("second"), 200)),
                 qPrintable(QString("store %1 refused a message").arg(i)));
        Message last;
        QVERIFY(chat.getLastMessage(&last));
        QCOMPARE(last.getMessageId(), QStringLiteral("second"));
        const QList<Message> page = chat.getLastMessages(0, 10);
        QCOMPARE(page.size(), 2);
        QCOMPARE(page.last().getMessageId(), QStringLiteral("first"));
        most = qMax(most, openDescriptors());
    }
    QVERIFY(QLevelDB::residentCount() <= QLevelDB::idleOpenLimit());
    // Closing them all writes each one's counters.
    chats.clear();
    QCOMPARE(QLevelDB::residentCount(), 0);

    for (int i = 0; i < kStores; i += 7) {
        Chat chat;
        chat.setChatId(chatIdOf(i), Chat::ChatMode_Stored);
        QCOMPARE(chat.getNumberOfMessages(), 2);
        QCOMPARE(chat.getLastMessages(0, 10).size(), 2);
    }
    qInfo("at most %d descriptors open at once for %d stores", most, kStores);
    QVERIFY(most < int(kDescriptorLimit));
}

void TestOpenStores::storeThatCannotOpenAgainRefusesMessages()
{
    const int limit = QLevelDB::idleOpenLimit();
    QLevelDB::setIdleOpenLimit(1);
    Chat chat;
    chat.setChatId(chatIdOf(kStores), Chat::ChatMode_Stored);
    QVERIFY(chat.addMessage(messageOf(kStores, QStringLiteral("first"), 100)));
    {
        // Another conversation is used: the first one's files close.
        Chat other;
        other.setChatId(chatIdOf(kStores + 1), Chat::ChatMode_Stored);
        QVERIFY(other.dbIsOpen());
        QVERIFY(!chat.resident());
        // Something else takes the store's directory meanwhile: the chat
        // cannot open it again, and says so instead of losing the messages.
        DataBase holder;
        holder.setDBName(Chat::storeName(chatIdOf(kStores)));
        QVERIFY(holder.isOpen());
        QVERIFY(!chat.addMessage(messageOf(kStores, QStringLiteral("lost"), 200)));
        chat.addMessages({messageOf(kStores, QStringLiteral("lost too"), 300)});
    }
    // Free again: the chat opens its store and takes messages as before.
    QVERIFY(chat.addMessage(messageOf(kStores, QStringLiteral("second"), 400)));
    QCOMPARE(chat.getNumberOfMessages(), 2);
    QLevelDB::setIdleOpenLimit(limit);
    chat.close();
    chat.setChatId(chatIdOf(kStores), Chat::ChatMode_Stored);
    QCOMPARE(chat.getNumberOfMessages(), 2);
    Message last;
    QVERIFY(chat.getLastMessage(&last));
    QCOMPARE(last.getMessageId(), QStringLiteral("second"));
}

QTEST_GUILESS_MAIN(TestOpenStores)
#include "tst_openstores.moc"
