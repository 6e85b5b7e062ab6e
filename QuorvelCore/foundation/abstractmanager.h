#ifndef ABSTRACTMANAGER_H
#define ABSTRACTMANAGER_H

#include "foundation/quorvelcore_export.h"
#include "foundation/useridentity.h"

#include <QObject>

// Base of every manager of the core. startLoading opens what the manager needs and emits
// loadingFinished() exactly once when it is ready; the managers are loaded one after
// another along that signal.
//
// Every manager reads the signed-in user's name from the identity its core
// hands it (the program's own identity unless given another), never from a
// copy of its own.
class QUORVELCORE_EXPORT AbstractManager : public QObject
{
    Q_OBJECT
public:
    explicit AbstractManager(QObject* parent = nullptr);

    UserIdentityPtr getUserIdentity() const { return identity; }
    void setUserIdentity(const UserIdentityPtr& value);
    QString getUserName() const { return identity->getUserName(); }

signals:
    void loadingFinished();

public slots:
    virtual void startLoading() = 0;

private:
    UserIdentityPtr identity = UserIdentity::processIdentity();
};

#endif // ABSTRACTMANAGER_H
