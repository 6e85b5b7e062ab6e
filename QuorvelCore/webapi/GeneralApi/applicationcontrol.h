#ifndef APPLICATIONCONTROL_H
#define APPLICATIONCONTROL_H

#include "foundation/quorvelcore_export.h"

#include <QString>
#include <QStringList>

// The two process-level actions of log-out: start a new instance of the
// program and quit this one. Tests replace it so that no process is started.
class QUORVELCORE_EXPORT ApplicationControl
{
public:
    virtual ~ApplicationControl() = default;

    // Starts program detached with arguments (which do not repeat the program).
    virtual bool startDetached(const QString& program, const QStringList& arguments);
    // Asks the application to quit from its own event loop.
    virtual void quit();

    // This process's program and its arguments without the program itself.
    static QString currentProgram();
    static QStringList currentArguments();
};

#endif // APPLICATIONCONTROL_H
