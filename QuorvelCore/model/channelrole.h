#ifndef CHANNELROLE_H
#define CHANNELROLE_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QMetaType>
#include <QString>

// A channel member's role with its text forms.
class QUORVELCORE_EXPORT ChannelRole
{
public:
    enum Role
    {
        NONE = 0,
        OWNER = 1,
        ADMIN = 2,
        MEMBER = 3,
        VISITOR = 4
    };

    static QHash<Role, QString> getRoleHash();
    // "NONE" for a value outside the table.
    static QString toString(Role role);
    // Exact, case-sensitive; anything else gives NONE.
    static Role toRole(const QString& text);
};

Q_DECLARE_METATYPE(ChannelRole::Role)

#endif // CHANNELROLE_H
