#ifndef SINKFILELOG_H
#define SINKFILELOG_H

#include "foundation/quorvelcore_export.h"
#include "foundation/sink.h"

#include <QFile>
#include <QScopedPointer>

namespace simpleqtlogger {

// Rolling log file of one role. The size is checked 5000 ms after a line was
// written; a file that reached the rotation size becomes rolled file 01 (the
// older rolled files shift up by one, the oldest beyond the limit is dropped)
// and a new empty file is started under the same name.
class QUORVELCORE_EXPORT SinkFileLog : public Sink
{
    Q_OBJECT
public:
    explicit SinkFileLog(const QString& role, QObject* parent = nullptr);
    ~SinkFileLog() override;

    static constexpr int CHECK_INTERVAL_MS = 5000;

    // The name must end with ".log". The rotation size is at least 100 bytes;
    // the number of rolled files is 1 to 99 (0 gives 1). Returns whether the
    // file is open.
    bool setLogFileName(const QString& logFileName, unsigned int logFileRotationSize,
                        unsigned int logFileMaxNumber);

    QString getRole() const { return role; }
    QString getLogFileName() const { return logFileName; }
    unsigned int getLogFileRotationSize() const { return logFileRotationSize; }
    unsigned int getLogFileMaxNumber() const { return logFileMaxNumber; }
    bool isLogFileOpen() const;

    // Name of rolled file k (1 = newest): every ".log" becomes "_kk.log".
    static QString rolledFileName(const QString& logFileName, unsigned int k);

private slots:
    void slotLog(const QString& ts, const QString& tid, const QString& text,
                 simpleqtlogger::LogLevel logLevel, const QString& functionName,
                 const QString& fileName, unsigned int lineNumber);
    void slotCheckLogFileActivity();

private:
    bool checkLogFileOpen();
    void checkLogFileRolling();
    void armCheck();
    void logInternal(const QString& text);
    void moveFile(const QString& from, const QString& to);

    QString role;
    QString logFileName;
    unsigned int logFileRotationSize = 0;
    unsigned int logFileMaxNumber = 0;
    QScopedPointer<QFile> logFile;
    bool logFileActivity = false;
    bool startLogMessage = false;
};

} // namespace simpleqtlogger

#endif // SINKFILELOG_H
