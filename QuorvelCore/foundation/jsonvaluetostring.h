#ifndef JSONVALUETOSTRING_H
#define JSONVALUETOSTRING_H

#include <QJsonValue>
#include <QString>

// Compact JSON text of an array or object value; any other value gives "".
QString jsonValueToString(const QJsonValue& value);

#endif // JSONVALUETOSTRING_H
