#ifndef MUCEXTENTION_H
#define MUCEXTENTION_H

#include "foundation/quorvelcore_export.h"

#include <QXmppMucManager.h>

// The client's multi-user room manager.
class QUORVELCORE_EXPORT MUCExtention : public QXmppMucManager
{
    Q_OBJECT
public:
    MUCExtention() = default;
};

#endif // MUCEXTENTION_H
