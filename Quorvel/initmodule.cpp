#include "initmodule.h"

#include "foundation/simpleqtlogger.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QApplication>
#include <QStandardPaths>

using namespace simpleqtlogger;

void setupLogSinks()
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
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    const QString logFile =
        (data.isEmpty() ? QString() : data.first()) + QStringLiteral("/Quorvel.log");
    SimpleQtLogger* logger = SimpleQtLogger::createInstance(qApp);
    logger->setLogFileName(logFile, 50000000, 1);
    logger->setLogLevels_file(fileLevels);
    logger->setLogLevels_console(consoleLevels);
    logger->setLogLevels_qDebug(debugLevels);
    logger->setLogLevels_signal(signalLevels);
}

void initModule()
{
    setupLogSinks();
    QApplication::setFont(Fonts::getFont(baseFontSize));
    L_INFO(QStringLiteral("Init Logger"));
    L_INFO(QStringLiteral("Init CrashPad"));
}
