// Through the accessibility tree, as a screen reader reads the program: every
// top-level screen and popup is opened the way a person opens it, and each
// visible button, tab, menu entry and input in it has a name; the kit's text
// and icon buttons are buttons, not labels.
#include "Managers/Chat/chatrecipient.h"
#include "chat/chatwindow.h"
#include "model/channelinfo.h"
#include "model/groupinfo.h"
#include "screens/channelcategorypopup.h"
#include "screens/contactprofile.h"
#include "shell/contentpanel.h"
#include "shell/enteractivationcode.h"
#include "shell/entermobilenumber.h"
#include "shell/intro.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/register.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/popupmanager.h"
#include "widgets/radiobutton.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
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
           (qobject_cast<MenuItem*>(w) && !qobject_cast<MenuItem*>(w)->getId().isEmpty());
}

QString describe(QWidget* w)
{
    QStringList chain;
    for (QWidget* p = w; p; p = p->parentWidget())
        chain << QString::fromLatin1(p->metaObject()->className()) +
                     (p->objectName().isEmpty() ? QString() : "#" + p->objectName());
    return chain.join(QStringLiteral(" < "));
}

// The nameless controls of what is shown now, and the kit buttons that do
// not read as buttons.
QStringList faults(const QList<QWidget*>& roots)
{
    QStringList out;
    for (QWidget* root : roots) {
        if (!root || !root->isVisible())
            continue;
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.prepend(root);
        for (QWidget* w : widgets) {
            if (!w->isVisible() || !isControl(w))
                continue;
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
        for (const QString& fault : faults(roots))
            found << screen + ": " + fault;
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
        side->setChannels({channel});

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

        // The forced-update notice.
        w.commandResponse(CMD_ForceUpdate, QVariant(true));
        check("forced update", {w.getForceUpdateError()});
        QVERIFY2(found.isEmpty(), qPrintable(found.join('\n')));
    }
};

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
