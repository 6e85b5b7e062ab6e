#include "shell/localdatawiper.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QDir>
#include <QStandardPaths>

namespace {
QString firstLocation(QStandardPaths::StandardLocation type)
{
    const QStringList all = QStandardPaths::standardLocations(type);
    return all.isEmpty() ? QString() : all.first();
}
} // namespace

bool LocalDataWiper::isOwnFolder(const QString& path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    const QString clean = QDir::cleanPath(path);
    if (QDir(clean).isRoot())
        return false;
    const QStandardPaths::StandardLocation shared[] = {
        QStandardPaths::HomeLocation,         QStandardPaths::DownloadLocation,
        QStandardPaths::GenericDataLocation,  QStandardPaths::DocumentsLocation,
        QStandardPaths::DesktopLocation,      QStandardPaths::GenericConfigLocation,
        QStandardPaths::GenericCacheLocation, QStandardPaths::TempLocation};
    for (QStandardPaths::StandardLocation type : shared) {
        for (const QString& location : QStandardPaths::standardLocations(type)) {
            if (QDir::cleanPath(location) == clean)
                return false;
        }
    }
    return true;
}

QStringList LocalDataWiper::ownFolders()
{
    QStringList folders;
    const QString data = firstLocation(QStandardPaths::AppDataLocation);
    if (isOwnFolder(data))
        folders << QDir::cleanPath(data);
    const QString downloads = firstLocation(QStandardPaths::DownloadLocation);
    if (QDir::isAbsolutePath(downloads)) {
        const QString own = QDir::cleanPath(downloads + QStringLiteral("/Quorvel Downloads"));
        if (isOwnFolder(own))
            folders << own;
    }
    return folders;
}

void LocalDataWiper::wipe()
{
    SettingStorage::getInstance()->closeDb();
    for (const QString& folder : ownFolders()) {
        if (!QDir(folder).removeRecursively())
            L_WARN(QStringLiteral("LocalDataWiper::wipe | could not remove ") + folder);
    }
    SettingStorage::getInstance()->openDb();
}
