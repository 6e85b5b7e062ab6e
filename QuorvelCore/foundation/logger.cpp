#include "foundation/logger.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

Logger::Logger(const QString& name)
{
    // The name is a file name, never a path out of the data folder.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".."))
        return;
    const QStringList locations =
        QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    if (locations.isEmpty())
        return;
    // A fresh installation has no data folder yet.
    QDir().mkpath(locations.first());
    file.setFileName(locations.first() + QLatin1Char('/') + name + QLatin1String(".log"));
    file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Text);
}

Logger::~Logger()
{
    file.close();
}

void Logger::log(const QString& text)
{
    if (!file.isOpen())
        return;
    const QString line =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) +
        QLatin1String(" | ") + text + QLatin1Char('\n');
    file.write(line.toLocal8Bit());
    file.flush();
}

Logger& Logger::operator<<(const QString& text)
{
    log(text);
    return *this;
}

Logger& Logger::operator<<(const QByteArray& text)
{
    log(QString::fromUtf8(text));
    return *this;
}
