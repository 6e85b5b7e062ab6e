// Sign-up through the web API facade against the fake web service over real
// HTTPS: Register, Activation, the token derived as the service encrypted it
// (checked again here with OpenSSL), signed requests afterwards, no secrets in
// the logs; device-id repair and its reply; log-out through the facade.

#include "capturedlog.h"
#include "testcrypto.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/procedurehandler.h"
#include "webapi/GeneralApi/settingstorage.h"
#include "webapi/quorvelwebapi.h"
#include "webapitestsupport.h"

#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace webapitest;

namespace {
const QString kPhone = QStringLiteral("491701234567");
} // namespace

class TestQuorvelWebApi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void signUpStoresSettingsAndDerivesTheToken_data();
    void signUpStoresSettingsAndDerivesTheToken();
    void wrongPinIsTheServersCode();
    void activationWhoseTokenIsNotStoredFails();
    void settingReaders();
    void repairWithoutRequest_data();
    void repairWithoutRequest();
    void repairAsksTheServiceForANewDeviceId();
    void acceptedDeviceIdIsStored();
    void deviceIdReplyWithoutRequestKeepsTheId();
    void refusedDeviceIdKeepsTheOldOne();
    void logoutGoesThroughTheQueue();

private:
    std::unique_ptr<QuorvelWebApi> makeApi();
    FakeWebService service;
    FakeProcedures procedures;
};

void TestQuorvelWebApi::initTestCase()
{
    QVERIFY(startFakeService(&service, &procedures));
}

void TestQuorvelWebApi::init()
{
    SettingStorage::getInstance()->removeAllSettings();
    QSettings("Quorvel", "Quorvel Desktop").clear();
    service.clearRequests();
    service.clearScriptedReplies();
    procedures.tokenIssued = false;
}

std::unique_ptr<QuorvelWebApi> TestQuorvelWebApi::makeApi()
{
    auto api = std::make_unique<QuorvelWebApi>();
    api->getProcedureHandler()->setTimeoutInterval(1000);
    api->getProcedureHandler()->setRetryInterval(100);
    api->getProcedureHandler()->setApplicationControl(new RecordingControl);
    return api;
}

void TestQuorvelWebApi::signUpStoresSettingsAndDerivesTheToken_data()
{
    QTest::addColumn<QString>("hashMethod");
    QTest::addColumn<QString>("encryptionMethod");
    QTest::addColumn<QString>("token");
    QTest::newRow("SHA256, AES-256") << "SHA256"
                                     << "AES256CBC"
                                     << "tok-\u00e4-256";
    QTest::newRow("SHA1, AES-128") << "SHA1"
                                   << "AES128CBC"
                                   << "0123456789abcdef";
    QTest::newRow("SHA512, AES-192") << "SHA512"
                                     << "AES192CBC"
                                     << "tok-192 \"quoted\"";
}

void TestQuorvelWebApi::signUpStoresSettingsAndDerivesTheToken()
{
    QFETCH(QString, hashMethod);
    QFETCH(QString, encryptionMethod);
    QFETCH(QString, token);
    procedures.hashMethod = hashMethod;
    procedures.encryptionMethod = encryptionMethod;
    procedures.token = token;
    DeviceInfoProvider().writeDeviceId("device-0001");

    CapturedLog log;
    auto api = makeApi();
    ProcedureHandler* queue = api->getProcedureHandler();
    QSignalSpy result(queue, &ProcedureHandler::result);
    QVERIFY(!queue->isUserLoggedIn());

    api->startRegisteration(kPhone);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_Register, 200}}));
    QCOMPARE(api->getSetting("PhoneNo"), kPhone);
    QCOMPARE(api->getSetting("DeviceId"), QString("device-0001"));
    QCOMPARE(api->getSetting("ServerNonce"), procedures.serverNonce);
    QCOMPARE(api->getSetting("ServerTimestamp"), procedures.serverTimestamp);
    QCOMPARE(api->getHashMethod(), hashMethod);
    QCOMPARE(api->getEncryptioMethod(), encryptionMethod);
    QCOMPARE(api->getSetting("ClientNonce"), procedures.registeredClientNonce);
    QCOMPARE(api->getSetting("ClientTimestamp"), procedures.registeredClientTimestamp);
    QVERIFY(!queue->isUserLoggedIn());

    api->startIVRRequest();
    api->startActivation(procedures.pinCode);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 3, 5000);
    QCOMPARE(results(result).mid(1), (Results{{PROC_IVRRequest, 200}, {PROC_Activation, 200}}));
    QCOMPARE(service.requestsFor("ivrRequest/").first().json().value("PhoneNo").toString(), kPhone);

    // The token, derived here independently of the program's own crypto code.
    const QString eToken = api->getSetting("EToken");
    const QString iv = api->getSetting("Iv");
    QCOMPARE(api->getSetting("Username"), procedures.username);
    const QByteArray key =
        TestCrypto::digest(hashMethod, (procedures.username + api->getSetting("ClientTimestamp") +
                                        api->getSetting("ClientNonce"))
                                           .toUtf8())
            .toHex()
            .left(TestCrypto::keySize(encryptionMethod));
    const QByteArray plain =
        TestCrypto::aesCbcDecrypt(encryptionMethod, key, QByteArray::fromBase64(iv.toLatin1()),
                                  QByteArray::fromBase64(eToken.toLatin1()));
    QCOMPARE(QString::fromUtf8(plain), token);
    QCOMPARE(api->getSetting("Token"), token);
    QVERIFY(queue->isUserLoggedIn());

    // Signed from now on: the fake rejects a wrong AuthValue with 401.
    api->startUserCard();
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 4, 5000);
    QCOMPARE(results(result).last(), qMakePair(int(PROC_UserCard), 200));
    const FakeRequest card = service.requestsFor("card/").last();
    const QString authValue = card.json().value("AuthValue").toString();
    QCOMPARE(authValue,
             TestCrypto::digestHex(hashMethod,
                                   FakeProcedures::withEmptyAuthValue(card.body) + token.toUtf8()));
    QCOMPARE(card.json().value("Username").toString(), procedures.username);

    // What the logs must never show in clear.
    const QStringList secrets{
        token,
        eToken,
        iv,
        authValue,
        kPhone,
        procedures.pinCode,
        api->getSetting("ClientNonce"),
        service.requestsFor("activation/").first().json().value("VerificationToken").toString()};
    QVERIFY(CapturedLog::lines().size() > 10);
    for (const QString& secret : secrets) {
        QVERIFY(!secret.isEmpty());
        QVERIFY2(!log.contains(secret), qPrintable(log.find(secret)));
    }

    // Everything survives a restart of the store.
    SettingStorage::deleteInstance();
    QVERIFY(api->getProcedureHandler()->isUserLoggedIn());
}

void TestQuorvelWebApi::wrongPinIsTheServersCode()
{
    auto api = makeApi();
    QSignalSpy result(api->getProcedureHandler(), &ProcedureHandler::result);
    api->startRegisteration(kPhone);
    api->startActivation("00000");
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 2, 5000);
    // The service refuses the code with 311, which the sign-up page shows as such.
    QCOMPARE(results(result), (Results{{PROC_Register, 200}, {PROC_Activation, 311}}));
    QVERIFY(!api->getProcedureHandler()->isUserLoggedIn());
    QCOMPARE(api->getSetting("Token"), QString());
}

void TestQuorvelWebApi::activationWhoseTokenIsNotStoredFails()
{
    auto api = makeApi();
    QSignalSpy result(api->getProcedureHandler(), &ProcedureHandler::result);
    QSignalSpy replies(api->getProcedureHandler(), &ProcedureHandler::replyReport);
    api->startRegisteration(kPhone);
    api->startIVRRequest();
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 2, 5000);
    // From here on the settings store refuses every write, as a full disk would.
    SettingStorage::getInstance()->closeDb();
    api->startActivation(procedures.pinCode);
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 3, 5000);
    QCOMPARE(results(result),
             (Results{{PROC_Register, 200}, {PROC_IVRRequest, 200}, {PROC_Activation, 100}}));
    for (const QList<QVariant>& call : replies)
        QVERIFY(call.at(0).value<Procedure>() != PROC_Activation);
    api.reset();
    SettingStorage::getInstance()->openDb();
}

void TestQuorvelWebApi::settingReaders()
{
    auto api = makeApi();
    QCOMPARE(api->getEncryptioMethod(), QString());
    QCOMPARE(api->getHashMethod(), QString());
    QString value = "untouched";
    QVERIFY(!api->getResultValue("Nothing", &value));
    QCOMPARE(value, QString("untouched"));
    SettingStorage::getInstance()->addSetting("Empty", "");
    QVERIFY(api->getResultValue("Empty", &value));
    QCOMPARE(value, QString());
}

void TestQuorvelWebApi::repairWithoutRequest_data()
{
    QTest::addColumn<QString>("storedId");
    QTest::addColumn<QString>("storedMac");
    QTest::addColumn<QString>("idAfter");
    QTest::newRow("stored id is kept") << "device-0001"
                                       << "12:34:56:78:9A:BC"
                                       << "device-0001";
    QTest::newRow("stored MAC restores the id")
        << ""
        << "12:34:56:78:9A:BC" << TestCrypto::digestHex("SHA1", "12:34:56:78:9A:BC");
}

void TestQuorvelWebApi::repairWithoutRequest()
{
    QFETCH(QString, storedId);
    QFETCH(QString, storedMac);
    QFETCH(QString, idAfter);
    DeviceInfoProvider().writeDeviceId(storedId);
    DeviceInfoProvider().writeLastSentMAC(storedMac);
    auto api = makeApi();
    QSignalSpy newId(api.get(), &QuorvelWebApi::newDeviceIdSet);
    api->checkForDeviceIdCorrection();
    QTest::qWait(200);
    QCOMPARE(service.requests().size(), 0);
    QCOMPARE(newId.size(), 0);
    QCOMPARE(DeviceInfoProvider().readDeviceID(), idAfter);
    QCOMPARE(DeviceInfoProvider().readLastSentMAC(), storedMac);
}

void TestQuorvelWebApi::repairAsksTheServiceForANewDeviceId()
{
    const QString mac = DeviceInfoProvider().findMAC();
    if (mac.isEmpty())
        QSKIP("this machine has no network interface with a usable hardware address");
    storeSignedInSettings();
    auto api = makeApi();
    QSignalSpy newId(api.get(), &QuorvelWebApi::newDeviceIdSet);
    api->checkForDeviceIdCorrection();
    QTRY_COMPARE_WITH_TIMEOUT(newId.size(), 1, 5000);
    const QString expected = TestCrypto::digestHex("SHA1", mac.toUtf8());
    QCOMPARE(
        service.requestsFor("register/setDeviceId/").first().json().value("NewDeviceId").toString(),
        expected);
    DeviceInfoProvider device;
    QCOMPARE(device.readDeviceID(), expected);
    QCOMPARE(device.readLastSentMAC(), mac);
}

void TestQuorvelWebApi::acceptedDeviceIdIsStored()
{
    storeSignedInSettings();
    DeviceInfoProvider().writeDeviceId("old-id");
    auto api = makeApi();
    QSignalSpy newId(api.get(), &QuorvelWebApi::newDeviceIdSet);
    api->startSetDeviceId("new-id");
    QTRY_COMPARE_WITH_TIMEOUT(newId.size(), 1, 5000);
    QCOMPARE(DeviceInfoProvider().readDeviceID(), QString("new-id"));
    // Only the request started here counts: a second reply changes nothing.
    api->result(PROC_SetDeviceId, 200);
    QCOMPARE(newId.size(), 1);
    QCOMPARE(DeviceInfoProvider().readDeviceID(), QString("new-id"));
}

void TestQuorvelWebApi::deviceIdReplyWithoutRequestKeepsTheId()
{
    DeviceInfoProvider().writeDeviceId("device-0001");
    DeviceInfoProvider().writeLastSentMAC("12:34:56:78:9A:BC");
    auto api = makeApi();
    QSignalSpy newId(api.get(), &QuorvelWebApi::newDeviceIdSet);
    api->result(PROC_SetDeviceId, 200);
    QCOMPARE(DeviceInfoProvider().readDeviceID(), QString("device-0001"));
    QCOMPARE(DeviceInfoProvider().readLastSentMAC(), QString("12:34:56:78:9A:BC"));
    QCOMPARE(newId.size(), 0);
}

void TestQuorvelWebApi::refusedDeviceIdKeepsTheOldOne()
{
    storeSignedInSettings();
    DeviceInfoProvider().writeDeviceId("old-id");
    auto api = makeApi();
    QSignalSpy result(api->getProcedureHandler(), &ProcedureHandler::result);
    QSignalSpy newId(api.get(), &QuorvelWebApi::newDeviceIdSet);
    service.enqueueReply("register/setDeviceId/", FakeReply::result(409));
    api->startSetDeviceId("new-id");
    QTRY_COMPARE_WITH_TIMEOUT(result.size(), 1, 5000);
    QCOMPARE(results(result), (Results{{PROC_SetDeviceId, 409}}));
    QCOMPARE(newId.size(), 0);
    QCOMPARE(DeviceInfoProvider().readDeviceID(), QString("old-id"));
}

void TestQuorvelWebApi::logoutGoesThroughTheQueue()
{
    SettingStorage::getInstance()->addSetting("Username", "u1000");
    SettingStorage::getInstance()->addSetting("Token", "tok");
    auto api = makeApi();
    auto* control = new RecordingControl;
    api->getProcedureHandler()->setApplicationControl(control);
    QVERIFY(api->getProcedureHandler()->isUserLoggedIn());
    api->removeAllSettings();
    QVERIFY(!api->getProcedureHandler()->isUserLoggedIn());
    QCOMPARE(control->started.size(), 1);
    QCOMPARE(control->quits, 1);
}

QTEST_GUILESS_MAIN(TestQuorvelWebApi)
#include "tst_quorvelwebapi.moc"
