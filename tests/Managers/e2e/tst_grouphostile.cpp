// Accounts on the same chat server that try to get into a private group, pass
// for one of its members or steer the members' programs: a stranger and a
// member with a raw chat client of their own, against two members' cores, the
// local service and its room keeper on a real prosody.

#include "corematches.h"
#include "coreprocess.h"
#include "grouproomkeeper.h"
#include "groupstack.h"
#include "localgroups.h"
#include "localservice.h"
#include "prosodyserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QXmppClient.h>
#include <QXmppDataForm.h>
#include <QXmppElement.h>
#include <QXmppMessage.h>
#include <QXmppMucIq.h>
#include <QXmppMucManager.h>
#include <QXmppPresence.h>
#include <QXmppUtils.h>
#include <QtTest>

#include <memory>

using namespace corematch;

namespace {

const int kCmdMessageEdited = 50;
const int kCmdGroupCreate = 51;
const int kCmdGroupGetData = 52;
const int kCmdGroupAdded = 54;
const int kCmdGroupInfoMembers = 55;
const int kCmdGroupChangeRole = 61;
const int kCmdGroupLastMessageChanged = 65;
const int kCmdErrorCode = 74;

using Member = GroupStack::Member;

// A chat client of its own for an account of the chat server.
class RawClient
{
public:
    explicit RawClient(const QXmppConfiguration& config) : muc(new QXmppMucManager)
    {
        client.addExtension(muc);
        QSignalSpy connected(&client, &QXmppClient::connected);
        client.connectToServer(config);
        connected.wait(20000);
    }
    bool isConnected() const { return client.isConnected(); }

    // Enters a room under a nick name; true once the room has let it in.
    bool enter(const QString& roomJid, const QString& nick)
    {
        room = muc->addRoom(roomJid);
        room->setNickName(nick);
        QSignalSpy joined(room, &QXmppMucRoom::joined);
        // A refusal is an error presence from the room.
        bool refused = false;
        const auto watch = QObject::connect(
            &client, &QXmppClient::presenceReceived, [&refused, roomJid](const QXmppPresence& p) {
                refused = refused || (p.type() == QXmppPresence::Error &&
                                      p.from().startsWith(roomJid + QLatin1Char('/')));
            });
        room->join();
        QElapsedTimer timer;
        timer.start();
        while (joined.isEmpty() && !refused && timer.elapsed() < 20000)
            QTest::qWait(50);
        QObject::disconnect(watch);
        return !joined.isEmpty();
    }
    void leave()
    {
        QSignalSpy left(room, &QXmppMucRoom::left);
        room->leave();
        left.wait(10000);
    }

    // A message of our form: its kind and fields as extra bodies.
    void send(const QString& to, QXmppMessage::Type type, const QString& text,
              const QJsonObject& fields)
    {
        QXmppMessage message;
        message.setTo(to);
        message.setType(type);
        message.setId(QUuid::createUuid().toString(QUuid::WithoutBraces));
        message.setBody(text);
        QXmppElementList bodies;
        for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
            QXmppElement body;
            body.setTagName(QStringLiteral("body"));
            body.setAttribute(QStringLiteral("xml:lang"), it.key());
            body.setValue(it.value().toString());
            bodies.append(body);
        }
        message.setExtensions(bodies);
        client.sendPacket(message);
    }

    QXmppClient client;
    QXmppMucManager* muc;
    QXmppMucRoom* room = nullptr;
};

QJsonObject control(const QString& kind, const QJsonObject& fields)
{
    QJsonObject all = fields;
    all.insert("MAJOR_TYPE", "CONTROL_MESSAGE");
    all.insert("MINOR_TYPE", kind);
    all.insert("SEND_TIME_IN_GMT", QString::number(QDateTime::currentMSecsSinceEpoch()));
    return all;
}

CoreProcess::Match messageWithBody(const QString& body)
{
    return [body](const QJsonObject& line) {
        const int command = line.value("command").toInt();
        const QJsonObject value = line.value("value").toObject();
        const QJsonObject message =
            command == kCmdMessagePairAdded ? value.value("message").toObject() : value;
        return (command == kCmdMessagePairAdded || command == kCmdMessageAdded) &&
               message.value("MESSAGE_BODY").toString() == body;
    };
}

// A group notice of that kind shown or made the group's last message: as a
// new message on the board or as the list's newest.
CoreProcess::Match noticeOf(const QString& kind, const QString& author)
{
    return [kind, author](const QJsonObject& line) {
        const int command = line.value("command").toInt();
        const QJsonObject message =
            command == kCmdMessagePairAdded ? pairMessage(line) : line.value("value").toObject();
        return (command == kCmdMessagePairAdded || command == kCmdGroupLastMessageChanged) &&
               message.value("MAJOR_TYPE").toString() == "CONTROL_MESSAGE" &&
               message.value("MINOR_TYPE").toString() == kind &&
               (author.isEmpty() || message.value("USER_ID").toString() == author);
    };
}

} // namespace

class TestGroupHostile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void oneToOneFromARoomLikeResourceIsTheStrangers();
    void strangerCannotEnterNorRemove();
    void strangersInvitationJoinsNothing();
    void membersRemovalOfAnotherChangesNothing();
    void membersNoticesShowNowhere_data();
    void membersNoticesShowNowhere();
    void keepersNoticeOfAConfirmedChangeShows();
    void membersNoticesInTheRecordShowNowhere();
    void memberPassingForAnotherIsDropped();
    void openRoomOfAnOlderStackIsMadePrivate();
    void strangerCannotOpenAGroupsRoomFirst();

private:
    QString failure(const QString& what) const { return stack.failure(what, {&a, &c}); }
    QString roomJid(const QString& id) const { return id + "@" + stack.prosody->mucDomain(); }
    QString address(const QString& user) const { return stack.prosody->jid(user); }
    QString createGroup(const QString& name, const QStringList& members);
    // C's group data for the group, removed or not.
    CoreProcess::Match removedData(const QString& id, bool removed) const;
    // The message id of a message a member said, from its own core's lines.
    QString messageIdOf(Member* member, const QString& body) const;

    QTemporaryDir root;
    GroupStack stack;
    Member a, c;
    const QString b = QStringLiteral("989140000002");
    const QString eve = QStringLiteral("989140000009");
    QString groupId;
    QString pairId;
};

void TestGroupHostile::initTestCase()
{
    if (!ProsodyServer::isAvailable())
        QSKIP("prosody is not installed");
    QVERIFY(root.isValid());
    a = {"A", "989140000001", root.filePath("A"), {}};
    c = {"C", "989140000003", root.filePath("C"), {}};
    QString error;
    QVERIFY2(stack.start({a.phone, b, c.phone, eve}, &error), qPrintable(error));
    for (Member* member : {&a, &c})
        QVERIFY2(stack.startCore(member), qPrintable(failure(member->name + " did not connect")));
    // B is a member with a chat client of its own and no program.
    QVERIFY(stack.addServiceAccount(b));
    groupId = createGroup("Trio", {b, c.phone});
    QVERIFY(!groupId.isEmpty());
    QVERIFY2(c.core->waitFor(groupAnswer(kCmdGroupAdded, groupId), 20000) >= 0,
             qPrintable(failure("C never got the group")));
    for (const Member* member : {&a, &c})
        QVERIFY2(stack.waitInRoom(groupId, member->phone),
                 qPrintable(failure(member->name + " is not in the room")));
    // A second group without C.
    pairId = createGroup("Pair", {b});
    QVERIFY(!pairId.isEmpty());
    QVERIFY2(stack.waitInRoom(pairId, a.phone), qPrintable(failure("A is not in the pair's room")));
}

void TestGroupHostile::cleanupTestCase()
{
    for (Member* member : {&a, &c}) {
        if (member->core)
            member->core->stop();
        member->core.reset();
    }
    stack.stop();
}

QString TestGroupHostile::createGroup(const QString& name, const QStringList& members)
{
    const int from = a.core->lineCount();
    a.core->send(kCmdGroupCreate, QJsonObject{{"info", QJsonObject{{"GroupName", name}}},
                                              {"members", QJsonArray::fromStringList(members)}});
    const int created = a.core->waitFor(CoreProcess::answer(kCmdGroupCreate), 20000, from);
    if (created < 0)
        return QString();
    const QString id = a.core->lines().at(created).value("value").toString();
    return a.core->waitFor(groupAnswer(kCmdGroupAdded, id), 20000, from) >= 0 ? id : QString();
}

CoreProcess::Match TestGroupHostile::removedData(const QString& id, bool removed) const
{
    return [id, removed](const QJsonObject& line) {
        const QJsonObject value = line.value("value").toObject();
        return line.value("command").toInt() == kCmdGroupGetData &&
               value.value("GroupJID").toString() == id &&
               value.value("_removed").toBool() == removed;
    };
}

QString TestGroupHostile::messageIdOf(Member* member, const QString& body) const
{
    const int at = member->core->waitFor(pairWithBody(body), 20000);
    return at < 0 ? QString()
                  : pairMessage(member->core->lines().at(at)).value("MESSAGE_ID").toString();
}

void TestGroupHostile::oneToOneFromARoomLikeResourceIsTheStrangers()
{
    // The stranger's resource looks like an occupant of a room named after C.
    RawClient stranger(stack.clientConfiguration(eve, c.phone + "@" + stack.prosody->mucDomain()));
    QVERIFY(stranger.isConnected());
    const int from = c.core->lineCount();
    stranger.send(
        address(c.phone), QXmppMessage::Chat, QString(),
        control("UPDATE_CONVERSATION_MUTE_STATUS",
                {{"CONVERSATION_ID", groupId},
                 {"CONVERSATION_TYPE", "GROUP"},
                 {"MUTE_STATUS", "MUTE"},
                 {"UPDATE_TIMESTAMP", QString::number(QDateTime::currentMSecsSinceEpoch())}}));
    stranger.send(address(c.phone), QXmppMessage::Chat, "hello from eve",
                  {{"MAJOR_TYPE", "SIMPLE_CHAT"}, {"MINOR_TYPE", "TEXT"}});
    // The text is the stranger's own, and what came before it muted nothing.
    const int text = c.core->waitFor(messageWithBody("hello from eve"), 20000, from);
    QVERIFY2(text >= 0, qPrintable(failure("C did not get the stranger's text")));
    const QJsonObject line = c.core->lines().at(text);
    const QJsonObject message = line.value("command").toInt() == kCmdMessagePairAdded
                                    ? pairMessage(line)
                                    : line.value("value").toObject();
    QCOMPARE(message.value("USER_ID").toString(), eve);
    QCOMPARE(c.core->count(
                 [this](const QJsonObject& l) {
                     const QJsonObject value = l.value("value").toObject();
                     return l.value("command").toInt() == kCmdGroupGetData &&
                            value.value("GroupJID").toString() == groupId &&
                            value.value("_mute").toBool();
                 },
                 from),
             0);
}

void TestGroupHostile::strangerCannotEnterNorRemove()
{
    RawClient stranger(stack.clientConfiguration(eve, "raw"));
    QVERIFY(stranger.isConnected());
    QVERIFY2(!stranger.enter(roomJid(groupId), address(eve)), "the stranger entered the room");
    QVERIFY(stack.staysOutOfRoom(groupId, eve));
    int heard = 0;
    QObject::connect(stranger.room, &QXmppMucRoom::messageReceived,
                     [&heard](const QXmppMessage& message) {
                         // The room's refusal of what it sent is no message of the group.
                         if (message.type() != QXmppMessage::Error)
                             ++heard;
                     });
    // What it sends the room reaches no member.
    const int from = c.core->lineCount();
    stranger.send(roomJid(groupId), QXmppMessage::GroupChat, "you are out",
                  control("GROUP_REMOVE", {{"JID", groupId}, {"REMOVED_USER_ID", c.phone}}));
    stack.say(&a, groupId, "members only");
    QVERIFY2(c.core->waitFor(pairWithBody("members only"), 20000, from) >= 0,
             qPrintable(failure("C did not hear A")));
    QCOMPARE(c.core->count(removedData(groupId, true), from), 0);
    QCOMPARE(c.core->count(pairWithBody("you are out"), from), 0);
    // Nor does the stranger hear the group.
    QCOMPARE(heard, 0);
}

void TestGroupHostile::strangersInvitationJoinsNothing()
{
    RawClient stranger(stack.clientConfiguration(eve, "raw"));
    QVERIFY(stranger.isConnected());
    const int from = c.core->lineCount();
    stranger.send(address(c.phone), QXmppMessage::Chat, "join us",
                  control("GROUP_INVITATION", {{"JID", pairId}, {"USER_ROLE", "MEMBER"}}));
    // C asks the service, which does not give it the group.
    QVERIFY2(c.core->waitFor(
                 [](const QJsonObject& line) {
                     return line.value("command").toInt() == kCmdErrorCode &&
                            line.value("value").toInt() == 404;
                 },
                 20000, from) >= 0,
             qPrintable(failure("C did not ask the service about the invitation")));
    QVERIFY(stack.staysOutOfRoom(pairId, c.phone));
    QCOMPARE(c.core->count(groupAnswer(kCmdGroupAdded, pairId), from), 0);
    QCOMPARE(c.core->count(groupAnswer(kCmdGroupGetData, pairId), from), 0);
}

void TestGroupHostile::membersRemovalOfAnotherChangesNothing()
{
    RawClient rogue(stack.clientConfiguration(b, "rogue"));
    QVERIFY(rogue.isConnected());
    QVERIFY(rogue.enter(roomJid(groupId), address(b)));
    const int from = c.core->lineCount();
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "C is out",
               control("GROUP_REMOVE", {{"JID", groupId}, {"REMOVED_USER_ID", c.phone}}));
    // C asks the service, which still names it a member.
    QVERIFY2(c.core->waitFor(removedData(groupId, false), 20000, from) >= 0,
             qPrintable(failure("C did not ask the service about its removal")));
    stack.say(&a, groupId, "still here");
    QVERIFY2(c.core->waitFor(pairWithBody("still here"), 20000, from) >= 0,
             qPrintable(failure("C does not hear the group any more")));
    QCOMPARE(c.core->count(removedData(groupId, true), from), 0);
    QVERIFY(LocalGroups::of(*stack.service)->isMember(groupId, c.phone));
    rogue.leave();
}

void TestGroupHostile::membersNoticesShowNowhere_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonObject>("fields");
    const QString rogue = b;
    QTest::newRow("another removed") << "GROUP_REMOVE" << QJsonObject{{"REMOVED_USER_ID", a.phone}};
    QTest::newRow("own role") << "GROUP_CHANGE_ROLE"
                              << QJsonObject{{"CHANGE_USER_ID", rogue},
                                             {"OLD_ROLE", "MEMBER"},
                                             {"NEW_ROLE", "ADMIN"}};
    QTest::newRow("own join") << "GROUP_JOIN"
                              << QJsonObject{{"CHANGE_USER_ID", rogue},
                                             {"ADDED_BY", a.phone},
                                             {"USER_ROLE", "ADMIN"}};
    QTest::newRow("details") << "GROUP_CHANGE_METADATA" << QJsonObject{};
    QTest::newRow("left") << "GROUP_LEAVE" << QJsonObject{};
    QTest::newRow("created") << "GROUP_CREATED" << QJsonObject{};
}

void TestGroupHostile::membersNoticesShowNowhere()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, fields);
    RawClient rogue(stack.clientConfiguration(b, "rogue"));
    QVERIFY(rogue.isConnected());
    QVERIFY(rogue.enter(roomJid(groupId), address(b)));
    const int fromA = a.core->lineCount();
    const int fromC = c.core->lineCount();
    fields.insert("JID", groupId);
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "forged " + kind, control(kind, fields));
    // The room passes messages on in the order said: once A's word after
    // it arrived, the forgery was dealt with.
    const QString marker = "after the forged " + kind;
    stack.say(&a, groupId, marker);
    for (Member* member : {&a, &c}) {
        QVERIFY2(member->core->waitFor(pairWithBody(marker), 20000, member == &a ? fromA : fromC) >=
                     0,
                 qPrintable(failure(member->name + " did not hear A")));
        QCOMPARE(member->core->count(noticeOf(kind, QString()), member == &a ? fromA : fromC), 0);
    }
    // The list's newest message of the group is A's.
    const int last = c.core->waitFor(
        [this, marker](const QJsonObject& line) {
            const QJsonObject value = line.value("value").toObject();
            return line.value("command").toInt() == kCmdGroupLastMessageChanged &&
                   value.value("MESSAGE_BODY").toString() == marker;
        },
        20000, fromC);
    QVERIFY2(last >= 0, qPrintable(failure("A's word is not C's newest of the group")));
    // Nothing the forgery names changed at the service.
    QVERIFY(LocalGroups::of(*stack.service)->isMember(groupId, a.phone));
    QVERIFY(LocalGroups::of(*stack.service)->isMember(groupId, b));
    rogue.leave();
}

void TestGroupHostile::keepersNoticeOfAConfirmedChangeShows()
{
    // A, the group's owner, makes B a manager and takes it back: the
    // service's room account tells the room of each, and every member shows it.
    for (const QString& role : {QStringLiteral("ADMIN"), QStringLiteral("MEMBER")}) {
        const int fromC = c.core->lineCount();
        a.core->send(kCmdGroupChangeRole,
                     QJsonObject{{"jid", groupId}, {"user", b}, {"role", role}});
        const int shown =
            c.core->waitFor(noticeOf("GROUP_CHANGE_ROLE", GroupStack::kKeeper), 20000, fromC);
        QVERIFY2(shown >= 0, qPrintable(failure("C did not show the change of B's role")));
        QVERIFY2(c.core->waitFor(
                     [](const QJsonObject& line) {
                         const QJsonObject value = line.value("value").toObject();
                         return line.value("command").toInt() == kCmdGroupLastMessageChanged &&
                                value.value("MINOR_TYPE").toString() == "GROUP_CHANGE_ROLE" &&
                                value.value("USER_ID").toString() == GroupStack::kKeeper;
                     },
                     20000, fromC) >= 0,
                 qPrintable(failure("the change of B's role is not C's newest of the group")));
        // And C's member list, asked of the service, gives B the role.
        const QString rogue = b;
        const QString id = groupId;
        QVERIFY2(c.core->waitFor(
                     [rogue, id, role](const QJsonObject& line) {
                         const QJsonObject value = line.value("value").toObject();
                         return line.value("command").toInt() == kCmdGroupInfoMembers &&
                                value.value("info").toObject().value("GroupJID").toString() == id &&
                                value.value("members").toObject().value(rogue).toString() == role;
                     },
                     20000, fromC) >= 0,
                 qPrintable(failure("C's member list does not give B the role")));
    }
}

void TestGroupHostile::membersNoticesInTheRecordShowNowhere()
{
    // While C is away, B tells the room that A was removed: the service
    // keeps B's words in its record of the room, and C, back, reads them.
    QVERIFY(c.core->stop());
    QTRY_VERIFY_WITH_TIMEOUT(!stack.keeper->isPresent(groupId, c.phone), 20000);
    RawClient rogue(stack.clientConfiguration(b, "rogue"));
    QVERIFY(rogue.isConnected());
    QVERIFY(rogue.enter(roomJid(groupId), address(b)));
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "A is out",
               control("GROUP_REMOVE", {{"JID", groupId}, {"REMOVED_USER_ID", a.phone}}));
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "B runs it",
               control("GROUP_CHANGE_ROLE", {{"JID", groupId},
                                             {"CHANGE_USER_ID", b},
                                             {"OLD_ROLE", "MEMBER"},
                                             {"NEW_ROLE", "ADMIN"}}));
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "told by B while C was away",
               {{"MAJOR_TYPE", "GROUP_CHAT"}, {"MINOR_TYPE", "TEXT"}});
    rogue.leave();
    QVERIFY2(stack.startCore(&c), qPrintable(failure("C did not come back")));
    QVERIFY2(c.core->waitFor(pairWithBody("told by B while C was away"), 20000) >= 0,
             qPrintable(failure("C missed what B said")));
    QVERIFY2(stack.waitInRoom(groupId, c.phone), qPrintable(failure("C is not back in the room")));
    stack.say(&a, groupId, "after C came back");
    QVERIFY2(c.core->waitFor(pairWithBody("after C came back"), 20000) >= 0,
             qPrintable(failure("C does not hear the group")));
    QTest::qWait(1500);
    for (const QString& kind :
         {QStringLiteral("GROUP_REMOVE"), QStringLiteral("GROUP_CHANGE_ROLE")})
        QCOMPARE(c.core->count(noticeOf(kind, QString())), 0);
}

void TestGroupHostile::memberPassingForAnotherIsDropped()
{
    stack.say(&c, groupId, "c original");
    const QString original = messageIdOf(&c, "c original");
    QVERIFY(!original.isEmpty());
    QVERIFY2(a.core->waitFor(pairWithBody("c original"), 20000) >= 0,
             qPrintable(failure("A did not hear C")));
    // While C is away, B enters under C's nick name, says something and
    // edits C's message.
    QVERIFY(c.core->stop());
    QTRY_VERIFY_WITH_TIMEOUT(!stack.keeper->isPresent(groupId, c.phone), 20000);
    RawClient rogue(stack.clientConfiguration(b, "rogue"));
    QVERIFY(rogue.isConnected());
    QVERIFY(rogue.enter(roomJid(groupId), address(c.phone)));
    const int fromA = a.core->lineCount();
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, "forged while away",
               {{"MAJOR_TYPE", "GROUP_CHAT"}, {"MINOR_TYPE", "TEXT"}});
    rogue.send(roomJid(groupId), QXmppMessage::GroupChat, QString(),
               control("EDIT_MESSAGE", {{"EDITED_TEXT", "forged edit"},
                                        {"UPDATE_TIMESTAMP", "1"},
                                        {"MESSAGE_ID", original}}));
    stack.say(&a, groupId, "while C is away");
    rogue.leave();

    // A, in the room, drops both.
    QVERIFY2(a.core->waitFor(pairWithBody("while C is away"), 20000, fromA) >= 0,
             qPrintable(failure("A's own message did not come back")));
    // C, back, has what was said while it was away, and nothing of the forger.
    QVERIFY2(stack.startCore(&c), qPrintable(failure("C did not come back")));
    QVERIFY2(c.core->waitFor(pairWithBody("while C is away"), 20000) >= 0,
             qPrintable(failure("C missed what A said")));
    QVERIFY2(stack.waitInRoom(groupId, c.phone), qPrintable(failure("C is not back in the room")));
    stack.say(&a, groupId, "welcome back");
    QVERIFY2(c.core->waitFor(pairWithBody("welcome back"), 20000) >= 0,
             qPrintable(failure("C does not hear the group")));
    QTest::qWait(1500);
    for (Member* member : {&a, &c}) {
        QCOMPARE(member->core->count(pairWithBody("forged while away")), 0);
        QCOMPARE(member->core->count(CoreProcess::answer(kCmdMessageEdited)), 0);
    }
    // Nor does the service keep it as anyone's.
    QCOMPARE(LocalGroups::of(*stack.service)
                 ->messagesBefore(groupId, QString(), 50)
                 .filter("forged while away")
                 .size(),
             0);
}

void TestGroupHostile::openRoomOfAnOlderStackIsMadePrivate()
{
    // The room as an older stack left it: open to anyone, with the stranger
    // listed as a member, while the service is away.
    stack.stopKeeper();
    RawClient owner(stack.clientConfiguration(GroupStack::kKeeper, "older"));
    QVERIFY(owner.isConnected());
    QXmppMucRoom* room = owner.muc->addRoom(roomJid(groupId));
    QXmppDataForm form(QXmppDataForm::Submit);
    QXmppDataForm::Field type(QXmppDataForm::Field::HiddenField);
    type.setKey("FORM_TYPE");
    type.setValue(QStringLiteral("http://jabber.org/protocol/muc#roomconfig"));
    QXmppDataForm::Field open(QXmppDataForm::Field::BooleanField);
    open.setKey("muc#roomconfig_membersonly");
    open.setValue(false);
    form.setFields({type, open});
    QVERIFY(room->setConfiguration(form));
    const auto memberEve = [&](QXmppMucItem::Affiliation affiliation) {
        QXmppMucItem item;
        item.setJid(address(eve));
        item.setAffiliation(affiliation);
        return item;
    };
    QXmppMucAdminIq listed;
    listed.setType(QXmppIq::Set);
    listed.setTo(roomJid(groupId));
    listed.setItems({memberEve(QXmppMucItem::MemberAffiliation)});
    QVERIFY(owner.client.sendPacket(listed));
    // The keeper's account sees the stranger listed.
    const auto eveListed = [&]() {
        bool answered = false;
        bool found = false;
        const auto watch = QObject::connect(
            room, &QXmppMucRoom::permissionsReceived, [&](const QList<QXmppMucItem>& items) {
                answered = true;
                for (const QXmppMucItem& item : items)
                    found = found || QXmppUtils::jidToBareJid(item.jid()) == address(eve);
            });
        room->requestPermissions();
        QElapsedTimer timer;
        timer.start();
        while (!answered && timer.elapsed() < 10000)
            QTest::qWait(50);
        QObject::disconnect(watch);
        return !answered || found;
    };
    QVERIFY(eveListed());

    // Back, the keeper sets the room up as the group's again.
    stack.startKeeper();
    QTRY_VERIFY_WITH_TIMEOUT(stack.keeper->hasRoom(groupId), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(!eveListed(), 20000);
    RawClient stranger(stack.clientConfiguration(eve, "raw"));
    QVERIFY(stranger.isConnected());
    QVERIFY2(!stranger.enter(roomJid(groupId), address(eve)), "the stranger entered the room");
    // The members still talk there.
    const int from = c.core->lineCount();
    stack.say(&a, groupId, "private again");
    QVERIFY2(c.core->waitFor(pairWithBody("private again"), 20000, from) >= 0,
             qPrintable(failure("C did not hear A")));
}

void TestGroupHostile::strangerCannotOpenAGroupsRoomFirst()
{
    RawClient stranger(stack.clientConfiguration(eve, "opener"));
    QVERIFY(stranger.isConnected());
    // A guess at the id of a group A is about to make: no room comes of it.
    const QString guessed =
        QStringLiteral("pri_%1_%2").arg(a.phone).arg(QDateTime::currentMSecsSinceEpoch() + 60000);
    QVERIFY2(!stranger.enter(roomJid(guessed), address(eve)), "the stranger opened a room");

    // A group made while the keeper is away: its room is not open yet, and
    // neither the stranger nor A's program can open it.
    stack.stopKeeper();
    const QString late = createGroup("Late", {b});
    QVERIFY(!late.isEmpty());
    QVERIFY2(!stranger.enter(roomJid(late), address(eve)),
             "the stranger opened the room of a new group");

    // Back, the keeper opens it as its owner, for the members alone.
    stack.startKeeper();
    QTRY_VERIFY_WITH_TIMEOUT(stack.keeper->hasRoom(late), 20000);
    // A's program, refused until then, asks again and gets in.
    QTRY_VERIFY2_WITH_TIMEOUT(stack.keeper->isPresent(late, a.phone),
                              qPrintable(failure("A is not in the new group's room")), 60000);
    QVERIFY2(!stranger.enter(roomJid(late), address(eve)), "the stranger entered the room");
    QVERIFY(stack.staysOutOfRoom(late, eve));
}

QTEST_GUILESS_MAIN(TestGroupHostile)
#include "tst_grouphostile.moc"
