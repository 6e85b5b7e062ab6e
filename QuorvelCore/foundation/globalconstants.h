#ifndef GLOBALCONSTANTS_H
#define GLOBALCONSTANTS_H

#include "model/mainsettings.h"

#include <QString>
#include <QStringList>

// Process-wide values: the credentials the core copies out of its settings once
// loading has ended, the application version, and the one shared MainSettings
// object that the GUI edits in place and the core reads.
class GlobalConstants
{
public:
    static QString getUserName();
    static void setUserName(const QString& value);
    static QString getToken();
    static void setToken(const QString& value);
    static QString getLanguage();
    static void setLanguage(const QString& value);
    static QString getHashMethod();
    static void setHashMethod(const QString& value);

    static void setAppVersion(const QString& version);
    static QString getAppVersion();
    static QString getVersionString() { return getAppVersion(); }
    static QStringList getVersionNumbers();
    // A part the version does not have reads as -1.
    static int getMajorVersion();
    static int getMinorVersion();
    static int getPatchVersion();

    // A copy of the shared settings, taken under the lock.
    static MainSettings getMainSettings();
    // The shared object itself, for code on the thread that owns the edit;
    // across threads use getMainSettings/setMainSettings, which copy.
    static MainSettings* getMainSettingsRef();
    static void setMainSettings(const MainSettings& settings);

private:
    static int versionPart(int index);
};

#endif // GLOBALCONSTANTS_H
