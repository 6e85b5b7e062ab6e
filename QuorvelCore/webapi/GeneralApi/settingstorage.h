#ifndef SETTINGSTORAGE_H
#define SETTINGSTORAGE_H

#include "foundation/database.h"
#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QString>

// The client's key/value settings (phone number, user name, token, server
// nonce, methods, ...) kept as one JSON object in the encrypted store
// "settingsDataBase", with the application's main settings beside it.
class QUORVELCORE_EXPORT SettingStorage : public DataBase
{
    Q_OBJECT
public:
    static SettingStorage* getInstance();
    static void deleteInstance();

    void openDb();
    void closeDb();

    // Reads "settingsObject"; false (object unchanged) when it cannot be read.
    bool readSettings();
    // Stores the object under "settingsObject"; false when the write failed.
    bool writeSettings();

    bool addSetting(const QString& key, const QString& value);
    bool getSetting(const QString& key, QString* value) const;
    bool removeSetting(const QString& key);
    // Empties the object and stores it at once; false when the write failed.
    // The main settings are kept.
    bool removeAllSettings();

    bool getMainSettings(QJsonObject* out) const;
    bool setMainSettings(const QJsonObject& settings);

    static const QString storeName;

private:
    SettingStorage();
    ~SettingStorage() override;

    QJsonObject settings;
};

#endif // SETTINGSTORAGE_H
