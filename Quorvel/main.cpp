#include "foundation/simpleqtlogger.h"
#include "initmodule.h"
#include "shell/messengermainwindow.h"
#include "shell/quorveldesktop.h"
#include "shell/singleapplication.h"

#include <QDateTime>
#include <QIcon>
#include <QTextCodec>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    SingleApplication app(argc, argv, false, SingleApplication::PerUser, 100);
    initModule();
    QTranslator translator;
    translator.load(QStringLiteral(":/Lng/quorvel_persian.qm"));
    QCoreApplication::installTranslator(&translator);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Images/QuorvelLogo128.png")));
    QuorvelDesktop desktop;
    if (MessengerMainWindow* window = desktop.getMainWindow())
        QObject::connect(&app, &SingleApplication::instanceStarted, window,
                         &MessengerMainWindow::raiseWindow);
    L_INFO(QStringLiteral("main() | beginTime: ") +
           QString::number(QDateTime::currentMSecsSinceEpoch()));
    L_INFO(QStringLiteral("main() | endTime: ") +
           QString::number(QDateTime::currentMSecsSinceEpoch()));
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &desktop, &QuorvelDesktop::aboutToQuit);
    return app.exec();
}
