// Three people against the standalone local service and its chat server: A
// at the program (the main window with a real core in this process), B and C
// on line-driven cores. A makes a private group from the side menu, picks B
// and C in the group profile's contact picker and talks with B; A makes B a
// manager through the add-manager picker, renames the group and removes C.
// B sees the group, its messages and each change without a restart. The
// window is driven only by what a person clicks and types.
#include "chat/chatmember.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/customtextedit.h"
#include "chat/grouptab.h"
#include "chat/sendername.h"
#include "chatserver.h"
#include "corematches.h"
#include "screens/creategroup.h"
#include "screens/editgroup.h"
#include "screens/groupprofile.h"
#include "shell/failuretoast.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/popupwarning.h"
#include "widgets/toastmessage.h"
#include "windowpeerstack.h"

#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const QString kA = QStringLiteral("491700000051");
const QString kB = QStringLiteral("491700000052");
const QString kC = QStringLiteral("491700000053");
// A contact of A's who never signed up.
const QString kD = QStringLiteral("491700000059");
const QString kName = QStringLiteral("Reading circle");
const QString kNewName = QStringLiteral("Reading circle 2");

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QStringList idsOf(const QList<ChatMember*>& rows)
{
    QStringList ids;
    for (const ChatMember* row : rows)
        ids << row->getMemberId();
    ids.sort();
    return ids;
}

QString membersText(int count)
{
    return QString::number(count) + QLatin1Char(' ') +
           QCoreApplication::translate("ChatWindowTitle", "_members");
}

// A members answer of a line-driven core for the group.
CoreProcess::Match membersOf(const QString& jid, const std::function<bool(QJsonObject)>& holds)
{
    return [jid, holds](const QJsonObject& line) {
        const QJsonObject value = line.value("value").toObject();
        return line.value("command").toInt() == CMD_GroupInfoMembers &&
               value.value("info").toObject().value("GroupJID").toString() == jid &&
               holds(value.value("members").toObject());
    };
}

} // namespace

class TestGroupWindowEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void threePeopleMeet();
    void groupMadeFromTheSideMenu();
    void membersPickedInTheProfile();
    void contactWithoutAccountIsRefusedAloud();
    void groupTalks();
    void memberMadeManagerThroughThePicker();
    void renameReachesTheMembers();
    void removedMemberLeavesTheLists();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    GroupProfile* openProfile();
    void closeProfile(GroupProfile* profile);
    // Opens the picker through the button, ticks the people and confirms.
    void pick(FlatButton* opener, GroupProfile* profile, const QStringList& people);

    std::unique_ptr<WindowPeerStack> stack;
    MessengerMainWindow* window = nullptr;
    CoreProcess* b = nullptr;
    CoreProcess* c = nullptr;
    QString groupId;
};

void TestGroupWindowEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    stack = std::make_unique<WindowPeerStack>(kA, kB);
    QVERIFY(stack->installCatalogue());
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    window = stack->window();
    b = stack->peer();
}

void TestGroupWindowEndToEnd::cleanupTestCase()
{
    stack.reset();
}

GroupProfile* TestGroupWindowEndToEnd::openProfile()
{
    return stack->openGroupProfile();
}

void TestGroupWindowEndToEnd::closeProfile(GroupProfile* profile)
{
    profile->backButtonPressed();
    QTRY_VERIFY(profile->isHidden());
}

void TestGroupWindowEndToEnd::pick(FlatButton* opener, GroupProfile* profile,
                                   const QStringList& people)
{
    QTRY_VERIFY_WITH_TIMEOUT(opener->isVisible(), 30000);
    click(opener);
    ContactSelect* picker = profile->contactPicker();
    QVERIFY(picker);
    QTRY_VERIFY(picker->isVisible());
    for (const QString& person : people) {
        QVERIFY2(picker->row(person), qPrintable(person));
        AvatarViewer* avatar = picker->row(person)->getAvatar();
        QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    }
    QCOMPARE(picker->selectedIds(), people);
    click(picker->inviteButton());
    QVERIFY(picker->isHidden());
}

void TestGroupWindowEndToEnd::threePeopleMeet()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("A and B did not meet")));
    c = stack->addPeer(QStringLiteral("C"), kC, QStringLiteral("Cy"));
    QVERIFY2(c, qPrintable(failure("A and C did not meet")));
}

void TestGroupWindowEndToEnd::groupMadeFromTheSideMenu()
{
    CreateGroup* form = stack->newGroupFormNamed(kName);
    QVERIFY(form);
    click(form->createButton());
    QTRY_VERIFY(form->isHidden());

    // The new group's chat opens by itself, in the group tab.
    QTRY_VERIFY2_WITH_TIMEOUT(chatWindow() &&
                                  chatWindow()->getChatId().startsWith(QStringLiteral("pri_") + kA),
                              qPrintable(failure("the new group's chat did not open")), 30000);
    groupId = chatWindow()->getChatId();
    QCOMPARE(window->getSidePanel()->getCurrentTab(), int(SidePanel::Groups));
    QTRY_COMPARE(chatWindow()->title()->titleText(), kName);
}

void TestGroupWindowEndToEnd::membersPickedInTheProfile()
{
    QVERIFY(!groupId.isEmpty());
    GroupProfile* profile = openProfile();
    QVERIFY(profile);
    const int fromB = b->lineCount();
    const int fromC = c->lineCount();
    pick(profile->addMemberButton(), profile, {kB, kC});
    QVERIFY2(b->waitFor(groupAnswer(CMD_GroupAdded, groupId), 30000, fromB) >= 0,
             qPrintable(failure("B does not see the group")));
    QVERIFY2(c->waitFor(groupAnswer(CMD_GroupAdded, groupId), 30000, fromC) >= 0,
             qPrintable(failure("C does not see the group")));
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(profile->memberRows()), QStringList({kB, kC}), 30000);
    QCOMPARE(idsOf(profile->managerRows()), QStringList({kA}));
    QTRY_COMPARE(chatWindow()->title()->subtitleText(), membersText(3));
    QTest::qWait(400); // the slide
    QVERIFY(stack->saveShot(QStringLiteral("group-e2e-members.png")));
    closeProfile(profile);
}

void TestGroupWindowEndToEnd::contactWithoutAccountIsRefusedAloud()
{
    QVERIFY(!groupId.isEmpty());
    // A keeps a number that has no account among the contacts; the picker
    // offers it like any other contact.
    Contact d;
    d.setNumber(kD);
    d.setFirstName(QStringLiteral("Dee"));
    emit window->command(CMD_AddContact, QVariant::fromValue(d));
    QTRY_VERIFY_WITH_TIMEOUT(!AddressBook::getInstance()->contact(kD).getNumber().isEmpty(), 30000);

    GroupProfile* profile = openProfile();
    QVERIFY(profile);
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(profile->memberRows()), QStringList({kB, kC}), 30000);
    QSignalSpy told(window->getFailureToast(), &FailureToast::failureShown);
    pick(profile->addMemberButton(), profile, {kD});
    // The service refuses the account it does not know, and A hears of it.
    QTRY_VERIFY2_WITH_TIMEOUT(told.count() == 1,
                              qPrintable(failure("A was not told of the refusal")), 30000);
    QCOMPARE(told.first().first().toString(), FailureToast::failureText(CMD_GroupAddMember, 400));
    QVERIFY(ToastMessage::getInstance()->isVisible());
    QCOMPARE(ToastMessage::getInstance()->textLabel()->text(), told.first().first().toString());
    QVERIFY(stack->saveShot(QStringLiteral("group-e2e-refused-member.png")));
    // Nobody was added.
    QCOMPARE(idsOf(profile->memberRows()), QStringList({kB, kC}));
    QCOMPARE(idsOf(profile->managerRows()), QStringList({kA}));
    QCOMPARE(told.count(), 1);
    closeProfile(profile);
}

void TestGroupWindowEndToEnd::groupTalks()
{
    // Said until B, in the room by now or soon, hears one of them.
    bool heard = false;
    for (int attempt = 1; attempt <= 20 && !heard; ++attempt) {
        const QString text = QStringLiteral("chapter one? (%1)").arg(attempt);
        const int from = b->lineCount();
        WindowPeerStack::typeText(chatWindow()->input(), text);
        QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
        heard = b->waitFor(pairWithBody(text), 6000, from) >= 0;
    }
    QVERIFY2(heard, qPrintable(failure("B never heard the group")));

    // B's answer reaches A's board.
    const QString answer = QStringLiteral("chapter two");
    b->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                         {"MINOR_TYPE", "TEXT"},
                                         {"FROM", groupId},
                                         {"MESSAGE_BODY", answer}});
    QTRY_VERIFY2_WITH_TIMEOUT(stack->bubbleWithText(answer),
                              qPrintable(failure("B's answer never reached A")), 30000);
    QCOMPARE(stack->bubbleWithText(answer)->getSide(), 1);

    // C answers too, said until it arrives: each answer is named by its
    // sender, in the sender's own colour.
    QString third;
    for (int attempt = 1; attempt <= 10 && third.isEmpty(); ++attempt) {
        const QString text = QStringLiteral("chapter three (%1)").arg(attempt);
        c->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                             {"MINOR_TYPE", "TEXT"},
                                             {"FROM", groupId},
                                             {"MESSAGE_BODY", text}});
        if (QTest::qWaitFor([&] { return stack->bubbleWithText(text) != nullptr; }, 6000))
            third = text;
    }
    QVERIFY2(!third.isEmpty(), qPrintable(failure("C's answer never reached A")));
    ChatMessageWidget* fromB = stack->bubbleWithText(answer);
    ChatMessageWidget* fromC = stack->bubbleWithText(third);
    QTRY_VERIFY(!fromB->senderText().isEmpty() && !fromC->senderText().isEmpty());
    QVERIFY(fromB->senderText() != fromC->senderText());
    // Neither has a nickname: each is named as A knows him, on his bubble as
    // in the notice that he was added.
    const QString bo = QStringLiteral("Bo");
    const QString cy = QStringLiteral("Cy");
    QTRY_COMPARE_WITH_TIMEOUT(fromB->senderText(), bo, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(fromC->senderText(), cy, 30000);
    for (const QString& name : {bo, cy})
        QVERIFY2(stack->bubbleWithText(WindowPeerStack::noticeText("_NoticeAdded", name)),
                 qPrintable(name));
    const SenderName* nameB = fromB->findChild<SenderName*>();
    const SenderName* nameC = fromC->findChild<SenderName*>();
    QVERIFY(nameB && nameC);
    QCOMPARE(nameB->colour(), ChatMessageWidget::userColor(fromB->getUserId()));
    QCOMPARE(nameC->colour(), ChatMessageWidget::userColor(fromC->getUserId()));
    QVERIFY(stack->saveShot(QStringLiteral("group-e2e-senders.png")));
    // Each name has the room it asks for and shows whole, even where it is
    // wider than the text under it.
    for (const SenderName* name : {nameB, nameC}) {
        QVERIFY(name->width() >= name->sizeHint().width());
        QCOMPARE(name->shownText(), name->text());
    }
}

void TestGroupWindowEndToEnd::memberMadeManagerThroughThePicker()
{
    GroupProfile* profile = openProfile();
    QVERIFY(profile);
    QTRY_VERIFY_WITH_TIMEOUT(!profile->memberRows().isEmpty(), 30000);
    const int from = b->lineCount();
    pick(profile->addManagerLink(), profile, {kB});
    QTRY_COMPARE_WITH_TIMEOUT(idsOf(profile->managerRows()), QStringList({kA, kB}), 30000);
    QCOMPARE(idsOf(profile->memberRows()), QStringList({kC}));
    // B's own program learns that it manages the group.
    QVERIFY2(b->waitFor(membersOf(groupId,
                                  [](const QJsonObject& members) {
                                      return members.value(kB).toString() == QLatin1String("ADMIN");
                                  }),
                        30000, from) >= 0,
             qPrintable(failure("B was not told of its new role")));
    // A's board tells of it, naming B as A knows B.
    QTRY_VERIFY_WITH_TIMEOUT(stack->bubbleWithText(WindowPeerStack::noticeText(
                                 "_NoticeMadeManager", QStringLiteral("Bo"))),
                             30000);
    closeProfile(profile);
}

void TestGroupWindowEndToEnd::renameReachesTheMembers()
{
    GroupProfile* profile = openProfile();
    QVERIFY(profile);
    const int from = b->lineCount();
    click(profile->editLink());
    EditGroup* editor = profile->nameEditor();
    QTRY_VERIFY(editor->isVisible());
    click(editor->nameField());
    QTest::keyClick(editor->nameField(), Qt::Key_End);
    WindowPeerStack::typeText(editor->nameField(), QStringLiteral(" 2"));
    click(editor->submitButton());
    QTRY_VERIFY(editor->isHidden());
    QTRY_COMPARE_WITH_TIMEOUT(chatWindow()->title()->titleText(), kNewName, 30000);
    QTRY_COMPARE(profile->nameLabel()->text(), kNewName);
    // B's group data changes without a restart.
    QVERIFY2(b->waitFor(
                 [](const QJsonObject& line) {
                     const QJsonObject value = line.value("value").toObject();
                     return line.value("command").toInt() == CMD_GroupGetData &&
                            value.value("GroupName").toString() == kNewName;
                 },
                 30000, from) >= 0,
             qPrintable(failure("B did not see the new name")));
    closeProfile(profile);
}

void TestGroupWindowEndToEnd::removedMemberLeavesTheLists()
{
    GroupProfile* profile = openProfile();
    QVERIFY(profile);
    ChatMember* row = nullptr;
    for (ChatMember* member : profile->memberRows()) {
        if (member->getMemberId() == kC)
            row = member;
    }
    QVERIFY(row);
    QVERIFY(row->isDeletable());
    const int fromB = b->lineCount();
    const int fromC = c->lineCount();
    // The pointer comes over the row: its delete link shows.
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(row, &enter);
    QVERIFY(row->deleteText()->isVisible());
    QTest::mousePress(row->deleteText(), Qt::LeftButton);
    QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
    click(PopUpWarning::getInstance()->yesButton());
    QTRY_VERIFY(profile->memberRows().isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(chatWindow()->title()->subtitleText(), membersText(2), 30000);
    // A's board names C as A knows C.
    QTRY_VERIFY_WITH_TIMEOUT(
        stack->bubbleWithText(WindowPeerStack::noticeText("_NoticeRemoved", QStringLiteral("Cy"))),
        30000);
    // So does the group's row in the list.
    ChatWidget* groupRow = window->getSidePanel()->getGroupTab()->row(groupId);
    QVERIFY(groupRow);
    QTRY_COMPARE_WITH_TIMEOUT(groupRow->lastMessageText(),
                              WindowPeerStack::noticeText("_NoticeRemoved", QStringLiteral("Cy")),
                              30000);
    QTest::qWait(400); // the slide
    QVERIFY(stack->saveShot(QStringLiteral("group-e2e-removed.png")));

    // C learns it is out; B's member list follows.
    QVERIFY2(c->waitFor(
                 [this](const QJsonObject& line) {
                     const QJsonObject value = line.value("value").toObject();
                     return line.value("command").toInt() == CMD_GroupGetData &&
                            value.value("GroupJID").toString() == groupId &&
                            value.value("_removed").toBool();
                 },
                 30000, fromC) >= 0,
             qPrintable(failure("C was not told of its removal")));
    QVERIFY2(b->waitFor(membersOf(groupId,
                                  [](const QJsonObject& members) {
                                      return members.size() == 2 && !members.contains(kC);
                                  }),
                        30000, fromB) >= 0,
             qPrintable(failure("B's member list still holds C")));
    closeProfile(profile);
}

QTEST_MAIN(TestGroupWindowEndToEnd)
#include "tst_groupwindowendtoend.moc"
