#ifndef QUORVELCORE_EXPORT_H
#define QUORVELCORE_EXPORT_H

#include <QtGlobal>

// Marks what the core library offers to the program and its tests. Building
// the library (QUORVELCORE_LIBRARY, set by its own build only) exports it;
// everyone else imports it. Where symbols are visible by default this changes
// nothing; where they are not (a DLL, or a build with hidden visibility) it is
// what makes a class reachable from outside the library.
#if defined(QUORVELCORE_LIBRARY)
#define QUORVELCORE_EXPORT Q_DECL_EXPORT
#else
#define QUORVELCORE_EXPORT Q_DECL_IMPORT
#endif

#endif // QUORVELCORE_EXPORT_H
