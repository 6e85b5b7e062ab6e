#include "foundation/globalconstants.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
// The GUI and the core thread both read and write these values.
QMutex& lock()
{
    static QMutex mutex;
    return mutex;
}

QString& userName()
{
    static QString value;
    return value;
}
QString& token()
{
    static QString value;
    return value;
}
QString& language()
{
    static QString value;
    return value;
}
QString& hashMethod()
{
    static QString value;
    return value;
}
QString& appVersion()
{
    static QString value;
    return value;
}
MainSettings& settings()
{
    static MainSettings value;
    return value;
}
} // namespace

QString GlobalConstants::getUserName()
{
    return userName();
}
void GlobalConstants::setUserName(const QString& value)
{
    userName() = value;
}
QString GlobalConstants::getToken()
{
    return token();
}
void GlobalConstants::setToken(const QString& value)
{
    token() = value;
}
QString GlobalConstants::getLanguage()
{
    return language();
}
void GlobalConstants::setLanguage(const QString& value)
{
    language() = value;
}
QString GlobalConstants::getHashMethod()
{
    return hashMethod();
}
void GlobalConstants::setHashMethod(const QString& value)
{
    hashMethod() = value;
}

void GlobalConstants::setAppVersion(const QString& version)
{
    appVersion() = version;
}
QString GlobalConstants::getAppVersion()
{
    return appVersion();
}

QStringList GlobalConstants::getVersionNumbers()
{
    return getAppVersion().split(QLatin1Char('.'), Qt::KeepEmptyParts);
}

int GlobalConstants::versionPart(int index)
{
    const QStringList parts = getVersionNumbers();
    if (index >= parts.size())
        return -1;
    bool ok = false;
    const int value = parts.at(index).toInt(&ok, 10);
    return ok ? value : -1;
}

int GlobalConstants::getMajorVersion()
{
    return versionPart(0);
}
int GlobalConstants::getMinorVersion()
{
    return versionPart(1);
}
int GlobalConstants::getPatchVersion()
{
    return versionPart(2);
}

MainSettings GlobalConstants::getMainSettings()
{
    return settings();
}
MainSettings* GlobalConstants::getMainSettingsRef()
{
    return &settings();
}
void GlobalConstants::setMainSettings(const MainSettings& value)
{
    settings() = value;
}
