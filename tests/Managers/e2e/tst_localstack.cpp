// The standalone local service (its own process, with its chat server) and two
// cores in their own processes: both sign up with the printed code, find each
// other through contact sync, exchange messages and a sticker (shown by the
// receiver through the sticker service and the file host), share a private
// group's room (opened by the service's room keeper), and go on after the service is
// restarted with nothing lost, the room included.

#include "chatserver.h"
#include "corematches.h"
#include "coreprocess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const QString kCode = QStringLiteral("97531");
const int kCmdGroupCreate = 51;
const int kCmdGroupAdded = 54;

struct User
{
    QString name;
    QString phone;
    QString nickname;
    std::unique_ptr<CoreProcess> core;
};

// A contact as the GUI adds one: the number and the names the user typed.
QJsonObject typedContact(const QString& number, const QString& firstName)
{
    return {{"Number", number},   {"FirstName", firstName},
            {"MemberID", number}, {"Nickname", ""},
            {"Motto", ""},        {"CanReply", "1"},
            {"AvatarURL", ""},    {"AvatarThumbnailURL", ""}};
}

QJsonObject ownProfile(const QString& number, const QString& nickname)
{
    QJsonObject profile = typedContact(number, QString());
    profile.insert("Nickname", nickname);
    profile.insert("Motto", "on the local stack");
    return profile;
}

// A contact answer (added or updated) about number carrying this nickname.
CoreProcess::Match contactWithNickname(int command, const QString& number, const QString& nickname)
{
    return [=](const QJsonObject& line) {
        const QJsonObject value = line.value("value").toObject();
        return line.value("command").toInt() == command &&
               value.value("MemberID").toString() == number &&
               value.value("Nickname").toString() == nickname;
    };
}

// A new chat's entry (answer 42) for number, naming it by this nickname.
CoreProcess::Match chatEntryNaming(const QString& number, const QString& nickname)
{
    return [=](const QJsonObject& line) {
        const QJsonObject contact = line.value("value").toObject().value("contact").toObject();
        return line.value("command").toInt() == 42 &&
               contact.value("MemberID").toString() == number &&
               contact.value("Nickname").toString() == nickname;
    };
}

const int kCmdBrowseChannelCategory = 18;
const int kCmdChannelCreate = 19;
const int kCmdChannelJoin = 22;
const int kCmdChannelAdded = 24;
const QString kChannel = QStringLiteral("localnews");

// A channel as the GUI's creation screen fills it.
QJsonObject newChannel(const QString& id, const QString& name)
{
    return {{"ChannelID", id},       {"Name", name},        {"Followed", "1"},
            {"MyRole", "OWNER"},     {"AvatarURL", ""},     {"AvatarThumbnailURL", ""},
            {"Description", "news"}, {"MembersCount", "1"}, {"CreationDate", "0"},
            {"ReplyAllowed", "0"},   {"CategoryId", "1"}};
}

QJsonObject channelPost(const QString& channelId, const QString& text)
{
    return {{"MAJOR_TYPE", "CHANNEL_CHAT"},
            {"MINOR_TYPE", "TEXT"},
            {"CHANNEL_ID", channelId},
            {"MESSAGE_BODY", text}};
}

CoreProcess::Match answerNaming(int command, const QString& text)
{
    return [=](const QJsonObject& line) {
        if (line.value("command").toInt() != command)
            return false;
        const QJsonValue value = line.value("value");
        if (value.isString())
            return value.toString() == text;
        const QJsonDocument document(value.toObject());
        return document.toJson().contains(text.toUtf8());
    };
}
} // namespace

class TestLocalStack : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void bothSignUpWithThePrintedCode();
    void strangersChatEntryNamesItsSender();
    void usersFindEachOtherByNumber();
    void contactsSeeEachOthersLastSeen();
    void messagesBothWays();
    void historyWithoutStoredMessagesIsAnswered();
    void stickerShownByTheReceiver();
    void channelFoundJoinedAndFollowed();
    void groupRoomBothWays();
    void serviceRestartLosesNothing();
    void groupRoomGoesOnAfterTheRestart();
    void killedServiceComesBack();

private:
    bool startService();
    bool stopService();
    bool startCore(User* user);
    QString failure(const QString& what) const;
    void exchange(User* from, User* to, const QString& body);
    bool sayInRoom(User* from, User* to, const QString& body);
    // The user's own profile gets the nickname; the core reads it back.
    void changeNickname(User* user, const QString& nickname);
    // A posts to the channel; B gets the post exactly once.
    void post(const QString& body, bool followerRunning);

    QTemporaryDir root;
    QProcess service;
    QString serviceLog;
    QHash<QString, QString> clientEnv;
    User a;
    User b;
    QString groupId;
};

QString TestLocalStack::failure(const QString& what) const
{
    QString text = what;
    for (const User* user : {&a, &b}) {
        if (user->core)
            text += QLatin1Char('\n') + user->core->tail();
    }
    QFile log(serviceLog);
    if (log.open(QIODevice::ReadOnly))
        text += QStringLiteral("\nservice: ") + QString::fromUtf8(log.readAll().right(3000));
    return text;
}

bool TestLocalStack::startService()
{
    return startLocalService(&service, QStringLiteral(QUORVEL_LOCALSERVICE),
                             root.filePath(QStringLiteral("stack")), serviceLog, kCode, &clientEnv);
}

bool TestLocalStack::stopService()
{
    service.terminate();
    return service.waitForFinished(30000) && service.exitStatus() == QProcess::NormalExit &&
           service.exitCode() == 0;
}

bool TestLocalStack::startCore(User* user)
{
    user->core = stackCore(root.path(), user->name, clientEnv, user->phone, kCode);
    return user->core != nullptr;
}

void TestLocalStack::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    serviceLog = root.filePath(QStringLiteral("localservice.log"));
    a.name = QStringLiteral("A");
    a.phone = QStringLiteral("491700000011");
    a.nickname = QStringLiteral("Ada");
    b.name = QStringLiteral("B");
    b.phone = QStringLiteral("491700000012");
    b.nickname = QStringLiteral("Bo");
    QVERIFY2(startService(), qPrintable(failure("the local service did not start")));
}

void TestLocalStack::cleanupTestCase()
{
    for (User* user : {&a, &b}) {
        if (user->core)
            user->core->stop();
        user->core.reset();
    }
    if (service.state() != QProcess::NotRunning)
        stopService();
}

void TestLocalStack::bothSignUpWithThePrintedCode()
{
    QVERIFY(startCore(&a));
    QVERIFY(startCore(&b));
    for (User* user : {&a, &b}) {
        QVERIFY2(user->core->waitFor(CoreProcess::event("loadingFinished"), 30000) >= 0,
                 qPrintable(failure(user->name + " did not sign up and load")));
        QVERIFY2(user->core->waitFor(chatServerState(3), 30000) >= 0,
                 qPrintable(failure(user->name + " did not reach the chat server")));
    }
    QFile log(serviceLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray printed = log.readAll();
    // The code is on the console for the person signing up; tokens and chat
    // passwords are not.
    QVERIFY(printed.contains(
        QStringLiteral("activation code for %1: %2").arg(a.phone, kCode).toUtf8()));
    QVERIFY(!printed.contains("EToken"));
    QVERIFY(!printed.contains("Password"));
}

void TestLocalStack::changeNickname(User* user, const QString& nickname)
{
    user->nickname = nickname;
    const int from = user->core->lineCount();
    user->core->send(kCmdSetProfile, ownProfile(user->phone, nickname));
    QVERIFY2(user->core->waitFor(contactWithNickname(kCmdGetUserProfile, user->phone, nickname),
                                 60000, from) >= 0,
             qPrintable(failure(user->name + "'s profile was not kept")));
}

void TestLocalStack::strangersChatEntryNamesItsSender()
{
    for (User* user : {&a, &b}) {
        changeNickname(user, user->nickname);
        if (QTest::currentTestFailed())
            return;
    }
    // Neither has the other in the address book: the receiver's new chat is
    // named by the sender's own profile, fetched from the service.
    const int from = b.core->lineCount();
    exchange(&a, &b, QStringLiteral("hello from a stranger"));
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(b.core->waitFor(chatEntryNaming(a.phone, a.nickname), 60000, from) >= 0,
             qPrintable(failure("B's chat with A never got A's nickname")));
}

void TestLocalStack::usersFindEachOtherByNumber()
{
    for (const auto& pair : {qMakePair(&a, &b), qMakePair(&b, &a)}) {
        User* user = pair.first;
        User* other = pair.second;
        const int from = user->core->lineCount();
        user->core->send(kCmdAddContact, typedContact(other->phone, other->name));
        QVERIFY2(user->core->waitFor(
                     contactWithNickname(kCmdUpdateContact, other->phone, other->nickname), 20000,
                     from) >= 0,
                 qPrintable(failure(user->name + " did not find " + other->name)));
    }
}

// Contacts see each other's last activity through the stack's chat server:
// "now" while B is signed in, the time B left once B has gone.
void TestLocalStack::contactsSeeEachOthersLastSeen()
{
    const int kCmdLastSeen = 15;
    const auto lastSeenTime = [&](qint64* time) {
        const int from = a.core->lineCount();
        a.core->send(kCmdLastSeen, b.phone);
        const int line = a.core->waitFor(
            [&](const QJsonObject& l) {
                return l.value("command").toInt() == kCmdLastSeen &&
                       l.value("value").toObject().value("number").toString() == b.phone;
            },
            30000, from);
        if (line >= 0)
            *time =
                qint64(a.core->lines().at(line).value("value").toObject().value("time").toDouble());
        return line >= 0;
    };
    qint64 time = 0;
    qint64 now = QDateTime::currentSecsSinceEpoch();
    QVERIFY2(lastSeenTime(&time), qPrintable(failure("A got no last seen of B, signed in")));
    QVERIFY2(qAbs(time - now) <= 30, qPrintable(QStringLiteral("%1 vs %2").arg(time).arg(now)));

    const qint64 left = QDateTime::currentSecsSinceEpoch();
    QVERIFY2(b.core->stop(), qPrintable(failure("B did not stop cleanly")));
    const bool answered = lastSeenTime(&time);
    const QString gone = failure("A got no last seen of B, gone");
    now = QDateTime::currentSecsSinceEpoch();
    // B comes back before anything is checked: the tests after this need B.
    QVERIFY(startCore(&b));
    QVERIFY2(b.core->waitFor(chatServerState(3), 60000) >= 0,
             qPrintable(failure("B did not come back to the chat server")));
    QVERIFY2(answered, qPrintable(gone));
    QVERIFY2(time >= left - 5 && time <= now + 5,
             qPrintable(QStringLiteral("%1 not in %2..%3").arg(time).arg(left).arg(now)));
}

void TestLocalStack::exchange(User* from, User* to, const QString& body)
{
    const int fromSender = from->core->lineCount();
    const int fromReceiver = to->core->lineCount();
    from->core->send(kCmdSendMessage, textMessage(to->phone, body));
    const int added = from->core->waitFor(pairWithBody(body), 20000, fromSender);
    QVERIFY2(added >= 0, qPrintable(failure(from->name + " did not store " + body)));
    const QString id = pairMessage(from->core->lines().at(added)).value("MESSAGE_ID").toString();
    QVERIFY2(to->core->waitFor(pairWithBody(body), 180000, fromReceiver) >= 0,
             qPrintable(failure(to->name + " did not receive " + body)));
    QVERIFY2(from->core->waitFor(stateChange(id, "delivered"), 60000, added) > added,
             qPrintable(failure(body + " was never delivered")));
}

void TestLocalStack::messagesBothWays()
{
    exchange(&a, &b, QStringLiteral("hello from Ada"));
    exchange(&b, &a, QStringLiteral("hello back from Bo"));
}

void TestLocalStack::historyWithoutStoredMessagesIsAnswered()
{
    // Nothing stored for this chat: the core asks the service's archive of
    // the pair, which answers a page, and the asker is answered.
    const QString nobody = QStringLiteral("491700000019");
    const int from = a.core->lineCount();
    a.core->send(kCmdGetChatMessages, QJsonObject{{"chatId", nobody}, {"number", 5}});
    const int answered = a.core->waitFor(
        [nobody](const QJsonObject& line) {
            return line.value("command").toInt() == kCmdGetChatMessages &&
                   line.value("value").toObject().value("chatId").toString() == nobody;
        },
        30000, from);
    QVERIFY2(answered >= 0, qPrintable(failure("the history request was never answered")));
    QVERIFY(a.core->lines().at(answered).value("value").toObject().value("messages").isArray());
    QFile log(serviceLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray lines = log.readAll();
    QVERIFY2(lines.contains("POST /CAPI/Userchat/Archive/ -> 200"),
             qPrintable(failure("the archive was not answered")));
    QVERIFY(!lines.contains("POST /CAPI/Userchat/Archive/ -> 404"));
}

void TestLocalStack::stickerShownByTheReceiver()
{
    const QJsonObject sticker{
        {"MAJOR_TYPE", "SIMPLE_CHAT"}, {"MINOR_TYPE", "STICKER"},        {"FROM", b.phone},
        {"MESSAGE_BODY", ""},          {"STICKER_PACKAGE_ID", "shapes"}, {"STICKER_ID", "star"},
        {"STICKER_VERSION", "1"}};
    const int fromB = b.core->lineCount();
    a.core->send(kCmdSendMessage, sticker);
    const int arrived = b.core->waitFor(
        [](const QJsonObject& line) {
            return line.value("command").toInt() == kCmdMessagePairAdded &&
                   pairMessage(line).value("MINOR_TYPE").toString() == "STICKER";
        },
        180000, fromB);
    QVERIFY2(arrived >= 0, qPrintable(failure("B did not receive the sticker")));
    const QJsonObject message = pairMessage(b.core->lines().at(arrived));
    QCOMPARE(message.value("STICKER_PACKAGE_ID").toString(), QString("shapes"));
    QCOMPARE(message.value("STICKER_ID").toString(), QString("star"));
    QCOMPARE(message.value("USER_ID").toString(), a.phone);

    // B shows it: its addresses from the sticker service (which B signs in
    // to first), its densest picture from the file host.
    b.core->sendLine({{"stickerResolve", message}});
    const int shown = b.core->waitFor(CoreProcess::event("stickerShown"), 60000, arrived);
    QVERIFY2(shown >= 0, qPrintable(failure("B could not show the sticker")));
    const QJsonObject first = b.core->lines().at(shown).value("value").toObject();
    QCOMPARE(first.value("STICKER_ID").toString(), QString("star"));
    QVERIFY(!first.value("cached").toBool());
    QVERIFY(first.value("url").toString().startsWith("https://"));
    QVERIFY(first.value("width").toInt() > 0);

    // Shown again, its addresses come from B's cache.
    b.core->sendLine({{"stickerResolve", message}});
    const int again = b.core->waitFor(CoreProcess::event("stickerShown"), 30000, shown + 1);
    QVERIFY2(again > shown, qPrintable(failure("B could not show the sticker again")));
    const QJsonObject second = b.core->lines().at(again).value("value").toObject();
    QVERIFY(second.value("cached").toBool());
    QCOMPARE(second.value("url"), first.value("url"));
    QCOMPARE(b.core->count(CoreProcess::event("stickerFailed"), fromB), 0);
}

void TestLocalStack::post(const QString& body, bool followerRunning)
{
    const int fromA = a.core->lineCount();
    const int fromB = followerRunning ? b.core->lineCount() : 0;
    a.core->send(kCmdSendMessage, channelPost(kChannel, body));
    const int added = a.core->waitFor(answerNaming(kCmdMessageAdded, body), 20000, fromA);
    QVERIFY2(added >= 0, qPrintable(failure("A did not store the post " + body)));
    QVERIFY2(a.core->waitFor(
                 [](const QJsonObject& line) {
                     return line.value("command").toInt() == kCmdMessageStateChange &&
                            line.value("value").toObject().value("state").toString() == "seen";
                 },
                 30000, added) > added,
             qPrintable(failure("the post " + body + " was not confirmed")));
    if (followerRunning)
        QVERIFY2(b.core->waitFor(pairWithBody(body), 60000, fromB) >= 0,
                 qPrintable(failure("B did not receive the post " + body + " live")));
}

void TestLocalStack::channelFoundJoinedAndFollowed()
{
    // A creates the channel and is its owner.
    int fromA = a.core->lineCount();
    a.core->send(kCmdChannelCreate, newChannel(kChannel, "Local news"));
    QVERIFY2(a.core->waitFor(answerNaming(kCmdChannelAdded, "\"OWNER\""), 30000, fromA) >= 0,
             qPrintable(failure("A did not create the channel")));

    // B finds it in the directory and joins.
    int fromB = b.core->lineCount();
    b.core->send(kCmdBrowseChannelCategory, "1");
    QVERIFY2(b.core->waitFor(answerNaming(kCmdBrowseChannelCategory, kChannel), 30000, fromB) >= 0,
             qPrintable(failure("B did not find the channel in its category")));
    fromB = b.core->lineCount();
    b.core->send(kCmdChannelJoin, kChannel);
    const int added = b.core->waitFor(answerNaming(kCmdChannelAdded, "\"MEMBER\""), 30000, fromB);
    QVERIFY2(added >= 0, qPrintable(failure("B did not follow the channel")));
    QVERIFY2(b.core->waitFor(answerNaming(kCmdChannelJoin, kChannel), 30000, added) > added,
             qPrintable(failure("B's join was not answered after the channel came in")));

    // The owner posts; the follower receives it live.
    post(QStringLiteral("first post"), true);

    // Stopped while more are posted, B gets them at its next connection, once.
    QVERIFY2(b.core->stop(), qPrintable(failure("B did not stop cleanly")));
    post(QStringLiteral("posted while B was away"), false);
    post(QStringLiteral("also while B was away"), false);
    QVERIFY(startCore(&b));
    for (const char* body : {"posted while B was away", "also while B was away"})
        QVERIFY2(b.core->waitFor(pairWithBody(body), 120000) >= 0,
                 qPrintable(failure(QStringLiteral("B missed \"%1\"").arg(body))));
    QVERIFY(b.core->waitFor(chatServerState(3), 30000) >= 0);
    // Pulled and delivered by the chat server both: each is kept once.
    QTest::qWait(3000);
    for (const char* body : {"posted while B was away", "also while B was away"})
        QCOMPARE(b.core->count(pairWithBody(body)), 1);
}

void TestLocalStack::serviceRestartLosesNothing()
{
    const int beforeA = a.core->lineCount();
    QVERIFY2(stopService(), qPrintable(failure("the service did not stop cleanly")));
    QVERIFY2(a.core->waitFor(chatServerState(1), 30000, beforeA) >= 0,
             qPrintable(failure("A did not notice the outage")));
    // Sent while the stack is down: kept in A's outbox.
    const int fromA = a.core->lineCount();
    a.core->send(kCmdSendMessage, textMessage(b.phone, "sent during the restart"));
    QVERIFY(a.core->waitFor(pairWithBody("sent during the restart"), 20000, fromA) >= 0);

    QVERIFY2(startService(), qPrintable(failure("the service did not start again")));
    QVERIFY2(b.core->waitFor(pairWithBody("sent during the restart"), 240000) >= 0,
             qPrintable(failure("B did not receive the message sent during the restart")));

    // Accounts, tokens, profiles and the matching survived: B changes its
    // profile and A sees the change through contact sync.
    changeNickname(&b, QStringLiteral("Bo again"));
    if (QTest::currentTestFailed())
        return;
    const int fromA2 = a.core->lineCount();
    a.core->send(kCmdUpdateContact, typedContact(b.phone, b.name));
    QVERIFY2(a.core->waitFor(contactWithNickname(kCmdUpdateContact, b.phone, b.nickname), 30000,
                             fromA2) >= 0,
             qPrintable(failure("A's contact sync fails after the restart")));

    exchange(&b, &a, QStringLiteral("after the restart"));
    // The channel, its owner and its follower are still there.
    post(QStringLiteral("a post after the restart"), true);
}

// Says a room message until the other member has one of the attempts: a
// member only gets what is said while it is in the room, and nothing tells
// the test when a core has (re)entered it.
bool TestLocalStack::sayInRoom(User* from, User* to, const QString& body)
{
    const int fromReceiver = to->core->lineCount();
    QStringList said;
    const CoreProcess::Match anyAttempt = [&said](const QJsonObject& line) {
        for (const QString& text : qAsConst(said)) {
            if (pairWithBody(text)(line))
                return true;
        }
        return false;
    };
    for (int attempt = 1; attempt <= 20; ++attempt) {
        said.append(QStringLiteral("%1 (%2)").arg(body).arg(attempt));
        from->core->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                                      {"MINOR_TYPE", "TEXT"},
                                                      {"FROM", groupId},
                                                      {"MESSAGE_BODY", said.last()}});
        if (to->core->waitFor(anyAttempt, 6000, fromReceiver) >= 0)
            return true;
    }
    return false;
}

void TestLocalStack::groupRoomBothWays()
{
    a.core->send(kCmdGroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", "Pair"}}},
                                              {"members", QJsonArray{b.phone}}});
    const int created = a.core->waitFor(CoreProcess::answer(kCmdGroupCreate), 30000);
    QVERIFY2(created >= 0, qPrintable(failure("no group created")));
    groupId = a.core->lines().at(created).value("value").toString();
    QVERIFY(!groupId.isEmpty());
    // The keeper's invitation brings the group to both members.
    for (User* user : {&a, &b}) {
        QVERIFY2(user->core->waitFor(
                     [this](const QJsonObject& line) {
                         return line.value("command").toInt() == kCmdGroupAdded &&
                                line.value("value").toObject().value("GroupJID").toString() ==
                                    groupId;
                     },
                     30000) >= 0,
                 qPrintable(failure(user->name + " never got the group")));
    }
    QVERIFY2(sayInRoom(&a, &b, QStringLiteral("room hello from Ada")),
             qPrintable(failure("B did not get A's room message")));
    QVERIFY2(sayInRoom(&b, &a, QStringLiteral("room hello from Bo")),
             qPrintable(failure("A did not get B's room message")));

    // The keeper's password stays in its file, out of the console.
    QFile account(root.filePath(QStringLiteral("stack/keeper.json")));
    QVERIFY(account.open(QIODevice::ReadOnly));
    QCOMPARE(account.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
             QFileDevice::Permissions());
    const QString password =
        QJsonDocument::fromJson(account.readAll()).object().value("Password").toString();
    QVERIFY(password.size() >= 16);
    QFile log(serviceLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(!log.readAll().contains(password.toUtf8()));
}

void TestLocalStack::groupRoomGoesOnAfterTheRestart()
{
    QVERIFY(!groupId.isEmpty());
    QVERIFY2(sayInRoom(&a, &b, QStringLiteral("room after the restart")),
             qPrintable(failure("B did not get A's room message after the restart")));
    // Said while B is stopped: B gets it from the keeper's record of the room,
    // which the keeper only has when it entered the room again.
    QVERIFY2(b.core->stop(), qPrintable(failure("B did not stop cleanly")));
    const QString away = QStringLiteral("room while Bo is away");
    a.core->send(kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                              {"MINOR_TYPE", "TEXT"},
                                              {"FROM", groupId},
                                              {"MESSAGE_BODY", away}});
    QVERIFY(a.core->waitFor(pairWithBody(away), 20000) >= 0);
    QVERIFY(startCore(&b));
    QVERIFY2(b.core->waitFor(pairWithBody(away), 60000) >= 0,
             qPrintable(failure("B did not get the room message said while it was away")));
}

void TestLocalStack::killedServiceComesBack()
{
    // Killed outright, the service leaves its chat server behind; the next
    // start ends that one and serves the same state.
    service.kill();
    QVERIFY(service.waitForFinished(10000));
    QVERIFY2(startService(), qPrintable(failure("the service did not start after a kill")));
    changeNickname(&a, QStringLiteral("Ada at last"));
    if (QTest::currentTestFailed())
        return;
    exchange(&a, &b, QStringLiteral("after the kill"));
    exchange(&b, &a, QStringLiteral("after the kill, back"));
    for (User* user : {&a, &b})
        QVERIFY2(user->core->stop(), qPrintable(failure(user->name + " did not stop cleanly")));
}

QTEST_GUILESS_MAIN(TestLocalStack)
#include "tst_localstack.moc"
