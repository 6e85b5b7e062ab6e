// The contact picker, driven with the mouse and the keyboard: ticking rows,
// the search field, Invite and Ignore, and listing a new set of contacts
// each time it opens (the contacts who are not yet members, say).

#include "widgets/addressbook.h"
#include "widgets/avatarviewer.h"
#include "widgets/contactselect.h"
#include "widgets/flatbutton.h"
#include "widgets/icontact.h"
#include "widgets/phonetext.h"
#include "widgets/searchbar.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {

Contact contact(const char* number, const char* first, const char* last, const char* nick)
{
    Contact c;
    c.setNumber(number);
    c.setFirstName(first);
    c.setLastName(last);
    c.setNickName(nick);
    return c;
}

QList<Contact> threeContacts()
{
    return {contact("111", "Sara", "Amini", "sa"), contact("222", "Reza", "Bahar", ""),
            contact("333", "Nima", "Karimi", "<b>nk</b>")};
}

QStringList ids(const QList<IContact*>& rows)
{
    QStringList out;
    for (IContact* row : rows)
        out << row->getId();
    return out;
}

QStringList numbers(const QList<Contact>& contacts)
{
    QStringList out;
    for (const Contact& c : contacts)
        out << c.getNumber();
    return out;
}

} // namespace

class TestContactSelect : public QObject
{
    Q_OBJECT
private slots:
    void ticksCountsAndHandsOver();
    void searchFieldFilters_data();
    void searchFieldFilters();
    void listsExactlyTheGivenContacts();
    void nothingToChoose();
    void addressBookKeepsTheContacts();
    void rowsNameAsEveryScreenDoes_data();
    void rowsNameAsEveryScreenDoes();

private:
    void clickAvatar(ContactSelect& select, const char* id)
    {
        AvatarViewer* avatar = select.row(id)->getAvatar();
        QTest::mouseClick(avatar, Qt::LeftButton, Qt::NoModifier, avatar->rect().center());
    }
};

void TestContactSelect::ticksCountsAndHandsOver()
{
    ContactSelect select;
    select.setContacts(threeContacts());
    select.setLimit(3);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QSignalSpy invited(&select, &ContactSelect::inviteList);
    QSignalSpy chosen(&select, &ContactSelect::contactsChosen);
    QSignalSpy closed(&select, &ContactSelect::closeWindow);

    // Nothing ticked: Invite cannot be pressed.
    QVERIFY(!select.inviteButton()->isEnabled());
    QTest::mouseClick(select.inviteButton(), Qt::LeftButton);
    QCOMPARE(invited.count(), 0);

    // A click on an avatar ticks, a second click unticks; a click on the
    // row's name ticks as well.
    clickAvatar(select, "111");
    clickAvatar(select, "333");
    QCOMPARE(select.counterText(), QStringLiteral("3/2"));
    QVERIFY(select.inviteButton()->isEnabled());
    clickAvatar(select, "111");
    QCOMPARE(select.counterText(), QStringLiteral("3/1"));
    QCOMPARE(select.selectedIds(), QStringList({"333"}));
    select.iContactUnselect("999");
    select.iContactSelect("999");
    QCOMPARE(select.counterText(), QStringLiteral("3/1"));
    IContact* reza = select.row("222");
    QTest::mouseClick(reza, Qt::LeftButton, Qt::NoModifier,
                      QPoint(reza->width() / 2, reza->height() / 2));
    QVERIFY(reza->isSelected());
    QCOMPARE(select.selectedIds(), QStringList({"333", "222"}));

    // Invite hands over the ticked numbers and the contacts themselves, in
    // the order they were ticked, and starts again from nothing.
    QTest::mouseClick(select.inviteButton(), Qt::LeftButton);
    QCOMPARE(invited.count(), 1);
    QCOMPARE(invited.at(0).at(0).value<QList<QString>>(), QList<QString>({"333", "222"}));
    QCOMPARE(chosen.count(), 1);
    const auto contacts = chosen.at(0).at(0).value<QList<Contact>>();
    QCOMPARE(numbers(contacts), QStringList({"333", "222"}));
    QCOMPARE(contacts.at(0).getNickName(), QStringLiteral("<b>nk</b>"));
    QCOMPARE(contacts.at(1).getLastName(), QStringLiteral("Bahar"));
    QVERIFY(!select.isVisible());
    QVERIFY(select.selectedIds().isEmpty());
    QVERIFY(select.counterText().isEmpty());
    QVERIFY(!select.row("333")->isSelected());
    QVERIFY(!select.inviteButton()->isEnabled());

    // Ignore hands over nothing and forgets the ticks.
    select.show();
    clickAvatar(select, "222");
    QTest::mouseClick(select.ignoreButton(), Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(invited.count(), 1);
    QCOMPARE(chosen.count(), 1);
    QVERIFY(select.selectedIds().isEmpty());
    QVERIFY(!select.row("222")->isSelected());
}

void TestContactSelect::searchFieldFilters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("last name, any case") << "BAH" << QStringList{"222"};
    QTest::newRow("nick name") << "sa" << QStringList{"111"};
    QTest::newRow("number") << "33" << QStringList{"333"};
    QTest::newRow("several") << "i" << QStringList{"111", "333"};
    QTest::newRow("markup is text") << "<b>" << QStringList{"333"};
    QTest::newRow("none") << "zz" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{"111", "222", "333"};
}

void TestContactSelect::searchFieldFilters()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    ContactSelect select;
    select.setContacts(threeContacts());
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QLineEdit* input = select.searchBar()->getInput();
    QTest::keyClicks(input, QStringLiteral("xyz"));
    QCOMPARE(ids(select.visibleRows()), QStringList());
    input->selectAll();
    QTest::keyClick(input, Qt::Key_Backspace);
    QTest::keyClicks(input, typed);
    QCOMPARE(ids(select.visibleRows()), shown);

    // A hidden row keeps its tick; reopening clears the search.
    clickAvatar(select, "222");
    QTest::mouseClick(select.ignoreButton(), Qt::LeftButton);
    QVERIFY(input->text().isEmpty());
    QCOMPARE(ids(select.visibleRows()), QStringList({"111", "222", "333"}));
}

void TestContactSelect::listsExactlyTheGivenContacts()
{
    // The group's members are left out of the user's contacts.
    const QList<Contact> all = threeContacts() << contact("444", "Ali", "", "");
    const QList<Contact> left = ContactSelect::without(all, {"222", "444", "999"});
    QCOMPARE(numbers(left), QStringList({"111", "333"}));

    ContactSelect select;
    select.setTitle(QStringLiteral("Add members"));
    QCOMPARE(select.titleText(), QStringLiteral("Add members"));
    select.setContacts(all);
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    clickAvatar(select, "111");

    // A new list replaces the old one: rows, ticks and all; a number given
    // twice or not at all is listed once or not at all.
    QList<Contact> again = left;
    again << contact("111", "Twice", "", "") << contact("", "None", "", "");
    select.setContacts(again);
    QTRY_COMPARE(select.findChildren<IContact*>().size(), 2);
    QCOMPARE(ids(select.visibleRows()), QStringList({"111", "333"}));
    QVERIFY(!select.row("222"));
    QVERIFY(!select.row("111")->isSelected());
    QVERIFY(select.selectedIds().isEmpty());
    QVERIFY(!select.inviteButton()->isEnabled());
    QCOMPARE(select.row("111")->getContact().getFirstName(), QStringLiteral("Sara"));

    QSignalSpy chosen(&select, &ContactSelect::contactsChosen);
    clickAvatar(select, "333");
    QTest::mouseClick(select.inviteButton(), Qt::LeftButton);
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(numbers(chosen.at(0).at(0).value<QList<Contact>>()), QStringList({"333"}));
}

void TestContactSelect::nothingToChoose()
{
    // With no one left to choose the picker says so instead of an empty box.
    ContactSelect select;
    select.setContacts(threeContacts());
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QVERIFY(!select.emptyNotice()->isVisible());
    select.setContacts({});
    QVERIFY(select.emptyNotice()->isVisible());
    QVERIFY(!select.searchBar()->isVisible());
    QVERIFY(select.visibleRows().isEmpty());
    QVERIFY(!select.inviteButton()->isEnabled());
    QTest::mouseClick(select.ignoreButton(), Qt::LeftButton);
    QVERIFY(!select.isVisible());
}

void TestContactSelect::addressBookKeepsTheContacts()
{
    AddressBook* book = AddressBook::getInstance();
    QSignalSpy changed(book, &AddressBook::changed);
    QHash<QString, Contact> all;
    for (const Contact& c : threeContacts())
        all.insert(c.getNumber(), c);
    all.insert(QString(), contact("", "Nobody", "", ""));
    book->setContacts(all);
    QCOMPARE(changed.count(), 1);
    // By shown name (the nick name here) without regard to case, a contact
    // without any name by its number ("+100" before "<b>nk</b>" before "amir").
    book->addContact(contact("100", "", "", ""));
    book->addContact(contact("444", "", "", "Amir"));
    QCOMPARE(numbers(book->contacts()), QStringList({"100", "222", "333", "444", "111"}));
    book->removeContact("100");
    book->removeContact("999");
    QCOMPARE(changed.count(), 4);
    QVERIFY(!book->contains("100"));
    QCOMPARE(book->contact("444").getNickName(), QStringLiteral("Amir"));
    // The same contact again replaces the old one.
    book->addContact(contact("444", "", "", "Zahra"));
    QCOMPARE(numbers(book->contacts()).last(), QStringLiteral("444"));
    AddressBook::deleteInstance();
    QVERIFY(AddressBook::getInstance()->contacts().isEmpty());
}

void TestContactSelect::rowsNameAsEveryScreenDoes_data()
{
    QTest::addColumn<Contact>("person");
    QTest::addColumn<QString>("shown");
    const QString plus = QChar(0x2066) + QStringLiteral("+491700000073") + QChar(0x2069);
    QTest::newRow("number only") << contact("491700000073", "", "", "") << plus;
    QTest::newRow("number only with a blank name") << contact("491700000073", " ", "", "") << plus;
    QTest::newRow("named") << contact("491700000074", "Sara", "", "sa") << "Sara";
    Contact disguised = contact("491700000076", "", "", "");
    disguised.setFirstName(QStringLiteral("invoice") + QChar(0x202E) + QStringLiteral("gnp.exe"));
    QTest::newRow("override in the name") << disguised << "invoice[RLO]gnp.exe";
}

void TestContactSelect::rowsNameAsEveryScreenDoes()
{
    // The picker names a person as the chat list, the bubbles and the
    // header do: a number reads "+" first, left to right, in its right-to-left
    // list as anywhere.
    QFETCH(Contact, person);
    QFETCH(QString, shown);
    person.setIsMyContact(true);
    ContactSelect picker;
    picker.setLayoutDirection(Qt::RightToLeft);
    picker.setContacts({person});
    QVERIFY(picker.row(person.getNumber()));
    QCOMPARE(picker.row(person.getNumber())->shownName(), shown);
    QCOMPARE(picker.row(person.getNumber())->shownName(), PhoneText::name(person));
}

QTEST_MAIN(TestContactSelect)
#include "tst_contactselect.moc"
