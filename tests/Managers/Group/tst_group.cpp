// One group's value and store, and the reader of archived room stanzas.
#include "Managers/Group/group.h"
#include "Managers/Group/groupstanzareader.h"
#include "groupfixtures.h"

#include <QtTest>

using namespace GroupFixtures;

namespace {
const QString G = QStringLiteral("pri_me_1");

Group filledGroup()
{
    Group group(groupJson(G));
    group.setMembers(QJsonArray{memberJson("u1"), memberJson("u2", "ADMIN")});
    return group;
}
} // namespace

class TestGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void copiesShareTheStoreAndKeepMembers();
    void membersFromJson();
    void storeOpensWhenFirstNeededAndTracksTheNewest();
    void stanzas_data();
    void stanzas();
    void replyEncodingAndSkippedElements();
};

void TestGroup::init()
{
    Chat chat;
    chat.setChatId(G, Chat::ChatMode_Stored);
    chat.clear();
}

void TestGroup::copiesShareTheStoreAndKeepMembers()
{
    Group original = filledGroup();
    Group copy(original);
    QCOMPARE(copy.getMembers().size(), 2);
    QCOMPARE(copy.getMembers(), original.getMembers());
    Group assigned;
    assigned = original;
    QCOMPARE(assigned.getMembers().size(), 2);

    bool last = false;
    QVERIFY(copy.insertMessage(groupMessage(G, "m1", 100, "u1"), &last));
    QVERIFY(last);
    // The message went to the one store all copies share.
    Message stored;
    QVERIFY(original.getMessage("m1", &stored));
    QVERIFY(assigned.getMessage("m1", &stored));
    QVERIFY(!original.insertMessage(groupMessage(G, "m1", 100, "u1"), &last));
    QCOMPARE(assigned.getNumberOfMessages(), 1);

    // Members are each copy's own.
    copy.setMembers(QJsonArray{memberJson("u3")});
    QCOMPARE(original.getMembers().size(), 2);

    // A copy that outlives the one it was made from still reaches the store.
    Group* temporary = new Group(original);
    Group survivor(*temporary);
    delete temporary;
    QVERIFY(survivor.getMessage("m1", &stored));
}

void TestGroup::membersFromJson()
{
    Group group(groupJson(G));
    group.setMembers(
        QJsonArray{memberJson("u1"), QJsonObject{{"Username", "bad"}}, memberJson("u1", "ADMIN")});
    QCOMPARE(group.getMembers().size(), 1);
    QCOMPARE(group.getMembers().value("u1").getRole(), GroupRole::ADMIN);

    group.processMembersInfo(QJsonObject{{"Members", QJsonObject{{"u2", memberJson("u2")}}}});
    QCOMPARE(group.getMembers().keys(), QStringList{"u1"});
    group.processMembersInfo(QJsonObject{{"Members", QJsonArray{memberJson("u2")}}});
    QCOMPARE(group.getMembers().keys(), QStringList{"u2"});

    Group back(groupJson(G));
    back.setMembers(group.getMembersArray());
    QCOMPARE(back.getMembers(), group.getMembers());
    QCOMPARE(group.getGroupInfoAndMembers().getMembers(), group.getMembers());
}

void TestGroup::storeOpensWhenFirstNeededAndTracksTheNewest()
{
    Group group = filledGroup();
    QVERIFY(!group.isChatOpen());
    group.initChat();
    QVERIFY(group.isChatOpen());
    QVERIFY(group.getInfo().getLastMessage().isEmpty());
    QCOMPARE(group.getInfo().getUnreadCount(), 0);

    bool last = false;
    QVERIFY(group.insertMessage(groupMessage(G, "new", 200, "u1"), &last));
    QVERIFY(last);
    QVERIFY(group.insertMessage(groupMessage(G, "old", 100, "u2"), &last));
    QVERIFY(!last);
    QCOMPARE(group.getInfo().getLastMessage().getMessageId(), QString("new"));

    group.closeChat();
    QVERIFY(!group.isChatOpen());
    Group reopened = filledGroup();
    reopened.initChat();
    QCOMPARE(reopened.getInfo().getLastMessage().getMessageId(), QString("new"));
    QCOMPARE(reopened.getInfo().getUnreadCount(), 2);
    QCOMPARE(reopened.getLastMessages(5, 0).size(), 2);

    reopened.removeChat();
    QVERIFY(reopened.isChatEmpty());
    QVERIFY(reopened.getInfo().getLastMessage().isEmpty());
}

void TestGroup::stanzas_data()
{
    QTest::addColumn<QString>("stanza");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<QString>("body");
    const QString to = G + "@conference.chat.test";
    QTest::newRow("plain") << roomMessage(G, "u1", "m1", 100) << true << "u1"
                           << "text m1";
    Bodies extra = textBodies("سلام دنیا", 100);
    extra << qMakePair(QString("REPLY_ON_MESSAGE_ID"), QString("m0"));
    extra << qMakePair(QString("MESSAGE_ID"), QString("second"));
    QTest::newRow("extra bodies, UTF-8 text")
        << stanza("u2@chat.test/x", to, "m2", extra) << true << "u2"
        << "سلام دنیا";
    Bodies forged = textBodies("hi", 100);
    forged << qMakePair(QString("USER_ID"), QString("boss"));
    forged << qMakePair(QString("FROM"), QString("other_group"));
    QTest::newRow("sender field in a body is ignored")
        << stanza("u3@chat.test", to, "m3", forged) << true << "u3"
        << "hi";
    QTest::newRow("bare sender id") << stanza("u4", to, "m4", textBodies("hi", 100)) << true << "u4"
                                    << "hi";
    QTest::newRow("type chat") << stanza("u1@chat.test", to, "m5", textBodies("hi", 100), "chat")
                               << false << ""
                               << "";
    QTest::newRow("root not message")
        << stanza("u1@chat.test", to, "m6", textBodies("hi", 100), "groupchat", "presence") << false
        << ""
        << "";
    QTest::newRow("empty sender") << stanza("", to, "m7", textBodies("hi", 100)) << false << ""
                                  << "";
    QTest::newRow("sender with empty user part")
        << stanza("@chat.test", to, "m8", textBodies("hi", 100)) << false << ""
        << "";
    QTest::newRow("no type bodies") << stanza("u1@chat.test", to, "m9", {{"", "hi"}}) << false << ""
                                    << "";
    QTest::newRow("document type declaration")
        << "<!DOCTYPE message [<!ENTITY x \"boom\">]>" + roomMessage(G, "u1", "m10", 100) << false
        << ""
        << "";
    QTest::newRow("entity expansion")
        << "<!DOCTYPE message [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
           "<message type=\"groupchat\" from=\"u1@c\" to=\"g@c\" id=\"x\"><body>&b;</body>"
           "<body xml:lang=\"MAJOR_TYPE\">GROUP_CHAT</body>"
           "<body xml:lang=\"MINOR_TYPE\">TEXT</body></message>"
        << false << ""
        << "";
    QTest::newRow("not XML") << "<message type=\"groupchat\"" << false << ""
                             << "";
}

void TestGroup::stanzas()
{
    QFETCH(QString, stanza);
    QFETCH(bool, read);
    QFETCH(QString, sender);
    QFETCH(QString, body);
    Message message;
    QCOMPARE(GroupStanzaReader::parse(stanza.toUtf8(), &message), read);
    if (!read)
        return;
    QCOMPARE(message.getUserId(), sender);
    QCOMPARE(message.getChatId(), G);
    QCOMPARE(message.getMajorType(), MessageBase::MsgMajorType_GroupChat);
    QCOMPARE(message.getSendTimeInGMT(), qint64(100));
    QVERIFY2(message.getMessageBody().contains(body), qPrintable(message.getMessageBody()));
    if (QByteArray(QTest::currentDataTag()).startsWith("extra")) {
        QCOMPARE(message.getReplyOnMessageId(), QString("m0"));
        QCOMPARE(message.getMessageId(), QString("m2"));
    }
}

void TestGroup::replyEncodingAndSkippedElements()
{
    const QString persian = QStringLiteral("<message type=\"groupchat\" from=\"u1@chat.test\" "
                                           "to=\"%1@conference.chat.test\" id=\"p\">"
                                           "<body>درود</body>"
                                           "<body xml:lang=\"MAJOR_TYPE\">GROUP_CHAT</body>"
                                           "<body xml:lang=\"MINOR_TYPE\">TEXT</body>"
                                           "<body xml:lang=\"SEND_TIME_IN_GMT\">5</body>"
                                           "</message>")
                                .arg(G);
    const QJsonArray plain{roomMessage(G, "u1", "a", 1), "garbage", persian,
                           roomMessage(G, "u2", "b", 2)};
    QJsonArray encoded;
    for (const QJsonValue& value : plain)
        encoded.append(QString::fromLatin1(value.toString().toUtf8().toBase64()));

    for (const auto& reply : {QJsonObject{{"Messages", plain}},
                              QJsonObject{{"Messages", plain}, {"MessagesBase64Encoded", "0"}},
                              QJsonObject{{"Messages", encoded}, {"MessagesBase64Encoded", "1"}}}) {
        const QList<Message> messages =
            GroupStanzaReader::readReply(reply, MessageBase::MsgState_Seen);
        QCOMPARE(messages.size(), 3);
        QCOMPARE(messages.at(0).getMessageId(), QString("a"));
        QCOMPARE(messages.at(1).getMessageBody(), QString("درود"));
        QCOMPARE(messages.at(2).getUserId(), QString("u2"));
        for (const Message& message : messages)
            QCOMPARE(message.getState(), MessageBase::MsgState_Seen);
    }
    // Base64 text read as plain, and the reverse, yields nothing.
    QVERIFY(GroupStanzaReader::readReply({{"Messages", encoded}}, MessageBase::MsgState_Seen)
                .isEmpty());
    QVERIFY(GroupStanzaReader::readReply({{"Messages", "not an array"}}, MessageBase::MsgState_Seen)
                .isEmpty());
    QVERIFY(GroupStanzaReader::readReply({}, MessageBase::MsgState_Seen).isEmpty());
}

QTEST_GUILESS_MAIN(TestGroup)
#include "tst_group.moc"
