#include "../Chat/storewrites.h"
#include "Managers/Contact/contactmanager.h"
#include "foundation/database.h"
#include "memberjson.h"

#include <QtTest>

#include <memory>

namespace {
struct Sent
{
    Procedure procedure;
    QHash<QString, QJsonValue> inputs;
};

QJsonObject membersReply(const QStringList& ids)
{
    QJsonArray members;
    for (const QString& id : ids)
        members.append(memberJson(id));
    return QJsonObject{{"ResultCode", 200}, {"Members", members}};
}

QStringList numbersOf(const QJsonValue& list)
{
    QStringList numbers;
    for (const QJsonValue& value : list.toArray())
        numbers.append(value.toString());
    numbers.sort();
    return numbers;
}

Message incoming(const QString& from, const QString& id)
{
    Message message(MessageBase::MsgMajorType_SimpleChat, from, from, "hello");
    message.setMessageId(id);
    return message;
}

const QString A = QStringLiteral("989120000001");
const QString B = QStringLiteral("989120000002");
const QString C = QStringLiteral("989120000003");
const QString D = QStringLiteral("989120000004");
} // namespace

// A ContactManager with every signal recorded.
class Harness
{
public:
    Harness()
    {
        QObject::connect(
            &manager,
            QOverload<Procedure, const QHash<QString, QJsonValue>&>::of(&ContactManager::start),
            [this](Procedure p, const QHash<QString, QJsonValue>& inputs) {
                sent.append({p, inputs});
            });
        QObject::connect(&manager, &ContactManager::contactAdded,
                         [this](const Contact& c) { added.append(c); });
        QObject::connect(&manager, &ContactManager::contactUpdated,
                         [this](const Contact& c) { updated.append(c); });
        QObject::connect(&manager, &ContactManager::otherContactAdded,
                         [this](const Contact& c) { others.append(c); });
        QObject::connect(&manager, &ContactManager::chatRecipientData,
                         [this](const Contact& c) { recipients.append(c); });
        QObject::connect(&manager, &ContactManager::userProfileReady, [this] { ++profileReady; });
        QObject::connect(&manager, &ContactManager::runMembersReply,
                         [this](const Members& m) { memberReplies.append(m); });
        QObject::connect(&manager, &ContactManager::notification,
                         [this](const NotificationMessage& n) { notes.append(n); });
        QObject::connect(&manager, &ContactManager::commandResponse,
                         [this](Command c, const QVariant& v) {
                             responses.append({c, v});
                         });
        QObject::connect(&manager, &ContactManager::getQuorvelID,
                         [this](const QString& id) { quorvelIds.append(id); });
        manager.startLoading();
    }

    QList<Sent> sentOf(Procedure p) const
    {
        QList<Sent> list;
        for (const Sent& s : sent) {
            if (s.procedure == p)
                list.append(s);
        }
        return list;
    }

    ContactManager manager;
    QList<Sent> sent;
    QList<Contact> added, updated, others, recipients;
    int profileReady = 0;
    QList<Members> memberReplies;
    QList<NotificationMessage> notes;
    QList<QPair<Command, QVariant>> responses;
    QStringList quorvelIds;
};

class TestContacts : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void contactJson_data();
    void contactJson();
    void displayName_data();
    void displayName();
    void profileStopsAtFirstMissingKey();

    void firstTimeLaunchFlag();
    void userProfileIsStoredAndShownWhileRefreshed();
    void addUpdateRemoveReachStoreAndService();
    void muteAnswersAndBlockIsStored();
    void deactivationEmptiesTheAddressBook();
    void syncGetAddsRegisteredNumbersWithOneListWrite();
    void membersRepliesUpdateContactsWithOneListWrite();
    void removedContactAddedAgainIsKeptAcrossRestarts();
    void quorvelId();

    void membersRequestFiltersAndAnswersContactsAtOnce();
    void sameIdRequestsMergeWhileOneIsInFlight();
    void concurrentRequestsEachGetTheirOwnContact();
    void otherRepliesNeverCompleteAMembersRequest();
    void requestWhoseReplyWasLostIsSentAgain();

    void notifications();
    void notificationWaitsForTheSendersProfile();
    void chatPartnerOutsideTheAddressBookGetsItsProfile();
};

void TestContacts::init()
{
    DataBase store;
    store.setDBName("contactsDB");
    store.remove();
}

void TestContacts::contactJson_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("mute");

    QJsonObject full = memberJson(A);
    full.insert("Number", B);
    full.insert("FirstName", "Sara");
    full.insert("_mute", true);
    QTest::newRow("stored form") << full << true << B << true;
    QTest::newRow("member id stands in for the number") << memberJson(A) << true << A << false;
    QJsonObject lacking = memberJson(A);
    lacking.remove("Motto");
    QTest::newRow("missing profile key") << lacking << false << QString("unchanged") << false;
}

void TestContacts::contactJson()
{
    QFETCH(QJsonObject, json);
    QFETCH(bool, ok);
    QFETCH(QString, number);
    QFETCH(bool, mute);
    Contact contact("unchanged", "first", "last");
    QCOMPARE(contact.setDataFromJson(json), ok);
    QCOMPARE(contact.getNumber(), number);
    QCOMPARE(contact.getMute(), mute);
    if (!ok)
        return;
    QCOMPARE(contact.getNickName(), json.value("Nickname").toString());
    const QJsonObject back = contact.toJsonObject();
    QCOMPARE(back.size(), 11);
    Contact again;
    QVERIFY(again.setDataFromJson(back));
    QCOMPARE(again.toJsonObject(), back);
}

void TestContacts::displayName_data()
{
    QTest::addColumn<bool>("mine");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("named");
    const QString number = "+" + A;
    QTest::newRow("not in the book") << false << "Sara"
                                     << "Ahmadi"
                                     << "nick"
                                     << "nick"
                                     << "nick";
    QTest::newRow("stranger without nickname") << false << "Sara"
                                               << "Ahmadi"
                                               << ""
                                               << "" << number;
    QTest::newRow("blank nickname") << false << ""
                                    << ""
                                    << "  "
                                    << "  " << number;
    QTest::newRow("no names") << true << ""
                              << ""
                              << "nick"
                              << "nick"
                              << "nick";
    QTest::newRow("nothing at all") << true << ""
                                    << ""
                                    << ""
                                    << "" << number;
    QTest::newRow("last only") << true << ""
                               << "Ahmadi"
                               << "nick"
                               << "Ahmadi"
                               << "Ahmadi";
    QTest::newRow("first only") << true << "Sara"
                                << ""
                                << "nick"
                                << "Sara"
                                << "Sara";
    QTest::newRow("both") << true << "Sara"
                          << "Ahmadi"
                          << "nick"
                          << "Sara Ahmadi"
                          << "Sara Ahmadi";
}

void TestContacts::displayName()
{
    QFETCH(bool, mine);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QString, nick);
    QFETCH(QString, shown);
    QFETCH(QString, named);
    Contact contact(A, first, last);
    contact.setNickName(nick);
    contact.setIsMyContact(mine);
    QCOMPARE(contact.getDisplayName(), shown);
    QCOMPARE(contact.getNameOrNumber(), named);
    QCOMPARE(contact.getDisplayNumber(), "+" + A);
}

void TestContacts::profileStopsAtFirstMissingKey()
{
    QJsonObject json = memberJson(A);
    json.remove("AvatarURL");
    Profile profile;
    QVERIFY(!profile.setDataFromJson(json));
    QCOMPARE(profile.getMemberID(), A);
    QCOMPARE(profile.getCanReply(), QString("1"));
    QVERIFY(profile.getAvatarThumbnailUrl().isEmpty()); // read after the missing key
}

void TestContacts::firstTimeLaunchFlag()
{
    QList<bool> stored;
    for (int start = 0; start < 3; ++start) {
        Harness h;
        bool flag = true;
        QVERIFY(h.manager.getFirstTimeLaunch(&flag));
        stored.append(flag);
    }
    QCOMPARE(stored, (QList<bool>{true, false, false}));
}

void TestContacts::userProfileIsStoredAndShownWhileRefreshed()
{
    {
        Harness h;
        QCOMPARE(h.sentOf(PROC_UserProfile).size(), 1); // nothing stored yet
        h.manager.onInitialize({});
        QCOMPARE(h.profileReady, 0);
        h.manager.processReply(PROC_UserProfile, membersReply({A}));
        QCOMPARE(h.profileReady, 1);
        QCOMPARE(h.manager.getUserContact().getNumber(), A);
    }
    Harness h;
    QCOMPARE(h.sentOf(PROC_UserProfile).size(), 0);
    QCOMPARE(h.manager.getUserContact().getNickName(), "nick " + A);
    h.manager.onInitialize({});
    QCOMPARE(h.profileReady, 1); // the stored one at once
    QCOMPARE(h.sentOf(PROC_UserProfile).size(), 1);
    QCOMPARE(h.sentOf(PROC_SyncGet).size(), 1);

    h.manager.startSetProfile("new nick", "m", "t", "a");
    const Sent set = h.sentOf(PROC_SetProfile).first();
    QCOMPARE(set.inputs.value("Nickname").toString(), QString("new nick"));
    QCOMPARE(set.inputs.value("AvatarURL").toString(), QString("a"));
    h.manager.processReply(PROC_SetProfile, QJsonObject{{"ResultCode", 200}});
    QCOMPARE(h.sentOf(PROC_UserProfile).size(), 2);
}

void TestContacts::addUpdateRemoveReachStoreAndService()
{
    {
        Harness h;
        h.manager.addInitialContact(Contact(A, "Sara", "Ahmadi"));
        QCOMPARE(h.added.size(), 1);
        QCOMPARE(h.added.first().getDisplayName(), QString("Sara Ahmadi"));
        QList<Sent> changes = h.sentOf(PROC_SyncChanges);
        QCOMPARE(changes.size(), 1);
        const QJsonObject add = changes.first().inputs.value("ContactChangesList")[0].toObject();
        QCOMPARE(add, (QJsonObject{{"Number", A}, {"Name", "Sara Ahmadi"}, {"Action", "Add"}}));

        h.manager.updateContact(Contact(A, "Sara", "Karimi"));
        h.manager.addInitialContact(Contact(B, "Ali", ""));
        h.manager.removeContact(Contact(B, "", ""));
        changes = h.sentOf(PROC_SyncChanges);
        QCOMPARE(changes.size(), 4);
        QCOMPARE(changes[1].inputs.value("ContactChangesList")[0].toObject(),
                 (QJsonObject{{"Number", A}, {"Name", "Sara Karimi"}, {"Action", "Update"}}));
        QCOMPARE(changes[3].inputs.value("ContactChangesList")[0].toObject(),
                 (QJsonObject{{"Number", B}, {"Name", ""}, {"Action", "Delete"}}));

        h.manager.startSyncAll();
        const QJsonArray pairs =
            h.sentOf(PROC_SyncAll).first().inputs.value("ContactList").toArray();
        QCOMPARE(pairs, (QJsonArray{QJsonObject{{"Number", A}, {"Name", "Sara Karimi"}}}));
    }
    Harness h;
    QCOMPARE(h.manager.getContactNumbers(), QStringList{A});
    Contact stored;
    QVERIFY(h.manager.getContact(A, &stored));
    QCOMPARE(stored.getLastName(), QString("Karimi"));
    QVERIFY(stored.getIsMyContact());
    QVERIFY(!h.manager.getContact(B, &stored));
}

void TestContacts::muteAnswersAndBlockIsStored()
{
    {
        Harness h;
        h.manager.addInitialContact(A, "Sara", "", false);
        QVERIFY(h.sentOf(PROC_SyncChanges).isEmpty());
        QVERIFY(h.manager.setContactMute(A, true));
        QCOMPARE(h.responses.size(), 1);
        QCOMPARE(h.responses.first().first, CMD_UpdateMuteStatus);
        QVERIFY(h.responses.first().second.value<Contact>().getMute());
        QVERIFY(h.manager.setContactBlocked(A, true));
        QVERIFY(!h.manager.setContactMute(B, true));
        QVERIFY(!h.manager.setContactBlocked(B, true));
        QCOMPARE(h.responses.size(), 1);
    }
    Harness h;
    Contact stored;
    QVERIFY(h.manager.getContact(A, &stored));
    QVERIFY(stored.getMute());
    QVERIFY(stored.getBlocked());
}

void TestContacts::deactivationEmptiesTheAddressBook()
{
    {
        Harness h;
        h.manager.addInitialContact(A, "Sara", "", false);
        h.manager.processReply(PROC_DeactivateUser, QJsonObject{{"ResultCode", 200}});
        QVERIFY(h.manager.getAllContacts().isEmpty());
    }
    Harness h;
    QVERIFY(h.manager.getAllContacts().isEmpty());
}

void TestContacts::syncGetAddsRegisteredNumbersWithOneListWrite()
{
    {
        Harness h;
        h.manager.addInitialContact(A, "Known", "", false);
        h.added.clear();
        const int listWritesBefore = storeWritesOf("contactsDB", "contactNumbers");

        QJsonArray contacts{
            QJsonObject{{"Name", "Known again"}, {"Number", A}, {"IsRegistered", "1"}},
            QJsonObject{{"Name", "Bob"}, {"Number", B}, {"IsRegistered", "1"}},
            QJsonObject{{"Name", "Not a member"}, {"Number", C}, {"IsRegistered", "0"}},
            QJsonObject{{"Name", "Dan"}, {"Number", D}, {"IsRegistered", 1}},
        };
        for (int i = 0; i < 30; ++i) {
            contacts.append(QJsonObject{{"Name", QString("P%1").arg(i)},
                                        {"Number", QString::number(989130000000LL + i)},
                                        {"IsRegistered", "1"}});
        }
        h.manager.processReply(PROC_SyncGet, QJsonObject{{"Contacts", contacts}});

        QCOMPARE(h.added.size(), 32);
        QCOMPARE(h.added.first().getDisplayName(), QString("Bob"));
        QVERIFY(h.sentOf(PROC_SyncChanges).isEmpty()); // nothing is sent back
        QCOMPARE(storeWritesOf("contactsDB", "contactNumbers") - listWritesBefore, 1);
        const QList<Sent> members = h.sentOf(PROC_Members);
        QCOMPARE(members.size(), 1);
        QCOMPARE(numbersOf(members.first().inputs.value("ContactList")).size(), 32);
    }
    Harness reloaded;
    QCOMPARE(reloaded.manager.getAllContacts().size(), 33);
    Contact known;
    QVERIFY(reloaded.manager.getContact(A, &known));
    QCOMPARE(known.getFirstName(), QString("Known"));
}

void TestContacts::membersRepliesUpdateContactsWithOneListWrite()
{
    Harness h;
    for (const QString& n : {A, B, C})
        h.manager.addInitialContact(n, "Name " + n.right(1), "", false);
    h.manager.setContactMute(B, true);
    const int listWritesBefore = storeWritesOf("contactsDB", "contactNumbers");

    h.manager.processReply(PROC_SyncAll, membersReply({A, B, C, D}));
    QCOMPARE(h.updated.size(), 3);
    QCOMPARE(h.others.size(), 1);
    QCOMPARE(h.others.first().getNumber(), D);
    QCOMPARE(storeWritesOf("contactsDB", "contactNumbers") - listWritesBefore, 0);
    Contact b;
    QVERIFY(h.manager.getContact(B, &b));
    QCOMPARE(b.getFirstName(), QString("Name 2")); // the user's names stay
    QVERIFY(b.getMute());
    QCOMPARE(b.getNickName(), "nick " + B); // the profile is the service's
}

void TestContacts::removedContactAddedAgainIsKeptAcrossRestarts()
{
    {
        Harness h;
        h.manager.addInitialContact(A, "Sara", "", false);
        h.manager.addInitialContact(B, "Ali", "", false);
        h.manager.removeContact(B);
        const QJsonArray contacts{
            QJsonObject{{"Name", "Ali again"}, {"Number", B}, {"IsRegistered", "1"}}};
        h.manager.processReply(PROC_SyncGet, QJsonObject{{"Contacts", contacts}});
        h.manager.processReply(PROC_SyncAll, membersReply({A, B}));
    }
    Harness h;
    QStringList numbers = h.manager.getContactNumbers();
    numbers.sort();
    QCOMPARE(numbers, (QStringList{A, B}));
    Contact b;
    QVERIFY(h.manager.getContact(B, &b));
    QCOMPARE(b.getFirstName(), QString("Ali again"));
    QCOMPARE(b.getNickName(), "nick " + B);
}

void TestContacts::quorvelId()
{
    Harness h;
    h.manager.startSetQuorvelID("sara");
    QCOMPARE(h.sentOf(PROC_QuorvelIdSet).first().inputs.value("QuorvelId").toString(),
             QString("sara"));
    h.manager.processReply(PROC_QuorvelIdGet, QJsonObject{{"QuorvelId", "sara"}});
    QCOMPARE(h.quorvelIds, QStringList{"sara"});
}

void TestContacts::membersRequestFiltersAndAnswersContactsAtOnce()
{
    Harness h;
    h.manager.addInitialContact(A, "Sara", "", false);

    Members request;
    request.setRequestId("block-1");
    request.setNumbers(QStringList{A, B, "98912", "not a number", "1000000000000"});
    h.manager.addMembersRequest(request);
    QCOMPARE(h.memberReplies.size(), 1); // A at once
    QCOMPARE(h.memberReplies.first().getNumbersList(), QStringList{A});
    QCOMPARE(h.sentOf(PROC_Members).size(), 1);
    QCOMPARE(numbersOf(h.sentOf(PROC_Members).first().inputs.value("ContactList")), QStringList{B});

    h.manager.processReply(PROC_Members, membersReply({B}));
    QCOMPARE(h.memberReplies.size(), 2);
    QCOMPARE(h.memberReplies[1].getRequestId(), QString("block-1"));
    QCOMPARE(h.memberReplies[1].getProfiles().keys(), QStringList{B});

    Members contactsOnly;
    contactsOnly.setRequestId("block-2");
    contactsOnly.setNumbers(QStringList{A});
    h.manager.addMembersRequest(contactsOnly);
    QCOMPARE(h.memberReplies.size(), 3);
    QCOMPARE(h.sentOf(PROC_Members).size(), 1);
}

void TestContacts::sameIdRequestsMergeWhileOneIsInFlight()
{
    Harness h;
    Members first, second, third;
    first.setRequestId("x");
    first.setNumbers(QStringList{A});
    second.setRequestId("y");
    second.setNumbers(QStringList{B});
    third.setRequestId("y");
    third.setNumbers(QStringList{C});
    h.manager.addMembersRequest(first);
    h.manager.addMembersRequest(second);
    h.manager.addMembersRequest(third);
    QCOMPARE(h.sentOf(PROC_Members).size(), 1);

    h.manager.processReply(PROC_Members, membersReply({A}));
    const QList<Sent> calls = h.sentOf(PROC_Members);
    QCOMPARE(calls.size(), 2);
    QCOMPARE(numbersOf(calls[1].inputs.value("ContactList")), (QStringList{B, C}));
    h.manager.processReply(PROC_Members, membersReply({B, C}));
    QCOMPARE(h.memberReplies.size(), 2);
    QCOMPARE(h.memberReplies[1].getRequestId(), QString("y"));
    QCOMPARE(h.memberReplies[1].getProfiles().keys(), (QStringList{B, C}));
}

void TestContacts::concurrentRequestsEachGetTheirOwnContact()
{
    Harness h;
    // Profiles of chat partners are fetched by the same procedure as look-ups.
    h.manager.onInitialize({C});
    Members one, two;
    one.setRequestId("one");
    one.setNumbers(QStringList{A});
    two.setRequestId("two");
    two.setNumbers(QStringList{B});
    h.manager.addMembersRequest(one);
    h.manager.addMembersRequest(two);

    // Replies come in the order of the calls: C's profile, then "one", then "two".
    h.manager.processReply(PROC_Members, membersReply({C}));
    QVERIFY(h.memberReplies.isEmpty());
    QCOMPARE(h.recipients.size(), 1);
    QCOMPARE(h.recipients.first().getNumber(), C);

    h.manager.processReply(PROC_Members, membersReply({A}));
    QCOMPARE(h.memberReplies.size(), 1);
    QCOMPARE(h.memberReplies[0].getRequestId(), QString("one"));
    QCOMPARE(h.memberReplies[0].getProfiles().keys(), QStringList{A});

    h.manager.processReply(PROC_Members, membersReply({B}));
    QCOMPARE(h.memberReplies.size(), 2);
    QCOMPARE(h.memberReplies[1].getRequestId(), QString("two"));
    QCOMPARE(h.memberReplies[1].getProfiles().keys(), QStringList{B});
    QVERIFY(h.others.isEmpty());
}

void TestContacts::otherRepliesNeverCompleteAMembersRequest()
{
    Harness h;
    Members request;
    request.setRequestId("r");
    request.setNumbers(QStringList{A});
    h.manager.addMembersRequest(request);
    for (Procedure p : {PROC_Profile, PROC_SyncAll, PROC_SyncChanges})
        h.manager.processReply(p, membersReply({B}));
    QVERIFY(h.memberReplies.isEmpty());
    QCOMPARE(h.others.size(), 3);
    h.manager.processReply(PROC_Members, membersReply({A}));
    QCOMPARE(h.memberReplies.size(), 1);
    QCOMPARE(h.memberReplies.first().getProfiles().keys(), QStringList{A});
}

void TestContacts::requestWhoseReplyWasLostIsSentAgain()
{
    Harness h;
    Members request;
    request.setRequestId("r");
    request.setNumbers(QStringList{A});
    h.manager.addMembersRequest(request);
    h.manager.chatRecipients({B});
    // The reply to the look-up never came; the next one answers B's fetch.
    h.manager.processReply(PROC_Members, membersReply({B}));
    QVERIFY(h.memberReplies.isEmpty());
    QCOMPARE(h.others.size(), 1);
    QCOMPARE(h.sentOf(PROC_Members).size(), 3);
    QCOMPARE(numbersOf(h.sentOf(PROC_Members).last().inputs.value("ContactList")), QStringList{A});
    h.manager.processReply(PROC_Members, membersReply({A}));
    QCOMPARE(h.memberReplies.size(), 1);
}

void TestContacts::notifications()
{
    Harness h;
    h.manager.addInitialContact(A, "Sara", "", false);
    h.manager.addInitialContact(B, "Muted", "", false);
    h.manager.setContactMute(B, true);
    h.manager.sendNotification(incoming(A, "m1"));
    h.manager.sendNotification(incoming(B, "m2"));
    QCOMPARE(h.notes.size(), 1);
    QCOMPARE(h.notes.first().getTitle(), QString("Sara"));
    QCOMPARE(h.notes.first().getMessage().getMessageId(), QString("m1"));
    QCOMPARE(h.notes.first().getAvThUrl(), QString());

    h.manager.processReply(PROC_Profile, membersReply({C}));
    h.manager.sendNotification(incoming(C, "m3"));
    QCOMPARE(h.notes.size(), 2);
    QCOMPARE(h.notes.last().getTitle(), "nick " + C);
    QCOMPARE(h.notes.last().getAvThUrl(), "https://files.test/t/" + C);
}

void TestContacts::notificationWaitsForTheSendersProfile()
{
    Harness h;
    h.manager.sendNotification(incoming(C, "first"));
    h.manager.sendNotification(incoming(C, "second"));
    QVERIFY(h.notes.isEmpty());
    // Another sender's profile does not consume it.
    h.manager.processReply(PROC_Profile, membersReply({D}));
    QVERIFY(h.notes.isEmpty());
    // The partner's profile, asked for as a chat recipient, releases it.
    Contact out;
    QVERIFY(!h.manager.getChatRecipientProfile(C, &out));
    QCOMPARE(h.sentOf(PROC_Profile).size(), 1);
    h.manager.processReply(PROC_Profile, membersReply({C}));
    QCOMPARE(h.notes.size(), 1);
    QCOMPARE(h.notes.first().getMessage().getMessageId(), QString("second"));
    h.manager.processReply(PROC_Profile, membersReply({C}));
    QCOMPARE(h.notes.size(), 1);
}

void TestContacts::chatPartnerOutsideTheAddressBookGetsItsProfile()
{
    Harness h;
    h.manager.addInitialContact(A, "Sara", "", false);
    Contact out;
    // A contact is answered from the address book; nothing is fetched.
    QVERIFY(h.manager.getChatRecipientProfile(A, &out));
    QCOMPARE(out.getDisplayName(), QString("Sara"));
    QVERIFY(h.sentOf(PROC_Profile).isEmpty());

    // A stranger's profile is fetched and its answer refreshes the chat entry
    // (not the look-up answer), carrying the nickname the chat shows.
    QVERIFY(!h.manager.getChatRecipientProfile(C, &out));
    QCOMPARE(h.sentOf(PROC_Profile).size(), 1);
    QCOMPARE(numbersOf(h.sentOf(PROC_Profile).first().inputs.value("ContactList")), QStringList{C});
    h.manager.processReply(PROC_Profile, membersReply({C}));
    QCOMPARE(h.recipients.size(), 1);
    QCOMPARE(h.recipients.first().getDisplayName(), "nick " + C);
    QVERIFY(h.others.isEmpty());

    // Asked again, the fetched profile is given at once and refreshed anew.
    QVERIFY(h.manager.getChatRecipientProfile(C, &out));
    QCOMPARE(out.getDisplayName(), "nick " + C);
    QCOMPARE(h.sentOf(PROC_Profile).size(), 2);

    // A look-up of someone who is no chat partner stays a look-up answer.
    h.manager.processReply(PROC_Profile, membersReply({D}));
    QCOMPARE(h.others.size(), 1);
    QCOMPARE(h.recipients.size(), 1);
}

QTEST_GUILESS_MAIN(TestContacts)
#include "tst_contacts.moc"
