#ifndef SINK_H
#define SINK_H

#include "foundation/quorvelcore_export.h"
#include "foundation/simpleqtlogger.h"

#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>

namespace simpleqtlogger {

// Common part of every logger sink: its two line templates, its own level
// switches and its text filters.
class QUORVELCORE_EXPORT Sink : public QObject
{
    Q_OBJECT
public:
    explicit Sink(QObject* parent = nullptr);

    void setLogFormat(const QString& logFormat, const QString& logFormatInt);
    QString getLogFormat() const { return logFormat; }
    QString getLogFormatInt() const { return logFormatInt; }

    void setLogLevels(const EnableLogLevels& levels) { logLevels = levels; }
    EnableLogLevels getLogLevels() const { return logLevels; }

    // Adds only a valid expression; returns whether it was added.
    bool addLogFilter(const QRegularExpression& rx);
    // True when there is no filter or any filter matches the text.
    bool checkFilter(const QString& text) const;
    bool checkLogLevelsEnabled(LogLevel logLevel) const { return logLevels.enabled(logLevel); }

    // The finished line: the template of the level (the internal template for
    // internal lines) with its tokens replaced. Tokens are looked up in the
    // template only, so a token name inside the text or a name stays literal.
    static QString formatLine(const QString& format, const QString& ts, const QString& tid,
                              const QString& text, LogLevel logLevel, const QString& functionName,
                              const QString& fileName, unsigned int lineNumber);
    // The text as written: trimmed, "?" when empty ("-" for function lines).
    static QString messageText(const QString& text, LogLevel logLevel);

protected:
    // Steps shared by the sinks' slotLog: checks levels and filters, then the
    // line built from this sink's templates (format overrides the template of
    // non-internal lines when given). Returns false when the line is dropped.
    bool buildLine(QString* line, const QString& ts, const QString& tid, const QString& text,
                   LogLevel logLevel, const QString& functionName, const QString& fileName,
                   unsigned int lineNumber, const QString* format = nullptr) const;

private:
    QString logFormat;
    QString logFormatInt;
    EnableLogLevels logLevels;
    QList<QRegularExpression> logFilters;
};

} // namespace simpleqtlogger

#endif // SINK_H
