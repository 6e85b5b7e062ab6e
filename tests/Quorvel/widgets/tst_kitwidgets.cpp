// The clickable widgets of the kit, driven with the mouse and the keyboard:
// labels, the hint line edit, the spinner, buttons, check boxes, radio buttons
// and the unread badge.

#include "kittestsupport.h"
#include "widgets/avatarviewer.h"
#include "widgets/checkbox.h"
#include "widgets/checkboxgroup.h"
#include "widgets/contactselect.h"
#include "widgets/customlineedit.h"
#include "widgets/doublestatebutton.h"
#include "widgets/flatbutton.h"
#include "widgets/iconbutton.h"
#include "widgets/iconbuttonunreadcount.h"
#include "widgets/icontact.h"
#include "widgets/label.h"
#include "widgets/radiobutton.h"
#include "widgets/waitingspinnerwidget.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

using namespace KitTest;

class TestKitWidgets : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void labelReportsLeftPressOnly();
    void buttonsReportLeftReleaseOnly_data();
    void buttonsReportLeftReleaseOnly();
    void flatButtonTextIsPlain();
    void doubleStateButton();

    void lineEditShowsHintUntilTyping();
    void lineEditHintComesBackWhenEmptied();
    void lineEditKeepsCaretAndKeysAtHint();
    void lineEditPasteReplacingHint();

    void checkBoxClicksAndImages();
    void checkBoxDisabled();
    void checkBoxLinkAndGroup();
    void radioButton();

    void spinnerRules_data();
    void spinnerRules();
    void spinnerTrail();
    void spinnerStartStop();

    void unreadBadge_data();
    void unreadBadge();

    void contactSelector();

private:
    QPixmap checkedPicture, checkedDisabledPicture, uncheckedPicture, uncheckedDisabledPicture;
    QPixmap radioOn, radioOnDisabled, radioOff, radioOffDisabled;
};

void TestKitWidgets::initTestCase()
{
    QPixmapCache::setCacheLimit(100 * 1024);
    checkedPicture = seedCache("cacheCheckboxChecked", Qt::green);
    checkedDisabledPicture = seedCache("cacheCheckboxCheckedDisbled", Qt::darkGreen);
    uncheckedPicture = seedCache("cacheCheckboxUNChecked", Qt::white);
    uncheckedDisabledPicture = seedCache("cacheCheckboxUNCheckedDisabled", Qt::gray);
    radioOn = seedCache("radioButtonImageChecked", Qt::blue);
    radioOnDisabled = seedCache("radioButtonImageCheckedDisabled", Qt::darkBlue);
    radioOff = seedCache("radioButtonImageUnChecked", Qt::yellow);
    radioOffDisabled = seedCache("radioButtonImageUnCheckedDisabled", Qt::darkYellow);
}

void TestKitWidgets::labelReportsLeftPressOnly()
{
    Label label;
    label.resize(50, 20);
    QSignalSpy clicked(&label, &Label::clicked);
    QTest::mousePress(&label, Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    QTest::mousePress(&label, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

void TestKitWidgets::buttonsReportLeftReleaseOnly_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QSize>("size");
    QTest::newRow("flat") << "flat" << QSize(60, 30);
    QTest::newRow("icon") << "icon" << QSize(32, 32);
    QTest::newRow("unread") << "unread" << QSize(32, 32);
}

void TestKitWidgets::buttonsReportLeftReleaseOnly()
{
    QFETCH(QString, kind);
    QFETCH(QSize, size);
    std::unique_ptr<QWidget> button;
    std::unique_ptr<QSignalSpy> spy;
    if (kind == "flat") {
        auto* b = new FlatButton("ok", QSize(60, 30));
        spy.reset(new QSignalSpy(b, &FlatButton::onClick));
        button.reset(b);
    } else if (kind == "icon") {
        auto* b = new IconButton(QSize(32, 32), ":/Images/ic_search.png");
        spy.reset(new QSignalSpy(b, &IconButton::onClick));
        button.reset(b);
    } else {
        auto* b = new IconButtonUnreadCount(QSize(32, 32), ":/Images/ic_search.png");
        spy.reset(new QSignalSpy(b, &IconButton::onClick));
        button.reset(b);
    }
    button->show();
    QVERIFY(QTest::qWaitForWindowExposed(button.get()));
    // Drawn at their own size, with their text or icon.
    const QImage picture = button->grab().toImage();
    QCOMPARE(picture.size(), size);
    QVERIFY(colourCount(picture) >= 2);
    QTest::mouseClick(button.get(), Qt::RightButton);
    QTest::mouseClick(button.get(), Qt::MiddleButton);
    QCOMPARE(spy->count(), 0);
    QTest::mouseClick(button.get(), Qt::LeftButton);
    QCOMPARE(spy->count(), 1);

    // Hovering shows the pointing hand, leaving the arrow.
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(button.get(), &enter);
    QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button.get(), &leave);
    QCOMPARE(button->cursor().shape(), Qt::ArrowCursor);
}

void TestKitWidgets::flatButtonTextIsPlain()
{
    FlatButton button("<b>bold</b><img src='x'>", QSize(200, 30));
    QCOMPARE(button.textFormat(), Qt::PlainText);
    QSignalSpy entered(&button, &FlatButton::mouseEntered);
    QSignalSpy left(&button, &FlatButton::mouseLeft);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(&button, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);
    QVERIFY(!isBlank(&button));
}

void TestKitWidgets::doubleStateButton()
{
    const QPixmap on = seedCache("dsbOn", Qt::red, 24);
    const QPixmap off = seedCache("dsbOff", Qt::black, 24);
    DoubleStateButton button;
    button.setImages("dsbOn", ":/Images/none.png", "dsbOff", ":/Images/none.png", QSize(24, 24));
    QCOMPARE(button.size(), QSize(24, 24));
    // Nothing shows before the first setState.
    QVERIFY(button.pixmap(Qt::ReturnByValue).isNull());
    button.setState(false);
    QCOMPARE(button.pixmap(Qt::ReturnByValue).cacheKey(), off.cacheKey());

    QSignalSpy clicked(&button, &DoubleStateButton::clicked);
    QTest::mouseClick(&button, Qt::RightButton);
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 3);
    QCOMPARE(clicked.at(0).at(0).toBool(), true);
    QCOMPARE(clicked.at(1).at(0).toBool(), false);
    QCOMPARE(button.getState(), true);
    QCOMPARE(button.pixmap(Qt::ReturnByValue).cacheKey(), on.cacheKey());
}

void TestKitWidgets::lineEditShowsHintUntilTyping()
{
    CustomLineEdit edit("Name");
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QCOMPARE(edit.text(), QString("Name"));
    QCOMPARE(edit.cursorPosition(), 0);
    QVERIFY(edit.isEmptyText());
    QCOMPARE(edit.placeholderText(), QString());

    QSignalSpy changed(&edit, &CustomLineEdit::stringChanged);
    QTest::keyClick(&edit, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(edit.text(), QString("a"));
    QVERIFY(!edit.isEmptyText());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().at(0).toString(), QString("a"));

    // Persian text arrives as characters, never as the hint.
    QTest::sendKeyEvent(QTest::KeyAction::Click, &edit, Qt::Key_unknown, QStringLiteral("\u0633"),
                        Qt::NoModifier);
    QCOMPARE(edit.text(), QStringLiteral("a\u0633"));
    QCOMPARE(changed.last().at(0).toString(), QStringLiteral("a\u0633"));
    for (const QList<QVariant>& args : qAsConst(changed))
        QVERIFY(!args.at(0).toString().contains("Name"));
}

void TestKitWidgets::lineEditHintComesBackWhenEmptied()
{
    CustomLineEdit edit("Name");
    edit.show();
    QTest::keyClicks(&edit, "ab");
    QSignalSpy changed(&edit, &CustomLineEdit::stringChanged);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(changed.last().at(0).toString(), QString("a"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(changed.last().at(0).toString(), QString());
    QVERIFY(edit.isEmptyText());
    QCOMPARE(edit.text(), QString("Name"));
    QCOMPARE(edit.cursorPosition(), 0);
}

void TestKitWidgets::lineEditKeepsCaretAndKeysAtHint()
{
    CustomLineEdit edit("Phone number");
    edit.resize(200, 30);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QSignalSpy changed(&edit, &CustomLineEdit::stringChanged);
    QTest::mouseClick(&edit, Qt::LeftButton, Qt::NoModifier, QPoint(100, 15));
    QCOMPARE(edit.cursorPosition(), 0);
    QTest::keyClick(&edit, Qt::Key_End);
    QCOMPARE(edit.cursorPosition(), 0);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QString("Phone number"));
    QVERIFY(edit.isEmptyText());
    QCOMPARE(changed.count(), 0);
}

void TestKitWidgets::lineEditPasteReplacingHint()
{
    CustomLineEdit edit("Name");
    edit.show();
    QGuiApplication::clipboard()->setText("pasted words");
    edit.selectAll();
    QSignalSpy changed(&edit, &CustomLineEdit::stringChanged);
    edit.paste();
    QCOMPARE(edit.text(), QString("pasted words"));
    QVERIFY(!edit.isEmptyText());
    QCOMPARE(changed.last().at(0).toString(), QString("pasted words"));
}

void TestKitWidgets::checkBoxClicksAndImages()
{
    CheckBox box("Send with Enter");
    box.show();
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), uncheckedPicture.cacheKey());
    QSignalSpy selected(&box, &CheckBox::selected);
    QSignalSpy unselected(&box, &CheckBox::unselected);
    QTest::mouseClick(box.imageLabel(), Qt::LeftButton);
    QVERIFY(box.isChecked());
    QCOMPARE(selected.count(), 1);
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), checkedPicture.cacheKey());
    QTest::mouseClick(box.imageLabel(), Qt::LeftButton);
    QVERIFY(!box.isChecked());
    QCOMPARE(unselected.count(), 1);

    // setChecked draws but never signals.
    box.setChecked(true);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), checkedPicture.cacheKey());

    // Every check box shares the same cached pictures.
    CheckBox other;
    QCOMPARE(other.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), uncheckedPicture.cacheKey());
}

void TestKitWidgets::checkBoxDisabled()
{
    CheckBox box("x");
    box.show();
    box.setEnabled(false);
    // Disabling alone does not redraw.
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), uncheckedPicture.cacheKey());
    QSignalSpy selected(&box, &CheckBox::selected);
    box.imageLabel()->clicked();
    QCOMPARE(selected.count(), 0);
    QVERIFY(!box.isChecked());
    box.setChecked(true);
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(),
             checkedDisabledPicture.cacheKey());
    box.setChecked(false);
    QCOMPARE(box.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(),
             uncheckedDisabledPicture.cacheKey());
}

void TestKitWidgets::checkBoxLinkAndGroup()
{
    CheckBox box("I accept the <a href=\"terms\">terms</a>");
    QSignalSpy link(&box, &CheckBox::linkClicked);
    emit box.textLabel()->linkActivated("terms");
    QCOMPARE(link.count(), 1);
    QCOMPARE(link.first().at(0).toString(), QString("terms"));

    CheckBoxGroup group;
    CheckBox a, b, c;
    for (CheckBox* item : {&a, &b, &c})
        group.addCheckBox(item);
    a.setChecked(true);
    b.setChecked(true);
    QTest::mouseClick(c.imageLabel(), Qt::LeftButton);
    QVERIFY(a.isChecked() && b.isChecked() && c.isChecked());
    group.setExclusive(true);
    QTest::mouseClick(c.imageLabel(), Qt::LeftButton); // unchecks c
    QTest::mouseClick(c.imageLabel(), Qt::LeftButton); // checks c, others off
    QVERIFY(!a.isChecked() && !b.isChecked() && c.isChecked());
}

void TestKitWidgets::radioButton()
{
    RadioButton first, second;
    first.setText("<b>Option</b>");
    QCOMPARE(first.textLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(first.objectName(), QString("CustomRadioButton"));
    // The direction is the application's, as everywhere.
    QCOMPARE(first.layoutDirection(), QApplication::layoutDirection());
    QCOMPARE(first.imageLabel()->size(), QSize(15, 15));
    QCOMPARE(first.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), radioOff.cacheKey());
    connect(&first, &RadioButton::clicked, &second, &RadioButton::deselect);
    connect(&second, &RadioButton::clicked, &first, &RadioButton::deselect);

    QSignalSpy clicked(&first, &RadioButton::clicked);
    QTest::mouseClick(first.imageLabel(), Qt::LeftButton);
    QTest::mouseClick(first.imageLabel(), Qt::LeftButton);
    QCOMPARE(clicked.count(), 2);
    QVERIFY(first.isSelected());
    QCOMPARE(first.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), radioOn.cacheKey());

    QTest::mouseClick(second.imageLabel(), Qt::LeftButton);
    QVERIFY(second.isSelected());
    QVERIFY(!first.isSelected());
    QCOMPARE(clicked.count(), 2);

    second.setEnabled(false);
    second.setSelected(true);
    QCOMPARE(second.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(), radioOnDisabled.cacheKey());
    second.deselect();
    QTest::mouseClick(second.imageLabel(), Qt::LeftButton);
    QVERIFY(!second.isSelected());
    QCOMPARE(second.imageLabel()->pixmap(Qt::ReturnByValue).cacheKey(),
             radioOffDisabled.cacheKey());
}

void TestKitWidgets::spinnerRules_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<double>("turns");
    QTest::addColumn<int>("expectedLines");
    QTest::addColumn<int>("interval");
    QTest::newRow("defaults") << 20 << 1.5707963267948966 << 20 << 31;
    QTest::newRow("12 lines, 1 turn") << 12 << 1.0 << 12 << 83;
    QTest::newRow("no lines clamps to one") << 0 << 1.0 << 1 << 1000;
    QTest::newRow("negative lines clamp") << -4 << 1.0 << 1 << 1000;
    QTest::newRow("no speed clamps") << 10 << 0.0 << 10 << 10000;
}

void TestKitWidgets::spinnerRules()
{
    QFETCH(int, lines);
    QFETCH(double, turns);
    QFETCH(int, expectedLines);
    QFETCH(int, interval);
    QWidget parent;
    parent.resize(200, 100);
    WaitingSpinnerWidget spinner(&parent);
    QCOMPARE(spinner.size(), QSize(40, 40));
    spinner.setLineCount(lines);
    spinner.setTurnsPerSecond(turns);
    QCOMPARE(spinner.getLineCount(), expectedLines);
    QCOMPARE(spinner.interval(), interval);
    spinner.setRingRadius(20);
    spinner.setBarLength(5);
    QCOMPARE(spinner.size(), QSize(50, 50));
    parent.show();
    spinner.start();
    QCOMPARE(spinner.pos(), QPoint(75, 25));
    // A spinner of any configuration paints without dividing by zero.
    QVERIFY(!spinner.grab().isNull());
}

void TestKitWidgets::spinnerTrail()
{
    WaitingSpinnerWidget spinner;
    spinner.setLineColor(QColor(0, 0, 0, 255));
    spinner.setLineCount(12);
    spinner.setTrailFade(70);
    spinner.setMinTrailOpacity(10);
    QCOMPARE(spinner.barColor(0).alphaF(), 1.0);
    // Threshold ceil(11 * 0.7) = 8: eight fading bars in equal steps.
    const double step = (1.0 - 0.1) / 9;
    for (int d = 1; d <= 8; ++d)
        QVERIFY(qAbs(spinner.barColor(d).alphaF() - (1.0 - step * d)) < 0.01);
    for (int d = 9; d <= 11; ++d)
        QVERIFY(qAbs(spinner.barColor(d).alphaF() - 0.1) < 0.01);
    spinner.setCornerRoundness(250);
    spinner.setCornerRoundness(-3);
}

void TestKitWidgets::spinnerStartStop()
{
    QWidget parent;
    WaitingSpinnerWidget spinner(&parent, true, true);
    parent.show();
    spinner.stop();
    QVERIFY(parent.isEnabled());
    QVERIFY(spinner.isHidden());

    spinner.start();
    QVERIFY(spinner.isSpinning());
    QVERIFY(!parent.isEnabled());
    QVERIFY(spinner.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(spinner.getLeadLine() >= 2, 10000);
    spinner.setLineCount(8);
    QCOMPARE(spinner.getLeadLine(), 0);
    QCOMPARE(spinner.interval(), static_cast<int>(1000 / (8 * spinner.getTurnsPerSecond())));
    QVERIFY(!isBlank(&spinner));
    spinner.stop();
    QVERIFY(parent.isEnabled());
    QVERIFY(spinner.isHidden());
    QCOMPARE(spinner.getLeadLine(), 0);
}

void TestKitWidgets::unreadBadge_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << false << "0";
    QTest::newRow("negative shows none") << -7 << false << "0";
    QTest::newRow("one") << 1 << true << "1";
    QTest::newRow("99") << 99 << true << "99";
    QTest::newRow("100") << 100 << true << "99+";
}

void TestKitWidgets::unreadBadge()
{
    QFETCH(int, count);
    QFETCH(bool, shown);
    QFETCH(QString, text);
    IconButtonUnreadCount button(QSize(40, 40), ":/Images/ic_chat.png");
    button.show();
    button.setUnreadCount(5);
    button.setUnreadCount(count);
    QCOMPARE(button.badgeLabel()->isVisible(), shown);
    QCOMPARE(button.badgeLabel()->text(), text);
    QCOMPARE(button.getUnreadCount(), qMax(count, 0));
    if (shown) {
        QVERIFY(button.rect().contains(button.badgeLabel()->geometry()));
        if (count < 10)
            QCOMPARE(button.badgeLabel()->pos(), QPoint(20, 2));
    }
}

void TestKitWidgets::contactSelector()
{
    const auto contact = [](const char* number, const char* first, const char* last,
                            const char* nick) {
        Contact c;
        c.setNumber(number);
        c.setFirstName(first);
        c.setLastName(last);
        c.setNickName(nick);
        return c;
    };
    ContactSelect select;
    select.resize(300, 400);
    select.setContacts({contact("111", "Sara", "Amini", "sa"), contact("222", "Reza", "Bahar", ""),
                        contact("333", "Nima", "Karimi", "<b>nk</b>")});
    select.setLimit(3);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QSignalSpy invited(&select, &ContactSelect::inviteList);
    QSignalSpy closed(&select, &ContactSelect::closeWindow);

    // A click on an avatar ticks, a second click unticks.
    const auto clickAvatar = [&](const char* id) {
        AvatarViewer* avatar = select.row(id)->getAvatar();
        QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    };
    clickAvatar("111");
    clickAvatar("333");
    QCOMPARE(select.counterText(), QStringLiteral("3/2"));
    clickAvatar("111");
    QCOMPARE(select.counterText(), QStringLiteral("3/1"));
    QCOMPARE(select.selectedIds(), QStringList({"333"}));
    select.iContactUnselect("999");
    QCOMPARE(select.counterText(), QStringLiteral("3/1"));

    // The search matches first, last and nick names without regard to case,
    // and numbers.
    const QList<QPair<QString, QStringList>> searches{
        {"BAH", {"222"}}, {"sa", {"111"}}, {"33", {"333"}}, {"I", {"111", "333"}}, {"zz", {}}};
    for (const auto& search : searches) {
        select.searchString(search.first);
        QStringList shown;
        for (const char* id : {"111", "222", "333"}) {
            if (select.row(id)->isVisible())
                shown << id;
        }
        QCOMPARE(shown, search.second);
    }
    select.searchString(QString());

    // Invite hands over the ticked ids and starts again from nothing.
    QTest::mouseClick(select.inviteButton(), Qt::LeftButton);
    QCOMPARE(invited.count(), 1);
    QCOMPARE(invited.at(0).at(0).value<QList<QString>>(), QList<QString>({"333"}));
    QVERIFY(!select.isVisible());
    QVERIFY(select.selectedIds().isEmpty());
    QVERIFY(select.counterText().isEmpty());
    QVERIFY(!select.row("333")->isSelected());

    select.show();
    clickAvatar("222");
    QTest::mouseClick(select.ignoreButton(), Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(invited.count(), 1);
    QVERIFY(select.selectedIds().isEmpty());
}

QTEST_MAIN(TestKitWidgets)
#include "tst_kitwidgets.moc"
