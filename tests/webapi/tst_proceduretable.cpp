// The procedure vocabulary: every row of the procedure table and of the key
// tables, checked against an independent copy, plus the look-up rules.

#include "webapi/GeneralApi/apifields.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QtTest>

class TestProcedureTable : public QObject
{
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void valuesOutsideTheTable();
    void browseCategorySubDir_data();
    void browseCategorySubDir();
    void metaTypeName();

private:
    static void addRow(int value, const char* name, const char* subDir, int tries, bool vital,
                       bool unique, bool get, const QStringList& requestKeys,
                       const QStringList& callerKeys, const QStringList& settingKeys,
                       const QStringList& replyKeys, const QStringList& storedKeys);
};

void TestProcedureTable::addRow(int value, const char* name, const char* subDir, int tries,
                                bool vital, bool unique, bool get, const QStringList& requestKeys,
                                const QStringList& callerKeys, const QStringList& settingKeys,
                                const QStringList& replyKeys, const QStringList& storedKeys)
{
    QTest::addRow("%d %s", value, name)
        << value << QString::fromLatin1(name) << QString::fromLatin1(subDir) << tries << vital
        << unique << get << requestKeys << callerKeys << settingKeys << replyKeys << storedKeys;
}

void TestProcedureTable::rows_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subDir");
    QTest::addColumn<int>("tries");
    QTest::addColumn<bool>("vital");
    QTest::addColumn<bool>("unique");
    QTest::addColumn<bool>("get");
    QTest::addColumn<QStringList>("requestKeys");
    QTest::addColumn<QStringList>("callerKeys");
    QTest::addColumn<QStringList>("settingKeys");
    QTest::addColumn<QStringList>("replyKeys");
    QTest::addColumn<QStringList>("storedKeys");

    // value, display name, sub-directory, tries, vital, unique, GET,
    // request keys, caller keys, setting keys, reply keys, stored reply keys
    addRow(0, "IDLE", "", 3, false, false, false, QStringList(), QStringList(), QStringList(),
           QStringList(), QStringList());
    addRow(1, "Register", "register/", 1, false, false, false,
           QStringList{"RequestId", "PhoneNo", "DeviceId", "ClientNonce", "ClientTimestamp",
                       "Language"},
           QStringList{"PhoneNo"}, QStringList{"Language"},
           QStringList{"PhoneNo", "DeviceId", "ServerNonce", "ServerTimestamp", "HashMethod",
                       "EncryptionMethod"},
           QStringList{"PhoneNo", "DeviceId", "ServerNonce", "ServerTimestamp", "HashMethod",
                       "EncryptionMethod"});
    addRow(2, "IVR Request", "ivrRequest/", 3, false, false, false,
           QStringList{"RequestId", "PhoneNo"}, QStringList(), QStringList{"PhoneNo"},
           QStringList(), QStringList());
    addRow(
        3, "Activation", "activation/", 1, false, false, false,
        QStringList{"RequestId", "PhoneNo", "VerificationToken", "HashMethod", "EncryptionMethod"},
        QStringList{"PinCode"},
        QStringList{"PhoneNo", "HashMethod", "EncryptionMethod", "ServerTimestamp", "ServerNonce"},
        QStringList{"Username", "EToken", "Iv"}, QStringList{"Username", "EToken", "Iv"});
    addRow(4, "User Card", "card/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"Username", "HashMethod", "PhoneNo"}, QStringList{"Username", "Credit"},
           QStringList{"Credit"});
    addRow(5, "Client Country", "client_country/", 3, false, false, true, QStringList(),
           QStringList(), QStringList(), QStringList{"CountryCode", "CountryPrefix"},
           QStringList{"CountryCode", "CountryPrefix"});
    addRow(6, "Set Profile", "setprofile/", 3, false, false, false,
           QStringList{"RequestId", "Username", "AvatarURL", "AvatarThumbnailURL", "Nickname",
                       "Motto", "HashMethod", "AuthValue"},
           QStringList(), QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(7, "Deactivate User", "deactivation/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(8, "User Profile", "members/", 3, false, false, false,
           QStringList{"RequestId", "Username", "ContactList", "HashMethod", "AuthValue"},
           QStringList(), QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(9, "Profile", "members/", 3, false, false, false,
           QStringList{"RequestId", "Username", "ContactList", "HashMethod", "AuthValue"},
           QStringList{"ContactList"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(10, "Members", "members/", 3, false, false, false,
           QStringList{"RequestId", "Username", "ContactList", "HashMethod", "AuthValue"},
           QStringList{"ContactList"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(11, "Algorithm", "algorithm/", 3, false, false, false,
           QStringList{"HashMethods", "EncryptionMethods"}, QStringList(), QStringList(),
           QStringList{"HashMethod", "EncryptionMethod"},
           QStringList{"HashMethod", "EncryptionMethod"});
    addRow(12, "Salam", "salam/", 3, true, true, false,
           QStringList{"RequestId", "Username", "NetType", "HashMethod", "EncryptionMethod",
                       "AuthValue"},
           QStringList(), QStringList{"PhoneNo", "Username", "HashMethod", "EncryptionMethod"},
           QStringList{"Servers", "SinceLastConnection"}, QStringList{"SinceLastConnection"});
    addRow(13, "Channel Categories", "GAPI/channels/browse/index/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"CategoriesCount", "ChannelsCount", "Channels", "Categories"},
           QStringList());
    addRow(14, "Browse Category", "", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"},
           QStringList{"browseCategoryId"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"CategoriesCount", "ChannelsCount", "Channels", "Categories"},
           QStringList());
    addRow(15, "Join Channel", "GAPI/channels/join/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(16, "Leave Channel", "GAPI/channels/leave/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(17, "Channel Data", "GAPI/channels/getdata/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(18, "Channel Data and Add", "GAPI/channels/getdata/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(19, "Channel Archive", "GAPI/channels/archive/JSON", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Offset", "Count", "MessageID", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "Offset", "Count", "MessageID"},
           QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"MessagesCount", "Messages"}, QStringList());
    addRow(20, "Channel New Messages", "GAPI/channels/newMessages/JSON", 3, true, false, false,
           QStringList{"RequestId", "ChannelID", "MessageID", "MessageTimestamp", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "MessageID", "MessageTimestamp"},
           QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"MessagesCount", "Messages"}, QStringList());
    addRow(21, "Channel List", "GAPI/channels/list/", 3, true, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"ChannelsCount", "Channels"}, QStringList());
    addRow(22, "Create channel", "GAPI/channels/create/", 3, false, false, false,
           QStringList{"RequestId", "CategoryID", "Name", "ChannelID", "AvatarURL",
                       "AvatarThumbnailURL", "Members", "ReplyAllowed", "Description", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"CategoryID", "Name", "ChannelID", "AvatarURL", "AvatarThumbnailURL",
                       "Members", "ReplyAllowed", "Description"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList{"ChannelID"},
           QStringList());
    addRow(23, "Channel Add Member", "GAPI/channels/addmember/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Members", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "Members"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(24, "Channel Remove Member", "GAPI/channels/removemember/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "MemberUsername", "Username", "HashMethod",
                       "AuthValue"},
           QStringList{"ChannelID", "MemberUsername"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(25, "Channel Change Role", "GAPI/channels/changerole/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "MemberUsername", "MemberNewRole", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "MemberUsername", "MemberNewRole"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(26, "Channel Send Message", "GAPI/channels/sendmessage/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "MessageID", "MessageBody", "MessageParams",
                       "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "MessageID", "MessageBody", "MessageParams"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(27, "Channel Change Message State", "GAPI/channels/changemessagestate/", 3, false, false,
           false,
           QStringList{"RequestId", "ChannelID", "MessageID", "MessageNewState", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "MessageID", "MessageNewState"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(28, "Check Channel Id Availablity", "GAPI/channels/checkFreeChannelId/", 3, false, false,
           false, QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(29, "Channel Get Members", "GAPI/channels/getmembers/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Offset", "Count", "ChannelMemberType", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "Offset", "Count", "ChannelMemberType"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(30, "Channel Delete", "GAPI/channels/deleteChannel/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(31, "Channel Edit", "GAPI/channels/changechanneldata/", 3, false, false, false,
           QStringList{"RequestId", "ChannelID", "Name", "AvatarURL", "AvatarThumbnailURL",
                       "Description", "ReplyAllowed", "Username", "HashMethod", "AuthValue"},
           QStringList{"ChannelID", "Name", "AvatarURL", "AvatarThumbnailURL", "Description",
                       "ReplyAllowed"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(32, "Send Like", "like/send/", 3, false, false, false,
           QStringList{"RequestId", "Username", "MessageLikes", "HashMethod", "AuthValue"},
           QStringList{"MessageLikes"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(33, "Get Like", "like/get/", 3, false, false, false,
           QStringList{"RequestId", "Username", "MessageIDs", "HashMethod", "AuthValue"},
           QStringList{"MessageIDs"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"MessagesLikeCount"}, QStringList());
    addRow(34, "Report", "report/", 3, false, false, false,
           QStringList{"RequestId", "Username", "OSVersion", "NetType", "ReportTitle", "ReportType",
                       "ReportDescription", "ReportData", "HashMethod", "AuthValue"},
           QStringList{"ReportTitle", "ReportType", "ReportDescription"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(35, "Last Seen", "lastseen/", 3, false, false, false,
           QStringList{"RequestId", "Username", "Format", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList{"LastSeen"},
           QStringList{"LastSeen"});
    addRow(36, "Sync All", "contacts/syncall/", 3, false, false, false,
           QStringList{"RequestId", "Username", "ContactList", "HashMethod", "AuthValue"},
           QStringList{"ContactList"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"Members"}, QStringList());
    addRow(37, "Sync Get", "contacts/getSynced/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(38, "Sync Changes", "contacts/syncchanges/", 3, false, false, false,
           QStringList{"RequestId", "Username", "ContactChangesList", "HashMethod", "AuthValue"},
           QStringList{"ContactChangesList"}, QStringList{"PhoneNo", "Username", "HashMethod"},
           QStringList{"Members"}, QStringList());
    addRow(39, "Poll Create", "polls/create/", 3, false, false, false,
           QStringList{"RequestId", "Username", "PollViewResultStatus", "PollData", "HashMethod",
                       "AuthValue"},
           QStringList{"PollViewResultStatus", "PollData"},
           QStringList{"PhoneNo", "Username", "HashMethod"}, QStringList(), QStringList());
    addRow(40, "Poll Change Status", "polls/changestatus/", 3, false, false, false,
           QStringList{"RequestId", "Username", "PollID", "NewPollStatus", "NewViewResultStatus",
                       "HashMethod", "AuthValue"},
           QStringList{"PollID", "NewPollStatus", "NewViewResultStatus"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(41, "Poll Vote", "polls/vote/", 3, false, false, false,
           QStringList{"RequestId", "Username", "PollID", "VoteData", "HashMethod", "AuthValue"},
           QStringList{"PollID", "VoteData"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(42, "Poll Results", "polls/getresult/", 3, false, false, false,
           QStringList{"RequestId", "Username", "PollID", "HashMethod", "AuthValue"},
           QStringList{"PollID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(43, "Poll View Results Token", "polls/getviewresulttoken/", 3, false, false, false,
           QStringList{"RequestId", "Username", "PollID", "HashMethod", "AuthValue"},
           QStringList{"PollID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(44, "Visited Messages Store", "messagevisits/store/", 3, false, false, false,
           QStringList{"RequestId", "Username", "VisitedMessageIds", "HashMethod", "AuthValue"},
           QStringList{"VisitedMessageIds"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(45, "Visited Messages Get", "messagevisits/get/", 3, false, false, false,
           QStringList{"RequestId", "Username", "MessageIDs", "HashMethod", "AuthValue"},
           QStringList{"MessageIDs"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(46, "Group Create", "GAPI/privatechat/create/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "GroupName", "GroupAvatarURL",
                       "GroupAvatarThumbnailURL", "Description", "Members", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"GroupJID", "GroupName", "GroupAvatarURL", "GroupAvatarThumbnailURL",
                       "Description", "Members"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(47, "Group Add Member", "GAPI/privatechat/addmember/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Members", "Username", "HashMethod", "AuthValue"},
           QStringList{"GroupJID", "Members"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(48, "Group Remove Member", "GAPI/privatechat/removemember/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "MemberUsername", "Username", "HashMethod",
                       "AuthValue"},
           QStringList{"GroupJID", "MemberUsername"}, QStringList{"Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(49, "Group Change Role", "GAPI/privatechat/changerole/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "MemberUsername", "MemberNewRole", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"GroupJID", "MemberUsername", "MemberNewRole"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(50, "Group Change Data", "GAPI/privatechat/changegroupdata/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "GroupName", "GroupAvatarURL",
                       "GroupAvatarThumbnailURL", "Description", "Username", "HashMethod",
                       "AuthValue"},
           QStringList{"GroupJID", "GroupName", "GroupAvatarURL", "GroupAvatarThumbnailURL",
                       "Description"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(51, "Group Leave", "GAPI/privatechat/leave/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Username", "HashMethod", "AuthValue"},
           QStringList{"GroupJID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(52, "Group Members", "GAPI/privatechat/getmembers/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Username", "HashMethod", "AuthValue"},
           QStringList{"GroupJID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(53, "Group Members Info", "GAPI/privatechat/getmembersinfo/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Username", "HashMethod", "AuthValue"},
           QStringList{"GroupJID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(54, "User List", "GAPI/user/getlist/", 3, true, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(55, "User Unsubscribe", "GAPI/user/unsubscribe/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(56, "Group Data", "GAPI/privatechat/groupdata/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Username", "HashMethod", "AuthValue"},
           QStringList{"GroupJID"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(57, "Group Archive", "GAPI/privatechat/archive/", 3, false, false, false,
           QStringList{"RequestId", "GroupJID", "Count", "MessageID", "Username", "HashMethod",
                       "AuthValue"},
           QStringList{"GroupJID", "Count", "MessageID"}, QStringList{"Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(58, "Group New Messages", "GAPI/privatechat/newMessages/", 3, true, false, false,
           QStringList{"RequestId", "GroupJID", "MessageTimestampMilliSecond", "Username",
                       "HashMethod", "AuthValue"},
           QStringList{"GroupJID", "MessageTimestampMilliSecond"},
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(59, "User Chat Archive", "CAPI/Userchat/Archive/", 3, false, false, false,
           QStringList{"RequestId", "Username", "UserId", "Count", "MessageId", "HashMethod",
                       "AuthValue"},
           QStringList{"UserId", "Count", "MessageId"}, QStringList{"Username", "HashMethod"},
           QStringList(), QStringList());
    addRow(60, "Quorvel ID Set", "quorvelid/set/", 3, false, false, false,
           QStringList{"RequestId", "Username", "QuorvelId", "HashMethod", "AuthValue"},
           QStringList{"QuorvelId"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(61, "Quorvel ID Get", "quorvelid/get/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "AuthValue"}, QStringList(),
           QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(62, "", "lookup/", 3, false, false, false,
           QStringList{"RequestId", "Username", "Key", "HashMethod", "AuthValue"},
           QStringList{"Key"}, QStringList{"Username", "HashMethod"}, QStringList(), QStringList());
    addRow(63, "Set Device ID", "register/setDeviceId/", 3, false, false, false,
           QStringList{"RequestId", "Username", "HashMethod", "NewDeviceId", "AuthValue"},
           QStringList{"NewDeviceId"}, QStringList{"Username", "HashMethod"}, QStringList(),
           QStringList());
    addRow(64, "Remove All Settings", "", 3, false, false, false, QStringList(), QStringList(),
           QStringList(), QStringList(), QStringList());
}

void TestProcedureTable::rows()
{
    QFETCH(int, value);
    QFETCH(QString, name);
    QFETCH(QString, subDir);
    QFETCH(int, tries);
    QFETCH(bool, vital);
    QFETCH(bool, unique);
    QFETCH(bool, get);
    QFETCH(QStringList, requestKeys);
    QFETCH(QStringList, callerKeys);
    QFETCH(QStringList, settingKeys);
    QFETCH(QStringList, replyKeys);
    QFETCH(QStringList, storedKeys);

    const auto procedure = static_cast<Procedure>(value);
    const ApiFields fields;
    QCOMPARE(ProcedureHandler::getProcedureName(procedure), name);
    QCOMPARE(ProcedureHandler::getProcedureSubDir(procedure), subDir);
    QCOMPARE(ProcedureHandler::getProcedureMaxTries(procedure), tries);
    QCOMPARE(ProcedureTable::isVital(procedure), vital);
    QCOMPARE(ApiFields::isUniqueRequest(procedure), unique);
    QCOMPARE(fields.getServerRequestType(procedure), get ? ApiFields::Get : ApiFields::Post);
    QCOMPARE(fields.getInputKeys(procedure), requestKeys);
    QCOMPARE(fields.getUserInputKeys(procedure), callerKeys);
    QCOMPARE(fields.getInputSettingKeys(procedure), settingKeys);
    QCOMPARE(fields.getOutputKeys(procedure), replyKeys);
    QCOMPARE(fields.getOutputSettingKeys(procedure), storedKeys);
    const QStringList kept = value == PROC_Register
                                 ? QStringList{"ClientNonce", "ClientTimestamp", "PhoneNo"}
                                 : QStringList();
    QCOMPARE(fields.getShouldBeKeptInputs(procedure), kept);
}

void TestProcedureTable::valuesOutsideTheTable()
{
    const ApiFields fields;
    for (int value : {-1, 65, 1000}) {
        const auto procedure = static_cast<Procedure>(value);
        QCOMPARE(ProcedureHandler::getProcedureName(procedure), QString());
        QCOMPARE(ProcedureHandler::getProcedureSubDir(procedure), QString());
        QVERIFY(fields.getInputKeys(procedure).isEmpty());
        QCOMPARE(fields.getServerRequestType(procedure), ApiFields::Post);
    }
    QCOMPARE(ProcedureHandler::getReportTypes(), (QStringList{"error", "info"}));
}

void TestProcedureTable::browseCategorySubDir_data()
{
    QTest::addColumn<QJsonValue>("id");
    QTest::addColumn<QString>("subDir");
    QTest::newRow("plain") << QJsonValue("7") << "GAPI/channels/browse/7/";
    QTest::newRow("number") << QJsonValue(12) << "GAPI/channels/browse/12/";
    QTest::newRow("slash and space are encoded")
        << QJsonValue("a/b c") << "GAPI/channels/browse/a%2Fb%20c/";
    QTest::newRow("query and fragment characters")
        << QJsonValue("x?y#z&..") << "GAPI/channels/browse/x%3Fy%23z%26../";
    QTest::newRow("non-ASCII as UTF-8")
        << QJsonValue(QStringLiteral("\u0648")) << "GAPI/channels/browse/%D9%88/";
    QTest::newRow("empty id") << QJsonValue("") << "";
    QTest::newRow("missing id") << QJsonValue(QJsonValue::Undefined) << "";
}

void TestProcedureTable::browseCategorySubDir()
{
    QFETCH(QJsonValue, id);
    QFETCH(QString, subDir);
    QHash<QString, QJsonValue> inputs;
    if (!id.isUndefined())
        inputs.insert("browseCategoryId", id);
    QCOMPARE(ProcedureHandler::getProcedureSubDir(PROC_BrowseCategory, inputs), subDir);
    // Only Browse Category looks at its inputs.
    QCOMPARE(ProcedureHandler::getProcedureSubDir(PROC_ChannelCategories, inputs),
             QString("GAPI/channels/browse/index/"));
}

void TestProcedureTable::metaTypeName()
{
    ProcedureTable::registerMetaType();
    const int id = QMetaType::type("Procedure");
    QVERIFY(id != QMetaType::UnknownType);
    QCOMPARE(id, qMetaTypeId<Procedure>());
}

QTEST_GUILESS_MAIN(TestProcedureTable)
#include "tst_proceduretable.moc"
