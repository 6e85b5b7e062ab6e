#ifndef TRANSFERPROGRESS_H
#define TRANSFERPROGRESS_H

#include <QtGlobal>

// The value a transfer button shows while bytes move: 0 is "not transferred"
// and 100 "complete", so a transfer under way stays between 1 and 99 whatever
// the counts say. Completion is set by whoever receives the content, never by
// a progress report (a report of all bytes may come before the content, or
// never, for a file of unknown length).
class TransferProgress
{
public:
    // done x 100 / total in 64-bit arithmetic, kept within 1..99; a total of
    // 0 or less (an empty file, an unknown length) gives 1.
    static int percent(qint64 done, qint64 total);
};

#endif // TRANSFERPROGRESS_H
