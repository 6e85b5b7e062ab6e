#ifndef SINKCONSOLELOG_H
#define SINKCONSOLELOG_H

#include "foundation/quorvelcore_export.h"
#include "foundation/sink.h"

namespace simpleqtlogger {

// Standard output, each line after a level prefix (ANSI coloured when
// LogSinks::ENABLE_CONSOLE_COLOR is on). Function lines get " (<FUNC>)" after
// the sink's template.
class QUORVELCORE_EXPORT SinkConsoleLog : public Sink
{
    Q_OBJECT
public:
    explicit SinkConsoleLog(QObject* parent = nullptr);

    static QString levelPrefix(LogLevel logLevel, bool color);

private slots:
    void slotLog(const QString& ts, const QString& tid, const QString& text,
                 simpleqtlogger::LogLevel logLevel, const QString& functionName,
                 const QString& fileName, unsigned int lineNumber);
};

} // namespace simpleqtlogger

#endif // SINKCONSOLELOG_H
