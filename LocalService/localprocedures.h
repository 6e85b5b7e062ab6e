#ifndef LOCALPROCEDURES_H
#define LOCALPROCEDURES_H

#include <QString>
#include <QStringList>

class LocalService;

// The one place where the local service learns its procedures. Each area has
// its own source file (accountprocedures.cpp, contactprocedures.cpp,
// fileprocedures.cpp, ...) with one install function that registers its
// handlers on the service (LocalService::handle / handleSigned) and keeps its
// state in its own areas of the service's store (ServiceStore, area names
// such as "channels" or "groups"). A new area adds its function here and one
// row to the table in localprocedures.cpp.
namespace LocalProcedures {

using Installer = void (*)(LocalService& service);

struct Area
{
    const char* name;
    Installer install;
};

void installAccounts(LocalService& service);
void installContacts(LocalService& service);
void installFiles(LocalService& service);
void installPolls(LocalService& service);
void installStickers(LocalService& service);
void installGroups(LocalService& service);
void installChannels(LocalService& service);
void installLookups(LocalService& service);

// Who may see whose last activity: "user watcher" pairs of account names,
// one for each registered number in a user's contact list.
QStringList lastSeenWatchers(const LocalService& service);
// Every account that follows or runs a channel, once each.
QStringList channelFollowers(const LocalService& service);

// Every area, in the table's order.
void installAll(LocalService& service);
// One area by name; false when there is none of that name.
bool installArea(LocalService& service, const QString& name);

} // namespace LocalProcedures

#endif // LOCALPROCEDURES_H
