#ifndef BENCHLOAD_H
#define BENCHLOAD_H

#include <QByteArray>
#include <QFile>

#include <cstdio>

// Every benchmark prints the machine's load beside its figures: the same
// figures mean something else on an idle machine and on a busy one.

// The load averages over 1, 5 and 15 minutes, as /proc/loadavg gives them.
inline QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("unknown");
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() >= 3 ? fields[0] + ' ' + fields[1] + ' ' + fields[2]
                              : QByteArrayLiteral("unknown");
}

// One line "load average (when): 1m 5m 15m".
inline void printLoadAverage(const char* when)
{
    std::printf("load average (%s): %s\n", when, loadAverage().constData());
    std::fflush(stdout);
}

#endif // BENCHLOAD_H
