// Message: enumerations, constructors and ids, and the four JSON forms
// (public, stored, stanza parameters, archive) for every major and minor type.

#include "logcapture.h"
#include "model/globalconstants.h"
#include "model/message.h"
#include "model/messagecondition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString kLocalUser = QStringLiteral("989120000001");
const QString kPeer = QStringLiteral("989350000002");

// What the chat server does to stanza parameters: every value travels as text.
QJsonObject asStanzaText(const QJsonObject& params)
{
    QJsonObject text;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        const QJsonValue value = it.value();
        if (value.isObject())
            text.insert(
                it.key(),
                QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact)));
        else
            text.insert(it.key(), value.toVariant().toString());
    }
    return text;
}

// A typical payload for each minor type, as the peers send it.
QJsonObject payloadFor(MessageBase::MsgMinorType minor)
{
    switch (minor) {
    case MessageBase::MsgMinorType_Sticker:
        return {{"STICKER_ID", "st-7"}, {"STICKER_PACKAGE_ID", "pk-2"}, {"STICKER_VERSION", "3"}};
    case MessageBase::MsgMinorType_File: {
        FileMessage file;
        file.setFileType(FileMessage::MsgFileType_Video);
        file.setFileId("f0a1");
        file.setFileName("holiday.mp4");
        file.setFileSize(3221225472LL); // 3 GiB
        file.setFileUrl("https://files.example/f0a1");
        file.setFileThumbnailUrl("https://files.example/f0a1.thumb");
        file.setFileHasThumbnail(true);
        file.setFileTypeVideoDuration(12);
        file.setImageSize(QSize(1280, 720));
        file.setFilePath("/home/user/Quorvel Downloads/holiday.mp4");
        return file.toDBJsonObject();
    }
    case MessageBase::MsgMinorType_Location:
        return {{"LOCATION_LATITUDE", "35.689198"}, {"LOCATION_LONGITUDE", "51.388973"}};
    case MessageBase::MsgMinorType_Poll: {
        PollData poll("checkbox", "Lunch?", {"Rice", "Bread"});
        poll.setPollId("poll-9");
        return {{"POLL_ID", "poll-9"}, {"POLL_DATA", poll.toJsonObject()}};
    }
    case MessageBase::MsgMinorType_Seen:
        return {{"MESSAGE_IDS", "m1,m2,m3"}, {"SEEN_TIME_IN_GMT", "1700000000999"}};
    case MessageBase::MsgMinorType_UpdateConversationMuteStatus:
        return {{"CONVERSATION_ID", "g-100"},
                {"CONVERSATION_TYPE", "GROUP"},
                {"MUTE_STATUS", "MUTE"},
                {"UPDATE_TIMESTAMP", "1700000000500"}};
    case MessageBase::MsgMinorType_EditMessage:
        return {{"EDITED_TEXT", "fixed text"},
                {"UPDATE_TIMESTAMP", "1700000000600"},
                {"SECONDARY_MESSAGE_ID", "m-old"}};
    case MessageBase::MsgMinorType_ChannelMessageEdited:
        return {{"CHANNEL_ID", "chat-42"},
                {"MESSAGE_CONTENT", "new content"},
                {"ORIGINAL_MESSAGE_ID", "post-1"},
                {"UPDATE_TIMESTAMP", 1700000000700.0}};
    case MessageBase::MsgMinorType_GroupInvitation:
        return {{"JID", "g-100"}, {"USER_ID", kPeer}, {"USER_ROLE", "MEMBER"}};
    case MessageBase::MsgMinorType_GroupRemove:
        return {{"JID", "g-100"}, {"USER_ID", kPeer}, {"REMOVED_USER_ID", "989000000003"}};
    case MessageBase::MsgMinorType_GroupJoin:
        return {{"JID", "g-100"}, {"ADDED_BY", kPeer}, {"USER_ROLE", "ADMIN"}};
    case MessageBase::MsgMinorType_GroupChangeRole:
        return {{"JID", "g-100"},
                {"CHANGE_USER_ID", "989000000003"},
                {"OLD_ROLE", "MEMBER"},
                {"NEW_ROLE", "ADMIN"}};
    case MessageBase::MsgMinorType_GroupChangeMetadata:
    case MessageBase::MsgMinorType_GroupCreated:
    case MessageBase::MsgMinorType_GroupLeave:
        return {{"JID", "g-100"}};
    case MessageBase::MsgMinorType_ChannelBulkMessagesRemoved:
        return {{"MESSAGE_IDS", "p1,p2"}, {"CHANNEL_ID", "chat-42"}};
    case MessageBase::MsgMinorType_MissedCall:
        return {{"REASON", "busy"}};
    default: {
        // Other kinds: their private keys with plain text values.
        QJsonObject object;
        for (const QString& key : MessageBase::getPrivateFields(minor)) {
            if (key == QLatin1String("CHANNEL_ID"))
                object.insert(key, "chat-42"); // the chat id of channel messages
            else if (key.endsWith(QLatin1String("ROLE")))
                object.insert(key, "MEMBER");
            else if (!MessageBase::getPublicFields().contains(key))
                object.insert(key, QStringLiteral("v-") + key.toLower());
        }
        return object;
    }
    }
}

// Every payload accessor's view of a message, in a comparable form.
QJsonObject payloadView(const Message& m)
{
    const GroupRemoveMessage remove = m.getGroupRemoveMessage();
    const GroupJoinMessage join = m.getGroupJoinMessage();
    const GroupChangeRoleMessage role = m.getGroupChangeRoleMessage();
    const GroupInvitationMessage invitation = m.getGroupInvitationMessage();
    const LocationMessage location = m.getLocationMessage();
    return {
        {"file", m.getFileMessage().toJsonObject()},
        {"fileSize", QString::number(m.getFileMessage().getFileSize())},
        {"sticker", m.getStickerMessage().toJsonObject()},
        {"stickerFrom", m.getStickerMessage().getFrom()},
        {"location", QJsonArray{location.getLatitude(), location.getLongitude()}},
        {"seen", m.getSeenMessage().toDebugJson()},
        {"seenEmpty", m.getSeenMessage().isEmpty()},
        {"poll", m.getPollData().toJsonObject()},
        {"edit", m.getEditMessage().toJson()},
        {"channelEdit", m.getChannelEditMessage().toJson()},
        {"mute", m.getConversationMuteStatusUpdate().toJson()},
        {"remove", QJsonArray{remove.getJid(), remove.getUserId(), remove.getRemovedUserId()}},
        {"join", QJsonArray{join.getJid(), join.getUserId(), join.getAddedBy(), join.getRole()}},
        {"role", QJsonArray{role.getJid(), role.getUserId(), role.getChangedUserId(),
                            role.getOldRole(), role.getNewRole()}},
        {"metadata", m.getGroupMetaDataChangedMessage().getJid()},
        {"invitation",
         QJsonArray{invitation.getJid(), invitation.getUserId(), invitation.getUserRole()}},
    };
}

Message filledMessage(MessageBase::MsgMajorType major, MessageBase::MsgMinorType minor)
{
    Message m(major, kPeer);
    m.setMinorType(minor);
    m.setChatId(major == MessageBase::MsgMajorType_SimpleChat ? kPeer : QStringLiteral("chat-42"));
    m.setMessageId(QStringLiteral("des_%1_1700000000000_aB3d").arg(kPeer));
    m.setMessageBody(QStringLiteral("Salam \u2764 <b>hi</b>"));
    m.setMessageUserName(kLocalUser);
    m.setSendTimeInGMT(1700000000123LL);
    m.setReplyOnMessageId("m-parent");
    m.setReplyOnThreadId("thread-1");
    m.setOtherFields(payloadFor(minor));
    m.addToOtherFields("X_FUTURE_KEY", "kept as is");
    m.setLikes(7);
    m.setViews(11);
    m.setLiked(true);
    m.setEdited(true);
    m.setState(MessageBase::MsgState_Seen);
    return m;
}

bool hasLocalKey(const QJsonObject& object)
{
    for (const QString& key : object.keys()) {
        if (key.startsWith(QLatin1Char('_')) || key == QLatin1String("FILE_LOCAL_PATH"))
            return true;
    }
    return false;
}
} // namespace

class TestMessage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { log->clear(); }
    void cleanupTestCase() { delete log; }

    void enumerationTexts();
    void enumerationTablesRoundTrip();
    void keyLists();
    void textConstructor();
    void pollConstructor();
    void clearAndValidity();
    void generatedIds();

    void forms_data();
    void forms();

    void fromJsonInput_data();
    void fromJsonInput();
    void malformedPublicForm_data();
    void malformedPublicForm();
    void storedForm();

    void archive_data();
    void archive();

    void payloadWriters();
    void dbOnlyFields();

private:
    LogCapture* log = nullptr;
};

void TestMessage::initTestCase()
{
    log = new LogCapture;
    GlobalConstants::setUserName(kLocalUser);
}

void TestMessage::enumerationTexts()
{
    QCOMPARE(MessageBase::toMsgMajorType("simple_chat"), MessageBase::MsgMajorType_None);
    QCOMPARE(MessageBase::toMsgMajorType("SIMPLE_CHAT"), MessageBase::MsgMajorType_SimpleChat);
    QCOMPARE(MessageBase::toMsgMinorType("TEXT"), MessageBase::MsgMinorType_Text);
    QCOMPARE(MessageBase::toString(static_cast<MessageBase::MsgState>(7)), QString("draft"));
    QCOMPARE(MessageBase::toString(static_cast<MessageBase::MsgMinorType>(30)), QString());
    QCOMPARE(MessageBase::toString(static_cast<MessageBase::MsgMajorType>(0)), QString());
    QCOMPARE(MessageBase::toMsgState("notSent"), MessageBase::MsgState_NotSent);
    QCOMPARE(MessageBase::toMsgState("x-delivered-y"), MessageBase::MsgState_Delivered);
    QCOMPARE(MessageBase::toMsgState("Seen"), MessageBase::MsgState_Draft);
    QCOMPARE(MessageBase::toBool("TRUE"), true);
    QCOMPARE(MessageBase::toBool("yes"), false);
    QCOMPARE(MessageBase::toString(true), QString("true"));
    QCOMPARE(MessageCondition::toCondition(""), MessageCondition::PUBLISH);
    QCOMPARE(MessageCondition::toString(static_cast<MessageCondition::Condition>(9)),
             QString("PUBLISH"));
    QCOMPARE(ConversationType::toConversationType("user"), ConversationType::NONE);
    QCOMPARE(ConversationType::toString(ConversationType::CHANNEL), QString("CHANNEL"));
}

void TestMessage::enumerationTablesRoundTrip()
{
    QCOMPARE(MessageBase::getMsgMajorTypes().size(), 6);
    QCOMPARE(MessageBase::getMsgMinorTypes().size(), 29);
    for (int v = 1; v <= 6; ++v) {
        const auto type = static_cast<MessageBase::MsgMajorType>(v);
        QCOMPARE(MessageBase::toMsgMajorType(MessageBase::toString(type)), type);
    }
    for (int v = 1; v <= 29; ++v) {
        const auto type = static_cast<MessageBase::MsgMinorType>(v);
        QVERIFY(!MessageBase::toString(type).isEmpty());
        QCOMPARE(MessageBase::toMsgMinorType(MessageBase::toString(type)), type);
    }
    for (int v = 0; v <= 4; ++v) {
        const auto state = static_cast<MessageBase::MsgState>(v);
        QCOMPARE(MessageBase::toMsgState(MessageBase::toString(state)), state);
    }
}

void TestMessage::keyLists()
{
    QCOMPARE(MessageBase::getPublicFields(),
             QStringList({"USER_ID", "MESSAGE_ID", "MESSAGE_BODY", "MAJOR_TYPE", "MINOR_TYPE",
                          "SEND_TIME_IN_GMT", "MESSAGE_USERNAME"}));
    // The seen list names the keys the seen body really uses.
    QCOMPARE(MessageBase::getPrivateFields(MessageBase::MsgMinorType_Seen),
             QStringList({"SECONDARY_MESSAGE_ID", "MESSAGE_IDS", "SEEN_TIME_IN_GMT"}));
    QCOMPARE(MessageBase::getFields(MessageBase::MsgMinorType_File).mid(7),
             QStringList({"FILE_URL", "FILE_ID", "FILE_SIZE", "FILE_NAME", "FILE_TYPE"}));
    QVERIFY(MessageBase::getPrivateFields(MessageBase::MsgMinorType_EditMessage).isEmpty());
}

void TestMessage::textConstructor()
{
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const Message m(MessageBase::MsgMajorType_SimpleChat, kLocalUser, kPeer, "hello");
    QCOMPARE(m.getState(), MessageBase::MsgState_Draft);
    QCOMPARE(m.getMinorType(), MessageBase::MsgMinorType_Text);
    QVERIFY(m.getMessageId().isEmpty());
    QCOMPARE(m.getMessageUserName(), kPeer);
    QCOMPARE(m.getChatId(), kPeer);
    QCOMPARE(m.getUserId(), kLocalUser);
    QVERIFY(m.getSendTimeInGMT() >= before);
    QVERIFY(m.getSendTimeInGMT() <= QDateTime::currentMSecsSinceEpoch());
}

void TestMessage::pollConstructor()
{
    PollData poll("radio", "Q?", {"a", "b"});
    poll.setPollId("p-1");
    poll.setChannelId("news");
    const Message m(MessageBase::MsgMajorType_ChannelChat, kLocalUser, "news", poll);
    QCOMPARE(m.getMinorType(), MessageBase::MsgMinorType_Poll);
    QCOMPARE(m.getMessageBody(), QString(" "));
    QCOMPARE(m.getOtherFields().value("POLL_ID").toString(), QString("p-1"));
    PollData back = m.getPollData();
    back.setChannelId("news"); // local only, never in JSON
    QCOMPARE(back, poll);
}

void TestMessage::clearAndValidity()
{
    Message m = filledMessage(MessageBase::MsgMajorType_GroupChat, MessageBase::MsgMinorType_Text);
    QVERIFY(m.isValid());
    m.clear();
    QVERIFY(m.isEmpty());
    QVERIFY(m.getUserId().isEmpty());
    QCOMPARE(m, Message());

    Message noMinor(MessageBase::MsgMajorType_SimpleChat, kLocalUser);
    QVERIFY(noMinor.isValid());
    QVERIFY(!noMinor.isValidForSending());
    noMinor.setMinorType(MessageBase::MsgMinorType_Text);
    QVERIFY(noMinor.isValidForSending());
    QVERIFY(!noMinor.isReply());
    noMinor.setReplyOnMessageId("x");
    QVERIFY(noMinor.isReply());
}

void TestMessage::generatedIds()
{
    Message m(MessageBase::MsgMajorType_SimpleChat, kLocalUser);
    const QRegularExpression form(
        QStringLiteral("^des_%1_(\\d+)_([A-Za-z0-9]{4})$").arg(kLocalUser));
    QSet<QString> ids;
    for (int i = 0; i < 200; ++i) {
        const QString id = m.generateMessageId();
        QCOMPARE(m.getMessageId(), id);
        const auto match = form.match(id);
        QVERIFY2(match.hasMatch(), qPrintable(id));
        ids.insert(id);
    }
    // 200 ids within a few milliseconds still differ (the nonce does it).
    QVERIFY(ids.size() >= 199);

    // Place markers inside the user id are text like any other.
    for (const QString& user :
         {QStringLiteral("u%2x%1"), QStringLiteral("%1%3"), QStringLiteral("%L1")}) {
        Message odd(MessageBase::MsgMajorType_SimpleChat, user);
        const QString id = odd.generateMessageId();
        QVERIFY2(id.startsWith(QStringLiteral("des_") + user + QLatin1Char('_')), qPrintable(id));
        QVERIFY2(QRegularExpression(QStringLiteral("_\\d+_[A-Za-z0-9]{4}$")).match(id).hasMatch(),
                 qPrintable(id));
    }
}

void TestMessage::forms_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    for (int major = 1; major <= 6; ++major) {
        for (int minor = 1; minor <= 29; ++minor) {
            QTest::addRow(
                "%s/%s",
                qPrintable(MessageBase::toString(static_cast<MessageBase::MsgMajorType>(major))),
                qPrintable(MessageBase::toString(static_cast<MessageBase::MsgMinorType>(minor))))
                << major << minor;
        }
    }
}

void TestMessage::forms()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    const auto majorType = static_cast<MessageBase::MsgMajorType>(major);
    const auto minorType = static_cast<MessageBase::MsgMinorType>(minor);
    const Message original = filledMessage(majorType, minorType);
    const QJsonObject payload = payloadFor(minorType);
    const bool channelKind = major >= 3 && major <= 5;
    const QString chatKey = channelKind ? "CHANNEL_ID" : "FROM";
    const QString otherKey = channelKind ? "FROM" : "CHANNEL_ID";

    // Public form: no local keys, chat id under the key of the major type.
    const QJsonObject pub = original.toJson();
    QVERIFY(!hasLocalKey(pub));
    QCOMPARE(pub.value(chatKey).toString(), original.getChatId());
    if (!payload.contains(otherKey))
        QVERIFY(!pub.contains(otherKey));
    QCOMPARE(pub.value("MAJOR_TYPE").toString(), MessageBase::toString(majorType));
    QCOMPARE(pub.value("MINOR_TYPE").toString(), MessageBase::toString(minorType));
    QVERIFY(pub.value("SEND_TIME_IN_GMT").isDouble());
    QCOMPARE(pub.value("X_FUTURE_KEY").toString(), QString("kept as is"));

    Message fromPublic;
    QVERIFY(fromPublic.fromJson(pub));
    QCOMPARE(fromPublic.toJson(), pub);
    QCOMPARE(fromPublic.getChatId(), original.getChatId());
    QCOMPARE(fromPublic.getMessageId(), original.getMessageId());
    QCOMPARE(fromPublic.getMessageBody(), original.getMessageBody());
    QCOMPARE(fromPublic.getUserId(), original.getUserId());
    QCOMPARE(fromPublic.getMessageUserName(), original.getMessageUserName());
    QCOMPARE(fromPublic.getSendTimeInGMT(), original.getSendTimeInGMT());
    QCOMPARE(fromPublic.getReplyOnMessageId(), original.getReplyOnMessageId());
    QCOMPARE(fromPublic.getReplyOnThreadId(), original.getReplyOnThreadId());
    QCOMPARE(fromPublic.getLikes(), 0);
    QCOMPARE(fromPublic.getState(), MessageBase::MsgState_Draft);
    QVERIFY(!fromPublic.getEdited());

    // Stored form: everything, the local fields included, comes back.
    const QJsonObject stored = original.toDBJson();
    QCOMPARE(stored.value("_state").toString(), QString("seen"));
    QCOMPARE(stored.value("_likes").toInt(), 7);
    Message fromStored;
    QVERIFY(fromStored.fromDBJson(stored));
    QCOMPARE(fromStored.toDBJson(), stored);
    QCOMPARE(fromStored.getLikes(), 7);
    QCOMPARE(fromStored.getViews(), 11);
    QVERIFY(fromStored.getLiked());
    QVERIFY(fromStored.getEdited());
    QCOMPARE(fromStored.getState(), MessageBase::MsgState_Seen);
    QCOMPARE(payloadView(fromStored), payloadView(original));
    QCOMPARE(fromStored.getFilePath(), original.getFilePath());

    // Stanza parameters: no id, body, chat id or local key; every payload key.
    const QJsonObject params = original.getMessageParams();
    QVERIFY(!hasLocalKey(params));
    QVERIFY(!params.contains("MESSAGE_BODY"));
    QVERIFY(!params.contains("FROM"));
    // A payload key of the same name (profile changes) wins over the user name.
    QCOMPARE(params.value("USERNAME").toString(),
             payload.value("USERNAME").toString(original.getMessageUserName()));
    QCOMPARE(params.value("REPLY_ON_THREAD_ID").toString(), QString("thread-1"));
    for (const QString& key : payload.keys()) {
        if (key != QLatin1String("FILE_LOCAL_PATH"))
            QVERIFY2(params.contains(key), qPrintable(key));
    }

    // The same message as it comes back from the chat server: every parameter
    // as text, the id, body and chat id from the stanza itself.
    QJsonObject incoming = asStanzaText(params);
    incoming.insert("MESSAGE_ID", original.getMessageId());
    incoming.insert("MESSAGE_BODY", original.getMessageBody());
    incoming.insert("MESSAGE_USERNAME", incoming.value("USERNAME"));
    incoming.insert(chatKey, original.getChatId());
    Message received;
    QVERIFY(received.fromJson(incoming));
    QCOMPARE(received.getSendTimeInGMT(), original.getSendTimeInGMT());
    QCOMPARE(received.getMajorType(), majorType);
    QCOMPARE(received.getMinorType(), minorType);
    QJsonObject expectedView = payloadView(original);
    QJsonObject receivedView = payloadView(received);
    // The local path never travels.
    QJsonObject file = expectedView.value("file").toObject();
    QCOMPARE(receivedView.value("file").toObject(), file);
    expectedView.remove("file");
    receivedView.remove("file");
    QCOMPARE(receivedView, expectedView);

    // Archive form: the server's copy of a one-to-one message.
    const QJsonObject element{{"M", asStanzaText(params)},
                              {"F", kPeer + "@chat.example/desktopqt_1"},
                              {"I", original.getMessageId()},
                              {"B", original.getMessageBody()},
                              {"S", "EDITED"},
                              {"MS", "2"}};
    Message archived;
    QVERIFY(archived.fromUserChatArchiveJson(element, original.getChatId()));
    QCOMPARE(archived.getChatId(), original.getChatId());
    QCOMPARE(archived.getMajorType(), majorType);
    QCOMPARE(archived.getMinorType(), minorType);
    QCOMPARE(archived.getUserId(), original.getUserId());
    QCOMPARE(archived.getMessageUserName(),
             payload.value("USERNAME").toString(original.getMessageUserName()));
    QCOMPARE(archived.getSendTimeInGMT(), original.getSendTimeInGMT());
    QCOMPARE(archived.getMessageBody(), original.getMessageBody());
    QCOMPARE(archived.getMessageId(), original.getMessageId());
    QVERIFY(archived.getEdited());
    QCOMPARE(archived.getState(), MessageBase::MsgState_Delivered);
    QJsonObject archivedView = payloadView(archived);
    QCOMPARE(archivedView.value("file").toObject(), file);
    archivedView.remove("file");
    QCOMPARE(archivedView, expectedView);
    QVERIFY(log->warnings.isEmpty());
}

void TestMessage::fromJsonInput_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<qint64>("sendTime");
    QTest::addColumn<QString>("chatId");

    const QJsonObject base{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                           {"MINOR_TYPE", "TEXT"},
                           {"CHANNEL_ID", "chat-42"},
                           {"FROM", "not the chat id"}};
    QJsonObject asNumber = base;
    asNumber.insert("SEND_TIME_IN_GMT", 1700000000123.0);
    QJsonObject asText = base;
    asText.insert("SEND_TIME_IN_GMT", "1700000000123");
    QJsonObject absent = base;
    QTest::newRow("time as number") << asNumber << qint64(1700000000123) << "chat-42";
    QTest::newRow("time as text") << asText << qint64(1700000000123) << "chat-42";
    QTest::newRow("time absent") << absent << qint64(0) << "chat-42";
    QJsonObject pre1970 = base;
    pre1970.insert("SEND_TIME_IN_GMT", "-86400000");
    QTest::newRow("time before 1970") << pre1970 << qint64(-86400000) << "chat-42";
    // Keys only the store may set: a copy from outside never brings them in.
    QJsonObject planted = asNumber;
    planted.insert("FILE_LOCAL_PATH", "/home/user/.ssh/id_rsa");
    planted.insert("_state", "seen");
    planted.insert("_views", 5);
    planted.insert("_likes", 5);
    planted.insert("_liked", true);
    planted.insert("_edited", true);
    QTest::newRow("local keys from outside") << planted << qint64(1700000000123) << "chat-42";
}

void TestMessage::fromJsonInput()
{
    QFETCH(QJsonObject, object);
    QFETCH(qint64, sendTime);
    QFETCH(QString, chatId);
    Message m;
    QVERIFY(m.fromJson(object));
    QCOMPARE(m.getSendTimeInGMT(), sendTime);
    QVERIFY(!hasLocalKey(m.getOtherFields()));
    QVERIFY(m.getFilePath().isEmpty());
    QCOMPARE(m.getState(), MessageBase::MsgState_Draft);
    QCOMPARE(m.getChatId(), chatId);
    // "FROM" is not the chat-id key of a channel message: kept as an unknown key.
    QCOMPARE(m.getOtherFields().value("FROM").toString(), QString("not the chat id"));
    QCOMPARE(m.toJson().value("FROM").toString(), QString("not the chat id"));
}

void TestMessage::malformedPublicForm_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("logged");

    QTest::newRow("no major type")
        << QJsonObject{{"MINOR_TYPE", "TEXT"}} << false << "no MAJOR_TYPE";
    QTest::newRow("no minor type")
        << QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"}} << false << "no MAJOR_TYPE";
    QTest::newRow("unknown major text")
        << QJsonObject{{"MAJOR_TYPE", "PRIVATE_CHAT"}, {"MINOR_TYPE", "TEXT"}} << false
        << "unknown MAJOR_TYPE";
    QTest::newRow("major as number")
        << QJsonObject{{"MAJOR_TYPE", 1}, {"MINOR_TYPE", "TEXT"}} << false << "unknown MAJOR_TYPE";
    QTest::newRow("unknown minor text")
        << QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"}, {"MINOR_TYPE", "HOLOGRAM"}} << true
        << "unknown MINOR_TYPE";
    QTest::newRow("time not a number") << QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                                                      {"MINOR_TYPE", "TEXT"},
                                                      {"SEND_TIME_IN_GMT", "yesterday"}}
                                       << true << "SEND_TIME_IN_GMT";
    QTest::newRow("body is an object") << QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                                                      {"MINOR_TYPE", "TEXT"},
                                                      {"MESSAGE_BODY", QJsonObject{{"a", 1}}}}
                                       << true << "MESSAGE_BODY is not text";
}

void TestMessage::malformedPublicForm()
{
    QFETCH(QJsonObject, object);
    QFETCH(bool, accepted);
    QFETCH(QString, logged);
    Message m;
    QCOMPARE(m.fromJson(object), accepted);
    QCOMPARE(m.isValid(), accepted);
    QVERIFY2(log->logged(logged), qPrintable(log->warnings.join('\n')));
    if (accepted) {
        // What was readable is kept; the bad value reads as its default.
        QCOMPARE(m.getMajorType(), MessageBase::MsgMajorType_SimpleChat);
        QCOMPARE(m.getSendTimeInGMT(), qint64(0));
        QVERIFY(m.getMessageBody().isEmpty());
    }
}

void TestMessage::storedForm()
{
    // A stored text message that held a seen state and a local file path.
    const QJsonObject stored{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                             {"MINOR_TYPE", "FILE"},
                             {"FROM", kPeer},
                             {"USER_ID", kPeer},
                             {"MESSAGE_ID", "m-1"},
                             {"MESSAGE_BODY", ""},
                             {"MESSAGE_USERNAME", kLocalUser},
                             {"SEND_TIME_IN_GMT", "1700000000000"},
                             {"FILE_TYPE", "FILE_TYPE_OTHER"},
                             {"FILE_ID", "abc"},
                             {"FILE_NAME", "a.pdf"},
                             {"FILE_SIZE", "2048"},
                             {"FILE_URL", "https://files.example/abc"},
                             {"FILE_LOCAL_PATH", "/tmp/a.pdf"},
                             {"_state", "seen"},
                             {"_likes", "3"},
                             {"_liked", "true"},
                             {"_edited", true}};
    Message m;
    QVERIFY(m.fromDBJson(stored));
    QCOMPARE(m.getState(), MessageBase::MsgState_Seen);
    QCOMPARE(m.getLikes(), 3);
    QVERIFY(m.getLiked());
    QVERIFY(m.getEdited());
    QCOMPARE(m.getFileMessage().getFilePath(), QString("/tmp/a.pdf"));
    QCOMPARE(m.getFileMessage().getFileSize(), qint64(2048));
    const QJsonObject pub = m.toJson();
    QVERIFY(!pub.contains("_state"));
    QVERIFY(!pub.contains("FILE_LOCAL_PATH"));
    const QJsonObject again = m.toDBJson();
    QCOMPARE(again.value("_state").toString(), QString("seen"));
    QCOMPARE(again.value("FILE_LOCAL_PATH").toString(), QString("/tmp/a.pdf"));

    // A stored form without local keys reads them as their defaults.
    Message plain;
    QVERIFY(plain.fromDBJson(pub));
    QCOMPARE(plain.getState(), MessageBase::MsgState_Draft);
    QCOMPARE(plain.getLikes(), 0);
    QVERIFY(plain.getFilePath().isEmpty());

    // A failed read leaves the local fields alone.
    Message failed = m;
    QVERIFY(!failed.fromDBJson(QJsonObject{{"_state", "sent"}}));
    QCOMPARE(failed.getState(), MessageBase::MsgState_Seen);
}

void TestMessage::archive_data()
{
    QTest::addColumn<QJsonObject>("element");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("userId");
    QTest::addColumn<QString>("messageUserName");

    const QJsonObject params{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                             {"MINOR_TYPE", "TEXT"},
                             {"SEND_TIME_IN_GMT", "1700000000000"}};
    const QJsonObject full{{"M", params},   {"F", kPeer + "@chat.example"},
                           {"I", "m-1"},    {"B", "hi"},
                           {"S", "NORMAL"}, {"MS", "2"}};
    auto with = [&full](const QString& key, const QJsonValue& value) {
        QJsonObject o = full;
        o.insert(key, value);
        return o;
    };
    auto without = [&full](const QString& key) {
        QJsonObject o = full;
        o.remove(key);
        return o;
    };
    QTest::newRow("delivered") << full << true << 3 << kPeer << kLocalUser;
    QTest::newRow("sent") << with("MS", "1") << true << 2 << kPeer << kLocalUser;
    QTest::newRow("seen") << with("MS", "3") << true << 4 << kPeer << kLocalUser;
    QTest::newRow("unknown MS") << with("MS", "9") << true << 1 << kPeer << kLocalUser;
    QTest::newRow("own message") << with("F", kLocalUser + "@chat.example/res") << true << 3
                                 << kLocalUser << kPeer;
    // The sender writes "M"; the archive's "F" says who sent it.
    QJsonObject posing = params;
    posing.insert("USER_ID", kLocalUser);
    QTest::newRow("peer posing as the user")
        << with("M", posing) << true << 3 << kPeer << kLocalUser;
    QJsonObject planted = params;
    planted.insert("FILE_LOCAL_PATH", "/etc/passwd");
    planted.insert("_state", "seen");
    planted.insert("_edited", true);
    QTest::newRow("planted local keys") << with("M", planted) << true << 3 << kPeer << kLocalUser;
    QTest::newRow("deleted") << with("S", "DELETED") << false << 0 << ""
                             << "";
    for (const char* key : {"M", "F", "I", "B", "S", "MS"})
        QTest::addRow("no %s", key) << without(key) << false << 0 << ""
                                    << "";
    QTest::newRow("M not an object") << with("M", "text") << false << 0 << ""
                                     << "";
    QTest::newRow("empty sender") << with("F", "@chat.example") << false << 0 << ""
                                  << "";
}

void TestMessage::archive()
{
    QFETCH(QJsonObject, element);
    QFETCH(bool, accepted);
    QFETCH(int, state);
    QFETCH(QString, userId);
    QFETCH(QString, messageUserName);
    Message m;
    QCOMPARE(m.fromUserChatArchiveJson(element, kPeer), accepted);
    if (!accepted)
        return;
    QCOMPARE(int(m.getState()), state);
    QCOMPARE(m.getUserId(), userId);
    QCOMPARE(m.getMessageUserName(), messageUserName);
    QCOMPARE(m.getChatId(), kPeer);
    QCOMPARE(m.getSendTimeInGMT(), qint64(1700000000000));
    QVERIFY(!m.getEdited());
    QVERIFY(m.getFilePath().isEmpty());
    QVERIFY(!hasLocalKey(m.getOtherFields()));
}

void TestMessage::payloadWriters()
{
    SeenMessage seen;
    seen.setSeenVariables(kPeer, "m-3", {"m-1", "m-2", "m-3"});
    Message seenMessage(MessageBase::MsgMajorType_SimpleChat, kLocalUser);
    seenMessage.setSeenMessage(seen);
    QVERIFY(seenMessage.isControlMessage());
    QCOMPARE(seenMessage.getMinorType(), MessageBase::MsgMinorType_Seen);
    QCOMPARE(seenMessage.getChatId(), kPeer);
    QVERIFY(seenMessage.getMessageId().startsWith("des_" + kLocalUser + "_"));
    // What the peer receives is a usable seen body (it names its ids by list).
    Message atPeer;
    QVERIFY(atPeer.fromJson(asStanzaText(seenMessage.toJson())));
    const SeenMessage body = atPeer.getSeenMessage();
    QVERIFY(!body.isEmpty());
    QCOMPARE(body.getMessageIds(), QStringList({"m-1", "m-2", "m-3"}));
    QCOMPARE(body.getChatId(), kPeer);

    Message original(MessageBase::MsgMajorType_GroupChat, kLocalUser, "g-1", "typo");
    original.generateMessageId();
    Message edit;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    edit.setEditMessage(original, "fixed");
    QVERIFY(edit.getMessageId().isEmpty());
    QVERIFY(edit.getMessageBody().isEmpty());
    QCOMPARE(edit.getMajorType(), MessageBase::MsgMajorType_ControlMessage);
    QCOMPARE(edit.getMinorType(), MessageBase::MsgMinorType_EditMessage);
    QCOMPARE(edit.getChatId(), QString("g-1"));
    const EditMessage editBody = edit.getEditMessage();
    QCOMPARE(editBody.getEditedText(), QString("fixed"));
    QCOMPARE(editBody.getEditedMessageId(), original.getMessageId());
    QVERIFY(editBody.getUpdateTimestamp() >= before);

    ConversationMuteStatusUpdate update;
    update.setConversationType(ConversationType::CHANNEL);
    update.setConversationId("news");
    update.setMuteStatus(true);
    update.setUpdateTimestamp(1700000000000);
    Message mute(MessageBase::MsgMajorType_None, kLocalUser);
    mute.setConversationMuteStatusChange(update);
    QCOMPARE(mute.getMajorType(), MessageBase::MsgMajorType_ControlMessage);
    QCOMPARE(mute.getMinorType(), MessageBase::MsgMinorType_UpdateConversationMuteStatus);
    QCOMPARE(mute.getConversationMuteStatusUpdate().toJson(), update.toJson());

    FileMessage file;
    file.setFileType(FileMessage::MsgFileType_PushToTalk);
    file.setPushToTalkDuration(9);
    file.setFileSize(5000000000LL);
    Message fileMessage(MessageBase::MsgMajorType_SimpleChat, kLocalUser);
    fileMessage.setMinorType(MessageBase::MsgMinorType_File);
    fileMessage.setFileMessage(file);
    fileMessage.setFilePath("/data/voice.ogg");
    QCOMPARE(fileMessage.getFileMessage().getFilePath(), QString("/data/voice.ogg"));
    QCOMPARE(fileMessage.getFileMessage().getFileSize(), qint64(5000000000LL));
    QCOMPARE(fileMessage.getFileMessage().getPushToTalkDuration(), 9);
    // Payload accessors of another kind give empty parts.
    QVERIFY(fileMessage.getStickerMessage().isEmpty());
    QVERIFY(fileMessage.getLocationMessage().isEmpty());
    QVERIFY(fileMessage.getSeenMessage().isEmpty());
    QVERIFY(fileMessage.getPollData().isEmpty());
}

void TestMessage::dbOnlyFields()
{
    const Message stored =
        filledMessage(MessageBase::MsgMajorType_ChannelChat, MessageBase::MsgMinorType_Text);
    Message fresh(MessageBase::MsgMajorType_ChannelChat, "someone", "news", "new text");
    fresh.setDBOnlyFields(stored);
    QCOMPARE(fresh.getLikes(), 7);
    QCOMPARE(fresh.getViews(), 11);
    QVERIFY(fresh.getLiked());
    QVERIFY(fresh.getEdited());
    QCOMPARE(fresh.getState(), MessageBase::MsgState_Seen);
    QCOMPARE(fresh.getMessageBody(), QString("new text"));

    Message copy;
    QVERIFY(copy.setDataFromMsg(stored));
    QCOMPARE(copy, stored);
}

QTEST_GUILESS_MAIN(TestMessage)
#include "tst_message.moc"
