#include "model/grouprole.h"

QHash<GroupRole::Role, QString> GroupRole::getRoleHash()
{
    return {{NONE, QStringLiteral("NONE")},
            {OWNER, QStringLiteral("OWNER")},
            {ADMIN, QStringLiteral("ADMIN")},
            {MEMBER, QStringLiteral("MEMBER")}};
}

QString GroupRole::toString(Role role)
{
    return getRoleHash().value(role);
}

GroupRole::Role GroupRole::toRole(const QString& text)
{
    return getRoleHash().key(text, NONE);
}
