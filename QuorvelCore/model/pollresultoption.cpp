#include "model/pollresultoption.h"

#include "model/jsonnumbers.h"
#include "model/pollvalues.h"

PollResultOption::PollResultOption(const QJsonObject& object)
{
    setDataFromJson(object);
}

void PollResultOption::setDataFromJson(const QJsonObject& object)
{
    optionId = PollValues::textOf(object.value(QLatin1String("OptionID")));
    text = PollValues::textOf(object.value(QLatin1String("Text")));
    voteCount = JsonNumbers::toInt(object.value(QLatin1String("VotesCount")));
}

QJsonObject PollResultOption::toJsonObject() const
{
    return {{QLatin1String("OptionID"), optionId},
            {QLatin1String("Text"), text},
            {QLatin1String("VotesCount"), QString::number(voteCount)}};
}

bool PollResultOption::operator==(const PollResultOption& other) const
{
    return optionId == other.optionId && text == other.text && voteCount == other.voteCount;
}
