// A 100 MB download from the fake file host on loopback (HTTPS, certificate
// checked), through the download queue onto disk, beside plain
// QNetworkAccessManager downloads of the same file in the same run: time and
// growth of the process's resident memory (peak and current, from
// /proc/self/status; the peak is reset before each run). Each download runs
// in a process of its own, started by this one, which serves the file: no
// side inherits the heap, caches or libraries another one warmed.
//
// Usage: bench_files [megabytes]   (default 100)

#include "benchload.h"
#include "fakefilehost.h"
#include "fakewebservice.h"
#include "foundation/serviceconfig.h"
#include "testcertificates.h"
#include "webapi/FileApi/downloader.h"
#include "webapi/FileApi/downloadmanager.h"
#include "webapi/FileApi/localfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

qint64 statusKb(const char* field)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void resetPeak()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

struct Result
{
    QString name;
    qint64 msecs = 0;
    qint64 peakGrowthKb = 0;
    qint64 rssGrowthKb = 0;
    qint64 bytes = 0;
    bool ok = false;
};

bool verifyFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != size)
        return false;
    for (qint64 offset : {qint64(0), qint64(12345), size / 2, size - 1}) {
        file.seek(offset);
        char c = 0;
        if (!file.getChar(&c) || c != FakeFileHost::generatedByte(offset))
            return false;
    }
    return true;
}

template <typename Run> Result measure(const QString& name, Run run)
{
    resetPeak();
    const qint64 rss0 = statusKb("VmRSS:");
    const qint64 peak0 = statusKb("VmHWM:");
    QElapsedTimer timer;
    timer.start();
    Result result;
    result.name = name;
    result.ok = run(&result);
    result.msecs = timer.elapsed();
    result.peakGrowthKb = statusKb("VmHWM:") - qMax(peak0, rss0);
    result.rssGrowthKb = statusKb("VmRSS:") - rss0;
    return result;
}

void waitFor(bool* done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (*done)
            loop.quit();
    });
    poll.start(5);
    loop.exec();
}

const char* const kSides[] = {"readall", "streamed", "manager"};

// One download in this process; prints its figures as one line.
int runSide(const QByteArray& side, const QUrl& url, qint64 size)
{
    ServiceConfig::installExtraCaCertificates();
    QTemporaryDir folder;
    Downloader::setStallTimeout(60000);
    Result result;
    if (side == "readall") {
        result = measure(QStringLiteral("plain QNAM, readAll at the end"), [&](Result* r) {
            QNetworkAccessManager manager;
            QNetworkReply* reply = manager.get(QNetworkRequest(url));
            bool done = false;
            QObject::connect(reply, &QNetworkReply::finished, [&] { done = true; });
            waitFor(&done);
            const QByteArray body = reply->readAll();
            r->bytes = body.size();
            reply->deleteLater();
            return reply->error() == QNetworkReply::NoError && body.size() == size;
        });
    } else if (side == "streamed") {
        result = measure(QStringLiteral("plain QNAM, streamed to a file"), [&](Result* r) {
            QNetworkAccessManager manager;
            QFile file(folder.filePath(QStringLiteral("plain.bin")));
            file.open(QIODevice::WriteOnly);
            QNetworkReply* reply = manager.get(QNetworkRequest(url));
            reply->setReadBufferSize(256 * 1024);
            bool done = false;
            QObject::connect(reply, &QNetworkReply::readyRead,
                             [&] { file.write(reply->readAll()); });
            QObject::connect(reply, &QNetworkReply::finished, [&] {
                file.write(reply->readAll());
                done = true;
            });
            waitFor(&done);
            file.close();
            r->bytes = QFileInfo(file.fileName()).size();
            reply->deleteLater();
            return reply->error() == QNetworkReply::NoError && verifyFile(file.fileName(), size);
        });
    } else {
        result = measure(QStringLiteral("DownloadManager, kept on disk"), [&](Result* r) {
            DownloadManager* manager = DownloadManager::getInstance();
            const QString target = folder.filePath(QStringLiteral("kept.bin"));
            bool done = false;
            bool placed = false;
            QObject::connect(manager, &DownloadManager::downloadSavedToFile,
                             [&](const QString&, const QString&, const QString& spool) {
                                 placed = LocalFiles::placeCopy(spool, target);
                                 done = true;
                             });
            QObject::connect(manager, &DownloadManager::downloadCanceled, [&] { done = true; });
            QNetworkRequest request(url);
            request.setAttribute(Downloader::SpoolFolderAttribute, folder.path());
            manager->startDownload(request);
            waitFor(&done);
            r->bytes = QFileInfo(target).size();
            return placed && verifyFile(target, size);
        });
    }
    std::printf("%lld %lld %lld %lld %d %s\n", result.msecs, result.peakGrowthKb,
                result.rssGrowthKb, result.bytes, result.ok ? 1 : 0, qPrintable(result.name));
    return result.ok ? 0 : 1;
}

// Runs one side in a child process while this one keeps serving the file.
Result runChild(const char* side, const QUrl& url, qint64 megabytes)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bool done = false;
    QObject::connect(&child, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished),
                     [&] { done = true; });
    QObject::connect(&child, &QProcess::errorOccurred, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            done = true;
    });
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--side"), QString::fromLatin1(side), url.toString(),
                 QString::number(megabytes)});
    waitFor(&done);
    Result result;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    result.name = QString::fromLatin1(side);
    if (fields.size() < 6)
        return result;
    result.msecs = fields[0].toLongLong();
    result.peakGrowthKb = fields[1].toLongLong();
    result.rssGrowthKb = fields[2].toLongLong();
    result.bytes = fields[3].toLongLong();
    result.ok = fields[4] == "1";
    result.name = QString::fromUtf8(fields.mid(5).join(' '));
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && QByteArray(argv[1]) == "--side")
        return runSide(argv[2], QUrl(QString::fromUtf8(argv[3])),
                       QByteArray(argv[4]).toLongLong() * 1024 * 1024);
    printLoadAverage("start");
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    const qint64 size = megabytes * 1024 * 1024;

    if (TestCertificates::trustSharedCa().isEmpty()) {
        std::fprintf(stderr, "cannot make the test certificates\n");
        return 1;
    }
    FakeWebService service;
    if (!service.start())
        return 1;
    FakeFileHost host(&service);
    host.addGeneratedFile(QStringLiteral("big.bin"), size);
    const QUrl url(host.fileUrl(QStringLiteral("big.bin")));

    QList<Result> results;
    for (const char* side : kSides)
        results << runChild(side, url, megabytes);

    std::printf("download of %lld MB over HTTPS on loopback, each run in its own process\n",
                megabytes);
    std::printf("%-34s %9s %14s %14s %6s\n", "run", "ms", "peak RSS +KB", "RSS after +KB", "ok");
    for (const Result& r : results)
        std::printf("%-34s %9lld %14lld %14lld %6s\n", qPrintable(r.name), r.msecs, r.peakGrowthKb,
                    r.rssGrowthKb, r.ok ? "yes" : "NO");
    const Result& plain = results.at(1);
    const Result& ours = results.at(2);
    std::printf("time ratio (DownloadManager / plain streamed): %.2f\n",
                plain.msecs > 0 ? double(ours.msecs) / double(plain.msecs) : 0.0);
    std::printf("peak memory growth of DownloadManager: %.1f%% of the file size\n",
                100.0 * double(ours.peakGrowthKb) / double(size / 1024));
    printLoadAverage("end");
    bool allOk = true;
    for (const Result& r : results)
        allOk = allOk && r.ok;
    return allOk ? 0 : 1;
}
