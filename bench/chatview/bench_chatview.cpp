// The conversation view's speed, each figure beside the store read of the
// same messages measured in the same run, every widget under the program's
// style sheet as the program shows it:
// - opening the newest page of a stored 100,000-message chat until the
//   window's first paint (median of fresh windows), beside reading that page
//   from the store;
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
#include "Managers/Chat/chat.h"
#include "benchhome.h"
#include "benchload.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
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

// ---- the newest page to the first paint ----

void benchNewestPage(Chat* chat, const QString& chatId)
{
    std::vector<double> viewMs, storeMs;
    for (int round = 0; round < 15; ++round) {
        QWidget host;
        loadStyleSheet(&host);
        host.resize(600, 800);
        host.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const QList<Message> page = chat->getLastMessages(0, ChatWindow::pageSize);
        const double read = msSince(timer);
        auto* window = new ChatWindow(&host);
        window->setChatId(chatId);
        window->setChatType(MessageBase::MsgMajorType_SimpleChat);
        window->setGeometry(host.rect());
        window->show();
        window->chatMessageResponse(replyFor(chatId, QString(), page));
        QApplication::processEvents();
        window->repaint();
        viewMs.push_back(msSince(timer));
        storeMs.push_back(read);
    }
    printRow("newest page of 100,000 to first paint (median ms)", median(viewMs), median(storeMs));
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
    QTemporaryDir home;
    usePrivateHome(home);
    drawOffscreenUnlessTold();
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    printLoadAverage("start");
    initInterfaceMetrics();
    const int bigCount = argc > 1 ? QString::fromUtf8(argv[1]).toInt() : 100000;
    const int pagedCount = argc > 2 ? QString::fromUtf8(argv[2]).toInt() : 10000;
    currentUserName = kMe;

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
    benchNewestPage(&big, bigId);
    benchRows(&big, bigId);
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
