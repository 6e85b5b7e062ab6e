#include "shell/messengermainwindow.h"

#include "Managers/Chat/chatrecipient.h"
#include "foundation/numbertext.h"
#include "foundation/simpleqtlogger.h"
#include "model/browsecategoryresult.h"
#include "model/notificationmessage.h"
#include "screens/addnewcontact.h"
#include "screens/channelcategorypopup.h"
#include "screens/contactprofile.h"
#include "screens/createchannel.h"
#include "screens/creategroup.h"
#include "shell/answerdispatch.h"
#include "shell/channellookupviewer.h"
#include "shell/contentpanel.h"
#include "shell/diskfullnotice.h"
#include "shell/failuretoast.h"
#include "shell/grouplookupviewer.h"
#include "shell/menuitem.h"
#include "shell/setting.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/stylesheetloader.h"
#include "shell/topmenu.h"
#include "shell/traynotifier.h"
#include "shell/userlookupviewer.h"
#include "shell/userprofile.h"
#include "widgets/interfacescale.h"
#include "widgets/overlaystack.h"
#include "widgets/popupmanager.h"
#include "widgets/spopup.h"
#include "widgets/stylesheetpaint.h"
#include "widgets/toastmessage.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>

MessengerMainWindow::MessengerMainWindow(QWidget* parent) : QWidget(parent)
{
    forceUpdateError = new ForceUpdateError(this);
    forceUpdateError->hide();
    // Nothing works any more after a forced update: its button ends the program.
    connect(forceUpdateError, &ForceUpdateError::quitRequested, qApp, &QCoreApplication::quit,
            Qt::QueuedConnection);
    initInterfaceScale();
    loadStyleSheet(this);
    NumberText::setTierTexts(QString(), tr("_thousand"), tr("_milion"), tr("_bilion"));
    setMinimumSize(800, 600);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(int(area.width() * 0.9), int(area.height() * 0.9));
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }

    topMenu = new TopMenu(QSize(width(), topBarHeight), this);
    topMenu->setGeometry(0, 0, width(), topMenu->height());
    slidingMenu = new SlidingMenu(this);
    connect(topMenu, &TopMenu::menuClicked, this, &MessengerMainWindow::showMenu);
    createMenu();
    slidingMenu->hide();

    sidePanel = new SidePanel(this);
    contentPanel = new ContentPanel(this);
    userProfile = new UserProfile(this);
    userProfile->hide();
    setting = new Setting(this);
    setting->hide();
    connect(setting, &Setting::backgroundChanged, contentPanel, &ContentPanel::backgroundChanged);
    fullWindowPage = userProfile;
    channelLookupViewer = new ChannelLookupViewer(this);
    channelLookupViewer->hide();
    connect(channelLookupViewer, &ChannelLookupViewer::command, this,
            &MessengerMainWindow::command);
    groupLookupViewer = new GroupLookupViewer(this);
    groupLookupViewer->hide();
    userLookupViewer = new UserLookupViewer(this);
    userLookupViewer->hide();
    connect(userLookupViewer, &UserLookupViewer::startMessaging, this,
            &MessengerMainWindow::startMessaging);
    addNewContact = new AddNewContact(this);
    addNewContact->hide();
    createGroup = new CreateGroup(this);
    createGroup->hide();
    contactProfile = new ContactProfile(contentPanel);
    contactProfile->hide();
    OverlayStack::instance()->track(contactProfile,
                                    [panel = contactProfile] { panel->backButtonPressed(); });
    createChannel = new CreateChannel(this);
    createChannel->hide();
    channelDirectory = new ChannelCategoryPopUp(0, this);
    channelDirectory->hide();

    trayNotifier = new TrayNotifier(this);
    // Every action the person starts leaves through command(): the failure
    // toast notes those it tells of, to match them with their answers.
    failureToast = new FailureToast(this);
    connect(this, &MessengerMainWindow::command, failureToast, &FailureToast::noteCommand);
    diskFullNotice = new DiskFullNotice(this);

    connect(sidePanel, &SidePanel::showChatWindow, this, &MessengerMainWindow::showChatWindow);
    connect(sidePanel, &SidePanel::command, this, &MessengerMainWindow::command);
    connect(userProfile, &UserProfile::command, this, &MessengerMainWindow::command);
    connect(addNewContact, &AddNewContact::command, this, &MessengerMainWindow::command);
    connect(createGroup, &CreateGroup::sendCreateGroupCommand, this,
            &MessengerMainWindow::createGroupCommand);
    connect(contactProfile, &ContactProfile::command, this, &MessengerMainWindow::command);
    connect(createChannel, &CreateChannel::command, this, &MessengerMainWindow::command);
    connect(channelDirectory, &ChannelCategoryPopUp::command, this, &MessengerMainWindow::command);
    for (ChannelCategoryPopUp* asker : {channelDirectory, createChannel->categoryPopup()}) {
        connect(asker, &ChannelCategoryPopUp::command, this, [this, asker](Command sent) {
            if (sent == CMD_BrowseChannelCategory)
                browseAskers << asker;
        });
    }
    connect(contactProfile, &ContactProfile::startMessaging, this,
            &MessengerMainWindow::startMessaging);
    connect(contactProfile, &ContactProfile::contactProfileBackPressed, contentPanel,
            &ContentPanel::selectSidePanelWidget);
    connect(sidePanel, &SidePanel::contactClicked, this, &MessengerMainWindow::showContactProfile);
    connect(sidePanel, &SidePanel::createGroupRequested, this,
            &MessengerMainWindow::showCreateGroup);
    connect(sidePanel, &SidePanel::startMessaging, this, &MessengerMainWindow::startMessaging);
    // Another chat opened: the contact's profile over the last one goes.
    connect(sidePanel, &SidePanel::hideContactDetails, this,
            &MessengerMainWindow::hideContactProfile);

    connect(OverlayStack::instance(), &OverlayStack::uncovered, this,
            &MessengerMainWindow::keyboardToTheChat, Qt::QueuedConnection);

    SPopup::setMainWindow(this);
    PopupManager::setMainWindow(this);
    ToastMessage::setMainWindow(this);
}

void MessengerMainWindow::commandResponse(Command command, QVariant response)
{
    if (!acceptingAnswers)
        return;
    AnswerDispatch::dispatch(*this, command, response);
}

void MessengerMainWindow::createMenu()
{
    struct Row
    {
        const char* id;
        const char* label;
        const char* icon;
    };
    // A row without an id is a splitter.
    static const Row rows[] = {
        {"Profile", QT_TR_NOOP("Profile"), ":/Images/ic_profile.png"},
        {nullptr, nullptr, nullptr},
        {"CreateGroup", QT_TR_NOOP("_NewGroup"), ":/Images/ic_create_group.png"},
        {"CreateNewChanel", QT_TR_NOOP("New Channel"), ":/Images/ic_create_channel.png"},
        {nullptr, nullptr, nullptr},
        {"AddNewContact", QT_TR_NOOP("AddNewContact"), ":/Images/ic_add_contact.png"},
        {"ChannelList", QT_TR_NOOP("_ChannelList"), ":/Images/ic_list_of_channel.png"},
        {nullptr, nullptr, nullptr},
        {"Settings", QT_TR_NOOP("_settings"), ":/Images/ic_setting.png"},
        {"Logout", QT_TR_NOOP("_logout"), ":/Images/ic_exit.png"},
    };
    for (const Row& row : rows) {
        if (!row.id) {
            slidingMenu->addItem(new MenuItem(true));
            continue;
        }
        auto* item =
            new MenuItem(tr(row.label), QString::fromLatin1(row.icon), QString::fromLatin1(row.id));
        connect(item, &MenuItem::menuClicked, this, &MessengerMainWindow::menuClicked);
        slidingMenu->addItem(item);
    }
}

void MessengerMainWindow::showMenu()
{
    slidingMenu->setMenuWidth(SlidingMenu::menuWidthFor(width()));
    slidingMenu->showMenu();
    slidingMenu->raise();
}

void MessengerMainWindow::menuClicked(QString id, QMouseEvent*)
{
    L_DEBUG(QStringLiteral("MessengerMainWindow::menuClicked::ID ") + id);
    if (id == QLatin1String("Profile")) {
        slidingMenu->slide();
        emit command(CMD_GetUserProfile, QVariant());
        emit command(CMD_GetQuorvelId, QVariant());
        PopupManager::showWindow(userProfile, true);
    } else if (id == QLatin1String("Settings")) {
        setting->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
        setting->loadSettings();
        connect(setting, &Setting::command, this, &MessengerMainWindow::command,
                Qt::UniqueConnection);
        PopupManager::showWindow(setting, true);
        slidingMenu->slide();
    } else if (id == QLatin1String("Logout")) {
        // The menu stays open behind the question.
        connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
                &MessengerMainWindow::warningPopupResponse, Qt::UniqueConnection);
        PopUpWarning::showWarning(tr("_LogoutMessage"), QStringLiteral("Logout"), true, 0);
    } else if (id == QLatin1String("AddNewContact")) {
        slidingMenu->slide();
        showAddContact();
    } else if (id == QLatin1String("CreateNewChanel")) {
        slidingMenu->slide();
        showCreateChannel();
    } else if (id == QLatin1String("ChannelList")) {
        slidingMenu->slide();
        showChannelDirectory();
    } else if (id == QLatin1String("CreateGroup")) {
        slidingMenu->slide();
        showCreateGroup();
    }
}

void MessengerMainWindow::notify(const NotificationMessage& n)
{
    ChatWindow* open = contentPanel->currentWidget();
    L_DEBUG(QStringLiteral("MessengerMainWindow::commandResponse | CMD_Notification | ") +
            (open ? open->getChatId() : QStringLiteral("none")));
    if (open && open->getChatId() == n.getMessage().getChatId() && contentPanel->isVisible() &&
        isActiveWindow())
        return;
    trayNotifier->showNotification(n);
}

void MessengerMainWindow::stopAnswers(bool loggedOut)
{
    acceptingAnswers = false;
    if (!loggedOut) {
        PopupManager::showWindow(forceUpdateError, false);
        return;
    }
    connect(PopUpWarning::getInstance(), &PopUpWarning::popUpresponse, this,
            &MessengerMainWindow::warningPopupResponse);
    PopUpWarning::showWarning(tr("_UserIsDeactive"), QStringLiteral("Logout"), true, 1);
}

void MessengerMainWindow::warningPopupResponse(PopUpWarning::response res, QString applicator)
{
    if (applicator == QLatin1String("Logout") && res == PopUpWarning::yes)
        emit command(CMD_Logout, QVariant());
    disconnect(PopUpWarning::getInstance(), nullptr, this, nullptr);
}

void MessengerMainWindow::showAddContact()
{
    addNewContact->resetForm();
    PopupManager::showWindow(addNewContact, true);
}

void MessengerMainWindow::showCreateGroup()
{
    createGroup->resetForm();
    PopupManager::showWindow(createGroup, true);
}

void MessengerMainWindow::takeBrowseAnswer(const BrowseCategoryResult& result)
{
    // An answer nobody here asked for (a core's own) goes to the directory.
    ChannelCategoryPopUp* asker =
        browseAskers.isEmpty() ? channelDirectory : browseAskers.takeFirst().data();
    if (asker)
        asker->setBrowseCategoryResult(result);
}

void MessengerMainWindow::showCreateChannel()
{
    PopupManager::showWindow(createChannel, true);
}

void MessengerMainWindow::showChannelDirectory()
{
    channelDirectory->resize(size());
    channelDirectory->requestCategories();
    channelDirectory->raise();
    channelDirectory->show();
}

void MessengerMainWindow::createGroupCommand(GroupInfoMembers ginfo)
{
    emit command(CMD_GroupCreate, QVariant::fromValue(ginfo));
}

void MessengerMainWindow::showContactProfile(Contact c)
{
    if (contactProfile->isHidden()) {
        contactProfile->setContact(c);
        contactProfile->raise();
        contactProfile->slideIn();
    } else {
        contactProfile->showContact(c);
        contactProfile->raise();
    }
}

void MessengerMainWindow::hideContactProfile()
{
    contactProfile->hideWidget();
}

void MessengerMainWindow::startMessaging(Contact c)
{
    if (!sidePanel->containsChat(c.getNumber())) {
        ChatRecipient recipient;
        recipient.setContact(c);
        recipient.setUnreadCount(0);
        sidePanel->addChatRecipient(recipient);
    }
    sidePanel->openChat(c.getNumber());
}

void MessengerMainWindow::showChatWindow(ChatWindow* chatwindow)
{
    L_DEBUG(QStringLiteral("MessengerMainWindow::showChatWindow"));
    contentPanel->setContentWidget(chatwindow);
}

void MessengerMainWindow::openProfile()
{
    L_DEBUG(QStringLiteral("MessengerMainWindow::openProfile() | #START"));
    emit command(CMD_GetUserProfile, QVariant());
    emit command(CMD_GetQuorvelId, QVariant());
    PopupManager::showWindow(userProfile, false);
}

void MessengerMainWindow::raiseWindow()
{
    L_DEBUG(QStringLiteral("MessengerMainWindow::raiseWindow()"));
    showNormal();
    raise();
    activateWindow();
}

void MessengerMainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    for (SPopup* popup : findChildren<SPopup*>(QString(), Qt::FindDirectChildrenOnly))
        popup->adjustSizeToMainWindow();
    PopupManager::resizeToMainWindow();
    placePanels();
    if (slidingMenu->isVisible()) {
        slidingMenu->setMenuWidth(SlidingMenu::menuWidthFor(w));
        slidingMenu->setGeometry(0, 0, w, h);
    }
    if (!fullWindowPage->isHidden())
        fullWindowPage->resize(w, h);
    if (!channelDirectory->isHidden())
        channelDirectory->resize(w, h);
}

void MessengerMainWindow::placePanels()
{
    const int w = width();
    const int h = height();
    const int s = int(w * 0.3);
    topMenu->setGeometry(0, 0, w, topMenu->height());
    diskFullNotice->place(topBarHeight, w);
    // While the disk notice shows, the panels start below it: it hides nothing.
    const int t = topBarHeight + (diskFullNotice->isHidden() ? 0 : diskFullNotice->height());
    sidePanel->setGeometry(w - s, t, s, h - t);
    contentPanel->setGeometry(0, t, w - s, h - t);
}

void MessengerMainWindow::showDiskFullNotice(bool waiting)
{
    diskFullNotice->setWaiting(waiting);
    placePanels();
}

void MessengerMainWindow::keyboardToTheChat()
{
    // With nothing over the window and the keyboard nowhere, typing goes
    // into the open chat's input.
    if (OverlayStack::instance()->top(this))
        return;
    QWidget* focused = focusWidget();
    if (focused && focused->isVisible())
        return;
    if (ChatWindow* open = contentPanel->currentWidget())
        open->focusInput();
}

void MessengerMainWindow::changeEvent(QEvent* event)
{
    // Active again, or back from the task bar: what the open chat shows now
    // counts as seen.
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowStateChange)
        contentPanel->setWindowActive(isActiveWindow());
    QWidget::changeEvent(event);
}

void MessengerMainWindow::paintEvent(QPaintEvent*)
{
    StyleSheetPaint::plain(this);
}
