#include "model/mainsettings.h"

namespace {
const QString kAutoDownloadImages = QStringLiteral("_autoDownloadImages");
const QString kAutoDownloadVideos = QStringLiteral("_autoDownloadVideos");
const QString kAutoDownloadFiles = QStringLiteral("_autoDownloadFiles");
const QString kNotificationsEnabled = QStringLiteral("_notificationsEnabled");
const QString kNotificationSoundEnabled = QStringLiteral("_notificationSoundEnabled");
const QString kNotificationPreviewEnabled = QStringLiteral("_notificationPreviewEnabled");
const QString kChatBackgroundPath = QStringLiteral("_chatBackgroundPath");
const QString kSendKey = QStringLiteral("_sendKey");
const QString kScaleFactor = QStringLiteral("_scaleFactor");

bool readBool(const QJsonObject& object, const QString& key, bool missing)
{
    const auto it = object.constFind(key);
    return it == object.constEnd() ? missing : it->toBool(false);
}
} // namespace

const QString MainSettings::defaultChatBackgroundPath =
    QStringLiteral(":/Images/img_default_chat_bg.png");

MainSettings::MainSettings()
{
    clear();
}

QString MainSettings::toString(SendKey key)
{
    return key == ShiftEnter ? QStringLiteral("shiftEnter") : QStringLiteral("enter");
}

MainSettings::SendKey MainSettings::toSendKey(const QString& text)
{
    return text == QLatin1String("shiftEnter") ? ShiftEnter : Enter;
}

void MainSettings::clear()
{
    autoDownloadImages = true;
    autoDownloadVideos = false;
    autoDownloadFiles = false;
    notificationsEnabled = true;
    notificationSoundEnabled = true;
    notificationPreviewEnabled = true;
    chatBackgroundPath = defaultChatBackgroundPath;
    sendKey = Enter;
    interfaceScaleFactor = 0;
}

bool MainSettings::isEmpty() const
{
    return false;
}

void MainSettings::setAutoDownloadImages(const QJsonObject& object)
{
    autoDownloadImages = readBool(object, kAutoDownloadImages, true);
}

void MainSettings::setAutoDownloadVideos(const QJsonObject& object)
{
    autoDownloadVideos = readBool(object, kAutoDownloadVideos, false);
}

void MainSettings::setAutoDownloadFiles(const QJsonObject& object)
{
    autoDownloadFiles = readBool(object, kAutoDownloadFiles, false);
}

void MainSettings::setNotificationsEnabled(const QJsonObject& object)
{
    notificationsEnabled = readBool(object, kNotificationsEnabled, true);
}

void MainSettings::setNotificationSoundEnabled(const QJsonObject& object)
{
    notificationSoundEnabled = readBool(object, kNotificationSoundEnabled, true);
}

void MainSettings::setNotificationPreviewEnabled(const QJsonObject& object)
{
    notificationPreviewEnabled = readBool(object, kNotificationPreviewEnabled, true);
}

void MainSettings::setChatBackgroundPath(const QJsonObject& object)
{
    const auto it = object.constFind(kChatBackgroundPath);
    chatBackgroundPath = it == object.constEnd() ? defaultChatBackgroundPath : it->toString();
}

void MainSettings::setSendKey(const QJsonObject& object)
{
    sendKey = toSendKey(object.value(kSendKey).toString());
}

void MainSettings::setInterfaceScaleFactor(const QJsonObject& object)
{
    interfaceScaleFactor = object.value(kScaleFactor).toInt(0);
}

QJsonObject MainSettings::toJson() const
{
    QJsonObject object;
    object.insert(kAutoDownloadImages, autoDownloadImages);
    object.insert(kAutoDownloadVideos, autoDownloadVideos);
    object.insert(kAutoDownloadFiles, autoDownloadFiles);
    object.insert(kNotificationsEnabled, notificationsEnabled);
    object.insert(kNotificationSoundEnabled, notificationSoundEnabled);
    object.insert(kNotificationPreviewEnabled, notificationPreviewEnabled);
    object.insert(kChatBackgroundPath, chatBackgroundPath);
    object.insert(kSendKey, toString(sendKey));
    object.insert(kScaleFactor, interfaceScaleFactor);
    return object;
}

bool MainSettings::fromJson(const QJsonObject& object)
{
    setAutoDownloadImages(object);
    setAutoDownloadVideos(object);
    setAutoDownloadFiles(object);
    setNotificationsEnabled(object);
    setNotificationSoundEnabled(object);
    setNotificationPreviewEnabled(object);
    setChatBackgroundPath(object);
    setSendKey(object);
    setInterfaceScaleFactor(object);
    return !isEmpty();
}

QJsonObject MainSettings::toDBJson() const
{
    return toJson();
}

bool MainSettings::fromDBJson(const QJsonObject& object)
{
    return fromJson(object);
}

bool MainSettings::operator==(const MainSettings& other) const
{
    return autoDownloadImages == other.autoDownloadImages &&
           autoDownloadVideos == other.autoDownloadVideos &&
           autoDownloadFiles == other.autoDownloadFiles &&
           notificationsEnabled == other.notificationsEnabled &&
           notificationSoundEnabled == other.notificationSoundEnabled &&
           notificationPreviewEnabled == other.notificationPreviewEnabled &&
           chatBackgroundPath == other.chatBackgroundPath && sendKey == other.sendKey &&
           interfaceScaleFactor == other.interfaceScaleFactor;
}
