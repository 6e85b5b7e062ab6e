#include "foundation/filing.h"
#include "foundation/jsonvaluetostring.h"
#include "model/globalconstants.h"
#include "model/mainsettings.h"
#include "webapi/GeneralApi/clientinfoprovider.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <sys/stat.h>

// The test program doubles as a short-lived second process: with
// QUORVEL_SETTINGS_CHILD set it writes (or checks) settings and exits, so that
// surviving a restart of the process is tested for real.
namespace {
int childMain(const QString& mode)
{
    SettingStorage* storage = SettingStorage::getInstance();
    if (mode == QLatin1String("write")) {
        storage->addSetting("Username", "989121234567");
        storage->addSetting("Token", "secret-token");
        MainSettings settings;
        settings.setSendKey(MainSettings::ShiftEnter);
        settings.setInterfaceScaleFactor(125);
        if (!storage->setMainSettings(settings.toDBJson()))
            return 2;
        SettingStorage::deleteInstance(); // writes the settings object back
        return 0;
    }
    if (mode == QLatin1String("clear")) {
        const bool ok = storage->removeAllSettings();
        SettingStorage::deleteInstance();
        return ok ? 0 : 2;
    }
    QString value;
    QJsonObject stored;
    const bool hasUser = storage->getSetting("Username", &value) && value == "989121234567";
    const bool hasMain = storage->getMainSettings(&stored);
    MainSettings settings;
    settings.fromDBJson(stored);
    const bool mainOk = hasMain && settings.getSendKey() == MainSettings::ShiftEnter &&
                        settings.getInterfaceScaleFactor() == 125;
    SettingStorage::deleteInstance();
    if (mode == QLatin1String("expect-all"))
        return hasUser && mainOk ? 0 : 3;
    if (mode == QLatin1String("expect-main-only"))
        return !hasUser && mainOk ? 0 : 4;
    return 5;
}

int runChild(const QString& mode)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUORVEL_SETTINGS_CHILD", mode);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForFinished(30000))
        return -1;
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -2;
}
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void mainSettingsDefaults();
    void mainSettingsRoundTrip();
    void sendKeyTexts_data();
    void sendKeyTexts();
    void versionParts_data();
    void versionParts();
    void sharedSettingsObject();
    void nonces();
    void timeStamp();
    void settingsSurviveRestart();
    void settingValues();
    void failedWriteIsReported();
    void jsonTextAndFiles();
};

void TestSettings::mainSettingsDefaults()
{
    MainSettings fromEmpty;
    fromEmpty.setSendKey(MainSettings::ShiftEnter);
    fromEmpty.setAutoDownloadImages(false);
    QVERIFY(fromEmpty.fromJson(QJsonObject()));
    QCOMPARE(fromEmpty, MainSettings());
    QVERIFY(fromEmpty.getAutoDownloadImages());
    QVERIFY(!fromEmpty.getAutoDownloadVideos());
    QVERIFY(!fromEmpty.getAutoDownloadFiles());
    QVERIFY(fromEmpty.getNotificationsEnabled());
    QCOMPARE(fromEmpty.getChatBackgroundPath(), QStringLiteral(":/Images/img_default_chat_bg.png"));
    QCOMPARE(fromEmpty.getInterfaceScaleFactor(), 0);
    QVERIFY(!fromEmpty.isEmpty());
}

void TestSettings::mainSettingsRoundTrip()
{
    MainSettings s;
    s.setAutoDownloadImages(false);
    s.setAutoDownloadVideos(true);
    s.setAutoDownloadFiles(true);
    s.setNotificationsEnabled(false);
    s.setNotificationSoundEnabled(false);
    s.setNotificationPreviewEnabled(false);
    s.setChatBackgroundPath("https://example.invalid/bg.png");
    s.setSendKey(MainSettings::ShiftEnter);
    s.setInterfaceScaleFactor(150);
    const QJsonObject json = s.toDBJson();
    QCOMPARE(json.size(), 9);
    QCOMPARE(json.value("_sendKey").toString(), QStringLiteral("shiftEnter"));
    QCOMPARE(json.value("_scaleFactor").toInt(), 150);
    for (const QString& key : json.keys())
        QVERIFY(key.startsWith('_'));
    MainSettings back;
    QVERIFY(back.fromDBJson(json));
    QCOMPARE(back, s);
    QCOMPARE(s.toJson(), s.toDBJson());

    QJsonObject withoutScale = json;
    withoutScale.remove("_scaleFactor");
    QVERIFY(back.fromDBJson(withoutScale));
    QCOMPARE(back.getInterfaceScaleFactor(), 0);
}

void TestSettings::sendKeyTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::newRow("shiftEnter") << "shiftEnter" << 1;
    QTest::newRow("enter") << "enter" << 0;
    QTest::newRow("Enter") << "Enter" << 0;
    QTest::newRow("shift") << "shift" << 0;
    QTest::newRow("ShiftEnter") << "ShiftEnter" << 0;
}

void TestSettings::sendKeyTexts()
{
    QFETCH(QString, text);
    QFETCH(int, key);
    QCOMPARE(int(MainSettings::toSendKey(text)), key);
    MainSettings s;
    s.fromJson(QJsonObject{{"_sendKey", text}});
    QCOMPARE(int(s.getSendKey()), key);
}

void TestSettings::versionParts_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::newRow("release") << "0.4.2" << 0 << 4 << 2;
    QTest::newRow("two parts") << "1.2" << 1 << 2 << -1;
    QTest::newRow("empty part") << "3..7" << 3 << -1 << 7;
}

void TestSettings::versionParts()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    GlobalConstants::setAppVersion(version);
    QCOMPARE(GlobalConstants::getVersionString(), version);
    QCOMPARE(GlobalConstants::getMajorVersion(), major);
    QCOMPARE(GlobalConstants::getMinorVersion(), minor);
    QCOMPARE(GlobalConstants::getPatchVersion(), patch);
}

void TestSettings::sharedSettingsObject()
{
    MainSettings off = GlobalConstants::getMainSettings();
    off.setNotificationsEnabled(false);
    GlobalConstants::setMainSettings(off);
    QVERIFY(!GlobalConstants::getMainSettings().getNotificationsEnabled());
    // A copy changes nothing until it is written back.
    MainSettings copy = GlobalConstants::getMainSettings();
    copy.setNotificationsEnabled(true);
    QVERIFY(!GlobalConstants::getMainSettings().getNotificationsEnabled());
    GlobalConstants::setMainSettings(copy);
    QVERIFY(GlobalConstants::getMainSettings().getNotificationsEnabled());
}

void TestSettings::nonces()
{
    QCOMPARE(ClientInfoProvider::generateNonce(0), QString());
    QCOMPARE(ClientInfoProvider::generateNonce(-3), QString());
    const QRegularExpression alphabet("^[A-Za-z0-9]{20}$");
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i) {
        const QString nonce = ClientInfoProvider::generateNonce(20);
        QVERIFY(alphabet.match(nonce).hasMatch());
        seen.insert(nonce);
    }
    QCOMPARE(seen.size(), 200);

    ClientInfoProvider info;
    QCOMPARE(info.getHashMethod(), QStringLiteral("SHA1"));
    QCOMPARE(info.getEncryptionMethod(), QStringLiteral("AES128CBC"));
    QVERIFY(QRegularExpression("^[0-9]{12}$").match(info.getPhoneNo()).hasMatch());
    const QString first = info.getClientNonce();
    QCOMPARE(first.size(), 20);
    QCOMPARE(info.getClientNonce(), first);
    info.setClientNonce(QString());
    QVERIFY(info.getClientNonce() != first);
    QCOMPARE(info.genNonceAndSetIt(8).size(), 8);
    QCOMPARE(info.getClientNonce().size(), 8);
}

void TestSettings::timeStamp()
{
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    const QString stamp = ClientInfoProvider::generateTimeStamp();
    QVERIFY(QRegularExpression("^[0-9]+$").match(stamp).hasMatch());
    QVERIFY(stamp.toLongLong() >= before);
    ClientInfoProvider info;
    const QString kept = info.getTimeStamp();
    QCOMPARE(info.getTimeStamp(), kept);
}

void TestSettings::settingsSurviveRestart()
{
    QCOMPARE(runChild("write"), 0);
    QCOMPARE(runChild("expect-all"), 0);
    QCOMPARE(runChild("clear"), 0);
    QCOMPARE(runChild("expect-main-only"), 0);
}

void TestSettings::settingValues()
{
    SettingStorage* storage = SettingStorage::getInstance();
    QString value = QStringLiteral("unchanged");
    QVERIFY(!storage->getSetting("never added", &value));
    QCOMPARE(value, QStringLiteral("unchanged"));
    QVERIFY(storage->addSetting("emptyValue", QString()));
    QVERIFY(storage->getSetting("emptyValue", &value));
    QVERIFY(value.isEmpty());
    QVERIFY(storage->removeSetting("emptyValue"));
    QVERIFY(!storage->getSetting("emptyValue", &value));
    SettingStorage::deleteInstance();
}

void TestSettings::failedWriteIsReported()
{
    SettingStorage* storage = SettingStorage::getInstance();
    storage->closeDb();
    QVERIFY(storage->addSetting("k", "v"));
    QVERIFY(!storage->writeSettings());
    QVERIFY(!storage->removeAllSettings());
    QVERIFY(!storage->setMainSettings(MainSettings().toDBJson()));
    storage->openDb();
    QVERIFY(storage->writeSettings());
    SettingStorage::deleteInstance();
}

void TestSettings::jsonTextAndFiles()
{
    QCOMPARE(jsonValueToString(QJsonArray{1, "a"}), QStringLiteral("[1,\"a\"]"));
    QCOMPARE(jsonValueToString(QJsonObject{{"k", "ü"}}), QStringLiteral("{\"k\":\"ü\"}"));
    QCOMPARE(jsonValueToString(QJsonValue("text")), QString());
    QCOMPARE(jsonValueToString(QJsonValue(5)), QString());

    QTemporaryDir dir;
    const QString path = dir.filePath("doc.json");
    QVERIFY(Filing::writeJsonValue(path, QJsonObject{{"name", "سلام"}}));
    QJsonObject object;
    QVERIFY(Filing::readJsonObject(path, &object));
    QCOMPARE(object.value("name").toString(), QStringLiteral("سلام"));
    QJsonArray array;
    QVERIFY(!Filing::readJsonArray(path, &array));
    QVERIFY(Filing::write2File(path, "not json", QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(!Filing::readJsonObject(path, &object));
    QByteArray data = "old";
    QVERIFY(Filing::readFromFile(path, &data));
    QCOMPARE(data, QByteArray("not json"));
    QVERIFY(!Filing::readFromFile(dir.filePath("missing"), &data));
    QVERIFY(!Filing::write2File(dir.filePath("no/such/folder/f"), "x", QIODevice::WriteOnly));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("Quorvel");
    QCoreApplication::setApplicationName("Quorvel Desktop");
    const QString mode = qEnvironmentVariable("QUORVEL_SETTINGS_CHILD");
    if (!mode.isEmpty())
        return childMain(mode);
    TestSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
