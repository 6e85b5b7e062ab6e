#ifndef MESSAGECONDITION_H
#define MESSAGECONDITION_H

#include "foundation/quorvelcore_export.h"

#include <QHash>
#include <QMetaType>
#include <QString>

// Publication condition of a channel post.
class QUORVELCORE_EXPORT MessageCondition
{
public:
    enum Condition
    {
        DRAFT = 0,
        PUBLISH = 1,
        DELETED = 2
    };

    static const QHash<Condition, QString>& getConversionMap();
    // An unknown value gives "PUBLISH".
    static QString toString(Condition condition);
    // Exact match; anything else gives PUBLISH.
    static Condition toCondition(const QString& text);
};

Q_DECLARE_METATYPE(MessageCondition::Condition)

#endif // MESSAGECONDITION_H
