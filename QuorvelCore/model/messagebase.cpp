#include "model/messagebase.h"

#include "model/messagekeys.h"

const QHash<MessageBase::MsgMajorType, QString>& MessageBase::getMsgMajorTypes()
{
    static const QHash<MsgMajorType, QString> table = {
        {MsgMajorType_SimpleChat, QStringLiteral("SIMPLE_CHAT")},
        {MsgMajorType_GroupChat, QStringLiteral("GROUP_CHAT")},
        {MsgMajorType_ChannelChat, QStringLiteral("CHANNEL_CHAT")},
        {MsgMajorType_ChannelChatReply, QStringLiteral("CHANNEL_CHAT_REPLY")},
        {MsgMajorType_ChannelDirect, QStringLiteral("CHANNEL_DIRECT")},
        {MsgMajorType_ControlMessage, QStringLiteral("CONTROL_MESSAGE")},
    };
    return table;
}

const QHash<MessageBase::MsgMinorType, QString>& MessageBase::getMsgMinorTypes()
{
    static const QHash<MsgMinorType, QString> table = {
        {MsgMinorType_Text, QStringLiteral("TEXT")},
        {MsgMinorType_Sticker, QStringLiteral("STICKER")},
        {MsgMinorType_File, QStringLiteral("FILE")},
        {MsgMinorType_Location, QStringLiteral("LOCATION")},
        {MsgMinorType_Poll, QStringLiteral("POLL")},
        {MsgMinorType_Seen, QStringLiteral("SEEN")},
        {MsgMinorType_CallRequest, QStringLiteral("CALL_REQUEST")},
        {MsgMinorType_UserProfileChange, QStringLiteral("USER_PROFILE_CHANGE")},
        {MsgMinorType_UserActivationChange, QStringLiteral("USER_ACTIVATION_CHANGE")},
        {MsgMinorType_ChannelStateChange, QStringLiteral("CHANNEL_STATE_CHANGE")},
        {MsgMinorType_ChannelChangeMetadata, QStringLiteral("CHANNEL_CHANGE_METADATA")},
        {MsgMinorType_ChannelMembershipRemove, QStringLiteral("CHANNEL_MEMBERSHIP_REMOVE")},
        {MsgMinorType_ChannelMembershipAdd, QStringLiteral("CHANNEL_MEMBERSHIP_ADD")},
        {MsgMinorType_ChannelMembershipChangeRole,
         QStringLiteral("CHANNEL_MEMBERSHIP_CHANGE_ROLE")},
        {MsgMinorType_ChannelMessageRemoved, QStringLiteral("CHANNEL_MESSAGE_REMOVED")},
        {MsgMinorType_ChannelBulkMessagesRemoved, QStringLiteral("CHANNEL_BULK_MESSAGES_REMOVED")},
        {MsgMinorType_ChannelRemoved, QStringLiteral("CHANNEL_REMOVED")},
        {MsgMinorType_ChannelRaiseMessage, QStringLiteral("CHANNEL_RAISE_MESSAGE")},
        {MsgMinorType_GroupInvitation, QStringLiteral("GROUP_INVITATION")},
        {MsgMinorType_GroupLeave, QStringLiteral("GROUP_LEAVE")},
        {MsgMinorType_GroupRemove, QStringLiteral("GROUP_REMOVE")},
        {MsgMinorType_GroupJoin, QStringLiteral("GROUP_JOIN")},
        {MsgMinorType_GroupChangeRole, QStringLiteral("GROUP_CHANGE_ROLE")},
        {MsgMinorType_GroupChangeMetadata, QStringLiteral("GROUP_CHANGE_METADATA")},
        {MsgMinorType_GroupCreated, QStringLiteral("GROUP_CREATED")},
        {MsgMinorType_MissedCall, QStringLiteral("MISSED_CALL")},
        {MsgMinorType_UpdateConversationMuteStatus,
         QStringLiteral("UPDATE_CONVERSATION_MUTE_STATUS")},
        {MsgMinorType_EditMessage, QStringLiteral("EDIT_MESSAGE")},
        {MsgMinorType_ChannelMessageEdited, QStringLiteral("CHANNEL_MESSAGE_EDITED")},
    };
    return table;
}

const QHash<MessageBase::MsgState, QString>& MessageBase::getMsgStates()
{
    static const QHash<MsgState, QString> table = {
        {MsgState_Draft, QStringLiteral("draft")},
        {MsgState_NotSent, QStringLiteral("notSent")},
        {MsgState_Sent, QStringLiteral("sent")},
        {MsgState_Delivered, QStringLiteral("delivered")},
        {MsgState_Seen, QStringLiteral("seen")},
    };
    return table;
}

QString MessageBase::toString(MsgMajorType type)
{
    return getMsgMajorTypes().value(type);
}

QString MessageBase::toString(MsgMinorType type)
{
    return getMsgMinorTypes().value(type);
}

QString MessageBase::toString(MsgState state)
{
    return getMsgStates().value(state, QStringLiteral("draft"));
}

QString MessageBase::toString(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

MessageBase::MsgMajorType MessageBase::toMsgMajorType(const QString& text)
{
    return getMsgMajorTypes().key(text, MsgMajorType_None);
}

MessageBase::MsgMinorType MessageBase::toMsgMinorType(const QString& text)
{
    return getMsgMinorTypes().key(text, MsgMinorType_None);
}

MessageBase::MsgState MessageBase::toMsgState(const QString& text)
{
    // Checked in value order so that the result does not depend on hash order.
    for (int value = MsgState_Draft; value <= MsgState_Seen; ++value) {
        const auto state = static_cast<MsgState>(value);
        if (text.contains(getMsgStates().value(state)))
            return state;
    }
    return MsgState_Draft;
}

bool MessageBase::toBool(const QString& text)
{
    return text.toLower() == QLatin1String("true");
}

const QStringList& MessageBase::getPublicFields()
{
    static const QStringList fields = {MessageKeys::UserId,         MessageKeys::MessageId,
                                       MessageKeys::MessageBody,    MessageKeys::MajorType,
                                       MessageKeys::MinorType,      MessageKeys::SendTimeInGmt,
                                       MessageKeys::MessageUserName};
    return fields;
}

QStringList MessageBase::getPrivateFields(MsgMinorType type)
{
    using namespace MessageKeys;
    switch (type) {
    case MsgMinorType_Sticker:
        return {StickerVersion, StickerPackageId, StickerId};
    case MsgMinorType_File:
        return {FileUrl, FileId, FileSize, FileName, FileType};
    case MsgMinorType_Location:
        return {LocationLongitude, LocationLatitude};
    case MsgMinorType_Poll:
        return {PollDataKey, PollId};
    case MsgMinorType_Seen:
        // The keys the seen body really reads and writes.
        return {SecondaryMessageId, MessageIds, SeenTimeInGmt};
    case MsgMinorType_CallRequest:
        return {QStringLiteral("CALLEE"), QStringLiteral("CALLER")};
    case MsgMinorType_UserProfileChange:
        return {QStringLiteral("PROFILE_DATA"), QStringLiteral("CHANGE_TIME"), UserName};
    case MsgMinorType_UserActivationChange:
        return {QStringLiteral("ACTION"), UserName};
    case MsgMinorType_ChannelStateChange:
        return {QStringLiteral("STATE"), ChannelId};
    case MsgMinorType_ChannelChangeMetadata:
    case MsgMinorType_ChannelMembershipRemove:
        return {UserId, ChannelId};
    case MsgMinorType_ChannelMembershipAdd:
        return {UserRole, UserId, ChannelId};
    case MsgMinorType_ChannelMembershipChangeRole:
        return {NewRole, OldRole, UserId, ChannelId};
    case MsgMinorType_ChannelMessageRemoved:
        return {MessageId, ChannelId};
    case MsgMinorType_ChannelBulkMessagesRemoved:
        return {MessageIds, ChannelId};
    case MsgMinorType_ChannelRemoved:
        return {ChannelId};
    case MsgMinorType_ChannelRaiseMessage:
        return {QStringLiteral("SHOW_NOTIFICATION"), MessageId, ChannelId};
    case MsgMinorType_GroupInvitation:
        return {UserRole, UserId, Jid};
    case MsgMinorType_GroupLeave:
        return {UserId, Jid};
    case MsgMinorType_GroupRemove:
        return {RemovedUserId, UserId, Jid};
    case MsgMinorType_GroupJoin:
        return {AddedBy, UserRole, UserId, Jid};
    case MsgMinorType_GroupChangeRole:
        return {OldRole, NewRole, ChangeUserId, UserId, Jid};
    case MsgMinorType_GroupChangeMetadata:
    case MsgMinorType_GroupCreated:
        return {UserId, Jid};
    case MsgMinorType_MissedCall:
        return {QStringLiteral("REASON")};
    default:
        return {};
    }
}

QStringList MessageBase::getFields(MsgMinorType type)
{
    return getPublicFields() + getPrivateFields(type);
}
