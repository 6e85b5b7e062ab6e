// Two people against the standalone local service and its chat server: the
// main window with a real core on its own thread in this process, and a
// line-driven core in another. The other person makes a private group with
// the window's user and a channel; the window's user sees the group in the
// group tab and hears its messages, finds the channel in the directory,
// follows it and reads its post; removed from the group, it hears nothing
// more. Then the window's user makes a group of its own from the side menu,
// adds the other person through the contact picker and removes that person
// again through the group's profile.
// Screens are driven with mouse and keys wherever the program leads to them.
#include "Managers/Contact/contact.h"
#include "chat/chatmember.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "chat/grouptab.h"
#include "chatserver.h"
#include "corematches.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelprofilenormal.h"
#include "screens/creategroup.h"
#include "screens/groupprofile.h"
#include "shell/channeltab.h"
#include "shell/contentpanel.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "widgets/avatarviewer.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/phonetext.h"
#include "widgets/popupwarning.h"
#include "windowpeerstack.h"

#include <QDir>
#include <QJsonArray>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const QString kUser = QStringLiteral("491700000041");
const QString kPeer = QStringLiteral("491700000042");
const QString kChannel = QStringLiteral("weekendnews");

// What the board says when someone is removed, naming him as the window's
// user knows him.
QString removalNotice(const QString& name)
{
    return WindowPeerStack::noticeText("_NoticeRemoved", name);
}

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

} // namespace

class TestScreensEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bothSignUpAndFindEachOther();
    void peersGroupIsListedAndHeard();
    void channelFoundInTheDirectoryAndFollowed();
    void removedFromTheGroupHearsNothingMore();
    void ownGroupMadeAndMemberRemoved();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    ChatMessageWidget* bubbleWithText(const QString& text) const
    {
        return stack->bubbleWithText(text);
    }
    static void typeText(QWidget* input, const QString& text)
    {
        WindowPeerStack::typeText(input, text);
    }
    // The peer says attempts of the text in the group until the window's
    // board shows one: a member hears only what is said while it is in the
    // room, and nothing tells the test when the window's core entered it.
    bool sayUntilShown(const QString& text);
    void shot(const QString& name);

    std::unique_ptr<WindowPeerStack> stack;
    MessengerMainWindow* window = nullptr;
    CoreProcess* peer = nullptr;
    QString groupId;
};

void TestScreensEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    stack = std::make_unique<WindowPeerStack>(kUser, kPeer);
    QVERIFY(stack->installCatalogue());
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    window = stack->window();
    peer = stack->peer();
}

void TestScreensEndToEnd::cleanupTestCase()
{
    stack.reset();
}

void TestScreensEndToEnd::shot(const QString& name)
{
    QVERIFY(stack->saveShot(name));
}

bool TestScreensEndToEnd::sayUntilShown(const QString& text)
{
    for (int attempt = 1; attempt <= 20; ++attempt) {
        peer->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                                {"MINOR_TYPE", "TEXT"},
                                                {"FROM", groupId},
                                                {"MESSAGE_BODY", text}});
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 6000) {
            if (bubbleWithText(text))
                return true;
            QTest::qWait(50);
        }
    }
    return false;
}

void TestScreensEndToEnd::bothSignUpAndFindEachOther()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
}

void TestScreensEndToEnd::peersGroupIsListedAndHeard()
{
    int from = peer->lineCount();
    peer->send(CMD_GroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", "Weekend plans"}}},
                                            {"members", QJsonArray{kUser}}});
    const int created = peer->waitFor(CoreProcess::answer(CMD_GroupCreate), 30000, from);
    QVERIFY2(created >= 0, qPrintable(failure("the peer made no group")));
    groupId = peer->lines().at(created).value("value").toString();
    QVERIFY(!groupId.isEmpty());

    // The invitation brings the group to the window: a row in the group tab.
    SidePanel* side = window->getSidePanel();
    click(side->getGroupButton());
    QCOMPARE(side->getCurrentTab(), int(SidePanel::Groups));
    QTRY_VERIFY2_WITH_TIMEOUT(side->getGroupTab()->row(groupId),
                              qPrintable(failure("no group row in the window")), 30000);
    ChatWidget* row = side->getGroupTab()->row(groupId);
    QTRY_VERIFY(row->isVisible());
    click(row);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == groupId);
    QVERIFY(chatWindow()->inputBar()->isVisible());

    QVERIFY2(sayUntilShown(QStringLiteral("who brings the tent?")),
             qPrintable(failure("the peer's group message never reached the window")));
    QCOMPARE(bubbleWithText(QStringLiteral("who brings the tent?"))->getSide(), 1);

    // The window's answer reaches the peer through the room.
    from = peer->lineCount();
    typeText(chatWindow()->input(), QStringLiteral("I do"));
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    QVERIFY2(peer->waitFor(pairWithBody(QStringLiteral("I do")), 60000, from) >= 0,
             qPrintable(failure("the peer did not hear the window's answer")));
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(QStringLiteral("I do")), 20000);
    shot(QStringLiteral("screens-e2e-group.png"));

    // The group's profile over the window, from a click on its title.
    click(chatWindow()->title());
    GroupProfile* profile = chatWindow()->groupPanel();
    QVERIFY(profile);
    QTRY_VERIFY(profile->isVisible());
    QCOMPARE(profile->nameLabel()->text(), QStringLiteral("Weekend plans"));
    QTRY_VERIFY_WITH_TIMEOUT(!profile->memberRows().isEmpty(), 30000);
    QTest::qWait(400); // the slide
    shot(QStringLiteral("screens-e2e-groupprofile.png"));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());
}

void TestScreensEndToEnd::channelFoundInTheDirectoryAndFollowed()
{
    int from = peer->lineCount();
    peer->send(CMD_ChannelCreate, QJsonObject{{"ChannelID", kChannel},
                                              {"Name", "Weekend news"},
                                              {"Followed", "1"},
                                              {"MyRole", "OWNER"},
                                              {"AvatarURL", ""},
                                              {"AvatarThumbnailURL", ""},
                                              {"Description", "Trips"},
                                              {"MembersCount", "1"},
                                              {"CreationDate", "0"},
                                              {"ReplyAllowed", "0"},
                                              {"CategoryId", "1"}});
    QVERIFY2(
        peer->waitFor(answerWith(CMD_ChannelAdded, QStringLiteral("\"OWNER\"")), 30000, from) >= 0,
        qPrintable(failure("the peer did not make the channel")));

    // The directory from the side menu.
    click(window->getTopMenu()->getMenuButton());
    SlidingMenu* menu = window->getSlidingMenu();
    QTRY_VERIFY(menu->isVisible());
    MenuItem* directoryItem = nullptr;
    for (MenuItem* item : menu->findChildren<MenuItem*>()) {
        if (item->getId() == QLatin1String("ChannelList"))
            directoryItem = item;
    }
    QVERIFY(directoryItem);
    QTest::mousePress(directoryItem, Qt::LeftButton);
    ChannelCategoryPopUp* directory = window->getChannelDirectory();
    QTRY_VERIFY(directory->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(directory->tileCount() >= 1, 30000);
    ChannelCategoryWidget* news = nullptr;
    for (ChannelCategoryWidget* tile : directory->tiles()) {
        if (tile->getCategory().getCategoryID() == QLatin1String("1"))
            news = tile;
    }
    QVERIFY(news);
    QTRY_VERIFY(!menu->isVisible());
    shot(QStringLiteral("screens-e2e-directory.png"));

    click(news);
    ChannelAbstractPopUP* list = directory->channelList();
    ChannelAbstractWidget* found = nullptr;
    const auto findRow = [&] {
        for (QWidget* row : list->rows()) {
            auto* channel = qobject_cast<ChannelAbstractWidget*>(row);
            if (channel && channel->getChannelInfo().getId() == kChannel)
                found = channel;
        }
        return found != nullptr;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(findRow(), qPrintable(failure("the channel is not in its category")),
                              30000);
    QCOMPARE(found->nameLabel()->text(), QStringLiteral("Weekend news"));
    shot(QStringLiteral("screens-e2e-directory-news.png"));

    // Following it lists the channel, selected, with its window open.
    click(found->followButton());
    QVERIFY(directory->isHidden());
    SidePanel* side = window->getSidePanel();
    QTRY_VERIFY2_WITH_TIMEOUT(side->getChannelTab()->row(kChannel),
                              qPrintable(failure("the followed channel is not listed")), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(side->getCurrentTab(), int(SidePanel::Channels), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow() && chatWindow()->getChatId() == kChannel, 30000);

    // The owner posts; the follower reads it in the channel's window.
    from = peer->lineCount();
    const QString post = QStringLiteral("the bus leaves at eight");
    peer->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                                            {"MINOR_TYPE", "TEXT"},
                                            {"CHANNEL_ID", kChannel},
                                            {"MESSAGE_BODY", post}});
    QVERIFY2(peer->waitFor(answerWith(kCmdMessageAdded, post), 30000, from) >= 0,
             qPrintable(failure("the peer did not post")));
    QTRY_VERIFY2_WITH_TIMEOUT(bubbleWithText(post),
                              qPrintable(failure("the post never reached the follower")), 60000);
    QVERIFY(chatWindow()->strip()->isVisible());
    QVERIFY(chatWindow()->inputBar()->isHidden());
    shot(QStringLiteral("screens-e2e-channel.png"));

    click(chatWindow()->title());
    ChannelProfileNormal* profile = chatWindow()->followerPanel();
    QVERIFY(profile);
    QTRY_VERIFY(profile->isVisible());
    QTest::qWait(400); // the slide
    shot(QStringLiteral("screens-e2e-channelprofile.png"));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());
}

void TestScreensEndToEnd::removedFromTheGroupHearsNothingMore()
{
    QVERIFY(!groupId.isEmpty());
    SidePanel* side = window->getSidePanel();
    click(side->getGroupButton());
    ChatWidget* row = side->getGroupTab()->row(groupId);
    QVERIFY(row);
    QTRY_VERIFY(row->isVisible());
    click(row);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == groupId);

    peer->send(CMD_GroupRemoveMember, QJsonObject{{"jid", groupId}, {"user", kUser}});
    // The window learns it from the room: the input gives way to the strip
    // that offers to delete the history.
    QTRY_VERIFY2_WITH_TIMEOUT(chatWindow()->strip()->isVisible(),
                              qPrintable(failure("the window was not told of its removal")), 30000);
    QVERIFY(chatWindow()->inputBar()->isHidden());
    QCOMPARE(chatWindow()->strip()->text(),
             QCoreApplication::translate("ChatWindow", "_removeGroup"));
    // The room's notice of it shows on the board, in words.
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(removalNotice(PhoneText::number(kUser))), 20000);

    // The peer goes on talking in the room; the window hears none of it.
    const int from = peer->lineCount();
    const QString after = QStringLiteral("said after the removal");
    peer->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                            {"MINOR_TYPE", "TEXT"},
                                            {"FROM", groupId},
                                            {"MESSAGE_BODY", after}});
    // The room gives the peer its own message back: it went round.
    QVERIFY2(peer->waitFor(pairWithBody(after), 30000, from) >= 0,
             qPrintable(failure("the peer's message did not go round the room")));
    QTest::qWait(3000);
    QVERIFY(!bubbleWithText(after));
    for (const auto& answer : stack->answers().answers)
        QVERIFY(!answer.second.toString().contains(after));
    shot(QStringLiteral("screens-e2e-group-removed.png"));
}

void TestScreensEndToEnd::ownGroupMadeAndMemberRemoved()
{
    // "New group" from the side menu.
    CreateGroup* form = stack->newGroupFormNamed(QStringLiteral("Book club"));
    QVERIFY(form);
    shot(QStringLiteral("screens-e2e-creategroup.png"));
    click(form->createButton());
    QTRY_VERIFY(form->isHidden());

    // The new group is listed, and its window opens by itself.
    SidePanel* side = window->getSidePanel();
    QString ownId;
    QTRY_VERIFY2_WITH_TIMEOUT(
        [&] {
            for (const QString& id : side->getGroupTab()->rowIds()) {
                if (id != groupId)
                    ownId = id;
            }
            return !ownId.isEmpty();
        }(),
        qPrintable(failure("the window's own group is not listed")), 30000);
    QVERIFY(ownId.startsWith(QStringLiteral("pri_") + kUser));
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow() && chatWindow()->getChatId() == ownId, 30000);
    QCOMPARE(side->getCurrentTab(), int(SidePanel::Groups));
    GroupProfile* profile = stack->openGroupProfile();
    QVERIFY(profile);

    // The add-member button opens the contact picker; the peer is ticked
    // and invited.
    ContactSelect* picker = stack->openAddMemberPicker(profile);
    QVERIFY(picker);
    QTRY_VERIFY(picker->row(kPeer));
    AvatarViewer* avatar = picker->row(kPeer)->getAvatar();
    QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    int from = peer->lineCount();
    click(picker->inviteButton());
    QVERIFY2(peer->waitFor(groupAnswer(CMD_GroupAdded, ownId), 30000, from) >= 0,
             qPrintable(failure("the peer was not added")));
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());

    // Said until the peer, in the room by now or soon, hears one of them.
    bool heard = false;
    for (int attempt = 1; attempt <= 20 && !heard; ++attempt) {
        const QString text = QStringLiteral("first chapter (%1)").arg(attempt);
        from = peer->lineCount();
        typeText(chatWindow()->input(), text);
        QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
        heard = peer->waitFor(pairWithBody(text), 6000, from) >= 0;
    }
    QVERIFY2(heard, qPrintable(failure("the peer never heard the window's group")));

    // The member's row in the profile, its delete link and the question.
    click(chatWindow()->title());
    QTRY_VERIFY(profile->isVisible());
    ChatMember* member = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (ChatMember* m : profile->memberRows()) {
                if (m->getMemberId() == kPeer)
                    member = m;
            }
            return member != nullptr;
        }(),
        30000);
    QVERIFY(member->isDeletable());
    QTest::qWait(400); // the slide
    shot(QStringLiteral("screens-e2e-owngroupprofile.png"));
    from = peer->lineCount();
    // The pointer comes over the row: its delete link shows.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(member, &enter);
    QVERIFY(member->deleteText()->isVisible());
    QTest::mousePress(member->deleteText(), Qt::LeftButton);
    QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
    click(PopUpWarning::getInstance()->yesButton());
    QTRY_VERIFY(profile->memberRows().isEmpty());
    const int told = peer->waitFor(
        [&](const QJsonObject& line) {
            const QJsonObject value = line.value("value").toObject();
            return line.value("command").toInt() == CMD_GroupGetData &&
                   value.value("GroupJID").toString() == ownId && value.value("_removed").toBool();
        },
        30000, from);
    QVERIFY2(told >= 0, qPrintable(failure("the peer was not told of its removal")));
    // By the name the window's user gave the peer, not by number.
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(removalNotice(QStringLiteral("Bo"))), 20000);
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());

    from = peer->lineCount();
    const QString after = QStringLiteral("the peer must not hear this");
    typeText(chatWindow()->input(), after);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleWithText(after), 20000);
    QTest::qWait(3000);
    QCOMPARE(peer->count(pairWithBody(after), from), 0);
}

QTEST_MAIN(TestScreensEndToEnd)
#include "tst_screensendtoend.moc"
