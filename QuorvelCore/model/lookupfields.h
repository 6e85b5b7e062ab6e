#ifndef LOOKUPFIELDS_H
#define LOOKUPFIELDS_H

#include "foundation/quorvelcore_export.h"

#include <QJsonObject>
#include <QStringList>

// The key check that the three look-up values share.
class QUORVELCORE_EXPORT LookupFields
{
public:
    // True when the object holds every key; otherwise writes a debug line naming the first
    // missing one.
    static bool hasAll(const QJsonObject& object, const QStringList& keys);
};

#endif // LOOKUPFIELDS_H
