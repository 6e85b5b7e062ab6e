// One conversation of 100,000 messages in a stored Chat: insert rate, the newest
// page, a page at a random depth, the time to open the store, and older history
// slotted in below the oldest (newest first) and near it (an archive page oldest
// first). The same records (position -> id, id -> stored JSON, the chat's
// counters) are written to and read from LevelDB directly in the same run,
// without hashing, encryption or parsing, and the ratios printed.
#include "Managers/Chat/chat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <leveldb/db.h>

#include <cstdio>
#include <memory>

namespace {
const int kMessages = 100000;
const int kPage = 50;
const int kRandomPages = 200;
const int kOlder = 1000;
const int kArchivePage = 200;
const QString kChatId = QStringLiteral("989121234567");
const qint64 kStart = 1600000000000LL;

Message makeMessage(int i, qint64 time)
{
    Message message(MessageBase::MsgMajorType_SimpleChat, kChatId, kChatId,
                    QStringLiteral("message number %1 with a little text in it").arg(i));
    message.setMessageId(QStringLiteral("des_%1_%2").arg(kChatId).arg(i));
    message.setSendTimeInGMT(time);
    message.setState(MessageBase::MsgState_Delivered);
    return message;
}

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Figures
{
    double insertPerSecond = 0;
    double newestPageMs = 0;
    double randomPageMs = 0;
    double openMs = 0;
    double olderPerSecond = 0;
    double olderAscendingPerSecond = 0;
};

Figures benchChat()
{
    Figures f;
    auto chat = std::make_unique<Chat>();
    chat->setChatId(kChatId, Chat::ChatMode_Stored);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kMessages; ++i)
        chat->addMessage(makeMessage(i, kStart + i * 10));
    f.insertPerSecond = kMessages / (msSince(timer) / 1000.0);

    chat.reset();
    timer.restart();
    chat = std::make_unique<Chat>();
    chat->setChatId(kChatId, Chat::ChatMode_Stored);
    f.openMs = msSince(timer);

    timer.restart();
    const QList<Message> newest = chat->getLastMessages(0, kPage);
    f.newestPageMs = msSince(timer);
    if (newest.size() != kPage)
        std::printf("newest page holds %d messages\n", int(newest.size()));

    QRandomGenerator random(42);
    timer.restart();
    for (int i = 0; i < kRandomPages; ++i)
        chat->getLastMessages(int(random.bounded(kMessages - kPage)), kPage);
    f.randomPageMs = msSince(timer) / kRandomPages;

    // Older history arriving newest first: each lands below the oldest.
    timer.restart();
    for (int i = 0; i < kOlder; ++i)
        chat->addMessage(makeMessage(kMessages + i, kStart - 1000 - i));
    f.olderPerSecond = kOlder / (msSince(timer) / 1000.0);
    // An archive page arriving oldest first: each lands just above the ones
    // slotted in before it, near the bottom.
    timer.restart();
    for (int i = 0; i < kArchivePage; ++i)
        chat->addMessage(makeMessage(2 * kMessages + i, kStart - 100000 + i));
    f.olderAscendingPerSecond = kArchivePage / (msSince(timer) / 1000.0);
    if (chat->getNumberOfMessages() != kMessages + kOlder + kArchivePage)
        std::printf("chat holds %d messages\n", chat->getNumberOfMessages());
    return f;
}

// The same records straight into LevelDB.
Figures benchLevelDB(const QString& path)
{
    Figures f;
    leveldb::Options options;
    options.create_if_missing = true;
    leveldb::DB* raw = nullptr;
    leveldb::DB::Open(options, path.toStdString(), &raw);
    std::unique_ptr<leveldb::DB> db(raw);
    const leveldb::WriteOptions write;
    const leveldb::ReadOptions read;

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kMessages; ++i) {
        const Message message = makeMessage(i, kStart + i * 10);
        const std::string id = message.getMessageId().toStdString();
        db->Put(write, id,
                QJsonDocument(message.toDBJson()).toJson(QJsonDocument::Compact).toStdString());
        db->Put(write, std::to_string(i + 1), id);
        db->Put(write, "chatData",
                QStringLiteral("{\"maxCounter\":%1,\"minCounter\":1,\"lastSentTime\":%2,"
                               "\"firstSentTime\":%3}")
                    .arg(i + 1)
                    .arg(kStart + i * 10)
                    .arg(kStart)
                    .toStdString());
    }
    f.insertPerSecond = kMessages / (msSince(timer) / 1000.0);

    db.reset();
    timer.restart();
    leveldb::DB::Open(options, path.toStdString(), &raw);
    db.reset(raw);
    std::string value;
    db->Get(read, "chatData", &value);
    f.openMs = msSince(timer);

    const auto page = [&](int top) {
        for (int c = top; c > top - kPage; --c) {
            std::string id, record;
            db->Get(read, std::to_string(c), &id);
            db->Get(read, id, &record);
        }
    };
    timer.restart();
    page(kMessages);
    f.newestPageMs = msSince(timer);

    QRandomGenerator random(42);
    timer.restart();
    for (int i = 0; i < kRandomPages; ++i)
        page(kMessages - int(random.bounded(kMessages - kPage)));
    f.randomPageMs = msSince(timer) / kRandomPages;
    return f;
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    QCoreApplication app(argc, argv);

    const Figures chat = benchChat();
    const Figures level = benchLevelDB(home.path() + QStringLiteral("/raw-leveldb"));

    std::printf("one conversation of %d messages (Chat, stored) vs LevelDB directly\n", kMessages);
    std::printf("%-34s %12s %12s %8s\n", "", "Chat", "LevelDB", "ratio");
    std::printf("%-34s %12.0f %12.0f %8.2f\n", "insert, messages/s (newest)", chat.insertPerSecond,
                level.insertPerSecond, level.insertPerSecond / chat.insertPerSecond);
    std::printf("%-34s %12.3f %12.3f %8.2f\n", "newest page of 50, ms", chat.newestPageMs,
                level.newestPageMs, chat.newestPageMs / level.newestPageMs);
    std::printf("%-34s %12.3f %12.3f %8.2f\n", "page of 50 at random depth, ms", chat.randomPageMs,
                level.randomPageMs, chat.randomPageMs / level.randomPageMs);
    std::printf("%-34s %12.3f %12.3f %8.2f\n", "open store, ms", chat.openMs, level.openMs,
                chat.openMs / level.openMs);
    std::printf("%-34s %12.0f %12s\n", "older, newest first, messages/s", chat.olderPerSecond, "-");
    std::printf("%-34s %12.0f %12s\n", "older, oldest first, messages/s",
                chat.olderAscendingPerSecond, "-");
    std::printf("(ratios: Chat time / LevelDB time; for the insert rate LevelDB rate / Chat "
                "rate)\n");
    return 0;
}
