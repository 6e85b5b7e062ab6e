#ifndef SIGNEDINSETTINGS_H
#define SIGNEDINSETTINGS_H

#include "webapi/GeneralApi/settingstorage.h"

#include <QList>
#include <QPair>
#include <QString>

// The stored settings of a signed-in user, as an activation leaves them; the
// procedure queue signs every request with them. Anything stored before is
// removed. False when they could not be written.
inline bool storeSignedInSettings(const QString& user, const QString& token)
{
    SettingStorage* settings = SettingStorage::getInstance();
    settings->removeAllSettings();
    for (const auto& pair : QList<QPair<QString, QString>>{{"PhoneNo", user},
                                                           {"Username", user},
                                                           {"HashMethod", "SHA256"},
                                                           {"EncryptionMethod", "AES256CBC"},
                                                           {"Token", token}})
        settings->addSetting(pair.first, pair.second);
    return settings->writeSettings();
}

#endif // SIGNEDINSETTINGS_H
