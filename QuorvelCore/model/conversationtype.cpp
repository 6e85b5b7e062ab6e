#include "model/conversationtype.h"

QString ConversationType::toString(Type type)
{
    switch (type) {
    case USER:
        return QStringLiteral("USER");
    case GROUP:
        return QStringLiteral("GROUP");
    case CHANNEL:
        return QStringLiteral("CHANNEL");
    default:
        return QString();
    }
}

ConversationType::Type ConversationType::toConversationType(const QString& text)
{
    if (text == QLatin1String("CHANNEL"))
        return CHANNEL;
    if (text == QLatin1String("GROUP"))
        return GROUP;
    if (text == QLatin1String("USER"))
        return USER;
    return NONE;
}
