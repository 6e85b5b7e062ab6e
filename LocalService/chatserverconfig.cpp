#include "chatserverconfig.h"

#include <QDir>
#include <QSaveFile>
#include <QTextStream>

namespace {

QString luaString(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    escaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    const QByteArray data = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace

QString ChatServerConfig::configPath() const
{
    return QDir(folder).filePath(QStringLiteral("prosody.cfg.lua"));
}

QString ChatServerConfig::logPath() const
{
    return QDir(folder).filePath(QStringLiteral("prosody.log"));
}

QString ChatServerConfig::pidPath() const
{
    return QDir(folder).filePath(QStringLiteral("server.pid"));
}

QString ChatServerConfig::dataPath() const
{
    return QDir(folder).filePath(QStringLiteral("data"));
}

QString ChatServerConfig::text() const
{
    QString modules =
        QStringLiteral("\"roster\"; \"saslauth\"; \"tls\"; \"disco\"; \"ping\"; "
                       "\"privacy_lists\"; \"lastactivity\"; \"uptime\"; \"offline\"");
    if (streamManagement)
        modules += QStringLiteral("; \"smacks\"");
    if (!groupsFile.isEmpty())
        modules += QStringLiteral("; \"groups\"");
    QString out;
    QTextStream stream(&out);
    stream << "run_as_root = true\n"
           << "daemonize = false\n"
           << "data_path = " << luaString(dataPath()) << "\n"
           << "interfaces = { \"127.0.0.1\" }\n"
           << "local_interfaces = { \"127.0.0.1\" }\n"
           << "c2s_ports = { " << port << " }\n"
           << "c2s_direct_tls_ports = { }\n"
           << "c2s_require_encryption = true\n"
           << "allow_registration = false\n"
           << "authentication = \"internal_hashed\"\n"
           << "storage = \"internal\"\n"
           << "network_settings = { nagle = false }\n"
           << "modules_enabled = { " << modules << " }\n"
           << "modules_disabled = { \"s2s\"; \"posix\" }\n";
    if (!groupsFile.isEmpty())
        stream << "groups_file = " << luaString(groupsFile) << "\n";
    stream << "certificates = " << luaString(folder) << "\n"
           << "ssl = { certificate = " << luaString(certificateFile)
           << "; key = " << luaString(keyFile) << " }\n"
           << "log = { info = " << luaString(logPath()) << " }\n"
           << "VirtualHost " << luaString(domain) << "\n"
           << "Component " << luaString(mucDomain()) << " \"muc\"\n"
           << "    muc_room_locking = false\n"
           << "    muc_room_default_persistent = true\n"
           // The server keeps every room's messages itself, whoever was
           // there, with the sender's account (rooms show their occupants'
           // addresses), for the room keeper to catch up from.
           << "    muc_room_default_public_jids = true\n"
           << "    modules_enabled = { \"muc_mam\" }\n"
           << "    muc_log_all_rooms = true\n"
           << "    muc_log_expires_after = \"never\"\n";
    stream.flush();
    return out;
}

bool ChatServerConfig::write() const
{
    return QDir().mkpath(dataPath()) && writeText(configPath(), text());
}

bool ChatServerConfig::writeGroups(const QString& path, const QStringList& jids)
{
    return writeText(path, QStringLiteral("[Everyone]\n") + jids.join(QLatin1Char('\n')) +
                               QLatin1Char('\n'));
}
