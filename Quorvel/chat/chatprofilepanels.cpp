#include "chat/chatprofilepanels.h"

#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/contactprofile.h"
#include "screens/groupprofile.h"
#include "widgets/overlaystack.h"

ChatProfilePanels::ChatProfilePanels(QWidget* window) : QObject(window), window(window) {}

void ChatProfilePanels::showContact(const Contact& contact)
{
    if (contactProfile)
        contactProfile->showContact(contact);
}

void ChatProfilePanels::makeContactPanel(const Contact& contact)
{
    if (contactProfile)
        return;
    contactProfile = new ContactProfile(window);
    OverlayStack::instance()->track(contactProfile,
                                    [panel = contactProfile] { panel->backButtonPressed(); });
    connect(contactProfile, &ContactProfile::command, this, &ChatProfilePanels::command);
    contactProfile->hide();
    contactProfile->setContact(contact);
}

void ChatProfilePanels::showMemberProfile(const Contact& member)
{
    if (!contactProfile) {
        makeContactPanel(member);
        connect(contactProfile, &ContactProfile::startMessaging, this,
                &ChatProfilePanels::startMessaging);
    }
    contactProfile->showContact(member);
    contactProfile->raise();
    if (contactProfile->isHidden())
        contactProfile->slideIn();
}

void ChatProfilePanels::setLastSeen(const QString& number, const QDateTime& lastSeen)
{
    if (contactProfile)
        contactProfile->setLastSeen(number, lastSeen);
}

void ChatProfilePanels::setGroupInfo(const GroupInfo& info)
{
    if (!groupProfile) {
        groupProfile = new GroupProfile(window);
        groupProfile->hide();
        OverlayStack::instance()->track(groupProfile,
                                        [panel = groupProfile] { panel->slideOut(); });
        connect(groupProfile, &GroupProfile::command, this, &ChatProfilePanels::command);
        connect(groupProfile, &GroupProfile::memberProfileRequested, this,
                &ChatProfilePanels::showMemberProfile);
    }
    groupProfile->setGroupInfo(info);
}

void ChatProfilePanels::updateGroupInfo(const GroupInfo& info)
{
    if (groupProfile)
        groupProfile->updateGroupInfo(info);
}

void ChatProfilePanels::setGroupInfoMembers(const GroupInfoMembers& members)
{
    if (groupProfile)
        groupProfile->setGroupInfoMembers(members);
}

void ChatProfilePanels::setChannelInfo(const ChannelInfo& info, bool admin)
{
    // A role change reaching an open window swaps the panels at once.
    if (admin) {
        if (followerProfile) {
            followerProfile->hide();
            followerProfile->deleteLater();
            followerProfile = nullptr;
        }
        if (!adminProfile) {
            adminProfile = new ChannelProfileAdmin(window);
            adminProfile->hide();
            OverlayStack::instance()->track(adminProfile,
                                            [panel = adminProfile] { panel->slideOut(); });
            connect(adminProfile, &ChannelProfileAdmin::command, this, &ChatProfilePanels::command);
        }
        adminProfile->setChannelInfo(info);
        return;
    }
    if (adminProfile) {
        adminProfile->hide();
        adminProfile->deleteLater();
        adminProfile = nullptr;
    }
    if (!followerProfile) {
        followerProfile = new ChannelProfileNormal(window);
        followerProfile->hide();
        OverlayStack::instance()->track(followerProfile,
                                        [panel = followerProfile] { panel->slideOut(); });
        connect(followerProfile, &ChannelProfileNormal::command, this, &ChatProfilePanels::command);
    }
    followerProfile->setChannelInfo(info);
}

void ChatProfilePanels::setChannelMembersReply(const ChannelMembersReply& reply)
{
    if (adminProfile)
        adminProfile->setMembersProfile(reply);
}

void ChatProfilePanels::toggle(MessageBase::MsgMajorType chatType, const Contact& contact)
{
    if (chatType == MessageBase::MsgMajorType_ChannelChat) {
        if (followerProfile) {
            if (followerProfile->isHidden()) {
                followerProfile->raise();
                followerProfile->showProfile();
            } else {
                followerProfile->slideOut();
            }
        }
        if (adminProfile) {
            if (adminProfile->isHidden()) {
                adminProfile->raise();
                adminProfile->showProfile();
            } else {
                adminProfile->slideOut();
            }
        }
    } else if (chatType == MessageBase::MsgMajorType_SimpleChat) {
        makeContactPanel(contact);
        if (contactProfile->isHidden()) {
            // Each time it opens it asks anew when he was last seen.
            contactProfile->showContact(contact);
            contactProfile->raise();
            contactProfile->slideIn();
        } else {
            contactProfile->slideOut();
        }
    } else if (chatType == MessageBase::MsgMajorType_GroupChat) {
        // A shown group panel closes itself.
        if (groupProfile && groupProfile->isHidden()) {
            groupProfile->raise();
            groupProfile->showProfile();
        }
    }
}

void ChatProfilePanels::hideAll()
{
    if (contactProfile && !contactProfile->isHidden())
        contactProfile->hideWidget();
    if (followerProfile && !followerProfile->isHidden())
        followerProfile->hideWidget();
    if (adminProfile && !adminProfile->isHidden())
        adminProfile->hideWidget();
}

void ChatProfilePanels::fitShown()
{
    for (QWidget* panel :
         {static_cast<QWidget*>(contactProfile), static_cast<QWidget*>(groupProfile),
          static_cast<QWidget*>(followerProfile), static_cast<QWidget*>(adminProfile)}) {
        if (panel && !panel->isHidden())
            panel->resize(window->width(), window->height());
    }
}
