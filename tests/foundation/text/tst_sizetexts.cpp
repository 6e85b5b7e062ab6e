#include "foundation/filesizetext.h"
#include "foundation/numbertext.h"

#include <QtTest>

class TestSizeTexts : public QObject
{
    Q_OBJECT
private slots:
    void fileSizeString_data();
    void fileSizeString();
    void downloadString_data();
    void downloadString();
    void unknownTiers();
    void numberText_data();
    void numberText();
};

void TestSizeTexts::fileSizeString_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "0 B";
    QTest::newRow("negative") << qint64(-5) << "-5 B";
    QTest::newRow("512") << qint64(512) << "512 B";
    QTest::newRow("1024") << qint64(1024) << "1024 B";
    QTest::newRow("1025") << qint64(1025) << "1.0 KB";
    QTest::newRow("1536") << qint64(1536) << "1.5 KB";
    QTest::newRow("1048576") << qint64(1048576) << "1024.0 KB";
    QTest::newRow("12.5 MB") << qint64(13107200) << "12.5 MB";
    QTest::newRow("1 GB") << qint64(1073741824) << "1024.0 MB";
    QTest::newRow("6 GB") << qint64(6442450944) << "6.0 GB";
}

void TestSizeTexts::fileSizeString()
{
    QFETCH(qint64, size);
    QFETCH(QString, expected);
    QCOMPARE(FileSizeText::getFileSizeString(size), expected);
}

void TestSizeTexts::downloadString_data()
{
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start") << qint64(512) << qint64(2097152) << "0.0 / 2.0 MB";
    QTest::newRow("part") << qint64(314573) << qint64(13107200) << "0.3 / 12.5 MB";
    QTest::newRow("bytes") << qint64(10) << qint64(100) << "10 / 100 B";
}

void TestSizeTexts::downloadString()
{
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(QString, expected);
    QCOMPARE(FileSizeText::getDownloadString(done, total), expected);
}

void TestSizeTexts::unknownTiers()
{
    QCOMPARE(FileSizeText::getFileSizeTierBase(FileSizeText::FileSizeTier(7)), qint64(1));
    QCOMPARE(FileSizeText::getFileSizeTierString(FileSizeText::FileSizeTier(7)), QString());
    QCOMPARE(NumberText::getNumberTierBase(NumberText::NumberTier(9)), 1);
    QCOMPARE(NumberText::getNumberTierText(NumberText::NumberTier(9)), QString());
}

void TestSizeTexts::numberText_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("negative") << -1500 << "-1500";
    QTest::newRow("999") << 999 << "999";
    QTest::newRow("1000") << 1000 << "1.0 thousand";
    QTest::newRow("12345") << 12345 << "12.3 thousand";
    QTest::newRow("1000000") << 1000000 << "1.0 million";
    QTest::newRow("2500000000 clipped") << 2147483647 << "2.1 billion";
}

void TestSizeTexts::numberText()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    NumberText::setTierTexts("", "thousand", "million", "billion");
    QCOMPARE(NumberText::getNumberText(count), expected);
}

QTEST_APPLESS_MAIN(TestSizeTexts)
#include "tst_sizetexts.moc"
