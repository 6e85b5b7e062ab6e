#ifndef GROUPROLE_H
#define GROUPROLE_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QMetaType>
#include <QString>

// A group member's role with its text forms.
class QUORVELCORE_EXPORT GroupRole
{
public:
    enum Role
    {
        NONE = 0,
        OWNER = 1,
        ADMIN = 2,
        MEMBER = 3
    };

    static QHash<Role, QString> getRoleHash();
    // Empty text for a value outside the table.
    static QString toString(Role role);
    // Exact, case-sensitive; anything else gives NONE.
    static Role toRole(const QString& text);
};

Q_DECLARE_METATYPE(GroupRole::Role)

#endif // GROUPROLE_H
