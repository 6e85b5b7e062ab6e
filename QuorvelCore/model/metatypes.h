#ifndef METATYPES_H
#define METATYPES_H

#include "foundation/quorvelcore_export.h"

// Registers every value type of the model (and the containers of them that
// travel on the command channel) with Qt's meta-type system, so that each can
// cross threads inside a QVariant through queued connections. Safe to call
// more than once and from any thread.
QUORVELCORE_EXPORT void registerQuorvelMetaTypes();

#endif // METATYPES_H
