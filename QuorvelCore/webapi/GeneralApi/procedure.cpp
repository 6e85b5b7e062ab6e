#include "webapi/GeneralApi/procedure.h"

namespace {

struct ProcedureRow
{
    const char* name;
    const char* subDir;
};

// Indexed by the procedure's value.
const ProcedureRow kRows[] = {
    {"IDLE", ""},
    {"Register", "register/"},
    {"IVR Request", "ivrRequest/"},
    {"Activation", "activation/"},
    {"User Card", "card/"},
    {"Client Country", "client_country/"},
    {"Set Profile", "setprofile/"},
    {"Deactivate User", "deactivation/"},
    {"User Profile", "members/"},
    {"Profile", "members/"},
    {"Members", "members/"},
    {"Algorithm", "algorithm/"},
    {"Salam", "salam/"},
    {"Channel Categories", "GAPI/channels/browse/index/"},
    {"Browse Category", ""},
    {"Join Channel", "GAPI/channels/join/"},
    {"Leave Channel", "GAPI/channels/leave/"},
    {"Channel Data", "GAPI/channels/getdata/"},
    {"Channel Data and Add", "GAPI/channels/getdata/"},
    {"Channel Archive", "GAPI/channels/archive/JSON"},
    {"Channel New Messages", "GAPI/channels/newMessages/JSON"},
    {"Channel List", "GAPI/channels/list/"},
    {"Create channel", "GAPI/channels/create/"},
    {"Channel Add Member", "GAPI/channels/addmember/"},
    {"Channel Remove Member", "GAPI/channels/removemember/"},
    {"Channel Change Role", "GAPI/channels/changerole/"},
    {"Channel Send Message", "GAPI/channels/sendmessage/"},
    {"Channel Change Message State", "GAPI/channels/changemessagestate/"},
    {"Check Channel Id Availablity", "GAPI/channels/checkFreeChannelId/"},
    {"Channel Get Members", "GAPI/channels/getmembers/"},
    {"Channel Delete", "GAPI/channels/deleteChannel/"},
    {"Channel Edit", "GAPI/channels/changechanneldata/"},
    {"Send Like", "like/send/"},
    {"Get Like", "like/get/"},
    {"Report", "report/"},
    {"Last Seen", "lastseen/"},
    {"Sync All", "contacts/syncall/"},
    {"Sync Get", "contacts/getSynced/"},
    {"Sync Changes", "contacts/syncchanges/"},
    {"Poll Create", "polls/create/"},
    {"Poll Change Status", "polls/changestatus/"},
    {"Poll Vote", "polls/vote/"},
    {"Poll Results", "polls/getresult/"},
    {"Poll View Results Token", "polls/getviewresulttoken/"},
    {"Visited Messages Store", "messagevisits/store/"},
    {"Visited Messages Get", "messagevisits/get/"},
    {"Group Create", "GAPI/privatechat/create/"},
    {"Group Add Member", "GAPI/privatechat/addmember/"},
    {"Group Remove Member", "GAPI/privatechat/removemember/"},
    {"Group Change Role", "GAPI/privatechat/changerole/"},
    {"Group Change Data", "GAPI/privatechat/changegroupdata/"},
    {"Group Leave", "GAPI/privatechat/leave/"},
    {"Group Members", "GAPI/privatechat/getmembers/"},
    {"Group Members Info", "GAPI/privatechat/getmembersinfo/"},
    {"User List", "GAPI/user/getlist/"},
    {"User Unsubscribe", "GAPI/user/unsubscribe/"},
    {"Group Data", "GAPI/privatechat/groupdata/"},
    {"Group Archive", "GAPI/privatechat/archive/"},
    {"Group New Messages", "GAPI/privatechat/newMessages/"},
    {"User Chat Archive", "CAPI/Userchat/Archive/"},
    {"Quorvel ID Set", "quorvelid/set/"},
    {"Quorvel ID Get", "quorvelid/get/"},
    {"", "lookup/"},
    {"Set Device ID", "register/setDeviceId/"},
    {"Remove All Settings", ""},
};

static_assert(sizeof(kRows) / sizeof(kRows[0]) == ProcedureTable::kLast + 1,
              "one row per procedure");

const ProcedureRow* rowOf(Procedure procedure)
{
    const int value = static_cast<int>(procedure);
    if (value < ProcedureTable::kFirst || value > ProcedureTable::kLast)
        return nullptr;
    return &kRows[value];
}

} // namespace

QString ProcedureTable::displayName(Procedure procedure)
{
    const ProcedureRow* row = rowOf(procedure);
    return row ? QString::fromLatin1(row->name) : QString();
}

QString ProcedureTable::fixedSubDir(Procedure procedure)
{
    const ProcedureRow* row = rowOf(procedure);
    return row ? QString::fromLatin1(row->subDir) : QString();
}

int ProcedureTable::maxTries(Procedure procedure)
{
    return (procedure == PROC_Register || procedure == PROC_Activation) ? 1 : 3;
}

bool ProcedureTable::isVital(Procedure procedure)
{
    switch (procedure) {
    case PROC_Salam:
    case PROC_ChannelNewMessages:
    case PROC_ChannelList:
    case PROC_UserList:
    case PROC_GroupNewMessages:
        return true;
    default:
        return false;
    }
}

void ProcedureTable::registerMetaType()
{
    qRegisterMetaType<Procedure>("Procedure");
}
