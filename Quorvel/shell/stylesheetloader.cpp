#include "shell/stylesheetloader.h"

#include <QFile>
#include <QWidget>

void loadStyleSheet(QWidget* widget)
{
    QFile file(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QString sheet;
    if (file.open(QIODevice::ReadOnly))
        sheet = QString::fromUtf8(file.readAll());
    widget->setStyleSheet(sheet);
}
