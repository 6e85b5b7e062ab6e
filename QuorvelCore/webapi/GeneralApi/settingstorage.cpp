#include "webapi/GeneralApi/settingstorage.h"

#include "foundation/simpleqtlogger.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

namespace {
const QString kSettingsObject = QStringLiteral("settingsObject");
const QString kMainSettings = QStringLiteral("_mainSettings");

SettingStorage* settingStorageInstance = nullptr;
QMutex settingStorageInstanceMutex;
} // namespace

const QString SettingStorage::storeName = QStringLiteral("settingsDataBase");

SettingStorage* SettingStorage::getInstance()
{
    QMutexLocker lock(&settingStorageInstanceMutex);
    if (!settingStorageInstance)
        settingStorageInstance = new SettingStorage();
    return settingStorageInstance;
}

void SettingStorage::deleteInstance()
{
    QMutexLocker lock(&settingStorageInstanceMutex);
    delete settingStorageInstance;
    settingStorageInstance = nullptr;
}

SettingStorage::SettingStorage()
{
    openDb();
}

SettingStorage::~SettingStorage()
{
    if (isOpen())
        writeSettings();
    closeDb();
}

void SettingStorage::openDb()
{
    setDBName(storeName);
    readSettings();
}

void SettingStorage::closeDb()
{
    close();
}

bool SettingStorage::readSettings()
{
    QJsonObject stored;
    if (!DataBase::get(kSettingsObject, &stored))
        return false;
    settings = stored;
    return true;
}

bool SettingStorage::writeSettings()
{
    const bool written = DataBase::put(kSettingsObject, settings);
    if (!written)
        L_ERROR(QStringLiteral("SettingStorage::writeSettings | settings could not be stored"));
    return written;
}

bool SettingStorage::addSetting(const QString& key, const QString& value)
{
    settings.insert(key, value);
    return true;
}

bool SettingStorage::getSetting(const QString& key, QString* value) const
{
    const auto it = settings.constFind(key);
    if (it == settings.constEnd())
        return false;
    const QJsonValue v = *it;
    if (v.isString())
        *value = v.toString();
    else if (v.isBool())
        *value = v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    else if (v.isDouble())
        *value = QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    else
        *value = QString();
    return true;
}

bool SettingStorage::removeSetting(const QString& key)
{
    settings.remove(key);
    return true;
}

bool SettingStorage::removeAllSettings()
{
    settings = QJsonObject();
    return writeSettings();
}

bool SettingStorage::getMainSettings(QJsonObject* out) const
{
    return DataBase::get(kMainSettings, out);
}

bool SettingStorage::setMainSettings(const QJsonObject& mainSettings)
{
    const bool written = DataBase::put(kMainSettings, mainSettings);
    if (!written)
        L_ERROR(QStringLiteral("SettingStorage::setMainSettings | main settings could not be "
                               "stored"));
    return written;
}
