#ifndef SINKSIGNALLOG_H
#define SINKSIGNALLOG_H

#include "foundation/quorvelcore_export.h"
#include "foundation/sink.h"

namespace simpleqtlogger {

// Hands each finished line to whoever listens to signalLogMessage.
class QUORVELCORE_EXPORT SinkSignalLog : public Sink
{
    Q_OBJECT
public:
    explicit SinkSignalLog(QObject* parent = nullptr);

signals:
    void signalLogMessage(const QString& logMessage);

private slots:
    void slotLog(const QString& ts, const QString& tid, const QString& text,
                 simpleqtlogger::LogLevel logLevel, const QString& functionName,
                 const QString& fileName, unsigned int lineNumber);
};

} // namespace simpleqtlogger

#endif // SINKSIGNALLOG_H
