#ifndef TESTCRYPTO_H
#define TESTCRYPTO_H

#include "servicecrypto.h"

// Digests and AES-CBC straight from OpenSSL, to check the program's values
// without going through the program's own code.
using TestCrypto = ServiceCrypto;

#endif // TESTCRYPTO_H
