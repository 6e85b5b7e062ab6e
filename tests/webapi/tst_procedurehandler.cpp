// The procedure queue against the fake web service over real HTTPS: one
// request in flight, time-outs that abort, retries and pauses, vital
// re-queueing, the unique Salam, result codes, stored reply settings,
// unbuildable requests, and log-out.

#include "foundation/database.h"
#include "webapi/GeneralApi/networkhandler.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"
#include "webapitestsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

using namespace webapitest;

namespace {
const int kTimeout = 1000; // well above a loaded machine's handshake time
const int kRetry = 150;
// Qt's coarse timers may fire up to 5% early, so lower bounds allow 10%.
} // namespace

class TestProcedureHandler : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void acceptedReplyIsReportedAndStored();
    void replySettingsKeepNumbersAndBooleans();
    void unstoredReplySettingsAreAFailure();
    void resultCodes_data();
    void resultCodes();
    void oneTryProcedureTimesOut();
    void triesArePacedByTimeoutAndPause();
    void lateReplyOfATimedOutTryIsDropped();
    void lateReplyNeverReachesTheNextProcedure();
    void networkErrorsUseThePauseOnly();
    void vitalProcedureGoesBackToTheEndOfTheQueue();
    void salamIsUnique();
    void unbuildableRequestsDoNotBlockTheQueue();
    void clientCountryIsFetched();
    void browseCategoryPathIsEncoded();
    void untrustedServerGetsNoBody();
    void deactivationSignsOut();
    void logoutFolders_data();
    void logoutFolders();
    void logoutRemovesOwnFoldersAndRestartsOnce_data();
    void logoutRemovesOwnFoldersAndRestartsOnce();

private:
    std::unique_ptr<ProcedureHandler> makeHandler();
    FakeWebService service;
    FakeProcedures procedures;
};

void TestProcedureHandler::initTestCase()
{
    QVERIFY(startFakeService(&service, &procedures));
}

void TestProcedureHandler::init()
{
    SettingStorage::getInstance()->removeAllSettings();
    storeSignedInSettings();
    procedures.token = "tok-123";
    procedures.hashMethod = "SHA256";
    procedures.tokenIssued = true;
    service.clearRequests();
    service.clearScriptedReplies();
}

std::unique_ptr<ProcedureHandler> TestProcedureHandler::makeHandler()
{
    auto handler = std::make_unique<ProcedureHandler>();
    handler->setTimeoutInterval(kTimeout);
    handler->setRetryInterval(kRetry);
    handler->setApplicationControl(new RecordingControl);
    return handler;
}

void TestProcedureHandler::acceptedReplyIsReportedAndStored()
{
    auto handler = makeHandler();
    // Long enough that a loaded machine never turns the answer into a time-out.
    handler->setTimeoutInterval(5000);
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QSignalSpy report(handler.get(), &ProcedureHandler::replyReport);
    handler->start(PROC_UserCard);
    QCOMPARE(handler->getCurrentProcedure(), PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_UserCard, 200}}));
    QCOMPARE(report.size(), 1);
    QCOMPARE(report.first().at(0).value<Procedure>(), PROC_UserCard);
    QCOMPARE(report.first().at(1).toJsonObject().value("Credit").toInt(), 1250);
    QCOMPARE(handler->getCurrentProcedure(), PROC_Idle);
    // The request went through the fake's signature check.
    QCOMPARE(service.requestsFor("card/").size(), 1);
    SettingStorage::deleteInstance(); // read back from the store
    QCOMPARE(storedSetting("Credit"), QString("1250"));
}

void TestProcedureHandler::replySettingsKeepNumbersAndBooleans()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    service.enqueueReply("card/",
                         FakeReply::result(200, {{"Username", "u1000"}, {"Credit", true}}));
    service.enqueueReply("lastseen/", FakeReply::result(200, {{"LastSeen", 1700000000123.0}}));
    service.enqueueReply("salam/", FakeReply::result(200, {{"Servers", QJsonArray()},
                                                           {"SinceLastConnection", 2.5}}));
    handler->start(PROC_UserCard);
    handler->start(PROC_LastSeen);
    handler->start(PROC_Salam);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 3, 5000);
    QCOMPARE(results(result),
             (Results{{PROC_UserCard, 200}, {PROC_LastSeen, 200}, {PROC_Salam, 200}}));
    QCOMPARE(storedSetting("Credit"), QString("true"));
    QCOMPARE(storedSetting("LastSeen"), QString("1700000000123"));
    QCOMPARE(storedSetting("SinceLastConnection"), QString("2.5"));
}

void TestProcedureHandler::unstoredReplySettingsAreAFailure()
{
    auto handler = makeHandler();
    handler->setTimeoutInterval(5000);
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QSignalSpy report(handler.get(), &ProcedureHandler::replyReport);
    // The settings store can no longer be written.
    SettingStorage::getInstance()->close();
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QVERIFY(results(result).first().second != 200);
    QCOMPARE(report.size(), 0);
    SettingStorage::deleteInstance();
}

void TestProcedureHandler::resultCodes_data()
{
    QTest::addColumn<FakeReply>("reply");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("reported");
    QTest::newRow("success") << FakeReply::result(200, {{"Username", "u"}, {"Credit", 1}}) << 200
                             << true;
    QTest::newRow("reply key missing")
        << FakeReply::result(200, {{"Username", "u"}}) << 100 << false;
    QTest::newRow("unauthorised") << FakeReply::result(401) << 401 << false;
    QTest::newRow("signed out elsewhere") << FakeReply::result(311) << 311 << false;
    QTest::newRow("update forced") << FakeReply::result(315) << 315 << false;
    QTest::newRow("other code") << FakeReply::result(499) << 499 << false;
    QTest::newRow("not JSON") << FakeReply::raw("<html>busy</html>") << 0 << false;
    QTest::newRow("no result code") << FakeReply::json({{"Credit", 1}}) << 0 << false;
    QTest::newRow("result code as text") << FakeReply::json({{"ResultCode", "200"}}) << 0 << false;
    FakeReply serverError = FakeReply::result(500);
    serverError.status = 500;
    QTest::newRow("HTTP error with JSON body") << serverError << 500 << false;
}

void TestProcedureHandler::resultCodes()
{
    QFETCH(FakeReply, reply);
    QFETCH(int, code);
    QFETCH(bool, reported);
    auto handler = makeHandler();
    // Long enough that a loaded machine never times the one try out; a try
    // that followed the answer would still come within the wait below.
    handler->setTimeoutInterval(5000);
    handler->setRetryInterval(50);
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QSignalSpy report(handler.get(), &ProcedureHandler::replyReport);
    service.enqueueReply("card/", reply);
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_UserCard, code}}));
    QCOMPARE(report.size(), reported ? 1 : 0);
    // Every outcome is final: no further try follows.
    QTest::qWait(300);
    QCOMPARE(service.requestsFor("card/").size(), 1);
    QCOMPARE(result.size(), 1);
}

void TestProcedureHandler::oneTryProcedureTimesOut()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    service.enqueueReply("register/", FakeReply::result(200).delayed(3000));
    QElapsedTimer clock;
    clock.start();
    handler->start(PROC_Register, {{"PhoneNo", "491701234567"}});
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QVERIFY(clock.elapsed() >= (kTimeout + kRetry) * 9 / 10);
    QCOMPARE(results(result), (Results{{PROC_Register, 100}}));
    QCOMPARE(service.requestsFor("register/").size(), 1);
    QVERIFY(service.requestsFor("register/").first().closedByClient);
    QCOMPARE(handler->getQueueSize(), 0); // not vital: not queued again
}

void TestProcedureHandler::triesArePacedByTimeoutAndPause()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QList<qint64> sentAt;
    QElapsedTimer clock;
    clock.start();
    // Measured where the tries leave the client: arrival times at the server
    // also carry each new connection's handshake.
    QMetaObject::Connection c = connect(handler.get(), &ProcedureHandler::requestPack, this,
                                        [&](const QString&) { sentAt << clock.elapsed(); });
    for (int i = 0; i < 3; ++i)
        service.enqueueReply("card/", FakeReply::result(200).delayed(3000));
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 8000);
    disconnect(c);
    QCOMPARE(results(result), (Results{{PROC_UserCard, 100}}));
    QCOMPARE(sentAt.size(), 3);
    for (int i = 1; i < sentAt.size(); ++i)
        QVERIFY2(sentAt.at(i) - sentAt.at(i - 1) >= (kTimeout + kRetry) * 9 / 10,
                 qPrintable(QString::number(sentAt.at(i) - sentAt.at(i - 1))));
    for (const FakeRequest& request : service.requestsFor("card/"))
        QVERIFY(request.closedByClient);
}

void TestProcedureHandler::lateReplyOfATimedOutTryIsDropped()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QSignalSpy report(handler.get(), &ProcedureHandler::replyReport);
    service.enqueueReply(
        "card/",
        FakeReply::result(200, {{"Username", "u"}, {"Credit", 1}}).delayed(kTimeout + 100));
    service.enqueueReply("card/", FakeReply::result(200, {{"Username", "u"}, {"Credit", 2}}));
    // Only the first try is meant to time out: once it is on the wire (its
    // timer already runs), the next try gets a time-out that a loaded machine
    // cannot reach, or a third try would take the service's default answer.
    QMetaObject::Connection c =
        connect(&service, &FakeWebService::requestReceived, this, [&](const FakeRequest& request) {
            if (request.path == QLatin1String("card/"))
                handler->setTimeoutInterval(20000);
        });
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 25000);
    disconnect(c);
    QTest::qWait(300);
    QCOMPARE(results(result), (Results{{PROC_UserCard, 200}}));
    QCOMPARE(report.size(), 1);
    QCOMPARE(report.first().at(1).toJsonObject().value("Credit").toInt(), 2);
    QCOMPARE(storedSetting("Credit"), QString("2"));
    QVERIFY(service.requestsFor("card/").first().closedByClient);
}

void TestProcedureHandler::lateReplyNeverReachesTheNextProcedure()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    QSignalSpy report(handler.get(), &ProcedureHandler::replyReport);
    // Register's reply comes after its only try timed out, while IVR Request
    // (queued behind it) is waiting for its own reply.
    service.enqueueReply("register/", FakeReply::result(200, {{"PhoneNo", "1"},
                                                              {"DeviceId", "d"},
                                                              {"ServerNonce", "late"},
                                                              {"ServerTimestamp", "1"},
                                                              {"HashMethod", "SHA1"},
                                                              {"EncryptionMethod", "AES128CBC"}})
                                          .delayed(kTimeout + kRetry + 100));
    service.enqueueReply("ivrRequest/", FakeReply::result(209).delayed(kTimeout / 2));
    handler->start(PROC_Register, {{"PhoneNo", "491701234567"}});
    handler->start(PROC_IVRRequest);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 2, 5000);
    QTest::qWait(300);
    QCOMPARE(results(result), (Results{{PROC_Register, 100}, {PROC_IVRRequest, 209}}));
    QCOMPARE(report.size(), 0);
    QCOMPARE(storedSetting("ServerNonce"), QString());
}

void TestProcedureHandler::networkErrorsUseThePauseOnly()
{
    auto handler = makeHandler();
    handler->setTimeoutInterval(5000); // a time-out would show in the timing
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    for (int i = 0; i < 12; ++i)
        service.enqueueReply("card/", FakeReply::dropped());
    QElapsedTimer clock;
    clock.start();
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_UserCard, 100}}));
    QVERIFY(clock.elapsed() < 4000);
    QVERIFY(clock.elapsed() >= 3 * kRetry * 9 / 10);
    QVERIFY(service.requestsFor("card/").size() >= 3);
}

void TestProcedureHandler::vitalProcedureGoesBackToTheEndOfTheQueue()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    for (int i = 0; i < 3; ++i)
        service.enqueueReply("salam/", FakeReply::result(200).delayed(3000));
    handler->start(PROC_Salam);
    handler->start(PROC_UserCard);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 3, 8000);
    QCOMPARE(results(result),
             (Results{{PROC_Salam, 100}, {PROC_UserCard, 200}, {PROC_Salam, 200}}));
    QStringList paths;
    for (const FakeRequest& request : service.requests())
        paths << request.path;
    QCOMPARE(paths, (QStringList{"salam/", "salam/", "salam/", "card/", "salam/"}));
}

void TestProcedureHandler::salamIsUnique()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_Salam);
    handler->start(PROC_Salam); // refused while current
    handler->start(PROC_UserCard);
    handler->start(PROC_UserCard); // other procedures may repeat
    QCOMPARE(handler->getQueueSize(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 3, 5000);
    QCOMPARE(results(result),
             (Results{{PROC_Salam, 200}, {PROC_UserCard, 200}, {PROC_UserCard, 200}}));

    result.clear();
    service.clearRequests();
    handler->start(PROC_UserCard);
    handler->start(PROC_Salam);
    handler->start(PROC_Salam); // refused while queued
    QCOMPARE(handler->getQueueSize(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 2, 5000);
    QTest::qWait(100);
    QCOMPARE(service.requestsFor("salam/").size(), 1);
}

void TestProcedureHandler::unbuildableRequestsDoNotBlockTheQueue()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_UserCard);
    handler->start(PROC_JoinChannel); // caller key "ChannelID" missing
    handler->start(PROC_BrowseCategory, {{"browseCategoryId", ""}}); // no sub-directory
    handler->start(PROC_ChannelNewMessages); // vital, but an unbuildable one is not re-queued
    handler->start(PROC_LastSeen);
    handler->start(PROC_Idle);              // nothing to send, nothing to report
    handler->start(PROC_RemoveAllSettings); // local only: no sub-directory
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 6, 5000);
    QTest::qWait(100);
    QCOMPARE(results(result), (Results{{PROC_UserCard, 200},
                                       {PROC_JoinChannel, 100},
                                       {PROC_BrowseCategory, 100},
                                       {PROC_ChannelNewMessages, 100},
                                       {PROC_LastSeen, 200},
                                       {PROC_RemoveAllSettings, 100}}));
    QCOMPARE(handler->getCurrentProcedure(), PROC_Idle);
    QCOMPARE(handler->getQueueSize(), 0);
}

void TestProcedureHandler::clientCountryIsFetched()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_ClientCountry);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_ClientCountry, 200}}));
    const FakeRequest request = service.requestsFor("client_country/").value(0);
    QCOMPARE(request.method, QByteArray("GET"));
    QVERIFY(request.body.isEmpty());
    QCOMPARE(storedSetting("CountryCode"), QString("DE"));
    QCOMPARE(storedSetting("CountryPrefix"), QString("49"));
}

void TestProcedureHandler::browseCategoryPathIsEncoded()
{
    auto handler = makeHandler();
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_BrowseCategory, {{"browseCategoryId", "news/local 1?x=#"}});
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_BrowseCategory, 200}}));
    QCOMPARE(service.requests().size(), 1);
    QCOMPARE(service.requests().first().path,
             QString("GAPI/channels/browse/news%2Flocal%201%3Fx%3D%23/"));
    QVERIFY(service.requests().first().query.isEmpty());
}

void TestProcedureHandler::untrustedServerGetsNoBody()
{
    FakeWebService stranger(TestCertificates::create("Stranger"));
    QVERIFY(stranger.start());
    FakeProcedures strangerProcedures;
    strangerProcedures.install(&stranger);
    auto handler = makeHandler();
    handler->getNetworkHandler()->setApiURL(stranger.baseUrl());
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_Register, {{"PhoneNo", "491701234567"}});
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_Register, 100}}));
    QVERIFY(stranger.failedHandshakes() >= 1);
    QCOMPARE(stranger.requests().size(), 0);
}

void TestProcedureHandler::deactivationSignsOut()
{
    auto handler = makeHandler();
    QVERIFY(handler->isUserLoggedIn());
    QSignalSpy result(handler.get(), &ProcedureHandler::result);
    handler->start(PROC_DeactivateUser);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_DeactivateUser, 200}}));
    QVERIFY(!handler->isUserLoggedIn());
    QCOMPARE(storedSetting("PhoneNo"), QString());
}

void TestProcedureHandler::logoutFolders_data()
{
    QTest::addColumn<QString>("appData");
    QTest::addColumn<QString>("downloads");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("normal") << "/home/u/.local/share/Quorvel/App"
                            << "/home/u/Downloads"
                            << QStringList{"/home/u/.local/share/Quorvel/App",
                                           "/home/u/Downloads/Quorvel Downloads"};
    QTest::newRow("no locations") << ""
                                  << "" << QStringList();
    QTest::newRow("relative") << "App"
                              << "Downloads" << QStringList();
    QTest::newRow("not the application's own folder")
        << "/home/u/.local/share"
        << "/home/u" << QStringList{"/home/u/Quorvel Downloads"};
    QTest::newRow("dot segments are resolved first") << "/home/u/.local/share/Quorvel/App/.."
                                                     << "/" << QStringList{"/Quorvel Downloads"};
}

void TestProcedureHandler::logoutFolders()
{
    QFETCH(QString, appData);
    QFETCH(QString, downloads);
    QFETCH(QStringList, folders);
    QCOMPARE(ProcedureHandler::logoutFolders(appData, downloads, "App"), folders);
}

void TestProcedureHandler::logoutRemovesOwnFoldersAndRestartsOnce_data()
{
    QTest::addColumn<bool>("starts");
    QTest::newRow("new process runs: this one quits") << true;
    // Quitting then would leave the user with no program at all.
    QTest::newRow("new process does not start: this one stays") << false;
}

void TestProcedureHandler::logoutRemovesOwnFoldersAndRestartsOnce()
{
    QFETCH(bool, starts);
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString downloadBase = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QVERIFY(appData.endsWith("/" + QCoreApplication::applicationName()));
    const QString downloads = downloadBase + "/Quorvel Downloads";
    const QString neighbour = downloadBase + "/Holiday Photos";
    for (const QString& dir : {appData + "/Downloads/Stickers", downloads + "/sub", neighbour})
        QVERIFY(QDir().mkpath(dir));
    QFile marker(neighbour + "/keep.jpg");
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();

    // A conversation store open under the data folder, as the managers hold them.
    DataBase store(QStringLiteral("logoutOpenStore"));
    QVERIFY(store.isOpen());
    QVERIFY(store.put(QStringLiteral("before"), QStringLiteral("kept until log-out")));
    QVERIFY(DataBase::pathForName(QStringLiteral("logoutOpenStore")).startsWith(appData));

    auto handler = makeHandler();
    auto* control = new RecordingControl;
    control->startResult = starts;
    handler->setApplicationControl(control);
    handler->removeAllSettings();

    // Closed before its folder went: nothing is written into a deleted store.
    QVERIFY(!store.isOpen());
    QVERIFY(!store.put(QStringLiteral("after"), QStringLiteral("lost")));
    QVERIFY(!handler->isUserLoggedIn());
    QVERIFY(!QFileInfo::exists(appData));
    QVERIFY(!QFileInfo::exists(downloads));
    QVERIFY(QFileInfo::exists(neighbour + "/keep.jpg"));
    QCOMPARE(control->started.size(), 1);
    const QStringList expected =
        QStringList{QCoreApplication::applicationFilePath()} + QCoreApplication::arguments().mid(1);
    QCOMPARE(control->started.first(), expected);
    QCOMPARE(control->quits, starts ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestProcedureHandler)
#include "tst_procedurehandler.moc"
