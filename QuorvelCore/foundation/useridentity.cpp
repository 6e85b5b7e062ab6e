#include "foundation/useridentity.h"

#include <utility>

UserIdentity::UserIdentity(const QString& userName) : userName(userName) {}

QString UserIdentity::getUserName() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return userName;
}

void UserIdentity::setUserName(const QString& value)
{
    // The old name is released after the lock is let go.
    QString next = value;
    {
        const std::lock_guard<std::mutex> guard(lock);
        std::swap(userName, next);
    }
}

QSharedPointer<UserIdentity> UserIdentity::processIdentity()
{
    static const QSharedPointer<UserIdentity> shared = QSharedPointer<UserIdentity>::create();
    return shared;
}
