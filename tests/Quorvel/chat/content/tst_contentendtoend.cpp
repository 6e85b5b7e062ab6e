// Two people exchange content through the local service: the main window with
// a real core in this process, and a line-driven core in another process, as
// a second client. The window attaches a picture, a GIF and a file and picks an
// emoji; the peer receives them and the file host gives back the same bytes.
// The peer uploads a picture, a GIF, a file and a voice clip and sends them with a
// sticker and a location; the window's board shows each in its content
// widget and the downloads end with the same bytes on this machine. The
// window's user opens a channel the peer follows, posts a poll there, and
// both vote and see the same results.
#include "chat/chatmessagewidget.h"
#include "chat/chatwidget.h"
#include "chat/chatwindow.h"
#include "chat/content/emojibutton.h"
#include "chat/content/emojibuttonspanel.h"
#include "chat/content/emojiwidget.h"
#include "chat/content/otherfilewidget.h"
#include "chat/content/pttwidget.h"
#include "chat/content/thumbnail.h"
#include "chat/customtextedit.h"
#include "chatserver.h"
#include "corematches.h"
#include "gifwriter.h"
#include "model/channelinfo.h"
#include "model/message.h"
#include "screens/poll/chartwidget.h"
#include "screens/poll/createpollwidget.h"
#include "screens/poll/pollchoicewidget.h"
#include "screens/poll/polloptionwidget.h"
#include "screens/poll/pollresultwidget.h"
#include "screens/poll/pollwidget.h"
#include "shell/channeltab.h"
#include "shell/messengermainwindow.h"
#include "shell/sidepanel.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/label.h"
#include "widgets/progresscircle.h"
#include "widgets/radiobutton.h"
#include "windowpeerstack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMovie>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtTest>

#include <functional>
#include <memory>

using namespace corematch;

namespace {
const QString kPhoneA = QStringLiteral("491700000041");
const QString kPhoneB = QStringLiteral("491700000042");
const QString kChannel = QStringLiteral("content-e2e");
const int kCmdChannelJoin = 22;

void click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A photo-like picture: smooth colours, so that its size is that of a
// real picture and its thumbnail differs from it.
QByteArray picture(int width, int height, const char* format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) & 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The message in a pair answer of the peer whose fields contain all of these.
CoreProcess::Match pairWith(const QJsonObject& fields)
{
    return [fields](const QJsonObject& line) {
        if (line.value("command").toInt() != kCmdMessagePairAdded)
            return false;
        const QJsonObject message = pairMessage(line);
        for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
            if (message.value(it.key()) != it.value())
                return false;
        }
        return true;
    };
}

} // namespace

class TestContentEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void bothSignUpAndFindEachOther();
    void windowSendsPicturesFileAndEmoji();
    void peersContentShowsAndDownloads();
    void channelPollIsVotedOnFromBothSides();

private:
    QString failure(const QString& what) const { return stack->failure(what); }
    ChatWindow* chatWindow() const { return stack->chatWindow(); }
    // The first bubble on the board whose message passes the test.
    ChatMessageWidget* bubble(const std::function<bool(const Message&)>& test) const;
    ChatMessageWidget* fileBubble(const QString& fileName) const;
    // The bytes at an address of the file host, read as any client reads them.
    QByteArray download(const QString& url);
    // Uploads a file from the peer; the upload's answer (id, address,
    // thumbnail address), or an empty object when it failed.
    QJsonObject peerUpload(const QString& path);
    void peerSends(const QJsonObject& message);
    // Uploads a file from the peer and sends it as a file message of that
    // type with these further fields; false when the upload failed.
    bool peerSendsFile(const QString& path, const QString& type, const QJsonObject& more);

    std::unique_ptr<WindowPeerStack> stack;
    CoreProcess* peer = nullptr;
    QNetworkAccessManager network;
};

void TestContentEndToEnd::initTestCase()
{
    if (!ChatServer::isAvailable())
        QSKIP("prosody is not installed");
    stack = std::make_unique<WindowPeerStack>(kPhoneA, kPhoneB);
    QVERIFY2(stack->start(), qPrintable(failure("the stack did not start")));
    peer = stack->peer();
}

void TestContentEndToEnd::cleanupTestCase()
{
    EmojiWidget::deleteInstance();
    stack.reset();
}

void TestContentEndToEnd::bothSignUpAndFindEachOther()
{
    QVERIFY2(stack->loadAndBefriend(), qPrintable(failure("the two users did not meet")));
    Contact b;
    b.setNumber(kPhoneB);
    stack->window()->startMessaging(b);
    QTRY_VERIFY(chatWindow() != nullptr);
    QCOMPARE(chatWindow()->getChatId(), kPhoneB);
}

ChatMessageWidget*
TestContentEndToEnd::bubble(const std::function<bool(const Message&)>& test) const
{
    ChatWindow* w = chatWindow();
    if (!w)
        return nullptr;
    for (const QString& id : w->boardMessageIds()) {
        ChatMessageWidget* b = w->bubble(id);
        if (b && test(b->getMessage()))
            return b;
    }
    return nullptr;
}

ChatMessageWidget* TestContentEndToEnd::fileBubble(const QString& fileName) const
{
    return bubble([fileName](const Message& m) {
        return m.getMinorType() == MessageBase::MsgMinorType_File &&
               m.getFileMessage().getFileName() == fileName;
    });
}

QByteArray TestContentEndToEnd::download(const QString& url)
{
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(url)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished() && !finished.wait(30000)) {
        reply->deleteLater();
        return QByteArray();
    }
    const QByteArray bytes = reply->error() == QNetworkReply::NoError ? reply->readAll() : "";
    reply->deleteLater();
    return bytes;
}

QJsonObject TestContentEndToEnd::peerUpload(const QString& path)
{
    const int from = peer->lineCount();
    peer->sendLine(QJsonObject{{"upload", QJsonObject{{"path", path}, {"mode", 0}}}});
    const int done = peer->waitFor(
        [path](const QJsonObject& line) {
            const QString event = line.value("event").toString();
            return (event == "uploadDone" || event == "uploadFailed") &&
                   line.value("value").toObject().value("filePath").toString() == path;
        },
        60000, from);
    if (done < 0 || peer->lines().at(done).value("event").toString() != "uploadDone")
        return QJsonObject();
    return peer->lines().at(done).value("value").toObject();
}

void TestContentEndToEnd::peerSends(const QJsonObject& fields)
{
    QJsonObject message = fields;
    message.insert("MAJOR_TYPE", "SIMPLE_CHAT");
    message.insert("FROM", kPhoneA);
    if (!message.contains("MESSAGE_BODY"))
        message.insert("MESSAGE_BODY", "");
    peer->send(kCmdSendMessage, message);
}

bool TestContentEndToEnd::peerSendsFile(const QString& path, const QString& type,
                                        const QJsonObject& more)
{
    const QJsonObject upload = peerUpload(path);
    if (upload.isEmpty())
        return false;
    QJsonObject message{{"MINOR_TYPE", "FILE"},
                        {"FILE_TYPE", type},
                        {"FILE_ID", upload.value("fileId")},
                        {"FILE_NAME", QFileInfo(path).fileName()},
                        {"FILE_SIZE", double(QFileInfo(path).size())},
                        {"FILE_URL", upload.value("fileUrl")},
                        {"FILE_THUMBNAIL_URL", upload.value("thumbnailUrl")}};
    for (auto it = more.constBegin(); it != more.constEnd(); ++it)
        message.insert(it.key(), it.value());
    peerSends(message);
    return true;
}

void TestContentEndToEnd::windowSendsPicturesFileAndEmoji()
{
    const QString folder = stack->folder() + QStringLiteral("/A-files");
    QVERIFY(QDir().mkpath(folder));
    const QString photo = folder + QStringLiteral("/harbour.jpg");
    const QString wave = folder + QStringLiteral("/wave.gif");
    const QString notes = folder + QStringLiteral("/notes.bin");
    QVERIFY(writeFile(photo, picture(1200, 800, "JPEG")));
    QVERIFY(writeFile(wave, GifWriter::animated(QSize(120, 90), {3, 40, 90})));
    QVERIFY(writeFile(notes, randomBytes(300 * 1024)));

    // What the file dialog hands over: one upload bubble each.
    const int from = peer->lineCount();
    chatWindow()->attachFiles({photo, wave, notes});
    QTRY_VERIFY(fileBubble("harbour.jpg") && fileBubble("wave.gif") && fileBubble("notes.bin"));
    QVERIFY(fileBubble("harbour.jpg")->thumbnailWidget());
    QVERIFY(fileBubble("wave.gif")->thumbnailWidget());
    QVERIFY(fileBubble("notes.bin")->otherFileWidget());

    const int gotPhoto = peer->waitFor(
        pairWith({{"MINOR_TYPE", "FILE"}, {"FILE_NAME", "harbour.jpg"}}), 120000, from);
    QVERIFY2(gotPhoto >= 0, qPrintable(failure("the peer did not receive the picture")));
    const int gotWave =
        peer->waitFor(pairWith({{"MINOR_TYPE", "FILE"}, {"FILE_NAME", "wave.gif"}}), 120000, from);
    QVERIFY2(gotWave >= 0, qPrintable(failure("the peer did not receive the GIF")));
    const int gotNotes =
        peer->waitFor(pairWith({{"MINOR_TYPE", "FILE"}, {"FILE_NAME", "notes.bin"}}), 120000, from);
    QVERIFY2(gotNotes >= 0, qPrintable(failure("the peer did not receive the file")));

    const QJsonObject photoMessage = pairMessage(peer->lines().at(gotPhoto));
    QCOMPARE(photoMessage.value("FILE_TYPE").toString(), QString("FILE_TYPE_IMAGE"));
    QCOMPARE(photoMessage.value("USER_ID").toString(), kPhoneA);
    QVERIFY2(photoMessage.value("FILE_SIZE").toVariant().toLongLong() == QFileInfo(photo).size(),
             QJsonDocument(photoMessage).toJson().constData());
    QCOMPARE(download(photoMessage.value("FILE_URL").toString()), fileBytes(photo));
    const QImage preview =
        QImage::fromData(download(photoMessage.value("FILE_THUMBNAIL_URL").toString()));
    QVERIFY(!preview.isNull());
    QVERIFY(preview.width() <= 256 && preview.height() <= 256);

    // A GIF goes as a GIF, with its size and a still preview of its own.
    const QJsonObject waveMessage = pairMessage(peer->lines().at(gotWave));
    QCOMPARE(waveMessage.value("FILE_TYPE").toString(), QString("FILE_TYPE_GIF"));
    QCOMPARE(waveMessage.value("FILE_IMAGE_WIDTH").toVariant().toInt(), 120);
    QCOMPARE(waveMessage.value("FILE_IMAGE_HEIGHT").toVariant().toInt(), 90);
    QCOMPARE(download(waveMessage.value("FILE_URL").toString()), fileBytes(wave));
    QVERIFY(
        !QImage::fromData(download(waveMessage.value("FILE_THUMBNAIL_URL").toString())).isNull());

    const QJsonObject notesMessage = pairMessage(peer->lines().at(gotNotes));
    QCOMPARE(notesMessage.value("FILE_TYPE").toString(), QString("FILE_TYPE_OTHER"));
    QCOMPARE(download(notesMessage.value("FILE_URL").toString()), fileBytes(notes));

    // The sender's own bubbles end their uploads as complete.
    QTRY_COMPARE_WITH_TIMEOUT(fileBubble("notes.bin")->otherFileWidget()->progressCircle()->value(),
                              100, 20000);

    // An emoji picked in the picker goes out in the text.
    const int beforeEmoji = peer->lineCount();
    WindowPeerStack::typeText(chatWindow()->input(), QStringLiteral("sunny "));
    EmojiWidget* picker = EmojiWidget::getInstance();
    FlatButton* emojiButton = chatWindow()->findChild<FlatButton*>("ChatWindowEmojiBtn");
    QVERIFY(emojiButton);
    click(emojiButton);
    QTRY_VERIFY(picker->isVisible());
    EmojiButton* first = picker->categoryPages().first()->buttonAt(1, 0);
    QVERIFY(first);
    click(first);
    QTest::keyClick(chatWindow()->input(), Qt::Key_Return);
    const QString emojiCode = first->filePath().section('/', -1).section('.', 0, 0);
    QVector<uint> points;
    for (const QString& part : emojiCode.split('-'))
        points << part.toUInt(nullptr, 16);
    const QString emojiText = QString::fromUcs4(points.constData(), points.size());
    const int gotEmoji =
        peer->waitFor(pairWithBody(QStringLiteral("sunny ") + emojiText), 120000, beforeEmoji);
    QVERIFY2(gotEmoji >= 0, qPrintable(failure("the peer did not receive the emoji")));
    QVERIFY(!picker->isVisible());
}

void TestContentEndToEnd::peersContentShowsAndDownloads()
{
    const QString folder = stack->folder() + QStringLiteral("/B-files");
    QVERIFY(QDir().mkpath(folder));
    const QString photo = folder + QStringLiteral("/meadow.png");
    const QString spin = folder + QStringLiteral("/spin.gif");
    const QString report = folder + QStringLiteral("/report.pdf");
    const QString clip = folder + QStringLiteral("/voice.ogg");
    QVERIFY(writeFile(photo, picture(900, 600, "PNG")));
    QVERIFY(writeFile(spin, GifWriter::animated(QSize(100, 100), {10, 60, 110})));
    QVERIFY(writeFile(report, randomBytes(200 * 1024)));
    QVERIFY(writeFile(clip, randomBytes(40 * 1024)));

    QVERIFY2(peerSendsFile(photo, "FILE_TYPE_IMAGE",
                           {{"FILE_IMAGE_WIDTH", 900}, {"FILE_IMAGE_HEIGHT", 600}}),
             qPrintable(failure("the peer's picture upload failed")));
    QVERIFY2(peerSendsFile(spin, "FILE_TYPE_GIF",
                           {{"FILE_IMAGE_WIDTH", 100}, {"FILE_IMAGE_HEIGHT", 100}}),
             qPrintable(failure("the peer's GIF upload failed")));
    QVERIFY2(peerSendsFile(report, "FILE_TYPE_OTHER", {}),
             qPrintable(failure("the peer's file upload failed")));
    QVERIFY2(
        peerSendsFile(clip, "FILE_TYPE_PUSH_TO_TALK", {{"FILE_TYPE_PUSH_TO_TALK_DURATION", 14}}),
        qPrintable(failure("the peer's voice upload failed")));
    peerSends({{"MINOR_TYPE", "STICKER"},
               {"STICKER_PACKAGE_ID", "shapes"},
               {"STICKER_ID", "star"},
               {"STICKER_VERSION", "1"}});
    peerSends({{"MINOR_TYPE", "LOCATION"},
               {"LOCATION_LATITUDE", "35.689198"},
               {"LOCATION_LONGITUDE", "51.388973"}});

    // The picture downloads by itself (the default settings) and shows in full.
    QTRY_VERIFY_WITH_TIMEOUT(fileBubble("meadow.png"), 120000);
    Thumbnail* thumbnail = fileBubble("meadow.png")->thumbnailWidget();
    QVERIFY(thumbnail);
    QCOMPARE(fileBubble("meadow.png")->getSide(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(thumbnail->hasFullImage(), 60000);
    QCOMPARE(fileBytes(thumbnail->getFileMessage().getFilePath()), fileBytes(photo));

    // The GIF downloads by itself too and plays.
    QTRY_VERIFY_WITH_TIMEOUT(fileBubble("spin.gif"), 60000);
    Thumbnail* gif = fileBubble("spin.gif")->thumbnailWidget();
    QVERIFY(gif);
    QTRY_VERIFY_WITH_TIMEOUT(gif->movie() && gif->movie()->state() == QMovie::Running, 60000);
    QCOMPARE(fileBytes(gif->getFileMessage().getFilePath()), fileBytes(spin));

    // A file downloads on a click.
    QTRY_VERIFY_WITH_TIMEOUT(fileBubble("report.pdf"), 60000);
    OtherFileWidget* file = fileBubble("report.pdf")->otherFileWidget();
    QVERIFY(file);
    QCOMPARE(file->progressCircle()->value(), 0);
    QSignalSpy fileStored(file, &OtherFileWidget::setFilePath);
    click(file->progressCircle());
    QVERIFY(fileStored.wait(60000));
    QCOMPARE(file->progressCircle()->value(), 100);
    QCOMPARE(fileBytes(file->getFileMessage().getFilePath()), fileBytes(report));

    // A voice clip downloads on a click, then is ready to play.
    QTRY_VERIFY_WITH_TIMEOUT(fileBubble("voice.ogg"), 60000);
    PTTWidget* voice = fileBubble("voice.ogg")->pttWidget();
    QVERIFY(voice);
    QCOMPARE(voice->durationLabel()->text(), QString("00:14"));
    click(voice->progressCircle());
    QTRY_COMPARE_WITH_TIMEOUT(voice->progressCircle()->value(), 100, 60000);
    QCOMPARE(fileBytes(voice->clipPath()), fileBytes(clip));

    // The sticker shows its picture from the sticker service.
    QTRY_VERIFY_WITH_TIMEOUT(bubble([](const Message& m) {
                                 return m.getMinorType() == MessageBase::MsgMinorType_Sticker;
                             }),
                             60000);
    Thumbnail* sticker = bubble([](const Message& m) {
                             return m.getMinorType() == MessageBase::MsgMinorType_Sticker;
                         })->thumbnailWidget();
    QVERIFY(sticker);
    QCOMPARE(sticker->getKind(), int(Thumbnail::StickerKind));
    QTRY_VERIFY_WITH_TIMEOUT(
        sticker->imageLabel()->pixmap() && !sticker->imageLabel()->pixmap()->isNull(), 60000);

    // The location shows its place.
    QTRY_VERIFY_WITH_TIMEOUT(bubble([](const Message& m) {
                                 return m.getMinorType() == MessageBase::MsgMinorType_Location;
                             }),
                             60000);
    OtherFileWidget* place = bubble([](const Message& m) {
                                 return m.getMinorType() == MessageBase::MsgMinorType_Location;
                             })->otherFileWidget();
    QVERIFY(place);
    QCOMPARE(place->sizeLabel()->text(), QString(" 35.68920, 51.38897"));

    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    stack->window()->grab().save(dir + QStringLiteral("/content-endtoend.png"));
}

void TestContentEndToEnd::channelPollIsVotedOnFromBothSides()
{
    MessengerMainWindow* window = stack->window();
    ChannelInfo channel;
    channel.setId(kChannel);
    channel.setName(QStringLiteral("Harbour news"));
    channel.setDescription(QStringLiteral("Polls about the harbour"));
    channel.setReplyAllowed(QStringLiteral("0"));
    emit window->command(CMD_ChannelCreate, QVariant::fromValue(channel));
    ChannelTab* tab = window->getSidePanel()->getChannelTab();
    QTRY_VERIFY_WITH_TIMEOUT(tab->row(kChannel), 30000);
    int from = peer->lineCount();
    peer->send(kCmdChannelJoin, kChannel);
    QVERIFY2(peer->waitFor(
                 [](const QJsonObject& line) {
                     return line.value("command").toInt() == kCmdChannelJoin ||
                            QJsonDocument(line).toJson().contains(kChannel.toUtf8());
                 },
                 30000, from) >= 0,
             qPrintable(failure("the peer did not join the channel")));

    // The owner posts a poll from the channel's window.
    click(tab->row(kChannel));
    QTRY_COMPARE(chatWindow()->getChatId(), kChannel);
    QTRY_VERIFY(chatWindow()->pollButton()->isVisible());
    click(chatWindow()->pollButton());
    CreatePollWidget* composer = CreatePollWidget::getInstance();
    QTRY_VERIFY(composer->isVisible());
    QTest::keyClicks(composer->questionEditor(), QStringLiteral("Which pier first?"));
    click(composer->addChoiceButton());
    QTRY_COMPARE(composer->choices().size(), 2);
    QTest::keyClicks(composer->choices().at(0)->editor(), QStringLiteral("North"));
    QTest::keyClicks(composer->choices().at(1)->editor(), QStringLiteral("South"));
    if (!composer->viewResultsBox()->isChecked())
        click(composer->viewResultsBox()->imageLabel());
    from = peer->lineCount();
    click(composer->postButton());
    QTRY_VERIFY(!composer->isVisible());

    // Both sides get the poll.
    auto pollBubble = [this] {
        return bubble(
            [](const Message& m) { return m.getMinorType() == MessageBase::MsgMinorType_Poll; });
    };
    QTRY_VERIFY2_WITH_TIMEOUT(pollBubble() && pollBubble()->pollContent(),
                              qPrintable(failure("the poll did not reach the window")), 60000);
    PollWidget* poll = pollBubble()->pollContent();
    const QString pollId = poll->getPollData().getPollId();
    QVERIFY(!pollId.isEmpty());
    QCOMPARE(poll->optionRows().size(), 2);
    const int peerGot = peer->waitFor(
        [pollId](const QJsonObject& line) {
            return QJsonDocument(line).toJson(QJsonDocument::Compact).contains(pollId.toUtf8()) &&
                   line.contains("command");
        },
        60000, from);
    QVERIFY2(peerGot >= 0, qPrintable(failure("the poll did not reach the peer")));

    // The peer votes for the second choice, the window's user for the first.
    from = peer->lineCount();
    peer->sendLine(QJsonObject{{"pollVote", QJsonObject{{"pollId", pollId}, {"answer", "2"}}}});
    QVERIFY2(peer->waitFor(eventWith("pollVoted", "pollId", pollId), 30000, from) >= 0,
             qPrintable(failure("the peer's vote was not taken")));
    PollOptionWidget* north = poll->optionRows().at(0);
    click(north->radioButton()->imageLabel());
    click(poll->voteButton());
    QTRY_VERIFY_WITH_TIMEOUT(poll->isLocked(), 30000);
    QVERIFY(!poll->voteButton()->isEnabled());

    // Both see one vote for each choice.
    click(poll->resultsButton());
    QTRY_VERIFY_WITH_TIMEOUT(poll->lastResultWidget(), 30000);
    QtCharts::QChart* chart = poll->lastResultWidget()->chart()->chartView()->chart();
    QVERIFY(!chart->series().isEmpty());
    auto* series = qobject_cast<QtCharts::QAbstractBarSeries*>(chart->series().first());
    QVERIFY(series);
    QCOMPARE(series->barSets().size(), 2);
    double total = 0;
    for (QtCharts::QBarSet* set : series->barSets()) {
        QCOMPARE(set->at(0), 1.0);
        total += set->at(0);
    }
    QCOMPARE(total, 2.0);
    // The chart animates its bars and axes in: the picture after it settles.
    QTest::qWait(1500);
    const QString dir = QStringLiteral(QUORVEL_BINARY_DIR "/screenshots");
    poll->lastResultWidget()->grab().save(dir + QStringLiteral("/content-endtoend-poll.png"));

    from = peer->lineCount();
    peer->sendLine(QJsonObject{{"pollResults", pollId}});
    const int tally = peer->waitFor(eventWith("pollResults", "pollId", pollId), 30000, from);
    QVERIFY2(tally >= 0, qPrintable(failure("the peer got no results")));
    const QJsonObject result = peer->lines().at(tally).value("value").toObject();
    QCOMPARE(result.value("TotalVotes").toVariant().toInt(), 2);
}

QTEST_MAIN(TestContentEndToEnd)
#include "tst_contentendtoend.moc"
