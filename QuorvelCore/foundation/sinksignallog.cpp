#include "foundation/sinksignallog.h"

namespace simpleqtlogger {

SinkSignalLog::SinkSignalLog(QObject* parent) : Sink(parent) {}

void SinkSignalLog::slotLog(const QString& ts, const QString& tid, const QString& text,
                            LogLevel logLevel, const QString& functionName, const QString& fileName,
                            unsigned int lineNumber)
{
    if (!LogSinks::ENABLE_LOG_SINK_SIGNAL)
        return;
    QString line;
    if (buildLine(&line, ts, tid, text, logLevel, functionName, fileName, lineNumber))
        emit signalLogMessage(line);
}

} // namespace simpleqtlogger
