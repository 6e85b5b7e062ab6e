// The contact screens driven with mouse and keys: the add-contact form, the
// contact row and the contact profile, each checked by the commands it sends
// and what it shows; pictures of each are saved for looking at.
#include "screentestsupport.h"

#include "Managers/Chat/chatrecipient.h"
#include "Managers/Contact/contact.h"
#include "chat/chatwidget.h"
#include "screens/addnewcontact.h"
#include "screens/contactprofile.h"
#include "screens/contactwidget.h"
#include "screens/screenfonts.h"
#include "widgets/checkbox.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/label.h"
#include "widgets/phonetext.h"
#include "widgets/popupmanager.h"

#include <QLabel>
#include <QPainterPath>

using namespace ScreenTest;

namespace {

// The darkest pixel of a widget as its parent draws it (style sheet and
// effects included): the colour of its text.
QColor ink(QWidget* widget)
{
    const QImage image = widget->parentWidget()
                             ->grab(widget->geometry())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QColor darkest(Qt::white);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c.red() + c.green() + c.blue() < darkest.red() + darkest.green() + darkest.blue())
                darkest = c;
        }
    }
    return darkest;
}

int lightness(const QColor& c)
{
    return c.red() + c.green() + c.blue();
}

Contact person(const QString& number, const QString& nick)
{
    Contact contact;
    contact.setNumber(number);
    contact.setNickName(nick);
    contact.setIsMyContact(true);
    return contact;
}

// Whether the font draws the text's ASCII digits as their Persian forms:
// the outline of the text is that of the text with Persian digits.
bool drawsPersianDigits(const QFont& font, const QString& text)
{
    QString persian = text;
    for (QChar& c : persian)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QChar(0x06F0 + c.unicode() - '0');
    QPainterPath written;
    written.addText(0, 0, font, text);
    QPainterPath shaped;
    shaped.addText(0, 0, font, persian);
    return written == shaped;
}

bool hasAsciiDigit(const QString& text)
{
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            return true;
    return false;
}

QString addContactText(const char* key)
{
    return QCoreApplication::translate("AddNewContact", key);
}

} // namespace

class TestContactScreens : public QObject
{
    Q_OBJECT

    QTranslator translator;
    QWidget* host = nullptr;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<Command>("Command");
        QVERIFY(setUpApplication(&translator));
    }

    void init() { host = openHost(QSize(700, 600)); }
    void cleanup() { closeHost(host); }

    void addContactChecksInput_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("mobile");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("error");
        const QString badNumber =
            QCoreApplication::translate("EnterMobileNumber", "_ErrorMobileNumberNotValid");
        QTest::newRow("first name only") << "Sara"
                                         << ""
                                         << "09121234567"
                                         << "989121234567"
                                         << "";
        QTest::newRow("with family") << "Sara"
                                     << "Moradi"
                                     << "09121234567"
                                     << "989121234567"
                                     << "";
        QTest::newRow("ten digits") << "Sara"
                                    << ""
                                    << "0912123456"
                                    << "" << badNumber;
        QTest::newRow("starts 08") << "Sara"
                                   << ""
                                   << "08121234567"
                                   << "" << badNumber;
        QTest::newRow("placeholder number") << "Sara"
                                            << ""
                                            << ""
                                            << "" << badNumber;
        QTest::newRow("star after ten digits") << "Sara"
                                               << ""
                                               << "0912123456*"
                                               << "" << badNumber;
        QTest::newRow("letters refused") << "Sara"
                                         << ""
                                         << "09ab121234567"
                                         << "989121234567"
                                         << "";
        QTest::newRow("twelfth digit refused") << "Sara"
                                               << ""
                                               << "091212345678"
                                               << "989121234567"
                                               << "";
        QTest::newRow("no name before number") << ""
                                               << ""
                                               << "0912"
                                               << "" << addContactText("_EnterName");
    }

    void addContactChecksInput()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, mobile);
        QFETCH(QString, number);
        QFETCH(QString, error);
        AddNewContact form(host);
        form.show();
        Commands sent(&form);
        if (!first.isEmpty())
            type(form.firstNameField(), first);
        if (!last.isEmpty())
            type(form.lastNameField(), last);
        if (!mobile.isEmpty())
            type(form.mobileField(), mobile);
        click(form.createButton());
        if (number.isEmpty()) {
            QCOMPARE(sent.count(), 0);
            QVERIFY(form.errorLabel()->isVisible());
            QCOMPARE(form.errorLabel()->text(), error);
            // The whole text can be read.
            QTRY_VERIFY(form.errorLabel()->width() >= form.errorLabel()->sizeHint().width());
            QVERIFY(form.isVisible());
            return;
        }
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.at(0), CMD_AddContact);
        const Contact contact = sent.payload(0).value<Contact>();
        QCOMPARE(contact.getFirstName(), first);
        QCOMPARE(contact.getLastName(), last);
        QCOMPARE(contact.getNumber(), number);
        QVERIFY(form.isHidden());
        QVERIFY(form.firstNameField()->isEmptyText());
        QVERIFY(form.mobileField()->isEmptyText());
    }

    void addContactStartsEmptyForEachContact()
    {
        AddNewContact form(host);
        form.show();
        type(form.firstNameField(), "Ali");
        type(form.lastNameField(), "Karimi");
        type(form.mobileField(), "09351112233");
        click(form.createButton());
        form.resetForm();
        form.show();
        for (CustomLineEdit* field :
             {form.firstNameField(), form.lastNameField(), form.mobileField()})
            QVERIFY2(field->isEmptyText(), qPrintable(field->text()));

        // The next contact has no family name: none is carried over.
        Commands sent(&form);
        type(form.firstNameField(), "Reza");
        type(form.mobileField(), "09351112244");
        click(form.createButton());
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.payload(0).value<Contact>().getLastName(), QString());

        form.show();
        type(form.lastNameField(), "Left");
        click(form.ignoreButton());
        QVERIFY(form.isHidden());
        QVERIFY(form.lastNameField()->isEmptyText());
    }

    void addContactErrorHidesOnWatchedFields()
    {
        AddNewContact form(host);
        form.show();
        click(form.createButton());
        QVERIFY(form.errorLabel()->isVisible());
        type(form.lastNameField(), "x");
        QVERIFY(form.errorLabel()->isVisible());
        type(form.firstNameField(), "x");
        QVERIFY(form.errorLabel()->isHidden());
        click(form.createButton());
        QVERIFY(form.errorLabel()->isVisible());
        type(form.mobileField(), "0");
        QVERIFY(form.errorLabel()->isHidden());
        QVERIFY(saveShot(&form, "screens-addcontact.png"));
    }

    void contactRowSearchAndClicks_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("found");
        QTest::newRow("name any case") << "alp" << true;
        QTest::newRow("name upper") << "ALPHA" << true;
        QTest::newRow("number part") << "91200" << true;
        QTest::newRow("number with plus") << "+98" << true;
        QTest::newRow("elsewhere") << "beta" << false;
    }

    void contactRowSearchAndClicks()
    {
        QFETCH(QString, search);
        QFETCH(bool, found);
        ContactWidget row(host);
        row.setContact(person("989120012345", "Alpha"));
        row.resize(300, 60);
        row.show();
        QCOMPARE(row.getName(), QStringLiteral("Alpha"));
        QCOMPARE(row.containsText(search), found);

        QSignalSpy clicked(&row, &ContactWidget::contactClicked);
        QTest::mouseClick(&row, Qt::RightButton);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(row.objectName(), QStringLiteral("ContactWidgetNormal"));
        QTest::mouseClick(&row, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).value<Contact>().getNumber(), QStringLiteral("989120012345"));
        QCOMPARE(row.objectName(), QStringLiteral("ContactWidgetSelected"));
        row.deselect();
        QCOMPARE(row.objectName(), QStringLiteral("ContactWidgetNormal"));
    }

    void contactRowShowsMarkupAsText()
    {
        ContactWidget row(host);
        row.setContact(person("989120000001", "<b>bold</b>"));
        QCOMPARE(row.getName(), QStringLiteral("<b>bold</b>"));
        const auto labels = row.findChildren<QLabel*>();
        for (const QLabel* label : labels) {
            if (label->text().contains(QLatin1String("<b>")))
                QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }

    void profileAsksLastSeenOncePerNumber()
    {
        ContactProfile profile(host);
        profile.resize(host->size());
        Commands sent(&profile);
        profile.showContact(person("989120000001", "A"));
        profile.slideIn();
        for (int width : {500, 520, 640})
            profile.resize(width, 500);
        QCOMPARE(sent.countOf(CMD_LastSeen), 1);
        QVERIFY(profile.lastSeenLabel()->isHidden());

        // Another person: one question for the new number, however often
        // the panel is laid out while the answer is on its way.
        sent.clear();
        profile.showContact(person("989120000002", "B"));
        profile.resize(600, 500);
        QCOMPARE(sent.all(), QList<int>({CMD_LastSeen}));
        QCOMPARE(sent.payload(0).toString(), QStringLiteral("989120000002"));

        // An answer for someone else is not this panel's.
        profile.setLastSeen("989120000001", QDateTime::currentDateTime());
        QVERIFY(profile.lastSeenLabel()->isHidden());
        profile.setLastSeen("989120000002", QDateTime::currentDateTime().addSecs(-120));
        QVERIFY(profile.lastSeenLabel()->isVisible());
        QVERIFY(!profile.lastSeenLabel()->text().isEmpty());
        QCOMPARE(profile.lastSeenLabel()->y(),
                 profile.nameLabel()->y() + profile.nameLabel()->height());

        // Shown again with its time held: the one question of a new showing.
        sent.clear();
        profile.showContact(person("989120000002", "B"));
        profile.resize(610, 500);
        QCOMPARE(sent.all(), QList<int>({CMD_LastSeen}));
        QVERIFY(profile.lastSeenLabel()->isVisible());
        QVERIFY(saveShot(&profile, "screens-contactprofile.png"));
    }

    // A number reads in the profile as in the chat header, the rows, the
    // picker and the bubbles: its digits drawn as written, "+" and all.
    void profileShowsNumbersAsEverywhere_data()
    {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<int>("secondsAgo");
        QTest::newRow("no name, minutes ago") << QString() << 5 * 60;
        QTest::newRow("name with digits, hours ago") << QString("Ali 27") << 3 * 3600;
        QTest::newRow("persian name, days ago") << QString::fromUtf8("علی") << 9 * 86400;
    }

    void profileShowsNumbersAsEverywhere()
    {
        QFETCH(QString, nick);
        QFETCH(int, secondsAgo);
        // The probe tells the profile's old digit font from the others.
        QVERIFY(drawsPersianDigits(ScreenFonts::digits(10), "+989120000042"));
        QVERIFY(!drawsPersianDigits(Fonts::getFont(baseFontSize), "+989120000042"));

        ContactProfile profile(host);
        profile.resize(host->size());
        profile.showContact(person("989120000042", nick));
        profile.setLastSeen("989120000042", QDateTime::currentDateTime().addSecs(-secondsAgo));
        profile.slideIn();
        QTRY_COMPARE(profile.x(), 0);

        QCOMPARE(profile.numberLabel()->text(), PhoneText::number("989120000042"));
        QVERIFY(profile.lastSeenLabel()->isVisible());
        QList<QLabel*> numbers{profile.numberLabel(), profile.lastSeenLabel()};
        if (hasAsciiDigit(profile.nameLabel()->text()))
            numbers << profile.nameLabel();
        for (QLabel* label : numbers) {
            QVERIFY2(hasAsciiDigit(label->text()), qPrintable(label->text()));
            QVERIFY2(!drawsPersianDigits(label->font(), label->text()), qPrintable(label->text()));
        }
        // The rest of the profile keeps its font.
        QCOMPARE(profile.sendMessageButton()->font().family(), ScreenFonts::digits(16).family());

        // Beside a chat row of the same person, for looking at.
        if (nick.isEmpty()) {
            QWidget pair;
            loadStyleSheet(&pair);
            pair.setLayoutDirection(Qt::RightToLeft);
            pair.resize(host->width() + 340, host->height());
            ContactProfile beside(&pair);
            beside.setGeometry(0, 0, host->width(), host->height());
            beside.showContact(person("989120000042", nick));
            beside.setLastSeen("989120000042", QDateTime::currentDateTime().addSecs(-secondsAgo));
            beside.show();
            auto* row = new ChatWidget(&pair);
            row->setObjectName(QStringLiteral("ChatWidgetNormal"));
            ChatRecipient recipient;
            Contact contact = person("989120000042", nick);
            recipient.setContact(contact);
            Message last(MessageBase::MsgMajorType_SimpleChat, "989120000042", "989120000042",
                         QString::fromUtf8("شماره‌ام 989120000042 است"));
            last.setMessageId(QStringLiteral("last_digits"));
            last.setSendTimeInGMT(QDateTime::currentMSecsSinceEpoch());
            recipient.setLastMsg(last);
            row->setChatRecipient(recipient);
            row->setGeometry(host->width(), 0, 340, 60);
            pair.show();
            QVERIFY(QTest::qWaitForWindowExposed(&pair));
            QVERIFY(saveShot(&pair, "screens-contactprofile-digits.png"));
        }
    }

    void profileSwitchesSendTheContact()
    {
        ContactProfile profile(host);
        profile.resize(host->size());
        profile.slideIn();
        Contact muted = person("989120000003", "C");
        muted.setMute(true);
        Commands sent(&profile);
        profile.showContact(muted);
        QVERIFY(profile.muteSwitch()->isChecked());
        QCOMPARE(sent.countOf(CMD_UpdateMuteStatus), 0);

        sent.clear();
        click(profile.muteSwitch()->imageLabel());
        click(profile.blockSwitch()->imageLabel());
        click(profile.blockSwitch()->imageLabel());
        QCOMPARE(sent.all(), QList<int>({CMD_UpdateMuteStatus, CMD_BlockUser, CMD_BlockUser}));
        QCOMPARE(sent.payload(0).value<Contact>().getMute(), false);
        QCOMPARE(sent.payload(1).value<Contact>().getBlocked(), true);
        QCOMPARE(sent.payload(2).value<Contact>().getBlocked(), false);
    }

    void profileButtonWidths_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("button");
        QTest::newRow("narrow") << 400 << 170;
        QTest::newRow("at the limit") << 460 << 200;
        QTest::newRow("wide") << 900 << 200;
    }

    void profileButtonWidths()
    {
        QFETCH(int, width);
        QFETCH(int, button);
        ContactProfile profile(host);
        profile.showContact(person("989120000004", "D"));
        profile.resize(width, 500);
        profile.show();
        QCOMPARE(profile.sendMessageButton()->width(), button);
        QCOMPARE(profile.callButton()->width(), button);
        QVERIFY(!profile.callButton()->isEnabled());
    }

    void profileDeletionsAskFirst_data()
    {
        QTest::addColumn<bool>("contact");
        QTest::addColumn<bool>("yes");
        QTest::newRow("contact, no") << true << false;
        QTest::newRow("contact, yes") << true << true;
        QTest::newRow("history, no") << false << false;
        QTest::newRow("history, yes") << false << true;
    }

    void profileDeletionsAskFirst()
    {
        QFETCH(bool, contact);
        QFETCH(bool, yes);
        ContactProfile profile(host);
        profile.resize(host->size());
        profile.showContact(person("989120000005", "E"));
        profile.slideIn();
        Commands sent(&profile);
        click(contact ? profile.deleteContactLink() : profile.deleteHistoryLink());
        QVERIFY(PopUpWarning::getInstance()->isVisible());
        QVERIFY(saveShot(host, "screens-contactprofile-question.png"));
        answerWarning(yes);
        if (!yes) {
            QCOMPARE(sent.count(), 0);
        } else if (contact) {
            QCOMPARE(sent.all(), QList<int>({CMD_DeleteContact}));
            QCOMPARE(sent.payload(0).value<Contact>().getNumber(), QStringLiteral("989120000005"));
            QTRY_VERIFY(profile.isHidden());
        } else {
            QCOMPARE(sent.all(), QList<int>({CMD_DeleteChat}));
            QCOMPARE(sent.payload(0).toString(), QStringLiteral("989120000005"));
        }
        // A later question of another screen no longer reaches this panel.
        sent.clear();
        PopUpWarning::showWarning("other", "DeleteContact", true, 0);
        answerWarning(true);
        QCOMPARE(sent.count(), 0);
    }

    // Buttons look as they act: a text button is drawn in the link blue,
    // unlike plain text; a disabled one ("Call", which the program cannot
    // do) is faded and shows no hand; enabling it brings its look back.
    void buttonsLookAsTheyAct()
    {
        ContactProfile profile(host);
        profile.resize(host->size());
        profile.showContact(person("989120000007", "G"));
        profile.slideIn();
        QTRY_COMPARE(profile.x(), 0);
        FlatButton* send = profile.sendMessageButton();
        FlatButton* call = profile.callButton();
        QVERIFY(send->isEnabled());
        QVERIFY(!call->isEnabled());
        const QColor active = ink(send);
        QVERIFY2(active.blue() > active.red() + 100, qPrintable(active.name()));
        const QColor plain = ink(profile.nameLabel());
        QVERIFY2(qAbs(plain.blue() - plain.red()) < 30, qPrintable(plain.name()));
        const QColor faded = ink(call);
        QVERIFY2(lightness(faded) > lightness(active) + 150,
                 qPrintable(faded.name() + " against " + active.name()));

        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(call, &enter);
        QCOMPARE(call->cursor().shape(), Qt::ArrowCursor);
        QApplication::sendEvent(send, &enter);
        QCOMPARE(send->cursor().shape(), Qt::PointingHandCursor);

        call->setEnabled(true);
        QVERIFY2(lightness(ink(call)) < lightness(active) + 60, qPrintable(ink(call).name()));
    }

    void profileBackAndSendMessageSlideOut()
    {
        ContactProfile profile(host);
        profile.resize(host->size());
        profile.showContact(person("989120000006", "F"));
        profile.slideIn();
        QSignalSpy back(&profile, &ContactProfile::contactProfileBackPressed);
        QSignalSpy start(&profile, &ContactProfile::startMessaging);
        click(profile.backButton());
        QCOMPARE(back.count(), 1);
        QTRY_VERIFY(profile.isHidden());
        profile.slideIn();
        QTRY_COMPARE(profile.x(), 0);
        click(profile.sendMessageButton());
        QCOMPARE(start.count(), 1);
        QCOMPARE(start.at(0).at(0).value<Contact>().getNumber(), QStringLiteral("989120000006"));
        QTRY_VERIFY(profile.isHidden());
    }
};

QTEST_MAIN(TestContactScreens)
#include "tst_contactscreens.moc"
