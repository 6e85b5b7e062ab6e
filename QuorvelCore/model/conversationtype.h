#ifndef CONVERSATIONTYPE_H
#define CONVERSATIONTYPE_H

#include "foundation/quorvelcore_export.h"

#include <QMetaType>
#include <QString>

// Kind of conversation named by mute updates and drafts.
class QUORVELCORE_EXPORT ConversationType
{
public:
    enum Type
    {
        NONE = 0,
        USER = 1,
        GROUP = 2,
        CHANNEL = 3
    };

    // "USER", "GROUP", "CHANNEL"; anything else gives an empty text.
    static QString toString(Type type);
    // Exact, case-sensitive; anything else gives NONE.
    static Type toConversationType(const QString& text);
};

Q_DECLARE_METATYPE(ConversationType::Type)

#endif // CONVERSATIONTYPE_H
