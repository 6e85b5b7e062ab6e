#include "model/jsonnumbers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {
template <typename T> T setResult(bool* ok, bool success, T value, T defaultValue)
{
    if (ok)
        *ok = success;
    return success ? value : defaultValue;
}
} // namespace

qint64 JsonNumbers::toInt64(const QJsonValue& value, qint64 defaultValue, bool* ok)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        // 2^63 is the first double that no longer fits.
        const bool inRange =
            std::isfinite(d) && d >= -9223372036854775808.0 && d < 9223372036854775808.0;
        return setResult<qint64>(ok, inRange, inRange ? static_cast<qint64>(d) : 0, defaultValue);
    }
    if (value.isString()) {
        bool converted = false;
        const qint64 number = value.toString().trimmed().toLongLong(&converted, 10);
        return setResult<qint64>(ok, converted, number, defaultValue);
    }
    return setResult<qint64>(ok, false, 0, defaultValue);
}

int JsonNumbers::toInt(const QJsonValue& value, int defaultValue, bool* ok)
{
    bool converted = false;
    const qint64 number = toInt64(value, 0, &converted);
    converted = converted && number >= std::numeric_limits<int>::min() &&
                number <= std::numeric_limits<int>::max();
    return setResult<int>(ok, converted, static_cast<int>(number), defaultValue);
}

uint JsonNumbers::toUInt(const QJsonValue& value, uint defaultValue, bool* ok)
{
    bool converted = false;
    const qint64 number = toInt64(value, 0, &converted);
    converted = converted && number >= 0 && number <= std::numeric_limits<uint>::max();
    return setResult<uint>(ok, converted, static_cast<uint>(number), defaultValue);
}

double JsonNumbers::toDouble(const QJsonValue& value, double defaultValue, bool* ok)
{
    if (value.isDouble())
        return setResult<double>(ok, true, value.toDouble(), defaultValue);
    if (value.isString()) {
        bool converted = false;
        const double number = value.toString().trimmed().toDouble(&converted);
        converted = converted && std::isfinite(number);
        return setResult<double>(ok, converted, number, defaultValue);
    }
    return setResult<double>(ok, false, 0, defaultValue);
}

QString JsonNumbers::describe(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Undefined:
        return QStringLiteral("<absent>");
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QJsonValue::String:
        return QLatin1Char('"') + value.toString() + QLatin1Char('"');
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    }
    return QString();
}
