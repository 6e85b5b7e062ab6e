#include "webapi/GeneralApi/applicationcontrol.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QProcess>

bool ApplicationControl::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void ApplicationControl::quit()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

QString ApplicationControl::currentProgram()
{
    const QString path = QCoreApplication::applicationFilePath();
    if (!path.isEmpty())
        return path;
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.isEmpty() ? QString() : arguments.first();
}

QStringList ApplicationControl::currentArguments()
{
    return QCoreApplication::arguments().mid(1);
}
