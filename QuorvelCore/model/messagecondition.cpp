#include "model/messagecondition.h"

const QHash<MessageCondition::Condition, QString>& MessageCondition::getConversionMap()
{
    static const QHash<Condition, QString> map = {{DRAFT, QStringLiteral("DRAFT")},
                                                  {PUBLISH, QStringLiteral("PUBLISH")},
                                                  {DELETED, QStringLiteral("DELETED")}};
    return map;
}

QString MessageCondition::toString(Condition condition)
{
    return getConversionMap().value(condition, QStringLiteral("PUBLISH"));
}

MessageCondition::Condition MessageCondition::toCondition(const QString& text)
{
    return getConversionMap().key(text, PUBLISH);
}
