#ifndef ABSTRACTJSONABLE_H
#define ABSTRACTJSONABLE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractdata.h"

#include <QJsonObject>

// A value with a public JSON form, as sent to peers and servers.
class QUORVELCORE_EXPORT AbstractJsonable : public AbstractData
{
public:
    AbstractJsonable() = default;
    AbstractJsonable(const AbstractJsonable&) = default;
    AbstractJsonable(AbstractJsonable&&) = default;
    AbstractJsonable& operator=(const AbstractJsonable&) = default;
    AbstractJsonable& operator=(AbstractJsonable&&) = default;

    virtual QJsonObject toJson() const = 0;
    virtual bool fromJson(const QJsonObject& object) = 0;

protected:
    ~AbstractJsonable() = default;
};

#endif // ABSTRACTJSONABLE_H
