#include "model/metatypes.h"

#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channeleditmessage.h"
#include "model/channelidavailability.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "model/channelmemberprofile.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersreply.h"
#include "model/channelmembersrequest.h"
#include "model/channelmessagecondition.h"
#include "model/channelrole.h"
#include "model/conversationmutestatusupdate.h"
#include "model/conversationtype.h"
#include "model/editmessage.h"
#include "model/filemessage.h"
#include "model/groupaddmemberpair.h"
#include "model/groupchangerolemessage.h"
#include "model/groupchangerolerequest.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/groupinvitationmessage.h"
#include "model/groupjoinmessage.h"
#include "model/grouplookup.h"
#include "model/groupmember.h"
#include "model/groupmetadatachangedmessage.h"
#include "model/groupremovemessage.h"
#include "model/grouprole.h"
#include "model/lastseen.h"
#include "model/likepair.h"
#include "model/locationmessage.h"
#include "model/lvreply.h"
#include "model/lvrequest.h"
#include "model/mainsettings.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagecondition.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagerequest.h"
#include "model/messagestate.h"
#include "model/notificationmessage.h"
#include "model/polldata.h"
#include "model/polloption.h"
#include "model/pollresult.h"
#include "model/pollresultoption.h"
#include "model/profile.h"
#include "model/seenmessage.h"
#include "model/stickermessage.h"
#include "model/uisetting.h"
#include "model/userlookup.h"

#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QMetaType>

#define QUORVEL_REGISTER(Type) qRegisterMetaType<Type>(#Type)

void registerQuorvelMetaTypes()
{
    // Messages and their parts.
    QUORVEL_REGISTER(Message);
    QUORVEL_REGISTER(MessageBase::MsgMajorType);
    QUORVEL_REGISTER(MessageBase::MsgMinorType);
    QUORVEL_REGISTER(MessageBase::MsgState);
    QUORVEL_REGISTER(FileMessage);
    QUORVEL_REGISTER(FileMessage::MsgFileType);
    QUORVEL_REGISTER(StickerMessage);
    QUORVEL_REGISTER(LocationMessage);
    QUORVEL_REGISTER(MessageCondition::Condition);
    QUORVEL_REGISTER(ConversationType::Type);
    QUORVEL_REGISTER(SeenMessage);
    QUORVEL_REGISTER(EditMessage);
    QUORVEL_REGISTER(ChannelEditMessage);
    QUORVEL_REGISTER(ConversationMuteStatusUpdate);
    QUORVEL_REGISTER(GroupRemoveMessage);
    QUORVEL_REGISTER(GroupJoinMessage);
    QUORVEL_REGISTER(GroupChangeRoleMessage);
    QUORVEL_REGISTER(GroupMetaDataChangedMessage);
    QUORVEL_REGISTER(GroupInvitationMessage);
    QUORVEL_REGISTER(QList<Message>);

    // Requests and replies of the command channel.
    QUORVEL_REGISTER(MessageRequest);
    QUORVEL_REGISTER(MessageReply);
    QUORVEL_REGISTER(MessageState);
    QUORVEL_REGISTER(Members);
    QUORVEL_REGISTER(Profile);
    QUORVEL_REGISTER(LastSeen);
    QUORVEL_REGISTER(UISetting);
    QUORVEL_REGISTER(MainSettings);
    QUORVEL_REGISTER(ChannelIdAvailability);
    QUORVEL_REGISTER(ChannelMembersRequest);
    QUORVEL_REGISTER(ChannelMembersReply);
    QUORVEL_REGISTER(GroupChangeRoleRequest);
    QUORVEL_REGISTER(GroupAddMemberPair);
    QUORVEL_REGISTER(BrowseCategoryResult);

    // Chat-list entries, message pairs, notifications and look-up results.
    QUORVEL_REGISTER(MessagePair);
    QUORVEL_REGISTER(NotificationMessage);
    QUORVEL_REGISTER(ChannelLookup);
    QUORVEL_REGISTER(GroupLookup);
    QUORVEL_REGISTER(UserLookup);

    // Channels.
    QUORVEL_REGISTER(ChannelRole::Role);
    QUORVEL_REGISTER(ChannelInfo);
    QUORVEL_REGISTER(QList<ChannelInfo>);
    QUORVEL_REGISTER(ChannelCategory);
    QUORVEL_REGISTER(QList<ChannelCategory>);
    typedef QHash<QString, ChannelCategory> ChannelCategoryHash;
    qRegisterMetaType<ChannelCategoryHash>("QHash<QString,ChannelCategory>");
    QUORVEL_REGISTER(ChannelMemberProfile);
    QUORVEL_REGISTER(ChannelMemberRole);
    QUORVEL_REGISTER(ChannelMessageCondition);

    // Groups.
    QUORVEL_REGISTER(GroupRole::Role);
    QUORVEL_REGISTER(GroupInfo);
    QUORVEL_REGISTER(QList<GroupInfo>);
    QUORVEL_REGISTER(GroupMember);
    QUORVEL_REGISTER(GroupInfoMembers);

    // Polls, likes and views.
    QUORVEL_REGISTER(PollData);
    QUORVEL_REGISTER(PollData::PollType);
    QUORVEL_REGISTER(PollOption);
    QUORVEL_REGISTER(PollResult);
    QUORVEL_REGISTER(PollResultOption);
    QUORVEL_REGISTER(LikePair);
    QUORVEL_REGISTER(LVRequest);
    QUORVEL_REGISTER(LVReply);

    // The web-service input hash that managers hand on.
    typedef QHash<QString, QJsonValue> JsonValueHash;
    qRegisterMetaType<JsonValueHash>("QHash<QString,QJsonValue>");
}
