// Channels between two people on the standalone local service and its chat
// server: the main window with a real core in this process (the follower)
// and a line-driven core in another (the owner). The follower finds the
// owner's channel in the category it was made in, follows it, reads a post
// and a poll with its options, votes and sees the chart, likes the post; is
// made an administrator and back, the panel changing without a restart;
// mutes the channel from the strip; reaches a second channel by clicking its
// mention in a message; and is finally removed by the owner. Everything on
// the window's side is done with the mouse and keys.
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/messagebody.h"
#include "chatserver.h"
#include "corematches.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/poll/pollchoicewidget.h"
#include "screens/poll/polloptionwidget.h"
#include "screens/poll/pollresultwidget.h"
#include "screens/poll/pollwidget.h"
#include "shell/channellookupviewer.h"
#include "shell/channeltab.h"
#include "shell/chattab.h"
#include "shell/menuitem.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "shell/slidingmenu.h"
#include "shell/topmenu.h"
#include "widgets/checkbox.h"
#include "widgets/doublestatebutton.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/label.h"
#include "widgets/radiobutton.h"
#include "windowpeerstack.h"

#include <QDir>
#include <QJsonArray>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const QString kUser = QStringLiteral("491700000061");
const QString kPeer = QStringLiteral("491700000062");
const QString kChannel = QStringLiteral("goalsdaily");
const QString kSecond = QStringLiteral("matchnotes");
const int kCmdChannelCreate = 19;
const int kCmdChannelAdded = 24;
const int kCmdChannelRemoveMember = 27;
const int kCmdChannelChangeMemberRole = 28;
const int kCmdSendPollToChannel = 36;

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QJsonObject channelFields(const QString& id, const QString& name, const QString& category)
{
    return {{"ChannelID", id},         {"Name", name},          {"Followed", "1"},
            {"MyRole", "OWNER"},       {"AvatarURL", ""},       {"AvatarThumbnailURL", ""},
            {"Description", "Scores"}, {"MembersCount", "1"},   {"CreationDate", "0"},
            {"ReplyAllowed", "0"},     {"CategoryId", category}};
}

} // namespace

class TestChannelsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bothSignUpAndFindEachOther();
    void channelFoundInItsCategoryAndFollowed();
    void postAndPollReadVotedAndCharted();
    void likeCountedOnceAndKept();
    void madeAnAdministratorAndBackWithoutARestart();
    void mutedFromTheStrip();
    void secondChannelReachedThroughItsMention();
    void removedByTheOwner();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    ChatMessageWidget* bubbleWithText(const QString& text) const
    {
        return stack->bubbleWithText(text);
    }
    ChatMessageWidget* pollBubble() const;
    void openChannel(const QString& id);
    void shot(const QString& name);
    // The owner's core runs a command and answers with the named answer.
    bool peerDoes(int command, const QJsonValue& value, int answer, const QString& containing);

    QTranslator translator;
    std::unique_ptr<WindowPeerStack> stack;
    MessengerMainWindow* window = nullptr;
    CoreProcess* peer = nullptr;
    QString postText = QStringLiteral("three goals before the break");
};

void TestChannelsEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(translator.load(QStringLiteral(":/Lng/quorvel_persian.qm")));
    QCoreApplication::installTranslator(&translator);
    stack = std::make_unique<WindowPeerStack>(kUser, kPeer);
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    window = stack->window();
    peer = stack->peer();
    QVERIFY(QDir().mkpath(QStringLiteral(QUORVEL_BINARY_DIR "/screenshots")));
}

void TestChannelsEndToEnd::cleanupTestCase()
{
    stack.reset();
}

void TestChannelsEndToEnd::shot(const QString& name)
{
    QApplication::processEvents();
    QVERIFY(window->grab().save(QStringLiteral(QUORVEL_BINARY_DIR "/screenshots/") + name));
}

bool TestChannelsEndToEnd::peerDoes(int command, const QJsonValue& value, int answer,
                                    const QString& containing)
{
    const int from = peer->lineCount();
    peer->send(command, value);
    return peer->waitFor(answerWith(answer, containing), 30000, from) >= 0;
}

ChatMessageWidget* TestChannelsEndToEnd::pollBubble() const
{
    ChatWindow* open = chatWindow();
    if (!open)
        return nullptr;
    for (ChatMessageWidget* bubble : open->findChildren<ChatMessageWidget*>()) {
        if (bubble->pollContent() && !bubble->pollContent()->optionRows().isEmpty())
            return bubble;
    }
    return nullptr;
}

void TestChannelsEndToEnd::openChannel(const QString& id)
{
    SidePanel* side = window->getSidePanel();
    click(side->getChannelButton());
    QTRY_VERIFY(side->getChannelTab()->row(id));
    ChatWidget* row = side->getChannelTab()->row(id);
    QTRY_VERIFY(row->isVisible());
    click(row);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == id);
}

void TestChannelsEndToEnd::bothSignUpAndFindEachOther()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
}

void TestChannelsEndToEnd::channelFoundInItsCategoryAndFollowed()
{
    QVERIFY2(peerDoes(kCmdChannelCreate, channelFields(kChannel, "Goals daily", "2"),
                      kCmdChannelAdded, "\"OWNER\""),
             qPrintable(failure("the owner did not make the channel")));

    // The directory from the side menu; the channel is under Sport, where
    // it was made.
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
    QStringList ids;
    ChannelCategoryWidget* sport = nullptr;
    for (ChannelCategoryWidget* tile : directory->tiles()) {
        ids << tile->getCategory().getCategoryID();
        if (tile->getCategory().getCategoryID() == QLatin1String("2"))
            sport = tile;
    }
    // The top level in the order of its ids; Football waits under Sport.
    QCOMPARE(ids, QStringList({"1", "2", "3"}));
    QVERIFY(sport);
    QTRY_VERIFY(!menu->isVisible());
    click(sport);
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
    shot(QStringLiteral("channels-e2e-directory-sport.png"));
    click(found->followButton());
    SidePanel* side = window->getSidePanel();
    QTRY_VERIFY2_WITH_TIMEOUT(side->getChannelTab()->row(kChannel),
                              qPrintable(failure("the followed channel is not listed")), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(chatWindow() && chatWindow()->getChatId() == kChannel, 30000);
    QTRY_VERIFY(chatWindow()->strip()->isVisible());
}

void TestChannelsEndToEnd::postAndPollReadVotedAndCharted()
{
    QVERIFY2(peerDoes(kCmdSendMessage,
                      QJsonObject{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                                  {"MINOR_TYPE", "TEXT"},
                                  {"CHANNEL_ID", kChannel},
                                  {"MESSAGE_BODY", postText}},
                      kCmdMessageAdded, postText),
             qPrintable(failure("the owner did not post")));
    QTRY_VERIFY2_WITH_TIMEOUT(bubbleWithText(postText),
                              qPrintable(failure("the post never reached the follower")), 60000);

    // The poll comes live, whole: its question and both options.
    const QJsonObject poll{
        {"PollID", ""},
        {"Question", "Who wins?"},
        {"Type", "radio"},
        {"CommentBoxCharsLimit", 0},
        {"Enable", 1},
        {"HaveCommentBox", 0},
        {"Options",
         QJsonArray{QJsonObject{{"OptionID", "1"}, {"Text", "Home"}, {"DisplayCommentBox", 0}},
                    QJsonObject{{"OptionID", "2"}, {"Text", "Away"}, {"DisplayCommentBox", 0}}}}};
    QVERIFY2(peerDoes(kCmdSendPollToChannel,
                      QJsonObject{{"channel", kChannel}, {"poll", poll}, {"viewResults", true}},
                      kCmdMessageAdded, QStringLiteral("Who wins?")),
             qPrintable(failure("the owner did not post the poll")));
    QTRY_VERIFY2_WITH_TIMEOUT(pollBubble(), qPrintable(failure("no poll reached the follower")),
                              60000);
    PollWidget* shown = pollBubble()->pollContent();
    QCOMPARE(shown->optionRows().size(), 2);
    QVERIFY(shown->questionView()->toPlainText().contains(QStringLiteral("Who wins?")));
    click(shown->optionRows().at(1)->radioButton()->imageLabel());
    click(shown->voteButton());
    QTRY_VERIFY2_WITH_TIMEOUT(shown->isLocked(), qPrintable(failure("the vote was not taken")),
                              30000);
    click(shown->resultsButton());
    QTRY_VERIFY_WITH_TIMEOUT(shown->lastResultWidget(), 30000);
    shot(QStringLiteral("channels-e2e-poll-chart.png"));

    // The owner sees the same tally.
    const QString pollId = shown->getPollData().getPollId();
    const int from = peer->lineCount();
    peer->sendLine(QJsonObject{{"pollResults", pollId}});
    const int tally = peer->waitFor(eventWith("pollResults", "pollId", pollId), 30000, from);
    QVERIFY2(tally >= 0, qPrintable(failure("the owner got no results")));
    QCOMPARE(
        peer->lines().at(tally).value("value").toObject().value("TotalVotes").toVariant().toInt(),
        1);
    shown->lastResultWidget()->close();
}

void TestChannelsEndToEnd::likeCountedOnceAndKept()
{
    ChatMessageWidget* post = bubbleWithText(postText);
    QVERIFY(post && post->likeButton());
    click(post->likeButton());
    QCOMPARE(post->likesText(), QStringLiteral("1"));
    // The count the service keeps comes back with the next fetch and stays.
    QTest::qWait(5000);
    QCOMPARE(bubbleWithText(postText)->likesText(), QStringLiteral("1"));
}

void TestChannelsEndToEnd::madeAnAdministratorAndBackWithoutARestart()
{
    QVERIFY(chatWindow()->followerPanel());
    const QJsonObject promote{{"channel", kChannel}, {"user", kUser}, {"role", "ADMIN"}};
    QVERIFY2(peerDoes(kCmdChannelChangeMemberRole, promote, kCmdChannelChangeMemberRole, kUser),
             qPrintable(failure("the owner could not promote")));
    QTRY_VERIFY2_WITH_TIMEOUT(chatWindow()->adminPanel() && !chatWindow()->followerPanel(),
                              qPrintable(failure("the panel did not change")), 30000);
    QVERIFY(chatWindow()->strip()->isHidden());
    QVERIFY(chatWindow()->inputBar()->isVisible());
    click(chatWindow()->title());
    QTRY_VERIFY(chatWindow()->adminPanel()->isVisible());
    QTest::qWait(400); // the slide
    shot(QStringLiteral("channels-e2e-made-admin.png"));
    chatWindow()->adminPanel()->backButtonPressed();
    QTRY_VERIFY(chatWindow()->adminPanel()->isHidden());

    const QJsonObject demote{{"channel", kChannel}, {"user", kUser}, {"role", "MEMBER"}};
    QVERIFY2(peerDoes(kCmdChannelChangeMemberRole, demote, kCmdChannelChangeMemberRole, kUser),
             qPrintable(failure("the owner could not demote")));
    QTRY_VERIFY2_WITH_TIMEOUT(chatWindow()->followerPanel() && !chatWindow()->adminPanel(),
                              qPrintable(failure("the panel did not change back")), 30000);
    QTRY_VERIFY(chatWindow()->strip()->isVisible());
}

void TestChannelsEndToEnd::mutedFromTheStrip()
{
    const QString mute = QCoreApplication::translate("ChatWindow", "Mute");
    const QString unmute = QCoreApplication::translate("ChatWindow", "Unmute");
    QCOMPARE(chatWindow()->strip()->text(), mute);
    click(chatWindow()->strip());
    QCOMPARE(chatWindow()->strip()->text(), unmute);
    // The row and the follower's panel say the same.
    QTRY_VERIFY_WITH_TIMEOUT(stack->answers().contains(CMD_ChannelUpdateMute), 30000);
    QTRY_VERIFY(chatWindow()->followerPanel()->muteSwitch()->isChecked());
    shot(QStringLiteral("channels-e2e-muted.png"));
}

void TestChannelsEndToEnd::secondChannelReachedThroughItsMention()
{
    QVERIFY2(peerDoes(kCmdChannelCreate, channelFields(kSecond, "Match notes", "1"),
                      kCmdChannelAdded, kSecond),
             qPrintable(failure("the owner did not make the second channel")));
    const QString text = QStringLiteral("notes are in @") + kSecond;
    const int from = peer->lineCount();
    peer->send(kCmdSendMessage, textMessage(kUser, text));
    QVERIFY2(peer->waitFor(pairWithBody(text), 30000, from) >= 0,
             qPrintable(failure("the owner did not write")));
    SidePanel* side = window->getSidePanel();
    click(side->getChatButton());
    QTRY_VERIFY_WITH_TIMEOUT(side->getChatTab()->row(kPeer), 60000);
    click(side->getChatTab()->row(kPeer));
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == kPeer);
    ChatMessageWidget* message = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (message =
             [this] {
                 for (ChatMessageWidget* b : chatWindow()->findChildren<ChatMessageWidget*>())
                     if (b->bodyWidget()->toPlainText().contains(QStringLiteral("@") + kSecond))
                         return b;
                 return static_cast<ChatMessageWidget*>(nullptr);
             }()),
        60000);
    // A click on the mention itself.
    MessageBody* body = message->bodyWidget();
    QTextCursor at = body->document()->find(QStringLiteral("@") + kSecond);
    QVERIFY(!at.isNull());
    at.setPosition(at.selectionStart() + 3);
    const QPoint point = body->cursorRect(at).center();
    QTest::mousePress(body, Qt::LeftButton, Qt::NoModifier, point);
    QTest::mouseRelease(body, Qt::LeftButton, Qt::NoModifier, point);
    ChannelLookupViewer* preview = window->getChannelLookupViewer();
    QTRY_VERIFY2_WITH_TIMEOUT(preview->isVisible(),
                              qPrintable(failure("the mention opened no preview")), 30000);
    QCOMPARE(preview->nameLabel()->text(), QStringLiteral("Match notes"));
    shot(QStringLiteral("channels-e2e-channel-preview.png"));
    click(preview->joinButton());
    QTRY_VERIFY_WITH_TIMEOUT(side->getChannelTab()->row(kSecond), 30000);
}

void TestChannelsEndToEnd::removedByTheOwner()
{
    openChannel(kChannel);
    QVERIFY2(peerDoes(kCmdChannelRemoveMember, QJsonObject{{"channel", kChannel}, {"user", kUser}},
                      kCmdChannelRemoveMember, kUser),
             qPrintable(failure("the owner could not remove the follower")));
    QTRY_VERIFY2_WITH_TIMEOUT(!window->getSidePanel()->getChannelTab()->row(kChannel),
                              qPrintable(failure("the removed follower still lists the channel")),
                              30000);
}

QTEST_MAIN(TestChannelsEndToEnd)
#include "tst_channelsendtoend.moc"
