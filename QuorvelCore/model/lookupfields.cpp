#include "model/lookupfields.h"

#include <QDebug>

bool LookupFields::hasAll(const QJsonObject& object, const QStringList& keys)
{
    for (const QString& key : keys) {
        if (!object.contains(key)) {
            qDebug().noquote() << "channel lookup field not found: " + key;
            return false;
        }
    }
    return true;
}
