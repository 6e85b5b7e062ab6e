// Message content widgets against the local service's file host over HTTPS on
// loopback: previews, downloads by click and by setting, completion only when
// the content is there, failures shown as failed, uploads with retry on the
// host of their own kind, opening through the desktop, stickers, locations
// and voice clips; and the values from peers they rely on.

#include "Managers/Sticker/stickermanager.h"
#include "chat/content/attachmentpicker.h"
#include "chat/content/imageloader.h"
#include "chat/content/otherfilewidget.h"
#include "chat/content/peervalues.h"
#include "chat/content/pttwidget.h"
#include "chat/content/thumbnail.h"
#include "chat/content/transferprogress.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "foundation/desktopopener.h"
#include "foundation/filesizetext.h"
#include "gifwriter.h"
#include "model/globalconstants.h"
#include "testcertificates.h"
#include "webapi/FileApi/downloader.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/staticfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "widgets/biditext.h"
#include "widgets/progresscircle.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageWriter>
#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolTip>
#include <QTranslator>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage halves(int width, int height, const QColor& first, const QColor& second)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(first);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixel(x, y, second.rgb());
    return image;
}

bool nearly(QRgb pixel, const QColor& colour)
{
    return qAbs(qRed(pixel) - colour.red()) < 60 && qAbs(qGreen(pixel) - colour.green()) < 60 &&
           qAbs(qBlue(pixel) - colour.blue()) < 60;
}

QByteArray tinyGif()
{
    return GifWriter::animated(QSize(24, 24), {3, 60, 100});
}

} // namespace

class TestContentWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void transferValue_data();
    void transferValue();
    void peerSizesAndDurations_data();
    void peerSizesAndDurations();
    void pictureDecodesUprightAtShownSize();

    void imageDownloadsOnClickAndOpensInViewer();
    void imageDownloadsBySetting_data();
    void imageDownloadsBySetting();
    void pictureAtItsPreviewAddressIsKeptOncePerBubble_data();
    void pictureAtItsPreviewAddressIsKeptOncePerBubble();
    void videoShowsDurationAndOpensWithDesktop();
    void gifPlaysAndIgnoresClicks();
    void transferStaysBelowCompleteUntilContentArrives();
    void failedDownloadShowsFailed_data();
    void failedDownloadShowsFailed();
    void emptyFileCompletes();
    void fileAlreadyDownloadedOpensAtOnce();
    void longFileNameIsElided();
    void fileNameToolTipReadsAsWritten_data();
    void fileNameToolTipReadsAsWritten();

    void uploadsSendTheirMessage_data();
    void uploadsSendTheirMessage();
    void failedUploadRetriesOnItsOwnHost_data();
    void failedUploadRetriesOnItsOwnHost();
    void picturesEachGetTheirOwnThumbnail();
    void unreadablePictureIsRefusedWithToast();

    void location_data();
    void location();
    void voiceDownloadsThenPlays();
    void stickerShowsItsOwnPicture();
    void unresolvedStickerSaysSo_data();
    void unresolvedStickerSaysSo();
    void allFilesFilterShowsFilesWithoutExtension();
    void screenshotOfEveryContentKind();

private:
    FileMessage imageMessage(const QString& name, const QSize& size, const QByteArray& content,
                             FileMessage::MsgFileType type = FileMessage::MsgFileType_Image);
    QString writeFile(const QString& name, const QByteArray& content);
    void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton);

    FakeWebService service;
    FakeFileHost* host = nullptr;
    QTemporaryDir dir;
    QList<QUrl> opened;
    int stickerRequests = 0;
};

void TestContentWidgets::initTestCase()
{
    qRegisterMetaType<FileMessage>();
    static QTranslator english;
    QVERIFY(english.load(":/Lng/quorvel_english.qm"));
    QCoreApplication::installTranslator(&english);
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    host = new FakeFileHost(&service);
    qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
    qputenv("QUORVEL_STICKER_BASE_URL", service.baseUrl().toUtf8());
    GlobalConstants::setUserName("989120000001");
    GlobalConstants::setToken("token-1");
    GlobalConstants::setHashMethod("SHA256");
    GlobalConstants::setLanguage("en");
    DesktopOpener::setHandler([this](const QUrl& url) {
        opened << url;
        return true;
    });
    service.setHandler("authentication/", [](const FakeRequest&) {
        return FakeReply::json({{"ResultCode", 200}, {"SessionKey", "key-1"}});
    });
    service.setHandler("stickers/download/", [this](const FakeRequest& request) {
        ++stickerRequests;
        const QJsonObject body = request.json();
        const QString name =
            body.value("PackageID").toString() + "-" + body.value("StickerID").toString() + ".png";
        // The package "withdrawn" is refused; "bare" is answered without an
        // address.
        if (body.value("PackageID").toString() == "withdrawn")
            return FakeReply::json({{"ResultCode", 404}});
        if (body.value("PackageID").toString() == "bare")
            return FakeReply::json({{"ResultCode", 200},
                                    {"StickerID", body.value("StickerID")},
                                    {"PackageStickerID", body.value("PackageID")},
                                    {"StickerVersion", body.value("StickerVersion")},
                                    {"Resolution", "mdpi"}});
        return FakeReply::json({{"ResultCode", 200},
                                {"StickerID", body.value("StickerID")},
                                {"PackageStickerID", body.value("PackageID")},
                                {"StickerVersion", body.value("StickerVersion")},
                                {"FromUsername", body.value("FromUsername")},
                                {"Resolution", "mdpi"},
                                {"StickerURL", QJsonObject{{"mdpi", host->fileUrl(name)}}}});
    });
}

void TestContentWidgets::init()
{
    opened.clear();
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadImages(false);
    settings.setAutoDownloadVideos(false);
    settings.setAutoDownloadFiles(false);
    GlobalConstants::setMainSettings(settings);
}

void TestContentWidgets::cleanup()
{
    UploadManager::deleteInstance();
}

QString TestContentWidgets::writeFile(const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

FileMessage TestContentWidgets::imageMessage(const QString& name, const QSize& size,
                                             const QByteArray& content,
                                             FileMessage::MsgFileType type)
{
    host->addFile(name, content);
    host->addFile(name + "-th", encoded(halves(64, 48, Qt::green, Qt::green), "PNG"));
    FileMessage message;
    message.setFileType(type);
    message.setFileId(name);
    message.setFileName(name);
    message.setFileUrl(host->fileUrl(name));
    message.setFileThumbnailUrl(host->fileUrl(name + "-th"));
    message.setFileHasThumbnail(true);
    message.setFileSize(content.size());
    message.setImageSize(size);
    return message;
}

void TestContentWidgets::click(QWidget* widget, Qt::MouseButton button)
{
    QTest::mouseClick(widget, button, Qt::NoModifier, widget->rect().center());
}

// ---- values --------------------------------------------------------------------

void TestContentWidgets::transferValue_data()
{
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("value");
    QTest::newRow("nothing of an empty file") << qint64(0) << qint64(0) << 1;
    QTest::newRow("unknown length") << qint64(5000) << qint64(-1) << 1;
    QTest::newRow("start") << qint64(0) << qint64(100) << 1;
    QTest::newRow("half") << qint64(50) << qint64(100) << 50;
    QTest::newRow("all bytes, content not yet there") << qint64(100) << qint64(100) << 99;
    QTest::newRow("more than announced") << qint64(150) << qint64(100) << 99;
    QTest::newRow("beyond 32 bits") << qint64(3000000000LL) << qint64(6000000000LL) << 50;
    QTest::newRow("negative count") << qint64(-7) << qint64(100) << 1;
}

void TestContentWidgets::transferValue()
{
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(int, value);
    QCOMPARE(TransferProgress::percent(done, total), value);
}

void TestContentWidgets::peerSizesAndDurations_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("clock");
    QTest::newRow("small picture is enlarged")
        << QSize(100, 50) << QSize(300, 150) << qint64(75000) << "01:15";
    QTest::newRow("tall picture") << QSize(1000, 3000) << QSize(200, 600) << qint64(65000)
                                  << "01:05";
    QTest::newRow("no size, no duration") << QSize(0, 0) << QSize(256, 256) << qint64(0) << "00:00";
    QTest::newRow("negative values are unknown")
        << QSize(-40, 300) << QSize(256, 256) << qint64(-5000) << "00:00";
    QTest::newRow("absurd side is unknown")
        << QSize(10, 2000000) << QSize(256, 256) << qint64(999999999999LL) << "1440:00";
    QTest::newRow("thin strip keeps a visible width")
        << QSize(1, 60000) << QSize(40, 600) << qint64(999) << "00:00";
}

void TestContentWidgets::peerSizesAndDurations()
{
    QFETCH(QSize, size);
    QFETCH(QSize, box);
    QFETCH(qint64, milliseconds);
    QFETCH(QString, clock);
    QCOMPARE(PeerValues::fitBox(size, Thumbnail::kPreviewBox, Thumbnail::kDefaultBox), box);
    QCOMPARE(PeerValues::clockText(PeerValues::secondsFromMs(milliseconds)), clock);

    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Video);
    message.setImageSize(size);
    message.setFileTypeVideoDuration(int(qBound<qint64>(INT_MIN, milliseconds, INT_MAX)));
    Thumbnail thumbnail(nullptr, false);
    thumbnail.setFileMessage(message);
    QCOMPARE(thumbnail.size(), box);
    if (qBound<qint64>(INT_MIN, milliseconds, INT_MAX) >= 1000)
        QVERIFY(thumbnail.statusText().startsWith(clock));
    else
        QCOMPARE(thumbnail.statusText(), QString());
}

void TestContentWidgets::pictureDecodesUprightAtShownSize()
{
    // Stored sideways (left half red, right half blue) with an EXIF note to
    // turn it a quarter clockwise: upright, red is on top.
    QByteArray jpeg = encoded(halves(4000, 3000, Qt::red, Qt::blue), "JPEG");
    // An EXIF block whose only entry is the orientation 6, right after SOI.
    const QByteArray exif = QByteArray("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0"
                                       "\x06\0\0\0\0\0\0\0",
                                       32);
    QByteArray segment("\xFF\xE1");
    segment.append(char(0));
    segment.append(char(exif.size() + 2));
    jpeg.insert(2, segment + exif);
    QBuffer check(&jpeg);
    check.open(QIODevice::ReadOnly);
    QCOMPARE(QImageReader(&check).transformation(), QImageIOHandler::TransformationRotate90);

    const QImage fromBytes = ImageLoader::decode(QString(), jpeg, Thumbnail::kPreviewBox);
    QCOMPARE(fromBytes.size(), QSize(300, 400));
    QVERIFY(nearly(fromBytes.pixel(150, 20), Qt::red));
    QVERIFY(nearly(fromBytes.pixel(150, 380), Qt::blue));

    const QString path = writeFile("sideways.jpg", jpeg);
    QFuture<QImage> future = ImageLoader::start(path, QByteArray(), QSize(150, 150), true);
    future.waitForFinished();
    QCOMPARE(future.result().size(), QSize(112, 150));
    QVERIFY(ImageLoader::decode(QString(), QByteArray("not a picture"), QSize(10, 10)).isNull());
}

// ---- pictures, video, GIF ------------------------------------------------------

void TestContentWidgets::imageDownloadsOnClickAndOpensInViewer()
{
    const QByteArray jpeg = encoded(halves(640, 480, Qt::red, Qt::blue), "JPEG");
    Thumbnail thumbnail(nullptr, false);
    QSignalSpy pathStored(&thumbnail, &Thumbnail::setFilePath);
    QSignalSpy viewer(&thumbnail, &Thumbnail::showOnViewer);
    QSignalSpy shown(&thumbnail, &Thumbnail::fullImageShown);
    thumbnail.setFileMessage(imageMessage("photo1", QSize(640, 480), jpeg));
    thumbnail.show();
    QCOMPARE(thumbnail.size(), QSize(300, 225));
    QCOMPARE(thumbnail.statusText(),
             FileSizeText::getFileSizeStringInTier(jpeg.size(), jpeg.size()) + " " +
                 FileSizeText::getFileSizeTierString(jpeg.size()));
    QTRY_VERIFY_WITH_TIMEOUT(
        thumbnail.imageLabel()->pixmap() && !thumbnail.imageLabel()->pixmap()->isNull(), 10000);
    QCOMPARE(thumbnail.progressCircle()->value(), 0);

    click(&thumbnail, Qt::RightButton);
    QCOMPARE(thumbnail.progressCircle()->value(), 0);
    click(&thumbnail);
    QVERIFY(shown.wait(10000) || shown.size() == 1);
    QVERIFY(thumbnail.hasFullImage());
    QCOMPARE(thumbnail.progressCircle()->value(), 100);
    QVERIFY(thumbnail.progressCircle()->isHidden());
    QCOMPARE(thumbnail.statusText(), QString());
    const QImage picture = thumbnail.imageLabel()->pixmap()->toImage();
    QCOMPARE(picture.size(), QSize(300, 225));
    QVERIFY(nearly(picture.pixel(20, 100), Qt::red));
    QVERIFY(nearly(picture.pixel(280, 100), Qt::blue));
    QCOMPARE(pathStored.size(), 1);
    const QString local = pathStored.first().first().value<FileMessage>().getFilePath();
    QFile file(local);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), jpeg);

    click(&thumbnail);
    QCOMPARE(viewer.size(), 1);
    QCOMPARE(viewer.first().first().toString(), local);
    QVERIFY(opened.isEmpty());
}

void TestContentWidgets::imageDownloadsBySetting_data()
{
    // A sender that makes no preview still has its picture or GIF shown:
    // without a preview, the full file is what there is to show.
    QTest::addColumn<bool>("gif");
    QTest::addColumn<bool>("preview");
    QTest::newRow("picture") << false << true;
    QTest::newRow("picture without preview") << false << false;
    QTest::newRow("GIF") << true << true;
    QTest::newRow("GIF without preview") << true << false;
}

void TestContentWidgets::imageDownloadsBySetting()
{
    QFETCH(bool, gif);
    QFETCH(bool, preview);
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadImages(true);
    GlobalConstants::setMainSettings(settings);
    Thumbnail thumbnail(nullptr, false);
    QSignalSpy shown(&thumbnail, &Thumbnail::fullImageShown);
    const QString name = QStringLiteral("auto-%1-%2").arg(gif).arg(preview);
    FileMessage message =
        gif ? imageMessage(name, QSize(), tinyGif(), FileMessage::MsgFileType_Gif)
            : imageMessage(name, QSize(), encoded(halves(50, 50, Qt::red, Qt::red), "PNG"));
    if (!preview) {
        message.setFileThumbnailUrl(QString());
        message.setFileHasThumbnail(false);
    }
    thumbnail.setFileMessage(message);
    QCOMPARE(thumbnail.size(), Thumbnail::kDefaultBox);
    if (gif)
        QTRY_VERIFY_WITH_TIMEOUT(thumbnail.movie() && thumbnail.movie()->state() == QMovie::Running,
                                 10000);
    else
        QVERIFY(shown.wait(10000));
    QCOMPARE(host->getCount(name), 1);
}

void TestContentWidgets::pictureAtItsPreviewAddressIsKeptOncePerBubble_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("picture") << int(FileMessage::MsgFileType_Image);
    QTest::newRow("GIF") << int(FileMessage::MsgFileType_Gif);
    QTest::newRow("video") << int(FileMessage::MsgFileType_Video);
}

void TestContentWidgets::pictureAtItsPreviewAddressIsKeptOncePerBubble()
{
    // A sender whose preview is the file itself: the same message shown in
    // three bubbles one after another, each downloading it by setting and
    // asked again while it does. Each bubble keeps one copy and completes
    // once; no bubble keeps another's download again.
    QFETCH(int, type);
    const auto fileType = FileMessage::MsgFileType(type);
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadImages(true);
    settings.setAutoDownloadVideos(true);
    GlobalConstants::setMainSettings(settings);
    const QByteArray content = fileType == FileMessage::MsgFileType_Gif
                                   ? tinyGif()
                                   : encoded(halves(40, 40, Qt::red, Qt::blue), "PNG");
    const QString name = QStringLiteral("same-address-%1").arg(type);
    FileMessage message = imageMessage(name, QSize(40, 40), content, fileType);
    message.setFileThumbnailUrl(message.getFileUrl());
    const QDir downloads = StaticFile::getDownloadDir(StaticFile::Downloads);
    const QStringList before = downloads.entryList(QDir::Files);

    QWidget holder;
    QList<Thumbnail*> bubbles;
    std::vector<std::unique_ptr<QSignalSpy>> stored;
    for (int i = 0; i < 3; ++i) {
        auto* thumbnail = new Thumbnail(&holder, false);
        bubbles << thumbnail;
        stored.emplace_back(new QSignalSpy(thumbnail, &Thumbnail::setFilePath));
        thumbnail->setFileMessage(message);
        thumbnail->startAutoDownload();
        QVERIFY(stored.back()->wait(10000));
        QTRY_COMPARE_WITH_TIMEOUT(thumbnail->progressCircle()->value(), 100, 10000);
    }
    QStringList kept = downloads.entryList(QDir::Files);
    for (const QString& old : before)
        kept.removeAll(old);
    QVERIFY2(kept.size() == 3, qPrintable(kept.join(QStringLiteral(", "))));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(stored.at(i)->size(), 1);
        const QString path = stored.at(i)->first().first().value<FileMessage>().getFilePath();
        QVERIFY2(kept.contains(QFileInfo(path).fileName()), qPrintable(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
        QCOMPARE(bubbles.at(i)->getFileMessage().getFilePath(), path);
    }
    // The file came once per bubble, and no preview besides.
    QCOMPARE(host->getCount(name), 3);
}

void TestContentWidgets::videoShowsDurationAndOpensWithDesktop()
{
    const QByteArray clip(3000, 'v');
    FileMessage message =
        imageMessage("clip1", QSize(320, 240), clip, FileMessage::MsgFileType_Video);
    message.setFileTypeVideoDuration(65000);
    Thumbnail thumbnail(nullptr, false);
    thumbnail.setFileMessage(message);
    thumbnail.show();
    QVERIFY(thumbnail.statusText().startsWith("01:05 , "));
    QCOMPARE(thumbnail.progressCircle()->getState(), 1);
    click(&thumbnail);
    QTRY_COMPARE_WITH_TIMEOUT(thumbnail.progressCircle()->value(), 100, 10000);
    QCOMPARE(thumbnail.statusText(), QString("01:05"));
    click(&thumbnail);
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first().isLocalFile());
    QFile file(opened.first().toLocalFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), clip);
}

void TestContentWidgets::gifPlaysAndIgnoresClicks()
{
    Thumbnail thumbnail(nullptr, false);
    QSignalSpy clicked(&thumbnail, &Thumbnail::clicked);
    thumbnail.setFileMessage(
        imageMessage("anim1", QSize(24, 24), tinyGif(), FileMessage::MsgFileType_Gif));
    thumbnail.show();
    QVERIFY(thumbnail.statusText().startsWith("GIF , "));
    click(&thumbnail);
    QCOMPARE(clicked.size(), 0);
    QCOMPARE(thumbnail.progressCircle()->value(), 0);
    thumbnail.progressCircleStartDownload();
    QTRY_VERIFY_WITH_TIMEOUT(thumbnail.movie() && thumbnail.movie()->state() == QMovie::Running,
                             10000);
    QCOMPARE(thumbnail.movie()->scaledSize(), thumbnail.size());
    QVERIFY(thumbnail.progressCircle()->isHidden());
}

void TestContentWidgets::transferStaysBelowCompleteUntilContentArrives()
{
    // Sent in pieces with pauses: every value shown while bytes move stays
    // within 1..99, and 100 comes only with the content itself.
    const qint64 size = 2 * 1024 * 1024;
    host->addGeneratedFile("slow", size, 150);
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileId("slow");
    message.setFileName("slow.bin");
    message.setFileUrl(host->fileUrl("slow"));
    message.setFileSize(size);
    OtherFileWidget widget(nullptr, false);
    widget.setFileMessage(message, false);
    widget.show();
    QList<QPair<int, bool>> seen;
    connect(widget.progressCircle(), &ProgressCircle::valueChanged, this, [&](int value) {
        seen << qMakePair(value, !widget.getFileMessage().getFilePath().isEmpty());
    });
    QSignalSpy pathStored(&widget, &OtherFileWidget::setFilePath);
    click(widget.progressCircle());
    QVERIFY(pathStored.wait(20000));
    QVERIFY(seen.size() >= 3);
    QCOMPARE(seen.last(), qMakePair(100, false));
    int middle = 0;
    for (int i = 0; i + 1 < seen.size(); ++i) {
        QVERIFY2(seen.at(i).first >= 1 && seen.at(i).first <= 99,
                 qPrintable(QString::number(seen.at(i).first)));
        if (seen.at(i).first > 1 && seen.at(i).first < 99)
            ++middle;
    }
    QVERIFY(middle > 0);
    QCOMPARE(QFileInfo(pathStored.first().first().value<FileMessage>().getFilePath()).size(), size);

    // A transfer the user stops is not a failure.
    host->addStalledFile("stalled", 400000, 200000);
    message.setFileId("stalled");
    message.setFileUrl(host->fileUrl("stalled"));
    message.setFileSize(400000);
    OtherFileWidget stopped(nullptr, false);
    stopped.setFileMessage(message, false);
    stopped.show();
    click(stopped.progressCircle());
    QVERIFY(stopped.progressCircle()->value() >= 1);
    QTRY_COMPARE_WITH_TIMEOUT(host->getCount("stalled"), 1, 10000);
    click(stopped.progressCircle());
    QCOMPARE(stopped.progressCircle()->value(), 0);
    QTest::qWait(200);
    QCOMPARE(stopped.sizeLabel()->text(), FileSizeText::getFileSizeString(400000));
}

void TestContentWidgets::failedDownloadShowsFailed_data()
{
    // An error answer, or a transfer the downloader stops by itself when it
    // stalls (the same stop as a user's cancel, but not asked for).
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("stalls");
    QTest::newRow("picture, error") << 0 << false;
    QTest::newRow("file, error") << 1 << false;
    QTest::newRow("voice, error") << 2 << false;
    QTest::newRow("picture, stalled") << 0 << true;
    QTest::newRow("file, stalled") << 1 << true;
    QTest::newRow("voice, stalled") << 2 << true;
}

void TestContentWidgets::failedDownloadShowsFailed()
{
    QFETCH(int, kind);
    QFETCH(bool, stalls);
    const QString name = QString("gone-%1-%2").arg(kind).arg(stalls);
    const int stallTimeout = Downloader::stallTimeout();
    const int retryInterval = Downloader::retryInterval();
    auto restore = qScopeGuard([=] {
        Downloader::setStallTimeout(stallTimeout);
        Downloader::setRetryInterval(retryInterval);
    });
    if (stalls) {
        Downloader::setStallTimeout(300);
        Downloader::setRetryInterval(50);
        host->addStalledFile(name, 1234, 100);
    } else {
        host->addErrorFile(name, 404, "no such file");
    }
    FileMessage message;
    message.setFileId(name);
    message.setFileName(name + ".ogg");
    message.setFileUrl(host->fileUrl(name));
    message.setFileSize(1234);
    message.setPushToTalkDuration(3);
    QScopedPointer<QWidget> widget;
    ProgressCircle* circle = nullptr;
    std::function<QString()> text;
    if (kind == 0) {
        message.setFileType(FileMessage::MsgFileType_Image);
        auto* thumbnail = new Thumbnail(nullptr, false);
        thumbnail->setFileMessage(message);
        widget.reset(thumbnail);
        circle = thumbnail->progressCircle();
        text = [thumbnail]() { return thumbnail->statusText(); };
    } else if (kind == 1) {
        message.setFileType(FileMessage::MsgFileType_Other);
        auto* file = new OtherFileWidget(nullptr, false);
        file->setFileMessage(message, true);
        widget.reset(file);
        circle = file->progressCircle();
        text = [file]() { return file->sizeLabel()->text(); };
    } else {
        message.setFileType(FileMessage::MsgFileType_PushToTalk);
        auto* voice = new PTTWidget(nullptr);
        voice->setFileMessage(message, false);
        widget.reset(voice);
        circle = voice->progressCircle();
        text = [voice]() { return voice->durationLabel()->text(); };
    }
    widget->show();
    click(kind == 0 ? widget.data() : circle);
    QVERIFY(circle->value() > 0);
    QTRY_COMPARE_WITH_TIMEOUT(circle->value(), 0, 30000);
    QCOMPARE(text(), QString("Failed, tap to try again"));
    // The next click starts again, and one more stops it: the user's stop
    // is no failure.
    click(kind == 0 ? widget.data() : circle);
    QVERIFY(circle->value() > 0);
    click(kind == 0 ? widget.data() : circle);
    QCOMPARE(circle->value(), 0);
    QTest::qWait(300);
    QCOMPARE(circle->value(), 0);
    QVERIFY(text() != QString("Failed, tap to try again"));
}

void TestContentWidgets::emptyFileCompletes()
{
    host->addFile("empty.txt", QByteArray());
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileId("empty-id");
    message.setFileName("empty.txt");
    message.setFileUrl(host->fileUrl("empty.txt"));
    message.setFileSize(0);
    OtherFileWidget widget(nullptr, false);
    QSignalSpy pathStored(&widget, &OtherFileWidget::setFilePath);
    widget.setFileMessage(message, true);
    widget.show();
    click(widget.progressCircle());
    QTRY_COMPARE_WITH_TIMEOUT(widget.progressCircle()->value(), 100, 10000);
    QCOMPARE(widget.sizeLabel()->text(), FileSizeText::getFileSizeString(0));
    QCOMPARE(pathStored.size(), 1);
    QVERIFY(QFileInfo(widget.getFileMessage().getFilePath()).isFile());
    click(widget.progressCircle());
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(widget.getFileMessage().getFilePath())});
}

void TestContentWidgets::fileAlreadyDownloadedOpensAtOnce()
{
    const QString local = writeFile("report.pdf", "pdf bytes");
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileName("report.pdf");
    message.setFileSize(9);
    message.setFilePath(local);
    message.setFileUrl(host->fileUrl("never-fetched"));
    OtherFileWidget widget(nullptr, false);
    widget.setFileMessage(message, false);
    widget.show();
    QCOMPARE(widget.progressCircle()->value(), 100);
    QCOMPARE(widget.nameLabel()->objectName(), QString("OtherFileWidgetNameLabelByOther"));
    click(widget.progressCircle());
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(local)});
    QCOMPARE(host->getCount("never-fetched"), 0);
}

void TestContentWidgets::longFileNameIsElided()
{
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileName(QString(80, 'a') + "<b>bold</b>" + QString(80, 'z') + ".txt");
    message.setFileSize(10);
    OtherFileWidget widget(nullptr, true);
    widget.setFileMessage(message, true);
    const QString shown = widget.nameLabel()->text();
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(shown.startsWith("aaa") && shown.endsWith(".txt"));
    QVERIFY(QFontMetrics(widget.nameLabel()->font()).horizontalAdvance(shown) <=
            OtherFileWidget::kNameWidth);
    QCOMPARE(widget.nameLabel()->textFormat(), Qt::PlainText);
}

// The tooltip a person sees on hovering over the file's name: the label Qt
// shows, read as it renders its text (markup when it looks like markup).
void TestContentWidgets::fileNameToolTipReadsAsWritten_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("seen");
    QTest::newRow("ampersand") << "Tom & Jerry.pdf"
                               << "Tom & Jerry.pdf";
    QTest::newRow("escaped ampersand") << "a &amp; b.txt"
                                       << "a &amp; b.txt";
    QTest::newRow("angle brackets") << "<b>bold</b> <i>x</i>.txt"
                                    << "<b>bold</b> <i>x</i>.txt";
    QTest::newRow("image tag") << "<img src=\"file:///etc/passwd\">.png"
                               << "<img src=\"file:///etc/passwd\">.png";
    QTest::newRow("quotes") << "it's \"quoted\".doc"
                            << "it's \"quoted\".doc";
    QTest::newRow("two spaces") << "a  b.txt"
                                << "a  b.txt";
    QTest::newRow("persian") << QString::fromUtf8("گزارش & نامه.pdf")
                             << QString::fromUtf8("گزارش & نامه.pdf");
    QTest::newRow("right-to-left override")
        << QString("invoice") + QChar(0x202E) + "gnp.exe"
        << BidiText::visibleControls(QString("invoice") + QChar(0x202E) + "gnp.exe");
}

void TestContentWidgets::fileNameToolTipReadsAsWritten()
{
    QFETCH(QString, fileName);
    QFETCH(QString, seen);
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileName(fileName);
    message.setFileSize(10);
    OtherFileWidget widget(nullptr, false);
    widget.setFileMessage(message, false);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));

    QLabel* name = widget.nameLabel();
    const QPoint at = name->rect().center();
    QHelpEvent hover(QEvent::ToolTip, at, name->mapToGlobal(at));
    QApplication::sendEvent(name, &hover);
    QLabel* tip = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("qtooltip_label") && top->isVisible())
            tip = qobject_cast<QLabel*>(top);
    QVERIFY(tip);
    const bool rich = tip->textFormat() == Qt::RichText ||
                      (tip->textFormat() == Qt::AutoText && Qt::mightBeRichText(tip->text()));
    QString shown = tip->text();
    if (rich) {
        QTextDocument document;
        document.setHtml(shown);
        shown = document.toPlainText();
    }
    QCOMPARE(shown, seen);
    QVERIFY(!shown.contains(QChar(0x202E)));
    QToolTip::hideText();
}

// ---- uploads ---------------------------------------------------------------------

void TestContentWidgets::uploadsSendTheirMessage_data()
{
    QTest::addColumn<bool>("picture");
    QTest::newRow("picture") << true;
    QTest::newRow("file") << false;
}

void TestContentWidgets::uploadsSendTheirMessage()
{
    QFETCH(bool, picture);
    const QString path =
        picture ? writeFile("sent.png", encoded(halves(400, 200, Qt::red, Qt::blue), "PNG"))
                : writeFile("notes.txt", "some notes\n");
    const UploadRequest request = UploadManager::getInstance()->uploadFileMessage(path);
    QVERIFY(!request.isEmpty());
    QScopedPointer<QWidget> widget;
    QSignalSpy* sent = nullptr;
    if (picture) {
        auto* thumbnail = new Thumbnail(nullptr, true);
        widget.reset(thumbnail);
        sent = new QSignalSpy(thumbnail, &Thumbnail::sendMessage);
        thumbnail->setFileMessage(request.getFileMessage());
        QVERIFY(thumbnail->progressCircle()->uploadMode());
    } else {
        auto* file = new OtherFileWidget(nullptr, true);
        widget.reset(file);
        sent = new QSignalSpy(file, &OtherFileWidget::sendMessage);
        file->setFileMessage(request.getFileMessage(), true);
        QVERIFY(file->progressCircle()->uploadMode());
    }
    QScopedPointer<QSignalSpy> owner(sent);
    widget->show();
    QVERIFY(sent->wait(10000));
    const FileMessage done = sent->first().first().value<FileMessage>();
    QVERIFY(!done.getFileId().isEmpty());
    QVERIFY(done.getFileUrl().startsWith(service.baseUrl()));
    QCOMPARE(done.getFilePath(), path);
    if (picture) {
        auto* thumbnail = static_cast<Thumbnail*>(widget.data());
        QTRY_VERIFY_WITH_TIMEOUT(thumbnail->hasFullImage(), 10000);
        QCOMPARE(thumbnail->size(), QSize(300, 150));
    } else {
        QCOMPARE(static_cast<OtherFileWidget*>(widget.data())->progressCircle()->value(), 100);
    }
}

void TestContentWidgets::failedUploadRetriesOnItsOwnHost_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("address");
    QTest::newRow("attachment") << int(UploadMode_File) << "upload_file";
    QTest::newRow("channel file") << int(UploadMode_Static) << "upload_static_file";
}

void TestContentWidgets::failedUploadRetriesOnItsOwnHost()
{
    QFETCH(int, mode);
    QFETCH(QString, address);
    const QString path =
        writeFile(QString("retry-%1.txt").arg(mode), QString("retry me %1\n").arg(mode).toUtf8());
    service.enqueueReply(address, ServiceReply::raw("broken", 500));
    UploadManager* manager = UploadManager::getInstance();
    const UploadRequest request = manager->uploadFileMessage(path, UploadMode(mode));
    OtherFileWidget widget(nullptr, true);
    widget.setUploadMode(UploadMode(mode));
    QSignalSpy errors(&widget, &OtherFileWidget::uploadError);
    QSignalSpy sent(&widget, &OtherFileWidget::sendMessage);
    widget.setFileMessage(request.getFileMessage(), true);
    widget.show();
    QVERIFY(errors.wait(10000));
    QCOMPARE(widget.progressCircle()->value(), 0);
    QCOMPARE(widget.sizeLabel()->text(), QString("Failed, tap to try again"));

    service.clearRequests();
    click(widget.progressCircle());
    QVERIFY(sent.wait(10000));
    QStringList paths;
    for (const ServiceRequest& r : service.requests())
        paths << r.path;
    QVERIFY2(paths.contains(address), qPrintable(paths.join(' ')));
    QVERIFY(!paths.contains(mode == UploadMode_File ? "upload_static_file" : "upload_file"));
    QCOMPARE(widget.progressCircle()->value(), 100);
}

void TestContentWidgets::picturesEachGetTheirOwnThumbnail()
{
    QDir(dir.path()).mkpath("a");
    QDir(dir.path()).mkpath("b");
    const QString first =
        writeFile("a/same.png", encoded(halves(300, 300, Qt::red, Qt::red), "PNG"));
    const QString second =
        writeFile("b/same.png", encoded(halves(300, 300, Qt::blue, Qt::blue), "PNG"));
    const QList<UploadRequest> requests =
        UploadManager::getInstance()->uploadFileMessages({first, second});
    QCOMPARE(requests.size(), 2);
    const QString one = requests.at(0).getThumbnailPath();
    const QString two = requests.at(1).getThumbnailPath();
    QVERIFY(!one.isEmpty() && !two.isEmpty());
    QVERIFY(one != two);
    QVERIFY(nearly(QImage(one).pixel(5, 5), Qt::red));
    QVERIFY(nearly(QImage(two).pixel(5, 5), Qt::blue));
}

void TestContentWidgets::unreadablePictureIsRefusedWithToast()
{
    const QString broken = writeFile("broken.png", "\x89PNG but nothing more");
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy toasts(manager, &UploadManager::showToastMessage);
    const QList<UploadRequest> requests =
        manager->uploadFileMessages({broken, writeFile("fine.txt", "fine")});
    QCOMPARE(requests.size(), 1);
    QVERIFY(requests.first().getFilePath().endsWith("fine.txt"));
    QCOMPARE(toasts.size(), 1);
    QCOMPARE(toasts.first().first().toString(), QString("_pictureNotReadable"));
}

// ---- locations, voice, stickers -------------------------------------------------------

void TestContentWidgets::location_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("url");
    QTest::newRow("tehran") << 35.5 << 51.25 << " 35.50000, 51.25000"
                            << "https://maps.google.com/maps?&z=17&q=35.500000,51.250000";
    QTest::newRow("south west") << -33.868 << -151.2093 << "-33.86800,-151.20930"
                                << "https://maps.google.com/maps?&z=17&q=-33.868000,-151.209300";
    QTest::newRow("off the globe") << 95.0 << 10.0 << "?" << QString();
    QTest::newRow("not a number") << qQNaN() << 10.0 << "?" << QString();
}

void TestContentWidgets::location()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, text);
    QFETCH(QString, url);
    LocationMessage point;
    point.setLatitude(latitude);
    point.setLongitude(longitude);
    OtherFileWidget widget(nullptr, false);
    widget.setLocationMessage(point, true);
    widget.show();
    QCOMPARE(widget.nameLabel()->text(), QString("Location"));
    QCOMPARE(widget.sizeLabel()->text(), text);
    QCOMPARE(widget.progressCircle()->value(), 100);
    click(widget.progressCircle());
    if (url.isEmpty()) {
        QVERIFY(opened.isEmpty());
    } else {
        QCOMPARE(opened, QList<QUrl>{QUrl(url)});
        QCOMPARE(opened.first().scheme(), QString("https"));
    }
}

void TestContentWidgets::voiceDownloadsThenPlays()
{
    host->addFile("voice-1", QByteArray(2048, 'o'));
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_PushToTalk);
    message.setFileId("voice-1");
    message.setFileName("voice.ogg");
    message.setFileUrl(host->fileUrl("voice-1"));
    message.setFileSize(2048);
    message.setPushToTalkDuration(75);
    PTTWidget widget;
    QSignalSpy played(&widget, &PTTWidget::playPTT);
    widget.setFileMessage(message, true);
    widget.show();
    QCOMPARE(widget.durationLabel()->text(), QString("01:15"));
    QCOMPARE(widget.titleLabel()->objectName(), QString("OtherFileWidgetNameLabelByMe"));
    QCOMPARE(widget.progressCircle()->value(), 0);
    click(widget.progressCircle());
    QTRY_COMPARE_WITH_TIMEOUT(widget.progressCircle()->value(), 100, 10000);
    click(widget.progressCircle());
    QCOMPARE(played.size(), 1);
    QFile clip(played.first().first().toString());
    QVERIFY(clip.open(QIODevice::ReadOnly));
    QCOMPARE(clip.readAll(), QByteArray(2048, 'o'));

    // A second bubble of the same clip finds it in the voice folder at once.
    PTTWidget again;
    again.setFileMessage(message, false);
    QCOMPARE(again.progressCircle()->value(), 100);
    QCOMPARE(again.clipPath(), clip.fileName());
}

void TestContentWidgets::stickerShowsItsOwnPicture()
{
    host->addFile("shapes-star.png", encoded(halves(192, 192, Qt::yellow, Qt::yellow), "PNG"));
    StickerMessage star;
    star.setStickerPackageId("shapes");
    star.setStickerId("star");
    star.setStickerVersion("1");
    StickerMessage moon = star;
    moon.setStickerId("moon");
    Thumbnail thumbnail(nullptr, false);
    thumbnail.setFixedSize(Thumbnail::kStickerBox);
    // Another sticker's addresses are not this widget's.
    StickerUrl other;
    other.setStickerMessage(moon);
    other.insertUrl(StickerResolution::mdpi, host->fileUrl("shapes-star.png"));
    thumbnail.setStickerMessage(star);
    thumbnail.stickerUrlReady(other);
    QVERIFY(thumbnail.imageLabel()->pixmap() == nullptr ||
            thumbnail.imageLabel()->pixmap()->isNull());
    thumbnail.show();
    QTRY_VERIFY_WITH_TIMEOUT(
        thumbnail.imageLabel()->pixmap() && !thumbnail.imageLabel()->pixmap()->isNull(), 10000);
    QCOMPARE(thumbnail.imageLabel()->pixmap()->size(), Thumbnail::kStickerBox);
    QVERIFY(nearly(thumbnail.imageLabel()->pixmap()->toImage().pixel(60, 60), Qt::yellow));
    QVERIFY(thumbnail.progressCircle()->isHidden());
    QCOMPARE(stickerRequests, 1);
    click(&thumbnail);
    QVERIFY(opened.isEmpty());
}

void TestContentWidgets::unresolvedStickerSaysSo_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<int>("requests");
    QTest::newRow("the service refuses it") << "withdrawn" << 1;
    QTest::newRow("the service names no address") << "bare" << 1;
    QTest::newRow("its picture is not on the host") << "lost" << 1;
    QTest::newRow("its picture is not a picture") << "junk" << 1;
    QTest::newRow("a sticker without ids") << "" << 0;
}

void TestContentWidgets::unresolvedStickerSaysSo()
{
    QFETCH(QString, package);
    QFETCH(int, requests);
    host->addFile("junk-cat.png", QByteArray("this is no picture"));
    StickerMessage sticker;
    sticker.setStickerPackageId(package);
    sticker.setStickerId("cat");
    sticker.setStickerVersion("1");
    const int before = stickerRequests;
    // A refused download is given up after its retries, quickly here.
    const int interval = Downloader::retryInterval();
    Downloader::setRetryInterval(20);
    const auto restore = qScopeGuard([interval] { Downloader::setRetryInterval(interval); });
    Thumbnail thumbnail(nullptr, false);
    thumbnail.setFixedSize(Thumbnail::kStickerBox);
    thumbnail.setStickerMessage(sticker);
    thumbnail.show();
    // Not an empty gap: a box that says the sticker cannot be shown.
    QTRY_VERIFY_WITH_TIMEOUT(thumbnail.showsStickerUnavailable(), 15000);
    QCOMPARE(thumbnail.imageLabel()->text(), QStringLiteral("Sticker not available"));
    QVERIFY(thumbnail.imageLabel()->isVisible());
    QCOMPARE(thumbnail.imageLabel()->size(), Thumbnail::kStickerBox);
    QCOMPARE(stickerRequests - before, requests);
    click(&thumbnail);
    QVERIFY(opened.isEmpty());
}

void TestContentWidgets::allFilesFilterShowsFilesWithoutExtension()
{
    QTemporaryDir folder;
    for (const QString& name : {"README", "notes.txt"}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, "pick", folder.path(), AttachmentPicker::allFilesFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.show();
    QAbstractItemView* list = dialog.findChild<QAbstractItemView*>("listView");
    QVERIFY(list);
    QStringList shown;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&]() {
            shown.clear();
            const QModelIndex root = list->rootIndex();
            for (int row = 0; row < list->model()->rowCount(root); ++row)
                shown << list->model()->index(row, 0, root).data().toString();
            return shown.size() == 2;
        }(),
        10000);
    shown.sort();
    QCOMPARE(shown, QStringList({"README", "notes.txt"}));
}

// A board with one bubble of each kind, sent and received, saved for looking at.
void TestContentWidgets::screenshotOfEveryContentKind()
{
    QFile sheet(":/Style/QuorvelDefaultStyle.css");
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setAutoDownloadImages(true);
    GlobalConstants::setMainSettings(settings);

    QWidget board;
    board.setObjectName("board");
    board.setStyleSheet("QWidget#board{background:#dfe7ee;}");
    QGridLayout* grid = new QGridLayout(&board);
    int slot = 0;
    auto bubble = [&](QWidget* content, bool mine) {
        QFrame* frame = new QFrame;
        frame->setObjectName(mine ? "Sender" : "Receiver");
        QVBoxLayout* layout = new QVBoxLayout(frame);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->addWidget(content);
        grid->addWidget(frame, slot / 3, slot % 3,
                        Qt::AlignTop | (mine ? Qt::AlignRight : Qt::AlignLeft));
        ++slot;
    };

    Thumbnail* photo = new Thumbnail(nullptr, false);
    QSignalSpy photoShown(photo, &Thumbnail::fullImageShown);
    photo->setFileMessage(imageMessage(
        "shot-photo", QSize(800, 600),
        encoded(halves(800, 600, QColor(30, 120, 200), QColor(240, 180, 40)), "JPEG")));
    bubble(photo, false);

    FileMessage video = imageMessage("shot-video", QSize(640, 360), QByteArray(5000000, 'v'),
                                     FileMessage::MsgFileType_Video);
    video.setFileTypeVideoDuration(83000);
    Thumbnail* clip = new Thumbnail(nullptr, false);
    clip->setFileMessage(video);
    bubble(clip, true);

    Thumbnail* gif = new Thumbnail(nullptr, false);
    gif->setFileMessage(imageMessage("shot-gif", QSize(160, 120),
                                     GifWriter::animated(QSize(160, 120), {10, 50, 90}),
                                     FileMessage::MsgFileType_Gif));
    bubble(gif, false);

    host->addFile("shapes-heart.png", encoded(halves(192, 192, Qt::magenta, Qt::red), "PNG"));
    StickerMessage heart;
    heart.setStickerPackageId("shapes");
    heart.setStickerId("heart");
    heart.setStickerVersion("1");
    Thumbnail* sticker = new Thumbnail(nullptr, false);
    sticker->setFixedSize(Thumbnail::kStickerBox);
    sticker->setStickerMessage(heart);
    bubble(sticker, true);

    host->addFile("shot-doc", QByteArray(1300000, 'd'));
    FileMessage document;
    document.setFileType(FileMessage::MsgFileType_Other);
    document.setFileId("shot-doc");
    document.setFileName("Quarterly report with a rather long name, final version.pdf");
    document.setFileUrl(host->fileUrl("shot-doc"));
    document.setFileSize(1300000);
    OtherFileWidget* file = new OtherFileWidget(nullptr, false);
    file->setFileMessage(document, false);
    bubble(file, false);

    LocationMessage point;
    point.setLatitude(35.6892);
    point.setLongitude(51.389);
    OtherFileWidget* place = new OtherFileWidget(nullptr, false);
    place->setLocationMessage(point, true);
    bubble(place, true);

    FileMessage voice;
    voice.setFileType(FileMessage::MsgFileType_PushToTalk);
    voice.setFileId("shot-voice");
    voice.setFileName("voice.ogg");
    voice.setFileUrl(host->fileUrl("shot-voice"));
    voice.setPushToTalkDuration(42);
    PTTWidget* talk = new PTTWidget;
    talk->setFileMessage(voice, false);
    bubble(talk, false);

    const QString sending =
        writeFile("sending.png", encoded(halves(600, 400, Qt::darkGreen, Qt::white), "PNG"));
    service.enqueueReply("upload_file", ServiceReply::raw("broken", 500));
    const UploadRequest request = UploadManager::getInstance()->uploadFileMessage(sending);
    Thumbnail* upload = new Thumbnail(nullptr, true);
    upload->setFileMessage(request.getFileMessage());
    bubble(upload, true);

    board.resize(1000, 820);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QTRY_VERIFY_WITH_TIMEOUT(photo->hasFullImage(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(gif->movie() && gif->movie()->state() == QMovie::Running, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(
        sticker->imageLabel()->pixmap() && !sticker->imageLabel()->pixmap()->isNull(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(upload->statusText() == "Failed, tap to try again", 10000);
    QTest::qWait(300);
    QDir().mkpath(QUORVEL_BINARY_DIR "/screenshots");
    QVERIFY(board.grab().save(QUORVEL_BINARY_DIR "/screenshots/content-board.png"));
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestContentWidgets)
#include "tst_contentwidgets.moc"
