#ifndef PROGRAMRESTART_H
#define PROGRAMRESTART_H

#include <QString>
#include <QStringList>

// Starts a fresh copy of the program in place of this one (after a change of
// the interface scale or a log-out). The single-instance guard is given up
// first, or the new process would only greet this one and end; this process
// quits only once the new one has started, and otherwise takes the guard back
// and runs on. GUI thread only.
class ProgramRestart
{
public:
    // This program with this process's arguments, each passed once.
    static bool restart();
    // program with arguments, which do not repeat the program itself.
    static bool restart(const QString& program, const QStringList& arguments);
};

#endif // PROGRAMRESTART_H
