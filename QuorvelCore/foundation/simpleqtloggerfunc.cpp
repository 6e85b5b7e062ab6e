#include "foundation/simpleqtloggerfunc.h"

namespace simpleqtlogger {

SimpleQtLoggerFunc::SimpleQtLoggerFunc(const QString& text, const char* functionName,
                                       const char* fileName, unsigned int lineNumber)
{
    if (!LogSinks::wanted(LogLevel_FUNCTION))
        return;
    SimpleQtLogger* logger = SimpleQtLogger::getInstance();
    if (!logger)
        return;
    this->text = text;
    this->functionName = QString::fromLatin1(functionName);
    this->fileName = QString::fromUtf8(fileName);
    this->lineNumber = lineNumber;
    began = true;
    depthTaken = logger->logFuncBegin(this->text, this->functionName, this->fileName, lineNumber);
}

SimpleQtLoggerFunc::~SimpleQtLoggerFunc()
{
    // Only a scope that entered a level leaves one; the logger may have been
    // replaced in between, in which case the old depth went with it.
    if (!began || !depthTaken)
        return;
    if (SimpleQtLogger* logger = SimpleQtLogger::getInstance())
        logger->logFuncEnd(text, functionName, fileName, lineNumber);
}

} // namespace simpleqtlogger
