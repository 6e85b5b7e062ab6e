// Contacts and one-to-one history driven by the web service: the managers'
// requests go through the real procedure queue over HTTPS to the fake service,
// whose scripted replies come back through replyReport and result.
#include "../Contact/memberjson.h"
#include "Managers/Chat/chatmanager.h"
#include "Managers/Contact/contactmanager.h"
#include "fakeprocedures.h"
#include "fakewebservice.h"
#include "model/globalconstants.h"
#include "signedinsettings.h"
#include "testcertificates.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QtTest>

#include <memory>

namespace {
const QString Me = QStringLiteral("989120000000");
const QString Peer = QStringLiteral("989121111111");
const QString B = QStringLiteral("989123333333");
const QString C = QStringLiteral("989124444444");
const QString D = QStringLiteral("989125555555");

FakeReply membersReply(const QStringList& ids)
{
    QJsonArray members;
    for (const QString& id : ids)
        members.append(memberJson(id));
    return FakeReply::result(200, {{"Members", members}});
}

QJsonObject archived(const QString& id, qint64 time)
{
    return QJsonObject{{"M", QJsonObject{{"MAJOR_TYPE", "SIMPLE_CHAT"},
                                         {"MINOR_TYPE", "TEXT"},
                                         {"SEND_TIME_IN_GMT", QString::number(time)},
                                         {"USER_ID", Peer}}},
                       {"F", Peer + "@chat.test"},
                       {"I", id},
                       {"B", "archived " + id},
                       {"S", "NORMAL"},
                       {"MS", "2"}};
}
} // namespace

class TestConversationsWeb : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void contactSyncAndLookups();
    void archiveHistoryAndFailedFetch();

private:
    std::unique_ptr<ProcedureHandler> makeHandler();
    FakeWebService service;
    FakeProcedures procedures;
};

void TestConversationsWeb::initTestCase()
{
    QVERIFY(!TestCertificates::trustSharedCa().isEmpty());
    QVERIFY(service.start());
    qputenv("QUORVEL_WEB_BASE_URL", service.baseUrl().toUtf8());
    procedures.install(&service);
    GlobalConstants::setUserName(Me);
}

void TestConversationsWeb::init()
{
    QVERIFY(storeSignedInSettings(Me, "tok-123"));
    procedures.token = "tok-123";
    procedures.hashMethod = "SHA256";
    procedures.tokenIssued = true;
    service.clearRequests();
    service.clearScriptedReplies();
}

std::unique_ptr<ProcedureHandler> TestConversationsWeb::makeHandler()
{
    auto handler = std::make_unique<ProcedureHandler>();
    handler->setTimeoutInterval(2000);
    handler->setRetryInterval(100);
    return handler;
}

void TestConversationsWeb::contactSyncAndLookups()
{
    auto handler = makeHandler();
    ContactManager contacts;
    connect(&contacts,
            QOverload<Procedure, const QHash<QString, QJsonValue>&>::of(&ContactManager::start),
            handler.get(), &ProcedureHandler::start);
    connect(
        handler.get(), &ProcedureHandler::replyReport, &contacts,
        [&contacts](Procedure p, const QJsonObject& reply) { contacts.processReply(p, reply); });
    int profileReady = 0;
    QList<Contact> added;
    QList<Members> answered;
    connect(&contacts, &ContactManager::userProfileReady, [&] { ++profileReady; });
    connect(&contacts, &ContactManager::contactAdded, [&](const Contact& c) { added.append(c); });
    connect(&contacts, &ContactManager::runMembersReply,
            [&](const Members& m) { answered.append(m); });

    // In the order the requests leave: own profile at loading, again at
    // initialisation, the synced address book, then the new members' profiles.
    service.enqueueReply("members/", membersReply({Me}));
    service.enqueueReply("members/", membersReply({Me}));
    service.enqueueReply(
        "contacts/getSynced/",
        FakeReply::result(
            200,
            {{"Contacts",
              QJsonArray{QJsonObject{{"Name", "Bob"}, {"Number", B}, {"IsRegistered", "1"}},
                         QJsonObject{{"Name", "Carl"}, {"Number", C}, {"IsRegistered", "0"}}}}}));
    service.enqueueReply("members/", membersReply({B}));
    service.enqueueReply("members/", membersReply({D}));

    contacts.startLoading();
    contacts.onInitialize({});
    QTRY_COMPARE_WITH_TIMEOUT(added.size(), 1, 10000);
    QCOMPARE(added.first().getNumber(), B);
    QTRY_VERIFY_WITH_TIMEOUT(contacts.getAllContacts().value(B).getNickName() == "nick " + B,
                             10000);
    QCOMPARE(contacts.getAllContacts().value(B).getFirstName(), QString("Bob"));
    QCOMPARE(contacts.getUserContact().getNumber(), Me);
    QVERIFY(profileReady >= 1);

    Members request;
    request.setRequestId("picker");
    request.setNumbers(QStringList{D, B, "12345"});
    contacts.addMembersRequest(request);
    QTRY_COMPARE_WITH_TIMEOUT(answered.size(), 2, 10000);
    QCOMPARE(answered[0].getProfiles().keys(), QStringList{B}); // a contact: at once
    QCOMPARE(answered[1].getRequestId(), QString("picker"));
    QCOMPARE(answered[1].getProfiles().keys(), QStringList{D});

    const QList<FakeRequest> members = service.requestsFor("members/");
    QCOMPARE(members.size(), 4);
    QCOMPARE(members[2].json().value("ContactList").toArray(), QJsonArray{B});
    QCOMPARE(members[3].json().value("ContactList").toArray(), QJsonArray{D});
}

void TestConversationsWeb::archiveHistoryAndFailedFetch()
{
    {
        Chat chat;
        chat.setChatId(Peer, Chat::ChatMode_Stored);
        chat.clear();
        DataBase store;
        store.setDBName("chatManagerDB");
        store.remove();
    }
    auto handler = makeHandler();
    ChatManager chats;
    connect(&chats, &ChatManager::start, handler.get(), &ProcedureHandler::start);
    connect(handler.get(), &ProcedureHandler::replyReport, &chats,
            [&chats](Procedure p, const QJsonObject& reply) { chats.processReply(p, reply); });
    connect(handler.get(), &ProcedureHandler::result, &chats, &ChatManager::result);
    QList<MessageReply> pages;
    connect(&chats, &ChatManager::commandResponse, [&](Command c, const QVariant& v) {
        if (c == CMD_GetChatMessages)
            pages.append(v.value<MessageReply>());
    });
    chats.startLoading();

    service.enqueueReply("CAPI/Userchat/Archive/",
                         FakeReply::result(200, {{"Messages", QJsonArray{archived("w1", 100),
                                                                         archived("w2", 200)}}}));
    chats.respondGetChatMessages(
        MessageRequest(Peer, QString(), 20, MessageBase::MsgMajorType_SimpleChat));
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 1, 10000);
    QCOMPARE(pages.first().getMsgs().size(), 2);
    QCOMPARE(pages.first().getMsgs().first().getMessageId(), QString("w2"));
    const QJsonObject sent = service.requestsFor("CAPI/Userchat/Archive/").first().json();
    QCOMPARE(sent.value("UserId").toString(), Peer);
    QCOMPARE(sent.value("MessageId").toString(), QString());
    QCOMPARE(sent.value("Count").toString(), QString("200"));
    QCOMPARE(chats.getRecipients(), QStringList{Peer});

    // The next fetch fails at the service: the waiting request behind it is
    // still answered.
    service.enqueueReply("CAPI/Userchat/Archive/", FakeReply::result(500));
    chats.respondGetChatMessages(
        MessageRequest(Peer, "w1", 20, MessageBase::MsgMajorType_SimpleChat));
    chats.respondGetChatMessages(
        MessageRequest(Peer, QString(), 1, MessageBase::MsgMajorType_SimpleChat));
    QTRY_COMPARE_WITH_TIMEOUT(pages.size(), 3, 10000);
    QCOMPARE(pages[1].getMsgs().size(), 0); // nothing older stored: answered empty, then fetched
    QCOMPARE(pages[2].getRequest().getNumber(), 1);
    QCOMPARE(pages[2].getMsgs().first().getMessageId(), QString("w2"));
}

QTEST_GUILESS_MAIN(TestConversationsWeb)
#include "tst_conversationsweb.moc"
