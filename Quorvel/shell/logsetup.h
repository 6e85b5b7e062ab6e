#ifndef LOGSETUP_H
#define LOGSETUP_H

#include <QString>

// The program's logger: its switches, its levels and its file in the
// application-data folder.
class LogSetup
{
public:
    // The log file's name: "Quorvel.log" in the application-data folder.
    static QString logFileName();
    // Creates the logger. The application-data folder is made first (a first
    // start, or the one after a log-out deleted it), so the log file opens.
    // True when the log file is open.
    static bool setupLogSinks();
};

#endif // LOGSETUP_H
