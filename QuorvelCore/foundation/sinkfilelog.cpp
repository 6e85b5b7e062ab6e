#include "foundation/sinkfilelog.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

namespace simpleqtlogger {

SinkFileLog::SinkFileLog(const QString& role, QObject* parent) : Sink(parent), role(role) {}

SinkFileLog::~SinkFileLog() = default;

bool SinkFileLog::isLogFileOpen() const
{
    return logFile && logFile->isOpen();
}

QString SinkFileLog::rolledFileName(const QString& logFileName, unsigned int k)
{
    return QString(logFileName)
        .replace(QLatin1String(".log"), QStringLiteral("_%1.log").arg(k, 2, 10, QLatin1Char('0')));
}

bool SinkFileLog::setLogFileName(const QString& logFileName, unsigned int logFileRotationSize,
                                 unsigned int logFileMaxNumber)
{
    if (!logFileName.endsWith(QLatin1String(".log"))) {
        qWarning().noquote() << "Name of log-file not ending with '.log'" << logFileName
                             << "role:" << role;
        return false;
    }
    this->logFileName = logFileName;
    this->logFileRotationSize = qMax(logFileRotationSize, 100u);
    this->logFileMaxNumber = qBound(1u, logFileMaxNumber, 99u);
    return checkLogFileOpen();
}

bool SinkFileLog::checkLogFileOpen()
{
    if (logFile) {
        logFile->close();
        logFile.reset();
    }
    QScopedPointer<QFile> file(new QFile(logFileName));
    if (!file->open(QIODevice::Append | QIODevice::Text | QIODevice::WriteOnly)) {
        qWarning().noquote() << "Open log-file failed!" << logFileName << "role:" << role;
        return false;
    }
    logFile.swap(file);
    qDebug().noquote() << "Current log-file:" << logFileName << "role:" << role;
    armCheck();
    if (!startLogMessage) {
        startLogMessage = true;
        logInternal(QStringLiteral("Start file-log '%1'").arg(logFileName));
    }
    return true;
}

void SinkFileLog::armCheck()
{
    QTimer::singleShot(CHECK_INTERVAL_MS, this, &SinkFileLog::slotCheckLogFileActivity);
}

void SinkFileLog::logInternal(const QString& text)
{
    slotLog(SimpleQtLogger::timeStamp(), SimpleQtLogger::threadId(), text, LogLevel_INTERNAL,
            QString(), QString(), 0);
}

void SinkFileLog::slotLog(const QString& ts, const QString& tid, const QString& text,
                          LogLevel logLevel, const QString& functionName, const QString& fileName,
                          unsigned int lineNumber)
{
    if (!LogSinks::ENABLE_LOG_SINK_FILE || !isLogFileOpen())
        return;
    QString line;
    if (!buildLine(&line, ts, tid, text, logLevel, functionName, fileName, lineNumber))
        return;
    line += QLatin1Char('\n');
    // Flushed per line so that nothing is lost when the process dies.
    logFile->write(line.toUtf8());
    logFile->flush();
    logFileActivity = true;
}

void SinkFileLog::slotCheckLogFileActivity()
{
    if (!isLogFileOpen())
        return;
    if (logFileActivity) {
        logFileActivity = false;
        checkLogFileRolling();
    } else {
        armCheck();
    }
}

void SinkFileLog::moveFile(const QString& from, const QString& to)
{
    if (QFile::rename(from, to))
        qDebug().noquote() << "Moved" << from << "to" << to << "role:" << role;
    else
        qWarning().noquote() << "ERROR: Move" << from << "to" << to << "role:" << role;
}

void SinkFileLog::checkLogFileRolling()
{
    if (!isLogFileOpen())
        return;
    const qint64 size = QFileInfo(logFileName).size();
    if (size < qint64(logFileRotationSize)) {
        armCheck();
        return;
    }
    logInternal(QStringLiteral("Current log-file '%1' size=%2 (rotation-size=%3) --> rolling")
                    .arg(logFileName, QString::number(size), QString::number(logFileRotationSize)));
    QElapsedTimer elapsed;
    elapsed.start();

    const QString oldest = rolledFileName(logFileName, logFileMaxNumber);
    if (QFile::exists(oldest)) {
        if (QFile::remove(oldest))
            qDebug().noquote() << "Removed" << oldest << "role:" << role;
        else
            qWarning().noquote() << "ERROR: Remove" << oldest << "role:" << role;
    }
    for (unsigned int k = logFileMaxNumber - 1; k >= 1; --k) {
        const QString from = rolledFileName(logFileName, k);
        if (QFile::exists(from))
            moveFile(from, rolledFileName(logFileName, k + 1));
    }
    logFile->close();
    logFile.reset();
    if (QFile::exists(logFileName))
        moveFile(logFileName, rolledFileName(logFileName, 1));

    checkLogFileOpen();
    logInternal(QStringLiteral("Log-file '%1' rolling done (time elapsed: %2 ms)")
                    .arg(logFileName, QString::number(elapsed.elapsed())));
}

} // namespace simpleqtlogger
