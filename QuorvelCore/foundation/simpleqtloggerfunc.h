#ifndef SIMPLEQTLOGGERFUNC_H
#define SIMPLEQTLOGGERFUNC_H

#include "foundation/quorvelcore_export.h"
#include "foundation/simpleqtlogger.h"

#include <QString>

namespace simpleqtlogger {

// Scope object of the function trace: an entry line when it is made and the
// matching exit line when it goes out of scope, indented by the calling
// thread's nesting depth. A scope that began while function lines were off
// writes no exit line and leaves the depth alone, so the depth never underflows.
class QUORVELCORE_EXPORT SimpleQtLoggerFunc
{
public:
    SimpleQtLoggerFunc(const QString& text, const char* functionName, const char* fileName,
                       unsigned int lineNumber);
    ~SimpleQtLoggerFunc();

    SimpleQtLoggerFunc(const SimpleQtLoggerFunc&) = delete;
    SimpleQtLoggerFunc& operator=(const SimpleQtLoggerFunc&) = delete;

private:
    QString text;
    QString functionName;
    QString fileName;
    unsigned int lineNumber = 0;
    bool began = false;      // the entry went to the logger
    bool depthTaken = false; // the entry entered one level of this thread's depth
};

} // namespace simpleqtlogger

// The text is only built when function lines can reach a sink.
#define L_FUNC(text)                                                                               \
    simpleqtlogger::SimpleQtLoggerFunc quorvelLoggerFunc_(                                         \
        simpleqtlogger::LogSinks::wanted(simpleqtlogger::LogLevel_FUNCTION) ? QString(text)        \
                                                                            : QString(),           \
        __FUNCTION__, __FILE__, __LINE__)

#endif // SIMPLEQTLOGGERFUNC_H
