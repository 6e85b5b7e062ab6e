// Build-time generator of the program's pictures and resource lists. It runs on the
// offscreen platform, so it needs no display.
#include "artwork.h"
#include "catalogue.h"
#include "iconrenderer.h"
#include "qrcwriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

void fail(const QString& message)
{
    std::fprintf(stderr, "quorvel-resgen: %s\n", qPrintable(message));
}

bool saveImage(const QImage& image, const QString& path, const char* format)
{
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
        return false;
    }
    return true;
}

// File name on disk for a resource name: blanks and brackets become underscores.
QString diskName(const QString& resourceName)
{
    QString name = resourceName;
    for (QChar& c : name)
        if (!c.isLetterOrNumber() && c != QLatin1Char('.') && c != QLatin1Char('_'))
            c = QLatin1Char('_');
    return name;
}

// icons TABLE GLYPH-NAMES ICON-FONT OUTDIR: the icon table, the logo, the application
// icon and the chat background, with OUTDIR/images.qrc listing them.
int icons(const QStringList& args)
{
    if (args.size() != 4) {
        fail(QStringLiteral("usage: icons TABLE GLYPH-NAMES ICON-FONT OUTDIR"));
        return 2;
    }
    const QString outDir = args[3];
    QDir().mkpath(outDir + QStringLiteral("/Images"));
    QString error;
    IconRenderer renderer;
    QVector<IconRenderer::Icon> table;
    if (!IconRenderer::readTable(args[0], &table, &error) ||
        !renderer.loadFont(args[2], args[1], &error)) {
        fail(error);
        return 1;
    }
    QrcWriter qrc;
    for (const IconRenderer::Icon& icon : table) {
        QImage image;
        const QString file = QStringLiteral("Images/") + diskName(icon.resourceName);
        if (!renderer.render(icon, &image, &error)) {
            fail(error);
            return 1;
        }
        if (!saveImage(image, outDir + QLatin1Char('/') + file, "png"))
            return 1;
        qrc.add(QStringLiteral("/Images"), icon.resourceName, file);
    }

    const QString logo = QStringLiteral("Images/QuorvelLogo128.png");
    const QString background = QStringLiteral("Images/img_default_chat_bg.png");
    const QString appIcon = QStringLiteral("myappico.ico");
    if (!saveImage(Artwork::logo(128), outDir + QLatin1Char('/') + logo, "png") ||
        !saveImage(Artwork::chatBackground(960, 720), outDir + QLatin1Char('/') + background,
                   "png") ||
        !saveImage(Artwork::logo(64), outDir + QLatin1Char('/') + appIcon, "ico"))
        return 1;
    qrc.add(QStringLiteral("/Images"), QStringLiteral("QuorvelLogo128.png"), logo);
    qrc.add(QStringLiteral("/Images"), QStringLiteral("img_default_chat_bg.png"), background);
    qrc.add(QStringLiteral("/"), appIcon, appIcon);

    if (!qrc.write(outDir + QStringLiteral("/images.qrc"), &error)) {
        fail(error);
        return 1;
    }
    return 0;
}

// check-catalogue SCANNED TRANSLATED: fails when a key of SCANNED (collected from the
// code) has no finished entry in TRANSLATED.
int checkCatalogue(const QStringList& args)
{
    if (args.size() != 2) {
        fail(QStringLiteral("usage: check-catalogue SCANNED TRANSLATED"));
        return 2;
    }
    Catalogue scanned;
    Catalogue translated;
    QString error;
    if (!scanned.read(args[0], &error) || !translated.read(args[1], &error)) {
        fail(error);
        return 1;
    }
    const QStringList missing = translated.missing(scanned);
    if (missing.isEmpty())
        return 0;
    fail(QStringLiteral("%1 has no finished entry for these keys of the code:").arg(args[1]));
    for (const QString& key : missing)
        std::fprintf(stderr, "  %s\n", qPrintable(key));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // a private runtime folder keeps Qt quiet on build machines
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    args = args.mid(1);

    const QHash<QString, std::function<int(const QStringList&)>> commands{
        {QStringLiteral("icons"), icons},
        {QStringLiteral("check-catalogue"), checkCatalogue},
    };
    const auto run = commands.constFind(command);
    if (run == commands.cend()) {
        fail(QStringLiteral("commands: icons, check-catalogue"));
        return 2;
    }
    return run.value()(args);
}
