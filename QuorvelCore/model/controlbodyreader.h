#ifndef CONTROLBODYREADER_H
#define CONTROLBODYREADER_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QLatin1String>
#include <QString>

#include "model/grouprole.h"

// The one rule every control-message body follows for a single key: a present
// key gives the converted value, an absent one the field's empty value. Values
// of the wrong JSON type are logged under the reading class's name.
class QUORVELCORE_EXPORT ControlBodyReader
{
public:
    ControlBodyReader(const QJsonObject& object, const char* owner) : object(object), owner(owner)
    {
    }

    QString text(QLatin1String key) const;
    // Time stamps: decimal text or a JSON number.
    qint64 timestamp(QLatin1String key) const;
    // A role text that matches no role gives NONE and a log line.
    GroupRole::Role groupRole(QLatin1String key) const;

private:
    void logBadValue(QLatin1String key) const;

    const QJsonObject& object;
    const char* owner;
};

#endif // CONTROLBODYREADER_H
