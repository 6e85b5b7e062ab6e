// Uploads to the fake file host over HTTPS on loopback: classification and
// thumbnails, the existence check and the multipart form as sent, the order
// of the queue, failures that end one upload and let the next run, cancel,
// and certificates that are checked.

#include "fakefilehost.h"
#include "fakewebservice.h"
#include "gifwriter.h"
#include "model/globalconstants.h"
#include "testcertificates.h"
#include "webapi/FileApi/uploadfile.h"
#include "webapi/FileApi/uploadmanager.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/packetgenerator.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

#include <sys/stat.h>

class TestUploads : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileTypes_data();
    void fileTypes();
    void imageUploadSendsCheckThenForm();
    void gifGoesAsAGifWithAPreview();
    void existingFileIsNotUploaded();
    void uploadsRunInOrder();
    void uploadFileDefaultsToStaticPath();
    void failures_data();
    void failures();
    void unreadableFileFailsAtOnce();
    void hashingLeavesTheCallingThreadFree();
    void fileNameIsQuotedBaseName();
    void cancelCurrentAndQueued();
    void untrustedHostFails();

private:
    QString makeFile(const QString& name, const QByteArray& content);
    QString makeImage(const QString& name, int width, int height);
    static QString sha1(const QByteArray& data);
    static void verifySigned(QJsonObject object);

    FakeWebService service;
    FakeFileHost* host = nullptr;
    QTemporaryDir dir;
};

void TestUploads::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    host = new FakeFileHost(&service);
    qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
    GlobalConstants::setUserName("alice");
    GlobalConstants::setToken("token-1");
    GlobalConstants::setHashMethod("SHA256");
}

void TestUploads::init()
{
    service.clearRequests();
    service.clearScriptedReplies();
}

void TestUploads::cleanup()
{
    UploadManager::deleteInstance();
}

QString TestUploads::makeFile(const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return path;
}

QString TestUploads::makeImage(const QString& name, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir.filePath(name);
    return image.save(path) ? path : QString();
}

QString TestUploads::sha1(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex();
}

void TestUploads::verifySigned(QJsonObject object)
{
    QCOMPARE(object.value("Username").toString(), QString("alice"));
    QCOMPARE(object.value("HashMethod").toString(), QString("SHA256"));
    QCOMPARE(object.value("RequestId").toString().size(), 64);
    const QString authValue = object.value("AuthValue").toString();
    object.insert("AuthValue", QString());
    QCOMPARE(authValue, PacketGenerator::getAuthValue(object, "token-1", "SHA256"));
}

void TestUploads::fileTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("type");
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png, gif;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QTest::newRow("png") << "a.png" << png << 1;
    QTest::newRow("gif") << "a.gif" << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;") << 3;
    QTest::newRow("mp4") << "a.mp4"
                         << QByteArray("\x00\x00\x00\x18"
                                       "ftypmp42",
                                       12)
                         << 5;
    QTest::newRow("text is other") << "a.txt" << QByteArray("plain words\n") << 5;
}

void TestUploads::fileTypes()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(int, type);
    const QString path = makeFile(name, content);
    QCOMPARE(int(UploadManager::getInstance()->getFileType(path)), type);
}

void TestUploads::imageUploadSendsCheckThenForm()
{
    const QString path = makeImage("photo.png", 600, 300);
    QFile source(path);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray content = source.readAll();

    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    QSignalSpy progress(manager, &UploadManager::uploadProgress);
    const UploadRequest request = manager->uploadFileMessage(path);
    QCOMPARE(int(request.getFileType()), int(FileMessage::MsgFileType_Image));
    QCOMPARE(request.getFileMessage().getImageSize(), QSize(600, 300));

    // The thumbnail: fits 256 x 256, named after the source, in a folder of
    // its own that only this user can enter.
    const QFileInfo thumbnail(request.getThumbnailPath());
    QCOMPARE(thumbnail.fileName(), QString("thumbnail_photo.png"));
    QVERIFY(thumbnail.absolutePath() != QDir(QDir::tempPath()).absolutePath());
    QCOMPARE(QFileInfo(thumbnail.absolutePath()).permissions() &
                 (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther | QFile::ReadGroup),
             QFile::Permissions());
    QCOMPARE(QImage(thumbnail.filePath()).size(), QSize(256, 128));
    QCOMPARE(request.getFileMessage().getFileThumbnailUrl(), thumbnail.filePath());

    QVERIFY(done.wait(5000));
    QCOMPARE(done.first().at(0).toString(), path);
    QVERIFY(!progress.isEmpty());
    for (const QList<QVariant>& step : qAsConst(progress)) {
        QCOMPARE(step.at(0).toString(), path);
        QVERIFY(step.at(1).toLongLong() > 0 && step.at(2).toLongLong() >= step.at(1).toLongLong());
    }

    QCOMPARE(service.requests().size(), 2);
    const FakeRequest check = service.requests().at(0);
    QCOMPARE(check.path, QString("file_exists/"));
    QCOMPARE(check.header("Content-Type"), QByteArray("JSON"));
    QCOMPARE(QString::fromUtf8(check.header("User-Agent")), DeviceInfoProvider().getUserAgent());
    const QJsonObject checkBody = check.json();
    QCOMPARE(checkBody.value("FileHash").toString(), sha1(content));
    QCOMPARE(checkBody.value("FileSize").toString(), QString::number(content.size()));
    QCOMPARE(checkBody.value("FileName").toString(), QString("photo.png"));
    verifySigned(checkBody);

    const FakeRequest form = service.requests().at(1);
    QCOMPARE(form.path, QString("upload_file"));
    QCOMPARE(QString::fromUtf8(form.header("User-Agent")), DeviceInfoProvider().getUserAgent());
    const QList<FakeFileHost::Part> parts = FakeFileHost::parseMultipart(form);
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts.at(0).disposition, QByteArray("form-data; name=\"Data\""));
    verifySigned(QJsonDocument::fromJson(parts.at(0).body).object());
    QCOMPARE(parts.at(1).name, QByteArray("File"));
    QCOMPARE(parts.at(1).fileName, QByteArray("photo.png"));
    QCOMPARE(parts.at(1).body, content);
    QCOMPARE(parts.at(2).name, QByteArray("Thumbnail"));
    QCOMPARE(parts.at(2).fileName, QByteArray("thumbnail_photo.png"));
    QCOMPARE(QImage::fromData(parts.at(2).body).size(), QSize(256, 128));

    const QString id = sha1(content).left(16);
    QCOMPARE(done.first().at(1).toString(), id);
    QCOMPARE(done.first().at(2).toString(), host->fileUrl(id));
    QCOMPARE(done.first().at(3).toString(), host->fileUrl(id + "thumbnail"));
}

void TestUploads::gifGoesAsAGifWithAPreview()
{
    // A GIF is a picture of its own kind: its message knows its path, size
    // and kind, and it gets a preview (PNG, as Qt writes no GIF).
    const QString path = makeFile("wave.gif", GifWriter::animated(QSize(300, 150), {5, 50}));
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    const UploadRequest request = manager->uploadFileMessage(path);
    QCOMPARE(int(request.getFileType()), int(FileMessage::MsgFileType_Gif));
    const FileMessage message = request.getFileMessage();
    QCOMPARE(int(message.getFileType()), int(FileMessage::MsgFileType_Gif));
    QCOMPARE(message.getFilePath(), path);
    QCOMPARE(message.getFileName(), QString("wave.gif"));
    QCOMPARE(message.getFileSize(), QFileInfo(path).size());
    QCOMPARE(message.getImageSize(), QSize(300, 150));
    QCOMPARE(QFileInfo(request.getThumbnailPath()).fileName(), QString("thumbnail_wave.gif.png"));
    QCOMPARE(QImage(request.getThumbnailPath()).size(), QSize(256, 128));
    QVERIFY(done.wait(5000));
    QCOMPARE(done.first().at(0).toString(), path);
    QVERIFY(!done.first().at(3).toString().isEmpty());
}

void TestUploads::existingFileIsNotUploaded()
{
    const QByteArray content = "kept already";
    const QString path = makeFile("kept.txt", content);
    host->addExisting(sha1(content), "id-7", "https://files.example/id-7", QString());
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    manager->uploadFileMessage(path);
    QVERIFY(done.wait(5000));
    QCOMPARE(done.first(), QVariantList({path, "id-7", "https://files.example/id-7", QString()}));
    QTest::qWait(100);
    QCOMPARE(service.requests().size(), 1);
    QCOMPARE(service.requests().first().path, QString("file_exists/"));
}

void TestUploads::uploadsRunInOrder()
{
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << makeFile(QStringLiteral("order%1.txt").arg(i),
                          QByteArray("content ") + char('a' + i));
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    const QList<UploadRequest> requests = manager->uploadFileMessages(paths);
    QCOMPARE(requests.size(), 3);
    // Only the first existence check is on its way.
    QCOMPARE(manager->queuedCount(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 3, 10000);

    QStringList seen;
    for (const FakeRequest& request : service.requests()) {
        if (request.path == "file_exists/")
            seen << "check:" + request.json().value("FileName").toString();
        else
            seen << "form:" + QString(FakeFileHost::parseMultipart(request).at(1).fileName);
    }
    QCOMPARE(seen, QStringList({"check:order0.txt", "form:order0.txt", "check:order1.txt",
                                "form:order1.txt", "check:order2.txt", "form:order2.txt"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(done.at(i).first().toString(), paths.at(i));
}

void TestUploads::uploadFileDefaultsToStaticPath()
{
    const QString path = makeFile("avatar.txt", "static content");
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    manager->uploadFile(path);
    QVERIFY(done.wait(5000));
    QCOMPARE(service.requests().last().path, QString("upload_static_file"));
}

void TestUploads::failures_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("check answer not JSON")
        << "file_exists/" << 200 << QByteArray("<html>") << 110 << "_uploadFailed";
    QTest::newRow("check refused")
        << "file_exists/" << 200 << QByteArray(R"({"ResultCode":403,"ResultMessage":"denied"})")
        << 403 << "denied";
    QTest::newRow("Persian refusal")
        << "file_exists/" << 200
        << QStringLiteral(R"({"ResultCode":413,"ResultMessage":"حجم فایل زیاد است"})").toUtf8()
        << 413 << QStringLiteral("حجم فایل زیاد است");
    QTest::newRow("upload without URL")
        << "upload_file" << 200
        << QByteArray(R"({"ResultCode":200,"ResultMessage":"no url","FileId":"x"})") << 200
        << "no url";
    QTest::newRow("upload answer empty")
        << "upload_file" << 200 << QByteArray() << 110 << "_uploadFailed";
    QTest::newRow("server error status")
        << "file_exists/" << 500 << QByteArray("oops") << 110 << "_uploadNetworkError";
}

void TestUploads::failures()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(int, code);
    QFETCH(QString, message);
    service.enqueueReply(path, FakeReply::raw(body, status, "application/json"));
    const QString failing = makeFile("failing.txt", QByteArray("fails ") + QTest::currentDataTag());
    const QString next = makeFile("next.txt", QByteArray("next ") + QTest::currentDataTag());
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy failed(manager, &UploadManager::uploadFailed);
    QSignalSpy done(manager, &UploadManager::uploadDone);
    QSignalSpy toast(manager, &UploadManager::showToastMessage);
    manager->uploadFileMessages({failing, next});
    QVERIFY(done.wait(5000));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first(), QVariantList({failing, code, message}));
    QCOMPARE(toast.first().first().toString(), message);
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().first().toString(), next);
}

void TestUploads::unreadableFileFailsAtOnce()
{
    const QString missing = dir.filePath("missing.txt");
    const QString locked = makeFile("locked.txt", "secret");
    QFile::setPermissions(locked, QFile::Permissions());
    const bool lockedUnreadable = !QFile(locked).open(QIODevice::ReadOnly);
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy failed(manager, &UploadManager::uploadFailed);
    manager->uploadFileMessage(missing);
    if (lockedUnreadable)
        manager->uploadFileMessage(locked);
    QTRY_COMPARE(failed.size(), lockedUnreadable ? 2 : 1);
    QCOMPARE(failed.first(), QVariantList({missing, 110, "_uploadFailed"}));
    QTest::qWait(50);
    QCOMPARE(service.requests().size(), 0);
}

void TestUploads::hashingLeavesTheCallingThreadFree()
{
    // A named pipe stands for a file that takes long to read: reading it
    // waits until someone writes. Were it hashed on the calling thread,
    // upload() would return only once the watchdog below gave up and wrote.
    const QString pipe = dir.filePath("slow.bin");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    std::atomic<bool> returned{false};
    std::atomic<bool> watchdogWrote{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 200 && !returned; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!returned) {
            watchdogWrote = true;
            QFile writer(pipe);
            if (writer.open(QIODevice::WriteOnly))
                writer.write("late");
        }
    });
    UploadFile uploader;
    QSignalSpy done(&uploader, &UploadFile::UploadDone);
    QSignalSpy failed(&uploader, &UploadFile::UploadFailed);
    uploader.upload(pipe, UploadMode_File, QString());
    const bool blocked = watchdogWrote;
    returned = true;
    watchdog.join();
    QVERIFY2(!blocked, "upload() read the whole file before returning");

    // The content arrives only now; its digest is what the host is asked
    // about, and the host already keeps it.
    const QByteArray content("arrives after upload() returned");
    host->addExisting(sha1(content), "id-pipe", "https://files.example/id-pipe", QString());
    {
        QFile writer(pipe);
        QVERIFY(writer.open(QIODevice::WriteOnly));
        QCOMPARE(writer.write(content), qint64(content.size()));
    }
    QVERIFY(done.wait(10000));
    QVERIFY(failed.isEmpty());
    QCOMPARE(done.first().at(1).toString(), QString("id-pipe"));
    QCOMPARE(service.requests().size(), 1);
    QCOMPARE(service.requests().first().path, QString("file_exists/"));
    QCOMPARE(service.requests().first().json().value("FileHash").toString(), sha1(content));
}

void TestUploads::fileNameIsQuotedBaseName()
{
    QDir(dir.path()).mkpath("sub dir");
    const QString path = makeFile("sub dir/we\"ird;name.txt", "quoted");
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    manager->uploadFileMessage(path);
    QVERIFY(done.wait(5000));
    const QList<FakeFileHost::Part> parts =
        FakeFileHost::parseMultipart(service.requestsFor("upload_file").first());
    QCOMPARE(parts.at(1).disposition,
             QByteArray("form-data; name=\"File\"; filename=\"we%22ird;name.txt\""));
    QCOMPARE(parts.at(1).body, QByteArray("quoted"));
}

void TestUploads::cancelCurrentAndQueued()
{
    service.enqueueReply("file_exists/", FakeReply::result(200, {{"State", "new"}}).delayed(1500));
    const QString first = makeFile("c1.txt", "cancel one");
    const QString second = makeFile("c2.txt", "cancel two");
    const QString third = makeFile("c3.txt", "cancel three");
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy done(manager, &UploadManager::uploadDone);
    QSignalSpy failed(manager, &UploadManager::uploadFailed);
    manager->uploadFileMessages({first, second, third});
    QVERIFY(service.waitForRequests(1));

    manager->cancelUpload(dir.filePath("unknown.txt"));
    QCOMPARE(manager->queuedCount(), 2);
    manager->cancelUpload(third);
    QCOMPARE(manager->queuedCount(), 1);
    manager->cancelUpload(first);
    QCOMPARE(manager->getCurrentRequest().getFilePath(), second);

    QVERIFY(done.wait(5000));
    QTest::qWait(1800); // past the cancelled check's answer
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().first().toString(), second);
    QCOMPARE(failed.size(), 0);
    for (const FakeRequest& request : service.requestsFor("file_exists/"))
        QVERIFY(request.json().value("FileName").toString() != "c3.txt");
}

void TestUploads::untrustedHostFails()
{
    FakeWebService stranger(TestCertificates::create("stranger"));
    QVERIFY(stranger.start());
    qputenv("QUORVEL_FILE_HOST_URL", stranger.baseUrl().toUtf8());
    const QString path = makeFile("tls.txt", "tls");
    UploadManager* manager = UploadManager::getInstance();
    QSignalSpy failed(manager, &UploadManager::uploadFailed);
    manager->uploadFileMessage(path);
    QVERIFY(failed.wait(5000));
    qputenv("QUORVEL_FILE_HOST_URL", service.baseUrl().toUtf8());
    QCOMPARE(failed.first(), QVariantList({path, 110, "_uploadNetworkError"}));
    QCOMPARE(stranger.requests().size(), 0);
    QTRY_VERIFY(stranger.failedHandshakes() > 0);
}

QTEST_MAIN(TestUploads)
#include "tst_uploads.moc"
