#include "foundation/simpleqtlogger.h"

#include "foundation/sinkconsolelog.h"
#include "foundation/sinkfilelog.h"
#include "foundation/sinkqdebuglog.h"
#include "foundation/sinksignallog.h"

#include <QDateTime>
#include <QMutexLocker>
#include <QThread>

namespace simpleqtlogger {

const char* const DEFAULT_LOG_FORMAT = "<TS> [<TID>] [<LL>] <TEXT> (<FUNC>@<FILE>:<LINE>)";
const char* const DEFAULT_LOG_FORMAT_INTERNAL = "<TS> [<TID>] [<LL>] <TEXT>";
const char* const DEFAULT_LOG_FORMAT_CONSOLE = "<TEXT>";
const char* const DEFAULT_LOG_FORMAT_CONSOLE_FUNCTION_SUFFIX = " (<FUNC>)";
const char* const DEFAULT_TIMESTAMP_FORMAT = "yyyy-MM-dd hh:mm:ss.zzz";
const char* const LOG_LEVEL_CHARS = "!EWNIDF-: ";
const char* const MAIN_ROLE = "main";

bool LogSinks::ENABLE_LOG_SINK_FILE = true;
bool LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
bool LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
bool LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
bool LogSinks::ENABLE_FUNCTION_STACK_TRACE = true;
bool LogSinks::ENABLE_CONSOLE_COLOR = false;
EnableLogLevels LogSinks::ENABLE_LOG_LEVELS;

SimpleQtLogger* SimpleQtLogger::instance = nullptr;

namespace {
QString mainRole()
{
    return QString::fromLatin1(MAIN_ROLE);
}
} // namespace

SimpleQtLogger::SimpleQtLogger(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<LogLevel>("LogLevel");
    qRegisterMetaType<LogLevel>("simpleqtlogger::LogLevel");

    sinkConsoleLog = new SinkConsoleLog(this);
    sinkQDebugLog = new SinkQDebugLog(this);
    sinkSignalLog = new SinkSignalLog(this);
    sinkConsoleLog->setLogFormat(QString::fromLatin1(DEFAULT_LOG_FORMAT_CONSOLE),
                                 QString::fromLatin1(DEFAULT_LOG_FORMAT_INTERNAL));

    // The qDebug sink is connected as well: its own switch (off by default)
    // decides whether it writes.
    for (Sink* sink : {static_cast<Sink*>(sinkConsoleLog), static_cast<Sink*>(sinkQDebugLog),
                       static_cast<Sink*>(sinkSignalLog)}) {
        connect(this,
                SIGNAL(signalLog(QString, QString, QString, simpleqtlogger::LogLevel, QString,
                                 QString, unsigned int)),
                sink,
                SLOT(slotLog(QString, QString, QString, simpleqtlogger::LogLevel, QString, QString,
                             unsigned int)));
    }
    addSinkFileLog(mainRole());
}

SimpleQtLogger::~SimpleQtLogger()
{
    if (instance == this)
        instance = nullptr;
}

SimpleQtLogger* SimpleQtLogger::createInstance(QObject* parent)
{
    delete instance;
    instance = new SimpleQtLogger(parent);
    return instance;
}

SimpleQtLogger* SimpleQtLogger::getInstance()
{
    return instance;
}

void SimpleQtLogger::log(const QString& text, LogLevel logLevel, const QString& functionName,
                         const char* fileName, unsigned int lineNumber)
{
    // Callers normally tested this already; a direct call with nothing to
    // write anywhere must not build a time stamp or queue an event either.
    if (!LogSinks::wanted(logLevel))
        return;
    emit signalLog(timeStamp(), threadId(), text, logLevel, functionName,
                   QString::fromUtf8(fileName), lineNumber);
}

QString SimpleQtLogger::timeStamp()
{
    // Converting to local time costs microseconds; it is done once per second
    // and thread, and only the milliseconds are added per line.
    struct SecondCache
    {
        qint64 second = -1;
        QString prefix; // "yyyy-MM-dd hh:mm:ss."
    };
    thread_local SecondCache cache;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = now >= 0 ? now / 1000 : (now - 999) / 1000;
    if (second != cache.second) {
        cache.second = second;
        cache.prefix = QDateTime::fromMSecsSinceEpoch(second * 1000)
                           .toString(QLatin1String(DEFAULT_TIMESTAMP_FORMAT));
        cache.prefix.chop(3);
    }
    const int ms = int(now - second * 1000);
    QString ts = cache.prefix;
    ts += QLatin1Char(char('0' + ms / 100));
    ts += QLatin1Char(char('0' + ms / 10 % 10));
    ts += QLatin1Char(char('0' + ms % 10));
    return ts;
}

QString SimpleQtLogger::threadId()
{
    return QStringLiteral("%1").arg(quint64(reinterpret_cast<quintptr>(QThread::currentThreadId())),
                                    16, 16, QLatin1Char('0'));
}

void SimpleQtLogger::addSinkFileLog(const QString& role)
{
    if (sinkFileLogMap.contains(role))
        return;
    auto* sink = new SinkFileLog(role, this);
    sinkFileLogMap.insert(role, sink);
    connect(this,
            SIGNAL(signalLog(QString, QString, QString, simpleqtlogger::LogLevel, QString, QString,
                             unsigned int)),
            sink,
            SLOT(slotLog(QString, QString, QString, simpleqtlogger::LogLevel, QString, QString,
                         unsigned int)));
}

bool SimpleQtLogger::setLogFileName(const QString& role, const QString& logFileName,
                                    unsigned int logFileRotationSize, unsigned int logFileMaxNumber)
{
    SinkFileLog* sink = sinkFileLogMap.value(role);
    return sink && sink->setLogFileName(logFileName, logFileRotationSize, logFileMaxNumber);
}

bool SimpleQtLogger::setLogFileName(const QString& logFileName, unsigned int logFileRotationSize,
                                    unsigned int logFileMaxNumber)
{
    return setLogFileName(mainRole(), logFileName, logFileRotationSize, logFileMaxNumber);
}

void SimpleQtLogger::setLogFormat_file(const QString& role, const QString& logFormat,
                                       const QString& logFormatInt)
{
    if (SinkFileLog* sink = sinkFileLogMap.value(role))
        sink->setLogFormat(logFormat, logFormatInt);
}

void SimpleQtLogger::setLogFormat_file(const QString& logFormat, const QString& logFormatInt)
{
    setLogFormat_file(mainRole(), logFormat, logFormatInt);
}

void SimpleQtLogger::setLogFormat_console(const QString& logFormat, const QString& logFormatInt)
{
    sinkConsoleLog->setLogFormat(logFormat, logFormatInt);
}

void SimpleQtLogger::setLogFormat_qDebug(const QString& logFormat, const QString& logFormatInt)
{
    sinkQDebugLog->setLogFormat(logFormat, logFormatInt);
}

void SimpleQtLogger::setLogFormat_signal(const QString& logFormat, const QString& logFormatInt)
{
    sinkSignalLog->setLogFormat(logFormat, logFormatInt);
}

void SimpleQtLogger::setLogLevels_file(const QString& role, const EnableLogLevels& levels)
{
    if (SinkFileLog* sink = sinkFileLogMap.value(role))
        sink->setLogLevels(levels);
}

void SimpleQtLogger::setLogLevels_file(const EnableLogLevels& levels)
{
    setLogLevels_file(mainRole(), levels);
}

void SimpleQtLogger::setLogLevels_console(const EnableLogLevels& levels)
{
    sinkConsoleLog->setLogLevels(levels);
}

void SimpleQtLogger::setLogLevels_qDebug(const EnableLogLevels& levels)
{
    sinkQDebugLog->setLogLevels(levels);
}

void SimpleQtLogger::setLogLevels_signal(const EnableLogLevels& levels)
{
    sinkSignalLog->setLogLevels(levels);
}

EnableLogLevels SimpleQtLogger::getLogLevels_file(const QString& role) const
{
    if (SinkFileLog* sink = sinkFileLogMap.value(role))
        return sink->getLogLevels();
    EnableLogLevels none;
    none.logLevel_FATAL = none.logLevel_ERROR = none.logLevel_WARNING = false;
    none.logLevel_NOTE = none.logLevel_INFO = false;
    return none;
}

EnableLogLevels SimpleQtLogger::getLogLevels_file() const
{
    return getLogLevels_file(mainRole());
}

EnableLogLevels SimpleQtLogger::getLogLevels_console() const
{
    return sinkConsoleLog->getLogLevels();
}

EnableLogLevels SimpleQtLogger::getLogLevels_qDebug() const
{
    return sinkQDebugLog->getLogLevels();
}

EnableLogLevels SimpleQtLogger::getLogLevels_signal() const
{
    return sinkSignalLog->getLogLevels();
}

bool SimpleQtLogger::addLogFilter_file(const QString& role, const QRegularExpression& rx)
{
    SinkFileLog* sink = sinkFileLogMap.value(role);
    return sink && sink->addLogFilter(rx);
}

bool SimpleQtLogger::addLogFilter_file(const QRegularExpression& rx)
{
    return addLogFilter_file(mainRole(), rx);
}

bool SimpleQtLogger::addLogFilter_console(const QRegularExpression& rx)
{
    return sinkConsoleLog->addLogFilter(rx);
}

bool SimpleQtLogger::addLogFilter_qDebug(const QRegularExpression& rx)
{
    return sinkQDebugLog->addLogFilter(rx);
}

bool SimpleQtLogger::addLogFilter_signal(const QRegularExpression& rx)
{
    return sinkSignalLog->addLogFilter(rx);
}

bool SimpleQtLogger::connectSinkSignalLog(const QObject* receiver, const char* method)
{
    return bool(connect(sinkSignalLog, SIGNAL(signalLogMessage(QString)), receiver, method));
}

void SimpleQtLogger::logFunctionLine(const QString& text, const QString& functionName,
                                     const QString& fileName, unsigned int lineNumber)
{
    if (!LogSinks::wanted(LogLevel_FUNCTION))
        return;
    emit signalLog(timeStamp(), threadId(), text, LogLevel_FUNCTION, functionName, fileName,
                   lineNumber);
}

bool SimpleQtLogger::logFuncBegin(const QString& text, const QString& functionName,
                                  const QString& fileName, unsigned int lineNumber)
{
    if (!LogSinks::ENABLE_FUNCTION_STACK_TRACE) {
        logFunctionLine(text, functionName, fileName, lineNumber);
        return false;
    }
    unsigned int depth;
    {
        QMutexLocker locker(&mutex);
        depth = ++stackDepth[QThread::currentThreadId()];
    }
    const QString indent(int(depth - 1), QLatin1Char('.'));
    logFunctionLine(text.isEmpty() ? indent + QLatin1Char('\\')
                                   : indent + QLatin1String("\\ ") + text,
                    functionName, fileName, lineNumber);
    return true;
}

void SimpleQtLogger::logFuncEnd(const QString& text, const QString& functionName,
                                const QString& fileName, unsigned int lineNumber)
{
    unsigned int depth;
    {
        QMutexLocker locker(&mutex);
        const auto it = stackDepth.find(QThread::currentThreadId());
        if (it == stackDepth.end() || it.value() == 0)
            return; // nothing was entered on this thread: no exit line, no underflow
        depth = it.value();
        if (depth == 1)
            stackDepth.erase(it);
        else
            it.value() = depth - 1;
    }
    if (!LogSinks::ENABLE_FUNCTION_STACK_TRACE)
        return;
    const QString indent(int(depth - 1), QLatin1Char('.'));
    logFunctionLine(text.isEmpty() ? indent + QLatin1Char('/')
                                   : indent + QLatin1String("/ ") + text,
                    functionName, fileName, lineNumber);
}

unsigned int SimpleQtLogger::functionDepth() const
{
    QMutexLocker locker(&mutex);
    return stackDepth.value(QThread::currentThreadId(), 0);
}

} // namespace simpleqtlogger
