#include "chat/content/transferprogress.h"

int TransferProgress::percent(qint64 done, qint64 total)
{
    if (total <= 0 || done <= 0)
        return 1;
    if (done >= total)
        return 99;
    // done < total here, so done * 100 cannot overflow before total does.
    const qint64 value = done < (Q_INT64_C(1) << 56) ? done * 100 / total : done / (total / 100);
    return int(qBound<qint64>(1, value, 99));
}
