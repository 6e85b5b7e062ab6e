#ifndef SIMPLEQTLOGGER_H
#define SIMPLEQTLOGGER_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QMap>
#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QRegularExpression>
#include <QString>

// Process-wide logger. Callers use the L_* macros below: they test the level's
// switch (and whether any sink would take the line) before the text is built,
// so a disabled log call costs a couple of flag reads.
//
// SimpleQtLogger::log only stamps the line with time and thread and emits
// signalLog; the sinks (file per role, console, qDebug, signal) live on the
// logger's thread and write the line there, so lines logged on other threads
// are queued and written in their order of arrival.

namespace simpleqtlogger {

enum LogLevel
{
    LogLevel_FATAL = 0,
    LogLevel_ERROR,
    LogLevel_WARNING,
    LogLevel_NOTE,
    LogLevel_INFO,
    LogLevel_DEBUG,
    LogLevel_FUNCTION,
    LogLevel_INTERNAL
};

// Line templates and texts shared by the sinks.
QUORVELCORE_EXPORT extern const char* const
    DEFAULT_LOG_FORMAT; // "<TS> [<TID>] [<LL>] <TEXT> (<FUNC>@<FILE>:<LINE>)"
QUORVELCORE_EXPORT extern const char* const
    DEFAULT_LOG_FORMAT_INTERNAL; // "<TS> [<TID>] [<LL>] <TEXT>"
QUORVELCORE_EXPORT extern const char* const DEFAULT_LOG_FORMAT_CONSOLE; // "<TEXT>"
QUORVELCORE_EXPORT extern const char* const
    DEFAULT_LOG_FORMAT_CONSOLE_FUNCTION_SUFFIX;                       // " (<FUNC>)"
QUORVELCORE_EXPORT extern const char* const DEFAULT_TIMESTAMP_FORMAT; // "yyyy-MM-dd hh:mm:ss.zzz"
QUORVELCORE_EXPORT extern const char* const LOG_LEVEL_CHARS;          // "!EWNIDF-: "
QUORVELCORE_EXPORT extern const char* const MAIN_ROLE;                // "main"

struct QUORVELCORE_EXPORT EnableLogLevels
{
    bool logLevel_FATAL = true;
    bool logLevel_ERROR = true;
    bool logLevel_WARNING = true;
    bool logLevel_NOTE = true;
    bool logLevel_INFO = true;
    bool logLevel_DEBUG = false;
    bool logLevel_FUNCTION = false;
    bool logLevel_INTERNAL = false;

    // The flag of that level; false for a value outside the enumeration.
    inline bool enabled(LogLevel level) const
    {
        switch (level) {
        case LogLevel_FATAL:
            return logLevel_FATAL;
        case LogLevel_ERROR:
            return logLevel_ERROR;
        case LogLevel_WARNING:
            return logLevel_WARNING;
        case LogLevel_NOTE:
            return logLevel_NOTE;
        case LogLevel_INFO:
            return logLevel_INFO;
        case LogLevel_DEBUG:
            return logLevel_DEBUG;
        case LogLevel_FUNCTION:
            return logLevel_FUNCTION;
        case LogLevel_INTERNAL:
            return logLevel_INTERNAL;
        }
        return false;
    }
};

struct QUORVELCORE_EXPORT LogSinks
{
    static bool ENABLE_LOG_SINK_FILE;
    static bool ENABLE_LOG_SINK_CONSOLE;
    static bool ENABLE_LOG_SINK_QDEBUG;
    static bool ENABLE_LOG_SINK_SIGNAL;
    static bool ENABLE_FUNCTION_STACK_TRACE;
    static bool ENABLE_CONSOLE_COLOR;
    static EnableLogLevels ENABLE_LOG_LEVELS;

    // True when a line of this level could reach at least one sink. Inline so
    // that a disabled call is a few flag reads and nothing else.
    static inline bool wanted(LogLevel level)
    {
        return ENABLE_LOG_LEVELS.enabled(level) &&
               (ENABLE_LOG_SINK_FILE || ENABLE_LOG_SINK_CONSOLE || ENABLE_LOG_SINK_QDEBUG ||
                ENABLE_LOG_SINK_SIGNAL);
    }
};

class SinkFileLog;
class SinkConsoleLog;
class SinkQDebugLog;
class SinkSignalLog;

class QUORVELCORE_EXPORT SimpleQtLogger : public QObject
{
    Q_OBJECT
public:
    ~SimpleQtLogger() override;

    // Replaces the current logger (and its sinks) by a fresh one.
    static SimpleQtLogger* createInstance(QObject* parent = nullptr);
    static SimpleQtLogger* getInstance();

    // Stamps the line with time and thread and emits signalLog. Returns at once,
    // without formatting anything, when no sink could take a line of this level.
    void log(const QString& text, LogLevel logLevel, const QString& functionName,
             const char* fileName, unsigned int lineNumber);

    static QString timeStamp();
    static QString threadId();

    void addSinkFileLog(const QString& role);
    bool setLogFileName(const QString& role, const QString& logFileName,
                        unsigned int logFileRotationSize, unsigned int logFileMaxNumber);
    bool setLogFileName(const QString& logFileName, unsigned int logFileRotationSize,
                        unsigned int logFileMaxNumber);

    void setLogFormat_file(const QString& role, const QString& logFormat,
                           const QString& logFormatInt);
    void setLogFormat_file(const QString& logFormat, const QString& logFormatInt);
    void setLogFormat_console(const QString& logFormat, const QString& logFormatInt);
    void setLogFormat_qDebug(const QString& logFormat, const QString& logFormatInt);
    void setLogFormat_signal(const QString& logFormat, const QString& logFormatInt);

    void setLogLevels_file(const QString& role, const EnableLogLevels& levels);
    void setLogLevels_file(const EnableLogLevels& levels);
    void setLogLevels_console(const EnableLogLevels& levels);
    void setLogLevels_qDebug(const EnableLogLevels& levels);
    void setLogLevels_signal(const EnableLogLevels& levels);

    // A role without a file sink reads as all levels off.
    EnableLogLevels getLogLevels_file(const QString& role) const;
    EnableLogLevels getLogLevels_file() const;
    EnableLogLevels getLogLevels_console() const;
    EnableLogLevels getLogLevels_qDebug() const;
    EnableLogLevels getLogLevels_signal() const;

    bool addLogFilter_file(const QString& role, const QRegularExpression& rx);
    bool addLogFilter_file(const QRegularExpression& rx);
    bool addLogFilter_console(const QRegularExpression& rx);
    bool addLogFilter_qDebug(const QRegularExpression& rx);
    bool addLogFilter_signal(const QRegularExpression& rx);

    // Connects the signal sink's signalLogMessage(const QString&) to receiver's slot
    // (given with SLOT()).
    bool connectSinkSignalLog(const QObject* receiver, const char* method);

    // Function trace lines. logFuncBegin returns whether it entered one level of
    // the calling thread's depth; logFuncEnd leaves one level and never goes
    // below zero (a thread at depth zero gets no exit line).
    bool logFuncBegin(const QString& text, const QString& functionName, const QString& fileName,
                      unsigned int lineNumber);
    void logFuncEnd(const QString& text, const QString& functionName, const QString& fileName,
                    unsigned int lineNumber);

    // The calling thread's current function depth.
    unsigned int functionDepth() const;

signals:
    void signalLog(const QString& ts, const QString& tid, const QString& text,
                   simpleqtlogger::LogLevel logLevel, const QString& functionName,
                   const QString& fileName, unsigned int lineNumber);

private:
    explicit SimpleQtLogger(QObject* parent);
    void logFunctionLine(const QString& text, const QString& functionName, const QString& fileName,
                         unsigned int lineNumber);

    SinkConsoleLog* sinkConsoleLog = nullptr;
    SinkQDebugLog* sinkQDebugLog = nullptr;
    SinkSignalLog* sinkSignalLog = nullptr;
    QMap<QString, SinkFileLog*> sinkFileLogMap;
    mutable QMutex mutex;
    QHash<Qt::HANDLE, unsigned int> stackDepth;

    static SimpleQtLogger* instance;
};

} // namespace simpleqtlogger

Q_DECLARE_METATYPE(simpleqtlogger::LogLevel)

#define QUORVEL_LOG_AT(level, text)                                                                \
    do {                                                                                           \
        if (simpleqtlogger::LogSinks::wanted(level)) {                                             \
            if (auto* quorvelLogger_ = simpleqtlogger::SimpleQtLogger::getInstance())              \
                quorvelLogger_->log((text), level, QString::fromLatin1(__FUNCTION__), __FILE__,    \
                                    __LINE__);                                                     \
        }                                                                                          \
    } while (0)

#define L_FATAL(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_FATAL, text)
#define L_ERROR(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_ERROR, text)
#define L_WARN(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_WARNING, text)
#define L_NOTE(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_NOTE, text)
#define L_INFO(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_INFO, text)
#define L_DEBUG(text) QUORVEL_LOG_AT(simpleqtlogger::LogLevel_DEBUG, text)

// L_FUNC(text), the function trace scope, lives beside its class.
#include "foundation/simpleqtloggerfunc.h"

#endif // SIMPLEQTLOGGER_H
