#include "foundation/emojimanager.h"
#include "foundation/htmlmanager.h"
#include "foundation/linkgenerator.h"

#include <QTextDocument>
#include <QtTest>

// The test resource carries pictures for: 1f600 1f602 1f44d 1f44d-1f3fb 1f44d-1f3fd
// 0023-20e3 0023-fe0f-20e3 002a-20e3 0031-20e3 0037-fe0f-20e3 1f1ee 1f1ee-1f1f7 1f1e9
// 1f1e9-1f1ea 1f1fa-1f1f8 1f468 1f469 1f467 2764 261d 261d-1f3fb 2600 1f525.
namespace {
QString tag(const QString& code)
{
    return QStringLiteral("<img src=\":/emojis/png/%1.png\"/>").arg(code);
}

QString anchor(const QString& word)
{
    return QStringLiteral("<a href=\"%1\">%1</a>").arg(word);
}

QString u(const char32_t* text)
{
    return QString::fromUcs4(reinterpret_cast<const uint*>(text), -1);
}

const QString host = LinkGenerator::getPublicLinkHost();
} // namespace

class TestMessageText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void insertEmojiTags_data();
    void insertEmojiTags();
    void replaceEmojiTags_data();
    void replaceEmojiTags();

    void basicTags_data();
    void basicTags();

    void insertLinks_data();
    void insertLinks();
    void insertLinksLeavesExistingMarkupAlone();
    void replaceLinks();

    void peerMarkupIsEscaped_data();
    void peerMarkupIsEscaped();

    void roundTrip_data();
    void roundTrip();

    void extractPureTextFromHtml();
    void extractCopyTextFromContainerHtml();
};

void TestMessageText::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(":/emojis/png/1f600.png")));
    QVERIFY(!QFile::exists(QStringLiteral(":/emojis/png/1f1fa.png")));
}

void TestMessageText::insertEmojiTags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("plain") << "hello, world!"
                           << "hello, world!";
    QTest::newRow("single") << u(U"a\U0001F600b") << "a" + tag("1f600") + "b";
    QTest::newRow("persian") << u(U"سلام \U0001F602 دنیا") << "سلام " + tag("1f602") + " دنیا";
    QTest::newRow("no picture") << u(U"\U0001F60E") << u(U"\U0001F60E");
    QTest::newRow("skin tone") << u(U"\U0001F44D\U0001F3FB!") << tag("1f44d-1f3fb") + "!";
    QTest::newRow("flag") << u(U"\U0001F1EE\U0001F1F7") << tag("1f1ee-1f1f7");
    QTest::newRow("two flags") << u(U"\U0001F1EE\U0001F1F7\U0001F1E9\U0001F1EA")
                               << tag("1f1ee-1f1f7") + tag("1f1e9-1f1ea");
    // The first regional indicator has no picture of its own.
    QTest::newRow("flag without prefix picture")
        << u(U"\U0001F1FA\U0001F1F8") << u(U"\U0001F1FA\U0001F1F8");
    QTest::newRow("zwj family") << u(U"\U0001F468\u200D\U0001F469\u200D\U0001F467")
                                << tag("1f468") + QChar(0x200D) + tag("1f469") + QChar(0x200D) +
                                       tag("1f467");
    QTest::newRow("keycap hash") << u(U"a#\u20E3") << "a" + tag("0023-20e3");
    QTest::newRow("keycap hash qualified") << u(U"#\uFE0F\u20E3") << tag("0023-fe0f-20e3");
    QTest::newRow("keycap star") << u(U"*\u20E3 x") << tag("002a-20e3") + " x";
    QTest::newRow("keycap digit") << u(U"1\u20E37\uFE0F\u20E3")
                                  << tag("0031-20e3") + tag("0037-fe0f-20e3");
    QTest::newRow("keycap without picture") << u(U"5\u20E3") << u(U"5\u20E3");
    QTest::newRow("lone hash and digit") << "#1 *"
                                         << "#1 *";
    QTest::newRow("copyright without picture") << u(U"\u00A9 2024") << tag("00a9") + " 2024";
    QTest::newRow("heart with selector") << u(U"\u2764\uFE0F") << tag("2764") + QChar(0xFE0F);
    QTest::newRow("basic plane with modifier") << u(U"\u261D\U0001F3FB") << tag("261d-1f3fb");
    QTest::newRow("basic plane alone") << u(U"\u2600\u2601") << tag("2600") + QChar(0x2601);
    QTest::newRow("broken surrogates") << QString(QChar(0xD83D)) + "a" + QChar(0xDE00)
                                       << QString(QChar(0xD83D)) + "a" + QChar(0xDE00);
}

void TestMessageText::insertEmojiTags()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EmojiManager::insertEmojiTags(text), expected);
}

void TestMessageText::replaceEmojiTags_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << "a <b> c"
                          << "a <b> c";
    QTest::newRow("one") << "x" + tag("1f600") + "y" << u(U"x\U0001F600y");
    QTest::newRow("twice") << tag("1f600") + tag("1f600") << u(U"\U0001F600\U0001F600");
    QTest::newRow("picker blank") << "<img src=\":/emojis/png/1f600.png\" />" << u(U"\U0001F600");
    QTest::newRow("extra attribute")
        << "<img src=\":/emojis/png/1f44d-1f3fb.png\" width=\"20\"/>" << u(U"\U0001F44D\U0001F3FB");
    QTest::newRow("keycap") << tag("0023-20e3") << u(U"#\u20E3");
    QTest::newRow("upper case hex") << tag("1F600") << u(U"\U0001F600");
    QTest::newRow("beyond unicode")
        << tag("110000") + tag("1f600") << tag("110000") + u(U"\U0001F600");
    QTest::newRow("surrogate") << tag("d83d") << tag("d83d");
    QTest::newRow("not hex") << tag("zz") + "." + tag("1f60g") << tag("zz") + "." + tag("1f60g");
    QTest::newRow("empty part") << tag("1f600-") << tag("1f600-");
    QTest::newRow("hex prefix") << tag("0x1f600") << tag("0x1f600");
    QTest::newRow("overlong") << tag("000000001f600") << tag("000000001f600");
    QTest::newRow("other image") << "<img src=\":/images/x.png\"/>"
                                 << "<img src=\":/images/x.png\"/>";
}

void TestMessageText::replaceEmojiTags()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(EmojiManager::replaceEmojiTags(text), expected);
}

void TestMessageText::basicTags_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("html");

    QTest::newRow("escapes") << "a < b & \"c\" > d\ne"
                             << "a &lt; b &amp; &quot;c&quot; &gt; d<br />e";
    QTest::newRow("literal entity") << "&lt; &amp; &quot;"
                                    << "&amp;lt; &amp;amp; &amp;quot;";
    QTest::newRow("literal break") << "<br />"
                                   << "&lt;br /&gt;";
    QTest::newRow("persian") << "سلام\nدنیا"
                             << "سلام<br />دنیا";
}

void TestMessageText::basicTags()
{
    QFETCH(QString, plain);
    QFETCH(QString, html);
    QCOMPARE(HtmlManager::insertBasicTags(plain), html);
    QCOMPARE(HtmlManager::replaceBasicTags(html), plain);
    QCOMPARE(HtmlManager::replaceBasicTags("x<br/>y"), QString("x\ny"));
}

void TestMessageText::insertLinks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString https = "https://" + host + "/join/abc";
    const QString http = "http://" + host + "/x";
    QTest::newRow("https") << "see " + https + " now"
                           << "see " + anchor(https) + " now";
    QTest::newRow("http") << http << anchor(http);
    QTest::newRow("other host") << "https://example.com/x"
                                << "https://example.com/x";
    QTest::newRow("case sensitive") << "HTTPS://" + host + "/x"
                                    << "HTTPS://" + host + "/x";
    QTest::newRow("host without slash") << "https://" + host << "https://" + host;
    QTest::newRow("mention") << "hi @ali_b.c,"
                             << "hi " + anchor("@ali_b.c") + ",";
    QTest::newRow("sign inside word") << "bob@ali"
                                      << "bob" + anchor("@ali");
    QTest::newRow("bare sign") << "@ # @!"
                               << "@ # @!";
    QTest::newRow("hash tag") << "#name!" << anchor("#name") + "!";
    QTest::newRow("hash tag twice") << "#t and #t" << anchor("#t") + " and " + anchor("#t");
    QTest::newRow("shorter mention first")
        << "@ali @alice" << anchor("@ali") + " " + anchor("@alice");
    QTest::newRow("longer mention first")
        << "@alice @ali" << anchor("@alice") + " " + anchor("@ali");
    QTest::newRow("hash tag prefix of another") << "#a #ab" << anchor("#a") + " " + anchor("#ab");
    QTest::newRow("mention inside link")
        << "https://" + host + "/@bob @bob"
        << anchor("https://" + host + "/@bob") + " " + anchor("@bob");
    QTest::newRow("mention and tag in one word") << "@a#b" << anchor("@a") + anchor("#b");
    QTest::newRow("persian tag") << "#سلام_دنیا ۱۲" << anchor("#سلام_دنیا") + " ۱۲";
    QTest::newRow("line feeds") << "x\n@bob\n#t"
                                << "x\n" + anchor("@bob") + "\n" + anchor("#t");
    QTest::newRow("before emoji tag") << "#tag" + tag("1f600") << anchor("#tag") + tag("1f600");
    QTest::newRow("link before break") << https + "<br />x" << anchor(https) + "<br />x";
    QTest::newRow("keycap is no tag") << u(U"#\u20E3") << u(U"#\u20E3");
    QTest::newRow("escaped quotes") << "&quot;@bob&quot;"
                                    << "&quot;" + anchor("@bob") + "&quot;";
}

void TestMessageText::insertLinks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(LinkGenerator::insertLinks(text), expected);
    QCOMPARE(LinkGenerator::replaceLinks(expected), text);
}

void TestMessageText::insertLinksLeavesExistingMarkupAlone()
{
    const QString text = "@ali #t https://" + host + "/#t " + tag("1f600") + " @alice";
    const QString once = LinkGenerator::insertLinks(text);
    QCOMPARE(LinkGenerator::insertLinks(once), once);
    QCOMPARE(once.count("<a href="), 4);
}

void TestMessageText::replaceLinks()
{
    QCOMPARE(LinkGenerator::replaceLinks("a " + anchor("#x") + " b " + anchor("@y")),
             QString("a #x b @y"));
    const QString container = "<a href=\"@bob\"><span style=\" text-decoration: underline;\">@bob"
                              "</span></a> and <a href=\"#t\"><span style=\"x\">#t</span></a>";
    QCOMPARE(LinkGenerator::replaceLinksFromContainerHtml(container), QString("@bob and #t"));
}

void TestMessageText::peerMarkupIsEscaped_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("bold") << "<b>bold</b> & \"quoted\"";
    QTest::newRow("anchor") << "<a href=\"https://evil.example/\">click</a>";
    QTest::newRow("image") << "<img src=\":/emojis/png/1f600.png\"/>";
    QTest::newRow("entity") << "&lt;b&gt; and &amp;";
}

void TestMessageText::peerMarkupIsEscaped()
{
    QFETCH(QString, text);
    const QString html = HtmlManager::insertHtmlTags(text);
    QVERIFY2(!html.contains('<'), qPrintable(html));
    QTextDocument document;
    document.setHtml(html);
    QCOMPARE(document.toPlainText(), text);
    QCOMPARE(HtmlManager::toPlainText(html), text);
}

void TestMessageText::roundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << QString();
    QTest::newRow("latin") << "Hello there, how are you?";
    QTest::newRow("persian") << "سلام، حال شما چطور است؟ ۱۲۳";
    QTest::newRow("mixed lines") << "first line\nخط دوم\n\n  indented\ttab";
    QTest::newRow("emoji") << u(U"\U0001F600\U0001F602 ok \U0001F60E \U0001F525\U0001F525");
    QTest::newRow("keycaps") << u(
        U"#\u20E3 *\u20E3 1\u20E3 7\uFE0F\u20E3 #\uFE0F\u20E3 5\u20E3 #1");
    QTest::newRow("flags") << u(U"\U0001F1EE\U0001F1F7\U0001F1E9\U0001F1EA\U0001F1FA\U0001F1F8");
    QTest::newRow("skin tones") << u(
        U"\U0001F44D\U0001F3FB\U0001F44D\U0001F3FD\U0001F44D\U0001F3FF \u261D\U0001F3FB");
    QTest::newRow("zwj") << u(
        U"\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F3F3\uFE0F\u200D\U0001F308");
    QTest::newRow("selectors") << u(U"\u2764\uFE0F \u2600\uFE0E \u00A9 \u00AE \u21A9");
    QTest::newRow("links") << "open https://" + host + "/c/news and http://" + host + "/x?a=1&b=2";
    QTest::newRow("foreign link") << "https://example.com/?q=<x>&r=\"y\"";
    QTest::newRow("mentions") << "@ali @alice bob@ali.ir @ @_ #تگ #a#b #a!";
    QTest::newRow("link with emoji") << u(U"https://quorvel.link/x\U0001F600 #t\U0001F600");
    QTest::newRow("html like") << "<b>x</b> <br /> <br/> &lt; &amp;lt; &quot; <a href=\"y\">z</a>";
    QTest::newRow("emoji tag text") << "<img src=\":/emojis/png/1f600.png\"/> :/emojis/png/zz.png";
    QTest::newRow("all together") << u(
        U"سلام @ali! \U0001F44D\U0001F3FB look: https://quorvel.link/p/1 #خبر\n<i>&</i> #\u20E3");
}

void TestMessageText::roundTrip()
{
    QFETCH(QString, text);
    // The emoji step alone escapes nothing, so it is lossless only for text without markup.
    if (!text.contains('<'))
        QCOMPARE(EmojiManager::replaceEmojiTags(EmojiManager::insertEmojiTags(text)), text);
    QCOMPARE(HtmlManager::toPlainText(HtmlManager::insertHtmlTags(text)), text);
    QCOMPARE(HtmlManager::replaceBasicTags(HtmlManager::insertBasicTags(text)), text);
}

void TestMessageText::extractPureTextFromHtml()
{
    const QString html =
        "<html><body><p style=\"margin-top:0px;\">first &amp; <img src=\":/emojis/png/1f600.png\" "
        "/></p>\n<p style=\"margin-top:0px;\">second</p></body></html>";
    QCOMPARE(HtmlManager::extractPureTextFromHtml(html),
             QString("first & <img src=\":/emojis/png/1f600.png\" />second"));
    QCOMPARE(HtmlManager::extractPureTextFromHtml("no paragraphs"), QString());
}

void TestMessageText::extractCopyTextFromContainerHtml()
{
    const QString html = "<html><body><p style=\"x\"><!--StartFragment-->hi <a href=\"@bob\"><span "
                         "style=\"u\">@bob</span></a> <img src=\":/emojis/png/1f600.png\" /> &lt;3"
                         "<!--EndFragment--></p></body></html>";
    QCOMPARE(HtmlManager::extractCopyTextFromContainerHtml(html), u(U"hi @bob \U0001F600 <3"));
}

QTEST_MAIN(TestMessageText)
#include "tst_messagetext.moc"
