#ifndef QUEUEABLE_H
#define QUEUEABLE_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>

// A job that a Queue holds; the queue owns it and deletes it once it is finished.
class QUORVELCORE_EXPORT Queueable
{
public:
    Queueable() = default;
    Queueable(const Queueable&) = delete;
    Queueable& operator=(const Queueable&) = delete;
    virtual ~Queueable() = default;
};

Q_DECLARE_METATYPE(Queueable*)

#endif // QUEUEABLE_H
