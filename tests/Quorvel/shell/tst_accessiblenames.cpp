// Through the accessibility tree, as a screen reader reads the program: every
// top-level screen and popup is opened the way a person opens it, and each
// visible button, tab, menu entry and input in it has a name; the kit's text
// and icon buttons are buttons, not labels.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/grouptab.h"
#include "model/channelinfo.h"
#include "model/channellookup.h"
#include "model/channelmembersreply.h"
#include "model/channelmembersrequest.h"
#include "model/groupinfo.h"
#include "model/grouplookup.h"
#include "model/userlookup.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/contactprofile.h"
#include "screens/groupprofile.h"
#include "shell/channellookupviewer.h"
#include "shell/channeltab.h"
#include "shell/contentpanel.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/grouplookupviewer.h"
#include "shell/intro.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/register.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "shell/userlookupviewer.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/contactselect.h"
#include "widgets/doublestatebutton.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/popupmanager.h"
#include "widgets/radiobutton.h"
#include "widgets/searchbar.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QtTest>

namespace {

bool isControl(QWidget* w)
{
    return qobject_cast<FlatButton*>(w) || qobject_cast<IconButton*>(w) ||
           qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<CheckBox*>(w) || qobject_cast<RadioButton*>(w) ||
           (qobject_cast<MenuItem*>(w) && !qobject_cast<MenuItem*>(w)->getId().isEmpty()) ||
           qobject_cast<DoubleStateButton*>(w) ||
           (qobject_cast<AvatarViewer*>(w) && qobject_cast<AvatarViewer*>(w)->isCheckable());
}

QString describe(QWidget* w)
{
    QStringList chain;
    for (QWidget* p = w; p; p = p->parentWidget())
        chain << QString::fromLatin1(p->metaObject()->className()) +
                     (p->objectName().isEmpty() ? QString() : "#" + p->objectName());
    return chain.join(QStringLiteral(" < "));
}

// Every object a screen reader reaches from the window, going down the
// accessibility tree as it does (not the widget tree: a scroll area, for
// one, shows only its view and bars).
QSet<QObject*> inTree(QWidget* window)
{
    QSet<QObject*> reached;
    QList<QAccessibleInterface*> next{QAccessible::queryAccessibleInterface(window)};
    while (!next.isEmpty()) {
        QAccessibleInterface* a = next.takeLast();
        if (!a || !a->isValid() || !a->object() || reached.contains(a->object()))
            continue;
        reached.insert(a->object());
        for (int i = 0; i < a->childCount(); ++i)
            next << a->child(i);
    }
    return reached;
}

// The nameless controls of what is shown now, those a screen reader cannot
// reach, and the kit buttons that do not read as buttons.
QStringList faults(const QList<QWidget*>& roots, int* controls)
{
    QStringList out;
    *controls = 0;
    for (QWidget* root : roots) {
        if (!root || !root->isVisible())
            continue;
        const QSet<QObject*> tree = inTree(root->window());
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : widgets) {
            if (!w->isVisible() || !isControl(w))
                continue;
            ++*controls;
            if (!tree.contains(w))
                out << "outside the tree: " + describe(w);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
                out << "no name: " + describe(w);
            else if ((qobject_cast<FlatButton*>(w) || qobject_cast<IconButton*>(w)) &&
                     a->role() != QAccessible::Button)
                out << "not a button: " + describe(w);
        }
    }
    out.removeDuplicates();
    return out;
}

} // namespace

class TestAccessibleNames : public QObject
{
    Q_OBJECT

private:
    QStringList found;

    void check(const QString& screen, const QList<QWidget*>& roots)
    {
        QApplication::processEvents();
        int controls = 0;
        for (const QString& fault : faults(roots, &controls))
            found << screen + ": " + fault;
        // A screen that was not really open would pass for lack of controls.
        if (controls == 0)
            found << screen + ": no control is shown";
    }

    static void click(QWidget* w)
    {
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }

    // The popup the window's layer shows now, if any, with the window.
    static QList<QWidget*> withPopup(QWidget* window)
    {
        QList<QWidget*> shown{window};
        if (PopupManager* layer = PopupManager::existingInstance()) {
            if (layer->getActivePopup() && layer->getActivePopup()->isVisible())
                shown << layer->getActivePopup();
        }
        return shown;
    }

    static void closePopup()
    {
        if (PopupManager* layer = PopupManager::existingInstance()) {
            if (QWidget* popup = layer->getActivePopup())
                popup->hide();
        }
    }

    // Opens a row of a side tab as a person does and waits for its chat.
    static ChatWindow* openRow(MessengerMainWindow& w, IconButtonUnreadCount* tab, QWidget* row)
    {
        QTest::mouseClick(tab, Qt::LeftButton);
        if (!QTest::qWaitFor([row] { return row->isVisible(); }, 5000))
            return nullptr;
        click(row);
        QApplication::processEvents();
        return w.getContentPanel()->currentWidget();
    }

private slots:
    void initTestCase() { QApplication::setLayoutDirection(Qt::RightToLeft); }

    void signUpPages()
    {
        found.clear();
        Register reg;
        reg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reg));
        check("welcome", {&reg});
        reg.introNextClicked();
        check("number", {&reg});
        reg.activationCodePage()->show();
        reg.mobileNumberPage()->hide();
        check("code", {&reg});
        QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    }

    void mainWindowAndItsPopups()
    {
        found.clear();
        MessengerMainWindow w;
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SidePanel* side = w.getSidePanel();
        Contact sara;
        sara.setNumber(QStringLiteral("989120000002"));
        sara.setNickName(QStringLiteral("Sara"));
        side->setContactList({{sara.getNumber(), sara}});
        QVERIFY(AddressBook::getInstance()->contains(sara.getNumber()));
        ChatRecipient chat;
        chat.setContact(sara);
        side->addChatRecipient(chat);
        GroupInfo group;
        group.setJid(QStringLiteral("friends"));
        group.setName(QStringLiteral("Friends"));
        side->setGroups({group});
        ChannelInfo channel;
        channel.setId(QStringLiteral("news"));
        channel.setName(QStringLiteral("News"));
        channel.setMyRole(ChannelRole::MEMBER);
        ChannelInfo mine;
        mine.setId(QStringLiteral("mine"));
        mine.setName(QStringLiteral("Mine"));
        mine.setMyRole(ChannelRole::OWNER);
        side->setChannels({channel, mine});

        const QList<IconButtonUnreadCount*> tabs{side->getContactButton(), side->getChatButton(),
                                                 side->getGroupButton(), side->getChannelButton()};
        for (IconButtonUnreadCount* tab : tabs) {
            QTest::mouseClick(tab, Qt::LeftButton);
            check("main window, tab", {&w});
        }

        // The side menu and every form it opens.
        QTest::mouseClick(w.getTopMenu()->getMenuButton(), Qt::LeftButton);
        QTRY_VERIFY(w.getSlidingMenu()->isVisible());
        check("side menu", {w.getSlidingMenu()});
        for (const char* id :
             {"Profile", "AddNewContact", "CreateNewChanel", "ChannelList", "Settings", "Logout"}) {
            w.showMenu();
            MenuItem* item = nullptr;
            for (MenuItem* candidate : w.getSlidingMenu()->findChildren<MenuItem*>()) {
                if (candidate->getId() == QLatin1String(id))
                    item = candidate;
            }
            QVERIFY2(item, id);
            QTest::mouseClick(item, Qt::LeftButton);
            QApplication::processEvents();
            QList<QWidget*> shown{&w};
            if (PopupManager* layer = PopupManager::existingInstance())
                shown << layer->getActivePopup();
            check(QStringLiteral("menu %1").arg(QLatin1String(id)), shown);
            if (PopupManager* layer = PopupManager::existingInstance()) {
                if (QWidget* popup = layer->getActivePopup())
                    popup->hide();
            }
            w.getChannelDirectory()->hide();
        }

        // A contact's profile, then a chat with its window.
        w.showContactProfile(sara);
        QTRY_VERIFY(w.getContactProfile()->isVisible());
        check("contact profile", {w.getContactProfile()});
        w.hideContactProfile();
        w.startMessaging(sara);
        QTRY_VERIFY(w.getContentPanel()->currentWidget());
        check("chat window", {w.getContentPanel()->currentWidget()});

        // A group chat, then its profile panel from the chat's title.
        ChatWindow* groupChat =
            openRow(w, side->getGroupButton(), side->getGroupTab()->row(QStringLiteral("friends")));
        QVERIFY(groupChat && groupChat->getChatId() == QLatin1String("friends"));
        check("group chat", {groupChat});
        click(groupChat->title());
        QTRY_VERIFY(groupChat->findChild<GroupProfile*>() &&
                    groupChat->findChild<GroupProfile*>()->isVisible());
        check("group profile", {groupChat->findChild<GroupProfile*>()});

        // A followed channel's panel, and an owned channel's panel with its
        // people and the contact picker.
        ChatWindow* followed = openRow(w, side->getChannelButton(),
                                       side->getChannelTab()->row(QStringLiteral("news")));
        QVERIFY(followed && followed->followerPanel());
        click(followed->title());
        QTRY_VERIFY(followed->followerPanel()->isVisible());
        check("channel follower panel", {followed->followerPanel()});
        ChatWindow* owned = openRow(w, side->getChannelButton(),
                                    side->getChannelTab()->row(QStringLiteral("mine")));
        QVERIFY(owned && owned->adminPanel());
        ChannelMembersRequest request(QStringLiteral("mine"),
                                      ChannelMembersRequest::ReqType_Managers, 0, 1);
        ChannelMemberProfile owner;
        owner.setUserName(QStringLiteral("989120000001"));
        owner.setRole(ChannelRole::OWNER);
        ChannelMemberProfile admin;
        admin.setUserName(QStringLiteral("989120000003"));
        admin.setRole(ChannelRole::ADMIN);
        ChannelMembersReply people;
        people.setReq(request);
        people.setProfiles({owner, admin});
        owned->setChannelMembersReply(people);
        click(owned->title());
        QTRY_VERIFY(owned->adminPanel()->isVisible());
        check("channel administrators' panel", {owned->adminPanel()});
        click(owned->adminPanel()->addMemberButton());
        QTRY_VERIFY(owned->adminPanel()->contactPicker()->isVisible());
        check("contact picker", withPopup(&w));
        closePopup();
        click(owned->adminPanel()->editLink());
        check("edit channel", {owned->adminPanel()});

        // The look-up previews, as a clicked mention brings them.
        UserLookup user;
        user.setUserID(QStringLiteral("989120000004"));
        user.setUsername(QStringLiteral("bahar"));
        user.setNickname(QStringLiteral("Bahar"));
        GroupLookup groupLink;
        groupLink.setJid(QStringLiteral("readers"));
        groupLink.setName(QStringLiteral("Readers"));
        ChannelLookup channelLink;
        channelLink.setId(QStringLiteral("daily"));
        channelLink.setName(QStringLiteral("Daily"));
        const struct
        {
            const char* screen;
            Command answer;
            QVariant value;
            QWidget* preview;
        } previews[] = {
            {"user preview", CMD_UserLookup, QVariant::fromValue(user), w.getUserLookupViewer()},
            {"group preview", CMD_GroupLookup, QVariant::fromValue(groupLink),
             w.getGroupLookupViewer()},
            {"channel preview", CMD_ChannelLookup, QVariant::fromValue(channelLink),
             w.getChannelLookupViewer()},
        };
        for (const auto& preview : previews) {
            w.commandResponse(preview.answer, preview.value);
            QTRY_VERIFY2(preview.preview->isVisible(), preview.screen);
            check(preview.screen, withPopup(&w));
            closePopup();
        }

        // The forced-update notice.
        w.commandResponse(CMD_ForceUpdate, QVariant(true));
        check("forced update", {w.getForceUpdateError()});
        QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    }

    // The group tab before the first group: its header button, the notice
    // that there is none yet and the button under it are read by name, in
    // the order they stand.
    void emptyGroupTabReadsWhole()
    {
        MessengerMainWindow w;
        w.resize(1100, 750);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SidePanel* side = w.getSidePanel();
        QTest::mouseClick(side->getGroupButton(), Qt::LeftButton);
        GroupTab* tab = side->getGroupTab();
        QTRY_VERIFY(tab->isVisible() && tab->emptyStateShown());
        const QSet<QObject*> tree = inTree(&w);
        QStringList read;
        for (QWidget* shown : std::initializer_list<QWidget*>{
                 tab->headerNewGroupButton(), tab->emptyNotice(), tab->emptyNewGroupButton()}) {
            QVERIFY(shown->isVisible());
            QVERIFY2(tree.contains(shown), qPrintable(describe(shown)));
            read << QAccessible::queryAccessibleInterface(shown)->text(QAccessible::Name);
        }
        const QString newGroup = GroupTab::tr("_NewGroup");
        QCOMPARE(read, QStringList({newGroup, GroupTab::tr("_NoGroupYet"), newGroup}));
        QCOMPARE(QAccessible::queryAccessibleInterface(tab->emptyNewGroupButton())->role(),
                 QAccessible::Button);

        // A search that finds no group says so, also to a screen reader.
        QLineEdit* search = side->getSearchBar()->getInput();
        QTest::mouseClick(search, Qt::LeftButton);
        QTest::keyClicks(search, "zzz");
        QLabel* none = nullptr;
        QTRY_VERIFY([&] {
            for (QLabel* label : tab->findChildren<QLabel*>())
                if (label->isVisible() && label->text() == GroupTab::tr("No chat find."))
                    none = label;
            return none != nullptr;
        }());
        QVERIFY2(inTree(&w).contains(none), qPrintable(describe(none)));
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
