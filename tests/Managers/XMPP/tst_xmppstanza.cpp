// The stanza form without a server: stream-management packets, the message
// stanza built from a Message and read back, and the rules that keep the
// authenticated sender in charge of who a message is from, and the room
// keeper's word in its room presence that the service's record is complete.

#include "Managers/XMPP/channelaccountpresence.h"
#include "Managers/XMPP/quorvelxmppmessage.h"
#include "Managers/XMPP/roomrecordpresence.h"
#include "Managers/XMPP/smpacket.h"
#include "Managers/XMPP/stanzacounter.h"

#include <QDateTime>
#include <QDomDocument>
#include <QTest>
#include <QXmlStreamWriter>
#include <QXmppClient.h>
#include <QXmppOutgoingClient.h>
#include <QXmppPresence.h>

namespace {

const char* const kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

// Parses one element the way the stream hands it over (namespaces on).
QDomElement streamElement(const QString& xml, QDomDocument* document)
{
    const QString wrapped = QStringLiteral("<stream:stream xmlns='jabber:client' "
                                           "xmlns:stream='http://etherx.jabber.org/streams'>") +
                            xml + QStringLiteral("</stream:stream>");
    if (!document->setContent(wrapped, true))
        return QDomElement();
    return document->documentElement().firstChildElement();
}

QString toXml(const QXmppStanza& stanza)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    stanza.toXml(&writer);
    return xml;
}

// Every <body> of the stanza: language (empty for none) -> text, in order.
QList<QPair<QString, QString>> bodies(const QDomElement& message)
{
    QList<QPair<QString, QString>> result;
    for (QDomElement body = message.firstChildElement(QStringLiteral("body")); !body.isNull();
         body = body.nextSiblingElement(QStringLiteral("body")))
        result.append(
            {body.attributeNS(QLatin1String(kXmlNamespace), QStringLiteral("lang")), body.text()});
    return result;
}

Message parsed(const QString& xml, bool* ok)
{
    QDomDocument document;
    QuorvelXMPPMessage stanza;
    *ok = stanza.parseElement(streamElement(xml, &document));
    return stanza.getMessage();
}

Message sample(MessageBase::MsgMajorType major, MessageBase::MsgMinorType minor)
{
    Message m(major, QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("text"));
    m.setMinorType(minor);
    m.setMessageId(QStringLiteral("des_alice_1700000000000_AbCd"));
    m.setSendTimeInGMT(1700000000123);
    return m;
}

// Notes each stream-management element the counter offers to the client's
// extensions, with the received count as the counter gives it at that point.
class OfferedPackets : public QXmppClientExtension
{
public:
    explicit OfferedPackets(StanzaCounter* counter) : counter(counter) {}
    bool handleStanza(const QDomElement& element) override
    {
        if (element.namespaceURI() != QLatin1String(SMPacket::ns))
            return false;
        QString note = element.tagName();
        if (element.hasAttribute(QStringLiteral("h")))
            note += QLatin1Char('=') + element.attribute(QStringLiteral("h"));
        offered.append(note + QStringLiteral(" @%1").arg(counter->receivedCount()));
        return true;
    }
    StanzaCounter* const counter;
    QStringList offered;
};

} // namespace

class XmppStanzaTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void smPacketParse_data();
    void smPacketParse();
    void smPacketWrite_data();
    void smPacketWrite();
    void receivedChunksOfferAnswersAndRequests_data();
    void receivedChunksOfferAnswersAndRequests();

    void stanzaTypeAndAddress_data();
    void stanzaTypeAndAddress();
    void builtStanzaCarriesFieldsAsBodies();
    void groupAndControlStanzasOmitSender();
    void receiptRequests_data();
    void receiptRequests();

    void roundTrip_data();
    void roundTrip();
    void senderCannotBeOverridden();
    void hostileBodies_data();
    void hostileBodies();
    void channelPostFromTheServiceAccount();
    void rejectedStanzas_data();
    void rejectedStanzas();
    void roomRecordMarkOnlyFromTheKeeper_data();
    void roomRecordMarkOnlyFromTheKeeper();
    void channelAccountBackOnlyFromTheChannelAccount_data();
    void channelAccountBackOnlyFromTheChannelAccount();
};

void XmppStanzaTest::initTestCase()
{
    qputenv("QUORVEL_CHAT_DOMAIN", "chat.example");
}

void XmppStanzaTest::smPacketParse_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("h");
    const QString ns = QStringLiteral(" xmlns='urn:xmpp:sm:3'");
    QTest::newRow("enable") << "<enable" + ns + "/>" << true << int(SMPacket::enable) << 0u;
    QTest::newRow("enabled") << "<enabled" + ns + "/>" << true << int(SMPacket::enabled) << 0u;
    QTest::newRow("request") << "<r" + ns + "/>" << true << int(SMPacket::r) << 0u;
    QTest::newRow("answer") << "<a" + ns + " h='4294967295'/>" << true << int(SMPacket::a)
                            << 4294967295u;
    QTest::newRow("answer bad h") << "<a" + ns + " h='x1'/>" << false << int(SMPacket::invalid)
                                  << 0u;
    QTest::newRow("failed") << "<failed" + ns + "/>" << false << int(SMPacket::invalid) << 0u;
    QTest::newRow("other namespace")
        << QStringLiteral("<a xmlns='urn:xmpp:sm:2' h='1'/>") << false << int(SMPacket::a) << 0u;
}

void XmppStanzaTest::smPacketParse()
{
    QFETCH(QString, xml);
    QFETCH(bool, ok);
    QFETCH(int, type);
    QFETCH(uint, h);
    QDomDocument document;
    SMPacket packet;
    QCOMPARE(packet.parse(streamElement(xml, &document)), ok);
    QCOMPARE(int(packet.getType()), type);
    QCOMPARE(packet.getH(), h);
}

void XmppStanzaTest::smPacketWrite_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<uint>("h");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("enable") << int(SMPacket::enable) << 0u << true
                            << QByteArray("<enable xmlns=\"urn:xmpp:sm:3\"/>");
    QTest::newRow("request") << int(SMPacket::r) << 9u << true
                             << QByteArray("<r xmlns=\"urn:xmpp:sm:3\"/>");
    QTest::newRow("answer") << int(SMPacket::a) << 12u << true
                            << QByteArray("<a xmlns=\"urn:xmpp:sm:3\" h=\"12\"/>");
    QTest::newRow("enabled") << int(SMPacket::enabled) << 0u << false << QByteArray();
    QTest::newRow("invalid") << int(SMPacket::invalid) << 0u << false << QByteArray();
}

void XmppStanzaTest::smPacketWrite()
{
    QFETCH(int, type);
    QFETCH(uint, h);
    QFETCH(bool, ok);
    QFETCH(QByteArray, bytes);
    QByteArray out;
    QCOMPARE(SMPacket(SMPacket::Type(type), h).toByteArray(&out), ok);
    QCOMPARE(out, bytes);
    QCOMPARE(SMPacket().getType(), SMPacket::a);
}

void XmppStanzaTest::receivedChunksOfferAnswersAndRequests_data()
{
    QTest::addColumn<QString>("chunk");
    QTest::addColumn<QStringList>("offered");
    const QStringList none;
    QTest::newRow("answer") << "<a xmlns='urn:xmpp:sm:3' h='12'/>" << QStringList{"a=12 @0"};
    QTest::newRow("answer, h first, double quotes, spaces")
        << "  <a  h=\"7\" xmlns=\"urn:xmpp:sm:3\" />\n"
        << QStringList{"a=7 @0"};
    QTest::newRow("request") << "<r xmlns='urn:xmpp:sm:3'/>" << QStringList{"r @0"};
    QTest::newRow("count as a character reference")
        << "<a xmlns='urn:xmpp:sm:3' h='&#49;2'/>" << QStringList{"a=12 @0"};
    QTest::newRow("bad count is offered as it is")
        << "<a xmlns='urn:xmpp:sm:3' h='x'/>" << QStringList{"a=x @0"};
    QTest::newRow("other attribute")
        << "<a xmlns='urn:xmpp:sm:3' h='3' x='y'/>" << QStringList{"a=3 @0"};
    QTest::newRow("after two stanzas")
        << "<message xmlns='jabber:client' to='a@b'/><iq xmlns='jabber:client' type='get' "
           "id='1'/><a xmlns='urn:xmpp:sm:3' h='5'/><r xmlns='urn:xmpp:sm:3'/>"
        << QStringList{"a=5 @2", "r @2"};
    QTest::newRow("other namespace") << "<a xmlns='urn:xmpp:sm:2' h='1'/>" << none;
    QTest::newRow("mismatched quotes") << "<a xmlns='urn:xmpp:sm:3' h='1\"/>" << none;
    QTest::newRow("enabled") << "<enabled xmlns='urn:xmpp:sm:3' id='s'/>" << none;
}

void XmppStanzaTest::receivedChunksOfferAnswersAndRequests()
{
    // The counter reads <a/> and <r/> from the stream's log of each received
    // chunk: the common lone element and anything else must read alike.
    QFETCH(QString, chunk);
    QFETCH(QStringList, offered);
    QXmppClient client;
    auto* counter = new StanzaCounter;
    client.insertExtension(0, counter);
    auto* packets = new OfferedPackets(counter);
    client.addExtension(packets);
    auto* stream = client.findChild<QXmppOutgoingClient*>();
    QVERIFY(stream);
    emit stream->logMessage(QXmppLogger::ReceivedMessage, chunk);
    QCOMPARE(packets->offered, offered);
}

void XmppStanzaTest::stanzaTypeAndAddress_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("groupControl");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("to");
    const QString user = QStringLiteral("bob@chat.example");
    const QString room = QStringLiteral("bob@conference.chat.example");
    using M = MessageBase;
    QTest::newRow("one-to-one") << int(M::MsgMajorType_SimpleChat) << int(M::MsgMinorType_File)
                                << false << int(QXmppMessage::Chat) << user;
    QTest::newRow("group") << int(M::MsgMajorType_GroupChat) << int(M::MsgMinorType_Text) << false
                           << int(QXmppMessage::GroupChat) << room;
    QTest::newRow("seen") << int(M::MsgMajorType_ControlMessage) << int(M::MsgMinorType_Seen)
                          << false << int(QXmppMessage::Chat) << user;
    QTest::newRow("mute") << int(M::MsgMajorType_ControlMessage)
                          << int(M::MsgMinorType_UpdateConversationMuteStatus) << false
                          << int(QXmppMessage::Chat) << user;
    QTest::newRow("group join") << int(M::MsgMajorType_ControlMessage)
                                << int(M::MsgMinorType_GroupJoin) << false
                                << int(QXmppMessage::GroupChat) << room;
    QTest::newRow("group edit") << int(M::MsgMajorType_ControlMessage)
                                << int(M::MsgMinorType_EditMessage) << true
                                << int(QXmppMessage::GroupChat) << room;
    QTest::newRow("chat edit") << int(M::MsgMajorType_ControlMessage)
                               << int(M::MsgMinorType_EditMessage) << false
                               << int(QXmppMessage::Chat) << user;
    QTest::newRow("other control")
        << int(M::MsgMajorType_ControlMessage) << int(M::MsgMinorType_CallRequest) << false
        << int(QXmppMessage::Normal) << QString();
    QTest::newRow("channel") << int(M::MsgMajorType_ChannelChat) << int(M::MsgMinorType_Text)
                             << false << int(QXmppMessage::Normal) << QString();
}

void XmppStanzaTest::stanzaTypeAndAddress()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, groupControl);
    QFETCH(int, type);
    QFETCH(QString, to);
    Message m = sample(MessageBase::MsgMajorType(major), MessageBase::MsgMinorType(minor));
    m.setGroupControlMessage(groupControl);
    const QuorvelXMPPMessage stanza(m, QStringLiteral("desktopqt_dev"));
    QCOMPARE(int(stanza.type()), type);
    QCOMPARE(stanza.to(), to);
    QCOMPARE(stanza.from(), QStringLiteral("alice@chat.example/desktopqt_dev"));
    QCOMPARE(stanza.id(), m.getMessageId());
    QCOMPARE(stanza.lang(), QStringLiteral("en"));
}

void XmppStanzaTest::builtStanzaCarriesFieldsAsBodies()
{
    Message m = sample(MessageBase::MsgMajorType_SimpleChat, MessageBase::MsgMinorType_Text);
    m.setMessageBody(QString());
    m.addToOtherFields(QStringLiteral("SECONDARY_MESSAGE_ID"), QStringLiteral("sec-9"));
    m.addToOtherFields(QStringLiteral("FLAG"), true);
    const QString xml = toXml(QuorvelXMPPMessage(m, QStringLiteral("r")));
    QVERIFY(xml.contains(QLatin1String("<body> </body>")));
    QDomDocument document;
    const auto all = bodies(streamElement(xml, &document));
    QVERIFY(!all.isEmpty());
    QVERIFY(all.first().first.isEmpty());
    QMap<QString, QString> fields;
    for (int i = 1; i < all.size(); ++i) {
        QVERIFY2(!all.at(i).first.isEmpty(), "every extra body names its field");
        fields.insert(all.at(i).first, all.at(i).second);
    }
    QCOMPARE(fields.value(QStringLiteral("MAJOR_TYPE")), QStringLiteral("SIMPLE_CHAT"));
    QCOMPARE(fields.value(QStringLiteral("MINOR_TYPE")), QStringLiteral("TEXT"));
    QCOMPARE(fields.value(QStringLiteral("SEND_TIME_IN_GMT")), QStringLiteral("1700000000123"));
    QCOMPARE(fields.value(QStringLiteral("USER_ID")), QStringLiteral("alice"));
    QCOMPARE(fields.value(QStringLiteral("USERNAME")), QStringLiteral("bob"));
    QCOMPARE(fields.value(QStringLiteral("MESSAGE_ID")), QStringLiteral("sec-9"));
    QCOMPARE(fields.value(QStringLiteral("FLAG")), QStringLiteral("true"));
    QVERIFY(!fields.contains(QStringLiteral("SECONDARY_MESSAGE_ID")));
}

void XmppStanzaTest::groupAndControlStanzasOmitSender()
{
    for (auto major :
         {MessageBase::MsgMajorType_GroupChat, MessageBase::MsgMajorType_ControlMessage}) {
        Message m = sample(major, MessageBase::MsgMinorType_Text);
        QDomDocument document;
        const auto all =
            bodies(streamElement(toXml(QuorvelXMPPMessage(m, QStringLiteral("r"))), &document));
        for (const auto& body : all) {
            QVERIFY(body.first != QLatin1String("USER_ID"));
            QVERIFY(body.first != QLatin1String("USERNAME"));
        }
    }
}

void XmppStanzaTest::receiptRequests_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("requested");
    using M = MessageBase;
    QTest::newRow("text") << int(M::MsgMajorType_SimpleChat) << int(M::MsgMinorType_Text) << true;
    QTest::newRow("group") << int(M::MsgMajorType_GroupChat) << int(M::MsgMinorType_Text) << true;
    QTest::newRow("seen") << int(M::MsgMajorType_ControlMessage) << int(M::MsgMinorType_Seen)
                          << false;
    QTest::newRow("edit") << int(M::MsgMajorType_ControlMessage) << int(M::MsgMinorType_EditMessage)
                          << true;
}

void XmppStanzaTest::receiptRequests()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, requested);
    const Message m = sample(MessageBase::MsgMajorType(major), MessageBase::MsgMinorType(minor));
    QDomDocument document;
    const QDomElement element =
        streamElement(toXml(QuorvelXMPPMessage(m, QStringLiteral("r"))), &document);
    QCOMPARE(!element.firstChildElement(QStringLiteral("request")).isNull(), requested);
}

void XmppStanzaTest::roundTrip_data()
{
    QTest::addColumn<Message>("message");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("chatId");
    QTest::addColumn<QString>("userId");

    Message text = sample(MessageBase::MsgMajorType_SimpleChat, MessageBase::MsgMinorType_Text);
    text.setMessageBody(QStringLiteral("سلام <b>&amp;</b> 😀"));
    text.setReplyOnMessageId(QStringLiteral("des_bob_1_zzzz"));
    text.addToOtherFields(QStringLiteral("SECONDARY_MESSAGE_ID"), QStringLiteral("s-1"));
    QTest::newRow("one-to-one text") << text << QStringLiteral("alice@chat.example/desktopqt_x")
                                     << QStringLiteral("alice") << QStringLiteral("alice");

    Message file = sample(MessageBase::MsgMajorType_SimpleChat, MessageBase::MsgMinorType_File);
    file.addToOtherFields(QStringLiteral("FILE_URL"), QStringLiteral("https://f.example/1"));
    file.addToOtherFields(QStringLiteral("FILE_NAME"), QStringLiteral("a b.png"));
    file.addToOtherFields(QStringLiteral("FILE_TYPE"), QStringLiteral("FILE_TYPE_IMAGE"));
    QTest::newRow("one-to-one file") << file << QStringLiteral("alice@chat.example/r")
                                     << QStringLiteral("alice") << QStringLiteral("alice");

    Message group = sample(MessageBase::MsgMajorType_GroupChat, MessageBase::MsgMinorType_Text);
    group.setChatId(QStringLiteral("grp7"));
    QTest::newRow("room message") << group
                                  << QStringLiteral(
                                         "grp7@conference.chat.example/alice@chat.example")
                                  << QStringLiteral("grp7") << QStringLiteral("alice");
}

void XmppStanzaTest::roundTrip()
{
    QFETCH(Message, message);
    QFETCH(QString, from);
    QFETCH(QString, chatId);
    QFETCH(QString, userId);
    QuorvelXMPPMessage stanza(message, QStringLiteral("r"));
    stanza.setFrom(from); // as the server stamps it
    bool ok = false;
    const Message got = parsed(toXml(stanza), &ok);
    QVERIFY(ok);
    QCOMPARE(got.getChatId(), chatId);
    QCOMPARE(got.getUserId(), userId);
    QCOMPARE(got.getMessageId(), message.getMessageId());
    QCOMPARE(got.getMessageBody(), message.getMessageBody());
    QCOMPARE(got.getMajorType(), message.getMajorType());
    QCOMPARE(got.getMinorType(), message.getMinorType());
    QCOMPARE(got.getSendTimeInGMT(), message.getSendTimeInGMT());
    QCOMPARE(got.getReplyOnMessageId(), message.getReplyOnMessageId());
    const QJsonObject sent = message.getOtherFields();
    for (auto it = sent.constBegin(); it != sent.constEnd(); ++it)
        QCOMPARE(got.getOtherFields().value(it.key()).toVariant().toString(),
                 it.value().toVariant().toString());
}

void XmppStanzaTest::senderCannotBeOverridden()
{
    const QString common =
        QStringLiteral("<body>hi</body><body xml:lang='MAJOR_TYPE'>%1</body>"
                       "<body xml:lang='MINOR_TYPE'>TEXT</body><body xml:lang='FROM'>mallory</body>"
                       "<body xml:lang='USER_ID'>mallory</body>");
    bool ok = false;
    const Message direct =
        parsed(QStringLiteral("<message type='chat' id='m1' from='bob@chat.example/r' "
                              "to='alice@chat.example'>") +
                   common.arg(QStringLiteral("SIMPLE_CHAT")) + QStringLiteral("</message>"),
               &ok);
    QVERIFY(ok);
    QCOMPARE(direct.getChatId(), QStringLiteral("bob"));
    QCOMPARE(direct.getUserId(), QStringLiteral("bob"));

    const Message room =
        parsed(QStringLiteral("<message type='groupchat' id='m2' "
                              "from='g1@conference.chat.example/bob@chat.example' "
                              "to='alice@chat.example/r'>") +
                   common.arg(QStringLiteral("GROUP_CHAT")) + QStringLiteral("</message>"),
               &ok);
    QVERIFY(ok);
    QCOMPARE(room.getChatId(), QStringLiteral("g1"));
    QCOMPARE(room.getUserId(), QStringLiteral("bob"));
    QCOMPARE(room.getMessageBody(), QStringLiteral("hi"));

    // A resource that looks like a room address does not make a one-to-one
    // stanza a room's: it stays the sending account's.
    QuorvelXMPPMessage posing;
    QDomDocument document;
    QVERIFY(posing.parseElement(
        streamElement(QStringLiteral("<message type='chat' id='m3' "
                                     "from='mallory@chat.example/alice@conference.chat.example' "
                                     "to='alice@chat.example/r'>") +
                          common.arg(QStringLiteral("SIMPLE_CHAT")) + QStringLiteral("</message>"),
                      &document)));
    QVERIFY(!posing.isFromRoom());
    QCOMPARE(posing.getMessage().getUserId(), QStringLiteral("mallory"));
    QCOMPARE(posing.getMessage().getChatId(), QStringLiteral("mallory"));
}

// Fields a peer writes into a one-to-one stanza to pose as someone else, to
// reach another conversation or to plant local-only values.
void XmppStanzaTest::hostileBodies_data()
{
    QTest::addColumn<QString>("extra");
    QTest::addColumn<QString>("major");
    QTest::newRow("claims to be the local user")
        << QStringLiteral("<body xml:lang='USER_ID'>alice</body>") << "SIMPLE_CHAT";
    QTest::newRow("names another chat")
        << QStringLiteral("<body xml:lang='FROM'>carol</body>") << "SIMPLE_CHAT";
    QTest::newRow("channel id on a one-to-one kind")
        << QStringLiteral("<body xml:lang='CHANNEL_ID'>carol</body>") << "SIMPLE_CHAT";
    QTest::newRow("edit posing as the local user")
        << QStringLiteral("<body xml:lang='USER_ID'>alice</body>"
                          "<body xml:lang='EDITED_TEXT'>x</body>")
        << "CONTROL_MESSAGE";
    QTest::newRow("plants a local path and a state")
        << QStringLiteral("<body xml:lang='FILE_LOCAL_PATH'>/home/alice/.ssh/id_rsa</body>"
                          "<body xml:lang='_state'>seen</body><body xml:lang='_likes'>9</body>"
                          "<body xml:lang='_edited'>true</body>")
        << "SIMPLE_CHAT";
}

void XmppStanzaTest::hostileBodies()
{
    QFETCH(QString, extra);
    QFETCH(QString, major);
    bool ok = false;
    const Message got =
        parsed(QStringLiteral("<message type='chat' id='h1' from='bob@chat.example/r' "
                              "to='alice@chat.example'><body>hi</body>"
                              "<body xml:lang='MAJOR_TYPE'>%1</body>"
                              "<body xml:lang='MINOR_TYPE'>TEXT</body>%2</message>")
                   .arg(major, extra),
               &ok);
    QVERIFY(ok);
    QCOMPARE(got.getUserId(), QStringLiteral("bob"));
    QCOMPARE(got.getChatId(), QStringLiteral("bob"));
    QVERIFY(got.getFilePath().isEmpty());
    for (const char* key :
         {"USER_ID", "FROM", "CHANNEL_ID", "FILE_LOCAL_PATH", "_state", "_likes", "_edited"})
        QVERIFY2(!got.getOtherFields().contains(QLatin1String(key)), key);
    QCOMPARE(got.getState(), MessageBase::MsgState_Draft);
    QVERIFY(!got.getEdited());
    QCOMPARE(got.getLikes(), 0);
}

void XmppStanzaTest::rejectedStanzas_data()
{
    QTest::addColumn<QString>("xml");
    const QString fields = QStringLiteral("<body>x</body><body xml:lang='MAJOR_TYPE'>%1</body>"
                                          "<body xml:lang='MINOR_TYPE'>TEXT</body>");
    QTest::newRow("receipt") << QStringLiteral(
        "<message from='bob@chat.example/r' id='r1'><received xmlns='urn:xmpp:receipts' "
        "id='m1'/></message>");
    QTest::newRow("plain text") << QStringLiteral(
        "<message from='bob@chat.example/r' type='chat'><body>hello</body></message>");
    QTest::newRow("error bounce")
        << QStringLiteral("<message type='error' from='bob@chat.example' id='m1'>") +
               fields.arg(QStringLiteral("SIMPLE_CHAT")) +
               QStringLiteral("<error type='cancel'><service-unavailable "
                              "xmlns='urn:ietf:params:xml:ns:xmpp-stanzas'/></error></message>");
    // Channel kinds arrive only from the service's channel account, which
    // sends nothing else; a room carries no one-to-one messages and a
    // one-to-one stanza no room messages.
    QTest::newRow("channel account SIMPLE_CHAT")
        << QStringLiteral("<message from='channels@chat.example/c' id='k3'>") +
               fields.arg(QStringLiteral("SIMPLE_CHAT")) + QStringLiteral("</message>");
    QTest::newRow("channel post edit from a member")
        << QStringLiteral("<message type='chat' from='bob@chat.example/r' id='k5'>") +
               fields.arg(QStringLiteral("CONTROL_MESSAGE"))
                   .replace(QStringLiteral(">TEXT<"), QStringLiteral(">CHANNEL_MESSAGE_EDITED<")) +
               QStringLiteral("<body xml:lang='ORIGINAL_MESSAGE_ID'>p1</body>"
                              "<body xml:lang='MESSAGE_CONTENT'>forged</body></message>");
    QTest::newRow("channel post edit in a room")
        << QStringLiteral("<message type='groupchat' "
                          "from='g1@conference.chat.example/bob@chat.example' id='k6'>") +
               fields.arg(QStringLiteral("CONTROL_MESSAGE"))
                   .replace(QStringLiteral(">TEXT<"), QStringLiteral(">CHANNEL_MESSAGE_EDITED<")) +
               QStringLiteral("<body xml:lang='ORIGINAL_MESSAGE_ID'>p1</body></message>");
    QTest::newRow("channel post from another domain")
        << QStringLiteral("<message from='channels@elsewhere.example/c' id='k4'>") +
               fields.arg(QStringLiteral("CHANNEL_CHAT")) +
               QStringLiteral("<body xml:lang='CHANNEL_ID'>news</body></message>");
    for (const char* kind : {"CHANNEL_DIRECT", "CHANNEL_CHAT", "CHANNEL_CHAT_REPLY", "GROUP_CHAT"})
        QTest::newRow(qPrintable(QStringLiteral("one-to-one ") + kind))
            << QStringLiteral("<message type='chat' from='bob@chat.example/r' id='k1'>") +
                   fields.arg(QLatin1String(kind)) +
                   QStringLiteral("<body xml:lang='CHANNEL_ID'>carol</body></message>");
    for (const char* kind : {"CHANNEL_DIRECT", "SIMPLE_CHAT"})
        QTest::newRow(qPrintable(QStringLiteral("room ") + kind))
            << QStringLiteral("<message type='groupchat' "
                              "from='g1@conference.chat.example/bob@chat.example' id='k2'>") +
                   fields.arg(QLatin1String(kind)) + QStringLiteral("</message>");
    QTest::newRow("private message from a room occupant")
        << QStringLiteral("<message type='chat' "
                          "from='g1@conference.chat.example/bob@chat.example' id='k7'>") +
               fields.arg(QStringLiteral("CONTROL_MESSAGE")) + QStringLiteral("</message>");
    QTest::newRow("one-to-one from another domain")
        << QStringLiteral("<message type='chat' from='bob@elsewhere.example/r' id='k8'>") +
               fields.arg(QStringLiteral("SIMPLE_CHAT")) + QStringLiteral("</message>");
    QTest::newRow("room of another domain")
        << QStringLiteral("<message type='groupchat' "
                          "from='g1@conference.elsewhere.example/bob@chat.example' id='k9'>") +
               fields.arg(QStringLiteral("GROUP_CHAT")) + QStringLiteral("</message>");
    QTest::newRow("room without nick")
        << QStringLiteral("<message type='groupchat' from='g1@conference.chat.example' id='m3'>") +
               fields.arg(QStringLiteral("GROUP_CHAT")) + QStringLiteral("</message>");
}

void XmppStanzaTest::channelPostFromTheServiceAccount()
{
    bool ok = false;
    const Message post = parsed(
        QStringLiteral("<message from='channels@chat.example/c' to='me@chat.example' id='p1'>"
                       "<body>posted</body><body xml:lang='MAJOR_TYPE'>CHANNEL_CHAT</body>"
                       "<body xml:lang='MINOR_TYPE'>TEXT</body>"
                       "<body xml:lang='CHANNEL_ID'>news</body>"
                       "<body xml:lang='USER_ID'>owner</body>"
                       "<body xml:lang='FROM'>someone</body></message>"),
        &ok);
    QVERIFY(ok);
    QCOMPARE(post.getMajorType(), MessageBase::MsgMajorType_ChannelChat);
    QCOMPARE(post.getChatId(), QStringLiteral("news"));
    QCOMPARE(post.getUserId(), QStringLiteral("owner"));
    QCOMPARE(post.getMessageId(), QStringLiteral("p1"));

    // The same account tells a member of a change to their membership: the
    // member and the channel it names are kept, the sender is the account.
    const Message change = parsed(
        QStringLiteral("<message from='channels@chat.example/c' to='me@chat.example' id='p2'>"
                       "<body/><body xml:lang='MAJOR_TYPE'>CONTROL_MESSAGE</body>"
                       "<body xml:lang='MINOR_TYPE'>CHANNEL_MEMBERSHIP_CHANGE_ROLE</body>"
                       "<body xml:lang='CHANNEL_ID'>news</body>"
                       "<body xml:lang='USER_ID'>me</body>"
                       "<body xml:lang='NEW_ROLE'>ADMIN</body></message>"),
        &ok);
    QVERIFY(ok);
    QCOMPARE(change.getMinorType(), MessageBase::MsgMinorType_ChannelMembershipChangeRole);
    QCOMPARE(change.getChatId(), QStringLiteral("channels"));
    QCOMPARE(change.getUserId(), QStringLiteral("me"));
    QCOMPARE(change.getOtherFields().value("CHANNEL_ID").toString(), QStringLiteral("news"));

    // The channel account's edit of a post reads as the edit it names.
    const Message edit = parsed(
        QStringLiteral("<message from='channels@chat.example/c' to='me@chat.example' id='e1'>"
                       "<body>edited</body><body xml:lang='MAJOR_TYPE'>CONTROL_MESSAGE</body>"
                       "<body xml:lang='MINOR_TYPE'>CHANNEL_MESSAGE_EDITED</body>"
                       "<body xml:lang='CHANNEL_ID'>news</body>"
                       "<body xml:lang='ORIGINAL_MESSAGE_ID'>p1</body>"
                       "<body xml:lang='MESSAGE_CONTENT'>new text</body>"
                       "<body xml:lang='UPDATE_TIMESTAMP'>1700000000000</body></message>"),
        &ok);
    QVERIFY(ok);
    QCOMPARE(edit.getMinorType(), MessageBase::MsgMinorType_ChannelMessageEdited);
    QCOMPARE(edit.getChannelEditMessage().getChannelId(), QStringLiteral("news"));
    QCOMPARE(edit.getChannelEditMessage().getMessageId(), QStringLiteral("p1"));
    QCOMPARE(edit.getChannelEditMessage().getMessageContent(), QStringLiteral("new text"));
}

void XmppStanzaTest::rejectedStanzas()
{
    QFETCH(QString, xml);
    bool ok = true;
    parsed(xml, &ok);
    QVERIFY(!ok);
}

void XmppStanzaTest::roomRecordMarkOnlyFromTheKeeper_data()
{
    QTest::addColumn<QString>("xml");
    // -1: not taken as the keeper's mark; -2: taken, as the time now.
    QTest::addColumn<qint64>("since");
    const QString keeper = QStringLiteral("groupkeeper@chat.example");
    const auto presence = [](const QString& nick, const QString& account, const QString& inner,
                             const QString& type = QString()) {
        return QStringLiteral("<presence from='g1@conference.chat.example/%1' "
                              "to='alice@chat.example/desktop'%4><x "
                              "xmlns='http://jabber.org/protocol/muc#user'><item "
                              "affiliation='owner' role='moderator' jid='%2'/></x>%3</presence>")
            .arg(nick, account, inner,
                 type.isEmpty() ? QString() : QStringLiteral(" type='%1'").arg(type));
    };
    const auto mark = [](const QString& since, const QString& ns = "urn:quorvel:room-record") {
        return QStringLiteral("<record xmlns='%1' since='%2'/>").arg(ns, since);
    };
    QTest::newRow("the keeper") << presence(keeper, keeper + "/keeper", mark("1700000000000"))
                                << qint64(1700000000000);
    QTest::newRow("the keeper, the whole archive")
        << presence(keeper, keeper + "/keeper", mark("0")) << qint64(0);
    QTest::newRow("a time to come reads as now")
        << presence(keeper, keeper + "/keeper", mark("99999999999999")) << qint64(-2);
    QTest::newRow("a member") << presence("bob@chat.example", "bob@chat.example/desktop", mark("1"))
                              << qint64(-1);
    QTest::newRow("a member under the keeper's nick name")
        << presence(keeper, "bob@chat.example/desktop", mark("1")) << qint64(-1);
    QTest::newRow("the keeper under another nick name")
        << presence("keeper", keeper + "/keeper", mark("1")) << qint64(-1);
    QTest::newRow("a keeper of another domain")
        << presence("groupkeeper@other.example", "groupkeeper@other.example/keeper", mark("1"))
        << qint64(-1);
    QTest::newRow("the keeper's room shows no account")
        << QStringLiteral("<presence from='g1@conference.chat.example/%1'>%2</presence>")
               .arg(keeper, mark("1"))
        << qint64(-1);
    QTest::newRow("no mark") << presence(keeper, keeper + "/keeper", QString()) << qint64(-1);
    QTest::newRow("another namespace")
        << presence(keeper, keeper + "/keeper", mark("1", "urn:other")) << qint64(-1);
    QTest::newRow("not a number") << presence(keeper, keeper + "/keeper", mark("soon"))
                                  << qint64(-1);
    QTest::newRow("before the epoch")
        << presence(keeper, keeper + "/keeper", mark("-5")) << qint64(-1);
    QTest::newRow("leaving") << presence(keeper, keeper + "/keeper", mark("1"), "unavailable")
                             << qint64(-1);
}

void XmppStanzaTest::roomRecordMarkOnlyFromTheKeeper()
{
    QFETCH(QString, xml);
    QFETCH(qint64, since);
    QDomDocument document;
    QXmppPresence presence;
    presence.parse(streamElement(xml, &document));
    qint64 read = -1;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const bool taken = RoomRecordPresence::read(presence.from(), presence, "chat.example", &read);
    QCOMPARE(taken, since != -1);
    if (since == -2)
        QVERIFY(read >= before && read <= QDateTime::currentMSecsSinceEpoch());
    else if (taken)
        QCOMPARE(read, since);

    // The keeper's own form of the mark reads back.
    if (QTest::currentDataTag() != QLatin1String("the keeper"))
        return;
    QXmppPresence written;
    written.setExtensions({RoomRecordPresence::mark(since)});
    QString back = toXml(written);
    back.replace(QStringLiteral("<presence"),
                 QStringLiteral("<presence from='%1'").arg(presence.from().toHtmlEscaped()));
    back.replace(QStringLiteral("</presence>"),
                 QStringLiteral("<x xmlns='http://jabber.org/protocol/muc#user'><item "
                                "jid='groupkeeper@chat.example/keeper'/></x></presence>"));
    QDomDocument again;
    QXmppPresence reread;
    reread.parse(streamElement(back, &again));
    QVERIFY2(RoomRecordPresence::read(reread.from(), reread, "chat.example", &read),
             qPrintable(back));
    QCOMPARE(read, since);
}

void XmppStanzaTest::channelAccountBackOnlyFromTheChannelAccount_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("taken");
    const auto presence = [](const QString& from, const QString& inner,
                             const QString& type = QString()) {
        return QStringLiteral("<presence from='%1' to='alice@chat.example/desktop'%3>%2</presence>")
            .arg(from, inner, type.isEmpty() ? QString() : QStringLiteral(" type='%1'").arg(type));
    };
    const auto mark = [](const QString& ns = "urn:quorvel:channel-pushes") {
        return QStringLiteral("<pushes xmlns='%1'/>").arg(ns);
    };
    const QString account = QStringLiteral("channels@chat.example/channels");
    QTest::newRow("the channel account") << presence(account, mark()) << true;
    QTest::newRow("under another resource")
        << presence("channels@chat.example/elsewhere", mark()) << true;
    QTest::newRow("another account") << presence("bob@chat.example/desktop", mark()) << false;
    QTest::newRow("an account named after it")
        << presence("channelsx@chat.example/channels", mark()) << false;
    QTest::newRow("the account of another domain")
        << presence("channels@other.example/channels", mark()) << false;
    QTest::newRow("a room occupant of that name")
        << presence("news@conference.chat.example/channels@chat.example", mark()) << false;
    QTest::newRow("the server") << presence("chat.example", mark()) << false;
    QTest::newRow("no mark") << presence(account, QString()) << false;
    QTest::newRow("another namespace") << presence(account, mark("urn:other")) << false;
    QTest::newRow("leaving") << presence(account, mark(), "unavailable") << false;
    QTest::newRow("an error") << presence(account, mark(), "error") << false;
}

void XmppStanzaTest::channelAccountBackOnlyFromTheChannelAccount()
{
    QFETCH(QString, xml);
    QFETCH(bool, taken);
    QDomDocument document;
    QXmppPresence presence;
    presence.parse(streamElement(xml, &document));
    QCOMPARE(ChannelAccountPresence::read(presence, "chat.example"), taken);
    QVERIFY(!ChannelAccountPresence::read(presence, QString()));

    // The service's own form of the mark reads back.
    if (QTest::currentDataTag() != QLatin1String("the channel account"))
        return;
    QXmppPresence written;
    written.setExtensions({ChannelAccountPresence::mark()});
    QString back = toXml(written);
    back.replace(QStringLiteral("<presence"),
                 QStringLiteral("<presence from='%1'").arg(presence.from().toHtmlEscaped()));
    QDomDocument again;
    QXmppPresence reread;
    reread.parse(streamElement(back, &again));
    QVERIFY2(ChannelAccountPresence::read(reread, "chat.example"), qPrintable(back));
}

QTEST_MAIN(XmppStanzaTest)
#include "tst_xmppstanza.moc"
