#ifndef GLOBALCONSTANTS_H
#define GLOBALCONSTANTS_H

#include "foundation/quorvelcore_export.h"
#include "model/mainsettings.h"

#include <QString>
#include <QStringList>

// Process-wide values: the credentials the core copies out of its settings once
// loading has ended, the application version, and the user's preferences.
// Every value is read and written under one lock, as a copy, from any thread.
class QUORVELCORE_EXPORT GlobalConstants
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

    // A copy of the preferences; a change is a copy written back whole.
    static MainSettings getMainSettings();
    static void setMainSettings(const MainSettings& settings);

private:
    static int versionPart(int index);
};

#endif // GLOBALCONSTANTS_H
