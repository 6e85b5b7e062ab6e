#include "model/globalconstants.h"

#include "foundation/useridentity.h"

#include <mutex>
#include <utility>

namespace {
// The GUI and the core thread both read and write these values: every read
// and write holds this lock, and readers get copies. A standard mutex, so
// that a ThreadSanitizer build sees every hand-over.
std::mutex& lock()
{
    static std::mutex mutex;
    return mutex;
}

struct Values
{
    QString token;
    QString language;
    QString hashMethod;
    QString appVersion;
    MainSettings settings;
};

Values& values()
{
    static Values shared;
    return shared;
}

template <typename T> T read(const T Values::*field)
{
    const std::lock_guard<std::mutex> guard(lock());
    return values().*field;
}

// The new value is copied before and the old one released after the lock is
// held, so the lock covers no allocation.
template <typename T> void write(T Values::*field, T value)
{
    const std::lock_guard<std::mutex> guard(lock());
    std::swap(values().*field, value);
}
} // namespace

// The user's name has one home, the identity the program's core shares with
// its managers; these two read and write it.
QString GlobalConstants::getUserName()
{
    return UserIdentity::processIdentity()->getUserName();
}
void GlobalConstants::setUserName(const QString& value)
{
    UserIdentity::processIdentity()->setUserName(value);
}
QString GlobalConstants::getToken()
{
    return read(&Values::token);
}
void GlobalConstants::setToken(const QString& value)
{
    write(&Values::token, value);
}
QString GlobalConstants::getLanguage()
{
    return read(&Values::language);
}
void GlobalConstants::setLanguage(const QString& value)
{
    write(&Values::language, value);
}
QString GlobalConstants::getHashMethod()
{
    return read(&Values::hashMethod);
}
void GlobalConstants::setHashMethod(const QString& value)
{
    write(&Values::hashMethod, value);
}

void GlobalConstants::setAppVersion(const QString& version)
{
    write(&Values::appVersion, version);
}
QString GlobalConstants::getAppVersion()
{
    return read(&Values::appVersion);
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
    return read(&Values::settings);
}
void GlobalConstants::setMainSettings(const MainSettings& value)
{
    write(&Values::settings, value);
}
