#include "model/pollvalues.h"

#include "foundation/simpleqtlogger.h"

#include <QLocale>

bool PollValues::checkKeys(const QJsonObject& object, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (!object.contains(key)) {
            L_WARN(QStringLiteral("fields does not contain: ") + key);
            return false;
        }
    }
    return true;
}

QString PollValues::textOf(const QJsonValue& value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    return QString();
}
