#ifndef INITMODULE_H
#define INITMODULE_H

// The program's set-up before any window: the logger and the application font.
void initModule();
void setupLogSinks();

#endif // INITMODULE_H
