#include "foundation/simpleqtlogger.h"
#include "foundation/sinkconsolelog.h"
#include "foundation/sinkfilelog.h"

#include <QFile>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

using namespace simpleqtlogger;

namespace {

EnableLogLevels allLevels()
{
    EnableLogLevels l;
    l.logLevel_DEBUG = l.logLevel_FUNCTION = l.logLevel_INTERNAL = true;
    return l;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

int evaluations = 0;
QString countedText()
{
    ++evaluations;
    return QStringLiteral("counted");
}

const QString tsPattern = QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}");

} // namespace

// Receives the signal sink's finished lines.
class LineCollector : public QObject
{
    Q_OBJECT
public:
    QStringList lines;
public slots:
    void add(const QString& line) { lines << line; }
};

// Logs count lines once every worker sharing the gate is running. A thread's
// id is only unique among threads alive at the same time (a finished
// thread's id is handed to the next one), so the gate keeps all of them
// alive together however the machine schedules them.
class LogThread : public QThread
{
public:
    LogThread(int id, int count, QSemaphore* ready, QSemaphore* go)
        : id(id), count(count), ready(ready), go(go)
    {
    }
    void run() override
    {
        ready->release();
        go->acquire();
        for (int i = 0; i < count; ++i)
            L_INFO(QStringLiteral("thread %1 line %2").arg(id).arg(i));
    }
    int id;
    int count;
    QSemaphore* ready;
    QSemaphore* go;
};

class TestSimpleQtLogger : public QObject
{
    Q_OBJECT

private:
    SimpleQtLogger* logger = nullptr;
    LineCollector collector;

    // Signal sink only, every level on.
    void useSignalSink()
    {
        LogSinks::ENABLE_LOG_SINK_FILE = false;
        LogSinks::ENABLE_LOG_SINK_SIGNAL = true;
        logger->setLogLevels_signal(allLevels());
        QVERIFY(logger->connectSinkSignalLog(&collector, SLOT(add(QString))));
    }

private slots:
    void init()
    {
        LogSinks::ENABLE_LOG_SINK_FILE = true;
        LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
        LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
        LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
        LogSinks::ENABLE_FUNCTION_STACK_TRACE = true;
        LogSinks::ENABLE_CONSOLE_COLOR = false;
        LogSinks::ENABLE_LOG_LEVELS = allLevels();
        logger = SimpleQtLogger::createInstance();
        collector.lines.clear();
        evaluations = 0;
    }

    void cleanup() { delete logger; }

    void replacedInstanceIsTheCurrentOne()
    {
        QCOMPARE(SimpleQtLogger::getInstance(), logger);
        SimpleQtLogger* second = SimpleQtLogger::createInstance();
        QCOMPARE(SimpleQtLogger::getInstance(), second);
        logger = second; // the first one was deleted
        QVERIFY(SimpleQtLogger::threadId().contains(QRegularExpression("^[0-9a-f]{16}$")));
        for (int i = 0; i < 3; ++i) {
            const QString ts = SimpleQtLogger::timeStamp();
            QVERIFY(ts.contains(QRegularExpression("^" + tsPattern + "$")));
            const QDateTime parsed = QDateTime::fromString(ts, "yyyy-MM-dd hh:mm:ss.zzz");
            QVERIFY(qAbs(parsed.msecsTo(QDateTime::currentDateTime())) < 1000);
            QTest::qWait(400); // across a second boundary at least once
        }
    }

    void defaultLineFormat_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // everything after the time stamp
        const QString tid = SimpleQtLogger::threadId();
        const QString tail = QStringLiteral(" (fn@src/a.cpp:42)");
        QTest::newRow("fatal") << int(LogLevel_FATAL) << "boom"
                               << " [" + tid + "] [!] boom" + tail;
        QTest::newRow("error") << int(LogLevel_ERROR) << "e"
                               << " [" + tid + "] [E] e" + tail;
        QTest::newRow("warning") << int(LogLevel_WARNING) << "w"
                                 << " [" + tid + "] [W] w" + tail;
        QTest::newRow("note") << int(LogLevel_NOTE) << "n"
                              << " [" + tid + "] [N] n" + tail;
        QTest::newRow("info") << int(LogLevel_INFO) << "Cls::m | x"
                              << " [" + tid + "] [I] Cls::m | x" + tail;
        QTest::newRow("debug") << int(LogLevel_DEBUG) << "d"
                               << " [" + tid + "] [D] d" + tail;
        QTest::newRow("trimmed") << int(LogLevel_INFO) << "  \tpadded \n"
                                 << " [" + tid + "] [I] padded" + tail;
        QTest::newRow("empty") << int(LogLevel_INFO) << ""
                               << " [" + tid + "] [I] ?" + tail;
        QTest::newRow("empty function") << int(LogLevel_FUNCTION) << " "
                                        << " [" + tid + "] [F] -" + tail;
        QTest::newRow("tokens stay literal")
            << int(LogLevel_INFO) << "<TS> <TID> <LL> <FUNC> <FILE> <LINE> <TEXT>"
            << " [" + tid + "] [I] <TS> <TID> <LL> <FUNC> <FILE> <LINE> <TEXT>" + tail;
        QTest::newRow("internal format") << int(LogLevel_INTERNAL) << "inner"
                                         << " [" + tid + "] [-] inner";
    }

    void defaultLineFormat()
    {
        QFETCH(int, level);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        useSignalSink();
        logger->log(text, LogLevel(level), QStringLiteral("fn"), "src/a.cpp", 42);
        QCOMPARE(collector.lines.size(), 1);
        const QString line = collector.lines.first();
        QVERIFY2(line.left(23).contains(QRegularExpression("^" + tsPattern + "$")),
                 qPrintable(line));
        QCOMPARE(line.mid(23), expected);
    }

    void customFormatAndShortThreadId()
    {
        useSignalSink();
        logger->setLogFormat_signal(QStringLiteral("<TID32>|<LL>|<LINE>|<TEXT>|<NOPE>"),
                                    QStringLiteral("int <TEXT> <FUNC>"));
        logger->log("a", LogLevel_WARNING, "f", "x.cpp", 7);
        logger->log("b", LogLevel_INTERNAL, "f", "x.cpp", 7);
        QCOMPARE(collector.lines, QStringList()
                                      << SimpleQtLogger::threadId().right(8) + "|W|7|a|<NOPE>"
                                      << "int b <FUNC>");
    }

    void macroCarriesFunctionFileAndLine()
    {
        useSignalSink();
        const int line = __LINE__ + 1;
        L_NOTE(QStringLiteral("from macro"));
        QCOMPARE(collector.lines.size(), 1);
        QVERIFY2(collector.lines.first().endsWith(
                     QStringLiteral("[N] from macro (macroCarriesFunctionFileAndLine@%1:%2)")
                         .arg(QString::fromUtf8(__FILE__))
                         .arg(line)),
                 qPrintable(collector.lines.first()));
    }

    void filtersAndSinkLevels()
    {
        useSignalSink();
        QVERIFY(!logger->addLogFilter_signal(QRegularExpression("(unclosed")));
        QVERIFY(logger->addLogFilter_signal(QRegularExpression("^keep")));
        EnableLogLevels noDebug = allLevels();
        noDebug.logLevel_DEBUG = false;
        logger->setLogLevels_signal(noDebug);
        QCOMPARE(logger->getLogLevels_signal().logLevel_DEBUG, false);
        L_INFO("keep this");
        L_INFO("drop this");
        L_DEBUG("keep but debug is off for the sink");
        QCOMPARE(collector.lines.size(), 1);
        QVERIFY(collector.lines.first().contains("keep this"));
        QCOMPARE(logger->getLogLevels_file("no such role").logLevel_FATAL, false);
        QVERIFY(!logger->addLogFilter_file("no such role", QRegularExpression("x")));
    }

    // A disabled level, or every sink switched off, builds no text and sends nothing.
    void disabledCallsDoNothing()
    {
        useSignalSink();
        QSignalSpy spy(logger, &SimpleQtLogger::signalLog);
        LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = false;
        L_DEBUG(countedText());
        QCOMPARE(evaluations, 0);

        LogSinks::ENABLE_LOG_LEVELS = allLevels();
        LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
        L_ERROR(countedText());
        QCOMPARE(evaluations, 0);
        logger->log("direct", LogLevel_ERROR, "f", "x.cpp", 1);
        {
            L_FUNC(countedText());
        }
        QCOMPARE(evaluations, 0);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(logger->functionDepth(), 0u);

        LogSinks::ENABLE_LOG_SINK_SIGNAL = true;
        L_ERROR(countedText());
        QCOMPARE(evaluations, 1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(collector.lines.size(), 1);
    }

    void linesFromThreadsKeepTheirOrder()
    {
        useSignalSink();
        const int threads = 4, perThread = 300;
        QSemaphore ready, go;
        QList<LogThread*> workers;
        for (int t = 0; t < threads; ++t)
            workers << new LogThread(t, perThread, &ready, &go);
        for (LogThread* w : workers)
            w->start();
        const bool allRunning = ready.tryAcquire(threads, 20000);
        go.release(threads);
        QVERIFY(allRunning);
        for (LogThread* w : workers)
            QVERIFY(w->wait(20000));
        QTRY_COMPARE_WITH_TIMEOUT(collector.lines.size(), threads * perThread, 10000);
        QVector<int> next(threads, 0);
        QHash<int, QString> tidOf;
        const QRegularExpression rx("\\[([0-9a-f]{16})\\] \\[I\\] thread (\\d+) line (\\d+) ");
        for (const QString& line : qAsConst(collector.lines)) {
            const auto m = rx.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            const int t = m.captured(2).toInt();
            QCOMPARE(m.captured(3).toInt(), next[t]);
            ++next[t];
            if (!tidOf.contains(t))
                tidOf[t] = m.captured(1);
            QCOMPARE(m.captured(1), tidOf[t]);
        }
        QCOMPARE(QSet<QString>(tidOf.begin(), tidOf.end()).size(), threads);
        qDeleteAll(workers);
    }

    void functionTraceNestsAndUnwinds()
    {
        useSignalSink();
        logger->setLogFormat_signal("<LL> <TEXT>", "<TEXT>");
        {
            L_FUNC("outer");
            {
                L_FUNC("");
                QCOMPARE(logger->functionDepth(), 2u);
            }
        }
        QCOMPARE(logger->functionDepth(), 0u);
        QCOMPARE(collector.lines, QStringList() << "F \\ outer"
                                                << "F .\\"
                                                << "F ./"
                                                << "F / outer");

        collector.lines.clear();
        LogSinks::ENABLE_FUNCTION_STACK_TRACE = false;
        {
            L_FUNC("flat");
        }
        QCOMPARE(collector.lines, QStringList() << "F flat");
        QCOMPARE(logger->functionDepth(), 0u);
    }

    // A scope that began with function lines off must not leave a level it never
    // entered: the depth stays at zero and no exit line appears.
    void functionTraceNeverUnderflows()
    {
        useSignalSink();
        logger->setLogFormat_signal("<TEXT>", "<TEXT>");
        LogSinks::ENABLE_LOG_LEVELS.logLevel_FUNCTION = false;
        {
            L_FUNC("began while off");
            LogSinks::ENABLE_LOG_LEVELS.logLevel_FUNCTION = true;
        }
        QCOMPARE(logger->functionDepth(), 0u);
        logger->logFuncEnd("stray end", "f", "x.cpp", 1);
        QCOMPARE(logger->functionDepth(), 0u);
        QVERIFY(collector.lines.isEmpty());
        {
            L_FUNC("after");
        }
        QCOMPARE(collector.lines, QStringList() << "\\ after"
                                                << "/ after");

        // Switched off inside the scope: the level entered is still left.
        collector.lines.clear();
        {
            L_FUNC("x");
            LogSinks::ENABLE_LOG_LEVELS.logLevel_FUNCTION = false;
        }
        QCOMPARE(logger->functionDepth(), 0u);
        QCOMPARE(collector.lines, QStringList() << "\\ x");
    }

    void consoleOutput_data()
    {
        QTest::addColumn<bool>("color");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << false
                               << QByteArray("FATAL: dead\n"
                                             "plain info\n"
                                             "DEBUG: dbg\n"
                                             "\\ trace (consoleOutput)\n"
                                             "/ trace (consoleOutput)\n");
        QTest::newRow("color") << true
                               << QByteArray("\033[0;40;33;1mFATAL\033[0;33m: dead\n"
                                             "plain info\n"
                                             "\033[0;47;35;1mDEBUG\033[0;35m: dbg\n"
                                             "\033[0;32m\\ trace (consoleOutput)\n"
                                             "\033[0;32m/ trace (consoleOutput)\n");
    }

    void consoleOutput()
    {
        QFETCH(bool, color);
        QFETCH(QByteArray, expected);
        LogSinks::ENABLE_LOG_SINK_FILE = false;
        LogSinks::ENABLE_LOG_SINK_CONSOLE = true;
        LogSinks::ENABLE_CONSOLE_COLOR = color;
        logger->setLogLevels_console(allLevels());

        QTemporaryDir dir;
        const QString path = dir.filePath("stdout.txt");
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        QVERIFY(std::freopen(QFile::encodeName(path).constData(), "w", stdout));
        L_FATAL("dead");
        L_INFO("plain info");
        L_DEBUG("dbg");
        {
            L_FUNC("trace");
        }
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
        QCOMPARE(readFile(path), expected);

        QCOMPARE(SinkConsoleLog::levelPrefix(LogLevel_WARNING, true),
                 QStringLiteral("\033[0;40;36;1mWARNING\033[0;36m: "));
        QCOMPARE(SinkConsoleLog::levelPrefix(LogLevel_NOTE, true),
                 QStringLiteral("\033[0;40;37;1mNOTE\033[0m: "));
        QCOMPARE(SinkConsoleLog::levelPrefix(LogLevel_ERROR, false), QStringLiteral("ERROR: "));
        QCOMPARE(SinkConsoleLog::levelPrefix(LogLevel_INFO, true), QString());
    }

    void fileNameLimits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("size");
        QTest::addColumn<uint>("files");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<uint>("expectedSize");
        QTest::addColumn<uint>("expectedFiles");
        QTest::newRow("plain") << "a.log" << 5000u << 3u << true << 5000u << 3u;
        QTest::newRow("small size, no files") << "a.log" << 10u << 0u << true << 100u << 1u;
        QTest::newRow("too many files") << "a.log" << 100u << 150u << true << 100u << 99u;
        QTest::newRow("not .log") << "a.txt" << 100u << 1u << false << 0u << 0u;
        QTest::newRow(".log inside") << "a.log.bak" << 100u << 1u << false << 0u << 0u;
    }

    void fileNameLimits()
    {
        QFETCH(QString, name);
        QFETCH(uint, size);
        QFETCH(uint, files);
        QFETCH(bool, accepted);
        QFETCH(uint, expectedSize);
        QFETCH(uint, expectedFiles);
        QTemporaryDir dir;
        SinkFileLog sink(QStringLiteral("test"));
        QCOMPARE(sink.setLogFileName(dir.filePath(name), size, files), accepted);
        QCOMPARE(sink.isLogFileOpen(), accepted);
        QCOMPARE(sink.getLogFileRotationSize(), expectedSize);
        QCOMPARE(sink.getLogFileMaxNumber(), expectedFiles);
        QCOMPARE(logger->setLogFileName("no such role", dir.filePath("b.log"), 100, 1), false);
    }

    void rolledNames()
    {
        QCOMPARE(SinkFileLog::rolledFileName("/x/Quorvel.log", 1), QString("/x/Quorvel_01.log"));
        QCOMPARE(SinkFileLog::rolledFileName("/x/Quorvel.log", 12), QString("/x/Quorvel_12.log"));
        QCOMPARE(SinkFileLog::rolledFileName("/x/a.logs/q.log", 3),
                 QString("/x/a_03.logs/q_03.log"));
    }

    void fileSinkWritesLinesOfItsRole()
    {
        QTemporaryDir dir;
        const QString mainPath = dir.filePath("Quorvel.log");
        logger->setLogLevels_file(allLevels());
        QVERIFY(logger->setLogFileName(mainPath, 50000000, 1));
        logger->addSinkFileLog("net");
        logger->setLogLevels_file("net", allLevels());
        logger->addLogFilter_file("net", QRegularExpression("^net"));
        logger->setLogFormat_file("net", "<LL>:<TEXT>", "<LL>:<TEXT>");
        QVERIFY(logger->setLogFileName("net", dir.filePath("net.log"), 100, 1));
        logger->log("net up \u00e9", LogLevel_INFO, "f", "n.cpp", 9);
        logger->log("other", LogLevel_WARNING, "g", "m.cpp", 10);

        const QList<QByteArray> lines = readFile(mainPath).split('\n');
        // The start line (internal level), the two lines and the final line end.
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].endsWith("[-] Start file-log '" + QFile::encodeName(mainPath) + "'"),
                 lines[0].constData());
        QVERIFY(lines[1].endsWith(QString("[I] net up \u00e9 (f@n.cpp:9)").toUtf8()));
        QVERIFY(lines[2].endsWith("[W] other (g@m.cpp:10)"));
        // The start line did not pass the role's filter.
        QCOMPARE(readFile(dir.filePath("net.log")), QString("I:net up \u00e9\n").toUtf8());

        LogSinks::ENABLE_LOG_SINK_FILE = false;
        logger->log("net off", LogLevel_INFO, "f", "n.cpp", 9);
        QCOMPARE(readFile(mainPath).split('\n').size(), 4);
    }

    // Rolling with three rolled files: 03 is dropped, 02 -> 03, 01 -> 02, the live
    // file -> 01, and a new live file starts.
    void rollingShiftsAndDrops()
    {
        QTemporaryDir dir;
        const QString live = dir.filePath("app.log");
        for (int k = 1; k <= 3; ++k)
            QVERIFY(
                writeFile(SinkFileLog::rolledFileName(live, k), "rolled " + QByteArray::number(k)));
        auto* sink = logger->findChild<SinkFileLog*>();
        QVERIFY(sink);
        logger->setLogFormat_file("<TEXT>", "<TEXT>");
        logger->setLogLevels_file(allLevels());
        QVERIFY(logger->setLogFileName(live, 100, 3));

        // No line since the last check: no size check, nothing moves.
        QVERIFY(QMetaObject::invokeMethod(sink, "slotCheckLogFileActivity"));
        QCOMPARE(readFile(SinkFileLog::rolledFileName(live, 1)), QByteArray("rolled 1"));

        const QString longText(120, QLatin1Char('x'));
        logger->log(longText, LogLevel_INFO, "f", "x.cpp", 1);
        const QByteArray oldLive = readFile(live);
        QVERIFY(oldLive.contains(longText.toLatin1()));
        QVERIFY(QMetaObject::invokeMethod(sink, "slotCheckLogFileActivity"));

        // The old live file, closed by the line that announces the rolling.
        const QByteArray rolled1 = readFile(SinkFileLog::rolledFileName(live, 1));
        QVERIFY(rolled1.startsWith(oldLive));
        QVERIFY(rolled1.endsWith("size=" + QByteArray::number(oldLive.size()) +
                                 " (rotation-size=100) --> rolling\n"));
        QCOMPARE(readFile(SinkFileLog::rolledFileName(live, 2)), QByteArray("rolled 1"));
        QCOMPARE(readFile(SinkFileLog::rolledFileName(live, 3)), QByteArray("rolled 2"));
        QVERIFY(!QFile::exists(SinkFileLog::rolledFileName(live, 4)));
        const QByteArray fresh = readFile(live);
        QVERIFY2(fresh.startsWith("Log-file '" + QFile::encodeName(live) + "' rolling done"),
                 fresh.constData());
        QVERIFY(sink->isLogFileOpen());

        // Below the rotation size nothing rolls.
        LogSinks::ENABLE_LOG_LEVELS.logLevel_INTERNAL = false;
        QVERIFY(writeFile(live, ""));
        logger->log("short", LogLevel_INFO, "f", "x.cpp", 1);
        QVERIFY(QMetaObject::invokeMethod(sink, "slotCheckLogFileActivity"));
        QCOMPARE(readFile(SinkFileLog::rolledFileName(live, 1)), rolled1);
    }

    // The activity check runs by itself 5000 ms after the file was opened.
    void rollingRunsOnItsTimer()
    {
        QTemporaryDir dir;
        const QString live = dir.filePath("timed.log");
        QVERIFY(logger->setLogFileName(live, 100, 1));
        for (int i = 0; i < 5; ++i)
            logger->log(QString(40, QLatin1Char('y')), LogLevel_INFO, "f", "x.cpp", 1);
        QTest::qWait(4000);
        QVERIFY(!QFile::exists(SinkFileLog::rolledFileName(live, 1)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(SinkFileLog::rolledFileName(live, 1)), 3000);
    }

    void unopenableFileLeavesSinkClosed()
    {
        QTemporaryDir dir;
        QVERIFY(!logger->setLogFileName(dir.filePath("missing/folder/x.log"), 100, 1));
        auto* sink = logger->findChild<SinkFileLog*>();
        QVERIFY(!sink->isLogFileOpen());
        logger->log("dropped", LogLevel_INFO, "f", "x.cpp", 1); // must not crash
    }
};

QTEST_GUILESS_MAIN(TestSimpleQtLogger)
#include "tst_simpleqtlogger.moc"
