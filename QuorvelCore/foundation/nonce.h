#ifndef NONCE_H
#define NONCE_H

#include "foundation/quorvelcore_export.h"

#include <QString>

// Random text for request nonces and unique names.
class QUORVELCORE_EXPORT Nonce
{
public:
    // length characters from [A-Za-z0-9], drawn from the system's generator;
    // empty for a length below one.
    static QString generate(int length);
};

#endif // NONCE_H
