// A program that holds the single-instance guard: prints "primary" once it
// runs, "raised" each time a later start greets it, and ends when its input
// closes. The input line "restart" restarts it through the shell's restart,
// "restart-missing" tries the same with a program file that does not exist.
// With GUARD_PROBE_LOG set, each process also appends "primary <pid> <args>"
// (arguments after the program, joined by '|') and "raised <pid>" to that
// file, so that a restarted copy, which has no pipe to the test, can be seen.
// With GUARD_PROBE_PARENT set, only a process of that parent ends with its
// input; a restarted copy runs until it is killed.
#include "shell/programrestart.h"
#include "shell/singleapplication.h"

#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

void report(const QByteArray& line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
    const QByteArray logPath = qgetenv("GUARD_PROBE_LOG");
    if (logPath.isEmpty())
        return;
    QFile log(QString::fromLocal8Bit(logPath));
    if (log.open(QIODevice::Append))
        log.write(line + ' ' + QByteArray::number(qint64(::getpid())) + '\n');
}

} // namespace

int main(int argc, char* argv[])
{
    // A restarted copy writes into the first one's output pipe, which may be
    // closed by then.
    std::signal(SIGPIPE, SIG_IGN);
    SingleApplication app(argc, argv, false, SingleApplication::PerUser, 100);
    report("primary " + QCoreApplication::arguments().mid(1).join(QLatin1Char('|')).toUtf8());
    QObject::connect(&app, &SingleApplication::instanceStarted, []() { report("raised"); });
    // A restarted copy inherits the first one's input, which the test closes
    // once the first process ended: only the process the test started itself
    // follows its input.
    const QByteArray parent = qgetenv("GUARD_PROBE_PARENT");
    const bool followInput = parent.isEmpty() || parent.toLongLong() == qint64(::getppid());
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(followInput);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&]() {
        char c;
        if (::read(STDIN_FILENO, &c, 1) <= 0) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        if (c != '\n') {
            pending += c;
            return;
        }
        if (pending == "restart")
            ProgramRestart::restart();
        else if (pending == "restart-missing")
            report(ProgramRestart::restart(QStringLiteral("/nonexistent/quorvel-probe"), {})
                       ? "restarted"
                       : "restart-failed");
        pending.clear();
    });
    return app.exec();
}
