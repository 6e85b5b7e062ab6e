#ifndef CATALOGUES_H
#define CATALOGUES_H

#include <QString>

// The program's catalogue and Qt's own catalogue of the same language (the
// texts of the file picker and the other standard dialogs), loaded once at
// start. The interface's direction has its home here: the application's
// layout direction follows the loaded catalogue (right to left for Persian),
// so every window, menu, dialog and panel follows it, also one built before
// it has a parent. Screens do not set the direction themselves.
class Catalogues
{
public:
    // Installs the program's catalogue and Qt's "qtbase_<code>" beside it,
    // then sets the direction. False when the program's catalogue is missing
    // (the keys then show as they are, left to right).
    static bool install(const QString& catalogue = QStringLiteral(":/Lng/quorvel_persian.qm"),
                        const QString& code = QStringLiteral("fa"));
    // Removes both again and returns to left to right (for tests).
    static void uninstall();
    // Whether Qt's own catalogue was found and installed.
    static bool hasQtCatalogue();
};

#endif // CATALOGUES_H
