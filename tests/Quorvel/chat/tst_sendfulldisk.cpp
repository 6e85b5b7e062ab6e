// A person sends while the disk of the program's stores is full: the main
// window with a real core in this process, its stores on a small tmpfs
// mounted here, and a line-driven core in another process, both signed up
// with the standalone local service. A one-to-one message, a group message
// and a channel post typed then each show "not sent" with the reason on
// their bubbles, and each arrives once space is back, without a restart. A
// post the service then refuses for good shows as refused, also after the
// program is started again.
#include "Managers/Contact/contact.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/customtextedit.h"
#include "chat/grouptab.h"
#include "chatserver.h"
#include "corematches.h"
#include "foundation/database.h"
#include "shell/channeltab.h"
#include "shell/diskfullnotice.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "widgets/catalogues.h"
#include "widgets/iconbuttonunreadcount.h"
#include "windowpeerstack.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QProcess>
#include <QtTest>

#include <memory>
#include <unistd.h>

using namespace corematch;

namespace {

const QString kUser = QStringLiteral("491700000071");
const QString kPeer = QStringLiteral("491700000072");
const QString kChannel = QStringLiteral("diskdiary");
const int kCmdChannelCreate = 19;
const int kCmdChannelAdded = 24;
const int kCmdChannelAddMember = 26;
const int kCmdChannelChangeMemberRole = 28;
const int kCmdGroupCreate = 51;

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QString said(const char* key)
{
    return QCoreApplication::translate("ChatMessageWidget", key);
}

} // namespace

class TestSendFullDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void peersMeetInAChatAGroupAndAChannel();
    void sendsWithAFullDiskFailAloudThenArrive();
    void postRefusedForGoodStaysNotSentAfterARestart();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    // Writes into the stores' folder until the disk takes nothing more.
    void fillDisk();
    void freeDisk();
    void openRow(QWidget* tabButton, ChatWidget* row, const QString& id);
    void openChat();
    void openGroup();
    void openChannel();
    static QString longText(const QString& label);
    // Pastes the text into the open chat window and sends it; its bubble.
    ChatMessageWidget* send(const QString& text);
    // Opens each kind in turn (one-to-one, group, channel).
    void open(int kind);

    std::unique_ptr<WindowPeerStack> stack;
    CoreProcess* peer = nullptr;
    MessengerMainWindow* window = nullptr;
    QString dataFolder;
    bool mounted = false;
    QString groupId;
};

void TestSendFullDisk::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    if (geteuid() != 0)
        QSKIP("not root: the stores' small disk is a tmpfs this test mounts, which needs root");
    // The folder the window's core keeps its stores in, as WindowPeerStack
    // names the program.
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel Desktop"));
    dataFolder = QFileInfo(DataBase::pathForName(QStringLiteral("probe"))).path();
    QVERIFY(QDir().mkpath(dataFolder));
    const int mount = QProcess::execute(
        QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=20m,mode=0700", "tmpfs", dataFolder});
    if (mount != 0)
        QSKIP("mount refused a tmpfs for the stores' folder");
    mounted = true;
    stack = std::make_unique<WindowPeerStack>(kUser, kPeer);
    // The words and the direction as the program shows them: Persian, right
    // to left.
    QVERIFY(Catalogues::install());
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    peer = stack->peer();
    window = stack->window();
}

void TestSendFullDisk::cleanupTestCase()
{
    stack.reset();
    Catalogues::uninstall();
    // Lazily: the program's process-wide settings store stays open to the end.
    if (mounted)
        QProcess::execute(QStringLiteral("umount"), {"-l", dataFolder});
}

void TestSendFullDisk::fillDisk()
{
    // Big pieces first, then small ones for the last free pages.
    for (int piece : {1 << 20, 4096, 512}) {
        for (int n = 0;; ++n) {
            QFile filler(dataFolder + QStringLiteral("/filler-%1-%2").arg(piece).arg(n));
            if (!filler.open(QIODevice::WriteOnly))
                break;
            const QByteArray block(piece, 'x');
            bool full = false;
            for (int i = 0; i < 32 && !full; ++i)
                full = filler.write(block) != block.size() || !filler.flush();
            if (full)
                break;
        }
    }
}

void TestSendFullDisk::freeDisk()
{
    for (const QString& name : QDir(dataFolder).entryList({"filler-*"}, QDir::Files))
        QVERIFY(QFile::remove(dataFolder + QLatin1Char('/') + name));
}

void TestSendFullDisk::openRow(QWidget* tabButton, ChatWidget* row, const QString& id)
{
    click(tabButton);
    QTRY_VERIFY(row->isVisible());
    click(row);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == id);
}

void TestSendFullDisk::openChat()
{
    Contact contact;
    contact.setNumber(kPeer);
    window->startMessaging(contact);
    QTRY_VERIFY(chatWindow() && chatWindow()->getChatId() == kPeer);
}

void TestSendFullDisk::openGroup()
{
    SidePanel* side = window->getSidePanel();
    QTRY_VERIFY(side->getGroupTab()->row(groupId));
    openRow(side->getGroupButton(), side->getGroupTab()->row(groupId), groupId);
}

void TestSendFullDisk::openChannel()
{
    SidePanel* side = window->getSidePanel();
    QTRY_VERIFY(side->getChannelTab()->row(kChannel));
    openRow(side->getChannelButton(), side->getChannelTab()->row(kChannel), kChannel);
}

void TestSendFullDisk::open(int kind)
{
    if (kind == 0)
        openChat();
    else if (kind == 1)
        openGroup();
    else
        openChannel();
}

QString TestSendFullDisk::longText(const QString& label)
{
    // A full disk still takes a few bytes into the last page of a file that
    // is open: a message of thousands of characters needs fresh pages.
    return label + QLatin1Char(' ') + QString(3000, QLatin1Char('z'));
}

ChatMessageWidget* TestSendFullDisk::send(const QString& text)
{
    // Pasted, as a person brings a long text.
    QApplication::clipboard()->setText(text);
    QTest::keyClick(chatWindow()->input(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    if (!QTest::qWaitFor([&] { return stack->bubbleWithText(text) != nullptr; }, 20000))
        return nullptr;
    return stack->bubbleWithText(text);
}

void TestSendFullDisk::peersMeetInAChatAGroupAndAChannel()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
    int from = peer->lineCount();
    peer->send(kCmdGroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", "Disk club"}}},
                                            {"members", QJsonArray{kUser}}});
    const int created = peer->waitFor(CoreProcess::answer(kCmdGroupCreate), 30000, from);
    QVERIFY2(created >= 0, qPrintable(failure("no group made")));
    groupId = peer->lines().at(created).value("value").toString();
    QTRY_VERIFY2_WITH_TIMEOUT(window->getSidePanel()->getGroupTab()->row(groupId),
                              qPrintable(failure("the group is not listed")), 60000);

    from = peer->lineCount();
    peer->send(kCmdChannelCreate, QJsonObject{{"ChannelID", kChannel},
                                              {"Name", "Disk diary"},
                                              {"Followed", "1"},
                                              {"MyRole", "OWNER"},
                                              {"AvatarURL", ""},
                                              {"AvatarThumbnailURL", ""},
                                              {"Description", "Space"},
                                              {"MembersCount", "1"},
                                              {"CreationDate", "0"},
                                              {"ReplyAllowed", "0"},
                                              {"CategoryId", "1"}});
    QVERIFY2(peer->waitFor(answerWith(kCmdChannelAdded, "\"OWNER\""), 30000, from) >= 0,
             qPrintable(failure("the owner did not make the channel")));
    from = peer->lineCount();
    peer->send(kCmdChannelAddMember,
               QJsonObject{{"channel", kChannel}, {"user", kUser}, {"role", "ADMIN"}});
    QVERIFY2(peer->waitFor(answerWith(kCmdChannelAddMember, kUser), 30000, from) >= 0,
             qPrintable(failure("the owner did not add the user")));
    QTRY_VERIFY2_WITH_TIMEOUT(window->getSidePanel()->getChannelTab()->row(kChannel),
                              qPrintable(failure("the channel is not listed")), 60000);
}

void TestSendFullDisk::sendsWithAFullDiskFailAloudThenArrive()
{
    QVERIFY(!groupId.isEmpty());
    const QStringList texts{longText("one to one on a full disk"), longText("group on a full disk"),
                            longText("post on a full disk")};
    fillDisk();
    const int from = peer->lineCount();
    for (int kind = 0; kind < texts.size(); ++kind) {
        open(kind);
        ChatMessageWidget* bubble = send(texts.at(kind));
        QVERIFY2(bubble, qPrintable(failure("no bubble for " + texts.at(kind).left(30))));
        // Shown at once, with the reason, not as waiting.
        QTRY_COMPARE_WITH_TIMEOUT(bubble->failureText(), said("_NotSentNoDiskSpace"), 10000);
        QCOMPARE(bubble->tickKey(), QStringLiteral("msgStateFailedKEY"));
        auto* note = bubble->findChild<QLabel*>(QStringLiteral("ChatMessageFailure"));
        QVERIFY(note && note->isVisible());
        QVERIFY(stack->saveShot(QStringLiteral("send-full-disk-%1.png").arg(kind)));
    }
    // Still full: nothing has gone out.
    QTest::qWait(3000);
    for (const QString& text : texts)
        QCOMPARE(peer->count(pairWithBody(text)), 0);

    // What the peer says meanwhile waits on the server, and the window says
    // so until space is back. (Stores taken back after the failed writes may
    // have given a few pages back: the disk is filled again.)
    fillDisk();
    const QString answer = longText("an answer while the disk is full");
    peer->send(kCmdSendMessage, textMessage(kUser, answer));
    DiskFullNotice* notice = window->getDiskFullNotice();
    QTRY_VERIFY_WITH_TIMEOUT(notice->isVisible(), 30000);
    QVERIFY(stack->saveShot(QStringLiteral("receive-full-disk-notice.png")));
    // The chat's store was closed after the failed writes and cannot open
    // again: the answer is not kept, so its sender never hears "delivered".
    const int sentAt = peer->waitFor(pairWithBody(answer), 10000, from);
    QVERIFY(sentAt >= 0);
    const QString answerId = pairMessage(peer->lines().at(sentAt)).value("MESSAGE_ID").toString();
    QTest::qWait(3000);
    QCOMPARE(peer->count(stateChange(answerId, QStringLiteral("delivered"))), 0);

    freeDisk();
    open(0);
    QTRY_VERIFY2_WITH_TIMEOUT(stack->bubbleWithText(answer),
                              qPrintable(failure("the answer never came once space was back")),
                              120000);
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(peer->count(stateChange(answerId, QStringLiteral("delivered"))) == 1,
                             30000);
    // Each goes out once space is back, once, in the order written.
    int at = from;
    for (const QString& text : texts) {
        const int got = peer->waitFor(pairWithBody(text), 120000, from);
        QVERIFY2(got >= 0, qPrintable(failure("the peer never got " + text.left(30))));
        QVERIFY2(got >= at, qPrintable(failure(text.left(30) + " came out of order")));
        at = got;
    }
    // The channel's bubble no longer says it is not sent.
    open(2);
    QTRY_VERIFY(stack->bubbleWithText(texts.last()));
    ChatMessageWidget* post = stack->bubbleWithText(texts.last());
    QTRY_VERIFY_WITH_TIMEOUT(post->failureText().isEmpty(), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(post->tickKey(), QStringLiteral("msgStateSeenKEY"), 30000);
    // Nor, read again, do the others.
    for (int kind = 0; kind < 2; ++kind) {
        open(kind);
        QTRY_VERIFY(stack->bubbleWithText(texts.at(kind)));
        ChatMessageWidget* bubble = stack->bubbleWithText(texts.at(kind));
        QTRY_VERIFY_WITH_TIMEOUT(bubble->failureText().isEmpty(), 30000);
        QVERIFY(bubble->tickKey() != QStringLiteral("msgStateFailedKEY"));
        QVERIFY(bubble->tickKey() != QStringLiteral("msgStateNotSentKEY"));
    }
    QTest::qWait(1500);
    for (const QString& text : texts)
        QCOMPARE(peer->count(pairWithBody(text)), 1);
}

void TestSendFullDisk::postRefusedForGoodStaysNotSentAfterARestart()
{
    const QString text = longText("post after the demotion");
    openChannel();
    // Written while the disk is full, so it waits; meanwhile the owner takes
    // the right to post away, and once space is back the service refuses it.
    fillDisk();
    ChatMessageWidget* bubble = send(text);
    QVERIFY2(bubble, qPrintable(failure("no bubble for the post")));
    QTRY_COMPARE_WITH_TIMEOUT(bubble->failureText(), said("_NotSentNoDiskSpace"), 10000);
    const int from = peer->lineCount();
    peer->send(kCmdChannelChangeMemberRole,
               QJsonObject{{"channel", kChannel}, {"user", kUser}, {"role", "MEMBER"}});
    QVERIFY2(peer->waitFor(answerWith(kCmdChannelChangeMemberRole, kUser), 30000, from) >= 0,
             qPrintable(failure("the owner could not demote")));
    freeDisk();
    QTRY_COMPARE_WITH_TIMEOUT(stack->bubbleWithText(text)->failureText(), said("_NotSentRefused"),
                              60000);
    QCOMPARE(stack->bubbleWithText(text)->tickKey(), QStringLiteral("msgStateFailedKEY"));
    QVERIFY(stack->saveShot(QStringLiteral("send-refused.png")));

    // The program again, on the same data: the post still reads as refused
    // and is not sent again.
    QVERIFY2(stack->restartWindow(), qPrintable(failure("the window did not start again")));
    window = stack->window();
    openChannel();
    QTRY_VERIFY2_WITH_TIMEOUT(stack->bubbleWithText(text),
                              qPrintable(failure("the refused post is gone after a restart")),
                              30000);
    QCOMPARE(stack->bubbleWithText(text)->failureText(), said("_NotSentRefused"));
    QCOMPARE(stack->bubbleWithText(text)->tickKey(), QStringLiteral("msgStateFailedKEY"));
    QTest::qWait(3000);
    QCOMPARE(peer->count(pairWithBody(text)), 0);
}

QTEST_MAIN(TestSendFullDisk)
#include "tst_sendfulldisk.moc"
