// Request building: the packet's generated, setting and caller keys, its
// request id and authentication value (recomputed with OpenSSL), the device
// identity it carries, the setting text of reply values and log masking.

#include "model/globalconstants.h"
#include "testcrypto.h"
#include "webapi/GeneralApi/deviceinfoprovider.h"
#include "webapi/GeneralApi/logredactor.h"
#include "webapi/GeneralApi/packetgenerator.h"
#include "webapi/GeneralApi/settingstorage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

using Fields = PacketGenerator::Fields;
Q_DECLARE_METATYPE(DeviceInfoProvider::InterfaceInfo)

namespace {

QString setting(const QString& key)
{
    QString value;
    SettingStorage::getInstance()->getSetting(key, &value);
    return value;
}

void setSettings(const QHash<QString, QString>& values)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        SettingStorage::getInstance()->addSetting(it.key(), it.value());
}

QJsonObject sentObject(const Fields& output)
{
    return QJsonDocument::fromJson(output.value("OutputToSend").toString().toUtf8()).object();
}

const QHash<QString, QString> kSignedIn{{"PhoneNo", "491701234567"},
                                        {"Username", "u1000"},
                                        {"HashMethod", "SHA256"},
                                        {"Token", "tok-123"}};

} // namespace

class TestPacketGenerator : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void registerPacket();
    void packetsDrawFreshNonces();
    void authValueSignsTheSentText_data();
    void authValueSignsTheSentText();
    void activationVerificationToken();
    void keyPrecedence();
    void generatedValuesOfOtherProcedures();
    void failures_data();
    void failures();
    void languageDefault();
    void settingText_data();
    void settingText();

    void macChoice_data();
    void macChoice();
    void interfaceExclusions_data();
    void interfaceExclusions();
    void deviceIdAndUserAgent();

    void redaction();
};

void TestPacketGenerator::init()
{
    SettingStorage::getInstance()->removeAllSettings();
    QSettings("Quorvel", "Quorvel Desktop").clear();
    DeviceInfoProvider().writeDeviceId("device-0001");
}

void TestPacketGenerator::registerPacket()
{
    PacketGenerator generator;
    setSettings({{"PhoneNo", "490000000000"}}); // an older number: Register ignores it
    Fields output;
    QVERIFY(generator.generatePacket(PROC_Register, {{"PhoneNo", "491701234567"}}, &output));
    const QJsonObject sent = sentObject(output);
    QCOMPARE(sent.keys(), (QStringList{"ClientNonce", "ClientTimestamp", "DeviceId", "Language",
                                       "PhoneNo", "RequestId"}));
    const QString nonce = sent.value("ClientNonce").toString();
    const QString timeStamp = sent.value("ClientTimestamp").toString();
    QCOMPARE(nonce.size(), 20);
    QVERIFY(QRegularExpression("^[A-Za-z0-9]{20}$").match(nonce).hasMatch());
    QVERIFY(qAbs(timeStamp.toLongLong() - QDateTime::currentMSecsSinceEpoch()) < 60000);
    QCOMPARE(sent.value("RequestId").toString(),
             TestCrypto::digestHex("SHA256", (timeStamp + nonce + "491701234567").toUtf8()));
    QCOMPARE(sent.value("DeviceId").toString(), QString("device-0001"));
    QCOMPARE(sent.value("Language").toString(), QString("FA"));
    // Generated keys also go to the output table.
    QCOMPARE(output.value("ClientNonce").toString(), nonce);
    QCOMPARE(output.value("RequestId").toString(), sent.value("RequestId").toString());
    // The values the token derivation needs later are kept, and stored.
    QCOMPARE(setting("ClientNonce"), nonce);
    QCOMPARE(setting("ClientTimestamp"), timeStamp);
    QCOMPARE(setting("PhoneNo"), QString("491701234567"));
    SettingStorage::deleteInstance();
    QCOMPARE(setting("ClientNonce"), nonce);
}

void TestPacketGenerator::packetsDrawFreshNonces()
{
    PacketGenerator generator;
    setSettings(kSignedIn);
    Fields first;
    Fields second;
    QVERIFY(generator.generatePacket(PROC_UserCard, {}, &first));
    QVERIFY(generator.generatePacket(PROC_UserCard, {}, &second));
    QVERIFY(sentObject(first).value("RequestId") != sentObject(second).value("RequestId"));
    QVERIFY(sentObject(first).value("AuthValue") != sentObject(second).value("AuthValue"));
}

void TestPacketGenerator::authValueSignsTheSentText_data()
{
    QTest::addColumn<Procedure>("procedure");
    QTest::addColumn<Fields>("inputs");
    QTest::addColumn<QString>("hashMethod");
    QTest::newRow("join channel, SHA256")
        << PROC_JoinChannel << Fields{{"ChannelID", "news"}} << "SHA256";
    QTest::newRow("create channel with arrays, SHA1")
        << PROC_CreateChannel
        << Fields{{"CategoryID", "3"},        {"Name", "N\u00e4me \"q\""},
                  {"ChannelID", "c1"},        {"AvatarURL", "https://x/a.png"},
                  {"AvatarThumbnailURL", ""}, {"Members", QJsonArray{"u1", "u2"}},
                  {"ReplyAllowed", true},     {"Description", "multi\nline"}}
        << "SHA1";
    QTest::newRow("report, SHA512")
        << PROC_Report
        << Fields{{"ReportTitle", "t"}, {"ReportType", "error"}, {"ReportDescription", "d"}}
        << "SHA512";
}

void TestPacketGenerator::authValueSignsTheSentText()
{
    QFETCH(Procedure, procedure);
    QFETCH(Fields, inputs);
    QFETCH(QString, hashMethod);
    PacketGenerator generator;
    QHash<QString, QString> settings = kSignedIn;
    settings.insert("HashMethod", hashMethod);
    setSettings(settings);
    Fields output;
    QVERIFY(generator.generatePacket(procedure, inputs, &output));
    const QByteArray text = output.value("OutputToSend").toString().toUtf8();
    QVERIFY(!text.contains(' ') || procedure == PROC_CreateChannel);
    QVERIFY(!text.contains('\n'));
    const QString authValue = sentObject(output).value("AuthValue").toString();
    QVERIFY(!authValue.isEmpty());
    QByteArray emptied = text;
    emptied.replace("\"AuthValue\":\"" + authValue.toLatin1() + "\"", "\"AuthValue\":\"\"");
    QVERIFY(emptied != text);
    QCOMPARE(authValue, TestCrypto::digestHex(hashMethod, emptied + "tok-123"));
    // Members appear in ascending key order.
    const QJsonObject sent = sentObject(output);
    QByteArray previous;
    for (const QString& key : sent.keys()) {
        const int at = text.indexOf("\"" + key.toUtf8() + "\":");
        QVERIFY(at >= 0);
        QVERIFY(previous.isEmpty() || text.indexOf("\"" + previous + "\":") < at);
        previous = key.toUtf8();
    }
    QCOMPARE(sent.value("Username").toString(), QString("u1000"));
}

void TestPacketGenerator::activationVerificationToken()
{
    PacketGenerator generator;
    setSettings({{"PhoneNo", "491701234567"},
                 {"HashMethod", "SHA512"},
                 {"EncryptionMethod", "AES128CBC"},
                 {"ServerTimestamp", "1700000000000"},
                 {"ServerNonce", "srvNonce"}});
    Fields output;
    QVERIFY(generator.generatePacket(PROC_Activation, {{"PinCode", "4711"}}, &output));
    const QJsonObject sent = sentObject(output);
    QCOMPARE(sent.keys(), (QStringList{"EncryptionMethod", "HashMethod", "PhoneNo", "RequestId",
                                       "VerificationToken"}));
    QCOMPARE(sent.value("VerificationToken").toString(),
             TestCrypto::digestHex("SHA512", "4917012345674711"
                                             "1700000000000"
                                             "srvNonce"));
    QVERIFY(!sent.contains("PinCode"));
}

void TestPacketGenerator::keyPrecedence()
{
    PacketGenerator generator;
    setSettings(kSignedIn);
    Fields output;
    // A caller's "Username" loses to the setting, its "RequestId" to the
    // generated value, and a key outside the request's list is not sent.
    QVERIFY(generator.generatePacket(
        PROC_JoinChannel,
        {{"ChannelID", "c"}, {"Username", "intruder"}, {"RequestId", "mine"}, {"Extra", "x"}},
        &output));
    const QJsonObject sent = sentObject(output);
    QCOMPARE(sent.value("Username").toString(), QString("u1000"));
    QVERIFY(sent.value("RequestId").toString() != QLatin1String("mine"));
    QVERIFY(!sent.contains("Extra"));
}

void TestPacketGenerator::generatedValuesOfOtherProcedures()
{
    PacketGenerator generator;
    setSettings(kSignedIn);
    setSettings({{"EncryptionMethod", "AES256CBC"}});
    Fields output;
    QVERIFY(generator.generatePacket(PROC_UserProfile, {}, &output));
    QCOMPARE(sentObject(output).value("ContactList").toArray(), QJsonArray{"491701234567"});

    QVERIFY(generator.generatePacket(PROC_Algorithm, {}, &output));
    QJsonObject sent = sentObject(output);
    QCOMPARE(sent.keys(), (QStringList{"EncryptionMethods", "HashMethods"}));
    QCOMPARE(sent.value("HashMethods").toArray(), (QJsonArray{"SHA1", "SHA256", "SHA512"}));
    QCOMPARE(sent.value("EncryptionMethods").toArray(),
             (QJsonArray{"AES128CBC", "AES192CBC", "AES256CBC"}));

    QVERIFY(generator.generatePacket(
        PROC_Report, {{"ReportTitle", "t"}, {"ReportType", "info"}, {"ReportDescription", "d"}},
        &output));
    sent = sentObject(output);
    QCOMPARE(sent.value("OSVersion").toString(), QString("1"));
    QCOMPARE(sent.value("NetType").toString(), QString("wifi"));
    QCOMPARE(sent.value("ReportData").toObject(), QJsonObject());

    QVERIFY(generator.generatePacket(PROC_LastSeen, {}, &output));
    QCOMPARE(sentObject(output).value("Format").toString(), QString("UnixTimestamp"));
    QVERIFY(generator.generatePacket(PROC_Salam, {}, &output));
    QCOMPARE(sentObject(output).value("NetType").toString(), QString("wifi"));
    QCOMPARE(sentObject(output).value("EncryptionMethod").toString(), QString("AES256CBC"));
}

void TestPacketGenerator::failures_data()
{
    QTest::addColumn<Procedure>("procedure");
    QTest::addColumn<Fields>("inputs");
    QTest::addColumn<QStringList>("missingSettings");
    QTest::newRow("caller key missing") << PROC_JoinChannel << Fields() << QStringList();
    QTest::newRow("setting missing")
        << PROC_JoinChannel << Fields{{"ChannelID", "c"}} << QStringList{"Username"};
    QTest::newRow("no phone for the request id")
        << PROC_GroupLeave << Fields{{"GroupJID", "g"}} << QStringList{"PhoneNo"};
    QTest::newRow("no token to sign with")
        << PROC_JoinChannel << Fields{{"ChannelID", "c"}} << QStringList{"Token"};
    QTest::newRow("activation before registration")
        << PROC_Activation << Fields{{"PinCode", "1"}} << QStringList{"ServerNonce"};
    QTest::newRow("optional request key not given")
        << PROC_SetProfile << Fields{{"AvatarURL", "a"}} << QStringList();
}

void TestPacketGenerator::failures()
{
    QFETCH(Procedure, procedure);
    QFETCH(Fields, inputs);
    QFETCH(QStringList, missingSettings);
    PacketGenerator generator;
    setSettings(kSignedIn);
    setSettings(
        {{"EncryptionMethod", "AES128CBC"}, {"ServerTimestamp", "1"}, {"ServerNonce", "n"}});
    for (const QString& key : missingSettings)
        SettingStorage::getInstance()->removeSetting(key);
    Fields output;
    QVERIFY(!generator.generatePacket(procedure, inputs, &output));
    QVERIFY(!output.contains("OutputToSend"));
}

void TestPacketGenerator::languageDefault()
{
    QVERIFY(setting("Language").isEmpty());
    {
        PacketGenerator generator;
    }
    QCOMPARE(setting("Language"), QString("FA"));
    SettingStorage::getInstance()->addSetting("Language", "EN");
    {
        PacketGenerator generator;
    }
    QCOMPARE(setting("Language"), QString("EN"));
}

void TestPacketGenerator::settingText_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("string") << QJsonValue("abc") << "abc";
    QTest::newRow("integer") << QJsonValue(1250) << "1250";
    QTest::newRow("negative") << QJsonValue(-3) << "-3";
    QTest::newRow("milliseconds") << QJsonValue(1700000000123.0) << "1700000000123";
    QTest::newRow("fraction") << QJsonValue(2.5) << "2.5";
    QTest::newRow("true") << QJsonValue(true) << "true";
    QTest::newRow("false") << QJsonValue(false) << "false";
    QTest::newRow("null") << QJsonValue() << "";
    QTest::newRow("array") << QJsonValue(QJsonArray{1, "a"}) << "[1,\"a\"]";
    QTest::newRow("object") << QJsonValue(QJsonObject{{"b", 1}, {"a", 2}}) << "{\"a\":2,\"b\":1}";
}

void TestPacketGenerator::settingText()
{
    QFETCH(QJsonValue, value);
    QFETCH(QString, text);
    QCOMPARE(PacketGenerator::toSettingText(value), text);
}

void TestPacketGenerator::macChoice_data()
{
    using Info = DeviceInfoProvider::InterfaceInfo;
    auto up = [](const QString& mac, const QString& name, int index) {
        Info info;
        info.hardwareAddress = mac;
        info.name = name;
        info.humanReadableName = name;
        info.index = index;
        info.running = true;
        info.up = true;
        return info;
    };
    QTest::addColumn<QList<Info>>("interfaces");
    QTest::addColumn<QString>("mac");
    const Info a = up("AA:00:00:00:00:07", "eth7", 7);
    const Info b = up("BB:00:00:00:00:03", "eth3", 3);
    const Info c = up("CC:00:00:00:00:03", "eth3b", 3);
    Info down = up("DD:00:00:00:00:01", "eth1", 1);
    down.up = false;
    Info notRunning = up("EE:00:00:00:00:01", "eth1", 1);
    notRunning.running = false;
    QTest::newRow("lowest index, listed last") << QList<Info>{a, b} << b.hardwareAddress;
    QTest::newRow("lowest index, listed first") << QList<Info>{b, a} << b.hardwareAddress;
    QTest::newRow("equal indexes keep the first") << QList<Info>{c, b} << c.hardwareAddress;
    QTest::newRow("down or not running is skipped")
        << QList<Info>{down, notRunning, a} << a.hardwareAddress;
    QTest::newRow("nothing acceptable") << QList<Info>{down} << QString();
    QTest::newRow("no interfaces") << QList<Info>() << QString();
}

void TestPacketGenerator::macChoice()
{
    QFETCH(QList<DeviceInfoProvider::InterfaceInfo>, interfaces);
    QFETCH(QString, mac);
    QCOMPARE(DeviceInfoProvider::filterMAC(interfaces), mac);
}

void TestPacketGenerator::interfaceExclusions_data()
{
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readable");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("plain") << "12:34:56:78:9A:BC"
                           << "eth0"
                           << "Ethernet" << 2 << true;
    QTest::newRow("no MAC") << ""
                            << "eth0"
                            << "Ethernet" << 2 << false;
    QTest::newRow("no name") << "12:34:56:78:9A:BC"
                             << ""
                             << "Ethernet" << 2 << false;
    QTest::newRow("no index") << "12:34:56:78:9A:BC"
                              << "eth0"
                              << "Ethernet" << 0 << false;
    QTest::newRow("all zeros") << "00:00:00:00:00:00"
                               << "lo"
                               << "Loopback" << 1 << false;
    QTest::newRow("VMware") << "12:34:56:78:9A:BC"
                            << "vm0"
                            << "VMware Network Adapter" << 5 << false;
    QTest::newRow("virtual, any case") << "12:34:56:78:9A:BC"
                                       << "vb0"
                                       << "VirtualBox Host-Only" << 5 << false;
}

void TestPacketGenerator::interfaceExclusions()
{
    QFETCH(QString, mac);
    QFETCH(QString, name);
    QFETCH(QString, readable);
    QFETCH(int, index);
    QFETCH(bool, accepted);
    DeviceInfoProvider::InterfaceInfo info;
    info.hardwareAddress = mac;
    info.name = name;
    info.humanReadableName = readable;
    info.index = index;
    info.running = info.up = true;
    QCOMPARE(DeviceInfoProvider::isNetworkInterfaceAccepted(info, name), accepted);
    QCOMPARE(DeviceInfoProvider::filterMAC({info}), accepted ? mac : QString());
}

void TestPacketGenerator::deviceIdAndUserAgent()
{
    DeviceInfoProvider device;
    const QString sha1OfMac = TestCrypto::digestHex("SHA1", "12:34:56:78:9A:BC");
    QCOMPARE(DeviceInfoProvider::generateDeviceId("12:34:56:78:9A:BC"), sha1OfMac);
    // A stored id wins over the stored MAC.
    device.writeLastSentMAC("12:34:56:78:9A:BC");
    QCOMPARE(device.getDeviceID(), QString("device-0001"));
    // Without a stored id the id of the stored MAC is used, not stored.
    device.writeDeviceId("");
    QCOMPARE(device.getDeviceID(), sha1OfMac);
    QCOMPARE(device.readDeviceID(), QString());
    // Values live under the fixed organisation and application.
    QCOMPARE(QSettings("Quorvel", "Quorvel Desktop").value("MAC_ADDRESS").toString(),
             QString("12:34:56:78:9A:BC"));

    GlobalConstants::setAppVersion("0.4.2");
    const QStringList fields = device.getUserAgent().split('_');
    QCOMPARE(fields.size(), 5);
    QCOMPARE(fields.at(0), QString("desktopqt"));
    QCOMPARE(fields.at(1), QString("0.4.2"));
    QCOMPARE(fields.at(2), QSysInfo::productType());
    QCOMPARE(fields.last(), sha1OfMac);
}

void TestPacketGenerator::redaction()
{
    const QByteArray body = R"({"AuthValue":"abc","EToken":"e","Iv":"iv","PhoneNo":"4917",
        "Nested":{"Token":"t","Password":"p","ContactList":["4918"]},"Username":"u1000",
        "List":[{"PinCode":"1"}]})";
    const QString text = LogRedactor::redactBody(body);
    for (const char* secret : {"abc", "\"e\"", "\"iv\"", "4917", "\"t\"", "\"p\"", "4918", "\"1\""})
        QVERIFY2(!text.contains(QLatin1String(secret)), secret);
    QVERIFY(text.contains("u1000"));
    QCOMPARE(LogRedactor::redactBody("PhoneNo=4917"), QString("<12 bytes, not JSON>"));
}

QTEST_GUILESS_MAIN(TestPacketGenerator)
#include "tst_packetgenerator.moc"
