#ifndef DESKTOPOPENER_H
#define DESKTOPOPENER_H

#include "foundation/quorvelcore_export.h"

#include <QUrl>

#include <functional>

// The one way the program hands a file or link to the desktop's default
// application (QDesktopServices::openUrl). Tests install a handler instead, so
// they can see what would be opened without launching anything.
class QUORVELCORE_EXPORT DesktopOpener
{
public:
    using Handler = std::function<bool(const QUrl&)>;

    // Opens the URL with the installed handler, else with the desktop.
    static bool openUrl(const QUrl& url);
    // An empty handler restores the desktop.
    static void setHandler(const Handler& handler);

private:
    static Handler& handler();
};

#endif // DESKTOPOPENER_H
