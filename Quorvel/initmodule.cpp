#include "initmodule.h"

#include "foundation/simpleqtlogger.h"
#include "shell/logsetup.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QApplication>

void setupLogSinks()
{
    LogSetup::setupLogSinks();
}

void initModule()
{
    setupLogSinks();
    QApplication::setFont(Fonts::getFont(baseFontSize));
    L_INFO(QStringLiteral("Init Logger"));
    L_INFO(QStringLiteral("Init CrashPad"));
}
