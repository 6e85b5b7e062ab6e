#include "foundation/desktopopener.h"

#include <QDesktopServices>

bool DesktopOpener::openUrl(const QUrl& url)
{
    const Handler& h = handler();
    return h ? h(url) : QDesktopServices::openUrl(url);
}

void DesktopOpener::setHandler(const Handler& h)
{
    handler() = h;
}

DesktopOpener::Handler& DesktopOpener::handler()
{
    static Handler h;
    return h;
}
