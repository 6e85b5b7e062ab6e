#ifndef VALUEJSON_H
#define VALUEJSON_H

#include "Managers/command.h"

#include <QJsonValue>
#include <QVariant>

// The JSON form of the values that travel on the command channel, as the
// core's line-driven test program prints and reads them. Each value type is
// written in its own JSON form; bool, numbers, text and lists as plain JSON.
class ValueJson
{
public:
    static QJsonValue toJson(const QVariant& value);
    // The payload of a command from its JSON form; an empty variant when the
    // command takes none or the JSON does not fit.
    static QVariant fromJson(Command command, const QJsonValue& value);
};

#endif // VALUEJSON_H
