#include "foundation/emojimanager.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

const QStringList categoryNames{"people",     "nature",  "food",   "travel",
                                "activities", "objects", "symbols"};

QByteArray resource(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The codes of one category file, read as the picker reads them (text mode).
QStringList codesOf(const QString& category)
{
    QFile file(QStringLiteral(":/emojis/categories/") + category + QStringLiteral(".txt"));
    QStringList out;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n'));
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

QString charactersOf(const QString& code)
{
    QString out;
    for (const QString& part : code.split(QLatin1Char('-'))) {
        const uint cp = part.toUInt(nullptr, 16);
        out.append(QString::fromUcs4(&cp, 1));
    }
    return out;
}

QString tagOf(const QString& code)
{
    return QStringLiteral("<img src=\":/emojis/png/") + code + QStringLiteral(".png\"/>");
}

bool drawsSomething(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int drawn = 0;
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            drawn += qAlpha(argb.pixel(x, y)) > 0;
    // Some emoji are small on purpose (the small black square): a few pixels will do.
    return drawn > argb.width() * argb.height() / 50;
}

} // namespace

class TestEmojiResources : public QObject
{
    Q_OBJECT

private slots:
    void categoryListHasTheSevenNames();
    void categoryFilesFollowTheListFormat_data();
    void categoryFilesFollowTheListFormat();
    void noCodeIsListedTwice();
    void everyListedCodeHasBothPictures_data();
    void everyListedCodeHasBothPictures();
    void listedEmojiSurviveTheTextConverter();
    void typedEmojiBecomePictures_data();
    void typedEmojiBecomePictures();
};

void TestEmojiResources::categoryListHasTheSevenNames()
{
    // CR LF between the names, none after the last.
    QCOMPARE(resource(QStringLiteral(":/emojis/categories/categories.txt")),
             categoryNames.join(QStringLiteral("\r\n")).toUtf8());
}

void TestEmojiResources::categoryFilesFollowTheListFormat_data()
{
    QTest::addColumn<QString>("category");
    for (const QString& name : categoryNames)
        QTest::newRow(qPrintable(name)) << name;
}

void TestEmojiResources::categoryFilesFollowTheListFormat()
{
    QFETCH(QString, category);
    const QByteArray raw =
        resource(QStringLiteral(":/emojis/categories/") + category + QStringLiteral(".txt"));
    QVERIFY(!raw.isEmpty());
    // CR LF after every line, the last one included.
    QVERIFY(raw.endsWith("\r\n"));
    const QStringList lines = QString::fromLatin1(raw.left(raw.size() - 2)).split("\r\n");
    static const QRegularExpression code(QStringLiteral("^[0-9a-f]{4,5}(-[0-9a-f]{4,5})?$"));
    for (const QString& line : lines)
        QVERIFY2(code.match(line).hasMatch(), qPrintable(line));
    QCOMPARE(codesOf(category).size(), lines.size());
}

void TestEmojiResources::noCodeIsListedTwice()
{
    QSet<QString> seen;
    int total = 0;
    for (const QString& name : categoryNames) {
        for (const QString& code : codesOf(name)) {
            QVERIFY2(!seen.contains(code), qPrintable(code));
            seen.insert(code);
            ++total;
        }
    }
    QVERIFY(total > 700);
}

void TestEmojiResources::everyListedCodeHasBothPictures_data()
{
    QTest::addColumn<QString>("category");
    for (const QString& name : categoryNames)
        QTest::newRow(qPrintable(name)) << name;
}

void TestEmojiResources::everyListedCodeHasBothPictures()
{
    QFETCH(QString, category);
    for (const QString& code : codesOf(category)) {
        const QImage small(QStringLiteral(":/emojis/png/") + code + QStringLiteral(".png"));
        const QImage large(QStringLiteral(":/emojis/png_large/") + code + QStringLiteral(".png"));
        QVERIFY2(!small.isNull() && !large.isNull(), qPrintable(code));
        QCOMPARE(small.size(), QSize(20, 20));
        QCOMPARE(large.size(), QSize(24, 24));
        QVERIFY2(drawsSomething(small) && drawsSomething(large), qPrintable(code));
    }
}

void TestEmojiResources::listedEmojiSurviveTheTextConverter()
{
    // What the picker inserts must reach the peer as characters and come back as the
    // same picture.
    for (const QString& name : categoryNames) {
        for (const QString& code : codesOf(name)) {
            const QString characters = charactersOf(code);
            QCOMPARE(EmojiManager::replaceEmojiTags(tagOf(code)), characters);
            QCOMPARE(EmojiManager::insertEmojiTags(characters), tagOf(code));
        }
    }
}

void TestEmojiResources::typedEmojiBecomePictures_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("face") << QString::fromUcs4(U"a\U0001F600") << "a" + tagOf("1f600");
    QTest::newRow("heart with selector")
        << QString::fromUcs4(U"\u2764\uFE0F") << tagOf("2764") + QChar(0xFE0F);
    QTest::newRow("flag") << QString::fromUcs4(U"\U0001F1EE\U0001F1F7") << tagOf("1f1ee-1f1f7");
    QTest::newRow("skin tone") << QString::fromUcs4(U"\U0001F44D\U0001F3FD")
                               << tagOf("1f44d-1f3fd");
    QTest::newRow("keycap") << QString::fromUcs4(U"#\u20E3") << tagOf("0023-20e3");
    QTest::newRow("keycap with selector")
        << QString::fromUcs4(U"7\uFE0F\u20E3") << tagOf("0037-fe0f-20e3");
    QTest::newRow("copyright") << QString::fromUcs4(U"\u00A9") << tagOf("00a9");
    QTest::newRow("plain digit") << QStringLiteral("7") << QStringLiteral("7");
}

void TestEmojiResources::typedEmojiBecomePictures()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    const QString html = EmojiManager::insertEmojiTags(typed);
    QCOMPARE(html, shown);
    static const QRegularExpression src(QStringLiteral("src=\"([^\"]+)\""));
    auto it = src.globalMatch(html);
    while (it.hasNext())
        QVERIFY(!QImage(it.next().captured(1)).isNull());
}

QTEST_MAIN(TestEmojiResources)
#include "tst_emojiresources.moc"
