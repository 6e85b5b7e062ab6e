#include "model/lookupfields.h"
#include "foundation/simpleqtlogger.h"

bool LookupFields::hasAll(const QJsonObject& object, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (!object.contains(key)) {
            L_WARN(QStringLiteral("LookupFields | field not found: ") + key);
            return false;
        }
    }
    return true;
}
