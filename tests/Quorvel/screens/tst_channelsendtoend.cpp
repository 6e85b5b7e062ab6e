// Channels between two people on the standalone local service and its chat
// server: the main window with a real core in this process and a line-driven
// core in another. First the window follows the core's channel: it finds the
// channel in the category it was made in, follows it, reads a post and a
// poll with its options, votes and sees the chart, likes the post and finds
// the count again after both programs restarted; is made an administrator
// and back, the panel changing without a restart; mutes the channel from the
// strip; reaches a second channel by clicking its mention in a message; and
// is removed by the owner. Then the window owns a channel: it makes it in a
// category, and once the core follows, makes it an administrator through the
// picker of the administrators' panel, takes that back and removes it as a
// follower. Everything on the window's side is done with the mouse and keys.
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/chatwindowtitle.h"
#include "chat/messagebody.h"
#include "chatserver.h"
#include "corematches.h"
#include "model/lvreply.h"
#include "model/message.h"
#include "model/messagepair.h"
#include "screens/channelabstractpopup.h"
#include "screens/channelabstractwidget.h"
#include "screens/channelcategorypopup.h"
#include "screens/channelcategorywidget.h"
#include "screens/channelmanagerwidget.h"
#include "screens/channelprofileadmin.h"
#include "screens/channelprofilenormal.h"
#include "screens/createchannel.h"
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
#include "widgets/avatarviewer.h"
#include "widgets/catalogues.h"
#include "widgets/checkbox.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/doublestatebutton.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/popupwarning.h"
#include "widgets/radiobutton.h"
#include "windowpeerstack.h"

#include <QDir>
#include <QElapsedTimer>
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
const QString kOwned = QStringLiteral("adasreview");
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
    void likeCountSurvivesBothRestarts();
    void madeAnAdministratorAndBackWithoutARestart();
    void mutedFromTheStrip();
    void secondChannelReachedThroughItsMention();
    void removedByTheOwner();
    void ownerMakesAChannelInACategory();
    void ownerMakesTheFollowerAnAdministratorThroughThePicker();
    void ownerRemovesAFollowerThroughThePicker();

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
    void chooseInPicker(ContactSelect* picker, const QString& number);
    ChannelProfileAdmin* openAdminPanel();
    // Opens the side menu and presses its entry; false when it has none.
    bool chooseFromMenu(const char* id);
    // The line of the peer's answer after `from` that satisfies the match.
    int peerAnswer(const CoreProcess::Match& match, int from);
    // The owner's core runs a command and answers with the named answer.
    bool peerDoes(int command, const QJsonValue& value, int answer, const QString& containing);

    std::unique_ptr<WindowPeerStack> stack;
    MessengerMainWindow* window = nullptr;
    CoreProcess* peer = nullptr;
    QString postText = QStringLiteral("three goals before the break");
};

void TestChannelsEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    // The catalogues and the direction as the program sets them at start.
    QVERIFY(Catalogues::install());
    stack = std::make_unique<WindowPeerStack>(kUser, kPeer);
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    window = stack->window();
    peer = stack->peer();
    QVERIFY(QDir().mkpath(QStringLiteral(QUORVEL_BINARY_DIR "/screenshots")));
}

void TestChannelsEndToEnd::cleanupTestCase()
{
    stack.reset();
    Catalogues::uninstall();
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
    SlidingMenu* menu = window->getSlidingMenu();
    QVERIFY(chooseFromMenu("ChannelList"));
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
    const auto heard = [this] {
        int added = 0;
        for (const auto& answer : stack->answers().answers) {
            const Message message = answer.first == CMD_MessagePairAdded
                                        ? answer.second.value<MessagePair>().getMessage()
                                        : answer.second.value<Message>();
            if ((answer.first == CMD_MessageAdded || answer.first == CMD_MessagePairAdded) &&
                message.getMessageBody().contains(postText))
                ++added;
        }
        return QStringLiteral("the post never reached the follower (its core answered it %1 "
                              "times, the open chat is %2)")
            .arg(added)
            .arg(chatWindow() ? chatWindow()->getChatId() : QStringLiteral("none"));
    };
    QTRY_VERIFY2_WITH_TIMEOUT(bubbleWithText(postText), qPrintable(heard()), 60000);

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
    const QString postId = post->getMessage().getMessageId();
    const int before = stack->answers().answers.size();
    click(post->likeButton());
    QCOMPARE(post->likesText(), QStringLiteral("1"));

    // The window asks for the counts of the posts in view (each post at most
    // every 75 s). The first answer after the like that has it counted must
    // count it once, and the bubble keeps showing that count.
    const auto servicesCount = [this, before, postId] {
        const auto& answers = stack->answers().answers;
        for (int i = before; i < answers.size(); ++i) {
            const LVReply reply = answers.at(i).second.value<LVReply>();
            if (answers.at(i).first == CMD_LikeGet && reply.getResult().contains(postId) &&
                reply.getLikeCount(postId) > 0)
                return reply.getLikeCount(postId);
        }
        return 0;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(servicesCount() > 0,
                              qPrintable(failure("the window's fetch never counted the like")),
                              150000);
    QCOMPARE(servicesCount(), 1);
    QTRY_COMPARE(bubbleWithText(postText)->likesText(), QStringLiteral("1"));
    QVERIFY(bubbleWithText(postText)->likeButton()->getState());
}

void TestChannelsEndToEnd::likeCountSurvivesBothRestarts()
{
    QVERIFY(bubbleWithText(postText));
    const QString postId = bubbleWithText(postText)->getMessage().getMessageId();
    QVERIFY(!postId.isEmpty());

    // The window's program quits right after the like (likes go out in
    // batches, so it may not even have left yet) and comes back: the post
    // is still liked, once.
    QVERIFY2(stack->restartWindow(), qPrintable(failure("the window did not come back")));
    window = stack->window();
    openChannel(kChannel);
    QTRY_VERIFY2_WITH_TIMEOUT(bubbleWithText(postText),
                              qPrintable(failure("the post is gone after the restart")), 30000);
    ChatMessageWidget* post = bubbleWithText(postText);
    QCOMPARE(post->likesText(), QStringLiteral("1"));
    QVERIFY(post->likeButton()->getState());
    shot(QStringLiteral("channels-e2e-like-after-restart.png"));

    // The owner's program fetches the post's count, as it does for a post
    // it shows, until the like has reached the service; it keeps the count.
    const auto likeCount = [postId](const QJsonObject& line) {
        return line.value("value").toObject().value("likes").toObject().value(postId).toInt();
    };
    const auto likeAnswer = [](const QJsonObject& line) {
        return line.value("command").toInt() == CMD_LikeGet &&
               line.value("value").toObject().value("chatId").toString() == kChannel;
    };
    int count = 0;
    QElapsedTimer waited;
    waited.start();
    while (count != 1 && waited.elapsed() < 180000) {
        const int from = peer->lineCount();
        peer->send(CMD_LikeGet,
                   QJsonObject{{"channel", kChannel}, {"messages", QJsonArray{postId}}});
        const int answered = peer->waitFor(likeAnswer, 60000, from);
        if (answered >= 0)
            count = likeCount(peer->lines().at(answered));
    }
    QVERIFY2(count == 1, qPrintable(failure("the owner's program does not count the like")));

    // After the owner's restart its stored post still counts one like,
    // before any fetch.
    QVERIFY2(stack->restartPeer(), qPrintable(failure("the owner's program did not come back")));
    const int from = peer->lineCount();
    peer->send(CMD_GetChannelMessages,
               QJsonObject{{"chatId", kChannel}, {"number", 20}, {"chatType", 3}});
    const int stored =
        peer->waitFor(answerWith(CMD_GetChannelMessages, QStringLiteral("_likes")), 30000, from);
    QVERIFY2(stored >= 0, qPrintable(failure("the owner's program lists no posts")));
    int kept = -1;
    for (const QJsonValue& message :
         peer->lines().at(stored).value("value").toObject().value("messages").toArray()) {
        if (message.toObject().value("MESSAGE_ID").toString() == postId)
            kept = message.toObject().value("_likes").toInt();
    }
    QCOMPARE(kept, 1);
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
    // Its description is longer than any preview has room for.
    QJsonObject second = channelFields(kSecond, "Match notes", "1");
    const QString words = QString::fromUtf8("یادداشت‌های هر بازی، ") +
                          QString::fromUtf8("دقیقه به دقیقه، از نزدیک و از دور؛ ");
    const QString notes = words.repeated(40);
    second.insert("Description", notes);
    QVERIFY2(peerDoes(kCmdChannelCreate, second, kCmdChannelAdded, kSecond),
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
    // Its start, cut with "…", and the buttons below it on the screen.
    QTRY_VERIFY_WITH_TIMEOUT(preview->descriptionLabel()->text().endsWith(QChar(0x2026)), 30000);
    QVERIFY(notes.startsWith(preview->descriptionLabel()->text().section(QLatin1Char('\n'), 0, 0)));
    const QRect shown(preview->mapTo(window, QPoint()), preview->size());
    QVERIFY(window->rect().contains(shown));
    QTest::qWait(300); // the fade of the popup layer, for the picture
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

int TestChannelsEndToEnd::peerAnswer(const CoreProcess::Match& match, int from)
{
    return peer->waitFor(match, 30000, from);
}

void TestChannelsEndToEnd::chooseInPicker(ContactSelect* picker, const QString& number)
{
    QTRY_VERIFY(picker->isVisible());
    QTRY_VERIFY(picker->row(number) && picker->row(number)->isVisible());
    AvatarViewer* avatar = picker->row(number)->getAvatar();
    QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    QVERIFY(picker->selectedIds().contains(number));
    click(picker->inviteButton());
    QTRY_VERIFY(picker->isHidden());
}

ChannelProfileAdmin* TestChannelsEndToEnd::openAdminPanel()
{
    click(chatWindow()->title());
    ChannelProfileAdmin* panel = chatWindow()->adminPanel();
    if (!panel)
        return nullptr;
    return QTest::qWaitFor([panel] { return panel->isVisible() && panel->x() == 0; }, 10000)
               ? panel
               : nullptr;
}

bool TestChannelsEndToEnd::chooseFromMenu(const char* id)
{
    click(window->getTopMenu()->getMenuButton());
    SlidingMenu* menu = window->getSlidingMenu();
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000))
        return false;
    for (MenuItem* item : menu->findChildren<MenuItem*>()) {
        if (item->getId() == QLatin1String(id)) {
            QTest::mousePress(item, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

void TestChannelsEndToEnd::ownerMakesAChannelInACategory()
{
    // The create form from the side menu, its category a sub-category of the
    // directory's, reached through its parent.
    SlidingMenu* menu = window->getSlidingMenu();
    QVERIFY(chooseFromMenu("CreateNewChanel"));
    CreateChannel* form = window->getCreateChannel();
    QTRY_VERIFY(form->isVisible());
    QTRY_VERIFY(!menu->isVisible());
    click(form->categoryChooser());
    ChannelCategoryPopUp* choice = form->categoryPopup();
    QTRY_VERIFY_WITH_TIMEOUT(choice->isVisible() && choice->tileCount() >= 3, 30000);
    const auto tileOf = [](const QList<ChannelCategoryWidget*>& tiles, const char* id) {
        for (ChannelCategoryWidget* tile : tiles) {
            if (tile->isVisible() && tile->getCategory().getCategoryID() == QLatin1String(id))
                return tile;
        }
        return static_cast<ChannelCategoryWidget*>(nullptr);
    };
    shot(QStringLiteral("channels-e2e-create-categories.png"));
    // Sport holds Football: its level opens to choose from.
    QVERIFY(tileOf(choice->tiles(), "2"));
    click(tileOf(choice->tiles(), "2"));
    ChannelAbstractPopUP* level = choice->channelList();
    ChannelCategoryWidget* football = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (football = tileOf(level->findChildren<ChannelCategoryWidget*>(), "4")) != nullptr, 30000);
    QVERIFY(level->choiceButton() && level->choiceButton()->isVisible());
    QTest::qWait(300); // the fade of the popup layer, for the picture
    shot(QStringLiteral("channels-e2e-create-subcategories.png"));
    const QString categoryName = football->getCategory().getCategoryName();
    click(football);
    QTRY_VERIFY_WITH_TIMEOUT(choice->isHidden(), 30000);
    QCOMPARE(form->categoryText()->text(), categoryName);
    click(form->descriptionField());
    WindowPeerStack::typeText(form->descriptionField(), QStringLiteral("Reviews of the week"));
    click(form->nameField());
    WindowPeerStack::typeText(form->nameField(), QStringLiteral("Ada's review"));
    click(form->idField());
    WindowPeerStack::typeText(form->idField(), kOwned);
    click(form->submitButton());
    SidePanel* side = window->getSidePanel();
    QTRY_VERIFY2_WITH_TIMEOUT(side->getChannelTab()->row(kOwned),
                              qPrintable(failure("the window's channel was not made")), 30000);
    QTRY_VERIFY(form->isHidden());

    // The other person finds it in that sub-category and follows it.
    const int from = peer->lineCount();
    peer->send(CMD_BrowseChannelCategory, QStringLiteral("4"));
    QVERIFY2(peerAnswer(answerWith(CMD_BrowseChannelCategory, kOwned), from) >= 0,
             qPrintable(failure("the channel is not in its category")));

    // The window's own directory lists it there too: Sport, then Football.
    QVERIFY(chooseFromMenu("ChannelList"));
    ChannelCategoryPopUp* directory = window->getChannelDirectory();
    QTRY_VERIFY_WITH_TIMEOUT(directory->isVisible() && tileOf(directory->tiles(), "2"), 30000);
    QTRY_VERIFY(!window->getSlidingMenu()->isVisible());
    click(tileOf(directory->tiles(), "2"));
    ChannelAbstractPopUP* sport = directory->channelList();
    ChannelCategoryWidget* under = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (under = tileOf(sport->findChildren<ChannelCategoryWidget*>(), "4")) != nullptr, 30000);
    click(under);
    const auto listed = [sport] {
        for (QWidget* row : sport->rows()) {
            auto* channel = qobject_cast<ChannelAbstractWidget*>(row);
            if (channel && channel->getChannelInfo().getId() == kOwned)
                return true;
        }
        return false;
    };
    QTRY_VERIFY2_WITH_TIMEOUT(listed(), qPrintable(failure("the directory lists it elsewhere")),
                              30000);
    shot(QStringLiteral("channels-e2e-directory-subcategory.png"));
    directory->hide();
    QVERIFY2(peerDoes(CMD_ChannelJoin, kOwned, CMD_ChannelAdded, "\"MEMBER\""),
             qPrintable(failure("the peer could not follow")));
}

void TestChannelsEndToEnd::ownerMakesTheFollowerAnAdministratorThroughThePicker()
{
    openChannel(kOwned);
    // The title counts the follower who came while the channel was closed.
    ChatWindowTitle* title = chatWindow()->title();
    QTRY_COMPARE_WITH_TIMEOUT(title->subtitleText(), title->memberCountText(2), 30000);
    ChannelProfileAdmin* panel = openAdminPanel();
    QVERIFY2(panel, "the owner has no administrators' panel");
    // The panel has asked for its followers on opening.
    QTRY_VERIFY2_WITH_TIMEOUT(!panel->followerList().isEmpty(),
                              qPrintable(failure("the panel never heard of its follower")), 30000);
    QCOMPARE(panel->followerList().first().getUserName(), kPeer);

    int from = peer->lineCount();
    click(panel->addManagerLink());
    ContactSelect* picker = panel->contactPicker();
    QTRY_VERIFY(picker->isVisible());
    QTest::qWait(300); // the fade of the popup layer, for the picture
    shot(QStringLiteral("channels-e2e-admin-picker.png"));
    chooseInPicker(picker, kPeer);
    // The follower's program hears of its new role.
    QVERIFY2(peerAnswer(answerWith(CMD_ChannelData, QStringLiteral("\"ADMIN\"")), from) >= 0,
             qPrintable(failure("the follower was not made an administrator")));
    QTRY_VERIFY2_WITH_TIMEOUT(panel->managerRows().size() == 1,
                              qPrintable(failure("the panel does not list the administrator")),
                              30000);
    ChannelManagerWidget* row = panel->managerRows().first();
    QCOMPARE(row->getProfile().getUserName(), kPeer);

    // Taken back from the row's delete icon, after the question.
    from = peer->lineCount();
    click(row->deleteIcon());
    QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
    click(PopUpWarning::getInstance()->yesButton());
    QVERIFY2(peerAnswer(answerWith(CMD_ChannelData, QStringLiteral("\"MEMBER\"")), from) >= 0,
             qPrintable(failure("the administrator was not demoted")));
    QTRY_VERIFY_WITH_TIMEOUT(panel->managerRows().isEmpty(), 30000);
}

void TestChannelsEndToEnd::ownerRemovesAFollowerThroughThePicker()
{
    ChannelProfileAdmin* panel = chatWindow()->adminPanel();
    QVERIFY(panel && panel->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!panel->followerList().isEmpty(), 30000);
    const int from = peer->lineCount();
    click(panel->deleteMemberButton());
    chooseInPicker(panel->contactPicker(), kPeer);
    QTRY_VERIFY(PopUpWarning::getInstance()->isVisible());
    shot(QStringLiteral("channels-e2e-remove-question.png"));
    click(PopUpWarning::getInstance()->yesButton());
    const auto left = [](const QJsonObject& line) {
        return line.value("command").toInt() == CMD_ChannelLeave &&
               line.value("value").toString() == kOwned;
    };
    QVERIFY2(peerAnswer(left, from) >= 0, qPrintable(failure("the follower was not removed")));
    QTRY_VERIFY_WITH_TIMEOUT(panel->followerList().isEmpty(), 30000);
}

QTEST_MAIN(TestChannelsEndToEnd)
#include "tst_channelsendtoend.moc"
