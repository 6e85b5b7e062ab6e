#ifndef COMMAND_H
#define COMMAND_H

#include <QMetaType>

// The commands the GUI sends to the core and the answers and events the core
// sends back; an answer carries the value of the command it answers.
enum Command : int
{
    CMD_GetUserProfile = 0,
    CMD_UserProfile = 1,
    CMD_SetProfile = 2,
    CMD_SetQuorvelId = 3,
    CMD_GetQuorvelId = 4,
    CMD_AddContact = 5,
    CMD_UpdateContact = 6,
    CMD_DeleteContact = 7,
    CMD_UpdateMuteStatus = 8,
    CMD_BlockUser = 9,
    CMD_GetContacts = 10,
    CMD_RunMembers = 11,
    CMD_DeactivateUser = 12,
    CMD_GetContact = 13,
    CMD_ReSyncContacts = 14,
    CMD_LastSeen = 15,
    CMD_UserLookup = 16,
    CMD_ChannelCategories = 17,
    CMD_BrowseChannelCategory = 18,
    CMD_ChannelCreate = 19,
    CMD_ChannelData = 20,
    CMD_ChannelList = 21,
    CMD_ChannelJoin = 22,
    CMD_ChannelLeave = 23,
    CMD_ChannelAdded = 24,
    CMD_GetChannelMessages = 25,
    CMD_ChannelAddMember = 26,
    CMD_ChannelRemoveMember = 27,
    CMD_ChannelChangeMemberRole = 28,
    CMD_ChannelChangeMsgCond = 29,
    CMD_GroupMessageReceived = 30,
    CMD_ChannelUpdateMute = 31,
    CMD_ChannelCheckId = 32,
    CMD_ChannelGetMembers = 33,
    CMD_ChannelDelete = 34,
    CMD_ChannelEdit = 35,
    CMD_SendPollToChannel = 36,
    CMD_ChannelLastMessageChanged = 37,
    CMD_ChannelLookup = 38,
    CMD_ChatsData = 39,
    CMD_GetChatRecipients = 40,
    CMD_SendMessage = 41,
    CMD_ChatRecipientAdded = 42,
    CMD_SendSeen = 43,
    CMD_GetChatMessages = 44,
    CMD_MessageAdded = 45,
    CMD_MessagePairAdded = 46,
    CMD_MessageStateChange = 47,
    CMD_DeleteChat = 48,
    CMD_SetFilePathForFileMessage = 49,
    CMD_MessageEdited = 50,
    CMD_GroupCreate = 51,
    CMD_GroupGetData = 52,
    CMD_GroupsList = 53,
    CMD_GroupAdded = 54,
    CMD_GroupInfoMembers = 55,
    CMD_GroupRemoved = 56,
    CMD_GroupRemoveHistory = 57,
    CMD_GroupLeave = 58,
    CMD_GroupAddMember = 59,
    CMD_GroupAddAdmin = 60,
    CMD_GroupChangeRole = 61,
    CMD_GroupChangeData = 62,
    CMD_GroupRemoveMember = 63,
    CMD_GroupUpdateGetNotif = 64,
    CMD_GroupLastMessageChanged = 65,
    CMD_GroupLookup = 66,
    CMD_GetGroupMessages = 67,
    CMD_Getsetting = 68,
    CMD_LikeGet = 69,
    CMD_LikeSend = 70,
    CMD_Notification = 71,
    CMD_ToastMessage = 72,
    CMD_ForceUpdate = 73,
    CMD_ErrorCode = 74,
    CMD_SaveMainSettings = 75,
    CMD_ChatServerState = 76,
    CMD_Lookup = 77,
    CMD_Logout = 78,
    // New messages wait on the server for disk space (true), or are taken
    // again (false).
    CMD_DiskFullForArrivals = 79
};

static const int CMD_Count = 80;

Q_DECLARE_METATYPE(Command)

#endif // COMMAND_H
