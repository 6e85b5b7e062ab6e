#ifndef CHATPROFILEPANELS_H
#define CHATPROFILEPANELS_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "model/channelinfo.h"
#include "model/channelmembersreply.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/message.h"

#include <QObject>
#include <QVariant>

class ChannelProfileAdmin;
class ChannelProfileNormal;
class ContactProfile;
class GroupProfile;
class QWidget;

// The profile panels of a chat window, each laid over the whole window: the
// person of a one-to-one chat or a group's member (made when first opened),
// the group, and the channel as its admins or its followers see it. Relays
// their commands. While shown, a panel covers the board (see OverlayStack).
class ChatProfilePanels : public QObject
{
    Q_OBJECT
public:
    explicit ChatProfilePanels(QWidget* window);

    ContactProfile* contactPanel() const { return contactProfile; }
    GroupProfile* groupPanel() const { return groupProfile; }
    ChannelProfileNormal* followerPanel() const { return followerProfile; }
    ChannelProfileAdmin* adminPanel() const { return adminProfile; }

    void showContact(const Contact& contact);
    // A group member's profile over the group's panel.
    void showMemberProfile(const Contact& member);
    void setLastSeen(const QString& number, const QDateTime& lastSeen);
    void setGroupInfo(const GroupInfo& info);
    void updateGroupInfo(const GroupInfo& info);
    void setGroupInfoMembers(const GroupInfoMembers& members);
    // The admin panel for owners and admins, the follower panel for others.
    void setChannelInfo(const ChannelInfo& info, bool admin);
    void setChannelMembersReply(const ChannelMembersReply& reply);

    // Opens the panel of the chat's kind, or closes it when shown.
    void toggle(MessageBase::MsgMajorType chatType, const Contact& contact);
    void hideAll();
    // Shown panels keep covering the window.
    void fitShown();

signals:
    void command(Command command, QVariant request);
    // "Send message" on a group member's profile.
    void startMessaging(Contact contact);

private:
    void makeContactPanel(const Contact& contact);

    QWidget* window;
    ContactProfile* contactProfile = nullptr;
    GroupProfile* groupProfile = nullptr;
    ChannelProfileNormal* followerProfile = nullptr;
    ChannelProfileAdmin* adminProfile = nullptr;
};

#endif // CHATPROFILEPANELS_H
