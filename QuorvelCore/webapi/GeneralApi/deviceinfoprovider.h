#ifndef DEVICEINFOPROVIDER_H
#define DEVICEINFOPROVIDER_H

#include "foundation/quorvelcore_export.h"

#include <QList>
#include <QString>

// Names the machine to the service: picks one network interface's hardware
// address, derives the device id from it (hex SHA-1), keeps both in the
// platform settings store and forms the User-Agent of every web request.
// Stateless: every answer comes from the platform or the settings store.
class QUORVELCORE_EXPORT DeviceInfoProvider
{
public:
    // What the MAC choice needs to know of one network interface.
    struct InterfaceInfo
    {
        QString hardwareAddress;
        QString name;
        QString humanReadableName;
        int index = 0;
        bool running = false;
        bool up = false;
    };

    QString getPlatform() const;
    QString getAppVersion() const;
    QString getManufacturerName() const;
    QString getDeviceModel() const;
    QString getUserAgent() const;

    // The stored id; when none, the id of the stored MAC (not stored).
    QString getDeviceID() const;
    static QString generateDeviceId(const QString& mac);
    // Finds the MAC; when found stores it and its id, otherwise getDeviceID().
    QString generateDeviceIdFromFoundMAC() const;
    QString findMAC() const;
    // The accepted, running and up interface with the lowest index wins; among
    // equal indexes the first keeps its place.
    static QString filterMAC(const QList<InterfaceInfo>& interfaces);
    static bool isNetworkInterfaceAccepted(const InterfaceInfo& info, const QString& description);
    static QList<InterfaceInfo> platformInterfaces();

    QString readDeviceID() const;
    QString readLastSentMAC() const;
    void writeDeviceId(const QString& deviceId) const;
    bool writeLastSentMAC(const QString& mac) const;

private:
    static QString describe(const InterfaceInfo& info);
};

#endif // DEVICEINFOPROVIDER_H
