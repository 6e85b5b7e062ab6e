#include "foundation/simpleqtlogger.h"
#include "initmodule.h"
#include "shell/quorveldesktop.h"
#include "shell/singleapplication.h"
#include "widgets/catalogues.h"

#include <QDateTime>
#include <QIcon>
#include <QTextCodec>

int main(int argc, char* argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    SingleApplication app(argc, argv, false, SingleApplication::PerUser, 100);
    initModule();
    // The catalogues, and with them the interface's direction, once for all.
    Catalogues::install();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Images/QuorvelLogo128.png")));
    QuorvelDesktop desktop;
    // A second start raises whichever window this session shows by then,
    // also the main window that a sign-up opened.
    QObject::connect(&app, &SingleApplication::instanceStarted, &desktop,
                     &QuorvelDesktop::raiseWindow);
    L_INFO(QStringLiteral("main() | beginTime: ") +
           QString::number(QDateTime::currentMSecsSinceEpoch()));
    L_INFO(QStringLiteral("main() | endTime: ") +
           QString::number(QDateTime::currentMSecsSinceEpoch()));
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &desktop, &QuorvelDesktop::aboutToQuit);
    return app.exec();
}
