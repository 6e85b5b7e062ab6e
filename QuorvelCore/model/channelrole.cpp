#include "model/channelrole.h"

QHash<ChannelRole::Role, QString> ChannelRole::getRoleHash()
{
    return {{NONE, QStringLiteral("NONE")},
            {OWNER, QStringLiteral("OWNER")},
            {ADMIN, QStringLiteral("ADMIN")},
            {MEMBER, QStringLiteral("MEMBER")},
            {VISITOR, QStringLiteral("VISITOR")}};
}

QString ChannelRole::toString(Role role)
{
    return getRoleHash().value(role, QStringLiteral("NONE"));
}

ChannelRole::Role ChannelRole::toRole(const QString& text)
{
    return getRoleHash().key(text, NONE);
}
