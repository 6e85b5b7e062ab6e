#ifndef MAINSETTINGS_H
#define MAINSETTINGS_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdbjsonable.h"

#include <QMetaType>
#include <QString>

// The user's preferences. Every key already begins with an underscore, so the
// stored form equals the public form.
class QUORVELCORE_EXPORT MainSettings : public AbstractDBJsonable
{
public:
    enum SendKey
    {
        Enter = 0,
        ShiftEnter = 1
    };

    MainSettings();

    static QString toString(SendKey key);
    static SendKey toSendKey(const QString& text);

    void clear() override;
    bool isEmpty() const override;
    QJsonObject toJson() const override;
    bool fromJson(const QJsonObject& object) override;
    QJsonObject toDBJson() const override;
    bool fromDBJson(const QJsonObject& object) override;

    bool getAutoDownloadImages() const { return autoDownloadImages; }
    void setAutoDownloadImages(bool value) { autoDownloadImages = value; }
    void setAutoDownloadImages(const QJsonObject& object);
    bool getAutoDownloadVideos() const { return autoDownloadVideos; }
    void setAutoDownloadVideos(bool value) { autoDownloadVideos = value; }
    void setAutoDownloadVideos(const QJsonObject& object);
    bool getAutoDownloadFiles() const { return autoDownloadFiles; }
    void setAutoDownloadFiles(bool value) { autoDownloadFiles = value; }
    void setAutoDownloadFiles(const QJsonObject& object);
    bool getNotificationsEnabled() const { return notificationsEnabled; }
    void setNotificationsEnabled(bool value) { notificationsEnabled = value; }
    void setNotificationsEnabled(const QJsonObject& object);
    bool getNotificationSoundEnabled() const { return notificationSoundEnabled; }
    void setNotificationSoundEnabled(bool value) { notificationSoundEnabled = value; }
    void setNotificationSoundEnabled(const QJsonObject& object);
    bool getNotificationPreviewEnabled() const { return notificationPreviewEnabled; }
    void setNotificationPreviewEnabled(bool value) { notificationPreviewEnabled = value; }
    void setNotificationPreviewEnabled(const QJsonObject& object);
    QString getChatBackgroundPath() const { return chatBackgroundPath; }
    void setChatBackgroundPath(const QString& value) { chatBackgroundPath = value; }
    void setChatBackgroundPath(const QJsonObject& object);
    SendKey getSendKey() const { return sendKey; }
    void setSendKey(SendKey value) { sendKey = value; }
    void setSendKey(const QJsonObject& object);
    int getInterfaceScaleFactor() const { return interfaceScaleFactor; }
    void setInterfaceScaleFactor(int value) { interfaceScaleFactor = value; }
    void setInterfaceScaleFactor(const QJsonObject& object);

    bool operator==(const MainSettings& other) const;
    bool operator!=(const MainSettings& other) const { return !(*this == other); }

    static const QString defaultChatBackgroundPath;

private:
    bool autoDownloadImages;
    bool autoDownloadVideos;
    bool autoDownloadFiles;
    bool notificationsEnabled;
    bool notificationSoundEnabled;
    bool notificationPreviewEnabled;
    QString chatBackgroundPath;
    SendKey sendKey;
    int interfaceScaleFactor;
};

Q_DECLARE_METATYPE(MainSettings)

#endif // MAINSETTINGS_H
