#ifndef LOCATIONMESSAGE_H
#define LOCATIONMESSAGE_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QMetaType>
#include <QStringList>

// The location part of a LOCATION message, in degrees. 256 (outside every real
// coordinate) marks an invalid value.
class QUORVELCORE_EXPORT LocationMessage
{
public:
    static constexpr double invalidValue = 256.0;

    LocationMessage() = default;
    explicit LocationMessage(const QJsonObject& object);

    static QStringList getFields();
    static bool checkFields(const QJsonObject& object);
    // Both keys must be present and readable (text or number); otherwise the
    // invalid values are set and false returned.
    bool setDataFromJson(const QJsonObject& object);
    // Coordinates as text, precise enough to read back the same value.
    QJsonObject toJsonObject() const;

    bool isEmpty() const;
    void setInvalidValues();

    double getLatitude() const { return latitude; }
    void setLatitude(double value) { latitude = value; }
    double getLongitude() const { return longitude; }
    void setLongitude(double value) { longitude = value; }

private:
    double latitude = invalidValue;
    double longitude = invalidValue;
};

Q_DECLARE_METATYPE(LocationMessage)

#endif // LOCATIONMESSAGE_H
