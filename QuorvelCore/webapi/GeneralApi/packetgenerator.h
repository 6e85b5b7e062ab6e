#ifndef PACKETGENERATOR_H
#define PACKETGENERATOR_H

#include "foundation/quorvelcore_export.h"
#include "webapi/GeneralApi/apifields.h"
#include "webapi/GeneralApi/clientinfoprovider.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Turns one procedure call into the JSON body posted to the web service:
// checks the caller's keys, fills keys from the stored settings, generates the
// client's own keys, signs the body with "AuthValue" and keeps the inputs the
// procedure marks for keeping. Holds no state between packets.
class QUORVELCORE_EXPORT PacketGenerator
{
public:
    using Fields = QHash<QString, QJsonValue>;

    PacketGenerator();

    // On success output holds every generated key and "OutputToSend", the
    // finished compact JSON text.
    bool generatePacket(Procedure procedure, Fields inputs, Fields* output);

    // Hex SHA-256 of a fresh time stamp + a fresh 20-character nonce + text.
    static QString generateRequestID(const QString& text);
    // Hex SHA-256 of timeStamp + nonce + text.
    static QString getRequestID(const QString& text, const QString& timeStamp,
                                const QString& nonce);
    // Hex digest, by the named method, of data followed by the token's bytes.
    static QString getAuthValue(const QByteArray& data, const QString& token,
                                const QString& hashMethod);
    static QString getAuthValue(const QJsonObject& object, const QString& token,
                                const QString& hashMethod);
    // The text form under which a JSON value is kept as a setting: strings as
    // they are, numbers in decimal, booleans as "true"/"false", arrays and
    // objects as compact JSON, null and undefined as "".
    static QString toSettingText(const QJsonValue& value);
    static QByteArray compactText(const QJsonObject& object);

    bool addSetting(const QString& key, const QString& value);
    bool getSetting(const QString& key, QString* value) const;
    bool removeAllSettings();
    bool writeSettings();

    const ApiFields& getApiFields() const { return apiFields; }

private:
    bool completeFields(Procedure procedure, Fields* inputs, Fields* output);
    bool checkForUserInputFields(Procedure procedure, const Fields& inputs);
    bool insertSettingFields(Procedure procedure, Fields* inputs);
    bool insertPGGeneratedFields(Procedure procedure, Fields* inputs, Fields* output);
    bool generateOutputJson(Procedure procedure, const Fields& inputs, Fields* output);
    bool saveNeededSetting(Procedure procedure, const Fields& inputs);

    ApiFields apiFields;
    ClientInfoProvider clientInfo;
    DeviceInfoProvider deviceInfo;
};

#endif // PACKETGENERATOR_H
