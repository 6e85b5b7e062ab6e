#ifndef ABSTRACTDBJSONABLE_H
#define ABSTRACTDBJSONABLE_H

#include "foundation/quorvelcore_export.h"
#include "model/abstractjsonable.h"

// A value with a stored form: the public form plus local-only keys, which begin
// with an underscore and never leave this machine.
class QUORVELCORE_EXPORT AbstractDBJsonable : public AbstractJsonable
{
public:
    AbstractDBJsonable() = default;
    AbstractDBJsonable(const AbstractDBJsonable&) = default;
    AbstractDBJsonable(AbstractDBJsonable&&) = default;
    AbstractDBJsonable& operator=(const AbstractDBJsonable&) = default;
    AbstractDBJsonable& operator=(AbstractDBJsonable&&) = default;

    virtual QJsonObject toDBJson() const = 0;
    virtual bool fromDBJson(const QJsonObject& object) = 0;

protected:
    ~AbstractDBJsonable() = default;
};

#endif // ABSTRACTDBJSONABLE_H
