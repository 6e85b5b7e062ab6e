#include "model/controlbodyreader.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"

QString ControlBodyReader::text(QLatin1String key) const
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return QString();
    if (!value.isString())
        logBadValue(key);
    return value.toString();
}

qint64 ControlBodyReader::timestamp(QLatin1String key) const
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return 0;
    bool ok = false;
    const qint64 number = JsonNumbers::toInt64(value, 0, &ok);
    if (!ok)
        logBadValue(key);
    return number;
}

GroupRole::Role ControlBodyReader::groupRole(QLatin1String key) const
{
    const QString roleText = text(key);
    const GroupRole::Role role = GroupRole::toRole(roleText);
    if (role == GroupRole::NONE && !roleText.isEmpty() && roleText != QLatin1String("NONE"))
        logBadValue(key);
    return role;
}

void ControlBodyReader::logBadValue(QLatin1String key) const
{
    L_WARN(QStringLiteral("%1::fromJson | unreadable %2: %3")
               .arg(QLatin1String(owner), key, JsonNumbers::describe(object.value(key))));
}
