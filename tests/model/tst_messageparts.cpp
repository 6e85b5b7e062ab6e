// The parts that ride in a message: file, location and sticker parts, the
// control-message bodies and the poll values.

#include "logcapture.h"
#include "model/channeleditmessage.h"
#include "model/conversationmutestatusupdate.h"
#include "model/editmessage.h"
#include "model/filemessage.h"
#include "model/groupchangerolemessage.h"
#include "model/groupinvitationmessage.h"
#include "model/groupjoinmessage.h"
#include "model/groupmetadatachangedmessage.h"
#include "model/groupremovemessage.h"
#include "model/locationmessage.h"
#include "model/polldata.h"
#include "model/pollresult.h"
#include "model/seenmessage.h"
#include "model/stickermessage.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

class TestMessageParts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { log = new LogCapture; }
    void init() { log->clear(); }
    void cleanupTestCase() { delete log; }

    void fileSizes_data();
    void fileSizes();
    void fileTypeSpecificKeys_data();
    void fileTypeSpecificKeys();
    void fileMalformed();
    void fileChecksAndStatic();
    void fileFromLocalFiles();

    void location_data();
    void location();
    void sticker();

    void seenBody();
    void editBodies();
    void muteBody();
    void groupBodies_data();
    void groupBodies();

    void pollBuilding();
    void pollJson_data();
    void pollJson();
    void pollOptionJson();
    void pollResult_data();
    void pollResult();

private:
    LogCapture* log = nullptr;
};

void TestMessageParts::fileSizes_data()
{
    QTest::addColumn<QJsonValue>("size");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("text") << QJsonValue("2048") << qint64(2048);
    QTest::newRow("number") << QJsonValue(2048) << qint64(2048);
    QTest::newRow("2 GiB as number") << QJsonValue(2147483648.0) << qint64(2147483648LL);
    QTest::newRow("5 GB as text") << QJsonValue("5000000000") << qint64(5000000000LL);
    QTest::newRow("zero") << QJsonValue(0) << qint64(0);
}

void TestMessageParts::fileSizes()
{
    QFETCH(QJsonValue, size);
    QFETCH(qint64, expected);
    FileMessage file(QJsonObject{{"FILE_TYPE", "FILE_TYPE_OTHER"}, {"FILE_SIZE", size}});
    QCOMPARE(file.getFileSize(), expected);
    // Written as a number, read back the same in both wire forms.
    const QJsonObject written = file.toJsonObject();
    QVERIFY(written.value("FILE_SIZE").isDouble());
    QCOMPARE(FileMessage(written).getFileSize(), expected);
    QJsonObject asText = written;
    asText.insert("FILE_SIZE", QString::number(expected));
    QCOMPARE(FileMessage(asText).getFileSize(), expected);
    QVERIFY(log->warnings.isEmpty());
}

void TestMessageParts::fileTypeSpecificKeys_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("specificKeys");
    QTest::newRow("image") << 1 << QStringList{"FILE_IMAGE_HEIGHT", "FILE_IMAGE_WIDTH"};
    QTest::newRow("video") << 2
                           << QStringList{"FILE_IMAGE_HEIGHT", "FILE_IMAGE_WIDTH",
                                          "FILE_TYPE_VIDEO_DURATION"};
    QTest::newRow("gif") << 3 << QStringList{"FILE_IMAGE_HEIGHT", "FILE_IMAGE_WIDTH"};
    QTest::newRow("push to talk") << 4 << QStringList{"FILE_TYPE_PUSH_TO_TALK_DURATION"};
    QTest::newRow("other") << 5 << QStringList();
}

void TestMessageParts::fileTypeSpecificKeys()
{
    QFETCH(int, type);
    QFETCH(QStringList, specificKeys);
    const auto fileType = static_cast<FileMessage::MsgFileType>(type);
    QCOMPARE(FileMessage::getSpecificFields(fileType), specificKeys);

    FileMessage file;
    file.setFileType(fileType);
    file.setFileId("id1");
    file.setFileName("n");
    file.setFileSize(10);
    file.setFileUrl("u");
    file.setImageSize(QSize(640, 480));
    file.setFileTypeVideoDuration(12);
    file.setPushToTalkDuration(7);
    file.setFilePath("/local/n");
    const QJsonObject json = file.toJsonObject();
    for (const QString& key : specificKeys)
        QVERIFY2(json.contains(key), qPrintable(key));
    QVERIFY(!json.contains("FILE_LOCAL_PATH"));
    QVERIFY(FileMessage::checkFields(json));
    QVERIFY(FileMessage::checkSpecificFields(json));
    if (fileType == FileMessage::MsgFileType_Video)
        QCOMPARE(json.value("FILE_TYPE_VIDEO_DURATION").toString(), QString("12"));

    // Stored form keeps the local path; every field comes back.
    FileMessage back;
    back.setDataFromDBJson(file.toDBJsonObject());
    if (specificKeys.isEmpty() || fileType == FileMessage::MsgFileType_PushToTalk) {
        // Sizes and durations of other kinds do not travel.
        QCOMPARE(back.getFileType(), fileType);
        QCOMPARE(back.getFilePath(), QString("/local/n"));
    } else {
        QCOMPARE(back.getImageSize(), QSize(640, 480));
    }
    if (fileType == FileMessage::MsgFileType_Video)
        QCOMPARE(back.getFileTypeVideoDuration(), 12);
    if (fileType == FileMessage::MsgFileType_PushToTalk)
        QCOMPARE(back.getPushToTalkDuration(), 7);
    QCOMPARE(back.toDBJsonObject(), file.toDBJsonObject());

    // The stanza carries every value as text: it still reads back.
    QJsonObject asText;
    for (auto it = json.constBegin(); it != json.constEnd(); ++it)
        asText.insert(it.key(), it.value().toVariant().toString());
    QCOMPARE(FileMessage(asText).toJsonObject(), json);
}

void TestMessageParts::fileMalformed()
{
    FileMessage file(
        QJsonObject{{"FILE_TYPE", "FILE_TYPE_MOVIE"}, {"FILE_SIZE", "12 bytes"}, {"FILE_ID", 42}});
    QVERIFY(file.isEmpty());
    QCOMPARE(file.getFileSize(), qint64(0));
    QVERIFY(log->logged("unknown file type"));
    QVERIFY(log->logged("unreadable FILE_SIZE"));

    // Missing keys leave the fields as they were.
    FileMessage kept;
    kept.setFileName("keep.txt");
    kept.setDataFromJson(QJsonObject{{"FILE_URL", "u"}});
    QCOMPARE(kept.getFileName(), QString("keep.txt"));
    QCOMPARE(kept.getFileUrl(), QString("u"));

    // An empty thumbnail address means no thumbnail.
    FileMessage thumb(QJsonObject{{"FILE_TYPE", "FILE_TYPE_IMAGE"}, {"FILE_THUMBNAIL_URL", ""}});
    QVERIFY(!thumb.getFileHasThumbnail());
    FileMessage withThumb(QJsonObject{{"FILE_THUMBNAIL_URL", "https://t"}});
    QVERIFY(withThumb.getFileHasThumbnail());
}

void TestMessageParts::fileChecksAndStatic()
{
    QVERIFY(!FileMessage::checkFields(QJsonObject{{"FILE_URL", "u"}}));
    QVERIFY(!FileMessage::checkSpecificFields(
        QJsonObject{{"FILE_TYPE", "FILE_TYPE_IMAGE"}, {"FILE_IMAGE_WIDTH", 1}}));
    FileMessage file;
    file.setFileId("emoji.png");
    QVERIFY(file.isStatic());
    file.setFileId("a1b2c3");
    QVERIFY(!file.isStatic());
    QCOMPARE(FileMessage::toString(FileMessage::MsgFileType_Gif), QString("FILE_TYPE_GIF"));
    QCOMPARE(FileMessage::toMsgFileType("file_type_gif"), FileMessage::MsgFileType_None);
}

void TestMessageParts::fileFromLocalFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString dataPath = dir.filePath("notes.bin");
    {
        QFile f(dataPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    FileMessage file;
    QVERIFY(file.fromLocalFile(dataPath));
    QCOMPARE(file.getFileType(), FileMessage::MsgFileType_Other);
    QCOMPARE(file.getFileSize(), qint64(4096));
    QCOMPARE(file.getFileName(), QString("notes.bin"));
    QCOMPARE(file.getFileUrl(), dataPath);
    QCOMPARE(file.getFilePath(), dataPath);
    QVERIFY(!file.getFileHasThumbnail());

    const QString imagePath = dir.filePath("pic.png");
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(imagePath));
    FileMessage picture;
    QVERIFY(picture.fromLocalImage(imagePath));
    QCOMPARE(picture.getFileType(), FileMessage::MsgFileType_Image);
    QCOMPARE(picture.getImageSize(), QSize(37, 21));
    QVERIFY(picture.getFileHasThumbnail());

    // A missing file and a file that is no picture are reported, not fatal.
    FileMessage missing;
    QVERIFY(!missing.fromLocalFile(dir.filePath("gone.txt")));
    QCOMPARE(missing.getFileSize(), qint64(0));
    FileMessage notImage;
    QVERIFY(!notImage.fromLocalImage(dataPath));
    QVERIFY(log->logged("not an image"));
}

void TestMessageParts::location_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<bool>("warned");
    QTest::newRow("text") << QJsonObject{{"LOCATION_LATITUDE", "35.689198"},
                                         {"LOCATION_LONGITUDE", "51.388973"}}
                          << 35.689198 << 51.388973 << false;
    QTest::newRow("numbers") << QJsonObject{{"LOCATION_LATITUDE", -33.8688},
                                            {"LOCATION_LONGITUDE", 151.2093}}
                             << -33.8688 << 151.2093 << false;
    QTest::newRow("no longitude") << QJsonObject{{"LOCATION_LATITUDE", "35.6"}} << 256.0 << 256.0
                                  << true;
    QTest::newRow("not a number") << QJsonObject{{"LOCATION_LATITUDE", "north"},
                                                 {"LOCATION_LONGITUDE", "51.3"}}
                                  << 256.0 << 256.0 << true;
}

void TestMessageParts::location()
{
    QFETCH(QJsonObject, object);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(bool, warned);
    const LocationMessage location(object);
    QCOMPARE(location.getLatitude(), latitude);
    QCOMPARE(location.getLongitude(), longitude);
    QCOMPARE(location.isEmpty(), latitude == 256.0);
    QCOMPARE(!log->warnings.isEmpty(), warned);
    if (location.isEmpty())
        return;
    // Written as text that reads back to exactly the same coordinates.
    const QJsonObject written = location.toJsonObject();
    QVERIFY(written.value("LOCATION_LATITUDE").isString());
    const LocationMessage back(written);
    QCOMPARE(back.getLatitude(), latitude);
    QCOMPARE(back.getLongitude(), longitude);
}

void TestMessageParts::sticker()
{
    const QJsonObject full{
        {"STICKER_ID", "s1"}, {"STICKER_PACKAGE_ID", "p1"}, {"STICKER_VERSION", "2"}};
    StickerMessage sticker;
    QVERIFY(sticker.setDataFromJson(full));
    QCOMPARE(sticker.toJsonObject(), full);
    sticker.setFrom("someone");
    StickerMessage other(full);
    QVERIFY(sticker == other); // the sender is not compared

    QJsonObject partial = full;
    partial.remove("STICKER_VERSION");
    StickerMessage broken = sticker;
    QVERIFY(!broken.setDataFromJson(partial));
    QVERIFY(broken.isEmpty());
    QCOMPARE(broken.toJsonObject(), QJsonObject());
}

void TestMessageParts::seenBody()
{
    SeenMessage seen;
    seen.setSeenVariables("peer", "m3", {"m1", "m2", "m3"});
    seen.setSeenTimeInGMT(1700000000001);
    const QJsonObject json = seen.toJson();
    QCOMPARE(json.value("MESSAGE_IDS").toString(), QString("m1,m2,m3"));
    QVERIFY(!json.contains("SECONDARY_MESSAGE_ID"));
    QCOMPARE(json.value("SEEN_TIME_IN_GMT").toString(), QString("1700000000001"));
    QCOMPARE(seen.toDebugJson().value("FROM").toString(), QString("peer"));

    // What is sent is accepted on the other side.
    SeenMessage received;
    received.setChatId("peer");
    QVERIFY(received.fromJson(json));
    QCOMPARE(received.getMessageIds(), QStringList({"m1", "m2", "m3"}));
    QCOMPARE(received.getSeenTimeInGMT(), qint64(1700000000001));

    SeenMessage single;
    single.setSeenVariables("peer", "m9", {});
    QCOMPARE(single.toJson().value("SECONDARY_MESSAGE_ID").toString(), QString("m9"));
    QVERIFY(!single.toJson().contains("MESSAGE_IDS"));

    SeenMessage gaps;
    gaps.setChatId("peer");
    QVERIFY(gaps.fromJson(QJsonObject{{"MESSAGE_IDS", "a,,b,"}, {"SEEN_TIME_IN_GMT", 5}}));
    QCOMPARE(gaps.getMessageIds(), QStringList({"a", "b"}));
    QCOMPARE(gaps.getSeenTimeInGMT(), qint64(5));

    SeenMessage noChat;
    QVERIFY(!noChat.fromJson(json));
    SeenMessage nothing;
    nothing.setChatId("peer");
    QVERIFY(!nothing.fromJson(QJsonObject{{"SEEN_TIME_IN_GMT", "1"}}));
}

void TestMessageParts::editBodies()
{
    const EditMessage edit("new", 1700000000002, "m-7");
    const QJsonObject json = edit.toJson();
    QCOMPARE(json.value("UPDATE_TIMESTAMP").toString(), QString("1700000000002"));
    EditMessage back;
    QVERIFY(back.fromJson(json));
    QCOMPARE(back.toJson(), json);
    QJsonObject numeric = json;
    numeric.insert("UPDATE_TIMESTAMP", 1700000000002.0);
    QVERIFY(back.fromJson(numeric));
    QCOMPARE(back.getUpdateTimestamp(), qint64(1700000000002));
    QVERIFY(!EditMessage().fromJson(QJsonObject{{"SECONDARY_MESSAGE_ID", "x"}}));

    ChannelEditMessage channelEdit;
    channelEdit.setChannelId("news");
    channelEdit.setOriginalMessageId("p1");
    channelEdit.setMessageContent("text");
    channelEdit.setUpdateTimestamp(1700000000003);
    const QJsonObject channelJson = channelEdit.toJson();
    QVERIFY(channelJson.value("UPDATE_TIMESTAMP").isDouble());
    // Written as a number, read back as the same time.
    ChannelEditMessage channelBack;
    QVERIFY(channelBack.fromJson(channelJson));
    QCOMPARE(channelBack.getUpdateTimestamp(), qint64(1700000000003));
    QCOMPARE(channelBack.toJson(), channelJson);
    QJsonObject textual = channelJson;
    textual.insert("UPDATE_TIMESTAMP", "1700000000003");
    QVERIFY(channelBack.fromJson(textual));
    QCOMPARE(channelBack.getUpdateTimestamp(), qint64(1700000000003));

    QVERIFY(!ChannelEditMessage().fromJson(QJsonObject{{"CHANNEL_ID", "news"}}));
    ChannelEditMessage badTime;
    QVERIFY(badTime.fromJson(QJsonObject{
        {"CHANNEL_ID", "news"}, {"ORIGINAL_MESSAGE_ID", "p"}, {"UPDATE_TIMESTAMP", "soon"}}));
    QCOMPARE(badTime.getUpdateTimestamp(), qint64(0));
    QVERIFY(log->logged("UPDATE_TIMESTAMP"));
}

void TestMessageParts::muteBody()
{
    ConversationMuteStatusUpdate update;
    update.setConversationType(ConversationType::USER);
    update.setConversationId("peer");
    update.setMuteStatus(false);
    update.setUpdateTimestamp(1700000000004);
    const QJsonObject json = update.toJson();
    QCOMPARE(json.value("MUTE_STATUS").toString(), QString("UNMUTE"));
    QCOMPARE(json.value("CONVERSATION_TYPE").toString(), QString("USER"));
    ConversationMuteStatusUpdate back;
    QVERIFY(back.fromJson(json));
    QCOMPARE(back.toJson(), json);
    ConversationMuteStatusUpdate copy(back);
    QCOMPARE(copy.toJson(), json);

    QJsonObject lower = json;
    lower.insert("MUTE_STATUS", "mute");
    QVERIFY(back.fromJson(lower));
    QVERIFY(!back.getMuteStatus());

    QJsonObject unknownType = json;
    unknownType.insert("CONVERSATION_TYPE", "ROOM");
    QVERIFY(!back.fromJson(unknownType));
    QCOMPARE(back.getConversationType(), ConversationType::NONE);
    QVERIFY(log->logged("unknown type"));
}

void TestMessageParts::groupBodies_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("warned");
    // kind: 21 remove, 22 join, 23 change role, 24 metadata, 19 invitation
    QTest::newRow("remove") << 21 << QJsonObject{{"JID", "g"}, {"REMOVED_USER_ID", "u2"}} << false
                            << false;
    QTest::newRow("remove without removed user")
        << 21 << QJsonObject{{"JID", "g"}} << true << false;
    QTest::newRow("join") << 22
                          << QJsonObject{{"JID", "g"}, {"ADDED_BY", "u0"}, {"USER_ROLE", "MEMBER"}}
                          << false << false;
    QTest::newRow("join with unknown role")
        << 22 << QJsonObject{{"JID", "g"}, {"ADDED_BY", "u0"}, {"USER_ROLE", "member"}} << true
        << true;
    QTest::newRow("change role") << 23
                                 << QJsonObject{{"JID", "g"},
                                                {"CHANGE_USER_ID", "u3"},
                                                {"OLD_ROLE", "MEMBER"},
                                                {"NEW_ROLE", "ADMIN"}}
                                 << false << false;
    QTest::newRow("change role to NONE") << 23
                                         << QJsonObject{{"JID", "g"},
                                                        {"CHANGE_USER_ID", "u3"},
                                                        {"OLD_ROLE", "MEMBER"},
                                                        {"NEW_ROLE", "NONE"}}
                                         << true << false;
    QTest::newRow("metadata") << 24 << QJsonObject{{"JID", "g"}} << false << false;
    QTest::newRow("metadata without jid") << 24 << QJsonObject{{"USER_ID", "u"}} << true << false;
    QTest::newRow("invitation") << 19 << QJsonObject{{"JID", "g"}, {"USER_ROLE", "OWNER"}} << false
                                << false;
    QTest::newRow("invitation, jid not text")
        << 19 << QJsonObject{{"JID", 7}, {"USER_ROLE", "OWNER"}} << true << true;
}

void TestMessageParts::groupBodies()
{
    QFETCH(int, kind);
    QFETCH(QJsonObject, object);
    QFETCH(bool, empty);
    QFETCH(bool, warned);
    bool isEmpty = true;
    switch (kind) {
    case 21: {
        GroupRemoveMessage body;
        body.setUserId("sender");
        body.setDataFromJson(object);
        isEmpty = body.isEmpty();
        QCOMPARE(body.isValid(), !isEmpty);
        break;
    }
    case 22: {
        GroupJoinMessage body;
        body.setUserId("sender");
        body.setDataFromJson(object);
        isEmpty = body.isEmpty();
        break;
    }
    case 23: {
        GroupChangeRoleMessage body;
        body.setUserId("sender");
        body.setDataFromJson(object);
        isEmpty = body.isEmpty();
        break;
    }
    case 24: {
        GroupMetaDataChangedMessage body;
        body.setDataFromJson(object);
        isEmpty = body.isEmpty();
        break;
    }
    case 19: {
        GroupInvitationMessage body;
        body.setUserId("sender");
        body.setDataFromJson(object);
        isEmpty = body.isEmpty();
        break;
    }
    }
    QCOMPARE(isEmpty, empty);
    QCOMPARE(!log->warnings.isEmpty(), warned);
}

void TestMessageParts::pollBuilding()
{
    const PollData poll("radio", "Q?", {"a", "b"});
    QCOMPARE(poll.getPollType(), PollData::Radio);
    QCOMPARE(poll.getOptions().keys(), QStringList({"1", "2"}));
    QCOMPARE(poll.getOptions().value("2").getText(), QString("b"));
    QCOMPARE(poll.getCommentBoxCharLimit(), 10);
    QVERIFY(poll.getEnable());
    QVERIFY(!poll.getHaveCommentBox());
    QVERIFY(PollData("Radio", "Q?", {"a"}).isEmpty());
    QVERIFY(PollData("", "Q?", {"a"}).getOptions().isEmpty());

    PollData cleared = poll;
    cleared.clear();
    QVERIFY(cleared.isEmpty());
    QCOMPARE(cleared.getQuestion(), QString("Q?"));
    QCOMPARE(cleared.getOptions().size(), 2);

    // Options are ordered by their id text.
    PollData many("checkbox", "Q",
                  QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    many.setPollId("p");
    const QJsonArray options = many.toJsonObject().value("Options").toArray();
    QCOMPARE(options.at(1).toObject().value("OptionID").toString(), QString("10"));
    QCOMPARE(options.at(2).toObject().value("OptionID").toString(), QString("2"));
}

void TestMessageParts::pollJson_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("enable");
    const QJsonObject full{
        {"PollID", "p-1"},
        {"Question", "Which?"},
        {"Type", "commentbox"},
        {"CommentBoxCharsLimit", 140},
        {"Enable", 1},
        {"HaveCommentBox", 1},
        {"Options",
         QJsonArray{QJsonObject{{"OptionID", "1"}, {"Text", "x"}, {"DisplayCommentBox", true}}}}};
    QTest::newRow("full") << full << false << true;
    for (const QString& key : full.keys()) {
        QJsonObject partial = full;
        partial.remove(key);
        QTest::addRow("without %s", qPrintable(key)) << partial << true << false;
    }
    QJsonObject boolEnable = full;
    boolEnable.insert("Enable", true);
    QTest::newRow("Enable as JSON boolean") << boolEnable << false << false;
    QJsonObject twoEnable = full;
    twoEnable.insert("Enable", 2);
    QTest::newRow("Enable 2") << twoEnable << false << true;
    QJsonObject textEnable = full;
    textEnable.insert("Enable", "1");
    QTest::newRow("Enable as text") << textEnable << false << true;
    QJsonObject unknownType = full;
    unknownType.insert("Type", "slider");
    QTest::newRow("unknown type") << unknownType << true << true;
}

void TestMessageParts::pollJson()
{
    QFETCH(QJsonObject, object);
    QFETCH(bool, empty);
    QFETCH(bool, enable);
    const PollData poll(object);
    QCOMPARE(poll.isEmpty(), empty);
    if (!PollData::checkFields(object))
        return;
    QCOMPARE(poll.getEnable(), enable);
    QCOMPARE(poll.getOptions().size(), 1);
    if (!empty) {
        PollData back(poll.toJsonObject());
        QCOMPARE(back, poll);
    }
}

void TestMessageParts::pollOptionJson()
{
    PollOption option(QJsonObject{{"OptionID", 3}, {"Text", 12}, {"DisplayCommentBox", "yes"}});
    QCOMPARE(option.getOptionId(), QString()); // a numeric id is not taken
    QCOMPARE(option.getText(), QString("12"));
    QVERIFY(!option.getDisplayCommentBox());
    QVERIFY(log->logged("OptionID is not text"));
    QVERIFY(PollOption().isEmpty());
    PollOption kept("5", "t", true);
    kept.setDataFromJson(QJsonObject{{"Text", "u"}});
    QCOMPARE(kept.getText(), QString("t"));

    PollData noId("radio", "Q", {"a"});
    QVERIFY(!noId.toJsonObject().contains("PollID"));
}

void TestMessageParts::pollResult_data()
{
    QTest::addColumn<QJsonObject>("object");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("totalVotes");
    const QJsonArray options{QJsonObject{{"OptionID", "1"}, {"Text", "a"}, {"VotesCount", "3"}},
                             QJsonObject{{"OptionID", "2"}, {"Text", "b"}, {"VotesCount", 2}},
                             "not an option"};
    const QJsonObject full{{"LastUpdate", "1700000000"},
                           {"Question", "Q"},
                           {"TotalVotes", "5"},
                           {"Options", options},
                           {"UserVote", "1"}};
    QTest::newRow("text counts") << full << true << 5;
    QJsonObject numbers = full;
    numbers.insert("TotalVotes", 5);
    QTest::newRow("number counts") << numbers << true << 5;
    QJsonObject noVote = full;
    noVote.remove("UserVote");
    QTest::newRow("no user vote") << noVote << false << 5;
    QJsonObject noOptions = full;
    noOptions.insert("Options", "1,2");
    QTest::newRow("options not a list") << noOptions << false << 5;
}

void TestMessageParts::pollResult()
{
    QFETCH(QJsonObject, object);
    QFETCH(bool, accepted);
    QFETCH(int, totalVotes);
    PollResult result;
    QCOMPARE(result.setDataFromJson(object), accepted);
    QCOMPARE(result.getTotalVotes(), totalVotes);
    if (!accepted)
        return;
    QCOMPARE(result.getOptions().size(), 2);
    QCOMPARE(result.getOptions().value("2").getVoteCount(), 2);
    QCOMPARE(PollResult(result.toJsonObject()), result);
}

QTEST_GUILESS_MAIN(TestMessageParts)
#include "tst_messageparts.moc"
