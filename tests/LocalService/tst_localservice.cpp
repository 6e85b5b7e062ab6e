// The local service in-process over real HTTPS on loopback, with its store in
// a temporary folder: sign-up, signatures, contact matching, files, channel
// posts and who may do what in a channel, refused requests that leave the
// state as it was, and state that survives a restart.

#include "../webapi/capturedlog.h"
#include "backgroundimages.h"
#include "channeleditannouncer.h"
#include "channelpusher.h"
#include "fakewebservice.h"
#include "localservice.h"
#include "servicestore.h"
#include "servicetestclient.h"

#include <QFile>
#include <QHttpMultiPart>
#include <QImage>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kCode = QStringLiteral("24680");
const QStringList kAreas{"accounts",   "registrations", "contacts",     "files",
                         "filehashes", "channels",      "channelposts", "groups"};
const QString kChannel = QStringLiteral("rules");

using Account = ServiceTestClient::Account;
using Answer = ServiceTestClient::Answer;

// The service on a folder; restart() builds it anew on the same folder and port.
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<ServiceStore> store;
    std::unique_ptr<FakeWebService> http;
    std::unique_ptr<LocalService> service;
    QMap<QString, QString> chatAccounts;
    // What the service pushed to each user's chat account, in order.
    QList<QPair<QString, QJsonObject>> pushed;

    bool start(quint16 port = 0)
    {
        service.reset();
        http.reset();
        store = std::make_unique<ServiceStore>(dir.filePath("store"));
        if (!store->open())
            return false;
        http = std::make_unique<FakeWebService>();
        if (!http->start(port))
            return false;
        service = std::make_unique<LocalService>(http.get(), store.get());
        service->settings().demoCode = kCode;
        service->chatAccountCreator = [this](const QString& user, const QString& password) {
            chatAccounts.insert(user, password);
            return true;
        };
        service->chatMessagePusher = [this](const QString& user, const QJsonObject& message) {
            pushed.append({user, message});
        };
        service->installProcedures();
        return true;
    }
    bool restart() { return start(http->serverPort()); }
    QString url() const { return http->baseUrl(); }

    // Every area's content, to show that a refused request changed nothing.
    QJsonObject snapshot() const
    {
        QJsonObject all;
        for (const QString& area : kAreas) {
            QJsonObject content;
            for (const QString& key : store->keys(area))
                content.insert(key, store->value(area, key));
            all.insert(area, content);
        }
        return all;
    }
};

QByteArray multipart(const QByteArray& boundary, const QList<QPair<QByteArray, QByteArray>>& parts)
{
    QByteArray body;
    for (const auto& part : parts)
        body += "--" + boundary + "\r\nContent-Disposition: form-data; " + part.first + "\r\n\r\n" +
                part.second + "\r\n";
    return body + "--" + boundary + "--\r\n";
}

} // namespace

class TestLocalService : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void signUpIssuesTokenAndChatAccount();
    void wrongCodesEndTheSignUp();
    void refusedRequestsChangeNothing_data();
    void refusedRequestsChangeNothing();
    void oversizedRequestIsRefused();
    void malformedRequestsAreRefused_data();
    void malformedRequestsAreRefused();
    void unfinishedRequestsTimeOut();
    void longChunkedUploadNeverHoldsTheService();
    void unreadAnswersStopTheReading();
    void handshakeThatNeverEndsIsClosed();
    void idleConnectionsMakeRoomForNewcomers_data();
    void idleConnectionsMakeRoomForNewcomers();
    void replayedRequestIsRefused();
    void signedRequestsNeedAFreshRequestId_data();
    void signedRequestsNeedAFreshRequestId();
    void contactsMatchedByPhone();
    void oneToOneArchiveAnswersAPage();
    void filesUploadedAndDownloaded();
    void fileNamesCannotLeaveTheStore_data();
    void fileNamesCannotLeaveTheStore();
    void backgroundsServedToEveryone();
    void channelMembersByKind_data();
    void channelMembersByKind();
    void followersListedOnlyToWhoRunsTheChannel_data();
    void followersListedOnlyToWhoRunsTheChannel();
    void channelPostsStampedAndPushedToFollowers();
    void stateSurvivesRestart();
    void unreadableStoreIsNotOverwritten();
    void lookupNamesChannelsGroupsAndPeople_data();
    void lookupNamesChannelsGroupsAndPeople();
    void publicIdsAreOneEach();
    void channelRolesKeptByTheOwner();
    void groupMembersAreAccountsTheServiceKnows();
    void votesAndLikesOnlyFromFollowersOnceEach();
    void postsCannotBorrowAnotherChannelsPollOrId();
    void deletedPostLeavesTheArchive();
    void directoryInOneOrderWithSubCategoriesUnderTheirParent();
    void pollPushedAsJsonText();

private:
    // Writes text on a fresh TLS connection; everything answered until the
    // server closes or time runs out.
    QByteArray rawExchange(const QByteArray& text, bool waitForClose);
    // A connection to the service from a loopback address: TLS, encrypted
    // (or not, when refused), or plain TCP that never starts TLS.
    std::unique_ptr<QSslSocket> openConnection(const QString& from = QStringLiteral("127.0.0.1"),
                                               bool tls = true);
    // Closes every connection the service holds.
    void closeAllConnections();
    Answer upload(const Account& account, const QByteArray& content, const QByteArray& fileName,
                  const QByteArray& data = QByteArray());

    CapturedLog log;
    Fixture f;
    std::unique_ptr<ServiceTestClient> client;
    Account ada;
    Account bo;
};

void TestLocalService::initTestCase()
{
    QVERIFY(f.dir.isValid());
    QVERIFY(f.start());
    client = std::make_unique<ServiceTestClient>(f.url());
    ada = client->signUp("491700000021", kCode);
    bo = client->signUp("491700000022", kCode);
    QVERIFY(!ada.token.isEmpty() && !bo.token.isEmpty());
    // Ada's channel, which Bo follows.
    QCOMPARE(client
                 ->call(ada, "GAPI/channels/create/",
                        {{"ChannelID", kChannel},
                         {"Name", "Rules"},
                         {"CategoryID", "1"},
                         {"Members",
                          QJsonArray{QJsonObject{{"Username", ada.username}, {"Role", "OWNER"}}}}})
                 .code(),
             200);
    QCOMPARE(client->call(bo, "GAPI/channels/join/", {{"ChannelID", kChannel}}).code(), 200);
}

namespace {
QJsonObject channelPost(const QString& messageId, const QString& body,
                        const QJsonObject& params = {{"MAJOR_TYPE", "CHANNEL_CHAT"},
                                                     {"MINOR_TYPE", "TEXT"}})
{
    return {{"ChannelID", kChannel},
            {"MessageID", messageId},
            {"MessageBody", body},
            {"MessageParams", params}};
}
} // namespace

void TestLocalService::signUpIssuesTokenAndChatAccount()
{
    QSignalSpy printed(f.service.get(), &LocalService::activationCodeIssued);
    log.clear();
    Answer activation;
    const Account cy = client->signUp("491700000023", kCode, &activation);
    QCOMPARE(activation.code(), 200);
    QCOMPARE(cy.username, QStringLiteral("491700000023"));
    QCOMPARE(cy.token.size(), 48);
    QCOMPARE(printed.count(), 1);
    QCOMPARE(printed.first().at(1).toString(), kCode);

    // The chat account made at activation is the one "Salam" hands out.
    const Answer salam = client->call(cy, "salam/");
    QCOMPARE(salam.code(), 200);
    const QJsonObject server = salam.json.value("Servers").toArray().first().toObject();
    QCOMPARE(server.value("Username").toString(), cy.username);
    QVERIFY(!server.value("Password").toString().isEmpty());
    QCOMPARE(f.chatAccounts.value(cy.username), server.value("Password").toString());
    QCOMPARE(client->call(cy, "card/").json.value("Username").toString(), cy.username);

    // Requests are logged by path and result; no code, token or password.
    QVERIFY(log.contains("/activation/ -> 200"));
    for (const QString& secret : {kCode, cy.token, server.value("Password").toString()})
        QVERIFY2(!log.lines().join('\n').contains(secret), qPrintable(secret));

    // A second sign-up of the number keeps its chat password and replaces the token.
    const Account again = client->signUp("491700000023", kCode);
    QVERIFY(again.token != cy.token);
    QCOMPARE(client->call(cy, "card/").code(), 401);
    QCOMPARE(client->call(again, "card/").code(), 200);
    QCOMPARE(f.chatAccounts.value(cy.username), server.value("Password").toString());
}

void TestLocalService::wrongCodesEndTheSignUp()
{
    const QString phone = "491700000024";
    const Answer registered = client->sendJson("register/", ServiceTestClient::registerBody(phone));
    QCOMPARE(registered.code(), 200);
    auto activate = [&](const QString& code) {
        return client
            ->sendJson("activation/", {{"PhoneNo", phone},
                                       {"VerificationToken", ServiceTestClient::verificationToken(
                                                                 registered.json, phone, code)}})
            .code();
    };
    // Refused codes answer 311, the code the sign-up page shows as such.
    for (int i = 0; i < 5; ++i)
        QCOMPARE(activate("11111"), 311);
    // The sign-up is gone: even the right code no longer activates it.
    QCOMPARE(activate(kCode), 311);
    QVERIFY(f.store->keys("registrations").indexOf(phone) < 0);
    QCOMPARE(client->signUp(phone, kCode).username, phone);
}

void TestLocalService::refusedRequestsChangeNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("code");

    auto json = [](const QJsonObject& object) {
        return QJsonDocument(object).toJson(QJsonDocument::Compact);
    };
    QJsonObject badId = ServiceTestClient::registerBody("491700000030");
    badId.insert("RequestId", "0000");
    QJsonObject noPhone = ServiceTestClient::registerBody("491700000030");
    noPhone.remove("PhoneNo");
    Account stranger = ada;
    stranger.username = "nobody";
    Account wrongToken = ada;
    wrongToken.token = "not-the-token";
    QByteArray unsignedCard = ServiceTestClient::signedBody(ada, {});
    unsignedCard.replace("\"AuthValue\":\"", "\"AuthValu\":\"");

    QTest::newRow("register: not JSON") << "register/" << QByteArray("{{{") << 400;
    QTest::newRow("register: an array") << "register/" << QByteArray("[1,2]") << 400;
    QTest::newRow("register: no phone") << "register/" << json(noPhone) << 400;
    QTest::newRow("register: wrong request id") << "register/" << json(badId) << 400;
    QTest::newRow("register: letters in the phone")
        << "register/" << json(ServiceTestClient::registerBody("49170abc0001")) << 330;
    QTest::newRow("activation: no sign-up")
        << "activation/" << json({{"PhoneNo", "491700000099"}, {"VerificationToken", "x"}}) << 311;
    QTest::newRow("activation: no token") << "activation/" << json({{"PhoneNo", ada.phone}}) << 400;
    QTest::newRow("voice call: no sign-up")
        << "ivrRequest/" << json({{"PhoneNo", "491700000099"}}) << 404;
    QTest::newRow("signed: no AuthValue") << "card/" << unsignedCard << 401;
    QTest::newRow("signed: wrong token")
        << "setprofile/" << ServiceTestClient::signedBody(wrongToken, {}) << 401;
    QTest::newRow("signed: unknown user")
        << "salam/" << ServiceTestClient::signedBody(stranger, {}) << 401;
    QTest::newRow("signed: not JSON") << "contacts/getSynced/" << QByteArray("\x01\x02") << 400;
    QTest::newRow("sync: list is not an array")
        << "contacts/syncall/" << ServiceTestClient::signedBody(ada, {{"ContactList", "x"}}) << 400;
    QTest::newRow("sync: entry without number")
        << "contacts/syncall/"
        << ServiceTestClient::signedBody(ada,
                                         {{"ContactList", QJsonArray{QJsonObject{{"Name", "n"}}}}})
        << 400;
    QTest::newRow("sync change: unknown action")
        << "contacts/syncchanges/"
        << ServiceTestClient::signedBody(
               ada, {{"ContactChangesList",
                      QJsonArray{QJsonObject{{"Number", bo.phone}, {"Action", "Merge"}}}}})
        << 400;
    QTest::newRow("members: numbers not text")
        << "members/" << ServiceTestClient::signedBody(ada, {{"ContactList", QJsonArray{1, 2}}})
        << 400;
    QTest::newRow("profile: missing fields")
        << "setprofile/" << ServiceTestClient::signedBody(ada, {{"Nickname", "n"}}) << 400;
    QTest::newRow("profile: nickname too long")
        << "setprofile/"
        << ServiceTestClient::signedBody(ada, {{"Nickname", QString(5000, 'n')},
                                               {"Motto", ""},
                                               {"AvatarURL", ""},
                                               {"AvatarThumbnailURL", ""}})
        << 400;
    QTest::newRow("device id: empty")
        << "register/setDeviceId/" << ServiceTestClient::signedBody(ada, {{"NewDeviceId", ""}})
        << 400;
    QTest::newRow("file check: unsigned")
        << "file_exists/" << json({{"FileHash", "00"}, {"Username", ada.username}}) << 401;

    // Channels: what only the owner or an administrator may do, and what no
    // one may do. Bo follows Ada's channel as a member.
    const QJsonObject channel{{"ChannelID", kChannel}};
    auto with = [&channel](const QJsonObject& more) {
        QJsonObject object = channel;
        for (auto it = more.begin(); it != more.end(); ++it)
            object.insert(it.key(), it.value());
        return object;
    };
    auto member = [](const QString& name, const QString& role) {
        return QJsonArray{QJsonObject{{"Username", name}, {"Role", role}}};
    };
    const struct
    {
        const char* name;
        const Account& caller;
        const char* path;
        QJsonObject fields;
        int code;
    } channelRows[] = {
        {"channel edit: by a follower", bo, "changechanneldata/", with({{"Name", "mine"}}), 403},
        {"channel post: by a follower", bo, "sendmessage/", channelPost("c-bo", "hi"), 403},
        {"channel members: added by a follower", bo, "addmember/",
         with({{"Members", member("491700000023", "MEMBER")}}), 403},
        {"channel delete: by a follower", bo, "deleteChannel/", channel, 403},
        {"channel role: changed by a follower", bo, "changerole/",
         with({{"MemberUsername", bo.username}, {"MemberNewRole", "ADMIN"}}), 403},
        {"channel leave: by its owner", ada, "leave/", channel, 403},
        {"channel members: the owner removed", ada, "removemember/",
         with({{"MemberUsername", ada.username}}), 403},
        {"channel role: a second owner", ada, "changerole/",
         with({{"MemberUsername", bo.username}, {"MemberNewRole", "OWNER"}}), 400},
        {"channel role: not a member", ada, "changerole/",
         with({{"MemberUsername", "nobody"}, {"MemberNewRole", "ADMIN"}}), 400},
        {"channel members: added as owner", ada, "addmember/",
         with({{"Members", member(bo.username, "OWNER")}}), 400},
        {"channel create: id taken", ada, "create/", channel, 409},
        {"channel create: no id", ada, "create/", QJsonObject{{"Name", "x"}}, 409},
        {"channel post: not a channel message", ada, "sendmessage/",
         channelPost("c-1", "hi", {{"MAJOR_TYPE", "SIMPLE_CHAT"}, {"MINOR_TYPE", "TEXT"}}), 400},
        {"channel post: no message id", ada, "sendmessage/", channelPost("", "hi"), 400},
        {"channel post: text too long", ada, "sendmessage/", channelPost("c-2", QString(5000, 'x')),
         400},
        {"channel join: no such channel", bo, "join/", QJsonObject{{"ChannelID", "nowhere"}}, 404},
        {"channel members: no such account", ada, "addmember/",
         with({{"Members", member("nobody", "MEMBER")}}), 400},
        {"channel post state: no such post", ada, "changemessagestate/",
         with({{"MessageID", "r-none"}, {"MessageNewState", "DELETED"}}), 404},
        {"channel post state: by a follower", bo, "changemessagestate/",
         with({{"MessageID", "r-none"}, {"MessageNewState", "DELETED"}}), 403},
    };
    for (const auto& row : channelRows)
        QTest::newRow(row.name) << QStringLiteral("GAPI/channels/") + row.path
                                << ServiceTestClient::signedBody(row.caller, row.fields)
                                << row.code;
}

void TestLocalService::refusedRequestsChangeNothing()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, code);
    const QJsonObject before = f.snapshot();
    log.clear();
    const Answer answer = client->send(path, body);
    QCOMPARE(answer.code(), code);
    QVERIFY(!answer.json.value("ResultMessage").toString().isEmpty());
    QCOMPARE(f.snapshot(), before);
    QVERIFY(log.contains(QStringLiteral("/%1 -> %2").arg(path).arg(code)));
    // The service goes on answering.
    QCOMPARE(client->call(ada, "card/").code(), 200);
}

std::unique_ptr<QSslSocket> TestLocalService::openConnection(const QString& from, bool tls)
{
    auto socket = std::make_unique<QSslSocket>();
    QSslConfiguration config = socket->sslConfiguration();
    config.setCaCertificates({TestCertificates::shared().caCertificate()});
    socket->setSslConfiguration(config);
    if (!socket->bind(QHostAddress(from)))
        return socket;
    if (tls)
        socket->connectToHostEncrypted("127.0.0.1", f.http->serverPort());
    else
        socket->connectToHost(QHostAddress::LocalHost, f.http->serverPort());
    QElapsedTimer timer;
    timer.start();
    auto done = [&] {
        return tls ? socket->isEncrypted() : socket->state() == QAbstractSocket::ConnectedState;
    };
    while (!done() && socket->state() != QAbstractSocket::UnconnectedState &&
           timer.elapsed() < 10000)
        QTest::qWait(10);
    return socket;
}

void TestLocalService::closeAllConnections()
{
    f.http->setIdleTimeout(50);
    f.http->setHandshakeTimeout(50);
    QTRY_COMPARE_WITH_TIMEOUT(f.http->openConnections(), 0, 20000);
    f.http->setIdleTimeout(120000);
    f.http->setHandshakeTimeout(5000);
}

QByteArray TestLocalService::rawExchange(const QByteArray& text, bool waitForClose)
{
    const std::unique_ptr<QSslSocket> socket = openConnection();
    if (!socket->isEncrypted())
        return QByteArray();
    socket->write(text);
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        QTest::qWait(20);
        answer += socket->readAll();
        if (waitForClose ? socket->state() == QAbstractSocket::UnconnectedState
                         : answer.contains("\r\n\r\n"))
            break;
    }
    return answer + socket->readAll();
}

void TestLocalService::oversizedRequestIsRefused()
{
    f.http->setMaxBodySize(1024 * 1024);
    // Announced larger than the limit: refused before the body is read, and
    // the connection is closed.
    const QByteArray answer = rawExchange(
        "POST /register/ HTTP/1.1\r\nHost: x\r\nContent-Length: 2000000000\r\n\r\n{", true);
    QVERIFY2(answer.startsWith("HTTP/1.1 413"), answer.constData());
    QVERIFY2(answer.contains("\r\nConnection: close\r\n"), answer.constData());

    // A body that really is too large, sent whole, gets no procedure either.
    // The refusal must reach the client while it is still sending: closing
    // on the unread rest reset the connection and lost it, and the client
    // then sent its next request into the dying connection.
    const QJsonObject before = f.snapshot();
    const Answer big = client->send("contacts/syncall/", QByteArray(2 * 1024 * 1024, ' '));
    QCOMPARE(big.httpStatus, 413);
    QCOMPARE(big.header("Connection"), QByteArray("close"));
    QCOMPARE(f.snapshot(), before);
    f.http->setMaxBodySize(64 * 1024 * 1024);
    QCOMPARE(client->call(ada, "card/").code(), 200);
}

void TestLocalService::malformedRequestsAreRefused_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("status");
    const QByteArray chunked =
        "POST /card/ HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n";
    // Before, a negative size stepped the reader backwards for good.
    QTest::newRow("negative chunk size") << chunked + "-6\r\nabcdef\r\n0\r\n\r\n"
                                         << QByteArray("400");
    QTest::newRow("chunk size not hexadecimal") << chunked + "zz\r\nab\r\n0\r\n\r\n"
                                                << QByteArray("400");
    QTest::newRow("empty chunk size") << chunked + "\r\nab\r\n0\r\n\r\n" << QByteArray("400");
    QTest::newRow("chunk size beyond 64 bits") << chunked + "fffffffffffffffffff\r\n"
                                               << QByteArray("400");
    QTest::newRow("chunk size beyond the body limit")
        << chunked + "7fffffff\r\nab" << QByteArray("400");
    QTest::newRow("chunk size line never ends")
        << chunked + QByteArray(4000, '1') << QByteArray("400");
    QTest::newRow("chunk without its CRLF") << chunked + "2\r\nabcd\r\n0\r\n\r\n"
                                            << QByteArray("400");
    QTest::newRow("negative length")
        << QByteArray("POST /card/ HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n{}")
        << QByteArray("400");
    QTest::newRow("length not a number")
        << QByteArray("POST /card/ HTTP/1.1\r\nHost: x\r\nContent-Length: 1e3\r\n\r\n{}")
        << QByteArray("400");
    QTest::newRow("request line without version")
        << QByteArray("POST /card/\r\n\r\n") << QByteArray("400");
    // Two readers of these would disagree on where the body ends; before,
    // the last length won and a binary method was answered as a request.
    QTest::newRow("two lengths that disagree")
        << QByteArray("POST /card/ HTTP/1.1\r\nContent-Length: 2\r\nContent-Length: 9\r\n\r\n{}")
        << QByteArray("400");
    QTest::newRow("length beside chunked encoding")
        << QByteArray("POST /card/ HTTP/1.1\r\nContent-Length: 2\r\nTransfer-Encoding: "
                      "chunked\r\n\r\n2\r\n{}\r\n0\r\n\r\n")
        << QByteArray("400");
    QTest::newRow("a coding other than chunked")
        << QByteArray("POST /card/ HTTP/1.1\r\nTransfer-Encoding: gzip\r\n\r\n{}")
        << QByteArray("400");
    QTest::newRow("method not a token")
        << QByteArray("\x01\xfe\x7f /card/ HTTP/1.1\r\nContent-Length: 2\r\n\r\n{}")
        << QByteArray("400");
    QTest::newRow("space before a header's colon")
        << QByteArray("POST /card/ HTTP/1.1\r\nContent-Length : 2\r\n\r\n{}") << QByteArray("400");
}

void TestLocalService::malformedRequestsAreRefused()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, status);
    f.http->setMaxBodySize(1024 * 1024);
    const QByteArray answer = rawExchange(request, true);
    f.http->setMaxBodySize(64 * 1024 * 1024);
    QVERIFY2(answer.startsWith("HTTP/1.1 " + status), answer.constData());
    // The service goes on answering.
    QCOMPARE(client->call(ada, "card/").code(), 200);
}

void TestLocalService::unfinishedRequestsTimeOut()
{
    f.http->setRequestTimeout(400);
    f.http->setIdleTimeout(600);
    // A body that never ends is answered 408 and its connection closed.
    QElapsedTimer timer;
    timer.start();
    const QByteArray answer = rawExchange(
        "POST /card/ HTTP/1.1\r\nHost: x\r\nContent-Length: 100\r\n\r\n{\"Username\"", true);
    QVERIFY2(answer.startsWith("HTTP/1.1 408"), answer.constData());
    // So is a head that never ends.
    QVERIFY(rawExchange("POST /card/ HTTP/1.1\r\nHost:", true).startsWith("HTTP/1.1 408"));

    // An idle connection is closed without a word; one that asks in time is answered.
    const std::unique_ptr<QSslSocket> idle = openConnection();
    QVERIFY(idle->isEncrypted());
    QTRY_COMPARE_WITH_TIMEOUT(idle->state(), QAbstractSocket::UnconnectedState, 20000);
    QVERIFY(idle->readAll().isEmpty());
    QCOMPARE(client->call(ada, "card/").code(), 200);
    f.http->setRequestTimeout(60000);
    f.http->setIdleTimeout(120000);
}

void TestLocalService::longChunkedUploadNeverHoldsTheService()
{
    // 16 MB in 512-byte chunks, unsigned. Before, the reader parsed the body
    // again from its start on every read: this upload held the service for
    // tens of seconds and the request time-out never stopped it.
    const std::unique_ptr<QSslSocket> uploader = openConnection();
    QVERIFY(uploader->isEncrypted());
    const int chunks = 16 * 1024 * 2;
    const QByteArray chunk = "200\r\n" + QByteArray(512, 'u') + "\r\n";
    QByteArray text = "POST /upload_file HTTP/1.1\r\nTransfer-Encoding: chunked\r\n"
                      "Content-Type: multipart/form-data; boundary=b\r\n\r\n";
    text.reserve(text.size() + chunks * chunk.size() + 5);
    for (int i = 0; i < chunks; ++i)
        text += chunk;
    text += "0\r\n\r\n";

    // The longest the event loop went without a turn, while it all arrives.
    QElapsedTimer sinceTurn;
    qint64 longestPause = 0;
    QTimer turns;
    connect(&turns, &QTimer::timeout, this,
            [&] { longestPause = qMax(longestPause, sinceTurn.restart()); });
    QElapsedTimer timer;
    timer.start();
    sinceTurn.start();
    turns.start(10);
    // Written as fast as the connection takes it, a slice at a time, as a
    // client in a process of its own would (one big write would hold this
    // process's loop encrypting it all).
    int written = 0;
    auto feed = [&] {
        while (written < text.size() &&
               uploader->bytesToWrite() + uploader->encryptedBytesToWrite() < 256 * 1024) {
            const int slice = qMin(64 * 1024, text.size() - written);
            uploader->write(text.constData() + written, slice);
            written += slice;
        }
    };
    connect(uploader.get(), &QSslSocket::encryptedBytesWritten, this, feed);
    feed();
    // Another client meanwhile.
    QElapsedTimer other;
    other.start();
    QCOMPARE(client->call(ada, "card/").code(), 200);
    const qint64 otherMs = other.elapsed();
    QByteArray answer;
    while (!answer.contains("\r\n\r\n") && uploader->state() == QAbstractSocket::ConnectedState &&
           timer.elapsed() < 60000) {
        QTest::qWait(10);
        answer += uploader->readAll();
    }
    const qint64 totalMs = timer.elapsed();
    turns.stop();
    qInfo("16 MB chunked upload answered in %lld ms; another request in %lld ms; longest "
          "pause of the event loop %lld ms",
          totalMs, otherMs, longestPause);
    // Read whole and refused as unsigned, not cut off as too large or too slow.
    QVERIFY2(answer.startsWith("HTTP/1.1 200"), answer.constData());
    QVERIFY2(answer.contains("\"ResultCode\":40"), answer.constData());
    QVERIFY2(totalMs < 15000, "the upload held the service");
    QVERIFY2(longestPause < 2000, "the event loop was held");
}

void TestLocalService::unreadAnswersStopTheReading()
{
    // A client asks for a background picture two thousand times in one
    // write and never reads. Before, every answer was queued at once
    // (hundreds of MB); now the service stops reading the connection once a
    // few MB wait, and goes on as the client reads.
    const QString path = "static_file/" + BackgroundImages::names().first() + ".jpg";
    const int pictureSize = BackgroundImages::file(path.mid(12)).size();
    QVERIFY(pictureSize > 0);
    const QByteArray ask = "GET /" + path.toLatin1() + " HTTP/1.1\r\nHost: x\r\n\r\n";
    const int count = 2000;
    const std::unique_ptr<QSslSocket> reader = openConnection();
    QVERIFY(reader->isEncrypted());
    reader->setReadBufferSize(4096);
    reader->write(ask.repeated(count));
    // Until the service stops answering.
    int answered = -1;
    while (answered != f.http->requestsFor(path).size()) {
        answered = f.http->requestsFor(path).size();
        QTest::qWait(500);
    }
    qInfo("%d answers of %d bytes asked for; %d answered while the client did not read", count,
          pictureSize, answered);
    // Those in the kernel's buffers and a few MB more, not all 60 MB.
    QVERIFY2(qint64(answered) * pictureSize < 16 * 1024 * 1024, "answers queued without bound");
    QCOMPARE(client->call(ada, "card/").code(), 200);
    // Reading, the client gets every answer.
    reader->setReadBufferSize(0);
    qint64 received = 0;
    QElapsedTimer timer;
    timer.start();
    while (received < qint64(count) * pictureSize && timer.elapsed() < 60000) {
        QTest::qWait(5);
        received += reader->readAll().size();
    }
    QCOMPARE(f.http->requestsFor(path).size(), count);
    QVERIFY(received >= qint64(count) * pictureSize);
}

void TestLocalService::handshakeThatNeverEndsIsClosed()
{
    closeAllConnections();
    // Plain TCP that never starts TLS: closed at the handshake time-out,
    // long before the idle time-out (before, it was held for two minutes).
    f.http->setHandshakeTimeout(300);
    const std::unique_ptr<QSslSocket> raw = openConnection("127.0.0.1", false);
    QCOMPARE(raw->state(), QAbstractSocket::ConnectedState);
    QTRY_COMPARE_WITH_TIMEOUT(raw->state(), QAbstractSocket::UnconnectedState, 10000);
    f.http->setHandshakeTimeout(5000);
    QCOMPARE(client->call(ada, "card/").code(), 200);
}

void TestLocalService::idleConnectionsMakeRoomForNewcomers_data()
{
    // Held connections, oldest first: "<address>" an idle TLS connection,
    // "<address> raw" plain TCP that never starts TLS, "<address> busy" one
    // in the middle of a request.
    QTest::addColumn<int>("perPeer");
    QTest::addColumn<int>("total");
    QTest::addColumn<QStringList>("held");
    QTest::addColumn<QString>("newcomer");
    QTest::addColumn<int>("closed"); // which held connection makes room (-1: none)
    QTest::addColumn<bool>("admitted");
    // Before, a full address turned every newcomer away: 64 idle
    // connections locked the real client out.
    QTest::newRow("an address's oldest idle connection makes room")
        << 3 << 100 << QStringList{"127.0.0.1", "127.0.0.1", "127.0.0.1"} << "127.0.0.1" << 0
        << true;
    // Before, other loopback addresses were counted by no limit at all.
    QTest::newRow("other loopback addresses count in the total")
        << 64 << 3 << QStringList{"127.0.0.2", "127.0.3.4", "127.9.9.9"} << "127.0.0.1" << 0
        << true;
    QTest::newRow("connections without TLS make room after a grace")
        << 3 << 100 << QStringList{"127.0.0.1 raw", "127.0.0.1 raw", "127.0.0.1 raw"} << "127.0.0.1"
        << 0 << true;
    QTest::newRow("an address's limit closes no other address's connection")
        << 2 << 100 << QStringList{"127.0.0.2", "127.0.0.2"} << "127.0.0.1" << -1 << true;
    QTest::newRow("a connection mid-request is kept, so the newcomer is turned away")
        << 2 << 100 << QStringList{"127.0.0.1 busy", "127.0.0.1 busy"} << "127.0.0.1" << -1
        << false;
}

void TestLocalService::idleConnectionsMakeRoomForNewcomers()
{
    QFETCH(int, perPeer);
    QFETCH(int, total);
    QFETCH(QStringList, held);
    QFETCH(QString, newcomer);
    QFETCH(int, closed);
    QFETCH(bool, admitted);
    closeAllConnections();
    f.http->setMaxConnectionsPerPeer(perPeer);
    f.http->setMaxConnections(total);
    // Connections without TLS stay until they make room, however slow this run.
    f.http->setHandshakeTimeout(60000);
    std::vector<std::unique_ptr<QSslSocket>> sockets;
    bool raw = false;
    for (const QString& entry : held) {
        const QString kind = entry.section(' ', 1);
        raw = raw || kind == "raw";
        sockets.push_back(openConnection(entry.section(' ', 0, 0), kind != "raw"));
        QVERIFY(sockets.back()->state() == QAbstractSocket::ConnectedState);
        if (kind == "busy")
            sockets.back()->write("POST /card/ HTTP/1.1\r\nHost:");
    }
    QTRY_COMPARE_WITH_TIMEOUT(f.http->openConnections(), held.size(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(f.http->requestsInProgress(), held.filter(" busy").size(), 10000);
    if (raw)
        QTest::qWait(2500); // past the grace a connection has to finish its handshake
    const int evicted = f.http->evictedConnections();
    const std::unique_ptr<QSslSocket> fresh = openConnection(newcomer);
    QCOMPARE(fresh->isEncrypted(), admitted);
    if (closed >= 0) {
        QTRY_COMPARE_WITH_TIMEOUT(sockets.at(closed)->state(), QAbstractSocket::UnconnectedState,
                                  10000);
    }
    QCOMPARE(f.http->evictedConnections(), evicted + (closed >= 0 ? 1 : 0));
    for (int i = 0; i < int(sockets.size()); ++i) {
        if (i != closed)
            QCOMPARE(sockets.at(i)->state(), QAbstractSocket::ConnectedState);
    }
    sockets.clear();
    f.http->setHandshakeTimeout(5000);
    f.http->setMaxConnectionsPerPeer(64);
    f.http->setMaxConnections(256);
    QCOMPARE(client->call(ada, "card/").code(), 200);
}

void TestLocalService::replayedRequestIsRefused()
{
    const QByteArray body = ServiceTestClient::signedBody(
        ada, {{"RequestId", "a1b2c3d4e5f60718293a4b5c6d7e8f90"}, {"Nickname", "Ada"}});
    QCOMPARE(client->send("card/", body).code(), 200);
    // The same signed packet again: refused, and still after a restart.
    const Answer again = client->send("card/", body);
    QCOMPARE(again.code(), 400);
    QCOMPARE(again.json.value("ResultMessage").toString(), QString("request already received"));
    QVERIFY(f.restart());
    QCOMPARE(client->send("card/", body).code(), 400);
    // A new packet (a client's retry) is answered; an id that is no id is refused.
    QCOMPARE(client->call(ada, "card/", {{"RequestId", "0f1e2d3c"}}).code(), 200);
    QCOMPARE(client->call(ada, "card/", {{"RequestId", "a b\n"}}).code(), 400);
}

void TestLocalService::signedRequestsNeedAFreshRequestId_data()
{
    // Each body is sent in turn, with the result code each must get.
    // Before, a signed request without a RequestId was answered every time,
    // and uploads and sticker sessions were not checked for replays at all.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QList<int>>("codes");
    const QJsonObject noId{{"RequestId", ""}};
    const QByteArray boundary = "b0undary";
    auto uploadOf = [&boundary](const QByteArray& data) {
        return multipart(boundary, {{"name=\"Data\" ", data},
                                    {"name=\"File\"; filename=\"r.txt\"", "replayed bytes"}});
    };
    const QByteArray form = "multipart/form-data; boundary=" + boundary;
    const QByteArray json = "application/json";
    const QJsonObject stickerSession{{"PhoneNo", ada.username}};
    QJsonObject stickerNoId = stickerSession;
    stickerNoId.insert("RequestId", "");
    QTest::newRow("a procedure without RequestId")
        << "card/" << ServiceTestClient::signedBody(ada, noId) << json << QList<int>{400, 400};
    QTest::newRow("an upload without RequestId")
        << "upload_file" << uploadOf(ServiceTestClient::signedBody(ada, noId)) << form
        << QList<int>{400};
    QTest::newRow("an upload sent again")
        << "upload_file" << uploadOf(ServiceTestClient::signedBody(ada, {})) << form
        << QList<int>{200, 400};
    QTest::newRow("a sticker session without RequestId")
        << "sticker/authentication/" << ServiceTestClient::signedBody(ada, stickerNoId) << json
        << QList<int>{400};
    QTest::newRow("a sticker session asked for again")
        << "sticker/authentication/" << ServiceTestClient::signedBody(ada, stickerSession) << json
        << QList<int>{200, 400};
}

void TestLocalService::signedRequestsNeedAFreshRequestId()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QList<int>, codes);
    for (int i = 0; i < codes.size(); ++i) {
        const Answer answer = client->send(path, body, contentType);
        QVERIFY2(answer.code() == codes.at(i),
                 qPrintable(
                     QStringLiteral("send %1: %2").arg(i + 1).arg(QString::fromUtf8(answer.body))));
    }
}

void TestLocalService::oneToOneArchiveAnswersAPage()
{
    // The chat server keeps no one-to-one history here: an honest empty
    // page, never "not found".
    const Answer page =
        client->call(ada, "CAPI/Userchat/Archive/",
                     {{"UserId", bo.username}, {"MessageId", ""}, {"Count", "200"}});
    QCOMPARE(page.httpStatus, 200);
    QCOMPARE(page.code(), 200);
    QVERIFY(page.json.value("Messages").isArray());
    QVERIFY(page.json.value("Messages").toArray().isEmpty());
    QCOMPARE(client
                 ->call(ada, "CAPI/Userchat/Archive/",
                        {{"UserId", bo.username}, {"MessageId", "m-1"}, {"Count", 50}})
                 .code(),
             200);
    // Malformed asks are refused.
    QCOMPARE(
        client->call(ada, "CAPI/Userchat/Archive/", {{"MessageId", ""}, {"Count", "200"}}).code(),
        400);
    QCOMPARE(client
                 ->call(ada, "CAPI/Userchat/Archive/",
                        {{"UserId", bo.username}, {"MessageId", ""}, {"Count", "lots"}})
                 .code(),
             400);
    QCOMPARE(client
                 ->call(ada, "CAPI/Userchat/Archive/",
                        {{"UserId", ""}, {"MessageId", ""}, {"Count", "200"}})
                 .code(),
             400);
}

void TestLocalService::contactsMatchedByPhone()
{
    QCOMPARE(client
                 ->call(bo, "setprofile/",
                        {{"Nickname", "Bo"},
                         {"Motto", "hi"},
                         {"AvatarURL", ""},
                         {"AvatarThumbnailURL", ""}})
                 .code(),
             200);
    const QString stranger = "491799999999";
    const Answer synced = client->call(
        ada, "contacts/syncall/",
        {{"ContactList", QJsonArray{QJsonObject{{"Number", bo.phone}, {"Name", "Bo B"}},
                                    QJsonObject{{"Number", stranger}, {"Name", "S"}}}}});
    QCOMPARE(synced.code(), 200);
    const QJsonArray members = synced.json.value("Members").toArray();
    QCOMPARE(members.size(), 1);
    QCOMPARE(members.first().toObject().value("Number").toString(), bo.phone);
    QCOMPARE(members.first().toObject().value("MemberID").toString(), bo.phone);
    QCOMPARE(members.first().toObject().value("Nickname").toString(), QStringLiteral("Bo"));

    auto registeredFlags = [&] {
        QMap<QString, int> flags;
        for (const QJsonValue& value :
             client->call(ada, "contacts/getSynced/").json.value("Contacts").toArray())
            flags.insert(value.toObject().value("Number").toString(),
                         value.toObject().value("IsRegistered").toInt());
        return flags;
    };
    QCOMPARE(registeredFlags(), (QMap<QString, int>{{bo.phone, 1}, {stranger, 0}}));

    // Changes: the stranger goes; the own number comes in and is matched.
    const Answer changed = client->call(
        ada, "contacts/syncchanges/",
        {{"ContactChangesList",
          QJsonArray{QJsonObject{{"Number", stranger}, {"Action", "Delete"}},
                     QJsonObject{{"Number", ada.phone}, {"Name", "me"}, {"Action", "Add"}}}}});
    QCOMPARE(changed.json.value("Members").toArray().size(), 1);
    QCOMPARE(registeredFlags(), (QMap<QString, int>{{bo.phone, 1}, {ada.phone, 1}}));

    // Look-ups by number, and another user's list is its own.
    const Answer lookup =
        client->call(bo, "members/", {{"ContactList", QJsonArray{ada.phone, stranger}}});
    QCOMPARE(lookup.json.value("Members").toArray().size(), 1);
    QCOMPARE(client->call(bo, "contacts/getSynced/").json.value("Contacts").toArray().size(), 0);

    // A deactivated account is matched no more and its requests say so.
    const Account dee = client->signUp("491700000025", kCode);
    QCOMPARE(client->call(dee, "deactivation/").code(), 200);
    QCOMPARE(client->call(dee, "card/").code(), 311);
    QCOMPARE(client->call(ada, "members/", {{"ContactList", QJsonArray{dee.phone}}})
                 .json.value("Members")
                 .toArray()
                 .size(),
             0);
}

ServiceTestClient::Answer TestLocalService::upload(const Account& account,
                                                   const QByteArray& content,
                                                   const QByteArray& fileName,
                                                   const QByteArray& data)
{
    const QByteArray boundary = "b0undary";
    return client->send(
        "upload_file",
        multipart(boundary, {{"name=\"Data\" ",
                              data.isEmpty() ? ServiceTestClient::signedBody(account, {}) : data},
                             {"name=\"File\"; filename=\"" + fileName + '"', content},
                             {"name=\"Thumbnail\"; filename=\"t.png\"", "thumb"}}),
        "multipart/form-data; boundary=" + boundary);
}

void TestLocalService::filesUploadedAndDownloaded()
{
    const QByteArray content = "attachment bytes \x00\x01\xff" + QByteArray(100000, 'x');
    const QString hash =
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex());
    QCOMPARE(client->call(ada, "file_exists/", {{"FileHash", hash}}).json.value("State").toString(),
             QStringLiteral("new"));

    const Answer uploaded = upload(ada, content, "/home/ada/../Documents/re\"port.pdf");
    QCOMPARE(uploaded.code(), 200);
    const QString fileUrl = uploaded.json.value("FileURL").toString();
    QVERIFY(fileUrl.startsWith(f.url() + "files/"));
    const Answer downloaded = client->send(fileUrl.mid(f.url().size()), QByteArray());
    QCOMPARE(downloaded.httpStatus, 200);
    QCOMPARE(downloaded.body, content);
    QCOMPARE(downloaded.header("content-disposition"),
             QByteArray("attachment; filename=\"report.pdf\""));
    const QString thumbnail = uploaded.json.value("ThumbnailURL").toString();
    QCOMPARE(client->send(thumbnail.mid(f.url().size()), QByteArray()).body, QByteArray("thumb"));

    const Answer exists = client->call(ada, "file_exists/", {{"FileHash", hash}});
    QCOMPARE(exists.json.value("State").toString(), QStringLiteral("exists"));
    QCOMPARE(exists.json.value("FileURL").toString(), fileUrl);

    // Refused uploads: a wrong signature, no file part.
    Account forged = ada;
    forged.token = "forged";
    QCOMPARE(upload(forged, "other", "a.txt").code(), 401);
    QCOMPARE(upload(ada, QByteArray(), "a.txt").code(), 400);
}

void TestLocalService::fileNamesCannotLeaveTheStore_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("parent folders encoded") << "files/..%2F..%2Fstore%2Faccounts.json";
    QTest::newRow("parent folders plain") << "files/../accounts.json";
    QTest::newRow("absolute path") << "files/%2Fetc%2Fpasswd";
    QTest::newRow("a blob's folder") << "files/";
    QTest::newRow("static with parents") << "static_file/..%2Faccounts.json/a/b/c/d";
    QTest::newRow("static too short") << "static_file/x/a/b";
}

void TestLocalService::fileNamesCannotLeaveTheStore()
{
    QFETCH(QString, path);
    // Sent as written: a client library would fold the parent folders away.
    const QByteArray answer =
        rawExchange("GET /" + path.toLatin1() + " HTTP/1.1\r\nHost: x\r\n\r\n", false);
    QVERIFY2(answer.startsWith("HTTP/1.1 404") || answer.startsWith("HTTP/1.1 400"),
             answer.constData());
    QVERIFY(!answer.contains(ada.token.toUtf8()));
    QVERIFY(!answer.contains("root:"));
}

void TestLocalService::backgroundsServedToEveryone()
{
    // Fetched without any sign-in, as the settings screen and the content
    // panel do, with the empty query their addresses end with.
    const QStringList names = BackgroundImages::names();
    QCOMPARE(names.size(), 8);
    QImage first;
    for (const QString& name : names) {
        const Answer image = client->get("static_file/" + name + ".jpg?");
        QCOMPARE(image.httpStatus, 200);
        QCOMPARE(image.header("content-type"), QByteArray("image/jpeg"));
        const QImage full = QImage::fromData(image.body, "JPEG");
        QCOMPARE(full.size(), QSize(BackgroundImages::kWidth, BackgroundImages::kHeight));
        const Answer thumbnail = client->get("static_file/" + name + ".thumbnail.jpg?");
        QCOMPARE(thumbnail.httpStatus, 200);
        const QImage small = QImage::fromData(thumbnail.body, "JPEG");
        QCOMPARE(small.width(), BackgroundImages::kThumbnailWidth);
        QCOMPARE(small.height(), full.height() * small.width() / full.width());
        // Asked again: the same bytes.
        QCOMPARE(client->get("static_file/" + name + ".jpg").body, image.body);
        if (first.isNull())
            first = full;
        else
            QVERIFY(full != first);
    }
    // Other names are not there, also not beside the pictures.
    const QString known = names.first().section('/', 1);
    for (const QString& missing :
         QStringList{"d6/unknown.jpg", "d7/" + known + ".jpg", "d5/" + known + ".jpg",
                     names.first() + ".png", names.first(), "d6%2F" + known + ".jpg"}) {
        const int status = client->get("static_file/" + missing).httpStatus;
        QVERIFY2(status == 404 || status == 400, qPrintable(missing));
    }
}

void TestLocalService::channelPostsStampedAndPushedToFollowers()
{
    // Ada posts with an author, channel and time of her own making in the
    // message: the service stamps its own, keeps the post and pushes it to
    // the followers, not to its author.
    f.pushed.clear();
    const QJsonObject forged{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                             {"MINOR_TYPE", "TEXT"},
                             {"USER_ID", bo.username},
                             {"CHANNEL_ID", "elsewhere"},
                             {"SEND_TIME_IN_GMT", 1.0}};
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    QCOMPARE(
        client->call(ada, "GAPI/channels/sendmessage/", channelPost("r-1", "first", forged)).code(),
        200);
    QCOMPARE(f.pushed.size(), 1);
    QCOMPARE(f.pushed.first().first, bo.username);
    const QJsonObject pushed = f.pushed.first().second;
    QCOMPARE(pushed.value("USER_ID").toString(), ada.username);
    QCOMPARE(pushed.value("CHANNEL_ID").toString(), kChannel);
    QCOMPARE(pushed.value("MESSAGE_ID").toString(), QString("r-1"));
    QCOMPARE(pushed.value("MESSAGE_BODY").toString(), QString("first"));
    QVERIFY(qint64(pushed.value("SEND_TIME_IN_GMT").toDouble()) >= before);

    // Sent again (a retry after a lost answer): kept and pushed once.
    QCOMPARE(client->call(ada, "GAPI/channels/sendmessage/", channelPost("r-1", "first")).code(),
             200);
    QCOMPARE(f.pushed.size(), 1);

    // Posts in one millisecond keep their order in time; archive pages are
    // newest first, from an offset or below a message.
    for (const char* id : {"r-2", "r-3", "r-4"})
        QCOMPARE(client->call(ada, "GAPI/channels/sendmessage/", channelPost(id, id)).code(), 200);
    const QJsonArray posts = f.store->value("channelposts", kChannel).toArray();
    QCOMPARE(posts.size(), 4);
    for (int i = 1; i < posts.size(); ++i)
        QVERIFY(posts.at(i).toObject().value("SEND_TIME_IN_GMT").toDouble() >
                posts.at(i - 1).toObject().value("SEND_TIME_IN_GMT").toDouble());
    auto page = [this](const QJsonObject& fields) {
        QJsonObject asked = fields;
        asked.insert("ChannelID", kChannel);
        QStringList ids;
        for (const QJsonValue& post :
             client->call(bo, "GAPI/channels/archive/JSON", asked).json.value("Messages").toArray())
            ids << post.toObject().value("MESSAGE_ID").toString();
        return ids;
    };
    QCOMPARE(page({{"Offset", "1"}, {"Count", "2"}, {"MessageID", ""}}),
             QStringList({"r-3", "r-2"}));
    QCOMPARE(page({{"Offset", ""}, {"Count", "10"}, {"MessageID", "r-3"}}),
             QStringList({"r-2", "r-1"}));
    QCOMPARE(page({{"Offset", ""}, {"Count", "10"}, {"MessageID", "unknown"}}), QStringList());

    // Missed posts: since a time, of the followed channels only.
    auto missed = [this](const Account& account) {
        return client
            ->call(account, "GAPI/channels/newMessages/JSON",
                   {{"MessageTimestamp", QString::number(QDateTime::currentSecsSinceEpoch() - 60)}})
            .json.value("Messages")
            .toArray()
            .size();
    };
    QCOMPARE(missed(bo), 4);
    QCOMPARE(client->call(bo, "GAPI/channels/leave/", {{"ChannelID", kChannel}}).code(), 200);
    QCOMPARE(missed(bo), 0);
    QCOMPARE(client->call(ada, "GAPI/channels/sendmessage/", channelPost("r-5", "alone")).code(),
             200);
    QCOMPARE(f.pushed.size(), 4);

    // An edit of a post is kept and announced to every member from the
    // channel account, in the form the clients apply; an unknown post is not.
    f.pushed.clear();
    QVERIFY(ChannelEditAnnouncer::announce(*f.service, kChannel, "r-2", "second, edited"));
    QVERIFY(!ChannelEditAnnouncer::announce(*f.service, kChannel, "r-404", "x"));
    QVERIFY(!ChannelEditAnnouncer::announce(*f.service, "nochannel", "r-2", "x"));
    QCOMPARE(f.pushed.size(), 1);
    QCOMPARE(f.pushed.first().first, ada.username);
    const QJsonObject edit = f.pushed.first().second;
    QCOMPARE(edit.value("MINOR_TYPE").toString(), QString("CHANNEL_MESSAGE_EDITED"));
    QCOMPARE(edit.value("ORIGINAL_MESSAGE_ID").toString(), QString("r-2"));
    QCOMPARE(edit.value("MESSAGE_CONTENT").toString(), QString("second, edited"));
    QCOMPARE(edit.value("CHANNEL_ID").toString(), kChannel);
    QCOMPARE(page({{"Offset", ""}, {"Count", "10"}, {"MessageID", "r-3"}}),
             QStringList({"r-2", "r-1"}));
    bool edited = false;
    for (const QJsonValue& post : f.store->value("channelposts", kChannel).toArray())
        edited |= post.toObject().value("MESSAGE_BODY").toString() == "second, edited";
    QVERIFY(edited);
}

void TestLocalService::channelMembersByKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("roles");
    // The administrators' panel asks for kind 1 and one person: it gets all
    // who run the channel, the owner first.
    QTest::newRow("managers") << "1"
                              << "1" << QStringList{"OWNER"};
    QTest::newRow("followers") << "2"
                               << "10" << QStringList{"MEMBER"};
    QTest::newRow("everyone") << "0"
                              << "10" << QStringList{"OWNER", "MEMBER"};
    QTest::newRow("everyone, one page") << "0"
                                        << "1" << QStringList{"OWNER"};
}

void TestLocalService::channelMembersByKind()
{
    QFETCH(QString, kind);
    QFETCH(QString, count);
    QFETCH(QStringList, roles);
    const auto reply = client->call(
        ada, "GAPI/channels/getmembers/",
        {{"ChannelID", kChannel}, {"Offset", "0"}, {"Count", count}, {"ChannelMemberType", kind}});
    QCOMPARE(reply.code(), 200);
    QStringList got;
    for (const QJsonValue& member : reply.json.value("Members").toArray()) {
        got << member.toObject().value("Role").toString();
        QVERIFY(!member.toObject().value("Username").toString().isEmpty());
    }
    got.sort();
    roles.sort();
    QCOMPARE(got, roles);
}

void TestLocalService::followersListedOnlyToWhoRunsTheChannel_data()
{
    // Before, anyone signed in listed any channel's followers with their
    // numbers. A follower's panel shows only the count of the channel's data.
    QTest::addColumn<QString>("asker");
    QTest::addColumn<int>("code");
    QTest::newRow("the owner") << "ada" << 200;
    QTest::newRow("a follower") << "bo" << 403;
    QTest::newRow("a stranger") << "stranger" << 403;
}

void TestLocalService::followersListedOnlyToWhoRunsTheChannel()
{
    QFETCH(QString, asker);
    QFETCH(int, code);
    static const Account stranger = client->signUp("491700000032", kCode);
    const Account& account = asker == "ada" ? ada : asker == "bo" ? bo : stranger;
    for (const char* kind : {"0", "1", "2"}) {
        const Answer answer = client->call(account, "GAPI/channels/getmembers/",
                                           {{"ChannelID", kChannel},
                                            {"Offset", "0"},
                                            {"Count", "10"},
                                            {"ChannelMemberType", kind}});
        QCOMPARE(answer.code(), code);
        if (code != 200)
            QVERIFY(!answer.json.contains("Members"));
    }
    // The count stays in everyone's view of the channel.
    const Answer data = client->call(account, "GAPI/channels/getdata/", {{"ChannelID", kChannel}});
    QCOMPARE(data.json.value("MembersCount").toString(), QString("2"));
}

void TestLocalService::stateSurvivesRestart()
{
    const QJsonObject before = f.snapshot();
    const QString pending = "491700000026";
    const Answer registered =
        client->sendJson("register/", ServiceTestClient::registerBody(pending));
    const Answer uploaded = upload(bo, "kept across restarts", "kept.txt");
    QCOMPARE(uploaded.code(), 200);

    QVERIFY(f.restart());
    QCOMPARE(f.snapshot().value("accounts"), before.value("accounts"));
    // Tokens, contact lists, profiles, files and a pending sign-up are all back.
    QCOMPARE(client->call(ada, "card/").code(), 200);
    QCOMPARE(client->call(ada, "contacts/getSynced/").json.value("Contacts").toArray().size(), 2);
    const QJsonObject member =
        client->call(ada, "members/", {{"ContactList", QJsonArray{bo.phone}}})
            .json.value("Members")
            .toArray()
            .first()
            .toObject();
    QCOMPARE(member.value("Nickname").toString(), QStringLiteral("Bo"));
    QCOMPARE(
        client->send(uploaded.json.value("FileURL").toString().mid(f.url().size()), QByteArray())
            .body,
        QByteArray("kept across restarts"));
    QCOMPARE(
        client
            ->sendJson("activation/", {{"PhoneNo", pending},
                                       {"VerificationToken", ServiceTestClient::verificationToken(
                                                                 registered.json, pending, kCode)}})
            .code(),
        200);
}

void TestLocalService::unreadableStoreIsNotOverwritten()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("accounts.json"));
    const QByteArray cut = "{\"491700000001\": {\"Token\": \"t\"";
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(cut);
    file.close();
    ServiceStore store(dir.path());
    QVERIFY(!store.open());
    QVERIFY(store.errorString().contains("accounts.json"));
    QCOMPARE(QFileInfo(file).size(), qint64(cut.size()));

    // Any text is a key; blob names never leave the blob folder.
    ServiceStore fresh(dir.filePath("fresh"));
    QVERIFY(fresh.open());
    QVERIFY(fresh.setBlob("../../escape", "x"));
    QVERIFY(!QFile::exists(dir.filePath("escape")));
    QCOMPARE(fresh.blob("../../escape"), QByteArray("x"));
    QVERIFY(!fresh.setValue("../bad area", "k", 1));
}

namespace {
QJsonArray memberList(const QString& name, const QString& role)
{
    return QJsonArray{QJsonObject{{"Username", name}, {"Role", role}}};
}

QString roleIn(ServiceTestClient& client, const Account& asker, const QString& channel,
               const QString& username)
{
    const Answer answer = client.call(
        asker, "GAPI/channels/getmembers/",
        {{"ChannelID", channel}, {"Offset", "0"}, {"Count", "50"}, {"ChannelMemberType", "0"}});
    for (const QJsonValue& member : answer.json.value("Members").toArray()) {
        if (member.toObject().value("Username").toString() == username)
            return member.toObject().value("Role").toString();
    }
    return QStringLiteral("NONE");
}

QStringList postIds(const Answer& answer)
{
    QStringList ids;
    for (const QJsonValue& post : answer.json.value("Messages").toArray())
        ids << post.toObject().value("MESSAGE_ID").toString();
    return ids;
}
} // namespace

void TestLocalService::lookupNamesChannelsGroupsAndPeople_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::newRow("channel id") << kChannel << "CHANNEL_DATA"
                                << "ID" << kChannel;
    QTest::newRow("channel mention") << "@" + kChannel << "CHANNEL_DATA"
                                     << "Link"
                                     << "https://quorvel.link/" + kChannel;
    QTest::newRow("channel link") << "https://quorvel.link/" + kChannel + "/"
                                  << "CHANNEL_DATA"
                                  << "Name"
                                  << "Rules";
    QTest::newRow("person by number") << "491700000022"
                                      << "USER_DATA"
                                      << "Nickname"
                                      << "Bo";
    QTest::newRow("person by public id") << "@Ada_public"
                                         << "USER_DATA"
                                         << "UserID"
                                         << "491700000021";
    QTest::newRow("group id") << "lookup-group"
                              << "GROUP_JOIN_LINK"
                              << "Name"
                              << "Readers";
    QTest::newRow("unknown") << "@nobody_here"
                             << ""
                             << ""
                             << "";
}

void TestLocalService::lookupNamesChannelsGroupsAndPeople()
{
    QFETCH(QString, key);
    QFETCH(QString, type);
    QFETCH(QString, field);
    QFETCH(QString, value);
    if (client->call(ada, "quorvelid/get/").json.value("QuorvelId").toString().isEmpty())
        QCOMPARE(client->call(ada, "quorvelid/set/", {{"QuorvelId", "Ada_public"}}).code(), 200);
    if (f.store->object("groups", "lookup-group").isEmpty()) {
        QCOMPARE(client
                     ->call(ada, "GAPI/privatechat/create/",
                            {{"GroupJID", "lookup-group"},
                             {"GroupName", "Readers"},
                             {"Description", ""},
                             {"GroupAvatarURL", ""},
                             {"GroupAvatarThumbnailURL", ""},
                             {"Members", QJsonArray()}})
                     .code(),
                 200);
    }
    const Answer answer = client->call(bo, "lookup/", {{"Key", key}});
    if (type.isEmpty()) {
        QCOMPARE(answer.code(), 404);
        return;
    }
    QCOMPARE(answer.code(), 200);
    QCOMPARE(answer.json.value("Type").toString(), type);
    const QJsonObject metaData = answer.json.value("MetaData").toObject();
    QCOMPARE(metaData.value(field).toVariant().toString(), value);
    // Every field the client requires is there.
    const QStringList required =
        type == "CHANNEL_DATA"
            ? QStringList{"Description",        "CategoryId",   "Name",         "AvatarURL",
                          "AvatarThumbnailURL", "MembersCount", "CreationDate", "ReplyAllowed",
                          "OwnerUsername",      "Link"}
        : type == "USER_DATA"
            ? QStringList{"AvatarURL", "AvatarThumbnailURL", "Username", "Motto", "Nickname",
                          "UserID",    "OfficialUser"}
            : QStringList{"Description", "Name", "AvatarURL", "MembersCount", "JoinToken"};
    for (const QString& key : required)
        QVERIFY2(metaData.contains(key), qPrintable(key));
}

void TestLocalService::publicIdsAreOneEach()
{
    QCOMPARE(client->call(bo, "quorvelid/set/", {{"QuorvelId", "Bo_reads"}}).code(), 200);
    QCOMPARE(client->call(bo, "quorvelid/get/").json.value("QuorvelId").toString(),
             QString("Bo_reads"));
    // Taken, in any case, by someone else; badly formed; both change nothing.
    QCOMPARE(client->call(ada, "quorvelid/set/", {{"QuorvelId", "bo_READS"}}).code(), 409);
    QCOMPARE(client->call(ada, "quorvelid/set/", {{"QuorvelId", "1abc"}}).code(), 400);
    QCOMPARE(client->call(ada, "quorvelid/set/", {{"QuorvelId", "a b c d"}}).code(), 400);
    QVERIFY(client->call(ada, "quorvelid/get/").json.value("QuorvelId").toString() != "bo_READS");
    // Taking it again is no conflict; a restart keeps it.
    QCOMPARE(client->call(bo, "quorvelid/set/", {{"QuorvelId", "Bo_reads"}}).code(), 200);
    QVERIFY(f.restart());
    QCOMPARE(client->call(bo, "lookup/", {{"Key", "@Bo_reads"}})
                 .json.value("MetaData")
                 .toObject()
                 .value("Username")
                 .toString(),
             bo.username);
}

void TestLocalService::channelRolesKeptByTheOwner()
{
    const QString club = QStringLiteral("club");
    const Account cy = client->signUp("491700000027", kCode);
    QCOMPARE(client->call(ada, "GAPI/channels/create/", {{"ChannelID", club}, {"CategoryID", "2"}})
                 .code(),
             200);
    QCOMPARE(client->call(bo, "GAPI/channels/join/", {{"ChannelID", club}}).code(), 200);
    QCOMPARE(
        client
            ->call(
                ada, "GAPI/channels/changerole/",
                {{"ChannelID", club}, {"MemberUsername", bo.username}, {"MemberNewRole", "ADMIN"}})
            .code(),
        200);
    // The administrator adds followers, but cannot demote the owner through
    // add-member, change roles or make administrators.
    QCOMPARE(client
                 ->call(bo, "GAPI/channels/addmember/",
                        {{"ChannelID", club}, {"Members", memberList(ada.username, "MEMBER")}})
                 .code(),
             200);
    QCOMPARE(client
                 ->call(bo, "GAPI/channels/changerole/",
                        {{"ChannelID", club},
                         {"MemberUsername", ada.username},
                         {"MemberNewRole", "MEMBER"}})
                 .code(),
             403);
    QCOMPARE(client
                 ->call(bo, "GAPI/channels/addmember/",
                        {{"ChannelID", club}, {"Members", memberList(cy.username, "ADMIN")}})
                 .code(),
             403);
    QCOMPARE(roleIn(*client, bo, club, ada.username), QString("OWNER"));
    QCOMPARE(roleIn(*client, bo, club, cy.username), QString("NONE"));
    QCOMPARE(client
                 ->call(bo, "GAPI/channels/addmember/",
                        {{"ChannelID", club}, {"Members", memberList(cy.username, "MEMBER")}})
                 .code(),
             200);
    QCOMPARE(roleIn(*client, ada, club, cy.username), QString("MEMBER"));
    // The owner adds an administrator directly; adding again keeps the role.
    QCOMPARE(client
                 ->call(ada, "GAPI/channels/addmember/",
                        {{"ChannelID", club}, {"Members", memberList(cy.username, "ADMIN")}})
                 .code(),
             200);
    QCOMPARE(roleIn(*client, ada, club, cy.username), QString("MEMBER"));
    auto removed = [&](const Account& by, const Account& member) {
        return client
            ->call(by, "GAPI/channels/removemember/",
                   {{"ChannelID", club}, {"MemberUsername", member.username}})
            .code();
    };
    QCOMPARE(removed(bo, cy), 200);
    QCOMPARE(client
                 ->call(ada, "GAPI/channels/addmember/",
                        {{"ChannelID", club}, {"Members", memberList(cy.username, "ADMIN")}})
                 .code(),
             200);
    QCOMPARE(roleIn(*client, ada, club, cy.username), QString("ADMIN"));
    // An administrator cannot remove another (adding him again would have
    // made him a follower: before, that demoted him); the owner can.
    QCOMPARE(removed(bo, cy), 403);
    QCOMPARE(roleIn(*client, ada, club, cy.username), QString("ADMIN"));
    QCOMPARE(removed(ada, cy), 200);
    QCOMPARE(roleIn(*client, ada, club, cy.username), QString("NONE"));
}

// A group is made or grown only with accounts the service has: a list that
// names anyone else is refused whole, naming them, so the person adding them
// hears of it, and nothing changes.
void TestLocalService::groupMembersAreAccountsTheServiceKnows()
{
    const QString circle = QStringLiteral("circle");
    const QString stranger = QStringLiteral("491799999901");
    auto entry = [](const QString& name, const QString& role) {
        return QJsonObject{{"Username", name}, {"Role", role}};
    };
    auto create = [&](const QJsonArray& members) {
        return client->call(ada, "GAPI/privatechat/create/",
                            {{"GroupJID", circle},
                             {"GroupName", "Circle"},
                             {"Description", ""},
                             {"GroupAvatarURL", ""},
                             {"GroupAvatarThumbnailURL", ""},
                             {"Members", members}});
    };
    auto add = [&](const QJsonArray& members) {
        return client->call(ada, "GAPI/privatechat/addmember/",
                            {{"GroupJID", circle}, {"Members", members}});
    };
    auto refusedNamingStranger = [&](const std::function<Answer()>& request) {
        const QJsonObject before = f.snapshot();
        const Answer answer = request();
        return answer.code() == 400 &&
               answer.json.value("ResultMessage").toString().contains(stranger) &&
               f.snapshot() == before;
    };
    auto members = [&] {
        QStringList names;
        const Answer answer =
            client->call(ada, "GAPI/privatechat/getmembersinfo/", {{"GroupJID", circle}});
        for (const QJsonValue& member : answer.json.value("Members").toArray())
            names << member.toObject().value("Username").toString();
        names.sort();
        return names;
    };

    QVERIFY(refusedNamingStranger([&] {
        return create({entry(ada.username, "ADMIN"), entry(bo.username, "MEMBER"),
                       entry(stranger, "MEMBER")});
    }));
    QCOMPARE(client->call(ada, "GAPI/privatechat/groupdata/", {{"GroupJID", circle}}).code(), 404);
    QCOMPARE(create({entry(ada.username, "ADMIN")}).code(), 200);

    const QList<QJsonArray> withStranger{
        {entry(stranger, "MEMBER")},
        {entry(bo.username, "MEMBER"), entry(stranger, "MEMBER")},
        {entry(stranger, "ADMIN"), entry(bo.username, "ADMIN")},
    };
    for (const QJsonArray& list : withStranger)
        QVERIFY2(refusedNamingStranger([&] { return add(list); }),
                 QJsonDocument(list).toJson(QJsonDocument::Compact).constData());
    QCOMPARE(members(), QStringList{ada.username});

    QCOMPARE(add({entry(bo.username, "MEMBER")}).code(), 200);
    QCOMPARE(members(), QStringList({ada.username, bo.username}));
}

void TestLocalService::votesAndLikesOnlyFromFollowersOnceEach()
{
    const QString hall = QStringLiteral("hall");
    const Account stranger = client->signUp("491700000028", kCode);
    QCOMPARE(client->call(ada, "GAPI/channels/create/", {{"ChannelID", hall}}).code(), 200);
    QCOMPARE(client->call(bo, "GAPI/channels/join/", {{"ChannelID", hall}}).code(), 200);
    const QJsonObject poll{{"Question", "Tea?"},
                           {"Type", "radio"},
                           {"Options", QJsonArray{QJsonObject{{"OptionID", "1"}, {"Text", "yes"}},
                                                  QJsonObject{{"OptionID", "2"}, {"Text", "no"}}}}};
    const QString pollId =
        client->call(ada, "polls/create/", {{"PollViewResultStatus", "1"}, {"PollData", poll}})
            .json.value("PollID")
            .toString();
    QVERIFY(!pollId.isEmpty());
    const QJsonObject vote{{"PollID", pollId}, {"VoteData", QJsonObject{{"QuestionAnswer", "1"}}}};
    // Not posted anywhere yet: no one follows it.
    QCOMPARE(client->call(bo, "polls/vote/", vote).code(), 403);
    QJsonObject post{{"ChannelID", hall},
                     {"MessageID", "h-poll"},
                     {"MessageBody", ""},
                     {"MessageParams", QJsonObject{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                                                   {"MINOR_TYPE", "POLL"},
                                                   {"POLL_ID", pollId},
                                                   {"POLL_DATA", poll}}}};
    QCOMPARE(client->call(ada, "GAPI/channels/sendmessage/", post).code(), 200);

    QCOMPARE(client->call(stranger, "polls/vote/", vote).code(), 403);
    QCOMPARE(client->call(bo, "polls/vote/", vote).code(), 200);
    QCOMPARE(client->call(bo, "polls/vote/", vote).code(), 353);
    const QJsonObject result = client->call(ada, "polls/getresult/", {{"PollID", pollId}})
                                   .json.value("PollResult")
                                   .toObject();
    QCOMPARE(result.value("TotalVotes").toString(), QString("1"));

    auto likes = [this]() {
        return client->call(ada, "like/get/", {{"MessageIDs", QJsonArray{"h-poll"}}})
            .json.value("MessagesLikeCount")
            .toObject()
            .value("h-poll")
            .toString();
    };
    const QJsonObject like{{"MessageLikes", QJsonObject{{"h-poll", "1"}}}};
    QCOMPARE(client->call(stranger, "like/send/", like).code(), 403);
    QCOMPARE(
        client->call(bo, "like/send/", {{"MessageLikes", QJsonObject{{"nowhere", "1"}}}}).code(),
        403);
    QCOMPARE(likes(), QString("0"));
    QCOMPARE(client->call(bo, "like/send/", like).code(), 200);
    QCOMPARE(client->call(bo, "like/send/", like).code(), 200);
    QCOMPARE(likes(), QString("1"));
    QCOMPARE(client->call(ada, "like/send/", like).code(), 200);
    QCOMPARE(likes(), QString("2"));
    QCOMPARE(
        client->call(bo, "like/send/", {{"MessageLikes", QJsonObject{{"h-poll", "0"}}}}).code(),
        200);
    QCOMPARE(likes(), QString("1"));
}

void TestLocalService::postsCannotBorrowAnotherChannelsPollOrId()
{
    // Ada runs "forum", which Bo follows; Dan follows nothing of hers and runs "den".
    const QString forum = QStringLiteral("forum");
    const QString den = QStringLiteral("den");
    const Account dan = client->signUp("491700000031", kCode);
    QCOMPARE(client->call(ada, "GAPI/channels/create/", {{"ChannelID", forum}}).code(), 200);
    QCOMPARE(client->call(bo, "GAPI/channels/join/", {{"ChannelID", forum}}).code(), 200);
    QCOMPARE(client->call(dan, "GAPI/channels/create/", {{"ChannelID", den}}).code(), 200);
    const QJsonObject question{
        {"Question", "Now?"},
        {"Type", "radio"},
        {"Options", QJsonArray{QJsonObject{{"OptionID", "1"}, {"Text", "yes"}},
                               QJsonObject{{"OptionID", "2"}, {"Text", "no"}}}}};
    auto newPoll = [&](const Account& owner) {
        return client
            ->call(owner, "polls/create/", {{"PollViewResultStatus", "1"}, {"PollData", question}})
            .json.value("PollID")
            .toString();
    };
    auto post = [&](const Account& author, const QString& channel, const QString& id,
                    const QString& poll) {
        QJsonObject params{{"MAJOR_TYPE", "CHANNEL_CHAT"}, {"MINOR_TYPE", "TEXT"}};
        if (!poll.isEmpty()) {
            params.insert("MINOR_TYPE", "POLL");
            params.insert("POLL_ID", poll);
        }
        return client
            ->call(author, "GAPI/channels/sendmessage/",
                   {{"ChannelID", channel},
                    {"MessageID", id},
                    {"MessageBody", ""},
                    {"MessageParams", params}})
            .code();
    };
    auto vote = [&](const Account& voter, const QString& poll) {
        return client
            ->call(voter, "polls/vote/",
                   {{"PollID", poll}, {"VoteData", QJsonObject{{"QuestionAnswer", "1"}}}})
            .code();
    };
    auto like = [&](const Account& liker, const QString& id) {
        return client->call(liker, "like/send/", {{"MessageLikes", QJsonObject{{id, "1"}}}}).code();
    };
    const QString adasPoll = newPoll(ada);
    const QString dansPoll = newPoll(dan);
    QVERIFY(!adasPoll.isEmpty() && !dansPoll.isEmpty());
    QCOMPARE(post(ada, forum, "f-poll", adasPoll), 200);

    // Before, Dan posting her poll or her post's id in his own channel made
    // them his channel's: he then voted and liked, and Bo's like was refused.
    QCOMPARE(post(dan, den, "d-poll", adasPoll), 403);
    QCOMPARE(post(dan, den, "f-poll", QString()), 403);
    QCOMPARE(post(dan, den, "f-poll", dansPoll), 403);
    // A poll belongs to its owner and to the channel he first posts it in.
    QCOMPARE(post(ada, forum, "f-his", dansPoll), 403);
    QCOMPARE(post(dan, den, "d-own", dansPoll), 200);
    QCOMPARE(post(dan, den, "d-again", dansPoll), 200);
    QCOMPARE(post(ada, forum, "f-nopoll", "poll-none"), 404);
    QCOMPARE(vote(dan, adasPoll), 403);
    QCOMPARE(like(dan, "f-poll"), 403);
    QCOMPARE(like(bo, "f-poll"), 200);
    QCOMPARE(vote(bo, dansPoll), 403);
    QCOMPARE(like(bo, "d-own"), 403);

    // A store kept by the service before these checks may hold such a copy,
    // posted after the original: it moves nothing, also after a restart.
    QJsonArray planted = f.store->value("channelposts", den).toArray();
    planted << QJsonObject{
        {"MESSAGE_ID", "f-poll"},
        {"MESSAGE_BODY", ""},
        {"MAJOR_TYPE", "CHANNEL_CHAT"},
        {"MINOR_TYPE", "POLL"},
        {"POLL_ID", adasPoll},
        {"CHANNEL_ID", den},
        {"USER_ID", dan.username},
        {"SEND_TIME_IN_GMT", double(QDateTime::currentMSecsSinceEpoch() + 1000)}};
    QVERIFY(f.store->setValue("channelposts", den, planted));
    QVERIFY(f.restart());
    QCOMPARE(vote(dan, adasPoll), 403);
    QCOMPARE(like(dan, "f-poll"), 403);
    QCOMPARE(vote(bo, adasPoll), 200);
    QCOMPARE(like(bo, "f-poll"), 200);
    const Answer counts = client->call(ada, "like/get/", {{"MessageIDs", QJsonArray{"f-poll"}}});
    QCOMPARE(counts.json.value("MessagesLikeCount").toObject().value("f-poll").toString(),
             QString("1"));

    // A deleted post takes its likes along: a later post of its id elsewhere starts at none.
    QCOMPARE(
        client
            ->call(ada, "GAPI/channels/changemessagestate/",
                   {{"ChannelID", forum}, {"MessageID", "f-poll"}, {"MessageNewState", "DELETED"}})
            .code(),
        200);
    QCOMPARE(client->call(ada, "like/get/", {{"MessageIDs", QJsonArray{"f-poll"}}})
                 .json.value("MessagesLikeCount")
                 .toObject()
                 .value("f-poll")
                 .toString(),
             QString("0"));
}

void TestLocalService::deletedPostLeavesTheArchive()
{
    const QString desk = QStringLiteral("desk");
    QCOMPARE(client->call(ada, "GAPI/channels/create/", {{"ChannelID", desk}}).code(), 200);
    QCOMPARE(client->call(bo, "GAPI/channels/join/", {{"ChannelID", desk}}).code(), 200);
    const QJsonObject text{{"MAJOR_TYPE", "CHANNEL_CHAT"}, {"MINOR_TYPE", "TEXT"}};
    for (const char* id : {"d-1", "d-2"}) {
        QCOMPARE(client
                     ->call(ada, "GAPI/channels/sendmessage/",
                            {{"ChannelID", desk},
                             {"MessageID", id},
                             {"MessageBody", id},
                             {"MessageParams", text}})
                     .code(),
                 200);
    }
    auto state = [&](const char* id, const char* newState) {
        return client
            ->call(ada, "GAPI/channels/changemessagestate/",
                   {{"ChannelID", desk}, {"MessageID", id}, {"MessageNewState", newState}})
            .code();
    };
    QCOMPARE(state("d-1", "DRAFT"), 400);
    QCOMPARE(state("d-1", "PUBLISH"), 200);
    QCOMPARE(state("d-1", "DELETED"), 200);
    QCOMPARE(state("d-1", "DELETED"), 404);
    // Bo, coming online later, fetches what he missed and the archive: the
    // deleted post is in neither.
    const Answer missed = client->call(
        bo, "GAPI/channels/newMessages/JSON",
        {{"MessageTimestamp", QString::number(QDateTime::currentSecsSinceEpoch() - 60)}});
    QVERIFY(postIds(missed).contains("d-2"));
    QVERIFY(!postIds(missed).contains("d-1"));
    QCOMPARE(postIds(client->call(bo, "GAPI/channels/archive/JSON",
                                  {{"ChannelID", desk}, {"Offset", "0"}, {"Count", "10"}})),
             QStringList{"d-2"});
}

void TestLocalService::directoryInOneOrderWithSubCategoriesUnderTheirParent()
{
    // A category stored after the seeds, with an id that sorts before them as text.
    f.store->setValue(
        "channelcategories", "10",
        QJsonObject{{"CategoryId", "10"}, {"CategoryName", "Music"}, {"ParentCategoryId", "0"}});
    auto ids = [](const Answer& answer, const char* list, const char* key) {
        QStringList found;
        for (const QJsonValue& value : answer.json.value(list).toArray())
            found << value.toObject().value(key).toString();
        return found;
    };
    const Answer top = client->call(bo, "GAPI/channels/browse/index/");
    QCOMPARE(ids(top, "Categories", "CategoryId"), QStringList({"1", "2", "3", "10"}));
    const Answer sport = client->call(bo, "GAPI/channels/browse/2");
    QCOMPARE(ids(sport, "Categories", "CategoryId"), QStringList{"4"});
    QVERIFY(ids(sport, "Channels", "ChannelID").contains("club"));
}

void TestLocalService::pollPushedAsJsonText()
{
    const QJsonObject poll{{"PollID", "poll-1"}, {"Question", "Tea?"}, {"Options", QJsonArray{}}};
    const QXmppMessage stanza =
        ChannelPusher::stanzaFor("bo@local", {{"MESSAGE_ID", "m-1"},
                                              {"MESSAGE_BODY", "text"},
                                              {"POLL_DATA", poll},
                                              {"SEND_TIME_IN_GMT", 1700000000123.0}});
    QMap<QString, QString> fields;
    for (const QXmppElement& field : stanza.extensions())
        fields.insert(field.attribute("xml:lang"), field.value());
    QCOMPARE(QJsonDocument::fromJson(fields.value("POLL_DATA").toUtf8()).object(), poll);
    QCOMPARE(fields.value("SEND_TIME_IN_GMT"), QString("1700000000123"));
    QCOMPARE(stanza.body(), QString("text"));
    QCOMPARE(stanza.id(), QString("m-1"));
}

QTEST_GUILESS_MAIN(TestLocalService)
#include "tst_localservice.moc"
