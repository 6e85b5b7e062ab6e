#include "shell/sidepanel.h"

#include "chat/chatwidget.h"
#include "chat/grouptab.h"
#include "shell/channeltab.h"
#include "shell/chattab.h"
#include "shell/contacttab.h"
#include "widgets/addressbook.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"
#include "widgets/searchbar.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

SidePanel::SidePanel(QWidget* parent)
    : QWidget(parent), contactTab(new ContactTab), chatTab(new ChatTab), groupTab(new GroupTab),
      channelTab(new ChannelTab)
{
    setObjectName(QStringLiteral("SidePanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(1, 0, 0, 0);

    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(10, 10, 10, 10);
    searchBar = new SearchBar(this);
    searchRow->addWidget(searchBar);
    layout->addLayout(searchRow);
    connect(searchBar, &SearchBar::textChanged, this, &SidePanel::showSearchResult);

    const QSize buttonSize(tabIconSize, tabIconSize);
    contactButton =
        new IconButtonUnreadCount(buttonSize, QStringLiteral(":/Images/ic_contact_bold.png"), this);
    chatButton =
        new IconButtonUnreadCount(buttonSize, QStringLiteral(":/Images/ic_chat.png"), this);
    groupButton =
        new IconButtonUnreadCount(buttonSize, QStringLiteral(":/Images/ic_group.png"), this);
    channelButton =
        new IconButtonUnreadCount(buttonSize, QStringLiteral(":/Images/ic_channel_bold.png"), this);
    contactButton->setAccessibleName(tr("_TabContacts"));
    chatButton->setAccessibleName(tr("_TabChats"));
    groupButton->setAccessibleName(tr("_TabGroups"));
    channelButton->setAccessibleName(tr("_TabChannels"));
    tabs = {{Chats, chatButton, chatTab, QStringLiteral(":/Images/ic_chat.png"),
             QStringLiteral(":/Images/ic_chat_colored.png")},
            {Groups, groupButton, groupTab, QStringLiteral(":/Images/ic_group.png"),
             QStringLiteral(":/Images/ic_group_active.png")},
            {Channels, channelButton, channelTab, QStringLiteral(":/Images/ic_channel_bold.png"),
             QStringLiteral(":/Images/ic_channel_bold_active.png")},
            {Contacts, contactButton, contactTab, QStringLiteral(":/Images/ic_contact_bold.png"),
             QStringLiteral(":/Images/ic_contact_bold_active.png")}};
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(0);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    for (IconButtonUnreadCount* button : {contactButton, chatButton, groupButton, channelButton}) {
        button->setContentsMargins(0, 5, 0, 5);
        button->setObjectName(button == chatButton ? QStringLiteral("TabButtonSelected")
                                                   : QStringLiteral("TabButtonUnSelected"));
        buttonRow->addWidget(button);
    }
    layout->addLayout(buttonRow);
    connect(chatButton, &IconButton::onClick, this, &SidePanel::buttonChatClicked);
    connect(contactButton, &IconButton::onClick, this, &SidePanel::buttonContactClicked);
    connect(groupButton, &IconButton::onClick, this, &SidePanel::buttonGroupClicked);
    connect(channelButton, &IconButton::onClick, this, &SidePanel::buttonChannelClicked);

    chatTab->setParent(this);
    contactTab->setParent(this);
    groupTab->setParent(this);
    channelTab->setParent(this);
    connect(channelTab, &ChannelTab::showChannelWindow, this, &SidePanel::showChatWindow);
    connect(channelTab, &ChannelTab::channelTabSelected, this, &SidePanel::channelTabSelected);
    connect(channelTab, &ChannelTab::command, this, &SidePanel::command);
    connect(channelTab, &ChannelTab::command, this, &SidePanel::channelCommandSniffer);
    connect(groupTab, &GroupTab::showSimpleChatWindow, this, &SidePanel::showChatWindow);
    connect(groupTab, &GroupTab::groupTabSelected, this, &SidePanel::groupTabSelected);
    connect(groupTab, &GroupTab::command, this, &SidePanel::command);
    connect(groupTab, &GroupTab::command, this, &SidePanel::groupCommandSniffer);
    connect(groupTab, &GroupTab::createGroupRequested, this, &SidePanel::createGroupRequested);
    connect(groupTab, &GroupTab::startMessaging, this, &SidePanel::startMessaging);
    connect(chatTab, &ChatTab::showSimpleChatWindow, this, &SidePanel::showChatWindow);
    connect(chatTab, &ChatTab::chatTabSelected, this, &SidePanel::chatTabSelected);
    connect(chatTab, &ChatTab::command, this, &SidePanel::command);
    connect(chatTab, &ChatTab::command, this, &SidePanel::chatCommandSniffer);
    connect(contactTab, &ContactTab::contactClicked, this, &SidePanel::contactWidgetClicked);
    connect(contactTab, &ContactTab::contactClicked, this, &SidePanel::contactTabSelected);
    layout->addWidget(chatTab);
    layout->addWidget(groupTab);
    layout->addWidget(contactTab);
    layout->addWidget(channelTab);
    // The panel opens on the channel list.
    currentTab = Chats;
    switchTo(Channels);
}

void SidePanel::switchTo(Tab tab)
{
    if (currentTab == tab)
        return;
    searchBar->clear();
    currentTab = tab;
    for (const TabEntry& entry : qAsConst(tabs)) {
        const bool chosen = entry.tab == tab;
        entry.button->setIconAtIconSize(chosen ? entry.selectedIcon : entry.icon);
        entry.button->setObjectName(chosen ? QStringLiteral("TabButtonSelected")
                                           : QStringLiteral("TabButtonUnSelected"));
        entry.button->setStyleSheet(QString());
        entry.list->setVisible(chosen);
    }
    if (tab != Contacts)
        emit hideContactDetails();
}

void SidePanel::buttonChatClicked()
{
    switchTo(Chats);
}

void SidePanel::buttonContactClicked()
{
    switchTo(Contacts);
}

void SidePanel::buttonGroupClicked()
{
    switchTo(Groups);
}

void SidePanel::addContact(const Contact& contact)
{
    contactTab->addContact(contact);
    chatTab->setContact(contact);
    AddressBook::getInstance()->addContact(contact);
}

void SidePanel::setContact(const Contact& contact)
{
    chatTab->setContact(contact);
}

void SidePanel::removeContact(const QString& number)
{
    contactTab->removeContact(number);
    AddressBook::getInstance()->removeContact(number);
}

void SidePanel::setContactList(const QHash<QString, Contact>& contacts)
{
    contactTab->setContactList(contacts);
    AddressBook::getInstance()->setContacts(contacts);
}

void SidePanel::setChatRecipients(const QList<ChatRecipient>& recipients)
{
    chatTab->setChatRecipients(recipients);
    refreshChatBadge();
}

void SidePanel::addChatRecipient(const ChatRecipient& recipient)
{
    chatTab->addChatRecipient(recipient);
    refreshChatBadge();
}

bool SidePanel::containsChat(const QString& id) const
{
    return chatTab->containsChat(id);
}

void SidePanel::openChat(const QString& id)
{
    for (const TabEntry& entry : qAsConst(tabs))
        entry.list->setVisible(entry.list == chatTab);
    chatTab->openChat(id);
}

void SidePanel::removeChat(const QString& id)
{
    chatTab->removeChat(id);
}

void SidePanel::processMessage(const Message& message)
{
    switch (message.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        chatTab->processMessage(message);
        refreshChatBadge();
        break;
    case MessageBase::MsgMajorType_GroupChat:
        groupTab->processNewMessage(message);
        refreshGroupBadge();
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        channelTab->processMessage(message);
        refreshChannelBadge();
        break;
    case MessageBase::MsgMajorType_ControlMessage:
        groupTab->processNewMessage(message);
        break;
    default:
        break;
    }
}

void SidePanel::processMessagePair(const MessagePair& pair)
{
    switch (pair.getMajorType()) {
    case MessageBase::MsgMajorType_SimpleChat:
    case MessageBase::MsgMajorType_ChannelDirect:
        chatTab->processMessagePair(pair);
        refreshChatBadge();
        break;
    case MessageBase::MsgMajorType_GroupChat:
        groupTab->processNewMessagePair(pair);
        refreshGroupBadge();
        break;
    case MessageBase::MsgMajorType_ChannelChat:
    case MessageBase::MsgMajorType_ChannelChatReply:
        channelTab->newMessage(pair);
        refreshChannelBadge();
        break;
    case MessageBase::MsgMajorType_ControlMessage:
        groupTab->processNewMessagePair(pair);
        break;
    default:
        break;
    }
}

void SidePanel::processMessageReply(const MessageReply& reply)
{
    const QString chatId = reply.getRequest().getChatId();
    chatTab->processMessageReply(chatId, reply);
    groupTab->processMessageReply(chatId, reply);
}

void SidePanel::setMessageState(const MessageState& state)
{
    chatTab->setMessageState(state);
    channelTab->setMessageState(state);
    groupTab->setMessageState(state);
}

void SidePanel::setLastSeen(const QString& number, const QDateTime& time)
{
    chatTab->setLastSeen(number, time);
}

void SidePanel::processMembers(const Members& members)
{
    chatTab->processMembers(members);
    groupTab->processMembers(members);
}

void SidePanel::addGroup(const GroupInfo& info)
{
    groupTab->addGroup(info);
    openAwaitedGroup();
}

void SidePanel::setGroups(const QList<GroupInfo>& groups)
{
    groupTab->setGroups(groups);
    refreshGroupBadge();
    openAwaitedGroup();
}

void SidePanel::openGroupWhenListed(const QString& jid)
{
    awaitedGroup = jid;
    openAwaitedGroup();
}

void SidePanel::openAwaitedGroup()
{
    if (awaitedGroup.isEmpty() || !groupTab->row(awaitedGroup))
        return;
    const QString jid = awaitedGroup;
    awaitedGroup.clear();
    if (currentTab != Groups)
        buttonGroupClicked();
    groupTab->selectGroup(jid);
}

void SidePanel::removeGroup(const QString& jid)
{
    groupTab->removeGroup(jid);
    refreshGroupBadge();
}

void SidePanel::processGroupInfoMembers(const GroupInfoMembers& members)
{
    groupTab->processGroupInfoMembers(members);
}

void SidePanel::processGroupLastMessage(const Message& message)
{
    groupTab->processMessage(message);
}

void SidePanel::refreshGroupBadge()
{
    groupButton->setUnreadCount(groupTab->getTotalUnreadCount());
}

void SidePanel::groupCommandSniffer(Command command, QVariant)
{
    if (command == CMD_SendSeen)
        refreshGroupBadge();
}

void SidePanel::groupTabSelected()
{
    if (currentTab != Groups)
        buttonGroupClicked();
    emit hideContactDetails();
}

void SidePanel::buttonChannelClicked()
{
    switchTo(Channels);
}

void SidePanel::addChannel(const ChannelInfo& info)
{
    channelTab->addChannel(info);
}

void SidePanel::setChannels(const QList<ChannelInfo>& channels)
{
    channelTab->setChannels(channels);
    refreshChannelBadge();
}

void SidePanel::channelJoined(const QString& id)
{
    if (currentTab != Channels)
        buttonChannelClicked();
    emit hideContactDetails();
    channelTab->selectChannel(id);
}

void SidePanel::removeChannel(const QString& id)
{
    channelTab->removeChannel(id);
    refreshChannelBadge();
}

void SidePanel::processChannelMessageReply(const MessageReply& reply)
{
    channelTab->processMessageReply(reply);
}

void SidePanel::processLVReply(const LVReply& reply)
{
    channelTab->processLVReply(reply);
}

void SidePanel::processChannelMembersReply(const ChannelMembersReply& reply)
{
    channelTab->processChannelMembersReply(reply);
}

void SidePanel::setChannelLastMessage(const Message& message)
{
    channelTab->setLastMessage(message);
}

void SidePanel::refreshChannelBadge()
{
    channelButton->setUnreadCount(channelTab->getUnreadCount());
}

void SidePanel::channelCommandSniffer(Command command, QVariant)
{
    if (command == CMD_SendSeen)
        refreshChannelBadge();
}

void SidePanel::channelTabSelected()
{
    if (currentTab != Channels)
        buttonChannelClicked();
    emit hideContactDetails();
}

void SidePanel::refreshChatBadge()
{
    chatButton->setUnreadCount(chatTab->getUnreadCount());
}

void SidePanel::contactWidgetClicked(Contact c)
{
    emit contactClicked(c);
}

void SidePanel::showSearchResult(const QString& str)
{
    if (currentTab == Contacts)
        contactTab->searchString(str);
    else if (currentTab == Chats)
        chatTab->filterChats(str);
    else if (currentTab == Groups)
        groupTab->filterChats(str);
    else if (currentTab == Channels)
        channelTab->filterChats(str);
}

void SidePanel::chatCommandSniffer(Command command, QVariant)
{
    if (command == CMD_SendSeen)
        refreshChatBadge();
}

void SidePanel::chatTabSelected()
{
    if (currentTab != Chats)
        buttonChatClicked();
    emit hideContactDetails();
}

void SidePanel::contactTabSelected()
{
    if (currentTab != Contacts)
        buttonContactClicked();
}

void SidePanel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    StyleSheetPaint::plain(this);
}
