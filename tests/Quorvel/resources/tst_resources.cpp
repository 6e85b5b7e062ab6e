#include "catalogue.h"

#include <cmath>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

// Every resource the screens name, with what a reader of it needs.
enum class Kind
{
    Image,
    Font,
    Text,
    Catalogue,
    Icon
};

struct Named
{
    const char* path;
    Kind kind;
};

const Named namedResources[] = {
    {":/Fonts/IRANSans.ttf", Kind::Font},
    {":/Fonts/IRANSans(FaNum).ttf", Kind::Font},
    {":/Fonts/IRANSans_Bold.ttf", Kind::Font},
    {":/Fonts/IRANSans_Light.ttf", Kind::Font},
    {":/Fonts/IRANSans_Medium.ttf", Kind::Font},
    {":/Fonts/IRANSans_UltraLight.ttf", Kind::Font},
    {":/Fonts/Vazir-FD.ttf", Kind::Font},
    {":/Style/QuorvelDefaultStyle.css", Kind::Text},
    {":/Lng/quorvel_persian.qm", Kind::Catalogue},
    {":/Lng/quorvel_english.qm", Kind::Catalogue},
    {":/myappico.ico", Kind::Icon},
    {":/Images/QuorvelLogo128.png", Kind::Image},
    {":/Images/img_default_chat_bg.png", Kind::Image},
    {":/Images/arrow_left_black.png", Kind::Image},
    {":/Images/arrow_left_white.png", Kind::Image},
    {":/Images/arrow_right_black.png", Kind::Image},
    {":/Images/arrow_right_white.png", Kind::Image},
    {":/Images/check_box.png", Kind::Image},
    {":/Images/check_box_disabled.png", Kind::Image},
    {":/Images/check_box_outline_blank.png", Kind::Image},
    {":/Images/check_box_outline_blank_disabled.png", Kind::Image},
    {":/Images/close_black.png", Kind::Image},
    {":/Images/close_white.png", Kind::Image},
    {":/Images/downloadOther.png", Kind::Image},
    {":/Images/downloadPause.png", Kind::Image},
    {":/Images/downloadPlay.png", Kind::Image},
    {":/Images/downloadStart.png", Kind::Image},
    {":/Images/downloadStop.png", Kind::Image},
    {":/Images/ic_add_contact.png", Kind::Image},
    {":/Images/ic_attach.png", Kind::Image},
    {":/Images/ic_camera_round bold .png", Kind::Image},
    {":/Images/ic_channel_bold.png", Kind::Image},
    {":/Images/ic_channel_bold_active.png", Kind::Image},
    {":/Images/ic_channel_w.png", Kind::Image},
    {":/Images/ic_chat.png", Kind::Image},
    {":/Images/ic_chat_colored.png", Kind::Image},
    {":/Images/ic_check_32.png", Kind::Image},
    {":/Images/ic_checkable_items bold .png", Kind::Image},
    {":/Images/ic_close.png", Kind::Image},
    {":/Images/ic_communication_call bold .png", Kind::Image},
    {":/Images/ic_contact_bold.png", Kind::Image},
    {":/Images/ic_contact_bold_active.png", Kind::Image},
    {":/Images/ic_create_channel.png", Kind::Image},
    {":/Images/ic_edit_black_32.png", Kind::Image},
    {":/Images/ic_edit_red.png", Kind::Image},
    {":/Images/ic_edit_white_32.png", Kind::Image},
    {":/Images/ic_emoji.png", Kind::Image},
    {":/Images/ic_exit.png", Kind::Image},
    {":/Images/ic_group.png", Kind::Image},
    {":/Images/ic_group_active.png", Kind::Image},
    {":/Images/ic_group_white.png", Kind::Image},
    {":/Images/ic_like_chat_gray.png", Kind::Image},
    {":/Images/ic_like_chat_white.png", Kind::Image},
    {":/Images/ic_list_of_channel.png", Kind::Image},
    {":/Images/ic_message_like_fill.png", Kind::Image},
    {":/Images/ic_message_like_outline.png", Kind::Image},
    {":/Images/ic_message_schedule_white.png", Kind::Image},
    {":/Images/ic_message_tick_double_green.png", Kind::Image},
    {":/Images/ic_message_tick_double_white.png", Kind::Image},
    {":/Images/ic_message_tick_white.png", Kind::Image},
    {":/Images/ic_person.png", Kind::Image},
    {":/Images/ic_profile.png", Kind::Image},
    {":/Images/ic_reply.png", Kind::Image},
    {":/Images/ic_rotate_left bold.png", Kind::Image},
    {":/Images/ic_search.png", Kind::Image},
    {":/Images/ic_send_colored.png", Kind::Image},
    {":/Images/ic_setting.png", Kind::Image},
    {":/Images/location.png", Kind::Image},
    {":/Images/menu_black.png", Kind::Image},
    {":/Images/menu_white.png", Kind::Image},
    {":/Images/poll.png", Kind::Image},
    {":/Images/radioButton.png", Kind::Image},
    {":/Images/radioButtonChecked.png", Kind::Image},
    {":/Images/radioButtonChecked_disabled.png", Kind::Image},
    {":/Images/radioButton_disabled.png", Kind::Image},
    {":/Images/removeRedCross.png", Kind::Image},
    {":/Images/uploadRetry.png", Kind::Image},
};

// Share of pixels that are not fully transparent.
double coverage(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    qint64 drawn = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            drawn += qAlpha(line[x]) > 0;
    }
    return double(drawn) / (argb.width() * argb.height());
}

QString catalogueSource(const char* name)
{
    return QStringLiteral(QUORVEL_SOURCE_DIR "/Quorvel/resources/translations/") +
           QLatin1String(name);
}

bool hasArabicScript(const QString& text)
{
    for (const QChar c : text)
        if (c.script() == QChar::Script_Arabic)
            return true;
    return false;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void namedResourceLoads_data();
    void namedResourceLoads();
    void everyPathInTheProgramsCodeExists();
    void fontsGiveTheirFamilies_data();
    void fontsGiveTheirFamilies();
    void digitFontsDrawPersianDigits_data();
    void digitFontsDrawPersianDigits();
    void styleSheetSelectsTheScreensObjectNames_data();
    void styleSheetSelectsTheScreensObjectNames();
    void styleSheetIsWellFormed();
    void textStandsOutFromWhatIsBehindIt_data();
    void textStandsOutFromWhatIsBehindIt();
    void cataloguesAnswerEveryEntry_data();
    void cataloguesAnswerEveryEntry();
    void cataloguesHoldTheSameKeys();
    void catalogueCheckCatchesAKeyWithoutPersianEntry_data();
    void catalogueCheckCatchesAKeyWithoutPersianEntry();
    void refreshingAddsNewKeysAndKeepsTheRest();
};

void TestResources::namedResourceLoads_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind");
    for (const Named& n : namedResources)
        QTest::newRow(n.path) << QString::fromUtf8(n.path) << int(n.kind);
}

void TestResources::namedResourceLoads()
{
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray data = file.readAll();
    QVERIFY(!data.isEmpty());

    switch (Kind(kind)) {
    case Kind::Image: {
        const QImage image(path);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= 24 && image.height() >= 24);
        // A picture that draws nothing would pass every other check.
        QVERIFY2(coverage(image) > 0.05, qPrintable(path));
        break;
    }
    case Kind::Icon: {
        const QIcon icon(path);
        QVERIFY(!icon.isNull());
        QVERIFY(!icon.pixmap(32, 32).isNull());
        break;
    }
    case Kind::Font:
        QVERIFY(QRawFont(data, 20).isValid());
        break;
    case Kind::Text:
        QVERIFY(!QString::fromUtf8(data).trimmed().isEmpty());
        break;
    case Kind::Catalogue: {
        QTranslator translator;
        QVERIFY(translator.load(path));
        QVERIFY(!translator.isEmpty());
        break;
    }
    }
}

void TestResources::everyPathInTheProgramsCodeExists()
{
    // A mistyped resource path only shows as a missing picture on some screen: every
    // literal path in the program's code must name a resource (or, ending in "/", a
    // folder of resources).
    static const QRegularExpression literal(QStringLiteral("\"(:/[^\"%]+)\""));
    QDirIterator files(QStringLiteral(QUORVEL_SOURCE_DIR "/Quorvel"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    int seen = 0;
    while (files.hasNext()) {
        const QString name = files.next();
        if (name.contains(QLatin1String("/resources/generator/")))
            continue;
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        auto it = literal.globalMatch(QString::fromUtf8(file.readAll()));
        while (it.hasNext()) {
            const QString path = it.next().captured(1);
            const bool exists =
                path.endsWith(QLatin1Char('/')) ? QDir(path).exists() : QFile::exists(path);
            QVERIFY2(exists, qPrintable(name + QStringLiteral(": ") + path));
            ++seen;
        }
    }
    QVERIFY(seen > 0);
}

void TestResources::fontsGiveTheirFamilies_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("style");
    QTest::newRow("regular") << ":/Fonts/IRANSans.ttf"
                             << "Vazirmatn"
                             << "Regular";
    QTest::newRow("persian digits") << ":/Fonts/IRANSans(FaNum).ttf"
                                    << "Vazirmatn FD"
                                    << "Regular";
    QTest::newRow("bold") << ":/Fonts/IRANSans_Bold.ttf"
                          << "Vazirmatn"
                          << "Bold";
    QTest::newRow("light") << ":/Fonts/IRANSans_Light.ttf"
                           << "Vazirmatn"
                           << "Light";
    QTest::newRow("medium") << ":/Fonts/IRANSans_Medium.ttf"
                            << "Vazirmatn"
                            << "Medium";
    QTest::newRow("ultra-light") << ":/Fonts/IRANSans_UltraLight.ttf"
                                 << "Vazirmatn"
                                 << "ExtraLight";
    QTest::newRow("second family") << ":/Fonts/Vazir-FD.ttf"
                                   << "Vazirmatn FD"
                                   << "Medium";
}

void TestResources::fontsGiveTheirFamilies()
{
    QFETCH(QString, path);
    QFETCH(QString, family);
    QFETCH(QString, style);
    const int id = QFontDatabase::addApplicationFont(path);
    QVERIFY(id >= 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    QCOMPARE(families.first(), family);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRawFont raw(file.readAll(), 20);
    QCOMPARE(raw.familyName(), family);
    QCOMPARE(raw.styleName(), style);
    // The family must draw Persian text, not fall back to boxes.
    QVERIFY(raw.supportsCharacter(QChar(0x06A9))); // keheh
    QVERIFY(raw.supportsCharacter(QChar(0x06CC))); // Farsi yeh
}

void TestResources::digitFontsDrawPersianDigits_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("persianDigits");
    QTest::newRow("regular") << ":/Fonts/IRANSans.ttf" << false;
    QTest::newRow("persian digits") << ":/Fonts/IRANSans(FaNum).ttf" << true;
    QTest::newRow("second family") << ":/Fonts/Vazir-FD.ttf" << true;
}

void TestResources::digitFontsDrawPersianDigits()
{
    QFETCH(QString, path);
    QFETCH(bool, persianDigits);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QRawFont raw(file.readAll(), 20);
    const auto latin = raw.glyphIndexesForString(QStringLiteral("0123456789"));
    const auto persian = raw.glyphIndexesForString(QStringLiteral("۰۱۲۳۴۵۶۷۸۹"));
    QCOMPARE(latin.size(), 10);
    QCOMPARE(persian.size(), 10);
    for (int i = 0; i < 10; ++i) {
        // The same outline under another glyph index still draws a Persian digit.
        const bool same = raw.pathForGlyph(latin[i]) == raw.pathForGlyph(persian[i]);
        QVERIFY2(same == persianDigits, qPrintable(QString::number(i)));
    }
}

void TestResources::styleSheetSelectsTheScreensObjectNames_data()
{
    QTest::addColumn<QString>("selector");
    const char* selectors[] = {
        "#RegisterPageLabel",
        "#NextButton",
        "#InvisibleNextButton",
        "#TransparentButton",
        "#ErrorMess",
        "#MobileNumberInput",
        "#mobileNumberFrame",
        "#activationFrame",
        "#activationCodeLineEdit",
        "#UserProfileUsername",
        "#UserProfileMotto",
        "#UserProfileUserImage",
        "#UserProfileSubmitButton",
        "CustomLineEdit#Error",
        "FlatButton#AddNewContactButton",
        "QLabel#ProfileLinkStyle",
        "#TransparentLabel",
        "#SlidingMenuUserInfo",
        "#SlidingMenuUserName",
        "#SlidingMenuUserMobileNumber",
        "#SideMenuBackButton",
        "#SideMenuScrollArea",
        "#MenuItemMenuAction",
        "#MenuItemSplitter",
        "#AppVersion",
        "#SidePanel",
        "#TabButtonSelected",
        "#TabButtonUnSelected",
        "#ChatTabContactsListContents",
        "#ContactTabContactsListContents",
        "#ConnectionStatusWidgetLabel",
        "#ForceUpdateErrorUpdateButton",
        "#SelectChat",
        "ChatWidget#ChatWidgetNormal",
        "ChatWidget#ChatWidgetNormal:hover",
        "ChatWidget#ChatWidgetSelected",
        "QLabel#ChatWidgetUnreadMessageNumber",
        "QLabel#ChatWidgetUnreadMessageNumberNotifoff",
        "#ContactWidgetNormal",
        "#ContactWidgetSelected",
        "#ChannelWidgetNormal",
        "#ChannelWidgetSelected",
        "#AvatarChannelWidget",
        "#SearchBarSearchInput",
        "#SettingScrollWidget",
        "#SettingCloseIcon",
        "#SettingEditButton",
        "#ScaleButtonSelected",
        "#ScaleButtonUnSelected",
        "#ScrollArea",
        "#PopupWindowTransparentArea",
        "DialogManager",
        "#FullscreenCloseLabel",
        "#SPopupBase",
        "#SPopupMainFrame_Header",
        "#SPopupMainFrameHeaderTitle",
        "#SPopupMainFrameFrame",
        "#PopupWindowTitleFrame",
        "#PopupWindowTitleString",
        "#PopupWindowScrollArea",
        "#PopupWindowBoard",
        "#ToastFrame",
        "#ToastLabel",
        "ChatWindowTitle",
        "QLabel#ChatWindowTitleMain",
        "QLabel#ChatWindowTitleSub",
        "#ChatWindowMessageInput",
        "#ChatWindowAttachBtn",
        "#ChatWindowEmojiBtn",
        "#ChatWindowPollBtn",
        "#ChatWindowSendRecodeBtn",
        "#ChatWindowMuteButton",
        "#ChatMessageContainerDateLabel",
        "#ChatMessage",
        "#Sender",
        "#Receiver",
        "#ChatMessageWidgetControlMessage",
        "#SimpleChatMessageContentBodyByMe",
        "#SimpleChatMessageContentBodyByOthers",
        "#ChatMessageSentTimeByMe",
        "#ChatMessageSentTimeByOthers",
        "#OtherFileWidgetNameLabelByMe",
        "#OtherFileWidgetNameLabelByOther",
        "#OtherFileWidgetSizeLabelByMe",
        "#OtherFileWidgetSizeLabelByOther",
        "#ThumbnailWidget",
        "#ReplyMessageWidgetCloseIcon",
        "#MessageSenderColor",
        "ReplyMessageOutLine#Me",
        "#ReplyMessageOutLineSenderMe",
        "#ReplyMessageOutLineSenderOther",
        "#ReplyMessageOutLineMessageMe",
        "#ReplyMessageOutLineMessageOther",
        "QWidget#GroupProfileScrollBoard",
        "#ChannelProfileAdminContent",
        "#ChartWidgetFrame",
        "#CreatePollWidget_ChoicesBoard",
        "#PollChoiceWidget_RemoveButton",
        "#CustomRadioButton",
    };
    for (const char* s : selectors)
        QTest::newRow(s) << QString::fromLatin1(s);
}

void TestResources::styleSheetSelectsTheScreensObjectNames()
{
    QFETCH(QString, selector);
    QFile file(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString sheet = QString::fromUtf8(file.readAll());
    // The selector must stand whole: "#Sender" must not be satisfied by "#SenderX".
    const QRegularExpression whole(QRegularExpression::escape(selector) +
                                   QStringLiteral("(?![A-Za-z0-9_])"));
    QVERIFY2(whole.match(sheet).hasMatch(), qPrintable(selector));
}

void TestResources::styleSheetIsWellFormed()
{
    QFile file(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString sheet = QString::fromUtf8(file.readAll());
    sheet.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                    QRegularExpression::DotMatchesEverythingOption));
    int depth = 0;
    for (const QChar c : sheet) {
        if (c == QLatin1Char('{'))
            ++depth;
        else if (c == QLatin1Char('}'))
            --depth;
        QVERIFY(depth >= 0 && depth <= 1);
    }
    QCOMPARE(depth, 0);

    // Qt parses the sheet when a widget is polished; a sheet it cannot parse leaves
    // every widget unstyled and only logs a warning.
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; });
    QWidget widget;
    widget.setObjectName(QStringLiteral("SidePanel"));
    widget.setStyleSheet(sheet);
    widget.ensurePolished();
    QLabel label(&widget);
    label.setObjectName(QStringLiteral("ToastLabel"));
    label.ensurePolished();
    qInstallMessageHandler(previous);
    QVERIFY2(warnings.filter(QStringLiteral("parse")).isEmpty(), qPrintable(warnings.join('\n')));
    // The sheet reached the label: its rule makes the text white.
    QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::white));
}

namespace {

// Contrast of two colours as the ratio of their relative luminances (1 to 21).
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor averageColour(const QImage& image)
{
    double r = 0, g = 0, b = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
        }
    }
    const double n = double(image.width()) * image.height();
    return QColor(int(r / n), int(g / n), int(b / n));
}

} // namespace

// Colours the sheet gives a text, or the default board, against what lies
// behind them: a bubble drawn by the sheet, or the board's picture.
void TestResources::textStandsOutFromWhatIsBehindIt_data()
{
    QTest::addColumn<QString>("front");  // a label's object name, or empty: a plain bubble
    QTest::addColumn<QString>("behind"); // a frame's object name, or empty: the default board
    QTest::addColumn<double>("least");
    QTest::newRow("peer's bubble on the board") << QString() << "Receiver" << 1.3;
    QTest::newRow("own bubble on the board") << QString() << "Sender" << 1.3;
    QTest::newRow("file size in a peer's bubble") << "OtherFileWidgetSizeLabelByOther"
                                                  << "Receiver" << 2.5;
    QTest::newRow("file size in an own bubble") << "OtherFileWidgetSizeLabelByMe"
                                                << "Sender" << 2.0;
    QTest::newRow("file name in a peer's bubble") << "OtherFileWidgetNameLabelByOther"
                                                  << "Receiver" << 4.5;
}

void TestResources::textStandsOutFromWhatIsBehindIt()
{
    QFETCH(QString, front);
    QFETCH(QString, behind);
    QFETCH(double, least);
    QFile file(QStringLiteral(":/Style/QuorvelDefaultStyle.css"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QWidget host;
    host.setStyleSheet(QString::fromUtf8(file.readAll()));
    auto* bubble = new QFrame(&host);
    bubble->setObjectName(behind);
    bubble->setGeometry(0, 0, 60, 40);
    auto* label = new QLabel(bubble);
    label->setObjectName(front);
    host.resize(60, 40);
    host.ensurePolished();
    label->ensurePolished();
    const QColor bubbleColour = bubble->grab().toImage().pixelColor(30, 38);
    QColor other;
    if (front.isEmpty()) {
        const QImage board(QStringLiteral(":/Images/img_default_chat_bg.png"));
        QVERIFY(!board.isNull());
        other = averageColour(board.scaled(64, 48));
    } else {
        other = label->palette().color(QPalette::WindowText);
    }
    const double ratio = contrast(other, bubbleColour);
    QVERIFY2(ratio >= least, qPrintable(QStringLiteral("%1 on %2: %3")
                                            .arg(other.name(), bubbleColour.name())
                                            .arg(ratio, 0, 'f', 2)));
}

void TestResources::cataloguesAnswerEveryEntry_data()
{
    QTest::addColumn<QString>("ts");
    QTest::addColumn<QString>("qm");
    QTest::addColumn<bool>("persian");
    QTest::newRow("persian") << catalogueSource("quorvel_persian.ts") << ":/Lng/quorvel_persian.qm"
                             << true;
    QTest::newRow("english") << catalogueSource("quorvel_english.ts") << ":/Lng/quorvel_english.qm"
                             << false;
}

void TestResources::cataloguesAnswerEveryEntry()
{
    QFETCH(QString, ts);
    QFETCH(QString, qm);
    QFETCH(bool, persian);
    Catalogue catalogue;
    QString error;
    QVERIFY2(catalogue.read(ts, &error), qPrintable(error));
    QVERIFY(catalogue.entries().size() > 100);
    QTranslator translator;
    QVERIFY(translator.load(qm));
    const auto& entries = catalogue.entries();
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString where = it.key().first + QStringLiteral(": ") + it.key().second;
        QVERIFY2(it->finished && !it->translation.trimmed().isEmpty(), qPrintable(where));
        const QString answer = translator.translate(it.key().first.toUtf8().constData(),
                                                    it.key().second.toUtf8().constData());
        QVERIFY2(answer == it->translation, qPrintable(where));
        if (persian)
            QVERIFY2(hasArabicScript(answer), qPrintable(where));
    }
}

void TestResources::cataloguesHoldTheSameKeys()
{
    Catalogue persian;
    Catalogue english;
    QString error;
    QVERIFY2(persian.read(catalogueSource("quorvel_persian.ts"), &error), qPrintable(error));
    QVERIFY2(english.read(catalogueSource("quorvel_english.ts"), &error), qPrintable(error));
    QVERIFY(!persian.entries().isEmpty());
    QCOMPARE(persian.missing(english), QStringList());
    QCOMPARE(english.missing(persian), QStringList());
}

void TestResources::catalogueCheckCatchesAKeyWithoutPersianEntry_data()
{
    QTest::addColumn<QString>("scanned");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<bool>("passes");
    auto ts = [](const QString& body) {
        return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
                              "<TS version=\"2.1\">") +
               body + QStringLiteral("</TS>\n");
    };
    const QString used =
        ts(QStringLiteral("<context><name>Intro</name><message><source>_IntroButton</source>"
                          "<translation type=\"unfinished\"></translation></message></context>"));
    QTest::newRow("finished entry")
        << used
        << ts(QStringLiteral("<context><name>Intro</name><message><source>"
                             "_IntroButton</source><translation>شروع"
                             "</translation></message></context>"))
        << true;
    QTest::newRow("unfinished entry")
        << used
        << ts(QStringLiteral("<context><name>Intro</name><message><source>_IntroButton</source>"
                             "<translation type=\"unfinished\">شروع</translation></message>"
                             "</context>"))
        << false;
    QTest::newRow("empty entry")
        << used
        << ts(QStringLiteral("<context><name>Intro</name><message><source>_IntroButton</source>"
                             "<translation> </translation></message></context>"))
        << false;
    QTest::newRow("entry of another context")
        << used
        << ts(QStringLiteral("<context><name>Register</name><message><source>_IntroButton"
                             "</source><translation>شروع</translation></message></context>"))
        << false;
    QTest::newRow("no key used") << ts(QString()) << ts(QString()) << true;
}

void TestResources::catalogueCheckCatchesAKeyWithoutPersianEntry()
{
    QFETCH(QString, scanned);
    QFETCH(QString, translated);
    QFETCH(bool, passes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&](const QString& name, const QString& text) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) > 0;
    };
    QVERIFY(write(QStringLiteral("scanned.ts"), scanned));
    QVERIFY(write(QStringLiteral("persian.ts"), translated));
    QProcess check;
    check.start(QStringLiteral(QUORVEL_RESGEN),
                {QStringLiteral("check-catalogue"), dir.filePath(QStringLiteral("scanned.ts")),
                 dir.filePath(QStringLiteral("persian.ts"))});
    QVERIFY(check.waitForFinished(60000));
    QCOMPARE(check.exitStatus(), QProcess::NormalExit);
    QCOMPARE(check.exitCode() == 0, passes);
    if (!passes)
        QVERIFY(check.readAllStandardError().contains("Intro: _IntroButton"));
}

void TestResources::refreshingAddsNewKeysAndKeepsTheRest()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&](const QString& name, const QString& body) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly) &&
               f.write((QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                       "<!DOCTYPE TS>\n<TS version=\"2.1\">\n") +
                        body + QStringLiteral("</TS>\n"))
                           .toUtf8()) > 0;
    };
    // A key the code does not use yet must survive: screens not written yet need it.
    QVERIFY(write(QStringLiteral("persian.ts"),
                  QStringLiteral("<context>\n    <name>Intro</name>\n    <message>\n"
                                 "        <source>_IntroButton</source>\n"
                                 "        <translation>شروع</translation>\n    </message>\n"
                                 "</context>\n<context>\n    <name>Setting</name>\n"
                                 "    <message>\n        <source>_Edit</source>\n"
                                 "        <translation>ویرایش</translation>\n"
                                 "    </message>\n</context>\n")));
    QVERIFY(write(QStringLiteral("scanned.ts"),
                  QStringLiteral("<context><name>Intro</name>"
                                 "<message><source>_IntroButton</source><translation/></message>"
                                 "<message><source>_New &amp; &lt;b&gt;</source><translation/>"
                                 "</message></context><context><name>Toast</name><message>"
                                 "<source>_x</source><translation/></message></context>")));
    auto refresh = [&]() {
        QProcess tool;
        tool.start(QStringLiteral(QUORVEL_RESGEN),
                   {QStringLiteral("add-absent"), dir.filePath(QStringLiteral("scanned.ts")),
                    dir.filePath(QStringLiteral("persian.ts"))});
        return tool.waitForFinished(60000) && tool.exitCode() == 0;
    };
    for (int round = 0; round < 2; ++round) { // a second run changes nothing
        QVERIFY(refresh());
        Catalogue result;
        QString error;
        QVERIFY2(result.read(dir.filePath(QStringLiteral("persian.ts")), &error),
                 qPrintable(error));
        const auto& e = result.entries();
        QCOMPARE(e.size(), 4);
        QCOMPARE(e.value({"Intro", "_IntroButton"}).translation, QStringLiteral("شروع"));
        QVERIFY(e.value({"Intro", "_IntroButton"}).finished);
        QCOMPARE(e.value({"Setting", "_Edit"}).translation, QStringLiteral("ویرایش"));
        QVERIFY(e.contains({"Intro", "_New & <b>"}));
        QVERIFY(!e.value({"Intro", "_New & <b>"}).finished);
        QVERIFY(e.contains({"Toast", "_x"}));
        QVERIFY(!e.value({"Toast", "_x"}).finished);
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
