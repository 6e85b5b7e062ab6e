#ifndef MESSENGERMAINWINDOW_H
#define MESSENGERMAINWINDOW_H

#include "Managers/Contact/contact.h"
#include "Managers/command.h"
#include "chat/chatwindow.h"
#include "model/groupinfomembers.h"
#include "shell/forceupdateerror.h"
#include "widgets/popupwarning.h"

#include <QList>
#include <QPointer>
#include <QVariant>
#include <QWidget>

class AddNewContact;
class BrowseCategoryResult;
class ChannelCategoryPopUp;
class CreateChannel;
class ContactProfile;
class ChannelLookupViewer;
class ContentPanel;
class CreateGroup;
class DiskFullNotice;
class FailureToast;
class GroupLookupViewer;
class NotificationMessage;
class QMouseEvent;
class Setting;
class SidePanel;
class SlidingMenu;
class TopMenu;
class TrayNotifier;
class UserLookupViewer;
class UserProfile;

// The window of a signed-in user: the lists on the right, the open
// conversation on the left, and the one junction of the command channel.
class MessengerMainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MessengerMainWindow(QWidget* parent = nullptr);

    SidePanel* getSidePanel() const { return sidePanel; }
    ContentPanel* getContentPanel() const { return contentPanel; }
    UserProfile* getUserProfile() const { return userProfile; }
    ForceUpdateError* getForceUpdateError() const { return forceUpdateError; }
    AddNewContact* getAddNewContact() const { return addNewContact; }
    CreateGroup* getCreateGroup() const { return createGroup; }
    ContactProfile* getContactProfile() const { return contactProfile; }
    CreateChannel* getCreateChannel() const { return createChannel; }
    ChannelCategoryPopUp* getChannelDirectory() const { return channelDirectory; }
    // An answer about what a category holds, for the directory or the
    // create form's category choice, whichever asked first and is still
    // waiting: the answers come in the order of the questions.
    void takeBrowseAnswer(const BrowseCategoryResult& result);
    // The forms the side menu opens.
    void showAddContact();
    void showCreateGroup();
    void showCreateChannel();
    void showChannelDirectory();
    TopMenu* getTopMenu() const { return topMenu; }
    SlidingMenu* getSlidingMenu() const { return slidingMenu; }
    Setting* getSetting() const { return setting; }
    TrayNotifier* getTrayNotifier() const { return trayNotifier; }
    // The one home of "your action failed" toasts (see FailureToast).
    FailureToast* getFailureToast() const { return failureToast; }
    // The lasting notice that new messages wait for disk space, above the
    // panels while it shows.
    DiskFullNotice* getDiskFullNotice() const { return diskFullNotice; }
    void showDiskFullNotice(bool waiting);
    ChannelLookupViewer* getChannelLookupViewer() const { return channelLookupViewer; }
    GroupLookupViewer* getGroupLookupViewer() const { return groupLookupViewer; }
    UserLookupViewer* getUserLookupViewer() const { return userLookupViewer; }
    // An incoming message: a tray balloon unless its chat is open in front.
    void notify(const NotificationMessage& n);
    bool isAcceptingAnswers() const { return acceptingAnswers; }
    // Ends the answer dispatch for good: after a forced update, or when the
    // service signed the user out (then the user is told and may confirm).
    void stopAnswers(bool loggedOut);

signals:
    void command(Command command, QVariant request = QVariant());

public slots:
    void commandResponse(Command command, QVariant response);
    void showContactProfile(Contact c);
    void hideContactProfile();
    void showMenu();
    void menuClicked(QString id, QMouseEvent* event);
    void startMessaging(Contact c);
    void createGroupCommand(GroupInfoMembers ginfo);
    void showChatWindow(ChatWindow* chatwindow);
    void openProfile();
    void raiseWindow();
    void warningPopupResponse(PopUpWarning::response res, QString applicator);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createMenu();
    void placePanels();

    TopMenu* topMenu;
    SlidingMenu* slidingMenu;
    // Owned through the Qt tree: the popup host may take it as its child.
    ForceUpdateError* forceUpdateError;
    bool acceptingAnswers = true;
    SidePanel* sidePanel;
    ContentPanel* contentPanel;
    UserProfile* userProfile;
    AddNewContact* addNewContact;
    CreateGroup* createGroup;
    ContactProfile* contactProfile;
    CreateChannel* createChannel;
    ChannelCategoryPopUp* channelDirectory;
    QList<QPointer<ChannelCategoryPopUp>> browseAskers;
    Setting* setting;
    QWidget* fullWindowPage;
    TrayNotifier* trayNotifier;
    FailureToast* failureToast;
    DiskFullNotice* diskFullNotice;
    ChannelLookupViewer* channelLookupViewer;
    // Kept for group and user links; look-up answers are only logged so far.
    GroupLookupViewer* groupLookupViewer;
    UserLookupViewer* userLookupViewer;
};

#endif // MESSENGERMAINWINDOW_H
