// A 100 MB download from the fake file host on loopback (HTTPS, certificate
// checked), through the download queue onto disk, beside plain
// QNetworkAccessManager downloads of the same file in the same run: time and
// growth of the process's resident memory (peak and current, from
// /proc/self/status; the peak is reset before each run).
//
// Usage: bench_files [megabytes]   (default 100)

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100;
    const qint64 size = megabytes * 1024 * 1024;

    if (TestCertificates::trustSharedCa().isEmpty()) {
        std::fprintf(stderr, "cannot make the test certificates\n");
        return 1;
    }
    ServiceConfig::installExtraCaCertificates();
    FakeWebService service;
    if (!service.start())
        return 1;
    FakeFileHost host(&service);
    host.addGeneratedFile(QStringLiteral("big.bin"), size);
    const QUrl url(host.fileUrl(QStringLiteral("big.bin")));
    QTemporaryDir folder;
    Downloader::setStallTimeout(60000);

    QList<Result> results;

    results << measure(QStringLiteral("plain QNAM, readAll at the end"), [&](Result* r) {
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

    results << measure(QStringLiteral("plain QNAM, streamed to a file"), [&](Result* r) {
        QNetworkAccessManager manager;
        QFile file(folder.filePath(QStringLiteral("plain.bin")));
        file.open(QIODevice::WriteOnly);
        QNetworkReply* reply = manager.get(QNetworkRequest(url));
        reply->setReadBufferSize(256 * 1024);
        bool done = false;
        QObject::connect(reply, &QNetworkReply::readyRead, [&] { file.write(reply->readAll()); });
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

    results << measure(QStringLiteral("DownloadManager, kept on disk"), [&](Result* r) {
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

    std::printf("download of %lld MB over HTTPS on loopback\n", megabytes);
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
    bool allOk = true;
    for (const Result& r : results)
        allOk = allOk && r.ok;
    return allOk ? 0 : 1;
}
