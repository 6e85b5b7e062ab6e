#ifndef ABSTRACTDATA_H
#define ABSTRACTDATA_H

#include "foundation/quorvelcore_export.h"

// Base of the polymorphic value classes. Values are always held and copied by
// value (also inside QVariant), never deleted through a base pointer, so the
// family has no virtual destructor.
class QUORVELCORE_EXPORT AbstractData
{
public:
    AbstractData() = default;
    AbstractData(const AbstractData&) = default;
    AbstractData(AbstractData&&) = default;
    AbstractData& operator=(const AbstractData&) = default;
    AbstractData& operator=(AbstractData&&) = default;

    virtual void clear() = 0;
    virtual bool isEmpty() const = 0;

protected:
    ~AbstractData() = default;
};

#endif // ABSTRACTDATA_H
