#ifndef PROCEDURE_H
#define PROCEDURE_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// The numbered exchanges with the web service. 0 is the idle state of the
// queue; 64 is the local log-out and never goes out.
enum Procedure : qint32
{
    PROC_Idle = 0,
    PROC_Register = 1,
    PROC_IVRRequest = 2,
    PROC_Activation = 3,
    PROC_UserCard = 4,
    PROC_ClientCountry = 5,
    PROC_SetProfile = 6,
    PROC_DeactivateUser = 7,
    PROC_UserProfile = 8,
    PROC_Profile = 9,
    PROC_Members = 10,
    PROC_Algorithm = 11,
    PROC_Salam = 12,
    PROC_ChannelCategories = 13,
    PROC_BrowseCategory = 14,
    PROC_JoinChannel = 15,
    PROC_LeaveChannel = 16,
    PROC_ChannelData = 17,
    PROC_ChannelDataAndAdd = 18,
    PROC_ChannelArchive = 19,
    PROC_ChannelNewMessages = 20,
    PROC_ChannelList = 21,
    PROC_CreateChannel = 22,
    PROC_ChannelAddMember = 23,
    PROC_ChannelRemoveMember = 24,
    PROC_ChannelChangeRole = 25,
    PROC_ChannelSendMessage = 26,
    PROC_ChannelChangeMessageState = 27,
    PROC_CheckChannelIdAvailability = 28,
    PROC_ChannelGetMembers = 29,
    PROC_ChannelDelete = 30,
    PROC_ChannelEdit = 31,
    PROC_SendLike = 32,
    PROC_GetLike = 33,
    PROC_Report = 34,
    PROC_LastSeen = 35,
    PROC_SyncAll = 36,
    PROC_SyncGet = 37,
    PROC_SyncChanges = 38,
    PROC_PollCreate = 39,
    PROC_PollChangeStatus = 40,
    PROC_PollVote = 41,
    PROC_PollResults = 42,
    PROC_PollViewResultsToken = 43,
    PROC_VisitedMessagesStore = 44,
    PROC_VisitedMessagesGet = 45,
    PROC_GroupCreate = 46,
    PROC_GroupAddMember = 47,
    PROC_GroupRemoveMember = 48,
    PROC_GroupChangeRole = 49,
    PROC_GroupChangeData = 50,
    PROC_GroupLeave = 51,
    PROC_GroupMembers = 52,
    PROC_GroupMembersInfo = 53,
    PROC_UserList = 54,
    PROC_UserUnsubscribe = 55,
    PROC_GroupData = 56,
    PROC_GroupArchive = 57,
    PROC_GroupNewMessages = 58,
    PROC_UserChatArchive = 59,
    PROC_QuorvelIdSet = 60,
    PROC_QuorvelIdGet = 61,
    PROC_Lookup = 62,
    PROC_SetDeviceId = 63,
    PROC_RemoveAllSettings = 64
};

Q_DECLARE_METATYPE(Procedure)

// Constant facts about each procedure: display name, fixed sub-directory,
// number of tries and whether it is vital (re-queued when its tries run out).
class QUORVELCORE_EXPORT ProcedureTable
{
public:
    static const int kFirst = PROC_Idle;
    static const int kLast = PROC_RemoveAllSettings;

    // "" for 62 and for any value outside 0-64.
    static QString displayName(Procedure procedure);
    // The constant sub-directory; "" for 0, 64, values outside the table and
    // for Browse Category, whose sub-directory depends on its inputs.
    static QString fixedSubDir(Procedure procedure);
    static int maxTries(Procedure procedure);
    static bool isVital(Procedure procedure);
    // Registers the type with the meta-type system under the name "Procedure".
    static void registerMetaType();
};

#endif // PROCEDURE_H
