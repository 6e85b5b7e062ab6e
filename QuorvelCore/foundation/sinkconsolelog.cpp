#include "foundation/sinkconsolelog.h"

#include <cstdio>

namespace simpleqtlogger {

SinkConsoleLog::SinkConsoleLog(QObject* parent) : Sink(parent) {}

QString SinkConsoleLog::levelPrefix(LogLevel logLevel, bool color)
{
    switch (logLevel) {
    case LogLevel_FATAL:
        return color ? QStringLiteral("\033[0;40;33;1mFATAL\033[0;33m: ")
                     : QStringLiteral("FATAL: ");
    case LogLevel_ERROR:
        return color ? QStringLiteral("\033[0;47;31;1mERROR\033[0;31m: ")
                     : QStringLiteral("ERROR: ");
    case LogLevel_WARNING:
        return color ? QStringLiteral("\033[0;40;36;1mWARNING\033[0;36m: ")
                     : QStringLiteral("WARNING: ");
    case LogLevel_NOTE:
        return color ? QStringLiteral("\033[0;40;37;1mNOTE\033[0m: ") : QStringLiteral("NOTE: ");
    case LogLevel_DEBUG:
        return color ? QStringLiteral("\033[0;47;35;1mDEBUG\033[0;35m: ")
                     : QStringLiteral("DEBUG: ");
    case LogLevel_FUNCTION:
        return color ? QStringLiteral("\033[0;32m") : QString();
    case LogLevel_INFO:
    case LogLevel_INTERNAL:
        break;
    }
    return QString();
}

void SinkConsoleLog::slotLog(const QString& ts, const QString& tid, const QString& text,
                             LogLevel logLevel, const QString& functionName,
                             const QString& fileName, unsigned int lineNumber)
{
    if (!LogSinks::ENABLE_LOG_SINK_CONSOLE)
        return;
    QString line;
    const QString functionFormat =
        getLogFormat() + QLatin1String(DEFAULT_LOG_FORMAT_CONSOLE_FUNCTION_SUFFIX);
    if (!buildLine(&line, ts, tid, text, logLevel, functionName, fileName, lineNumber,
                   logLevel == LogLevel_FUNCTION ? &functionFormat : nullptr))
        return;
    const QByteArray out =
        (levelPrefix(logLevel, LogSinks::ENABLE_CONSOLE_COLOR) + line + QLatin1Char('\n')).toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
}

} // namespace simpleqtlogger
