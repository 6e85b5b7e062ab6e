#include "localprocedures.h"

namespace LocalProcedures {
namespace {

// One row per area; areas registered later override earlier handlers of the
// same path.
const Area kAreas[] = {
    {"accounts", installAccounts}, {"contacts", installContacts}, {"files", installFiles},
    {"groups", installGroups},     {"channels", installChannels}, {"polls", installPolls},
    {"stickers", installStickers}, {"lookups", installLookups},
};

} // namespace

void installAll(LocalService& service)
{
    for (const Area& area : kAreas)
        area.install(service);
}

bool installArea(LocalService& service, const QString& name)
{
    for (const Area& area : kAreas) {
        if (name == QLatin1String(area.name)) {
            area.install(service);
            return true;
        }
    }
    return false;
}

} // namespace LocalProcedures
