#include "webapi/GeneralApi/packetgenerator.h"
#include "foundation/simpleqtlogger.h"

#include "foundation/cryptoapi.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const int kNonceLength = 20;

QString hexSha256(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

void debugLine(const QString& text)
{
    L_DEBUG(text);
}

} // namespace

PacketGenerator::PacketGenerator()
{
    QString language;
    if (!getSetting(QStringLiteral("Language"), &language))
        addSetting(QStringLiteral("Language"), QStringLiteral("FA"));
    writeSettings();
}

QString PacketGenerator::toSettingText(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const double limit = 9007199254740992.0; // 2^53: exact in a double
        if (number >= -limit && number <= limit && number == static_cast<qint64>(number))
            return QString::number(static_cast<qint64>(number));
        return QString::number(number, 'g', QLocale::FloatingPointShortest);
    }
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(compactText(value.toObject()));
    default:
        return QString();
    }
}

QByteArray PacketGenerator::compactText(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

bool PacketGenerator::generatePacket(Procedure procedure, Fields inputs, Fields* output)
{
    if (!completeFields(procedure, &inputs, output)) {
        debugLine(QStringLiteral("PacketGenerator | completefields failed"));
        return false;
    }
    if (!generateOutputJson(procedure, inputs, output)) {
        debugLine(QStringLiteral("PacketGenerator | generateOutputJson failed"));
        return false;
    }
    if (!saveNeededSetting(procedure, inputs)) {
        debugLine(QStringLiteral("PacketGenerator | Saving should be kept settings failed"));
        return false;
    }
    return true;
}

bool PacketGenerator::completeFields(Procedure procedure, Fields* inputs, Fields* output)
{
    if (!checkForUserInputFields(procedure, *inputs)) {
        debugLine(QStringLiteral("PacketGenerator | check for user input fields failed"));
        return false;
    }
    if (!insertSettingFields(procedure, inputs)) {
        debugLine(QStringLiteral("PacketGenerator | inserting setting fields failed"));
        return false;
    }
    if (!insertPGGeneratedFields(procedure, inputs, output)) {
        debugLine(QStringLiteral("PacketGenerator | insertingPGGeneratedFields failed"));
        return false;
    }
    return true;
}

bool PacketGenerator::checkForUserInputFields(Procedure procedure, const Fields& inputs)
{
    const QStringList keys = apiFields.getUserInputKeys(procedure);
    for (const QString& key : keys) {
        if (!inputs.contains(key)) {
            debugLine(QStringLiteral("PacketGenerator | userInputField ") + key +
                      QStringLiteral("missing..."));
            return false;
        }
    }
    return true;
}

bool PacketGenerator::insertSettingFields(Procedure procedure, Fields* inputs)
{
    const QStringList keys = apiFields.getInputSettingKeys(procedure);
    for (const QString& key : keys) {
        QString value;
        if (!getSetting(key, &value)) {
            debugLine(QStringLiteral("PacketGenerator | reading settings failed at ") + key);
            return false;
        }
        inputs->insert(key, value);
    }
    return true;
}

bool PacketGenerator::insertPGGeneratedFields(Procedure procedure, Fields* inputs, Fields* output)
{
    const QStringList keys = apiFields.getInputKeys(procedure);
    const QString timeStamp = ClientInfoProvider::generateTimeStamp();
    const QString nonce = ClientInfoProvider::generateNonce(kNonceLength);
    auto put = [&](const QString& key, const QJsonValue& value) {
        inputs->insert(key, value);
        output->insert(key, value);
    };
    auto has = [&](const char* key) { return keys.contains(QLatin1String(key)); };

    if (has("RequestId")) {
        QString phone;
        if (procedure == PROC_Register) {
            phone = toSettingText(inputs->value(QStringLiteral("PhoneNo")));
        } else if (!getSetting(QStringLiteral("PhoneNo"), &phone)) {
            debugLine(QStringLiteral("PacketGenerator | phoneNo missing from setting"));
            return false;
        }
        put(QStringLiteral("RequestId"), getRequestID(phone, timeStamp, nonce));
    }
    if (has("ClientNonce"))
        put(QStringLiteral("ClientNonce"), nonce);
    if (has("DeviceId")) {
        QString deviceId = deviceInfo.readDeviceID();
        if (deviceId.isEmpty())
            deviceId = deviceInfo.generateDeviceIdFromFoundMAC();
        put(QStringLiteral("DeviceId"), deviceId);
    }
    if (has("ClientTimestamp"))
        put(QStringLiteral("ClientTimestamp"), timeStamp);
    if (has("VerificationToken")) {
        static const char* const needed[] = {"PinCode", "ServerTimestamp", "ServerNonce", "PhoneNo",
                                             "HashMethod"};
        for (const char* key : needed) {
            if (!inputs->contains(QLatin1String(key))) {
                debugLine(QStringLiteral("PacketGenerator | key missing from input: ") +
                          QLatin1String(key));
                return false;
            }
        }
        auto text = [&](const char* key) {
            return toSettingText(inputs->value(QLatin1String(key)));
        };
        const QString seed =
            text("PhoneNo") + text("PinCode") + text("ServerTimestamp") + text("ServerNonce");
        put(QStringLiteral("VerificationToken"),
            QString::fromLatin1(CryptoApi::hash(seed.toUtf8(), text("HashMethod")).toHex()));
    }
    if (has("AuthValue"))
        put(QStringLiteral("AuthValue"), QString());
    if (has("HashMethods"))
        put(QStringLiteral("HashMethods"),
            QJsonArray::fromStringList(CryptoApi::getHashAlgorithms()));
    if (has("EncryptionMethods"))
        put(QStringLiteral("EncryptionMethods"),
            QJsonArray::fromStringList(CryptoApi::getEncryptionAlgorithms()));
    if (has("NetType"))
        put(QStringLiteral("NetType"), QStringLiteral("wifi"));
    if (has("OSVersion"))
        put(QStringLiteral("OSVersion"), QStringLiteral("1"));
    if (has("ReportData"))
        put(QStringLiteral("ReportData"), QJsonObject());
    if (has("Format"))
        put(QStringLiteral("Format"), QStringLiteral("UnixTimestamp"));
    if (has("ContactList") && procedure == PROC_UserProfile) {
        QString phone;
        getSetting(QStringLiteral("PhoneNo"), &phone);
        put(QStringLiteral("ContactList"), QJsonArray{phone});
    }
    return true;
}

bool PacketGenerator::generateOutputJson(Procedure procedure, const Fields& inputs, Fields* output)
{
    const QStringList keys = apiFields.getInputKeys(procedure);
    QJsonObject object;
    for (const QString& key : keys) {
        if (!inputs.contains(key)) {
            debugLine(QStringLiteral("PacketGenerator | input missing: ") + key);
            return false;
        }
        object.insert(key, inputs.value(key));
    }
    if (keys.contains(QLatin1String("AuthValue"))) {
        QString token;
        QString hashMethod;
        if (!getSetting(QStringLiteral("Token"), &token)) {
            debugLine(QStringLiteral("PacketGenerator | Token missing"));
            return false;
        }
        if (!getSetting(QStringLiteral("HashMethod"), &hashMethod)) {
            debugLine(QStringLiteral("PacketGenerator | HashMethod missing"));
            return false;
        }
        object.insert(QStringLiteral("AuthValue"), getAuthValue(object, token, hashMethod));
    }
    output->insert(QStringLiteral("OutputToSend"), QString::fromUtf8(compactText(object)));
    return true;
}

bool PacketGenerator::saveNeededSetting(Procedure procedure, const Fields& inputs)
{
    const QStringList keys = apiFields.getShouldBeKeptInputs(procedure);
    for (const QString& key : keys) {
        if (!inputs.contains(key)) {
            debugLine(QStringLiteral("PacketGenerator | shouldBeKeptSetting not found: ") + key);
            return false;
        }
        addSetting(key, toSettingText(inputs.value(key)));
    }
    return writeSettings();
}

QString PacketGenerator::generateRequestID(const QString& text)
{
    return getRequestID(text, ClientInfoProvider::generateTimeStamp(),
                        ClientInfoProvider::generateNonce(kNonceLength));
}

QString PacketGenerator::getRequestID(const QString& text, const QString& timeStamp,
                                      const QString& nonce)
{
    return hexSha256(timeStamp + nonce + text);
}

QString PacketGenerator::getAuthValue(const QByteArray& data, const QString& token,
                                      const QString& hashMethod)
{
    return QString::fromLatin1(CryptoApi::hash(data + token.toUtf8(), hashMethod).toHex());
}

QString PacketGenerator::getAuthValue(const QJsonObject& object, const QString& token,
                                      const QString& hashMethod)
{
    return getAuthValue(compactText(object), token, hashMethod);
}

bool PacketGenerator::addSetting(const QString& key, const QString& value)
{
    return SettingStorage::getInstance()->addSetting(key, value);
}

bool PacketGenerator::getSetting(const QString& key, QString* value) const
{
    return SettingStorage::getInstance()->getSetting(key, value);
}

bool PacketGenerator::removeAllSettings()
{
    return SettingStorage::getInstance()->removeAllSettings();
}

bool PacketGenerator::writeSettings()
{
    return SettingStorage::getInstance()->writeSettings();
}
