#ifndef GUIAPPLICATIONCONTROL_H
#define GUIAPPLICATIONCONTROL_H

#include "webapi/GeneralApi/applicationcontrol.h"

#include <QPointer>

class QObject;

// How the core restarts the program after a log-out when the GUI runs it: the
// restart is handed to the GUI thread, which gives up the single-instance
// guard, starts the new process and quits only once it runs. The core's own
// quit request is therefore left to that restart.
class GuiApplicationControl : public ApplicationControl
{
public:
    // guiObject: any object living on the GUI thread.
    explicit GuiApplicationControl(QObject* guiObject);

    bool startDetached(const QString& program, const QStringList& arguments) override;
    void quit() override;

private:
    QPointer<QObject> guiObject;
};

#endif // GUIAPPLICATIONCONTROL_H
