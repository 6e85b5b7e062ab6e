// Build-time generator of the program's pictures and resource lists. It runs on the
// offscreen platform, so it needs no display.
#include "artwork.h"
#include "catalogue.h"
#include "emojilist.h"
#include "emojirenderer.h"
#include "iconrenderer.h"
#include "qrcwriter.h"

#include <QDir>
#include <QFile>
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

bool writeLines(const QString& path, const QStringList& lines, bool lastTerminated)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    QByteArray text = lines.join(QStringLiteral("\r\n")).toUtf8();
    if (lastTerminated && !lines.isEmpty())
        text += "\r\n";
    return file.write(text) == text.size();
}

// emoji EMOJI-TEST EMOJI-FONT OUTDIR SMALL LARGE: pictures by code at both sizes, the
// picker's category lists, and OUTDIR/emoji.qrc listing them.
int emoji(const QStringList& args)
{
    if (args.size() != 5) {
        fail(QStringLiteral("usage: emoji EMOJI-TEST EMOJI-FONT OUTDIR SMALL LARGE"));
        return 2;
    }
    const QString outDir = args[2];
    const int small = args[3].toInt();
    const int large = args[4].toInt();
    for (const char* sub : {"png", "png_large", "categories"})
        QDir().mkpath(outDir + QLatin1Char('/') + QLatin1String(sub));
    QString error;
    EmojiList list;
    EmojiRenderer renderer;
    if (small <= 0 || large <= 0 || !list.read(args[0], &error) ||
        !renderer.loadFont(args[1], &error)) {
        fail(error.isEmpty() ? QStringLiteral("bad sizes") : error);
        return 1;
    }

    QrcWriter qrc;
    QMap<QString, QStringList> lists;
    int skipped = 0;
    for (const EmojiList::Emoji& e : list.emoji()) {
        const QString code = EmojiList::code(e.codePoints);
        const QImage smallImage = renderer.render(e.text, small);
        if (smallImage.isNull()) {
            ++skipped;
            continue;
        }
        const QString smallFile = QStringLiteral("png/") + code + QStringLiteral(".png");
        if (!saveImage(smallImage, outDir + QLatin1Char('/') + smallFile, "png"))
            return 1;
        qrc.add(QStringLiteral("/emojis"), smallFile, smallFile);
        // A keycap typed with its variation selector is looked up under that form too.
        if (e.codePoints.size() == 2 && e.codePoints[1] == 0x20E3)
            qrc.add(QStringLiteral("/emojis"),
                    QStringLiteral("png/") + EmojiList::code({e.codePoints[0], 0xFE0F, 0x20E3}) +
                        QStringLiteral(".png"),
                    smallFile);
        if (e.category.isEmpty())
            continue;
        const QString largeFile = QStringLiteral("png_large/") + code + QStringLiteral(".png");
        if (!saveImage(renderer.render(e.text, large), outDir + QLatin1Char('/') + largeFile,
                       "png"))
            return 1;
        qrc.add(QStringLiteral("/emojis"), largeFile, largeFile);
        lists[e.category].append(code);
    }

    for (const QString& category : EmojiList::categories()) {
        const QString file = QStringLiteral("categories/") + category + QStringLiteral(".txt");
        if (!writeLines(outDir + QLatin1Char('/') + file, lists.value(category), true))
            return 1;
        qrc.add(QStringLiteral("/emojis"), file, file);
    }
    const QString index = QStringLiteral("categories/categories.txt");
    if (!writeLines(outDir + QLatin1Char('/') + index, EmojiList::categories(), false))
        return 1;
    qrc.add(QStringLiteral("/emojis"), index, index);

    if (skipped > 0)
        std::fprintf(stderr, "quorvel-resgen: %d emoji have no picture in the font\n", skipped);
    if (!qrc.write(outDir + QStringLiteral("/emoji.qrc"), &error)) {
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

// add-absent SCANNED CATALOGUE...: gives each catalogue an unfinished entry for every
// key of SCANNED (collected from the code) that it lacks; entries the code does not
// use (yet) stay as they are.
int addAbsent(const QStringList& args)
{
    if (args.size() < 2) {
        fail(QStringLiteral("usage: add-absent SCANNED CATALOGUE..."));
        return 2;
    }
    Catalogue scanned;
    QString error;
    if (!scanned.read(args[0], &error)) {
        fail(error);
        return 1;
    }
    for (const QString& path : args.mid(1)) {
        const int added = Catalogue::addAbsent(path, scanned, &error);
        if (added < 0) {
            fail(error);
            return 1;
        }
        std::printf("%s: %d new keys\n", qPrintable(path), added);
    }
    return 0;
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
        {QStringLiteral("emoji"), emoji},
        {QStringLiteral("check-catalogue"), checkCatalogue},
        {QStringLiteral("add-absent"), addAbsent},
    };
    const auto run = commands.constFind(command);
    if (run == commands.cend()) {
        fail(QStringLiteral("commands: icons, emoji, check-catalogue, add-absent"));
        return 2;
    }
    return run.value()(args);
}
