#ifndef LOCALDATAWIPER_H
#define LOCALDATAWIPER_H

#include <QStringList>

// Removes what an earlier user left on this machine before a new sign-up:
// the program's data folder and its downloads folder, nothing else.
class LocalDataWiper
{
public:
    // The folders that belong to the program alone; a folder whose location
    // the system cannot give as an absolute path is left out.
    static QStringList ownFolders();
    // True when the path may be removed: absolute, not a root, the home or a
    // standard folder itself.
    static bool isOwnFolder(const QString& path);
    static void wipe();
};

#endif // LOCALDATAWIPER_H
