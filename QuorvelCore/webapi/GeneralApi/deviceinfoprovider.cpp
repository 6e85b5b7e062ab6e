#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "foundation/simpleqtlogger.h"

#include "model/globalconstants.h"

#include <QCryptographicHash>
#include <QNetworkInterface>
#include <QSettings>
#include <QSysInfo>

namespace {

const char* const kOrganisation = "Quorvel";
const char* const kApplication = "Quorvel Desktop";
const char* const kDeviceIdKey = "DEVICE_ID";
const char* const kMacKey = "MAC_ADDRESS";

QString readStored(const char* key)
{
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    return settings.value(QString::fromLatin1(key)).toString();
}

void writeStored(const char* key, const QString& value)
{
    QSettings settings(QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    settings.setValue(QString::fromLatin1(key), value);
    settings.sync();
}

} // namespace

QString DeviceInfoProvider::getPlatform() const
{
    return QStringLiteral("desktopqt");
}

QString DeviceInfoProvider::getAppVersion() const
{
    return GlobalConstants::getAppVersion();
}

QString DeviceInfoProvider::getManufacturerName() const
{
    return QSysInfo::productType();
}

QString DeviceInfoProvider::getDeviceModel() const
{
    return QSysInfo::productVersion();
}

QString DeviceInfoProvider::getUserAgent() const
{
    return QStringList{getPlatform(), getAppVersion(), getManufacturerName(), getDeviceModel(),
                       getDeviceID()}
        .join(QLatin1Char('_'));
}

QString DeviceInfoProvider::getDeviceID() const
{
    const QString stored = readDeviceID();
    return stored.isEmpty() ? generateDeviceId(readLastSentMAC()) : stored;
}

QString DeviceInfoProvider::generateDeviceId(const QString& mac)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(mac.toLocal8Bit(), QCryptographicHash::Sha1).toHex());
}

QString DeviceInfoProvider::generateDeviceIdFromFoundMAC() const
{
    L_DEBUG(QStringLiteral("DeviceInfoProvider::generateDeviceIdFromFoundMAC"));
    const QString mac = findMAC();
    if (mac.isEmpty())
        return getDeviceID();
    writeLastSentMAC(mac);
    const QString deviceId = generateDeviceId(mac);
    writeDeviceId(deviceId);
    return deviceId;
}

QList<DeviceInfoProvider::InterfaceInfo> DeviceInfoProvider::platformInterfaces()
{
    QList<InterfaceInfo> infos;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        InterfaceInfo info;
        info.hardwareAddress = interface.hardwareAddress();
        info.name = interface.name();
        info.humanReadableName = interface.humanReadableName();
        info.index = interface.index();
        info.running = interface.flags().testFlag(QNetworkInterface::IsRunning);
        info.up = interface.flags().testFlag(QNetworkInterface::IsUp);
        infos << info;
    }
    return infos;
}

QString DeviceInfoProvider::findMAC() const
{
    const QString mac = filterMAC(platformInterfaces());
    L_DEBUG(QStringLiteral("DeviceInfoProvider::findMAC | found: ") +
            (mac.isEmpty() ? QStringLiteral("no") : QStringLiteral("yes")));
    if (mac.isEmpty())
        L_DEBUG(QStringLiteral("DeviceInfoProvider::findMAC | no MAC address found"));
    return mac;
}

QString DeviceInfoProvider::describe(const InterfaceInfo& info)
{
    return QStringList{info.hardwareAddress, info.name, info.humanReadableName,
                       QString::number(info.index)}
        .join(QStringLiteral(" | "));
}

QString DeviceInfoProvider::filterMAC(const QList<InterfaceInfo>& interfaces)
{
    QString mac;
    int bestIndex = 0;
    for (const InterfaceInfo& info : interfaces) {
        const QString description = describe(info);
        if (!isNetworkInterfaceAccepted(info, description) || !info.running || !info.up)
            continue;
        L_DEBUG(QStringLiteral("DeviceInfoProvider::filterMAC | accepted: ") + description);
        if (mac.isEmpty() || info.index < bestIndex) {
            L_DEBUG(QStringLiteral("DeviceInfoProvider::filterMAC | chosen: ") + description);
            mac = info.hardwareAddress;
            bestIndex = info.index;
        } else {
            L_DEBUG(QStringLiteral("DeviceInfoProvider::filterMAC | index is not lower: ") +
                    description);
        }
    }
    return mac;
}

bool DeviceInfoProvider::isNetworkInterfaceAccepted(const InterfaceInfo& info,
                                                    const QString& description)
{
    const QString readable = info.humanReadableName.toLower();
    const char* reason = nullptr;
    if (info.hardwareAddress.isEmpty())
        reason = "--> No MAC: ";
    else if (info.name.isEmpty())
        reason = "--> NO NAME: ";
    else if (info.index == 0)
        reason = "--> NO INDEX: ";
    else if (info.hardwareAddress.contains(QLatin1String("00:00:00:00:00:00")))
        reason = "--> all zeros: ";
    else if (readable.contains(QLatin1String("vmware")))
        reason = "--> VMWare: ";
    else if (readable.contains(QLatin1String("virtual")))
        reason = "--> Virtual: ";
    if (!reason)
        return true;
    L_DEBUG(QStringLiteral("DeviceInfoProvider::isNetworkConfigAccepted | ") +
            QString::fromLatin1(reason) + description);
    return false;
}

QString DeviceInfoProvider::readDeviceID() const
{
    return readStored(kDeviceIdKey);
}

QString DeviceInfoProvider::readLastSentMAC() const
{
    return readStored(kMacKey);
}

void DeviceInfoProvider::writeDeviceId(const QString& deviceId) const
{
    writeStored(kDeviceIdKey, deviceId);
}

bool DeviceInfoProvider::writeLastSentMAC(const QString& mac) const
{
    writeStored(kMacKey, mac);
    return true;
}
