#include "webapi/quorvelwebapi.h"

#include "foundation/simpleqtlogger.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/procedurehandler.h"

namespace {

using Inputs = QHash<QString, QJsonValue>;

void note(const QString& text)
{
    L_INFO(QStringLiteral("QuorvelWebApi::checkForDeviceIdCorrection | ") + text);
}

} // namespace

QuorvelWebApi::QuorvelWebApi(QObject* parent)
    : QObject(parent), procedureHandler(new ProcedureHandler(this))
{
    connect(this, &QuorvelWebApi::start, procedureHandler, &ProcedureHandler::start);
    connect(procedureHandler, &ProcedureHandler::result, this, &QuorvelWebApi::result);
}

void QuorvelWebApi::startRegisteration(const QString& phoneNo)
{
    procedureHandler->start(PROC_Register, Inputs{{QStringLiteral("PhoneNo"), phoneNo}});
}

void QuorvelWebApi::startIVRRequest()
{
    procedureHandler->start(PROC_IVRRequest);
}

void QuorvelWebApi::startActivation(const QString& pinCode)
{
    procedureHandler->start(PROC_Activation, Inputs{{QStringLiteral("PinCode"), pinCode}});
}

void QuorvelWebApi::startUserCard()
{
    procedureHandler->start(PROC_UserCard);
}

void QuorvelWebApi::startCountryCode()
{
    procedureHandler->start(PROC_ClientCountry);
}

void QuorvelWebApi::startAlgorithms()
{
    procedureHandler->start(PROC_Algorithm);
}

void QuorvelWebApi::startSalam()
{
    procedureHandler->start(PROC_Salam);
}

void QuorvelWebApi::startReport(const QString& title, const QString& type,
                                const QString& description)
{
    procedureHandler->start(PROC_Report,
                            Inputs{{QStringLiteral("ReportTitle"), title},
                                   {QStringLiteral("ReportType"), type},
                                   {QStringLiteral("ReportDescription"), description}});
}

void QuorvelWebApi::startLastSeen()
{
    procedureHandler->start(PROC_LastSeen);
}

void QuorvelWebApi::startSetDeviceId(const QString& newDeviceId)
{
    pendingDeviceId = newDeviceId;
    procedureHandler->start(PROC_SetDeviceId, Inputs{{QStringLiteral("NewDeviceId"), newDeviceId}});
}

QString QuorvelWebApi::getSetting(const QString& key) const
{
    QString value;
    return procedureHandler->getResultValue(key, &value) ? value : QString();
}

QString QuorvelWebApi::getEncryptioMethod() const
{
    return getSetting(QStringLiteral("EncryptionMethod"));
}

QString QuorvelWebApi::getHashMethod() const
{
    return getSetting(QStringLiteral("HashMethod"));
}

bool QuorvelWebApi::getResultValue(const QString& key, QString* value) const
{
    return procedureHandler->getResultValue(key, value);
}

void QuorvelWebApi::checkForDeviceIdCorrection()
{
    note(QStringLiteral("#START"));
    DeviceInfoProvider device;
    if (!device.readDeviceID().isEmpty()) {
        note(QStringLiteral("DeviceId is currently set"));
        return;
    }
    note(QStringLiteral("readDeviceId.isEmpty"));
    const QString lastSentMAC = device.readLastSentMAC();
    const QString foundMAC = device.findMAC();
    if (!lastSentMAC.isEmpty()) {
        note(QStringLiteral("lastSentMAC.isNotEmpty ==> writing deviceId"));
        device.writeDeviceId(DeviceInfoProvider::generateDeviceId(lastSentMAC));
        return;
    }
    note(QStringLiteral("lastSentMAC.isEmpty"));
    if (foundMAC.isEmpty()) {
        note(QStringLiteral("foundMAC.isEmpty ==> cant do anything"));
        return;
    }
    const QString generatedDeviceId = DeviceInfoProvider::generateDeviceId(foundMAC);
    note(QStringLiteral("lastSentMAC: ") + lastSentMAC);
    note(QStringLiteral("lastDeviceId: ") + device.readDeviceID());
    note(QStringLiteral("foundMAC: ") + foundMAC);
    note(QStringLiteral("generatedDeviceId: ") + generatedDeviceId);
    pendingMAC = foundMAC;
    startSetDeviceId(generatedDeviceId);
    note(QStringLiteral("foundMAC.isNotEmpty ==> request sent for newDeviceId"));
}

void QuorvelWebApi::result(Procedure pro, int resultCode)
{
    if (pro == PROC_SetDeviceId && resultCode == 200)
        setNewMACAndDeviceId();
}

void QuorvelWebApi::setNewMACAndDeviceId()
{
    if (pendingDeviceId.isEmpty()) {
        // Nothing was asked for by this object: keep the stored identity.
        L_WARN(QStringLiteral("QuorvelWebApi::setNewMACAndDeviceId | no pending device id, "
                              "stored device id kept"));
        return;
    }
    DeviceInfoProvider device;
    device.writeDeviceId(pendingDeviceId);
    device.writeLastSentMAC(pendingMAC);
    L_INFO(QStringLiteral("QuorvelWebApi::setNewMACAndDeviceId | device id stored: ") +
           pendingDeviceId);
    pendingDeviceId.clear();
    pendingMAC.clear();
    emit newDeviceIdSet();
}

void QuorvelWebApi::removeAllSettings()
{
    procedureHandler->removeAllSettings();
}
