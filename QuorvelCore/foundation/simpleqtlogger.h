#ifndef SIMPLEQTLOGGER_H
#define SIMPLEQTLOGGER_H

#include <QObject>
#include <QString>

// Process-wide logger. Callers use the L_* macros below: they test the level's
// switch (and whether any sink would take the line) before the text is built,
// so a disabled log call costs a couple of flag reads.

namespace simpleqtlogger {

enum LogLevel {
    LogLevel_FATAL = 0,
    LogLevel_ERROR,
    LogLevel_WARNING,
    LogLevel_NOTE,
    LogLevel_INFO,
    LogLevel_DEBUG,
    LogLevel_FUNCTION,
    LogLevel_INTERNAL
};

struct EnableLogLevels
{
    bool logLevel_FATAL = true;
    bool logLevel_ERROR = true;
    bool logLevel_WARNING = true;
    bool logLevel_NOTE = true;
    bool logLevel_INFO = true;
    bool logLevel_DEBUG = false;
    bool logLevel_FUNCTION = false;
    bool logLevel_INTERNAL = false;

    bool enabled(LogLevel level) const;
};

struct LogSinks
{
    static bool ENABLE_LOG_SINK_FILE;
    static bool ENABLE_LOG_SINK_CONSOLE;
    static bool ENABLE_LOG_SINK_QDEBUG;
    static bool ENABLE_LOG_SINK_SIGNAL;
    static bool ENABLE_FUNCTION_STACK_TRACE;
    static bool ENABLE_CONSOLE_COLOR;
    static EnableLogLevels ENABLE_LOG_LEVELS;

    // True when a line of this level could reach at least one sink.
    static bool wanted(LogLevel level);
};

class SimpleQtLogger : public QObject
{
    Q_OBJECT
public:
    static SimpleQtLogger* createInstance(QObject* parent = nullptr);
    static SimpleQtLogger* getInstance();

    void log(const QString& text, LogLevel logLevel, const QString& functionName,
             const char* fileName, unsigned int lineNumber);

    static QString timeStamp();
    static QString threadId();

signals:
    void signalLog(const QString& ts, const QString& tid, const QString& text,
                   simpleqtlogger::LogLevel logLevel, const QString& functionName,
                   const QString& fileName, unsigned int lineNumber);

private:
    explicit SimpleQtLogger(QObject* parent);
    static SimpleQtLogger* instance;
};

} // namespace simpleqtlogger

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

#endif // SIMPLEQTLOGGER_H
