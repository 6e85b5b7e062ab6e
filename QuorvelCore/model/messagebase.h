#ifndef MESSAGEBASE_H
#define MESSAGEBASE_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QMetaType>
#include <QString>
#include <QStringList>

// The enumerations that classify a message and their fixed text forms. Every
// JSON form carries the texts, never the numbers. The tables are built once
// (thread-safe function statics) and live for the whole process.
class QUORVELCORE_EXPORT MessageBase
{
public:
    // Which kind of conversation the message belongs to.
    enum MsgMajorType
    {
        MsgMajorType_None = 0,
        MsgMajorType_SimpleChat = 1,
        MsgMajorType_GroupChat = 2,
        MsgMajorType_ChannelChat = 3,
        MsgMajorType_ChannelChatReply = 4,
        MsgMajorType_ChannelDirect = 5,
        MsgMajorType_ControlMessage = 6
    };

    // What the message carries.
    enum MsgMinorType
    {
        MsgMinorType_None = 0,
        MsgMinorType_Text = 1,
        MsgMinorType_Sticker = 2,
        MsgMinorType_File = 3,
        MsgMinorType_Location = 4,
        MsgMinorType_Poll = 5,
        MsgMinorType_Seen = 6,
        MsgMinorType_CallRequest = 7,
        MsgMinorType_UserProfileChange = 8,
        MsgMinorType_UserActivationChange = 9,
        MsgMinorType_ChannelStateChange = 10,
        MsgMinorType_ChannelChangeMetadata = 11,
        MsgMinorType_ChannelMembershipRemove = 12,
        MsgMinorType_ChannelMembershipAdd = 13,
        MsgMinorType_ChannelMembershipChangeRole = 14,
        MsgMinorType_ChannelMessageRemoved = 15,
        MsgMinorType_ChannelBulkMessagesRemoved = 16,
        MsgMinorType_ChannelRemoved = 17,
        MsgMinorType_ChannelRaiseMessage = 18,
        MsgMinorType_GroupInvitation = 19,
        MsgMinorType_GroupLeave = 20,
        MsgMinorType_GroupRemove = 21,
        MsgMinorType_GroupJoin = 22,
        MsgMinorType_GroupChangeRole = 23,
        MsgMinorType_GroupChangeMetadata = 24,
        MsgMinorType_GroupCreated = 25,
        MsgMinorType_MissedCall = 26,
        MsgMinorType_UpdateConversationMuteStatus = 27,
        MsgMinorType_EditMessage = 28,
        MsgMinorType_ChannelMessageEdited = 29
    };

    // Delivery state; kept only in the local store.
    enum MsgState
    {
        MsgState_Draft = 0,
        MsgState_NotSent = 1,
        MsgState_Sent = 2,
        MsgState_Delivered = 3,
        MsgState_Seen = 4
    };

    // Why one of the user's messages stays not sent; none while it waits or
    // travels. Kept only in the local store.
    enum SendFailure
    {
        SendFailure_None = 0,
        // It could not be written to this computer's disk (full, unwritable);
        // it goes out once it can be.
        SendFailure_NoSpace = 1,
        // The service refused it for good; it is not sent again.
        SendFailure_Refused = 2
    };

    static const QHash<MsgMajorType, QString>& getMsgMajorTypes();
    static const QHash<MsgMinorType, QString>& getMsgMinorTypes();
    static const QHash<MsgState, QString>& getMsgStates();

    // Unknown values give an empty text ("draft" for a state).
    static QString toString(MsgMajorType type);
    static QString toString(MsgMinorType type);
    static QString toString(MsgState state);
    static QString toString(bool value);

    // Exact, case-sensitive matches; no match gives 0.
    static MsgMajorType toMsgMajorType(const QString& text);
    static MsgMinorType toMsgMinorType(const QString& text);
    // The first state whose text occurs in the argument; none gives draft.
    static MsgState toMsgState(const QString& text);
    static bool toBool(const QString& text);

    // Key lists of the public form and of each minor type's payload.
    static const QStringList& getPublicFields();
    static QStringList getPrivateFields(MsgMinorType type);
    static QStringList getFields(MsgMinorType type);

    static bool isKnownMajorType(int value) { return value >= 1 && value <= 6; }
    static bool isKnownMinorType(int value) { return value >= 1 && value <= 29; }
};

Q_DECLARE_METATYPE(MessageBase::MsgMajorType)
Q_DECLARE_METATYPE(MessageBase::MsgMinorType)
Q_DECLARE_METATYPE(MessageBase::MsgState)
Q_DECLARE_METATYPE(MessageBase::SendFailure)

#endif // MESSAGEBASE_H
