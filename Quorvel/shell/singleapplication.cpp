#include "shell/singleapplication.h"

#include "shell/singleapplicationprivate.h"

#include <cstdlib>

SingleApplication::SingleApplication(int& argc, char* argv[], bool allowSecondary, int options,
                                     int timeout)
    : QApplication(argc, argv), d(new SingleApplicationPrivate(this, options)),
      guardOptions(options), guardTimeout(timeout)
{
    if (d->claim(allowSecondary, timeout))
        return;
    delete d;
    d = nullptr;
    ::exit(EXIT_SUCCESS);
}

SingleApplication::~SingleApplication()
{
    delete d;
}

bool SingleApplication::isPrimary() const
{
    return d && d->isPrimary();
}

void SingleApplication::releaseGuard()
{
    delete d;
    d = nullptr;
}

bool SingleApplication::reclaimGuard()
{
    if (d)
        return d->isPrimary();
    d = new SingleApplicationPrivate(this, guardOptions);
    if (d->claim(false, guardTimeout))
        return d->isPrimary();
    // Another start took the guard meanwhile; this process runs on unguarded.
    delete d;
    d = nullptr;
    return false;
}
