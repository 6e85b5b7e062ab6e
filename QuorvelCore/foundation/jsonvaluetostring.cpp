#include "foundation/jsonvaluetostring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString jsonValueToString(const QJsonValue& value)
{
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    if (value.isObject())
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    return QString();
}
