#ifndef POLLVALUES_H
#define POLLVALUES_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

// Helpers shared by the poll value classes.
class QUORVELCORE_EXPORT PollValues
{
public:
    // True when every key is present; logs the first missing one.
    static bool checkKeys(const QJsonObject& object, const QStringList& keys);
    // A text value as it is, a number as its decimal text, anything else empty.
    static QString textOf(const QJsonValue& value);
};

#endif // POLLVALUES_H
