#include "webapi/GeneralApi/apifields.h"

namespace {

using P = Procedure;

// Most requests end with the signed-in user's credentials.
QStringList signedKeys(const QStringList& middle)
{
    QStringList keys{QStringLiteral("RequestId")};
    keys << middle << QStringLiteral("Username") << QStringLiteral("HashMethod")
         << QStringLiteral("AuthValue");
    return keys;
}

// Requests whose user name comes before the procedure's own keys.
QStringList userFirstKeys(const QStringList& middle)
{
    QStringList keys{QStringLiteral("RequestId"), QStringLiteral("Username")};
    keys << middle << QStringLiteral("HashMethod") << QStringLiteral("AuthValue");
    return keys;
}

const QStringList kPhoneUserHash{"PhoneNo", "Username", "HashMethod"};
const QStringList kUserHash{"Username", "HashMethod"};

} // namespace

ApiFields::ApiFields()
{
    setupFields();
    setupServerRequestTypes();
}

void ApiFields::setupFields()
{
    setupInputFields();
    setupOutputFields();
    setupSettingFields();
    setupUserInputKeys();
    setupShouldBeKeptInputKeys();
}

void ApiFields::setupInputFields()
{
    inputKeys = {
        {P::PROC_Register,
         {"RequestId", "PhoneNo", "DeviceId", "ClientNonce", "ClientTimestamp", "Language"}},
        {P::PROC_IVRRequest, {"RequestId", "PhoneNo"}},
        {P::PROC_Activation,
         {"RequestId", "PhoneNo", "VerificationToken", "HashMethod", "EncryptionMethod"}},
        {P::PROC_UserCard, signedKeys({})},
        {P::PROC_SetProfile,
         userFirstKeys({"AvatarURL", "AvatarThumbnailURL", "Nickname", "Motto"})},
        {P::PROC_DeactivateUser, signedKeys({})},
        {P::PROC_UserProfile, userFirstKeys({"ContactList"})},
        {P::PROC_Profile, userFirstKeys({"ContactList"})},
        {P::PROC_Members, userFirstKeys({"ContactList"})},
        {P::PROC_Algorithm, {"HashMethods", "EncryptionMethods"}},
        {P::PROC_Salam,
         {"RequestId", "Username", "NetType", "HashMethod", "EncryptionMethod", "AuthValue"}},
        {P::PROC_ChannelCategories, signedKeys({})},
        {P::PROC_BrowseCategory, signedKeys({})},
        {P::PROC_JoinChannel, signedKeys({"ChannelID"})},
        {P::PROC_LeaveChannel, signedKeys({"ChannelID"})},
        {P::PROC_ChannelData, signedKeys({"ChannelID"})},
        {P::PROC_ChannelDataAndAdd, signedKeys({"ChannelID"})},
        {P::PROC_ChannelArchive, signedKeys({"ChannelID", "Offset", "Count", "MessageID"})},
        {P::PROC_ChannelNewMessages, signedKeys({"ChannelID", "MessageID", "MessageTimestamp"})},
        {P::PROC_ChannelList, signedKeys({})},
        {P::PROC_CreateChannel,
         signedKeys({"CategoryID", "Name", "ChannelID", "AvatarURL", "AvatarThumbnailURL",
                     "Members", "ReplyAllowed", "Description"})},
        {P::PROC_ChannelAddMember, signedKeys({"ChannelID", "Members"})},
        {P::PROC_ChannelRemoveMember, signedKeys({"ChannelID", "MemberUsername"})},
        {P::PROC_ChannelChangeRole, signedKeys({"ChannelID", "MemberUsername", "MemberNewRole"})},
        {P::PROC_ChannelSendMessage,
         signedKeys({"ChannelID", "MessageID", "MessageBody", "MessageParams"})},
        {P::PROC_ChannelChangeMessageState,
         signedKeys({"ChannelID", "MessageID", "MessageNewState"})},
        {P::PROC_CheckChannelIdAvailability, signedKeys({"ChannelID"})},
        {P::PROC_ChannelGetMembers,
         signedKeys({"ChannelID", "Offset", "Count", "ChannelMemberType"})},
        {P::PROC_ChannelDelete, signedKeys({"ChannelID"})},
        {P::PROC_ChannelEdit, signedKeys({"ChannelID", "Name", "AvatarURL", "AvatarThumbnailURL",
                                          "Description", "ReplyAllowed"})},
        {P::PROC_SendLike, userFirstKeys({"MessageLikes"})},
        {P::PROC_GetLike, userFirstKeys({"MessageIDs"})},
        {P::PROC_Report, userFirstKeys({"OSVersion", "NetType", "ReportTitle", "ReportType",
                                        "ReportDescription", "ReportData"})},
        {P::PROC_LastSeen, userFirstKeys({"Format"})},
        {P::PROC_SyncAll, userFirstKeys({"ContactList"})},
        {P::PROC_SyncGet, signedKeys({})},
        {P::PROC_SyncChanges, userFirstKeys({"ContactChangesList"})},
        {P::PROC_PollCreate, userFirstKeys({"PollViewResultStatus", "PollData"})},
        {P::PROC_PollChangeStatus,
         userFirstKeys({"PollID", "NewPollStatus", "NewViewResultStatus"})},
        {P::PROC_PollVote, userFirstKeys({"PollID", "VoteData"})},
        {P::PROC_PollResults, userFirstKeys({"PollID"})},
        {P::PROC_PollViewResultsToken, userFirstKeys({"PollID"})},
        {P::PROC_VisitedMessagesStore, userFirstKeys({"VisitedMessageIds"})},
        {P::PROC_VisitedMessagesGet, userFirstKeys({"MessageIDs"})},
        {P::PROC_GroupCreate, signedKeys({"GroupJID", "GroupName", "GroupAvatarURL",
                                          "GroupAvatarThumbnailURL", "Description", "Members"})},
        {P::PROC_GroupAddMember, signedKeys({"GroupJID", "Members"})},
        {P::PROC_GroupRemoveMember, signedKeys({"GroupJID", "MemberUsername"})},
        {P::PROC_GroupChangeRole, signedKeys({"GroupJID", "MemberUsername", "MemberNewRole"})},
        {P::PROC_GroupChangeData, signedKeys({"GroupJID", "GroupName", "GroupAvatarURL",
                                              "GroupAvatarThumbnailURL", "Description"})},
        {P::PROC_GroupLeave, signedKeys({"GroupJID"})},
        {P::PROC_GroupMembers, signedKeys({"GroupJID"})},
        {P::PROC_GroupMembersInfo, signedKeys({"GroupJID"})},
        {P::PROC_UserList, signedKeys({})},
        {P::PROC_UserUnsubscribe, signedKeys({})},
        {P::PROC_GroupData, signedKeys({"GroupJID"})},
        {P::PROC_GroupArchive, signedKeys({"GroupJID", "Count", "MessageID"})},
        {P::PROC_GroupNewMessages, signedKeys({"GroupJID", "MessageTimestampMilliSecond"})},
        {P::PROC_UserChatArchive, userFirstKeys({"UserId", "Count", "MessageId"})},
        {P::PROC_QuorvelIdSet, userFirstKeys({"QuorvelId"})},
        {P::PROC_QuorvelIdGet, signedKeys({})},
        {P::PROC_Lookup, userFirstKeys({"Key"})},
        {P::PROC_SetDeviceId, {"RequestId", "Username", "HashMethod", "NewDeviceId", "AuthValue"}},
    };
}

void ApiFields::setupOutputFields()
{
    const QStringList browse{"CategoriesCount", "ChannelsCount", "Channels", "Categories"};
    const QStringList messages{"MessagesCount", "Messages"};
    outputKeys = {
        {P::PROC_Register,
         {"PhoneNo", "DeviceId", "ServerNonce", "ServerTimestamp", "HashMethod",
          "EncryptionMethod"}},
        {P::PROC_IVRRequest, {}},
        {P::PROC_Activation, {"Username", "EToken", "Iv"}},
        {P::PROC_UserCard, {"Username", "Credit"}},
        {P::PROC_ClientCountry, {"CountryCode", "CountryPrefix"}},
        {P::PROC_Algorithm, {"HashMethod", "EncryptionMethod"}},
        {P::PROC_Salam, {"Servers", "SinceLastConnection"}},
        {P::PROC_ChannelCategories, browse},
        {P::PROC_BrowseCategory, browse},
        {P::PROC_ChannelArchive, messages},
        {P::PROC_ChannelNewMessages, messages},
        {P::PROC_ChannelList, {"ChannelsCount", "Channels"}},
        {P::PROC_CreateChannel, {"ChannelID"}},
        {P::PROC_GetLike, {"MessagesLikeCount"}},
        {P::PROC_LastSeen, {"LastSeen"}},
        {P::PROC_SyncAll, {"Members"}},
        {P::PROC_SyncChanges, {"Members"}},
    };
}

void ApiFields::setupSettingFields()
{
    inputSettingKeys = {
        {P::PROC_Register, {"Language"}},
        {P::PROC_IVRRequest, {"PhoneNo"}},
        {P::PROC_Activation,
         {"PhoneNo", "HashMethod", "EncryptionMethod", "ServerTimestamp", "ServerNonce"}},
        {P::PROC_UserCard, {"Username", "HashMethod", "PhoneNo"}},
        {P::PROC_Salam, {"PhoneNo", "Username", "HashMethod", "EncryptionMethod"}},
    };
    // Signed procedures 6-27 and 32-39 (but 11, 12 and 37) also read the phone
    // number, for their request id.
    for (int value = P::PROC_SetProfile; value <= P::PROC_PollCreate; ++value) {
        const auto procedure = static_cast<Procedure>(value);
        const bool withoutPhone =
            procedure == P::PROC_Algorithm || procedure == P::PROC_Salam ||
            procedure == P::PROC_SyncGet ||
            (value >= P::PROC_CheckChannelIdAvailability && value <= P::PROC_ChannelEdit);
        if (!withoutPhone)
            inputSettingKeys.insert(procedure, kPhoneUserHash);
    }
    // The rest of the signed procedures read only the credentials.
    for (int value = P::PROC_CheckChannelIdAvailability; value <= P::PROC_SetDeviceId; ++value) {
        const auto procedure = static_cast<Procedure>(value);
        if (!inputSettingKeys.contains(procedure))
            inputSettingKeys.insert(procedure, kUserHash);
    }

    outputSettingKeys = {
        {P::PROC_Register,
         {"PhoneNo", "DeviceId", "ServerNonce", "ServerTimestamp", "HashMethod",
          "EncryptionMethod"}},
        {P::PROC_IVRRequest, {}},
        {P::PROC_Activation, {"Username", "EToken", "Iv"}},
        {P::PROC_UserCard, {"Credit"}},
        {P::PROC_ClientCountry, {"CountryCode", "CountryPrefix"}},
        {P::PROC_Algorithm, {"HashMethod", "EncryptionMethod"}},
        {P::PROC_Salam, {"SinceLastConnection"}},
        {P::PROC_ChannelCategories, {}},
        {P::PROC_BrowseCategory, {}},
        {P::PROC_ChannelArchive, {}},
        {P::PROC_ChannelNewMessages, {}},
        {P::PROC_ChannelList, {}},
        {P::PROC_CreateChannel, {}},
        {P::PROC_GetLike, {}},
        {P::PROC_LastSeen, {"LastSeen"}},
        {P::PROC_SyncAll, {}},
        {P::PROC_SyncChanges, {}},
    };
}

void ApiFields::setupUserInputKeys()
{
    userInputKeys = {
        {P::PROC_Register, {"PhoneNo"}},
        {P::PROC_Activation, {"PinCode"}},
        {P::PROC_Profile, {"ContactList"}},
        {P::PROC_Members, {"ContactList"}},
        {P::PROC_BrowseCategory, {"browseCategoryId"}},
        {P::PROC_JoinChannel, {"ChannelID"}},
        {P::PROC_LeaveChannel, {"ChannelID"}},
        {P::PROC_ChannelData, {"ChannelID"}},
        {P::PROC_ChannelDataAndAdd, {"ChannelID"}},
        {P::PROC_ChannelArchive, {"ChannelID", "Offset", "Count", "MessageID"}},
        {P::PROC_ChannelNewMessages, {"ChannelID", "MessageID", "MessageTimestamp"}},
        {P::PROC_CreateChannel,
         {"CategoryID", "Name", "ChannelID", "AvatarURL", "AvatarThumbnailURL", "Members",
          "ReplyAllowed", "Description"}},
        {P::PROC_ChannelAddMember, {"ChannelID", "Members"}},
        {P::PROC_ChannelRemoveMember, {"ChannelID", "MemberUsername"}},
        {P::PROC_ChannelChangeRole, {"ChannelID", "MemberUsername", "MemberNewRole"}},
        {P::PROC_ChannelSendMessage, {"ChannelID", "MessageID", "MessageBody", "MessageParams"}},
        {P::PROC_ChannelChangeMessageState, {"ChannelID", "MessageID", "MessageNewState"}},
        {P::PROC_CheckChannelIdAvailability, {"ChannelID"}},
        {P::PROC_ChannelGetMembers, {"ChannelID", "Offset", "Count", "ChannelMemberType"}},
        {P::PROC_ChannelDelete, {"ChannelID"}},
        {P::PROC_ChannelEdit,
         {"ChannelID", "Name", "AvatarURL", "AvatarThumbnailURL", "Description", "ReplyAllowed"}},
        {P::PROC_SendLike, {"MessageLikes"}},
        {P::PROC_GetLike, {"MessageIDs"}},
        {P::PROC_Report, {"ReportTitle", "ReportType", "ReportDescription"}},
        {P::PROC_SyncAll, {"ContactList"}},
        {P::PROC_SyncChanges, {"ContactChangesList"}},
        {P::PROC_PollCreate, {"PollViewResultStatus", "PollData"}},
        {P::PROC_PollChangeStatus, {"PollID", "NewPollStatus", "NewViewResultStatus"}},
        {P::PROC_PollVote, {"PollID", "VoteData"}},
        {P::PROC_PollResults, {"PollID"}},
        {P::PROC_PollViewResultsToken, {"PollID"}},
        {P::PROC_VisitedMessagesStore, {"VisitedMessageIds"}},
        {P::PROC_VisitedMessagesGet, {"MessageIDs"}},
        {P::PROC_GroupCreate,
         {"GroupJID", "GroupName", "GroupAvatarURL", "GroupAvatarThumbnailURL", "Description",
          "Members"}},
        {P::PROC_GroupAddMember, {"GroupJID", "Members"}},
        {P::PROC_GroupRemoveMember, {"GroupJID", "MemberUsername"}},
        {P::PROC_GroupChangeRole, {"GroupJID", "MemberUsername", "MemberNewRole"}},
        {P::PROC_GroupChangeData,
         {"GroupJID", "GroupName", "GroupAvatarURL", "GroupAvatarThumbnailURL", "Description"}},
        {P::PROC_GroupLeave, {"GroupJID"}},
        {P::PROC_GroupMembers, {"GroupJID"}},
        {P::PROC_GroupMembersInfo, {"GroupJID"}},
        {P::PROC_GroupData, {"GroupJID"}},
        {P::PROC_GroupArchive, {"GroupJID", "Count", "MessageID"}},
        {P::PROC_GroupNewMessages, {"GroupJID", "MessageTimestampMilliSecond"}},
        {P::PROC_UserChatArchive, {"UserId", "Count", "MessageId"}},
        {P::PROC_QuorvelIdSet, {"QuorvelId"}},
        {P::PROC_Lookup, {"Key"}},
        {P::PROC_SetDeviceId, {"NewDeviceId"}},
    };
}

void ApiFields::setupShouldBeKeptInputKeys()
{
    shouldBeKeptInputKeys = {
        {P::PROC_Register, {"ClientNonce", "ClientTimestamp", "PhoneNo"}},
    };
}

void ApiFields::setupServerRequestTypes()
{
    serverRequestTypes = {{P::PROC_ClientCountry, Get}};
}

QStringList ApiFields::getInputKeys(Procedure procedure) const
{
    return inputKeys.value(procedure);
}

QStringList ApiFields::getOutputKeys(Procedure procedure) const
{
    return outputKeys.value(procedure);
}

QStringList ApiFields::getInputSettingKeys(Procedure procedure) const
{
    return inputSettingKeys.value(procedure);
}

QStringList ApiFields::getOutputSettingKeys(Procedure procedure) const
{
    return outputSettingKeys.value(procedure);
}

QStringList ApiFields::getUserInputKeys(Procedure procedure) const
{
    return userInputKeys.value(procedure);
}

QStringList ApiFields::getShouldBeKeptInputs(Procedure procedure) const
{
    return shouldBeKeptInputKeys.value(procedure);
}

ApiFields::ServerRequestType ApiFields::getServerRequestType(Procedure procedure) const
{
    return serverRequestTypes.value(procedure, Post);
}

bool ApiFields::isUniqueRequest(Procedure procedure)
{
    return procedure == P::PROC_Salam;
}
