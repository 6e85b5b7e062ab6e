// The conversation view's speed, each figure beside the store read of the
// same messages measured in the same run, every widget under the program's
// style sheet as the program shows it:
// - the newest page of 50 of a stored 100,000-message chat: with the store
//   open, its read (clock and processor time) beside the same records read
//   by hand, and until the window showing it has painted; and in a fresh
//   process that has never opened the store, from opening it to the read
//   page and to the first paint, beside a fresh process opening the store
//   and reading the page by hand (medians of fresh windows and processes);
// - paging a stored 10,000-message chat to its top by scrolling to the top
//   again and again: the work of each frame (taking the page, laying out,
//   painting), median and worst, beside reading each page from the store;
//   the same for a group of several senders, whose bubbles name their
//   sender in the sender's colour; both again while four busy loops of this
//   program keep four other cores busy;
// - 1,000 chat-list rows, all built, taking a burst of 1,000 new messages
//   queued as the core's answers come (each routed to its row, which updates
//   and moves to the top) and one paint, beside reading those 1,000 messages
//   from the store.
//
//   bench_chatview [messages [paged]]
#include "Managers/Chat/chat.h"
#include "benchchild.h"
#include "benchhome.h"
#include "benchload.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "handreader.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "shell/chattab.h"
#include "shell/stylesheetloader.h"
#include "widgets/currentuser.h"
#include "widgets/interfacescale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {
const QString kMe = QStringLiteral("me");
const qint64 kStart = 1600000000000LL;
const qint64 kSpacing = 3 * 60 * 1000; // a message every three minutes

double msSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The value that the given share of the values does not exceed.
double quantile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}

double median(const std::vector<double>& values)
{
    return quantile(values, 0.5);
}

// A group's messages come from six members, one of them the user.
QString senderOf(MessageBase::MsgMajorType kind, const QString& chatId, int i)
{
    if (kind == MessageBase::MsgMajorType_SimpleChat)
        return i % 3 ? chatId : kMe;
    return i % 6 ? QStringLiteral("98912000%1").arg(100 + i % 6) : kMe;
}

Message makeMessage(const QString& chatId, int i,
                    MessageBase::MsgMajorType kind = MessageBase::MsgMajorType_SimpleChat)
{
    Message m(kind, senderOf(kind, chatId, i), chatId,
              QStringLiteral("message number %1 with a little text in it").arg(i));
    m.setMessageId(QStringLiteral("id_%1_%2").arg(chatId).arg(i));
    m.setSendTimeInGMT(kStart + qint64(i) * kSpacing);
    m.setState(MessageBase::MsgState_Delivered);
    return m;
}

void fill(Chat* chat, const QString& chatId, int count,
          MessageBase::MsgMajorType kind = MessageBase::MsgMajorType_SimpleChat)
{
    QList<Message> batch;
    for (int i = 0; i < count; ++i) {
        batch << makeMessage(chatId, i, kind);
        if (batch.size() == 1000) {
            chat->addMessages(batch);
            batch.clear();
        }
    }
    if (!batch.isEmpty())
        chat->addMessages(batch);
}

MessageReply replyFor(const QString& chatId, const QString& beforeId, const QList<Message>& page,
                      MessageBase::MsgMajorType kind = MessageBase::MsgMajorType_SimpleChat)
{
    MessageRequest request;
    request.setChatType(kind);
    request.setChatId(chatId);
    request.setNumber(ChatWindow::pageSize);
    request.setMessageId(beforeId);
    MessageReply reply;
    reply.setRequest(request);
    reply.setMsgs(page);
    return reply;
}

void printRow(const char* what, double view, double store)
{
    std::printf("%-52s %10.3f %10.3f %8.1f\n", what, view, store, store > 0 ? view / store : 0.0);
}

// ---- the newest page of 50, the store open and in a fresh process ----

const int kNewestPage = 50;

// The processor time of the calling thread, in ms.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Clock and this thread's processor time since start().
struct Stopwatch
{
    QElapsedTimer timer;
    double cpuAtStart = 0;

    void start()
    {
        timer.start();
        cpuAtStart = threadCpuMs();
    }
    double ms() const { return msSince(timer); }
    double cpuMs() const { return threadCpuMs() - cpuAtStart; }
};

// A shown top-level host under the program's style sheet, as the program's
// content panel.
struct Host
{
    Host()
    {
        loadStyleSheet(&window);
        window.resize(600, 800);
        window.show();
        QApplication::processEvents();
    }
    QWidget window;
};

// What one newest page cost: the store read (clock and processor), and the
// clock until the window showing it had painted.
struct NewestPage
{
    double readMs = 0;
    double readCpuMs = 0;
    double paintedMs = 0;
};

// The page given to a new chat window on the host, until its first paint.
void paintPage(Host* host, const QString& chatId, const QList<Message>& page)
{
    auto* window = new ChatWindow(&host->window);
    window->setChatId(chatId);
    window->setChatType(MessageBase::MsgMajorType_SimpleChat);
    window->setGeometry(host->window.rect());
    window->show();
    window->chatMessageResponse(replyFor(chatId, QString(), page));
    QApplication::processEvents();
    window->repaint();
}

// The store opened (timed or not) and its newest page read and painted.
NewestPage viewNewestPage(Host* host, const QString& chatId, bool timeTheOpen)
{
    NewestPage f;
    Stopwatch watch;
    if (timeTheOpen)
        watch.start();
    Chat chat;
    chat.setChatId(chatId, Chat::ChatMode_Stored);
    if (!timeTheOpen)
        watch.start();
    const QList<Message> page = chat.getLastMessages(0, kNewestPage);
    f.readMs = watch.ms();
    f.readCpuMs = watch.cpuMs();
    paintPage(host, chatId, page);
    f.paintedMs = watch.ms();
    if (page.size() != kNewestPage)
        std::printf("newest page holds %d messages\n", int(page.size()));
    return f;
}

// The same records read by hand: the store's files opened (timed or not),
// the counters and newest message read as opening a chat reads them, then
// the page.
NewestPage handNewestPage(const QString& path, bool timeTheOpen)
{
    NewestPage f;
    Stopwatch watch;
    if (timeTheOpen)
        watch.start();
    HandReader reader(path, handReaderOptions());
    if (!timeTheOpen)
        watch.start();
    const QList<Message> page = reader.page(reader.newestCounter(), kNewestPage);
    f.readMs = watch.ms();
    f.readCpuMs = watch.cpuMs();
    if (page.size() != kNewestPage)
        std::printf("hand-read newest page holds %d messages\n", int(page.size()));
    return f;
}

// The child's side of a fresh process: a store it has never opened, opened
// and its newest page read (and, for the view, painted).
int childNewestPage(bool view, const QString& chatIdOrPath)
{
    Host host;
    const NewestPage f =
        view ? viewNewestPage(&host, chatIdOrPath, true) : handNewestPage(chatIdOrPath, true);
    std::printf("readMs %f\nreadCpuMs %f\npaintedMs %f\n", f.readMs, f.readCpuMs, f.paintedMs);
    return 0;
}

// The chat's store must be closed: each side opens it in turn, the store's
// side and the hand reader's taking turns, each going first in every other
// round. The store open: its newest page read and painted in this process;
// in a fresh process (the store's files in the system's file cache, as after
// any earlier run): the store opened, the page read and painted.
void benchNewestPage(const QString& chatId)
{
    const QString path = DataBase::pathForName(Chat::storeName(chatId));
    // The write-ahead log of the fill is replayed by the first open, not by
    // the measured ones.
    {
        Chat replay;
        replay.setChatId(chatId, Chat::ChatMode_Stored);
    }
    std::vector<double> read, readCpu, painted, hand, handCpu;
    std::vector<double> coldRead, coldPainted, coldHand;
    // A page takes a few milliseconds: many rounds, so that the medians do
    // not follow the waits for a processor of a busy machine.
    const int rounds = 41;
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + round) % 2 == 0) {
                Host host;
                const NewestPage f = viewNewestPage(&host, chatId, false);
                read.push_back(f.readMs);
                readCpu.push_back(f.readCpuMs);
                painted.push_back(f.paintedMs);
            } else {
                const NewestPage f = handNewestPage(path, false);
                hand.push_back(f.readMs);
                handCpu.push_back(f.readCpuMs);
            }
        }
    }
    for (int round = 0; round < 7; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn + round) % 2 == 0) {
                const auto f = runChild({QStringLiteral("fresh-view"), chatId});
                coldRead.push_back(f.value(QStringLiteral("readMs")));
                coldPainted.push_back(f.value(QStringLiteral("paintedMs")));
            } else {
                coldHand.push_back(
                    runChild({QStringLiteral("fresh-hand"), path}).value(QStringLiteral("readMs")));
            }
        }
    }
    printRow("newest page of 50, store open: read (hand, ms)", median(read), median(hand));
    printRow("  the same in processor time (ms)", median(readCpu), median(handCpu));
    printRow("  to the first paint (hand read, ms)", median(painted), median(hand));
    printRow("newest page of 50, fresh process: open, read (hand)", median(coldRead),
             median(coldHand));
    printRow("  to the first paint (hand open and read, ms)", median(coldPainted),
             median(coldHand));
}

// ---- paging to the top ----

void benchPaging(Chat* chat, const QString& chatId, int total, MessageBase::MsgMajorType kind,
                 const char* when)
{
    const bool group = kind == MessageBase::MsgMajorType_GroupChat;
    QWidget host;
    loadStyleSheet(&host);
    host.resize(600, 800);
    host.show();
    auto* window = new ChatWindow(&host);
    window->setChatId(chatId);
    window->setChatType(kind);
    window->setGeometry(host.rect());
    window->show();
    QString asked;
    bool pending = false;
    QObject::connect(window, &ChatWindow::command, [&](Command cmd, const QVariant& value) {
        if (cmd != (group ? CMD_GetGroupMessages : CMD_GetChatMessages))
            return;
        asked = value.value<MessageRequest>().getMessageId();
        pending = true;
    });
    window->chatMessageResponse(replyFor(chatId, QString(), chat->getLastMessages(0, 5), kind));
    QApplication::processEvents();
    std::vector<double> frameMs;
    double storeTotal = 0;
    double frameWorst = 0;
    int framesOver = 0;
    QScrollBar* bar = window->scrollArea()->verticalScrollBar();
    int paged = window->boardMessageIds().size();
    while (paged < total) {
        if (!pending) {
            // The user reaches the top again.
            bar->setValue(std::min(1, bar->maximum()));
            bar->setValue(0);
        }
        if (!pending)
            break;
        pending = false;
        QElapsedTimer read;
        read.start();
        QList<Message> page;
        chat->getMessagesBefore(asked, ChatWindow::pageSize, &page);
        storeTotal += msSince(read);
        QElapsedTimer frame;
        frame.start();
        window->chatMessageResponse(replyFor(chatId, asked, page, kind));
        QApplication::processEvents();
        window->repaint();
        const double ms = msSince(frame);
        frameMs.push_back(ms);
        frameWorst = std::max(frameWorst, ms);
        framesOver += ms > 16 ? 1 : 0;
        paged += page.size();
        if (page.size() < ChatWindow::pageSize)
            break;
    }
    const char* what = group ? "group" : "chat";
    std::printf("%s (%s): paged %d of %d messages in %zu frames, %d of them over 16 ms, "
                "%d bubbles kept\n",
                what, when, paged, total, frameMs.size(), framesOver,
                window->boardMessageIds().size());
    const double storePerPage = frameMs.empty() ? 0 : storeTotal / double(frameMs.size());
    const QByteArray label = QByteArray(group ? "group " : "") + "paging 10,000 to the top: ";
    printRow((label + "frame work (median ms)").constData(), median(frameMs), storePerPage);
    printRow((label + "99th percentile (ms)").constData(), quantile(frameMs, 0.99), storePerPage);
    printRow((label + "worst frame (ms)").constData(), frameWorst, storePerPage);
}

// Four other cores kept busy while the paging runs again, as on a machine
// where other programs work; the loops end with the paging, or after
// five minutes at most.
class BusyCores
{
public:
    explicit BusyCores(int count)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        for (int i = 0; i < count; ++i) {
            threads.emplace_back([this, deadline] {
                volatile unsigned long spin = 0;
                while (!stop.load(std::memory_order_relaxed) &&
                       std::chrono::steady_clock::now() < deadline) {
                    for (int k = 0; k < 100000; ++k)
                        spin = spin + 1;
                }
            });
        }
    }
    ~BusyCores()
    {
        stop = true;
        for (std::thread& t : threads)
            t.join();
    }

private:
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

// ---- 1,000 rows, 1,000 live updates ----

void benchRows(Chat* chat, const QString& chatId)
{
    const int rows = 1000;
    ChatTab tab;
    loadStyleSheet(&tab);
    tab.resize(400, 800);
    QList<ChatRecipient> recipients;
    for (int i = 0; i < rows; ++i) {
        ChatRecipient r;
        Contact c;
        c.setNumber(QStringLiteral("98912%1").arg(i, 7, 10, QLatin1Char('0')));
        c.setNickName(QStringLiteral("contact %1").arg(i));
        r.setContact(c);
        recipients << r;
    }
    tab.setChatRecipients(recipients);
    tab.show();
    // Every row built and laid out before the burst comes in.
    tab.rowIds();
    QApplication::processEvents();

    QElapsedTimer read;
    read.start();
    const QList<Message> stored = chat->getLastMessages(0, rows);
    const double storeMs = msSince(read);

    QElapsedTimer timer;
    timer.start();
    // Queued, as the core's answers reach the window from its own thread.
    int handled = 0;
    for (int i = 0; i < stored.size(); ++i) {
        Message m = stored.at(i);
        m.setChatId(recipients.at((i * 7919) % rows).getContact().getNumber());
        QMetaObject::invokeMethod(
            &tab,
            [&tab, &handled, m] {
                tab.processMessage(m);
                ++handled;
            },
            Qt::QueuedConnection);
    }
    while (handled < stored.size())
        QApplication::processEvents();
    QApplication::processEvents();
    tab.repaint();
    printRow("1,000 rows, burst of 1,000 updates (ms)", msSince(timer), storeMs);
    Q_UNUSED(chatId)
}
} // namespace

int main(int argc, char** argv)
{
    // A fresh process of the newest-page figures works in its parent's home.
    const bool fresh =
        argc > 2 && (qstrcmp(argv[1], "fresh-view") == 0 || qstrcmp(argv[1], "fresh-hand") == 0);
    QTemporaryDir home;
    if (!fresh)
        usePrivateHome(home);
    drawOffscreenUnlessTold();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    initInterfaceMetrics();
    currentUserName = kMe;
    if (fresh)
        return childNewestPage(qstrcmp(argv[1], "fresh-view") == 0, QString::fromUtf8(argv[2]));
    printLoadAverage("start");
    const int bigCount = argc > 1 ? QString::fromUtf8(argv[1]).toInt() : 100000;
    const int pagedCount = argc > 2 ? QString::fromUtf8(argv[2]).toInt() : 10000;

    const QString bigId = QStringLiteral("989120000001");
    const QString pagedId = QStringLiteral("989120000002");
    Chat big;
    big.setChatId(bigId, Chat::ChatMode_Stored);
    QElapsedTimer filling;
    filling.start();
    fill(&big, bigId, bigCount);
    std::printf("stored %d messages in %.0f ms\n", bigCount, msSince(filling));
    Chat paged;
    paged.setChatId(pagedId, Chat::ChatMode_Stored);
    fill(&paged, pagedId, pagedCount);
    const QString groupId = QStringLiteral("benchroom@conference.localhost");
    Chat room;
    room.setChatId(groupId, Chat::ChatMode_Stored);
    fill(&room, groupId, pagedCount, MessageBase::MsgMajorType_GroupChat);

    std::printf("%-52s %10s %10s %8s\n", "", "view", "store", "ratio");
    benchRows(&big, bigId);
    // Each side opens the store in its turn.
    big.close();
    benchNewestPage(bigId);
    benchPaging(&paged, pagedId, pagedCount, MessageBase::MsgMajorType_SimpleChat, "as it is");
    benchPaging(&room, groupId, pagedCount, MessageBase::MsgMajorType_GroupChat, "as it is");
    {
        BusyCores busy(4);
        // The busy loops' share shows in the load after a while; the figure
        // is printed once they have run a little.
        QThread::sleep(2);
        printLoadAverage("paging under four busy cores");
        benchPaging(&paged, pagedId, pagedCount, MessageBase::MsgMajorType_SimpleChat,
                    "four busy cores");
        benchPaging(&room, groupId, pagedCount, MessageBase::MsgMajorType_GroupChat,
                    "four busy cores");
        printLoadAverage("after paging under four busy cores");
    }
    printLoadAverage("end");
    return 0;
}
