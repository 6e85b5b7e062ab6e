#include "foundation/globalconstants.h"

#include <QApplication>
#include <QLabel>
#include <QTextCodec>

int main(int argc, char* argv[])
{
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    GlobalConstants::setAppVersion(QStringLiteral("0.4.2"));

    QLabel window(QObject::tr("Quorvel %1").arg(GlobalConstants::getAppVersion()));
    window.setMinimumSize(480, 320);
    window.setAlignment(Qt::AlignCenter);
    window.show();
    return app.exec();
}
