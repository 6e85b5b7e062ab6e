// Cost of a log call: switched off (level off, or every sink off) against a bare
// flag test, and a line written by the file sink against a bare QFile append and
// flush of a line of the same length.
#include "benchload.h"
#include "foundation/simpleqtlogger.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace simpleqtlogger;

namespace {

volatile bool bareFlag = false;
volatile int sink = 0;

__attribute__((noinline)) void disabledDebugCall(int i)
{
    L_DEBUG(QStringLiteral("Bench::run | value %1").arg(i));
}

__attribute__((noinline)) void bareFlagCall(int i)
{
    if (bareFlag)
        sink = i;
}

__attribute__((noinline)) void infoCall(int i)
{
    L_INFO(QStringLiteral("Bench::run | value %1").arg(i));
}

template <typename F> double nsPerCall(int n, F f)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        f(i);
    return double(t.nsecsElapsed()) / n;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    QTemporaryDir dir;
    SimpleQtLogger* logger = SimpleQtLogger::createInstance();

    const int calls = 20000000;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = false;
    const double bare = nsPerCall(calls, bareFlagCall);
    const double levelOff = nsPerCall(calls, disabledDebugCall);
    LogSinks::ENABLE_LOG_SINK_FILE = false;
    const double sinksOff = nsPerCall(calls, infoCall);
    std::printf("disabled call, level off:     %8.2f ns  (bare flag test %.2f ns, ratio %.2f)\n",
                levelOff, bare, levelOff / bare);
    std::printf("disabled call, all sinks off: %8.2f ns  (bare flag test %.2f ns, ratio %.2f)\n",
                sinksOff, bare, sinksOff / bare);

    LogSinks::ENABLE_LOG_SINK_FILE = true;
    const QString path = dir.filePath("bench.log");
    logger->setLogFileName(path, 2000000000u, 1);
    const int lines = 200000;
    const double fileLine = nsPerCall(lines, infoCall);
    const qint64 written = QFile(path).size();
    const int lineLength = int(written / lines);

    // The floor: the same bytes appended and flushed through QFile alone.
    QFile raw(dir.filePath("raw.log"));
    raw.open(QIODevice::Append | QIODevice::Text | QIODevice::WriteOnly);
    const QByteArray rawLine = QByteArray(lineLength - 1, 'x') + '\n';
    const double rawLineNs = nsPerCall(lines, [&raw, &rawLine](int) {
        raw.write(rawLine);
        raw.flush();
    });
    std::printf("file-sink line (%d bytes):   %8.0f ns  (QFile write+flush %.0f ns, ratio %.2f)\n",
                lineLength, fileLine, rawLineNs, fileLine / rawLineNs);
    delete logger;
    printLoadAverage("end");
    return 0;
}
