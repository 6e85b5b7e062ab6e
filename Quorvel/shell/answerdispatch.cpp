#include "shell/answerdispatch.h"

#include "foundation/simpleqtlogger.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "model/channelmemberrole.h"
#include "model/channelmembersreply.h"
#include "model/grouplookup.h"
#include "model/lvreply.h"
#include "model/notificationmessage.h"
#include "model/userlookup.h"
#include "shell/channellookupviewer.h"
#include "shell/grouplookupviewer.h"
#include "shell/userlookupviewer.h"
#include "widgets/popupmanager.h"

#include "Managers/Chat/chatrecipient.h"
#include "Managers/Contact/contact.h"
#include "model/browsecategoryresult.h"
#include "model/channelidavailability.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/lastseen.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"
#include "model/notificationmessage.h"
#include "model/uisetting.h"
#include "screens/channelcategorypopup.h"
#include "screens/contactprofile.h"
#include "screens/createchannel.h"
#include "shell/connectionstatuswidget.h"
#include "shell/contentpanel.h"
#include "shell/diskfullnotice.h"
#include "shell/messengermainwindow.h"
#include "shell/setting.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/userprofile.h"
#include "widgets/currentuser.h"
#include "widgets/toastmessage.h"

namespace {

// A look-up's preview over the dimmed window; a click outside closes it.
void showPreview(QWidget* viewer)
{
    viewer->setMinimumSize(300, 300);
    viewer->adjustSize();
    PopupManager::showWindow(viewer, true);
}

// The rows for channels, groups, look-ups and likes.
void addConversationRows(QHash<int, AnswerDispatch::Handler>& t)
{
    using W = MessengerMainWindow;
    const auto channelRow = [](W& w, const QVariant& v) {
        w.getSidePanel()->addChannel(v.value<ChannelInfo>());
    };
    for (Command c : {CMD_ChannelData, CMD_ChannelAdded, CMD_ChannelUpdateMute, CMD_ChannelEdit})
        t.insert(c, channelRow);
    t.insert(CMD_ChannelList, [](W& w, const QVariant& v) {
        w.getSidePanel()->setChannels(v.value<QList<ChannelInfo>>());
    });
    t.insert(CMD_ChannelJoin, [](W& w, const QVariant& v) {
        w.getChannelDirectory()->setFollowed(v.toString(), true);
        w.getSidePanel()->channelJoined(v.toString());
    });
    for (Command c : {CMD_ChannelLeave, CMD_ChannelDelete}) {
        t.insert(c, [](W& w, const QVariant& v) {
            w.getChannelDirectory()->setFollowed(v.toString(), false);
            w.getContentPanel()->forgetChatById(v.toString());
            w.getSidePanel()->removeChannel(v.toString());
        });
    }
    t.insert(CMD_GetChannelMessages, [](W& w, const QVariant& v) {
        w.getSidePanel()->processChannelMessageReply(v.value<MessageReply>());
    });
    t.insert(CMD_GroupMessageReceived, [](W& w, const QVariant& v) {
        w.getSidePanel()->setChannelLastMessage(v.value<Message>());
    });
    t.insert(CMD_ChannelLastMessageChanged, [](W& w, const QVariant& v) {
        const Message message = v.value<Message>();
        L_DEBUG(QStringLiteral("MessengerMainWindow::commandResponse | "
                               "CMD_ChannelLastMessageChanged | ") +
                MessageBase::toString(message.isValid()));
        w.getSidePanel()->setChannelLastMessage(message);
    });
    t.insert(CMD_ChannelLookup, [](W& w, const QVariant& v) {
        w.getChannelLookupViewer()->setChannelLookup(v.value<ChannelLookup>());
        showPreview(w.getChannelLookupViewer());
    });
    // A look-up the core could not read names no one: nothing to show.
    t.insert(CMD_UserLookup, [](W& w, const QVariant& v) {
        const UserLookup user = v.value<UserLookup>();
        if (user.getUserID().isEmpty() && user.getUsername().isEmpty()) {
            L_WARN(QStringLiteral("MessengerMainWindow | a user look-up named no one"));
            return;
        }
        w.getUserLookupViewer()->setUserLookup(user);
        showPreview(w.getUserLookupViewer());
    });
    t.insert(CMD_GroupLookup, [](W& w, const QVariant& v) {
        const GroupLookup group = v.value<GroupLookup>();
        if (group.getJid().isEmpty() && group.getName().isEmpty()) {
            L_WARN(QStringLiteral("MessengerMainWindow | a group look-up named no group"));
            return;
        }
        w.getGroupLookupViewer()->setGroupLookup(group);
        showPreview(w.getGroupLookupViewer());
    });
    // A member added or removed or a role changed: the channel is asked for
    // again, so that its count, its title and its administrators' panel
    // show it as it now stands.
    for (Command c : {CMD_ChannelAddMember, CMD_ChannelRemoveMember, CMD_ChannelChangeMemberRole}) {
        t.insert(c, [](W& w, const QVariant& v) {
            emit w.command(CMD_ChannelData, QVariant(v.value<ChannelMemberRole>().getChannelId()));
        });
    }
    t.insert(CMD_ChannelGetMembers, [](W& w, const QVariant& v) {
        w.getSidePanel()->processChannelMembersReply(v.value<ChannelMembersReply>());
    });
    t.insert(CMD_LikeGet,
             [](W& w, const QVariant& v) { w.getSidePanel()->processLVReply(v.value<LVReply>()); });
}

QHash<int, AnswerDispatch::Handler> buildTable()
{
    QHash<int, AnswerDispatch::Handler> t;
    using W = MessengerMainWindow;
    const auto contactRow = [](W& w, const QVariant& v) {
        w.getSidePanel()->addContact(v.value<Contact>());
    };
    t.insert(CMD_GetUserProfile, [](W& w, const QVariant& v) {
        const Contact self = v.value<Contact>();
        w.getSlidingMenu()->setUserData(self);
        w.getUserProfile()->setProfileData(self);
        w.getSetting()->setProfile(self);
    });
    t.insert(CMD_GetQuorvelId,
             [](W& w, const QVariant& v) { w.getUserProfile()->setQuorvelId(v.toString()); });
    for (Command c : {CMD_AddContact, CMD_UpdateContact, CMD_UpdateMuteStatus, CMD_BlockUser})
        t.insert(c, contactRow);
    t.insert(CMD_DeleteContact, [](W& w, const QVariant& v) {
        w.getSidePanel()->removeContact(v.value<Contact>().getNumber());
    });
    t.insert(CMD_GetContacts, [](W& w, const QVariant& v) {
        w.getSidePanel()->setContactList(v.value<QHash<QString, Contact>>());
    });
    t.insert(CMD_ChatsData, [](W&, const QVariant&) {});
    t.insert(CMD_GetChatRecipients, [](W& w, const QVariant& v) {
        w.getSidePanel()->setChatRecipients(v.value<QList<ChatRecipient>>());
    });
    t.insert(CMD_ChatRecipientAdded, [](W& w, const QVariant& v) {
        w.getSidePanel()->addChatRecipient(v.value<ChatRecipient>());
    });
    for (Command c : {CMD_MessageAdded, CMD_MessageEdited}) {
        t.insert(c, [](W& w, const QVariant& v) {
            w.getSidePanel()->processMessage(v.value<Message>());
        });
    }
    t.insert(CMD_MessagePairAdded, [](W& w, const QVariant& v) {
        w.getSidePanel()->processMessagePair(v.value<MessagePair>());
    });
    for (Command c : {CMD_GetChatMessages, CMD_GetGroupMessages}) {
        t.insert(c, [](W& w, const QVariant& v) {
            w.getSidePanel()->processMessageReply(v.value<MessageReply>());
        });
    }
    t.insert(CMD_MessageStateChange, [](W& w, const QVariant& v) {
        w.getSidePanel()->setMessageState(v.value<MessageState>());
    });
    t.insert(CMD_RunMembers,
             [](W& w, const QVariant& v) { w.getSidePanel()->processMembers(v.value<Members>()); });
    t.insert(CMD_GroupGetData,
             [](W& w, const QVariant& v) { w.getSidePanel()->addGroup(v.value<GroupInfo>()); });
    for (Command c : {CMD_GroupsList, CMD_GroupAdded}) {
        t.insert(c, [](W& w, const QVariant& v) {
            // The list comes whole; an added group may come alone.
            if (v.userType() == qMetaTypeId<GroupInfo>())
                w.getSidePanel()->setGroups({v.value<GroupInfo>()});
            else
                w.getSidePanel()->setGroups(v.value<QList<GroupInfo>>());
        });
    }
    t.insert(CMD_GroupInfoMembers, [](W& w, const QVariant& v) {
        w.getSidePanel()->processGroupInfoMembers(v.value<GroupInfoMembers>());
    });
    for (Command c : {CMD_GroupRemoved, CMD_GroupLeave}) {
        t.insert(c, [](W& w, const QVariant& v) {
            w.getSidePanel()->removeGroup(v.toString());
            w.getContentPanel()->closeChatById(v.toString());
        });
    }
    t.insert(CMD_GroupLastMessageChanged, [](W& w, const QVariant& v) {
        w.getSidePanel()->processGroupLastMessage(v.value<Message>());
    });
    t.insert(CMD_DeleteChat, [](W& w, const QVariant& v) {
        w.getContentPanel()->forgetChatById(v.toString());
        w.getSidePanel()->removeChat(v.toString());
    });
    t.insert(CMD_Getsetting,
             [](W&, const QVariant& v) { currentUserName = v.value<UISetting>().getUserName(); });
    t.insert(CMD_Notification,
             [](W& w, const QVariant& v) { w.notify(v.value<NotificationMessage>()); });
    t.insert(CMD_ToastMessage, [](W&, const QVariant& v) {
        ToastMessage::getInstance()->showToastMessage(v.toString().toLocal8Bit().constData());
    });
    t.insert(CMD_ChatServerState, [](W&, const QVariant& v) {
        // The core sends the state as a plain number.
        bool ok = false;
        const int state = v.toInt(&ok);
        if (ok && state >= Loading && state <= Connected)
            ConnectionStatusWidget::getInstance()->xmppStateChanged(ConnectionState(state));
    });
    t.insert(CMD_DiskFullForArrivals,
             [](W& w, const QVariant& v) { w.showDiskFullNotice(v.toBool()); });
    t.insert(CMD_LastSeen, [](W& w, const QVariant& v) {
        const LastSeen seen = v.value<LastSeen>();
        w.getContactProfile()->setLastSeen(seen.getNumber(), seen.getSeconds());
        w.getSidePanel()->setLastSeen(seen.getNumber(), seen.getSeconds());
    });
    // The new group's id: its data is asked for, and the group tab shows it
    // with its window open.
    t.insert(CMD_GroupCreate, [](W& w, const QVariant& v) {
        w.getSidePanel()->openGroupWhenListed(v.toString());
        emit w.command(CMD_GroupGetData, QVariant(v.toString()));
    });
    t.insert(CMD_ChannelCategories, [](W& w, const QVariant& v) {
        const auto categories = v.value<QHash<QString, ChannelCategory>>();
        w.getCreateChannel()->setCategories(categories);
        w.getChannelDirectory()->setCategories(categories);
    });
    t.insert(CMD_BrowseChannelCategory,
             [](W& w, const QVariant& v) { w.takeBrowseAnswer(v.value<BrowseCategoryResult>()); });
    t.insert(CMD_ChannelCheckId, [](W& w, const QVariant& v) {
        w.getCreateChannel()->channelIdAvailability(v.value<ChannelIdAvailability>());
    });
    addConversationRows(t);
    t.insert(CMD_ForceUpdate, [](W& w, const QVariant&) { w.stopAnswers(false); });
    t.insert(CMD_Logout, [](W& w, const QVariant&) { w.stopAnswers(true); });
    return t;
}

} // namespace

const QHash<int, AnswerDispatch::Handler>& AnswerDispatch::table()
{
    static const QHash<int, Handler> rows = buildTable();
    return rows;
}

bool AnswerDispatch::dispatch(MessengerMainWindow& window, Command command, const QVariant& payload)
{
    const auto it = table().constFind(int(command));
    if (it == table().constEnd())
        return false;
    it.value()(window, payload);
    return true;
}
