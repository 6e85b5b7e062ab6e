// Hand-written JSON documents of every message kind and every value type with a
// JSON form (tests/model/fixtures) parse and re-serialise identically.
//
// Each fixture file holds {"type", "form", "document"}; archive fixtures add
// "chatId", "localUser" and the "expected" stored form of the message read.

#include "model/browsecategoryresult.h"
#include "model/channelcategory.h"
#include "model/channelinfo.h"
#include "model/channelmemberprofile.h"
#include "model/globalconstants.h"
#include "model/groupinfo.h"
#include "model/groupmember.h"
#include "model/message.h"
#include "model/pollresult.h"
#include "model/profile.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QtTest>

#include <functional>

namespace {
QString fixtureDir()
{
    return QStringLiteral(QUORVEL_SOURCE_DIR "/tests/model/fixtures");
}

QJsonObject readFixture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Every key a body writes carries the value the document holds.
bool sameKeys(const QJsonObject& body, const QJsonObject& document, QString* diff)
{
    for (auto it = body.constBegin(); it != body.constEnd(); ++it) {
        if (document.value(it.key()) != it.value()) {
            *diff = it.key();
            return false;
        }
    }
    return true;
}

// The payload of a message read from a fixture, in the body's own JSON form;
// an empty object for kinds whose body has no writer. ok is false when the body
// does not accept the payload.
QJsonObject payloadOf(const Message& m, bool* ok)
{
    *ok = true;
    switch (m.getMinorType()) {
    case MessageBase::MsgMinorType_Sticker:
        *ok = !m.getStickerMessage().isEmpty();
        return m.getStickerMessage().toJsonObject();
    case MessageBase::MsgMinorType_File:
        *ok = !m.getFileMessage().isEmpty();
        return m.getFileMessage().toJsonObject();
    case MessageBase::MsgMinorType_Location:
        *ok = !m.getLocationMessage().isEmpty();
        return m.getLocationMessage().toJsonObject();
    case MessageBase::MsgMinorType_Poll:
        *ok = !m.getPollData().isEmpty();
        return {{"POLL_DATA", m.getPollData().toJsonObject()}};
    case MessageBase::MsgMinorType_Seen:
        *ok = !m.getSeenMessage().isEmpty();
        return m.getSeenMessage().toJson();
    case MessageBase::MsgMinorType_EditMessage:
        *ok = !m.getEditMessage().isEmpty();
        return m.getEditMessage().toJson();
    case MessageBase::MsgMinorType_ChannelMessageEdited:
        *ok = !m.getChannelEditMessage().isEmpty();
        return m.getChannelEditMessage().toJson();
    case MessageBase::MsgMinorType_UpdateConversationMuteStatus:
        *ok = !m.getConversationMuteStatusUpdate().isEmpty();
        return m.getConversationMuteStatusUpdate().toJson();
    case MessageBase::MsgMinorType_GroupInvitation:
        *ok = !m.getGroupInvitationMessage().isEmpty();
        return {};
    case MessageBase::MsgMinorType_GroupRemove:
        *ok = m.getGroupRemoveMessage().isValid();
        return {};
    case MessageBase::MsgMinorType_GroupJoin:
        *ok = !m.getGroupJoinMessage().isEmpty();
        return {};
    case MessageBase::MsgMinorType_GroupChangeRole:
        *ok = !m.getGroupChangeRoleMessage().isEmpty();
        return {};
    case MessageBase::MsgMinorType_GroupChangeMetadata:
        *ok = !m.getGroupMetaDataChangedMessage().isEmpty();
        return {};
    default:
        return {};
    }
}

using Reserialiser = std::function<QJsonObject(const QJsonObject&, const QString& form, bool*)>;

template <typename T> Reserialiser plainValue()
{
    return [](const QJsonObject& document, const QString&, bool* ok) {
        T value;
        *ok = value.setDataFromJson(document);
        return value.toJsonObject();
    };
}

template <typename T> Reserialiser voidReader()
{
    return [](const QJsonObject& document, const QString&, bool* ok) {
        T value;
        value.setDataFromJson(document);
        *ok = true;
        return value.toJsonObject();
    };
}

template <typename T> Reserialiser jsonable()
{
    return [](const QJsonObject& document, const QString&, bool* ok) {
        T value;
        *ok = value.fromJson(document);
        return value.toJson();
    };
}

template <typename T> Reserialiser storedValue()
{
    return [](const QJsonObject& document, const QString& form, bool* ok) {
        T value;
        if (form == QLatin1String("stored")) {
            *ok = value.setDataFromDBJson(document);
            return value.toDBJsonObject();
        }
        *ok = value.setDataFromJson(document);
        return value.toJsonObject();
    };
}

const QHash<QString, Reserialiser>& valueReaders()
{
    static const QHash<QString, Reserialiser> readers{
        {"FileMessage",
         [](const QJsonObject& document, const QString& form, bool* ok) {
             FileMessage file;
             *ok = FileMessage::checkFields(document) && FileMessage::checkSpecificFields(document);
             if (form == QLatin1String("stored")) {
                 file.setDataFromDBJson(document);
                 return file.toDBJsonObject();
             }
             file.setDataFromJson(document);
             return file.toJsonObject();
         }},
        {"StickerMessage", plainValue<StickerMessage>()},
        {"LocationMessage", plainValue<LocationMessage>()},
        {"SeenMessage",
         [](const QJsonObject& document, const QString&, bool* ok) {
             SeenMessage seen;
             seen.setChatId("the carrying message's chat");
             *ok = seen.fromJson(document);
             return seen.toJson();
         }},
        {"EditMessage", jsonable<EditMessage>()},
        {"ChannelEditMessage", jsonable<ChannelEditMessage>()},
        {"ConversationMuteStatusUpdate", jsonable<ConversationMuteStatusUpdate>()},
        {"PollData",
         [](const QJsonObject& document, const QString&, bool* ok) {
             const PollData poll(document);
             *ok = !poll.isEmpty();
             return poll.toJsonObject();
         }},
        {"PollOption", plainValue<PollOption>()},
        {"PollResult", plainValue<PollResult>()},
        {"PollResultOption", voidReader<PollResultOption>()},
        {"ChannelInfo", storedValue<ChannelInfo>()},
        {"ChannelCategory", plainValue<ChannelCategory>()},
        {"ChannelMemberProfile", voidReader<ChannelMemberProfile>()},
        {"BrowseCategoryResult", voidReader<BrowseCategoryResult>()},
        {"GroupInfo", storedValue<GroupInfo>()},
        {"GroupMember", plainValue<GroupMember>()},
        {"Profile", plainValue<Profile>()},
    };
    return readers;
}

QStringList fixtureFiles()
{
    QStringList files;
    QDirIterator it(fixtureDir(), {"*.json"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}
} // namespace

class TestModelFixtures : public QObject
{
    Q_OBJECT

private slots:
    void reserialise_data();
    void reserialise();
    void coverage();
};

void TestModelFixtures::reserialise_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& path : fixtureFiles())
        QTest::newRow(qPrintable(QDir(fixtureDir()).relativeFilePath(path))) << path;
}

void TestModelFixtures::reserialise()
{
    QFETCH(QString, path);
    const QJsonObject fixture = readFixture(path);
    QVERIFY2(!fixture.isEmpty(), "fixture is not a JSON object");
    const QString type = fixture.value("type").toString();
    const QString form = fixture.value("form").toString();
    const QJsonObject document = fixture.value("document").toObject();
    QVERIFY(!document.isEmpty());

    if (type != QLatin1String("Message")) {
        QVERIFY2(valueReaders().contains(type), qPrintable(type));
        bool ok = false;
        const QJsonObject written = valueReaders().value(type)(document, form, &ok);
        QVERIFY2(ok, "the reader rejected the document");
        QCOMPARE(written, document);
        return;
    }

    Message m;
    if (form == QLatin1String("archive")) {
        GlobalConstants::setUserName(fixture.value("localUser").toString());
        QVERIFY(m.fromUserChatArchiveJson(document, fixture.value("chatId").toString()));
        QCOMPARE(m.toDBJson(), fixture.value("expected").toObject());
        return;
    }
    if (form == QLatin1String("stored")) {
        QVERIFY(m.fromDBJson(document));
        QCOMPARE(m.toDBJson(), document);
        Message again;
        QVERIFY(again.fromDBJson(m.toDBJson()));
        QCOMPARE(again, m);
        for (const QString& key : m.toJson().keys())
            QVERIFY2(!key.startsWith('_') && key != "FILE_LOCAL_PATH", qPrintable(key));
    } else {
        QCOMPARE(form, QString("public"));
        QVERIFY(m.fromJson(document));
        QCOMPARE(m.toJson(), document);
        QCOMPARE(m.getState(), MessageBase::MsgState_Draft);
    }
    bool bodyAccepted = false;
    const QJsonObject body = payloadOf(m, &bodyAccepted);
    QVERIFY2(bodyAccepted, "the payload body rejected the document");
    QString differingKey;
    QVERIFY2(sameKeys(body, document, &differingKey), qPrintable(differingKey));
}

void TestModelFixtures::coverage()
{
    QSet<int> majors;
    QSet<int> minors;
    QSet<QString> forms;
    QSet<QString> types;
    for (const QString& path : fixtureFiles()) {
        const QJsonObject fixture = readFixture(path);
        const QString type = fixture.value("type").toString();
        types.insert(type);
        if (type != QLatin1String("Message"))
            continue;
        forms.insert(fixture.value("form").toString());
        QJsonObject message = fixture.value("document").toObject();
        if (message.contains("M"))
            message = message.value("M").toObject();
        majors.insert(MessageBase::toMsgMajorType(message.value("MAJOR_TYPE").toString()));
        minors.insert(MessageBase::toMsgMinorType(message.value("MINOR_TYPE").toString()));
    }
    for (int major = 1; major <= 6; ++major)
        QVERIFY2(majors.contains(major), qPrintable(QString::number(major)));
    for (int minor = 1; minor <= 29; ++minor)
        QVERIFY2(minors.contains(minor), qPrintable(QString::number(minor)));
    QCOMPARE(forms, QSet<QString>({"public", "stored", "archive"}));
    for (const QString& type : valueReaders().keys())
        QVERIFY2(types.contains(type), qPrintable(type));
}

QTEST_GUILESS_MAIN(TestModelFixtures)
#include "tst_modelfixtures.moc"
