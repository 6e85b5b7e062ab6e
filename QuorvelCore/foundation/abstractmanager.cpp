#include "foundation/abstractmanager.h"

AbstractManager::AbstractManager(QObject* parent) : QObject(parent) {}

void AbstractManager::setUserIdentity(const UserIdentityPtr& value)
{
    if (value)
        identity = value;
}
