// Downloads from the fake file host over HTTPS on loopback: the named queues,
// stalls and error statuses, files kept whole and only when complete, names
// from headers and peers that stay in their folder, the static-file address
// form, blurred message thumbnails and certificates that are checked.

#include "../capturedlog.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "model/globalconstants.h"
#include "testcertificates.h"
#include "webapi/FileApi/downloader.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/localfiles.h"
#include "webapi/FileApi/staticfile.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/packetgenerator.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

class TestDownloads : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void duplicateUrlIsFetchedOnce();
    void stalledTransferIsCanceledAndNextStarts();
    void errorStatusIsNeverKept_data();
    void errorStatusIsNeverKept();
    void keptFileIsServedWithoutRequest();
    void largeFileAppearsOnlyWhenComplete();
    void staticFileUrlCarriesFourSegments();
    void staticFileNeedsCredentials();
    void messageThumbnailArrivesBlurred();
    void contentDisposition_data();
    void contentDisposition();
    void attachmentNeverOverwritesAnotherFile();
    void sameFileAskedAgainJoinsItsDownload();
    void untrustedCertificateFails();
    void cancelCurrentAndQueued();
    void deadAddressFailsAndQueueMovesOn();
    void onlyHttpsAddressesAreFetched_data();
    void onlyHttpsAddressesAreFetched();

private:
    static QByteArray png(int size, bool checkered);
    static QByteArray readFile(const QString& path);
    static QStringList partialFiles(StaticFile::StoragePath path);

    FakeWebService service;
    FakeFileHost* host = nullptr;
};

void TestDownloads::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    host = new FakeFileHost(&service);
    GlobalConstants::setUserName("alice");
    GlobalConstants::setToken("token-1");
    GlobalConstants::setHashMethod("SHA256");
    Downloader::setRetryInterval(20);
    DownloadManager::setNetworkRetryInterval(60000);
}

void TestDownloads::init()
{
    service.clearRequests();
    Downloader::setStallTimeout(3000);
}

void TestDownloads::cleanup()
{
    // Every test leaves the queues idle.
    for (DownloadManager* manager :
         {DownloadManager::getInstance(), DownloadManager::getStickerInstance(),
          DownloadManager::getAvatarThumbnailInstance(),
          DownloadManager::getMessageThumbnailInstance()}) {
        QTRY_VERIFY_WITH_TIMEOUT(manager->getCurrentRequest().url().isEmpty(), 5000);
        QCOMPARE(manager->queuedCount(), 0);
    }
}

QByteArray TestDownloads::png(int size, bool checkered)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.setPixel(
                x, y, checkered && ((x / 4 + y / 4) % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray TestDownloads::readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList TestDownloads::partialFiles(StaticFile::StoragePath path)
{
    return StaticFile::getDownloadDir(path).entryList(
        {QString(LocalFiles::kPartialPrefix) + "*", "qt_temp.*"}, QDir::Files | QDir::Hidden);
}

void TestDownloads::duplicateUrlIsFetchedOnce()
{
    host->addFile("dup-a.bin", "first");
    host->addFile("dup-b.bin", "second");
    service.enqueueReply("files/slow.bin", FakeReply::raw("slow", 200).delayed(300));
    DownloadManager* manager = DownloadManager::getInstance();
    QSignalSpy finished(manager, &DownloadManager::downloadFinished);
    // dup-a twice while it is being fetched, dup-b twice while it waits.
    manager->startDownload(host->fileUrl("dup-a.bin"));
    manager->startDownload(host->fileUrl("dup-a.bin"));
    manager->startDownload(host->fileUrl("slow.bin"));
    manager->startDownload(host->fileUrl("dup-b.bin"));
    manager->startDownload(host->fileUrl("dup-b.bin"));
    QCOMPARE(manager->queuedCount(), 2);
    QTRY_COMPARE(finished.size(), 3);
    QCOMPARE(finished.at(0).at(0).toString(), host->fileUrl("dup-a.bin"));
    QCOMPARE(finished.at(0).at(2).toByteArray(), QByteArray("first"));
    QCOMPARE(finished.at(1).at(2).toByteArray(), QByteArray("slow"));
    QCOMPARE(finished.at(2).at(2).toByteArray(), QByteArray("second"));
    QCOMPARE(host->getCount("dup-a.bin"), 1);
    QCOMPARE(host->getCount("dup-b.bin"), 1);
}

void TestDownloads::stalledTransferIsCanceledAndNextStarts()
{
    Downloader::setStallTimeout(400);
    host->addStalledFile("stall.bin", 1000000, 2000);
    host->addFile("after.bin", "after");
    host->addFile("sticker.png", png(8, false));
    DownloadManager* main = DownloadManager::getInstance();
    DownloadManager* stickers = DownloadManager::getStickerInstance();
    QSignalSpy canceled(main, &DownloadManager::downloadCanceled);
    QSignalSpy finished(main, &DownloadManager::downloadFinished);
    QSignalSpy stickerDone(stickers, &DownloadManager::downloadFinished);
    QElapsedTimer clock;
    clock.start();
    main->startDownload(host->fileUrl("stall.bin"));
    main->startDownload(host->fileUrl("after.bin"));
    // A sticker does not wait behind the stalled attachment.
    stickers->startDownload(host->fileUrl("sticker.png"));
    QVERIFY(stickerDone.wait(3000));
    QVERIFY(finished.isEmpty());

    QTRY_COMPARE(canceled.size(), 1);
    // Not at once: a coarse timer may fire up to 5 % early, so allow a little under 400 ms.
    QVERIFY(clock.elapsed() >= 360);
    QCOMPARE(canceled.first().first().toString(), host->fileUrl("stall.bin"));
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.first().at(2).toByteArray(), QByteArray("after"));

    // Asked again, the stalled file is fetched anew.
    main->startDownload(host->fileUrl("stall.bin"));
    QTRY_COMPARE(canceled.size(), 2);
    QCOMPARE(host->getCount("stall.bin"), 2);
    QCOMPARE(partialFiles(StaticFile::Others), QStringList());
}

void TestDownloads::errorStatusIsNeverKept_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("mode");
    QTest::newRow("404 kept mode") << 404 << 1;
    QTest::newRow("500 kept mode") << 500 << 1;
    QTest::newRow("404 plain mode") << 404 << 0;
}

void TestDownloads::errorStatusIsNeverKept()
{
    QFETCH(int, status);
    QFETCH(int, mode);
    const QString name = QStringLiteral("error-%1-%2.txt").arg(status).arg(mode);
    host->addErrorFile(name, status, "<html>error page</html>");
    StaticFile file;
    QSignalSpy content(&file, &StaticFile::fileContentReady);
    QSignalSpy canceled(&file, &StaticFile::downloadCanceled);
    QVERIFY(!file.setUrl(host->fileUrl(name), StaticFile::StaticFileMode(mode), StaticFile::Others,
                         false));
    QVERIFY(canceled.wait(5000));
    QCOMPARE(content.size(), 0);
    QCOMPARE(host->getCount(name), 1 + Downloader::kMaxRestarts);
    QVERIFY(!QFile::exists(file.getFileUrl()));
    QCOMPARE(partialFiles(StaticFile::Others), QStringList());

    // Nothing was kept, so the next request goes to the network again.
    StaticFile again;
    QVERIFY(!again.setUrl(host->fileUrl(name), StaticFile::LocalFirst, StaticFile::Others, false));
    again.cancelDownload();
}

void TestDownloads::keptFileIsServedWithoutRequest()
{
    const QByteArray bytes = "kept content";
    host->addFile("kept.txt", bytes);
    StaticFile first;
    QSignalSpy firstContent(&first, &StaticFile::fileContentReady);
    QVERIFY(!first.setUrl(host->fileUrl("kept.txt"), StaticFile::LocalFirst, StaticFile::Others,
                          false));
    QVERIFY(firstContent.wait(5000));
    QCOMPARE(firstContent.first().first().toByteArray(), bytes);
    QCOMPARE(readFile(first.getFileUrl()), bytes);

    service.clearRequests();
    StaticFile second;
    QSignalSpy secondContent(&second, &StaticFile::fileContentReady);
    QVERIFY(second.setUrl(host->fileUrl("kept.txt"), StaticFile::LocalFirst, StaticFile::Others,
                          false));
    QVERIFY(secondContent.wait(5000));
    QCOMPARE(secondContent.first().first().toByteArray(), bytes);
    QCOMPARE(service.requests().size(), 0);
    QCOMPARE(host->getCount("kept.txt"), 1);
}

void TestDownloads::largeFileAppearsOnlyWhenComplete()
{
    const qint64 size = 8 * 1024 * 1024;
    // Paced, so that the transfer is seen in progress: Qt reports progress at
    // most every 20 ms.
    host->addGeneratedFile("large.bin", size, 15);
    StaticFile file;
    QSignalSpy content(&file, &StaticFile::fileContentReady);
    bool checkedDuringTransfer = false;
    connect(&file, &StaticFile::downloadingProgress, this, [&](qlonglong received, qlonglong) {
        if (checkedDuringTransfer || received <= 0 || received >= size)
            return;
        checkedDuringTransfer = true;
        // The body goes to a hidden (or, where the system allows, unnamed)
        // file; the file itself appears only when complete.
        QVERIFY(!QFile::exists(file.getFileUrl()));
        QVERIFY(
            !QFile::exists(StaticFile::getDownloadDir(StaticFile::Others).filePath("large.bin")));
    });
    file.setUrl(host->fileUrl("large.bin"), StaticFile::LocalFirst, StaticFile::Others, false);
    QVERIFY(content.wait(10000));
    QVERIFY(checkedDuringTransfer);
    const QByteArray bytes = content.first().first().toByteArray();
    QCOMPARE(bytes.size(), int(size));
    for (qint64 offset : {qint64(0), qint64(4095), size / 2 + 17, size - 1})
        QCOMPARE(bytes.at(int(offset)), FakeFileHost::generatedByte(offset));
    QCOMPARE(QFileInfo(file.getFileUrl()).size(), size);
    QCOMPARE(partialFiles(StaticFile::Others), QStringList());
}

void TestDownloads::staticFileUrlCarriesFourSegments()
{
    host->addStaticFile("avatar.png", png(16, false));
    CapturedLog log;
    StaticFile file;
    QSignalSpy image(&file, &StaticFile::imageReady);
    const QString url = service.baseUrl() + "static_file/avatar.png";
    QVERIFY(!file.setUrlAndID(url, QString(), StaticFile::LocalFirst, StaticFile::AvatarThumbnails,
                              false));
    QVERIFY(image.wait(5000));
    QCOMPARE(image.first().first().value<QImage>().size(), QSize(16, 16));

    QCOMPARE(host->staticSegments().size(), 1);
    const QStringList segments = host->staticSegments().first();
    QCOMPARE(segments.at(0), QString("alice"));
    QCOMPARE(segments.at(1), QString("SHA256"));
    const QString requestId = segments.at(3);
    QCOMPARE(requestId.size(), 64);
    QCOMPARE(segments.at(2), PacketGenerator::getAuthValue(
                                 QByteArray("alice") + requestId.toLatin1(), "token-1", "SHA256"));
    QCOMPARE(QString::fromUtf8(service.requests().first().header("User-Agent")),
             DeviceInfoProvider().getUserAgent());
    // The client logged the address, but never with its proof of the token
    // (the test's own file host logs what it was asked, so its lines are left out).
    bool logged = false;
    for (const QString& line : CapturedLog::lines()) {
        if (line.startsWith(QLatin1String("LocalService")))
            continue;
        logged = logged || line.contains(QLatin1String("static_file/"));
        QVERIFY2(!line.contains(segments.at(2)) && !line.contains(requestId), qPrintable(line));
    }
    QVERIFY(logged);

    // Kept under its own name: the next one is read from disk.
    StaticFile again;
    QVERIFY(again.setUrlAndID(url, QString(), StaticFile::LocalFirst, StaticFile::AvatarThumbnails,
                              false));

    // A static attachment (its id carries an extension) uses the same form.
    host->addStaticFile("pic.png", png(8, false));
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Image);
    message.setFileId("pic.png");
    message.setFileUrl(service.baseUrl() + "static_file/pic.png");
    StaticFile attachment;
    QSignalSpy attachmentImage(&attachment, &StaticFile::imageReady);
    QVERIFY(
        !attachment.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, true));
    QVERIFY(attachmentImage.wait(5000));
    QCOMPARE(host->staticSegments().size(), 2);
    QCOMPARE(host->staticSegments().last().at(0), QString("alice"));
    QVERIFY(attachment.getFileUrl().endsWith(".png"));
}

void TestDownloads::staticFileNeedsCredentials()
{
    GlobalConstants::setToken(QString());
    StaticFile file;
    QSignalSpy errors(&file, &StaticFile::downloadError);
    file.setUrlAndID(service.baseUrl() + "static_file/other.png", QString(), StaticFile::LocalFirst,
                     StaticFile::AvatarThumbnails, false);
    GlobalConstants::setToken("token-1");
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().toString(), QString("Please set user name and token."));
    QTest::qWait(50);
    QCOMPARE(service.requests().size(), 0);
}

void TestDownloads::messageThumbnailArrivesBlurred()
{
    const QByteArray sharp = png(32, true);
    host->addFile("m1thumbnail", sharp);
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Image);
    message.setFileId("m1");
    message.setFileThumbnailUrl(host->fileUrl("m1thumbnail"));
    StaticFile file;
    QSignalSpy image(&file, &StaticFile::imageReady);
    QVERIFY(!file.setFileMessage(message, StaticFile::LocalFirst, StaticFile::MessageThumbnails,
                                 false));
    QVERIFY(image.wait(5000));
    const QImage blurred = image.first().first().value<QImage>();
    QCOMPARE(blurred.size(), QSize(32, 32));
    const int middle = qRed(blurred.pixel(12, 13));
    QVERIFY2(middle > 30 && middle < 225, qPrintable(QString::number(middle)));

    const QString kept =
        StaticFile::getDownloadDir(StaticFile::MessageThumbnails).filePath("m1thumbnail");
    QCOMPARE(file.getFileUrl(), kept);
    QVERIFY(readFile(kept).startsWith("\x89PNG"));
    QVERIFY(StaticFile().isThumbnailDownloaded(message));
}

void TestDownloads::contentDisposition_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("keptName");
    QTest::newRow("without a file name") << QByteArray("inline") << "cd1";
    QTest::newRow("climbing name")
        << QByteArray("attachment; filename=\"../../evil.sh\"") << "cd2.sh";
    QTest::newRow("odd extension") << QByteArray("attachment; filename=\"x./../y\"") << "cd3";
}

void TestDownloads::contentDisposition()
{
    QFETCH(QByteArray, header);
    QFETCH(QString, keptName);
    const QString id = keptName.section('.', 0, 0);
    host->addFile(id, "disposition body", header);
    StaticFile file;
    QSignalSpy content(&file, &StaticFile::fileContentReady);
    QSignalSpy errors(&file, &StaticFile::downloadError);
    file.setUrlAndID(host->fileUrl(id), id, StaticFile::LocalFirst, StaticFile::Others, false);
    QVERIFY(content.wait(5000));
    QCOMPARE(errors.size(), 0);
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Others);
    QCOMPARE(file.getFileUrl(), dir.filePath(keptName));
    QCOMPARE(readFile(dir.filePath(keptName)), QByteArray("disposition body"));
    QVERIFY(StaticFile().fileExists(host->fileUrl(id), id, StaticFile::Others));
}

void TestDownloads::attachmentNeverOverwritesAnotherFile()
{
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Downloads);
    QFile mine(dir.filePath("notes.txt"));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("my own notes");
    mine.close();
    host->addFile("att1", "peer's notes");

    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileId("att1");
    message.setFileName("../notes.txt");
    message.setFileUrl(host->fileUrl("att1"));
    StaticFile file;
    QSignalSpy content(&file, &StaticFile::fileContentReady);
    QVERIFY(!file.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, false));
    QVERIFY(content.wait(5000));
    QCOMPARE(file.getFileUrl(), dir.filePath("notes (1).txt"));
    QCOMPARE(file.getFileMessage().getFilePath(), file.getFileUrl());
    QCOMPARE(readFile(dir.filePath("notes (1).txt")), QByteArray("peer's notes"));
    QCOMPARE(readFile(dir.filePath("notes.txt")), QByteArray("my own notes"));
}

void TestDownloads::sameFileAskedAgainJoinsItsDownload()
{
    // Sent slowly, so the second and third requests come while it is under
    // way: one file asked for twice, and another bubble's file of the same
    // address. One transfer, each file kept once and told once.
    const qint64 size = 1024 * 1024;
    host->addGeneratedFile("shared", size, 100);
    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileId("shared");
    message.setFileName("shared.bin");
    message.setFileUrl(host->fileUrl("shared"));
    StaticFile first;
    StaticFile second;
    QSignalSpy firstContent(&first, &StaticFile::fileContentReady);
    QSignalSpy secondContent(&second, &StaticFile::fileContentReady);
    first.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, false);
    const QString firstPath = first.getFileUrl();
    first.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, false);
    QCOMPARE(first.getFileUrl(), firstPath);
    second.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, false);
    QTRY_COMPARE_WITH_TIMEOUT(firstContent.size() + secondContent.size(), 2, 30000);
    QCOMPARE(firstContent.size(), 1);
    QCOMPARE(secondContent.size(), 1);
    QCOMPARE(host->getCount("shared"), 1);

    // Later downloads of the same address are theirs alone: the files kept
    // before are neither kept again nor told again.
    for (int round = 0; round < 2; ++round) {
        StaticFile later;
        QSignalSpy laterContent(&later, &StaticFile::fileContentReady);
        later.setFileMessage(message, StaticFile::LocalFirst, StaticFile::Downloads, false);
        QVERIFY(laterContent.wait(30000));
    }
    QCOMPARE(host->getCount("shared"), 3);
    QCOMPARE(firstContent.size(), 1);
    QCOMPARE(secondContent.size(), 1);
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Downloads);
    const QStringList kept = dir.entryList({"shared*"}, QDir::Files, QDir::Name);
    QCOMPARE(kept,
             QStringList({"shared (1).bin", "shared (2).bin", "shared (3).bin", "shared.bin"}));
    for (const QString& name : kept)
        QCOMPARE(QFileInfo(dir.filePath(name)).size(), size);
    QCOMPARE(first.getFileUrl(), firstPath);
}

void TestDownloads::untrustedCertificateFails()
{
    FakeWebService stranger(TestCertificates::create("stranger"));
    QVERIFY(stranger.start());
    FakeFileHost strangeHost(&stranger);
    strangeHost.addFile("x.bin", "x");
    Downloader downloader;
    QSignalSpy networkError(&downloader, &Downloader::networkError);
    QSignalSpy finished(&downloader, &Downloader::finished);
    QVERIFY(downloader.start(QNetworkRequest(QUrl(strangeHost.fileUrl("x.bin")))));
    QVERIFY(networkError.wait(5000));
    QCOMPARE(finished.size(), 0);
    QCOMPARE(stranger.requests().size(), 0);
    QTRY_VERIFY(stranger.failedHandshakes() > Downloader::kMaxRestarts);
}

void TestDownloads::cancelCurrentAndQueued()
{
    host->addStalledFile("held.bin", 100000, 10);
    host->addFile("queued.bin", "queued");
    host->addFile("third.bin", "third");
    DownloadManager* manager = DownloadManager::getInstance();
    QSignalSpy canceled(manager, &DownloadManager::downloadCanceled);
    QSignalSpy finished(manager, &DownloadManager::downloadFinished);
    manager->startDownload(host->fileUrl("held.bin"));
    manager->startDownload(host->fileUrl("queued.bin"));
    manager->startDownload(host->fileUrl("third.bin"));
    QVERIFY(service.waitForRequests(1));

    manager->cancelDownload(host->fileUrl("queued.bin"));
    QCOMPARE(canceled.size(), 0);
    QCOMPARE(manager->queuedCount(), 1);
    manager->cancelDownload(host->fileUrl("held.bin"));
    QCOMPARE(canceled.size(), 1);
    QCOMPARE(canceled.first().first().toString(), host->fileUrl("held.bin"));
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toString(), host->fileUrl("third.bin"));
    QCOMPARE(host->getCount("queued.bin"), 0);
}

void TestDownloads::deadAddressFailsAndQueueMovesOn()
{
    FakeWebService stranger(TestCertificates::create("stranger"));
    QVERIFY(stranger.start());
    FakeFileHost strangeHost(&stranger);
    host->addFile("after-dead.bin", "next in line");
    DownloadManager::setNetworkRetryInterval(200);
    DownloadManager* manager = DownloadManager::getAvatarThumbnailInstance();
    QSignalSpy failed(manager, &DownloadManager::downloadError);
    QSignalSpy finished(manager, &DownloadManager::downloadFinished);
    const QString dead = strangeHost.fileUrl("avatar.png");
    manager->startDownload(dead);
    manager->startDownload(host->fileUrl("after-dead.bin"));
    // Six attempts, a pause, six more: the request stays current meanwhile.
    QTRY_VERIFY_WITH_TIMEOUT(stranger.failedHandshakes() > 2 * (1 + Downloader::kMaxRestarts) - 1,
                             5000);
    QCOMPARE(failed.size(), 0);
    // After its last round it fails, and the queue goes on.
    QVERIFY(failed.wait(10000));
    QCOMPARE(failed.first().first().toString(), dead);
    QTRY_COMPARE_WITH_TIMEOUT(
        stranger.failedHandshakes(),
        (1 + DownloadManager::kNetworkRetries) * (1 + Downloader::kMaxRestarts), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 5000);
    QCOMPARE(finished.first().at(2).toByteArray(), QByteArray("next in line"));
    DownloadManager::setNetworkRetryInterval(60000);
}

void TestDownloads::onlyHttpsAddressesAreFetched_data()
{
    QTest::addColumn<QString>("address");
    const QString secret = QDir::temp().filePath("quorvel-secret.txt");
    QTest::newRow("local file") << QUrl::fromLocalFile(secret).toString();
    QTest::newRow("plain http") << host->fileUrl("plain.bin").replace("https://", "http://");
    QTest::newRow("upper-case file scheme") << "FILE://" + secret;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/x.bin");
    QTest::newRow("data") << QStringLiteral("data:text/plain,hello");
    QTest::newRow("no scheme") << QStringLiteral("//127.0.0.1/x.bin");
}

void TestDownloads::onlyHttpsAddressesAreFetched()
{
    QFETCH(QString, address);
    const QString secret = QDir::temp().filePath("quorvel-secret.txt");
    {
        QFile file(secret);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("private");
    }
    host->addFile("plain.bin", "over plain http");

    // A peer's file message pointing at the address.
    FileMessage message;
    message.setFileUrl(address);
    message.setFileId("peer-file-1");
    message.setFileName("innocent.txt");
    StaticFile file;
    QSignalSpy errors(&file, &StaticFile::downloadError);
    QSignalSpy content(&file, &StaticFile::fileContentReady);
    file.setFileMessage(message, StaticFile::DownloadOnly, StaticFile::Others, false);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(content.size(), 0);

    // The same through a queue directly.
    DownloadManager* manager = DownloadManager::getStickerInstance();
    QSignalSpy failed(manager, &DownloadManager::downloadError);
    manager->startDownload(address);
    QCOMPARE(failed.size(), 1);
    QVERIFY(manager->getCurrentRequest().url().isEmpty());
    QTest::qWait(50);
    QCOMPARE(service.requests().size(), 0);
    QVERIFY(!QFileInfo::exists(file.getFileUrl()) ||
            readFile(file.getFileUrl()) != QByteArray("private"));
    QFile::remove(secret);
}

QTEST_MAIN(TestDownloads)
#include "tst_downloads.moc"
