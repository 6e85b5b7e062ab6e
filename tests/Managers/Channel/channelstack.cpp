#include "channelstack.h"

#include "fakewebservice.h"
#include "localservice.h"
#include "servicestore.h"
#include "servicetestclient.h"
#include "webapi/GeneralApi/procedurehandler.h"

#include <QJsonArray>

const QString ChannelStack::kToken = QStringLiteral("tok-123");

namespace {
const QString kChannels = QStringLiteral("channels");
const QString kPosts = QStringLiteral("channelposts");
} // namespace

ChannelStack::ChannelStack(const QString& folder) : folder(folder) {}

ChannelStack::~ChannelStack()
{
    stop();
}

bool ChannelStack::start()
{
    if (TestCertificates::trustSharedCa().isEmpty())
        return false;
    store = std::make_unique<ServiceStore>(folder);
    if (!store->open())
        return false;
    http = std::make_unique<FakeWebService>();
    service = std::make_unique<LocalService>(http.get(), store.get());
    service->installProcedures();
    if (!http->start(port))
        return false;
    port = http->serverPort();
    qputenv("QUORVEL_WEB_BASE_URL", baseUrl().toUtf8());
    return true;
}

void ChannelStack::stop()
{
    service.reset();
    if (http)
        http->close();
    http.reset();
    store.reset();
}

QString ChannelStack::baseUrl() const
{
    return http ? http->baseUrl() : QString();
}

bool ChannelStack::addAccount(const QString& user)
{
    return service->saveAccount(
        user, {{"PhoneNo", user}, {"Active", true}, {"Token", kToken}, {"HashMethod", "SHA256"}});
}

void ChannelStack::failNext(Procedure procedure, int code)
{
    failNextAt(ProcedureHandler::getProcedureSubDir(procedure), code);
}

void ChannelStack::failNextAt(const QString& path, int code)
{
    http->enqueueReply(path,
                       ServiceReply::result(code, {{"ResultMessage", "refused by the test"}}));
}

void ChannelStack::replyNext(Procedure procedure, const QJsonObject& fields)
{
    http->enqueueReply(ProcedureHandler::getProcedureSubDir(procedure),
                       ServiceReply::result(200, fields));
}

int ChannelStack::call(const QString& user, const QString& path, const QJsonObject& fields,
                       QJsonObject* reply)
{
    ServiceTestClient client(baseUrl());
    ServiceTestClient::Account account;
    account.username = user;
    account.token = kToken;
    const ServiceTestClient::Answer answer = client.call(account, path, fields);
    if (reply)
        *reply = answer.json;
    return answer.code();
}

bool ChannelStack::addChannel(const QString& id, const QString& owner, const QString& categoryId)
{
    return call(owner, "GAPI/channels/create/",
                {{"ChannelID", id},
                 {"Name", "Channel " + id},
                 {"Description", "all about " + id},
                 {"AvatarURL", ""},
                 {"AvatarThumbnailURL", ""},
                 {"ReplyAllowed", "1"},
                 {"CategoryID", categoryId},
                 {"Members", QJsonArray{QJsonObject{{"Username", owner}, {"Role", "OWNER"}}}}}) ==
           200;
}

bool ChannelStack::addMember(const QString& channelId, const QString& byManager,
                             const QString& member, const QString& role)
{
    return call(byManager, "GAPI/channels/addmember/",
                {{"ChannelID", channelId},
                 {"Members", QJsonArray{QJsonObject{{"Username", member}, {"Role", role}}}}}) ==
           200;
}

QJsonObject ChannelStack::post(const QString& channelId, const QString& author, const QString& body)
{
    const QString id = QStringLiteral("%1-%2").arg(channelId).arg(posts(channelId).size() + 1);
    const int code = call(author, "GAPI/channels/sendmessage/",
                          {{"ChannelID", channelId},
                           {"MessageID", id},
                           {"MessageBody", body},
                           {"MessageParams", QJsonObject{{"MAJOR_TYPE", "CHANNEL_CHAT"},
                                                         {"MINOR_TYPE", "TEXT"},
                                                         {"CHANNEL_ID", channelId},
                                                         {"MESSAGE_BODY", body}}}});
    const QList<QJsonObject> all = posts(channelId);
    return code == 200 && !all.isEmpty() ? all.last() : QJsonObject();
}

QList<QJsonObject> ChannelStack::posts(const QString& channelId) const
{
    QList<QJsonObject> list;
    for (const QJsonValue& value : store->value(kPosts, channelId).toArray())
        list << value.toObject();
    return list;
}

QJsonObject ChannelStack::channel(const QString& id) const
{
    return store->object(kChannels, id);
}

QString ChannelStack::roleOf(const QString& channelId, const QString& member) const
{
    return channel(channelId).value("Members").toObject().value(member).toString("NONE");
}

bool ChannelStack::hasChannel(const QString& id) const
{
    return store->contains(kChannels, id);
}
