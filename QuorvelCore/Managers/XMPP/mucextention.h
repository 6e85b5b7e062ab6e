#ifndef MUCEXTENTION_H
#define MUCEXTENTION_H

#include <QXmppMucManager.h>

// The client's multi-user room manager.
class MUCExtention : public QXmppMucManager
{
    Q_OBJECT
public:
    MUCExtention() = default;
};

#endif // MUCEXTENTION_H
