#include "foundation/sinkqdebuglog.h"

#include <QDebug>

namespace simpleqtlogger {

SinkQDebugLog::SinkQDebugLog(QObject* parent) : Sink(parent) {}

void SinkQDebugLog::slotLog(const QString& ts, const QString& tid, const QString& text,
                            LogLevel logLevel, const QString& functionName, const QString& fileName,
                            unsigned int lineNumber)
{
    if (!LogSinks::ENABLE_LOG_SINK_QDEBUG)
        return;
    QString line;
    if (buildLine(&line, ts, tid, text, logLevel, functionName, fileName, lineNumber))
        qDebug().noquote() << line;
}

} // namespace simpleqtlogger
