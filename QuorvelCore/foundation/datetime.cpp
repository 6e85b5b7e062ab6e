#include "foundation/datetime.h"

#include <QDateTime>

#include <atomic>

namespace {
std::atomic<qint64> clockOffset{0};
}

unsigned int DateTime::getDateTime()
{
    return static_cast<unsigned int>(QDateTime::currentSecsSinceEpoch());
}

qint64 DateTime::getDateTimeInMSecs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

qint64 DateTime::getOffset()
{
    return clockOffset.load();
}

void DateTime::setOffset(qint64 offset)
{
    clockOffset.store(offset);
}
