<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AddNewContact</name>
    <message>
        <source>AddNewContact</source>
        <translation>Add Contact</translation>
    </message>
    <message>
        <source>_AddNewContact</source>
        <translation>Add Contact</translation>
    </message>
    <message>
        <source>_Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>_EnterName</source>
        <translation>Please enter a name</translation>
    </message>
    <message>
        <source>_ErrorMobileNumberNotValid</source>
        <translation>The mobile number is not valid</translation>
    </message>
    <message>
        <source>_Family</source>
        <translation>Last name</translation>
    </message>
    <message>
        <source>_Ignor</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>_Name</source>
        <translation>First name</translation>
    </message>
</context>
<context>
    <name>ChannelAbstractWidget</name>
    <message>
        <source>_FollowString</source>
        <translation>Follow</translation>
    </message>
    <message>
        <source>_VisitString</source>
        <translation>Visit</translation>
    </message>
</context>
<context>
    <name>ChannelCategoryPopUp</name>
    <message>
        <source>_BrowseChannel</source>
        <translation>Browse Channels</translation>
    </message>
    <message>
        <source>_ChooseCategory</source>
        <translation>Choose %1</translation>
    </message>
</context>
<context>
    <name>ChannelLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>members</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>Send Message</translation>
    </message>
</context>
<context>
    <name>ChannelOwnerWidget</name>
    <message>
        <source>_ChangeOwner</source>
        <translation>Change owner</translation>
    </message>
</context>
<context>
    <name>ChannelProfileAdmin</name>
    <message>
        <source>_PickNewMembers</source>
        <translation>Add followers to the channel</translation>
    </message>
    <message>
        <source>_PickManagers</source>
        <translation>Choose new administrators</translation>
    </message>
    <message>
        <source>_PickMembersToRemove</source>
        <translation>Choose followers to remove</translation>
    </message>
    <message>
        <source>_NoFollowerToRemove</source>
        <translation>The channel has no follower to remove</translation>
    </message>
    <message>
        <source>_Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>_RemoveMembersWarningMessage</source>
        <translation>Remove the chosen followers from the channel?</translation>
    </message>
    <message>
        <source>_DeleteChannelWarningMessage</source>
        <translation>Are you sure you want to delete this channel?</translation>
    </message>
    <message>
        <source>_RemoveManagerWarningMessage</source>
        <translation>Remove this administrator from the channel's administrators?</translation>
    </message>
    <message>
        <source>Add Member</source>
        <translation>Add Member</translation>
    </message>
    <message>
        <source>Delete Member</source>
        <translation>Delete Member</translation>
    </message>
    <message>
        <source>_AddManager</source>
        <translation>Add administrator</translation>
    </message>
    <message>
        <source>_ChannelDescription</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>_ChannelManagers</source>
        <translation>Administrators</translation>
    </message>
    <message>
        <source>_ChannelOwner</source>
        <translation>Owner</translation>
    </message>
    <message>
        <source>_DeleteChannel</source>
        <translation>Delete channel</translation>
    </message>
    <message>
        <source>_EditChannel</source>
        <translation>Edit channel</translation>
    </message>
    <message>
        <source>_MembersCount</source>
        <translation> members</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>ChannelProfileNormal</name>
    <message>
        <source>_ChannelDescription</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>_Config</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>_LeaveChannel</source>
        <translation>Leave channel</translation>
    </message>
    <message>
        <source>_LeaveChannelWarningMessage</source>
        <translation>Leave this channel?</translation>
    </message>
    <message>
        <source>_MembersCount</source>
        <translation> members</translation>
    </message>
    <message>
        <source>_ReceiveNotification</source>
        <translation>Mute notifications</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>Info</translation>
    </message>
</context>
<context>
    <name>ChannelTab</name>
    <message>
        <source>No channel find.</source>
        <translation>No channel found.</translation>
    </message>
</context>
<context>
    <name>ChannelWidget</name>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>GIF</source>
        <translation>GIF</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Poll</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>Sticker</source>
        <translation>Sticker</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
</context>
<context>
    <name>ChatMember</name>
    <message>
        <source>_Delete</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>_DeleteUserWarning</source>
        <translation>Remove this member from the group?</translation>
    </message>
    <message>
        <source>_SeeProfile</source>
        <translation>View Profile</translation>
    </message>
    <message>
        <source>_delete</source>
        <translation>Remove</translation>
    </message>
</context>
<context>
    <name>ChatMessageWidget</name>
    <message>
        <source>_NotSentNoDiskSpace</source>
        <translation>Not sent: this computer&apos;s disk is full. It goes out once there is room.</translation>
    </message>
    <message>
        <source>_NotSentRefused</source>
        <translation>Not sent: the service refused it.</translation>
    </message>
    <message>
        <source>_CopySelectedText</source>
        <translation>Copy Selection</translation>
    </message>
    <message>
        <source>_CopyText</source>
        <translation>Copy Text</translation>
    </message>
    <message>
        <source>_EditMessage</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>_ReplyMessage</source>
        <translation>Reply</translation>
    </message>
    <message>
        <source>_SenderPicture</source>
        <translation>The sender's picture</translation>
    </message>
</context>
<context>
    <name>ChatTab</name>
    <message>
        <source>No chat find.</source>
        <translation>No chat found.</translation>
    </message>
</context>
<context>
    <name>ChatWidget</name>
    <message>
        <source>_file</source>
        <translation>File</translation>
    </message>
    <message>
        <source>_gif</source>
        <translation>GIF</translation>
    </message>
    <message>
        <source>_image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>_location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>_poll</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>_pushToTalk</source>
        <translation>Voice message</translation>
    </message>
    <message>
        <source>_sticker</source>
        <translation>Sticker</translation>
    </message>
    <message>
        <source>_video</source>
        <translation>Video</translation>
    </message>
</context>
<context>
    <name>ChatInputBar</name>
    <message>
        <source>compose message...</source>
        <translation>compose message...</translation>
    </message>
    <message>
        <source>_MessageField</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>_AttachFile</source>
        <translation>Attach a file</translation>
    </message>
    <message>
        <source>_ChooseEmoji</source>
        <translation>Emoji</translation>
    </message>
    <message>
        <source>_SendMessage</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>_MakePoll</source>
        <translation>Make a poll</translation>
    </message>
</context>
<context>
    <name>ChatWindow</name>
    <message>
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>Unmute</source>
        <translation>Unmute</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>Delete the whole history of this chat?</translation>
    </message>
    <message>
        <source>_removeGroup</source>
        <translation>You are no longer a member of this group</translation>
    </message>
    <message>
        <source>_AllFiles</source>
        <translation>All files</translation>
    </message>
    <message>
        <source>_selectFiles</source>
        <translation>Select files</translation>
    </message>
</context>
<context>
    <name>ChatWindowTitle</name>
    <message>
        <source>_members</source>
        <translation>members</translation>
    </message>
</context>
<context>
    <name>ConnectionStatusWidget</name>
    <message>
        <source>_connected</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>_connecting</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>_disconnected</source>
        <translation>Waiting for network...</translation>
    </message>
    <message>
        <source>_loading</source>
        <translation>Loading...</translation>
    </message>
</context>
<context>
    <name>ContactProfile</name>
    <message>
        <source>_Call</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>_Cofig</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>_DeleteChatHistory</source>
        <translation>Delete chat history</translation>
    </message>
    <message>
        <source>_DeleteContact</source>
        <translation>Delete contact</translation>
    </message>
    <message>
        <source>_DeleteContactList</source>
        <translation>Delete chat</translation>
    </message>
    <message>
        <source>_DeleteContactListWarningMessage</source>
        <translation>Delete this chat from the list?</translation>
    </message>
    <message>
        <source>_DeleteContactWarningMessage</source>
        <translation>Delete this contact?</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>Delete the whole history of this chat?</translation>
    </message>
    <message>
        <source>_Mute</source>
        <translation>Mute notifications</translation>
    </message>
    <message>
        <source>_SendMessage</source>
        <translation>Send Message</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>_UserBlocking</source>
        <translation>Block user</translation>
    </message>
</context>
<context>
    <name>ContactSelect</name>
    <message>
        <source>Ignore</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>Invite</source>
        <translation>Invite</translation>
    </message>
    <message>
        <source>_NoContactToChoose</source>
        <translation>Everyone you know is already here</translation>
    </message>
</context>
<context>
    <name>ContactTab</name>
    <message>
        <source>No contact find.</source>
        <translation>No contact found.</translation>
    </message>
</context>
<context>
    <name>ContentPanel</name>
    <message>
        <source>_PleaseSelectAChat</source>
        <translation>Select a chat to start messaging</translation>
    </message>
</context>
<context>
    <name>CreateChannel</name>
    <message>
        <source>Channel ID:</source>
        <translation>Channel ID:</translation>
    </message>
    <message>
        <source>Error: Enter channel ID</source>
        <translation>Error: Enter channel ID</translation>
    </message>
    <message>
        <source>Error: channel ID not valid</source>
        <translation>Error: channel ID not valid</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image Files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>Please Enter channel ID</source>
        <translation>Please Enter channel ID</translation>
    </message>
    <message>
        <source>_ChannelCategoryButton</source>
        <translation>Choose a category</translation>
    </message>
    <message>
        <source>_ChannelCategoryContain</source>
        <translation>The category of the channel</translation>
    </message>
    <message>
        <source>_ChannelCategoryHead</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>_ChannelNameContain</source>
        <translation>The name everyone sees</translation>
    </message>
    <message>
        <source>_ChannelNameHead</source>
        <translation>Channel name</translation>
    </message>
    <message>
        <source>_CreateChannel</source>
        <translation>Create Channel</translation>
    </message>
    <message>
        <source>_EnterChannelDescription</source>
        <translation>Enter a description</translation>
    </message>
    <message>
        <source>_EnterChannelName</source>
        <translation>Please enter the channel name</translation>
    </message>
    <message>
        <source>_ImageSelect</source>
        <translation>Channel picture</translation>
    </message>
    <message>
        <source>_MottoContain</source>
        <translation>A short description of the channel</translation>
    </message>
    <message>
        <source>_MottoHead</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>_ReplyAllowed</source>
        <translation>Members may reply</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>Network error</translation>
    </message>
</context>
<context>
    <name>CreateGroup</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image Files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>_Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>_Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>_EnterGroupName</source>
        <translation>Please enter the group name</translation>
    </message>
    <message>
        <source>_Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CreatePollWidget</name>
    <message>
        <source>_addChoice</source>
        <translation>Add Choice</translation>
    </message>
    <message>
        <source>_multipleChoice</source>
        <translation>Multiple Choice</translation>
    </message>
    <message>
        <source>_pollQuestion</source>
        <translation>Poll Question</translation>
    </message>
    <message>
        <source>_pollType</source>
        <translation>Question Type</translation>
    </message>
    <message>
        <source>_postPoll</source>
        <translation>Post</translation>
    </message>
    <message>
        <source>_questionChoices</source>
        <translation>Question Choices</translation>
    </message>
    <message>
        <source>_singleChoice</source>
        <translation>Single Choice</translation>
    </message>
    <message>
        <source>_title</source>
        <translation>Create Poll</translation>
    </message>
    <message>
        <source>_viewResults</source>
        <translation>View Results For All</translation>
    </message>
    <message>
        <source>_invalidPoll</source>
        <translation>Write a question and at least one choice</translation>
    </message>
</context>
<context>
    <name>CustomTextEdit</name>
    <message>
        <source>compose message...</source>
        <translation>compose message...</translation>
    </message>
</context>
<context>
    <name>DateConverter</name>
    <message>
        <source>_Aban</source>
        <translation>Aban</translation>
    </message>
    <message>
        <source>_Ago</source>
        <translation> ago</translation>
    </message>
    <message>
        <source>_Azar</source>
        <translation>Azar</translation>
    </message>
    <message>
        <source>_Bahman</source>
        <translation>Bahman</translation>
    </message>
    <message>
        <source>_Day</source>
        <translation>Dey</translation>
    </message>
    <message>
        <source>_Esfand</source>
        <translation>Esfand</translation>
    </message>
    <message>
        <source>_Farvardin</source>
        <translation>Farvardin</translation>
    </message>
    <message>
        <source>_Friday</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>_Hour</source>
        <translation> hours</translation>
    </message>
    <message>
        <source>_Khordad</source>
        <translation>Khordad</translation>
    </message>
    <message>
        <source>_LastObservation</source>
        <translation>last seen </translation>
    </message>
    <message>
        <source>_Mehr</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>_Minute</source>
        <translation> minutes</translation>
    </message>
    <message>
        <source>_Monday</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>_Mordad</source>
        <translation>Mordad</translation>
    </message>
    <message>
        <source>_OnLine</source>
        <translation>online</translation>
    </message>
    <message>
        <source>_Ordibehesht</source>
        <translation>Ordibehesht</translation>
    </message>
    <message>
        <source>_Saturday</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>_Shahrivar</source>
        <translation>Shahrivar</translation>
    </message>
    <message>
        <source>_Sunday</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>_Thursday</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>_Tir</source>
        <translation>Tir</translation>
    </message>
    <message>
        <source>_Tuesday</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>_Wednesday</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>_Yesterday</source>
        <translation>Yesterday</translation>
    </message>
</context>
<context>
    <name>DiskFullNotice</name>
    <message>
        <source>_newMessagesWaitForDiskSpace</source>
        <translation>New messages wait until there is room on the disk: free some space and they arrive by themselves.</translation>
    </message>
</context>
<context>
    <name>EditChannel</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image Files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>_ChannelNameContain</source>
        <translation>The name everyone sees</translation>
    </message>
    <message>
        <source>_ChannelNameHead</source>
        <translation>Channel name</translation>
    </message>
    <message>
        <source>_EditChannel</source>
        <translation>Edit Channel</translation>
    </message>
    <message>
        <source>_EnterChannelDescription</source>
        <translation>Enter a description</translation>
    </message>
    <message>
        <source>_EnterChannelName</source>
        <translation>Please enter the channel name</translation>
    </message>
    <message>
        <source>_ImageSelect</source>
        <translation>Channel picture</translation>
    </message>
    <message>
        <source>_MottoContain</source>
        <translation>A short description of the channel</translation>
    </message>
    <message>
        <source>_MottoHead</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>_ReplyAllowed</source>
        <translation>Members may reply</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>ـIgnore</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>_ChannelPicture</source>
        <translation>The channel's picture</translation>
    </message>
</context>
<context>
    <name>EditGroup</name>
    <message>
        <source>_EditGroup</source>
        <translation>Edit group</translation>
    </message>
    <message>
        <source>_Name</source>
        <translation>Group name</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>Submit</translation>
    </message>
</context>
<context>
    <name>EditMessageWidget</name>
    <message>
        <source>_EditMessage</source>
        <translation>Edit message</translation>
    </message>
</context>
<context>
    <name>EmojiButtonsPanel</name>
    <message>
        <source>activities</source>
        <translation>Activities</translation>
    </message>
    <message>
        <source>food</source>
        <translation>Food</translation>
    </message>
    <message>
        <source>nature</source>
        <translation>Nature</translation>
    </message>
    <message>
        <source>objects</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>people</source>
        <translation>People</translation>
    </message>
    <message>
        <source>recent</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>symbols</source>
        <translation>Symbols</translation>
    </message>
    <message>
        <source>travel</source>
        <translation>Travel and Flags</translation>
    </message>
</context>
<context>
    <name>EnterActivationCode</name>
    <message>
        <source>ActivationCodeSent</source>
        <translation>The activation code was sent</translation>
    </message>
    <message>
        <source>EditMobileNumber</source>
        <translation>&lt;a href="edit"&gt;Edit the number&lt;/a&gt;</translation>
    </message>
    <message>
        <source>ResendActivationCode</source>
        <translation>Send the code again</translation>
    </message>
    <message>
        <source>SendActivationCodebyIVR</source>
        <translation>Get the code by a voice call</translation>
    </message>
    <message>
        <source>_ErrorCodeInvalid</source>
        <translation>The activation code is not valid</translation>
    </message>
    <message>
        <source>_ErrorNetwork</source>
        <translation>Network error, please try again</translation>
    </message>
    <message>
        <source>_submit</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>_ActivationCodeField</source>
        <translation>Activation code</translation>
    </message>
    <message>
        <source>_ResendIcon</source>
        <translation>Send the code again</translation>
    </message>
</context>
<context>
    <name>EnterMobileNumber</name>
    <message>
        <source>EnterMobileNumber</source>
        <translation>Enter your mobile number</translation>
    </message>
    <message>
        <source>TermOfAgrementLink</source>
        <translation>By continuing you accept the &lt;a href="terms"&gt;terms of use&lt;/a&gt;.</translation>
    </message>
    <message>
        <source>_ErrorMobileNumberNotValid</source>
        <translation>The mobile number is not valid</translation>
    </message>
    <message>
        <source>_ErrorNetwork</source>
        <translation>Network error, please try again</translation>
    </message>
    <message>
        <source>into_nextbutton</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>_MobileNumberField</source>
        <translation>Mobile number</translation>
    </message>
</context>
<context>
    <name>ForceUpdateError</name>
    <message>
        <source>_DownloadNewVersion</source>
        <translation>Download the new version</translation>
    </message>
    <message>
        <source>_ForceUpdateMessage</source>
        <translation>This version is no longer supported. Please install the new version.</translation>
    </message>
    <message>
        <source>_CloseProgram</source>
        <translation>Close the program</translation>
    </message>
</context>
<context>
    <name>GroupLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>members</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>Send Message</translation>
    </message>
</context>
<context>
    <name>GroupProfile</name>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image Files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>_AddContact</source>
        <translation>Add member</translation>
    </message>
    <message>
        <source>_AddManager</source>
        <translation>Add administrator</translation>
    </message>
    <message>
        <source>_ChangeImage</source>
        <translation>Change picture</translation>
    </message>
    <message>
        <source>_Cofig</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>_DeleteChatHistory</source>
        <translation>Delete chat history</translation>
    </message>
    <message>
        <source>_DeleteContactListWarningMessage</source>
        <translation>Leave and delete this group?</translation>
    </message>
    <message>
        <source>_DeleteGroupList</source>
        <translation>Leave group</translation>
    </message>
    <message>
        <source>_DeleteHistoryWarningMessage</source>
        <translation>Delete the whole history of this chat?</translation>
    </message>
    <message>
        <source>_EditGroup</source>
        <translation>Edit group</translation>
    </message>
    <message>
        <source>_GroupManagers</source>
        <translation>Administrators</translation>
    </message>
    <message>
        <source>_GroupMembers</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>_ReceiveNotification</source>
        <translation>Mute notifications</translation>
    </message>
    <message>
        <source>_Title</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>_UserBlocking</source>
        <translation>Block</translation>
    </message>
    <message>
        <source>_ChooseNewMembers</source>
        <translation>Add members</translation>
    </message>
    <message>
        <source>_ChooseNewManagers</source>
        <translation>Choose managers</translation>
    </message>
    <message>
        <source>_NoMemberToPromote</source>
        <translation>Every member is already a manager</translation>
    </message>
    <message>
        <source>_MakeManagers</source>
        <translation>Make managers</translation>
    </message>
</context>
<context>
    <name>GroupTab</name>
    <message>
        <source>No chat find.</source>
        <translation>No chat found.</translation>
    </message>
    <message>
        <source>_NewGroup</source>
        <translation>New group</translation>
    </message>
    <message>
        <source>_NoGroupYet</source>
        <translation>You are in no group yet.</translation>
    </message>
</context>
<context>
    <name>HtmlContainer</name>
    <message>
        <source>_CopySelectedText</source>
        <translation>Copy Selection</translation>
    </message>
    <message>
        <source>_CopyText</source>
        <translation>Copy Text</translation>
    </message>
</context>
<context>
    <name>Intro</name>
    <message>
        <source>Quorvel_Intro_Message</source>
        <translation>Welcome to Quorvel. Chat with your friends, groups and channels, quickly and securely.</translation>
    </message>
    <message>
        <source>_IntroButton</source>
        <translation>Start</translation>
    </message>
</context>
<context>
    <name>OtherFileWidget</name>
    <message>
        <source>_location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>_transferFailed</source>
        <translation>Failed, tap to try again</translation>
    </message>
</context>
<context>
    <name>MessengerMainWindow</name>
    <message>
        <source>AddNewContact</source>
        <translation>Add Contact</translation>
    </message>
    <message>
        <source>New Channel</source>
        <translation>New Channel</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>_AppVersion</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>_ChannelList</source>
        <translation>Channel Directory</translation>
    </message>
    <message>
        <source>_LogoutMessage</source>
        <translation>Do you want to log out?</translation>
    </message>
    <message>
        <source>_UserIsDeactive</source>
        <translation>Your account has been deactivated. You will be logged out.</translation>
    </message>
    <message>
        <source>_bilion</source>
        <translation>billion</translation>
    </message>
    <message>
        <source>_gif</source>
        <translation>GIF</translation>
    </message>
    <message>
        <source>_image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>_location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>_logout</source>
        <translation>Log Out</translation>
    </message>
    <message>
        <source>_milion</source>
        <translation>million</translation>
    </message>
    <message>
        <source>_otherFile</source>
        <translation>File</translation>
    </message>
    <message>
        <source>_poll</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>_pushToTalk</source>
        <translation>Voice message</translation>
    </message>
    <message>
        <source>_settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>_sticker</source>
        <translation>Sticker</translation>
    </message>
    <message>
        <source>_thousand</source>
        <translation>thousand</translation>
    </message>
    <message>
        <source>_video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>_NewGroup</source>
        <translation>New group</translation>
    </message>
</context>
<context>
    <name>PollWidget</name>
    <message>
        <source>_noOptionSelected</source>
        <translation>No option selected</translation>
    </message>
    <message>
        <source>_showResults</source>
        <translation>Show Results</translation>
    </message>
    <message>
        <source>_vote</source>
        <translation>Vote</translation>
    </message>
</context>
<context>
    <name>PopUpWarning</name>
    <message>
        <source>_ContinueString</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>_NoString</source>
        <translation>No</translation>
    </message>
    <message>
        <source>_YesString</source>
        <translation>Yes</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Quorvel %1</source>
        <translation>Quorvel %1</translation>
    </message>
</context>
<context>
    <name>ReplyMessageOutLine</name>
    <message>
        <source>_Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>_MsgFileType_Gif</source>
        <translation>GIF</translation>
    </message>
    <message>
        <source>_MsgFileType_Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>_MsgFileType_Other</source>
        <translation>File</translation>
    </message>
    <message>
        <source>_MsgFileType_PushToTalk</source>
        <translation>Voice message</translation>
    </message>
    <message>
        <source>_MsgFileType_Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>_MsgMinorType_Poll</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>_Sticker</source>
        <translation>Sticker</translation>
    </message>
</context>
<context>
    <name>ReplyMessageWidget</name>
    <message>
        <source>_Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>_MsgFileType_Gif</source>
        <translation>GIF</translation>
    </message>
    <message>
        <source>_MsgFileType_Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>_MsgFileType_Other</source>
        <translation>File</translation>
    </message>
    <message>
        <source>_MsgFileType_PushToTalk</source>
        <translation>Voice message</translation>
    </message>
    <message>
        <source>_MsgFileType_Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>_Poll</source>
        <translation>Poll</translation>
    </message>
    <message>
        <source>_Sticker</source>
        <translation>Sticker</translation>
    </message>
</context>
<context>
    <name>SearchBar</name>
    <message>
        <source>SearchBarHintText</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>_Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>_ClearSearch</source>
        <translation>Clear the search</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>_AutoScaleStr</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>_AutomaticDownload</source>
        <translation>Automatic download</translation>
    </message>
    <message>
        <source>_Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>_File</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>_InterfaceScale</source>
        <translation>Interface scale</translation>
    </message>
    <message>
        <source>_NotifDeactive</source>
        <translation>Turn notifications off</translation>
    </message>
    <message>
        <source>_NotificationPart</source>
        <translation>Notifications</translation>
    </message>
    <message>
        <source>_Photo</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>_ScaleNeedtoReset</source>
        <translation>The program restarts to apply the new scale. Continue?</translation>
    </message>
    <message>
        <source>_SelectBackground</source>
        <translation>Chat background</translation>
    </message>
    <message>
        <source>_SendbyEnter</source>
        <translation>Send with Enter</translation>
    </message>
    <message>
        <source>_SendbyShiftEnter</source>
        <translation>Send with Shift+Enter</translation>
    </message>
    <message>
        <source>_Setting</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>_ShowMessagePreview</source>
        <translation>Show message preview</translation>
    </message>
    <message>
        <source>_Video</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>_chatSetting</source>
        <translation>Chat settings</translation>
    </message>
    <message>
        <source>_CloseSettings</source>
        <translation>Close the settings</translation>
    </message>
</context>
<context>
    <name>SideMenu</name>
    <message>
        <source>_AppVersion</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>_CloseMenu</source>
        <translation>Close the menu</translation>
    </message>
</context>
<context>
    <name>SlidingMenu</name>
    <message>
        <source>_AppVersion</source>
        <translation>Version</translation>
    </message>
</context>
<context>
    <name>ToastMessage</name>
    <message>
        <source>_ErrorNetwork</source>
        <translation>Network error, please try again</translation>
    </message>
    <message>
        <source>_alreadyVoted</source>
        <translation>You have already voted</translation>
    </message>
    <message>
        <source>_invalidPollData</source>
        <translation>The poll is not valid</translation>
    </message>
    <message>
        <source>_invalidVoteData</source>
        <translation>The vote is not valid</translation>
    </message>
    <message>
        <source>_notAllowedToVote</source>
        <translation>You may not vote in this poll</translation>
    </message>
    <message>
        <source>_pollDisabled</source>
        <translation>This poll is closed</translation>
    </message>
    <message>
        <source>_pollNotFound</source>
        <translation>The poll was not found</translation>
    </message>
    <message>
        <source>_resultDisabled</source>
        <translation>The results of this poll are hidden</translation>
    </message>
    <message>
        <source>_uploadFailed</source>
        <translation>The upload failed</translation>
    </message>
    <message>
        <source>_uploadFileTypeNotSupported</source>
        <translation>This file type is not supported</translation>
    </message>
    <message>
        <source>_uploadInternalError</source>
        <translation>The upload could not be started</translation>
    </message>
    <message>
        <source>_uploadNetworkError</source>
        <translation>The upload failed: network error</translation>
    </message>
    <message>
        <source>_voteSubmitted</source>
        <translation>Your vote was recorded</translation>
    </message>
    <message>
        <source>_pictureNotReadable</source>
        <translation>This picture cannot be read</translation>
    </message>
</context>
<context>
    <name>UserLookupViewer</name>
    <message>
        <source>_Join</source>
        <translation>Join</translation>
    </message>
    <message>
        <source>_Members</source>
        <translation>members</translation>
    </message>
    <message>
        <source>_Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>_Return</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>_SendMsg</source>
        <translation>Send Message</translation>
    </message>
</context>
<context>
    <name>UserProfile</name>
    <message>
        <source>_ImageUnreadable</source>
        <translation>The chosen picture cannot be read</translation>
    </message>
    <message>
        <source>Image Files (*.png *.jpg *.bmp)</source>
        <translation>Image Files (*.png *.jpg *.bmp)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>_Motto</source>
        <translation>Motto</translation>
    </message>
    <message>
        <source>_Submit</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>_UserID</source>
        <translation>User ID</translation>
    </message>
    <message>
        <source>_UserName</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ـEnterUserName</source>
        <translation>Please enter a name</translation>
    </message>
    <message>
        <source>ـNetWorkError</source>
        <translation>Network error</translation>
    </message>
    <message>
        <source>_ChoosePicture</source>
        <translation>Choose your picture</translation>
    </message>
</context>
<context>
    <name>PTTWidget</name>
    <message>
        <source>_PushToTalk</source>
        <translation>Voice message</translation>
    </message>
    <message>
        <source>_transferFailed</source>
        <translation>Failed, tap to try again</translation>
    </message>
</context>
<context>
    <name>Thumbnail</name>
    <message>
        <source>_transferFailed</source>
        <translation>Failed, tap to try again</translation>
    </message>
    <message>
        <source>_stickerUnavailable</source>
        <translation>Sticker not available</translation>
    </message>
</context>
<context>
    <name>FailureToast</name>
    <message>
        <source>_ActionFailedBecause</source>
        <translation>%1 failed: %2</translation>
    </message>
    <message>
        <source>_FailVoiceCall</source>
        <translation>The voice call request</translation>
    </message>
    <message>
        <source>_FailLookup</source>
        <translation>The look-up</translation>
    </message>
    <message>
        <source>_FailSetProfile</source>
        <translation>Saving your profile</translation>
    </message>
    <message>
        <source>_FailSetId</source>
        <translation>Setting your id</translation>
    </message>
    <message>
        <source>_FailDeactivate</source>
        <translation>Deleting the account</translation>
    </message>
    <message>
        <source>_FailChannelCreate</source>
        <translation>Creating the channel</translation>
    </message>
    <message>
        <source>_FailChannelEdit</source>
        <translation>Saving the channel</translation>
    </message>
    <message>
        <source>_FailChannelJoin</source>
        <translation>Joining the channel</translation>
    </message>
    <message>
        <source>_FailChannelLeave</source>
        <translation>Leaving the channel</translation>
    </message>
    <message>
        <source>_FailChannelDelete</source>
        <translation>Deleting the channel</translation>
    </message>
    <message>
        <source>_FailAddMember</source>
        <translation>Adding the member</translation>
    </message>
    <message>
        <source>_FailRemoveMember</source>
        <translation>Removing the member</translation>
    </message>
    <message>
        <source>_FailChangeRole</source>
        <translation>Changing the role</translation>
    </message>
    <message>
        <source>_FailGroupCreate</source>
        <translation>Creating the group</translation>
    </message>
    <message>
        <source>_FailGroupEdit</source>
        <translation>Saving the group</translation>
    </message>
    <message>
        <source>_FailGroupLeave</source>
        <translation>Leaving the group</translation>
    </message>
    <message>
        <source>_ReasonNoAnswer</source>
        <translation>the service did not answer; check the connection</translation>
    </message>
    <message>
        <source>_ReasonNumberRefused</source>
        <translation>the number was not accepted</translation>
    </message>
    <message>
        <source>_ReasonBadRequest</source>
        <translation>the service did not accept the request</translation>
    </message>
    <message>
        <source>_ReasonNotAllowed</source>
        <translation>you are not allowed to do this</translation>
    </message>
    <message>
        <source>_ReasonNotFound</source>
        <translation>it no longer exists</translation>
    </message>
    <message>
        <source>_ReasonTaken</source>
        <translation>the name is taken or it exists already</translation>
    </message>
    <message>
        <source>_ReasonService</source>
        <translation>the service could not do it now; try again later</translation>
    </message>
</context>
<context>
    <name>Register</name>
    <message>
        <source>_VoiceCallComing</source>
        <translation>You will get a call with the code shortly</translation>
    </message>
</context>
<context>
    <name>SidePanel</name>
    <message>
        <source>_TabContacts</source>
        <translation>Contacts</translation>
    </message>
    <message>
        <source>_TabChats</source>
        <translation>Chats</translation>
    </message>
    <message>
        <source>_TabGroups</source>
        <translation>Groups</translation>
    </message>
    <message>
        <source>_TabChannels</source>
        <translation>Channels</translation>
    </message>
</context>
<context>
    <name>TopMenu</name>
    <message>
        <source>_OpenMenu</source>
        <translation>Menu</translation>
    </message>
</context>
<context>
    <name>PopupWindow</name>
    <message>
        <source>_Back</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>ProfileHeader</name>
    <message>
        <source>_Back</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>ChannelManagerWidget</name>
    <message>
        <source>_RemoveManager</source>
        <translation>Remove from the managers</translation>
    </message>
</context>
<context>
    <name>GroupNotice</name>
    <message>
        <source>_NoticeRemoved</source>
        <translation>%1 was removed from the group</translation>
    </message>
    <message>
        <source>_NoticeAdded</source>
        <translation>%1 joined the group</translation>
    </message>
    <message>
        <source>_NoticeMadeManager</source>
        <translation>%1 is now a manager</translation>
    </message>
    <message>
        <source>_NoticeNoLongerManager</source>
        <translation>%1 is no longer a manager</translation>
    </message>
    <message>
        <source>_NoticeRoleChanged</source>
        <translation>The role of %1 changed</translation>
    </message>
    <message>
        <source>_NoticeDetailsChanged</source>
        <translation>The group's details changed</translation>
    </message>
    <message>
        <source>_NoticeLeft</source>
        <translation>%1 left the group</translation>
    </message>
    <message>
        <source>_NoticeCreated</source>
        <translation>%1 made the group</translation>
    </message>
</context>
</TS>
