// Content inside the conversation view: the content widget each kind of
// message gets in its bubble, upload bubbles made from attached files (with
// the reply they carry, the host of the chat's kind, the message sent once
// the file host has the file), failures that hide a bubble, polls posted only
// by the window of their channel, and the emoji picker feeding one input.

#include "chat/chatmessagecontainer.h"
#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "chat/content/emojibutton.h"
#include "chat/content/emojibuttonspanel.h"
#include "chat/content/emojiwidget.h"
#include "chat/content/otherfilewidget.h"
#include "chat/content/pttwidget.h"
#include "chat/content/thumbnail.h"
#include "chat/customtextedit.h"
#include "chat/messagebody.h"
#include "chat/replymessagewidget.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "model/globalconstants.h"
#include "screens/poll/createpollwidget.h"
#include "screens/poll/pollwidget.h"
#include "testcertificates.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/currentuser.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Message messageOf(MessageBase::MsgMinorType minor, FileMessage::MsgFileType type,
                  const QString& from = "peer")
{
    Message m(MessageBase::MsgMajorType_GroupChat, from, "room-1", " ");
    m.setMessageId("msg-" + QString::number(int(minor)) + "-" + QString::number(int(type)));
    m.setMinorType(minor);
    if (minor == MessageBase::MsgMinorType_File) {
        FileMessage file;
        file.setFileType(type);
        file.setFileName("thing.bin");
        file.setFileSize(100);
        file.setImageSize(QSize(200, 100));
        m.setFileMessage(file);
    }
    return m;
}

} // namespace

class TestContentBubbles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void contentByKind_data();
    void contentByKind();
    void uploadModeByChatKind_data();
    void uploadModeByChatKind();
    void attachedFilesBecomeUploadBubblesAndAreSent();
    void refusedUploadHidesItsBubble();
    void pollIsPostedOnlyByItsChannel();
    void emojiPickerFeedsOneInput();

private:
    QString writeFile(const QString& name, const QByteArray& content);
    FakeWebService service;
    FakeFileHost* host = nullptr;
    QTemporaryDir dir;
};

void TestContentBubbles::initTestCase()
{
    qRegisterMetaType<Message>();
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    host = new FakeFileHost(&service);
    qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
    qputenv("QUORVEL_STICKER_BASE_URL", service.baseUrl().toUtf8());
    GlobalConstants::setUserName("me");
    GlobalConstants::setToken("token-1");
    GlobalConstants::setHashMethod("SHA256");
    currentUserName = "me";
}

void TestContentBubbles::cleanup()
{
    UploadManager::deleteInstance();
    EmojiWidget::deleteInstance();
}

QString TestContentBubbles::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

void TestContentBubbles::contentByKind_data()
{
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("content");
    QTest::newRow("image") << int(MessageBase::MsgMinorType_File)
                           << int(FileMessage::MsgFileType_Image) << "thumbnail";
    QTest::newRow("video") << int(MessageBase::MsgMinorType_File)
                           << int(FileMessage::MsgFileType_Video) << "thumbnail";
    QTest::newRow("gif") << int(MessageBase::MsgMinorType_File) << int(FileMessage::MsgFileType_Gif)
                         << "thumbnail";
    QTest::newRow("voice") << int(MessageBase::MsgMinorType_File)
                           << int(FileMessage::MsgFileType_PushToTalk) << "voice";
    QTest::newRow("other file") << int(MessageBase::MsgMinorType_File)
                                << int(FileMessage::MsgFileType_Other) << "file";
    QTest::newRow("location") << int(MessageBase::MsgMinorType_Location) << 0 << "file";
    QTest::newRow("sticker") << int(MessageBase::MsgMinorType_Sticker) << 0 << "sticker";
    QTest::newRow("poll") << int(MessageBase::MsgMinorType_Poll) << 0 << "poll";
    QTest::newRow("file of no type")
        << int(MessageBase::MsgMinorType_File) << int(FileMessage::MsgFileType_None) << "none";
}

void TestContentBubbles::contentByKind()
{
    QFETCH(int, minor);
    QFETCH(int, type);
    QFETCH(QString, content);
    Message m = messageOf(MessageBase::MsgMinorType(minor), FileMessage::MsgFileType(type));
    if (content == "none") {
        QJsonObject other = m.getOtherFields();
        other.insert("FILE_TYPE", "weird");
        m.setOtherFields(other);
    }
    ChatMessageWidget bubble(m, 1, false, Message());
    bubble.show();
    QCOMPARE(bubble.thumbnailWidget() != nullptr, content == "thumbnail" || content == "sticker");
    QCOMPARE(bubble.pttWidget() != nullptr, content == "voice");
    QCOMPARE(bubble.otherFileWidget() != nullptr, content == "file");
    QCOMPARE(bubble.pollContent() != nullptr, content == "poll");
    if (content == "thumbnail")
        QCOMPARE(bubble.thumbnailWidget()->objectName(), QString("ThumbnailWidget"));
    if (content == "sticker") {
        QCOMPARE(bubble.thumbnailWidget()->size(), Thumbnail::kStickerBox);
        QVERIFY(bubble.bodyWidget()->isHidden());
    }
    if (content == "none")
        QCOMPARE(bubble.bodyPlainText(), QString("FILE_TYPE_NONE | weird"));
    // A voice message never downloads by itself; the rest ask their widget.
    bubble.startAutoDownload();
}

void TestContentBubbles::uploadModeByChatKind_data()
{
    QTest::addColumn<int>("chat");
    QTest::addColumn<int>("mode");
    QTest::newRow("one-to-one") << int(MessageBase::MsgMajorType_SimpleChat)
                                << int(UploadMode_File);
    QTest::newRow("group") << int(MessageBase::MsgMajorType_GroupChat) << int(UploadMode_File);
    QTest::newRow("channel direct")
        << int(MessageBase::MsgMajorType_ChannelDirect) << int(UploadMode_File);
    QTest::newRow("channel") << int(MessageBase::MsgMajorType_ChannelChat)
                             << int(UploadMode_Static);
}

void TestContentBubbles::uploadModeByChatKind()
{
    QFETCH(int, chat);
    QFETCH(int, mode);
    QCOMPARE(int(ChatWindow::uploadModeFor(MessageBase::MsgMajorType(chat))), mode);
}

void TestContentBubbles::attachedFilesBecomeUploadBubblesAndAreSent()
{
    ChatWindow window;
    window.setChatId("room-1");
    window.setChatType(MessageBase::MsgMajorType_GroupChat);
    window.resize(600, 700);
    window.show();
    QList<Message> sent;
    connect(&window, &ChatWindow::command, this, [&](Command cmd, const QVariant& value) {
        if (cmd == CMD_SendMessage)
            sent << value.value<Message>();
    });
    Message replied(MessageBase::MsgMajorType_GroupChat, "peer", "room-1", "question");
    replied.setMessageId("asked-1");
    window.replyMessage(replied);
    QVERIFY(window.replyBar()->isVisibleTo(&window));
    const QStringList paths{writeFile("one.txt", "one\n"), writeFile("two.txt", "two\n"),
                            writeFile("three.txt", "three\n")};
    window.attachFiles(paths);
    QVERIFY(!window.replyBar()->isVisibleTo(&window));
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 3, 20000);
    QCOMPARE(sent.at(0).getReplyOnMessageId(), QString("asked-1"));
    QCOMPARE(sent.at(1).getReplyOnMessageId(), QString());
    for (const Message& m : sent) {
        QCOMPARE(m.getMinorType(), MessageBase::MsgMinorType_File);
        QCOMPARE(m.getChatId(), QString("room-1"));
        QCOMPARE(m.getUserId(), QString("me"));
        QVERIFY(m.getFileMessage().getFileUrl().startsWith(service.baseUrl()));
        ChatMessageWidget* bubble = window.bubble(m.getMessageId());
        QVERIFY(bubble);
        QVERIFY(bubble->otherFileWidget());
        QCOMPARE(bubble->getSide(), 0);
    }
    QVERIFY(window.bubble(sent.at(0).getMessageId())->replyOutline());
}

void TestContentBubbles::refusedUploadHidesItsBubble()
{
    ChatWindow window;
    window.setChatId("peer-1");
    window.setChatType(MessageBase::MsgMajorType_SimpleChat);
    window.show();
    const QString path = writeFile("big.txt", "big\n");
    service.enqueueReply("upload_file", ServiceReply::json({{"ResultCode", 340}}));
    const UploadRequest request = UploadManager::getInstance()->uploadFileMessage(path);
    ChatMessageWidget* bubble = window.addUploadMessageWidget(request, " ");
    QSignalSpy sends(bubble, &ChatMessageWidget::sendXMPPMessage);
    connect(bubble, &ChatMessageWidget::uploadError, &window, &ChatWindow::uploadError);
    QSignalSpy errors(bubble->otherFileWidget(), &OtherFileWidget::uploadError);
    QVERIFY(errors.wait(10000));
    if (errors.first().first().toInt() == 340 || errors.first().first().toInt() == 341)
        QTRY_VERIFY(bubble->isHidden());
    else
        QVERIFY(!bubble->isHidden());
    QCOMPARE(sends.size(), 0);
}

void TestContentBubbles::pollIsPostedOnlyByItsChannel()
{
    ChatWindow first, second;
    first.setChatId("channel-1");
    first.setChatType(MessageBase::MsgMajorType_ChannelChat);
    second.setChatId("channel-2");
    second.setChatType(MessageBase::MsgMajorType_ChannelChat);
    QList<QString> posted;
    for (ChatWindow* w : {&first, &second})
        connect(w, &ChatWindow::command, this, [&posted, w](Command cmd, const QVariant& value) {
            if (cmd == CMD_SendPollToChannel)
                posted << w->getChatId() + ":" + value.value<PollData>().getQuestion();
        });
    second.pollBtnClicked();
    first.pollBtnClicked();
    first.pollBtnClicked();
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    QCOMPARE(composer->getChatId(), QString("channel-1"));
    PollData poll;
    poll.setQuestion("Which day?");
    emit composer->postPoll("channel-1", poll);
    QCOMPARE(posted, QList<QString>({"channel-1:Which day?"}));
}

void TestContentBubbles::emojiPickerFeedsOneInput()
{
    ChatWindow window;
    window.setChatId("peer-2");
    window.setChatType(MessageBase::MsgMajorType_SimpleChat);
    window.resize(600, 700);
    window.show();
    window.emojiBtnClicked();
    window.emojiBtnClicked();
    EmojiWidget* picker = EmojiWidget::getInstance();
    QCOMPARE(picker->chatWindow(), &window);
    EmojiButton* button = picker->categoryPages().first()->buttonAt(1, 0);
    QTest::mouseClick(button, Qt::LeftButton);
    const QString html = window.input()->toHtml();
    QCOMPARE(html.count("<img"), 1);
    QVERIFY(html.contains(button->filePath()));
    // Typing in the picker goes on in the input.
    QTest::keyClick(picker, Qt::Key_X);
    QVERIFY(window.input()->toPlainText().contains("x"));
    // A hidden window no longer hears the picker.
    window.hideChatWindow();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(window.input()->toHtml().count("<img"), 1);
}

QTEST_MAIN(TestContentBubbles)
#include "tst_contentbubbles.moc"
