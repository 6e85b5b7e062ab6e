#ifndef JSONVALUETOSTRING_H
#define JSONVALUETOSTRING_H

#include "foundation/quorvelcore_export.h"

#include <QJsonValue>
#include <QString>

// Compact JSON text of an array or object value; any other value gives "".
QUORVELCORE_EXPORT QString jsonValueToString(const QJsonValue& value);

#endif // JSONVALUETOSTRING_H
