#ifndef DATETIME_H
#define DATETIME_H

#include "foundation/quorvelcore_export.h"

#include <QtGlobal>

// The clock used for every stamp that goes to the servers or into stored
// messages. The calibrated offset is kept but not applied to the readings.
class QUORVELCORE_EXPORT DateTime
{
public:
    DateTime() = default;

    // Seconds since 1970-01-01 UTC.
    static unsigned int getDateTime();
    // Milliseconds since 1970-01-01 UTC.
    static qint64 getDateTimeInMSecs();

    static qint64 getOffset();
    static void setOffset(qint64 offset);
};

#endif // DATETIME_H
