#include "model/polldata.h"

#include "foundation/simpleqtlogger.h"
#include "model/jsonnumbers.h"
#include "model/pollvalues.h"

#include <QJsonArray>

namespace {
const QLatin1String kPollId("PollID");
const QLatin1String kQuestion("Question");
const QLatin1String kType("Type");
const QLatin1String kCharsLimit("CommentBoxCharsLimit");
const QLatin1String kEnable("Enable");
const QLatin1String kHaveCommentBox("HaveCommentBox");
const QLatin1String kOptions("Options");

// Flags travel as 1 or 0; decimal text is accepted too. Anything else (a JSON
// boolean included) counts as 0, as it always has.
int readFlag(const QJsonObject& object, QLatin1String key)
{
    bool ok = false;
    const int value = JsonNumbers::toInt(object.value(key), 0, &ok);
    if (!ok)
        L_WARN(QStringLiteral("PollData::setDataFromJson | %1 is not a number: %2")
                   .arg(key, JsonNumbers::describe(object.value(key))));
    return value;
}
} // namespace

PollData::PollData(const QString& type, const QString& question, const QStringList& optionTexts)
{
    pollType = toPollType(type);
    if (pollType == None)
        return;
    this->question = question;
    commentBoxCharLimit = 10;
    enable = true;
    haveCommentBox = false;
    for (int i = 0; i < optionTexts.size(); ++i)
        addOption(PollOption(QString::number(i + 1), optionTexts.at(i), false));
}

PollData::PollData(const QJsonObject& object)
{
    setDataFromJson(object);
}

PollData& PollData::operator=(const PollData& other)
{
    if (this != &other)
        setDataFromPollData(other);
    return *this;
}

void PollData::setDataFromPollData(const PollData& other)
{
    pollId = other.pollId;
    question = other.question;
    enable = other.enable;
    pollType = other.pollType;
    haveCommentBox = other.haveCommentBox;
    commentBoxCharLimit = other.commentBoxCharLimit;
    options = other.options;
    channelId = other.channelId;
    viewResults = other.viewResults;
}

QStringList PollData::getFields()
{
    return {kCharsLimit, kEnable, kHaveCommentBox, kPollId, kOptions, kQuestion, kType};
}

bool PollData::checkFields(const QJsonObject& object)
{
    return PollValues::checkKeys(object, getFields());
}

void PollData::setDataFromJson(const QJsonObject& object)
{
    setInvalidValues();
    if (!checkFields(object))
        return;
    pollId = object.value(kPollId).toString();
    question = PollValues::textOf(object.value(kQuestion));
    pollType = toPollType(object.value(kType).toString());
    if (pollType == None)
        L_WARN(QStringLiteral("PollData::setDataFromJson | unknown poll type: ") +
               JsonNumbers::describe(object.value(kType)));
    commentBoxCharLimit = JsonNumbers::toInt(object.value(kCharsLimit));
    enable = toBool(readFlag(object, kEnable));
    haveCommentBox = toBool(readFlag(object, kHaveCommentBox));
    const QJsonValue optionList = object.value(kOptions);
    if (!optionList.isArray())
        L_WARN(QStringLiteral("PollData::setDataFromJson | Options is not a list"));
    for (const QJsonValue& element : optionList.toArray())
        addOption(PollOption(element.toObject()));
}

QJsonObject PollData::toJsonObject() const
{
    QJsonObject object;
    if (!pollId.isEmpty())
        object.insert(kPollId, pollId);
    object.insert(kQuestion, question);
    object.insert(kType, toString(pollType));
    object.insert(kCharsLimit, commentBoxCharLimit);
    object.insert(kEnable, toInt(enable));
    object.insert(kHaveCommentBox, toInt(haveCommentBox));
    QJsonArray list;
    for (const PollOption& option : options)
        list.append(option.toJsonObject());
    object.insert(kOptions, list);
    return object;
}

void PollData::addOption(const PollOption& option)
{
    L_DEBUG(
        QStringLiteral("PollData::addOption | %1: %2").arg(option.getOptionId(), option.getText()));
    options.insert(option.getOptionId(), option);
}

QString PollData::toString(PollType type)
{
    return getPollTypeToStringHash().value(type, QStringLiteral("None"));
}

PollData::PollType PollData::toPollType(const QString& text)
{
    return getPollTypeToStringHash().key(text, None);
}

QHash<PollData::PollType, QString> PollData::getPollTypeToStringHash()
{
    return {{Radio, QStringLiteral("radio")},
            {Checkbox, QStringLiteral("checkbox")},
            {Commentbox, QStringLiteral("commentbox")}};
}

QStringList PollData::getPollTypesStrings()
{
    return getPollTypeToStringHash().values();
}

bool PollData::operator==(const PollData& other) const
{
    return pollId == other.pollId && question == other.question && enable == other.enable &&
           pollType == other.pollType && haveCommentBox == other.haveCommentBox &&
           commentBoxCharLimit == other.commentBoxCharLimit && options == other.options &&
           channelId == other.channelId && viewResults == other.viewResults;
}
