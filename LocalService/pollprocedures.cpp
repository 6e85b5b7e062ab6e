// Polls and likes: polls created for channel messages with one vote per
// follower of the channel they were posted in, their results, and the likes
// of channel posts counted once per follower.

#include "channelpostindex.h"
#include "localprocedures.h"
#include "localservice.h"
#include "servicestore.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QUuid>

namespace {

const QString kPolls = QStringLiteral("polls");
const QString kLikes = QStringLiteral("likes");
const QString kChannels = QStringLiteral("channels");
const int kMaxIds = 1000;
const int kMaxText = 1000;
const int kMaxOptions = 50;

QString newPollId()
{
    return QStringLiteral("poll-") + QUuid::createUuid().toString(QUuid::Id128).left(16);
}

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A poll the service accepts: a known type, a question and, unless free text,
// between two and kMaxOptions options with distinct ids.
bool validPoll(const QJsonObject& poll)
{
    const QString type = poll.value("Type").toString();
    const QJsonArray options = poll.value("Options").toArray();
    if (poll.value("Question").toString().trimmed().isEmpty() ||
        poll.value("Question").toString().size() > kMaxText)
        return false;
    if (type == "commentbox")
        return true;
    if ((type != "radio" && type != "checkbox") || options.size() < 2 ||
        options.size() > kMaxOptions)
        return false;
    QSet<QString> ids;
    for (const QJsonValue& option : options) {
        const QString id = option.toObject().value("OptionID").toString();
        if (id.isEmpty() || ids.contains(id) ||
            option.toObject().value("Text").toString().size() > kMaxText)
            return false;
        ids.insert(id);
    }
    return true;
}

QStringList optionIds(const QJsonObject& poll)
{
    QStringList ids;
    for (const QJsonValue& option : poll.value("Options").toArray())
        ids << option.toObject().value("OptionID").toString();
    return ids;
}

// The option ids an answer names; empty when it is no valid answer.
QStringList chosen(const QJsonObject& poll, const QString& answer)
{
    const QString type = poll.value("Type").toString();
    if (type == "commentbox")
        return answer.isEmpty() || answer.size() > kMaxText ? QStringList() : QStringList{answer};
    const QStringList parts = answer.split(QLatin1Char(','));
    if (type == "radio" && parts.size() != 1)
        return QStringList();
    const QStringList known = optionIds(poll);
    QSet<QString> seen;
    for (const QString& part : parts) {
        if (!known.contains(part) || seen.contains(part))
            return QStringList();
        seen.insert(part);
    }
    return parts;
}

// Votes and likes count only from the people who follow the channel.
bool follows(const ServiceStore* store, const QString& channel, const QString& user)
{
    return !channel.isEmpty() &&
           store->object(kChannels, channel).value("Members").toObject().contains(user);
}

class Polls
{
public:
    Polls(LocalService& service, const ServiceRequest& request, const QString& user,
          const QStringList& required)
        : service(service), user(user)
    {
        ok = LocalService::readBody(request, required, &body, &error);
        if (ok && body.contains("PollID")) {
            pollId = body.value("PollID").toString();
            record = service.store()->object(kPolls, pollId);
            if (pollId.isEmpty() || record.isEmpty()) {
                error = LocalService::failure(350, QStringLiteral("no such poll"));
                ok = false;
            }
        }
    }

    ServiceReply create()
    {
        const QJsonObject poll = body.value("PollData").toObject();
        if (!validPoll(poll))
            return LocalService::failure(352, QStringLiteral("invalid poll"));
        const QString id = newPollId();
        QJsonObject stored = poll;
        stored.insert("PollID", id);
        const QJsonObject entry{
            {"Owner", user},
            {"Poll", stored},
            {"Enable", true},
            {"ViewResults", body.value("PollViewResultStatus").toString() == "1"},
            {"Votes", QJsonObject()},
            {"LastUpdate", QDateTime::currentSecsSinceEpoch()}};
        return save(id, entry, {{"PollID", id}});
    }

    ServiceReply changeStatus()
    {
        if (record.value("Owner").toString() != user)
            return LocalService::failure(354, QStringLiteral("only the poll's owner changes it"));
        record.insert("Enable", body.value("NewPollStatus").toString() == "1");
        record.insert("ViewResults", body.value("NewViewResultStatus").toString() == "1");
        return save(pollId, record, {});
    }

    ServiceReply vote()
    {
        if (!record.value("Enable").toBool())
            return LocalService::failure(351, QStringLiteral("poll closed"));
        if (!follows(service.store(), ChannelPostIndex(service.store()).channelOfPoll(pollId),
                     user))
            return LocalService::failure(403, QStringLiteral("only the channel's followers vote"));
        QJsonObject votes = record.value("Votes").toObject();
        if (votes.contains(user))
            return LocalService::failure(353, QStringLiteral("already voted"));
        const QJsonObject data = body.value("VoteData").toObject();
        const QString answer = data.value("QuestionAnswer").toString();
        const QString comment = data.value("QuestionComment").toString();
        if (chosen(record.value("Poll").toObject(), answer).isEmpty() || comment.size() > kMaxText)
            return LocalService::failure(355, QStringLiteral("invalid vote"));
        votes.insert(user, QJsonObject{{"Answer", answer}, {"Comment", comment}});
        record.insert("Votes", votes);
        record.insert("LastUpdate", QDateTime::currentSecsSinceEpoch());
        return save(pollId, record, {});
    }

    ServiceReply results() const
    {
        if (!record.value("ViewResults").toBool() && record.value("Owner").toString() != user)
            return LocalService::failure(356, QStringLiteral("results are not shown"));
        const QJsonObject poll = record.value("Poll").toObject();
        const QJsonObject votes = record.value("Votes").toObject();
        QHash<QString, int> counts;
        for (const QJsonValue& vote : votes) {
            const QString answer = vote.toObject().value("Answer").toString();
            for (const QString& id : chosen(poll, answer))
                ++counts[id];
        }
        QJsonArray options;
        for (const QJsonValue& option : poll.value("Options").toArray()) {
            const QString id = option.toObject().value("OptionID").toString();
            options.append(QJsonObject{{"OptionID", id},
                                       {"Text", option.toObject().value("Text")},
                                       {"VotesCount", QString::number(counts.value(id))}});
        }
        const QJsonObject result{
            {"LastUpdate", QString::number(record.value("LastUpdate").toVariant().toLongLong())},
            {"Question", poll.value("Question")},
            {"TotalVotes", QString::number(votes.size())},
            {"Options", options},
            {"UserVote", votes.value(user).toObject().value("Answer").toString()}};
        return ServiceReply::result(200, {{"PollID", pollId}, {"PollResult", result}});
    }

    ServiceReply viewResultsToken() const
    {
        return ServiceReply::result(
            200, {{"PollID", pollId},
                  {"Token", QUuid::createUuid().toString(QUuid::Id128)},
                  {"ViewResults", boolText(record.value("ViewResults").toBool())}});
    }

    bool ok = false;
    ServiceReply error;

private:
    ServiceReply save(const QString& id, const QJsonObject& entry, const QJsonObject& fields)
    {
        if (!service.store()->setValue(kPolls, id, entry))
            return LocalService::failure(500, QStringLiteral("cannot keep the poll"));
        return ServiceReply::result(200, fields);
    }

    LocalService& service;
    QString user;
    QJsonObject body;
    QString pollId;
    QJsonObject record;
};

ServiceReply sendLikes(LocalService& service, const ServiceRequest& request, const QString& user)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"MessageLikes"}, &body, &error))
        return error;
    const QJsonObject likes = body.value("MessageLikes").toObject();
    if (!body.value("MessageLikes").isObject() || likes.size() > kMaxIds)
        return LocalService::failure(400, QStringLiteral("bad MessageLikes"));
    const ChannelPostIndex posts(service.store());
    for (auto it = likes.begin(); it != likes.end(); ++it) {
        const QString value = it.value().toString();
        if (it.key().isEmpty() || it.key().size() > 128 || (value != "1" && value != "0"))
            return LocalService::failure(400, QStringLiteral("bad like of ") + it.key());
        if (!follows(service.store(), posts.channelOfPost(it.key()), user))
            return LocalService::failure(403, QStringLiteral("only the channel's followers like "
                                                             "its posts: ") +
                                                  it.key());
    }
    for (auto it = likes.begin(); it != likes.end(); ++it) {
        QJsonObject likers = service.store()->object(kLikes, it.key());
        if (it.value().toString() == "1")
            likers.insert(user, true);
        else
            likers.remove(user);
        const bool kept = likers.isEmpty() ? service.store()->remove(kLikes, it.key())
                                           : service.store()->setValue(kLikes, it.key(), likers);
        if (!kept)
            return LocalService::failure(500, QStringLiteral("cannot keep the likes"));
    }
    return ServiceReply::result(200);
}

ServiceReply likeCounts(LocalService& service, const ServiceRequest& request)
{
    QJsonObject body;
    ServiceReply error;
    if (!LocalService::readBody(request, {"MessageIDs"}, &body, &error))
        return error;
    const QJsonArray ids = body.value("MessageIDs").toArray();
    if (!body.value("MessageIDs").isArray() || ids.size() > kMaxIds)
        return LocalService::failure(400, QStringLiteral("bad MessageIDs"));
    QJsonObject counts;
    for (const QJsonValue& id : ids) {
        const QString text = id.toString();
        if (!text.isEmpty())
            counts.insert(text, QString::number(service.store()->object(kLikes, text).size()));
    }
    return ServiceReply::result(200, {{"MessagesLikeCount", counts}});
}

} // namespace

void LocalProcedures::installPolls(LocalService& service)
{
    LocalService* s = &service;
    using Action = ServiceReply (Polls::*)();
    const struct
    {
        const char* path;
        QStringList required;
        Action action;
    } routes[] = {
        {"polls/create/", {"PollViewResultStatus", "PollData"}, &Polls::create},
        {"polls/changestatus/",
         {"PollID", "NewPollStatus", "NewViewResultStatus"},
         &Polls::changeStatus},
        {"polls/vote/", {"PollID", "VoteData"}, &Polls::vote},
    };
    for (const auto& route : routes) {
        const Action action = route.action;
        const QStringList required = route.required;
        s->handleSigned(route.path,
                        [s, action, required](const ServiceRequest& r, const QString& user) {
                            Polls polls(*s, r, user, required);
                            return polls.ok ? (polls.*action)() : polls.error;
                        });
    }
    s->handleSigned("polls/getresult/", [s](const ServiceRequest& r, const QString& user) {
        Polls polls(*s, r, user, {"PollID"});
        return polls.ok ? polls.results() : polls.error;
    });
    s->handleSigned("polls/getviewresulttoken/", [s](const ServiceRequest& r, const QString& user) {
        Polls polls(*s, r, user, {"PollID"});
        return polls.ok ? polls.viewResultsToken() : polls.error;
    });
    s->handleSigned("like/send/", [s](const ServiceRequest& r, const QString& user) {
        return sendLikes(*s, r, user);
    });
    s->handleSigned("like/get/",
                    [s](const ServiceRequest& r, const QString&) { return likeCounts(*s, r); });
}
