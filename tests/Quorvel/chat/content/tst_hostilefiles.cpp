// A peer's hostile file messages in an open chat: names that climb out of
// folders, absurd sizes and durations, addresses that are no addresses or
// point elsewhere, and a server that names its file "../..". The user clicks
// download on every one while a few hundred messages arrive. Nothing may
// crash, nothing may be written outside the download folders, and the board
// ends with every message. scripts/sanitize.sh runs this test built with
// AddressSanitizer and UndefinedBehaviorSanitizer.

#include "chat/chatmessagewidget.h"
#include "chat/chatwindow.h"
#include "chat/content/otherfilewidget.h"
#include "chat/content/pttwidget.h"
#include "chat/content/thumbnail.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "foundation/desktopopener.h"
#include "model/globalconstants.h"
#include "testcertificates.h"

#include "webapi/FileApi/downloader.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/staticfile.h"
#include "widgets/currentuser.h"
#include "widgets/customscrollarea.h"
#include "widgets/progresscircle.h"
#include <QPointer>

#include <QDirIterator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <limits>

namespace {

const QString peer = QStringLiteral("989120000002");

struct Hostile
{
    FileMessage::MsgFileType type;
    QString name;
    qint64 size;
    QString url;
    QString id;
    QSize imageSize;
    int duration;
};

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void downloadsWhileMessagesPourIn();

private:
    QList<Hostile> hostileFiles() const;
    Message fileMessage(int index, const Hostile& file) const;
    static QStringList filesUnder(const QString& root);

    FakeWebService service;
    FakeFileHost* host = nullptr;
    QList<QUrl> opened;
};

void TestHostileFiles::initTestCase()
{
    qRegisterMetaType<FileMessage>();
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    host = new FakeFileHost(&service);
    qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
    GlobalConstants::setUserName("me");
    GlobalConstants::setToken("token-1");
    GlobalConstants::setHashMethod("SHA256");
    currentUserName = QStringLiteral("me");
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadImages(false);
    settings.setAutoDownloadVideos(false);
    settings.setAutoDownloadFiles(false);
    GlobalConstants::setMainSettings(settings);
    // Refused and unreachable addresses are given up after the retries,
    // quickly here.
    Downloader::setRetryInterval(20);
    DownloadManager::setNetworkRetryInterval(50);
    DesktopOpener::setHandler([this](const QUrl& url) {
        opened << url;
        return true;
    });

    host->addFile("plain", QByteArray(3000, 'p'));
    host->addFile("climbing", QByteArray("escaped"),
                  "attachment; filename=\"../../../../../../tmp/quorvel-climbed\"");
    host->addFile("absolute", QByteArray("escaped"), "attachment; filename=\"/tmp/quorvel-abs\"");
    host->addFile("notapicture", QByteArray(500, '\xff'));
    host->addGeneratedFile("larger", 3 * 1024 * 1024);
    host->addErrorFile("refused", 500, "no");
    host->addErrorFile("missing", 404, "no");
}

QList<Hostile> TestHostileFiles::hostileFiles() const
{
    const qint64 huge = std::numeric_limits<qint64>::max();
    const qint64 least = std::numeric_limits<qint64>::min();
    const QString longName = QString(5000, QLatin1Char('a')) + QStringLiteral(".exe");
    const QString controls = QStringLiteral("in\nvoice\t\u202e\u0000fdp.exe");
    const QSize absurd(std::numeric_limits<int>::max(), -5);
    using T = FileMessage;
    return {
        {T::MsgFileType_Other,
         "../../../../../../tmp/quorvel-name",
         3000,
         host->fileUrl("plain"),
         "../../../tmp/quorvel-id",
         {},
         0},
        {T::MsgFileType_Other,
         "..\\..\\..\\windows\\evil.exe",
         huge,
         host->fileUrl("plain"),
         "plain",
         {},
         0},
        {T::MsgFileType_Other, "/etc/passwd", least, host->fileUrl("climbing"), "climbing", {}, 0},
        {T::MsgFileType_Other, "..", -1, host->fileUrl("absolute"), "", {}, 0},
        {T::MsgFileType_Other, ".", 0, host->fileUrl("larger"), "larger", {}, 0},
        {T::MsgFileType_Other, "", 1, host->fileUrl("refused"), "refused", {}, 0},
        {T::MsgFileType_Other, longName, huge / 2, host->fileUrl("missing"), "missing", {}, 0},
        {T::MsgFileType_Other, controls, 10, "file:///etc/passwd", "", {}, 0},
        {T::MsgFileType_Other, "a.bin", 10, "not an address at all", "x", {}, 0},
        {T::MsgFileType_Other, "b.bin", 10, "https://127.0.0.1:1/closed", "closed", {}, 0},
        {T::MsgFileType_Other, "c.bin", 10, "https://[::1", "", {}, 0},
        {T::MsgFileType_Other, "d.bin", 10, "javascript:alert(1)", "", {}, 0},
        {T::MsgFileType_Other, "e.bin", 10, "", "", {}, 0},
        {T::MsgFileType_Other,
         "f.bin",
         10,
         host->baseUrl() + "files/../../../etc/passwd",
         "..",
         {},
         0},
        {T::MsgFileType_Image, "../p.png", huge, host->fileUrl("notapicture"), "notapicture",
         absurd, 0},
        {T::MsgFileType_Image, "q.png", -7, "ftp://127.0.0.1/q.png", "", QSize(-1, -1), 0},
        {T::MsgFileType_Video, "../v.mp4", least, host->fileUrl("larger"), "larger", absurd,
         std::numeric_limits<int>::min()},
        {T::MsgFileType_Video, "w.mp4", 5, host->fileUrl("missing"), "missing", QSize(0, 0),
         std::numeric_limits<int>::max()},
        {T::MsgFileType_Gif, "../../g.gif", huge, host->fileUrl("notapicture"), "notapicture",
         absurd, 0},
        {T::MsgFileType_PushToTalk,
         "../../t.ogg",
         huge,
         host->fileUrl("plain"),
         "plain",
         {},
         std::numeric_limits<int>::max()},
        {T::MsgFileType_PushToTalk,
         "u.ogg",
         -1,
         "https://127.0.0.1:1/u",
         "",
         {},
         std::numeric_limits<int>::min()},
    };
}

Message TestHostileFiles::fileMessage(int index, const Hostile& file) const
{
    Message m(MessageBase::MsgMajorType_SimpleChat, peer, peer, QStringLiteral(" "));
    m.setMessageId(QStringLiteral("file-%1").arg(index));
    m.setMinorType(MessageBase::MsgMinorType_File);
    m.setSendTimeToCurrentTime();
    FileMessage content;
    content.setFileType(file.type);
    content.setFileName(file.name);
    content.setFileSize(file.size);
    content.setFileUrl(file.url);
    content.setFileThumbnailUrl(file.url);
    content.setFileId(file.id);
    content.setImageSize(file.imageSize);
    content.setFileTypeVideoDuration(file.duration);
    content.setPushToTalkDuration(file.duration);
    m.setFileMessage(content);
    return m;
}

QStringList TestHostileFiles::filesUnder(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

void TestHostileFiles::downloadsWhileMessagesPourIn()
{
    // Where a name that climbs out of the download folder would land.
    const QStringList climbed{"/tmp/quorvel-climbed", "/tmp/quorvel-abs", "/tmp/quorvel-name",
                              "/tmp/quorvel-id", "/etc/passwd.bin"};
    QStringList climbedBefore;
    for (const QString& path : climbed) {
        if (QFileInfo::exists(path))
            climbedBefore << path;
    }
    const QStringList homeBefore = filesUnder(QDir::homePath());

    QWidget window;
    window.resize(520, 400);
    auto* chat = new ChatWindow;
    chat->setParent(&window);
    chat->setChatId(peer);
    chat->setChatType(MessageBase::MsgMajorType_SimpleChat);
    chat->setGeometry(window.rect());
    window.show();
    chat->showChatWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QList<Hostile> files = hostileFiles();
    for (int i = 0; i < files.size(); ++i)
        QVERIFY(chat->appendMessage(fileMessage(i, files.at(i))));
    // The user reads the files from the first while the messages come in
    // below them (the board keeps the bubbles near the view): the view is
    // away from the newest message, so it does not follow them.
    QScrollBar* bar = chat->scrollArea()->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(0);

    // A few hundred messages arrive, a handful at a time, while the
    // downloads run.
    const int arriving = 350;
    int sent = 0;
    QTimer pour;
    pour.setInterval(5);
    connect(&pour, &QTimer::timeout, this, [&] {
        for (int k = 0; k < 7 && sent < arriving; ++k, ++sent) {
            // The peer's: one of the user's own would bring the view to it.
            Message m(MessageBase::MsgMajorType_SimpleChat, peer, peer,
                      QStringLiteral("message %1 \u0633\u0644\u0627\u0645").arg(sent));
            m.setMessageId(QStringLiteral("text-%1").arg(sent));
            m.setSendTimeToCurrentTime();
            chat->appendMessage(m);
        }
        if (sent == arriving)
            pour.stop();
    });
    pour.start();

    // Each file's button, and what the user clicks to download: the button,
    // or the whole picture of a picture.
    QList<QPointer<ProgressCircle>> buttons;
    QList<QPointer<QWidget>> targets;
    for (int i = 0; i < files.size(); ++i) {
        ChatMessageWidget* bubble = chat->bubble(QStringLiteral("file-%1").arg(i));
        QVERIFY2(bubble, qPrintable(QString::number(i)));
        if (OtherFileWidget* other = bubble->otherFileWidget()) {
            buttons << other->progressCircle();
            targets << other->progressCircle();
        } else if (Thumbnail* thumbnail = bubble->thumbnailWidget()) {
            buttons << thumbnail->progressCircle();
            targets << thumbnail;
        } else if (auto* voice = bubble->findChild<PTTWidget*>()) {
            buttons << voice->progressCircle();
            targets << voice->progressCircle();
        } else {
            QFAIL(qPrintable(QStringLiteral("no download button on file %1").arg(i)));
        }
    }
    for (int i = 0; i < targets.size(); ++i) {
        QWidget* target = targets.at(i);
        QVERIFY2(target, qPrintable(QStringLiteral("file %1 left the board").arg(i)));
        // As the user does: the bubble scrolled into view, then clicked.
        chat->scrollArea()->ensureWidgetVisible(target);
        const int soFar = sent;
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->rect().center());
        // The next handful arrives before the next click.
        QTRY_VERIFY_WITH_TIMEOUT(sent > soFar || sent == arriving, 20000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(sent, arriving, 60000);

    // Every transfer ends: done, failed or refused; none hangs half-way.
    const auto unfinished = [&buttons] {
        QStringList list;
        for (int i = 0; i < buttons.size(); ++i) {
            if (!buttons.at(i))
                list << QStringLiteral("file %1 left the board").arg(i);
            else if (buttons.at(i)->value() != 0 && buttons.at(i)->value() != 100)
                list << QStringLiteral("file %1 at %2").arg(i).arg(buttons.at(i)->value());
        }
        return list.join(QStringLiteral(", "));
    };
    QTRY_VERIFY2_WITH_TIMEOUT(unfinished().isEmpty(), qPrintable(unfinished()), 60000);

    // The board still scrolls from end to end, and holds no more bubbles
    // than it keeps.
    bar->setValue(0);
    bar->setValue(bar->maximum());
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(chat->boardMessageIds().size() <= ChatWindow::boardLimit);

    // Nothing landed outside the program's folders.
    const QString downloads = StaticFile::getDownloadDir(StaticFile::Downloads).absolutePath();
    QStringList escaped;
    for (const QString& path : filesUnder(QDir::homePath())) {
        if (homeBefore.contains(path) || path.startsWith(downloads + QLatin1Char('/')) ||
            path.startsWith(QDir::homePath() + QStringLiteral("/.")))
            continue;
        escaped << path;
    }
    for (const QString& path : climbed) {
        if (!climbedBefore.contains(path) && QFileInfo::exists(path))
            escaped << path;
    }
    QVERIFY2(escaped.isEmpty(), qPrintable(escaped.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"
