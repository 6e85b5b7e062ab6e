#include "shell/programrestart.h"

#include "foundation/simpleqtlogger.h"
#include "shell/singleapplication.h"
#include "webapi/GeneralApi/applicationcontrol.h"

#include <QCoreApplication>
#include <QProcess>

bool ProgramRestart::restart()
{
    return restart(ApplicationControl::currentProgram(), ApplicationControl::currentArguments());
}

bool ProgramRestart::restart(const QString& program, const QStringList& arguments)
{
    L_INFO(QStringLiteral("ProgramRestart::restart | ") + program + QLatin1Char(' ') +
           arguments.join(QLatin1Char(' ')));
    auto* app = qobject_cast<SingleApplication*>(QCoreApplication::instance());
    if (app)
        app->releaseGuard();
    if (!program.isEmpty() && QProcess::startDetached(program, arguments)) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
        return true;
    }
    L_ERROR(QStringLiteral("ProgramRestart::restart | the new process did not start: ") + program);
    if (app && !app->reclaimGuard())
        L_WARN(QStringLiteral("ProgramRestart::restart | another start holds the guard now"));
    return false;
}
