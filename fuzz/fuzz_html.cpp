// A peer's message text on its way to the screen and back: escaping, emoji
// pictures and links (HtmlManager::insertHtmlTags), and the conversions the
// program applies to such HTML (plain text for copying and editing, the text
// of rich-text documents). Two checks beyond crashes: the HTML made from a
// peer's text holds no markup but the program's own emoji pictures and
// anchors, and it converts back to exactly the text that was sent.

#include "fuzzsupport.h"

#include "foundation/emojimanager.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"

#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

namespace {

void fail(const char* what, const QString& text, const QString& html)
{
    std::fprintf(stderr, "%s\ntext: %s\nhtml: %s\n", what, qPrintable(text), qPrintable(html));
    std::abort();
}

// The HTML without the program's own tags: what is left is the peer's text,
// which must carry no markup character.
bool onlyOwnMarkup(const QString& html)
{
    static const QRegularExpression ownTags(
        QStringLiteral("<img src=\":/emojis/png/[0-9a-f-]+\\.png\"/>|<a href=\"[^\"<>]*\">|</a>"));
    QString rest = html;
    rest.remove(ownTags);
    return !rest.contains(QLatin1Char('<')) && !rest.contains(QLatin1Char('>')) &&
           !rest.contains(QLatin1Char('"'));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::input(data, size));

    const QString html = HtmlManager::insertHtmlTags(text);
    if (!onlyOwnMarkup(html))
        fail("peer text became markup", text, html);
    if (HtmlManager::toPlainText(html) != text)
        fail("peer text does not come back from its HTML", text, html);

    // The same conversions on text that is already HTML (stored bodies, the
    // edit bar's and the clipboard's documents).
    HtmlManager::replaceHtmlTags(text);
    HtmlManager::replaceHtmlTagsFromContainer(text);
    HtmlManager::toPlainText(text);
    HtmlManager::extractPureTextFromHtml(text);
    HtmlManager::extractCopyTextFromContainerHtml(text);
    HtmlManager::insertBasicTags(text);
    HtmlManager::replaceBasicTags(text);
    EmojiManager::insertEmojiTags(text);
    EmojiManager::replaceEmojiTags(text);
    LinkGenerator::insertLinks(text);
    LinkGenerator::replaceLinks(text);
    LinkGenerator::replaceLinksFromContainerHtml(text);
    return 0;
}
