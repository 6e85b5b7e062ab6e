#include "fuzzsupport.h"

#include "foundation/simpleqtlogger.h"
#include "signallogger.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QNetworkProxy>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

QTemporaryDir* home = nullptr;

void removeHome()
{
    delete home;
    home = nullptr;
}

void setPrivateFolders()
{
    // In memory where the system offers it: the stores flush to disk when they
    // open, which would otherwise dominate the targets that reopen one.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                             ? QStringLiteral("/dev/shm")
                             : QDir::tempPath();
    home = new QTemporaryDir(base + QStringLiteral("/quorvel-fuzz.XXXXXX"));
    if (!home->isValid())
        std::abort();
    std::atexit(removeHome);
    const QString root = home->path();
    for (const char* name : {"home", "data", "config", "runtime", "cache"})
        QDir(root).mkpath(QLatin1String(name));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit());
}

void setUpLogger()
{
    createSignalOnlyLogger(qApp, true);
}

} // namespace

namespace fuzz {

void setUp(int* argc, char*** argv)
{
    setPrivateFolders();
    // No request of a target may leave the machine: an address with a scheme
    // no one serves fails at once, before any connection.
    qputenv("QUORVEL_WEB_BASE_URL", "quorvel-fuzz://nowhere/");
    qputenv("QUORVEL_STICKER_BASE_URL", "quorvel-fuzz://nowhere/");
    qputenv("QUORVEL_FILE_HOST_URL", "quorvel-fuzz://nowhere/");
    qputenv("QUORVEL_CHAT_DOMAIN", "chat.example");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own warnings about hostile input stay quiet; crashes do not.
    qputenv("QT_LOGGING_RULES", "*.debug=false;*.warning=false");
    new QCoreApplication(*argc, *argv);
    // And should a target ever open a socket to an address from its input,
    // it only reaches a proxy on this machine's loopback that is not there;
    // the proxy, not this process, would resolve host names.
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::Socks5Proxy, QStringLiteral("127.0.0.1"), 9));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Fuzz"));
    setUpLogger();
}

void drainEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace fuzz
