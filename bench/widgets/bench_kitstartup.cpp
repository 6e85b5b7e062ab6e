// Start-up cost of the widget kit: registering the fonts, loading the style
// sheet and the Persian catalogue, and building and first painting the kit
// gallery, beside a bare QApplication that paints one QLabel. Each start is a
// fresh process (fonts and the pixmap cache are per process); the program
// runs itself in both roles several times and prints the medians and ratio.

#include "benchload.h"
#include "kitgallery.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTextStream>
#include <QTranslator>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
QElapsedTimer clock_;

double ms()
{
    return clock_.nsecsElapsed() / 1e6;
}

int runBare(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const double created = ms();
    QLabel label(QStringLiteral("Quorvel"));
    label.show();
    label.grab();
    std::printf("bare %.3f %.3f\n", created, ms());
    return 0;
}

int runKit(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const double created = ms();
    Fonts::getInstance();
    const double fonts = ms();
    QFile sheet(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    if (sheet.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    const double style = ms();
    QTranslator translator;
    if (translator.load(QStringLiteral(":/Lng/quorvel_persian.qm")))
        QCoreApplication::installTranslator(&translator);
    const double catalogue = ms();
    QApplication::setFont(Fonts::getFont(baseFontSize));
    initInterfaceScaleWith(100, 96);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    KitGallery gallery;
    gallery.show();
    gallery.grab();
    std::printf("kit %.3f %.3f %.3f %.3f %.3f\n", created, fonts, style, catalogue, ms());
    return 0;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}
} // namespace

int main(int argc, char* argv[])
{
    clock_.start();
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return runBare(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--kit") == 0)
        return runKit(argc, argv);

    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    const int runs = 7;
    QList<double> bare, kit, fonts, style, catalogue, gallery;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (int i = 0; i < runs * 2; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {i % 2 == 0 ? QStringLiteral("--bare") : QStringLiteral("--kit")});
        if (!child.waitForFinished(120000) || child.exitCode() != 0) {
            std::fprintf(stderr, "a start failed\n");
            return 1;
        }
        const QStringList fields =
            QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
        if (fields.first() == QStringLiteral("bare") && fields.size() == 3) {
            bare << fields.at(2).toDouble();
        } else if (fields.first() == QStringLiteral("kit") && fields.size() == 6) {
            fonts << fields.at(2).toDouble() - fields.at(1).toDouble();
            style << fields.at(3).toDouble() - fields.at(2).toDouble();
            catalogue << fields.at(4).toDouble() - fields.at(3).toDouble();
            gallery << fields.at(5).toDouble() - fields.at(4).toDouble();
            kit << fields.at(5).toDouble();
        }
    }
    QTextStream out(stdout);
    out << "Kit start-up, median of " << runs << " fresh processes each (ms, offscreen)\n";
    out << "  bare QApplication + one QLabel, first paint: " << median(bare) << "\n";
    out << "  kit start to first paint of the gallery:     " << median(kit) << "\n";
    out << "    registering the fonts and the height table: " << median(fonts) << "\n";
    out << "    loading the style sheet:                    " << median(style) << "\n";
    out << "    loading the Persian catalogue:              " << median(catalogue) << "\n";
    out << "    building and painting the gallery:          " << median(gallery) << "\n";
    out << "  ratio kit / bare: " << (median(bare) > 0 ? median(kit) / median(bare) : 0) << "\n";
    printLoadAverage("end");
    return 0;
}
