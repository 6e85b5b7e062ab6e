#include "shell/sidepanel.h"

#include "shell/chattab.h"
#include "shell/contacttab.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/interfacescale.h"
#include "widgets/searchbar.h"
#include "widgets/stylesheetpaint.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

SidePanel::SidePanel(QWidget* parent)
    : QWidget(parent), contactTab(new ContactTab), chatTab(new ChatTab)
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
    tabs = {{Chats, chatButton, chatTab, QStringLiteral(":/Images/ic_chat.png"),
             QStringLiteral(":/Images/ic_chat_colored.png")},
            {Contacts, contactButton, contactTab, QStringLiteral(":/Images/ic_contact_bold.png"),
             QStringLiteral(":/Images/ic_contact_bold_active.png")}};
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(0);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    for (IconButtonUnreadCount* button : {contactButton, chatButton}) {
        button->setContentsMargins(0, 5, 0, 5);
        button->setObjectName(QStringLiteral("TabButtonUnSelected"));
        buttonRow->addWidget(button);
    }
    layout->addLayout(buttonRow);
    connect(chatButton, &IconButton::onClick, this, &SidePanel::buttonChatClicked);
    connect(contactButton, &IconButton::onClick, this, &SidePanel::buttonContactClicked);

    chatTab->setParent(this);
    contactTab->setParent(this);
    connect(chatTab, &ChatTab::showSimpleChatWindow, this, &SidePanel::showChatWindow);
    connect(chatTab, &ChatTab::chatTabSelected, this, &SidePanel::chatTabSelected);
    connect(chatTab, &ChatTab::command, this, &SidePanel::command);
    connect(chatTab, &ChatTab::command, this, &SidePanel::chatCommandSniffer);
    connect(contactTab, &ContactTab::contactClicked, this, &SidePanel::contactWidgetClicked);
    connect(contactTab, &ContactTab::contactClicked, this, &SidePanel::contactTabSelected);
    layout->addWidget(chatTab);
    layout->addWidget(contactTab);
    currentTab = -1;
    switchTo(Chats);
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

void SidePanel::addContact(const Contact& contact)
{
    contactTab->addContact(contact);
    chatTab->setContact(contact);
}

void SidePanel::removeContact(const QString& number)
{
    contactTab->removeContact(number);
}

void SidePanel::setContactList(const QHash<QString, Contact>& contacts)
{
    contactTab->setContactList(contacts);
}

void SidePanel::setChatRecipients(const QList<ChatRecipient>& recipients)
{
    chatTab->setChatRecipients(recipients);
    refreshChatBadge();
}

void SidePanel::addChatRecipient(const ChatRecipient& recipient)
{
    chatTab->addChatRecipient(recipient);
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
    default:
        break;
    }
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
