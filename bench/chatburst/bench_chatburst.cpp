// Bursts of 1,000 messages from another person into the conversation the
// program shows. The program is this process: the main window with its core
// on its own thread, as the program wires them; the sender is a line-driven
// core in another process; both are signed up with the standalone local
// service and its chat server on loopback.
//
// The chat first holds 6,000 messages. Then, beside the same burst taken with
// the conversation not open (the core's own work and the chat list's), four
// bursts go into the open conversation. Each line gives the program's
// processor seconds, the time until the window is idle again (the burst's
// last message shown and the event loop free) and the resident memory.
#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "benchhome.h"
#include "benchload.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "corematches.h"
#include "model/messagepair.h"
#include "shell/messengermainwindow.h"
#include "widgets/customscrollarea.h"
#include "windowpeerstack.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace corematch;

namespace {
const QString kWindowPhone = QStringLiteral("491700000071");
const QString kPeerPhone = QStringLiteral("491700000072");
const int kBurst = 1000;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double residentMb()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() > 1 ? double(fields.at(1).toLongLong()) * double(sysconf(_SC_PAGESIZE)) /
                                   (1024.0 * 1024.0)
                             : 0;
}

// Runs the event loop for ms, sleeping while there is nothing to do (a
// waiting loop of its own would count as the program's work).
void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        pause(10);
    return done();
}

// How long a timer of no delay waits for the event loop, in milliseconds.
double loopDelay()
{
    QElapsedTimer timer;
    timer.start();
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    while (!ran)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return double(timer.nsecsElapsed()) / 1e6;
}

// Waits until the event loop has been free for 300 ms: every timer of no
// delay, one every 20 ms, ran within 3 ms.
void waitIdle()
{
    int free = 0;
    QElapsedTimer limit;
    limit.start();
    while (free < 15 && limit.elapsed() < 120000) {
        free = loopDelay() < 3 ? free + 1 : 0;
        pause(20);
    }
}

// Counts the new messages of one chat as the window's core hands them over.
class Arrivals : public QObject
{
public:
    explicit Arrivals(const QString& chatId) : chatId(chatId) {}
    void answer(Command command, const QVariant& value)
    {
        if (command == CMD_MessagePairAdded &&
            value.value<MessagePair>().getMessage().getChatId() == chatId)
            ++count;
        else if (command == CMD_MessageAdded && value.value<Message>().getChatId() == chatId)
            ++count;
    }
    int count = 0;

private:
    QString chatId;
};

struct Burst
{
    double cpu = 0;
    double idleSeconds = 0;
    double memoryMb = 0;
};

// The peer sends count messages; returns once they have all reached the
// window's core and the window is idle again.
Burst burst(WindowPeerStack* stack, Arrivals* arrivals, const QString& label, int count,
            const std::function<bool(const QString&)>& shown)
{
    const int before = arrivals->count;
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    QString last;
    for (int i = 0; i < count; ++i) {
        last = QStringLiteral("%1 message %2").arg(label).arg(i);
        stack->peer()->send(kCmdSendMessage, textMessage(stack->windowPhone(), last));
    }
    if (!runUntil([&] { return arrivals->count >= before + count && shown(last); }, 600000))
        std::printf("  (%s: only %d of %d arrived)\n", qPrintable(label), arrivals->count - before,
                    count);
    waitIdle();
    Burst result;
    result.cpu = cpuSeconds() - cpu;
    result.idleSeconds = double(timer.elapsed()) / 1000.0;
    result.memoryMb = residentMb();
    return result;
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
    const int stored = argc > 1 ? QString::fromUtf8(argv[1]).toInt() : 6000;
    const int bursts = argc > 2 ? QString::fromUtf8(argv[2]).toInt() : 4;

    WindowPeerStack stack(kWindowPhone, kPeerPhone);
    if (!stack.start() || !stack.loadAndBefriend()) {
        std::printf("the stack did not start: %s\n", qPrintable(stack.failure(QString())));
        return 1;
    }
    // The test log of every answer would grow with the bursts; the figures
    // are the program's own.
    stack.keepAnswers(false);
    Arrivals arrivals(kPeerPhone);
    QObject::connect(stack.core()->getManager(), &Manager::commandResponse, &arrivals,
                     &Arrivals::answer, Qt::QueuedConnection);

    // The history, sent while another conversation is open.
    QElapsedTimer filling;
    filling.start();
    const int chunk = 500;
    for (int sent = 0; sent < stored; sent += chunk)
        burst(&stack, &arrivals, QStringLiteral("history %1").arg(sent), qMin(chunk, stored - sent),
              [](const QString&) { return true; });
    std::printf("the chat holds %d messages (%.0f s)\n", arrivals.count,
                double(filling.elapsed()) / 1000.0);

    std::printf("%-34s %8s %8s %10s\n", "", "CPU s", "idle s", "memory MB");
    auto print = [](const QString& what, const Burst& b) {
        std::printf("%-34s %8.2f %8.2f %10.1f\n", qPrintable(what), b.cpu, b.idleSeconds,
                    b.memoryMb);
    };
    const Burst closed = burst(&stack, &arrivals, QStringLiteral("closed"), kBurst,
                               [](const QString&) { return true; });
    print(QStringLiteral("burst of 1,000, chat not open"), closed);

    Contact peer;
    peer.setNumber(kPeerPhone);
    stack.window()->startMessaging(peer);
    runUntil([&] { return stack.chatWindow() && !stack.chatWindow()->boardMessageIds().isEmpty(); },
             60000);
    waitIdle();
    std::printf("%-34s %8s %8s %10.1f\n", "chat open", "", "", residentMb());

    // The last message of a burst is shown once it is on the board and in
    // view; the view stays at the newest message throughout.
    auto shown = [&stack](const QString& text) {
        ChatMessageWidget* bubble = stack.bubbleWithText(text);
        return bubble && !bubble->visibleRegion().isEmpty();
    };
    QList<Burst> open;
    for (int i = 0; i < bursts; ++i) {
        open << burst(&stack, &arrivals, QStringLiteral("burst %1").arg(i + 1), kBurst, shown);
        print(QStringLiteral("burst %1 of 1,000, chat open").arg(i + 1), open.last());
    }
    if (open.size() > 1) {
        const Burst& first = open.first();
        const Burst& last = open.last();
        std::printf("last burst against the first: %.2fx CPU (%+.2f CPU s)\n",
                    first.cpu > 0 ? last.cpu / first.cpu : 0.0, last.cpu - first.cpu);
        std::printf("memory growth after the first burst: %.1f MB per 1,000\n",
                    (last.memoryMb - first.memoryMb) / double(open.size() - 1));
        std::printf("first open burst against the closed chat: %.2fx CPU\n",
                    closed.cpu > 0 ? first.cpu / closed.cpu : 0.0);
    }
    ChatWindow* window = stack.chatWindow();
    if (window)
        std::printf("bubbles on the board: %d\n", window->boardMessageIds().size());
    // With QUORVEL_BENCH_SHOTS set: the window after the bursts, scrolled up
    // by 1,000 messages, and back at the newest (under the build folder's
    // screenshots).
    if (window && qEnvironmentVariableIsSet("QUORVEL_BENCH_SHOTS")) {
        stack.saveShot(QStringLiteral("burst-after-the-last.png"));
        QScrollBar* bar = window->scrollArea()->verticalScrollBar();
        for (int page = 0; page < 1000 / ChatWindow::pageSize; ++page) {
            const QString top = window->boardMessageIds().first();
            bar->setValue(std::min(1, bar->maximum()));
            bar->setValue(0);
            runUntil([&] { return window->boardMessageIds().first() != top; }, 10000);
        }
        bar->setValue(bar->maximum() / 2);
        stack.saveShot(QStringLiteral("burst-scrolled-up-1000.png"));
        runUntil(
            [&] {
                bar->setValue(bar->maximum());
                return shown(QStringLiteral("burst %1 message %2").arg(bursts).arg(kBurst - 1));
            },
            120000);
        stack.saveShot(QStringLiteral("burst-back-at-the-newest.png"));
    }
    printLoadAverage("end");
    return 0;
}
