#include "foundation/desktopopener.h"
#include "foundation/filereader.h"
#include "foundation/logger.h"
#include "foundation/pttplayer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QString appData()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString userDownloads()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}

// Opens the writing end of a FIFO once its reader has opened the other end.
int openFifoWriter(const QString& path)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            return fd;
        QTest::qWait(10);
    }
    return -1;
}

} // namespace

class TestFileIo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QList<QUrl> opened;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        // Nothing is ever launched: the desktop seam records instead.
        DesktopOpener::setHandler([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }

    void cleanupTestCase()
    {
        FileReader::deleteInstance();
        PTTPlayer::deleteInstance();
        DesktopOpener::setHandler({});
    }

    void plainLogAppendsTimeStampedLines()
    {
        {
            Logger net(QStringLiteral("net"));
            QVERIFY(net.isOpen());
            QCOMPARE(net.fileName(), appData() + QStringLiteral("/net.log"));
            net.log(QStringLiteral("up"));
            Logger again(QStringLiteral("net"));
            again << QByteArray("bytes \xc3\xa9") << QStringLiteral("text");
            net.close();
            net.log(QStringLiteral("still open"));
        }
        QFile f(appData() + QStringLiteral("/net.log"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 5);
        const QRegularExpression rx(
            QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d \\| (.*)$"));
        const QStringList texts{QStringLiteral("up"), QStringLiteral("bytes \u00e9"),
                                QStringLiteral("text"), QStringLiteral("still open")};
        for (int i = 0; i < texts.size(); ++i) {
            const auto m = rx.match(lines[i]);
            QVERIFY2(m.hasMatch(), qPrintable(lines[i]));
            QCOMPARE(m.captured(1), texts[i]);
        }
        QCOMPARE(lines.last(), QString());

        Logger none;
        none.log(QStringLiteral("dropped"));
        QVERIFY(!none.isOpen());
        Logger escape(QStringLiteral("../outside"));
        QVERIFY(!escape.isOpen());
        QVERIFY(!QFile::exists(QFileInfo(appData()).absolutePath() + "/outside.log"));
    }

    // Asked-for order, no second read of a current or queued path, empty content
    // for a missing file.
    void readerKeepsOrderWithoutDuplicates()
    {
        FileReader* reader = FileReader::getInstance();
        QSignalSpy spy(reader, &FileReader::fileContentReady);
        const QString a = dir.filePath("a.bin"), b = dir.filePath("b.bin"),
                      missing = dir.filePath("missing.bin");
        QVERIFY(writeFile(a, "alpha"));
        QVERIFY(writeFile(b, QByteArray(1 << 20, 'b')));
        reader->readFile(a);
        reader->readFile(QString());
        reader->readFile(b);
        reader->readFile(a);
        reader->readFile(b);
        reader->readFile(missing);
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(100);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0).at(0).toString(), a);
        QCOMPARE(spy.at(0).at(1).toByteArray(), QByteArray("alpha"));
        QCOMPARE(spy.at(1).at(0).toString(), b);
        QCOMPARE(spy.at(1).at(1).toByteArray(), QByteArray(1 << 20, 'b'));
        QCOMPARE(spy.at(2).at(0).toString(), missing);
        QCOMPARE(spy.at(2).at(1).toByteArray(), QByteArray());

        // Once answered, the same path can be asked for again.
        reader->readFile(a);
        QTRY_COMPARE(spy.count(), 4);
    }

    // A FIFO blocks its reader until a writer comes: the call returns at once and
    // the event loop keeps running while the pool thread waits.
    void readerWorksOffTheCallingThread()
    {
        const QString fifo = dir.filePath("pipe");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        FileReader* reader = FileReader::getInstance();
        QSignalSpy spy(reader, &FileReader::fileContentReady);
        reader->readFile(fifo);
        const int fd = openFifoWriter(fifo);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "through the pipe", 16), ssize_t(16));
        ::close(fd);
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(1).toByteArray(), QByteArray("through the pipe"));
    }

    // Deleting the reader while a read runs drops that read's result.
    void deleteDuringReadDropsTheResult()
    {
        const QString fifo = dir.filePath("pipe2");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        FileReader* reader = FileReader::getInstance();
        int signals_ = 0;
        connect(reader, &FileReader::fileContentReady, this, [&signals_]() { ++signals_; });
        reader->readFile(fifo);
        const int fd = openFifoWriter(fifo);
        QVERIFY(fd >= 0);
        FileReader::deleteInstance();
        QCOMPARE(::write(fd, "late", 4), ssize_t(4));
        ::close(fd);
        QTest::qWait(200);
        QCOMPARE(signals_, 0);
        QVERIFY(FileReader::getInstance() != nullptr);
    }

    void playerOpensOnlyOwnAudioFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("played");
        const QString ptt = appData() + "/Downloads/Push To Talk/";
        QTest::newRow("voice clip") << ptt + "voice_1.ogg" << true;
        QTest::newRow("upper-case extension") << appData() + "/Downloads/Others/a.MP3" << true;
        QTest::newRow("downloads root") << appData() + "/Downloads/b.opus" << true;
        QTest::newRow("user downloads") << userDownloads() + "/Quorvel Downloads/c.m4a" << true;
        QTest::newRow("not audio") << ptt + "notes.txt" << false;
        QTest::newRow("program") << ptt + "run.sh" << false;
        QTest::newRow("no extension") << ptt + "voice" << false;
        QTest::newRow("outside") << dir.filePath("elsewhere/voice.ogg") << false;
        QTest::newRow("user downloads root") << userDownloads() + "/d.ogg" << false;
        QTest::newRow("dot-dot out") << ptt + "../../e.ogg" << false;
        QTest::newRow("look-alike folder") << appData() + "/DownloadsX/f.ogg" << false;
        QTest::newRow("link out") << ptt + "link.ogg" << false;
        QTest::newRow("missing") << ptt + "gone.ogg" << false;
        QTest::newRow("empty") << QString() << false;
    }

    void playerOpensOnlyOwnAudioFiles()
    {
        QFETCH(QString, path);
        QFETCH(bool, played);
        const QString ptt = appData() + "/Downloads/Push To Talk/";
        for (const QString& p :
             {ptt + "voice_1.ogg", appData() + "/Downloads/Others/a.MP3",
              appData() + "/Downloads/b.opus", userDownloads() + "/Quorvel Downloads/c.m4a",
              ptt + "notes.txt", ptt + "run.sh", ptt + "voice", dir.filePath("elsewhere/voice.ogg"),
              userDownloads() + "/d.ogg", appData() + "/e.ogg", appData() + "/DownloadsX/f.ogg"})
            QVERIFY(writeFile(p, "data"));
        QFile::link(dir.filePath("elsewhere/voice.ogg"), ptt + "link.ogg");

        opened.clear();
        PTTPlayer* player = PTTPlayer::getInstance();
        QCOMPARE(player->play(path), played);
        if (played)
            QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath())});
        else
            QVERIFY(opened.isEmpty());
        player->pause(path); // has no effect and no signal
    }
};

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
