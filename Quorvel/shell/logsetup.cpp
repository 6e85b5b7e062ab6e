#include "shell/logsetup.h"

#include "foundation/simpleqtlogger.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace simpleqtlogger;

QString LogSetup::logFileName()
{
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    return (data.isEmpty() ? QString() : data.first()) + QStringLiteral("/Quorvel.log");
}

bool LogSetup::setupLogSinks()
{
    LogSinks::ENABLE_LOG_SINK_FILE = false;
    LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
    LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
    LogSinks::ENABLE_LOG_SINK_SIGNAL = false;
    LogSinks::ENABLE_FUNCTION_STACK_TRACE = true;
    LogSinks::ENABLE_CONSOLE_COLOR = false;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = true;
    LogSinks::ENABLE_LOG_LEVELS.logLevel_FUNCTION = true;
    const EnableLogLevels fileLevels = LogSinks::ENABLE_LOG_LEVELS;
    const EnableLogLevels consoleLevels = LogSinks::ENABLE_LOG_LEVELS;
    const EnableLogLevels debugLevels = LogSinks::ENABLE_LOG_LEVELS;
    const EnableLogLevels signalLevels = LogSinks::ENABLE_LOG_LEVELS;
    const QString logFile = logFileName();
    const QString folder = QFileInfo(logFile).absolutePath();
    const bool folderReady = QFileInfo(logFile).isAbsolute() && QDir().mkpath(folder);
    SimpleQtLogger* logger = SimpleQtLogger::createInstance(QCoreApplication::instance());
    if (!folderReady)
        L_WARN(QStringLiteral("LogSetup::setupLogSinks | no application-data folder: ") + folder);
    const bool open = logger->setLogFileName(logFile, 50000000, 1);
    logger->setLogLevels_file(fileLevels);
    logger->setLogLevels_console(consoleLevels);
    logger->setLogLevels_qDebug(debugLevels);
    logger->setLogLevels_signal(signalLevels);
    return open;
}
