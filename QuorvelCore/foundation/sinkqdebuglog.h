#ifndef SINKQDEBUGLOG_H
#define SINKQDEBUGLOG_H

#include "foundation/quorvelcore_export.h"
#include "foundation/sink.h"

namespace simpleqtlogger {

// Qt's debug output: each line is one qDebug() message.
class QUORVELCORE_EXPORT SinkQDebugLog : public Sink
{
    Q_OBJECT
public:
    explicit SinkQDebugLog(QObject* parent = nullptr);

private slots:
    void slotLog(const QString& ts, const QString& tid, const QString& text,
                 simpleqtlogger::LogLevel logLevel, const QString& functionName,
                 const QString& fileName, unsigned int lineNumber);
};

} // namespace simpleqtlogger

#endif // SINKQDEBUGLOG_H
