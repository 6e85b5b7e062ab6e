// The kit's shared values: interface scale and metrics, fonts by line height,
// the sender palette, and the date texts with their Jalali calendar.

#include "model/globalconstants.h"
#include "model/mainsettings.h"
#include "widgets/dateconverter.h"
#include "widgets/emojigrid.h"
#include "widgets/fonts.h"
#include "widgets/interfacescale.h"
#include "widgets/senderpalette.h"

#include <QDir>
#include <QFontDatabase>
#include <QPixmap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

class TestKitBasics : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { initInterfaceScaleWith(100, 96); }

    void scaleFactor_data();
    void scaleFactor();
    void scaledMetrics();
    void secondInitialisationDoesNotScaleTwice();
    void scaleValueTruncatesTowardZero_data();
    void scaleValueTruncatesTowardZero();

    void kitResourcesLoad_data();
    void kitResourcesLoad();
    void unregistrableFontKeepsDefaultFamily();
    void realFontFileGivesItsFamily();
    void fontForHeight();

    void senderColour_data();
    void senderColour();
    void emojiGridDerivedValues();

    void jalaliVectors_data();
    void jalaliVectors();
    void shortAndLongDates_data();
    void shortAndLongDates();
    void listTime_data();
    void listTime();
    void lastSeen_data();
    void lastSeen();
    void persianTexts();
};

void TestKitBasics::scaleFactor_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("factor");
    QTest::newRow("automatic at 96 dpi") << 0 << 96.0 << 1.0;
    QTest::newRow("automatic at 120 dpi") << 0 << 120.0 << 1.25;
    QTest::newRow("automatic at 144 dpi") << 0 << 144.0 << 1.5;
    QTest::newRow("automatic at 150 dpi") << 0 << 150.0 << 1.75;
    QTest::newRow("automatic at 200 dpi") << 0 << 200.0 << 2.0;
    QTest::newRow("setting 150 ignores the screen") << 150 << 200.0 << 1.5;
    QTest::newRow("setting 100") << 100 << 144.0 << 1.0;
}

void TestKitBasics::scaleFactor()
{
    QFETCH(int, percent);
    QFETCH(double, dpi);
    QFETCH(double, factor);
    initInterfaceScaleWith(percent, dpi);
    QCOMPARE(interfaceScaleFactor, factor);
}

void TestKitBasics::scaledMetrics()
{
    initInterfaceScaleWith(125, 96);
    QCOMPARE(baseFontSize, 25);
    QCOMPARE(topBarHeight, 50);
    QCOMPARE(tabIconSize, 37);
    QCOMPARE(listRowHeight, 75);
    QCOMPARE(chatRowHeight, 75);
    QCOMPARE(listAvatarSize, 62);
    QCOMPARE(chatRowAvatarSize, 62);
    // Fixed metrics do not follow the factor.
    QCOMPARE(checkIconSize, 15);
    QCOMPARE(searchIconSize, 32);
    QCOMPARE(messageMaxWidth, 300);
    QCOMPARE(scaleSize(QSize(30, 30)), QSize(37, 37));
}

void TestKitBasics::secondInitialisationDoesNotScaleTwice()
{
    initInterfaceScaleWith(150, 96);
    initInterfaceScaleWith(150, 96);
    QCOMPARE(baseFontSize, 30);
    QCOMPARE(topBarHeight, 60);
    initInterfaceMetrics();
    QCOMPARE(listAvatarSize, 75);

    // The setting read from the user's preferences behaves the same.
    MainSettings settings = GlobalConstants::getMainSettings();
    settings.setInterfaceScaleFactor(150);
    GlobalConstants::setMainSettings(settings);
    initInterfaceScale();
    initInterfaceScale();
    QCOMPARE(interfaceScaleFactor, 1.5);
    QCOMPARE(chatRowHeight, 90);
    settings.setInterfaceScaleFactor(0);
    GlobalConstants::setMainSettings(settings);
}

void TestKitBasics::scaleValueTruncatesTowardZero_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("scaled");
    QTest::newRow("15 at 1.25") << 125 << 15 << 18;
    QTest::newRow("3 at 1.75") << 175 << 3 << 5;
    QTest::newRow("-5 at 1.25") << 125 << -5 << -6;
    QTest::newRow("0 at 2.0") << 200 << 0 << 0;
}

void TestKitBasics::scaleValueTruncatesTowardZero()
{
    QFETCH(int, percent);
    QFETCH(int, value);
    QFETCH(int, scaled);
    initInterfaceScaleWith(percent, 96);
    QCOMPARE(scaleValue(value), scaled);
}

void TestKitBasics::kitResourcesLoad_data()
{
    QTest::addColumn<QString>("path");
    // Every program resource the kit names, read from the kit's sources.
    QDir dir(QStringLiteral(QUORVEL_SOURCE_DIR "/Quorvel/widgets"));
    const QRegularExpression resource(QStringLiteral("\"(:/(Fonts|Images|Style|Lng)/[^\"]+)\""));
    QSet<QString> seen;
    for (const QString& name : dir.entryList({QStringLiteral("*.cpp")})) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto matches = resource.globalMatch(QString::fromUtf8(file.readAll()));
        while (matches.hasNext()) {
            const QString path = matches.next().captured(1);
            if (!seen.contains(path)) {
                seen.insert(path);
                QTest::newRow(qPrintable(path)) << path;
            }
        }
    }
    QVERIFY(seen.size() > 20);
}

void TestKitBasics::kitResourcesLoad()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    if (path.endsWith(QStringLiteral(".png")))
        QVERIFY(!QPixmap(path).isNull());
    else if (path.endsWith(QStringLiteral(".ttf")))
        QVERIFY(!Fonts::registerFontFile(path).isEmpty());
}

void TestKitBasics::unregistrableFontKeepsDefaultFamily()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString notAFont = dir.filePath(QStringLiteral("broken.ttf"));
    QFile file(notAFont);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a font");
    file.close();

    QVERIFY(Fonts::registerFontFile(notAFont).isEmpty());
    QVERIFY(Fonts::registerFontFile(dir.filePath(QStringLiteral("missing.ttf"))).isEmpty());

    // Every built-in file that is not there leaves its member on the default
    // family instead of failing.
    const Fonts* fonts = Fonts::getInstance();
    const QString defaultFamily = QGuiApplication::font().family();
    const QList<QPair<QString, QFont>> members{
        {QStringLiteral(":/Fonts/IRANSans.ttf"), fonts->regular},
        {QStringLiteral(":/Fonts/IRANSans(FaNum).ttf"), fonts->persianDigits},
        {QStringLiteral(":/Fonts/IRANSans_Bold.ttf"), fonts->bold},
        {QStringLiteral(":/Fonts/Vazir-FD.ttf"), fonts->secondFamily}};
    for (const auto& member : members) {
        QVERIFY(!member.second.family().isEmpty());
        if (!QFile::exists(member.first))
            QCOMPARE(member.second.family(), defaultFamily);
    }
}

void TestKitBasics::realFontFileGivesItsFamily()
{
    const QString path = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    if (!QFile::exists(path))
        QSKIP("DejaVu Sans is not installed");
    QCOMPARE(Fonts::registerFontFile(path), QStringLiteral("DejaVu Sans"));
}

void TestKitBasics::fontForHeight()
{
    const QFont regular = Fonts::getInstance()->regular;
    // Nothing is this small: the regular family at its own size.
    for (int height : {0, -3, 1}) {
        const QFont font = Fonts::getFont(height);
        QCOMPARE(font.family(), regular.family());
        QCOMPARE(font.pointSize(), regular.pointSize());
    }
    // Every answer fits the wanted height, and is the largest that does.
    for (int height = 10; height <= 60; height += 7) {
        const QFont font = Fonts::getFont(height);
        QVERIFY2(Fonts::fontHeight(font) <= height, qPrintable(QString::number(height)));
        QFont larger = font;
        larger.setPointSize(font.pointSize() + 1);
        QVERIFY(Fonts::fontHeight(larger) > height || font.pointSize() == 100);
    }
    QCOMPARE(Fonts::getFont(100000).pointSize(), 100);
}

void TestKitBasics::senderColour_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("index");
    QTest::newRow("single zero digit") << QStringLiteral("0") << 0;
    QTest::newRow("empty id") << QString() << 0;
    QTest::newRow("letter a") << QStringLiteral("a") << 1;               // 97
    QTest::newRow("digits") << QStringLiteral("989121234567") << 9;      // 633
    QTest::newRow("latin-1 above 127") << QStringLiteral("\u00e9") << 7; // -23 folded to 23
    QTest::newRow("many high characters")
        << QString(40, QChar(0x00ff)) << 8; // 40 x -1 folded to 40
    QTest::newRow("no latin-1 code counts nothing") << QStringLiteral("\u4e2d0") << 0;
}

void TestKitBasics::senderColour()
{
    QFETCH(QString, id);
    QFETCH(int, index);
    QCOMPARE(senderColorIndex(id), index);
    QCOMPARE(senderColor(id), senderPalette().at(index));
    QCOMPARE(senderPalette().size(), 16);
    QCOMPARE(senderPalette().at(6), senderPalette().at(7));
}

void TestKitBasics::emojiGridDerivedValues()
{
    QCOMPARE(EmojiGrid::pageWidth, 330);
    QCOMPARE(EmojiGrid::emojiPerPage, 32);
    QCOMPARE(EmojiGrid::buttonSize, 40);
}

void TestKitBasics::jalaliVectors_data()
{
    QTest::addColumn<QDate>("gregorian");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::newRow("new year 1397") << QDate(2018, 3, 21) << 1397 << 1 << 1;
    QTest::newRow("last day of 1396") << QDate(2018, 3, 20) << 1396 << 12 << 29;
    QTest::newRow("2020-01-01") << QDate(2020, 1, 1) << 1398 << 10 << 11;
    QTest::newRow("leap day of 1399") << QDate(2021, 3, 20) << 1399 << 12 << 30;
    QTest::newRow("new year 1400") << QDate(2021, 3, 21) << 1400 << 1 << 1;
    QTest::newRow("new year 1404") << QDate(2025, 3, 21) << 1404 << 1 << 1;
    QTest::newRow("first day of Mehr") << QDate(2023, 9, 23) << 1402 << 7 << 1;
}

void TestKitBasics::jalaliVectors()
{
    QFETCH(QDate, gregorian);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    int y = -1, m = -1, d = -1;
    DateConverter::gregorianToJalali(gregorian.year(), gregorian.month(), gregorian.day(), y, m, d);
    QCOMPARE(y, year);
    QCOMPARE(m, month);
    QCOMPARE(d, day);
}

void TestKitBasics::shortAndLongDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("shortText");
    QTest::addColumn<QString>("longText");
    QTest::newRow("1397") << QDate(2018, 3, 21) << "1397/01/01"
                          << " 1 _Farvardin 1397";
    QTest::newRow("1400") << QDate(2021, 3, 21) << "1400/01/01"
                          << " 1 _Farvardin 1400";
    QTest::newRow("end of 1399") << QDate(2021, 3, 20) << "1399/12/30"
                                 << "30 _Esfand 1399";
    QTest::newRow("1405") << QDate(2026, 12, 10) << "1405/09/19"
                          << "19 _Azar 1405";
}

void TestKitBasics::shortAndLongDates()
{
    QFETCH(QDate, date);
    QFETCH(QString, shortText);
    QFETCH(QString, longText);
    DateConverter converter;
    QCOMPARE(converter.jalaliShortDateText(QDateTime(date, QTime(12, 0))), shortText);
    QCOMPARE(converter.jalaliDateText(date), longText);
    QCOMPARE(converter.jalaliMonthName(0), QString());
    QCOMPARE(converter.jalaliMonthName(13), QString());
}

void TestKitBasics::listTime_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("text");
    // "Now" is Wednesday 2021-03-24 15:30.
    QTest::newRow("same day") << QDateTime(QDate(2021, 3, 24), QTime(9, 5)) << "09:05";
    QTest::newRow("yesterday") << QDateTime(QDate(2021, 3, 23), QTime(23, 59)) << "_Yesterday";
    QTest::newRow("three days ago") << QDateTime(QDate(2021, 3, 21), QTime(8, 0)) << "_Sunday";
    QTest::newRow("three days ahead") << QDateTime(QDate(2021, 3, 27), QTime(8, 0)) << "_Saturday";
    QTest::newRow("six days ago") << QDateTime(QDate(2021, 3, 18), QTime(8, 0)) << "_Thursday";
    QTest::newRow("two weeks ago") << QDateTime(QDate(2021, 3, 10), QTime(8, 0)) << "1399/12/20";
}

void TestKitBasics::listTime()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, text);
    const QDateTime now(QDate(2021, 3, 24), QTime(15, 30));
    QCOMPARE(DateConverter().chatListTime(time, now), text);
}

void TestKitBasics::lastSeen_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("secondsAgo");
    QTest::addColumn<QString>("text");
    const QDateTime afternoon(QDate(2021, 3, 24), QTime(15, 30));
    QTest::newRow("59 s") << afternoon << qint64(59) << "_OnLine";
    QTest::newRow("60 s") << afternoon << qint64(60) << "_LastObservation1_Minute_Ago";
    QTest::newRow("3599 s") << afternoon << qint64(3599) << "_LastObservation59_Minute_Ago";
    QTest::newRow("3600 s") << afternoon << qint64(3600) << "_LastObservation1_Hour_Ago";
    QTest::newRow("in the future") << afternoon << qint64(-100) << "_OnLine";
    const QDateTime justAfterMidnight(QDate(2021, 3, 24), QTime(0, 10));
    QTest::newRow("yesterday, minutes ago")
        << justAfterMidnight << qint64(20 * 60) << "_LastObservation_Yesterday";
    QTest::newRow("two days") << afternoon << qint64(2 * 86400) << "_LastObservation1400/01/02";
}

void TestKitBasics::lastSeen()
{
    QFETCH(QDateTime, now);
    QFETCH(qint64, secondsAgo);
    QFETCH(QString, text);
    QCOMPARE(DateConverter().lastSeenText(now.addSecs(-secondsAgo), now), text);
}

void TestKitBasics::persianTexts()
{
    QTranslator persian;
    QVERIFY(persian.load(QStringLiteral(":/Lng/quorvel_persian.qm")));
    QCoreApplication::installTranslator(&persian);
    const QDateTime now(QDate(2021, 3, 24), QTime(15, 30));
    DateConverter dates;
    // The words of a line carry their own spaces in the catalogue.
    QCOMPARE(dates.lastSeenText(now.addSecs(-60), now), QStringLiteral("آخرین بازدید 1 "
                                                                       "دقیقه پیش"));
    QCOMPARE(dates.jalaliDateText(QDate(2025, 3, 21)), QStringLiteral(" 1 فروردین 1404"));
    QCOMPARE(dates.chatListTime(now.addDays(-1), now), QStringLiteral("دیروز"));
    QCoreApplication::removeTranslator(&persian);
}

QTEST_MAIN(TestKitBasics)
#include "tst_kitbasics.moc"
