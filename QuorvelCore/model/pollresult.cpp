#include "model/pollresult.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"
#include "model/pollvalues.h"

namespace {
const QLatin1String kLastUpdate("LastUpdate");
const QLatin1String kQuestion("Question");
const QLatin1String kTotalVotes("TotalVotes");
const QLatin1String kOptions("Options");
const QLatin1String kUserVote("UserVote");

bool missing(const QJsonObject& object, QLatin1String key)
{
    if (object.contains(key))
        return false;
    L_WARN(QStringLiteral("PollResult::setDataFromJson | missing key: ") + key);
    return true;
}
} // namespace

PollResult::PollResult(const QJsonObject& object)
{
    setDataFromJson(object);
}

bool PollResult::setDataFromJson(const QJsonObject& object)
{
    if (missing(object, kLastUpdate))
        return false;
    lastUpdate = JsonNumbers::toInt(object.value(kLastUpdate));
    if (missing(object, kQuestion))
        return false;
    question = PollValues::textOf(object.value(kQuestion));
    if (missing(object, kTotalVotes))
        return false;
    totalVotes = JsonNumbers::toInt(object.value(kTotalVotes));
    if (missing(object, kOptions))
        return false;
    if (!object.value(kOptions).isArray()) {
        L_WARN(QStringLiteral("PollResult::setDataFromJson | Options is not a list"));
        return false;
    }
    setOptions(object.value(kOptions).toArray());
    if (missing(object, kUserVote))
        return false;
    userVote = PollValues::textOf(object.value(kUserVote));
    return true;
}

QJsonObject PollResult::toJsonObject() const
{
    QJsonArray list;
    for (const PollResultOption& option : options)
        list.append(option.toJsonObject());
    return {{kLastUpdate, QString::number(lastUpdate)},
            {kQuestion, question},
            {kTotalVotes, QString::number(totalVotes)},
            {kOptions, list},
            {kUserVote, userVote}};
}

void PollResult::setOptions(const QJsonArray& array)
{
    for (const QJsonValue& element : array) {
        if (element.isObject())
            addOption(PollResultOption(element.toObject()));
        else
            L_WARN(QStringLiteral("PollResult::setOptions | skipped an option that is not an "
                                  "object"));
    }
}

void PollResult::addOption(const PollResultOption& option)
{
    options.insert(option.getOptionId(), option);
}

bool PollResult::operator==(const PollResult& other) const
{
    return pollId == other.pollId && lastUpdate == other.lastUpdate && question == other.question &&
           totalVotes == other.totalVotes && userVote == other.userVote && options == other.options;
}
