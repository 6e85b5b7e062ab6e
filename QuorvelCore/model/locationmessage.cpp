#include "model/locationmessage.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"
#include "model/messagekeys.h"

#include <QLocale>

using namespace MessageKeys;

LocationMessage::LocationMessage(const QJsonObject& object)
{
    setDataFromJson(object);
}

QStringList LocationMessage::getFields()
{
    return {LocationLongitude, LocationLatitude};
}

bool LocationMessage::checkFields(const QJsonObject& object)
{
    for (const QString& key : getFields()) {
        if (!object.contains(key)) {
            L_DEBUG(QStringLiteral("fields does not contain: ") + key);
            return false;
        }
    }
    return true;
}

bool LocationMessage::setDataFromJson(const QJsonObject& object)
{
    if (!checkFields(object)) {
        L_WARN(QStringLiteral("LocationMessage::setDataFromJson | checkFields Failed"));
        setInvalidValues();
        return false;
    }
    bool latitudeOk = false;
    bool longitudeOk = false;
    const double lat = JsonNumbers::toDouble(object.value(LocationLatitude), 0, &latitudeOk);
    const double lon = JsonNumbers::toDouble(object.value(LocationLongitude), 0, &longitudeOk);
    if (!latitudeOk || !longitudeOk) {
        L_WARN(QStringLiteral("LocationMessage::setDataFromJson | unreadable coordinates: %1, %2")
                   .arg(JsonNumbers::describe(object.value(LocationLatitude)),
                        JsonNumbers::describe(object.value(LocationLongitude))));
        setInvalidValues();
        return false;
    }
    latitude = lat;
    longitude = lon;
    return true;
}

QJsonObject LocationMessage::toJsonObject() const
{
    // The shortest text that reads back to the same double: six significant
    // digits would move a point by up to a hundred metres.
    return {{LocationLatitude, QString::number(latitude, 'g', QLocale::FloatingPointShortest)},
            {LocationLongitude, QString::number(longitude, 'g', QLocale::FloatingPointShortest)}};
}

bool LocationMessage::isEmpty() const
{
    return latitude == invalidValue || longitude == invalidValue;
}

void LocationMessage::setInvalidValues()
{
    latitude = invalidValue;
    longitude = invalidValue;
}
