// Start-up to the first painted main window with 1,000 chats in the stores,
// beside a bare QApplication that shows one empty QMainWindow.
//
// The local service runs in this process for the whole benchmark, with its
// chat server, as it would be running for a user; the program signs in to
// both as it starts. The stores are made once, the way a user gets them: the
// program's own controller signs up, then 1,000 partners each send a
// message, stored by the core as arrived messages with the partner among the
// contacts. Each timed start is then a fresh process on that same data
// (fonts, caches and stores are per process), alternating with the bare
// start; both are measured from the moment the process is started (before
// it is loaded, from this process's clock) to the end of a paint of the shown
// window, the program's once the chats are in (the chat tab's badge counts
// all 1,000). The time until the chat list, opened right after, holds all
// 1,000 chats and is painted is printed too. Medians, their difference and ratio are printed.
// Then the same program on stores with one chat and with 5,000, alternating:
// the differences from one chat are what the other 999 and 4,999 chats cost
// the start-up, beside the start with one chat as their baseline.
//
//   bench_shellstartup                  seed, then time the kinds of start
//   bench_shellstartup --shot FILE      seed, start once, save the window
#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contactmanager.h"
#include "Managers/manager.h"
#include "Managers/quorveldesktopcore.h"
#include "benchload.h"
#include "localstack.h"
#include "shell/chattab.h"
#include "shell/connectionstatuswidget.h"
#include "shell/messengermainwindow.h"
#include "shell/quorveldesktop.h"
#include "shell/register.h"
#include "shell/sidepanel.h"
#include "widgets/catalogues.h"
#include "widgets/fonts.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <ctime>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {
const int kChats = 1000;
const int kManyChats = 5000;
const QString kCode = QStringLiteral("13579");
// CLOCK_MONOTONIC in ms: the same clock in every process of the machine, so
// a child's moments compare with the moment its parent started it.
double ms()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

QString partner(int i)
{
    return QStringLiteral("98913%1").arg(i, 7, 10, QLatin1Char('0'));
}

// Runs the event loop until done() holds or the time is up.
bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// The settings of the local service serving from folder (its client.env),
// for the program to find it.
bool useService(const QString& folder)
{
    QFile env(QDir(folder).filePath(QStringLiteral("client.env")));
    if (!env.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : env.readAll().split('\n')) {
        const int at = line.indexOf('=');
        if (at > 0)
            qputenv(line.left(at).constData(), line.mid(at + 1));
    }
    return true;
}

// The local service with its chat server, in this process.
LocalStack* startService(const QString& folder)
{
    LocalStack::Options options;
    options.folder = folder;
    options.demoCode = kCode;
    options.withChat = true;
    auto* stack = new LocalStack(options, qApp);
    if (!stack->start()) {
        std::fprintf(stderr, "local service: %s\n", qPrintable(stack->errorString()));
        delete stack;
        return nullptr;
    }
    return stack;
}

// As the program's main() does: the catalogues, and with them the
// interface's direction (right to left for Persian).
void prepareGui(QApplication& app)
{
    QuorvelDesktopCore::registerMetaTypes();
    qRegisterMetaType<ConnectionState>("ConnectionState");
    Catalogues::install();
    app.setFont(Fonts::getFont(baseFontSize));
}

// Each store is signed up with its own number.
QString ownNumber(int chats)
{
    return QStringLiteral("98912%1").arg(chats, 7, 10, QLatin1Char('0'));
}

int runSeed(int argc, char* argv[], const QString& serviceFolder, int chats)
{
    QApplication app(argc, argv);
    if (!useService(serviceFolder))
        return 1;
    prepareGui(app);
    QuorvelDesktop desktop;
    Register* window = desktop.getRegisterWindow();
    if (!window) {
        std::fprintf(stderr, "seed: already signed up\n");
        return 1;
    }
    bool ready = false;
    // The core's procedures run one after the other: the activation goes out
    // once the sign-up's answer is in.
    emit window->startRegistration(ownNumber(chats));
    emit window->startActivation(kCode);
    if (!waitUntil([&] { return desktop.getMainWindow() != nullptr; }, 60000)) {
        std::fprintf(stderr, "seed: sign-up did not finish\n");
        return 1;
    }
    QObject::connect(desktop.getCore(), &QuorvelDesktopCore::initializingFinished, &app,
                     [&] { ready = true; });
    if (!waitUntil([&] { return ready; }, 60000)) {
        std::fprintf(stderr, "seed: the core did not load\n");
        return 1;
    }
    bool stored = true;
    QMetaObject::invokeMethod(
        desktop.getCore(),
        [&] {
            Manager* manager = desktop.getCore()->getManager();
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            for (int i = 0; i < chats; ++i) {
                const QString number = partner(i);
                manager->getContactManager()->addInitialContact(number, QString::fromUtf8("مخاطب"),
                                                                QString::number(i), false);
                Message message(MessageBase::MsgMajorType_SimpleChat, number, number,
                                QString::fromUtf8("سلام، پیام شماره %1").arg(i));
                message.setMinorType(MessageBase::MsgMinorType_Text);
                message.setMessageId(QStringLiteral("seed_%1").arg(i));
                message.setSendTimeInGMT(now - qint64(chats - i) * 60000);
                message.setState(MessageBase::MsgState_Delivered);
                stored = manager->getChatManager()->storeArrivedMessage(message) && stored;
            }
        },
        Qt::BlockingQueuedConnection);
    desktop.aboutToQuit();
    if (!stored)
        std::fprintf(stderr, "seed: a message was refused\n");
    return stored ? 0 : 1;
}

int runBare(int argc, char* argv[])
{
    const double entered = ms();
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    waitUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 30000);
    window.repaint();
    std::printf("bare %.3f %.3f\n", entered, ms());
    return 0;
}

int runProgram(int argc, char* argv[], const QString& serviceFolder, int chatCount,
               const QString& shot)
{
    const double entered = ms();
    QApplication app(argc, argv);
    if (!useService(serviceFolder))
        return 1;
    prepareGui(app);
    QuorvelDesktop desktop;
    MessengerMainWindow* window = desktop.getMainWindow();
    if (!window) {
        std::fprintf(stderr, "program: not signed in\n");
        return 1;
    }
    ChatTab* chats = window->getSidePanel()->getChatTab();
    // The panel opens on the channels: the chats are in once the chat tab's
    // badge counts every one of them (each has one unread message).
    const bool listed = waitUntil(
        [&] {
            return window->windowHandle() && window->windowHandle()->isExposed() &&
                   window->getSidePanel()->getChatButton()->getUnreadCount() >= chatCount;
        },
        120000);
    if (!listed) {
        std::fprintf(stderr, "program: the chats did not come\n");
        return 1;
    }
    window->repaint();
    const double painted = ms();
    // Then the user opens the chat list, until it holds every chat and is
    // painted.
    window->getSidePanel()->buttonChatClicked();
    if (!waitUntil([&] { return chats->rowIds().size() >= chatCount; }, 120000)) {
        std::fprintf(stderr, "program: not every chat is listed\n");
        return 1;
    }
    window->repaint();
    std::printf("program %.3f %.3f %.3f\n", entered, painted, ms());
    int code = 0;
    if (!shot.isEmpty()) {
        window->resize(1280, 800);
        window->getSidePanel()->buttonChatClicked();
        QDir().mkpath(QFileInfo(shot).absolutePath());
        QCoreApplication::processEvents();
        if (chats->rowIds().size() != chatCount || !window->grab().save(shot)) {
            std::fprintf(stderr, "program: no picture\n");
            code = 1;
        }
    }
    desktop.aboutToQuit();
    return code;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Runs this program in a role as a fresh process with home at folder.
bool runChild(const QString& home, const QStringList& args, QString* output,
              double* launched = nullptr)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QDir root(home);
    env.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), root.filePath(QStringLiteral("cache")));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The service in this process answers while the child runs.
    QEventLoop loop;
    QObject::connect(&child, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QObject::connect(&child, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    if (launched)
        *launched = ms();
    child.start(QCoreApplication::applicationFilePath(), args);
    loop.exec();
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished();
        return false;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    *output = QString::fromLatin1(child.readAllStandardOutput()).trimmed();
    return true;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    if (argc > 3 && std::strcmp(argv[1], "--seed") == 0)
        return runSeed(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return runBare(argc, argv);
    if (argc > 3 && std::strcmp(argv[1], "--program") == 0)
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]),
                          argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());

    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    QString shot;
    if (argc > 2 && std::strcmp(argv[1], "--shot") == 0)
        shot = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    QTemporaryDir home;
    const QString service = QDir(home.path()).filePath(QStringLiteral("service"));
    LocalStack* stack = home.isValid() ? startService(service) : nullptr;
    if (!stack)
        return 1;
    // One home per number of chats, each signed up and seeded once.
    const auto homeFor = [&](int chats) {
        return QDir(home.path()).filePath(QStringLiteral("chats%1").arg(chats));
    };
    const QList<int> counts =
        shot.isEmpty() ? QList<int>{kChats, 1, kManyChats} : QList<int>{kChats};
    QString output;
    for (int chats : counts) {
        if (!runChild(homeFor(chats), {QStringLiteral("--seed"), service, QString::number(chats)},
                      &output)) {
            std::fprintf(stderr, "the stores of %d chats could not be made\n", chats);
            stack->stop();
            return 1;
        }
    }
    if (!shot.isEmpty()) {
        const bool shown = runChild(
            homeFor(kChats), {QStringLiteral("--program"), service, QString::number(kChats), shot},
            &output);
        stack->stop();
        if (!shown)
            return 1;
        std::printf("%s\n", qPrintable(shot));
        return 0;
    }
    // A fresh process of a kind: its moments since it was started, the last
    // line it printed being "<kind> entered painted [all rows]".
    struct Figures
    {
        QList<double> main, painted, allRows;
    };
    const auto start = [&](const QStringList& args, const QString& folder, Figures* into) {
        double launched = 0;
        if (!runChild(folder, args, &output, &launched))
            return false;
        const QStringList fields = output.split(QLatin1Char('\n')).last().split(QLatin1Char(' '));
        if (fields.size() >= 3) {
            into->main << fields.at(1).toDouble() - launched;
            into->painted << fields.at(2).toDouble() - launched;
        }
        if (fields.size() == 4)
            into->allRows << fields.at(3).toDouble() - launched;
        return true;
    };
    const auto program = [&](int chats) {
        return QStringList{QStringLiteral("--program"), service, QString::number(chats)};
    };
    const int runs = 7;
    Figures bare, thousand, one, many;
    bool started = true;
    // The kinds take turns, so that none has the machine to itself.
    for (int i = 0; i < runs && started; ++i) {
        started = start({QStringLiteral("--bare")}, homeFor(kChats), &bare) &&
                  start(program(kChats), homeFor(kChats), &thousand) &&
                  start(program(1), homeFor(1), &one) &&
                  start(program(kManyChats), homeFor(kManyChats), &many);
    }
    stack->stop();
    if (!started) {
        std::fprintf(stderr, "a start failed\n");
        return 1;
    }
    QTextStream out(stdout);
    out << "Start-up from the process's start to the first painted window, the chat server "
           "running, median of "
        << runs << " fresh processes each (ms)\n";
    out << "  (of which until main() is entered: bare " << median(bare.main) << ", program "
        << median(thousand.main) << ")\n";
    out << "  bare QApplication + empty QMainWindow:       " << median(bare.painted) << "\n";
    out << "  program, main window with " << kChats
        << " chats in:      " << median(thousand.painted) << "\n";
    out << "  program, chat list opened, all chats listed: " << median(thousand.allRows)
        << " (ratio to bare " << median(thousand.allRows) / qMax(median(bare.painted), 0.001)
        << ")\n";
    out << "  difference: " << median(thousand.painted) - median(bare.painted)
        << " ms (goal: at most 500), ratio: "
        << median(thousand.painted) / qMax(median(bare.painted), 0.001) << "\n";
    out << "  program, main window with 1 chat in:         " << median(one.painted) << "\n";
    out << "  " << kChats << " chats above one: " << median(thousand.painted) - median(one.painted)
        << " ms (goal: under 100), ratio: "
        << median(thousand.painted) / qMax(median(one.painted), 0.001) << "\n";
    out << "  program, main window with " << kManyChats
        << " chats in:      " << median(many.painted) << "\n";
    out << "  " << kManyChats << " chats above one: " << median(many.painted) - median(one.painted)
        << " ms, ratio: " << median(many.painted) / qMax(median(one.painted), 0.001) << "\n";
    out << "  " << kManyChats
        << " chats, chat list opened, all chats listed: " << median(many.allRows) << "\n";
    out.flush();
    printLoadAverage("end");
    return 0;
}
