#include "model/polloption.h"

#include "foundation/simpleqtlogger.h"
#include "model/pollvalues.h"

PollOption::PollOption()
{
    setInvalidValues();
}

PollOption::PollOption(const QString& optionId, const QString& text, bool displayCommentBox)
    : optionId(optionId), text(text), displayCommentBox(displayCommentBox)
{
}

PollOption::PollOption(const QJsonObject& object)
{
    setDataFromJson(object);
}

QStringList PollOption::getFields()
{
    return {QStringLiteral("OptionID"), QStringLiteral("Text"),
            QStringLiteral("DisplayCommentBox")};
}

bool PollOption::checkFields(const QJsonObject& object)
{
    return PollValues::checkKeys(object, getFields());
}

bool PollOption::setDataFromJson(const QJsonObject& object)
{
    if (!checkFields(object))
        return false;
    const QJsonValue id = object.value(QLatin1String("OptionID"));
    if (id.isString())
        optionId = id.toString();
    else
        L_WARN(QStringLiteral("PollOption::setDataFromJson | OptionID is not text: ") +
               PollValues::textOf(id));
    text = PollValues::textOf(object.value(QLatin1String("Text")));
    displayCommentBox = object.value(QLatin1String("DisplayCommentBox")).toBool(false);
    return true;
}

QJsonObject PollOption::toJsonObject() const
{
    return {{QLatin1String("OptionID"), optionId},
            {QLatin1String("Text"), text},
            {QLatin1String("DisplayCommentBox"), displayCommentBox}};
}

bool PollOption::operator==(const PollOption& other) const
{
    return optionId == other.optionId && text == other.text &&
           displayCommentBox == other.displayCommentBox;
}
