#include "shell/guiapplicationcontrol.h"

#include "shell/programrestart.h"

#include <QMetaObject>
#include <QObject>

GuiApplicationControl::GuiApplicationControl(QObject* guiObject) : guiObject(guiObject) {}

bool GuiApplicationControl::startDetached(const QString& program, const QStringList& arguments)
{
    if (!guiObject)
        return false;
    // Queued, never blocking: the GUI thread may itself be waiting for the
    // core thread while it shuts down.
    return QMetaObject::invokeMethod(
        guiObject, [program, arguments]() { ProgramRestart::restart(program, arguments); },
        Qt::QueuedConnection);
}

void GuiApplicationControl::quit() {}
