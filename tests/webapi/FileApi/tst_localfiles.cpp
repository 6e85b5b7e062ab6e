// Local names and files of downloads: names from URLs, ids, peers' file names
// and server headers never leave their folder, never replace another file,
// and files appear only whole. Also the folder layout and the blur.

#include "webapi/FileApi/localfiles.h"
#include "webapi/FileApi/staticfile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QtTest>

class TestLocalFiles : public QObject
{
    Q_OBJECT
private slots:
    void safeFileName_data();
    void safeFileName();
    void generatedNamesStayInFolder_data();
    void generatedNamesStayInFolder();
    void folders();
    void extensions_data();
    void extensions();
    void nameWithoutExtensionFindsKeptFile();
    void peersFileNameNeverOverwrites();
    void writeNewFileNeverReplaces();
    void placeCopyNeverReplaces();
    void contentDispositionFileName_data();
    void contentDispositionFileName();
    void blurSmoothsEdges();
};

void TestLocalFiles::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "photo.jpg"
                           << "photo.jpg";
    QTest::newRow("parent") << ".."
                            << "file";
    QTest::newRow("dot") << "."
                         << "file";
    QTest::newRow("empty") << ""
                           << "file";
    QTest::newRow("slash") << "/"
                           << "file";
    QTest::newRow("climbing") << "../../etc/passwd"
                              << "passwd";
    QTest::newRow("backslashes") << "..\\..\\boot.ini"
                                 << "boot.ini";
    QTest::newRow("hidden") << ".bashrc"
                            << "bashrc";
    QTest::newRow("trailing dots") << "name. . "
                                   << "name";
    QTest::newRow("control and reserved") << QString("a\nb<c>:d|e?*f\"g") << "abcdefg";
    QTest::newRow("unicode kept") << QString::fromUtf8("عکس ۱.png")
                                  << QString::fromUtf8("عکس ۱.png");
}

void TestLocalFiles::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(LocalFiles::safeFileName(name), expected);
}

void TestLocalFiles::generatedNamesStayInFolder_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("id");
    QTest::newRow("url parent") << "https://h/files/.."
                                << "";
    QTest::newRow("encoded climb") << "https://h/files/..%2F..%2Fescape.sh"
                                   << "";
    QTest::newRow("no name") << "https://h/"
                             << "";
    QTest::newRow("id climbs") << "https://h/files/x"
                               << "../../../x";
    QTest::newRow("id absolute") << "https://h/files/x"
                                 << "/etc/passwd";
    QTest::newRow("id dots") << "https://h/files/x"
                             << "..";
}

void TestLocalFiles::generatedNamesStayInFolder()
{
    QFETCH(QString, url);
    QFETCH(QString, id);
    const QString folder = StaticFile::getDownloadDir(StaticFile::Others).absolutePath();
    const QFileInfo info(StaticFile::generateFileName(url, id, StaticFile::Others));
    QCOMPARE(info.absolutePath(), folder);
    QVERIFY(!info.fileName().isEmpty());
    QVERIFY(!info.fileName().startsWith('.'));
}

void TestLocalFiles::folders()
{
    const QString data = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation).first();
    const QString downloads =
        QStandardPaths::standardLocations(QStandardPaths::DownloadLocation).first();
    QCOMPARE(StaticFile::getDownloadDir(StaticFile::Downloads).absolutePath(),
             QDir(downloads).absoluteFilePath("Quorvel Downloads"));
    QCOMPARE(StaticFile::getDownloadDir(StaticFile::Stickers).absolutePath(),
             QDir(data).absoluteFilePath("Downloads/Stickers"));
    QCOMPARE(StaticFile::getDownloadDir(StaticFile::MessageThumbnails).absolutePath(),
             QDir(data).absoluteFilePath("Downloads/Message Thumbnails"));
    QCOMPARE(StaticFile::getDownloadDir(StaticFile::StoragePath(9)).absolutePath(),
             QDir(data).absoluteFilePath("Downloads/Others"));
    QVERIFY(QDir(data).exists("Downloads/Push To Talk") ||
            StaticFile::getDownloadDir(StaticFile::PushToTalk).exists());
}

void TestLocalFiles::extensions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");
    QTest::newRow("one") << "a.png"
                         << ".png";
    QTest::newRow("two") << "a.tar.gz"
                         << ".gz";
    QTest::newRow("none") << "abc"
                          << "";
    QTest::newRow("leading dot only") << ".png"
                                      << "";
    QTest::newRow("trailing dot") << "a."
                                  << "";
}

void TestLocalFiles::extensions()
{
    QFETCH(QString, name);
    QFETCH(QString, extension);
    QCOMPARE(StaticFile::extractFileExtention(name), extension);
}

void TestLocalFiles::nameWithoutExtensionFindsKeptFile()
{
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Others);
    QFile kept(dir.filePath("abc123.pdf"));
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.close();
    // A left-over part of an unfinished download is never taken for the file.
    QFile partial(dir.filePath(QString(LocalFiles::kPartialPrefix) + "abc999"));
    QVERIFY(partial.open(QIODevice::WriteOnly));
    partial.close();
    QCOMPARE(StaticFile::generateFileName("https://h/files/x", "abc123", StaticFile::Others),
             dir.filePath("abc123.pdf"));
    QCOMPARE(StaticFile::generateFileName("https://h/files/x", "abc999", StaticFile::Others),
             dir.filePath("abc999"));
    QVERIFY(!StaticFile().fileExists("https://h/files/x", "abc999", StaticFile::Others));
    QCOMPARE(StaticFile::generateFileName("https://h/files/t/thumbnail", "abc", StaticFile::Others),
             dir.filePath("abcthumbnail"));
}

void TestLocalFiles::peersFileNameNeverOverwrites()
{
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Downloads);
    QFile existing(dir.filePath("report.pdf"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();

    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Other);
    message.setFileName("../../report.pdf");
    message.setFileUrl("https://h/files/id1");
    QCOMPARE(StaticFile::generateDownloadedFileName(message, StaticFile::Downloads),
             dir.filePath("report (1).pdf"));

    // Place markers in a peer's name are kept as they are.
    QFile marked(dir.filePath("a%1.pdf"));
    QVERIFY(marked.open(QIODevice::WriteOnly));
    marked.close();
    message.setFileName("a%1.pdf");
    QCOMPARE(StaticFile::generateDownloadedFileName(message, StaticFile::Downloads),
             dir.filePath("a%1 (1).pdf"));
    QVERIFY(marked.remove());

    message.setFileName(QString());
    const QString generated =
        StaticFile::generateDownloadedFileName(message, StaticFile::Downloads);
    QVERIFY(QFileInfo(generated).fileName().startsWith("file_"));

    message.setFileType(FileMessage::MsgFileType_Image);
    message.setFileUrl("https://h/files/pic.jpeg");
    const QString image = StaticFile::generateDownloadedFileName(message, StaticFile::Downloads);
    QVERIFY(QFileInfo(image).fileName().startsWith("image_"));
    QVERIFY(image.endsWith(".jpeg"));
    QCOMPARE(QFileInfo(image).absolutePath(), dir.absolutePath());
}

void TestLocalFiles::writeNewFileNeverReplaces()
{
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Others);
    const QString path = dir.filePath("write-new.bin");
    QVERIFY(LocalFiles::writeNewFile(path, "first"));
    QVERIFY(!LocalFiles::writeNewFile(path, "second"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("first"));
    QCOMPARE(dir.entryList({QString(LocalFiles::kPartialPrefix) + "*"}, QDir::Files | QDir::Hidden)
                 .filter("write"),
             QStringList());
}

void TestLocalFiles::placeCopyNeverReplaces()
{
    const QDir dir = StaticFile::getDownloadDir(StaticFile::Others);
    const QString source = dir.filePath("copy-source.bin");
    QVERIFY(LocalFiles::writeNewFile(source, "payload"));
    QVERIFY(LocalFiles::placeCopy(source, dir.filePath("copy-a.bin")));
    QVERIFY(LocalFiles::writeNewFile(dir.filePath("copy-b.bin"), "other"));
    QVERIFY(!LocalFiles::placeCopy(source, dir.filePath("copy-b.bin")));
    QFile b(dir.filePath("copy-b.bin"));
    QVERIFY(b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), QByteArray("other"));
    QFile a(dir.filePath("copy-a.bin"));
    QVERIFY(a.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), QByteArray("payload"));
}

void TestLocalFiles::contentDispositionFileName_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("name");
    QTest::newRow("quoted") << "attachment; filename=\"a b.pdf\""
                            << "a b.pdf";
    QTest::newRow("token") << "attachment; filename=a.pdf; size=3"
                           << "a.pdf";
    QTest::newRow("no name") << "inline"
                             << "";
    QTest::newRow("extended only") << "attachment; filename*=UTF-8''x.pdf"
                                   << "";
}

void TestLocalFiles::contentDispositionFileName()
{
    QFETCH(QString, header);
    QFETCH(QString, name);
    QCOMPARE(StaticFile::contentDispositionFileName(header), name);
}

void TestLocalFiles::blurSmoothsEdges()
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (int y = 0; y < 64; ++y)
        for (int x = 32; x < 64; ++x)
            image.setPixel(x, y, qRgb(255, 255, 255));
    const QImage blurred = StaticFile::blurImage(image);
    QCOMPARE(blurred.size(), image.size());
    const int nearEdge = qRed(blurred.pixel(31, 32));
    QVERIFY2(nearEdge > 40 && nearEdge < 215, qPrintable(QString::number(nearEdge)));
    QCOMPARE(qRed(blurred.pixel(0, 0)), 0);
    QCOMPARE(qRed(blurred.pixel(63, 63)), 255);
    QCOMPARE(StaticFile::blurPixmap(QPixmap::fromImage(image)).size(), QSize(64, 64));
}

QTEST_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
