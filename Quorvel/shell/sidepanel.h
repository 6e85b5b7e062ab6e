#ifndef SIDEPANEL_H
#define SIDEPANEL_H

#include "Managers/Chat/chatrecipient.h"
#include "Managers/command.h"
#include "chat/chatwindow.h"
#include "model/channelinfo.h"
#include "model/channelmembersreply.h"
#include "model/groupinfo.h"
#include "model/groupinfomembers.h"
#include "model/lvreply.h"
#include "model/members.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "model/messagereply.h"
#include "model/messagestate.h"

#include <QHash>
#include <QVariant>
#include <QWidget>

class ChannelTab;
class ChatTab;
class ContactTab;
class GroupTab;
class IconButtonUnreadCount;
class SearchBar;

// The right-hand column of the main window: search, tab buttons with unread
// badges and the conversation lists. The answer dispatch reaches the lists
// only through the operations below.
class SidePanel : public QWidget
{
    Q_OBJECT
public:
    enum Tab
    {
        Chats = 0,
        Groups = 1,
        Channels = 2,
        Contacts = 3
    };

    explicit SidePanel(QWidget* parent = nullptr);

    void addContact(const Contact& contact);
    void removeContact(const QString& number);
    void setContactList(const QHash<QString, Contact>& contacts);
    void setChatRecipients(const QList<ChatRecipient>& recipients);
    void addChatRecipient(const ChatRecipient& recipient);
    bool containsChat(const QString& id) const;
    void openChat(const QString& id);
    void removeChat(const QString& id);
    void processMessage(const Message& message);
    void processMessagePair(const MessagePair& pair);
    void processMessageReply(const MessageReply& reply);
    void setMessageState(const MessageState& state);
    void processMembers(const Members& members);
    // Answer 15: a contact's last-seen time, for the chat window's panel.
    void setLastSeen(const QString& number, const QDateTime& time);
    void setContact(const Contact& contact);

    void addGroup(const GroupInfo& info);
    void setGroups(const QList<GroupInfo>& groups);
    void removeGroup(const QString& jid);
    void processGroupInfoMembers(const GroupInfoMembers& members);
    void processGroupLastMessage(const Message& message);
    // Shows the group tab with the group's window open, now or as soon as
    // the group is listed (a group the user has just made).
    void openGroupWhenListed(const QString& jid);

    void addChannel(const ChannelInfo& info);
    void setChannels(const QList<ChannelInfo>& channels);
    // Shows the channel list with the joined channel selected.
    void channelJoined(const QString& id);
    void removeChannel(const QString& id);
    void processChannelMessageReply(const MessageReply& reply);
    void processLVReply(const LVReply& reply);
    void processChannelMembersReply(const ChannelMembersReply& reply);
    void setChannelLastMessage(const Message& message);

    int getCurrentTab() const { return currentTab; }
    ContactTab* getContactTab() const { return contactTab; }
    ChatTab* getChatTab() const { return chatTab; }
    GroupTab* getGroupTab() const { return groupTab; }
    ChannelTab* getChannelTab() const { return channelTab; }
    IconButtonUnreadCount* getChannelButton() const { return channelButton; }
    IconButtonUnreadCount* getGroupButton() const { return groupButton; }
    IconButtonUnreadCount* getChatButton() const { return chatButton; }
    IconButtonUnreadCount* getContactButton() const { return contactButton; }
    SearchBar* getSearchBar() const { return searchBar; }

signals:
    void contactClicked(Contact c);
    void showChatWindow(ChatWindow* chatwindow);
    void hideContactDetails();
    void command(Command command, QVariant request = QVariant());
    // The group tab's "New group".
    void createGroupRequested();
    void startMessaging(Contact contact);

public slots:
    void buttonChatClicked();
    void buttonContactClicked();
    void buttonGroupClicked();
    void buttonChannelClicked();
    void channelTabSelected();
    void channelCommandSniffer(Command command, QVariant request);
    void groupTabSelected();
    void groupCommandSniffer(Command command, QVariant request);
    void contactWidgetClicked(Contact c);
    void showSearchResult(const QString& str);
    void chatCommandSniffer(Command command, QVariant request);
    void chatTabSelected();
    void contactTabSelected();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct TabEntry
    {
        Tab tab;
        IconButtonUnreadCount* button;
        QWidget* list;
        QString icon;
        QString selectedIcon;
    };
    void switchTo(Tab tab);
    void refreshChatBadge();
    void refreshGroupBadge();
    void refreshChannelBadge();
    void openAwaitedGroup();

    SearchBar* searchBar;
    IconButtonUnreadCount* chatButton;
    IconButtonUnreadCount* contactButton;
    IconButtonUnreadCount* groupButton;
    IconButtonUnreadCount* channelButton;
    int currentTab = Chats;
    ContactTab* contactTab;
    ChatTab* chatTab;
    GroupTab* groupTab;
    ChannelTab* channelTab;
    QList<TabEntry> tabs;
    QString awaitedGroup;
};

#endif // SIDEPANEL_H
