#ifndef BENCHHOME_H
#define BENCHHOME_H

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A benchmark keeps everything it writes (stores, caches, settings) in a
// home of its own, never in the user's: call before the application object
// is made, with a folder that outlives the run.
inline void usePrivateHome(const QTemporaryDir& home)
{
    const QString root = home.path();
    qputenv("HOME", root.toUtf8());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toUtf8());
}

// Widgets are drawn offscreen unless the run names a platform.
inline void drawOffscreenUnlessTold()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

#endif // BENCHHOME_H
