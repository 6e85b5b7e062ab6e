#pragma once

#include "foundation/simpleqtlogger.h"

// Turns the logger's sinks off except its signal, so whoever connects to it
// sees every line and nothing reaches a file, the console or Qt's debug
// stream. With withDebug the DEBUG level is written too.
inline simpleqtlogger::SimpleQtLogger* createSignalOnlyLogger(QObject* parent, bool withDebug)
{
    using simpleqtlogger::LogSinks;
    LogSinks::ENABLE_LOG_SINK_FILE = false;
    LogSinks::ENABLE_LOG_SINK_CONSOLE = false;
    LogSinks::ENABLE_LOG_SINK_QDEBUG = false;
    LogSinks::ENABLE_LOG_SINK_SIGNAL = true;
    LogSinks::ENABLE_FUNCTION_STACK_TRACE = false;
    if (withDebug)
        LogSinks::ENABLE_LOG_LEVELS.logLevel_DEBUG = true;
    return simpleqtlogger::SimpleQtLogger::createInstance(parent);
}
