// Converts a 4096-character message holding 50 emoji and 20 links to display HTML and back,
// beside Qt's own HTML escaping of the same text.
#include "benchload.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

namespace {
void dropDebugOutput(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

QString buildMessage()
{
    const QStringList emoji = {QString::fromUcs4(U"\U0001F600"),
                               QString::fromUcs4(U"\U0001F44D\U0001F3FB"),
                               QString::fromUcs4(U"\U0001F1EE\U0001F1F7"),
                               QString::fromUcs4(U"\U0001F525"), QString::fromUcs4(U"#\u20E3")};
    const QString host = LinkGenerator::getPublicLinkHost();
    const QStringList links = {"https://" + host + "/c/news", "@ali_reza", "#خبر",
                               "http://" + host + "/g/abc"};
    const QStringList words = {"سلام", "message", "دنیا", "text", "&", "<b>", "quick", "متن"};

    QString text;
    int emojiCount = 0;
    int linkCount = 0;
    for (int i = 0; text.size() < 4096; ++i) {
        if (i % 7 == 3 && emojiCount < 50)
            text += emoji.at(emojiCount++ % emoji.size());
        else if (i % 11 == 5 && linkCount < 20)
            text += links.at(linkCount++ % links.size());
        else
            text += words.at(i % words.size());
        text += (i % 13 == 12) ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    text.truncate(4096);
    if (emojiCount < 50 || linkCount < 20)
        qFatal("message too short for its emoji and links");
    return text;
}

template <typename F> double microsecondsPerCall(int rounds, F function)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        function();
    return double(timer.nsecsElapsed()) / 1000.0 / rounds;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    printLoadAverage("start");
    qInstallMessageHandler(dropDebugOutput);
    if (!QFile::exists(QStringLiteral(":/emojis/png/1f600.png")))
        qFatal("emoji pictures missing");

    const QString text = buildMessage();
    const QString html = HtmlManager::insertHtmlTags(text);
    if (HtmlManager::toPlainText(html) != text)
        qFatal("round trip lost text");

    const int rounds = 300;
    volatile int sink = 0;
    const double toHtml =
        microsecondsPerCall(rounds, [&] { sink += HtmlManager::insertHtmlTags(text).size(); });
    const double toPlain =
        microsecondsPerCall(rounds, [&] { sink += HtmlManager::toPlainText(html).size(); });
    const double qtEscape =
        microsecondsPerCall(rounds, [&] { sink += text.toHtmlEscaped().size(); });

    std::printf("message: %d characters, 50 emoji, 20 links; display HTML %d characters\n",
                int(text.size()), int(html.size()));
    std::printf("insertHtmlTags:          %9.1f us per conversion\n", toHtml);
    std::printf("toPlainText:             %9.1f us per conversion\n", toPlain);
    std::printf("QString::toHtmlEscaped:  %9.1f us per call\n", qtEscape);
    std::printf("ratio insertHtmlTags / toHtmlEscaped: %.1f\n", toHtml / qtEscape);
    printLoadAverage("end");
    return 0;
}
