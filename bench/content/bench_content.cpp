// Message content costs on the GUI thread, each beside plain Qt doing the same
// work in the same run:
//  1. first opening of the emoji picker (build, fill every page, first paint)
//     beside a widget of plain QLabels showing the same pictures;
//  2. a 12-megapixel JPEG already on disk becoming its bubble: the process's
//     CPU time (every thread) and the wall time until the picture is shown,
//     beside plain Qt doing the same: QImageReader decoding the file at the
//     bubble's size on Qt's thread pool and a QLabel showing it;
//  3. 20 GIF bubbles playing on one board for a few seconds: GUI-thread CPU
//     time beside 20 QLabels playing the same file with QMovie.
// Run offscreen: QT_QPA_PLATFORM=offscreen ./bench_content

#include "benchload.h"
#include "chat/content/emojibuttonspanel.h"
#include "chat/content/emojiwidget.h"
#include "chat/content/thumbnail.h"
#include "gifwriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double cpuMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double threadCpuMs()
{
    return cpuMs(CLOCK_THREAD_CPUTIME_ID);
}

double processCpuMs()
{
    return cpuMs(CLOCK_PROCESS_CPUTIME_ID);
}

// Plain Qt: the file decoded at the given size on Qt's thread pool, then
// shown in a label.
bool plainScaledPicture(const QString& path, const QSize& size)
{
    QLabel label;
    QEventLoop loop;
    QImage decoded;
    QThreadPool::globalInstance()->start([&] {
        QImageReader reader(path);
        reader.setScaledSize(size);
        const QImage image = reader.read();
        QMetaObject::invokeMethod(&loop, [&, image] {
            decoded = image;
            loop.quit();
        });
    });
    loop.exec();
    label.setPixmap(QPixmap::fromImage(decoded));
    label.show();
    label.repaint();
    return !decoded.isNull() && decoded.size() == size;
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void report(const char* what, double ours, double raw)
{
    std::printf("%-46s quorvel %9.2f ms   qt %9.2f ms   ratio %6.2f\n", what, ours, raw,
                raw > 0 ? ours / raw : 0.0);
}

void emojiPicker()
{
    QWidget anchor;
    anchor.resize(400, 600);
    anchor.show();
    QElapsedTimer timer;
    timer.start();
    EmojiWidget* picker = EmojiWidget::getInstance();
    picker->open(&anchor, &anchor);
    picker->grab();
    const double ours = timer.nsecsElapsed() / 1e6;
    picker->close();

    timer.restart();
    QWidget plain;
    QGridLayout* grid = new QGridLayout(&plain);
    int cell = 0;
    for (const QString& name :
         EmojiButtonsPanel::readList(QStringLiteral(":/emojis/categories/categories.txt"))) {
        for (const QString& code : EmojiButtonsPanel::readList(
                 QStringLiteral(":/emojis/categories/") + name + QStringLiteral(".txt"))) {
            QLabel* label = new QLabel;
            label->setPixmap(
                QPixmap(QStringLiteral(":/emojis/png_large/") + code + QStringLiteral(".png")));
            grid->addWidget(label, cell / 8, cell % 8);
            ++cell;
        }
    }
    plain.show();
    plain.grab();
    const double raw = timer.nsecsElapsed() / 1e6;
    report("emoji picker, first open (wall)", ours, raw);
    EmojiWidget::deleteInstance();
}

void bigJpeg(const QString& folder)
{
    QImage picture(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qRgb((x * 7) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255);
    }
    const QString path = folder + QStringLiteral("/big.jpg");
    picture.save(path, "JPEG", 90);

    FileMessage message;
    message.setFileType(FileMessage::MsgFileType_Image);
    message.setFileName(QStringLiteral("big.jpg"));
    message.setFilePath(path);
    message.setFileSize(QFile(path).size());
    message.setImageSize(QSize(4000, 3000));
    // The size the bubble decodes at: the picture fitted into its box.
    QSize shownSize;
    {
        Thumbnail sizing(nullptr, false);
        sizing.setFileMessage(message);
        shownSize = QSize(4000, 3000).scaled(sizing.size(), Qt::KeepAspectRatio);
    }

    double rawCpu = 0, oursCpu = 0, rawWall = 0, oursWall = 0;
    const int rounds = 3;
    for (int round = 0; round < rounds; ++round) {
        // The two take turns, so that both meet the same load.
        QElapsedTimer timer;
        timer.start();
        double start = processCpuMs();
        if (!plainScaledPicture(path, shownSize))
            std::printf("the JPEG did not decode at %dx%d\n", shownSize.width(),
                        shownSize.height());
        rawCpu += processCpuMs() - start;
        rawWall += timer.nsecsElapsed() / 1e6;

        timer.restart();
        start = processCpuMs();
        Thumbnail bubble(nullptr, false);
        QEventLoop loop;
        QObject::connect(&bubble, &Thumbnail::fullImageShown, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        bubble.setFileMessage(message);
        bubble.show();
        loop.exec();
        bubble.repaint();
        if (!bubble.hasFullImage())
            std::printf("the bubble never showed its picture\n");
        oursCpu += processCpuMs() - start;
        oursWall += timer.nsecsElapsed() / 1e6;
    }
    std::printf("12 MP JPEG shown at %dx%d, decoded off the GUI thread on both sides\n",
                shownSize.width(), shownSize.height());
    report("12 MP JPEG to bubble (process CPU)", oursCpu / rounds, rawCpu / rounds);
    report("12 MP JPEG to bubble (wall)", oursWall / rounds, rawWall / rounds);
}

void gifBoard(const QString& folder)
{
    const QString path = folder + QStringLiteral("/anim.gif");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(GifWriter::animated(QSize(200, 150), {5, 25, 45, 65, 85, 105}, 4));
    file.close();
    const int count = 20;
    const int playMs = 3000;

    QWidget board;
    QGridLayout* grid = new QGridLayout(&board);
    QList<Thumbnail*> bubbles;
    for (int i = 0; i < count; ++i) {
        FileMessage message;
        message.setFileType(FileMessage::MsgFileType_Gif);
        message.setFileName(QStringLiteral("anim.gif"));
        message.setFilePath(path);
        message.setFileSize(file.size());
        message.setImageSize(QSize(200, 150));
        Thumbnail* bubble = new Thumbnail(nullptr, false);
        bubble->setFileMessage(message);
        grid->addWidget(bubble, i / 5, i % 5);
        bubbles << bubble;
    }
    board.show();
    QElapsedTimer wait;
    wait.start();
    for (Thumbnail* bubble : bubbles)
        while (!bubble->movie() && wait.elapsed() < 10000)
            runFor(10);
    double start = threadCpuMs();
    runFor(playMs);
    const double ours = threadCpuMs() - start;
    board.hide();

    // The labels play the file at the size the bubbles play it.
    const QSize played =
        bubbles.first()->movie() ? bubbles.first()->movie()->scaledSize() : QSize(200, 150);
    QWidget plain;
    QGridLayout* plainGrid = new QGridLayout(&plain);
    for (int i = 0; i < count; ++i) {
        QLabel* label = new QLabel;
        QMovie* movie = new QMovie(path, QByteArray(), label);
        movie->setScaledSize(played);
        label->setMovie(movie);
        movie->start();
        plainGrid->addWidget(label, i / 5, i % 5);
    }
    plain.show();
    start = threadCpuMs();
    runFor(playMs);
    const double raw = threadCpuMs() - start;
    std::printf("20 GIFs of 200x150 played at %dx%d on both sides\n", played.width(),
                played.height());
    report("20 GIF bubbles playing 3 s (GUI-thread CPU)", ours, raw);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    printLoadAverage("start");
    QTemporaryDir folder;
    emojiPicker();
    bigJpeg(folder.path());
    gifBoard(folder.path());
    printLoadAverage("end");
    return 0;
}
