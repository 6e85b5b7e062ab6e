#ifndef USERIDENTITY_H
#define USERIDENTITY_H

#include "foundation/quorvelcore_export.h"

#include <QSharedPointer>
#include <QString>

#include <mutex>

// The signed-in user's name, held once for a whole core: the core's managers
// share one of these and read it whenever they need the name, so a sign-in or
// a change reaches all of them at once. Reads and writes take its lock and
// readers get copies, from any thread.
//
// The program runs one core, which uses processIdentity(); the shared values
// (GlobalConstants) read and write that same object. A second core in the
// same process (a test with two users) hands its managers an identity of its
// own.
class QUORVELCORE_EXPORT UserIdentity
{
public:
    UserIdentity() = default;
    explicit UserIdentity(const QString& userName);
    UserIdentity(const UserIdentity&) = delete;
    UserIdentity& operator=(const UserIdentity&) = delete;

    QString getUserName() const;
    void setUserName(const QString& value);

    static QSharedPointer<UserIdentity> processIdentity();

private:
    mutable std::mutex lock;
    QString userName;
};

using UserIdentityPtr = QSharedPointer<UserIdentity>;

#endif // USERIDENTITY_H
