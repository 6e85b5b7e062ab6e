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

// Last activity between contacts: a user's last activity is told to the
// watchers the service lists for that user, as seconds since the user's last
// session ended (0 while one is open). Other queries go on to prosody's own
// module.
const char* const kLastSeenModule = R"lua(
local st = require "util.stanza";
local jid_split = require "util.jid".split;
local watchers_file = module:get_option_path("quorvel_watchers_file", nil, "config");
local store = module:open_store("quorvel_lastseen");

local function may_watch(user, watcher)
	if user == watcher then return true; end
	local f = watchers_file and io.open(watchers_file, "r");
	if not f then return false; end
	local found = false;
	for line in f:lines() do
		local u, w = line:match("^(%S+)%s+(%S+)%s*$");
		if u == user and w == watcher then found = true; break; end
	end
	f:close();
	return found;
end

module:hook("resource-unbind", function(event)
	local session = event.session;
	if not session.username then return; end
	if not prosody.hosts[module.host].sessions[session.username] then
		store:set(session.username, { t = os.time() });
	end
end);

module:hook("iq-get/bare/jabber:iq:last:query", function(event)
	local origin, stanza = event.origin, event.stanza;
	local user = jid_split(stanza.attr.to);
	if not user or not origin.username or not may_watch(user, origin.username) then return; end
	local seconds = 0;
	if not prosody.hosts[module.host].sessions[user] then
		local seen = store:get(user);
		if not seen then
			origin.send(st.error_reply(stanza, "cancel", "item-not-found"));
			return true;
		end
		seconds = os.difftime(os.time(), seen.t);
	end
	origin.send(st.reply(stanza):tag("query",
		{ xmlns = "jabber:iq:last", seconds = string.format("%d", seconds) }));
	return true;
end, 10);
)lua";

} // namespace

QString ChatServerConfig::lastSeenModulePath() const
{
    return QDir(folder).filePath(QStringLiteral("mod_quorvel_lastseen.lua"));
}

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
    if (!watchersFile.isEmpty())
        modules += QStringLiteral("; \"quorvel_lastseen\"");
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
    if (!watchersFile.isEmpty())
        stream << "plugin_paths = { " << luaString(folder) << " }\n"
               << "quorvel_watchers_file = " << luaString(watchersFile) << "\n";
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
           // Only the members the room keeper lists may enter a room, from
           // its first moment on; rooms are not listed.
           << "    muc_room_default_members_only = true\n"
           << "    muc_room_default_public = false\n"
           << "    modules_enabled = { \"muc_mam\" }\n"
           << "    muc_log_all_rooms = true\n"
           << "    muc_log_expires_after = \"never\"\n";
    if (!roomKeeper.isEmpty())
        // Rooms are the groups' rooms: none comes into being before its group
        // is made, so that no account can take a group's room by guessing its
        // id first. The keeper is an administrator of the room service only.
        stream << "    admins = { " << luaString(roomKeeper + QLatin1Char('@') + domain) << " }\n"
               << "    restrict_room_creation = true\n";
    stream.flush();
    return out;
}

bool ChatServerConfig::write() const
{
    if (!QDir().mkpath(dataPath()))
        return false;
    if (!watchersFile.isEmpty() &&
        !writeText(lastSeenModulePath(), QString::fromUtf8(kLastSeenModule)))
        return false;
    return writeText(configPath(), text());
}

bool ChatServerConfig::writeGroups(const QString& path, const QStringList& jids)
{
    return writeText(path, QStringLiteral("[Everyone]\n") + jids.join(QLatin1Char('\n')) +
                               QLatin1Char('\n'));
}
