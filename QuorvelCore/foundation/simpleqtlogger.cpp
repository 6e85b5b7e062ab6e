#include "simpleqtlogger.h"

#include <QDateTime>
#include <QThread>

namespace simpleqtlogger {

bool LogSinks::ENABLE_LOG_SINK_FILE = true;
bool LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
bool LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
bool LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
bool LogSinks::ENABLE_FUNCTION_STACK_TRACE = true;
bool LogSinks::ENABLE_CONSOLE_COLOR = false;
EnableLogLevels LogSinks::ENABLE_LOG_LEVELS;

SimpleQtLogger* SimpleQtLogger::instance = nullptr;

bool EnableLogLevels::enabled(LogLevel level) const
{
    switch (level) {
    case LogLevel_FATAL: return logLevel_FATAL;
    case LogLevel_ERROR: return logLevel_ERROR;
    case LogLevel_WARNING: return logLevel_WARNING;
    case LogLevel_NOTE: return logLevel_NOTE;
    case LogLevel_INFO: return logLevel_INFO;
    case LogLevel_DEBUG: return logLevel_DEBUG;
    case LogLevel_FUNCTION: return logLevel_FUNCTION;
    case LogLevel_INTERNAL: return logLevel_INTERNAL;
    }
    return false;
}

bool LogSinks::wanted(LogLevel level)
{
    return ENABLE_LOG_LEVELS.enabled(level) &&
           (ENABLE_LOG_SINK_FILE || ENABLE_LOG_SINK_CONSOLE || ENABLE_LOG_SINK_QDEBUG ||
            ENABLE_LOG_SINK_SIGNAL);
}

SimpleQtLogger::SimpleQtLogger(QObject* parent) : QObject(parent) {}

SimpleQtLogger* SimpleQtLogger::createInstance(QObject* parent)
{
    delete instance;
    instance = new SimpleQtLogger(parent);
    return instance;
}

SimpleQtLogger* SimpleQtLogger::getInstance() { return instance; }

void SimpleQtLogger::log(const QString& text, LogLevel logLevel, const QString& functionName,
                         const char* fileName, unsigned int lineNumber)
{
    emit signalLog(timeStamp(), threadId(), text, logLevel, functionName,
                   QString::fromUtf8(fileName), lineNumber);
}

QString SimpleQtLogger::timeStamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString SimpleQtLogger::threadId()
{
    return QStringLiteral("%1").arg(reinterpret_cast<quintptr>(QThread::currentThreadId()), 16, 16,
                                    QLatin1Char('0'));
}

} // namespace simpleqtlogger
