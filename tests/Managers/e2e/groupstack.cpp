#include "groupstack.h"

#include "Managers/XMPP/roomrecordpresence.h"
#include "corematches.h"
#include "fakewebservice.h"
#include "grouproomkeeper.h"
#include "localservice.h"
#include "prosodyserver.h"
#include "servicestore.h"
#include "testcertificates.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

const QString GroupStack::kPassword = QStringLiteral("chat-secret");
const QString GroupStack::kKeeper = RoomRecordPresence::keeperAccount();

GroupStack::GroupStack() = default;

GroupStack::~GroupStack()
{
    stop();
}

bool GroupStack::start(const QStringList& accounts, QString* error)
{
    caFile = TestCertificates::trustSharedCa();
    if (caFile.isEmpty()) {
        *error = QStringLiteral("no test CA");
        return false;
    }
    prosody.reset(new ProsodyServer());
    for (const QString& account : accounts + QStringList{kKeeper}) {
        if (!prosody->addUser(account, kPassword)) {
            *error = QStringLiteral("cannot register ") + account;
            return false;
        }
    }
    if (!prosody->setRoomKeeper(kKeeper) || !prosody->start()) {
        *error = prosody->errorString();
        return false;
    }
    web.reset(new FakeWebService());
    if (!web->start()) {
        *error = QStringLiteral("the web service did not start");
        return false;
    }
    store.reset(new ServiceStore());
    service.reset(new LocalService(web.get(), store.get()));
    service->installProcedures();
    AccountPolicy& policy = service->policy();
    policy.usernameFor = [](const QString& phone) { return phone; };
    policy.codeFor = [](const QString&) { return QStringLiteral("12345"); };
    const QString domain = prosody->domain();
    const QString host = prosody->host();
    const int port = prosody->port();
    policy.chatServers = [=](const QString& user) {
        return QJsonArray{QJsonObject{{"Hostname", domain},
                                      {"ServerAddress", host},
                                      {"PortNo", QString::number(port)},
                                      {"Username", user},
                                      {"Password", kPassword},
                                      {"Application", "chat"}}};
    };
    startKeeper();
    QElapsedTimer timer;
    timer.start();
    while (!keeper->isConnected() && timer.elapsed() < 15000)
        QTest::qWait(50);
    if (!keeper->isConnected()) {
        *error = QStringLiteral("the room keeper did not sign in");
        return false;
    }
    return true;
}

void GroupStack::stop()
{
    keeper.reset();
    if (prosody)
        prosody->stop();
}

void GroupStack::stopKeeper()
{
    keeper.reset();
}

void GroupStack::startKeeper()
{
    keeper.reset(new GroupRoomKeeper(service.get()));
    keeper->connectToServer(prosody->host(), prosody->port(), prosody->domain(), kKeeper, kPassword,
                            prosody->mucDomain());
}

QXmppConfiguration GroupStack::clientConfiguration(const QString& user,
                                                   const QString& resource) const
{
    return prosody->clientConfiguration(user, resource);
}

bool GroupStack::startCore(Member* member, const QList<QJsonObject>& typedAtOnce)
{
    QProcessEnvironment env;
    if (!corematch::privateEnvironment(member->home, &env))
        return false;
    env.insert("QUORVEL_WEB_BASE_URL", web->baseUrl());
    env.insert("QUORVEL_CHAT_DOMAIN", prosody->domain());
    env.insert("QUORVEL_EXTRA_CA_FILE", caFile);
    env.insert("QUORVEL_PHONE", member->phone);
    env.insert("QUORVEL_PIN", "12345");
    member->core.reset(new CoreProcess(member->name, env));
    if (!member->core->start())
        return false;
    for (const QJsonObject& line : typedAtOnce)
        member->core->sendLine(line);
    return member->core->waitFor(corematch::chatServerState(3), 30000) >= 0;
}

bool GroupStack::addServiceAccount(const QString& user)
{
    return service->saveAccount(
        user, QJsonObject{{"PhoneNo", user}, {"Active", true}, {"Deactivated", false}});
}

bool GroupStack::waitInRoom(const QString& groupId, const QString& user)
{
    QElapsedTimer timer;
    timer.start();
    while (!keeper->isPresent(groupId, user) && timer.elapsed() < 20000)
        QTest::qWait(50);
    return keeper->isPresent(groupId, user);
}

bool GroupStack::staysOutOfRoom(const QString& groupId, const QString& user)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1000) {
        if (keeper->isPresent(groupId, user))
            return false;
        QTest::qWait(50);
    }
    return true;
}

void GroupStack::say(Member* from, const QString& groupId, const QString& text)
{
    from->core->send(corematch::kCmdSendMessage, QJsonObject{{"MAJOR_TYPE", "GROUP_CHAT"},
                                                             {"MINOR_TYPE", "TEXT"},
                                                             {"FROM", groupId},
                                                             {"MESSAGE_BODY", text}});
}

QString GroupStack::failure(const QString& what, const QList<const Member*>& members) const
{
    QString text = what;
    // The whole conversation of each core goes to the log; the message only
    // holds its end.
    for (const Member* member : members) {
        if (!member->core)
            continue;
        for (const QJsonObject& line : member->core->lines())
            qWarning().noquote() << member->name
                                 << QJsonDocument(line).toJson(QJsonDocument::Compact).left(300);
    }
    for (const Member* member : members) {
        if (member->core)
            text += QLatin1Char('\n') + member->core->tail();
    }
    return text;
}
